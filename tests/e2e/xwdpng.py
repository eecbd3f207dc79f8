# SPDX-FileCopyrightText: The Nadelix developers
# SPDX-License-Identifier: MIT
"""Window dumps (xwd, ZPixmap, 24 or 32 bits per pixel) as pictures, and PNG files of them.

A dump of the root window of Xvfb leaves Qt's top-level windows black, so a picture of the
screen is put together from a dump of each window, bottom to top.
"""

import struct
import zlib

_HEADER = struct.Struct(">25I")


class Picture:
    """An RGB picture, three bytes a pixel, row after row."""

    def __init__(self, width: int, height: int, rgb: bytes | None = None):
        self.width = width
        self.height = height
        self.rgb = bytearray(rgb) if rgb is not None else bytearray(width * height * 3)

    def paste(self, other: "Picture", left: int, top: int) -> None:
        for y in range(max(0, -top), min(other.height, self.height - top)):
            x0 = max(0, -left)
            x1 = min(other.width, self.width - left)
            if x0 >= x1:
                return
            src = (y * other.width + x0) * 3
            dst = ((top + y) * self.width + left + x0) * 3
            self.rgb[dst:dst + (x1 - x0) * 3] = other.rgb[src:src + (x1 - x0) * 3]

    def png(self) -> bytes:
        stride = self.width * 3
        rows = b"".join(b"\x00" + bytes(self.rgb[y * stride:(y + 1) * stride])
                        for y in range(self.height))

        def chunk(kind: bytes, data: bytes) -> bytes:
            return (struct.pack(">I", len(data)) + kind + data +
                    struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(rows, 6)) + chunk(b"IEND", b""))


def from_xwd(dump: bytes) -> Picture:
    (header_size, _version, pixmap_format, depth, width, height, _xoffset, byte_order,
     _unit, _bit_order, _pad, bits_per_pixel, bytes_per_line, _visual_class,
     red_mask, green_mask, blue_mask, _bits_per_rgb, _colormap_entries, ncolors,
     *_rest) = _HEADER.unpack_from(dump)
    if pixmap_format != 2 or bits_per_pixel not in (24, 32) or depth < 24:
        raise ValueError(f"unsupported dump: format {pixmap_format}, {bits_per_pixel} bits")
    start = header_size + 12 * ncolors
    step = bits_per_pixel // 8
    order = "little" if byte_order == 0 else "big"
    masks = [(mask, (mask & -mask).bit_length() - 1) for mask in (red_mask, green_mask, blue_mask)]
    rgb = bytearray()
    for y in range(height):
        line = dump[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        for x in range(0, width * step, step):
            value = int.from_bytes(line[x:x + step], order)
            rgb.extend((value & mask) >> shift for mask, shift in masks)
    return Picture(width, height, rgb)
