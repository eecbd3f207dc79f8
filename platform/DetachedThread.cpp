// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "DetachedThread.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <pthread.h>
#include <system_error>
#include <thread>
#include <utility>

namespace platform {

namespace {

// Threads that are done wait a while for the next work: on a busy machine a new thread waits
// much longer for a core than one that wakes up, and a step's quick read would pay for that.
class IdleThreads {
public:
    // Hands work to a waiting thread; false when none waits.
    bool hand(std::function<void()>& work) {
        const std::lock_guard lock(m_mutex);
        if (m_waiting == 0)
            return false;
        --m_waiting;
        m_work.push_back(std::move(work));
        m_workAdded.notify_one();
        return true;
    }

    // Runs work, then what is handed over, until nothing comes for a while.
    void serve(std::function<void()> work) {
        for (;;) {
            work();
            // What the work held goes now, not when the next work comes: its owner may be
            // waiting to be the only one holding it.
            work = nullptr;
            std::unique_lock lock(m_mutex);
            ++m_waiting;
            if (!m_workAdded.wait_for(lock, kWaitForWork,
                                      [this] { return !m_work.empty() || m_ending; }) ||
                m_work.empty()) {
                --m_waiting;
                m_waitingChanged.notify_all();
                return;
            }
            work = std::move(m_work.front());
            m_work.pop_front();
        }
    }

    // Tells every waiting thread to end and waits until none waits any more.
    void endWaiting() {
        std::unique_lock lock(m_mutex);
        m_ending = true;
        m_workAdded.notify_all();
        m_waitingChanged.wait(lock, [this] { return m_waiting == 0; });
        m_ending = false;
    }

private:
    static constexpr std::chrono::seconds kWaitForWork{10};
    std::mutex m_mutex;
    std::condition_variable m_workAdded;
    std::condition_variable m_waitingChanged;
    bool m_ending = false;                    // guarded by m_mutex
    std::deque<std::function<void()>> m_work; // never more than threads waiting
    int m_waiting = 0;                        // threads waiting, less the work handed to them
};

// Never destroyed: waiting threads may still use it while the program ends.
IdleThreads* threads = nullptr;

IdleThreads& idleThreads() {
    static const bool once = [] {
        threads = new IdleThreads;
        // A child process has none of its parent's threads: it starts with no waiting ones
        // (and a lock nobody holds).
        ::pthread_atfork(nullptr, nullptr, [] { threads = new IdleThreads; });
        return true;
    }();
    (void)once;
    return *threads;
}

} // namespace

void runDetached(std::function<void()> work, std::atomic<int>& running) {
    running.fetch_add(1);
    std::function<void()> counted = [work = std::move(work), &running] {
        work();
        running.fetch_sub(1);
    };
    if (idleThreads().hand(counted))
        return;
    try {
        // The thread's own copy is handed on whole, so that nothing of the work stays behind
        // in it.
        std::thread([counted]() mutable {
            idleThreads().serve(std::exchange(counted, nullptr));
        }).detach();
    } catch (const std::system_error&) {
        counted();
    }
}

void endWaitingThreads() {
    idleThreads().endWaiting();
}

} // namespace platform
