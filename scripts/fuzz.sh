#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Builds the fuzz targets with clang, ASan and UBSan, and runs each for the given seconds.
# Usage: scripts/fuzz.sh [seconds] [target ...]   (targets default to all)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
scripts/install-deps.sh
CC=clang CXX=clang++ NADELIX_BUILD_DIR=build-fuzz scripts/build.sh -DNADELIX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in build-fuzz/fuzz/fuzz_*; do targets+=("$(basename "$f" | sed 's/^fuzz_//')"); done
fi
for t in "${targets[@]}"; do
  corpus=fuzz-out/corpus-$t
  mkdir -p "$corpus" fuzz-out/findings
  # Seed from the test designs of the same kind (every file for the dispatching target).
  case $t in
    load|thumbnail) cp -n tests/data/* "$corpus"/ 2>/dev/null || true ;;
    # A target named for an extension that starts with a digit carries a prefix: ext10o.
    *) find tests/data -iname "*.${t#ext}" -exec cp -n {} "$corpus"/ \; ;;
  esac
  echo "fuzzing $t for ${seconds}s (log in fuzz-out/$t.log)"
  status=0
  build-fuzz/fuzz/fuzz_$t -max_total_time="$seconds" -max_len=100000 -timeout=10 \
    -artifact_prefix=fuzz-out/findings/$t- -print_final_stats=1 "$corpus" >"fuzz-out/$t.log" 2>&1 ||
    status=$?
  # The first and last status lines give the edges (cov) and features (ft) reached.
  grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|^stat::' "fuzz-out/$t.log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "fuzz-out/$t.log"
    exit "$status"
  fi
done
