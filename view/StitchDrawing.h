// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "Palettes.h"
#include "RationalScale.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

// How a design's stitches become pixels: the fit into a window, the block colours and the
// lines. Plain C++, so that a program without Qt draws with it.

// A point and a size in pixels.
struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};
struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// Pixels a paint may fill with wide lines: about a tenth of a second.
inline constexpr double kPaintBudgetPixels = 100e6;

// How design units land in the client area: one scale for both axes, the smaller of the two
// that fit the design inside a margin, anchored at the top-left margin and not centred.
class DesignMapping {
public:
    static constexpr int kMargin = 10;

    // The mapping for a design of width x height units in a client area of the given size
    // (in pixels of the window) whose top-left corner is at origin. pixelRatio is the number
    // of device pixels per window pixel (above 1 on high-density screens): map() and
    // penWidth() answer in device pixels. Empty when there is nothing to fit: no room inside
    // the margins, or neither extent positive. An extent of 0 or less on one axis only (a
    // straight line) is fitted by the other axis alone.
    static std::optional<DesignMapping> fit(PixelPoint origin, PixelSize client, int width,
                                            int height, double pixelRatio = 1.0);

    double scale() const { return static_cast<double>(m_scale.num()) / m_scale.den(); }
    // One design unit after scaling, rounded to whole pixels and never thinner than one.
    int penWidth() const;
    // The pixel of a point given relative to the design's top-left corner.
    PixelPoint map(int dx, int dy) const {
        return {m_x0 + m_scale.apply(dx), m_y0 + m_scale.apply(dy)};
    }

private:
    DesignMapping(int x0, int y0, RationalScale scale) : m_x0(x0), m_y0(y0), m_scale(scale) {}

    int m_x0;
    int m_y0;
    RationalScale m_scale;
};

// The colour of colour block k (0 first) by the model's palette choice.
ColorRef blockColor(const DesignData& model, const PecPalette& pec, const SewPalette& sew, int k);

// A wide pen costs about (line length + width) x width pixels per line. A design of a few
// units shown large would make the pen hundreds of pixels wide and one paint take hours; the
// pen is narrowed until the whole picture costs at most budget pixels, never below one pixel.
// totalLength is the sum of the line lengths in pixels, lines their number.
int affordablePenWidth(int width, double totalLength, std::size_t lines,
                       double budget = kPaintBudgetPixels);

// A buffer of 32-bit pixels (0xAARRGGBB, the layout of a window's image) to draw into.
struct PixelCanvas {
    std::uint32_t* pixels;
    int width;
    int height;
    std::ptrdiff_t stride; // pixels from one row to the next
};

// The pixel of a colour, opaque.
constexpr std::uint32_t pixelOf(ColorRef color) {
    return 0xFF000000u | ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

// Walks the model's stitches in the order every picture of a design draws them: blockStarts(k)
// before the lines of colour block k (0 first), then needleAt(dx, dy) for each point the needle
// moves to, relative to the bounding box's top-left corner. A line joins each point to the one
// before, across colour changes too (it takes the new block's colour); the first starts at that
// corner. Jumps are lines like stitches, as the design window shows them.
template <typename BlockStarts, typename NeedleAt>
void walkStitches(const DesignData& model, BlockStarts&& blockStarts, NeedleAt&& needleAt) {
    const int minX = model.m_nMinX;
    const int minY = model.m_nMinY;
    const std::size_t n =
        std::min({model.m_StitchCmd.size(), model.m_StitchX.size(), model.m_StitchY.size()});
    int k = 0;
    blockStarts(0);
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t cmd = model.m_StitchCmd[i];
        if (cmd == CMD_END)
            break;
        if (cmd == CMD_COLOR_CHANGE)
            blockStarts(++k);
        else
            needleAt(model.m_StitchX[i] - minX, model.m_StitchY[i] - minY);
    }
}

// Draws the model's stitches into canvas (already filled with the background) where mapping
// puts them; nothing else is drawn. The window and the thumbnailer share it.
void drawStitches(const PixelCanvas& canvas, const DesignMapping& mapping, const DesignData& model,
                  const PecPalette& pec, const SewPalette& sew);
