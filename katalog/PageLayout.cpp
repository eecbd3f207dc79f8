// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "PageLayout.h"

#include <algorithm>

namespace katalog {

PageRect PageLayout::content() const {
    const float top = kMargin + kHeaderHeight;
    return {kMargin, top, m_setup.width - 2 * kMargin,
            m_setup.height - kMargin - kFooterHeight - top};
}

int PageLayout::mostRows(const PageSetup& setup, bool headings) {
    const PageLayout empty(setup, {}, false);
    const float rowsHeight = empty.content().height - (headings ? kHeadingHeight : 0);
    return static_cast<int>(rowsHeight / (kLowestPicture + kTextHeight + 2 * kTilePadding));
}

PageLayout::PageLayout(const PageSetup& setup, const std::vector<std::size_t>& sectionSizes,
                       bool headings)
    : m_setup(setup) {
    const PageRect area = content();
    const int columns = std::max(setup.columns, 1);
    m_tileWidth = area.width / static_cast<float>(columns);
    // A page that opens a section holds its heading and all its rows; else a single row would
    // leave every heading alone on a page of its own.
    const float rowsHeight = headings ? area.height - kHeadingHeight : area.height;
    m_tileHeight = rowsHeight / static_cast<float>(std::max(setup.rows, 1));
    const float bottom = area.y + area.height + 0.01f; // rounding must not cost a row

    int page = 0;
    float y = area.y;
    int column = 0;
    for (std::size_t s = 0; s < sectionSizes.size(); ++s) {
        if (headings) {
            if (column != 0) {
                y += m_tileHeight;
                column = 0;
            }
            const float needed = kHeadingHeight + (sectionSizes[s] > 0 ? m_tileHeight : 0);
            if (y > area.y && y + needed > bottom) {
                ++page;
                y = area.y;
            }
            m_headings.push_back({page, y, s});
            y += kHeadingHeight;
        }
        for (std::size_t i = 0; i < sectionSizes[s]; ++i) {
            if (column == 0 && y > area.y && y + m_tileHeight > bottom) {
                ++page;
                y = area.y;
            }
            m_tiles.push_back({page,
                               {area.x + static_cast<float>(column) * m_tileWidth, y, m_tileWidth,
                                m_tileHeight}});
            if (++column == columns) {
                column = 0;
                y += m_tileHeight;
            }
        }
    }
    m_pages = page + 1;
}

PictureBox PageLayout::pictureBox(const PageRect& tile) {
    const float inner = tile.width - 2 * kTilePadding;
    const float height = tile.height - 2 * kTilePadding - kTextHeight;
    return {tile.x + kTilePadding, tile.y + kTilePadding, std::max(inner, 0.0f),
            std::max(height, 0.0f)};
}

PageRect PageLayout::textBox(const PageRect& tile) {
    const PictureBox picture = pictureBox(tile);
    return {picture.x, picture.y + picture.height, picture.width,
            std::min(kTextHeight, tile.height - 2 * kTilePadding)};
}

} // namespace katalog
