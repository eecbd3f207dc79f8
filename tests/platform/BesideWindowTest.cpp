// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "platform/BesideWindow.h"
#include "platform/DetachedThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

template <typename Condition> bool within(std::chrono::milliseconds limit, Condition condition) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

} // namespace

// A thread that waits for further work must not keep the last work's captures: their owner
// waits to be the only one holding them (a copy run gets its buffer back so).
TEST(DetachedThread, WorkDoneLetsGoOfWhatItHeldAtOnce) {
    std::atomic<int> running{0};
    for (int round = 0; round < 2; ++round) { // a new thread, then a waiting one
        SCOPED_TRACE(round);
        auto held = std::make_shared<int>(0);
        platform::runDetached([held] { ++*held; }, running);
        ASSERT_TRUE(within(2000ms, [&] { return running == 0; }));
        EXPECT_TRUE(within(500ms, [&] { return held.use_count() == 1; }));
    }
}

// A child process has none of its parent's threads, also not those that wait for work.
TEST(DetachedThread, AForkedChildRunsItsOwnWork) {
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "ThreadSanitizer refuses threads in a child forked beside other threads";
#endif
    std::atomic<int> running{0};
    platform::runDetached([] {}, running); // leaves a thread waiting for work
    ASSERT_TRUE(within(2000ms, [&] { return running == 0; }));
    const pid_t child = ::fork();
    if (child == 0) {
        std::atomic<bool> ran{false};
        platform::runDetached([&] { ran = true; }, running);
        ::_exit(within(2000ms, [&] { return ran.load(); }) ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Steps in turn: each has the limit from the end of the one before, so a long run of quick
// steps is never cut short, and a step that does not answer is named.
TEST(BesideWindow, EachStepHasTheLimitFromTheLastOne) {
    const struct {
        const char* name;
        std::chrono::milliseconds slowStepTakes;
        std::size_t done;
        std::optional<std::size_t> hung;
    } rows[] = {
        {"together longer than the limit", 150ms, 3, std::nullopt},
        {"the second step past it", 800ms, 1, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        std::optional<std::size_t> hung;
        const std::vector<std::size_t> done = platform::besideInTurn<std::size_t>(
            0, 3,
            [takes = row.slowStepTakes](std::size_t i) {
                std::this_thread::sleep_for(i == 1 ? takes : 150ms);
                return i;
            },
            [](std::size_t) { return false; }, 300ms, hung);
        EXPECT_EQ(done.size(), row.done);
        EXPECT_EQ(hung, row.hung);
    }
}
