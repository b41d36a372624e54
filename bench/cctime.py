#!/usr/bin/env python3
"""What a user waits for after kzo2c: the C compiler on the translated file.

usage: cctime.py KZO2C [SIZES...]

For each size (default 1000 and 10000 lines) gensource.py writes a program
with every statement kind, kzo2c translates it, and `cc -O0` and `cc -O2`
compile and link the C file as a user would (`cc OPT prog.c -o prog
-lncurses -lm`). Printed: lines of source and of C, kzo2c's time, and each
compile's wall and CPU time and peak resident size (of cc and the
compiler passes it waited for). kzo2c and the sizes up to 1000 lines run
three times (medians), larger compiles once. No target: the figures are
information.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from ptyrun import median, run_plain  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))


def timed(argv, cwd, runs):
    results = [run_plain(argv, cwd) for _ in range(runs)]
    for r in results:
        if r.status != 0:
            sys.exit("%s failed (status %d):\n%s" % (" ".join(argv), r.status,
                                                     r.output[-2000:].decode("latin-1")))
    return (median([r.wall for r in results]), median([r.cpu for r in results]),
            max(r.maxrss_kb for r in results) / 1024.0)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    kzo2c = os.path.abspath(sys.argv[1])
    sizes = [int(s) for s in sys.argv[2:]] or [1000, 10000]
    work = tempfile.mkdtemp(prefix="kzo2c-cctime-")
    print("%8s %8s %22s %30s %30s" % ("lines", "C lines", "kzo2c wall/cpu s",
                                      "cc -O0 wall/cpu s, peak MB", "cc -O2 wall/cpu s, peak MB"))
    try:
        for s in sizes:
            src = os.path.join(work, "p%d.bas" % s)
            c_file = os.path.join(work, "p%d.c" % s)
            with open(src, "w") as f:
                subprocess.run([sys.executable, os.path.join(HERE, "gensource.py"), str(s)],
                               stdout=f, check=True)
            tr = timed([kzo2c, src, c_file], work, 3)
            with open(c_file, "rb") as f:
                c_lines = f.read().count(b"\n")
            runs = 3 if s <= 1000 else 1
            row = []
            for opt in ("-O0", "-O2"):
                row.append(timed(["cc", opt, c_file, "-o", os.path.join(work, "p"),
                                  "-lncurses", "-lm"], work, runs))
            print("%8d %8d %22s %30s %30s" % (
                s, c_lines, "%.4f / %.4f" % tr[:2],
                "%.2f / %.2f, %.0f" % row[0], "%.2f / %.2f, %.0f" % row[1]))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("kzo2c: median of 3; cc: median of 3 up to 1000 lines, one run above")


if __name__ == "__main__":
    main()
