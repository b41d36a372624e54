// The name table and the passes that fill it before any code is written:
// labels, DIM declarations, variables, and the DATA table.
//
// All names live in one ordered list; what a name is follows from the
// position at which it was entered (constants, labels, DIM names,
// variables). A hash index gives the first position of each name, so a
// lookup costs the same however large the table grows.
#include <cctype>
#include <cmath>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "kzo2c.h"

namespace kzo {

std::size_t NameIndex::hash(std::string_view s, std::size_t h) {
  for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
  return h;
}

void NameIndex::clear() {
  slots_.assign(1024, Slot{-1, 0});
  hashes_.clear();
  used_ = 0;
}

int NameIndex::find(std::string_view name) const { return find(name, hash(name)); }

int NameIndex::find(std::string_view name, std::size_t h) const {
  if (slots_.empty()) return -1;
  std::size_t mask = slots_.size() - 1;
  unsigned shorthash = (unsigned)(h >> 32);
  for (std::size_t i = h & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.position < 0) return -1;
    if (slot.shorthash == shorthash && names_[slot.position] == name)
      return slot.position;
  }
}

void NameIndex::grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(old.size() * 2, Slot{-1, 0});
  std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.position < 0) continue;
    std::size_t i = hashes_[slot.position] & mask;
    while (slots_[i].position >= 0) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

void NameIndex::add(int position) {
  if (slots_.empty()) clear();
  const std::string& name = names_[position];
  hashes_.resize(position + 1);
  std::size_t h = hashes_[position] = hash(name);
  if (find(name, h) >= 0) return;
  if (2 * (used_ + 1) > slots_.size()) grow();
  std::size_t mask = slots_.size() - 1;
  std::size_t i = h & mask;
  while (slots_[i].position >= 0) i = (i + 1) & mask;
  slots_[i] = Slot{position, (unsigned)(h >> 32)};
  ++used_;
}

void Translator::resetnames() {
  definedv.clear();
  definedindex.clear();
  definedc = constants = labels = variable0 = variables = labelsdone = 0;
  spellingv.clear();
  spellings.clear();
  spelledas.clear();
  dimsizes.clear();
}

int Translator::findname(const std::string& w) const {
  int k = definedindex.find(w);
  return k < 0 ? definedc : k;
}

void Translator::addname(const std::string& w) {
  definedv.push_back(w);
  definedindex.add(definedc);
  ++definedc;
}

// A loop variable's number is its place in the name table plus one, so that
// 0 stays free for the NEXT without a variable.
int Translator::forvarnumber(const std::string& cname) {
  int k = findname(cname);
  return (k >= variable0 && k < variables) ? k + 1 : -1;
}

// The first word of every line that may hold a label enters the table in
// label form.
void Translator::labelpass() {
  walk([&](const char* ln) {
    unsigned char c = ln[0];
    if (!(islabelchar(c))) return;
    getword(word1, ln);
    if (keyword) error(Why::keywordaslabel, ln, lastword());
  });
}

static bool startsword(const char* p, const char* word) {
  std::size_t n = std::strlen(word);
  return std::strncmp(p, word, n) == 0 && p[n] == ' ';
}

void Translator::dimpass() {
  walk([&](const char* ln) { dimline(ln); });
}

// Scans one line byte by byte for " DIM " lists, passing over quoted text
// and stopping at a comment or a DATA statement.
void Translator::dimline(const char* p) {
  linetemps = 0;
  while (*p) {
    if (*p == '"') {
      ++p;
      while (*p && *p != '"') ++p;
      if (*p) ++p;
      continue;
    }
    if (*p == '\'') return;
    if (*p == ' ' && (startsword(p + 1, "DATA") || startsword(p + 1, "REM")))
      return;
    if (*p == ' ' && startsword(p + 1, "DIM")) {
      p += 5;
      for (;;) {
        const char* item = p + std::strspn(p, " ");
        p = getphrase(phrase1, p);
        put(dimdeclaration(phrase1, string, item));
        while (*p == ' ') ++p;
        if (*p != ',') break;
        ++p;
      }
      continue;
    }
    ++p;
  }
}

namespace {

// Evaluates the C text of a DIM size: numbers and numeric constants joined
// by + - * / with the usual precedence. Sets ok to false for anything else.
struct SizeEvaluator {
  const Translator& t;
  const std::string& s;
  std::size_t i = 0;
  bool ok = true;

  double primary() {
    std::size_t start = i;
    if (i < s.size() && (std::isdigit((unsigned char)s[i]) || s[i] == '.')) {
      while (i < s.size() && (std::isdigit((unsigned char)s[i]) || s[i] == '.')) ++i;
      std::string num = s.substr(start, i - start);
      char* end = nullptr;
      double v = std::strtod(num.c_str(), &end);
      if (*end) ok = false;
      return v;
    }
    while (i < s.size() && (islabelchar((unsigned char)s[i]) || s[i] == '$')) ++i;
    if (i == start) {
      ok = false;
      return 0;
    }
    bool found = false;
    double v = t.numericconstant(s.substr(start, i - start), found);
    if (!found) ok = false;
    return v;
  }
  double term() {
    double v = primary();
    while (ok && i < s.size() && (s[i] == '*' || s[i] == '/')) {
      char op = s[i++];
      double r = primary();
      v = op == '*' ? v * r : v / r;
    }
    return v;
  }
  double expr() {
    double v = term();
    while (ok && i < s.size() && (s[i] == '+' || s[i] == '-')) {
      char op = s[i++];
      double r = term();
      v = op == '+' ? v + r : v - r;
    }
    if (i != s.size()) ok = false;
    return v;
  }
};

}  // namespace

// A DIM item's declaration. Array sizes are computed here with the rounding
// and range rule of index__kzo and written as integers, so that the
// declaration is a constant expression in C.
std::string Translator::dimdeclaration(const std::string& phrase,
                                       bool isstring, const char* at) {
  static const std::string open = "[index__kzo(", close = ")]";
  std::size_t b = phrase.find('[');
  std::string decl = phrase.substr(0, b);
  std::vector<std::string> sizes;
  while (b != std::string::npos) {
    if (phrase.compare(b, open.size(), open) != 0) error(Why::dimsizenotconstant, at);
    std::size_t e = phrase.find(close, b + open.size());
    if (e == std::string::npos) error(Why::dimsizenotconstant, at);
    std::string size = phrase.substr(b + open.size(), e - b - open.size());
    SizeEvaluator ev{*this, size};
    double x = ev.expr();
    if (!ev.ok) error(Why::dimsizenotconstant, at);
    if (!(x >= -0.5 && x < INT_MAX + 0.5)) error(Why::dimsizerange, at);
    sizes.push_back(std::to_string((int)(x + 0.5)));
    decl += "[" + sizes.back() + "]";
    b = e + close.size();
    if (b == phrase.size()) break;
    if (phrase[b] != '[') error(Why::dimsizenotconstant, at);
  }
  std::string cname = phrase.substr(0, phrase.find('['));
  if (cname.empty())
    mistake(Why::dimwithoutname, at);
  else if (!isvariablename(cname))
    mistake(Why::dimnotvariable, at, dialectname(cname));
  auto known = dimsizes.find(cname);
  if (known == dimsizes.end()) dimsizes.emplace(cname, sizes);
  else if (known->second != sizes) error(Why::dimagain, at, dialectname(cname));
  return isstring ? "char " + decl + "[300];\n" : "double " + decl + ";\n";
}

// The sizes of an array that a DIM declares, or of ARGV$ (as many entries
// as the command line has words); null for any other name.
const std::vector<std::string>* Translator::arraysizes(const std::string& cname) const {
  static const std::vector<std::string> argv{"argc__kzo"};
  if (cname == "ARGV_s_kzo") return &argv;
  auto it = dimsizes.find(cname);
  if (it == dimsizes.end() || it->second.empty()) return nullptr;
  return &it->second;
}

// Every name of every line, up to a comment or DATA, is met once here, so
// that each variable is declared before main.
void Translator::variablepass() {
  walk([&](const char* p) {
    for (;;) {
      p = getword(word1, p);
      if (word1.empty()) return;
      if ((keyword || word1.size() == 1) &&
          (word1 == "'" || word1 == "DATA" || word1 == "REM"))
        return;
    }
  });
}

static const std::size_t dataitemmax = 299;

// The DATA items of the whole program, in order, as one table of C string
// literals ended by an empty string.
void Translator::datapass() {
  put("\nchar *datav__kzo[] = {\n  \"");
  walk([&](const char* p) {
    // A line without the letters DATA holds no DATA word; the variable pass
    // has already read all its words.
    if (!std::strstr(p, "DATA")) return;
    for (;;) {
      p = getword(word1, p);
      if (word1.empty()) return;
      if (!keyword && word1.size() != 1) continue;
      if (word1 == "REM" || word1 == "'") return;
      if (word1 == "DATA") break;
    }
    for (;;) {
      while (*p == ' ') ++p;
      if (!*p) return;
      const char* at = p;
      std::string item;
      std::size_t length = 0;  // bytes the item holds at run time
      if (*p == '"') {
        for (++p; *p && *p != '"'; ++p, ++length) {
          if (*p == '\\') item += '\\';
          item += *p;
        }
        if (*p == '"') ++p;
        while (*p == ' ') ++p;
        if (*p == ',') ++p;
      } else {
        // Written as C text exactly as it stands: a backslash or a quote
        // of the item is escaped, like a backslash of a quoted item.
        for (; *p && *p != ','; ++p, ++length) {
          if (*p == '\\' || *p == '"') item += '\\';
          item += *p;
        }
        if (*p == ',') ++p;
      }
      if (length > dataitemmax) error(Why::dataitemtoolong, at);
      put(item);
      put("\",\n  \"");
    }
  });
  put("\"\n};\n\n");
}

// The labels that no line placed (a label pass entry whose line did not
// place it), each on a line of its own; a word that is no C name, such as
// the first word of a line that starts with a digit, is no label to write.
void Translator::unplacedlabels() {
  for (int k = constants; k < labels; ++k)
    if (!placed.count(definedv[k]) && iscname(definedv[k])) put(definedv[k] + ":\n");
}

}  // namespace kzo
