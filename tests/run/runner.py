#!/usr/bin/env python3
"""Run tests for kzo2c.

Each case is a small dialect program with its expectations.  The runner
writes the program into a fresh temporary directory, translates it with
kzo2c, checks the C file with clang -fsyntax-only, compiles it with cc and
ncurses, runs the program in a private tmux server (80x25, TERM=xterm),
feeds it keys until it exits and then checks its exit status, the files
it wrote, the text it left on the terminal and its standard error (which
must stay empty, so sanitizer runs report every finding as a failure).

Case file format (see cases/*.cases):

    === name of the case
    --- source
     PRINT "HELLO"
     END
    --- status 1                expected exit status (default 0)
    --- keys 2                  the program needs exactly 2 keys to end
    --- type                    lines typed after the first key, each
    AB\bC$                       ended by Enter ($) or not (|); \b is the
                                backspace key; a screen snapshot after each
    --- input in.txt            file written before the run
    A$
    B|
    --- file out.txt            file the program must write, exact content
    A 5 $
    --- nofile out.txt          file the program must not create
    --- message                 the terminal output must end with this text
    next without for in line 3
    --- screen                  text that must appear on a screen snapshot
    hello world
    @2,0 TEXT                   ... or must stand at row 2, column 0

With --classic the programs are classic ones (kzo2c --classic), built
without curses and run over pipes, no terminal; their cases take

    --- stdin                   standard input of the program
    --- stdout                  its whole standard output, exact
    --- report                  kzo2c refuses the source (status 1) with
                                exactly this report on standard output
    --- warning                 a line kzo2c's standard error must hold

Lines of input and file sections end in "$" (a line feed) or "|" (end of
the file without a line feed); before that terminator the escapes \\\\, \\r,
\\t, \\n, \\0 and \\xHH stand for single bytes.  Blank lines there are
ignored.  Lines that begin with "#" outside a source section are comments.
Source lines are taken as written (trailing blank lines are dropped); the
first line after "--- source" is line 1 of the program.

The extra compiler flags come from the environment variable KZO_CFLAGS.
"""

import argparse
import os
import re
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time

RUN_LIMIT = 20.0        # seconds for one program run, start to exit
GREETING_LIMIT = 10.0   # seconds until "hello world" shows
STILL_WAITING = 0.5     # seconds a program must stay alive at a wait
AFTER_LAST_KEY = 8.0    # seconds a program may run on after its last key
TRANSLATE_LIMIT = 20.0
COMPILE_LIMIT = 120.0
WIDTH, HEIGHT = 80, 25
# Warnings that newer compilers make errors in their default modes.
NEWER_ERRORS = ["-Werror=implicit-function-declaration", "-Werror=implicit-int",
                "-Werror=int-conversion", "-Werror=incompatible-pointer-types",
                "-Werror=return-type"]


class CaseError(Exception):
    pass


# ---------------------------------------------------------------- parsing

def decode_bytes_line(text, where):
    """One line of an input/file section to bytes."""
    if text.endswith("$"):
        body, tail = text[:-1], b"\n"
    elif text.endswith("|"):
        body, tail = text[:-1], b""
    else:
        raise CaseError("%s: line must end in $ or |: %r" % (where, text))
    out = bytearray()
    i = 0
    while i < len(body):
        c = body[i]
        if c != "\\":
            out += c.encode("latin-1")
            i += 1
            continue
        if i + 1 >= len(body):
            raise CaseError("%s: lone backslash in %r" % (where, text))
        e = body[i + 1]
        if e == "\\":
            out += b"\\"
        elif e == "r":
            out += b"\r"
        elif e == "t":
            out += b"\t"
        elif e == "n":
            out += b"\n"
        elif e == "0":
            out += b"\0"
        elif e == "x":
            out.append(int(body[i + 2:i + 4], 16))
            i += 2
        else:
            raise CaseError("%s: unknown escape \\%s" % (where, e))
        i += 2
    return bytes(out) + tail


class Case:
    def __init__(self, name, origin):
        self.name = name
        self.origin = origin
        self.source = None
        self.status = 0
        self.keys = None
        self.inputs = []        # (name, bytes)
        self.files = []         # (name, bytes)
        self.nofiles = []
        self.message = None
        self.typed = []         # lines typed after the first key
        self.screen = []        # (row or None, col, text)
        self.pipes = {}         # stdin, stdout, report: bytes
        self.warning = None


def parse_cases(path):
    cases = []
    case = None
    section = None          # (kind, arg, lines)
    lineno = 0

    def close_section():
        if section is None:
            return
        kind, arg, lines, where = section
        if kind == "source":
            while lines and lines[-1].strip() == "":
                lines.pop()
            case.source = "".join(l + "\n" for l in lines)
            return
        body = [l for l in lines if l.strip() != "" and not l.startswith("#")]
        if kind in ("input", "file"):
            data = b"".join(decode_bytes_line(l, where) for l in body)
            (case.inputs if kind == "input" else case.files).append((arg, data))
        elif kind in ("stdin", "stdout", "report"):
            case.pipes[kind] = b"".join(decode_bytes_line(l, where) for l in body)
        elif kind == "warning":
            case.warning = body[0]
        elif kind == "message":
            if len(body) != 1:
                raise CaseError("%s: message takes one line" % where)
            case.message = body[0]
        elif kind == "type":
            case.typed = body
        elif kind == "screen":
            for l in body:
                m = re.match(r"@(\d+),(\d+) (.*)$", l)
                if m:
                    case.screen.append((int(m.group(1)), int(m.group(2)), m.group(3)))
                else:
                    case.screen.append((None, 0, l))
        elif body:
            raise CaseError("%s: section %s takes no lines" % (where, kind))

    with open(path, encoding="latin-1") as f:
        for raw in f:
            lineno += 1
            line = raw.rstrip("\n")
            where = "%s:%d" % (os.path.basename(path), lineno)
            if line.startswith("=== "):
                close_section()
                section = None
                case = Case(line[4:].strip(), where)
                cases.append(case)
                continue
            if line.startswith("--- "):
                if case is None:
                    raise CaseError("%s: section outside a case" % where)
                close_section()
                words = line[4:].split()
                kind, args = words[0], words[1:]
                section = None
                if kind == "source":
                    section = (kind, None, [], where)
                elif kind in ("input", "file"):
                    if len(args) != 1:
                        raise CaseError("%s: %s needs a file name" % (where, kind))
                    section = (kind, args[0], [], where)
                elif kind == "nofile":
                    case.nofiles.append(args[0])
                elif kind == "status":
                    case.status = int(args[0])
                elif kind == "keys":
                    case.keys = int(args[0])
                elif kind in ("message", "screen", "type", "stdin", "stdout", "report", "warning"):
                    section = (kind, None, [], where)
                else:
                    raise CaseError("%s: unknown section %s" % (where, kind))
                continue
            if section is None:
                if line.strip() == "" or line.startswith("#"):
                    continue
                raise CaseError("%s: text outside a section: %r" % (where, line))
            section[2].append(line)
    close_section()
    for c in cases:
        if c.source is None:
            raise CaseError("%s: case %r has no source" % (c.origin, c.name))
    names = [c.name for c in cases]
    if len(set(names)) != len(names):
        raise CaseError("%s: duplicate case names" % path)
    return cases


# ---------------------------------------------------------------- terminal

ESCAPES = re.compile(
    rb"\x1b\[[0-?]*[ -/]*[@-~]"        # CSI
    rb"|\x1b\][^\x07\x1b]*(?:\x07|\x1b\\)"  # OSC
    rb"|\x1b[()*+][0-~]"               # charset designation
    rb"|\x1b[ -/]*[0-~]"               # other two-byte escapes
    rb"|[\x00-\x08\x0e\x0f\r]")


def plain(data):
    return ESCAPES.sub(b"", data)


class Terminal:
    """A private tmux server holding one window that runs the program."""

    def __init__(self, workdir):
        self.workdir = workdir
        self.socket = "kzorun%d" % os.getpid()
        self.env = dict(os.environ)
        self.env.pop("TMUX", None)
        self.env.pop("TMUX_PANE", None)
        # curses keeps its allocations until exit; leak reports of
        # sanitizer builds would only show those
        self.env.setdefault("ASAN_OPTIONS", "detect_leaks=0")
        self.started = False

    def tmux(self, *args, check=True):
        cmd = ["tmux", "-L", self.socket, "-f", "/dev/null"] + list(args)
        r = subprocess.run(cmd, env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                           timeout=10)
        if check and r.returncode != 0:
            raise CaseError("tmux %s failed: %s" % (args[0], r.stderr.decode(errors="replace").strip()))
        return r.stdout

    def start(self):
        d = shlex.quote(self.workdir)
        script = ("cd %s || exit; while [ ! -e go ]; do sleep 0.02; done; "
                  "./prog 2>stderr.txt; echo $? > status.tmp; mv status.tmp status; "
                  "sleep 600" % d)
        self.tmux("new-session", "-d", "-s", "run", "-x", str(WIDTH), "-y", str(HEIGHT),
                  "-e", "TERM=xterm", "-c", self.workdir, "sh", "-c", script)
        self.started = True
        self.tmux("set-option", "-t", "run", "status", "off")
        self.tmux("resize-window", "-t", "run", "-x", str(WIDTH), "-y", str(HEIGHT), check=False)
        log = os.path.join(self.workdir, "transcript")
        self.tmux("pipe-pane", "-t", "run", "-O", "cat > %s" % shlex.quote(log))
        # the pipe must be reading before the program writes its first byte
        time.sleep(0.05)
        with open(os.path.join(self.workdir, "go"), "w"):
            pass

    def key(self):
        self.tmux("send-keys", "-t", "run", "x")

    def type(self, line):
        if line[-1:] not in ("$", "|"):
            raise CaseError("a typed line must end in $ or |: %r" % line)
        for k, text in enumerate(line[:-1].split("\\b")):
            if k:
                self.tmux("send-keys", "-t", "run", "BSpace")
            if text:
                self.tmux("send-keys", "-t", "run", "-l", text)
        if line.endswith("$"):
            self.tmux("send-keys", "-t", "run", "Enter")

    def screen(self):
        out = self.tmux("capture-pane", "-t", "run", "-p", check=False)
        return out.decode("latin-1").split("\n")

    def stop(self):
        if self.started:
            self.tmux("kill-server", check=False)
            self.started = False


# ---------------------------------------------------------------- one case

def show(data, limit=2000):
    text = repr(data)
    return text if len(text) <= limit else text[:limit] + "..."


def run_case(case, kzo2c, cflags, keep, classic=False):
    workdir = tempfile.mkdtemp(prefix="kzorun")
    problems = []
    notes = []
    try:
        if classic:
            return run_classic(case, kzo2c, cflags, workdir), notes
        with open(os.path.join(workdir, "prog.bas"), "w", encoding="latin-1") as f:
            f.write(case.source)
        for name, data in case.inputs:
            with open(os.path.join(workdir, name), "wb") as f:
                f.write(data)

        # translate: success prints nothing and exits 0
        r = subprocess.run([kzo2c, "prog.bas", "prog.c"], cwd=workdir,
                           stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                           stderr=subprocess.PIPE, timeout=TRANSLATE_LIMIT)
        if r.returncode != 0 or r.stdout or r.stderr:
            return ["kzo2c failed (status %d): %s %s" % (
                r.returncode, r.stdout.decode("latin-1"), r.stderr.decode("latin-1"))], notes

        # every accepted program must build with clang as well as with cc
        r = subprocess.run(["clang", "-fsyntax-only", "-w"] + NEWER_ERRORS + ["prog.c"], cwd=workdir,
                           stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, timeout=COMPILE_LIMIT)
        if r.returncode != 0:
            return ["clang rejects the C text:\n" + r.stdout.decode("latin-1")[-3000:]], notes

        cmd = ["cc"] + cflags + ["-o", "prog", "prog.c", "-lncurses", "-lm"]
        r = subprocess.run(cmd, cwd=workdir, stdin=subprocess.DEVNULL,
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                           timeout=COMPILE_LIMIT)
        if r.returncode != 0:
            return ["cc failed:\n" + r.stdout.decode("latin-1")[-3000:]], notes

        problems += run_program(case, workdir)
        return problems, notes
    except CaseError as e:
        return problems + [str(e)], notes
    except subprocess.TimeoutExpired as e:
        return problems + ["timed out: %s" % " ".join(map(str, e.cmd))], notes
    finally:
        if keep:
            notes.append("kept %s" % workdir)
        else:
            shutil.rmtree(workdir, ignore_errors=True)


def run_classic(case, kzo2c, cflags, workdir):
    """A classic case over pipes: the report of a refusal, or the run's
    standard output and status."""
    with open(os.path.join(workdir, "prog.bas"), "w", encoding="latin-1") as f:
        f.write(case.source)
    r = subprocess.run([kzo2c, "--classic", "prog.bas", "prog.c"], cwd=workdir,
                       stdin=subprocess.DEVNULL, capture_output=True, timeout=TRANSLATE_LIMIT)
    err = r.stderr.decode("latin-1")
    if case.warning is not None and case.warning not in err:
        return ["kzo2c's standard error lacks %r:\n%s" % (case.warning, err)]
    if "report" in case.pipes:
        if r.returncode != 1 or r.stdout != case.pipes["report"] or "prog.bas:" not in err:
            return ["kzo2c status %d, report %s, standard error %r" % (
                r.returncode, show(r.stdout), err)]
        return []
    if r.returncode != 0 or r.stdout or (err and case.warning is None):
        return ["kzo2c failed (status %d): %s %s" % (r.returncode, show(r.stdout), err)]
    for cc in (["clang", "-fsyntax-only", "-w"] + NEWER_ERRORS, ["cc"] + cflags + ["-o", "prog"]):
        r = subprocess.run(cc + ["prog.c", "-lm"], cwd=workdir, stdin=subprocess.DEVNULL,
                           capture_output=True, timeout=COMPILE_LIMIT)
        if r.returncode != 0:
            return ["%s failed:\n%s" % (cc[0], r.stderr.decode("latin-1")[-3000:])]
    r = subprocess.run(["./prog"], cwd=workdir, input=case.pipes.get("stdin", b""),
                       capture_output=True, timeout=RUN_LIMIT)
    problems = []
    if r.returncode != case.status:
        problems.append("exit status %d, expected %d" % (r.returncode, case.status))
    if r.stdout != case.pipes.get("stdout", b""):
        problems.append("standard output %s\n    expected %s" % (
            show(r.stdout), show(case.pipes.get("stdout", b""))))
    if r.stderr:
        problems.append("standard error: " + r.stderr.decode("latin-1")[-3000:])
    return problems


def run_program(case, workdir):
    problems = []
    status_path = os.path.join(workdir, "status")
    term = Terminal(workdir)
    snapshots = []
    final_screen = []
    try:
        term.start()
        t0 = time.monotonic()

        # the greeting shows and the program waits for a key
        while True:
            scr = term.screen()
            if any("hello world" in l for l in scr):
                break
            if os.path.exists(status_path):
                raise CaseError("program ended before showing hello world")
            if time.monotonic() - t0 > GREETING_LIMIT:
                raise CaseError("no hello world on the screen; screen: %r" % scr[:5])
            time.sleep(0.05)
        time.sleep(STILL_WAITING)
        snapshots.append(term.screen())
        if os.path.exists(status_path):
            raise CaseError("program did not wait for a key at the greeting")

        if case.keys is not None:
            # exactly case.keys keys: alive after each of the first ones,
            # ended after the last without any further key
            for k in range(1, case.keys + 1):
                term.key()
                for line in case.typed if k == 1 else []:
                    term.type(line)
                    time.sleep(STILL_WAITING)
                    snapshots.append(term.screen())
                if k < case.keys:
                    time.sleep(STILL_WAITING)
                    snapshots.append(term.screen())
                    if os.path.exists(status_path):
                        problems.append("program ended after %d key(s), expected %d" % (k, case.keys))
                        break
            t1 = time.monotonic()
            while not os.path.exists(status_path):
                if time.monotonic() - t1 > AFTER_LAST_KEY:
                    problems.append("program still running %d s after its %d key(s)"
                                    % (AFTER_LAST_KEY, case.keys))
                    break
                time.sleep(0.05)
        if not os.path.exists(status_path):
            while not os.path.exists(status_path):
                if time.monotonic() - t0 > RUN_LIMIT:
                    raise CaseError("program still running after %d s" % RUN_LIMIT)
                snapshots.append(term.screen())
                term.key()
                time.sleep(0.05)

        # let tmux and the transcript catch up with the last bytes
        time.sleep(0.2)
        final_screen = term.screen()
        snapshots.append(final_screen)
    finally:
        term.stop()

    with open(status_path) as f:
        status = int(f.read().strip())
    if status != case.status:
        problems.append("exit status %d, expected %d" % (status, case.status))

    with open(os.path.join(workdir, "stderr.txt"), "rb") as f:
        err = f.read()
    if err:
        problems.append("standard error not empty:\n" + err.decode("latin-1")[-3000:])

    for name, want in case.files:
        path = os.path.join(workdir, name)
        if not os.path.exists(path):
            problems.append("file %s was not written" % name)
            continue
        with open(path, "rb") as f:
            got = f.read()
        if got != want:
            problems.append("file %s differs\n  expected %s\n  got      %s" % (name, show(want), show(got)))
    for name in case.nofiles:
        if os.path.exists(os.path.join(workdir, name)):
            problems.append("file %s should not exist" % name)

    transcript = b""
    tpath = os.path.join(workdir, "transcript")
    for _ in range(20):
        if os.path.exists(tpath):
            with open(tpath, "rb") as f:
                transcript = f.read()
        if case.message is None or plain(transcript).endswith(case.message.encode("latin-1")):
            break
        time.sleep(0.05)
    text = plain(transcript)
    if case.message is not None and not text.endswith(case.message.encode("latin-1")):
        problems.append("terminal output does not end with %r; its end: %s"
                        % (case.message, show(text[-300:])))

    for row, col, want in case.screen:
        found = False
        for scr in snapshots:
            if row is None:
                found = any(want in l for l in scr)
            else:
                found = row < len(scr) and scr[row][col:col + len(want)] == want
            if found:
                break
        if not found:
            where = "" if row is None else " at row %d, column %d" % (row, col)
            problems.append("screen never showed %r%s; last screens:\n%s" % (
                want, where, "\n".join("\n".join(s).rstrip() + "\n-----" for s in snapshots[-3:])))
    return problems


# ---------------------------------------------------------------- main

def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--kzo2c", required=True, help="the translator to test")
    ap.add_argument("--case", action="append", help="run only cases whose name contains this")
    ap.add_argument("--keep", action="store_true", help="keep the temporary directories")
    ap.add_argument("--classic", action="store_true",
                    help="classic programs, run over pipes without a terminal")
    ap.add_argument("files", nargs="+", help="case files")
    a = ap.parse_args()
    # a test driver's timeout ends us with SIGTERM: unwind, so that the
    # tmux server of the running case is killed as well
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(3))

    kzo2c = os.path.abspath(a.kzo2c)
    if not os.access(kzo2c, os.X_OK):
        print("kzo2c not found: %s" % kzo2c)
        return 2
    for tool in ("clang",) if a.classic else ("tmux", "clang"):
        if shutil.which(tool) is None:
            print("%s is not installed" % tool)
            return 2
    cflags = shlex.split(os.environ.get("KZO_CFLAGS", ""))

    failed = total = 0
    for path in a.files:
        try:
            cases = parse_cases(path)
        except CaseError as e:
            print("bad case file: %s" % e)
            return 2
        for case in cases:
            if a.case and not any(s in case.name for s in a.case):
                continue
            total += 1
            t = time.monotonic()
            problems, notes = run_case(case, kzo2c, cflags, a.keep, a.classic)
            took = time.monotonic() - t
            if problems:
                failed += 1
                print("FAIL %s (%s, %.1fs)" % (case.name, case.origin, took))
                for p in problems:
                    print("    " + p.replace("\n", "\n    "))
            else:
                print("ok   %s (%.1fs)" % (case.name, took))
            for n in notes:
                print("    " + n)
            sys.stdout.flush()
    print("%d of %d cases passed" % (total - failed, total))
    return 1 if failed or total == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
