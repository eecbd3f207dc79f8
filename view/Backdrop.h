// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// The background a design's picture is drawn on outside the window: white as in the window,
// unless every thread would be hard to see on it (white and near-white threads, as for dark
// towels and lace), then a grey on which each of them stands out.

#include "Palettes.h"

#include <cstdint>

struct DesignData;

// The window's background, and the darker one for designs in light threads only.
inline constexpr std::uint32_t kWhiteBackdrop = 0xFFFFFFFF;
inline constexpr std::uint32_t kDarkBackdrop = 0xFF4D4D4D;

// The contrast ratio of two colours' relative luminances: 1 for equal ones, 21 for black and
// white.
double contrastRatio(ColorRef a, ColorRef b);

// The pixel (0xFFRRGGBB) to draw the design on: the dark one when every colour block that
// moves the needle has a contrast below 1.5 : 1 against white. Every such thread has a
// luminance above 0.65, so on the dark grey (luminance 0.074) each reaches 5.6 : 1.
std::uint32_t backdropFor(const DesignData& design, const PecPalette& pec, const SewPalette& sew);
