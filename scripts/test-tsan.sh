#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
#
# Builds everything with ThreadSanitizer into build-tsan/ and runs every test there. Qt and the
# other system libraries are not built with it, so their own locks are invisible to it: our
# threads hand data over only through our own mutexes and atomics, and tests/tsan.supp names
# the few reports from inside those libraries.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
NADELIX_BUILD_DIR=build-tsan scripts/build.sh -DNADELIX_TSAN=ON -DNADELIX_WERROR=ON -DNADELIX_BENCH=OFF
export QT_QPA_PLATFORM=offscreen
options="halt_on_error=1 second_deadlock_stack=1"
export TSAN_OPTIONS="suppressions=$PWD/tests/tsan.supp $options"
ctest --test-dir build-tsan --output-on-failure --timeout 600 -j "$(nproc)" \
    -E '^thumbnail_client_gnome$' "$@"
# GNOME's thumbnail factory runs the thumbnailer in a sandbox that cannot read the suppression
# file; the thumbnailer, which has no threads of Qt's, needs none.
TSAN_OPTIONS="$options" ctest --test-dir build-tsan --output-on-failure --timeout 600 \
    -R '^thumbnail_client_gnome$' "$@"
