#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Every file of the source tree carries its copyright and licence (reuse lint). Skipped (77)
# where reuse is missing, or where the tree is no git checkout: reuse then cannot tell the
# files of a build inside the tree from the sources.
set -euo pipefail
src=$1
command -v reuse >/dev/null || { echo "SKIPPED: reuse is not installed"; exit 77; }
git -C "$src" rev-parse --git-dir >/dev/null 2>&1 ||
  { echo "SKIPPED: $src is no git checkout"; exit 77; }
out=$(reuse --root "$src" lint 2>&1) && { tail -4 <<<"$out"; exit 0; }
echo "$out"
exit 1
