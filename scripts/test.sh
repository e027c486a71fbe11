#!/usr/bin/env bash
# Builds Portico and runs every test: the default build, the same tests under the address and
# undefined behaviour sanitizers, and each fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
fuzz_seconds=${PORTICO_FUZZ_SECONDS:-60}
ctest_log=$(mktemp)
trap 'rm -f "$ctest_log"' EXIT

# Every source file is laid out as the committed .clang-format says.
find src tests bench \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format-14 --dry-run --Werror
echo "Formatting checked"

cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs" | tee -a "$ctest_log"

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" | tee -a "$ctest_log"

cmake --preset fuzz
cmake --build --preset fuzz -j "$jobs"
for fuzzer in build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  corpus=$(mktemp -d)
  echo "Fuzzing $(basename "$fuzzer") for ${fuzz_seconds} s"
  "$fuzzer" -max_total_time="$fuzz_seconds" -max_len=65536 -rss_limit_mb=2048 \
    -print_final_stats=1 "$corpus" tests/fuzz/corpus/"$(basename "$fuzzer")" 2>&1 | tail -n 3
  rm -rf "$corpus"
done
echo "Fuzzing finished without a crash"

# One closing line for both test runs (a failure has already stopped the script).
passed=$(sed -n 's/.*tests passed, 0 tests failed out of \([0-9]*\).*/\1/p' "$ctest_log" |
  awk '{ sum += $1 } END { print sum + 0 }')
echo "Tests: $passed passed, 0 failed"
