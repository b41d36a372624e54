#!/usr/bin/env bash
# The full property run, beyond the sample of make test:
#   tests/property/run.sh [--classic] [KZO2C [SEEDS [FOLDER]]]
# checks the correct program and four mutants of each seed 1..SEEDS (2000
# by default) and the fuzzing corpus with KZO2C (build/kzo2c), prints the
# failure classes and the counts (programs, accepted, refused, compile
# failures), and keeps every failing program with its report in FOLDER
# (default: a new folder under /tmp, named at the end). With --classic:
# classic programs (genclassic.py and ../shared/classic) with kzo2c --classic.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
mode=()
if [ "${1:-}" = --classic ]; then mode=(--classic); shift; fi
kzo2c="${1:-$root/build/kzo2c}"
seeds="${2:-2000}"
save="${3:-$(mktemp -d /tmp/kzoprop-failures.XXXXXX)}"
status=0
python3 "$here/check.py" "${mode[@]}" --kzo2c "$kzo2c" --seeds "$seeds" --corpus --quiet \
  --save "$save" || status=$?
echo "failing programs, if any, are in $save"
exit "$status"
