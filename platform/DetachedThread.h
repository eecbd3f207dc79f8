// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>

namespace platform {

// Runs work on a thread of its own that nobody ever waits for: the window may walk away from
// it while it is blocked on a drive that stopped answering, and the program can still end.
// running counts it from now until work returns, so that a test can wait for the threads of
// its kind to end. A thread that is done waits a while and takes the next work handed over
// here. Where no thread can be had, work runs here, before this returns.
void runDetached(std::function<void()> work, std::atomic<int>& running);

// Lets the threads that wait for further work end now rather than after a while; for a test
// that forks, which wants no other thread in the process.
void endWaitingThreads();

} // namespace platform
