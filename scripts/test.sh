#!/usr/bin/env bash
# Builds Portico and runs every test: the default build, the same tests under the address and
# undefined behaviour sanitizers, and each fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
fuzz_seconds=${PORTICO_FUZZ_SECONDS:-60}
ctest_log=$(mktemp)
trap 'rm -f "$ctest_log"' EXIT

cmake --preset default
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs" | tee -a "$ctest_log"

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs" | tee -a "$ctest_log"

# The registry tests once more as an ordinary user (uid 65534), whom file modes stop where they
# do not stop root: a copy of the test program and its fixtures that this user can read, and a
# home and temporary folder of its own. Tests that need root skip themselves.
if [ "$(id -u)" -eq 0 ]; then
  as_user=$(mktemp -d)
  trap 'rm -f "$ctest_log"; rm -rf "$as_user"' EXIT
  cp build/default/tests/platform/platform_registry_tests "$as_user"/
  cp -r tests/platform/fixtures "$as_user"/fixtures
  mkdir "$as_user"/home "$as_user"/tmp
  chmod -R a+rX "$as_user"
  chown 65534:65534 "$as_user"/home "$as_user"/tmp
  echo "Registry tests as uid 65534"
  setpriv --reuid=65534 --regid=65534 --clear-groups -- env -i PATH=/usr/bin:/bin \
    HOME="$as_user"/home TMPDIR="$as_user"/tmp QT_QPA_PLATFORM=offscreen \
    PORTICO_PLATFORM_FIXTURES="$as_user"/fixtures "$as_user"/platform_registry_tests \
    --gtest_brief=1 | tee "$as_user"/log
  passed_as_user=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\./\1/p' "$as_user"/log)
  echo "As uid 65534: 100% tests passed, 0 tests failed out of ${passed_as_user:-0}" >>"$ctest_log"
  rm -rf "$as_user"
else
  echo "Not run as root: the registry tests as an ordinary user are left out"
fi

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
