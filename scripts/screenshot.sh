#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Takes docs/main-window.png: the real main window showing a sample design, on a virtual
# X server; and docs/katalog.png: the first page of the catalogue of examples/, as a PDF reader
# shows it. Usage: scripts/screenshot.sh [design-file]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
build_dir=${NADELIX_BUILD_DIR:-build}
design=${1:-tests/data/flowers.pes}
mkdir -p docs
# Num Lock on, as on most desktops, so the lock panes show; -noreset keeps the server's
# keyboard state between its clients.
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-noreset -screen 0 1280x1024x24" sh -c '
  xdotool key Num_Lock
  "$0"/tests/nadelix_screenshot "$1" docs/main-window.png 900 680' "$build_dir" "$design"

catalogue=$(mktemp --suffix=.pdf)
trap 'rm -f "$catalogue"' EXIT
"$build_dir"/katalog/nadelix-katalog --quiet examples -o "$catalogue"
pdftoppm -r 80 -png -f 1 -l 1 -singlefile "$catalogue" docs/katalog
