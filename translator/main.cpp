// kzo2c SOURCE OUTPUT: translates one dialect program into one C file.
#include <iostream>

#include "kzo2c.h"

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return kzo::run(argc, argv, std::cout, std::cerr);
}
