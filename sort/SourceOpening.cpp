// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "SourceOpening.h"

#include "design/DesignModel.h"
#include "platform/Names.h"

#include <atomic>

namespace {
std::atomic<int> running{0};

SourceOpening::Answer scanAndReadFirst(const std::string& directory, const SourceTypes& types,
                                       std::size_t bufferSize, std::size_t listSize,
                                       std::size_t listGrowth) {
    SourceOpening::Answer result(listSize, listGrowth);
    result.directory = platform::withTrailingSeparator(directory);
    result.list.removeAll();
    scanSource(result.directory, types, result.list);
    if (!result.list.isEmpty() && !result.list[0].name.empty()) {
        result.firstRead = true;
        result.data.resize(bufferSize);
        result.length = DesignModel::ReadDesignBytes(result.directory + result.list[0].diskName,
                                                     result.data, result.error);
    }
    return result;
}
} // namespace

SourceOpening::SourceOpening(std::string directory, SourceTypes types, std::size_t bufferSize,
                             std::size_t listSize, std::size_t listGrowth)
    : AnswerLater(
          [directory = std::move(directory), types, bufferSize, listSize, listGrowth] {
              return scanAndReadFirst(directory, types, bufferSize, listSize, listGrowth);
          },
          running) {}

int SourceOpening::threadsRunning() {
    return running.load();
}
