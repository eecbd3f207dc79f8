// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include "SourceScan.h"
#include "design/SourceFileList.h"
#include "platform/AnswerLater.h"
#include "platform/FileError.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the rescan answers.
struct SourceOpeningAnswer {
    // The source directory, ending in a separator, and its accepted files.
    std::string directory;
    SourceFileList list;
    // The first file's bytes as the design view reads them (the buffer started at the size it
    // was given), how many it delivered and why it stopped early; only where the list has a
    // first file with a name.
    bool firstRead = false;
    std::vector<std::uint8_t> data;
    int length = 0;
    std::optional<platform::FileError> error;

    SourceOpeningAnswer(std::size_t listSize, std::size_t listGrowth)
        : list(listSize, listGrowth) {}
};

// The rescan of the source and the read of its first file that come with opening the
// copy-and-sort dialog or choosing a new source there, beside the window: a source on a slow
// share or a stick that stopped answering never holds up the window.
class SourceOpening : public platform::AnswerLater<SourceOpeningAnswer> {
public:
    // Starts scanning directory for types. The list is made as list(listSize, listGrowth) and
    // emptied, as the design view's list is before a scan; the first file is read into a
    // buffer of bufferSize bytes that grows as needed.
    SourceOpening(std::string directory, SourceTypes types, std::size_t bufferSize,
                  std::size_t listSize, std::size_t listGrowth);

    // Threads that have not ended yet: a test waits for none before the file system it
    // installed goes away.
    static int threadsRunning();
};
