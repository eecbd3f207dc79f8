// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "LineRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {
// (d << 32) / n rounded towards zero, for 0 < n and |d| <= n. Through a floating-point division
// while n < 2^20, which is cheaper: the quotient is below 2^33 and off by at most 2^-21 before
// its fraction is cut, while a quotient that is not whole lies at least 1/n from a whole
// number, so the cut gives the same whole number.
std::int64_t fixedStep(int d, int n) {
    const std::int64_t scaled = std::int64_t{d} << 32;
    if (n < (1 << 20))
        return static_cast<std::int64_t>(static_cast<double>(scaled) / n);
    return scaled / n;
}
} // namespace

void LineRaster::drawLine(int x0, int y0, int x1, int y1) {
    if (m_width <= 0 || m_height <= 0)
        return;
    if (m_lineWidth == 1)
        thinLine(x0, y0, x1, y1);
    else
        wideLine(x0, y0, x1, y1);
}

void LineRaster::span(int y, int xFirst, int xLast) {
    std::uint32_t* row = m_pixels + y * m_stride;
    std::fill(row + xFirst, row + xLast + 1, m_pixel);
}

void LineRaster::thinLine(int x0, int y0, int x1, int y1) {
    const int maxX = m_width - 1;
    const int maxY = m_height - 1;
    const auto inside = [&](int x, int y) { return x >= 0 && x <= maxX && y >= 0 && y <= maxY; };
    if (!inside(x0, y0) || !inside(x1, y1)) {
        // Cut the segment to the buffer (Liang-Barsky); only the part that shows is walked.
        const double dx = static_cast<double>(x1) - x0;
        const double dy = static_cast<double>(y1) - y0;
        double t0 = 0.0;
        double t1 = 1.0;
        const auto clip = [&](double p, double q) {
            if (p == 0.0)
                return q >= 0.0;
            const double t = q / p;
            if (p < 0.0) {
                if (t > t1)
                    return false;
                t0 = std::max(t0, t);
            } else {
                if (t < t0)
                    return false;
                t1 = std::min(t1, t);
            }
            return true;
        };
        if (!clip(-dx, x0 - (-0.5)) || !clip(dx, (maxX + 0.5) - x0) || !clip(-dy, y0 - (-0.5)) ||
            !clip(dy, (maxY + 0.5) - y0))
            return;
        const auto at = [](double from, double d, double t, int max) {
            return std::clamp(static_cast<int>(std::lround(from + d * t)), 0, max);
        };
        const int cx0 = at(x0, dx, t0, maxX);
        const int cy0 = at(y0, dy, t0, maxY);
        x1 = at(x0, dx, t1, maxX);
        y1 = at(y0, dy, t1, maxY);
        x0 = cx0;
        y0 = cy0;
    }

    // One pixel per step along the longer axis, both ends included; the other coordinate
    // advances in 32.32 fixed point and is rounded, which needs no branch per pixel. Local
    // copies: as far as the compiler knows, a store into the buffer could change the members,
    // and they would be read again for every pixel.
    const std::uint32_t pixel = m_pixel;
    const std::ptrdiff_t stride = m_stride;
    const int adx = std::abs(x1 - x0);
    const int ady = std::abs(y1 - y0);
    constexpr std::int64_t kHalf = std::int64_t{1} << 31;
    if (adx >= ady) {
        if (x0 > x1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        // Walks the pixels of the first row and steps down or up by whole rows from there.
        const std::int64_t step = adx ? fixedStep(y1 - y0, adx) : 0;
        std::int64_t y = kHalf;
        std::uint32_t* column = m_pixels + y0 * stride + x0;
        std::uint32_t* const end = column + adx + 1;
        for (; column != end; ++column, y += step)
            column[(y >> 32) * stride] = pixel;
    } else {
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const std::int64_t step = fixedStep(x1 - x0, ady);
        std::int64_t x = (std::int64_t{x0} << 32) + kHalf;
        std::uint32_t* row = m_pixels + y0 * stride;
        std::uint32_t* const end = row + (ady + 1) * stride;
        for (; row != end; row += stride, x += step)
            row[x >> 32] = pixel;
    }
}

void LineRaster::wideLine(int x0, int y0, int x1, int y1) {
    // Pixel centres sit at whole coordinates. An even width has no middle pixel, so its
    // segment runs half a pixel down and to the right and covers whole rows and columns.
    const double shift = m_lineWidth % 2 == 0 ? 0.5 : 0.0;
    const double ax = x0 + shift;
    const double ay = y0 + shift;
    const double bx = x1 + shift;
    const double by = y1 + shift;
    const double r = m_lineWidth / 2.0;
    const double r2 = r * r;
    const double dx = bx - ax;
    const double dy = by - ay;
    const double length2 = dx * dx + dy * dy;
    const double rLength = r * std::sqrt(length2);
    constexpr double kInf = std::numeric_limits<double>::infinity();

    // The band between the end discs, row by row: its edges move linearly with the row.
    // Between the ends, 0 <= (p - a).d <= |d|^2: from e0 + eSlope * y over eWidth.
    const bool alongX = dx != 0.0;
    const double eSlope = alongX ? -dy / dx : 0.0;
    const double e0 = alongX ? ax + ay * dy / dx : 0.0;
    const double eWidth = alongX ? length2 / dx : 0.0;
    // Closer than r to the line, |d x (p - a)| < r |d|: from f0 + fSlope * y over fWidth.
    const bool alongY = dy != 0.0;
    const double fSlope = alongY ? dx / dy : 0.0;
    const double f0 = alongY ? ax - ay * dx / dy - rLength / dy : 0.0;
    const double fWidth = alongY ? 2.0 * rLength / dy : 0.0;

    const int firstRow = std::max(0, static_cast<int>(std::floor(std::min(ay, by) - r)));
    const int lastRow = std::min(m_height - 1, static_cast<int>(std::ceil(std::max(ay, by) + r)));
    for (int y = firstRow; y <= lastRow; ++y) {
        // The covered part of the row is one interval (the shape is convex): the hull of what
        // the two end discs and the band cover.
        double lo = kInf;
        double hi = -kInf;
        const auto disc = [&](double cx, double cy) {
            const double v = y - cy;
            const double h2 = r2 - v * v;
            if (h2 > 0.0) {
                const double h = std::sqrt(h2);
                lo = std::min(lo, cx - h);
                hi = std::max(hi, cx + h);
            }
        };
        disc(ax, ay);
        disc(bx, by);
        if (length2 > 0.0) {
            double bandLo = -kInf;
            double bandHi = kInf;
            const double v = y - ay;
            if (alongX) {
                const double from = e0 + eSlope * y;
                bandLo = std::min(from, from + eWidth);
                bandHi = std::max(from, from + eWidth);
            } else if (v * dy < 0.0 || v * dy > length2) {
                bandHi = -kInf;
            }
            if (alongY) {
                const double from = f0 + fSlope * y;
                bandLo = std::max(bandLo, std::min(from, from + fWidth));
                bandHi = std::min(bandHi, std::max(from, from + fWidth));
            } else if (std::abs(dx * v) >= rLength) {
                bandHi = -kInf;
            }
            if (bandLo < bandHi) {
                lo = std::min(lo, bandLo);
                hi = std::max(hi, bandHi);
            }
        }
        if (!(lo < hi))
            continue;
        // Pixels whose centres lie strictly inside (lo, hi), within the buffer.
        const double first = std::max(std::floor(lo) + 1.0, 0.0);
        const double last = std::min(std::ceil(hi) - 1.0, static_cast<double>(m_width - 1));
        if (first <= last)
            span(y, static_cast<int>(first), static_cast<int>(last));
    }
}
