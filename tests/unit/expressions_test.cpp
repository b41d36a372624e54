// The expression translator: C text, type and end position of phrases, and
// the exact failure reports with their stack dumps.
#include <gtest/gtest.h>

#include "fixture.h"

namespace {

struct PhraseCase {
  char entry;  // F getphrase, L lvalphrase, S stringphrase, N numberphrase
  const char* text;
  const char* c;
  bool string;
  const char* rest;  // the text left for the caller
};

const char* translate(kzo::Translator& t, char entry, std::string& out,
                      const char* text) {
  switch (entry) {
    case 'L': return t.lvalphrase(out, text);
    case 'S': return t.stringphrase(out, text);
    case 'N': return t.numberphrase(out, text);
    default: return t.getphrase(out, text);
  }
}

const PhraseCase phrases[] = {
    {'F', "N", "N_f_kzo", false, ""},
    {'F', "T$", "T_s_kzo", true, ""},
    {'F', "10", "10.0", false, ""},
    {'F', "\"HI\"", "\"HI\"", true, ""},
    {'F', "R$(1)", "R_s_kzo[bound__kzo(1.0, 4)]", true, ""},
    {'F', "B(I,J)", "B_f_kzo[bound__kzo(I_f_kzo, 2)][bound__kzo(J_f_kzo, 3)]", false, ""},
    {'F', "B(I)(J)", "B_f_kzo[bound__kzo(I_f_kzo, 2)][bound__kzo(J_f_kzo, 3)]", false, ""},
    {'F', "ARGV$(N+1)", "ARGV_s_kzo[bound__kzo(N_f_kzo+1.0, argc__kzo)]", true, ""},
    {'F', "B(A(I),S(2))", "B_f_kzo[bound__kzo(A_f_kzo[bound__kzo(I_f_kzo, 10)], 2)]"
     "[bound__kzo(S_f_kzo[bound__kzo(2.0, 25)], 3)]", false, ""},
    {'F', "LEN(A$)+1", "len__kzo(A_s_kzo)+1.0", false, ""},
    {'F', "N*2-K/3", "N_f_kzo*2.0-K_f_kzo/3.0", false, ""},
    {'F', "MID$(T$,2,3)", "mid__kzo(T_s_kzo,2.0,3.0)", true, ""},
    {'F', "MID$(T$,2)", "mid__kzo(T_s_kzo,2.0,0)", true, ""},
    {'F', "LEFT$(T$,N)", "left__kzo(T_s_kzo,N_f_kzo)", true, ""},
    {'F', "RIGHT$(T$,N)", "right__kzo(T_s_kzo,N_f_kzo)", true, ""},
    {'F', "INSTR(T$,\"X\")", "instr__kzo(1,T_s_kzo,\"X\")", false, ""},
    {'F', "INSTR(5,T$,\"X\")", "instr__kzo(5.0,T_s_kzo,\"X\")", false, ""},
    {'F', "ASC(T$)", "asc__kzo(T_s_kzo)", false, ""},
    {'F', "CHR$(65)", "chr__kzo(65.0)", true, ""},
    {'F', "CHR$(ASC(\".\")+1)", "chr__kzo(asc__kzo(\".\")+1.0)", true, ""},
    {'F', "LEFT$(L$(I),LEN(L$(I))-1)",
     "left__kzo(L_s_kzo[bound__kzo(I_f_kzo, 7)],len__kzo(L_s_kzo[bound__kzo(I_f_kzo, 7)])-1.0)",
     true, ""},
    {'F', "S(T(L))", "S_f_kzo[bound__kzo(T_f_kzo[bound__kzo(L_f_kzo, 25)], 25)]", false, ""},
    {'F', "N B", "N_f_kzo", false, " B"},
    {'F', "A(1) = 2", "A_f_kzo[bound__kzo(1.0, 10)]", false, " = 2"},
    {'F', "X<6 THEN", "X_f_kzo", false, "<6 THEN"},
    {'F', "X;", "X_f_kzo", false, ";"},
    {'N', "N +", "N_f_kzo+", false, ""},
    {'L', "A(I)", "A_f_kzo[bound__kzo(I_f_kzo, 10)]", false, ""},
    {'L', "A$", "A_s_kzo", true, ""},
    {'S', "B$ ,", "B_s_kzo", true, " ,"},
};

// The arrays the phrases above may use, as the DIM pass records them.
void declarearrays(kzo::Translator& t) {
  t.dimsizes = {{"A_f_kzo", {"10"}}, {"B_f_kzo", {"2", "3"}}, {"S_f_kzo", {"25"}},
                {"T_f_kzo", {"25"}}, {"R_s_kzo", {"4"}},      {"L_s_kzo", {"7"}},
                {"P_f_kzo", {}}};
}

TEST(Phrase, Translations) {
  for (const PhraseCase& c : phrases) {
    Fixture f;
    declarearrays(f.t);
    const char* text = f.setline(c.text);
    std::string out;
    const char* rest = nullptr;
    std::string report = f.stopped([&] { rest = translate(f.t, c.entry, out, text); });
    ASSERT_EQ(report, "") << c.text;
    EXPECT_EQ(out, c.c) << c.text;
    EXPECT_EQ(f.t.string, c.string) << c.text;
    EXPECT_STREQ(rest, c.rest) << c.text;
  }
}

TEST(Phrase, ConstantNameIsAssignableAndKeepsItsName) {
  Fixture f;
  f.t.addname("MAX");
  f.t.constants = f.t.labels = 1;
  const char* text = f.setline("MAX");
  std::string out;
  f.t.lvalphrase(out, text);
  EXPECT_EQ(out, "MAX");
  EXPECT_FALSE(f.t.string);
}

struct FailCase {
  char entry;
  const char* text;
  const char* report;  // everything after "<line>\n1 " is the message
};

// The dump shows value stack!expectation stack, the C text so far, and the
// current word!the rest of the text.
const FailCase failures[] = {
    {'N', "\"A\"", "E!EN\n\n\"A\"!\n\"A\"\n1 I wanted a number"},
    {'S', "5", "E!ES\n\n5.0!\n5\n1 I wanted a string"},
    {'S', "B$ + C$", "E!EN\nB_s_kzo+\nC_s_kzo!\nB$ + C$\n1 I wanted a number"},
    {'L', "5", "E!EL\n\n5.0!\n5\n1 illegal l-val"},
    {'L', "\"A\"", "E!EL\n\n\"A\"!\n\"A\"\n1 illegal l-val"},
    {'F', "LEFT$(A$", "EF(S!E)N,\nleft__kzo(A_s_kzo\n!\nLEFT$(A$\n1 I was expecting a ,"},
    {'F', "A(1", "EN(N!E]\nA_f_kzo[bound__kzo(1.0\n!\nA(1\n1 I was expecting a )"},
    {'F', "MID$(", "EF(!EMN,S\nmid__kzo(\n!\nMID$(\n1 I wanted a string"},
    // The operator finds only the bottom mark; the F it leaves unmet takes the
    // empty operand at the end of the line.
    {'F', "-1", "NN!E\n-1.0\n!\n-1\n1 bad destack on exit"},
    {'F', "INSTR(LEN(A$),B$,C$)",
     "EN(!EI\ninstr__kzo(\nLEN!(A$),B$,C$)\nINSTR(LEN(A$),B$,C$)\n1 I wanted a string"},
    {'F', "MID$(A$,1,2,3)",
     "EF(N!E)\nmid__kzo(A_s_kzo,1.0,2.0\n,!3)\nMID$(A$,1,2,3)\n1 unexpected ,"},
    {'F', "LEN A$", "EN!E\nlen__kzo\nA_s_kzo!\nLEN A$\n1 I wanted a ("},
    {'F', "N+)", "E!EN\nN_f_kzo+\n)!\nN+)\n1 unexpected )"},
    {'F', "LEFT$(A$ B$", "EF(S!E)N,\nleft__kzo(A_s_kzo\nB_s_kzo!\nLEFT$(A$ B$\n1 I was expecting a ,"},
    {'L', "LEN(A$)", "E!EL\n\nLEN!(A$)\nLEN(A$)\n1 illegal l-val"},
    {'F', "PI", "PI\n1 keyword in phrase"},
    {'F', "", "\n1 empty phrase"},
};

TEST(Phrase, Failures) {
  for (const FailCase& c : failures) {
    Fixture f;
    declarearrays(f.t);
    const char* text = f.setline(c.text);
    std::string out;
    std::string report = f.stopped([&] { translate(f.t, c.entry, out, text); });
    EXPECT_EQ(report, c.report) << c.text;
  }
}

// Mistakes that the C compiler would reject: recorded, not thrown, so that
// the passes go on and any error they stop with is reported first.
struct MistakeCase {
  const char* text;
  const char* message;
};

const MistakeCase mistakes[] = {
    {"Q(1)", "subscript on Q, which no DIM declares as an array"},
    {"P(1)", "subscript on P, which no DIM declares as an array"},
    {"N+(1)", "subscript without an array"},
    {"(1)", "subscript without an array"},
    {"A(1,2)", "too many subscripts for A"},
    {"A(1)(2)", "too many subscripts for A"},
    {"B(1)", "too few subscripts for B"},
    {"B(1)+1", "too few subscripts for B"},
    {"B(1,2,3)", "too many subscripts for B"},
    {"A+1", "array A without subscripts"},
    {"LEN(R$)", "array R$ without subscripts"},
    {"ARGV$", "array ARGV$ without subscripts"},
    {"ARGV$(1,2)", "too many subscripts for ARGV$"},
    {"N+", "value missing at the end of the line"},
    {"N+<", "unexpected <"},
    {"1.2.3", "bad number 1.2.3"},
    {".", "bad number ."},
    {"1A+1", "bad name 1A"},
    {"A.B", "bad name A.B"},
    {"W+1", "label W used as a value"},
};

TEST(Phrase, Mistakes) {
  for (const MistakeCase& c : mistakes) {
    Fixture f;
    declarearrays(f.t);
    f.t.addname("Wl_kzo");
    f.t.labels = 1;
    const char* text = f.setline(c.text);
    std::string out;
    EXPECT_EQ(f.stopped([&] { f.t.getphrase(out, text); }), "") << c.text;
    EXPECT_EQ(f.t.firstmistake.message, c.message) << c.text;
    EXPECT_EQ(f.t.firstmistake.line, c.text);
  }
}

// The DIM pass translates its items before any size is known: their
// subscripts keep the unchecked form that the declaration folds.
TEST(Phrase, DimPassSubscriptsAreUnchecked) {
  Fixture f('d');
  const char* text = f.setline("Q(2,3+1)");
  std::string out;
  EXPECT_EQ(f.stopped([&] { f.t.getphrase(out, text); }), "");
  EXPECT_EQ(out, "Q_f_kzo[index__kzo(2.0)][index__kzo(3.0+1.0)]");
}

TEST(Phrase, CountsStringTemporariesPerLine) {
  Fixture f;
  std::string text = "LEFT$(A$,1)";
  for (int i = 0; i < kzo::temps; ++i) text = "MID$(" + text + ",1)";
  const char* line = f.setline(text);
  std::string out;
  EXPECT_NE(f.stopped([&] { f.t.getphrase(out, line); }), "");
  EXPECT_NE(f.messages.str().find("too many string functions"), std::string::npos);

  Fixture g;
  line = g.setline("MID$(LEFT$(A$,1),1)");
  EXPECT_EQ(g.stopped([&] { g.t.getphrase(out, line); }), "");
  EXPECT_EQ(g.t.linetemps, 2);
}

}  // namespace
