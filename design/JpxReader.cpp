// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Janome JPX files: a header with the stitch data's 32-bit offset first, then EXP-like moves.
// Its threads are Janome's by index, which the thumbnail does not know: the blocks take the
// colours of formats without any.
#include "EscapedMoves.h"

namespace {
Escape jpxEscape(std::uint8_t control) {
    switch (control) {
    case 0x01:
        return {EscapeAction::ColorChange, true};
    case 0x02:
        return {EscapeAction::Jump, true};
    default: // 0x10, or a code no writer uses
        return {EscapeAction::End, true};
    }
}
} // namespace

void readJpx(ByteSpan bytes, DesignSink& out) {
    const std::int64_t stitches = static_cast<std::int64_t>(byteAt(bytes, 0)) |
                                  byteAt(bytes, 1) << 8 | byteAt(bytes, 2) << 16 |
                                  static_cast<std::int64_t>(byteAt(bytes, 3)) << 24;
    readEscapedMoves(bytes, stitches, jpxEscape, out);
    takeDstColors(out);
}
