// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "view/StitchDrawing.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

struct DesignData;

namespace thumbnailer {

// Real designs stay far below this; a larger file is no design worth reading whole.
inline constexpr std::uint64_t kLargestDesign = 32u << 20;

// The largest picture drawn; a larger request gets this size, which is still within it.
inline constexpr int kLargestSize = 2048;
// Below this the window's 10-pixel margins leave no room: the picture is drawn at this size
// and scaled down.
inline constexpr int kSmallestCanvas = 32;
// The background of the design window on a desktop in its usual colours; designs in light
// threads only are drawn on a darker one (view/Backdrop.h).
inline constexpr std::uint32_t kBackground = 0xFFFFFFFF;

// A picture of 32-bit pixels (0xFFRRGGBB), row after row. Plain memory rather than an image
// class: the program then starts without Qt and the dozens of libraries it loads.
struct Picture {
    int w = 0;
    int h = 0;
    std::vector<std::uint32_t> pixels;

    int width() const { return w; }
    int height() const { return h; }
    std::uint32_t pixel(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                      static_cast<std::size_t>(x)];
    }
};

// picture made smaller to fit size x size, keeping its proportions: every pixel the average
// of the pixels it covers.
Picture shrunk(const Picture& picture, int size);

// The window size in which the design view shows a design of width x height units with the
// longer side filling size: the picture keeps the design's proportions and the view's margins.
PixelSize canvasFor(int width, int height, int size);

// The picture of the design in bytes (a file named name), decoded into design, drawn as the
// design view draws it, as far as its stitch data goes, at most size x size pixels. Empty when
// the bytes are of no decoded format or hold nothing to draw.
std::optional<Picture> thumbnailOf(DesignData& design, std::span<const std::uint8_t> bytes,
                                   const std::string& name, int size);

} // namespace thumbnailer
