// Expressions of classic programs, by descent through the precedence
// levels, lowest first:
//   expression  = disjunction
//   disjunction = conjunction {OR conjunction}
//   conjunction = negation {AND negation}
//   negation    = NOT negation | relation
//   relation    = sum {("=" | "<>" | "<" | ">" | "<=" | ">=") sum}
//   sum         = product {("+" | "-") product}
//   product     = signedpower {("*" | "/") signedpower}
//   signedpower = ("-" | "+") signedpower | power
//   power       = primary {"^" powerright}
//   powerright  = ("-" | "+") powerright | primary
//   primary     = number | string | variable | function | FN call | "(" expression ")"
// Each returns the C text of its value and whether it is a string.
// Relations give -1 or 0; AND, OR and NOT work on 16-bit integers.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "classic.h"

namespace kzo {

std::string Classic::numeric(const char* what) {
  ClassicValue v = expression();
  if (v.isstring) error(std::string("a number is needed for ") + what);
  return v.code;
}

std::string Classic::stringvalue(const char* what) {
  ClassicValue v = expression();
  if (!v.isstring) error(std::string("a string is needed for ") + what);
  return v.code;
}

ClassicValue Classic::expression() { return disjunction(); }

// Both operands of a logical or arithmetic operator must be numbers.
static void bothnumbers(Classic& c, const ClassicValue& a, const ClassicValue& b,
                        const std::string& op) {
  if (a.isstring || b.isstring) c.error("type mismatch: " + op + " needs numbers");
}

ClassicValue Classic::disjunction() {
  ClassicValue a = conjunction();
  while (accept("OR")) {
    ClassicValue b = conjunction();
    bothnumbers(*this, a, b, "OR");
    a.code = "or__kzo(" + a.code + ", " + b.code + ")";
  }
  return a;
}

ClassicValue Classic::conjunction() {
  ClassicValue a = negation();
  while (accept("AND")) {
    ClassicValue b = negation();
    bothnumbers(*this, a, b, "AND");
    a.code = "and__kzo(" + a.code + ", " + b.code + ")";
  }
  return a;
}

ClassicValue Classic::negation() {
  if (!accept("NOT")) return relation();
  ClassicValue a = negation();
  if (a.isstring) error("type mismatch: NOT needs a number");
  return ClassicValue{"not__kzo(" + a.code + ")", false};
}

ClassicValue Classic::relation() {
  static const char* const relations[][2] = {{"=", "=="}, {"<>", "!="}, {"<", "<"},
                                             {">", ">"},  {"<=", "<="}, {">=", ">="}};
  ClassicValue a = sum();
  for (;;) {
    const char* op = nullptr;
    for (auto& r : relations)
      if (issymbol(r[0])) op = r[1];
    if (!op) return a;
    std::string written = peek().value;
    ++at;
    ClassicValue b = sum();
    if (a.isstring != b.isstring) error("type mismatch: " + written + " compares a string with a number");
    std::string left = a.isstring ? "compare__kzo(" + a.code + ", " + b.code + ")" : a.code;
    std::string right = a.isstring ? "0" : b.code;
    a = ClassicValue{"(" + left + " " + op + " " + right + " ? -1.0 : 0.0)", false};
  }
}

ClassicValue Classic::sum() {
  ClassicValue a = product();
  for (;;) {
    bool plus = issymbol("+");
    if (!plus && !issymbol("-")) return a;
    ++at;
    ClassicValue b = product();
    if (plus && a.isstring && b.isstring) {
      a.code = "cat__kzo(" + a.code + ", " + b.code + ")";
      continue;
    }
    bothnumbers(*this, a, b, plus ? "+" : "-");
    a.code = "num__kzo(" + a.code + (plus ? " + " : " - ") + b.code + ")";
  }
}

ClassicValue Classic::product() {
  ClassicValue a = signedpower();
  for (;;) {
    bool times = issymbol("*");
    if (!times && !issymbol("/")) return a;
    ++at;
    ClassicValue b = signedpower();
    bothnumbers(*this, a, b, times ? "*" : "/");
    a.code = times ? "num__kzo(" + a.code + " * " + b.code + ")"
                   : "div__kzo(" + a.code + ", " + b.code + ")";
  }
}

ClassicValue Classic::signedpower() {
  if (accept("+")) return signedpower();
  if (!accept("-")) return power();
  ClassicValue a = signedpower();
  if (a.isstring) error("type mismatch: - needs a number");
  return ClassicValue{"(-" + a.code + ")", false};
}

ClassicValue Classic::power() {
  ClassicValue a = primary();
  while (accept("^")) {
    ClassicValue b = powerright();
    bothnumbers(*this, a, b, "^");
    a.code = "pow__kzo(" + a.code + ", " + b.code + ")";
  }
  return a;
}

ClassicValue Classic::powerright() {
  if (accept("+")) return powerright();
  if (!accept("-")) return primary();
  ClassicValue a = powerright();
  if (a.isstring) error("type mismatch: - needs a number");
  return ClassicValue{"(-" + a.code + ")", false};
}

// A number as a C double constant.
static std::string numberliteral(Classic& c, const std::string& written) {
  std::string digits;
  for (char ch : written) digits += ch == 'e' ? 'E' : ch;
  double v = std::strtod(digits.c_str(), nullptr);
  if (!std::isfinite(v)) c.error("number too large: " + written);
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", v);
  std::string s = text;
  if (s.find_first_of(".e") == std::string::npos) s += ".0";
  return s;
}

// A string constant as a C literal; other bytes than printable ASCII in
// octal.
std::string classicliteral(const std::string& text) {
  std::string s = "\"";
  for (unsigned char ch : text) {
    if (ch == '"' || ch == '\\') {
      s += '\\';
      s += (char)ch;
    } else if (ch < 32 || ch >= 127 || ch == '?') {
      char octal[8];
      std::snprintf(octal, sizeof octal, "\\%03o", ch);
      s += octal;
    } else {
      s += (char)ch;
    }
  }
  return s + "\"";
}

ClassicValue Classic::primary() {
  const ClassicToken t = peek();
  switch (t.kind) {
    case ClassicToken::number:
      ++at;
      return ClassicValue{numberliteral(*this, t.value), false};
    case ClassicToken::text:
      ++at;
      return ClassicValue{classicliteral(t.value), true};
    case ClassicToken::name:
      return variable(false);
    case ClassicToken::keyword:
      if (t.value == "FN") return fncall();
      ++at;
      return function(t.value);
    default:
      break;
  }
  if (accept("(")) {
    ClassicValue v = expression();
    expect(")");
    v.code = "(" + v.code + ")";
    return v;
  }
  if (t.kind == ClassicToken::end) error("expression expected at the end of the line");
  error("expression expected before " + t.value);
}

// The functions: name, C function, argument kinds (N number, S string),
// and whether the result is a string.
namespace {
struct Builtin {
  const char* name;
  const char* c;
  const char* arguments;
  bool isstring;
};
const Builtin builtins[] = {
    {"ABS", "fabs", "N", false},        {"ATN", "atan", "N", false},
    {"COS", "cos", "N", false},         {"SIN", "sin", "N", false},
    {"EXP", "exp__kzo", "N", false},    {"INT", "floor", "N", false},
    {"LOG", "log__kzo", "N", false},    {"SGN", "sgn__kzo", "N", false},
    {"SQR", "sqr__kzo", "N", false},    {"TAN", "tan__kzo", "N", false},
    {"RND", "rnd__kzo", "N", false},    {"POS", "pos__kzo", "N", false},
    {"LEN", "len__kzo", "S", false},    {"ASC", "asc__kzo", "S", false},
    {"VAL", "val__kzo", "S", false},    {"CHR$", "chr__kzo", "N", true},
    {"STR$", "str__kzo", "N", true},    {"LEFT$", "left__kzo", "SN", true},
    {"RIGHT$", "right__kzo", "SN", true}, {"MID$", "mid__kzo", "SNn", true},
};
}  // namespace

// A call of a function; its name has been read. A lowercase kind in the
// argument list is optional (MID$ without a length takes the rest).
ClassicValue Classic::function(const std::string& name) {
  const Builtin* b = nullptr;
  for (const Builtin& f : builtins)
    if (name == f.name) b = &f;
  if (!b) {
    --at;
    if (name == "TAB" || name == "SPC") error(name + "( is only allowed in PRINT");
    error("expression expected before " + name);
  }
  if (name == "RND" && !issymbol("(")) return ClassicValue{"rnd__kzo(1)", false};
  expect("(");
  std::string call = std::string(b->c) + "(";
  for (const char* k = b->arguments; *k; ++k) {
    if (k != b->arguments) {
      if (*k == 'n' && !issymbol(",")) {
        call += ", 255";
        break;
      }
      expect(",");
      call += ", ";
    }
    call += *k == 'S' ? stringvalue(name.c_str()) : numeric(name.c_str());
  }
  expect(")");
  return ClassicValue{call + ")", b->isstring};
}

// FNx(argument): a function of DEF FN, numeric, with one argument.
ClassicValue Classic::fncall() {
  ++at;
  if (peek().kind != ClassicToken::name || peek().value.back() == '$')
    error("function name expected after FN");
  std::string name = peek().value;
  called.emplace(name, std::make_pair(line, peek().column));
  ++at;
  expect("(");
  std::string argument = numeric("the argument of FN");
  expect(")");
  return ClassicValue{"FN_" + name + "(" + argument + ")", false};
}

// "(" index {"," index} ")" as the count and list the runtime takes.
std::string Classic::subscripts() {
  expect("(");
  std::vector<std::string> index;
  do {
    index.push_back(numeric("a subscript"));
  } while (accept(","));
  expect(")");
  if (index.size() > 8) error("more than 8 subscripts");
  std::string list = std::to_string(index.size()) + ", (double[]){";
  for (std::size_t i = 0; i < index.size(); ++i) list += (i ? ", " : "") + index[i];
  return list + "}";
}

// A variable or array element, as a value (or as a place for INPUT
// and READ: a pointer to it).
ClassicValue Classic::variable(bool wantplace) {
  std::string name = peek().value;
  ++at;
  bool isstring = name.back() == '$';
  if (isstring) name.pop_back();
  std::string c;
  if (issymbol("(")) {
    std::string list = subscripts();
    if (isstring) {
      strarrays.insert(name);
      c = "strat__kzo(&AS_" + name + ", " + list + ")";
    } else {
      numarrays.insert(name);
      c = "numat__kzo(&AN_" + name + ", " + list + ")";
      if (!wantplace) c = "(*" + c + ")";
    }
  } else if (isstring) {
    strvars.insert(name);
    c = "S_" + name;
  } else if (!parameter.empty() && name == parameter) {
    c = wantplace ? "&p__kzo" : "p__kzo";
  } else {
    numvars.insert(name);
    c = wantplace ? "&N_" + name : "N_" + name;
  }
  return ClassicValue{c, isstring};
}

// A line number of a jump.
int Classic::linenumber() {
  const ClassicToken& t = peek();
  if (t.kind != ClassicToken::number || t.value.find_first_not_of("0123456789") != std::string::npos ||
      t.value.size() > 5)
    error("line number expected");
  ++at;
  return std::stoi(t.value);
}

}  // namespace kzo
