#!/usr/bin/env bash
# Runs the real program under a virtual X server, as a player who starts it from the menu: no
# WINEPREFIX, an empty ~/.wine, and the games in prefixes that launchers made. The chooser must
# open instead of the message, take the prefix with the games, and open the main window on it;
# File > Wine prefix must open it again from the menu. The chooser is photographed.
#
# prefix-chooser-test.sh <portico executable> <demo prefix> <output folder>
set -euo pipefail

if [ "${1:-}" != --inside ]; then
    portico=$(realpath "$1")
    demo=$(realpath "$2")
    out=$3
    mkdir -p "$out"
    out=$(realpath "$out")
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    home=$work/home
    empty() {
        mkdir -p "$1"
        printf 'WINE REGISTRY Version 2\n\n#arch=win64\n' >"$1/user.reg"
        printf 'WINE REGISTRY Version 2\n\n#arch=win64\n' >"$1/system.reg"
    }
    empty "$home/.wine"
    empty "$home/.PlayOnLinux/wineprefix/Office"
    empty "$home/.local/share/Steam/steamapps/compatdata/2592020/pfx"
    mkdir -p "$home/.local/share/bottles/bottles" "$home/Games" "$home/.config/lutris/games"
    cp -r "$demo" "$home/.local/share/bottles/bottles/Battle.net"
    mkdir -p "$home/Wine"
    cp -r "$demo" "$home/Wine/diablo-ii"
    printf 'game:\n  exe: %s/Wine/diablo-ii/drive_c/Diablo II/Game.exe\n  prefix: ~/Wine/diablo-ii\n' \
        "$home" >"$home/.config/lutris/games/diablo-ii-1700000000.yml"
    # Nothing of the user's own may be read or changed.
    export HOME=$home
    unset WINEPREFIX XDG_CONFIG_HOME
    exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside "$portico" "$work" "$out"
fi

portico=$2
work=$3
out=$4
unset QT_QPA_PLATFORM

fail() {
    echo "prefix chooser test: $*" >&2
    exit 1
}

# The id of the first visible window with that exact title, waiting up to 30 s for it.
wait_for_window() {
    timeout 30 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

# Waits up to 30 s for no visible window to have that title.
wait_for_close() {
    local tries=0
    while xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ "$tries" -le 300 ] || fail "the window '$1' did not close"
        sleep 0.1
    done
}

"$portico" &
pid=$!
chooser=$(wait_for_window "Wine prefix") || true
[ -n "$chooser" ] || fail "no chooser appeared although only other prefixes hold the games"
# Let it lay out before it is photographed.
sleep 0.5
import -window "$chooser" "$out/prefix-chooser.png"
timeout 10 xdotool windowfocus --sync "$chooser"
xdotool key Return
window=$(wait_for_window Portico) || true
[ -n "$window" ] || fail "no main window after choosing a prefix"
settings=$HOME/.config/portico/portico.conf
grep -q 'lastPrefix=.*/Wine/diablo-ii)' "$settings" ||
    fail "the prefix chosen was not remembered: $(cat "$settings" 2>/dev/null)"

# Through the menu, as a player would: File > Wine prefix, then Cancel.
timeout 10 xdotool windowfocus --sync "$window"
xdotool key alt+f w
again=$(wait_for_window "Wine prefix") || true
[ -n "$again" ] || fail "File > Wine prefix opened no chooser"
timeout 10 xdotool windowfocus --sync "$again"
xdotool key Escape
wait_for_close "Wine prefix"
timeout 10 xdotool windowfocus --sync "$window"
xdotool key alt+f x
tries=0
while kill -0 "$pid" 2>/dev/null; do
    tries=$((tries + 1))
    [ "$tries" -le 300 ] || { kill "$pid"; fail "portico did not end"; }
    sleep 0.1
done
status=0
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "File > Exit ended portico with status $status"
echo "prefix chooser test passed: screenshot in $out"
