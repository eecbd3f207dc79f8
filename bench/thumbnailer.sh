#!/usr/bin/env bash
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
# Whole-process time and memory of nadelix-thumbnailer, with a plain cp of the same file in the
# same run for scale: a typical design from tests/data and a made-up design of 500,000 stitches.
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

# 500,000 stitches as DST records: a spiral of small moves with a colour change every 50,000.
python3 - "$scratch/big.dst" <<'PY'
import math, sys
# (byte, bit) of each balanced-ternary digit of a move, as the DST record lays them out.
X = {1: (0, 0), -1: (0, 1), 9: (0, 2), -9: (0, 3), 3: (1, 0), -3: (1, 1), 27: (1, 2),
     -27: (1, 3), 81: (2, 2), -81: (2, 3)}
Y = {1: (0, 7), -1: (0, 6), 9: (0, 5), -9: (0, 4), 3: (1, 7), -3: (1, 6), 27: (1, 5),
     -27: (1, 4), 81: (2, 5), -81: (2, 4)}
def record(dx, dy):
    b = [0, 0, 0x03]
    for v, table in ((dx, X), (dy, Y)):
        for w in (1, 3, 9, 27, 81):
            digit = ((v + 1) % 3) - 1  # -1, 0 or 1
            if digit:
                i, bit = table[digit * w]
                b[i] |= 1 << bit
            v = (v - digit) // 3
    return bytes(b)
out = bytearray(b"LA:BIG".ljust(512, b" "))
x = y = 0
for i in range(500000):
    if i and i % 50000 == 0:
        out += b"\x00\x00\xc3"
    a = i * 0.013
    r = 50 + (i % 50000) * 0.02
    nx, ny = int(r * math.cos(a)), int(r * math.sin(a))
    dx, dy = max(-40, min(40, nx - x)), max(-40, min(40, ny - y))
    out += record(dx, dy); x += dx; y += dy
out += b"\x00\x00\xf3"
open(sys.argv[1], "wb").write(out)
PY
typical=tests/data/flowers.pes

echo "machine: $(nproc) cores, load:$(uptime | sed 's/.*load average://')"
for design in "$typical" "$scratch/big.dst"; do
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
