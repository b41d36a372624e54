// kzo2c [-g] SOURCE OUTPUT: translates one dialect program into one C file.
#include <sys/stat.h>

#include <iostream>

#include "kzo2c.h"

// Whether standard output and standard error lead to the same place.
static bool sameplace() {
  struct stat o, e;
  if (fstat(1, &o) != 0 || fstat(2, &e) != 0) return false;
  return o.st_dev == e.st_dev && o.st_ino == e.st_ino;
}

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  return kzo::run(argc, argv, std::cout, std::cerr, sameplace());
}
