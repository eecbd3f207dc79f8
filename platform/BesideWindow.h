// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

class QObject;

namespace platform {

// Thrown where the program ends (its event loops were told to quit) while the window waited for
// work beside it: what the window was doing ends without another word.
struct ProgramEnding {};

// What the window's thread and a thread working beside it share; the thread holds it for as
// long as it runs, so that a window that walked away owes it nothing.
struct BesideWork {
    std::mutex mutex;
    std::condition_variable answeredChanged;
    bool answered = false;    // guarded by mutex
    QObject* waker = nullptr; // guarded by mutex: the loop the window turns meanwhile
    // On the thread, once its result is in place.
    void answer();
};

// Starts run on a detached thread and waits for it until limit has passed, turning this
// thread's event loop meanwhile (when it is the application's): true when work answered, false
// when the window walked away. A quick answer is taken without turning the loop. Throws
// ProgramEnding.
bool awaitBesideWindow(const std::shared_ptr<BesideWork>& work, std::function<void()> run,
                       std::chrono::milliseconds limit);

// Threads that have not ended yet: a test waits for none before its file system goes.
int besideWindowRunning();

// Runs work (which must own all it touches) beside the window and returns its result, or
// rethrows what it threw; none when it did not answer within limit.
template <typename Result, typename Work>
std::optional<Result> besideWindow(Work work, std::chrono::milliseconds limit) {
    struct State : BesideWork {
        std::optional<Result> result;
        std::exception_ptr error;
    };
    auto state = std::make_shared<State>();
    const bool answered = awaitBesideWindow(
        state,
        [state, work = std::move(work)]() mutable {
            try {
                state->result.emplace(work());
            } catch (...) {
                state->error = std::current_exception();
            }
        },
        limit);
    if (!answered)
        return std::nullopt;
    if (state->error)
        std::rethrow_exception(state->error);
    return std::move(state->result);
}

} // namespace platform
