// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Data Stitch STX files: a header whose 32-bit offsets name a palette of 16 colours (three
// 6-bit components each), a list of palette indices by colour block (16-bit big-endian) and
// the stitch data, which is EXP's.
#include "EscapedMoves.h"

namespace {
constexpr int kPaletteAt = 0x0C;
constexpr int kBlocksAt = 0x10;
constexpr int kStitchesAt = 0x14;

std::int64_t littleEndian32(ByteSpan bytes, std::int64_t p) {
    return static_cast<std::int64_t>(byteAt(bytes, p)) | byteAt(bytes, p + 1) << 8 |
           byteAt(bytes, p + 2) << 16 | static_cast<std::int64_t>(byteAt(bytes, p + 3)) << 24;
}

// A 6-bit component spread over eight bits.
std::uint32_t widened(std::uint8_t v) {
    const std::uint32_t c = v & 0x3F;
    return c << 2 | c >> 4;
}

Escape stxEscape(std::uint8_t control) {
    switch (control) {
    case 0x80: // trim
        return {EscapeAction::Ignore, true};
    case 0x01:
        return {EscapeAction::ColorChange, true};
    case 0x02:
        return {EscapeAction::Stitch, true};
    case 0x04:
        return {EscapeAction::Jump, true};
    default:
        return {EscapeAction::End, true};
    }
}
} // namespace

void readStx(ByteSpan bytes, DesignSink& out) {
    readEscapedMoves(bytes, littleEndian32(bytes, kStitchesAt), stxEscape, out);

    const std::int64_t palette = littleEndian32(bytes, kPaletteAt);
    const std::int64_t blocks = littleEndian32(bytes, kBlocksAt);
    for (int block = 0; block < out.colors; ++block) {
        const std::int64_t at = blocks + 2 * std::int64_t{block};
        const int index = (byteAt(bytes, at) << 8 | byteAt(bytes, at + 1)) & 0x0F;
        const std::int64_t rgb = palette + 3 * index;
        out.threadColors.push_back(widened(byteAt(bytes, rgb)) |
                                   widened(byteAt(bytes, rgb + 1)) << 8 |
                                   widened(byteAt(bytes, rgb + 2)) << 16);
    }
}
