// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignKind.h"

#include <cstring>
#include <string_view>

namespace thumbnailer {

namespace {

bool startsWith(const std::uint8_t* data, std::size_t size, const char* text) {
    const std::size_t n = std::strlen(text);
    return size >= n && std::memcmp(data, text, n) == 0;
}

// PEC stitch data from p: records of two to four bytes up to the end record FF 00.
bool pecStitchesEnd(const std::uint8_t* data, std::size_t size, std::size_t p) {
    while (p + 1 < size) {
        if (data[p] == 0xFF && data[p + 1] == 0x00)
            return true;
        if (data[p] == 0xFE && data[p + 1] == 0xB0) {
            p += 3;
            continue;
        }
        // An x and a y field, each one byte, or two when its high bit is set.
        for (int field = 0; field < 2 && p < size; ++field)
            p += data[p] >= 0x80 ? 2 : 1;
    }
    return false;
}

// DST: three-byte records after the 512-byte header up to the end record (third byte F3).
bool dstEnd(const std::uint8_t* data, std::size_t size) {
    for (std::size_t p = 512; p + 3 <= size; p += 3)
        if (data[p + 2] == 0xF3)
            return true;
    return false;
}

// SEW: two- or four-byte records from 7544; 0x80 escapes a control code, 0x80 0x10 ends.
bool sewEnd(const std::uint8_t* data, std::size_t size) {
    std::size_t p = 7544;
    while (p + 2 <= size) {
        const std::uint8_t b = data[p];
        const std::uint8_t c = data[p + 1];
        if (b != 0x80 || c == 0x01 || c == 0x05)
            p += 2;
        else if (c == 0x10)
            return true;
        else
            p += 4;
    }
    return false;
}

// PCS: the stitch count at 68 and that many nine-byte records from 70.
bool pcsWhole(const std::uint8_t* data, std::size_t size) {
    if (size < 70)
        return false;
    const std::size_t count = data[68] | data[69] << 8;
    return count > 0 && size >= 70 + 9 * count;
}

} // namespace

std::optional<DesignKind> kindFromName(const std::string& name) {
    // The name's type as the file managers' globs take it: a dot and three letters at its end,
    // in either case.
    if (name.size() < 5 || name[name.size() - 4] != '.')
        return std::nullopt;
    std::string ext = name.substr(name.size() - 3);
    for (char& c : ext)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    if (ext == "PES")
        return DesignKind::Pes;
    if (ext == "PEC")
        return DesignKind::Pec;
    if (ext == "DST")
        return DesignKind::Dst;
    if (ext == "PCS")
        return DesignKind::Pcs;
    if (ext == "SEW")
        return DesignKind::Sew;
    return std::nullopt;
}

std::optional<DesignKind> kindFromSignature(const std::uint8_t* data, std::size_t size) {
    if (startsWith(data, size, "#PES"))
        return DesignKind::Pes;
    if (startsWith(data, size, "#PEC0001"))
        return DesignKind::Pec;
    if (startsWith(data, size, "LA:") && size > 512)
        return DesignKind::Dst;
    return std::nullopt;
}

bool isComplete(DesignKind kind, const std::uint8_t* data, std::size_t size) {
    switch (kind) {
    case DesignKind::Pes: {
        if (!startsWith(data, size, "#PES") || size < 12)
            return false;
        // The first PEC block's offset; its stitch data begins 532 bytes into the block.
        const std::size_t block = data[8] | data[9] << 8 | data[10] << 16;
        return pecStitchesEnd(data, size, block + 532);
    }
    case DesignKind::Pec:
        return startsWith(data, size, "#PEC0001") && pecStitchesEnd(data, size, 540);
    case DesignKind::Dst:
        return dstEnd(data, size);
    case DesignKind::Pcs:
        return pcsWhole(data, size);
    case DesignKind::Sew:
        return sewEnd(data, size);
    }
    return false;
}

} // namespace thumbnailer
