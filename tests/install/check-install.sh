#!/usr/bin/env bash
# Installs the build into a scratch root and checks that a desktop finds the program: the
# binary, a valid desktop entry in German and English, the icon and the example designs.
set -euo pipefail
build_dir=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build_dir" --prefix /usr >/dev/null
test -x "$root/usr/bin/nadelix"
desktop=$root/usr/share/applications/nadelix.desktop
test -f "$desktop"
grep -qx 'Exec=nadelix' "$desktop"
grep -qx 'Icon=nadelix' "$desktop"
grep -q '^Categories=.*Graphics;' "$desktop"
grep -q '^Comment\[de\]=' "$desktop"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
test -s "$root/usr/share/icons/hicolor/scalable/apps/nadelix.svg"
test "$(ls "$root/usr/share/doc/nadelix/examples" | wc -l)" -ge 6
echo "installed layout is complete"
