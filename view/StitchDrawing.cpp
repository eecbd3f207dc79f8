// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "StitchDrawing.h"

#include "LineRaster.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
// The pixel ratio as a fraction with a denominator up to 4096, the closest there is: exact for
// every ratio a screen reports (quarters, eighths, dots per inch over 96).
RationalScale ratioAsFraction(double ratio) {
    constexpr std::int64_t kMaxDen = 4096;
    ratio = std::clamp(ratio, 1.0 / kMaxDen, static_cast<double>(kMaxDen));
    // Continued fraction convergents p/q.
    std::int64_t p0 = 0, q0 = 1, p1 = 1, q1 = 0;
    double rest = ratio;
    for (;;) {
        const double whole = std::floor(rest);
        if (whole > kMaxDen)
            break;
        const auto a = static_cast<std::int64_t>(whole);
        const std::int64_t p2 = a * p1 + p0;
        const std::int64_t q2 = a * q1 + q0;
        if (q2 > kMaxDen)
            break;
        p0 = std::exchange(p1, p2);
        q0 = std::exchange(q1, q2);
        if (rest == whole)
            break;
        rest = 1.0 / (rest - whole);
    }
    return RationalScale(p1, q1);
}
} // namespace

std::optional<DesignMapping> DesignMapping::fit(PixelPoint origin, PixelSize client, int width,
                                                int height, double pixelRatio) {
    const std::int64_t roomX = client.width - 2 * kMargin;
    const std::int64_t roomY = client.height - 2 * kMargin;
    if (roomX <= 0 || roomY <= 0 || (width <= 0 && height <= 0) || !(pixelRatio > 0.0))
        return std::nullopt;
    // The smaller of roomX / width and roomY / height, compared crosswise to stay exact.
    const bool byWidth = height <= 0 || (width > 0 && roomX * height <= roomY * width);
    const std::int64_t room = byWidth ? roomX : roomY;
    const std::int64_t extent = byWidth ? width : height;
    const RationalScale ratio = ratioAsFraction(pixelRatio);
    return DesignMapping(ratio.apply(origin.x + kMargin), ratio.apply(origin.y + kMargin),
                         RationalScale(room * ratio.num(), extent * ratio.den()));
}

int DesignMapping::penWidth() const {
    return std::max(1, m_scale.apply(1));
}

ColorRef blockColor(const DesignData& model, const PecPalette& pec, const SewPalette& sew, int k) {
    if (model.m_bThreadColors) {
        const auto& threads = model.m_ThreadColors;
        return k >= 0 && static_cast<std::size_t>(k) < threads.size()
                   ? threads[static_cast<std::size_t>(k)]
                   : kUnknownThread;
    }
    if (model.m_bPcsColors) {
        // Block 0 is black; block k takes the colour list's entry k - 1.
        if (k <= 0)
            return 0x000000;
        if (k - 1 >= DesignData::kColorListSize)
            return kUnknownThread;
        const std::size_t thread = model.m_ColorList[static_cast<std::size_t>(k - 1)];
        return thread < model.m_PcsColors.size() ? model.m_PcsColors[thread] : kUnknownThread;
    }
    if (k < 0 || k >= DesignData::kColorListSize)
        return kUnknownThread;
    const std::size_t thread = model.m_ColorList[static_cast<std::size_t>(k)];
    if (model.m_bSewPalette)
        return thread < sew.size() ? sew[thread] : kUnknownThread;
    return thread < pec.size() ? pec[thread] : kUnknownThread;
}

int affordablePenWidth(int width, double totalLength, std::size_t lines, double budget) {
    if (width <= 1)
        return 1;
    const auto cost = [&](double w) {
        return w * totalLength + static_cast<double>(lines) * w * w;
    };
    if (cost(width) <= budget)
        return width;
    // The largest w with lines * w^2 + totalLength * w <= budget.
    const double n = static_cast<double>(lines);
    const double w =
        n > 0 ? (-totalLength + std::sqrt(totalLength * totalLength + 4 * n * budget)) / (2 * n)
              : budget / std::max(totalLength, 1.0);
    return std::clamp(static_cast<int>(w), 1, width);
}

void drawStitches(const PixelCanvas& canvas, const DesignMapping& mapping, const DesignData& model,
                  const PecPalette& pec, const SewPalette& sew) {
    int pen = mapping.penWidth();
    if (pen > 1) {
        // Only a wide pen needs the lines measured first.
        double totalLength = 0;
        std::size_t lines = 0;
        PixelPoint from = mapping.map(0, 0);
        walkStitches(
            model, [](int) {},
            [&](int dx, int dy) {
                const PixelPoint to = mapping.map(dx, dy);
                totalLength += std::hypot(to.x - from.x, to.y - from.y);
                ++lines;
                from = to;
            });
        pen = affordablePenWidth(pen, totalLength, lines);
    }

    LineRaster raster(canvas.pixels, canvas.width, canvas.height, canvas.stride);
    raster.setWidth(pen);
    PixelPoint from = mapping.map(0, 0);
    walkStitches(
        model, [&](int k) { raster.setPixel(pixelOf(blockColor(model, pec, sew, k))); },
        [&](int dx, int dy) {
            const PixelPoint to = mapping.map(dx, dy);
            // Several stitches often fall on one pixel; a line of no length adds nothing.
            if (to != from)
                raster.drawLine(from.x, from.y, to.x, to.y);
            from = to;
        });
}
