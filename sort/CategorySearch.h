// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class FileSystem;
}

// The category walk of a target on a thread of its own, so that a slow or hung drive never
// holds up the window: it finds what CategoryWalk::FillCategories lists, in the same order and
// up to the same limit, and hands the paths over as they come. Nothing ever waits for the
// thread: cancelling or dropping the search leaves it to end by itself, even when it is stuck
// in a drive that no longer answers, and what it finds after that is thrown away.
class CategorySearch {
public:
    // Starts the walk of target on the program's file system, which must outlive the thread.
    explicit CategorySearch(const std::string& target);
    CategorySearch(const std::string& target, platform::FileSystem& fs);
    CategorySearch(const CategorySearch&) = delete;
    CategorySearch& operator=(const CategorySearch&) = delete;
    // Cancels the walk.
    ~CategorySearch();

    // Moves the paths found since the last call to the end of paths, in the order found.
    // True once the walk has ended and every path it found is taken.
    bool take(std::vector<std::string>& paths);
    // Waits until the walk ends or timeout passes; true when it ended. The window never waits:
    // this is for tests and benchmarks.
    bool waitUntilEnded(std::chrono::milliseconds timeout) const;
    // Ends the walk at its next directory; nothing it finds reaches take any more.
    void cancel();

    // The walks' threads still running, cancelled ones among them: a test waits for none before
    // the file system it installed goes away.
    static int threadsRunning();

private:
    struct State;
    std::shared_ptr<State> m_state;
};
