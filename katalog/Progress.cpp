// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Progress.h"

#include "Labels.h"

#include <cmath>

namespace katalog {

namespace {
// Redrawing more often than this only costs the terminal time.
constexpr auto kRedrawEvery = std::chrono::milliseconds(100);
// Longer names are cut, so the line stays on one line of a usual terminal.
constexpr std::size_t kLongestName = 32;
} // namespace

Progress::Progress(std::FILE* out, bool shown, std::size_t total)
    : m_out(out), m_shown(shown), m_total(total), m_start(std::chrono::steady_clock::now()),
      m_lastDrawn(m_start - kRedrawEvery) {}

std::string Progress::timeLeft(double elapsedSeconds, std::size_t done, std::size_t total) {
    if (done == 0 || done >= total || elapsedSeconds < 0.5)
        return {};
    const double left =
        elapsedSeconds / static_cast<double>(done) * static_cast<double>(total - done);
    const auto seconds = static_cast<long long>(std::ceil(left));
    char text[48];
    std::snprintf(text, sizeof text, "noch %lld:%02lld", seconds / 60, seconds % 60);
    return text;
}

void Progress::update(std::size_t done, const std::string& name) {
    if (!m_shown)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (now - m_lastDrawn < kRedrawEvery && done < m_total)
        return;
    m_lastDrawn = now;
    m_line = groupedNumber(done) + " von " + groupedNumber(m_total) + " Mustern";
    if (!name.empty()) {
        m_line += " · ";
        if (name.size() > kLongestName) {
            std::size_t cut = kLongestName - 1;
            while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
                --cut; // not inside a letter of several bytes
            m_line += name.substr(0, cut) + "…";
        } else {
            m_line += name;
        }
    }
    const std::string left =
        timeLeft(std::chrono::duration<double>(now - m_start).count(), done, m_total);
    if (!left.empty())
        m_line += " · " + left;
    std::fprintf(m_out, "\r\033[K%s", m_line.c_str());
    std::fflush(m_out);
    m_drawn = true;
}

void Progress::message(const std::string& text) {
    clearLine();
    std::fprintf(m_out, "%s\n", text.c_str());
    if (m_drawn) {
        std::fprintf(m_out, "%s", m_line.c_str());
        std::fflush(m_out);
    }
}

void Progress::finish() {
    clearLine();
    m_drawn = false;
}

void Progress::clearLine() {
    if (m_drawn) {
        std::fprintf(m_out, "\r\033[K");
        std::fflush(m_out);
    }
}

} // namespace katalog
