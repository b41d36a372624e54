// The driver: the command line, the source store, the pass sequence, the
// frame of the statement pass and the translator's single error routine.
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "kzo2c.h"

namespace kzo {

void Translator::spill() {
  sink->write(out.data(), (std::streamsize)out.size());
  out.clear();
}

void Translator::error(const std::string& message) {
  msg << line() << "\n" << linenumber << " " << message;
  throw Stop();
}

void Translator::mistake(const std::string& message) {
  if (!firstmistake.message.empty()) return;
  firstmistake = Mistake{line(), message, linenumber};
}

// A comment of the source as a C comment; a "*/" in its text would end the
// C comment early, so it is written "* /".
void Translator::putcomment(const std::string& text) {
  std::string body = text;
  for (std::size_t i = 0; (i = body.find("*/", i)) != std::string::npos; i += 3)
    body.replace(i, 2, "* /");
  char before = lastc;
  put(" /*" + body + "*/");
  lastc = before;
}

// Normalises the source into the line store: carriage returns dropped,
// blank and tab runs folded to one blank outside quotes, trailing blanks
// removed, and the end marker "~" appended.
void Translator::readsource(const std::string& source) {
  input.clear();
  std::string cur;
  auto endline = [&] {
    std::size_t end = cur.find_last_not_of(' ');
    cur.erase(end == std::string::npos ? 0 : end + 1);
    std::size_t nul = cur.find('\0');
    if (nul != std::string::npos) cur.erase(nul);
    input.push_back(cur);
    cur.clear();
  };
  std::size_t i = 0, n = source.size();
  bool pending = false;  // text since the last line feed
  while (i < n) {
    char c = source[i++];
    pending = true;
    if (c == '\r') continue;
    if (c == '\n') {
      endline();
      pending = false;
    } else if (c == '"') {
      cur += c;
      while (i < n && source[i] != '\n') {
        cur += source[i];
        if (source[i++] == '"') break;
      }
    } else if (c == ' ' || c == '\t') {
      cur += ' ';
      while (i < n && (source[i] == ' ' || source[i] == '\t')) ++i;
    } else {
      cur += c;
    }
  }
  if (pending) endline();
  input.push_back("~");
  inputP = 0;
}

static bool isletter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

// One source line of the statement pass: its label, trace and line number,
// then its statements, closed by ";" and "}" as the last words decide.
void Translator::translateline() {
  const char* ln = line();
  linetemps = 0;
  qline.clear();
  for (const char* p = ln; *p; ++p) {
    if (*p == '"' || *p == '\\') qline += '\\';
    if (*p == '%') qline += '%';
    if (*p == '\r') qline += "\\r";  // a raw carriage return would end the C line
    else qline += *p;
  }
  if (ln[0] == '\'') {
    put(" ");
    putcomment(ln + 1);
    put("\n");
    endflag = false;
    return;
  }
  scanP = ln;
  if (isletter(ln[0])) {
    ++labelsdone;
    scanP = getword(word3, ln);
    placelabel(word3);
    put(word3 + ":");
    if (*scanP) put("\n");
    else endflag = true;
  }
  const std::string number = std::to_string(linenumber);
  if (!qline.empty()) {
    put("  if (tron)  fprintf(bug, \"\\n");
    put(number);
    put(" ");
    put(qline);
    put("\") ;\n");
  }
  if (*ln) {
    put("  line__kzo = ");
    put(number);
    put(";\n");
  }
  if (*scanP == ' ') {
    put("  ");
    ++scanP;
    lastP = nullptr;
    while (*scanP) {
      nextP = getword(word1, scanP);
      checkseparator();
      statement();
      if (scanP == lastP) error("stuck");
      lastP = scanP;
    }
    bool quiet = word1 == "REM" || word1 == "FOR" || word1 == "GOSUB" || endflag;
    if (!quiet) put(";");
    // A C label must be followed by a statement before the block's "}".
    if (ifflag && lastc == ':') put(";");
    for (; ifflag > 0; --ifflag) put("}");
    elseblock = false;
  }
  endflag = false;
  put("\n");
}

// A label at the head of a line: a C name of the label range, placed once.
void Translator::placelabel(const std::string& cname) {
  if (!iscname(cname) || !label)
    mistake("bad label " + dialectname(cname));
  else if (findname(cname) < constants)
    mistake("constant " + cname + " as a label");
  else if (!placed.insert(cname).second)
    mistake("label " + dialectname(cname) + " defined twice");
}

// Statements follow one another after ":", or after one whose C text ends
// its own statement (THEN, CLS, LINE INPUT ...); a comment or ELSE may
// follow any statement.
void Translator::checkseparator() {
  if (!lastP || lastc == ';' || lastc == '{' || lastc == '}' || lastc == ':') return;
  if (word1 == ":" || word1 == "'" || word1 == "REM" || word1 == "ELSE") return;
  mistake("missing :");
}

void Translator::statementpass() {
  walk([&](const char*) { translateline(); });
}

void Translator::tail() {
  put("\n  goto end__kzo;\n");
  unplacedlabels();
  for (const char* const* e = after; std::strcmp(*e, "~"); ++e) {
    if (**e == '"')
      put(std::string("    error__kzo(") + *e + ", line__kzo);\n");
    else
      put(std::string(*e) + "\n");
  }
  for (int n = 0; n < returnc; ++n)
    put("    case " + std::to_string(n) + ": goto return" + std::to_string(n) +
        "__kzo;\n");
  for (const char* const* e = closing; std::strcmp(*e, "~"); ++e)
    put(std::string(*e) + "\n");
}

int Translator::translate(const std::string& source) {
  out = runtimetext();
  readsource(source);
  resetnames();
  macrov.clear();
  labeling = dimming = defining = false;
  firstmistake = Mistake();
  lastc = ';';
  ifflag = 0;
  elseblock = false;
  placed.clear();
  try {
    constantpass();
    constants = definedc;
    labeling = true;
    labelpass();
    labeling = false;
    labels = definedc;
    dimming = true;
    dimpass();
    dimming = false;
    variable0 = definedc;
    defining = true;
    variablepass();
    variables = definedc;
    datapass();
    for (const char* const* e = headofmain; std::strcmp(*e, "~"); ++e)
      put(std::string(*e) + "\n");
    statementpass();
    tail();
  } catch (const Stop&) {
    return 1;
  }
  if (!firstmistake.message.empty()) {
    msg << firstmistake.line << "\n" << firstmistake.number << " " << firstmistake.message;
    return 1;
  }
  return 0;
}

int run(int argc, char** argv, std::ostream& out, std::ostream& err) {
  if (argc < 3) {
    err << "usage: kzo2c SOURCE.bas OUTPUT.c\n";
    return 2;
  }
  const char* sourcename = argv[1];
  const char* outname = argv[argc - 1];
  std::ifstream in(sourcename, std::ios::binary);
  if (!in) {
    err << "kzo2c: cannot open " << sourcename << "\n";
    return 2;
  }
  std::string source((std::istreambuf_iterator<char>(in)),
                     std::istreambuf_iterator<char>());
  if (in.bad()) {
    err << "kzo2c: cannot read " << sourcename << "\n";
    return 2;
  }
  std::ofstream file(outname, std::ios::binary | std::ios::trunc);
  if (!file) {
    err << "kzo2c: cannot create " << outname << "\n";
    return 2;
  }
  Translator t(out);
  t.sink = &file;
  int status = t.translate(source);
  t.spill();
  file.close();
  if (!file) {
    err << "kzo2c: cannot write " << outname << "\n";
    return 2;
  }
  out.flush();
  return status;
}

}  // namespace kzo
