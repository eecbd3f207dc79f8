#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Installs the build into a scratch root and checks that a desktop finds the program: the
# binary, a valid desktop entry in German and English, the icon, the example designs, Debian's
# copyright, changelog and manual pages; the thumbnailer with its design types, its entry
# and valid AppStream metadata; and the catalogue program.
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
# What Debian expects beside the program: copyright record, changelog, manual pages.
grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "$root/usr/share/doc/nadelix/copyright"
zcat "$root/usr/share/doc/nadelix/changelog.gz" | head -1 | grep -q '^nadelix ('
for page in nadelix nadelix-thumbnailer nadelix-katalog; do
  zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q "^\.TH ${page^^} 1 "
  # What man shows must come out without a warning from groff.
  if command -v groff >/dev/null; then
    warnings=$(zcat "$root/usr/share/man/man1/$page.1.gz" | groff -ww -man -Tutf8 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page.1: $warnings"; exit 1; }
  fi
done
test -x "$root/usr/bin/nadelix-katalog"

test -x "$root/usr/bin/nadelix-thumbnailer"
mime=$root/usr/share/mime/packages/nadelix-designs.xml
test -f "$mime"
for ext in pes pec dst pcs sew art hus krz jef vp3 exp xxx vip u01 tap shv 10o dsb dsz ksm stx phb; do
  grep -q "application/x-embroidery-$ext\"" "$mime"
  grep -q "pattern=\"\*\.$ext\"" "$mime"
done
# The staged install leaves the database to the system (dpkg's trigger, update-mime-database).
test ! -e "$root/usr/share/mime/mime.cache"
if command -v update-mime-database >/dev/null; then
  update-mime-database "$root/usr/share/mime"
  grep -q '^50:application/x-embroidery-pes:\*\.pes$' "$root/usr/share/mime/globs2"
fi
entry=$root/usr/share/thumbnailers/nadelix.thumbnailer
test -f "$entry"
grep -qx '\[Thumbnailer Entry\]' "$entry"
grep -qx 'TryExec=nadelix-thumbnailer' "$entry"
grep -qx 'Exec=nadelix-thumbnailer -s %s %u %o' "$entry"
for ext in pes pec dst pcs sew jef vp3 exp xxx hus vip u01 tap shv 10o dsb dsz ksm stx phb; do
  grep -q "^MimeType=.*application/x-embroidery-$ext;" "$entry"
done
if grep -q "x-embroidery-\(art\|krz\)" "$entry"; then echo "ART and KRZ get no thumbnails"; exit 1; fi
metainfo=$(ls "$root"/usr/share/metainfo/*.metainfo.xml)
grep -q '<binary>nadelix-thumbnailer</binary>' "$metainfo"
grep -q '<binary>nadelix-katalog</binary>' "$metainfo"
grep -q '<summary xml:lang="de">' "$metainfo"
appstreamcli validate --no-net "$metainfo"
echo "installed layout is complete"
