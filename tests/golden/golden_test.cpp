// Golden tests of kzo2c: every case of tests/golden/cases/*.golden is a
// dialect source and the exact text that the translator must give for it
// (a section of the C file, the whole file, or the error output).
//
// Case file format:
//   # comment            (only before the first "=== " line of a file, or
//                         between a "=== " line and the case's first "--- ")
//   === case name
//   --- source           dialect lines, each written with a final line feed
//   --- source-escaped   one line with C escapes \n \r \t \\ \" decoded and
//                        no implicit final line feed
//   --- code | decls | tail | full | error
//                        expected text, see Expectation below
//   --- diagnostic       the exact standard error of an error case (which
//                        must have one): FILE:LINE:COLUMN: error: MESSAGE,
//                        the source line as written and the caret line
// A block runs until the next line that starts with "=== " or "--- ".

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#ifndef KZO2C
#error "KZO2C must name the translator binary"
#endif
#ifndef GOLDEN_CASES
#error "GOLDEN_CASES must name the case folder"
#endif
#ifndef KZO_RUNTIME
#error "KZO_RUNTIME must name runtime.c"
#endif

namespace {

// The last line of the head of main and the first lines of the tail.
const char kHeadEnd[] = "    chrs__kzo[i__kzo][1] = 0;\n  }\n";
const char kTailStart[] = "\n  goto end__kzo;\n";
const char kMainLine[] = "int main(int argc__kzo, char **ARGV_s_kzo) {\n";
const char kRuntimeMark[] = "@RUNTIME@";

struct Expectation {
  std::string mode;  // code, decls, tail, full, error
  std::string text;  // for error: without the block's last line feed
  int line = 0;      // line of the "--- " header in the case file
};

struct Case {
  std::string file;  // file name without folder
  std::string name;  // case name as written
  std::string test_name;
  int line = 0;
  std::string source;
  bool has_source = false;
  std::vector<Expectation> expect;
  std::string problem;  // a malformed case: reported as a failure
};

std::string read_file(const std::string& path, bool* ok = nullptr) {
  std::ifstream in(path, std::ios::binary);
  if (ok) *ok = static_cast<bool>(in);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool starts_with(const std::string& s, const std::string& p) {
  return s.compare(0, p.size(), p) == 0;
}

std::string decode_escapes(const std::string& s, std::string* problem) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\') {
      out += s[i];
      continue;
    }
    if (++i == s.size()) {
      *problem = "source-escaped ends with a lone backslash";
      break;
    }
    switch (s[i]) {
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      case '"': out += '"'; break;
      default:
        *problem = std::string("unknown escape \\") + s[i] + " in source-escaped";
    }
  }
  return out;
}

std::string sanitize(const std::string& s) {
  std::string out;
  for (unsigned char c : s) out += std::isalnum(c) ? static_cast<char>(c) : '_';
  return out.empty() ? std::string("_") : out;
}

// Turns the lines of one block into its text.
void close_block(Case& c, const std::string& mode, int header_line,
                 const std::vector<std::string>& lines) {
  std::string joined;
  for (const auto& l : lines) joined += l + "\n";
  if (mode == "source") {
    if (c.has_source) c.problem = "two source blocks";
    c.source = joined;
    c.has_source = true;
  } else if (mode == "source-escaped") {
    if (c.has_source) c.problem = "two source blocks";
    if (lines.size() > 1) c.problem = "source-escaped holds more than one line";
    c.source = lines.empty() ? std::string() : decode_escapes(lines[0], &c.problem);
    c.has_source = true;
  } else if (mode == "code" || mode == "decls" || mode == "tail" || mode == "full" ||
             mode == "error" || mode == "diagnostic") {
    Expectation e;
    e.mode = mode;
    e.line = header_line;
    e.text = joined;
    if (mode == "error" && !e.text.empty()) e.text.pop_back();
    c.expect.push_back(e);
  } else {
    c.problem = "unknown block --- " + mode;
  }
}

void parse_file(const std::string& folder, const std::string& file, std::vector<Case>& out) {
  std::string text = read_file(folder + "/" + file);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  Case* cur = nullptr;
  std::string mode;  // empty: not inside a block
  int header_line = 0;
  std::vector<std::string> block;
  auto flush = [&]() {
    if (cur && !mode.empty()) close_block(*cur, mode, header_line, block);
    mode.clear();
    block.clear();
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    int lineno = static_cast<int>(i) + 1;
    if (starts_with(l, "=== ")) {
      flush();
      out.emplace_back();
      cur = &out.back();
      cur->file = file;
      cur->name = l.substr(4);
      cur->line = lineno;
      continue;
    }
    if (starts_with(l, "--- ")) {
      flush();
      if (!cur) continue;  // a block before any case: ignored
      mode = l.substr(4);
      header_line = lineno;
      continue;
    }
    if (!mode.empty()) {
      block.push_back(l);
    } else if (!l.empty() && l[0] != '#' && cur) {
      cur->problem = "text outside a block at line " + std::to_string(lineno);
    }
  }
  flush();
}

std::vector<Case> load_cases() {
  std::vector<Case> cases;
  std::vector<std::string> files;
  if (DIR* d = opendir(GOLDEN_CASES)) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n.size() > 7 && n.compare(n.size() - 7, 7, ".golden") == 0) files.push_back(n);
    }
    closedir(d);
  }
  std::sort(files.begin(), files.end());
  for (const auto& f : files) parse_file(GOLDEN_CASES, f, cases);
  std::set<std::string> used;
  for (auto& c : cases) {
    std::string base = sanitize(c.file.substr(0, c.file.size() - 7) + "_" + c.name);
    std::string n = base;
    for (int k = 2; used.count(n); ++k) n = base + "_" + std::to_string(k);
    used.insert(n);
    c.test_name = n;
    if (c.problem.empty() && !c.has_source) c.problem = "no source block";
    if (c.problem.empty() && c.expect.empty()) c.problem = "no expected block";
    int errors = 0, diagnostics = 0;
    for (const auto& e : c.expect) {
      errors += e.mode == "error";
      diagnostics += e.mode == "diagnostic";
    }
    if (c.problem.empty() && errors != diagnostics)
      c.problem = "an error block goes with one diagnostic block";
  }
  if (cases.empty()) {
    Case c;
    c.file = "(none)";
    c.name = "no cases";
    c.test_name = "no_cases_found";
    c.problem = std::string("no *.golden files in ") + GOLDEN_CASES;
    cases.push_back(c);
  }
  return cases;
}

struct RunResult {
  bool started = false;
  bool timed_out = false;
  int status = -1;  // exit status, or -1 when killed by a signal
  int signal = 0;
  std::string out, err;
};

// Runs the translator in dir with the given arguments, capturing both
// output streams.
RunResult run_kzo2c(const std::string& dir, const std::vector<std::string>& args,
                    int timeout_seconds = 60) {
  RunResult r;
  int po[2], pe[2];
  if (pipe(po) != 0) return r;
  if (pipe(pe) != 0) {
    close(po[0]);
    close(po[1]);
    return r;
  }
  pid_t pid = fork();
  if (pid < 0) return r;
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(126);
    int devnull = open("/dev/null", O_RDONLY);
    if (devnull >= 0) dup2(devnull, 0);
    dup2(po[1], 1);
    dup2(pe[1], 2);
    close(po[0]);
    close(po[1]);
    close(pe[0]);
    close(pe[1]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>("kzo2c"));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(KZO2C, argv.data());
    _exit(127);
  }
  r.started = true;
  close(po[1]);
  close(pe[1]);
  pollfd fds[2] = {{po[0], POLLIN, 0}, {pe[0], POLLIN, 0}};
  std::string* dest[2] = {&r.out, &r.err};
  int open_fds = 2;
  time_t deadline = time(nullptr) + timeout_seconds;
  char buf[65536];
  while (open_fds > 0) {
    int left = static_cast<int>(deadline - time(nullptr));
    if (left <= 0) {
      r.timed_out = true;
      kill(pid, SIGKILL);
      break;
    }
    int n = poll(fds, 2, left * 1000);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) continue;
    for (int k = 0; k < 2; ++k) {
      if (fds[k].fd < 0 || !(fds[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      ssize_t got = read(fds[k].fd, buf, sizeof buf);
      if (got > 0) {
        dest[k]->append(buf, static_cast<size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        close(fds[k].fd);
        fds[k].fd = -1;
        --open_fds;
      }
    }
  }
  for (auto& f : fds)
    if (f.fd >= 0) close(f.fd);
  int st = 0;
  while (waitpid(pid, &st, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(st)) {
    r.status = WEXITSTATUS(st);
  } else if (WIFSIGNALED(st)) {
    r.signal = WTERMSIG(st);
  }
  return r;
}

struct TempDir {
  std::string path;
  TempDir() {
    const char* base = getenv("TMPDIR");
    std::string templ = std::string(base && *base ? base : "/tmp") + "/kzo2c-golden-XXXXXX";
    std::vector<char> b(templ.begin(), templ.end());
    b.push_back(0);
    if (mkdtemp(b.data())) path = b.data();
  }
  ~TempDir() {
    if (path.empty()) return;
    if (DIR* d = opendir(path.c_str())) {
      while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") unlink((path + "/" + n).c_str());
      }
      closedir(d);
    }
    rmdir(path.c_str());
  }
  std::vector<std::string> entries() const {
    std::vector<std::string> v;
    if (DIR* d = opendir(path.c_str())) {
      while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") v.push_back(n);
      }
      closedir(d);
    }
    std::sort(v.begin(), v.end());
    return v;
  }
};

bool write_file(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  return static_cast<bool>(out);
}

// Shows a text with its line structure visible enough to compare by eye.
std::string show(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out += c;
    }
  }
  if (s.empty() || s.back() != '\n') out += "<no final line feed>";
  return out;
}

std::string first_difference(const std::string& want, const std::string& got) {
  size_t i = 0;
  int line = 1;
  size_t line_start = 0;
  while (i < want.size() && i < got.size() && want[i] == got[i]) {
    if (want[i] == '\n') {
      ++line;
      line_start = i + 1;
    }
    ++i;
  }
  auto line_at = [&](const std::string& s) {
    if (line_start >= s.size()) return std::string("<end of text>");
    size_t e = s.find('\n', line_start);
    std::string l = s.substr(line_start, e == std::string::npos ? std::string::npos : e - line_start);
    return "\"" + l + "\"" + (e == std::string::npos ? " (no line feed)" : "");
  };
  std::ostringstream m;
  m << "first difference in line " << line << ", column " << (i - line_start + 1) << ":\n"
    << "  expected: " << line_at(want) << "\n"
    << "  actual:   " << line_at(got) << "\n";
  return m.str();
}

void expect_text(const std::string& what, const std::string& want, const std::string& got) {
  if (want == got) return;
  ADD_FAILURE() << what << " differs.\n"
                << first_difference(want, got) << "--- expected ---\n"
                << show(want) << "\n--- actual ---\n"
                << show(got) << "\n";
}

std::vector<std::string> split_lines(const std::string& s) {
  std::vector<std::string> v;
  size_t start = 0;
  while (start < s.size()) {
    size_t e = s.find('\n', start);
    if (e == std::string::npos) e = s.size();
    v.push_back(s.substr(start, e - start));
    start = e + 1;
  }
  return v;
}

// What -g adds to a translation: a #line directive naming the source line
// before every non-empty C line of that line's code, and one directive
// that gives the C file its own line numbers back before the tail. Taking
// the directives out must give the plain translation byte for byte.
void expect_debug_lines(const std::string& plain, const std::string& debug,
                        const std::string& source, const std::string& cfile) {
  const std::string srcmark = "#line ", srcname = " \"" + source + "\"",
                    cname = " \"" + cfile + "\"";
  std::vector<std::string> lines = split_lines(debug);
  std::string stripped;
  int back = -1, last = 0, marked = 0;
  size_t head_end = debug.find(kHeadEnd);
  ASSERT_NE(head_end, std::string::npos);
  int code_from = static_cast<int>(
      std::count(debug.begin(), debug.begin() + static_cast<long>(head_end), '\n') + 2);
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string& l = lines[i];
    int number = static_cast<int>(i) + 1;  // the line's own number in the C file
    if (!starts_with(l, srcmark)) {
      stripped += l + "\n";
      // the code of the source lines: every non-empty line is marked
      if (number > code_from && back < 0 && !l.empty()) {
        ASSERT_TRUE(i > 0 && starts_with(lines[i - 1], srcmark))
            << "C line " << number << " of the line code has no #line before it: " << l;
      }
      if (starts_with(l, "  line__kzo = ") && back < 0 && number > code_from) {
        std::string n = l.substr(14, l.size() - 15);
        EXPECT_EQ(lines[i - 1], srcmark + n + srcname) << "at C line " << number;
      }
      continue;
    }
    ASSERT_GT(number, code_from) << "a #line directive before the line code: " << l;
    std::string rest = l.substr(srcmark.size());
    size_t blank = rest.find(' ');
    ASSERT_NE(blank, std::string::npos) << l;
    int n = std::atoi(rest.substr(0, blank).c_str());
    std::string name = rest.substr(blank);
    if (name == cname) {
      EXPECT_EQ(back, -1) << "two directives back to the C file";
      EXPECT_EQ(n, number + 1) << "the C file's numbering resumes wrongly: " << l;
      back = number;
    } else {
      EXPECT_EQ(name, srcname) << l;
      EXPECT_EQ(back, -1) << "a source line's directive after the tail began: " << l;
      EXPECT_GE(n, last) << "source line numbers go back: " << l;
      last = n;
      ++marked;
    }
  }
  if (!debug.empty() && debug.back() != '\n') stripped.pop_back();
  EXPECT_NE(back, -1) << "no directive back to the C file";
  expect_text("the -g output without its #line directives", plain, stripped);
}

// gtest prints parameters of failed tests; show the case, not its bytes.
void PrintTo(const Case& c, std::ostream* os) { *os << c.file << ": " << c.name; }

class Golden : public ::testing::TestWithParam<Case> {};

TEST_P(Golden, Translates) {
  const Case& c = GetParam();
  SCOPED_TRACE(c.file + ":" + std::to_string(c.line) + ": " + c.name);
  ASSERT_TRUE(c.problem.empty()) << "malformed case: " << c.problem;
  bool ok = false;
  std::string runtime = read_file(KZO_RUNTIME, &ok);
  ASSERT_TRUE(ok && !runtime.empty()) << "cannot read the runtime text " << KZO_RUNTIME;

  TempDir dir;
  ASSERT_FALSE(dir.path.empty()) << "cannot make a temporary directory";
  ASSERT_TRUE(write_file(dir.path + "/source.bas", c.source));
  RunResult r = run_kzo2c(dir.path, {"source.bas", "out.c"});
  ASSERT_TRUE(r.started) << "cannot start " << KZO2C;
  ASSERT_FALSE(r.timed_out) << "kzo2c did not finish";
  ASSERT_EQ(r.signal, 0) << "kzo2c was killed by signal " << r.signal << "\nstdout:\n"
                         << r.out << "\nstderr:\n"
                         << r.err;

  bool wants_error = false, wants_file = false;
  for (const auto& e : c.expect)
    (e.mode == "error" || e.mode == "diagnostic" ? wants_error : wants_file) = true;
  ASSERT_FALSE(wants_error && wants_file) << "a case expects either an error or a C file";

  if (wants_error) {
    // -g changes nothing in what a translation error prints
    RunResult g = run_kzo2c(dir.path, {"-g", "source.bas", "out.c"});
    EXPECT_EQ(r.status, 1) << "a translation error must end with exit status 1";
    EXPECT_EQ(g.status, 1) << "with -g";
    for (const auto& e : c.expect) {
      SCOPED_TRACE("expected block at line " + std::to_string(e.line));
      const bool report = e.mode == "error";
      expect_text(report ? "error output (standard output)" : "diagnostic (standard error)",
                  e.text, report ? r.out : r.err);
      expect_text(report ? "error output with -g" : "diagnostic with -g", e.text,
                  report ? g.out : g.err);
    }
    return;
  }

  ASSERT_EQ(r.status, 0) << "translation failed; standard output:\n"
                         << r.out << "\nstandard error:\n"
                         << r.err;
  EXPECT_EQ(r.out, "") << "a successful translation prints nothing";
  bool have_out = false;
  std::string out = read_file(dir.path + "/out.c", &have_out);
  ASSERT_TRUE(have_out) << "no output file written";
  ASSERT_TRUE(starts_with(out, runtime))
      << "the output does not start with the runtime text\n"
      << first_difference(runtime, out.substr(0, runtime.size()));
  std::string rest = out.substr(runtime.size());

  RunResult g = run_kzo2c(dir.path, {"-g", "source.bas", "outg.c"});
  ASSERT_EQ(g.status, 0) << "translation with -g failed: " << g.out << g.err;
  EXPECT_EQ(g.out + g.err, "") << "a successful translation with -g prints nothing";
  {
    SCOPED_TRACE("kzo2c -g source.bas outg.c");
    expect_debug_lines(out, read_file(dir.path + "/outg.c"), "source.bas", "outg.c");
  }

  for (const auto& e : c.expect) {
    SCOPED_TRACE("expected block at line " + std::to_string(e.line));
    if (e.mode == "full") {
      std::string want = e.text;
      if (starts_with(want, std::string(kRuntimeMark) + "\n")) {
        want = want.substr(std::strlen(kRuntimeMark) + 1);
        expect_text("output after the runtime text", want, rest);
      } else {
        expect_text("output file", want, out);
      }
    } else if (e.mode == "decls") {
      size_t m = std::string::npos;
      if (starts_with(rest, kMainLine)) {
        m = 0;
      } else {
        size_t p = rest.find(std::string("\n") + kMainLine);
        if (p != std::string::npos) m = p + 1;
      }
      ASSERT_NE(m, std::string::npos) << "no line \"" << kMainLine << "\" in the output";
      expect_text("declarations (after the runtime, before main)", e.text, rest.substr(0, m));
    } else if (e.mode == "code" || e.mode == "tail") {
      size_t h = out.find(kHeadEnd);
      ASSERT_NE(h, std::string::npos) << "no end of the head of main in the output";
      EXPECT_EQ(out.find(kHeadEnd, h + 1), std::string::npos)
          << "the end of the head of main appears twice";
      size_t code_start = h + std::strlen(kHeadEnd);
      size_t t = out.rfind(kTailStart);
      ASSERT_TRUE(t != std::string::npos && t >= code_start) << "no tail in the output";
      if (e.mode == "code") {
        expect_text("line code", e.text, out.substr(code_start, t - code_start));
      } else {
        expect_text("tail", e.text, out.substr(t));
      }
    }
  }
}

std::string case_name(const ::testing::TestParamInfo<Case>& info) { return info.param.test_name; }

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(load_cases()), case_name);

// The command line: a call without a source and an output, with a source
// that cannot be opened, or with an output that cannot be written (a full
// disk, a directory), writes one line on standard error, ends with status
// 2 and creates no file.
struct CommandLine {
  const char* name;
  std::vector<std::string> args;
  bool make_source;  // write source.bas before the call
};

void PrintTo(const CommandLine& c, std::ostream* os) { *os << c.name; }

class CommandLineTest : public ::testing::TestWithParam<CommandLine> {};

TEST_P(CommandLineTest, RefusedWithStatus2) {
  const CommandLine& p = GetParam();
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  const std::string src = " X=1\n";
  if (p.make_source) {
    ASSERT_TRUE(write_file(dir.path + "/source.bas", src));
  }
  std::vector<std::string> before = dir.entries();
  RunResult r = run_kzo2c(dir.path, p.args);
  ASSERT_TRUE(r.started);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "") << "nothing on standard output";
  ASSERT_FALSE(r.err.empty()) << "a message on standard error";
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << "one line: " << r.err;
  EXPECT_EQ(r.err.back(), '\n') << "the message ends its line: " << r.err;
  EXPECT_EQ(dir.entries(), before) << "no file created or removed";
  if (p.make_source) {
    EXPECT_EQ(read_file(dir.path + "/source.bas"), src) << "source unchanged";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Refused, CommandLineTest,
    ::testing::Values(CommandLine{"no_arguments", {}, false},
                      CommandLine{"source_only", {"source.bas"}, true},
                      CommandLine{"missing_source", {"missing.bas", "out.c"}, false},
                      CommandLine{"missing_source_only", {"missing.bas"}, false},
                      CommandLine{"option_only", {"-g"}, false},
                      CommandLine{"option_and_source_only", {"-g", "source.bas"}, true},
                      CommandLine{"output_on_a_full_disk", {"source.bas", "/dev/full"}, true},
                      CommandLine{"output_a_directory", {"source.bas", "."}, true},
                      CommandLine{"program_without_source", {"-o", "prog"}, false},
                      CommandLine{"run_without_source", {"--run"}, false},
                      CommandLine{"run_of_a_missing_source", {"--run", "missing.bas"}, false}),
    [](const ::testing::TestParamInfo<CommandLine>& p) { return std::string(p.param.name); });

// --help and --version answer on standard output with status 0 and touch
// no file, whatever follows them.
struct Inform {
  const char* name;
  std::vector<std::string> args;
  std::vector<std::string> wanted;  // texts the answer must hold
  bool exact;                       // the answer is wanted[0] exactly
};

void PrintTo(const Inform& c, std::ostream* os) { *os << c.name; }

class InformTest : public ::testing::TestWithParam<Inform> {};

TEST_P(InformTest, AnswersWithStatus0) {
  const Inform& p = GetParam();
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  ASSERT_TRUE(write_file(dir.path + "/source.bas", " X=1\n"));
  std::vector<std::string> before = dir.entries();
  RunResult r = run_kzo2c(dir.path, p.args);
  ASSERT_TRUE(r.started);
  ASSERT_FALSE(r.timed_out);
  EXPECT_EQ(r.signal, 0);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "") << "nothing on standard error";
  if (p.exact) {
    EXPECT_EQ(r.out, p.wanted[0]);
  } else {
    for (const auto& w : p.wanted) EXPECT_NE(r.out.find(w), std::string::npos) << w << " in:\n" << r.out;
  }
  EXPECT_EQ(dir.entries(), before) << "no file created or removed";
}

const std::vector<std::string> kHelp = {
    "usage: kzo2c [--classic] --run SOURCE.bas [ARGUMENTS...]\n",
    "kzo2c [-g] [--classic] -o PROGRAM SOURCE.bas\n", "kzo2c [-g] [--classic] SOURCE.bas OUTPUT.c\n",
    "  --run ", "  --classic ", "  -o PROGRAM ", "  -g ", "  --help ",
    "  --version ", "Exit status:\n", "  0 ", "  1 ", "  2 ", "FILE:LINE:COLUMN: error: MESSAGE"};
const std::string kVersion = std::string("kzo2c ") + KZO_VERSION + "\n";

INSTANTIATE_TEST_SUITE_P(
    Options, InformTest,
    ::testing::Values(Inform{"help", {"--help"}, kHelp, false},
                      Inform{"help_before_a_source", {"--help", "source.bas", "out.c"}, kHelp, false},
                      Inform{"help_after_g", {"-g", "--help"}, kHelp, false},
                      Inform{"version", {"--version"}, {kVersion}, true},
                      Inform{"version_before_a_source", {"--version", "source.bas", "out.c"}, {kVersion}, true}),
    [](const ::testing::TestParamInfo<Inform>& p) { return std::string(p.param.name); });

// Between the source and the C file, arguments are ignored, options too.
TEST(CommandLinePlaces, ArgumentsBetweenSourceAndOutputAreIgnored) {
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  ASSERT_TRUE(write_file(dir.path + "/source.bas", " X=1\n"));
  RunResult a = run_kzo2c(dir.path, {"source.bas", "a.c"});
  RunResult b = run_kzo2c(dir.path, {"source.bas", "-g", "--help", "b.c"});
  EXPECT_EQ(a.status, 0);
  EXPECT_EQ(b.status, 0);
  EXPECT_EQ(b.out + b.err, "");
  EXPECT_EQ(read_file(dir.path + "/a.c"), read_file(dir.path + "/b.c"));
}

// Limits that need sources too large to keep in a case file: the sources
// are made here, the expected error output is exact.
std::string repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// One line with `mids` nested MID$ calls in its first statement and
// `lefts` nested LEFT$ calls in its second.
std::string string_function_line(int mids, int lefts) {
  return " A$=" + repeat("MID$(", mids) + "A$" + repeat(",1)", mids) + ": B$=" +
         repeat("LEFT$(", lefts) + "A$" + repeat(",1)", lefts);
}

struct Limit {
  const char* name;
  std::string source;
  std::string error;       // exact standard output; empty: must translate
  std::string diagnostic;  // the first line of standard error
};

void PrintTo(const Limit& l, std::ostream* os) { *os << l.name; }

class LimitTest : public ::testing::TestWithParam<Limit> {};

TEST_P(LimitTest, Translates) {
  const Limit& p = GetParam();
  TempDir dir;
  ASSERT_FALSE(dir.path.empty());
  ASSERT_TRUE(write_file(dir.path + "/source.bas", p.source));
  RunResult r = run_kzo2c(dir.path, {"source.bas", "out.c"}, 120);
  ASSERT_TRUE(r.started);
  ASSERT_FALSE(r.timed_out);
  ASSERT_EQ(r.signal, 0);
  if (p.error.empty()) {
    EXPECT_EQ(r.status, 0) << r.out.substr(0, 2000);
    EXPECT_EQ(r.out, "");
  } else {
    EXPECT_EQ(r.status, 1);
    expect_text("error output", p.error, r.out);
    expect_text("diagnostic", p.diagnostic, r.err.substr(0, r.err.find('\n') + 1));
  }
}

std::vector<Limit> limits() {
  std::vector<Limit> v;
  std::string l64 = string_function_line(32, 32);
  std::string l65 = string_function_line(33, 32);
  // The count is per source line: the 65th call on line 2 is refused even
  // though each statement of the line stays below the bound.
  v.push_back({"string_functions_64_on_a_line", " X=1\n" + l64 + "\n", "", ""});
  v.push_back({"string_functions_65_on_a_line", " X=1\n" + l65 + "\n",
               l65 + "\n2 too many string functions",
               "source.bas:2:" + std::to_string(l65.rfind("LEFT$(") + 1) +
                   ": error: more than 64 MID$ and LEFT$ on one line; split the line\n"});
  // Two lines of 64 each are fine: the bound is per line.
  v.push_back({"string_functions_64_on_each_of_two_lines", l64 + "\n" + l64 + "\n", "", ""});
  std::string for_line = " FOR I=1 TO 2";
  v.push_back({"for_statements_10000", repeat(for_line + "\n", 10000), "", ""});
  v.push_back({"for_statements_10001", repeat(for_line + "\n", 10001),
               for_line + "\n10001 too many FOR statements",
               "source.bas:10001:2: error: more than 10000 FOR statements in one program\n"});
  // Every constant line doubles the value of the one before it.
  std::string doubling = "# CONSTANT A$ = \"" + std::string(1000, 'X') + "\"\n";
  for (char c = 'B'; c <= 'J'; ++c)
    doubling += std::string("# CONSTANT ") + c + "$ = \" X" + char(c - 1) + "$ X" + char(c - 1) + "$\"\n";
  v.push_back({"constant_values_beyond_the_store", doubling,
               "# CONSTANT I$ = \" XH$ XH$\"\n9 macro store full",
               "source.bas:9:17: error: the values of the constants are too long together "
               "(500000 bytes at most)\n"});
  return v;
}

INSTANTIATE_TEST_SUITE_P(Bounds, LimitTest, ::testing::ValuesIn(limits()),
                         [](const ::testing::TestParamInfo<Limit>& p) {
                           return std::string(p.param.name);
                         });

}  // namespace
