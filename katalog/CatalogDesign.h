// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "Collection.h"

#include "design/DesignSink.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace katalog {

// A point of a picture in the design's own units (0.1 mm) from its top-left corner. Whole
// numbers keep the PDF short: its writer spells them without a fraction of nine digits.
struct DesignPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// The lines of one colour block: from the last point of the block before (or the first point of
// all) through its points, in one colour.
// There is one for each colour block that moves the needle: the design's threads.
struct Stroke {
    ColorRef color = 0;
    std::size_t first = 0; // index of its first point in CatalogDesign::points
};

// What the catalogue shows of one design file, made ready on a reading thread so that the
// page only has to be painted.
struct CatalogDesign {
    std::string name;
    std::string format; // "PES"; empty when the file was not read
    // Why there is no picture: the file error's text, or what was wrong with the file.
    std::string problem;
    // The same for the terminal, naming the file by its whole path.
    std::string report;

    int widthUnits = 0; // 0.1 mm
    int heightUnits = 0;
    std::size_t stitches = 0;
    std::uint32_t backdrop = 0xFFFFFFFF;

    // The picture, fitted into the box it was prepared for: strokes over points, which lie at
    // origin + scale * point on the page.
    float penWidth = 0; // in points
    float originX = 0;
    float originY = 0;
    float scale = 1; // points per design unit
    std::vector<Stroke> strokes;
    std::vector<DesignPoint> points;
};

// The box a picture is fitted into, in points.
struct PictureBox {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

// The thinnest line drawn: a design shown small keeps its stitches visible on paper.
inline constexpr float kThinnestLine = 0.5f;
// Points closer than this to the last one drawn add nothing a printer shows (1/1200 inch), nor
// do points within a quarter of the line's width.
inline constexpr float kFinestStep = 72.0f / 1200.0f;

// Reads and decodes file and fits its picture into box as the design view fits a design into
// its window: one scale for both axes inside a margin, here centred in the box. Never throws:
// what goes wrong is the design's problem.
CatalogDesign prepareDesign(const CatalogFile& file, const PictureBox& box);

} // namespace katalog
