// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CatalogDesign.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace katalog {

// Prepares designs 0 to count - 1 on threads of its own and hands them over in that order. At
// most `ahead` designs wait prepared, so the memory stays the same however many the folders
// hold.
class ReadingPool {
public:
    using Work = std::function<CatalogDesign(std::size_t index)>;

    ReadingPool(std::size_t count, Work work, unsigned threads, std::size_t ahead);
    ReadingPool(const ReadingPool&) = delete;
    ReadingPool& operator=(const ReadingPool&) = delete;
    // Stops the threads once the designs they are preparing are done.
    ~ReadingPool();

    // Asks the threads to stop and waits up to patience for the designs they are preparing.
    // False when one is still being read, as from a share that stopped answering: the threads
    // are then let go, and the pool must be kept until the process ends.
    bool stop(std::chrono::milliseconds patience);

    // Design index, which must be the one after the design taken last; empty when it is not
    // ready within wait.
    std::optional<CatalogDesign> take(std::size_t index, std::chrono::milliseconds wait);
    // Gives up waiting for design index, which counts as taken: a file on a share that stopped
    // answering, as are the designs before it not yet taken. New threads stand in for those
    // stuck on designs given up, so that as many as asked for go on reading (up to
    // kMostThreads in all); should such a file answer after all, what it gives is dropped. A
    // pool with a design still being read must then be stopped, and kept when stop says so.
    void skip(std::size_t index);

    // However many designs hang, no more threads than this wait on them.
    static constexpr std::size_t kMostThreads = 32;

private:
    static constexpr std::size_t kIdle = SIZE_MAX;
    void start(); // under the lock
    void run(std::size_t self);

    const std::size_t m_count;
    const Work m_work;
    std::mutex m_mutex;
    std::condition_variable m_ready; // a design was prepared
    std::condition_variable m_room;  // a design was taken, or the pool stops
    std::condition_variable m_ended; // a thread ended
    unsigned m_running = 0;          // threads not yet ended
    unsigned m_readers = 0;          // threads asked for
    std::size_t m_next = 0;          // the next design to prepare
    std::size_t m_taken = 0;         // designs handed over
    bool m_stopping = false;
    std::vector<std::optional<CatalogDesign>> m_slots; // design i waits in slot i % ahead
    std::vector<std::thread> m_threads;
    std::vector<std::size_t> m_reading; // the design each thread reads, or kIdle
};

} // namespace katalog
