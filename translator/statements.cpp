// The statement translators. Each handler is entered with word1 holding the
// statement word, scanP at the start of the statement and nextP just after
// the statement word; it writes its C text and leaves scanP after the text
// it consumed.
#include <cctype>
#include <cstring>
#include <string>
#include <unordered_map>

#include "kzo2c.h"

namespace kzo {

namespace {

struct Handler {
  const char* words[4];
  void (Translator::*translate)();
};

// Statement words in the order they are tested; any other word starts an
// assignment, and CLS is tested last of all.
const Handler handlers[] = {
    {{"PAUSE"}, &Translator::dopause},
    {{"IF"}, &Translator::doif},
    {{"ELSE"}, &Translator::doelse},
    {{"GOTO"}, &Translator::dogoto},
    {{":"}, &Translator::docolon},
    {{"RETURN"}, &Translator::doreturn},
    {{"GOSUB"}, &Translator::dogosub},
    {{"REM", "'"}, &Translator::dorem},
    {{"STOP"}, &Translator::dostop},
    {{"NEXT"}, &Translator::donext},
    {{"PRINT"}, &Translator::doprint},
    {{"FOR"}, &Translator::dofor},
    {{"LINE"}, &Translator::doline},
    {{"ON"}, &Translator::doon},
    {{"DATA"}, &Translator::dodata},
    {{"DIM", "CLEAR", "FILES", "PCLEAR"}, &Translator::dodim},
    {{"READ"}, &Translator::doread},
    {{"CLOSE"}, &Translator::doclose},
    {{"OPEN"}, &Translator::doopen},
    {{"END"}, &Translator::doend},
};

const char* const comparisons[] = {"==", "!=", "<", ">", "<=", ">=", ""};

const char stackguard[] =
    "if (forP__kzo>=for__kzo+fors__kzo) error__kzo(\"stack overflow\", "
    "line__kzo);";

std::string num(long n) { return std::to_string(n); }

// The run-time check of a file number, n the text "index__kzo(...)": the
// numbers are 0 to 9, and PRINT# also needs the file open.
std::string filecheck(const std::string& n, bool mustbeopen) {
  return "if (" + n + ">9" + (mustbeopen ? " || !file__kzo[" + n + "]" : "") +
         ") error__kzo(\"bad file number\", line__kzo);\n  ";
}

}  // namespace

void Translator::statement() {
  // Every statement word is reserved, but for ":" and "'".
  if (!keyword && word1 != ":" && word1 != "'") return doassign();
  // The table's first handler for each word, looked up at once.
  static const auto byword = [] {
    std::unordered_map<std::string, void (Translator::*)()> m;
    for (const Handler& h : handlers)
      for (const char* const* w = h.words; *w; ++w) m.emplace(*w, h.translate);
    return m;
  }();
  auto it = byword.find(word1);
  if (it != byword.end()) return (this->*it->second)();
  if (word1 != "CLS") return doassign();
  docls();
}

// After GOSUB, NEXT and FOR the statement that follows carries the return
// label, so it goes on a new line; a separator must come first.
void Translator::colonafter() {
  if (!*scanP) {
    endflag = true;
    return;
  }
  put("\n  ");
  const char* p = getword(word1, scanP);
  if (word1 == "REM" || word1 == "'") return;  // a comment may follow too
  scanP = p;
  if (word1 != ":") error(Why::notacolon, nullptr, lastword());
}

void Translator::doassign() {
  const char* place = scanP;
  nextP = lvalphrase(phrase1, scanP);
  checkplace(phrase1, string, false, place);
  if (string) {
    nextP = getword(word2, nextP);
    if (word2 != "=") error(Why::assigneq, nullptr, lastword());
    scanP = stringphrase(phrase2, nextP);
    put("let__kzo(" + phrase1 + ", " + phrase2 + ")");
    if (*scanP) getword(word3, scanP);
    return;
  }
  put(phrase1);
  nextP = getword(word2, nextP);
  if (word2 != "=") error(Why::assigneq, nullptr, lastword());
  scanP = numberphrase(phrase1, nextP);
  put("=" + phrase1);
}

void Translator::docolon() {
  put("; ");
  scanP = nextP;
}

void Translator::dopause() {
  put("getch()");
  scanP = nextP;
}

void Translator::dostop() {
  put("refresh(); getch()");
  scanP = nextP;
}

void Translator::docls() {
  put("clear(); refresh();");
  scanP = nextP;
}

void Translator::doend() {
  put("refresh(); getch();\n"
      "  for(i__kzo=0; i__kzo<26; i__kzo++) printw(\"\\n\");\n"
      "  refresh(); endwin(); exit(0)");
  scanP = nextP;
}

void Translator::dorem() {
  // The line close writes no ";" after a REM, so a statement before it
  // on the line is ended here.
  if (word1 == "REM" && lastc != ';' && lastc != '{' && lastc != '}') put(";");
  if (*nextP) putcomment(nextP);
  scanP = nextP + std::char_traits<char>::length(nextP);
}

void Translator::dodata() {
  scanP = nextP + std::char_traits<char>::length(nextP);
  endflag = true;
}

// DIM was declared in its own pass; the statement is passed over up to
// the next colon, or to the end of the line when a comment comes first.
void Translator::dodim() {
  const char* p = nextP;
  for (; *p && *p != ':'; ++p) {
    bool rem = std::strncmp(p, "REM", 3) == 0 && !islabelchar((unsigned char)p[-1]) &&
               !islabelchar((unsigned char)p[3]) && p[3] != '$';
    if (*p == '\'' || rem) {
      p += std::strlen(p);
      break;
    }
  }
  scanP = p;
  if (!*scanP) endflag = true;
}

// The word after GOTO, GOSUB or in an ON list must name a label that a
// line carries.
void Translator::checklabel(const std::string& w) {
  int k = findname(w);
  if (w.empty() || !name)
    mistake(Why::labelplease, nullptr, lastword());
  else if (!label || k < constants || k >= labels)
    mistake(Why::undefinedlabel, nullptr, dialectname(w));
  else if (!iscname(w))
    mistake(Why::badlabel, nullptr, dialectname(w));
}

// An assignment, READ or LINE INPUT writes into a variable or an array
// entry, never into a constant, a literal, a function's result or the
// command line; READ and LINE INPUT write text.
void Translator::checkplace(const std::string& phrase, bool isstring, bool text,
                            const char* at) {
  while (*at == ' ') ++at;
  std::size_t n = 0;
  while (n < phrase.size() && (std::isalnum((unsigned char)phrase[n]) || phrase[n] == '_')) ++n;
  const std::string head = phrase.substr(0, n);
  bool place = isvariablename(head) && head != "ARGV_s_kzo" &&
               (n == phrase.size() || phrase[n] == '[');
  if (!place) {
    bool named = n > 0 && !std::isdigit((unsigned char)phrase[0]);
    if (named && n < phrase.size() && phrase[n] == '$') ++n;
    mistake(Why::cannotassign, at, named ? dialectname(phrase.substr(0, n)) : "a value");
  }
  else if (text && !isstring)
    mistake(Why::stringplace, at);
}

void Translator::dogoto() {
  put("goto ");
  scanP = copylabel(nextP);
  checklabel(targetword);
}

void Translator::doreturn() {
  put("goto returns__kzo");
  scanP = nextP;
}

void Translator::dogosub() {
  int n = returnc;
  put(std::string(stackguard) + " *forP__kzo++=-1; *returnP__kzo++=" + num(n) +
      "; goto ");
  scanP = copylabel(nextP);
  checklabel(targetword);
  put(";\nreturn" + num(n) + "__kzo:");
  ++returnc;
  colonafter();
}

void Translator::donext() {
  int n = returnc, forvarno = 0;
  scanP = nextP;
  const char* past = getword(word2, scanP);
  if (variable) {
    forvarno = forvarnumber(word2);
    if (forvarno < 0) error(Why::nextforvar, nullptr, lastword());
    scanP = past;
  }
  put("forvar__kzo=" + num(forvarno) + "; back__kzo=" + num(n) +
      "; goto next__kzo;\nreturn" + num(n) + "__kzo:");
  ++returnc;
  colonafter();
}

void Translator::dofor() {
  int n = returnc, f = forc;
  if (forc >= fors) error(Why::toomanyfors);
  const char* p = getword(word1, nextP);
  const char* var = wordat;
  if (string) error(Why::stringforvariable, var, lastword());
  p = getword(word3, p);
  if (word3 != "=") error(Why::foreq);
  const char* from = p;
  p = getphrase(phrase1, p);
  if (string) error(Why::stringforvalue, from);
  p = getword(word3, p);
  if (word3 != "TO") error(Why::forto);
  from = p;
  p = getphrase(phrase2, p);
  if (string) error(Why::stringforvalue, from);
  phrase2 = "(float)(" + phrase2 + ")";
  int forvarno = forvarnumber(word1);
  if (forvarno < 0) error(Why::forforvar, var, dialectname(word1));
  if (!iscname(word1)) mistake(Why::badname, var, dialectname(word1));
  phrase3 = "1.0";
  if (*p) {
    const char* q = getword(word3, p);
    if (word3 == "STEP") {
      if (!*q) error(Why::stepvalue, q);
      p = getphrase(phrase3, q);
      if (string) mistake(Why::stringforvalue, q);
      phrase3 = "(float)(" + phrase3 + ")";
    } else if (word3 != ":" && word3 != "REM" && word3 != "'") {
      error(Why::forcolon, nullptr, lastword());
    }
  }
  scanP = p;
  const std::string& v = word1;
  const std::string F = num(f);
  // A FOR replaces the open loop of its variable, so a loop left with GOTO
  // and started again does not pile up on the stacks.
  put(v + "=" + phrase1 + "; forreuse__kzo(" + num(forvarno) + "); " + stackguard +
      " *forP__kzo++=" + num(forvarno) +
      "; *returnP__kzo++=" + num(n) + ";\n");
  put("  to__kzo[" + F + "]=" + phrase2 + "; step__kzo[" + F + "]=" + phrase3 +
      "; goto for__kzo" + F + ";\n");
  put("return" + num(n) + "__kzo:\n");
  ++returnc;
  put("  " + v + "=" + v + "+step__kzo[" + F + "];\n");
  put("  if (step__kzo[" + F + "]>0 && " + v + ">to__kzo[" + F +
      "]) goto forgone__kzo;\n");
  put("  if (step__kzo[" + F + "]==0 && fabs(fabs(" + v + ")-fabs(to__kzo[" +
      F + "]))<sf__kzo) goto forgone__kzo;\n");
  put("  if (step__kzo[" + F + "]<0 && " + v + "<to__kzo[" + F +
      "]) goto forgone__kzo;\n");
  put("for__kzo" + F + ":");
  ++forc;
  colonafter();
}

void Translator::doon() {
  scanP = getphrase(phrase1, nextP);
  if (string) mistake(Why::stringselector, nextP);
  put("switch(index__kzo(" + phrase1 + ")) {\n");
  const char* p = getword(word1, scanP);
  if (word1 != "GOTO" && word1 != "GOSUB") error(Why::ongotoword);
  if (word1 == "GOSUB") error(Why::ongosub);
  int n = 1;
  do {
    p = getword(word2, p);
    if (!label || !name || word2.empty()) error(Why::labelplease, nullptr, lastword());
    checklabel(word2);
    put("    case " + num(n++) + ": goto " + word2 + ";\n");
    scanP = p;
    p = getword(word1, p);
  } while (word1 == ",");
  put("  }\n");
  if (word1 != "'" && word1 != "REM") scanP = p;  // a comment stays
}

void Translator::doif() {
  put("if (");
  getword(word2, nextP);
  const char* p = nextP;
  for (;;) {
    p = getphrase(phrase1, p);
    bool leftstring = string;
    p = getword(word1, p);
    const char* comparison = wordat;
    const std::string comparisonword = lastword();
    if (word1 == "=") word1 = "==";
    else if (word1 == "<>") word1 = "!=";
    p = getphrase(phrase2, p);
    if (!isin(word1, comparisons)) mistake(Why::comparisonplease, comparison, comparisonword);
    else if (leftstring != string) mistake(Why::comparemix, comparison);
    if (phrase2 == "\"\\\"") phrase2 = "\"\\\\\"";
    char c = word1.empty() ? '\0' : word1[0];
    if (string)
      put("strcmp(" + phrase1 + ", " + phrase2 + ")" + word1 + "0");
    else if (c == '=')
      put("fabs(fabs(" + phrase1 + ")-fabs(" + phrase2 + "))<sf__kzo");
    else if (c == '!')
      put("fabs(fabs(" + phrase1 + ")-fabs(" + phrase2 + "))>sf__kzo");
    else
      put(phrase1 + word1 + phrase2);
    nextP = getword(word1, p);
    if (word1 == "AND") put(" && ");
    else if (word1 == "OR") put(" || ");
    else break;
    p = nextP;
  }
  put(") {");
  ++ifflag;
  elseblock = false;
  scanP = word1 == "THEN" ? nextP : p;
}

void Translator::doelse() {
  if (!ifflag) error(Why::elsewithoutif);
  if (elseblock) mistake(Why::secondelse);  // the innermost IF has its ELSE
  elseblock = true;
  put(";}\n  else {");
  scanP = nextP;
}

static bool endsitems(const std::string& w) {
  return w == "REM" || w == "'" || w == ":";
}

// Inside an IF, ELSE ends the items of a PRINT and a CLOSE too.
bool Translator::endsstatement(const std::string& w) const {
  return endsitems(w) || (ifflag && w == "ELSE");
}

// After the position of PRINT@ or the number of PRINT#: a comma, or the end
// of the statement.
void Translator::printseparator() {
  nextP = getword(word2, scanP);
  if (*scanP && word2 != "," && !endsstatement(word2))
    error(Why::missingcomma, nullptr, lastword());
  if (word2 == ",") scanP = nextP;
}

void Translator::doprint() {
  scanP = nextP;
  nextP = getword(word1, scanP);
  std::string prefix = "printw(";
  if (word1 == "@") {
    put("P__kzo=.2+");
    scanP = getphrase(phrase1, nextP);
    if (string) mistake(Why::stringposition, nextP);
    put(phrase1 + ";\n  move(P__kzo/32, P__kzo-P__kzo/32*32);\n  ");
    printseparator();
  } else if (word1 == "#") {
    scanP = getphrase(phrase2, nextP);
    if (string) mistake(Why::stringfilenumber, nextP);
    const std::string n = "index__kzo(" + phrase2 + ")";
    prefix = "  fprintf(file__kzo[" + n + "], ";
    printseparator();
    put(filecheck(n, true));
  }
  printitems(prefix);
}

void Translator::printitems(const std::string& prefix) {
  semiflag = false;
  nextP = getword(word2, scanP);
  while (*scanP && !endsstatement(word2)) {
    scanP = getphrase(phrase2, scanP);
    if (string) {
      put(prefix + "\"%s\", " + phrase2 + ")");
    } else {
      put("dend__kzo=" + phrase2 + ";\n");
      put("  if (fabs(fabs(round__kzo(dend__kzo))-fabs(dend__kzo))<.0000001)\n");
      put("    " + prefix + "\" %d \", round__kzo(dend__kzo));\n");
      put("  else\n");
      put("    " + prefix + "\"%s\",float__kzo(phrase__kzo," + phrase2 + "))");
    }
    nextP = getword(word2, scanP);
    semiflag = false;
    while (word2 == ";") {
      semiflag = true;
      scanP = nextP;
      nextP = getword(word2, scanP);
    }
    if (*scanP && !endsstatement(word2)) put(";\n  ");
  }
  if (!semiflag) put(";\n  " + prefix + "\"\\n\")");
  if (prefix == "printw(") put(";\n  refresh()");
}

void Translator::doline() {
  scanP = getword(word2, nextP);
  if (word2 != "INPUT") return;
  const char* p = getword(word1, scanP);
  if (word1 == "#") {
    scanP = getphrase(phrase1, p);
    if (string) error(Why::stringfilenumber, p);
    scanP = getword(word1, scanP);
    if (word1 != ",") error(Why::missingcomma, nullptr, lastword());
  } else {
    phrase1 = "0";
  }
  const char* place = scanP;
  scanP = getphrase(phrase2, scanP);
  checkplace(phrase2, string, true, place);
  put("lineinput__kzo(" + phrase1 + ", " + phrase2 + ");");
}

void Translator::doread() {
  scanP = getphrase(phrase1, nextP);
  checkplace(phrase1, string, true, nextP);
  put("if (datac__kzo>=(int)(sizeof datav__kzo/sizeof datav__kzo[0])) "
      "error__kzo(\"out of data\", line__kzo);\n  ");
  put("i__kzo=0; while ((" + phrase1 +
      "[i__kzo] = datav__kzo[datac__kzo][i__kzo]))  i__kzo++; datac__kzo++");
}

void Translator::doopen() {
  const char* p = getword(word1, nextP);
  std::string mode;
  if (word1 == "\"I\"" || word1 == "\"i\"") mode = "\"r\"";
  else if (word1 == "\"O\"" || word1 == "\"o\"") mode = "\"w\"";
  else error(Why::openmode, nullptr, lastword());
  p = getword(word2, p);
  if (word2 != ",") error(Why::missingcomma, nullptr, lastword());
  const char* q = getword(word2, p);  // the "#" is optional
  const char* from = word2 == "#" ? q : p;
  p = getphrase(word2, from);
  if (string) error(Why::stringfilenumber, from);
  p = getword(word3, p);
  if (word3 != ",") error(Why::missingcomma, nullptr, lastword());
  scanP = getphrase(phrase3, p);
  if (!string) error(Why::filenamenotstring, p);
  const std::string n = "index__kzo(" + word2 + ")";
  put(filecheck(n, false));
  put("if (file__kzo[" + n + "]) fclose(file__kzo[" + n + "]);\n  ");
  put("eof__kzo[" + n + "]=0;\n  ");
  put("file__kzo[" + n + "] = fopen(" + phrase3 + ", " + mode + ");\n");
  put("  if (!file__kzo[" + n + "])  error__kzo(\"bad name\", line__kzo)");
}

// CLOSE n or CLOSE #n closes one file number; CLOSE alone closes them all.
// A number that is not open stays closed.
void Translator::doclose() {
  const char* p = getword(word2, nextP);
  if (word2.empty() || endsstatement(word2)) {
    put("for (i__kzo=0; i__kzo<10; i__kzo++) {\n"
        "    if (file__kzo[i__kzo]) fclose(file__kzo[i__kzo]);\n"
        "    file__kzo[i__kzo]=0;\n  }");
    scanP = nextP;
    return;
  }
  const char* from = word2 == "#" ? p : nextP;
  scanP = getphrase(phrase1, from);
  if (string) error(Why::stringfilenumber, from);
  const std::string n = "index__kzo(" + phrase1 + ")";
  put(filecheck(n, false));
  put("if (file__kzo[" + n + "]) fclose(file__kzo[" + n + "]);\n  ");
  put("file__kzo[" + n + "]=0");
}

}  // namespace kzo
