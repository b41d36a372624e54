#!/usr/bin/env bash
# make bench: the benchmarks of kzo2c and of the programs it generates.
# usage: bench/run.sh BUILD_DIR
#   1. translated programs against the yabasic and bwbasic interpreters and
#      against the runtime of an earlier build, per pass (compare.py), with
#      BUILD_DIR/kzo2c; an interpreter that is not installed is reported
#      and left out (nothing is installed);
#   2. translation at scale (translate.sh) with a Release build of kzo2c,
#      configured in build-bench/ at the top of the repository;
#   3. the C compiler's time on the translated 1k- and 10k-line sources,
#      at -O0 and -O2, beside kzo2c's own (cctime.py);
#   4. peak memory of a generated program under heavy MID$/LEFT$/RIGHT$
#      use (strmem.py);
#   5. a classic line-numbered program translated with --classic against
#      bwbasic running the same file, per pass (classic.py).
# Prints the figures and, at the end, the targets that were missed. Exit
# status 1 when a part fails (a translation error, differing results), 0
# otherwise, missed targets included.
set -uo pipefail
build=${1:?usage: bench/run.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
case $build in /*) ;; *) build=$root/$build ;; esac
kzo2c=$build/kzo2c
[ -x "$kzo2c" ] || { echo "no kzo2c in $build: build it first (make build)"; exit 1; }

for peer in yabasic bwbasic; do
  command -v $peer >/dev/null 2>&1 \
    || echo "== $peer is not installed: the comparison of section 1 goes on without it (apt-get install -y $peer)"
done

release=$root/build-bench
echo "== Release build of kzo2c in $release"
cmake -S "$root" -B "$release" -DCMAKE_BUILD_TYPE=Release >/dev/null \
  && cmake --build "$release" --target kzo2c -j2 >/dev/null \
  || { echo "the Release build failed"; exit 1; }

echo "== machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | sed 's/.*: //'), $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg)"

failed=0
missed=()
part() {  # NAME COMMAND...: runs one part and files its status
  local name=$1; shift
  echo
  echo "== $name"
  "$@"
  case $? in
    0) ;;
    2) missed+=("$name") ;;
    *) failed=1; echo "FAILED: $name" ;;
  esac
}
part "translated programs per pass against yabasic, bwbasic and the earlier runtime (5 rounds)" \
  python3 "$here/compare.py" "$kzo2c" 5
part "translation at scale (Release build)" bash "$here/translate.sh" "$release/kzo2c"
part "what the C compiler adds (Release build of kzo2c)" python3 "$here/cctime.py" "$release/kzo2c"
part "memory of a generated program" python3 "$here/strmem.py" "$kzo2c"
part "classic program per pass against bwbasic (5 rounds)" python3 "$here/classic.py" "$kzo2c" 5

echo
echo "== load average after the run: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ ${#missed[@]} -gt 0 ]; then
  printf 'targets missed in: %s\n' "${missed[@]}"
else
  echo "all targets met"
fi
exit $failed
