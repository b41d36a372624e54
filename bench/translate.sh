#!/usr/bin/env bash
# Times kzo2c on generated sources of growing size and prints lines per
# second, peak memory, and the growth of the time from size to size.
# usage: bench/translate.sh KZO2C [--simple] [SIZES...]
set -euo pipefail
kzo2c=${1:?usage: translate.sh KZO2C [--simple] [SIZES...]}
shift
mode=""
if [ "${1:-}" = "--simple" ]; then mode=--simple; shift; fi
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000 10000 100000)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$kzo2c" "$here/gensource.py" "$work" "$mode" "${sizes[@]}" <<'PY'
import os, resource, subprocess, sys, time
kzo2c, gen, work, mode, *sizes = sys.argv[1:]
prev = None
print("%10s %10s %12s %10s %10s %8s" % ("lines", "names", "seconds", "lines/s", "peak MB", "growth"))
for s in map(int, sizes):
    src = os.path.join(work, "s%d.bas" % s)
    names = s // 5
    with open(src, "w") as f:
        subprocess.run([sys.executable, gen, str(s), "--names", str(names)] + ([mode] if mode else []), stdout=f, check=True)
    size = os.path.getsize(src)
    best = None
    for _ in range(3):
        t0 = time.perf_counter()
        r = subprocess.run([kzo2c, src, os.path.join(work, "o.c")], capture_output=True, text=True)
        dt = time.perf_counter() - t0
        if r.returncode != 0:
            sys.exit("translation failed: " + r.stdout[-300:])
        best = dt if best is None else min(best, dt)
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss / 1024.0
    growth = "" if prev is None else "%.1f" % (best / prev)
    print("%10d %10d %12.4f %10.0f %10.1f %8s   (source %.1f MB)" % (s, names, best, s / best, peak, growth, size / 1e6))
    prev = best
PY
