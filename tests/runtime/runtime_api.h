// The runtime's functions and globals as generated programs see them,
// and a way to watch a run-time stop from the outside.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern "C" {
int asc__kzo(char *string);
char *chr__kzo(int val);
int len__kzo(char *name);
void error__kzo(char *mesg, int line);
int ierr__kzo(char *mesg, int line);
char *join__kzo(int linenumber, char *first, char *second);
char *let__kzo(char *toP, char *fromP);
char *mid__kzo(char *fromP, int begin, int length);
void lineinput__kzo(int fileno, char *lineP);
char *left__kzo(char *fromP, int delta);
char *right__kzo(char *charP, int delta);
int instr__kzo(int start, char *target, char *arrow);
char *float__kzo(char *charP, double input);

extern int line__kzo;
extern char chrs__kzo[256][2];
extern FILE *file__kzo[10];
extern int eof__kzo[10];
}

// A writable copy of a text, large enough for any runtime string and more.
struct Buf {
  char data[1024];
  explicit Buf(const std::string &text = "") { set(text); }
  void set(const std::string &text) {
    std::fill(data, data + sizeof data, '\0');
    text.copy(data, sizeof data - 1);
  }
  operator char *() { return data; }
};

// What a child process left behind: how it ended and what it wrote on
// standard output.
struct Stop {
  bool exited = false;
  int status = -1;
  std::string out;
};

// Runs body in a child whose standard output goes into a pipe. A body that
// returns instead of stopping ends the child with status 99.
template <class Body> Stop run_stop(Body body) {
  Stop stop;
  int fds[2];
  if (pipe(fds) != 0) return stop;
  std::fflush(stdout);
  std::fflush(stderr);
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    dup2(fds[1], 1);
    close(fds[1]);
    body();
    std::fflush(stdout);
    _exit(99);
  }
  close(fds[1]);
  char chunk[512];
  ssize_t n;
  while ((n = read(fds[0], chunk, sizeof chunk)) > 0) stop.out.append(chunk, static_cast<size_t>(n));
  close(fds[0]);
  int wstatus = 0;
  waitpid(pid, &wstatus, 0);
  stop.exited = WIFEXITED(wstatus);
  if (stop.exited) stop.status = WEXITSTATUS(wstatus);
  return stop;
}

// Fills the one-character strings the way the generated main does.
inline void fill_chrs() {
  for (int i = 0; i < 256; i++) {
    chrs__kzo[i][0] = static_cast<char>(i);
    chrs__kzo[i][1] = 0;
  }
}
