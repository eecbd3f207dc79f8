// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "CategorySearch.h"

#include "CategoryFinder.h"
#include "platform/DetachedThread.h"
#include "platform/FileSystem.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {

std::atomic<int> running{0};

} // namespace

// What the walk's thread and the window share; the thread holds it as long as it runs.
struct CategorySearch::State {
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    std::condition_variable endedChanged;
    std::vector<std::string> found; // guarded by mutex
    bool ended = false;             // guarded by mutex

    void walk(const std::string& target, platform::FileSystem& fs) {
        // The target entry counts first, as when the list is filled at once.
        int nKategorien = 1;
        CategoryFinder finder(
            fs, nKategorien,
            [this](const std::string& path) {
                const std::lock_guard lock(mutex);
                found.push_back(path);
            },
            &cancelled);
        finder.scan(target);
        {
            const std::lock_guard lock(mutex);
            ended = true;
        }
        endedChanged.notify_all();
    }
};

CategorySearch::CategorySearch(const std::string& target)
    : CategorySearch(target, platform::fileSystem()) {}

CategorySearch::CategorySearch(const std::string& target, platform::FileSystem& fs)
    : m_state(std::make_shared<State>()) {
    // Without a thread, the walk runs here, as it always did.
    platform::runDetached([state = m_state, target, &fs] { state->walk(target, fs); }, running);
}

CategorySearch::~CategorySearch() {
    cancel();
}

bool CategorySearch::take(std::vector<std::string>& paths) {
    const std::lock_guard lock(m_state->mutex);
    if (m_state->cancelled.load())
        return true;
    if (paths.empty())
        paths.swap(m_state->found);
    else
        paths.insert(paths.end(), std::make_move_iterator(m_state->found.begin()),
                     std::make_move_iterator(m_state->found.end()));
    m_state->found.clear();
    return m_state->ended;
}

bool CategorySearch::waitUntilEnded(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_state->mutex);
    return m_state->endedChanged.wait_for(lock, timeout, [this] { return m_state->ended; });
}

void CategorySearch::cancel() {
    m_state->cancelled.store(true);
    const std::lock_guard lock(m_state->mutex);
    m_state->found.clear();
}

int CategorySearch::threadsRunning() {
    return running.load();
}
