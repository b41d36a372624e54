// The classic front-end: line-numbered Microsoft-style programs.
//
//   classic.cpp              the lines, the output file, errors and warnings
//   classic_scanner.cpp      the keyword table and the tokens of a line
//   classic_expressions.cpp  the expression grammar, one function per level
//   classic_statements.cpp   the statement handlers and their table
#pragma once

#include <iosfwd>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "kzo2c.h"

namespace kzo {

struct ClassicToken {
  enum Kind { end, number, text, name, keyword, symbol, data } kind = end;
  std::string value;  // the keyword, the name, the symbol, the text or data
  int column = 0;     // 0-based position in the line as written
};

// One line of the program as written, with its number and its tokens.
struct ClassicLine {
  int fileline = 0;  // 1-based line of the source file
  int number = 0;    // the program's line number
  std::string text;  // as written, without the line end
  std::vector<ClassicToken> tokens;
};

// A value of an expression: its C text and whether it is a string.
struct ClassicValue {
  std::string code;
  bool isstring = false;
};

// A file name as a C string literal (driver.cpp).
std::string quotedname(const std::string& name);

// A string constant as a C literal.
std::string classicliteral(const std::string& text);

// Thrown after an error has been reported.
struct ClassicStop {};

struct Classic {
  Classic(std::ostream& report, std::ostream& diagnostics) : out(report), err(diagnostics) {}

  std::ostream& out;  // the report of a translation error
  std::ostream& err;  // diagnostics
  std::string sourcename, outname;
  bool debuglines = false;  // -g: #line directives name the source lines
  bool shared = false;  // out and err go to one place

  std::vector<ClassicLine> lines;
  std::set<int> numbers;           // every line number
  std::set<int> targets;           // lines a jump names
  std::vector<std::string> data;   // the DATA items in program order, as C literals
  std::map<int, int> firstdatum;   // line number -> its first DATA item
  std::set<std::string> numvars, strvars, numarrays, strarrays;
  std::map<std::string, std::string> functions;  // FNx -> C definition
  std::map<std::string, std::pair<const ClassicLine*, int>> called;  // FNx: first use
  int points = 0;                  // return points made so far

  // ---- the line being translated
  const ClassicLine* line = nullptr;
  std::size_t at = 0;              // the current token
  std::string code;                // its C text
  int braces = 0;                  // IF blocks open on the line
  std::string parameter;           // the DEF FN parameter, while its body is read

  // classic.cpp
  int translate(const std::string& source, std::string& c);
  void readlines(const std::string& source);
  void translateline();
  [[noreturn]] void error(const std::string& message);
  [[noreturn]] void errorat(const ClassicLine& l, int column, const std::string& message);
  void warning(int column, const std::string& message);

  // classic_scanner.cpp
  void scan(ClassicLine& l);
  const ClassicToken& peek() const { return line->tokens[at]; }
  bool issymbol(const char* s) const;
  bool iskeyword(const char* k) const;
  bool accept(const char* s);  // a symbol or keyword
  void expect(const char* s);
  bool atend() const;  // end of the statement: ":" or the line's end

  // classic_expressions.cpp
  ClassicValue expression();
  ClassicValue disjunction();
  ClassicValue conjunction();
  ClassicValue negation();
  ClassicValue relation();
  ClassicValue sum();
  ClassicValue product();
  ClassicValue signedpower();
  ClassicValue power();
  ClassicValue powerright();
  ClassicValue primary();
  ClassicValue function(const std::string& name);
  ClassicValue fncall();
  ClassicValue variable(bool wantplace);
  std::string subscripts();
  std::string numeric(const char* what);
  std::string stringvalue(const char* what);
  int linenumber();

  // classic_statements.cpp
  void statement();
  void jump(int target, int column);
  int newpoint() { return ++points; }
  void doassign();
  void doprint();
  void doinput();
  void doif();
  void dogoto();
  void dogosub();
  void doreturn();
  void doon();
  void dofor();
  void donext();
  void dodim();
  void doread();
  void dodata();
  void dorestore();
  void doend();
  void dostop();
  void dorem();
  void dodef();
  void dorandomize();
};

}  // namespace kzo
