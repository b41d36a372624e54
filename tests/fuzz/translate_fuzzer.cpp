// Feeds arbitrary bytes to the translator as a source and checks how the
// translation ended. Every input must end in one of two ways:
//   status 0: a complete C file in t.out (the runtime text first, the
//             closing "}" line last) and nothing on the message stream;
//   status 1: an error report on the message stream, "<line>\n<number>
//             <message>" for the stored line the translator stopped at,
//             possibly preceded by the three-line dump of the expression
//             translator.
// A translated input is translated once more with -g, which must give the
// same text once its #line lines are taken out.
// Anything else, and any write to standard output or to the standard C++
// streams, is a finding.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

#include "kzo2c.h"

namespace {

int stdoutpipe = -1;  // read end of the pipe that stands in for fd 1
const std::string* runtime = nullptr;

bool startswith(const std::string& s, const std::string& p) {
  return s.size() >= p.size() && s.compare(0, p.size(), p) == 0;
}

bool endswith(const std::string& s, const std::string& p) {
  return s.size() >= p.size() && s.compare(s.size() - p.size(), p.size(), p) == 0;
}

// The dump that the expression translator writes before its report:
// "<values>!<expectations>\n<C text>\n<word>!<rest>\n".
bool isdump(const std::string& d) {
  std::size_t a = d.find('\n');
  if (a == std::string::npos || d.find('!') > a) return false;
  std::size_t b = d.find('\n', a + 1);
  if (b == std::string::npos) return false;
  std::size_t c = d.find('\n', b + 1);
  if (c == std::string::npos || c + 1 != d.size()) return false;
  return d.find('!', b + 1) < c;
}

bool goodreport(const kzo::Translator& t, const std::string& m) {
  // A mistake found on the way is reported after the passes: its line is
  // a stored line of the source.
  const kzo::Translator::Mistake& f = t.firstmistake;
  if (!f.message.empty() && f.number >= 1 && (std::size_t)f.number < t.input.size() &&
      t.input[f.number - 1] == f.line && f.message.find('\n') == std::string::npos &&
      m == f.line + "\n" + std::to_string(f.number) + " " + f.message)
    return true;
  if (t.inputP >= t.input.size()) return false;
  const std::string head =
      t.input[t.inputP] + "\n" + std::to_string(t.linenumber) + " ";
  std::size_t at = m.rfind(head);
  if (at == std::string::npos) return false;
  const std::string message = m.substr(at + head.size());
  if (message.empty() || message.find('\n') != std::string::npos) return false;
  return at == 0 || isdump(m.substr(0, at));
}

// The text without the lines that start with "#line ".
std::string withoutlines(const std::string& c) {
  std::string out;
  std::size_t start = 0;
  while (start < c.size()) {
    std::size_t end = c.find('\n', start);
    end = end == std::string::npos ? c.size() : end + 1;
    if (c.compare(start, 6, "#line ") != 0) out.append(c, start, end - start);
    start = end;
  }
  return out;
}

bool nothingonstdout() {
  char buffer[256];
  return read(stdoutpipe, buffer, sizeof buffer) <= 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Standard output becomes a pipe that must stay empty; libFuzzer itself
  // reports on standard error.
  int fds[2];
  if (pipe(fds) != 0) std::abort();
  fcntl(fds[0], F_SETFL, O_NONBLOCK);
  fcntl(fds[1], F_SETFL, O_NONBLOCK);
  std::fflush(stdout);
  dup2(fds[1], 1);
  close(fds[1]);
  stdoutpipe = fds[0];
  runtime = new std::string(kzo::runtimetext());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string source(reinterpret_cast<const char*>(data), size);
  std::ostringstream sink, msg;
  std::streambuf* saved[3] = {std::cout.rdbuf(sink.rdbuf()),
                              std::cerr.rdbuf(sink.rdbuf()),
                              std::clog.rdbuf(sink.rdbuf())};
  int status;
  bool good;
  {
    kzo::Translator t(msg);
    status = t.translate(source);
    const std::string report = msg.str();
    if (status == 0)
      good = report.empty() && startswith(t.out, *runtime) && endswith(t.out, "\n}\n");
    else
      good = status == 1 && goodreport(t, report);
    if (good && status == 0) {
      std::ostringstream gmsg;
      kzo::Translator g(gmsg);
      g.debuglines = true;
      g.sourcename = "fuzz.bas";
      g.outname = "fuzz.c";
      good = g.translate(source) == 0 && gmsg.str().empty() &&
             withoutlines(g.out) == t.out;
    }
  }
  std::cout.rdbuf(saved[0]);
  std::cerr.rdbuf(saved[1]);
  std::clog.rdbuf(saved[2]);
  std::cout.flush();
  std::fflush(stdout);
  if (!good || !sink.str().empty() || !nothingonstdout()) __builtin_trap();
  return 0;
}
