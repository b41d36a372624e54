// The tokens of a classic line. Keywords are found wherever they stand
// outside strings, REM and DATA, also inside unspaced text (FORI=1TO9),
// as the interpreters of those programs found them.
#include <cctype>
#include <cstring>

#include "classic.h"

namespace kzo {

// TAB( and SPC( are keywords only with their parenthesis.
static const char* const classickeywords[] = {
    "ABS",  "AND",   "ASC",   "ATN",    "CHR$",   "COS",    "DATA",    "DEF",
    "DIM",  "END",   "EXP",   "FN",     "FOR",    "GOSUB",  "GOTO",    "IF",
    "INPUT", "INT",  "LEFT$", "LEN",    "LET",    "LOG",    "MID$",    "NEXT",
    "NOT",  "ON",    "OR",    "POS",    "PRINT",  "RANDOMIZE", "READ", "REM",
    "RESTORE", "RETURN", "RIGHT$", "RND", "SGN",  "SIN",    "SPC(",    "SQR",
    "STEP", "STOP",  "STR$",  "TAB(",   "TAN",    "THEN",   "TO",      "VAL"};

// The longest keyword that starts at p, or nullptr.
static const char* keywordat(const char* p) {
  const char* best = nullptr;
  std::size_t bestlength = 0;
  for (const char* k : classickeywords) {
    std::size_t n = std::strlen(k);
    if (n <= bestlength) continue;
    std::size_t i = 0;
    while (i < n && p[i] && std::toupper((unsigned char)p[i]) == k[i]) ++i;
    if (i == n) {
      best = k;
      bestlength = n;
    }
  }
  return best;
}

static bool isdigitchar(char c) { return c >= '0' && c <= '9'; }
static bool isletterchar(char c) { return std::isalpha((unsigned char)c) != 0; }

// The number at s[i], as written: digits, a point, an exponent.
static std::size_t numberlength(const std::string& s, std::size_t i) {
  std::size_t j = i;
  while (j < s.size() && isdigitchar(s[j])) ++j;
  if (j < s.size() && s[j] == '.') ++j;
  while (j < s.size() && isdigitchar(s[j])) ++j;
  if (j < s.size() && (s[j] == 'E' || s[j] == 'e')) {
    std::size_t k = j + 1;
    if (k < s.size() && (s[k] == '+' || s[k] == '-')) ++k;
    if (k < s.size() && isdigitchar(s[k])) {
      j = k;
      while (j < s.size() && isdigitchar(s[j])) ++j;
    }
  }
  return j - i;
}

// A relation written with two characters, in its one spelling.
static const char* relation2(char a, char b) {
  if ((a == '<' && b == '=') || (a == '=' && b == '<')) return "<=";
  if ((a == '>' && b == '=') || (a == '=' && b == '>')) return ">=";
  if ((a == '<' && b == '>') || (a == '>' && b == '<')) return "<>";
  return nullptr;
}

// The tokens of the statements of l (after its line number, which
// scan finds first), ended by an end token.
void Classic::scan(ClassicLine& l) {
  const std::string& s = l.text;
  std::size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  std::size_t start = i;
  while (i < s.size() && isdigitchar(s[i])) ++i;
  if (i == start || i - start > 5) errorat(l, (int)start, "line number expected");
  l.number = std::stoi(s.substr(start, i - start));
  auto add = [&](ClassicToken::Kind kind, const std::string& value, std::size_t column) {
    l.tokens.push_back(ClassicToken{kind, value, (int)column});
  };
  while (i < s.size()) {
    char c = s[i];
    std::size_t column = i;
    if (c == ' ' || c == '\t') {
      ++i;
    } else if (c == '"') {
      std::size_t close = s.find('"', i + 1);
      std::size_t stop = close == std::string::npos ? s.size() : close;
      add(ClassicToken::text, s.substr(i + 1, stop - i - 1), column);
      i = close == std::string::npos ? s.size() : close + 1;
    } else if (isdigitchar(c) || (c == '.' && i + 1 < s.size() && isdigitchar(s[i + 1]))) {
      std::size_t n = numberlength(s, i);
      add(ClassicToken::number, s.substr(i, n), column);
      i += n;
    } else if (isletterchar(c)) {
      if (const char* k = keywordat(s.c_str() + i)) {
        std::string word = k;
        i += word.size();
        if (word.back() == '(') {
          word.pop_back();
          add(ClassicToken::keyword, word, column);
          add(ClassicToken::symbol, "(", i - 1);
          continue;
        }
        add(ClassicToken::keyword, word, column);
        if (word == "REM") break;
        if (word == "DATA") {
          // The items run to a colon outside quotes.
          std::size_t j = i;
          bool quoted = false;
          for (; j < s.size() && (quoted || s[j] != ':'); ++j)
            if (s[j] == '"') quoted = !quoted;
          add(ClassicToken::data, s.substr(i, j - i), i);
          i = j;
        }
        continue;
      }
      std::string word(1, (char)std::toupper((unsigned char)c));
      for (++i; i < s.size() && (isletterchar(s[i]) || isdigitchar(s[i])) &&
                !keywordat(s.c_str() + i);
           ++i)
        word += (char)std::toupper((unsigned char)s[i]);
      if (i < s.size() && s[i] == '$') {
        word += '$';
        ++i;
      }
      add(ClassicToken::name, word, column);
    } else if (c == '?') {
      add(ClassicToken::keyword, "PRINT", column);
      ++i;
    } else if (const char* r = i + 1 < s.size() ? relation2(c, s[i + 1]) : nullptr) {
      add(ClassicToken::symbol, r, column);
      i += 2;
    } else {
      add(ClassicToken::symbol, std::string(1, c), column);
      ++i;
    }
  }
  add(ClassicToken::end, "", s.size());
}

bool Classic::issymbol(const char* s) const {
  return peek().kind == ClassicToken::symbol && peek().value == s;
}

bool Classic::iskeyword(const char* k) const {
  return peek().kind == ClassicToken::keyword && peek().value == k;
}

bool Classic::accept(const char* s) {
  if (!issymbol(s) && !iskeyword(s)) return false;
  ++at;
  return true;
}

void Classic::expect(const char* s) {
  if (!accept(s)) error(std::string(s) + " expected");
}

bool Classic::atend() const {
  return peek().kind == ClassicToken::end || issymbol(":");
}

}  // namespace kzo
