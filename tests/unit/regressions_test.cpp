// Findings of the fuzzer, each as the exact outcome of a whole translation:
// the status, the report on the message stream, and for a translation a
// piece of the C text that must be there.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kzo2c.h"

namespace {

struct Outcome {
  int status;
  std::string report;
  std::string out;
};

Outcome translate(const std::string& source) {
  std::ostringstream msg;
  kzo::Translator t(msg);
  int status = t.translate(source);
  return {status, msg.str(), t.out};
}

// A string constant A$ = "ab", then `lines` constants that each paste the
// one before it twice, so that the n-th holds 2^(n+2)-2 bytes. The names
// run AB$, AC$, ... AP$ for the first fifteen.
std::string doubling(int lines) {
  std::string s = "# CONSTANT A$ = \"ab\"\n", prev = "A";
  for (int i = 0; i < lines; ++i) {
    std::string name = "A" + std::string(1 + i / 26, char('B' + i % 26));
    s += "# CONSTANT " + name + "$ = \" X" + prev + "$ X" + prev + "$\"\n";
    prev = name;
  }
  return s;
}

// The value of the n-th constant of doubling().
std::string doubled(int n) {
  std::string v = "ab";
  for (int i = 0; i < n; ++i) v = " " + v + " " + v;
  return v;
}

std::string repeated(const std::string& text, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += text;
  return s;
}

struct Case {
  const char* name;
  std::string source;
  int status;
  std::string report;    // status 1: the whole report
  std::string contains;  // status 0: text the C file holds
};

std::vector<Case> cases() {
  const std::string full = "# CONSTANT A$ = \"" + std::string(499996, 'x') + "\"";
  const std::string over = "# CONSTANT A$ = \"" + std::string(499997, 'x') + "\"";
  return {
      // Names and values of all constants share a store of 500,000 bytes,
      // each text with one byte for its end: A$ and its value fill it.
      {"a constant that fills the store", full + "\n", 0, "",
       "#define A$ \"" + std::string(499996, 'x') + "\"\n"},
      {"a constant one byte past the store", over + "\n", 1,
       over + "\n1 macro store full", ""},
      // Each line doubled the value before: forty lines asked for 2^42
      // bytes. The sixteenth doubling (line 17) is the first past the store.
      {"doubling constants stop at the store", doubling(40), 1,
       "# CONSTANT AQ$ = \" XAP$ XAP$\"\n17 macro store full", ""},
      {"fifteen doublings fit", doubling(15), 0, "",
       "#define AP$ \"" + doubled(15) + "\"\n"},
      {"many references to one long constant in one value",
       doubling(15) + "# CONSTANT Z$ = \"" + repeated(" XAP$", 200) + "\"\n", 1,
       "# CONSTANT Z$ = \"" + repeated(" XAP$", 200) + "\"\n17 macro store full", ""},
      // A literal outside a constant line keeps its references as written,
      // however long the constant it names.
      {"a reference in a PRINT literal stays as written",
       doubling(15) + " PRINT \" XAP$\";\" XAP$\"\n", 0, "",
       "printw(\"%s\", \" XAP$\");\n  printw(\"%s\", \" XAP$\")"},
  };
}

TEST(Regressions, WholeTranslations) {
  for (const Case& c : cases()) {
    SCOPED_TRACE(c.name);
    Outcome o = translate(c.source);
    EXPECT_EQ(o.status, c.status);
    if (c.status == 1) {
      EXPECT_EQ(o.report, c.report);
    } else {
      EXPECT_EQ(o.report, "");
      EXPECT_NE(o.out.find(c.contains), std::string::npos);
    }
  }
}

}  // namespace

namespace {

// Every message of the table has its line in the man page's DIAGNOSTICS,
// written in roff: "%s" as \fIword\fP, "-" as \-.
TEST(Messages, ListedInTheManPage) {
  std::ifstream in(KZO_MANPAGE);
  std::stringstream page;
  page << in.rdbuf();
  const std::string text = page.str();
  ASSERT_NE(text.find(".SH DIAGNOSTICS"), std::string::npos) << KZO_MANPAGE;
  const std::string diagnostics = text.substr(text.find(".SH DIAGNOSTICS"));
  for (int i = 0; i < kzo::messagecount; ++i) {
    std::string roff;
    for (const char* c = kzo::messagetable[i].plain; *c; ++c) {
      if (c[0] == '%' && c[1] == 's') roff += "\\fIword\\fP", ++c;
      else roff += *c == '-' ? std::string("\\-") : std::string(1, *c);
    }
    EXPECT_NE(diagnostics.find("\n" + roff + "\n"), std::string::npos) << roff;
  }
}

}  // namespace
