// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/BesideTheWindow.h"
#include "platform/FileError.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The read of the design a step goes to, beside the window: a file on a share that stopped
// answering never holds up the window.
class DesignReading {
public:
    // The file's bytes as the design view reads them (the buffer started at the size it was
    // given), how many it delivered and why it stopped early.
    struct Answer {
        std::vector<std::uint8_t> data;
        int length = 0;
        std::optional<platform::FileError> error;
    };

    // Starts reading the file at path into a buffer of bufferSize bytes that grows as needed.
    DesignReading(std::string path, std::size_t bufferSize);

    bool waitReady(std::chrono::steady_clock::time_point deadline) const {
        return m_read.waitReady(deadline);
    }
    std::optional<Answer> take() { return m_read.take(); }

    // Threads that have not ended yet: a test waits for none before the file system it
    // installed goes away.
    static int threadsRunning();

private:
    platform::BesideTheWindow<Answer> m_read;
};
