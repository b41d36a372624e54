#!/usr/bin/env bash
# The fuzz smoke of the test suite:
#   tests/fuzz/smoke.sh WORKDIR SECONDS
# builds the fuzzer into WORKDIR, runs every input of regressions/ once,
# then fuzzes for SECONDS from the seed corpus (one worker, one second per
# input at most). The fuzzer runs in an empty directory that must still be
# empty afterwards. Exits 77 (skipped) only when clang with libFuzzer is
# missing and cannot be installed, and then under CI=true exits 1 instead.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 WORKDIR SECONDS" >&2
  exit 2
fi
here="$(cd "$(dirname "$0")" && pwd)"
mkdir -p "$1"
work="$(cd "$1" && pwd)"
seconds="$2"

build() { bash "$here/build.sh" "$work/bin"; }

status=0
build || status=$?
if [ "$status" -eq 77 ]; then
  # clang or its sanitizer runtimes are missing: install them where we may.
  if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null; then
    echo "installing clang and libclang-rt-dev"
    export DEBIAN_FRONTEND=noninteractive
    { apt-get update -q && apt-get install -y -q clang libclang-rt-dev; } || true
    status=0
    build || status=$?
  fi
  if [ "$status" -eq 77 ]; then
    if [ "${CI:-}" = true ]; then
      echo "FAIL: clang with libFuzzer is not available here (CI=true)"
      exit 1
    fi
    echo "SKIP: clang with libFuzzer is not available here"
    exit 77
  fi
fi
[ "$status" -eq 0 ] || exit "$status"

fuzzer="$work/bin/translate_fuzzer"
run="$work/run"
rm -rf "$run"
mkdir -p "$run/corpus" "$run/artifacts" "$run/cwd"

shopt -s nullglob
regressions=("$here"/regressions/*)
if [ ${#regressions[@]} -gt 0 ]; then
  echo "== ${#regressions[@]} regression inputs"
  (cd "$run/cwd" && "$fuzzer" -timeout=1 -error_exitcode=1 -artifact_prefix="$run/artifacts/" \
     "${regressions[@]}")
fi

echo "== fuzzing for $seconds seconds from $(ls "$here/seeds" | wc -l) seeds"
(cd "$run/cwd" && "$fuzzer" -max_total_time="$seconds" -timeout=1 -error_exitcode=1 \
   -dict="$here/dialect.dict" -print_final_stats=1 \
   -artifact_prefix="$run/artifacts/" "$run/corpus" "$here/seeds")

left=("$run/cwd"/* "$run/cwd"/.[!.]*)
if [ ${#left[@]} -gt 0 ]; then
  echo "the translator wrote files: ${left[*]}" >&2
  exit 1
fi
echo "fuzz smoke passed"
