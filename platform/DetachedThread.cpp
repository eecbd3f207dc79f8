// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "DetachedThread.h"

#include <system_error>
#include <thread>

namespace platform {

void runDetached(std::function<void()> work, std::atomic<int>& running) {
    running.fetch_add(1);
    try {
        std::thread([work, &running] {
            work();
            running.fetch_sub(1);
        }).detach();
    } catch (const std::system_error&) {
        work();
        running.fetch_sub(1);
    }
}

} // namespace platform
