// The statements of classic programs, found by their keyword in one
// table; a statement that starts with a name is an assignment.
#include <cstring>

#include "classic.h"

namespace kzo {

namespace {
struct Handler {
  const char* keyword;
  void (Classic::*handle)();
};
const Handler handlers[] = {
    {"LET", &Classic::doassign},     {"PRINT", &Classic::doprint},
    {"INPUT", &Classic::doinput},    {"IF", &Classic::doif},
    {"GOTO", &Classic::dogoto},      {"GOSUB", &Classic::dogosub},
    {"RETURN", &Classic::doreturn},  {"ON", &Classic::doon},
    {"FOR", &Classic::dofor},        {"NEXT", &Classic::donext},
    {"DIM", &Classic::dodim},        {"READ", &Classic::doread},
    {"DATA", &Classic::dodata},      {"RESTORE", &Classic::dorestore},
    {"END", &Classic::doend},        {"STOP", &Classic::dostop},
    {"REM", &Classic::dorem},        {"DEF", &Classic::dodef},
    {"RANDOMIZE", &Classic::dorandomize},
};
}  // namespace

void Classic::statement() {
  const ClassicToken& t = peek();
  if (t.kind == ClassicToken::name) return doassign();
  if (t.kind == ClassicToken::keyword)
    for (const Handler& h : handlers)
      if (t.value == h.keyword) {
        ++at;
        return (this->*h.handle)();
      }
  if (t.kind == ClassicToken::end) error("statement expected at the end of the line");
  error("statement expected before " + t.value);
}

// A jump to a line; one to a line that does not exist translates, with a
// warning, into a stop when it is taken.
void Classic::jump(int target, int column) {
  if (numbers.count(target)) {
    targets.insert(target);
    code += "goto L" + std::to_string(target) + ";";
    return;
  }
  warning(column, "line " + std::to_string(target) +
                      " does not exist: the program stops here if the jump is taken");
  code += "undefined__kzo(" + std::to_string(target) + ");";
}

void Classic::doassign() {
  if (peek().kind != ClassicToken::name) error("variable expected");
  ClassicValue place = variable(false);
  expect("=");
  ClassicValue value = expression();
  if (place.isstring != value.isstring) error("type mismatch in the assignment");
  if (place.isstring)
    code += "let__kzo(" + place.code + ", " + value.code + ");";
  else
    code += place.code + " = " + value.code + ";";
}

// PRINT items: ";" joins, "," moves to the next zone; the line stays
// open after a last ";", "," TAB( or SPC(.
void Classic::doprint() {
  bool open = false;
  while (!atend()) {
    if (accept(";")) {
      open = true;
    } else if (accept(",")) {
      code += "comma__kzo();";
      open = true;
    } else if (iskeyword("TAB") || iskeyword("SPC")) {
      std::string f = peek().value == "TAB" ? "tab__kzo(" : "spc__kzo(";
      ++at;
      expect("(");
      code += f + numeric("TAB or SPC") + ");";
      expect(")");
      open = true;
    } else {
      ClassicValue v = expression();
      code += (v.isstring ? "printstr__kzo(" : "printnum__kzo(") + v.code + ");";
      open = false;
    }
  }
  if (!open) code += "newline__kzo();";
}

// READ and INPUT: the places of a list of variables, as pointers.
static std::vector<ClassicValue> places(Classic& c) {
  std::vector<ClassicValue> list;
  do {
    if (c.peek().kind != ClassicToken::name) c.error("variable expected");
    list.push_back(c.variable(true));
  } while (c.accept(","));
  return list;
}

// INPUT ["prompt";] places: "? " follows a prompt ended by ";" (and
// stands alone without one).
void Classic::doinput() {
  std::string prompt = "? ";
  if (peek().kind == ClassicToken::text) {
    prompt = peek().value;
    ++at;
    if (accept(";")) prompt += "? ";
    else expect(",");
  }
  std::vector<ClassicValue> list = places(*this);
  if (list.size() > 64) error("more than 64 variables in one INPUT");
  std::string table;
  for (const ClassicValue& v : list)
    table += std::string(table.empty() ? "" : ", ") + "{'" + (v.isstring ? "S" : "N") + "', " +
             v.code + "}";
  code += "{ const place__kzo places__kzo[] = {" + table + "}; input__kzo(" + classicliteral(prompt) +
          ", " + std::to_string(list.size()) + ", places__kzo); }";
}

// IF c THEN n | IF c GOTO n | IF c THEN statements: the rest of the line
// runs only when c is not zero.
void Classic::doif() {
  std::string condition = numeric("IF");
  code += "if (" + condition + ") {";
  ++braces;
  bool then = accept("THEN");
  if (!then && !iskeyword("GOTO")) error("THEN expected");
  if (accept("GOTO") || peek().kind == ClassicToken::number) {
    int column = peek().column;
    jump(linenumber(), column);
    return;
  }
  if (!atend()) statement();
}

void Classic::dogoto() {
  int column = peek().column;
  jump(linenumber(), column);
}

void Classic::dogosub() {
  int column = peek().column;
  int target = linenumber();
  int p = newpoint();
  code += "gosub__kzo(" + std::to_string(p) + ");";
  jump(target, column);
  code += " R" + std::to_string(p) + ":;";
}

void Classic::doreturn() { code += "point__kzo = return__kzo(); goto dispatch__kzo;"; }

// ON e GOTO|GOSUB n1, n2, ...: the n-th line for e truncated to n; 0 or
// past the list goes on with the next statement.
void Classic::doon() {
  std::string selector = numeric("ON");
  bool sub = accept("GOSUB");
  if (!sub) expect("GOTO");
  std::vector<std::pair<int, int>> list;  // line, column
  do {
    int column = peek().column;
    list.emplace_back(linenumber(), column);
  } while (accept(","));
  int p = sub ? newpoint() : 0;
  code += "switch (on__kzo(" + selector + ", " + std::to_string(list.size()) + ")) {";
  for (std::size_t i = 0; i < list.size(); ++i) {
    code += " case " + std::to_string(i + 1) + ": ";
    if (sub) code += "gosub__kzo(" + std::to_string(p) + "); ";
    jump(list[i].first, list[i].second);
  }
  code += " default: break; }";
  if (sub) code += " R" + std::to_string(p) + ":;";
}

void Classic::dofor() {
  if (peek().kind != ClassicToken::name || peek().value.back() == '$')
    error("numeric variable expected after FOR");
  std::string name = peek().value;
  ++at;
  if (issymbol("(")) error("FOR needs a plain variable, not an array element");
  numvars.insert(name);
  expect("=");
  std::string start = numeric("FOR");
  expect("TO");
  std::string limit = numeric("TO");
  std::string step = accept("STEP") ? numeric("STEP") : "1.0";
  int p = newpoint();
  code += "N_" + name + " = " + start + "; for__kzo(&N_" + name + ", " + limit + ", " + step +
          ", " + std::to_string(p) + "); R" + std::to_string(p) + ":;";
}

// NEXT [v {, v}]: each closes its loop or goes back into it.
void Classic::donext() {
  auto next = [&](const std::string& var) {
    code += "if ((point__kzo = next__kzo(" + var + ")) >= 0) goto dispatch__kzo;";
  };
  if (atend()) return next("NULL");
  do {
    if (peek().kind != ClassicToken::name || peek().value.back() == '$')
      error("numeric variable expected after NEXT");
    numvars.insert(peek().value);
    next("&N_" + peek().value);
    ++at;
  } while (accept(","));
}

void Classic::dodim() {
  do {
    if (peek().kind != ClassicToken::name) error("array name expected after DIM");
    std::string name = peek().value;
    ++at;
    bool isstring = name.back() == '$';
    if (isstring) name.pop_back();
    if (!issymbol("(")) error("DIM needs the sizes of " + name + (isstring ? "$" : ""));
    std::string list = subscripts();
    (isstring ? strarrays : numarrays).insert(name);
    code += std::string("dim__kzo(&") + (isstring ? "AS_" : "AN_") + name + ", " +
            (isstring ? "strmax__kzo + 1" : "sizeof(double)") + ", " + list + ");";
  } while (accept(","));
}

void Classic::doread() {
  for (const ClassicValue& v : places(*this))
    code += (v.isstring ? "readstr__kzo(" : "readnum__kzo(") + v.code + ");";
}

// The items were collected before the statements; DATA does nothing.
void Classic::dodata() { ++at; }

void Classic::dorestore() {
  int item = 0;
  if (!atend()) {
    int column = peek().column;
    int target = linenumber();
    auto d = firstdatum.lower_bound(target);
    item = d == firstdatum.end() ? (int)data.size() : d->second;
    if (!numbers.count(target)) warning(column, "line " + std::to_string(target) + " does not exist");
  }
  code += "restore__kzo(" + std::to_string(item) + ");";
}

void Classic::doend() { code += "end__kzo();"; }
void Classic::dostop() { code += "break__kzo();"; }
void Classic::dorem() {}

// DEF FNx(v) = expression: a C function of one number; v is its own,
// every other variable the program's.
void Classic::dodef() {
  expect("FN");
  if (peek().kind != ClassicToken::name || peek().value.back() == '$')
    error("function name expected after DEF FN");
  std::string name = peek().value;
  ++at;
  if (functions.count(name)) error("FN" + name + " is defined twice");
  expect("(");
  if (peek().kind != ClassicToken::name || peek().value.back() == '$')
    error("numeric parameter expected");
  parameter = peek().value;
  ++at;
  expect(")");
  expect("=");
  std::string body = numeric("DEF FN");
  parameter.clear();
  functions[name] = "static double FN_" + name + "(double p__kzo) { (void)p__kzo; return " +
                    body + "; }";
}

void Classic::dorandomize() {
  code += "randomize__kzo(" + (atend() ? std::string("(double)time(NULL)") : numeric("RANDOMIZE")) +
          ");";
}

}  // namespace kzo
