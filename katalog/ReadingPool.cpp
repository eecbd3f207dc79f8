// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "ReadingPool.h"

#include <algorithm>
#include <exception>

namespace katalog {

ReadingPool::ReadingPool(std::size_t count, Work work, unsigned threads, std::size_t ahead)
    : m_count(count), m_work(std::move(work)), m_slots(std::max<std::size_t>(ahead, 1)) {
    m_readers = std::clamp<unsigned>(threads, 1, static_cast<unsigned>(m_slots.size()));
    std::lock_guard lock(m_mutex);
    for (unsigned i = 0; i < m_readers; ++i)
        start();
}

void ReadingPool::start() {
    ++m_running;
    m_reading.push_back(kIdle);
    const std::size_t self = m_threads.size();
    m_threads.emplace_back([this, self] { run(self); });
}

ReadingPool::~ReadingPool() {
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_room.notify_all();
    for (auto& thread : m_threads)
        if (thread.joinable())
            thread.join();
}

bool ReadingPool::stop(std::chrono::milliseconds patience) {
    std::unique_lock lock(m_mutex);
    m_stopping = true;
    m_room.notify_all();
    if (m_ended.wait_for(lock, patience, [&] { return m_running == 0; }))
        return true;
    for (auto& thread : m_threads)
        thread.detach();
    return false;
}

void ReadingPool::run(std::size_t self) {
    for (;;) {
        std::size_t index = 0;
        {
            std::unique_lock lock(m_mutex);
            m_room.wait(lock, [&] {
                m_next = std::max(m_next, m_taken); // designs given up are not read
                return m_stopping || m_next >= m_count || m_next < m_taken + m_slots.size();
            });
            if (m_stopping || m_next >= m_count) {
                --m_running;
                m_ended.notify_all();
                return;
            }
            index = m_next++;
            m_reading[self] = index;
        }
        CatalogDesign design;
        try {
            design = m_work(index);
        } catch (const std::exception&) {
            // Out of memory for one huge design: the others still get their places.
            design = CatalogDesign{};
            design.problem = "Zu wenig Speicher, um dieses Muster zu lesen.";
        }
        {
            std::lock_guard lock(m_mutex);
            m_reading[self] = kIdle;
            if (index < m_taken)
                continue; // given up while it was read; its slot may hold a later design
            m_slots[index % m_slots.size()] = std::move(design);
        }
        m_ready.notify_all();
    }
}

std::optional<CatalogDesign> ReadingPool::take(std::size_t index, std::chrono::milliseconds wait) {
    std::unique_lock lock(m_mutex);
    auto& slot = m_slots[index % m_slots.size()];
    if (!m_ready.wait_for(lock, wait, [&] { return slot.has_value(); }))
        return std::nullopt;
    std::optional<CatalogDesign> design = std::move(slot);
    slot.reset();
    m_taken = index + 1;
    lock.unlock();
    m_room.notify_all();
    return design;
}

void ReadingPool::skip(std::size_t index) {
    {
        std::lock_guard lock(m_mutex);
        m_taken = index + 1;
        const auto stuck = static_cast<std::size_t>(
            std::count_if(m_reading.begin(), m_reading.end(),
                          [&](std::size_t i) { return i != kIdle && i < m_taken; }));
        while (m_running - stuck < m_readers && m_threads.size() < kMostThreads)
            start();
    }
    m_room.notify_all();
}

} // namespace katalog
