// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <cstdint>

// Draws solid, aliased lines straight into a buffer of 32-bit pixels. A thin line is the
// classic one-pixel staircase; a wider line covers every pixel whose centre lies closer than
// half the width to the segment, which gives round ends, so a polyline drawn segment by
// segment has round joins. Everything outside the buffer is clipped, however far away.
class LineRaster {
public:
    // stride counts pixels from one row to the next.
    LineRaster(std::uint32_t* pixels, int width, int height, std::ptrdiff_t stride)
        : m_pixels(pixels), m_width(width), m_height(height), m_stride(stride) {}

    void setPixel(std::uint32_t pixel) { m_pixel = pixel; }
    // Width in pixels; anything below 1 draws one pixel wide.
    void setWidth(int width) { m_lineWidth = width < 1 ? 1 : width; }

    void drawLine(int x0, int y0, int x1, int y1);

private:
    void thinLine(int x0, int y0, int x1, int y1);
    void wideLine(int x0, int y0, int x1, int y1);
    void span(int y, int xFirst, int xLast);

    std::uint32_t* m_pixels;
    int m_width;
    int m_height;
    std::ptrdiff_t m_stride;
    std::uint32_t m_pixel = 0xFF000000;
    int m_lineWidth = 1;
};
