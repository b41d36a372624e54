// The fixed texts of the output file: the head of main and the control
// dispatcher written after the last line. The prologue is the runtime text.
#include <string>

#include "kzo2c.h"

extern const char kzo_runtime_text[];
extern const std::size_t kzo_runtime_size;

namespace kzo {

std::string runtimetext() { return std::string(kzo_runtime_text, kzo_runtime_size); }

const char* const headofmain[] = {
    "int main(int argc__kzo, char **ARGV_s_kzo) {",
    "  float ARGC_f_kzo;",
    "  ARGC_f_kzo = (float)argc__kzo;",
    "  initscr();",
    "  cbreak(); noecho();",
    "  scrollok(stdscr, 1);",
    "  printw(\"hello world\\n\");",
    "  refresh(); getch();",
    "  forP__kzo = for__kzo;",
    "  returnP__kzo = return__kzo;",
    "  datac__kzo = 0;",
    "  for (i__kzo=0; i__kzo<256; i__kzo++) {",
    "    chrs__kzo[i__kzo][0] = i__kzo;",
    "    chrs__kzo[i__kzo][1] = 0;",
    "  }",
    "~"};

// NEXT, the end of a loop and RETURN all come here; the switch that the
// last entry opens gets one case per return point. An entry in quotes is a
// run-time stop with that message.
const char* const after[] = {
    "next__kzo:",
    "  while (1) {",
    "    if (forP__kzo==for__kzo)",
    "\"next without for\"",
    "    if (*(forP__kzo-1)==forvar__kzo) break;",
    "    if (*(forP__kzo-1)<0)",
    "\"next without for\"",
    "    if (forvar__kzo==0)  break;",
    "    forP__kzo--;",
    "    returnP__kzo--;",
    "  }",
    "  switcher__kzo = *(returnP__kzo-1);",
    "  goto switching__kzo;",
    "",
    "forgone__kzo:",
    "  forP__kzo--; returnP__kzo--; switcher__kzo=back__kzo; goto switching__kzo;",
    "",
    "returns__kzo:",
    "  if (forP__kzo<=for__kzo) {",
    "    for (tempP__kzo=returnP__kzo; tempP__kzo<returnP__kzo+20; tempP__kzo++)",
    "      printf(\"\\n%d\", *tempP__kzo);",
    "\"return without gosub\"",
    "  }",
    "  while (forP__kzo>for__kzo) {",
    "    forP__kzo--;",
    "    returnP__kzo--;",
    "    if (*forP__kzo<0) break;",
    "  }",
    "  if(*forP__kzo>=0) {",
    "    for (tempP__kzo=forP__kzo; tempP__kzo<forP__kzo+20; tempP__kzo++)",
    "      printf(\"%d\\n\", *tempP__kzo);",
    "\"return without gosub\"",
    "  }",
    "  switcher__kzo = *returnP__kzo;",
    "  goto switching__kzo;",
    "",
    "switching__kzo:",
    "  switch(switcher__kzo) {",
    "~"};

// After the cases: the end of the switch, and the normal end of a program
// that runs off its last line.
const char* const closing[] = {"  }",         "end__kzo:",  "  refresh();",
                               "  getch();",  "  endwin();", "  exit(0);",
                               "}",           "~"};

}  // namespace kzo
