// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "DesignReading.h"

#include "design/DesignModel.h"

#include <atomic>

namespace {
std::atomic<int> running{0};
} // namespace

DesignReading::DesignReading(std::string path, std::vector<std::uint8_t> buffer)
    : AnswerLater(
          [path = std::move(path), buffer = std::move(buffer)]() mutable {
              Answer answer;
              answer.data = std::move(buffer);
              answer.length = DesignModel::ReadDesignBytes(path, answer.data, answer.error);
              return answer;
          },
          running) {}

int DesignReading::threadsRunning() {
    return running.load();
}
