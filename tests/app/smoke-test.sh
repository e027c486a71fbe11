#!/usr/bin/env bash
# Runs the real program under a virtual X server: on a copy of the demo prefix it must open its
# main window, which is photographed and closed through File > Exit; on a prefix without any
# game it must say so and end with a failure status.
#
# smoke-test.sh <portico executable> <demo prefix> <output folder>
set -euo pipefail

if [ "${1:-}" != --inside ]; then
    portico=$(realpath "$1")
    demo=$(realpath "$2")
    out=$3
    mkdir -p "$out"
    out=$(realpath "$out")
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cp -r "$demo" "$work/demo"
    mkdir "$work/empty"
    printf 'WINE REGISTRY Version 2\n\n#arch=win64\n' >"$work/empty/user.reg"
    printf 'WINE REGISTRY Version 2\n\n#arch=win64\n' >"$work/empty/system.reg"
    # Nothing of the user's own may be read or changed.
    export HOME=$work
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$portico" "$work" "$out"
fi

portico=$2
work=$3
out=$4
unset QT_QPA_PLATFORM

fail() {
    echo "smoke test: $*" >&2
    exit 1
}

# The id of the first visible window with that exact title, waiting up to 30 s for it.
wait_for_window() {
    timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

# Waits up to 30 s for the process to end and puts its exit status in $status.
wait_for_exit() {
    local pid=$1 tries=0
    while kill -0 "$pid" 2>/dev/null; do
        tries=$((tries + 1))
        [ "$tries" -le 300 ] || { kill "$pid"; fail "portico did not end"; }
        sleep 0.1
    done
    status=0
    wait "$pid" || status=$?
}

# The demo prefix: the main window opens, shows the games and closes through its menu.
WINEPREFIX=$work/demo "$portico" &
pid=$!
window=$(wait_for_window Portico) || true
[ -n "$window" ] || fail "no main window appeared"
geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/ *Geometry: //p')
[ "$geometry" = 600x400 ] || fail "the main window is $geometry, not 600x400"
import -window root "$out/screen.png"
import -window "$window" "$out/main-window.png"
colours=$(identify -format '%k' "$out/main-window.png")
[ "$colours" -gt 16 ] || fail "the window looks empty ($colours colours)"
timeout 10 xdotool windowfocus --sync "$window"
xdotool key alt+f x
wait_for_exit "$pid"
[ "$status" = 0 ] || fail "File > Exit ended portico with status $status"

# No game installed: one message box, then a failure status. A home of its own, where the demo
# prefix is not remembered as the one last used.
mkdir "$work/bare-home"
HOME=$work/bare-home WINEPREFIX=$work/empty "$portico" &
pid=$!
box=$(wait_for_window Portico) || true
[ -n "$box" ] || fail "no message box appeared without a game"
import -window "$box" "$out/no-game.png"
timeout 10 xdotool windowfocus --sync "$box"
xdotool key Return
wait_for_exit "$pid"
[ "$status" != 0 ] || fail "without a game portico ended with status 0"
echo "smoke test passed: screenshots in $out"
