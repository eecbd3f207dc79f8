// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <string>

namespace katalog {

// The line on the terminal that says how far a long catalogue has come: designs done of all,
// the current name and the time left. Messages about single files go above it.
class Progress {
public:
    // shown: whether the line is drawn at all (a terminal, and not asked to be quiet).
    Progress(std::FILE* out, bool shown, std::size_t total);

    void update(std::size_t done, const std::string& name);
    // A message of its own line, which the progress line does not overwrite.
    void message(const std::string& text);
    // Clears the line.
    void finish();

    // "noch 1:05" for seconds left; empty while too little is done to guess.
    static std::string timeLeft(double elapsedSeconds, std::size_t done, std::size_t total);

private:
    void clearLine();

    std::FILE* m_out;
    bool m_shown;
    std::size_t m_total;
    bool m_drawn = false;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_lastDrawn;
    std::string m_line;
};

} // namespace katalog
