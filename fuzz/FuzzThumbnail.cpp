// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Feeds arbitrary bytes through the thumbnailer: the kind by signature or name, the reader and
// the drawing, then the PNG. A picture must keep to its size.
#include "thumbnailer/PngFile.h"
#include "thumbnailer/Thumbnail.h"

#include "ReusedDesign.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
const char* const kNames[] = {"a.pes", "A.PEC", "a.Dst", "A.PCS",  "a.sew",
                              "a.jef", "A.VP3", "a.exp", "A.XXX",  "a.hus",
                              "A.VIP", "A.ART", "a.krz", "design", "a.pes.bak"};
const int kSizes[] = {1, 16, 48, 128, 256};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DesignData& design = reusedDesign<DesignData>();
    const std::string name = kNames[size ? data[size - 1] % std::size(kNames) : 0];
    const int side = kSizes[size > 1 ? data[size - 2] % std::size(kSizes) : 0];

    const auto picture = thumbnailer::thumbnailOf(design, {data, size}, name, side);
    if (!picture)
        return 0;
    if (picture->width() < 1 || picture->height() < 1 || picture->width() > side ||
        picture->height() > side) {
        std::fprintf(stderr, "picture of %dx%d for size %d\n", picture->width(), picture->height(),
                     side);
        std::abort();
    }
    if (thumbnailer::encodePng(*picture).empty())
        std::abort();
    return 0;
}
