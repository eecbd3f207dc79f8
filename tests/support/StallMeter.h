// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <memory>

class QTimer;

// Measures how long the calling thread's event loop goes without a turn while an action runs:
// the longest time a window on this thread would not repaint or answer. A fine timer on this
// thread notes every turn; the longest gap between two notes is the stall.
class StallMeter {
public:
    using Clock = std::chrono::steady_clock;

    struct Result {
        std::chrono::nanoseconds longest{0};
        std::chrono::nanoseconds total{0};
        long turns = 0;
        bool finished = true; // done() said so before the time ran out

        double longestMs() const {
            return std::chrono::duration<double, std::milli>(longest).count();
        }
        double totalMs() const { return std::chrono::duration<double, std::milli>(total).count(); }
    };

    StallMeter();
    ~StallMeter();
    StallMeter(const StallMeter&) = delete;
    StallMeter& operator=(const StallMeter&) = delete;

    void start();
    // Counts the gap up to now as well, so an action that never gave the loop a turn is whole.
    Result stop();

    // Runs action on this thread, then turns the event loop until done() holds (an action that
    // hands its work to another thread) or the timeout passes, and returns what it measured.
    // Without done, the loop is turned once after the action.
    static Result measure(const std::function<void()>& action,
                          const std::function<bool()>& done = {},
                          std::chrono::milliseconds timeout = std::chrono::seconds(120));

private:
    void turn();

    std::unique_ptr<QTimer> m_timer;
    Clock::time_point m_started;
    Clock::time_point m_last;
    std::chrono::nanoseconds m_longest{0};
    long m_turns = 0;
};
