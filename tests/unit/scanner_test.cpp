// The word scanner: word boundaries, the six indications, number words and
// the mangling of names by pass mode and table range.
#include <gtest/gtest.h>

#include "fixture.h"

namespace {

struct WordCase {
  const char* text;
  const char* word;
  int length;          // characters consumed, blanks before the word included
  const char* flags;   // the indications that are 1: s c k l v n
};

std::string flagsof(const kzo::Translator& t) {
  std::string f;
  if (t.string) f += 's';
  if (t.constant) f += 'c';
  if (t.keyword) f += 'k';
  if (t.label) f += 'l';
  if (t.variable) f += 'v';
  if (t.name) f += 'n';
  return f;
}

// In the variable pass, with an empty table (every indication starts at 0).
const WordCase words[] = {
    {"A1", "A1_f_kzo", 2, "vn"},
    {"1A", "1A_f_kzo", 2, "vn"},
    {"10", "10.0", 2, "c"},
    {"  2.5 X", "2.5", 5, "c"},
    {".5", ".5", 2, "c"},
    {".", ".", 1, "c"},
    {"1.2.3", "1.2.3", 5, "c"},
    {"1E5", "1E5_f_kzo", 3, "vn"},
    {"NAME$", "NAME_s_kzo", 5, "svn"},
    {"mid$", "mid_s_kzo", 4, "svn"},
    {"MID$", "MID$", 4, "skn"},
    {"MID", "MID_f_kzo", 3, "vn"},
    {"PRINT X", "PRINT", 5, "kn"},
    {"print", "print_f_kzo", 5, "vn"},
    {"PRINTER", "PRINTER_f_kzo", 7, "vn"},
    {"\"A: 'B\"", "\"A: 'B\"", 7, "sc"},
    {"\"a\\b\"+", "\"a\\b\"", 5, "sc"},
    {"<=", "<=", 2, ""},
    {">=", ">=", 2, ""},
    {"<>", "<>", 2, ""},
    {"=<", "=", 1, ""},
    {"><", ">", 1, ""},
    {"&H10", "&", 1, ""},
    {"?", "?", 1, ""},
    {"'x", "'", 1, ""},
    {"A.B", "A.B_f_kzo", 3, "vn"},
    {"12$", "12.0", 2, "c"},
};

TEST(Getword, WordsAndIndications) {
  for (const WordCase& c : words) {
    Fixture f;
    const char* text = f.setline(c.text);
    std::string w;
    const char* after = f.t.getword(w, text);
    EXPECT_EQ(w, c.word) << c.text;
    EXPECT_EQ(after - text, c.length) << c.text;
    EXPECT_EQ(flagsof(f.t), c.flags) << c.text;
  }
}

TEST(Getword, EndOfTextKeepsIndications) {
  Fixture f;
  const char* text = f.setline("A$   ");
  std::string w;
  const char* after = f.t.getword(w, text);
  std::string before = flagsof(f.t);
  const char* end = f.t.getword(w, after);
  EXPECT_EQ(w, "");
  EXPECT_EQ(*end, '\0');
  EXPECT_EQ(flagsof(f.t), before);
}

TEST(Getword, PunctuationKeepsLabelAndVariable) {
  Fixture f;
  const char* p = f.setline("X,");
  std::string w;
  p = f.t.getword(w, p);
  p = f.t.getword(w, p);
  EXPECT_EQ(w, ",");
  EXPECT_TRUE(f.t.variable);
  EXPECT_FALSE(f.t.string);
}

struct StrayCase {
  const char* text;
  const char* message;
};

TEST(Getword, Strays) {
  const StrayCase cases[] = {
      {"1_", "stray _"},  {"1~", "stray ~"},          {"$", "stray $"},
      {"1A$", "stray $"}, {"\"open", "unmatched \""},
  };
  for (const StrayCase& c : cases) {
    Fixture f;
    const char* text = f.setline(c.text);
    std::string w;
    EXPECT_EQ(f.stopped([&] { f.t.getword(w, text); }),
              std::string(c.text) + "\n1 " + c.message);
  }
}

TEST(Getword, NumberThenDollarFailsOnTheNextWord) {
  Fixture f;
  const char* p = f.setline("12$");
  std::string w;
  p = f.t.getword(w, p);
  EXPECT_EQ(w, "12.0");
  EXPECT_EQ(f.stopped([&] { f.t.getword(w, p); }), "12$\n1 stray $");
}

// Mangling depends on the pass and on where the name sits in the table.
TEST(Getword, ManglingByPassAndRange) {
  Fixture f('c');
  std::string w;
  f.setline("");
  f.t.getword(w, "MAX");  // constants pass: entered as written
  EXPECT_EQ(w, "MAX");
  EXPECT_TRUE(f.t.constant);
  f.t.constants = f.t.definedc;

  f.t.labeling = true;
  f.t.getword(w, "LOOP");
  EXPECT_EQ(w, "LOOPl_kzo");
  EXPECT_TRUE(f.t.constant);
  f.t.labeling = false;
  f.t.labels = f.t.definedc;

  f.t.defining = true;
  struct {
    const char* text;
    const char* word;
    bool label, variable;
  } const later[] = {
      {"LOOP", "LOOPl_kzo", true, false},  // a label wherever it stands
      {"MAX", "MAX", true, false},         // a constant keeps its name
      {"COUNT", "COUNT_f_kzo", false, true},
      {"COUNT$", "COUNT_s_kzo", false, true},
  };
  for (const auto& c : later) {
    f.t.getword(w, c.text);
    EXPECT_EQ(w, c.word) << c.text;
    EXPECT_EQ(f.t.label, c.label) << c.text;
    EXPECT_EQ(f.t.variable, c.variable) << c.text;
  }
}

TEST(Getword, DeclaresEachVariableOnceWhileDefining) {
  Fixture f;
  f.setline("");
  std::string w;
  for (const char* text : {"X$", "N", "X$", "N", "PRINT"}) f.t.getword(w, text);
  EXPECT_EQ(f.t.out, "char X_s_kzo[300];\ndouble N_f_kzo;\n");
}

TEST(Getword, DimPassEntersWithoutDeclaring) {
  Fixture f('d');
  f.setline("");
  std::string w;
  f.t.getword(w, "A");
  EXPECT_EQ(w, "A_f_kzo");
  EXPECT_TRUE(f.t.variable);
  EXPECT_EQ(f.t.out, "");
  EXPECT_EQ(f.t.definedc, 1);
}

TEST(Helpers, IsinCopywordSkip2colon) {
  const char* const list[] = {"A", "B$", "", "C"};
  EXPECT_TRUE(kzo::isin("B$", list));
  EXPECT_FALSE(kzo::isin("C", list));  // the search stops at the empty entry
  EXPECT_FALSE(kzo::isin("b$", list));
  char buffer[16];
  char* end = kzo::copyword("AB", buffer);
  end = kzo::copyword("CD", end);
  EXPECT_STREQ(buffer, "ABCD");
  EXPECT_EQ(end - buffer, 4);
  const char* text = "X \"a:b\" : Y";
  EXPECT_EQ(kzo::skip2colon(text) - text, 4);  // quotes are not considered
  EXPECT_EQ(*kzo::skip2colon("no colon"), '\0');
}

TEST(Keywords, TableHoldsTheReservedWords) {
  EXPECT_EQ(kzo::keywordcount, 174);
  for (const char* w : {"REM", "LSE", "?", "MID$", "VARPTR", "TIMER", "PI"})
    EXPECT_TRUE(kzo::iskeyword(w)) << w;
  for (const char* w : {"MID", "mid$", "TOTAL", "FORM", "LET$", ""})
    EXPECT_FALSE(kzo::iskeyword(w)) << w;
}

TEST(Helpers, Islabelchar) {
  std::string yes, no;
  for (int c = 0; c < 256; ++c) (kzo::islabelchar(c) ? yes : no) += (char)c;
  EXPECT_EQ(yes,
            "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz~");
}

}  // namespace
