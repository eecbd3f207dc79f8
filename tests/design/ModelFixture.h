// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "design/DesignModel.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

// A design model that counts what it asks of its window.
class CountingModel : public DesignModel {
public:
    int repaints = 0;
    int notifications = 0;

protected:
    void RequestRepaint() override { ++repaints; }
    void CurrentFileChanged() override { ++notifications; }
};

struct Entry {
    int x;
    int y;
    int cmd;
    bool operator==(const Entry&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Entry& e) {
    return os << "(" << e.x << ", " << e.y << ", " << e.cmd << ")";
}

// The entries up to and including the end entry.
inline std::vector<Entry> entriesOf(const DesignModel& m) {
    std::vector<Entry> out;
    for (std::size_t i = 0; i < m.m_StitchCmd.size(); ++i) {
        out.push_back({m.m_StitchX[i], m.m_StitchY[i], m.m_StitchCmd[i]});
        if (m.m_StitchCmd[i] == CMD_END)
            break;
    }
    return out;
}

// Puts bytes into the model's buffer as LoadFile would and returns their length.
inline int putFile(DesignModel& m, const std::vector<std::uint8_t>& bytes) {
    if (m.m_FileData.size() < bytes.size())
        m.m_FileData.resize(bytes.size() + 1);
    std::copy(bytes.begin(), bytes.end(), m.m_FileData.begin());
    return static_cast<int>(bytes.size());
}

// A byte image built by placing byte runs at offsets; gaps are zero.
class Bytes {
public:
    Bytes& at(std::size_t offset, std::initializer_list<int> values) {
        if (m_data.size() < offset + values.size())
            m_data.resize(offset + values.size());
        for (int v : values)
            m_data[offset++] = static_cast<std::uint8_t>(v);
        return *this;
    }
    Bytes& at(std::size_t offset, const std::vector<std::uint8_t>& values) {
        if (m_data.size() < offset + values.size())
            m_data.resize(offset + values.size());
        std::copy(values.begin(), values.end(),
                  m_data.begin() + static_cast<std::ptrdiff_t>(offset));
        return *this;
    }
    Bytes& size(std::size_t n) {
        m_data.resize(n);
        return *this;
    }
    const std::vector<std::uint8_t>& data() const { return m_data; }
    operator const std::vector<std::uint8_t>&() const { return m_data; }

private:
    std::vector<std::uint8_t> m_data;
};

constexpr int kEnd = CMD_END;
constexpr Entry kEndEntry{END_MARK, END_MARK, CMD_END};
