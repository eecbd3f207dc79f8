#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Installs the Debian packages Nadelix needs to build, test, benchmark and fuzz.
# Safe to run again: it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n qt6-svg-dev libx11-dev
  # the thumbnailer writes its PNG with zlib
  zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth xdotool
  # setxkbmap: the desktop test types umlauts from a German keyboard layout
  x11-xkb-utils
  # the desktop test runs on python3; xwininfo and xwd picture the screen when it fails
  python3 x11-utils x11-apps
  # copies onto a FAT stick are tested on an image mounted through FUSE
  dosfstools fusefat
  # the slow and hanging file system the tests and benchmarks use for network shares
  python3-fusepy fuse3
  clang-format
  dpkg-dev desktop-file-utils
  # the thumbnailer: MIME database, AppStream check, and the two real thumbnail clients
  shared-mime-info appstream
  python3-gi gir1.2-gdkpixbuf-2.0 gir1.2-gnomedesktop-3.0 bubblewrap tumbler dbus-bin
  # the thumbnailer's benchmark, and the file manager in the README's screenshot
  hyperfine pcmanfm-qt
  # the catalogue's tests read its PDF as readers do: pdfinfo, pdftotext and pdftoppm; and the
  # font it asks for by name
  poppler-utils fonts-dejavu-core
  # the release checks: licence records, the Debian package checker, the clean-room install
  reuse lintian debootstrap
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
