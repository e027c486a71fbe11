#!/usr/bin/env bash
# Builds Portico and runs every test: the Windows build under Wine, the default build, the same
# tests under the address and undefined behaviour sanitizers, and each fuzz target for a bounded
# time.
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

# The Windows build (mingw-w64): the core, the platform layer and their tests, run under Wine
# in a temporary prefix that CTest makes and removes. First, since the Linux builds' Wine tests
# check its registry tool against their own reading of the prefix, and must find it.
cmake --preset windows
cmake --build --preset windows -j "$jobs"
ctest --preset windows -j "$jobs" | tee -a "$ctest_log"
export PORTICO_REQUIRE_WINDOWS_BUILD=1

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

# The Debian package: a release build packed by CPack and checked by lintian, installed with
# apt like any other package, started from /usr/bin on a copy of the demo prefix, then
# purged, after which nothing of it may be left in /usr.
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
cmake --preset package
cmake --build --preset package -j "$jobs"
rm -f build/package/portico_*.deb
cpack --preset package
deb=$(echo build/package/portico_*.deb)
echo "Package $deb: $(stat -c %s "$deb") bytes"
dpkg-deb --field "$deb" Depends Recommends
lintian --fail-on error "$deb"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "./$deb" </dev/null
installed=$(dpkg-query -L portico)
window_status=0
bash tests/packaging/window-test.sh /usr/bin/portico examples/demo-prefix || window_status=$?
DEBIAN_FRONTEND=noninteractive $sudo apt-get remove --purge -y -qq portico </dev/null
[ "$window_status" = 0 ] || { echo "The installed portico did not open its window" >&2; exit 1; }
left=$(
  while read -r path; do
    if [ -f "$path" ] || [ -L "$path" ]; then echo "$path"; fi
  done <<<"$installed"
  find /usr -iname '*portico*' -print || true
)
[ -z "$left" ] || { echo "Left in /usr after purging the package:" >&2; echo "$left" >&2; exit 1; }
echo "The package installed, opened its window and left nothing behind"

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
