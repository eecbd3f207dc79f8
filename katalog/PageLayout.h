// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CatalogDesign.h"

#include <cstddef>
#include <vector>

namespace katalog {

// A rectangle on the page, in points from the top-left corner.
struct PageRect {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

struct PageSetup {
    float width = 595.276f; // A4 portrait, in points
    float height = 841.89f;
    int columns = 3;
    int rows = 4;
};

// Where everything goes, fixed before the first design is read: the page count is then known
// for every footer, and each picture can be fitted into its box on a reading thread.
class PageLayout {
public:
    static constexpr float kMargin = 36;        // half an inch all round
    static constexpr float kHeaderHeight = 28;  // the title and its rule
    static constexpr float kFooterHeight = 18;  // the page number
    static constexpr float kHeadingHeight = 24; // a folder's heading
    static constexpr float kTextHeight = 44;    // below a picture: name, two lines, swatches
    static constexpr float kTilePadding = 4;
    // The lowest picture box worth drawing: below it the stitches no longer fit at all.
    static constexpr float kLowestPicture = 36;

    struct Heading {
        int page = 0;
        float y = 0;
        std::size_t section = 0;
    };
    struct Tile {
        int page = 0;
        PageRect rect;
    };

    // sectionSizes: the designs of each section, in order. With headings, each section starts
    // on a row of its own under its heading, and on a new page when the heading and one row
    // no longer fit.
    PageLayout(const PageSetup& setup, const std::vector<std::size_t>& sectionSizes, bool headings);

    // The most rows whose tiles keep a picture of kLowestPicture under the text.
    static int mostRows(const PageSetup& setup, bool headings);

    int pageCount() const { return m_pages; }
    const PageSetup& setup() const { return m_setup; }
    const std::vector<Heading>& headings() const { return m_headings; }
    // The tile of every design, in the order of the sections and their designs.
    const std::vector<Tile>& tiles() const { return m_tiles; }
    float tileWidth() const { return m_tileWidth; }
    float tileHeight() const { return m_tileHeight; }
    PageRect content() const;

    // Where in its tile a design's picture and text go.
    static PictureBox pictureBox(const PageRect& tile);
    static PageRect textBox(const PageRect& tile);

private:
    PageSetup m_setup;
    float m_tileWidth = 0;
    float m_tileHeight = 0;
    int m_pages = 1;
    std::vector<Heading> m_headings;
    std::vector<Tile> m_tiles;
};

} // namespace katalog
