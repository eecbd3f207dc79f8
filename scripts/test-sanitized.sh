#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and
# runs every test there. Leaks inside system libraries are suppressed in tests/lsan.supp.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
NADELIX_BUILD_DIR=build-asan scripts/build.sh -DNADELIX_SANITIZE=ON -DNADELIX_WERROR=ON -DNADELIX_BENCH=OFF
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure --timeout 600 -j "$(nproc)"
