// -o PROGRAM and --run: translate, compile with the C compiler, run.
#include <ostream>

#include "kzo2c.h"

namespace kzo {

int buildprogram(const Options&, std::ostream&, std::ostream& err, bool) {
  err << "kzo2c: -o and --run are not built yet\n";
  return 2;
}

}  // namespace kzo
