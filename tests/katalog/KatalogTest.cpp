// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The catalogue's command line, its page layout over many grids and sections (cheaper here than
// in a PDF), its progress line and its reading threads.
#include "katalog/Arguments.h"
#include "katalog/PageLayout.h"
#include "katalog/Progress.h"
#include "katalog/ReadingPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
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

// A design that never comes (a file on a share that stopped answering) is given up; the designs
// after it arrive in order, and should it come after all, it takes no later design's place.
TEST(ReadingPool, AGivenUpDesignNeitherHoldsUpNorDisplacesTheOthers) {
    std::mutex mutex;
    std::condition_variable answered;
    bool shareAnswers = false;
    const auto pool = std::make_unique<ReadingPool>(
        12,
        [&](std::size_t i) {
            if (i == 1) {
                std::unique_lock lock(mutex);
                answered.wait(lock, [&] { return shareAnswers; });
            }
            CatalogDesign design;
            design.name = std::to_string(i);
            return design;
        },
        2, 3);
    const auto nameOf = [&](std::size_t i) {
        const auto design = pool->take(i, std::chrono::seconds(5));
        return design ? design->name : "nothing";
    };
    EXPECT_EQ(nameOf(0), "0");
    EXPECT_FALSE(pool->take(1, std::chrono::milliseconds(50)));
    pool->skip(1);
    EXPECT_EQ(nameOf(2), "2");
    {
        std::lock_guard lock(mutex);
        shareAnswers = true; // design 1 now lands while 4 may wait in its slot
    }
    answered.notify_all();
    std::this_thread::sleep_for(std::chrono::milliseconds(100)); // time for it to land
    for (std::size_t i = 3; i < 12; ++i)
        EXPECT_EQ(nameOf(i), std::to_string(i));
}

// A folder whose share is gone: its designs given up at once are never read, and threads stand
// in for the stuck ones, so the next folder's designs still come.
TEST(ReadingPool, AFolderGivenUpLeavesThreadsForTheNext) {
    std::mutex mutex;
    std::condition_variable answered;
    bool shareAnswers = false;
    std::vector<std::size_t> started;
    auto pool = std::make_unique<ReadingPool>(
        20,
        [&](std::size_t i) {
            std::unique_lock lock(mutex);
            started.push_back(i);
            if (i >= 1 && i <= 8) // the gone folder
                answered.wait(lock, [&] { return shareAnswers; });
            CatalogDesign design;
            design.name = std::to_string(i);
            return design;
        },
        2, 4);
    // Lets the stuck threads go however the test ends, before the pool waits for them.
    const std::unique_ptr<void, std::function<void(void*)>> letGo(&shareAnswers, [&](void*) {
        {
            std::lock_guard lock(mutex);
            shareAnswers = true;
        }
        answered.notify_all();
    });
    ASSERT_TRUE(pool->take(0, std::chrono::seconds(5)));
    EXPECT_FALSE(pool->take(1, std::chrono::milliseconds(50)));
    pool->skip(8);
    for (std::size_t i = 9; i < 20; ++i) {
        const auto design = pool->take(i, std::chrono::seconds(5));
        ASSERT_TRUE(design) << i;
        EXPECT_EQ(design->name, std::to_string(i));
    }
    std::lock_guard lock(mutex);
    EXPECT_LE(std::count_if(started.begin(), started.end(),
                            [](std::size_t i) { return i >= 1 && i <= 8; }),
              2); // only what the two threads had begun before the folder was given up
}

// The command line as the manual page gives it: both spellings of an option's value, and a
// clear refusal (never a folder named like an option) for everything else.
TEST(Arguments, TakeTheDocumentedFormsAndRefuseTheRest) {
    struct Case {
        std::vector<const char*> argv;
        const char* folders; // joined by '|'; nullptr: refused
        int columns = 3;
        int rows = 4;
    };
    const Case cases[] = {
        {{"a", "-o", "k.pdf"}, "a"},
        {{"--output=k.pdf", "--columns=2", "--rows", "5", "a", "b"}, "a|b", 2, 5},
        {{"-o", "k.pdf", "--", "-r", "--rows"}, "-r|--rows"}, // folders after --
        {{"-o", "k.pdf", "--page", "Letter", "--landscape", "-r", "-q", "a"}, "a"},
        {{"a"}, nullptr},           // no output
        {{"-o", "k.pdf"}, nullptr}, // no folder
        {{"a", "-o"}, nullptr},     // the value missing
        {{"a", "-o", "k.pdf", "--columns", "0"}, nullptr},
        {{"a", "-o", "k.pdf", "--columns", "11"}, nullptr},
        {{"a", "-o", "k.pdf", "--rows", "4x"}, nullptr},
        {{"a", "-o", "k.pdf", "--page", "A3"}, nullptr},
        {{"a", "-o", "k.pdf", "--quiet=yes"}, nullptr}, // a switch takes no value
        {{"a", "-o", "k.pdf", "--colour"}, nullptr},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"nadelix-katalog"};
        argv.insert(argv.end(), c.argv.begin(), c.argv.end());
        std::string error;
        const auto args = parseArguments(static_cast<int>(argv.size()), argv.data(), error);
        SCOPED_TRACE(testing::Message() << argv.size() << " arguments, " << error);
        ASSERT_EQ(args.has_value(), c.folders != nullptr);
        if (!args) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        std::string folders;
        for (const auto& f : args->folders)
            folders += (folders.empty() ? "" : "|") + f;
        EXPECT_EQ(folders, c.folders);
        EXPECT_EQ(args->columns, c.columns);
        EXPECT_EQ(args->rows, c.rows);
    }
}

TEST(Progress, GuessesTheTimeLeftOnlyOnceThereIsSomethingToGoBy) {
    EXPECT_EQ(Progress::timeLeft(10, 100, 400), "noch 0:30");
    EXPECT_EQ(Progress::timeLeft(61, 1, 2), "noch 1:01");
    EXPECT_EQ(Progress::timeLeft(0.1, 5, 400), ""); // too early to tell
    EXPECT_EQ(Progress::timeLeft(10, 0, 400), "");
    EXPECT_EQ(Progress::timeLeft(10, 400, 400), "");
}

// On the terminal: a long name is cut between letters, never inside one (the line must stay
// valid UTF-8), and a message goes on a line of its own with the progress line drawn again.
TEST(Progress, CutsLongNamesBetweenLettersAndKeepsItsLineBelowMessages) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    ASSERT_NE(out, nullptr);
    {
        Progress progress(out, true, 2000);
        // 30 letters, then umlauts of two bytes each across the cut at 31 bytes.
        progress.update(1234, std::string(30, 'A') + "\xC3\xA4\xC3\xB6\xC3\xBC.PES");
        progress.message("nadelix-katalog: X.PES: Enthält keine Stiche.");
    }
    std::fclose(out);
    const std::string written(text, size);
    std::free(text);
    const std::string line = "1.234 von 2.000 Mustern · " + std::string(30, 'A') + "…";
    EXPECT_EQ(written,
              "\r\033[K" + line + "\r\033[Knadelix-katalog: X.PES: Enthält keine Stiche.\n" + line);
}
