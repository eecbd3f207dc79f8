// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// What a reader decodes a file into: the entry arrays, the colour tables and the bounds. The
// readers see nothing else of the model, so each is a plain function over the file's bytes.

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

// Commands of the entry list.
inline constexpr std::uint8_t CMD_FIRST = 0;
inline constexpr std::uint8_t CMD_STITCH = 1;
inline constexpr std::uint8_t CMD_JUMP = 2;
inline constexpr std::uint8_t CMD_COLOR_CHANGE = 4;
inline constexpr std::uint8_t CMD_END = 8;
// x and y of the end entry.
inline constexpr std::int16_t END_MARK = 0x55AA;

using ColorRef = std::uint32_t; // 0x00BBGGRR: red in the low byte

inline constexpr int kColorListSize = 64;
using ColorList = std::array<std::uint8_t, kColorListSize>;
using PcsColors = std::array<ColorRef, 16>;

// The bounds of the decoded points, from start values that any point moves past. A point
// only lowers a minimum or raises a maximum, so a design on one side of a start value keeps
// it. A reader keeps its bounds in a local while a loop runs: the compiler cannot hold them
// in registers through a reference across the stores into the entry arrays.
struct Bounds {
    std::int16_t minX = 1000;
    std::int16_t maxX = -1000;
    std::int16_t minY = 1000;
    std::int16_t maxY = -1000;

    // Compares the full values and keeps their low 16 bits. Readers that keep their position
    // in 16 bits pass it as such: comparing in 16 bits then costs fewer instructions.
    template <typename Coordinate> void include(Coordinate x, Coordinate y) {
        if (maxX < x)
            maxX = static_cast<std::int16_t>(x);
        if (minX > x)
            minX = static_cast<std::int16_t>(x);
        if (maxY < y)
            maxY = static_cast<std::int16_t>(y);
        if (minY > y)
            minY = static_cast<std::int16_t>(y);
    }
};

// The entry arrays' starts, for a loop that writes entries unchecked after reserving room.
struct EntryArrays {
    std::int16_t* x;
    std::int16_t* y;
    std::uint8_t* cmd;

    void put(std::ptrdiff_t k, std::int16_t px, std::int16_t py, std::uint8_t c) const {
        x[k] = px, y[k] = py, cmd[k] = c;
    }
};

// The model's storage as a reader sees it. The arrays only grow; the numbers start as the
// model holds them and go back into it when the reader is done.
class DesignSink {
public:
    DesignSink(std::vector<std::int16_t>& x, std::vector<std::int16_t>& y,
               std::vector<std::uint8_t>& cmd, ColorList& colorList, PcsColors& pcsColors,
               int colors)
        : colorList(colorList), pcsColors(pcsColors), colors(colors), m_x(x), m_y(y), m_cmd(cmd) {}

    ColorList& colorList;
    PcsColors& pcsColors;
    // Colour blocks: 1 plus the colour changes, for the readers that count them.
    int colors;
    Bounds bounds;
    int width = 0;
    int height = 0;
    // The thread colour of each colour block, for formats that store their threads' colours
    // (or name them in their maker's thread table) rather than a palette index.
    std::vector<ColorRef> threadColors;

    // Entry k; the arrays grow when k lies past them.
    void put(int k, std::int16_t x, std::int16_t y, std::uint8_t cmd) {
        const auto e = static_cast<std::size_t>(k);
        if (e >= m_cmd.size())
            grow(e + 1);
        m_x[e] = x, m_y[e] = y, m_cmd[e] = cmd;
    }
    // Makes room for entries 0 to n - 1 and returns the arrays to write them unchecked.
    EntryArrays reserve(std::size_t n) {
        if (m_cmd.size() < n)
            grow(n);
        return {m_x.data(), m_y.data(), m_cmd.data()};
    }
    // Writes the end entry at k and the extents from the bounds.
    void end(int k) {
        put(k, END_MARK, END_MARK, CMD_END);
        width = bounds.maxX - bounds.minX;
        height = bounds.maxY - bounds.minY;
    }

private:
    void grow(std::size_t atLeast) {
        // Only when parts of a file overlap does a design outgrow the room made before
        // decoding; grow generously so that such a file costs few reallocations.
        const std::size_t n = std::max(atLeast, m_cmd.size() + m_cmd.size() / 2);
        m_x.resize(n);
        m_y.resize(n);
        m_cmd.resize(n);
    }

    std::vector<std::int16_t>& m_x;
    std::vector<std::int16_t>& m_y;
    std::vector<std::uint8_t>& m_cmd;
};
