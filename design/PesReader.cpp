// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// PES files: a header that points at one or more embedded PEC blocks. Version 2.5 and 3.0
// files may hold several parts, which are laid out one below the other.
#include "Readers.h"

#include <algorithm>
#include <array>
#include <span>

namespace {
constexpr int kPecStitches = 532;
constexpr int kPartSearchSkip = 32;
} // namespace

void readPes(ByteSpan bytes, DesignSink& out) {
    const auto length = static_cast<std::int64_t>(bytes.size());
    const std::uint8_t v0 = byteAt(bytes, 6);
    const std::uint8_t v1 = byteAt(bytes, 7);
    const bool candidate = (v0 == '2' && v1 == '5') || (v0 == '3' && v1 == '0');

    // At most 255 parts: the first and one per further part the header declares.
    std::array<int, 256> partOffsets;
    std::size_t partCount = 0;
    partOffsets[partCount++] = byteAt(bytes, 8) | byteAt(bytes, 9) << 8 | byteAt(bytes, 10) << 16;

    bool multiPart = false;
    const int declaredParts = byteAt(bytes, 12);
    if (candidate && declaredParts > 1) {
        multiPart = true;
        for (int search = 1; search < declaredParts; ++search) {
            bool found = false;
            for (std::int64_t p =
                     static_cast<std::int64_t>(partOffsets[partCount - 1]) + kPartSearchSkip;
                 p < length; ++p) {
                if (byteAt(bytes, p) == 0x4C && byteAt(bytes, p + 1) == 0x41 &&
                    byteAt(bytes, p + 2) == 0x3A) {
                    partOffsets[partCount++] = static_cast<int>(p);
                    found = true;
                    break;
                }
            }
            // A search that fails starts every later one from the same place: they fail too.
            if (!found)
                break;
        }
    }

    // The parts' colour tables one after the other; what does not fit the list is dropped.
    int colorIndex = 0;
    const auto parts = std::span(partOffsets.data(), partCount);
    for (const int o : parts)
        colorIndex = readPecColors(bytes, o, colorIndex, out);

    out.put(0, 0, 0, CMD_FIRST);
    out.put(1, 0, 0, CMD_STITCH);
    int k = 2;
    out.colors = 1;
    int partStart = 0;
    int partsDone = 0;
    std::int16_t verticalOffset = 0;

    for (const int o : parts) {
        // A record takes at least two bytes (one cut short by the file's end at least one), so
        // parts that each decode bytes of their own hold at most (length + parts) / 2 records.
        // More means that parts decode the same bytes over again: a crafted file could make
        // that cost parts times its size, so the parts after it are left out.
        const std::int64_t records = k - 2 - partsDone;
        if (2 * records > length + partsDone)
            break;
        out.bounds = Bounds{};
        PecStitchesEnd decoded{k, 0, 0};
        const std::int64_t start = static_cast<std::int64_t>(o) + kPecStitches;
        if (start < length) {
            // The records this part may still hold by that count take at most four bytes
            // each: its data is read no further, which leaves such a part as it is.
            const std::int64_t left = (length + partsDone + 1) / 2 - records;
            const auto end = static_cast<std::size_t>(std::min(length, start + 4 * left + 2));
            decoded = decodePecStitches(bytes.first(end), start, k, out);
        }
        k = decoded.k;
        if (multiPart) {
            // Each part moves to the left edge and below the parts before it.
            const Bounds& b = out.bounds;
            const EntryArrays e = out.reserve(static_cast<std::size_t>(k));
            for (int i = partStart; i < k; ++i) {
                if (e.cmd[i] == CMD_FIRST || e.cmd[i] == CMD_STITCH) {
                    e.x[i] = static_cast<std::int16_t>(e.x[i] - b.minX);
                    e.y[i] = static_cast<std::int16_t>(e.y[i] - b.minY + verticalOffset);
                }
            }
            out.put(k++, decoded.x, decoded.y, CMD_COLOR_CHANGE);
            ++out.colors;
            ++partsDone;
            partStart = k;
            verticalOffset = static_cast<std::int16_t>(verticalOffset + (b.maxY - b.minY));
        }
    }

    out.end(k);
    if (multiPart) {
        out.width = 1000;
        out.bounds.minX = 0;
        out.bounds.minY = 0;
        out.height = verticalOffset;
    }
}
