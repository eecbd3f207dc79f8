#!/usr/bin/env python3
# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""Writes the example designs in examples/: simple shapes of our own in every decoded format,
so that a new user has something to sort. Run it from the repository root.

Each file is laid out as embroidery machines and other programs expect that format, not just as
Nadelix reads it, and every thread is one that shows on a white background."""
import math
import os
import struct

OUT = "examples"


def shape_points(kind, size=400, steps=180):
    """Absolute points (tenths of a millimetre, y downwards) of a closed outline."""
    pts = []
    for i in range(steps + 1):
        t = 2 * math.pi * i / steps
        if kind == "stern":  # a five-pointed star
            r = size if (i * 10 // steps) % 2 == 0 else size * 0.45
            a = 2 * math.pi * round(i * 10 / steps) / 10 - math.pi / 2
            x, y = r * math.cos(a), r * math.sin(a)
        elif kind == "herz":
            x = size * 16 * math.sin(t) ** 3 / 16
            y = -size * (13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)) / 16
        elif kind == "blume":
            r = size * (0.6 + 0.4 * math.cos(6 * t))
            x, y = r * math.cos(t), r * math.sin(t)
        elif kind == "welle":
            x, y = size * 2 * i / steps - size, size * 0.4 * math.sin(3 * t)
        else:  # kreis
            x, y = size * math.cos(t), size * math.sin(t)
        pts.append((round(x), round(y)))
    return pts


def blocks(kind):
    """The outline, then a smaller copy in a second colour."""
    outer = shape_points(kind)
    inner = [(round(x * 0.6), round(y * 0.6)) for x, y in shape_points(kind, steps=120)]
    return [outer, inner]


def steps_towards(x, y, px, py, limit):
    """Moves of at most limit per axis that lead from (x, y) to (px, py)."""
    while (px, py) != (x, y):
        dx = max(-limit, min(limit, px - x))
        dy = max(-limit, min(limit, py - y))
        yield dx, dy
        x, y = x + dx, y + dy


def extents(colour_blocks):
    xs = [x for b in colour_blocks for x, _ in b]
    ys = [y for b in colour_blocks for _, y in b]
    return min(xs), min(ys), max(xs), max(ys)


# --- PEC (also the stitch part of PES) -------------------------------------------------------

ICON_STRIDE, ICON_HEIGHT = 6, 38  # 48 x 38 pixels, one bit each


def pec_stitches(colour_blocks):
    """Long (12-bit) fields throughout; the way to a block's first point is a jump, made before
    the colour change so that the new thread starts on its own outline."""
    out = bytearray()

    def field(d, jump):
        v = (d & 0xFFF) | 0x8000 | (0x1000 if jump else 0)
        return bytes([v >> 8, v & 0xFF])

    x = y = 0
    for n, block in enumerate(colour_blocks):
        px, py = block[0]
        out += field(px - x, True) + field(py - y, True)
        x, y = px, py
        if n:
            out += bytes([0xFE, 0xB0, 2 if n % 2 else 1])
        for px, py in block[1:]:
            out += field(px - x, False) + field(py - y, False)
            x, y = px, py
    out += b"\xff"  # the icons follow; their blank first row completes the end mark 0xFF 0x00
    return out


def pec_icon(points, box):
    """A 48 x 38 monochrome picture of the points, kept clear of the edges."""
    icon = bytearray(ICON_STRIDE * ICON_HEIGHT)
    left, top, right, bottom = box
    scale = min(40 / max(1, right - left), 30 / max(1, bottom - top))
    for x, y in points:
        col = 4 + round((x - left) * scale)
        row = 4 + round((y - top) * scale)
        icon[row * ICON_STRIDE + col // 8] |= 1 << (col % 8)
    return bytes(icon)


def pec_block(label, colour_blocks, threads):
    """A PEC block: header with the colour table, stitch section, then one icon for the whole
    design and one per colour."""
    head = bytearray(b"LA:" + label.encode().ljust(16, b" ")[:16] + b"\r")
    head += b" " * 12 + b"\xff\x00" + bytes([ICON_STRIDE, ICON_HEIGHT]) + b" " * 12
    head += bytes([len(threads) - 1]) + bytes(threads)
    head = head.ljust(512, b" ")

    left, top, right, bottom = extents(colour_blocks)
    stitches = pec_stitches(colour_blocks)
    section = bytearray(b"\x00\x00")
    section += struct.pack("<I", 20 + len(stitches))[:3]  # from here to the icons
    section += b"\x31\xff\xf0"
    section += struct.pack("<HHHH", right - left, bottom - top, 0x1E0, 0x1B0)
    section += struct.pack(">HH", 0x9000 | (-left & 0xFFF), 0x9000 | (-top & 0xFFF))

    box = (left, top, right, bottom)
    icons = pec_icon([p for b in colour_blocks for p in b], box)
    for block in colour_blocks:
        icons += pec_icon(block, box)
    return bytes(head) + bytes(section) + bytes(stitches) + icons


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def pes(name, kind, threads):
    # Version 1 with an empty design section: the stitches live in the PEC block that follows.
    header = b"#PES0001" + struct.pack("<IHHHHH", 22, 1, 1, 0, 0, 0)
    write(name, header + pec_block(kind.upper(), blocks(kind), threads))


def pec(name, kind, threads):
    write(name, b"#PEC0001" + pec_block(kind.upper(), blocks(kind), threads))


# --- DST ---------------------------------------------------------------------------------------


def dst(name, kind):
    def ternary(v):
        # balanced ternary digits for 1, 3, 9, 27, 81
        digits = []
        for _ in range(5):
            r = v % 3
            if r == 2:
                r = -1
            digits.append(r)
            v = (v - r) // 3
        return digits

    bits = {  # (byte, mask) for +weight and -weight of x and y (the file's y grows upwards)
        "x": [((0, 0x01), (0, 0x02)), ((1, 0x01), (1, 0x02)), ((0, 0x04), (0, 0x08)),
              ((1, 0x04), (1, 0x08)), ((2, 0x04), (2, 0x08))],
        "y": [((0, 0x80), (0, 0x40)), ((1, 0x80), (1, 0x40)), ((0, 0x20), (0, 0x10)),
              ((1, 0x20), (1, 0x10)), ((2, 0x20), (2, 0x10))],
    }

    def record(dx, dy, flags=0x03):
        rec = [0, 0, flags]
        for axis, d in (("x", dx), ("y", dy)):
            for k, digit in enumerate(ternary(d)):
                if digit:
                    byte, mask = bits[axis][k][0 if digit > 0 else 1]
                    rec[byte] |= mask
        return bytes(rec)

    body = bytearray()
    colour_blocks = blocks(kind)
    x = y = 0
    for n, block in enumerate(colour_blocks):
        # jump to the block's first point, then change the thread there
        for dx, dy in steps_towards(x, y, *block[0], 121):
            body += record(dx, -dy, 0x83)
        x, y = block[0]
        if n:
            body += record(0, 0, 0xC3)
        for px, py in block[1:]:
            for dx, dy in steps_towards(x, y, px, py, 121):
                body += record(dx, -dy)
            x, y = px, py
    body += record(0, 0, 0xF3)

    left, top, right, bottom = extents(colour_blocks)
    fields = [
        "LA:%-16s" % kind.upper(),
        "ST:%7d" % (len(body) // 3),
        "CO:%3d" % (len(colour_blocks) - 1),
        "+X:%5d" % right,
        "-X:%5d" % -left,
        "+Y:%5d" % -top,  # the file's y grows upwards
        "-Y:%5d" % bottom,
        "AX:%s%5d" % ("+" if x >= 0 else "-", abs(x)),  # where the design ends
        "AY:%s%5d" % ("+" if -y >= 0 else "-", abs(y)),
        "MX:+%5d" % 0,
        "MY:+%5d" % 0,
        "PD:******",
    ]
    header = ("\r".join(fields) + "\r").encode() + b"\x1a"
    write(name, header.ljust(512, b" ") + bytes(body))


# --- PCS ---------------------------------------------------------------------------------------


def pcs(name, kind, colours):
    data = bytearray(b"\x32\x03")  # version, hoop
    data += struct.pack("<H", 16)  # the colour table always has 16 entries
    for i in range(16):
        r, g, b = colours[i] if i < len(colours) else (0, 0, 0)
        data += bytes([r, g, b, 0])

    def coord(v):
        # 1/6 mm with an 8-bit fraction
        return struct.pack("<i", round(v * 1536 / 10))

    records = bytearray()
    count = 0  # every record but the colour changes
    for n, block in enumerate(blocks(kind)):
        records += struct.pack("<ii", n, 0) + b"\x03"  # the thread for what follows
        # a move to where the block begins: the hoop's centre, then the inner outline
        start = (0, 0) if n == 0 else block[0]
        records += coord(start[0]) + coord(-start[1]) + b"\x04"
        count += 1
        for px, py in block:
            records += coord(px) + coord(-py) + b"\x00"  # the file's y grows upwards
            count += 1
    data += struct.pack("<H", count) + records
    write(name, bytes(data))


# --- SEW ---------------------------------------------------------------------------------------


def sew(name, kind, threads):
    header = bytearray(7544)
    struct.pack_into("<H", header, 0, len(threads))
    for i, t in enumerate(threads):
        struct.pack_into("<H", header, 2 + 2 * i, t)
    body = bytearray()
    x = y = 0
    for n, block in enumerate(blocks(kind)):
        for dx, dy in steps_towards(x, y, *block[0], 127):
            body += bytes([0x80, 0x02, dx & 0xFF, (-dy) & 0xFF])
        x, y = block[0]
        if n:  # the thread changes where the new outline begins
            body += bytes([0x80, 0x01, 0x00, 0x00])  # control records are four bytes long
        for px, py in block[1:]:
            for dx, dy in steps_towards(x, y, px, py, 127):
                body += bytes([dx & 0xFF, (-dy) & 0xFF])
            x, y = px, py
    body += bytes([0x80, 0x10, 0x00, 0x00])
    write(name, bytes(header) + bytes(body))


def main():
    os.makedirs(OUT, exist_ok=True)
    # Thread indices of the PEC palette: red and salmon, blue and orange, magenta and green.
    pes("HERZ.PES", "herz", [5, 27])
    pes("KREIS.PES", "kreis", [2, 28])
    pec("BLUME.PEC", "blume", [22, 37])
    dst("STERN.DST", "stern")
    pcs("WELLE.PCS", "welle", [(0, 90, 200), (250, 120, 0)])
    sew("BLUME.SEW", "blume", [10, 31])  # SEW palette: red and green


if __name__ == "__main__":
    main()
