#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Whole-process time and memory of nadelix-katalog on a folder of 2,000 designs made of the real
# files in tests/data and examples, side by side with nadelix-thumbnailer drawing the same
# designs one process each; then the peak memory on 6,000 and 10,000 designs and on a folder of
# 500,000-stitch designs (bench/big_designs.py), which should stay where 2,000 had it.
# The folders hold hard links, not copies: every design is still opened and read through a name
# of its own, and a copy just written would come from the page cache all the same.
# Usage: bench/katalog.sh [build-dir]   (needs hyperfine and GNU time)
# Targets: 2,000 designs within 10 s (whole process, this 2-core machine), peak memory under
# 200 MB whatever the folder holds. On a busy machine the wall time mostly measures the queue
# for a core; the CPU time stays meaningful.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
katalog=$build/katalog/nadelix-katalog
thumbnailer=$build/thumbnailer/nadelix-thumbnailer
for program in "$katalog" "$thumbnailer"; do
  test -x "$program" || { echo "build $program first (scripts/build.sh)"; exit 1; }
done
# Beside the sources, so that hard links to them are possible.
scratch=$(mktemp -d -p "$build" katalog-bench.XXXXXX)
trap 'rm -rf "$scratch"' EXIT

mapfile -t samples < <(find tests/data examples -maxdepth 1 -type f \
  ! -name '*.md' ! -name '*.tsv' | sort)

# folder N: N designs, the samples in turn, each name unique.
fill() {
  mkdir -p "$1"
  local i
  for ((i = 0; i < $2; i++)); do
    local sample=${samples[i % ${#samples[@]}]}
    ln "$sample" "$1/$(printf '%05d' "$i") ${sample##*/}"
  done
}

# Wall, CPU and peak memory of one run of the command.
measure() {
  local label=$1
  shift
  /usr/bin/time -f "%e %U %S %M" -o "$scratch/time" "$@" >/dev/null 2>"$scratch/stderr" || true
  read -r wall user sys peak <"$scratch/time"
  awk -v l="$label" -v w="$wall" -v u="$user" -v s="$sys" -v p="$peak" 'BEGIN {
    printf "  %-34s wall %6.2f s  cpu %6.2f s  peak %6.1f MB\n", l, w, u + s, p / 1024 }'
}

echo "machine: $(nproc) cores, load:$(uptime | sed 's/.*load average://')"
fill "$scratch/d2000" 2000
echo "== 2,000 designs from ${#samples[@]} sample files" \
  "($(du -slh "$scratch/d2000" | cut -f1), each link counted)"
hyperfine -N --warmup 1 --runs 5 --style basic --export-json "$scratch/t.json" \
  "$katalog --quiet $scratch/d2000 -o $scratch/k.pdf" >/dev/null
python3 - "$scratch/t.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))["results"][0]
print(f"  nadelix-katalog (5 runs)           median {r['median']:6.2f} s  min {r['min']:6.2f} s"
      f"  cpu (user+sys, mean) {r['user'] + r['system']:6.2f} s")
PY
measure "nadelix-katalog" "$katalog" --quiet "$scratch/d2000" -o "$scratch/k.pdf"
echo "  unreadable tiles: $(grep -c '^nadelix-katalog: ' "$scratch/stderr" || true)," \
  "$(pdfinfo "$scratch/k.pdf" | sed -n 's/^Pages: *//p') pages," \
  "$(du -h "$scratch/k.pdf" | cut -f1)"
printf '%s\0' "$scratch"/d2000/* >"$scratch/list"
thumbnail_each() {
  xargs -0 -P "$1" -I{} sh -c '"$0" -s 256 "$1" "$2/$$.png" 2>/dev/null || true' \
    "$thumbnailer" {} "$scratch" <"$scratch/list"
}
export -f thumbnail_each
export thumbnailer scratch
measure "thumbnailer, one process each" bash -c 'thumbnail_each 1'
measure "  the same, $(nproc) at a time" bash -c "thumbnail_each $(nproc)"

echo "== memory as the folder grows (one run each)"
for n in 6000 10000; do
  fill "$scratch/d$n" "$n"
  measure "nadelix-katalog, $n designs" "$katalog" --quiet "$scratch/d$n" -o "$scratch/k.pdf"
  rm -rf "$scratch/d$n"
done
big_formats=(dst exp jef vp3 hus vip)
python3 bench/big_designs.py "$scratch" "${big_formats[@]}"
mkdir "$scratch/big"
for ext in "${big_formats[@]}"; do
  for i in 1 2 3 4 5; do ln "$scratch/big.$ext" "$scratch/big/$i.$ext"; done
done
measure "nadelix-katalog, 30 x 500,000 st." "$katalog" --quiet "$scratch/big" -o "$scratch/k.pdf"
echo "  $(du -h "$scratch/k.pdf" | cut -f1) PDF"
echo "load after:$(uptime | sed 's/.*load average://')"
