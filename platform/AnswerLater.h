// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include "DetachedThread.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace platform {

// Work on a drive that may stop answering (a scan, a read), run on a thread of its own so that
// it never holds up the window. The window takes the answer when it is there, or walks away
// from it; nothing ever waits for the thread, which may stay blocked for as long as the drive
// does. running counts the threads of one kind that have not ended yet. (Work whose caller
// waits for it while the window's loop turns, such as a copy's steps, is BesideWindow.h's.)
template <typename AnswerType> class AnswerLater {
public:
    using Answer = AnswerType;

    AnswerLater(std::function<Answer()> work, std::atomic<int>& running)
        : m_state(std::make_shared<State>()) {
        // Without a thread, the work runs here, before this returns.
        runDetached(
            [state = m_state, work = std::move(work)] {
                Answer result = work();
                {
                    const std::lock_guard lock(state->mutex);
                    state->answer.emplace(std::move(result));
                }
                state->readyChanged.notify_all();
            },
            running);
    }
    AnswerLater(const AnswerLater&) = delete;
    AnswerLater& operator=(const AnswerLater&) = delete;

    // Waits until the answer is there or deadline has passed; true when it is there.
    bool waitReady(std::chrono::steady_clock::time_point deadline) const {
        std::unique_lock lock(m_state->mutex);
        return m_state->readyChanged.wait_until(lock, deadline,
                                                [this] { return m_state->answer.has_value(); });
    }

    // The answer, once it is there and only once; none before.
    std::optional<Answer> take() {
        const std::lock_guard lock(m_state->mutex);
        if (!m_state->answer || m_state->taken)
            return std::nullopt;
        m_state->taken = true;
        return std::move(m_state->answer);
    }

private:
    // What the thread and the window share; the thread holds it for as long as it runs.
    struct State {
        std::mutex mutex;
        std::condition_variable readyChanged;
        std::optional<Answer> answer; // guarded by mutex
        bool taken = false;           // guarded by mutex
    };
    std::shared_ptr<State> m_state;
};

} // namespace platform
