// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Janome JEF files: a little-endian header with the stitch data's offset and one index into
// Janome's thread table per colour block, then records of two signed bytes (x, then y
// upwards, in tenths of a millimetre). A first byte 0x80 escapes to a control code and two
// more bytes: 0x01 changes the colour, 0x02 jumps by them; any other code ends the design.
#include "ByteMoves.h"
#include "JanomeThreads.h"
#include "Readers.h"

namespace {
constexpr int kStitchOffset = 0;
constexpr int kColorCount = 24;
constexpr int kColorIndices = 116;
constexpr std::uint8_t kEscape = 0x80;
constexpr std::uint8_t kColorChange = 0x01;
constexpr std::uint8_t kJump = 0x02;

std::uint32_t le32(ByteSpan bytes, std::int64_t p) {
    return static_cast<std::uint32_t>(byteAt(bytes, p)) | byteAt(bytes, p + 1) << 8 |
           byteAt(bytes, p + 2) << 16 | static_cast<std::uint32_t>(byteAt(bytes, p + 3)) << 24;
}

// Each block's thread from the header's list; a block past the list, or one whose index names
// no thread, keeps the block before's (black for the first).
void takeThreads(ByteSpan bytes, DesignSink& out) {
    const auto listed = static_cast<std::int64_t>(le32(bytes, kColorCount));
    ColorRef thread = 0;
    for (int block = 0; block < out.colors; ++block) {
        if (block < listed) {
            const auto index = static_cast<std::int32_t>(le32(bytes, kColorIndices + 4 * block));
            thread = janomeThread(index).value_or(thread);
        }
        out.threadColors.push_back(thread);
    }
}
} // namespace

void readJef(ByteSpan bytes, DesignSink& out) {
    // Whole records only: a last byte alone is no record.
    const int length = static_cast<int>(bytes.size() & ~std::size_t{1});
    // Every record takes two bytes and gives at most one entry: room for all, written
    // unchecked.
    ByteMoves m(out, static_cast<std::size_t>(length / 2 + 2));
    const std::uint8_t* data = bytes.data();
    auto moveBy = [&](std::uint8_t dx, std::uint8_t dy) {
        m.moveBy(static_cast<std::int8_t>(dx), static_cast<std::int8_t>(dy));
    };

    // An offset past the file (or negative as a signed number) leaves no records to read.
    std::int64_t p = le32(bytes, kStitchOffset);
    auto record = [&]<bool checked>() -> bool {
        auto at = [&](std::int64_t q) { return recordByte<checked>(data, length, q); };
        const std::uint8_t b0 = at(p);
        const std::uint8_t b1 = at(p + 1);
        if (b0 != kEscape) [[likely]] {
            p += 2;
            moveBy(b0, b1);
            return true;
        }
        // A control code without its two bytes ends the design.
        if (p + 4 > length)
            return false;
        const std::uint8_t dx = at(p + 2);
        const std::uint8_t dy = at(p + 3);
        p += 4;
        if (b1 == kJump) {
            moveBy(dx, dy);
            return true;
        }
        if (b1 != kColorChange)
            return false;
        // The change's own two bytes say nothing: the needle stays.
        m.changeColour();
        return true;
    };
    forEachRecord(p, length, 4, record);

    m.finish(out);
    takeThreads(bytes, out);
}
