#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Whole-process time and memory of nadelix-thumbnailer, with a plain cp of the same file in the
# same run for scale: a typical design of each format from tests/data and made-up designs of
# 500,000 stitches (bench/big_designs.py).
# Usage: bench/thumbnailer.sh [build-dir]   (needs hyperfine; GNU time for the memory)
# Targets: a typical design under 15 ms and 500,000 stitches under 100 ms (median, whole
# process), under 30 MB. On a busy machine the wall times mostly measure the queue for a core:
# cp's own time shows how much, and the CPU time stays meaningful.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
program=$build/thumbnailer/nadelix-thumbnailer
test -x "$program" || { echo "build $program first (scripts/build.sh)"; exit 1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# 500,000 stitches in each format that can be made up here; a typical real design of each.
big_formats=(dst exp jef vp3)
python3 bench/big_designs.py "$scratch" "${big_formats[@]}"
designs=(tests/data/flowers.pes)
for ext in jef vp3 exp xxx hus vip; do
  first=$(find tests/data -maxdepth 1 -iname "*.$ext" | sort | head -1)
  if [ -n "$first" ]; then designs+=("$first"); fi
done
for ext in "${big_formats[@]}"; do designs+=("$scratch/big.$ext"); done

echo "machine: $(nproc) cores, load:$(uptime | sed 's/.*load average://')"
for design in "${designs[@]}"; do
  echo "== $design ($(stat -c %s "$design") bytes)"
  hyperfine -N --warmup 5 --runs 60 --style basic --export-json "$scratch/t.json" \
    "cp $design $scratch/copy" \
    "$program -s 256 $design $scratch/thumb.png" >/dev/null
  python3 - "$scratch/t.json" <<'PY'
import json, sys
for r in json.load(open(sys.argv[1]))["results"]:
    name = r["command"].split()[0].rsplit("/", 1)[-1]
    print(f"  {name:20} median {r['median']*1000:7.2f} ms  min {r['min']*1000:6.2f} ms"
          f"  cpu (user+sys, mean) {(r['user'] + r['system'])*1000:6.2f} ms")
PY
  /usr/bin/time -f "  peak memory %M KiB" "$program" -s 256 "$design" "$scratch/thumb.png"
done
echo "load after:$(uptime | sed 's/.*load average://')"
