#!/bin/sh
# Runs the programs of the Windows build under Wine, in one prefix that CTest makes in a
# temporary folder before the tests and removes after them; never in ~/.wine.
#   run-under-wine.sh start STATE WINE WINESERVER   makes the prefix, notes it in the file STATE
#   run-under-wine.sh run STATE PROGRAM [ARGUMENT...]
#   run-under-wine.sh stop STATE                    stops its wineserver and removes it
set -eu

mode=$1
state=$2
shift 2

# No window, no debug output, no offer to install Mono or Gecko; the system's texts in English.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY

load() {
  if [ ! -f "$state" ]; then
    echo "No Wine prefix for the Windows tests: run them with ctest, which makes one first" >&2
    exit 1
  fi
  { read -r WINEPREFIX; read -r wine; read -r wineserver; } <"$state"
  export WINEPREFIX
}

case $mode in
start)
  dir=$(mktemp -d "${TMPDIR:-/tmp}/portico-wine.XXXXXX")
  printf '%s\n' "$dir/prefix" "$1" "$2" >"$state"
  load
  # One server for all the tests, started here: a server that a test started would keep that
  # test's output open, and CTest waiting for it. It ends a minute after its last program if
  # the stop never comes.
  mkdir -p "$WINEPREFIX"
  "$wineserver" -p60 </dev/null >/dev/null 2>&1
  timeout 150 "$wine" wineboot -i </dev/null >"$dir/wineboot.log" 2>&1 || {
    cat "$dir/wineboot.log"
    exit 1
  }
  ;;
run)
  load
  exec "$wine" "$@"
  ;;
stop)
  load
  timeout 60 "$wineserver" -k || true
  timeout 60 "$wineserver" -w || true
  # Debian's Wine keeps the server's socket in a folder of the temporary directory that the
  # prefix names.
  if [ -f "$WINEPREFIX/wineserver" ]; then
    name=$(head -n 1 "$WINEPREFIX/wineserver")
    case $name in
    wine-*) rm -rf "${TMPDIR:-/tmp}/$name" ;;
    esac
  fi
  rm -rf "$(dirname "$WINEPREFIX")" "$state"
  ;;
*)
  echo "usage: $0 start|run|stop STATE ..." >&2
  exit 2
  ;;
esac
