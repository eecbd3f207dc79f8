// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "Backdrop.h"

#include "StitchDrawing.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr ColorRef kWhite = 0xFFFFFF;
constexpr double kHardToSee = 1.5;

double luminance(ColorRef c) {
    const auto linear = [](unsigned v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c & 0xFF) + 0.7152 * linear(c >> 8 & 0xFF) +
           0.0722 * linear(c >> 16 & 0xFF);
}

} // namespace

double contrastRatio(ColorRef a, ColorRef b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::uint32_t backdropFor(const DesignData& design, const PecPalette& pec, const SewPalette& sew) {
    int block = 0;
    bool moved = false; // whether the current block moves the needle
    bool anyThread = false;
    const auto visible = [&] {
        return contrastRatio(blockColor(design, pec, sew, block), kWhite) >= kHardToSee;
    };
    for (std::size_t i = 1; i < design.m_StitchCmd.size(); ++i) {
        const std::uint8_t cmd = design.m_StitchCmd[i];
        if (cmd == CMD_END)
            break;
        if (cmd == CMD_COLOR_CHANGE) {
            if (moved && visible())
                return kWhiteBackdrop;
            anyThread = anyThread || moved;
            moved = false;
            ++block;
        } else {
            moved = true;
        }
    }
    if (moved && visible())
        return kWhiteBackdrop;
    return anyThread || moved ? kDarkBackdrop : kWhiteBackdrop;
}
