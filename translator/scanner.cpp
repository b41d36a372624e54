// The word scanner: cuts a line into words, classifies each word in the six
// indications and turns dialect names into C names through the name table.
#include <cctype>
#include <cstring>
#include <string>

#include "kzo2c.h"

namespace kzo {

namespace {
struct LabelChars {
  bool is[256] = {};
  LabelChars() {
    for (int c = 0; c < 256; ++c)
      is[c] = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
              (c >= 'a' && c <= 'z') || c == '_' || c == '~';
  }
};
const LabelChars labelchars;
}  // namespace

bool islabelchar(int c) { return c >= 0 && c < 256 && labelchars.is[c]; }

// The first character of a name, and of a C identifier: a letter or "_".
bool isletter(int c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }

static bool isdigitorpoint(int c) { return (c >= '0' && c <= '9') || c == '.'; }

bool isin(const std::string& word, const char* const* list) {
  for (; **list; ++list)
    if (word == *list) return true;
  return false;
}

char* copyword(const char* source, char* destination) {
  while ((*destination = *source++)) ++destination;
  return destination;
}

const char* skip2colon(const char* text) {
  while (*text && *text != ':') ++text;
  return text;
}

// A C identifier: a letter or "_", then letters, digits and "_".
bool iscname(const std::string& w) {
  if (w.empty() || !isletter((unsigned char)w[0])) return false;
  for (unsigned char c : w)
    if (!(std::isalnum(c) || c == '_')) return false;
  return true;
}

// A number in C form: digits with one point, at least one digit.
bool isnumber(const std::string& w) {
  std::size_t points = 0, digits = 0;
  for (unsigned char c : w) {
    if (c == '.') ++points;
    else if (std::isdigit(c)) ++digits;
    else return false;
  }
  return points == 1 && digits > 0;
}

bool endswith(const std::string& s, const char* suffix) {
  std::size_t n = std::strlen(suffix);
  return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

// The C form of a variable or array: a dialect name with its kind suffix.
bool isvariablename(const std::string& cname) {
  return cname.size() > 6 && iscname(cname) &&
         (endswith(cname, "_f_kzo") || endswith(cname, "_s_kzo"));
}

// A C name as the dialect writes it, for messages: A_f_kzo is A, T_s_kzo
// is T$, STARTl_kzo is START; anything else stays as it is.
std::string dialectname(const std::string& cname) {
  if (cname.size() > 6 && endswith(cname, "_f_kzo")) return cname.substr(0, cname.size() - 6);
  if (cname.size() > 6 && endswith(cname, "_s_kzo")) return cname.substr(0, cname.size() - 6) + "$";
  if (cname.size() > 5 && endswith(cname, "l_kzo")) return cname.substr(0, cname.size() - 5);
  return cname;
}

const char* Translator::copylabel(const char* text) {
  text = getword(targetword, text);
  put(targetword);
  return text;
}

static int hexvalue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The length of the C escape at text[i] (a backslash) when the C compiler
// takes it, or 0 when it would reject it: a backslash before the closing
// quote, \x without hex digits or beyond a byte, an octal escape beyond a
// byte, a universal character name that is incomplete or not allowed.
static std::size_t escapelength(const std::string& text, std::size_t i) {
  std::size_t n = text.size(), j = i + 1;
  if (j == n) return 0;
  char c = text[j];
  if (c == 'x') {
    unsigned long v = 0;
    std::size_t k = j + 1;
    for (; k < n && hexvalue(text[k]) >= 0; ++k)
      if ((v = v * 16 + hexvalue(text[k])) > 0xff) return 0;
    return k == j + 1 ? 0 : k - i;
  }
  if (c >= '0' && c <= '7') {
    unsigned v = 0;
    std::size_t k = j;
    for (; k < n && k < j + 3 && text[k] >= '0' && text[k] <= '7'; ++k) v = v * 8 + (text[k] - '0');
    return v > 0377 ? 0 : k - i;
  }
  if (c == 'u' || c == 'U') {
    std::size_t digits = c == 'u' ? 4 : 8;
    unsigned long v = 0;
    for (std::size_t k = j + 1; k < j + 1 + digits; ++k) {
      if (k >= n || hexvalue(text[k]) < 0) return 0;
      v = v * 16 + hexvalue(text[k]);
    }
    bool allowed = (v >= 0xa0 || v == 0x24 || v == 0x40 || v == 0x60) &&
                   !(v >= 0xd800 && v <= 0xdfff) && v <= 0x10ffff;
    return allowed ? digits + 2 : 0;
  }
  return 2;
}

// The text of a quoted string as the body of a C literal. The dialect has
// no escapes, but its text goes into C as it stands wherever the C
// compiler takes it; a backslash that would make the literal invalid is
// doubled, and a carriage return, which would end the C line, is written
// as an escape.
std::string cliteral(const std::string& text) {
  std::string body;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == '\r') {
      body += "\\r";
      ++i;
    } else if (text[i] != '\\') {
      body += text[i++];
    } else if (std::size_t k = escapelength(text, i)) {
      body.append(text, i, k);
      i += k;
    } else {
      body += "\\\\";
      ++i;
    }
  }
  return body;
}

// A quoted string: both quotes are kept; there is no escape character.
// References to string constants are substituted only in the value of a
// constant line, the one place that reads the result; elsewhere the work
// could grow with every literal that names a long constant.
static const char* quoted(Translator& t, std::string& word, const char* p) {
  const char* start = p++;
  while (*p && *p != '"') ++p;
  if (!*p) t.error(Why::unmatchedquote, start);
  word = "\"" + cliteral(std::string(start + 1, p)) + "\"";
  if (t.defining_macro >= 0) t.fixmacro(std::string(start + 1, p));
  t.string = t.constant = true;
  t.keyword = t.name = t.label = t.variable = false;
  return p + 1;
}

// The next word, with where it stands kept for the diagnostics.
const char* Translator::getword(std::string& word, const char* text) {
  while (*text == ' ') ++text;
  wordat = text;
  return wordend = readword(word, text);
}

const char* Translator::readword(std::string& word, const char* text) {
  word.clear();
  while (*text == ' ') ++text;
  if (!*text) return text;
  if (*text == '"') return quoted(*this, word, text);

  int c = (unsigned char)*text;
  if (isletter(c) || c == '~') {  // "~" starts a name word too
    name = true;
    constant = false;
  } else if (isdigitorpoint(c)) {
    name = false;
    constant = true;
    keyword = false;
  } else {
    constant = false;
  }

  const char* start = text;
  for (; islabelchar((unsigned char)*text) || *text == '.'; ++text) {
    if (name) continue;
    char ch = *text;
    if (!isdigitorpoint((unsigned char)ch)) constant = false;
    if (ch == '_') error(Why::strayunderscore, text);
    if (ch == '~') error(Why::straytilde, text);
  }
  word.assign(start, text);

  if (constant && !word.empty()) {  // a number, in C form
    if (word.find('.') == std::string::npos) word += ".0";
    return text;
  }

  if (*text == '$') {
    if (word.empty() || !name) error(Why::straydollar, text);
    word += '$';
    ++text;
    string = true;
    constant = false;
  } else {
    string = false;
  }

  if (word.empty()) {  // punctuation: one character, or <= >= <>
    name = constant = keyword = false;
    if (text[0] == '<' && (text[1] == '=' || text[1] == '>')) {
      word.assign(text, 2);
      return text + 2;
    }
    if (text[0] == '>' && text[1] == '=') {
      word.assign(text, 2);
      return text + 2;
    }
    word.assign(text, 1);
    return text + 1;
  }

  label = false;
  name = true;
  if (defining && remembered(word)) return text;
  keyword = iskeyword(word);
  if (keyword) {
    variable = false;
    return text;
  }
  constant = false;
  variable = false;
  std::string written = word;
  mangle(word);
  if (defining) remember(written, findname(word));
  return text;
}

// From the variable pass on, a name resolves the same way every time it is
// met: the ranges below labels are complete, every later entry lies above
// them, and the name's C form is in the table after its first meeting. So
// each name is resolved once and its table position remembered.
bool Translator::remembered(std::string& word) {
  int r = spellings.find(word);
  if (r < 0) return false;
  int k2 = spelledas[r];
  word = definedv[k2];
  keyword = constant = false;
  label = k2 < labels;
  variable = !label;
  return true;
}

void Translator::remember(const std::string& written, int k2) {
  spellingv.push_back(written);
  spellings.add((int)spellingv.size() - 1);
  spelledas.push_back(k2);
}

// Gives a name word its C form by pass mode and table range, classifies it,
// and enters (and from the variable pass on declares) a new name.
void Translator::mangle(std::string& word) {
  // The three lookups share the hash of the word as written.
  const std::size_t base = NameIndex::hash(word);
  const std::size_t labelhash = NameIndex::hash("l_kzo", base);
  targetlabel.assign(word).append("l_kzo");
  auto lookup = [&](const std::string& w, std::size_t h) {
    int k = definedindex.find(w, h);
    return k < 0 ? definedc : k;
  };
  int a = lookup(word, base), b = lookup(targetlabel, labelhash);
  int k = a < b ? a : b;

  std::size_t h = base;
  int k2 = a;
  if (labeling || (constants <= k && k < labels)) {
    word += "l_kzo";
    h = labelhash;
    k2 = b;
  }
  if ((defining || dimming) && k >= labels) {
    if (string) {
      word.pop_back();
      h = NameIndex::hash("_s_kzo", NameIndex::hash(word));
      word += "_s_kzo";
    } else {
      h = NameIndex::hash("_f_kzo", h);
      word += "_f_kzo";
    }
    k2 = lookup(word, h);
  }

  if (k2 < labels)
    label = true;
  else if (!defining && !dimming)
    constant = true;
  else
    variable = true;

  if (k2 == definedc) {
    addname(word);
    // A word that is no C name is not declared: a line that starts with a
    // digit keeps no statements, and a statement that uses it is refused.
    if (defining && iscname(word)) {
      if (string)
        put("char " + word + "[300];\n");
      else
        put("double " + word + ";\n");
    }
  }
}

}  // namespace kzo
