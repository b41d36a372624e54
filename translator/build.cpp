// -o PROGRAM and --run: translate, compile with the C compiler, run.
//
// The C text goes to a private temporary directory. -o compiles it into
// PROGRAM and removes the directory. --run keeps its programs in a cache,
// one file per build named by a hash of everything that makes the program
// (the source, the options, kzo2c's version and runtime, the compiler and
// its flags); a build is made in a private directory inside the cache and
// renamed into place, so that two runs at once never see half a program.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "kzo2c.h"

#ifndef KZO2C_VERSION
#define KZO2C_VERSION "unknown"
#endif

namespace kzo {

namespace {

const int cachekept = 40;           // builds the cache keeps
const long stalebuild = 24 * 3600;  // seconds after which a left build dir goes

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::vector<std::string> words(const std::string& s) {
  std::istringstream in(s);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

bool executable(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The compiler's file: a name with a slash as it is, else found on PATH.
// Empty when there is none (an unset PATH finds nothing).
std::string findprogram(const std::string& name) {
  if (name.find('/') != std::string::npos) return executable(name) ? name : "";
  std::istringstream path(env("PATH"));
  for (std::string dir; std::getline(path, dir, ':');) {
    const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
    if (executable(candidate)) return candidate;
  }
  return "";
}

// The compiler's command line before its file arguments: $CC (cc when
// unset) as words, -O2, $CFLAGS, and -g with -g.
std::vector<std::string> compilerwords(const Options& o) {
  std::vector<std::string> cmd = words(env("CC"));
  if (cmd.empty()) cmd.push_back("cc");
  cmd.push_back("-O2");
  for (const std::string& w : words(env("CFLAGS"))) cmd.push_back(w);
  if (o.debuglines) cmd.push_back("-g");
  return cmd;
}

// Removes a build directory and the files in it.
void removebuild(const std::string& path) {
  if (DIR* d = opendir(path.c_str())) {
    while (dirent* e = readdir(d))
      if (std::strcmp(e->d_name, ".") && std::strcmp(e->d_name, ".."))
        unlink((path + "/" + e->d_name).c_str());
    closedir(d);
  }
  rmdir(path.c_str());
}

struct TempDir {
  std::string path;
  explicit TempDir(const std::string& in) {
    std::string t = in + "/kzo2c-build-XXXXXX";
    if (mkdtemp(&t[0])) path = t;
  }
  ~TempDir() {
    if (!path.empty()) removebuild(path);
  }
};

// Runs the compiler on cfile into program; its messages go where ours go.
// Returns 0, 1 when it failed, 2 when it cannot be run.
int compile(const Options& o, const std::string& cfile, const std::string& program,
            std::ostream& err) {
  std::vector<std::string> cmd = compilerwords(o);
  const std::string found = findprogram(cmd[0]);
  if (found.empty()) {
    err << "kzo2c: no C compiler: " << cmd[0] << " is not found"
        << (cmd[0].find('/') == std::string::npos ? " on PATH" : "")
        << " (set CC to a C compiler)\n";
    return 2;
  }
  cmd.insert(cmd.end(), {"-o", program, cfile});
  for (const std::string& w : words(env("LDFLAGS"))) cmd.push_back(w);
  if (!o.classic) cmd.push_back("-lncurses");
  cmd.push_back("-lm");
  std::vector<char*> argv;
  for (std::string& w : cmd) argv.push_back(&w[0]);
  argv.push_back(nullptr);
  err.flush();
  // A pipe that closes on a successful exec tells a compiler that could
  // not be started from one that failed.
  int failed[2];
  if (pipe(failed) != 0) return 2;
  fcntl(failed[1], F_SETFD, FD_CLOEXEC);
  pid_t pid = fork();
  if (pid == 0) {
    close(failed[0]);
    execv(found.c_str(), argv.data());
    int e = errno;
    if (write(failed[1], &e, sizeof e) < 0) _exit(127);
    _exit(127);
  }
  close(failed[1]);
  int e = 0;
  bool notstarted = pid < 0 || read(failed[0], &e, sizeof e) == (ssize_t)sizeof e;
  close(failed[0]);
  int status = 0;
  if (pid > 0)
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  if (notstarted) {
    err << "kzo2c: cannot run the C compiler " << found << ": "
        << std::strerror(pid < 0 ? errno : e) << "\n";
    return 2;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return 0;
  err << "kzo2c: the C compiler (" << cmd[0] << ") failed on the translation of " << o.source
      << "; that is a fault of kzo2c, please report it with the source\n";
  return 1;
}

// The source name without its .bas.
std::string stem(const std::string& name) {
  const bool bas = name.size() > 4 && name.compare(name.size() - 4, 4, ".bas") == 0;
  return bas ? name.substr(0, name.size() - 4) : name;
}

bool readtext(const std::string& path, std::string& text, std::ostream& err) {
  std::ifstream in(path, std::ios::binary);
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad() || (!in && !in.eof())) {
    err << "kzo2c: cannot open " << path << "\n";
    return false;
  }
  return true;
}

// Translates the source text into dir/NAME.c and compiles it into program.
int translateandcompile(const Options& o, const std::string& source, const std::string& dir,
                        const std::string& program, std::ostream& out, std::ostream& err,
                        bool shared) {
  const std::string base = stem(o.source.substr(o.source.rfind('/') + 1));
  const std::string cfile = dir + "/" + (base.empty() ? "program" : base) + ".c";
  std::ofstream file(cfile, std::ios::binary | std::ios::trunc);
  int status = translatesource(o, source, file, cfile, out, err, shared);
  file.close();
  out.flush();
  if (status != 0) return status;
  if (!file) {
    err << "kzo2c: cannot write " << cfile << "\n";
    return 2;
  }
  return compile(o, cfile, program, err);
}

// 128 bits of hash over text, as hex.
std::string hashname(const std::string& text) {
  std::uint64_t a = 1469598103934665603ull, b = 0x9ae16a3b2f90404full;
  for (unsigned char c : text) {
    a = (a ^ c) * 1099511628211ull;
    b = (b ^ c) * 0x100000001b3ull + 0x9e3779b97f4a7c15ull;
  }
  char buffer[33];
  std::snprintf(buffer, sizeof buffer, "%016llx%016llx", (unsigned long long)a,
                (unsigned long long)b);
  return buffer;
}

// Everything that makes the program, as one text.
std::string buildkey(const Options& o, const std::string& source) {
  std::ostringstream k;
  k << KZO2C_VERSION << '\0' << runtimetext().size() << '\0' << hashname(runtimetext()) << '\0'
    << o.debuglines << o.classic << '\0';
  std::vector<std::string> cmd = compilerwords(o);
  const std::string found = findprogram(cmd[0]);
  struct stat st {};
  stat(found.c_str(), &st);
  k << found << '\0' << (long long)st.st_size << '\0' << (long long)st.st_mtime << '\0';
  for (const std::string& w : cmd) k << w << '\0';
  k << env("LDFLAGS") << '\0' << source.size() << '\0' << source;
  return hashname(k.str());
}

std::string cachedir() {
  const std::string xdg = env("XDG_CACHE_HOME");
  if (!xdg.empty() && xdg[0] == '/') return xdg + "/kzo2c";
  const std::string home = env("HOME");
  return home.empty() ? "" : home + "/.cache/kzo2c";
}

bool makedirs(const std::string& path) {
  for (std::size_t i = 1; i <= path.size(); ++i)
    if (i == path.size() || path[i] == '/')
      if (mkdir(path.substr(0, i).c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Keeps the newest builds of the cache and removes build directories
// that a killed run left behind long ago.
void trimcache(const std::string& dir) {
  std::vector<std::pair<time_t, std::string>> builds;
  const time_t now = std::time(nullptr);
  DIR* d = opendir(dir.c_str());
  if (!d) return;
  while (dirent* e = readdir(d)) {
    const std::string name = e->d_name, path = dir + "/" + name;
    struct stat st;
    if (name[0] == '.' || lstat(path.c_str(), &st) != 0) continue;
    if (S_ISREG(st.st_mode) && name.size() == 32)
      builds.emplace_back(st.st_mtime, path);
    else if (S_ISDIR(st.st_mode) && name.compare(0, 13, "kzo2c-build-") == 0 &&
             now - st.st_mtime > stalebuild)
      removebuild(path);
  }
  closedir(d);
  if ((int)builds.size() <= cachekept) return;
  std::sort(builds.begin(), builds.end());
  for (std::size_t i = 0; i + cachekept < builds.size(); ++i) unlink(builds[i].second.c_str());
}

[[noreturn]] void runprogram(const Options& o, const std::string& program, std::ostream& out,
                             std::ostream& err) {
  std::vector<std::string> args{stem(o.source)};
  args.insert(args.end(), o.arguments.begin(), o.arguments.end());
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  out.flush();
  err.flush();
  execv(program.c_str(), argv.data());
  err << "kzo2c: cannot run " << program << ": " << std::strerror(errno) << "\n";
  err.flush();
  std::exit(2);
}

int runfromcache(const Options& o, std::ostream& out, std::ostream& err, bool shared) {
  std::string source;
  if (!readtext(o.source, source, err)) return 2;
  const std::string dir = cachedir();
  if (dir.empty() || !makedirs(dir)) {
    err << "kzo2c: cannot make the cache directory " << (dir.empty() ? "(HOME is not set)" : dir)
        << "\n";
    return 2;
  }
  const std::string program = dir + "/" + buildkey(o, source);
  if (executable(program)) {
    utime(program.c_str(), nullptr);  // the cache keeps the recently used
    runprogram(o, program, out, err);
  }
  {
    TempDir build(dir);
    if (build.path.empty()) {
      err << "kzo2c: cannot make a build directory in " << dir << "\n";
      return 2;
    }
    const std::string made = build.path + "/program";
    int status = translateandcompile(o, source, build.path, made, out, err, shared);
    if (status != 0) return status;
    if (rename(made.c_str(), program.c_str()) != 0) {
      err << "kzo2c: cannot place the program in " << dir << ": " << std::strerror(errno) << "\n";
      return 2;
    }
  }
  trimcache(dir);
  runprogram(o, program, out, err);
}

}  // namespace

int buildprogram(const Options& o, std::ostream& out, std::ostream& err, bool shared) {
  if (o.run) return runfromcache(o, out, err, shared);
  std::string source;
  if (!readtext(o.source, source, err)) return 2;
  const std::string tmp = env("TMPDIR");
  TempDir build(tmp.empty() ? "/tmp" : tmp);
  if (build.path.empty()) {
    err << "kzo2c: cannot make a temporary directory: " << std::strerror(errno) << "\n";
    return 2;
  }
  return translateandcompile(o, source, build.path, o.program, out, err, shared);
}

}  // namespace kzo
