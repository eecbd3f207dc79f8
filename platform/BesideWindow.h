// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

class QObject;

namespace platform {

// Thrown where the program ends (its event loops were told to quit) while the window waited for
// work beside it: what the window was doing ends without another word.
struct ProgramEnding {};

// What the window's thread and a thread working beside it share; the thread holds it for as
// long as it runs, so that a window that walked away owes it nothing.
struct BesideWork {
    // For work done in steps: when the last step ended (steady clock, in nanoseconds), so that
    // the limit counts from there. 0: work that is one step.
    std::atomic<std::int64_t> lastProgress{0};
    std::mutex mutex;
    std::condition_variable answeredChanged;
    bool answered = false;    // guarded by mutex
    QObject* waker = nullptr; // guarded by mutex: the loop the window turns meanwhile
    // On the thread, once its result is in place.
    void answer();
    // On the thread, after each step.
    void progressed();
};

// Starts run on a detached thread and waits for it until limit has passed (since its last step),
// turning this
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

// Runs step(i) for i from first on below end, one after another beside the window, until a
// result asks the window something (stops(result)) or all are done; returns the results of the
// steps that ended, in order. Each step has limit to end in; where one does not, the window
// walks away from it and hung holds its index: no step after it runs.
template <typename Result, typename Step, typename Stops>
std::vector<Result> besideInTurn(std::size_t first, std::size_t end, Step step, Stops stops,
                                 std::chrono::milliseconds limit,
                                 std::optional<std::size_t>& hung) {
    struct State : BesideWork {
        std::vector<Result> done; // guarded by mutex
        bool abandoned = false;   // guarded by mutex
    };
    auto state = std::make_shared<State>();
    const bool answered = awaitBesideWindow(
        state,
        [state, first, end, step = std::move(step), stops = std::move(stops)]() mutable {
            for (std::size_t i = first; i < end; ++i) {
                Result result = step(i);
                const bool asks = stops(result);
                {
                    const std::lock_guard lock(state->mutex);
                    if (state->abandoned)
                        return;
                    state->done.push_back(std::move(result));
                }
                state->progressed();
                if (asks)
                    return;
            }
        },
        limit);
    const std::lock_guard lock(state->mutex);
    if (!answered) {
        state->abandoned = true;
        hung = first + state->done.size();
    }
    return std::move(state->done);
}

} // namespace platform
