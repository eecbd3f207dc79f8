// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "DesignReading.h"

#include "design/DesignModel.h"

#include <atomic>

namespace {
std::atomic<int> running{0};
} // namespace

DesignReading::DesignReading(std::string path, std::size_t bufferSize)
    : m_read(
          [path = std::move(path), bufferSize] {
              Answer answer;
              answer.data.resize(bufferSize);
              answer.length = DesignModel::ReadDesignBytes(path, answer.data, answer.error);
              return answer;
          },
          running) {}

int DesignReading::threadsRunning() {
    return running.load();
}
