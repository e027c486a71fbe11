#!/usr/bin/env bash
# Installs a build into a folder of its own and checks what lands there: exactly the files a
# desktop and the package expect, each icon at the size its folder names, the names the files
# give each other, a manual page that formats without a warning, and one version number in
# the metainfo, the manual page, the changelog and the program's own --version.
#
# install-test.sh <build folder> <version> <application id>
set -euo pipefail

build=$1
version=$2
id=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "install test: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$work/usr" >/dev/null
cd "$work/usr"

sizes="16 22 24 32 48 64 128 256"
expected=$(
    echo bin/portico
    echo "share/applications/$id.desktop"
    echo share/doc/portico/changelog.gz
    echo share/doc/portico/copyright
    for size in $sizes; do echo "share/icons/hicolor/${size}x${size}/apps/$id.png"; done
    echo "share/icons/hicolor/scalable/apps/$id.svg"
    echo share/man/man1/portico.1.gz
    echo "share/metainfo/$id.metainfo.xml"
)
actual=$(find . -type f -printf '%P\n')
if [ "$(LC_ALL=C sort <<<"$actual")" != "$(LC_ALL=C sort <<<"$expected")" ]; then
    diff <(LC_ALL=C sort <<<"$expected") <(LC_ALL=C sort <<<"$actual") >&2 || true
    fail "the installed files differ from the expected ones (< expected, > installed)"
fi

for size in $sizes; do
    icon=share/icons/hicolor/${size}x${size}/apps/$id.png
    [ "$(identify -format '%wx%h' "$icon")" = "${size}x${size}" ] || fail "$icon is not ${size}x${size}"
done

desktop=share/applications/$id.desktop
metainfo=share/metainfo/$id.metainfo.xml
grep -qx 'Exec=portico' "$desktop" || fail "the desktop entry does not start portico"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"
grep -q '<binary>portico</binary>' "$metainfo" || fail "the metainfo does not provide portico"

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z share/man/man1/portico.1.gz 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page formats with warnings: $warnings"

check_version() { # check_version <where> <version found>
    [ "$2" = "$version" ] || fail "$1 gives version '$2', not $version"
}
check_version metainfo "$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$metainfo")"
check_version "manual page" "$(zcat share/man/man1/portico.1.gz | sed -n 's/^\.TH .*"Portico \([^"]*\)".*/\1/p')"
check_version changelog "$(zcat share/doc/portico/changelog.gz | sed -n '1s/^portico (\([^)]*\)).*/\1/p')"
# No display: --version must not need one.
check_version "portico --version" \
    "$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM bin/portico --version | sed -n 's/^portico //p')"
echo "install test passed: $(wc -l <<<"$actual") files, version $version"
