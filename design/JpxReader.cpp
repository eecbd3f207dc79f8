// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Janome JPX files: a header with the stitch data's 32-bit offset first and the blocks'
// threads as indices into Janome's table (as JEF has them), then EXP-like moves.
#include "EscapedMoves.h"
#include "JanomeThreads.h"

namespace {
constexpr int kColorCount = 0x20;
constexpr int kColorIndices = 0x3C;

std::int64_t le32(ByteSpan bytes, std::int64_t p) {
    return static_cast<std::int64_t>(byteAt(bytes, p)) | byteAt(bytes, p + 1) << 8 |
           byteAt(bytes, p + 2) << 16 | static_cast<std::int64_t>(byteAt(bytes, p + 3)) << 24;
}

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
    readEscapedMoves(bytes, le32(bytes, 0), jpxEscape, out);

    // A block past the list, or one whose index names no thread, keeps the block before's.
    const std::int64_t listed = le32(bytes, kColorCount);
    ColorRef thread = 0;
    for (int block = 0; block < out.colors; ++block) {
        if (block < listed)
            thread = janomeThread(static_cast<std::int32_t>(le32(bytes, kColorIndices + 4 * block)))
                         .value_or(thread);
        out.threadColors.push_back(thread);
    }
}
