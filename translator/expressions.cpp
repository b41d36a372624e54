// Expression translation: one left-to-right pass over the words of a
// phrase, driven by two stacks of one-letter symbols.
//
// The expectation stack says what must come next (E the phrase may end,
// F/L/S/N a value of either type / an assignable value / a string / a
// number, I the first argument of INSTR, M after the second argument of
// MID$, ] and ) closing parentheses, "," an argument separator). The value
// stack records the values produced (N numeric; S, F or L a string, by the
// expectation it met; "(" an open parenthesis).
#include <cctype>
#include <cstring>
#include <ostream>
#include <string>

#include "kzo2c.h"

namespace kzo {

struct Translator::Phrase {
  Translator& t;
  std::string& text;    // the C text, in the caller's buffer
  std::string exp = "E";
  std::string val = "E";
  std::string word;     // the current word
  const char* rest;     // the text after the current word
  const char* p;        // where the next word is read
  const char* at;       // where the current word starts

  // Subscripts of the statement pass are checked against the DIM sizes.
  // An array with the number of its subscripts written so far: the open
  // subscripts, innermost last, and the array that the next "(" continues.
  struct Array {
    std::string name;                      // its C name
    const char* at = nullptr;              // where the name stands
    const std::vector<std::string>* sizes = nullptr;
    std::size_t used = 0;                  // subscripts written or open
  };
  std::vector<Array> open;
  Array pending;       // sizes null when no array waits for a "("
  std::string before;  // the name word before this one, if it was one
  bool missing = false;  // the line ended where a value was due
  const char* missingat = nullptr;
  // What the diagnostic of a phrase that does not come out whole points
  // at: a "(" with nothing before it, an operator with no value before it.
  const char* grouping = nullptr;
  const char* dangling = nullptr;
  std::string danglingop;

  Phrase(Translator& tr, char first, std::string& buffer, const char* from)
      : t(tr), text(buffer), rest(from), p(from), at(from) {
    exp += first;
    text.clear();
  }

  char top() const { return exp.empty() ? '\0' : exp.back(); }
  char lastvalue() const { return val.empty() ? 'E' : val.back(); }
  static void pop(std::string& stack) {
    if (!stack.empty()) stack.pop_back();
  }
  void next() {
    rest = p = t.getword(word, p);
    at = t.wordat;
  }

  [[noreturn]] void fail(Why why, const char* where = nullptr, const std::string& about = "") {
    t.msg << val << "!" << exp << "\n" << text << "\n" << word << "!" << rest
          << "\n";
    t.error(why, where ? where : at, about.empty() ? t.lastword() : about);
  }

  void checklval() {
    if (top() == 'L') fail(Why::illegallval);
  }
  void checknumber() {
    char c = top();
    if (c != 'N' && c != 'F' && c != 'L') fail(Why::wantedstring);
    val += 'N';
    pop(exp);
  }
  void checkstring() {
    char c = top();
    if (c != 'S' && c != 'L' && c != 'F') fail(Why::wantednumber);
    val += c;
    pop(exp);
  }
  void checkleftparen() {
    const std::string function = t.lastword();
    next();
    if (word != "(") fail(Why::wantedparen, at, function);
    text += "(";
    val += '(';
  }

  // A string-valued function: MID$, LEFT$, RIGHT$, CHR$.
  void stringfunction(const char* c, bool temporary, const char* expect) {
    checklval();
    checkstring();
    text += c;
    if (temporary && ++t.linetemps > temps) t.error(Why::toomanystringfunctions, at);
    checkleftparen();
    exp += expect;
  }
  // A number-valued function of one string: ASC, LEN.
  void numberfunction(const char* c) {
    checklval();
    checknumber();
    text += c;
    checkleftparen();
    exp += ")S";
  }

  bool checked() const { return !t.dimming; }
  // The end of the open subscript: its size, when it is checked.
  std::string closing() const {
    const Array& a = open.back();
    return a.sizes ? ", " + (*a.sizes)[a.used - 1] + ")" : ")";
  }
  // A "(" opens a subscript: of the array just named, or the next one of
  // the array whose subscript just closed. A subscript that no DIM
  // allows is a mistake; it is written unchecked.
  void opensubscript() {
    if (!checked()) {
      text += "[index__kzo(";
      return;
    }
    Array a = pending;
    pending = Array();
    if (!a.sizes) {
      if (before.empty()) {
        if (!grouping) grouping = at;
        t.mistake(Why::subscriptwithoutarray, at);
      } else {
        t.mistake(Why::subscriptnotarray, at, dialectname(before));
      }
    } else if (a.used == a.sizes->size()) {
      t.mistake(Why::toomanysubscripts, at, dialectname(a.name));
      a.sizes = nullptr;
    }
    ++a.used;
    open.push_back(a);
    text += a.sizes ? "[bound__kzo(" : "[index__kzo(";
  }
  // After an array's subscripts, anything but another "(" ends them.
  void endsubscripts() {
    if (!pending.sizes || word == "(") return;
    if (pending.used == 0)
      t.mistake(Why::arraywithoutsubscripts, pending.at, dialectname(pending.name));
    else if (pending.used < pending.sizes->size())
      t.mistake(Why::toofewsubscripts, pending.at, dialectname(pending.name));
    pending = Array();
  }
  void subscriptcomma() {
    if (!checked()) {
      text += ")][index__kzo(";
      return;
    }
    text += closing() + "][";
    Array& a = open.back();
    if (a.sizes && a.used == a.sizes->size()) {
      t.mistake(Why::toomanysubscripts, at, dialectname(a.name));
      a.sizes = nullptr;
    }
    ++a.used;
    text += a.sizes ? "bound__kzo(" : "index__kzo(";
  }
  void closesubscript() {
    if (!checked()) {
      text += ")]";
      return;
    }
    text += closing() + "]";
    pending = open.back();
    open.pop_back();
  }

  void comma() {
    switch (top()) {
      case ',': text += ","; pop(exp); pop(val); break;
      case 'M': text += ","; pop(exp); pop(val); exp += ")N"; break;
      case ']': subscriptcomma(); pop(val); exp += 'N'; break;
      default: fail(Why::unexpectedcomma);
    }
  }
  void closeparen() {
    switch (top()) {
      case 'M': text += ",0)"; break;
      case ']': closesubscript(); break;
      case ')': text += ")"; break;
      default: fail(Why::unexpectedparen);
    }
    pop(val);
    pop(val);
    pop(exp);
  }
  void operand() {
    if (checked() && !word.empty() && std::strchr("NSFL", lastvalue()))
      t.mistake(Why::missingoperator, at, dialectname(word));
    switch (top()) {
      case 'I':
        pop(exp);
        if (t.string) {
          text += "1,";
          exp += ")S,S";
          checkstring();
        } else {
          exp += ")S,S,N";
          checknumber();
        }
        break;
      case ',': fail(Why::expectingcomma);
      case ')': case ']': case 'M': fail(Why::expectingparen);
      default:
        if (t.string) checkstring(); else checknumber();
    }
    text += word;
    if (!checked()) return;
    checkoperand();
    if (t.name && !t.keyword) {
      pending.name = word;
      pending.at = at;
      pending.sizes = t.arraysizes(word);
      pending.used = 0;
    }
  }
  // What the C compiler would reject in an operand: a missing value at the
  // end of the line, punctuation, a malformed number or name, a label.
  void checkoperand() {
    if (word.empty()) {
      missing = true;
      missingat = at;
      return;
    }
    unsigned char c = word[0];
    if (t.name && t.label) {  // a label, or a constant name
      int k = t.findname(word);
      if (k >= t.constants && k < t.labels)
        t.mistake(Why::labelasvalue, at, dialectname(word));
      else if (k < t.constants && !t.definedconstant(word))
        t.mistake(Why::constantnovalue, at, word);
    } else if (t.string) {
      return;  // a literal or a string variable
    } else if (std::isdigit(c) || c == '.') {
      if (!t.name && !isnumber(word)) t.mistake(Why::badnumber, at, word);
      if (t.name) t.mistake(Why::badname, at, dialectname(word));
    } else if (!t.name) {
      t.mistake(Why::unexpectedword, at, word);
    } else if (!iscname(word)) {
      t.mistake(Why::badname, at, dialectname(word));
    }
  }

  void act() {
    const std::string& w = word;
    if (w.size() == 1) {
      switch (w[0]) {
        case '(':
          opensubscript();
          val += '(';
          exp += "]N";
          return;
        case '-': case '+': case '*': case '/':
          checklval();
          if (lastvalue() == 'E' || lastvalue() == '(') {
            if (!dangling) dangling = at, danglingop = w;
            if (checked()) t.mistake(w == "-" ? Why::minusbefore : Why::novaluebefore, at, w);
          } else if (checked() && lastvalue() != 'N') {
            t.mistake(Why::stringinarithmetic, at, w);
          }
          text += w;
          pop(val);
          exp += 'N';
          return;
        case ',': return comma();
        case ')': return closeparen();
      }
    }
    if (!t.keyword || w.empty()) return operand();
    if (w == "MID$") {
      stringfunction("mid__kzo", true, "MN,S");
    } else if (w == "LEFT$") {
      stringfunction("left__kzo", true, ")N,S");
    } else if (w == "RIGHT$") {
      stringfunction("right__kzo", false, ")N,S");
    } else if (w == "INSTR") {
      checklval();
      checknumber();
      text += "instr__kzo";
      exp += 'I';
      checkleftparen();
    } else if (w == "ASC") {
      numberfunction("asc__kzo");
    } else if (w == "LEN") {
      numberfunction("len__kzo");
    } else if (w == "CHR$") {
      stringfunction("chr__kzo", false, ")N");
    } else {
      t.error(w == "LET"    ? Why::keywordlet
              : w == "NOT"  ? Why::keywordnot
              : w == "ELSE" ? Why::keywordelse
                            : Why::keywordinphrase,
              at, t.lastword());
    }
  }

  static bool continues(const std::string& w) {
    return !w.empty() && std::strchr("(+-*/", w[0]);
  }

  const char* translate() {
    if (!*p) t.error(Why::emptyphrase, p);
    next();
    if (t.constant) checklval();
    const char* end;
    for (;;) {
      act();
      before = t.name && !t.keyword ? word : std::string();
      end = p;
      next();
      if (checked()) endsubscripts();
      if (top() != 'E' || continues(word)) continue;
      break;
    }
    if (val != "EN" && val != "EF" && val != "EL" && val != "ES") {
      if (grouping) fail(Why::grouping, grouping);
      if (dangling) fail(danglingop == "-" ? Why::unaryminus : Why::novalue, dangling, danglingop);
      fail(Why::incomplete);
    }
    if (missing && checked()) t.mistake(Why::valuemissing, missingat);
    t.string = val != "EN";
    return end;
  }
};

const char* Translator::partphrase(char first, std::string& buffer,
                                   const char* text) {
  Phrase phrase(*this, first, buffer, text);
  return phrase.translate();
}

}  // namespace kzo
