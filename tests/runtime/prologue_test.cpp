// The runtime file is the head of every generated program, written out byte
// for byte: its declarations come in a fixed order, then the functions, each
// followed by one empty line and the last by two.
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string runtime_text() {
  std::ifstream in(RUNTIME_FILE, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> lines_of(const std::string &text) {
  std::vector<std::string> lines;
  size_t start = 0, end;
  while ((end = text.find('\n', start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

const std::vector<std::string> head = {
    "#include<stdio.h>",
    "#include<stdlib.h>",
    "#include<string.h>",
    "#include<curses.h>",
    "#include<limits.h>",
    "#include<float.h>",
    "#include<math.h>",
    "",
    "#define fors__kzo 10000",
    "",
    "#define index__kzo(x) (!((x)>=-0.5 && (x)<INT_MAX+0.5) ?\\",
    "ierr__kzo(\"index overflow\", line__kzo) : (int)((x)+0.5))",
    "",
    "#define round__kzo(x) (!((x)>INT_MIN-0.5 && (x)<INT_MAX+0.5) ? ierr__kzo(\\",
    "\"integer overflow\", line__kzo) : ((x)>=0?(int)((x)+0.5):(int)((x)-0.5)))",
    "",
    "#define bound__kzo(x, n) (!((x)>=-0.5 && (x)<(n)-0.5) ?\\",
    "ierr__kzo(\"index overflow\", line__kzo) : (int)((x)+0.5))",
    "",
    "int return__kzo[fors__kzo];",
    "int *returnP__kzo;",
    "char fora__kzo[fors__kzo];",
    "int for__kzo[fors__kzo];",
    "int *forP__kzo;",
    "int *tempP__kzo;",
    "int switcher__kzo;",
    "int line__kzo;",
    "int forvar__kzo;",
    "int back__kzo;",
    "float to__kzo[fors__kzo];",
    "float step__kzo[fors__kzo];",
    "float sf__kzo=0.0000001;",
    "int datac__kzo;",
    "int fuzz__kzo;",
    "float big__kzo;",
    "int i__kzo;",
    "float f__kzo;",
    "int P__kzo;",
    "char phrase__kzo[300];",
    "float dend__kzo;",
    "",
    "char chrs__kzo[256][2];",
    "",
    "FILE *bug;",
    "char tron=0;",
    "FILE *file__kzo[10];",
    "int eof__kzo[10];",
    "",
    "typedef struct string__kzo { char dummy__kzo[300]; } empty__kzo;",
    "",
};

TEST(Prologue, DeclarationLinesInOrder) {
  std::vector<std::string> lines = lines_of(runtime_text());
  ASSERT_GE(lines.size(), head.size());
  for (size_t i = 0; i < head.size(); i++) EXPECT_EQ(lines[i], head[i]) << "line " << i + 1;
}

TEST(Prologue, FunctionsInOrderEachFollowedByAnEmptyLine) {
  const std::string text = runtime_text();
  ASSERT_GE(text.size(), 5u);
  EXPECT_EQ(text.substr(text.size() - 5), "\n}\n\n\n") << "the last function is followed by two empty lines";
  EXPECT_EQ(text.find('\r'), std::string::npos);

  std::vector<std::string> lines = lines_of(text);
  const std::regex header("(?:int|char|void) \\*?([a-z]+__kzo)\\(.*\\) \\{");
  std::vector<std::string> names;
  for (size_t i = head.size(); i < lines.size(); i++) {
    const std::string &line = lines[i];
    std::smatch match;
    if (line.empty() || line[0] == ' ') continue;
    if (line == "}") {
      ASSERT_LT(i + 1, lines.size());
      EXPECT_EQ(lines[i + 1], "") << "line " << i + 2 << " after a function";
    } else if (std::regex_match(line, match, header)) {
      names.push_back(match[1]);
      EXPECT_EQ(lines[i - 1], "") << "line " << i << " before " << match[1];
    } else {
      ADD_FAILURE() << "line " << i + 1 << " is neither a function head nor its end: " << line;
    }
  }
  const std::vector<std::string> order = {
      "asc__kzo", "chr__kzo", "len__kzo", "error__kzo", "ierr__kzo", "forreuse__kzo",
      "join__kzo", "let__kzo", "mid__kzo", "lineinput__kzo", "left__kzo", "right__kzo",
      "instr__kzo", "float__kzo",
  };
  EXPECT_EQ(names, order);
}

}  // namespace
