// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "dirchooser/DirectoryJob.h"

#include "FaultyFileSystem.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <thread>

using dirchooser::DirectoryJob;
using Op = FaultyFileSystem::Op;
using namespace std::chrono_literals;

namespace {

DirectoryJob::Answers everything(DirectoryJob& job) {
    EXPECT_TRUE(job.waitFinished(std::chrono::steady_clock::now() + 5s));
    return job.take();
}

bool threadsEnd() {
    for (int i = 0; i < 500 && DirectoryJob::running() > 0; ++i)
        std::this_thread::sleep_for(10ms);
    return DirectoryJob::running() == 0;
}

} // namespace

TEST(DirectoryJob, ListsSortedThenProbesEveryChildButDriveRoots) {
    TempDir t;
    t.makeDir("b/innen");
    t.makeDir("A");
    t.makeDir("laufwerk/innen");
    t.write("c.pes", "x");
    FaultyFileSystem fs;
    fs.holdOn(Op::OpenDirectory, "/laufwerk"); // opening it would never end
    auto job = DirectoryJob::start(DirectoryJob::Kind::List, t.path(), fs, {t.file("laufwerk")});
    const DirectoryJob::Answers answers = everything(*job);
    ASSERT_TRUE(answers.listed);
    EXPECT_EQ(answers.names, (std::vector<std::string>{"A", "b", "laufwerk"}));
    EXPECT_EQ(answers.probes, (std::vector<std::pair<std::size_t, bool>>{{0, false}, {1, true}}));
    EXPECT_GE(answers.progress, 4); // an entry read or a probe answered is a sign of life
    EXPECT_EQ(fs.held(), 0);
    // Taken once: later calls only repeat that it has finished.
    const DirectoryJob::Answers again = job->take();
    EXPECT_FALSE(again.listed);
    EXPECT_TRUE(again.probes.empty());
    EXPECT_TRUE(again.finished);
}

TEST(DirectoryJob, FailedListingAndProbeAnswerNothingToOpen) {
    TempDir t;
    t.makeDir("zu/innen");
    FaultyFileSystem fs;
    fs.failOn(Op::OpenDirectory, EACCES, "/zu");
    auto list = DirectoryJob::start(DirectoryJob::Kind::List, t.file("zu"), fs);
    const DirectoryJob::Answers listed = everything(*list);
    EXPECT_TRUE(listed.listed);
    EXPECT_FALSE(listed.names.has_value());
    auto probe = DirectoryJob::start(DirectoryJob::Kind::Probe, t.file("zu"), fs);
    EXPECT_EQ(everything(*probe).probes, (std::vector<std::pair<std::size_t, bool>>{{0, false}}));
}

TEST(DirectoryJob, HungListingIsLeftBehindAndItsAnswerDropped) {
    ASSERT_TRUE(threadsEnd()); // those of earlier tests
    TempDir t;
    for (const char* name : {"a", "b", "c"})
        t.makeDir(std::string("haengt/") + name + "/innen");
    FaultyFileSystem fs;
    fs.holdOn(Op::OpenDirectory, "/haengt/b");
    auto job = DirectoryJob::start(DirectoryJob::Kind::List, t.file("haengt"), fs);
    // The listing comes, then the probes stop at the hung child.
    EXPECT_FALSE(job->waitFinished(std::chrono::steady_clock::now() + 200ms));
    DirectoryJob::Answers early = job->take();
    EXPECT_TRUE(early.listed);
    EXPECT_EQ(early.probes, (std::vector<std::pair<std::size_t, bool>>{{0, true}}));
    EXPECT_EQ(fs.held(), 1);
    EXPECT_EQ(DirectoryJob::running(), 1);

    // Cancelled and released, it asks nothing more of the drive.
    job->cancel();
    job.reset();
    fs.release();
    EXPECT_TRUE(threadsEnd());
    EXPECT_EQ(fs.calls(Op::OpenDirectory), 3); // the folder, "a" and "b", never "c"
}
