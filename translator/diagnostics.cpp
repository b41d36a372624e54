// Diagnostics on standard error in the form C compilers use:
//   FILE:LINE:COLUMN: error: MESSAGE
//   the source line as written
//      ^
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ostream>

#include "kzo2c.h"

namespace kzo {

// Colour only on a terminal, and never with NO_COLOR set or TERM=dumb.
bool colourwanted(int fd) {
  if (!isatty(fd)) return false;
  const char* nocolour = std::getenv("NO_COLOR");
  if (nocolour && *nocolour) return false;
  const char* term = std::getenv("TERM");
  return !(term && std::strcmp(term, "dumb") == 0);
}

// The source line is shown as written; the caret line copies its tabs, so
// that the caret stands under the column on any tab width.
void writediagnostic(std::ostream& err, const Diagnostic& d, bool colour) {
  const char* bold = colour ? "\033[1m" : "";
  const char* plain = colour ? "\033[0m" : "";
  const char* tone = !colour ? "" : d.severity == "error" ? "\033[1;31m" : "\033[1;35m";
  const char* caret = colour ? "\033[1;32m" : "";
  err << bold << d.file << ":" << d.line;
  if (d.column > 0) err << ":" << d.column;
  err << ":" << plain << " " << tone << d.severity << ":" << plain << " " << d.message << "\n";
  if (d.column <= 0) return;
  err << d.sourceline << "\n";
  for (int i = 1; i < d.column; ++i)
    err << ((std::size_t)i <= d.sourceline.size() && d.sourceline[i - 1] == '\t' ? '\t' : ' ');
  err << caret << "^" << plain << "\n";
}

}  // namespace kzo
