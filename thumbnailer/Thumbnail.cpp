// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Thumbnail.h"

#include "DesignKind.h"

#include "design/DesignData.h"
#include "view/Backdrop.h"
#include "view/Palettes.h"
#include "view/StitchDrawing.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace thumbnailer {

PixelSize canvasFor(int width, int height, int size) {
    constexpr int margin = DesignMapping::kMargin;
    const int room = std::max(size - 2 * margin, 1);
    int w = 1;
    int h = 1;
    if (width > 0 && height > 0) {
        const double scale =
            std::min(static_cast<double>(room) / width, static_cast<double>(room) / height);
        w = static_cast<int>(std::lround(width * scale));
        h = static_cast<int>(std::lround(height * scale));
    } else if (width > 0) {
        w = room; // a straight horizontal line
    } else if (height > 0) {
        h = room;
    }
    return {std::clamp(w, 1, room) + 2 * margin, std::clamp(h, 1, room) + 2 * margin};
}

Picture shrunk(const Picture& picture, int size) {
    const double scale = std::min(1.0, static_cast<double>(size) / std::max(picture.w, picture.h));
    Picture out;
    out.w = std::max(1, static_cast<int>(std::lround(picture.w * scale)));
    out.h = std::max(1, static_cast<int>(std::lround(picture.h * scale)));
    out.pixels.resize(static_cast<std::size_t>(out.w) * static_cast<std::size_t>(out.h));
    for (int y = 0; y < out.h; ++y) {
        const int y0 = y * picture.h / out.h, y1 = std::max(y0 + 1, (y + 1) * picture.h / out.h);
        for (int x = 0; x < out.w; ++x) {
            const int x0 = x * picture.w / out.w,
                      x1 = std::max(x0 + 1, (x + 1) * picture.w / out.w);
            std::uint64_t r = 0, g = 0, b = 0;
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx) {
                    const std::uint32_t p = picture.pixel(sx, sy);
                    r += (p >> 16) & 0xFF;
                    g += (p >> 8) & 0xFF;
                    b += p & 0xFF;
                }
            const auto n = static_cast<std::uint64_t>((y1 - y0) * (x1 - x0));
            out.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(out.w) +
                       static_cast<std::size_t>(x)] =
                0xFF000000u | static_cast<std::uint32_t>((r / n) << 16 | (g / n) << 8 | b / n);
        }
    }
    return out;
}

std::optional<Picture> thumbnailOf(DesignData& model, std::span<const std::uint8_t> bytes,
                                   const std::string& name, int size) {
    if (bytes.empty() || bytes.size() > INT_MAX || size < 1)
        return std::nullopt;
    const auto kind = kindOf(name, bytes.data(), bytes.size());
    if (!kind)
        return std::nullopt;
    decodeDesign(model, *kind, bytes);

    size = std::min(size, kLargestSize);
    const int drawn = std::max(size, kSmallestCanvas);
    const PixelSize canvasSize = canvasFor(model.m_nWidth, model.m_nHeight, drawn);
    const auto mapping = DesignMapping::fit({0, 0}, canvasSize, model.m_nWidth, model.m_nHeight);
    if (!mapping)
        return std::nullopt; // no decoded point: nothing to draw

    static const PecPalette pec = pecPaletteColors();
    static const SewPalette sew = sewPaletteColors();
    Picture canvas{canvasSize.width, canvasSize.height, {}};
    canvas.pixels.assign(static_cast<std::size_t>(canvas.w) * static_cast<std::size_t>(canvas.h),
                         backdropFor(model, pec, sew));
    drawStitches(PixelCanvas{canvas.pixels.data(), canvas.w, canvas.h, canvas.w}, *mapping, model,
                 pec, sew);
    if (drawn > size)
        return shrunk(canvas, size);
    return canvas;
}

} // namespace thumbnailer
