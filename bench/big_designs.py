#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""Writes one made-up design of 500,000 stitches in each given format into FOLDER/big.EXT: the
same spiral of small moves with a colour change every 50,000 stitches, so that the formats'
figures differ only by their readers.

Usage: big_designs.py FOLDER dst exp jef ..."""
import math
import os
import struct
import sys

STITCHES = 500000
BLOCK = 50000


def moves():
    """(dx, dy) per stitch, y upwards as the formats store it, and None for a colour change."""
    x = y = 0
    for i in range(STITCHES):
        if i and i % BLOCK == 0:
            yield None
        a = i * 0.013
        r = 50 + (i % BLOCK) * 0.02
        nx, ny = int(r * math.cos(a)), int(r * math.sin(a))
        dx, dy = max(-40, min(40, nx - x)), max(-40, min(40, ny - y))
        x += dx
        y += dy
        yield dx, dy


# (byte, bit) of each balanced-ternary digit of a DST move.
DST_X = {1: (0, 0), -1: (0, 1), 9: (0, 2), -9: (0, 3), 3: (1, 0), -3: (1, 1), 27: (1, 2),
         -27: (1, 3), 81: (2, 2), -81: (2, 3)}
DST_Y = {1: (0, 7), -1: (0, 6), 9: (0, 5), -9: (0, 4), 3: (1, 7), -3: (1, 6), 27: (1, 5),
         -27: (1, 4), 81: (2, 5), -81: (2, 4)}


def dst():
    def record(dx, dy):
        b = [0, 0, 0x03]
        for v, table in ((dx, DST_X), (dy, DST_Y)):
            for w in (1, 3, 9, 27, 81):
                digit = ((v + 1) % 3) - 1  # -1, 0 or 1
                if digit:
                    i, bit = table[digit * w]
                    b[i] |= 1 << bit
                v = (v - digit) // 3
        return bytes(b)
    out = bytearray(b"LA:BIG".ljust(512, b" "))
    for m in moves():
        out += b"\x00\x00\xc3" if m is None else record(*m)
    return out + b"\x00\x00\xf3"


def byte_moves(change):
    """Two signed bytes per stitch, and change before a colour change's zero move."""
    out = bytearray()
    for m in moves():
        if m is None:
            out += change + b"\x00\x00"
        else:
            out += struct.pack("bb", *m)
    return out


def exp():
    return byte_moves(b"\x80\x01")


def jef():
    colours = STITCHES // BLOCK
    data = byte_moves(b"\x80\x01") + b"\x80\x10"
    header = struct.pack("<ii", 0x74 + 8 * colours, 0x14) + b"20261210000000\0\0"
    header += struct.pack("<iii", colours, len(data) // 2, 4)
    header += struct.pack("<4i", 1000, 1000, 1000, 1000) + b"\xff" * 64  # extents, no hoops
    assert len(header) == 0x74
    header += b"".join(struct.pack("<i", 2 + k) for k in range(colours))
    header += struct.pack("<i", 0x0D) * colours
    return header + data


def vp3():
    """One block per colour, each starting where the last one ended (micrometres, y upwards),
    with its moves in tenths of a millimetre, y downwards."""
    def string(text=b""):
        return struct.pack(">H", len(text)) + text
    blocks, stitches, x, y = [], bytearray(), 0, 0
    start = (0, 0)
    for m in list(moves()) + [None]:
        if m is not None:
            stitches += struct.pack("bb", m[0], -m[1])
            x, y = x + m[0], y + m[1]
            continue
        thread = struct.pack(">BB3sBH", 1, 0, b"\x20\x40\xc0", 0, 0) + b"\x05\x28"
        body = struct.pack(">ii", *start) + thread + string() * 3 + bytes(15) + b"\x0a\xf6\x00"
        body += stitches
        blocks.append(b"\x00\x05\x00" + struct.pack(">I", len(body)) + body)
        stitches, start = bytearray(), (x * 100, y * 100)
    header = b"%vsm%\0" + string() + bytes(7) + string() + bytes(32) + bytes(8) + bytes(27)
    header += string() + bytes(24) + string() + struct.pack(">H", len(blocks))
    return header + b"".join(blocks)


if __name__ == "__main__":
    folder, formats = sys.argv[1], sys.argv[2:]
    for name in formats:
        with open(os.path.join(folder, "big." + name), "wb") as f:
            f.write(globals()[name]())
