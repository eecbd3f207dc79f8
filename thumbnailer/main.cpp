// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// nadelix-thumbnailer -s SIZE INPUT OUTPUT: the picture of an embroidery design as a PNG for
// the desktop's file managers, drawn as Nadelix's design window draws it. It needs no display;
// a file it cannot draw leaves OUTPUT untouched and ends with a non-zero status.
#include "Arguments.h"
#include "PngFile.h"
#include "Thumbnail.h"

#include "design/DesignData.h"
#include "platform/FileError.h"
#include "platform/Names.h"
#include "platform/WholeFile.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace {

// A file manager waits for its thumbnailer; whatever a file does, this process ends by then.
// The alarm's default action ends the process, and nothing has been written before it is
// cancelled.
constexpr unsigned kTimeLimitSeconds = 5;

constexpr int kUsage = 2;
constexpr int kNoPicture = 1;

} // namespace

int main(int argc, char** argv) {
    alarm(kTimeLimitSeconds);

    std::string error;
    const auto args = thumbnailer::parseArguments(argc, argv, error);
    if (!args) {
        std::fprintf(stderr,
                     "nadelix-thumbnailer: %s\nusage: nadelix-thumbnailer -s SIZE INPUT OUTPUT\n",
                     error.c_str());
        return kUsage;
    }

    std::vector<std::uint8_t> bytes;
    platform::WholeFile file;
    try {
        platform::readWholeFile(args->input, bytes, platform::BufferRoom::GrowWhenShorterThanSize,
                                thumbnailer::kLargestDesign, file);
    } catch (const platform::FileError& e) {
        std::fprintf(stderr, "nadelix-thumbnailer: %s\n",
                     platform::fileErrorText(platform::FileError(e.cause(), args->input)).c_str());
        return kNoPicture;
    }

    DesignData design;
    const auto picture = thumbnailer::thumbnailOf(
        design, std::span<const std::uint8_t>(bytes.data(), std::min(file.length, bytes.size())),
        std::string(platform::namePart(args->input)), args->size);
    if (!picture) {
        std::fprintf(stderr, "nadelix-thumbnailer: %s holds no design to draw\n",
                     args->input.c_str());
        return kNoPicture;
    }
    const std::string png = thumbnailer::encodePng(*picture);
    if (png.empty()) {
        std::fprintf(stderr, "nadelix-thumbnailer: the picture could not be encoded\n");
        return kNoPicture;
    }

    alarm(0);
    try {
        thumbnailer::writeWhole(args->output, png);
    } catch (const platform::FileError& e) {
        std::fprintf(stderr, "nadelix-thumbnailer: %s\n", platform::fileErrorText(e).c_str());
        return kNoPicture;
    }
    return 0;
}
