// kzo2c: translator state and the functions of its phases.
//
// All state of one translation lives in one Translator object, under the
// names the design uses (input, inputP, linenumber, definedv, word1, ...).
// The phases are member functions spread over one file per concern:
//   driver.cpp       command line, source store, passes, line frame, error
//   names.cpp        the name table and the label/DIM/variable/data passes
//   scanner.cpp      getword and its small helpers
//   keywords.cpp     the reserved words
//   constants.cpp    # CONSTANT lines and fixmacro
//   expressions.cpp  partphrase and its four entries
//   statements.cpp   the statement handlers and their dispatch table
//   layout.cpp       the fixed texts of the output file
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kzo {

// An open-addressing index over a list of names: the first position of each
// name, found in constant time on average.
class NameIndex {
 public:
  explicit NameIndex(const std::vector<std::string>& names) : names_(names) {}
  void clear();
  int find(std::string_view name) const;  // -1 when absent
  int find(std::string_view name, std::size_t hash) const;
  void add(int position);                 // names[position], if new
  // The hash of a name, and of a name extended by more text.
  static std::size_t hash(std::string_view s, std::size_t h = 1469598103934665603ull);
 private:
  void grow();
  struct Slot {
    int position;        // -1 when free
    unsigned shorthash;  // low bits of the name's hash, checked first
  };
  const std::vector<std::string>& names_;
  std::vector<Slot> slots_;
  std::vector<std::size_t> hashes_;       // hash of each position's name
  std::size_t used_ = 0;
};

// One message on standard error in the compilers' form (diagnostics.cpp):
// FILE:LINE:COLUMN: SEVERITY: MESSAGE, then, when column > 0, the source
// line as written and a caret under the column. Lines and columns count
// from 1 in the file as written; a tab counts as one column.
struct Diagnostic {
  std::string file;
  int line = 0;
  int column = 0;             // 0: the message names no column
  std::string severity;       // "error" or "warning"
  std::string message;
  std::string sourceline;     // the line as written, without its line end
};

// Thrown by Translator::error after the report has been printed.
struct Stop {};

// Every message of a translation error (messages.cpp): the report's words
// on standard output, and the plain words of the diagnostic on standard
// error, which say what is wrong and what to write instead. A "%s" in
// either stands for the name or word the message is about.
enum class Why {
  keywordaslabel, stuck, badlabel, constantaslabel, labeltwice, missingcolon,
  macrostorefull, constanttakesname, constanteq, macronotstring, constantmissingeq,
  stringmismatch, macrorecursion,
  unmatchedquote, strayunderscore, straytilde, straydollar,
  illegallval, wantedstring, wantednumber, wantedparen, expectingcomma,
  expectingparen, unexpectedcomma, unexpectedparen, unaryminus, novalue, grouping,
  incomplete, keywordinphrase, keywordlet, keywordnot, keywordelse, emptyphrase,
  toomanystringfunctions, subscriptwithoutarray, subscriptnotarray, toomanysubscripts,
  arraywithoutsubscripts, toofewsubscripts, missingoperator, labelasvalue,
  constantnovalue, badnumber, badname, unexpectedword, novaluebefore, minusbefore,
  stringinarithmetic, valuemissing,
  dimsizenotconstant, dimsizerange, dimwithoutname, dimnotvariable, dimagain,
  dataitemtoolong,
  notacolon, assigneq, nextforvar, toomanyfors, stringforvariable, foreq,
  stringforvalue, forto, forforvar, stepvalue, forcolon, stringselector, ongotoword,
  ongosub, labelplease, undefinedlabel, cannotassign, stringplace, comparisonplease,
  comparemix, elsewithoutif, secondelse, missingcomma, stringposition,
  stringfilenumber, openmode, filenamenotstring,
};
struct Message {
  Why why;
  const char* report;  // as the report on standard output has it
  const char* plain;   // as the diagnostic on standard error says it
};
extern const Message messagetable[];
extern const int messagecount;
const Message& messagefor(Why why);
// A message's text with its "%s" replaced by the word it is about.
std::string messagetext(const char* form, const std::string& word);

// The number of MID$/LEFT$ results one source line may hold at once; the
// runtime recycles its result buffers in rings of this size.
constexpr int temps = 64;
// Slots of the FOR limit and step tables (fors__kzo in the runtime).
constexpr int fors = 10000;

struct Translator {
  explicit Translator(std::ostream& messages) : msg(messages) {}

  // Translates a whole source text into C. Returns 0, or 1 after an error
  // report on msg; out holds what was written until then.
  int translate(const std::string& source);

  std::ostream& msg;  // standard output of the translator: error reports
  std::string out;    // the C file, written strictly forwards
  // When set, the C text goes on to this stream in large pieces as it
  // grows, and out keeps only what has not gone yet.
  std::ostream* sink = nullptr;

  // ---- the command line's settings (driver.cpp)
  std::string sourcename;          // the source as named on the command line
  std::string outname;             // the C file as named there
  std::ostream* diag = nullptr;    // when set, gets SOURCE:LINE: error: MESSAGE
  bool diagnewline = false;        // diag shares msg's destination
  bool colour = false;             // diag is a terminal that takes colour
  bool debuglines = false;         // -g: #line directives name source lines
  bool hold = false;               // keep out whole: a line block is open
  long long spilledlines = 0;      // line feeds in the text already spilled

  // ---- source store (driver.cpp)
  std::vector<std::string> input;  // normalised lines, ended by "~"
  std::size_t inputP = 0;          // index of the current line
  int linenumber = 0;
  std::string qline;               // escaped copy for the trace line
  const std::string* writtensource = nullptr;  // the text being translated
  std::vector<std::size_t> linestarts;   // where each stored line begins in it
  const char* wordat = nullptr;    // the word getword read last: its start
  const char* wordend = nullptr;   // and its end

  // ---- pass modes
  bool labeling = false, dimming = false, defining = false;

  // ---- indications set by getword
  bool string = false, constant = false, keyword = false;
  bool label = false, variable = false, name = false;

  // ---- name table (names.cpp): one ordered list, first match wins
  std::vector<std::string> definedv;
  NameIndex definedindex{definedv};  // first position of each name
  int definedc = 0;
  int constants = 0, labels = 0, variable0 = 0, variables = 0;
  int labelsdone = 0;
  std::string targetlabel;
  // Names as written, with the table position of their C form, from the
  // variable pass on.
  std::vector<std::string> spellingv;
  NameIndex spellings{spellingv};
  std::vector<int> spelledas;
  // The sizes of every name a DIM declares, by C name, as the declaration
  // writes them ("25", "2" "3"); a plain name in a DIM list has none.
  std::unordered_map<std::string, std::vector<std::string>> dimsizes;

  // ---- constant macros (constants.cpp)
  struct Macro {
    std::string name, value, quote;
  };
  std::vector<Macro> macrov;
  int defining_macro = -1;  // the string constant whose value is being read
  std::string lastfixed;    // the text fixmacro made last

  // ---- word and phrase buffers
  std::string word1, word2, word3, phrase1, phrase2, phrase3;

  // ---- statement pass state
  int returnc = 0, forc = 0;
  const char* scanP = nullptr;
  const char* nextP = nullptr;
  const char* lastP = nullptr;
  bool endflag = false, semiflag = false;
  int linetemps = 0;  // MID$/LEFT$ calls on the current line

  // ---- mistakes: what the C compiler would reject, found while the passes
  // go on; the first one is reported after the last pass, so that any
  // error the passes stop with comes first.
  struct Mistake {
    std::string line, message;
    int number = 0;
    std::string plain;    // the diagnostic's words
    std::size_t at = 0;   // where in the stored line it was found
  } firstmistake;
  // at: where in the current line the mistake was found; null for the
  // start of the word getword read last. word: what %s stands for.
  void mistake(Why why, const char* at = nullptr, const std::string& word = "");

  // ---- the C text so far, as the line close and the mends need it
  char lastc = ';';         // its last character outside comments and blanks
  int ifflag = 0;           // IF blocks the current line has opened
  bool elseblock = false;   // the innermost of them is an ELSE block
  std::unordered_set<std::string> placed;  // labels the statement pass placed

  // ---- driver.cpp
  void readsource(const std::string& source);
  template <class F> void walk(F handle);
  const char* line() const { return input[inputP].c_str(); }
  [[noreturn]] void error(Why why, const char* at = nullptr, const std::string& word = "");
  void report(const std::string& text, int number, const std::string& message,
              const std::string& plain, std::size_t at);
  std::size_t offset(const char* at) const;  // into the current line
  std::string lastword() const;  // the word getword read last, as written
  Diagnostic diagnostic(int number, std::size_t at, const std::string& plain) const;
  void statementpass();
  void translateline();
  void placelabel(const std::string& cname);
  void checkseparator();
  void linecode();
  void marklines(std::size_t start);
  void resumec();
  void tail();

  // ---- names.cpp
  void resetnames();
  int findname(const std::string& w) const;  // index, or definedc
  void addname(const std::string& w);
  void labelpass();
  void dimpass();
  void dimline(const char* p);
  std::string dimdeclaration(const std::string& phrase, bool isstring,
                             const char* at = nullptr);
  const std::vector<std::string>* arraysizes(const std::string& cname) const;
  void variablepass();
  void datapass();
  void unplacedlabels();
  int forvarnumber(const std::string& cname);  // -1 when not a variable

  // ---- scanner.cpp
  const char* getword(std::string& word, const char* text);
  const char* readword(std::string& word, const char* text);
  const char* copylabel(const char* text);
  void mangle(std::string& word);
  bool remembered(std::string& word);
  void remember(const std::string& written, int k2);

  // ---- constants.cpp
  void constantpass();
  void constantline(const char* p);
  void fixmacro(const std::string& text);
  double numericconstant(const std::string& cname, bool& found) const;
  bool definedconstant(const std::string& cname) const;

  // ---- expressions.cpp
  struct Phrase;
  const char* partphrase(char first, std::string& buffer, const char* text);
  const char* getphrase(std::string& b, const char* t) { return partphrase('F', b, t); }
  const char* lvalphrase(std::string& b, const char* t) { return partphrase('L', b, t); }
  const char* stringphrase(std::string& b, const char* t) { return partphrase('S', b, t); }
  const char* numberphrase(std::string& b, const char* t) { return partphrase('N', b, t); }

  // ---- statements.cpp
  void statement();
  void colonafter();
  void doassign();
  void dopause();
  void doif();
  void doelse();
  void dogoto();
  void docolon();
  void doreturn();
  void dogosub();
  void dorem();
  void dostop();
  void donext();
  void doprint();
  void dofor();
  void doline();
  void doon();
  void dodata();
  void dodim();
  void doread();
  void doclose();
  void doopen();
  void doend();
  void docls();
  void printitems(const std::string& prefix);
  void checklabel(const std::string& cname);
  bool endsstatement(const std::string& word) const;
  std::string targetword;  // the label word copylabel wrote
  void checkplace(const std::string& phrase, bool isstring, bool text, const char* at);
  void printseparator();

  // ---- output helpers
  static constexpr std::size_t piece = 1 << 20;
  void put(std::string_view s) {
    for (std::size_t i = s.size(); i-- > 0;)
      if (s[i] != ' ' && s[i] != '\n') {
        lastc = s[i];
        break;
      }
    out += s;
    if (sink && !hold && out.size() >= piece) spill();
  }
  void putcomment(const std::string& text);  // " /*text*/", as a comment
  void spill();
};

// Walks the source store once: linenumber counts from 1, the line at
// inputP is handled, and the end marker "~" ends the walk.
template <class F> void Translator::walk(F handle) {
  linenumber = 0;
  for (inputP = 0; !(input[inputP].size() == 1 && input[inputP][0] == '~');
       ++inputP) {
    ++linenumber;
    handle(line());
  }
}

// keywords.cpp
bool iskeyword(const std::string& word);
extern const char* const keywords[];
extern const int keywordcount;

// scanner.cpp
bool islabelchar(int c);
bool isletter(int c);  // A-Z, a-z or "_"
bool isin(const std::string& word, const char* const* list);
char* copyword(const char* source, char* destination);
const char* skip2colon(const char* text);
std::string dialectname(const std::string& cname);
bool iscname(const std::string& word);
bool endswith(const std::string& s, const char* suffix);
bool isvariablename(const std::string& cname);
std::string cliteral(const std::string& text);
bool isnumber(const std::string& word);
// Reads one source line from i on as the store keeps it (driver.cpp);
// origin, when given, gets the index in source of every byte stored.
void foldline(const std::string& source, std::size_t& i, std::string& line,
              std::vector<std::size_t>* origin);

// layout.cpp
extern const char* const headofmain[];
extern const char* const after[];
extern const char* const closing[];

// The runtime text, embedded from runtime/runtime.c by the build.
std::string runtimetext();

// What the command line asks for (driver.cpp).
struct Options {
  bool debuglines = false;  // -g
  bool classic = false;     // --classic: a line-numbered classic program
  bool run = false;         // --run: translate, build, run
  std::string program;      // -o PROGRAM: translate and build
  std::string source;       // the source file
  std::string output;       // the C file (the translating form only)
  std::vector<std::string> arguments;  // --run: the program's arguments
};
int parseoptions(int argc, char** argv, Options& o, std::ostream& out, std::ostream& err);
// Translates the text of o.source into C on sink, reporting mistakes on
// out and err; outname names sink for -g. Returns 0 or 1.
int translatesource(const Options& o, const std::string& text, std::ostream& sink,
                    const std::string& outname, std::ostream& out, std::ostream& err,
                    bool shared);
// Reads o.source and writes its translation to the file outname; 2 when a
// file cannot be read or written.
int translatefile(const Options& o, const std::string& outname, std::ostream& out,
                  std::ostream& err, bool shared);

void writediagnostic(std::ostream& err, const Diagnostic& d, bool colour);
bool colourwanted(int fd);  // a terminal, NO_COLOR unset, TERM not dumb

// The classic front-end (classic*.cpp): same contract as translatesource.
int translateclassic(const Options& o, const std::string& text, std::ostream& sink,
                     const std::string& outname, std::ostream& out, std::ostream& err,
                     bool shared);

// -o and --run (build.cpp): translate, compile, and run.
int buildprogram(const Options& o, std::ostream& out, std::ostream& err, bool shared);

// The whole command: kzo2c [-g] SOURCE ... OUTPUT, or kzo2c --help or
// --version. Returns the exit status (0 translated or informed, 1
// translation error, 2 bad command line or file). shared tells that err
// goes where out goes (one terminal, file or pipe).
int run(int argc, char** argv, std::ostream& out, std::ostream& err,
        bool shared = false);

}  // namespace kzo
