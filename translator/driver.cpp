// The driver: the command line, the source store, the pass sequence, the
// frame of the statement pass and the translator's single error routine.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "kzo2c.h"

namespace kzo {

void Translator::spill() {
  spilledlines += std::count(out.begin(), out.end(), '\n');
  sink->write(out.data(), (std::streamsize)out.size());
  out.clear();
}

// The report goes to standard output; editors and build tools get the same
// error once more on the diagnostic stream, in the form compilers use.
void Translator::error(const std::string& message) {
  report(line(), linenumber, message);
  throw Stop();
}

void Translator::report(const std::string& text, int number, const std::string& message) {
  msg << text << "\n" << number << " " << message;
  if (diag) {
    // The report ends without a line feed; where both streams go to one
    // place, the diagnostic starts a line of its own.
    msg.flush();
    if (diagnewline) *diag << "\n";
    *diag << sourcename << ":" << number << ": error: " << message << "\n";
  }
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

// A file name as a C string literal, for #line directives.
std::string quotedname(const std::string& name) {
  std::string q = "\"";
  for (unsigned char c : name) {
    if (c == '"' || c == '\\') {
      q += '\\';
      q += (char)c;
    } else if (c < 32 || c == 127) {
      const char octal[] = {'\\', (char)('0' + (c >> 6)), (char)('0' + ((c >> 3) & 7)),
                            (char)('0' + (c & 7)), 0};
      q += octal;
    } else {
      q += (char)c;
    }
  }
  return q + "\"";
}

// One source line of the statement pass. With -g every C line of its code
// is marked as coming from this source line.
void Translator::translateline() {
  if (!debuglines) {
    linecode();
    return;
  }
  const std::size_t start = out.size();
  hold = true;
  linecode();
  hold = false;
  marklines(start);
  if (sink && out.size() >= piece) spill();
}

// Puts a #line directive naming the current source line before every
// non-empty C line written since start. A block can span several C lines
// (labels, FOR, PRINT items), and after one directive alone the later
// lines would count on to the numbers of the next source lines.
void Translator::marklines(std::size_t start) {
  const std::string mark = "#line " + std::to_string(linenumber) + " " +
                           quotedname(sourcename) + "\n";
  std::string block;
  block.reserve((out.size() - start) * 2);
  bool atstart = true;
  for (std::size_t i = start; i < out.size(); ++i) {
    if (atstart && out[i] != '\n') block += mark;
    block += out[i];
    atstart = out[i] == '\n';
  }
  out.resize(start);
  out += block;
}

// With -g, after the last source line: the C file's own line numbers
// again, for the dispatcher and the closing lines.
void Translator::resumec() {
  long long lines = spilledlines + std::count(out.begin(), out.end(), '\n');
  // The directive is line lines+1; it numbers the line after it.
  put("#line " + std::to_string(lines + 2) + " " + quotedname(outname) + "\n");
}

// The code of one source line: its label, trace and line number, then its
// statements, closed by ";" and "}" as the last words decide.
void Translator::linecode() {
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
    if (debuglines) resumec();
    tail();
  } catch (const Stop&) {
    return 1;
  }
  if (!firstmistake.message.empty()) {
    report(firstmistake.line, firstmistake.number, firstmistake.message);
    return 1;
  }
  return 0;
}

#ifndef KZO2C_VERSION
#define KZO2C_VERSION "unknown"
#endif

static const char helptext[] =
    "usage: kzo2c [-g] SOURCE.bas OUTPUT.c\n"
    "       kzo2c --help | --version\n"
    "\n"
    "Translates a program in the kzo2c BASIC dialect into one C file that\n"
    "carries its own runtime. Compile that file with a C compiler and link it\n"
    "with curses and the math library:\n"
    "\n"
    "  kzo2c prog.bas prog.c && cc prog.c -o prog -lncurses -lm\n"
    "\n"
    "The first argument is the source, the last the C file to write.\n"
    "\n"
    "Options (before the source):\n"
    "  -g         write #line directives, so that compiler messages, debuggers\n"
    "             and sanitizers name lines of the source\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Exit status:\n"
    "  0  translated (or --help, --version)\n"
    "  1  translation error: the offending line, its number and the message\n"
    "     on standard output, and SOURCE:LINE: error: MESSAGE on standard\n"
    "     error; the C file holds what was written until then\n"
    "  2  bad command line, or a file that cannot be read or written\n";

static const char usagetext[] =
    "usage: kzo2c [-g] SOURCE.bas OUTPUT.c (kzo2c --help tells more)\n";

// Prints an informational text; a standard output that cannot take it
// is a failure, not a success.
static int inform(std::ostream& out, std::ostream& err, const std::string& text) {
  out << text;
  out.flush();
  if (!out) {
    err << "kzo2c: cannot write standard output\n";
    return 2;
  }
  return 0;
}

// The command line. Options stand before the source; from the source on,
// the arguments keep their places: in the translating form the first is
// the source and the last the C file, with --run the ones after the
// source go to the program. Returns -1 when the command goes on, else the
// exit status (--help, --version, a bad command line).
int parseoptions(int argc, char** argv, Options& o, std::ostream& out, std::ostream& err) {
  int first = 1;
  for (; first < argc; ++first) {
    const std::string a = argv[first];
    if (a == "--help") return inform(out, err, helptext);
    if (a == "--version") return inform(out, err, "kzo2c " KZO2C_VERSION "\n");
    if (a == "-g") {
      o.debuglines = true;
    } else if (a == "--classic") {
      o.classic = true;
    } else if (a == "--run") {
      o.run = true;
    } else if (a == "-o" && first + 1 < argc) {
      o.program = argv[++first];
    } else {
      break;
    }
  }
  const int rest = argc - first;
  bool ok;
  if (o.run)
    ok = o.program.empty() && rest >= 1;
  else if (!o.program.empty())
    ok = rest == 1;
  else
    ok = rest >= 2;
  if (!ok) {
    err << usagetext;
    return 2;
  }
  o.source = argv[first];
  if (o.run)
    o.arguments.assign(argv + first + 1, argv + argc);
  else if (o.program.empty())
    o.output = argv[argc - 1];
  return -1;
}

// The dialect's translation of one source text; the front-end is chosen
// here, once.
int translatesource(const Options& o, const std::string& text, std::ostream& sink,
                    const std::string& outname, std::ostream& out, std::ostream& err,
                    bool shared) {
  if (o.classic) return translateclassic(o, text, sink, outname, out, err, shared);
  Translator t(out);
  t.sink = &sink;
  t.sourcename = o.source;
  t.outname = outname;
  t.diag = &err;
  t.diagnewline = shared;
  t.debuglines = o.debuglines;
  int status = t.translate(text);
  t.spill();
  return status;
}

// Reads o.source and writes its translation to outname.
int translatefile(const Options& o, const std::string& outname, std::ostream& out,
                  std::ostream& err, bool shared) {
  std::ifstream in(o.source, std::ios::binary);
  if (!in) {
    err << "kzo2c: cannot open " << o.source << "\n";
    return 2;
  }
  std::string source((std::istreambuf_iterator<char>(in)),
                     std::istreambuf_iterator<char>());
  if (in.bad()) {
    err << "kzo2c: cannot read " << o.source << "\n";
    return 2;
  }
  std::ofstream file(outname, std::ios::binary | std::ios::trunc);
  if (!file) {
    err << "kzo2c: cannot create " << outname << "\n";
    return 2;
  }
  int status = translatesource(o, source, file, outname, out, err, shared);
  file.close();
  if (!file) {
    err << "kzo2c: cannot write " << outname << "\n";
    return 2;
  }
  out.flush();
  return status;
}

int run(int argc, char** argv, std::ostream& out, std::ostream& err, bool shared) {
  Options o;
  int status = parseoptions(argc, argv, o, out, err);
  if (status >= 0) return status;
  if (o.run || !o.program.empty()) return buildprogram(o, out, err, shared);
  return translatefile(o, o.output, out, err, shared);
}

}  // namespace kzo
