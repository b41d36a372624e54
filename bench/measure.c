/* measure OUT PROGRAM [ARGS...]: runs PROGRAM and writes to the file OUT
   "maxrss_kb user_s system_s status" of that one process, from wait4.
   A small parent keeps the peak resident size honest: a child forked from
   a large process (the Python driver) would inherit its size until exec. */
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: measure OUT PROGRAM [ARGS...]\n");
    return 2;
  }
  pid_t pid = fork();
  if (pid < 0) return 2;
  if (pid == 0) {
    execvp(argv[2], argv + 2);
    _exit(127);
  }
  int status = 0;
  struct rusage ru;
  if (wait4(pid, &status, 0, &ru) < 0) return 2;
  FILE *out = fopen(argv[1], "w");
  if (!out) return 2;
  fprintf(out, "%ld %ld.%06ld %ld.%06ld %d\n", ru.ru_maxrss,
          (long)ru.ru_utime.tv_sec, (long)ru.ru_utime.tv_usec,
          (long)ru.ru_stime.tv_sec, (long)ru.ru_stime.tv_usec, status);
  fclose(out);
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}
