// The string functions: ASC, CHR$, LEN, MID$, LEFT$, RIGHT$, INSTR,
// assignment and concatenation, and the buffers their results live in.
#include <climits>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime_api.h"

namespace {

TEST(Asc, FirstByteAsSignedChar) {
  struct Case { std::string text; int code; };
  const std::vector<Case> cases = {
      {"", 0},       {"A", 65},     {"AB", 65},     {"\x7f", 127},
      {"\xc8", -56}, {"\x80", -128}, {"\xff", -1},  {" ", 32},
  };
  for (const auto &c : cases) {
    Buf text(c.text);
    EXPECT_EQ(asc__kzo(text), c.code) << "text of " << c.text.size() << " bytes";
  }
}

TEST(Chr, OneByteStringsAndEmptyOutsideTheByteRange) {
  fill_chrs();
  struct Case { int val; std::string text; };
  const std::vector<Case> cases = {
      {65, "A"}, {0, ""}, {1, "\x01"}, {200, "\xc8"}, {255, "\xff"},
      {-1, ""},  {256, ""}, {1000, ""}, {INT_MIN, ""}, {INT_MAX, ""},
  };
  for (const auto &c : cases) {
    char *result = chr__kzo(c.val);
    ASSERT_NE(result, nullptr) << c.val;
    EXPECT_EQ(std::string(result), c.text) << c.val;
  }
}

TEST(Len, BytesBeforeTheTerminator) {
  struct Case { std::string text; int length; };
  const std::vector<Case> cases = {
      {"", 0}, {"A", 1}, {"HELLO", 5}, {"\xc8\xff", 2},
      {std::string(299, 'x'), 299}, {std::string("AB\0CD", 5), 2},
  };
  for (const auto &c : cases) {
    Buf text(c.text);
    EXPECT_EQ(len__kzo(text), c.length);
  }
}

struct MidCase { std::string from; int begin; int length; std::string result; };

TEST(Mid, BeginAndLengthOnHello) {
  const std::vector<MidCase> cases = {
      {"HELLO", 2, 3, "ELL"},  {"HELLO", 2, 0, "ELLO"}, {"HELLO", 4, 10, "LO"},
      {"HELLO", 9, 2, ""},     {"HELLO", -1, 2, ""},    {"HELLO", 2, -1, "ELLO"},
      {"HELLO", 6, 1, ""},     {"HELLO", 5, 9, "O"},    {"HELLO", 1, 5, "HELLO"},
      {"HELLO", 1, 0, "HELLO"}, {"HELLO", 5, 1, "O"},   {"HELLO", 6, 0, ""},
      {"HELLO", INT_MIN, 1, ""}, {"HELLO", INT_MAX, 1, ""},
      {"HELLO", 2, INT_MIN, "ELLO"}, {"HELLO", 3, INT_MAX, "LLO"},
      {"", 1, 1, ""}, {"", 1, 0, ""}, {"", 2, 1, ""},
      // begin 0 starts at the first byte
      {"HELLO", 0, 2, "HE"}, {"HELLO", 0, 0, "HELLO"}, {"HELLO", 0, 9, "HELLO"},
      {"", 0, 0, ""},
  };
  for (const auto &c : cases) {
    Buf from(c.from);
    EXPECT_EQ(std::string(mid__kzo(from, c.begin, c.length)), c.result)
        << c.from << " (" << c.begin << ", " << c.length << ")";
    EXPECT_EQ(std::string(from), c.from) << "the argument is left alone";
  }
}

TEST(Mid, ResultNeverExceeds299Bytes) {
  std::string longer(500, 'q');
  Buf from(longer);
  EXPECT_EQ(std::string(mid__kzo(from, 1, 0)), std::string(299, 'q'));
  EXPECT_EQ(std::string(mid__kzo(from, 100, 350)), std::string(299, 'q'));
  EXPECT_EQ(std::string(mid__kzo(from, 450, 0)), std::string(51, 'q'));
  Buf full(std::string(299, 'r'));
  EXPECT_EQ(std::string(mid__kzo(full, 1, 0)), std::string(299, 'r'));
}

TEST(Mid, AtTheEndsOfA299ByteString) {
  std::string text(298, 'a');
  text += 'z';
  const std::vector<MidCase> cases = {
      {text, 299, 0, "z"}, {text, 299, 1, "z"}, {text, 299, 2, "z"},
      {text, 300, 0, ""},  {text, 300, 1, ""},  {text, 301, 1, ""},
      {text, 298, 299, "az"}, {text, 1, 299, text}, {text, 1, 298, text.substr(0, 298)},
      {text, 2, -1, text.substr(1)}, {text, 0, 0, text},
      // a text of 300 bytes or more gives at most 299 from any begin
      {text + "yx", 1, 0, text}, {text + "yx", 2, 0, text.substr(1) + "y"},
      {text + "yx", 3, 5, text.substr(2, 5)}, {text + "yx", 301, 0, "x"},
      {text + "yx", 302, 0, ""},
      // around the length where the copy changes from bytes to blocks
      {text, 1, 16, text.substr(0, 16)}, {text, 1, 17, text.substr(0, 17)},
      {text, 284, 16, text.substr(283, 16)}, {text, 284, 17, text.substr(283)},
      {text, 285, 16, text.substr(284)},
  };
  for (const auto &c : cases) {
    Buf from(c.from);
    EXPECT_EQ(std::string(mid__kzo(from, c.begin, c.length)), c.result)
        << c.from.size() << " bytes (" << c.begin << ", " << c.length << ")";
  }
}

TEST(Left, FirstBytesOnHello) {
  struct Case { std::string from; int delta; std::string result; };
  const std::vector<Case> cases = {
      {"HELLO", 2, "HE"},     {"HELLO", 0, ""},       {"HELLO", 9, "HELLO"},
      {"HELLO", -1, "HELLO"}, {"HELLO", -3, "HELLO"}, {"HELLO", 5, "HELLO"},
      {"HELLO", 4, "HELL"},   {"HELLO", 1, "H"},      {"HELLO", INT_MIN, "HELLO"},
      {"HELLO", INT_MAX, "HELLO"}, {"", 3, ""}, {"", -1, ""}, {"", 0, ""},
  };
  for (const auto &c : cases) {
    Buf from(c.from);
    EXPECT_EQ(std::string(left__kzo(from, c.delta)), c.result) << c.from << " " << c.delta;
  }
  Buf longer(std::string(500, 'q'));
  EXPECT_EQ(std::string(left__kzo(longer, -1)), std::string(299, 'q'));
  EXPECT_EQ(std::string(left__kzo(longer, 400)), std::string(299, 'q'));
  EXPECT_EQ(std::string(left__kzo(longer, 299)), std::string(299, 'q'));
  EXPECT_EQ(std::string(left__kzo(longer, 298)), std::string(298, 'q'));
  Buf full(std::string(299, 'r'));
  EXPECT_EQ(std::string(left__kzo(full, 299)), std::string(299, 'r'));
  EXPECT_EQ(std::string(left__kzo(full, 16)), std::string(16, 'r'));
  EXPECT_EQ(std::string(left__kzo(full, 17)), std::string(17, 'r'));
  Buf sixteen(std::string(16, 's'));
  EXPECT_EQ(std::string(left__kzo(sixteen, 17)), std::string(16, 's'));
  EXPECT_EQ(std::string(left__kzo(sixteen, 40)), std::string(16, 's'));
  EXPECT_EQ(std::string(left__kzo(full, 300)), std::string(299, 'r'));
  EXPECT_EQ(std::string(left__kzo(full, 298)), std::string(298, 'r'));
}

TEST(Right, LastBytesShareTheArgument) {
  struct Case { std::string from; int delta; size_t start; };
  const std::vector<Case> cases = {
      {"HELLO", 9, 0}, {"HELLO", 0, 5}, {"HELLO", 2, 3}, {"HELLO", 5, 0},
      {"HELLO", 4, 1}, {"HELLO", 1, 4}, {"HELLO", INT_MAX, 0},
      // a negative delta gives the empty string
      {"HELLO", -1, 5}, {"HELLO", -100, 5}, {"HELLO", INT_MIN, 5},
      {"", 0, 0}, {"", 3, 0}, {"", -1, 0},
      {std::string(299, 'x'), 299, 0}, {std::string(299, 'x'), 1, 298},
      {std::string(299, 'x'), 300, 0}, {std::string(300, 'x'), 299, 1},
  };
  for (const auto &c : cases) {
    Buf from(c.from);
    EXPECT_EQ(right__kzo(from, c.delta), from.data + c.start) << c.from << " " << c.delta;
  }
}

TEST(Right, ResultChangesWithItsArgument) {
  Buf from("HELLO");
  char *result = right__kzo(from, 2);
  EXPECT_STREQ(result, "LO");
  from.data[4] = 'P';
  EXPECT_STREQ(result, "LP");
}

TEST(Instr, PositionOfTheFirstMatchFromStart) {
  struct Case { int start; std::string target; std::string arrow; int position; };
  const std::vector<Case> cases = {
      {1, "GOTO X", "GOTO", 1}, {2, "GOTO X", "GOTO", 0},
      {3, "ABC", "", 3},        {5, "ABC", "", 0},
      {0, "ABC", "A", 0},       {1, "ABC", "", 1},
      {4, "ABC", "", 4},        {0, "ABC", "", 0},
      {-1, "ABC", "", 0},       {-1, "ABC", "A", 0},
      {INT_MIN, "ABC", "A", 0}, {INT_MAX, "ABC", "A", 0},
      {INT_MAX, "ABC", "", 0},
      {1, "ABC", "ABCD", 0},    {1, "ABC", "ABC", 1},
      {1, "ABC", "C", 3},       {3, "ABC", "C", 3},  {4, "ABC", "C", 0},
      {1, "ABCABC", "CA", 3},   {2, "ABCABC", "ABC", 4},
      {4, "ABCABC", "ABC", 4},  {5, "ABCABC", "ABC", 0},
      {1, "AAB", "AB", 2},      {1, "ABABAC", "ABAC", 3},
      {1, "", "", 1},           {2, "", "", 0},     {1, "", "A", 0},
      {1, "X\xc8Y", "\xc8", 2}, {1, "hello", "HELLO", 0},
      // an arrow longer than what is left of the target, or running past its end
      {1, "XAB", "ABC", 0},     {2, "ABC", "BCD", 0},  {1, "A", "AA", 0},
      {1, "", "ABC", 0},        {3, "ABCD", "CDE", 0},
      // starts past the end: by one, by more, with one-byte and longer arrows
      {4, "ABC", "A", 0},       {5, "ABC", "AB", 0},   {100, "ABC", "C", 0},
      {2, "", "A", 0},          {2, "A", "", 2},      {3, "A", "", 0},
      // first bytes that match without the rest, before the real match
      {1, "AAAAB", "AAB", 3},   {1, "ABABABC", "ABC", 5}, {2, "ABAB", "AB", 3},
      {1, "AXAYAZ", "AZ", 5},   {1, "ABX", "ABY", 0},  {3, "CACAC", "C", 3},
      {1, "\xff\xfe\xff", "\xff", 1}, {2, "\xff\xfe\xff", "\xff", 3},
  };
  for (const auto &c : cases) {
    Buf target(c.target), arrow(c.arrow);
    EXPECT_EQ(instr__kzo(c.start, target, arrow), c.position)
        << c.start << ", " << c.target << ", " << c.arrow;
  }
}

TEST(Instr, In299ByteStrings) {
  std::string text(298, 'a');
  text += 'z';
  struct Case { int start; std::string target; std::string arrow; int position; };
  const std::vector<Case> cases = {
      {1, text, "z", 299},   {299, text, "z", 299}, {300, text, "z", 0},
      {1, text, "az", 298},  {299, text, "az", 0},  {1, text, text, 1},
      {2, text, text, 0},    {1, text, text + "z", 0}, {1, text, "b", 0},
      {1, text, text.substr(1), 2}, {300, text, "", 300}, {301, text, "", 0},
      {1, std::string(299, 'a'), std::string(298, 'a') + "z", 0},
  };
  for (const auto &c : cases) {
    Buf target(c.target), arrow(c.arrow);
    EXPECT_EQ(instr__kzo(c.start, target, arrow), c.position)
        << c.start << ", " << c.target.size() << " bytes, arrow of " << c.arrow.size();
  }
}

TEST(Let, CopiesAndReturnsTheDestination) {
  struct Case { std::string from; std::string kept; };
  const std::vector<Case> cases = {
      {"", ""},
      {"HELLO", "HELLO"},
      // around the length where the copy changes from bytes to blocks
      {"1234567", "1234567"}, {"12345678", "12345678"}, {"123456789", "123456789"},
      {std::string(299, 'a'), std::string(299, 'a')},
      {std::string(300, 'b'), std::string(299, 'b')},
      {std::string(400, 'c'), std::string(299, 'c')},
  };
  for (const auto &c : cases) {
    Buf from(c.from);
    Buf to(std::string(1000, '#'));
    EXPECT_EQ(let__kzo(to, from), to.data);
    EXPECT_EQ(std::string(to), c.kept) << c.from.size() << " bytes";
    // nothing past the 300 bytes of a string variable is touched
    for (size_t i = 300; i < 1000; i++) ASSERT_EQ(to.data[i], '#') << "byte " << i;
  }
}

TEST(Let, SourceInsideTheDestination) {
  Buf a("HELLO");
  let__kzo(a, right__kzo(a, 3));
  EXPECT_STREQ(a, "LLO");
  let__kzo(a, a);
  EXPECT_STREQ(a, "LLO");
  Buf b(std::string(299, 'x'));
  b.data[0] = 'A';
  let__kzo(b, right__kzo(b, 298));
  EXPECT_EQ(std::string(b), std::string(298, 'x'));
}

TEST(Let, OverlapsEitherWay) {
  struct Case { std::string text; size_t from; size_t to; std::string kept; };
  const std::vector<Case> cases = {
      // the source further on in the destination: RIGHT$ of the same variable
      {"HELLO", 1, 0, "ELLO"}, {"HELLO", 4, 0, "O"}, {"HELLO", 5, 0, ""},
      {"AB" + std::string(297, 'c'), 1, 0, "B" + std::string(297, 'c')},
      // the destination further on: the text is copied as it was, not smeared
      {"HELLO", 0, 1, "HELLO"}, {"HELLO", 0, 3, "HELLO"}, {"HELLO", 2, 3, "LLO"},
      {std::string(299, 'd'), 0, 1, std::string(299, 'd')},
      {"AB" + std::string(298, 'e'), 0, 2, "AB" + std::string(297, 'e')},
  };
  for (const auto &c : cases) {
    Buf area(c.text);
    EXPECT_EQ(let__kzo(area.data + c.to, area.data + c.from), area.data + c.to);
    EXPECT_EQ(std::string(area.data + c.to), c.kept)
        << c.text.size() << " bytes from " << c.from << " to " << c.to;
  }
}

struct JoinCase { std::string first; std::string second; };

TEST(Join, UpTo256BytesSucceeds) {
  const std::vector<JoinCase> cases = {
      {"", ""}, {"AB", "CD"}, {"", "XYZ"}, {"XYZ", ""},
      {std::string(200, 'a'), std::string(56, 'b')},
      {std::string(256, 'a'), ""}, {"", std::string(256, 'b')},
      {std::string(1, 'a'), std::string(255, 'b')},
  };
  for (const auto &c : cases) {
    Buf first(c.first), second(c.second);
    char *result = join__kzo(7, first, second);
    EXPECT_EQ(std::string(result), c.first + c.second) << c.first.size() << "+" << c.second.size();
    EXPECT_EQ(std::string(first), c.first);
    EXPECT_EQ(std::string(second), c.second);
  }
}

TEST(Join, SameVariableTwiceWithinTheLimit) {
  Buf a("AB");
  EXPECT_STREQ(join__kzo(3, a, a), "ABAB");
  Buf b(std::string(128, 'z'));
  EXPECT_EQ(std::string(join__kzo(3, b, b)), std::string(256, 'z'));
}

TEST(Join, NestedResults) {
  Buf a("A"), b("B"), c("C");
  char *inner = join__kzo(1, a, b);
  EXPECT_STREQ(join__kzo(1, inner, c), "ABC");
  EXPECT_STREQ(join__kzo(1, mid__kzo(a, 1, 0), left__kzo(c, 1)), "AC");
}

// The temporaries of one statement: every result of MID$, LEFT$ and
// concatenation stays intact while 63 more results of the same function are
// made, and their storage does not grow with the number of calls.
TEST(Pool, TwoResultsHeldAtOnceDiffer) {
  Buf hello("HELLO");
  char *m1 = mid__kzo(hello, 1, 2), *m2 = mid__kzo(hello, 4, 2);
  EXPECT_NE(m1, m2);
  EXPECT_STREQ(m1, "HE");
  EXPECT_STREQ(m2, "LO");
  char *l1 = left__kzo(hello, 1), *l2 = left__kzo(hello, 3);
  EXPECT_NE(l1, l2);
  EXPECT_STREQ(l1, "H");
  EXPECT_STREQ(l2, "HEL");
  Buf x("X"), y("Y");
  char *j1 = join__kzo(1, hello, x), *j2 = join__kzo(1, hello, y);
  EXPECT_NE(j1, j2);
  EXPECT_STREQ(j1, "HELLOX");
  EXPECT_STREQ(j2, "HELLOY");
}

TEST(Pool, SixtyFourResultsKeepTheirText) {
  std::string alphabet;
  for (int i = 0; i < 64; i++) alphabet += static_cast<char>('0' + i);
  Buf from(alphabet);
  struct Function { const char *name; char *(*make)(char *, int); };
  const std::vector<Function> functions = {
      {"mid", [](char *s, int i) { return mid__kzo(s, i + 1, 1); }},
      {"left", [](char *s, int i) { return left__kzo(s, i + 1); }},
      {"join", [](char *s, int i) { return join__kzo(1, mid__kzo(s, i + 1, 1), s); }},
  };
  for (const auto &f : functions) {
    std::vector<char *> results;
    for (int i = 0; i < 64; i++) results.push_back(f.make(from, i));
    std::set<char *> distinct(results.begin(), results.end());
    EXPECT_EQ(distinct.size(), 64u) << f.name;
    for (int i = 0; i < 64; i++) {
      std::string expected = f.name == std::string("mid")    ? alphabet.substr(i, 1)
                             : f.name == std::string("left") ? alphabet.substr(0, i + 1)
                                                             : alphabet.substr(i, 1) + alphabet;
      EXPECT_EQ(std::string(results[i]), expected) << f.name << " result " << i;
    }
  }
}

TEST(Pool, StorageDoesNotGrowWithTheCalls) {
  Buf from("HELLO");
  std::set<char *> mids, lefts, joins;
  for (int i = 0; i < 10000; i++) {
    mids.insert(mid__kzo(from, 2, 2));
    lefts.insert(left__kzo(from, 2));
    joins.insert(join__kzo(1, from, from));
  }
  EXPECT_LE(mids.size(), 64u);
  EXPECT_LE(lefts.size(), 64u);
  EXPECT_LE(joins.size(), 64u);
}

}  // namespace
