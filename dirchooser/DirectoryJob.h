// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace platform {
class FileSystem;
}

namespace dirchooser {

// Reads one directory for the chooser on a thread of its own, so that a slow or hung drive
// never holds up the window. The window's thread takes the answers as they come and may
// walk away from a job at any time: the thread then ends by itself, or stays blocked in its
// call for as long as the drive does, without anyone waiting for it.
class DirectoryJob : public std::enable_shared_from_this<DirectoryJob> {
public:
    enum class Kind {
        // The sub-directories, sorted as the tree shows them; then, child by child, whether
        // each has one of its own.
        List,
        // Only whether the directory has a sub-directory (answered as child 0).
        Probe,
    };

    // What has come since the window's thread last asked.
    struct Answers {
        bool listed = false; // this batch holds the listing: names, or none when it failed
        std::optional<std::vector<std::string>> names;
        std::vector<std::pair<std::size_t, bool>> probes; // child index, has a sub-directory
        bool finished = false;                            // nothing more will come
        // Entries read and probes answered so far: a slow drive's signs of life.
        long progress = 0;
    };

    // Starts the job. fs is what the thread lists through. Children whose path is in
    // unprobed (mount points of other drives) are never opened: they get no probe answer.
    static std::shared_ptr<DirectoryJob> start(Kind kind, std::string path,
                                               platform::FileSystem& fs,
                                               std::vector<std::string> unprobed = {});

    // Waits until the job has finished or deadline has passed; true when it has finished.
    bool waitFinished(std::chrono::steady_clock::time_point deadline);
    // Hands over what has come since the last call.
    Answers take();
    // Asks the thread to stop before its next request; what it still finds is dropped.
    void cancel() { m_cancelled.store(true); }

    // Threads that have not ended yet, those blocked on a hung drive included.
    static int running();

    DirectoryJob(Kind kind, std::string path, platform::FileSystem& fs,
                 std::vector<std::string> unprobed);

private:
    void run();
    void answerListing(std::optional<std::vector<std::string>> names);
    void answerProbe(std::size_t child, bool hasSubdirectory);
    void finish();

    const Kind m_kind;
    const std::string m_path;
    platform::FileSystem& m_fs;
    const std::vector<std::string> m_unprobed;
    std::atomic<bool> m_cancelled{false};
    std::atomic<long> m_progress{0};

    std::mutex m_mutex;
    std::condition_variable m_finishedChanged;
    Answers m_answers; // guarded by m_mutex
};

} // namespace dirchooser
