#!/usr/bin/env bash
# Times `portico add` against `wine reg add` storing the same gateway list value in the same
# Wine prefix, in one run: each repetition first changes the list with portico (Wine stopped,
# as portico requires), then writes the very same value with reg.exe (Wine started cold, as for
# a script's single call). Prints the median, least and greatest time of each in milliseconds;
# "until on disk" adds the wait for the wineserver to exit and write user.reg.
#
# add-vs-reg.sh <portico program> [repetitions, 7 by default]
set -euo pipefail

portico=$(realpath "$1")
repetitions=${2:-7}
wine=$(command -v wine || command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
work=$(mktemp -d)
prefix=$work/prefix
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

cleanup() {
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w 2>/dev/null || true
    # Debian's Wine keeps the server's folder in $TMPDIR under the name the prefix holds.
    if [ -f "$prefix/wineserver" ]; then
        folder=$(head -n 1 "$prefix/wineserver")
        case $folder in wine-*) rm -rf "${TMPDIR:-/tmp}/$folder" ;; esac
    fi
    rm -rf "$work"
}
trap cleanup EXIT

now() { date +%s%N; }
milliseconds() { echo $(((($2) - ($1)) / 1000000)); }

# The prefix, made by Wine, with Starcraft installed as its installer records it.
"$wine" reg add 'HKLM\Software\Blizzard Entertainment\Starcraft' /v Program \
    /d 'C:\Games\StarCraft.exe' /reg:32 /f >/dev/null 2>&1 </dev/null
"$wineserver" -w

portico_times=()
reg_times=()
disk_times=()
for ((i = 1; i <= repetitions; i++)); do
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w
    start=$(now)
    "$portico" add --prefix "$prefix" --game sc --name "Bench" --host 192.0.2.10 --zone "$i" \
        --replace
    portico_times+=("$(milliseconds "$start" "$(now)")")
    by_portico=$("$portico" list --prefix "$prefix" --game sc --format json)

    # The same value: the header portico gave the new list, then the one server.
    start=$(now)
    "$wine" reg add 'HKCU\Software\Battle.net\Configuration' /v 'Battle.net gateways' \
        /t REG_MULTI_SZ /d "1001\\001\\0192.0.2.10\\0$i\\0Bench" /f >/dev/null 2>&1 </dev/null
    returned=$(now)
    "$wineserver" -w
    reg_times+=("$(milliseconds "$start" "$returned")")
    disk_times+=("$(milliseconds "$start" "$(now)")")
    by_reg=$("$portico" list --prefix "$prefix" --game sc --format json)
    if [ "$by_portico" != "$by_reg" ]; then
        echo "portico and reg.exe stored different lists:" >&2
        echo "$by_portico" >&2
        echo "$by_reg" >&2
        exit 1
    fi
done

summary() { # summary <label> <times...>
    local label=$1
    shift
    local sorted
    sorted=($(printf '%s\n' "$@" | sort -n))
    local n=${#sorted[@]}
    local median
    if ((n % 2)); then
        median=${sorted[n / 2]}
    else
        median=$(((sorted[n / 2 - 1] + sorted[n / 2]) / 2))
    fi
    printf '%-34s median %6d ms   least %6d ms   greatest %6d ms\n' "$label" "$median" \
        "${sorted[0]}" "${sorted[n - 1]}"
}

echo "$repetitions repetitions on one prefix; $("$wine" --version); portico $("$portico" --version | cut -d' ' -f2)"
summary "portico add" "${portico_times[@]}"
summary "wine reg add" "${reg_times[@]}"
summary "wine reg add, until on disk" "${disk_times[@]}"
