#!/usr/bin/env python3
"""kzo2c as an installed tool.

    tool_test.py install --build DIR --work DIR --version V
        installs the build into a prefix under --work, checks the installed
        files and the man page, then builds a small outside CMake project
        with find_package(kzo2c) and kzo2c_add_executable, runs its program
        in tmux, and breaks and mends its source to check the failing build.

    tool_test.py debug --kzo2c PATH --work DIR
        translates with -g and checks that a sanitizer report, the compiler's
        line table and the debugger name the lines of the dialect source.

    tool_test.py build --kzo2c PATH --work DIR
        builds with -o and runs with --run in tmux (arguments, screen, exit
        status, the cache reused and shared by two runs at once), and checks
        the compiler's command line, its failure, a missing compiler and the
        colour of diagnostics.

Programs run in a private tmux server through the run tests' Terminal. The
extra compiler flags of KZO_CFLAGS go to the outside project's build.
"""

import argparse
import itertools
import os
import re
import shlex
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "run"))
import runner  # noqa: E402

STEP_LIMIT = 300  # seconds for one configure, build or install


class Failure(Exception):
    pass


def check(cond, message):
    if not cond:
        raise Failure(message)


def sh(cmd, cwd=None, env=None, limit=STEP_LIMIT):
    """Runs cmd; returns (status, standard output and error as one text)."""
    r = subprocess.run(cmd, cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=limit)
    return r.returncode, r.stdout.decode("latin-1")


def must(cmd, **kw):
    status, out = sh(cmd, **kw)
    check(status == 0, "%s failed (%d):\n%s" % (" ".join(cmd), status, out[-3000:]))
    return out


def fresh(path):
    shutil.rmtree(path, ignore_errors=True)
    os.makedirs(path)
    return path


def write(path, text):
    with open(path, "w") as f:
        f.write(text)


SERVERS = itertools.count()


def terminal(workdir):
    """A runner.Terminal on a socket of its own: a server just killed may
    still hold the last one."""
    term = runner.Terminal(workdir)
    term.socket += "_%d" % next(SERVERS)
    return term


def run_in_tmux(workdir, program, keys_limit=20.0, env=None, timing=None):
    """Runs program (copied to workdir/prog) in tmux, pressing keys until it
    ends. Returns (exit status, standard error, screens seen); the seconds
    until the greeting showed go to the list timing."""
    for name in ("go", "status", "stderr.txt", "transcript"):
        if os.path.exists(os.path.join(workdir, name)):
            os.remove(os.path.join(workdir, name))
    if os.path.abspath(program) != os.path.join(workdir, "prog"):
        shutil.copy(program, os.path.join(workdir, "prog"))
    term = terminal(workdir)
    if env:
        term.env.update(env)
    status_path = os.path.join(workdir, "status")
    screens = []
    try:
        term.start()
        t0 = time.monotonic()
        while not any("hello world" in l for l in term.screen()):
            check(not os.path.exists(status_path), "the program ended before its greeting")
            check(time.monotonic() - t0 < runner.GREETING_LIMIT, "no greeting on the screen")
            time.sleep(0.05)
        if timing is not None:
            timing.append(time.monotonic() - t0)
        while not os.path.exists(status_path):
            check(time.monotonic() - t0 < keys_limit, "the program is still running")
            screens.append(term.screen())
            term.key()
            time.sleep(0.1)
        time.sleep(0.2)
        screens.append(term.screen())
    finally:
        term.stop()
    with open(status_path) as f:
        status = int(f.read().strip())
    with open(os.path.join(workdir, "stderr.txt"), "rb") as f:
        err = f.read().decode("latin-1")
    return status, err, screens


def seen(screens, text):
    return any(text in l for s in screens for l in s)


# ---------------------------------------------------------------- install

PROJECT = """cmake_minimum_required(VERSION 3.16)
project(count C)
find_package(kzo2c ${WANT} REQUIRED)
kzo2c_add_executable(count count.bas)
kzo2c_add_executable(countg count.bas OPTIONS -g)
kzo2c_add_executable(classic classic.bas OPTIONS --classic)
"""

CLASSIC = """10 FOR I=1 TO 3: PRINT "CLASSIC";I: NEXT I
"""

GOOD = """ FOR I=1 TO 3
 PRINT "COUNT";I
 NEXT I
 END
"""

# line 2: a keyword where a label would stand
BAD = """ FOR I=1 TO 3
PRINT "COUNT";I
 NEXT I
 END
"""

MENDED = GOOD.replace('"COUNT"', '"MENDED"')

MAN_SECTIONS = ["NAME", "SYNOPSIS", "DESCRIPTION", "OPTIONS", "THE DIALECT IN BRIEF",
                "EXIT STATUS", "DIAGNOSTICS", "EXAMPLES", "FILES", "SEE ALSO"]


def test_install(a):
    work = fresh(os.path.abspath(a.work))
    prefix = os.path.join(work, "prefix")
    must(["cmake", "--install", a.build, "--prefix", prefix])

    files = {
        "bin/kzo2c": True, "bin/gridbot": True,
        "share/man/man1/kzo2c.1": False, "share/kzo2c/ADD.BAS": False,
        "share/kzo2c/README.md": False,
        "lib/cmake/kzo2c/kzo2cConfig.cmake": False,
        "lib/cmake/kzo2c/kzo2cConfigVersion.cmake": False,
    }
    for name, executable in files.items():
        path = os.path.join(prefix, name)
        check(os.path.isfile(path), "not installed: " + name)
        if executable:
            check(os.access(path, os.X_OK), "not executable: " + name)
    kzo2c = os.path.join(prefix, "bin", "kzo2c")
    out = must([kzo2c, "--version"])
    check(out == "kzo2c %s\n" % a.version, "installed --version says %r" % out)
    print("ok   installed files, kzo2c --version")

    # The man page renders without a warning and has its sections.
    man = os.path.join(prefix, "share/man/man1/kzo2c.1")
    env = dict(os.environ, MANWIDTH="80", LC_ALL="C.UTF-8", MAN_KEEP_FORMATTING="")
    r = subprocess.run(["man", "--warnings", "-l", man], env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    page = r.stdout.decode("utf-8", "replace")
    check(r.returncode == 0 and not r.stderr,
          "man -l: status %d, warnings:\n%s" % (r.returncode, r.stderr.decode("utf-8", "replace")))
    page = re.sub(".\b", "", page)
    for section in MAN_SECTIONS:
        check(re.search("^" + section + "$", page, re.M), "man page without section " + section)
    check("kzo2c " + a.version in page, "man page without the version")
    r = subprocess.run(["groff", "-man", "-ww", "-z", man], stdin=subprocess.DEVNULL,
                       stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
    check(r.returncode == 0 and not r.stderr, "groff -ww: " + r.stderr.decode("utf-8", "replace"))
    print("ok   man page renders without warnings")

    # An outside project against the installed package.
    proj = fresh(os.path.join(work, "project"))
    build = os.path.join(proj, "build")
    write(os.path.join(proj, "CMakeLists.txt"), PROJECT)
    write(os.path.join(proj, "count.bas"), GOOD)
    write(os.path.join(proj, "classic.bas"), CLASSIC)
    cflags = os.environ.get("KZO_CFLAGS", "")
    configure = ["cmake", "-S", proj, "-B", build, "-DCMAKE_PREFIX_PATH=" + prefix,
                 "-DCMAKE_C_FLAGS=" + cflags, "-DCMAKE_EXE_LINKER_FLAGS=" + cflags]
    out = must(configure + ["-DWANT=1.0"])
    with open(os.path.join(build, "CMakeCache.txt")) as f:
        cache = f.read()
    want_dir = os.path.join(prefix, "lib", "cmake", "kzo2c")
    check("kzo2c_DIR:PATH=%s\n" % want_dir in cache, "kzo2c found elsewhere than " + want_dir)
    build_cmd = ["cmake", "--build", build, "--", "-j2"]
    out = must(build_cmd)
    program = os.path.join(build, "count")
    check(os.access(program, os.X_OK), "no program count after the build")
    with open(os.path.join(build, "countg.c")) as f:
        check('#line 2 "%s"' % os.path.join(proj, "count.bas") in f.read(),
              "OPTIONS -g did not reach kzo2c")
    status, err, screens = run_in_tmux(fresh(os.path.join(work, "run")), program)
    check(status == 0 and not err, "count: status %d, standard error %r" % (status, err))
    for n in (1, 2, 3):
        check(seen(screens, "COUNT %d" % n), "count never showed COUNT %d: %r" % (n, screens[-1]))
    # A classic program is a console program linked without curses.
    out = must([os.path.join(build, "classic")])
    check(out == "CLASSIC 1 \nCLASSIC 2 \nCLASSIC 3 \n", "classic printed %r" % out)
    link = must(["cmake", "--build", build, "--target", "classic", "--", "-B", "VERBOSE=1"])
    check("curses" not in link, "the classic program was linked with curses:\n" + link[-2000:])
    print("ok   outside project: a --classic program built and run without curses")
    out = must(build_cmd)
    check("Translating" not in out, "an unchanged source was translated again:\n" + out)
    print("ok   outside project: built with the installed package, runs in tmux")

    # A translation error fails the build, shows kzo2c's report and the
    # editor line, and leaves no C file for a later build to trust.
    write(os.path.join(proj, "count.bas"), BAD)
    source = os.path.join(proj, "count.bas")
    for attempt in (1, 2):
        status, out = sh(build_cmd)
        check(status != 0, "attempt %d: a build with a translation error passed:\n%s" % (attempt, out))
        check('PRINT "COUNT";I\n2 keyword as label\n' in out,
              "attempt %d: no kzo2c report in the build output:\n%s" % (attempt, out[-3000:]))
        check(re.search("^%s:2:1: error: PRINT is a reserved word" % re.escape(source), out, re.M),
              "attempt %d: no SOURCE:LINE: error: line on a line of its own:\n%s" % (attempt, out[-3000:]))
        for name in ("count.c", "count.c.part"):
            check(not os.path.exists(os.path.join(build, name)),
                  "attempt %d: %s left after the failed translation" % (attempt, name))
    write(os.path.join(proj, "count.bas"), MENDED)
    out = must(build_cmd)
    with open(os.path.join(build, "count.c")) as f:
        check('"MENDED"' in f.read(), "the mended source was not translated")
    print("ok   a translation error fails the build twice, the mended source builds")

    # The version file: a newer major version is not this package.
    status, out = sh(configure + ["-DWANT=2.0"])
    check(status != 0, "find_package(kzo2c 2.0) accepted version %s" % a.version)
    print("ok   find_package(kzo2c 2.0) refused")


# ---------------------------------------------------------------- debug

# no END: the program runs off its last line into the tail, whose code is
# then in the line table under the C file's own numbers
DEBUG_SOURCE = """ X=1
 Y=0

 Z=X/Y
 PRINT "DONE"
"""
DIVISION_LINE = 4


def test_debug(a):
    work = fresh(os.path.abspath(a.work))
    write(os.path.join(work, "prog.bas"), DEBUG_SOURCE)
    must([a.kzo2c, "-g", "prog.bas", "prog.c"], cwd=work)
    with open(os.path.join(work, "prog.c")) as f:
        text = f.read()
    check('#line %d "prog.bas"' % DIVISION_LINE in text, "no #line for the division's line")

    cmd = ["cc", "-g", "-O0", "-fsanitize=float-divide-by-zero",
           "-o", "prog", "prog.c", "-lncurses", "-lm"]
    must(cmd, cwd=work)
    # the report must not stop the program: its normal end is checked too
    status, err, screens = run_in_tmux(work, os.path.join(work, "prog"),
                                       env={"UBSAN_OPTIONS": "halt_on_error=0"})
    check(status == 0, "exit status %d; standard error:\n%s" % (status, err))
    check(seen(screens, "DONE"), "the program never showed DONE")
    check(re.search(r"^prog\.bas:%d:\d+: runtime error: division by zero" % DIVISION_LINE, err, re.M),
          "the sanitizer did not name prog.bas:%d:\n%s" % (DIVISION_LINE, err))
    print("ok   sanitizer report names prog.bas:%d" % DIVISION_LINE)

    # The line table: a breakpoint on the BASIC line, and its address back.
    check(shutil.which("gdb"), "gdb is not installed")
    out = must(["gdb", "-batch", "-nx", "-ex", "break prog.bas:%d" % DIVISION_LINE, "./prog"],
               cwd=work, limit=60)
    m = re.search(r"Breakpoint 1 at (0x[0-9a-f]+): file (\S*/)?prog\.bas, line %d\." % DIVISION_LINE, out)
    check(m, "gdb cannot break at prog.bas:%d:\n%s" % (DIVISION_LINE, out))
    out = must(["addr2line", "-e", "prog", m.group(1)], cwd=work)
    check(re.match(r"(\S*/)?prog\.bas:%d( |$)" % DIVISION_LINE, out.strip()),
          "addr2line says " + out)
    # past the last source line the C file's own numbers are back
    lines = text.split("\n")
    end = next(i for i, l in enumerate(lines) if l == "end__kzo:") + 2
    out = must(["gdb", "-batch", "-nx", "-ex", "info line prog.c:%d" % end, "./prog"],
               cwd=work, limit=60)
    check(re.search(r'Line %d of "prog\.c" starts at address' % end, out),
          "prog.c:%d (%s) is not in the line table:\n%s" % (end, lines[end - 1], out))
    print("ok   gdb breaks at prog.bas:%d, addr2line maps it back; prog.c resumes" % DIVISION_LINE)

    # A source name that C would misread unless escaped.
    odd = 'o"d\\d\tname.bas'
    write(os.path.join(work, odd), DEBUG_SOURCE)
    must([a.kzo2c, "-g", odd, "odd.c"], cwd=work)
    with open(os.path.join(work, "odd.c")) as f:
        check('#line 4 "o\\"d\\\\d\\011name.bas"\n' in f.read(), "the odd name is not escaped")
    must(["cc", "-g", "-c", "-o", "odd.o", "odd.c"], cwd=work)
    print("ok   an odd source name compiles")

    # On one terminal the report and the editor line stay on lines of their own.
    write(os.path.join(work, "bad.bas"), " X=1\nPRINT X\n")
    status, out = sh([a.kzo2c, "bad.bas", "bad.c"], cwd=work)
    check(status == 1 and out == "PRINT X\n2 keyword as label\nbad.bas:2:1: error: PRINT is a reserved "
          "word and cannot stand in column 1 as a label; start a statement line with a blank\n"
          "PRINT X\n^\n",
          "one stream for both: status %d, %r" % (status, out))
    print("ok   report and error line on one stream")

    # An answer that cannot be written is a failure, not a success.
    if os.path.exists("/dev/full"):
        for option in ("--help", "--version"):
            with open("/dev/full", "w") as full:
                r = subprocess.run([a.kzo2c, option], stdin=subprocess.DEVNULL, stdout=full,
                                   stderr=subprocess.PIPE, timeout=60)
            check(r.returncode == 2 and r.stderr == b"kzo2c: cannot write standard output\n",
                  "%s to a full device: status %d, %r" % (option, r.returncode, r.stderr))
        print("ok   --help and --version on a full device end with status 2")


# ---------------------------------------------------------------- build

ARGS_SOURCE = """ PRINT "ARGC";ARGC
 PRINT ARGV$(1);"+";ARGV$(2)
 PAUSE
 X$=ARGV$(ARGC)
"""
ARGS = ["one", "two words"]
STOP = "index overflow in line 4"

# records its arguments, then compiles
FAKE_CC = """#!/bin/sh
printf '%s\\n' "$@" > "$(dirname "$0")/cc-args"
exec cc "$@"
"""


def wrapper(workdir, command, redirect=""):
    """workdir/prog: a script that runs command, for run_in_tmux."""
    path = os.path.join(workdir, "prog")
    write(path, "#!/bin/sh\nexec %s %s\n" % (" ".join(shlex.quote(w) for w in command), redirect))
    os.chmod(path, 0o755)
    return path


def check_run(workdir, command, env, what, timing=None):
    status, err, screens = run_in_tmux(workdir, wrapper(workdir, command), env=env, timing=timing)
    check(status == 1, "%s: exit status %d, not the program's 1; stderr %r" % (what, status, err))
    for text in ("ARGC 3", "one+two words", STOP):
        check(seen(screens, text), "%s never showed %r: %r" % (what, text, screens[-1]))


def cached(cache):
    d = os.path.join(cache, "kzo2c")
    return sorted(os.path.join(d, n) for n in os.listdir(d)) if os.path.isdir(d) else []


def test_build(a):
    work = fresh(os.path.abspath(a.work))
    kzo2c = os.path.abspath(a.kzo2c)
    source = os.path.join(work, "args.bas")
    write(source, ARGS_SOURCE)
    cache = os.path.join(work, "cache")
    env = dict(os.environ, XDG_CACHE_HOME=cache)

    # -o: the compiler's command line, and a program that runs as built
    write(os.path.join(work, "fakecc"), FAKE_CC)
    os.chmod(os.path.join(work, "fakecc"), 0o755)
    program = os.path.join(work, "args")
    must([kzo2c, "-g", "-o", program, source], cwd=work,
         env=dict(env, CC=os.path.join(work, "fakecc"), CFLAGS="-O0 -DX=1", LDFLAGS="-L."))
    with open(os.path.join(work, "cc-args")) as f:
        args = f.read().split("\n")
    check(args[:4] == ["-O2", "-O0", "-DX=1", "-g"] and args[-4:] == ["-L.", "-lncurses", "-lm", ""],
          "compiler arguments %r" % args)
    check(not [n for n in os.listdir(work) if n.endswith(".c")], "a C file was left")
    check_run(fresh(os.path.join(work, "run-o")), [program] + ARGS, env, "-o program")
    print("ok   -o: -O2, $CFLAGS, -g, $LDFLAGS, curses; the program runs")

    # --run: the first start builds, the second reuses the build
    times = []
    check_run(fresh(os.path.join(work, "run1")), [kzo2c, "--run", source] + ARGS, env, "--run",
              times)
    first = cached(cache)
    check(len(first) == 1, "the cache holds %r" % first)
    inode = os.stat(first[0]).st_ino
    check_run(fresh(os.path.join(work, "run2")), [kzo2c, "--run", source] + ARGS, env,
              "second --run", times)
    check(cached(cache) == first and os.stat(first[0]).st_ino == inode,
          "the second --run built again: %r" % cached(cache))
    print("ok   --run: arguments, screen, exit status; started after %.2f s, then %.2f s "
          "from the cache" % tuple(times))

    # two runs at once of a new build: both run, one build stays
    shutil.rmtree(cache)
    runs = [subprocess.Popen([kzo2c, "--run", source] + ARGS, cwd=work, env=dict(env, TERM="xterm"),
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
            for _ in range(2)]
    for r in runs:
        out = r.communicate(timeout=STEP_LIMIT)[0].decode("latin-1")
        check(r.returncode == 1 and out.endswith(STOP), "a run at once: %d %r" % (r.returncode, out[-300:]))
    check(len(cached(cache)) == 1, "two runs at once left %r" % cached(cache))
    print("ok   two --runs at once")

    # the compiler fails, is missing, or PATH is unset; a translation error
    # compiles nothing
    write(os.path.join(work, "bad.bas"), " X=-1\n")
    nopath = dict(env)
    nopath.pop("PATH", None)
    nopath.pop("CC", None)
    for what, cmd, cc_env, status, last in [
            ("CC=false", [source], dict(env, CC="false"), 1, "kzo2c: the C compiler (false) failed"),
            ("missing compiler", [source], dict(env, CC="/nonexistent/cc"), 2,
             "kzo2c: no C compiler: /nonexistent/cc is not found"),
            ("unset PATH", [source], nopath, 2, "kzo2c: no C compiler: cc is not found on PATH"),
            ("translation error", ["bad.bas"], dict(env, CC="false"), 1, "   ^")]:
        r = subprocess.run([kzo2c, "-o", "never"] + cmd, cwd=work, env=cc_env, stdin=subprocess.DEVNULL,
                           capture_output=True, timeout=STEP_LIMIT)
        err = r.stderr.decode("latin-1")
        lines = err.rstrip("\n").split("\n")
        check(r.returncode == status and lines[-1].startswith(last) and
              (status == 1 or len(lines) == 1) and not os.path.exists(os.path.join(work, "never")),
              "%s: status %d, standard error %r" % (what, r.returncode, err))
    print("ok   CC=false, a missing compiler, an unset PATH, a translation error")

    # colour only on a terminal, never with NO_COLOR or TERM=dumb
    for extra, wanted in [({}, True), ({"NO_COLOR": "1"}, False), ({"TERM": "dumb"}, False)]:
        term = terminal(fresh(os.path.join(work, "colour")))
        term.env.update(extra)
        wrapper(term.workdir, ["env"] + ["%s=%s" % kv for kv in extra.items()] +
                [kzo2c, os.path.join(work, "bad.bas"), "bad.c"], "2>&1")
        try:
            term.start()
            t0 = time.monotonic()
            while not os.path.exists(os.path.join(term.workdir, "status")):
                check(time.monotonic() - t0 < 10, "kzo2c did not end in tmux")
                time.sleep(0.05)
            screen = term.tmux("capture-pane", "-t", "run", "-p", "-e").decode("latin-1")
        finally:
            term.stop()
        check(("\033[" in screen) == wanted and "^" in screen,
              "colour %s with %r: %r" % ("missing" if wanted else "shown", extra, screen))
    print("ok   colour on a terminal, none with NO_COLOR or TERM=dumb")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("what", choices=["install", "debug", "build"])
    ap.add_argument("--build")
    ap.add_argument("--kzo2c")
    ap.add_argument("--work", required=True)
    ap.add_argument("--version")
    a = ap.parse_args()
    if shutil.which("tmux") is None:
        print("tmux is not installed")
        return 2
    try:
        {"install": test_install, "debug": test_debug, "build": test_build}[a.what](a)
    except Failure as e:
        print("FAIL " + str(e))
        return 1
    except (runner.CaseError, subprocess.TimeoutExpired) as e:
        print("FAIL " + str(e))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
