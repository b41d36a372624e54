#!/usr/bin/env python3
"""Peak resident size of a generated program that calls MID$, LEFT$ and
RIGHT$ ten million times each (bench/workloads/strmem.bas).

usage: strmem.py KZO2C

Translates and compiles the workload, runs it on a pseudo-terminal with its
keys fed at once, and prints the program's own peak resident size (from
os.wait4) next to that of the empty program, against the 4 MB target.
"""
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ptyrun import median, run_in_pty, translate_and_compile  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
TARGET_MB = 4.0
EXPECTED = "RESULT 124 10000001"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    kzo2c = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="kzo2c-strmem-")
    try:
        prog = translate_and_compile(
            kzo2c, os.path.join(HERE, "workloads", "strmem.bas"), work, "strmem")
        empty = translate_and_compile(
            kzo2c, os.path.join(HERE, "workloads", "empty.bas"), work, "empty")
        res = run_in_pty([prog], work, timeout=300)
        with open(os.path.join(work, "out.txt")) as f:
            result = " ".join(f.read().split())
        base = [run_in_pty([empty], work).maxrss_kb for _ in range(3)]
    finally:
        shutil.rmtree(work, ignore_errors=True)
    peak = res.maxrss_kb / 1024.0
    ok = peak < TARGET_MB
    print("strmem: 10,000,000 loop passes, each calling MID$, LEFT$ and RIGHT$ once")
    print("  result %s (expected %s)" % (result, EXPECTED))
    print("  peak resident size %.1f MB (empty program %.1f MB), target under %.0f MB: %s"
          % (peak, median(base) / 1024.0, TARGET_MB, "met" if ok else "MISSED"))
    print("  run time %.2f s wall, %.2f s CPU (%.0f ns per loop pass)"
          % (res.wall, res.cpu, res.cpu / 1e7 * 1e9))
    if result != EXPECTED:
        print("WRONG RESULT")
        sys.exit(1)
    if not ok:
        sys.exit(2)


if __name__ == "__main__":
    main()
