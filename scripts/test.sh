#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Nadelix with warnings as errors and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh -DNADELIX_WERROR=ON
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${NADELIX_BUILD_DIR:-build}" --output-on-failure --timeout 300 -j "$(nproc)"
