// The classic front-end: line-numbered Microsoft-style programs become one
// console C file with the runtime of runtime/classic.c. Every line is
// read and scanned first (line numbers, DATA items), then translated line
// by line; GOSUB, FOR and ON GOSUB leave numbered return points that
// RETURN and NEXT reach through one dispatcher.
#include <ostream>
#include <sstream>

#include "classic.h"

extern const char kzo_classic_text[];
extern const std::size_t kzo_classic_size;

namespace kzo {

// The report of a translation error as the dialect gives it: the line,
// then its number and the message on standard output; the compilers'
// form on standard error.
void Classic::errorat(const ClassicLine& l, int column, const std::string& message) {
  out << l.text << "\n" << (l.number ? l.number : l.fileline) << " " << message;
  out.flush();
  if (shared) err << "\n";
  writediagnostic(err, Diagnostic{sourcename, l.fileline, column + 1, "error", message, l.text},
                  colourwanted(2));
  throw ClassicStop();
}

void Classic::error(const std::string& message) { errorat(*line, peek().column, message); }

void Classic::warning(int column, const std::string& message) {
  writediagnostic(err, Diagnostic{sourcename, line->fileline, column + 1, "warning", message, line->text},
                  colourwanted(2));
}

// The lines of the source, each scanned; line numbers ascend.
void Classic::readlines(const std::string& source) {
  std::istringstream in(source);
  std::string text;
  int fileline = 0;
  std::size_t before = 0;  // the previous line, counted from 1
  while (std::getline(in, text)) {
    ++fileline;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.find_first_not_of(" \t") == std::string::npos) continue;
    lines.push_back(ClassicLine{fileline, 0, text, {}});
    ClassicLine& l = lines.back();
    scan(l);
    const ClassicLine* previous = before ? &lines[before - 1] : nullptr;
    if (previous && l.number == previous->number)
      errorat(l, 0, "line number " + std::to_string(l.number) + " is used twice (lines " +
                        std::to_string(previous->fileline) + " and " + std::to_string(l.fileline) +
                        " of the file)");
    if (previous && l.number < previous->number)
      errorat(l, 0, "line " + std::to_string(l.number) + " comes after line " +
                        std::to_string(previous->number));
    numbers.insert(l.number);
    before = lines.size();
  }
}

// The DATA items of one DATA statement, as the runtime keeps them: a
// quoted item keeps its opening quote.
static void dataitems(const std::string& text, std::vector<std::string>& items) {
  std::size_t i = 0;
  for (;;) {
    while (i < text.size() && text[i] == ' ') ++i;
    std::string item;
    if (i < text.size() && text[i] == '"') {
      std::size_t close = text.find('"', i + 1);
      if (close == std::string::npos) close = text.size();
      item = text.substr(i, close - i);
      i = text.find(',', close);
    } else {
      std::size_t comma = text.find(',', i);
      item = text.substr(i, comma == std::string::npos ? std::string::npos : comma - i);
      i = comma;
    }
    items.push_back(classicliteral(item));
    if (i == std::string::npos) break;
    ++i;
  }
}

static void collectdata(Classic& c) {
  for (const ClassicLine& l : c.lines)
    for (const ClassicToken& t : l.tokens)
      if (t.kind == ClassicToken::data) {
        c.firstdatum.emplace(l.number, (int)c.data.size());
        std::string text = t.value;
        text.erase(text.find_last_not_of(' ') + 1);
        dataitems(text, c.data);
      }
}

// The statements of one line, in a C text of its own line; the IF blocks
// opened on it close at its end.
void Classic::translateline() {
  at = 0;
  braces = 0;
  code = "  line__kzo = " + std::to_string(line->number) + ";";
  while (peek().kind != ClassicToken::end) {
    if (accept(":")) continue;
    code += " ";
    statement();
    if (!atend()) error("unexpected " + peek().value + " after the statement");
  }
  code += std::string(braces, '}');
}

static std::string declarations(const Classic& c) {
  std::string d = "\n/* The program's variables */\n";
  for (const std::string& v : c.numvars) d += "static double N_" + v + ";\n";
  for (const std::string& v : c.strvars) d += "static char S_" + v + "[strmax__kzo + 1];\n";
  for (const std::string& v : c.numarrays) d += "static array__kzo AN_" + v + ";\n";
  for (const std::string& v : c.strarrays) d += "static array__kzo AS_" + v + ";\n";
  d += "static const char *const data__kzo_items[] = {";
  for (std::size_t i = 0; i < c.data.size(); ++i) d += (i % 8 ? " " : "\n  ") + c.data[i] + ",";
  d += "\n  0};\n";
  for (const auto& f : c.functions) d += "static double FN_" + f.first + "(double);\n";
  for (const auto& f : c.functions) d += f.second + "\n";
  return d;
}

int Classic::translate(const std::string& source, std::string& c) {
  try {
    readlines(source);
    collectdata(*this);
    std::vector<std::string> body;
    for (const ClassicLine& l : lines) {
      line = &l;
      translateline();
      body.push_back(code);
    }
    for (const auto& f : called)
      if (!functions.count(f.first))
        errorat(*f.second.first, f.second.second, "FN" + f.first + " is not defined");
    c.assign(kzo_classic_text, kzo_classic_size);
    c += declarations(*this);
    c += "\nint main(void) {\n  start__kzo(data__kzo_items, " + std::to_string(data.size()) + ");\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (debuglines)
        c += "#line " + std::to_string(lines[i].fileline) + " " + quotedname(sourcename) + "\n";
      if (targets.count(lines[i].number)) c += "L" + std::to_string(lines[i].number) + ":\n";
      c += body[i] + "\n";
    }
    if (debuglines) {
      long long n = 0;
      for (char ch : c) n += ch == '\n';
      c += "#line " + std::to_string(n + 2) + " " + quotedname(outname) + "\n";
    }
    c += "  end__kzo();\ndispatch__kzo:\n  switch (point__kzo) {\n";
    for (int p = 1; p <= points; ++p)
      c += "  case " + std::to_string(p) + ": goto R" + std::to_string(p) + ";\n";
    c += "  default: break;\n  }\n  return 0;\n}\n";
  } catch (const ClassicStop&) {
    return 1;
  }
  return 0;
}

int translateclassic(const Options& o, const std::string& text, std::ostream& sink,
                     const std::string& outname, std::ostream& out, std::ostream& err,
                     bool shared) {
  Classic c(out, err);
  c.sourcename = o.source;
  c.outname = outname;
  c.debuglines = o.debuglines;
  c.shared = shared;
  std::string program;
  int status = c.translate(text, program);
  if (status == 0) sink << program;
  return status;
}

}  // namespace kzo
