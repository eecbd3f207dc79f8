// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "DirectoryJob.h"

#include "ChooserPaths.h"
#include "DirectoryProbe.h"

#include "platform/DetachedThread.h"
#include "platform/Names.h"

#include <algorithm>

namespace dirchooser {

namespace {
std::atomic<int> runningThreads{0};
}

DirectoryJob::DirectoryJob(Kind kind, std::string path, platform::FileSystem& fs,
                           std::vector<std::string> unprobed)
    : m_kind(kind), m_path(std::move(path)), m_fs(fs), m_unprobed(std::move(unprobed)) {}

std::shared_ptr<DirectoryJob> DirectoryJob::start(Kind kind, std::string path,
                                                  platform::FileSystem& fs,
                                                  std::vector<std::string> unprobed) {
    auto job = std::make_shared<DirectoryJob>(kind, std::move(path), fs, std::move(unprobed));
    // The thread owns a share of the job: the window may drop its own at any time. Without a
    // thread, the listing is read here, as the chooser always did.
    platform::runDetached([job] { job->run(); }, runningThreads);
    return job;
}

int DirectoryJob::running() {
    return runningThreads.load();
}

void DirectoryJob::run() {
    if (m_kind == Kind::Probe) {
        answerProbe(0, hasSubdirectory(m_path, m_fs));
        finish();
        return;
    }
    std::optional<std::vector<std::string>> names = listSubdirectories(m_path, m_fs, [this] {
        ++m_progress;
        return !m_cancelled.load();
    });
    if (names)
        sortFolderNames(*names);
    const std::vector<std::string> children = names.value_or(std::vector<std::string>{});
    answerListing(std::move(names));
    for (std::size_t i = 0; i < children.size() && !m_cancelled.load(); ++i) {
        const std::string child = platform::joinPath(m_path, children[i]);
        if (std::find(m_unprobed.begin(), m_unprobed.end(), child) == m_unprobed.end())
            answerProbe(i, hasSubdirectory(child, m_fs));
    }
    finish();
}

void DirectoryJob::answerListing(std::optional<std::vector<std::string>> names) {
    std::lock_guard lock(m_mutex);
    m_answers.listed = true;
    m_answers.names = std::move(names);
}

void DirectoryJob::answerProbe(std::size_t child, bool hasSubdirectory) {
    ++m_progress;
    std::lock_guard lock(m_mutex);
    m_answers.probes.emplace_back(child, hasSubdirectory);
}

void DirectoryJob::finish() {
    {
        std::lock_guard lock(m_mutex);
        m_answers.finished = true;
    }
    m_finishedChanged.notify_all();
}

bool DirectoryJob::waitFinished(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(m_mutex);
    return m_finishedChanged.wait_until(lock, deadline, [this] { return m_answers.finished; });
}

DirectoryJob::Answers DirectoryJob::take() {
    std::lock_guard lock(m_mutex);
    Answers taken = std::move(m_answers);
    m_answers = Answers{};
    // Finished stays set for later calls; the rest is handed over once.
    m_answers.finished = taken.finished;
    taken.progress = m_progress.load();
    return taken;
}

} // namespace dirchooser
