// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Copies onto a FAT stick, where there are no unnamed files and no links: a copy still never
// replaces a file that took its name meanwhile, and what a killed copy leaves behind is gone
// with the next copy into that category.
#include "platform/AtomicWrite.h"
#include "platform/DetachedThread.h"
#include "sort/DesignCopy.h"

#include "FaultyFileSystem.h"
#include "SortFixture.h"
#include "VfatImage.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Names = std::vector<std::string>;

// Runs work in a child process that work kills; false when it ends otherwise.
// Threads of this process besides the test's own.
int otherThreads() {
    int threads = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++threads;
    return threads - 1;
}

bool killedIn(const std::function<void()>& work) {
    // A child forked beside other threads may find their locks held for ever (and
    // ThreadSanitizer refuses to go on in it): the threads waiting for work end first.
    platform::endWaitingThreads();
    for (int i = 0; i < 200 && otherThreads() > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFSIGNALED(status);
}

class UsbStick : public SortFixture {
protected:
    void SetUp() override {
        if (!stick.mounted())
            GTEST_SKIP() << stick.skipReason();
        m_strZiel = stick.path() + "/";
        category = stick.path() + "/ROSEN";
        std::filesystem::create_directory(category);
        useSource("rose.pes", bytesOfSize(300), "ROSE.PES");
    }

    VfatImage stick;
    std::string category;
};

} // namespace

TEST_F(UsbStick, ANameTakenMeanwhileIsNeverReplaced) {
    const CopyContext c = context();
    DesignCopy copy(c);
    ASSERT_TRUE(copy.start(category));
    // Another program's file, in other letters: FAT takes it for the same name.
    std::ofstream(category + "/rose.pes") << "fremd";
    EXPECT_EQ(copy.finish(), 1);

    EXPECT_EQ(namesIn(category).size(), 2u);
    EXPECT_EQ(readBytes(category + "/rose.pes"),
              (std::vector<std::uint8_t>{'f', 'r', 'e', 'm', 'd'}));
    EXPECT_EQ(readBytes(category + "/ROSE01.PES"), bytesOfSize(300));
    EXPECT_TRUE(questions.shown.empty());
}

TEST_F(UsbStick, WhatAKilledCopyLeftIsRemovedByTheNextCopy) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::AtomicFileWriter writer(category + "/STERN.DST");
        writer.write("halb", 4);
        ::raise(SIGKILL);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    const Names left = namesIn(category);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].rfind(".nadelix-", 0), 0u) << left[0];

    const CopyContext c = context();
    EXPECT_EQ(DesignCopy(c).CopyTo(category), 1);
    EXPECT_EQ(namesIn(category), Names{"ROSE.PES"});
    EXPECT_EQ(readBytes(category + "/ROSE.PES"), bytesOfSize(300));
}

// Killed between claiming the name and moving the bytes onto it, before the claim got its note
// or after: the claim goes with the next copy into that category, while the user's files beside
// it stay, an empty one and one that merely looks like a claim.
TEST_F(UsbStick, AClaimAKilledCopyLeftIsRemovedByTheNextCopy) {
    using Op = FaultyFileSystem::Op;
    for (const Op killedBefore : {Op::Write, Op::Rename}) {
        SCOPED_TRACE(killedBefore == Op::Write ? "empty claim" : "claim with its note");
        std::filesystem::remove_all(category);
        std::filesystem::create_directory(category);
        std::ofstream(category + "/ROSE.PES");
        std::ofstream(category + "/NOTIZ.TXT")
            << platform::claimContent(".nadelix-0123456789ab.tmp");
        useSource("rose.pes", bytesOfSize(300), "ROSE.PES");
        ASSERT_TRUE(killedIn([&] {
            FaultyFileSystem faulty;
            std::function<void()> killOnceClaimed = [&] {
                if (std::filesystem::exists(category + "/ROSE01.PES"))
                    ::raise(SIGKILL);
                faulty.before(killedBefore, killOnceClaimed);
            };
            faulty.before(killedBefore, killOnceClaimed);
            const CopyContext c = context();
            DesignCopy(c).CopyTo(category);
        }));
        ASSERT_TRUE(std::filesystem::exists(category + "/ROSE01.PES"));

        useSource("tulpe.pes", bytesOfSize(200), "TULPE.PES");
        const CopyContext c = context();
        EXPECT_EQ(DesignCopy(c).CopyTo(category), 1);
        EXPECT_EQ(namesIn(category), (Names{"NOTIZ.TXT", "ROSE.PES", "TULPE.PES"}));
    }
}

// A tidying while a writer lives between its claim and its move, even one that finds a dead
// writer's leftovers, leaves that claim alone.
TEST_F(UsbStick, AClaimOfALiveWriterStays) {
    FaultyFileSystem faulty;
    faulty.before(FaultyFileSystem::Op::Rename, [&] {
        std::ofstream(category + "/.nadelix-0123456789ab.tmp") << "halb"; // held by nobody
        platform::AtomicFileWriter tidying(category + "/MOND.DST");
        tidying.write("mond", 4);
        EXPECT_EQ(namesIn(category).size(), 4u); // the claim, its intent, two live temporaries
    });
    platform::AtomicFileWriter live(category + "/ROSE.PES");
    live.write("rose", 4);
    EXPECT_TRUE(live.commit());
    EXPECT_EQ(namesIn(category), Names{"ROSE.PES"});
    EXPECT_EQ(readBytes(category + "/ROSE.PES"), (std::vector<std::uint8_t>{'r', 'o', 's', 'e'}));
}
