// Every message of a translation error, once: the words of the report on
// standard output (which build scripts may match, so they never change) and
// the plain words of the diagnostic on standard error. The man page's
// DIAGNOSTICS section lists the plain words in this order.
#include <string>

#include "kzo2c.h"

namespace kzo {

const Message messagetable[] = {
    // lines and labels
    {Why::keywordaslabel, "keyword as label",
     "%s is a reserved word and cannot stand in column 1 as a label; start a statement line with a blank"},
    {Why::stuck, "stuck", "the statement cannot be read from here on"},
    {Why::badlabel, "bad label %s",
     "%s cannot be a label; a label starts with a letter and holds letters, digits and _"},
    {Why::constantaslabel, "constant %s as a label",
     "%s is the name of a constant and cannot be a label"},
    {Why::labeltwice, "label %s defined twice",
     "the label %s already stands at the head of an earlier line; give this line another label"},
    {Why::missingcolon, "missing :", "a statement ends before %s; write : between two statements"},
    // constants
    {Why::macrostorefull, "macro store full",
     "the values of the constants are too long together (500000 bytes at most)"},
    {Why::constanttakesname, "constant %s takes a name of the C text",
     "%s cannot be the name of a constant: the C text of the program uses it; choose another name"},
    {Why::constanteq, "constant =", "= is due after the constant's name: # CONSTANT %s = \"TEXT\""},
    {Why::macronotstring, "macro def not a string constant",
     "the value of a string constant is a quoted text: # CONSTANT %s = \"TEXT\""},
    {Why::constantmissingeq, "missing =", "= is due after the constant's name: # CONSTANT %s = 25"},
    {Why::stringmismatch, "string mismatch",
     "the value of a numeric constant is a number; a text needs a name ending in $"},
    {Why::macrorecursion, "macro recursion", "the string constant %s refers to itself"},
    // words
    {Why::unmatchedquote, "unmatched \"", "this text has no closing \" on its line"},
    {Why::strayunderscore, "stray _", "_ cannot stand in a number; a name starts with a letter"},
    {Why::straytilde, "stray ~", "~ cannot stand in a number"},
    {Why::straydollar, "stray $", "$ stands only at the end of a name, as in A$"},
    // expressions
    {Why::illegallval, "illegal l-val",
     "%s cannot be assigned to; the place of an assignment is a variable or an array entry"},
    {Why::wantedstring, "I wanted a string", "a string is due here, not %s"},
    {Why::wantednumber, "I wanted a number", "a number is due here, not %s"},
    {Why::wantedparen, "I wanted a (", "( is due after %s; a function takes its arguments in parentheses"},
    {Why::expectingcomma, "I was expecting a ,",
     "the function takes one more argument: , is due here, not %s"},
    {Why::expectingparen, "I was expecting a )", ") is due here, not %s"},
    {Why::unexpectedcomma, "unexpected ,",
     ", separates only arguments and subscripts here; PRINT items are separated by ;"},
    {Why::unexpectedparen, "unexpected )", "a value is missing before ), or it closes nothing"},
    {Why::unaryminus, "bad destack on exit", "a minus sign cannot start a value here; write 0-1"},
    {Why::novalue, "bad destack on exit", "a value is missing before %s"},
    {Why::grouping, "bad destack on exit",
     "the dialect has no grouping parentheses; split the expression and keep the part in a variable"},
    {Why::incomplete, "bad destack on exit", "the expression is not complete here"},
    {Why::keywordinphrase, "keyword in phrase", "%s is a reserved word that kzo2c does not translate"},
    {Why::keywordlet, "keyword in phrase", "LET is not translated; write the assignment without it"},
    {Why::keywordnot, "keyword in phrase",
     "NOT is not translated; turn the comparison round (<> for =, >= for <, ...)"},
    {Why::keywordelse, "keyword in phrase", "ELSE belongs to an IF earlier on the same line"},
    {Why::emptyphrase, "empty phrase", "a value is due here, but the line ends"},
    {Why::toomanystringfunctions, "too many string functions",
     "more than 64 MID$ and LEFT$ on one line; split the line"},
    {Why::subscriptwithoutarray, "subscript without an array",
     "the dialect has no grouping parentheses; split the expression and keep the part in a variable"},
    {Why::subscriptnotarray, "subscript on %s, which no DIM declares as an array",
     "%s takes no subscript: no DIM gives it sizes"},
    {Why::toomanysubscripts, "too many subscripts for %s",
     "one subscript too many: %s has as many as its DIM gives sizes"},
    {Why::arraywithoutsubscripts, "array %s without subscripts",
     "%s is an array: name an entry with its subscripts, as in %s(0)"},
    {Why::toofewsubscripts, "too few subscripts for %s",
     "%s needs as many subscripts as its DIM gives sizes"},
    {Why::missingoperator, "missing operator before %s",
     "an operator (+ - * /) or : is missing before %s"},
    {Why::labelasvalue, "label %s used as a value", "%s is a label and has no value; jump to it with GOTO %s"},
    {Why::constantnovalue, "constant %s has no value",
     "the constant %s has no value: its # CONSTANT line names no number or text"},
    {Why::badnumber, "bad number %s", "%s is no number; a number is digits with at most one point"},
    {Why::badname, "bad name %s",
     "%s is no name or number: a name starts with a letter and holds letters, digits and _; a number has no exponent"},
    {Why::unexpectedword, "unexpected %s", "%s cannot stand where a value is due"},
    {Why::novaluebefore, "no value before %s", "a value is missing before %s"},
    {Why::minusbefore, "no value before %s", "a minus sign cannot start a value here; write 0-1"},
    {Why::stringinarithmetic, "string in arithmetic",
     "%s works on numbers, and the value before it is a string; the dialect has no string joining"},
    {Why::valuemissing, "value missing at the end of the line", "a value is due here, but the line ends"},
    // DIM and DATA
    {Why::dimsizenotconstant, "DIM size not constant",
     "a DIM size is a number, or numeric constants and numbers joined by + - * /"},
    {Why::dimsizerange, "index overflow", "a DIM size lies between 0 and 2147483647"},
    {Why::dimwithoutname, "DIM item without a name", "a DIM item starts with its name, as in DIM A(10)"},
    {Why::dimnotvariable, "DIM of %s, which is no variable name",
     "%s cannot be declared by DIM; DIM declares variables, as in DIM A(10), B$(5)"},
    {Why::dimagain, "DIM %s again with other sizes",
     "%s is declared by an earlier DIM with other sizes; an array has one set of sizes"},
    {Why::dataitemtoolong, "DATA item too long", "a DATA item holds 299 bytes at most"},
    // statements
    {Why::notacolon, "not a colon", "after GOSUB, NEXT or FOR, : is due before the next statement, not %s"},
    {Why::assigneq, "=", "= is due here, not %s: a statement that starts with a name is an assignment, and statements are separated by :"},
    {Why::nextforvar, "next forvar", "%s cannot be the variable of NEXT: it is no plain numeric variable"},
    {Why::toomanyfors, "too many FOR statements", "more than 10000 FOR statements in one program"},
    {Why::stringforvariable, "string for FOR variable", "the variable of FOR is numeric; %s is a string"},
    {Why::foreq, "FOR =", "= is due after the variable of FOR, as in FOR I=1 TO 10"},
    {Why::stringforvalue, "string FOR variable phrase", "the start, limit and step of FOR are numbers"},
    {Why::forto, "FOR TO", "TO is due after the start value, as in FOR I=1 TO 10"},
    {Why::forforvar, "for forvar",
     "%s cannot be the variable of FOR: it is no plain numeric variable (a DIM name or a constant)"},
    {Why::stepvalue, "STEP", "a value is due after STEP"},
    {Why::forcolon, "not :", ": is due before the next statement, not %s"},
    {Why::stringselector, "string selector", "ON chooses by a number, not by a string"},
    {Why::ongotoword, "GOTO or GOSUB please", "GOTO is due after the value of ON, as in ON N GOTO A,B"},
    {Why::ongosub, "on gosub later",
     "ON ... GOSUB is not translated; jump with ON ... GOTO to lines that GOSUB"},
    {Why::labelplease, "label please", "a label is due here, not %s"},
    {Why::undefinedlabel, "undefined label %s", "no line carries the label %s"},
    {Why::cannotassign, "cannot assign to %s",
     "%s cannot be assigned to; the place is a variable or an array entry (not a constant or ARGV$)"},
    {Why::stringplace, "string place please",
     "READ and LINE INPUT read text; the place is a string variable, as in A$"},
    {Why::comparisonplease, "comparison please", "a comparison (= <> < > <= >=) is due here, not %s"},
    {Why::comparemix, "string compared with a number", "a string cannot be compared with a number"},
    {Why::elsewithoutif, "stray ELSE", "ELSE belongs to an IF earlier on the same line"},
    {Why::secondelse, "stray ELSE", "this IF has its ELSE already"},
    {Why::missingcomma, "missing ,", ", is due here, not %s"},
    {Why::stringposition, "string position", "the position of PRINT@ is a number"},
    {Why::stringfilenumber, "string file number", "a file number is a number, not a string"},
    {Why::openmode, "I or i or O or o please",
     "the mode of OPEN is \"I\" (read) or \"O\" (write), not %s"},
    {Why::filenamenotstring, "file name not string",
     "the file name of OPEN is a string, as in \"DATA.TXT\" or N$"},
};
const int messagecount = sizeof messagetable / sizeof messagetable[0];

const Message& messagefor(Why why) {
  for (const Message& m : messagetable)
    if (m.why == why) return m;
  return messagetable[1];  // every Why has its entry; never reached
}

std::string messagetext(const char* form, const std::string& word) {
  std::string text = form;
  for (std::size_t i = 0; (i = text.find("%s", i)) != std::string::npos; i += word.size())
    text.replace(i, 2, word);
  return text;
}

}  // namespace kzo
