#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Runs inside the throwaway Debian root of clean_room.sh: installs the package as a user would,
# uses it, purges it and checks that none of its files stayed.
set -euo pipefail
deb=$1
cd /io

echo "apt-get install ./$deb"
apt-get update -qq
# Recommends as apt installs them by default: shared-mime-info brings the MIME trigger.
apt-get install -y -qq "./$deb" >/tmp/apt-install.log 2>&1 || { cat /tmp/apt-install.log; exit 1; }
dpkg-query -W -f='installed ${Package} ${Version}: ${Status}\n' nadelix
dpkg -L nadelix >/tmp/nadelix-files
for f in /usr/bin/nadelix /usr/bin/nadelix-thumbnailer /usr/bin/nadelix-katalog \
  /usr/share/doc/nadelix/copyright /usr/share/doc/nadelix/changelog.gz \
  /usr/share/man/man1/nadelix.1.gz /usr/share/man/man1/nadelix-katalog.1.gz; do
  grep -qx "$f" /tmp/nadelix-files || { echo "dpkg -L does not list $f"; exit 1; }
done
# dpkg's trigger ran update-mime-database over the package's design types.
test -f /usr/share/mime/application/x-embroidery-pes.xml ||
  { echo "the MIME database does not know the design types"; exit 1; }

echo "starting nadelix on Xvfb"
Xvfb :42 -screen 0 1024x768x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
for _ in $(seq 100); do [ -S /tmp/.X11-unix/X42 ] && break; sleep 0.1; done
export DISPLAY=:42
nadelix >/tmp/nadelix.log 2>&1 &
app=$!
window=
for _ in $(seq 150); do
  # The main window: title Nadelix, class nadelix (Qt keeps a tiny helper window of that title).
  window=$(xwininfo -root -tree 2>/dev/null | awk '/"Nadelix": \("nadelix"/ { print $1; exit }')
  [ -n "$window" ] && xwininfo -id "$window" | grep -q 'Map State: IsViewable' && break
  window=
  kill -0 "$app" 2>/dev/null || break
  sleep 0.2
done
if [ -z "$window" ]; then
  echo "no Nadelix window appeared; the program said:"
  cat /tmp/nadelix.log
  exit 1
fi
echo "window $window: $(xwininfo -id "$window" | awk '/Width:|Height:/ { printf "%s ", $0 }')"
kill "$app"
wait "$app" 2>/dev/null || true

echo "nadelix-thumbnailer -s 128 on an installed example"
nadelix-thumbnailer -s 128 /usr/share/doc/nadelix/examples/HERZ.PES /io/herz.png

# No display here either: the catalogue needs only what the package pulled in (Qt Gui and a
# font). Its pages are read from outside, where poppler is at hand.
echo "nadelix-katalog on the installed examples"
nadelix-katalog /usr/share/doc/nadelix/examples -o /io/katalog.pdf
[ "$(head -c 5 /io/katalog.pdf)" = "%PDF-" ] || { echo "katalog.pdf is no PDF"; exit 1; }

# What the package owns now: its files must all go; its directories too, unless another
# package still owns them.
echo "apt-get purge nadelix"
apt-get purge -y -qq nadelix >/tmp/apt-purge.log 2>&1 || { cat /tmp/apt-purge.log; exit 1; }
left=0
while read -r path; do
  [ "$path" = /. ] && continue
  if [ -e "$path" ] || [ -L "$path" ]; then
    if [ -d "$path" ] && [ ! -L "$path" ] && dpkg -S "$path" >/dev/null 2>&1; then continue; fi
    echo "left behind: $path"
    left=1
  fi
done </tmp/nadelix-files
if ls /usr/share/mime/application/x-embroidery-* >/dev/null 2>&1; then
  echo "left behind: the design types in the MIME database"
  left=1
fi
[ "$left" -eq 0 ] || exit 1
echo "purged: none of the $(wc -l </tmp/nadelix-files) paths dpkg listed is left"
