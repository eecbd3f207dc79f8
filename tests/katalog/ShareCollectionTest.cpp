// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "SlowMount.h"
#include "katalog/Collection.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Sub-folders are found whether or not the share's listings say what an entry is, and the
// designs cost no request beyond their folder's listing.
TEST(CollectionOnShare, FindsSubFoldersAndAsksNothingAboutDesigns) {
    for (const bool listingTypes : {true, false}) {
        SCOPED_TRACE(listingTypes);
        SlowMount mount(SlowMount::Options{.listingTypes = listingTypes});
        if (!mount.mounted())
            GTEST_SKIP() << mount.skipReason();
        for (int i = 0; i < 20; ++i) {
            mount.backingDir().write("Tiere/Katze " + std::to_string(i) + ".pes", "x");
            mount.backingDir().write("Blumen/Rose " + std::to_string(i) + ".dst", "x");
        }
        mount.backingDir().write("Liesmich.txt", "x");
        mount.resetRequests();
        const auto sections = katalog::collectSections({mount.path()}, true);
        std::vector<std::pair<std::string, std::size_t>> found;
        for (const auto& section : sections)
            found.emplace_back(section.heading, section.files.size());
        EXPECT_EQ(found, (std::vector<std::pair<std::string, std::size_t>>{{"mnt/Blumen", 20},
                                                                           {"mnt/Tiere", 20}}));
        // Three listings of four requests at most, and a lookup and a status for each other name.
        EXPECT_LE(mount.requests(), 3 * 4 + 3 * 2) << mount.requestLog();
    }
}

} // namespace
