// Constant macros: "# CONSTANT NAME = value" lines become #define lines, and
// string constants may be pasted into later string constants by a
// reference " XNAME$".
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_set>

#include "kzo2c.h"

namespace kzo {

static const char prefix[] = "# CONSTANT ";

// The names and values of all constants share one store of this size. A
// value may paste in earlier values, so a chain of constant lines could
// double its values with every line; past the store the translation stops.
static const std::size_t macrostore = 500000;

void Translator::constantpass() {
  std::size_t used = 0;
  walk([&](const char* ln) {
    if (std::strncmp(ln, prefix, sizeof prefix - 1) != 0) return;
    constantline(ln + sizeof prefix - 1);
    used += macrov.back().name.size() + macrov.back().value.size() + 2;
    if (used > macrostore) error(Why::macrostorefull);
  });
  for (const Macro& m : macrov)
    if (m.quote.empty()) put("#define " + m.name + " " + m.value + "\n");
  put("\n");
}

static std::string withoutleadingzeros(std::string value) {
  std::size_t n = 0;
  while (n + 1 < value.size() && value[n] == '0') ++n;
  return value.substr(n);
}

namespace {

// The C words and the names the generated text itself uses (the runtime,
// the frame of main, the statement texts, the curses macros they expand
// to): a constant of such a name would be pasted over them.
bool cname_taken(const std::string& name) {
  static const std::unordered_set<std::string> taken = [] {
    std::unordered_set<std::string> set = {
        "auto", "break", "case", "char", "const", "continue", "default", "do",
        "double", "else", "enum", "extern", "float", "for", "goto", "if",
        "inline", "int", "long", "register", "restrict", "return", "short",
        "signed", "sizeof", "static", "struct", "switch", "typedef", "union",
        "unsigned", "void", "volatile", "while", "bool", "true", "false",
        "main", "printw", "move", "refresh", "getch", "clear", "endwin", "exit",
        "initscr", "cbreak", "noecho", "scrollok", "stdscr", "wgetch", "wmove",
        "wclear", "wrefresh", "wprintw", "fprintf", "printf", "fopen", "fclose",
        "fgetc", "strcmp", "fabs", "NULL", "EOF", "FILE", "WINDOW", "size_t"};
    std::string text = runtimetext();
    for (const char* const* list : {headofmain, after, closing})
      for (const char* const* e = list; std::strcmp(*e, "~"); ++e) text += *e, text += '\n';
    for (std::size_t i = 0; i < text.size();) {
      if (isletter((unsigned char)text[i])) {
        std::size_t j = i;
        while (j < text.size() && (std::isalnum((unsigned char)text[j]) || text[j] == '_')) ++j;
        set.insert(text.substr(i, j - i));
        i = j;
      } else {
        ++i;
      }
    }
    return set;
  }();
  return taken.count(name) || endswith(name, "_kzo");
}

}  // namespace

void Translator::constantline(const char* p) {
  std::string equals, value;
  p = getword(word1, p);
  const std::string constname = lastword();
  if (cname_taken(word1)) mistake(Why::constanttakesname, nullptr, word1);
  if (!word1.empty() && word1.back() == '$') {
    p = getword(equals, p);
    if (equals != "=") error(Why::constanteq, nullptr, constname);
    macrov.push_back({word1, "", "\""});
    defining_macro = (int)macrov.size() - 1;
    lastfixed.clear();
    getword(value, p);
    defining_macro = -1;
    if (!(string && constant)) error(Why::macronotstring, nullptr, constname);
    if (!value.empty() && value[0] == '"') macrov.back().value = lastfixed;
    put("#define " + word1 + " \"" + cliteral(macrov.back().value) + "\"\n");
    return;
  }
  p = getword(equals, p);
  if (equals != "=") error(Why::constantmissingeq, nullptr, constname);
  getword(value, p);
  if (string) error(Why::stringmismatch);
  macrov.push_back({word1, withoutleadingzeros(value), ""});
}

static bool isrefchar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         c == '~';
}

// Replaces each reference " X" NAME "$" to an earlier string constant by
// that constant's value; the result is left in lastfixed.
void Translator::fixmacro(const std::string& text) {
  std::string result;
  std::size_t len = text.size(), copy = 0, i = 0;
  while (i + 4 <= len) {
    if (!(text[i] == ' ' && (text[i + 1] == 'X' || text[i + 1] == 'x'))) {
      ++i;
      continue;
    }
    std::size_t j = i + 2;
    while (j < len && isrefchar(text[j])) ++j;
    if (j < len && text[j] == ' ') {
      i = j;
      continue;
    }
    if (j < len && text[j] == '$') {
      std::string ref = text.substr(i + 2, j - i - 2) + "$";
      for (std::size_t m = 0; m < macrov.size(); ++m) {
        if (macrov[m].name != ref) continue;
        if ((int)m == defining_macro) error(Why::macrorecursion, nullptr, ref);
        result += text.substr(copy, i + 1 - copy);
        if (result.size() + macrov[m].value.size() > macrostore)
          error(Why::macrostorefull);
        result += macrov[m].value;
        copy = j + 1;
        break;
      }
    }
    i = j;
  }
  result += text.substr(copy);
  lastfixed = result;
}

// The value of a numeric constant, for DIM sizes; the last definition is
// the one the C text sees.
double Translator::numericconstant(const std::string& cname, bool& found) const {
  const Macro* last = nullptr;
  for (const Macro& m : macrov)
    if (m.name == cname) last = &m;
  found = false;
  if (!last || !last->quote.empty() || last->value.empty()) return 0;
  char* end = nullptr;
  double v = std::strtod(last->value.c_str(), &end);
  found = !*end;
  return v;
}

}  // namespace kzo

namespace kzo {

// A constant name that some # CONSTANT line defines, whose value is a
// string, a number, or (through a chain) another such constant; any other
// name the constant pass met stands for nothing in the C text.
bool Translator::definedconstant(const std::string& cname) const {
  std::string n = cname;
  for (std::size_t depth = 0; depth <= macrov.size(); ++depth) {
    const Macro* last = nullptr;
    for (const Macro& m : macrov)
      if (m.name == n) last = &m;
    if (!last) return false;
    if (!last->quote.empty() || isnumber(last->value)) return true;
    n = last->value;
  }
  return false;
}

}  // namespace kzo
