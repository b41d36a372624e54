#!/usr/bin/env python3
"""Property check of kzo2c: what it accepts compiles, what it refuses is
reported in BASIC terms, and correct programs are accepted.

For every program: kzo2c runs on it. Exit 0 with nothing printed: the C
file must pass `-fsyntax-only` with gcc and with clang (their default
modes, plus the few warnings that newer versions of both make errors).
Exit 1: standard output must be a well-formed report, the stored line, a
line break, its number, a blank and a message, possibly after the
three-line dump of the expression translator. A program of the generator
that is correct must be accepted. Anything else (another status, a crash,
a hang, output on standard error) fails.

The programs: for each seed, the generator's correct program and MUTANTS
programs derived from it with mistakes injected (genprog.py); with
--corpus, also the fuzzing corpus (tests/fuzz/seeds, tests/fuzz/regressions).

With --classic the programs are classic ones (genclassic.py; --corpus adds
the programs of ../shared/classic, which must be accepted) translated with
`kzo2c --classic`; a refusal must also name the line's place and column on
standard error (SOURCE:LINE:COLUMN: error: MESSAGE, the line, a caret), and
an accepted program may only have warnings there. A kzo2c without --classic
makes it exit 77 (skipped; 1 under CI=true).

    check.py --kzo2c build/kzo2c --seeds 2000            the full run
    check.py --kzo2c build/kzo2c --seeds 200 --mutants 3 --corpus   the sample of make test
    check.py --kzo2c build/kzo2c --classic --seeds 60 --mutants 3 --corpus   the classic sample

Prints each failure with its program, the C lines around the error and the
compiler's message; then the counts. Exits 1 when anything failed.
"""
import argparse
import concurrent.futures
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)
import genclassic  # noqa: E402
import genprog  # noqa: E402

TRANSLATE_LIMIT = 10
COMPILE_LIMIT = 60
# Warnings that newer gcc (14) and clang (16) turn into errors in their
# default modes: the C text must pass those as well.
NEWER_ERRORS = ["-Werror=implicit-function-declaration", "-Werror=implicit-int",
                "-Werror=int-conversion", "-Werror=incompatible-pointer-types",
                "-Werror=return-type"]


def stored_lines(source):
    """The source as the translator stores it: outside quoted text,
    carriage returns dropped and blank and tab runs made one blank; quoted
    text kept as it is up to its closing quote or the line end; trailing
    blanks cut; then the end marker."""
    lines, cur, quoted, i = [], [], False, 0
    data = source
    while i < len(data):
        c = data[i]
        if c == "\n":
            while cur and cur[-1] == " ":
                cur.pop()
            lines.append("".join(cur))
            cur, quoted = [], False
        elif quoted:
            cur.append(c)
            if c == '"':
                quoted = False
        elif c == "\r":
            pass
        elif c == '"':
            cur.append(c)
            quoted = True
        elif c in " \t":
            cur.append(" ")
            while i + 1 < len(data) and data[i + 1] in " \t":
                i += 1
        else:
            cur.append(c)
        i += 1
    if cur:
        while cur and cur[-1] == " ":
            cur.pop()
        lines.append("".join(cur))
    return lines + ["~"]


def isdump(d):
    """The expression translator's dump: "<values>!<expectations>\\n<C text>
    \\n<word>!<rest>\\n"."""
    parts = d.split("\n")
    return len(parts) == 4 and parts[3] == "" and "!" in parts[0] and "!" in parts[2]


def classic_report_problem(source, out, err, bas):
    """None when out and err are a well-formed --classic report: on standard
    output a line of the source as written, a line feed, its own line number
    (or, without one, its place in the file), a blank and the message; on
    standard error SOURCE:LINE:COLUMN: error: MESSAGE, that line and a caret
    line."""
    lines = [l[:-1] if l.endswith("\r") else l for l in source.split("\n")]
    m = re.fullmatch(r"(.*)\n(\d+) ([^\n]+)", out, re.S)
    if not m:
        return "not a report of the form LINE\\nNUMBER MESSAGE"
    text, number, message = m.groups()
    places = [i for i, l in enumerate(lines, 1) if l == text]
    own = lambda l: (re.match(r"\s*(\d+)", l) or [None, None])[1]
    if not [i for i in places if number in (own(lines[i - 1]), str(i))]:
        return "the reported line %r with number %s is no line of the source" % (text, number)
    err = re.sub("^(%s)*" % WARNING, "", err)
    e = re.fullmatch(r"%s:(\d+):(\d+): error: (.*)\n(.*)\n *\^\n" % re.escape(bas), err)
    if not e or int(e.group(1)) not in places or e.group(3) != message or e.group(4) != text:
        return "standard error is not %s:LINE:COLUMN: error: %s with the line and a caret: %r" % (
            bas, message, err)
    return None


WARNING = r"[^\n]*:\d+(:\d+)?: warning: [^\n]*\n([^\n]*\n *\^\n)?"


def report_problem(source, out):
    """None when out is a well-formed report for source, else what is wrong."""
    lines = stored_lines(source)
    for n, line in enumerate(lines, 1):
        head = "%s\n%d " % (line, n)
        at = out.rfind(head)
        while at >= 0:
            message = out[at + len(head):]
            if message and "\n" not in message and (at == 0 or isdump(out[:at])):
                return None
            at = out.rfind(head, 0, at)
    return "not a report of the form LINE\\nNUMBER MESSAGE for a line of the source"


def diagnostic_problem(source, bas, out, err):
    """None when err is the diagnostic of the report's line: SOURCE:LINE:
    COLUMN: error: MESSAGE, that line as written, and a caret within it or
    just after it."""
    number = out.rsplit("\n", 1)[-1].split(" ")[0]
    lines = err.split("\n")
    m = re.match(r"%s:%s:(\d+): error: \S" % (re.escape(bas), number), lines[0])
    if not m or len(lines) != 4 or lines[3]:
        return "standard error is not a diagnostic of line %s: %r" % (number, err)
    written = source.split("\n")[int(number) - 1].split("\0")[0]
    written = written[:-1] if written.endswith("\r") else written
    column = int(m.group(1))
    caret = "".join("\t" if c == "\t" else " " for c in written[:column - 1]) + "^"
    if lines[1] != written or lines[2] != caret or column > len(written) + 1:
        return "the diagnostic does not show line %s with a caret in it: %r" % (number, err)
    return None


class Compiler:
    """gcc and clang -fsyntax-only on generated files; the runtime text that
    opens every file is precompiled once when the file starts with it."""

    def __init__(self, work, runtime, cflags):
        self.work = work
        self.cflags = cflags
        self.runtime = None
        if runtime and os.path.exists(runtime):
            with open(runtime, "rb") as f:
                self.runtime = f.read()
            header = os.path.join(work, "rt.h")
            with open(header, "wb") as f:
                f.write(self.runtime)
            ok = subprocess.run(["gcc", "-w", "-x", "c-header"] + cflags + [header, "-o", header + ".gch"],
                                capture_output=True).returncode == 0
            ok = ok and subprocess.run(["clang", "-w", "-x", "c-header"] + cflags + [header, "-o", header + ".pch"],
                                       capture_output=True).returncode == 0
            if not ok:
                self.runtime = None
            self.header = header

    def check(self, cfile):
        """[(compiler, message)] of the compilers that reject cfile."""
        with open(cfile, "rb") as f:
            data = f.read()
        commands = None
        if self.runtime and data.startswith(self.runtime):
            tail = cfile[:-2] + ".tail.c"
            with open(tail, "wb") as f:
                f.write(data[len(self.runtime):])
            commands = [("gcc", ["gcc", "-fsyntax-only", "-w"] + self.cflags + ["-include", self.header, tail]),
                        ("clang", ["clang", "-fsyntax-only", "-w"] + self.cflags + ["-include-pch", self.header + ".pch", tail])]
            failed = [name for name, cmd in commands if not self.run(cmd)[0]]
            if not failed:
                return []
            # report from the whole file, with its own line numbers
            commands = [c for c in self.full(cfile) if c[0] in failed]
        else:
            commands = self.full(cfile)
        found = []
        for name, cmd in commands:
            ok, msg = self.run(cmd)
            if not ok:
                found.append((name, msg))
        return found

    def full(self, cfile):
        return [("gcc", ["gcc", "-fsyntax-only", "-w"] + self.cflags + [cfile]),
                ("clang", ["clang", "-fsyntax-only", "-w"] + self.cflags + [cfile])]

    def run(self, cmd):
        try:
            r = subprocess.run(cmd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, timeout=COMPILE_LIMIT)
        except subprocess.TimeoutExpired:
            return False, "timed out"
        return r.returncode == 0, r.stdout.decode("latin-1")


def context(cfile, message, around=3):
    """The lines of cfile that the first error of message points at."""
    m = re.search(r"\.c:(\d+):\d+: error", message)
    if not m:
        return ""
    n = int(m.group(1))
    with open(cfile, encoding="latin-1") as f:
        lines = f.read().split("\n")
    lo, hi = max(0, n - 1 - around), min(len(lines), n + around)
    return "\n".join("%6d%s %s" % (k + 1, ">" if k + 1 == n else " ", lines[k])
                     for k in range(lo, hi))


def failure_class(outcome, problem):
    """A short key that groups failures of one kind: the compiler's first
    error without its place and names, or the refusal's message."""
    if outcome.startswith("compile:"):
        m = re.search(r"error: ([^\n]*)", problem)
        # the program's own names vary from program to program
        text = re.sub(r"'[^']*(?:_kzo|\d)[^']*'", "'NAME'", m.group(1)) if m else "?"
        return "%s: %s" % (outcome[8:], text)
    last = problem.rstrip("\n").split("\n")[-1]
    if outcome == "refused":
        return "correct program refused: " + re.sub(r"^\d+ ", "", last)
    return outcome + ": " + problem.split("\n")[0][:80]


def check_one(job, kzo2c, compiler, work, classic=False):
    """Runs one program; returns (outcome, problem text or None)."""
    name, source, correct = job
    d = tempfile.mkdtemp(dir=work)
    try:
        bas, cfile = os.path.join(d, "prog.bas"), os.path.join(d, "prog.c")
        with open(bas, "w", encoding="latin-1", newline="") as f:
            f.write(source)
        try:
            r = subprocess.run([kzo2c] + ["--classic"] * classic + [bas, cfile], stdin=subprocess.DEVNULL,
                               capture_output=True, timeout=TRANSLATE_LIMIT)
        except subprocess.TimeoutExpired:
            return "bad", "kzo2c took more than %d s" % TRANSLATE_LIMIT
        out, err = r.stdout.decode("latin-1"), r.stderr.decode("latin-1")
        if r.returncode == 1 and classic:
            problem = classic_report_problem(source, out, err, bas)
            if problem:
                return "bad", "kzo2c exit 1, %s:\n%s" % (problem, out)
            return ("refused", "a correct program was refused:\n" + out) if correct else ("refused", None)
        if r.returncode == 1:
            problem = report_problem(source, out) or diagnostic_problem(source, bas, out, err)
            if problem:
                return "bad", "kzo2c exit 1, %s:\n%s" % (problem, out)
            if correct:
                return "refused", "a correct program was refused:\n" + out
            return "refused", None
        if classic and r.returncode == 0 and re.fullmatch("(%s)*" % WARNING, err):
            err = ""  # warnings (a jump to a line that does not exist)
        if r.returncode != 0 or out or err:
            return "bad", "kzo2c exit %d\nstdout: %s\nstderr: %s" % (r.returncode, out, err)
        with open(cfile, "rb") as f:
            data = f.read()
        if not data.endswith(b"\n}\n"):
            return "bad", "kzo2c exit 0 but the C file does not end with its closing line"
        failures = compiler.check(cfile)
        if not failures:
            return "accepted", None
        text = []
        for cc, msg in failures:
            text.append("%s rejects the C text:\n%s\n%s" % (
                cc, context(cfile, msg), "\n".join(msg.strip().split("\n")[:12])))
        return "compile:" + "+".join(cc for cc, _ in failures), "\n".join(text)
    finally:
        shutil.rmtree(d, ignore_errors=True)


def jobs(a):
    gen = genclassic if a.classic else genprog
    if a.corpus and a.classic:
        path = os.path.join(ROOT, "..", "shared", "classic", "programs")
        for f in sorted(os.listdir(path)) if os.path.isdir(path) else []:
            with open(os.path.join(path, f), "rb") as fh:
                yield ("classic corpus %s" % f, fh.read().decode("latin-1"), True)
    elif a.corpus:
        for folder in ("seeds", "regressions"):
            path = os.path.join(ROOT, "tests", "fuzz", folder)
            for f in sorted(os.listdir(path)):
                with open(os.path.join(path, f), "rb") as fh:
                    yield ("corpus %s/%s" % (folder, f), fh.read().decode("latin-1"), False)
    for seed in range(a.start, a.start + a.seeds):
        yield ("seed %d correct" % seed, gen.correct(seed)[2], True)
        for m, (kinds, text) in enumerate(gen.mutants(seed, a.mutants), 1):
            yield ("seed %d mutant %d (%s)" % (seed, m, ",".join(kinds)), text, False)


def classic_supported(kzo2c):
    """Whether kzo2c translates classic programs; says why not."""
    d = tempfile.mkdtemp(prefix="kzoprop")
    with open(os.path.join(d, "p.bas"), "w") as f:
        f.write("10 END\n")
    r = subprocess.run([kzo2c, "--classic", "p.bas", "p.c"], cwd=d, capture_output=True)
    shutil.rmtree(d, ignore_errors=True)
    if r.returncode == 2:
        print("%s does not translate classic programs (--classic gives exit 2: %s): "
              "the classic property check is skipped (a failure under CI=true)"
              % (kzo2c, r.stderr.decode("latin-1").strip()))
    return r.returncode != 2


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--kzo2c", required=True)
    ap.add_argument("--seeds", type=int, default=100)
    ap.add_argument("--start", type=int, default=1)
    ap.add_argument("--mutants", type=int, default=4, help="mutated programs per seed")
    ap.add_argument("--corpus", action="store_true", help="also the fuzzing corpus")
    ap.add_argument("--classic", action="store_true",
                    help="classic programs (genclassic.py; --corpus: ../shared/classic) with --classic")
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--runtime", help="the runtime text that opens every generated file "
                    "(precompiled once; runtime/runtime.c, with --classic runtime/classic.c)")
    ap.add_argument("--include", action="append", default=[],
                    help="an include folder for the compilers (curses)")
    ap.add_argument("--save", help="write every failing program into this folder")
    ap.add_argument("--show", type=int, default=20,
                    help="print this many failures in full, then only their names")
    ap.add_argument("--quiet", action="store_true",
                    help="no failure texts: the counts and the failure classes only")
    a = ap.parse_args()
    a.runtime = a.runtime or os.path.join(ROOT, "runtime", "classic.c" if a.classic else "runtime.c")
    for tool in ("gcc", "clang"):
        if shutil.which(tool) is None:
            print("%s is not installed" % tool)
            return 2
    kzo2c = os.path.abspath(a.kzo2c)
    if a.classic and not classic_supported(kzo2c):
        return 1 if os.environ.get("CI") == "true" else 77
    os.environ["LC_ALL"] = "C"  # plain quotes in the compilers' messages
    cflags = ["-I" + d for d in a.include] + NEWER_ERRORS
    work = tempfile.mkdtemp(prefix="kzoprop")
    t0 = time.monotonic()
    counts = {"programs": 0, "accepted": 0, "refused": 0, "compile": 0,
              "gcc": 0, "clang": 0, "correct refused": 0, "bad": 0}
    classes = {}
    try:
        compiler = Compiler(work, a.runtime, cflags)
        if a.save:
            os.makedirs(a.save, exist_ok=True)
        with concurrent.futures.ThreadPoolExecutor(a.jobs) as pool:
            todo = list(jobs(a))
            results = pool.map(lambda j: (j, check_one(j, kzo2c, compiler, work, a.classic)), todo)
            for (name, source, correct), (outcome, problem) in results:
                counts["programs"] += 1
                if outcome.startswith("compile:"):
                    counts["accepted"] += 1
                    counts["compile"] += 1
                    for cc in outcome[8:].split("+"):
                        counts[cc] += 1
                elif outcome == "accepted":
                    counts["accepted"] += 1
                elif outcome == "refused":
                    counts["refused"] += 1
                    if problem:
                        counts["correct refused"] += 1
                else:
                    counts["bad"] += 1
                if problem:
                    key = failure_class(outcome, problem)
                    classes.setdefault(key, []).append(name)
                    shown = sum(len(v) for v in classes.values())
                    if not a.quiet and shown > a.show:
                        print("FAIL %s: %s (%s)" % (name, outcome, key))
                    elif not a.quiet:
                        print("FAIL %s: %s" % (name, outcome))
                        print("    " + problem.replace("\n", "\n    "))
                        print("    --- the program:")
                        print("    " + source.rstrip("\n").replace("\n", "\n    "))
                        sys.stdout.flush()
                    if a.save:
                        slug = name.replace(" ", "_").replace("/", "_")
                        for ch in "(),":
                            slug = slug.replace(ch, "")
                        with open(os.path.join(a.save, slug + ".bas"), "w", encoding="latin-1") as f:
                            f.write(source)
                        with open(os.path.join(a.save, slug + ".txt"), "w", encoding="latin-1") as f:
                            f.write(outcome + "\n" + problem + "\n")
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if classes:
        print("failure classes (count, class, first program):")
        for key, names in sorted(classes.items(), key=lambda kv: (-len(kv[1]), kv[0])):
            print("%6d  %s  [%s]" % (len(names), key, names[0]))
    failed = counts["compile"] + counts["correct refused"] + counts["bad"]
    print("programs %d, accepted %d, refused %d, compile failures %d (gcc %d, clang %d), "
          "correct programs refused %d, bad reports or crashes %d (%.0f s)" % (
              counts["programs"], counts["accepted"], counts["refused"], counts["compile"],
              counts["gcc"], counts["clang"], counts["correct refused"], counts["bad"],
              time.monotonic() - t0))
    print("property check %s: %d of %d programs failed" % (
        "FAILED" if failed else "passed", failed, counts["programs"]))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
