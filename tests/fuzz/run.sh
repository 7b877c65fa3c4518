#!/usr/bin/env bash
# Builds the fuzz targets with clang in their own folder and runs each for a
# bounded time from the seed corpus. A crash or hang is saved where the run
# says (kept in corpus/<target>/ afterwards as a regression case) and fails
# the run. Skipped (77) without clang and its fuzzer library.
#   tests/fuzz/run.sh [BUILD_DIR] [SECONDS_PER_TARGET]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build-fuzz}
seconds=${2:-60}
cxx=$(command -v clang++-14 || command -v clang++ || true)
if [[ -z $cxx ]] || ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long) { return 0; }' |
    "$cxx" -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
  echo "no clang with libFuzzer: fuzzing skipped"
  exit 77
fi
cmake -S "$here" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in settings media command_line; do
  echo "== fuzzing the ${target//_/ } reader for ${seconds} s =="
  # New inputs go to a scratch folder; the seeds in the repository stay as they are.
  work="$build/corpus-$target"
  mkdir -p "$work" "$build/found"
  status=0
  "$build/fuzz_$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=1024 -max_len=65536 \
    -print_final_stats=1 -artifact_prefix="$build/found/$target-" "$work" "$here/corpus/$target" \
    >"$build/$target.log" 2>&1 || status=$?
  grep -E '^(#[0-9]+[[:space:]]+DONE|stat::|==[0-9]+==|SUMMARY|artifact_prefix|Test unit written)' "$build/$target.log" || true
  if ((status != 0)); then
    tail -n 40 "$build/$target.log"
    echo "fuzz_$target found a fault (status $status): keep the input from $build/found in $here/corpus/$target"
    exit 1
  fi
done
