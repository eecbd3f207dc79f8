// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The catalogue's page layout over many grids and sections, cheaper here than in a PDF.
#include "katalog/PageLayout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace katalog;

TEST(PageLayout, EveryHeadingStandsOnThePageOfItsFirstRowAndNoPageOverflows) {
    const std::pair<PageSetup, std::vector<std::size_t>> cases[] = {
        {{}, {1, 0, 5, 13, 2}},
        {{595.276f, 841.89f, 2, 1}, {1, 3, 0, 2}}, // one row: heading and row share the page
        {{792, 612, 10, 12}, {120, 1, 0, 0, 119}},
        {{612, 792, 1, 12}, {12, 12, 1}},
    };
    for (const auto& [setup, sections] : cases) {
        for (const bool headings : {false, true}) {
            SCOPED_TRACE(testing::Message() << setup.columns << "x" << setup.rows << headings);
            const PageLayout layout(setup, sections, headings);
            const PageRect area = layout.content();
            std::vector<int> perPage(static_cast<std::size_t>(layout.pageCount()));
            for (const auto& tile : layout.tiles()) {
                ++perPage.at(static_cast<std::size_t>(tile.page));
                EXPECT_GE(tile.rect.y, area.y);
                EXPECT_LE(tile.rect.y + tile.rect.height, area.y + area.height + 0.1f);
            }
            for (int n : perPage)
                EXPECT_TRUE(n > 0 && n <= setup.columns * setup.rows) << n;
            const auto perSheet = static_cast<std::size_t>(setup.columns * setup.rows);
            if (!headings) {
                EXPECT_EQ(layout.pageCount(),
                          static_cast<int>((layout.tiles().size() + perSheet - 1) / perSheet));
            }
            std::size_t first = 0; // the first design of the heading's section
            for (const auto& heading : layout.headings()) {
                if (sections[heading.section] > 0) {
                    const auto& tile = layout.tiles()[first];
                    EXPECT_EQ(heading.page, tile.page) << "section " << heading.section;
                    EXPECT_LE(heading.y + PageLayout::kHeadingHeight, tile.rect.y + 0.01f);
                }
                first += sections[heading.section];
            }
            EXPECT_EQ(layout.headings().size(), headings ? sections.size() : 0);
        }
    }
}
