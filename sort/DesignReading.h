// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include "platform/AnswerLater.h"
#include "platform/FileError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The file's bytes as the design view reads them (in the buffer it was given, grown as
// needed), how many it delivered and why it stopped early.
struct DesignBytes {
    std::vector<std::uint8_t> data;
    int length = 0;
    std::optional<platform::FileError> error;
};

// The read of the design a step goes to, beside the window: a file on a share that stopped
// answering never holds up the window.
class DesignReading : public platform::AnswerLater<DesignBytes> {
public:
    // Starts reading the file at path into buffer; handing over the last one spares a step
    // allocating and clearing a buffer of the design's size.
    DesignReading(std::string path, std::vector<std::uint8_t> buffer);

    // Threads that have not ended yet: a test waits for none before the file system it
    // installed goes away.
    static int threadsRunning();
};
