#!/usr/bin/env python3
"""A classic line-numbered program translated with `kzo2c --classic` against
bwbasic running the same file, per pass.

usage: classic.py KZO2C [ROUNDS]

workloads/classic/mix.bas is one Microsoft-style program (loops, a numeric
and a string array, MID$/LEFT$/RIGHT$/CHR$/STR$/ASC/LEN, string comparison,
two levels of GOSUB) that prints `RESULT S C N`; it sets its passes once
(`PASSES=1000`). The translation is compiled with `cc -O2 ... -lm` and runs
at PASSES and PASSES x 200; bwbasic runs the source at PASSES / 5 and
PASSES. Both read /dev/null and write to a pipe; at PASSES their results
must be equal (word by word, numbers as numbers). The cost per pass is the
difference of the smallest CPU (and wall) times of ROUNDS rounds (default 5)
at the two counts divided by the difference of the counts. Target: the
translated program at least 300 times bwbasic's speed per pass, by CPU time.
Exit status 1 when the results differ or a step fails, 2 when the target is
missed; 0 with a note when bwbasic is not installed.
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from compare import fresh, ns, per_pass, ratio, tokens, with_passes, base_passes  # noqa: E402
from ptyrun import run_plain  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.join(HERE, "workloads", "classic", "mix.bas")
SCALE, TARGET = 200, 300.0


def translate(kzo2c, source, work, tag):
    c_file, exe = os.path.join(work, tag + ".c"), os.path.join(work, tag)
    for cmd in ([kzo2c, "--classic", source, c_file], ["cc", "-O2", c_file, "-o", exe, "-lm"]):
        r = subprocess.run(cmd, capture_output=True, text=True)
        if r.returncode != 0 or r.stdout:
            raise SystemExit("%s failed on %s:\n%s%s" % (cmd[0], source, r.stdout, r.stderr[-2000:]))
    return exe


def result(output):
    for line in output.decode("latin-1").splitlines():
        if line.strip().startswith("RESULT"):
            return tokens(line)
    return None


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    kzo2c = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    bwbasic = shutil.which("bwbasic")
    if not bwbasic:
        print("bwbasic is not installed (apt-get install -y bwbasic): the comparison is skipped")
        return 0
    base = base_passes(SOURCE)
    work = tempfile.mkdtemp(prefix="kzo2c-classic-")
    try:
        systems = {"translated": {}, "bwbasic": {}}
        for count in (base, base * SCALE):
            src = with_passes(SOURCE, count, work, "mix_%d" % count)
            systems["translated"][count] = [translate(kzo2c, src, work, "mix_%d" % count)]
        for count in (max(1, base // 5), base):
            systems["bwbasic"][count] = [bwbasic, with_passes(SOURCE, count, work, "bwb_%d" % count)]
        runs = {s: {c: {"wall": [], "cpu": []} for c in systems[s]} for s in systems}
        results = {}
        for _ in range(rounds):
            for s in systems:
                for count, argv in sorted(systems[s].items()):
                    res = run_plain(argv, fresh(work, "run"))
                    runs[s][count]["wall"].append(res.wall)
                    runs[s][count]["cpu"].append(res.cpu)
                    results[(s, count)] = result(res.output)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    want, got = results[("translated", base)], results[("bwbasic", base)]
    print("result at %d passes: translated %s, bwbasic %s" % (base, want, got))
    if want is None or want != got:
        print("WRONG RESULTS: the translated program and bwbasic differ")
        return 1
    cost = {}
    for s in systems:
        lo, hi = sorted(systems[s])
        cost[s] = (per_pass(runs[s], lo, hi, "cpu"), per_pass(runs[s], lo, hi, "wall"))
        print("%-10s passes %7d and %7d: %s ns per pass by CPU time (%s by wall time)"
              % (s, lo, hi, ns(cost[s][0]), ns(cost[s][1])))
    tr, bw = cost["translated"], cost["bwbasic"]
    print("translated is %s faster than bwbasic per pass by CPU time, %s by wall time "
          "(smallest times of %d rounds; target %.0fx)"
          % (ratio(bw[0], tr[0]), ratio(bw[1], tr[1]), rounds, TARGET))
    if tr[0] <= 0 or bw[0] / tr[0] < TARGET:
        print("MISSED: classic against bwbasic: %s, target %.0fx" % (ratio(bw[0], tr[0]), TARGET))
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main())
