#!/usr/bin/env bash
# Times kzo2c on generated sources of growing size and prints lines per
# second, peak memory of kzo2c alone, and the growth of the time from size
# to size (with the 1M/100k ratio when both sizes run).
# usage: bench/translate.sh KZO2C [--simple] [SIZES...]
# Default sizes: 1000 10000 100000 1000000. Each size runs three times; the
# time is the median of the wall times (the CPU time of kzo2c beside it), the peak the largest maximum resident size of the
# kzo2c process itself (measured by bench/measure.c, so neither the
# generator nor this script is counted). Targets: at least 500,000 lines per
# second at 100k lines (by wall time), a 1M/100k ratio under 12 (by wall
# time and by CPU time: on a shared machine the wall time of the shorter run
# suffers more from other load), and a peak under 20 times the source size
# plus 10 MB. Exit status 1 when a translation fails, 2 when
# a target is missed.
set -euo pipefail
kzo2c=${1:?usage: translate.sh KZO2C [--simple] [SIZES...]}
shift
mode=""
if [ "${1:-}" = "--simple" ]; then mode=--simple; shift; fi
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 100000 1000000)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$kzo2c" "$here" "$work" "$mode" "${sizes[@]}" <<'PY'
import os, subprocess, sys
kzo2c, here, work, mode, *sizes = sys.argv[1:]
kzo2c = os.path.abspath(kzo2c)
sys.path.insert(0, here)
from ptyrun import median, run_plain
gen = os.path.join(here, "gensource.py")
prev = None
times = {}
cputimes = {}
missed = []
print("%10s %10s %10s %10s %10s %10s %10s %10s %10s %8s" % (
    "lines", "names", "source MB", "seconds", "lines/s", "cpu s", "cpu l/s", "peak MB", "limit MB", "growth"))
for s in map(int, sizes):
    src = os.path.join(work, "s%d.bas" % s)
    names = s // 5
    with open(src, "w") as f:
        subprocess.run([sys.executable, gen, str(s), "--names", str(names)] + ([mode] if mode else []), stdout=f, check=True)
    size = os.path.getsize(src)
    walls, cpus, peak = [], [], 0
    for _ in range(3):
        r = run_plain([kzo2c, src, os.path.join(work, "o.c")], work)
        if r.status != 0 or r.output:
            sys.exit("translation failed (status %d): %s" % (r.status, r.output[-300:].decode("latin-1")))
        walls.append(r.wall)
        cpus.append(r.cpu)
        peak = max(peak, r.maxrss_kb)
    t = median(walls)
    times[s] = t
    peak_mb = peak / 1024.0
    limit_mb = (20 * size) / (1024.0 * 1024.0) + 10
    growth = "" if prev is None else "%.1f" % (t / prev)
    c = median(cpus)
    cputimes[s] = c
    print("%10d %10d %10.2f %10.4f %10.0f %10.4f %10.0f %10.1f %10.1f %8s" % (
        s, names, size / 1e6, t, s / t, c, s / c, peak_mb, limit_mb, growth))
    if peak_mb >= limit_mb:
        missed.append("peak memory at %d lines: %.1f MB, limit %.1f MB" % (s, peak_mb, limit_mb))
    if s == 100000 and s / t < 500000:
        missed.append("speed at 100k lines: %.0f lines/s by wall time (%.0f by CPU time), target 500000" % (s / t, s / c))
    prev = t
if 100000 in times and 1000000 in times:
    ratio = times[1000000] / times[100000]
    print("1M/100k time ratio: %.1f by wall time, %.1f by CPU time (target under 12)"
          % (ratio, cputimes[1000000] / cputimes[100000]))
    cratio = cputimes[1000000] / cputimes[100000]
    if ratio >= 12 or cratio >= 12:
        missed.append("1M/100k ratio %.1f by wall time, %.1f by CPU time, target under 12"
                      % (ratio, cratio))
for m in missed:
    print("MISSED: " + m)
sys.exit(2 if missed else 0)
PY
