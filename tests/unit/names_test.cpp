// The source store, constant references and DIM sizes.
#include <gtest/gtest.h>

#include <vector>

#include "fixture.h"

namespace {

struct StoreCase {
  const char* source;
  std::vector<std::string> lines;  // the store without its end marker
};

TEST(Store, Normalising) {
  const StoreCase cases[] = {
      {"", {}},
      {"A\nB\n", {"A", "B"}},
      {"A\r\nB\r\n", {"A", "B"}},
      {"A\nB", {"A", "B"}},
      {"A   B\tC", {"A B C"}},
      {" \t X", {" X"}},
      {"P \"a   b\"  ", {"P \"a   b\""}},
      {"   \n\nX", {"", "", "X"}},
      {"P \"open\r\nQ", {"P \"open\r", "Q"}},
      {"P \"a\tb\" \t", {"P \"a\tb\""}},
      {"~\nX\n", {"~", "X"}},
  };
  for (const StoreCase& c : cases) {
    Fixture f;
    f.t.readsource(c.source);
    std::vector<std::string> want = c.lines;
    want.push_back("~");
    EXPECT_EQ(f.t.input, want) << c.source;
  }
}

struct MacroCase {
  const char* value;
  const char* result;
};

TEST(Constants, References) {
  Fixture f('c');
  f.setline("");
  f.t.macrov.push_back({"G$", "HELLO", "\""});
  f.t.macrov.push_back({"A$", "Z", "\""});
  f.t.macrov.push_back({"N", "5.0", ""});
  const MacroCase cases[] = {
      {"SAY XG$ NOW", "SAY HELLO NOW"},
      {"SAY xG$", "SAY HELLO"},
      {"XG$", "XG$"},               // a reference must follow a blank
      {"SAY XA$", "SAY Z"},         // one letter at the very end
      {"SAY XB$", "SAY XB$"},       // not a constant
      {"SAY XN", "SAY XN"},         // numeric constants are never pasted
      {"A XQ XG$", "A XQ HELLO"},   // a name followed by a blank starts over
      {"XG$ XG$ XG$", "XG$ HELLO HELLO"},
      {"SAY XG1$", "SAY XG1$"},     // digits end the name
  };
  for (const MacroCase& c : cases) {
    f.t.fixmacro(c.value);
    EXPECT_EQ(f.t.lastfixed, c.result) << c.value;
  }
}

struct DimCase {
  const char* phrase;
  bool string;
  const char* declaration;  // or the message it stops with
};

TEST(Dim, SizesAreEvaluated) {
  const DimCase cases[] = {
      {"A_f_kzo[index__kzo(10.0)]", false, "double A_f_kzo[10];\n"},
      {"L_s_kzo[index__kzo(MAX)]", true, "char L_s_kzo[25][300];\n"},
      {"B_f_kzo[index__kzo(3.0)][index__kzo(4.0)]", false, "double B_f_kzo[3][4];\n"},
      {"C_f_kzo[index__kzo(MAX*2.0+1.0)]", false, "double C_f_kzo[51];\n"},
      {"C_f_kzo[index__kzo(2.0+MAX/2.0)]", false, "double C_f_kzo[15];\n"},
      {"D_f_kzo[index__kzo(2.4)]", false, "double D_f_kzo[2];\n"},
      {"D_f_kzo[index__kzo(0.0-0.5)]", false, "double D_f_kzo[0];\n"},
      {"N_f_kzo", false, "double N_f_kzo;\n"},
      {"S_s_kzo", true, "char S_s_kzo[300];\n"},
      {"E_f_kzo[index__kzo(0.0-1.0)]", false, "index overflow"},
      {"E_f_kzo[index__kzo(1.0/0.0)]", false, "index overflow"},
      {"E_f_kzo[index__kzo(N_f_kzo)]", false, "DIM size not constant"},
      {"E_f_kzo[index__kzo(T$)]", false, "DIM size not constant"},
      {"E_f_kzo[index__kzo(A_f_kzo[index__kzo(1.0)])]", false, "DIM size not constant"},
      {"E_f_kzo[index__kzo(len__kzo(\"AB\"))]", false, "DIM size not constant"},
  };
  for (const DimCase& c : cases) {
    Fixture f('d');
    f.setline("");
    f.t.macrov.push_back({"MAX", "25.0", ""});
    f.t.macrov.push_back({"T$", "X", "\""});
    std::string got;
    std::string report = f.stopped([&] { got = f.t.dimdeclaration(c.phrase, c.string); });
    if (!report.empty()) got = report.substr(report.find(' ') + 1);
    EXPECT_EQ(got, c.declaration) << c.phrase;
  }
}

}  // namespace
