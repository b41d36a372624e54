#!/usr/bin/env python3
"""Translated programs against two interpreters and against the runtime of
an earlier build, per pass.

usage: compare.py KZO2C [ROUNDS] [WORKLOAD...]

Each workload exists three times in bench/workloads/: NAME.bas in our
dialect, NAME.yab for yabasic and NAME.bwb, a line-numbered program for
bwbasic, line for line the same algorithm, writing the same result into
out.txt. Each form sets its number of passes once (the constant PASSES of
the .bas file, the variable PASSES or passes of the others); the driver
writes copies with other numbers.

Every program runs at two pass counts; its cost per pass is the difference
of the two smallest times of the rounds divided by the difference of the
counts, so the
fixed cost (process start, curses start-up and the key waits of a
translated program, an interpreter's start and parse) drops out:

  translated         PASSES and PASSES x SCALE
  earlier runtime    the same counts: the same C text from kzo2c, with the
                     runtime functions of bench/baseline/runtime-5874edd.c
  yabasic            PASSES and PASSES x 10
  bwbasic            PASSES / 5 (at least 1) and PASSES

At PASSES every program must give the translated program's result (and the
earlier runtime at both counts). ROUNDS (default 5) rounds run all programs
of a workload in turn, each in a fresh directory. Printed per workload: the
cost per pass by CPU time (user + system) of each, and the ratios, also by
wall time. Targets, judged by CPU time per pass: 10 times yabasic's speed,
300 times bwbasic's, and the string workload 3 times the earlier runtime.
A missing interpreter is reported and left out. Exit status 1 when results
differ, 2 when a target is missed.
"""
import os
import re
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ptyrun import median, run_in_pty, run_plain, translate_and_compile  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
WORKLOADS = ["loops", "sieve", "strings", "gosub"]
# translated programs run this many times the passes for the second count
SCALE = {"loops": 200, "sieve": 50, "strings": 100, "gosub": 100}
BASELINE = os.path.join(HERE, "baseline", "runtime-5874edd.c")
TARGETS = {"yabasic": 10.0, "bwbasic": 300.0}
BASELINE_TARGET = {"strings": 3.0}
PASSES = re.compile(r"^(.*\bPASSES\s*=\s*)(\d+)\s*$", re.IGNORECASE | re.MULTILINE)
NUMBER = re.compile(r"^-?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?$")
FUNCTION_HEAD = re.compile(r"^(?:int|char|void) \*?([a-z]+__kzo)\(.*\) \{$", re.MULTILINE)


class Peer:
    def __init__(self, name, suffix, lo, hi):
        self.name, self.suffix = name, suffix
        self.lo, self.hi = lo, hi  # pass counts from the workload's own
        self.path = shutil.which(name)


PEERS = [
    Peer("yabasic", ".yab", lambda n: n, lambda n: n * 10),
    Peer("bwbasic", ".bwb", lambda n: max(1, n // 5), lambda n: n),
]


def tokens(text):
    """The words of a result; numbers as floats, so " 5 " equals "5"."""
    out = []
    for w in text.split():
        out.append(float(w) if NUMBER.match(w) else w)
    return out


def with_passes(source, count, work, tag):
    """A copy of source whose PASSES is count; returns its path."""
    with open(source, encoding="latin-1") as f:
        text = f.read()
    new, n = PASSES.subn(lambda m: m.group(1) + str(count), text, count=1)
    if n != 1:
        raise SystemExit("%s sets no PASSES" % source)
    path = os.path.join(work, tag + os.path.splitext(source)[1])
    with open(path, "w", encoding="latin-1") as f:
        f.write(new)
    return path


def base_passes(source):
    with open(source, encoding="latin-1") as f:
        m = PASSES.search(f.read())
    if not m:
        raise SystemExit("%s sets no PASSES" % source)
    return int(m.group(2))


def functions(text):
    """name -> (start, end) of each function at the head of a C text; a
    function runs from its head line to the first line that is just "}"."""
    out = {}
    for m in FUNCTION_HEAD.finditer(text):
        if m.group(1) == "main":
            continue
        end = text.find("\n}\n", m.start())
        if end < 0:
            raise SystemExit("no end of %s" % m.group(1))
        out[m.group(1)] = (m.start(), end + 3)
    return out


def with_baseline_runtime(c_file, out_file):
    """The C file with every runtime function that the earlier runtime also
    has replaced by that earlier body."""
    with open(c_file, encoding="latin-1") as f:
        text = f.read()
    with open(BASELINE, encoding="latin-1") as f:
        old = f.read()
    old_fn = functions(old)
    spans = sorted(functions(text[:text.find("int main(")]).items(),
                   key=lambda kv: kv[1][0], reverse=True)
    replaced = 0
    for name, (a, b) in spans:
        if name in old_fn:
            oa, ob = old_fn[name]
            text = text[:a] + old[oa:ob] + text[b:]
            replaced += 1
    if replaced == 0:
        raise SystemExit("no runtime function found in %s" % c_file)
    with open(out_file, "w", encoding="latin-1") as f:
        f.write(text)


def compile_c(c_file, exe):
    import subprocess
    r = subprocess.run(["cc", "-O2", c_file, "-o", exe, "-lncurses", "-lm"],
                       capture_output=True, text=True)
    if r.returncode != 0:
        raise SystemExit("cc failed on %s:\n%s" % (c_file, r.stderr[-2000:]))
    return exe


def fresh(work, tag):
    d = os.path.join(work, tag)
    shutil.rmtree(d, ignore_errors=True)
    os.makedirs(d)
    return d


def read_result(d):
    p = os.path.join(d, "out.txt")
    if not os.path.exists(p):
        return None
    with open(p, "rb") as f:
        return f.read().decode("latin-1").strip()


def per_pass(runs, lo, hi, key):
    # the smallest time of the rounds: other load on a shared machine only
    # ever adds time, and adds more to some runs than to others
    return (min(runs[hi][key]) - min(runs[lo][key])) / float(hi - lo)


def ns(seconds):
    return "%.0f" % (seconds * 1e9) if seconds >= 1e-6 else "%.1f" % (seconds * 1e9)


def main():
    args = sys.argv[1:]
    if not args:
        sys.exit(__doc__)
    kzo2c = os.path.abspath(args[0])
    rounds = int(args[1]) if len(args) > 1 else 5
    names = args[2:] or WORKLOADS
    peers = []
    for p in PEERS:
        if p.path:
            peers.append(p)
        else:
            print("%s is not installed: its comparison is skipped "
                  "(apt-get install -y %s to include it)" % (p.name, p.name))
    work = tempfile.mkdtemp(prefix="kzo2c-bench-")
    failed = []  # wrong results
    missed = []  # below a target
    table = []
    try:
        for n in names:
            bas = os.path.join(HERE, "workloads", n + ".bas")
            base = base_passes(bas)
            # system -> (argv builder per count, in a pty?, counts)
            systems = {}
            lo, hi = base, base * SCALE[n]
            for tag, count in (("lo", lo), ("hi", hi)):
                src = with_passes(bas, count, work, "%s_%s" % (n, tag))
                exe = translate_and_compile(kzo2c, src, work, "%s_%s" % (n, tag))
                old = compile_c_baseline(work, n, tag, exe)
                systems.setdefault("translated", {})[count] = [exe]
                systems.setdefault("earlier", {})[count] = [old]
            for p in peers:
                src = os.path.join(HERE, "workloads", n + p.suffix)
                for count in (p.lo(base), p.hi(base)):
                    path = with_passes(src, count, work, "%s_%s_%d" % (n, p.name, count))
                    systems.setdefault(p.name, {})[count] = [p.path, path]
            runs = {s: {c: {"wall": [], "cpu": []} for c in systems[s]} for s in systems}
            results = {}
            for r in range(rounds):
                for s in systems:
                    for count, argv in sorted(systems[s].items()):
                        d = fresh(work, "run")
                        if s in ("translated", "earlier"):
                            res = run_in_pty(argv, d, timeout=300)
                        else:
                            res = run_plain(argv, d)
                        runs[s][count]["wall"].append(res.wall)
                        runs[s][count]["cpu"].append(res.cpu)
                        results[(s, count)] = read_result(d)
            want = results[("translated", base)]
            checks = [("earlier", lo, ("translated", lo)), ("earlier", hi, ("translated", hi))]
            checks += [(p.name, base, ("translated", base)) for p in peers]
            for s, count, ref in checks:
                got, exp = results[(s, count)], results[ref]
                if got is None or exp is None or tokens(got) != tokens(exp):
                    failed.append(n)
                    print("%s at %d passes: results differ\n  %s: %r\n  translated: %r"
                          % (n, count, s, got, exp))
            row = {"name": n, "result": " ".join(str(want).split()[1:]),
                   "passes": base}
            for s in systems:
                counts = sorted(systems[s])
                row[s] = (per_pass(runs[s], counts[0], counts[-1], "cpu"),
                          per_pass(runs[s], counts[0], counts[-1], "wall"))
            table.append(row)
        empty_exe = translate_and_compile(
            kzo2c, os.path.join(HERE, "workloads", "empty.bas"), work, "empty")
        empty = [run_in_pty([empty_exe], fresh(work, "run")) for _ in range(5)]
    finally:
        shutil.rmtree(work, ignore_errors=True)

    print("cost per pass in ns (CPU time; wall time in brackets) and how many times "
          "faster the translated program is")
    head = "%-8s %-24s %16s %16s %8s" % ("workload", "result", "translated", "earlier rt", "ratio")
    for p in peers:
        head += " %18s %8s" % (p.name, "ratio")
    print(head)
    for row in table:
        tr = row["translated"]
        line = "%-8s %-24s %16s %16s %8s" % (
            row["name"], row["result"], "%s (%s)" % (ns(tr[0]), ns(tr[1])),
            "%s (%s)" % (ns(row["earlier"][0]), ns(row["earlier"][1])),
            ratio(row["earlier"][0], tr[0]))
        for p in peers:
            pr = row[p.name]
            line += " %18s %8s" % ("%s (%s)" % (ns(pr[0]), ns(pr[1])), ratio(pr[0], tr[0]))
        print(line)
    print("wall-time ratios:")
    for row in table:
        tr = row["translated"]
        parts = ["earlier runtime %s" % ratio(row["earlier"][1], tr[1])]
        parts += ["%s %s" % (p.name, ratio(row[p.name][1], tr[1])) for p in peers]
        print("  %-8s %s" % (row["name"], ", ".join(parts)))
    print("a pass: loops one outer pass (400 inner), sieve one whole sieve, strings one "
          "pass over the 54-byte text, gosub one call of two levels")
    print("empty translated program (start-up, greeting and END): %.4f s wall, %.4f s CPU"
          % (median([e.wall for e in empty]), median([e.cpu for e in empty])))
    print("smallest times of %d rounds" % rounds)
    for row in table:
        tr = row["translated"][0]
        for p in peers:
            if tr <= 0 or row[p.name][0] / tr < TARGETS[p.name]:
                missed.append("%s against %s: %s, target %.0fx"
                              % (row["name"], p.name, ratio(row[p.name][0], tr), TARGETS[p.name]))
        t = BASELINE_TARGET.get(row["name"])
        if t and (tr <= 0 or row["earlier"][0] / tr < t):
            missed.append("%s against the earlier runtime: %s, target %.0fx"
                          % (row["name"], ratio(row["earlier"][0], tr), t))
    if failed:
        print("WRONG RESULTS: " + ", ".join(sorted(set(failed))))
        sys.exit(1)
    for m in missed:
        print("MISSED: " + m)
    if missed:
        sys.exit(2)


def ratio(a, b):
    return "%.0fx" % (a / b) if b > 0 and a / b >= 10 else ("%.1fx" % (a / b) if b > 0 else "-")


def compile_c_baseline(work, n, tag, exe):
    c_file = exe + ".c"
    old_c = os.path.join(work, "%s_%s_earlier.c" % (n, tag))
    with_baseline_runtime(c_file, old_c)
    return compile_c(old_c, old_c[:-2])


if __name__ == "__main__":
    main()
