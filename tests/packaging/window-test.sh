#!/usr/bin/env bash
# Starts a Portico program, built or installed, the way a player would with --prefix, under a
# virtual X server: on a copy of the demo prefix (while $WINEPREFIX names a folder that does not
# exist) the main window must appear, carry the class its desktop entry names, and close
# through File > Exit with status 0.
#
# window-test.sh <portico executable> <demo prefix>
set -euo pipefail

if [ "${1:-}" != --inside ]; then
    portico=$(command -v "$1")
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cp -r "$2" "$work/demo"
    # Nothing of the user's own may be read or changed.
    export HOME=$work WINEPREFIX=$work/absent
    unset QT_QPA_PLATFORM
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$portico" "$work/demo"
fi

portico=$2
demo=$3

fail() {
    echo "window test: $*" >&2
    exit 1
}

"$portico" --prefix "$demo" &
pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Portico$' | head -n 1) || true
[ -n "$window" ] || { kill "$pid"; fail "no main window appeared"; }
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p')
[ "$geometry" = 600x400 ] || { kill "$pid"; fail "the window is $geometry, not the 600x400 main window"; }
class=$(xprop -id "$window" WM_CLASS)
[[ $class == *'"portico"'* ]] || { kill "$pid"; fail "the window's class is not portico: $class"; }

timeout 10 xdotool windowfocus --sync "$window"
xdotool key alt+f x
for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && { kill "$pid"; fail "portico did not end after File > Exit"; }
status=0
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "File > Exit ended portico with status $status"
echo "window test passed: $portico opened its window on --prefix $demo"
