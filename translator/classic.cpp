// The classic front-end: line-numbered Microsoft-style programs.
#include <ostream>

#include "kzo2c.h"

namespace kzo {

int translateclassic(const Options&, const std::string&, std::ostream&, const std::string&,
                     std::ostream&, std::ostream& err, bool) {
  err << "kzo2c: --classic is not built yet\n";
  return 2;
}

}  // namespace kzo
