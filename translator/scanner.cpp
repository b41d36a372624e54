// The word scanner: cuts a line into words, classifies each word in the six
// indications and turns dialect names into C names through the name table.
#include <cstring>
#include <string>

#include "kzo2c.h"

namespace kzo {

bool islabelchar(int c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
         (c >= 'a' && c <= 'z') || c == '_' || c == '~';
}

static bool isletter(int c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
         c == '~';
}

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

const char* Translator::copylabel(const char* text) {
  std::string word;
  text = getword(word, text);
  put(word);
  return text;
}

// A quoted string: both quotes are kept; there is no escape character.
// References to string constants are substituted only in the value of a
// constant line, the one place that reads the result; elsewhere the work
// could grow with every literal that names a long constant.
static const char* quoted(Translator& t, std::string& word, const char* p) {
  const char* start = p++;
  while (*p && *p != '"') ++p;
  if (!*p) t.error("unmatched \"");
  word.assign(start, p + 1);
  if (t.defining_macro >= 0) t.fixmacro(std::string(start + 1, p));
  t.string = t.constant = true;
  t.keyword = t.name = t.label = t.variable = false;
  return p + 1;
}

const char* Translator::getword(std::string& word, const char* text) {
  word.clear();
  while (*text == ' ') ++text;
  if (!*text) return text;
  if (*text == '"') return quoted(*this, word, text);

  int c = (unsigned char)*text;
  if (isletter(c)) {
    name = true;
    constant = false;
  } else if (isdigitorpoint(c)) {
    name = false;
    constant = true;
    keyword = false;
  } else {
    constant = false;
  }

  for (; islabelchar((unsigned char)*text) || *text == '.'; ++text) {
    char ch = *text;
    if (!isdigitorpoint((unsigned char)ch) && !name) constant = false;
    if (!name && ch == '_') error("stray _");
    if (!name && ch == '~') error("stray ~");
    word += ch;
  }

  if (constant && !word.empty()) {  // a number, in C form
    if (word.find('.') == std::string::npos) word += ".0";
    return text;
  }

  if (*text == '$') {
    if (word.empty() || !name) error("stray $");
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
  keyword = iskeyword(word);
  if (keyword) {
    variable = false;
    return text;
  }
  constant = false;
  variable = false;
  mangle(word);
  return text;
}

// Gives a name word its C form by pass mode and table range, classifies it,
// and enters (and from the variable pass on declares) a new name.
void Translator::mangle(std::string& word) {
  targetlabel.assign(word).append("l_kzo");
  int a = findname(word), b = findname(targetlabel);
  int k = a < b ? a : b;

  if (labeling || (constants <= k && k < labels)) word += "l_kzo";
  if ((defining || dimming) && k >= labels) {
    if (string)
      word.replace(word.size() - 1, 1, "_s_kzo");
    else
      word += "_f_kzo";
  }

  int k2 = findname(word);
  if (k2 < labels)
    label = true;
  else if (!defining && !dimming)
    constant = true;
  else
    variable = true;

  if (k2 == definedc) {
    addname(word);
    if (defining) {
      if (string)
        put("char " + word + "[300];\n");
      else
        put("double " + word + ";\n");
    }
  }
}

}  // namespace kzo
