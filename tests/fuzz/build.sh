#!/usr/bin/env bash
# Builds the translator fuzzer with clang into OUTDIR:
#   tests/fuzz/build.sh OUTDIR
# The translator's sources (all but main.cpp) and the embedded runtime texts
# are compiled with coverage and the address and undefined-behaviour
# sanitizers; objects are rebuilt only when their source or the header is
# newer. Exits 77 when clang cannot link a libFuzzer program here.
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 OUTDIR" >&2
  exit 2
fi
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
out="$1"
mkdir -p "$out/obj"
out="$(cd "$out" && pwd)"

CXX="${CXX_FUZZ:-clang++}"
FLAGS=(-std=c++17 -g -O1 -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)

# Can this machine link a libFuzzer program at all?
probe="$out/obj/probe"
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' \
  > "$probe.cpp"
if ! command -v "$CXX" >/dev/null 2>&1 ||
   ! "$CXX" -fsanitize=fuzzer "$probe.cpp" -o "$probe" >/dev/null 2>&1; then
  echo "$CXX cannot link a libFuzzer program (clang and libclang-rt-dev needed)" >&2
  exit 77
fi

runtime_cpp="$out/obj/runtime_text.cpp"
if [ ! -f "$runtime_cpp" ] || [ "$root/runtime/runtime.c" -nt "$runtime_cpp" ] ||
   [ "$root/cmake/embed.cmake" -nt "$runtime_cpp" ]; then
  cmake -DIN="$root/runtime/runtime.c" -DOUT="$runtime_cpp" -P "$root/cmake/embed.cmake"
fi

classic_cpp="$out/obj/classic_text.cpp"
if [ ! -f "$classic_cpp" ] || [ "$root/runtime/classic.c" -nt "$classic_cpp" ] ||
   [ "$root/cmake/embed.cmake" -nt "$classic_cpp" ]; then
  cmake -DIN="$root/runtime/classic.c" -DOUT="$classic_cpp" -DNAME=kzo_classic \
        -P "$root/cmake/embed.cmake"
fi

sources=("$runtime_cpp" "$classic_cpp" "$here/translate_fuzzer.cpp")
for s in "$root"/translator/*.cpp; do
  [ "$(basename "$s")" = main.cpp ] || sources+=("$s")
done

objects=()
pids=()
for s in "${sources[@]}"; do
  o="$out/obj/$(basename "$s" .cpp).o"
  objects+=("$o")
  if [ ! -f "$o" ] || [ "$s" -nt "$o" ] || [ "$root/translator/kzo2c.h" -nt "$o" ] ||
     [ "$root/translator/classic.h" -nt "$o" ] ||
     [ "$here/build.sh" -nt "$o" ]; then
    "$CXX" "${FLAGS[@]}" -I"$root/translator" -c "$s" -o "$o.tmp" && mv "$o.tmp" "$o" &
    pids+=($!)
    # two compilers at a time
    if [ ${#pids[@]} -ge 2 ]; then wait "${pids[0]}"; pids=("${pids[@]:1}"); fi
  fi
done
for p in "${pids[@]}"; do wait "$p"; done
for o in "${objects[@]}"; do [ -f "$o" ] || { echo "compiling $o failed" >&2; exit 1; }; done

"$CXX" "${FLAGS[@]}" "${objects[@]}" -o "$out/translate_fuzzer"
echo "built $out/translate_fuzzer"
