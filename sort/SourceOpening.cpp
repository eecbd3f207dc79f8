// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "SourceOpening.h"

#include "design/DesignModel.h"
#include "platform/DetachedThread.h"
#include "platform/Names.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace {
std::atomic<int> running{0};
} // namespace

// What the thread and the window share; the thread holds it for as long as it runs.
struct SourceOpening::State {
    std::mutex mutex;
    std::condition_variable readyChanged;
    std::optional<Answer> answer; // guarded by mutex
    bool taken = false;           // guarded by mutex

    void run(const std::string& directory, const SourceTypes& types, std::size_t bufferSize,
             std::size_t listSize, std::size_t listGrowth) {
        Answer result(listSize, listGrowth);
        result.directory = platform::withTrailingSeparator(directory);
        result.list.removeAll();
        scanSource(result.directory, types, result.list);
        if (!result.list.isEmpty() && !result.list[0].name.empty()) {
            result.firstRead = true;
            result.data.resize(bufferSize);
            result.length = DesignModel::ReadDesignBytes(result.directory + result.list[0].diskName,
                                                         result.data, result.error);
        }
        {
            const std::lock_guard lock(mutex);
            answer.emplace(std::move(result));
        }
        readyChanged.notify_all();
    }
};

SourceOpening::SourceOpening(std::string directory, SourceTypes types, std::size_t bufferSize,
                             std::size_t listSize, std::size_t listGrowth)
    : m_state(std::make_shared<State>()) {
    // Without a thread, the scan runs here, as it always did.
    platform::runDetached(
        [state = m_state, directory = std::move(directory), types, bufferSize, listSize,
         listGrowth] { state->run(directory, types, bufferSize, listSize, listGrowth); },
        running);
}

SourceOpening::~SourceOpening() = default;

bool SourceOpening::waitReady(std::chrono::steady_clock::time_point deadline) const {
    std::unique_lock lock(m_state->mutex);
    return m_state->readyChanged.wait_until(lock, deadline,
                                            [this] { return m_state->answer.has_value(); });
}

std::optional<SourceOpening::Answer> SourceOpening::take() {
    const std::lock_guard lock(m_state->mutex);
    if (!m_state->answer || m_state->taken)
        return std::nullopt;
    m_state->taken = true;
    return std::move(m_state->answer);
}

int SourceOpening::threadsRunning() {
    return running.load();
}
