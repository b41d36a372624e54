// The driver: the command line, the source store, the pass sequence, the
// frame of the statement pass and the translator's single error routine.
#include <algorithm>
#include <cstdint>
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
// A mistake found earlier on the same line is what led the translation
// astray; the diagnostic names that one.
void Translator::error(Why why, const char* at, const std::string& word) {
  const Message& m = messagefor(why);
  const Mistake& first = firstmistake;
  const bool earlier = !first.message.empty() && first.number == linenumber &&
                       first.at <= offset(at);
  report(line(), linenumber, messagetext(m.report, word),
         earlier ? first.plain : messagetext(m.plain, word), earlier ? first.at : offset(at));
  throw Stop();
}

void Translator::report(const std::string& text, int number, const std::string& message,
                        const std::string& plain, std::size_t at) {
  msg << text << "\n" << number << " " << message;
  if (diag) {
    // The report ends without a line feed; where both streams go to one
    // place, the diagnostic starts a line of its own.
    msg.flush();
    if (diagnewline) *diag << "\n";
    writediagnostic(*diag, diagnostic(number, at, plain), colour);
  }
}

void Translator::mistake(Why why, const char* at, const std::string& word) {
  if (!firstmistake.message.empty()) return;
  const Message& m = messagefor(why);
  firstmistake = Mistake{line(), messagetext(m.report, word), linenumber,
                         messagetext(m.plain, word), offset(at)};
}

// Where at (by default the last word read) lies in the current line.
std::size_t Translator::offset(const char* at) const {
  if (!at) at = wordat;
  if (!at || inputP >= input.size()) return 0;
  const std::string& ln = input[inputP];
  const auto p = reinterpret_cast<std::uintptr_t>(at),
             start = reinterpret_cast<std::uintptr_t>(ln.c_str());
  return p >= start && p <= start + ln.size() ? p - start : 0;
}

std::string Translator::lastword() const {
  if (!wordat || wordend <= wordat) return "the end of the line";
  return std::string(wordat, wordend);
}

// The diagnostic of stored line number at offset at: its line and column
// in the source as written, and that line.
Diagnostic Translator::diagnostic(int number, std::size_t at, const std::string& plain) const {
  Diagnostic d;
  d.file = sourcename;
  d.line = number;
  d.severity = "error";
  d.message = plain;
  d.column = (int)at + 1;
  const std::size_t k = (std::size_t)number - 1;
  if (!writtensource || k >= linestarts.size()) {
    if (k < input.size()) d.sourceline = input[k];
    return d;
  }
  std::size_t i = linestarts[k], end = writtensource->find('\n', i);
  if (end == std::string::npos) end = writtensource->size();
  d.sourceline = writtensource->substr(i, end - i);
  const std::size_t nul = d.sourceline.find('\0');
  if (nul != std::string::npos) d.sourceline.erase(nul);
  if (!d.sourceline.empty() && d.sourceline.back() == '\r') d.sourceline.pop_back();
  std::string stored;
  std::vector<std::size_t> origin;
  foldline(*writtensource, i, stored, &origin);
  const std::size_t from = linestarts[k];
  if (at < origin.size()) d.column = (int)(origin[at] - from) + 1;
  else if (!origin.empty()) d.column = (int)(origin.back() - from) + 2;
  return d;
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

// One line of the source as the store keeps it: carriage returns dropped,
// blank and tab runs folded to one blank outside quotes. Trailing blanks
// stay for the caller to remove. Leaves i after the line's line feed.
void foldline(const std::string& source, std::size_t& i, std::string& cur,
              std::vector<std::size_t>* origin) {
  const std::size_t n = source.size();
  auto store = [&](std::size_t at) {
    cur += source[at];
    if (origin) origin->push_back(at);
  };
  while (i < n) {
    const std::size_t at = i;
    char c = source[i++];
    if (c == '\r') continue;
    if (c == '\n') return;
    if (c == '"') {
      store(at);
      while (i < n && source[i] != '\n') {
        store(i);
        if (source[i++] == '"') break;
      }
    } else if (c == ' ' || c == '\t') {
      cur += ' ';
      if (origin) origin->push_back(at);
      while (i < n && (source[i] == ' ' || source[i] == '\t')) ++i;
    } else {
      store(at);
    }
  }
}

// Normalises the source into the line store: each line folded, trailing
// blanks removed, cut at a NUL, and the end marker "~" appended.
void Translator::readsource(const std::string& source) {
  input.clear();
  linestarts.clear();
  writtensource = &source;
  std::string cur;
  for (std::size_t i = 0; i < source.size();) {
    linestarts.push_back(i);
    cur.clear();
    foldline(source, i, cur, nullptr);
    std::size_t end = cur.find_last_not_of(' ');
    cur.erase(end == std::string::npos ? 0 : end + 1);
    std::size_t nul = cur.find('\0');
    if (nul != std::string::npos) cur.erase(nul);
    input.push_back(cur);
  }
  input.push_back("~");
  inputP = 0;
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
  if (isletter((unsigned char)ln[0])) {
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
      if (scanP == lastP) error(Why::stuck, scanP);
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
  const char* at = line();
  if (!iscname(cname) || !label)
    mistake(Why::badlabel, at, dialectname(cname));
  else if (findname(cname) < constants)
    mistake(Why::constantaslabel, at, cname);
  else if (!placed.insert(cname).second)
    mistake(Why::labeltwice, at, dialectname(cname));
}

// Statements follow one another after ":", or after one whose C text ends
// its own statement (THEN, CLS, LINE INPUT ...); a comment or ELSE may
// follow any statement.
void Translator::checkseparator() {
  if (!lastP || lastc == ';' || lastc == '{' || lastc == '}' || lastc == ':') return;
  if (word1 == ":" || word1 == "'" || word1 == "REM" || word1 == "ELSE") return;
  mistake(Why::missingcolon, nullptr, lastword());
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
    const Mistake& m = firstmistake;
    report(m.line, m.number, m.message, m.plain, m.at);
    return 1;
  }
  return 0;
}

#ifndef KZO2C_VERSION
#define KZO2C_VERSION "unknown"
#endif

static const char helptext[] =
    "usage: kzo2c [--classic] --run SOURCE.bas [ARGUMENTS...]\n"
    "       kzo2c [-g] [--classic] -o PROGRAM SOURCE.bas\n"
    "       kzo2c [-g] [--classic] SOURCE.bas OUTPUT.c\n"
    "       kzo2c --help | --version\n"
    "\n"
    "Translates a program in the kzo2c BASIC dialect into C, and compiles and\n"
    "runs it:\n"
    "\n"
    "  kzo2c --run prog.bas     translate, compile and run prog.bas\n"
    "  kzo2c -o prog prog.bas   translate and compile into the program prog\n"
    "  kzo2c prog.bas prog.c    translate into prog.c only; build it with\n"
    "                           cc -O2 prog.c -o prog -lncurses -lm\n"
    "\n"
    "Options (before the source):\n"
    "  --run       run the program with the ARGUMENTS after the source, on this\n"
    "              terminal, and exit with its status; builds are kept in\n"
    "              $XDG_CACHE_HOME/kzo2c (else ~/.cache/kzo2c), so an unchanged\n"
    "              program starts at once the next time\n"
    "  -o PROGRAM  compile into PROGRAM; the C text is not kept\n"
    "  --classic   the source is a classic line-numbered program in the\n"
    "              Microsoft style of the type-in games books; its program\n"
    "              reads standard input, writes standard output and links\n"
    "              with the math library only:\n"
    "              kzo2c --classic prog.bas prog.c && cc -O2 prog.c -o prog -lm\n"
    "  -g          write #line directives, so that compiler messages, debuggers\n"
    "              and sanitizers name lines of the source (with -o and --run\n"
    "              the compiler gets -g too)\n"
    "  --help      show this text and exit\n"
    "  --version   show the version and exit\n"
    "\n"
    "The C compiler is $CC (else cc) with -O2 and then $CFLAGS; the program is\n"
    "linked with $LDFLAGS, curses and the math library (only the math\n"
    "library with --classic).\n"
    "\n"
    "Exit status:\n"
    "  0  translated and built (or --help, --version); with --run, the\n"
    "     program's own exit status\n"
    "  1  translation error: FILE:LINE:COLUMN: error: MESSAGE on standard error\n"
    "     with the line and a caret under the mistake, and the offending line,\n"
    "     its number and the message on standard output (the C file holds what\n"
    "     was written until then); or the C compiler failed\n"
    "  2  bad command line, a file that cannot be read or written, or no C\n"
    "     compiler\n";

static const char usagetext[] =
    "usage: kzo2c [--classic] --run SOURCE.bas [ARGUMENTS...] | [-g] [--classic] -o "
    "PROGRAM SOURCE.bas | [-g] [--classic] SOURCE.bas OUTPUT.c\n";

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
  t.colour = &err == &std::cerr && colourwanted(2);
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
