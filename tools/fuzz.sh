#!/usr/bin/env bash
# Builds one libFuzzer target with clang and runs it for a number of inputs:
#   tools/fuzz.sh <target> [runs]      e.g. tools/fuzz.sh wav_reader 1000000
# The fuzz build lives in build-fuzz/ (or $SDS_FUZZ_BUILD_DIR). The seeds come
# from fuzz/<area>/corpus/<target>/ and stay untouched; inputs the fuzzer adds
# go to build-fuzz/corpus/<target>/, crashing inputs to build-fuzz/crashes/<target>/.
set -euo pipefail
top="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${SDS_FUZZ_BUILD_DIR:-$top/build-fuzz}"
target="${1:-}"
runs="${2:-1000000}"
if [ -z "$target" ]; then
  echo "Usage: tools/fuzz.sh <target> [runs]" >&2
  echo "Targets: $(cd "$top/fuzz" && ls -d */corpus/* 2>/dev/null | xargs -n1 basename | tr '\n' ' ')" >&2
  exit 2
fi

"$top/tools/install-deps.sh" --fuzz
CC=clang-14 CXX=clang++-14 cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSDS_FUZZ=ON -DSDS_BUILD_TESTS=OFF -DSDS_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "${SDS_JOBS:-$(nproc)}" --target "fuzz_$target"

seeds=()
for dir in "$top"/fuzz/*/corpus/"$target"; do
  [ -d "$dir" ] && seeds+=("$dir")
done
args=(-runs="$runs" -print_final_stats=1 -artifact_prefix="$build/crashes/$target/")
for dict in "$top"/fuzz/*/"$target".dict; do
  [ -f "$dict" ] && args+=(-dict="$dict")
done
mkdir -p "$build/corpus/$target" "$build/crashes/$target"
symbolizer=/usr/lib/llvm-14/bin/llvm-symbolizer
[ -x "$symbolizer" ] && export ASAN_SYMBOLIZER_PATH="$symbolizer"

start=$(date +%s.%N)
"$build/fuzz/fuzz_$target" "${args[@]}" "$build/corpus/$target" "${seeds[@]}"
end=$(date +%s.%N)
awk -v s="$start" -v e="$end" -v n="$runs" -v t="$target" \
  'BEGIN { d = e - s; printf "fuzz_%s: %d inputs in %.1f s (%.0f inputs/s), no crash\n", t, n, d, n / d }'
