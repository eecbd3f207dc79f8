// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include "TempDir.h"

#include <string>
#include <string_view>
#include <sys/types.h>

// A slow file system for tests: a directory of its own, passed through FUSE by slowfs.py, where
// every request waits a chosen time and the requests on a chosen path wait until released, like
// a network share or a drive that stops answering. Files are prepared in backing() (no requests)
// and used through path(). Where FUSE or python3-fusepy is missing, skipReason says why.
class SlowMount {
public:
    struct Options {
        int delayMs = 0;
        // Listings carry each entry's type; without it they carry names only, as many network
        // file systems' do.
        bool listingTypes = false;
    };

    SlowMount() : SlowMount(Options{}) {}
    explicit SlowMount(Options options);
    // Unmounts lazily and ends the file system, so a request still hanging never blocks.
    ~SlowMount();
    SlowMount(const SlowMount&) = delete;
    SlowMount& operator=(const SlowMount&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& skipReason() const { return m_skipReason; }
    // The mount point, without a trailing separator.
    const std::string& path() const { return m_mountPoint; }
    // The directory behind it, to prepare and check files without going through the mount.
    const std::string& backing() const { return m_backing.path(); }
    const TempDir& backingDir() const { return m_backing; }

    void setDelay(int milliseconds);
    // Requests on this path inside the mount (e.g. "share/a") and below wait until release();
    // "" hangs the whole mount. The kernel looks up one name at a time per directory (libfuse 2
    // has no parallel directory operations), so while the lookup of share/a hangs, other
    // lookups in share wait too, as on a real share that stops answering.
    void hang(std::string_view pathInside);
    void release();
    // Requests the file system has begun since the last reset.
    long requests();
    void resetRequests();
    // Requests waiting on a hung path now.
    long blocked();

private:
    std::string command(const std::string& line);

    TempDir m_dir;
    TempDir m_backing;
    std::string m_mountPoint;
    std::string m_skipReason;
    pid_t m_pid = -1;
    int m_control = -1;
    bool m_mounted = false;
};
