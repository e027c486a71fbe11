#!/usr/bin/env bash
# Builds Portico (release preset, into build/release) when needed and runs it on a copy of the
# demo Wine prefix in examples/, so that trying it changes neither the repository nor your own
# prefix. The copy is removed when Portico ends.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ ! -f build/release/build.ninja ]; then
  cmake --preset release
fi
cmake --build --preset release --target portico -j "$(nproc)"

prefix=$(mktemp -d "${TMPDIR:-/tmp}/portico-demo-XXXXXX")
trap 'rm -rf "$prefix"' EXIT
cp -r examples/demo-prefix/. "$prefix/"
echo "Portico on a copy of the demo prefix: $prefix"
WINEPREFIX=$prefix build/release/src/portico "$@"
