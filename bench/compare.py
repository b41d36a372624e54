#!/usr/bin/env python3
"""Translated programs against the bwbasic interpreter.

usage: compare.py KZO2C [ROUNDS] [WORKLOAD...]

Each workload exists twice in bench/workloads/: NAME.bas in our dialect and
NAME.bwb, a line-numbered program for bwbasic, computing the same result
into out.txt. The .bas file is translated with kzo2c and compiled with
cc -O2; then, ROUNDS times (default 3), the interpreter and the translated
program run one after the other, each in a fresh directory, and their
results must be equal. Prints each workload's median times and the ratio
interpreter / translated, by wall time and by CPU time. Exit status 1
when results differ, 2 when a ratio is below the target of 100. The translated
program runs on a pseudo-terminal that feeds its keys at once; its time is
start to exit and so includes curses start-up and the (immediate) key
waits, shown on their own in the line "empty program".
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
TARGET = 100.0
NUMBER = re.compile(r"^-?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?$")


def tokens(text):
    """The words of a result; numbers as floats, so " 5 " equals "5"."""
    out = []
    for w in text.split():
        out.append(float(w) if NUMBER.match(w) else w)
    return out


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


def main():
    args = sys.argv[1:]
    if not args:
        sys.exit(__doc__)
    kzo2c = os.path.abspath(args[0])
    rounds = int(args[1]) if len(args) > 1 else 3
    names = args[2:] or WORKLOADS
    bwbasic = shutil.which("bwbasic")
    if not bwbasic:
        sys.exit("bwbasic is not installed")
    work = tempfile.mkdtemp(prefix="kzo2c-bench-")
    failed = []  # wrong results
    missed = []  # below the target
    try:
        progs = {}
        for n in names + ["empty"]:
            progs[n] = translate_and_compile(
                kzo2c, os.path.join(HERE, "workloads", n + ".bas"), work, n)
        times = {n: {"bw": [], "bwcpu": [], "tr": [], "trcpu": []} for n in names}
        results = {}
        for r in range(rounds):
            for n in names:
                d = fresh(work, "bw")
                res = run_plain([bwbasic, os.path.join(HERE, "workloads", n + ".bwb")], d)
                bw = read_result(d)
                times[n]["bw"].append(res.wall)
                times[n]["bwcpu"].append(res.cpu)
                d = fresh(work, "tr")
                res = run_in_pty([progs[n]], d)
                tr = read_result(d)
                times[n]["tr"].append(res.wall)
                times[n]["trcpu"].append(res.cpu)
                if bw is None or tr is None or tokens(bw) != tokens(tr):
                    failed.append(n)
                    print("%s, round %d: results differ\n  bwbasic:    %r\n  translated: %r"
                          % (n, r + 1, bw, tr))
                results[n] = tr
        empty = []
        for r in range(max(rounds, 5)):
            res = run_in_pty([progs["empty"]], fresh(work, "tr"))
            empty.append(res.wall)
        print("%-9s %-26s %10s %10s %9s %9s %10s %9s" % (
            "workload", "result", "bwbasic s", "kzo2c s", "ratio", "bw cpu s",
            "kzo2c cpu", "cpu ratio"))
        for n in names:
            t = times[n]
            bw, tr = median(t["bw"]), median(t["tr"])
            bwc, trc = median(t["bwcpu"]), median(t["trcpu"])
            ratio = bw / tr
            cratio = bwc / trc if trc > 0 else float("inf")
            mark = "" if ratio >= TARGET else "  below the target of %dx" % TARGET
            print("%-9s %-26s %10.3f %10.4f %8.0fx %9.3f %10.4f %8.0fx%s" % (
                n, " ".join(str(results[n]).split()[1:]), bw, tr, ratio, bwc, trc,
                cratio, mark))
            if ratio < TARGET:
                missed.append(n)
        print("%-9s %-26s %10s %10.4f   (curses start-up, greeting and END with keys queued)"
              % ("empty", "", "", median(empty)))
        print("medians of %d alternating rounds; wall time start to exit" % rounds)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if failed:
        print("WRONG RESULTS: " + ", ".join(sorted(set(failed))))
        sys.exit(1)
    if missed:
        print("MISSED the %dx target: %s" % (TARGET, ", ".join(missed)))
        sys.exit(2)


if __name__ == "__main__":
    main()
