// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "design/DesignData.h"

#include <array>
#include <cstdint>

// The two thread palettes, one for Brother and Tajima designs and one for Janome designs.
using PecPalette = std::array<ColorRef, 64>;
using SewPalette = std::array<ColorRef, 81>;

// The colour of a thread that no table defines: PEC index 63, indices past a table's end and
// colour blocks past the colour list. Black, like the first thread of both palettes.
inline constexpr ColorRef kUnknownThread = 0x000000;

// A colour written as RRGGBB, as thread charts give it, in the red-low-byte layout.
constexpr ColorRef colorFromRgb(std::uint32_t rrggbb) {
    return ((rrggbb >> 16) & 0xFF) | (rrggbb & 0x00FF00) | ((rrggbb & 0xFF) << 16);
}

PecPalette pecPaletteColors();
SewPalette sewPaletteColors();
