#!/usr/bin/env python3
"""Writes the example designs in examples/: simple shapes of our own in every decoded format,
so that a new user has something to sort. Run it from the repository root."""
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


def pec_stitches(colour_blocks):
    out = bytearray()
    x = y = 0
    for n, block in enumerate(colour_blocks):
        if n:
            out += bytes([0xFE, 0xB0, n & 0xFF])
        for px, py in block:
            for d in (px - x, py - y):
                # long fields (12 bit) for everything: simple and always in range
                v = d & 0xFFF
                out += bytes([0x80 | (v >> 8), v & 0xFF])
            x, y = px, py
    out += bytes([0xFF, 0x00])
    return out


def pec_block(colour_blocks, threads):
    block = bytearray(b"LA:" + b"Nadelix".ljust(16, b" "))
    block = block.ljust(48, b"\0")
    block += bytes([len(threads) - 1]) + bytes(threads)
    block = block.ljust(532, b"\x20")
    return bytes(block) + pec_stitches(colour_blocks)


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


def pes(name, kind, threads):
    header = bytearray(b"#PES0001")
    header += struct.pack("<I", 16)
    header = header.ljust(16, b"\0")
    write(name, bytes(header) + pec_block(blocks(kind), threads))


def pec(name, kind, threads):
    write(name, b"#PEC0001" + pec_block(blocks(kind), threads))


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
    x = y = 0
    for n, block in enumerate(blocks(kind)):
        if n:
            body += record(0, 0, 0xC3)
        for px, py in block:
            while (px, py) != (x, y):
                dx = max(-121, min(121, px - x))
                dy = max(-121, min(121, py - y))
                body += record(dx, -dy)
                x, y = x + dx, y + dy
    body += bytes([0, 0, 0xF3])
    header = ("LA:" + kind.upper().ljust(16) + "\r").encode().ljust(512, b" ")
    write(name, header + bytes(body))


def pcs(name, kind, colours):
    data = bytearray(b"\x32\x03\x00\x00")
    for i in range(16):
        r, g, b = colours[i] if i < len(colours) else (0, 0, 0)
        data += bytes([r, g, b, 0])
    records = bytearray()
    count = 0
    for n, block in enumerate(blocks(kind)):
        records += struct.pack("<ii", n + 1, 0) + b"\x03"
        for px, py in block:
            # 1/6 mm with an 8-bit fraction; the file's y grows upwards
            records += struct.pack("<ii", round(px * 1536 / 10), round(-py * 1536 / 10)) + b"\x00"
            count += 1
    data += struct.pack("<H", count) + records
    write(name, bytes(data))


def sew(name, kind, threads):
    header = bytearray(7544)
    header[0] = len(threads)
    for i, t in enumerate(threads):
        header[2 + 2 * i] = t
    body = bytearray()
    x = y = 0
    for n, block in enumerate(blocks(kind)):
        if n:
            body += bytes([0x80, 0x01])
        for px, py in block:
            while (px, py) != (x, y):
                dx = max(-127, min(127, px - x))
                dy = max(-127, min(127, py - y))
                body += bytes([dx & 0xFF, (-dy) & 0xFF])
                x, y = x + dx, y + dy
    body += bytes([0x80, 0x10])
    write(name, bytes(header) + bytes(body))


def main():
    os.makedirs(OUT, exist_ok=True)
    pes("HERZ.PES", "herz", [5, 27])
    pes("KREIS.PES", "kreis", [29, 13])
    pec("BLUME.PEC", "blume", [43, 61])
    dst("STERN.DST", "stern")
    pcs("WELLE.PCS", "welle", [(0, 90, 200), (250, 120, 0)])
    sew("BLUME.SEW", "blume", [10, 6])


if __name__ == "__main__":
    main()
