// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
// The rescan and first read that open the copy-and-sort dialog, beside the window: the same
// list and bytes as the view's own scan and load, and a drive that stops answering holds up
// nothing but the answer.
#include "sort/SourceOpening.h"

#include "FaultyFileSystem.h"
#include "TempDir.h"
#include "sort/DesignBrowser.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

using namespace std::chrono_literals;
using Op = FaultyFileSystem::Op;

namespace {

std::chrono::steady_clock::time_point in(std::chrono::milliseconds span) {
    return std::chrono::steady_clock::now() + span;
}

template <typename Condition> bool eventually(Condition condition) {
    for (int i = 0; i < 20000 && !condition(); ++i)
        std::this_thread::sleep_for(1ms);
    return condition();
}

SourceOpening opening(const std::string& directory, const DesignBrowser& settings) {
    return SourceOpening(directory, settings.AcceptedTypes(), settings.m_FileData.size(),
                         DesignModel::kInitialFileNames, DesignModel::kFileNameGrowth);
}

} // namespace

TEST(SourceOpening, AnswersWhatTheViewsOwnScanAndLoadGive) {
    TempDir dir;
    dir.write("rose.pes", std::string(150000, 'a')); // larger than the initial buffer
    dir.write("stern.dst", "dst");
    dir.write("notes.txt", "no design");
    dir.write("alt.art", "placard, not accepted by default");
    DesignBrowser browser;
    browser.RescanSource(dir.path());

    auto source = opening(dir.path(), browser);
    ASSERT_TRUE(source.waitReady(in(20s)));
    std::optional<SourceOpening::Answer> answer = source.take();
    ASSERT_TRUE(answer);
    EXPECT_FALSE(source.take()) << "the answer is handed over once";

    EXPECT_EQ(answer->directory, browser.m_strSourceDir);
    ASSERT_EQ(answer->list.size(), browser.m_FileList.size());
    for (std::size_t i = 0; i < answer->list.size(); ++i) {
        EXPECT_EQ(answer->list[i].name, browser.m_FileList[i].name);
        EXPECT_EQ(answer->list[i].diskName, browser.m_FileList[i].diskName);
    }
    browser.LoadFile(0);
    ASSERT_TRUE(answer->firstRead);
    EXPECT_FALSE(answer->error);
    EXPECT_EQ(answer->length, int(std::filesystem::file_size(browser.m_strFilePath)));
    EXPECT_EQ(answer->data.size(), browser.m_FileData.size());
    EXPECT_TRUE(std::equal(answer->data.begin(), answer->data.begin() + answer->length,
                           browser.m_FileData.begin()));
}

TEST(SourceOpening, AFirstFileThatCannotBeReadComesWithItsErrorAndAnEmptySourceWithNoRead) {
    TempDir dir;
    dir.write("rose.pes", "x");
    DesignBrowser settings;
    {
        FaultyFileSystem faults;
        faults.failOn(Op::Open, EACCES, "rose.pes");
        auto source = opening(dir.path(), settings);
        ASSERT_TRUE(source.waitReady(in(20s)));
        const auto answer = source.take();
        ASSERT_TRUE(answer && answer->firstRead && answer->error);
        EXPECT_EQ(answer->error->fileName(), dir.path() + "/rose.pes");
        EXPECT_EQ(answer->length, 0);
        EXPECT_TRUE(eventually([] { return SourceOpening::threadsRunning() == 0; }));
    }
    TempDir empty;
    auto source = opening(empty.path(), settings);
    ASSERT_TRUE(source.waitReady(in(20s)));
    const auto answer = source.take();
    ASSERT_TRUE(answer);
    EXPECT_TRUE(answer->list.isEmpty());
    EXPECT_FALSE(answer->firstRead);
}

TEST(SourceOpening, AHungSourceHoldsOnlyTheAnswerAndADroppedOneNeverWaits) {
    TempDir dir;
    dir.write("rose.pes", "x");
    DesignBrowser settings;
    FaultyFileSystem faults;
    faults.holdOn(Op::OpenDirectory, dir.path());
    {
        auto source = opening(dir.path(), settings);
        ASSERT_TRUE(eventually([&] { return faults.held() == 1; }));
        EXPECT_FALSE(source.waitReady(in(5ms)));
        EXPECT_FALSE(source.take());

        faults.release();
        ASSERT_TRUE(source.waitReady(in(20s)));
        EXPECT_EQ(source.take()->list.size(), 1u);
    }
    // The thread counts itself out only after it has handed over the answer.
    ASSERT_TRUE(eventually([] { return SourceOpening::threadsRunning() == 0; }));
    faults.holdOn(Op::OpenDirectory, dir.path());
    {
        // Dropped while its thread hangs: returns at once, and the thread ends on its own.
        auto dropped = opening(dir.path(), settings);
        ASSERT_TRUE(eventually([&] { return faults.held() == 1; }));
    }
    EXPECT_EQ(SourceOpening::threadsRunning(), 1);
    faults.release();
    EXPECT_TRUE(eventually([] { return SourceOpening::threadsRunning() == 0; }));
}
