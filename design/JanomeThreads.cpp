// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Janome's thread table as JEF files index it, as 0xRRGGBB with the thread's number. Index 0
// names no thread: the machine stops there without a new colour (for an applique's fabric).
#include "JanomeThreads.h"

#include <array>

namespace {
constexpr std::array<std::uint32_t, 78> kThreads = {{
    0x000000, // 002 Black
    0xFFFFFF, // 001 White
    0xFFFF17, // 204 Yellow
    0xFF6600, // 203 Orange
    0x2F5933, // 219 Olive Green
    0x237336, // 226 Green
    0x65C2C8, // 217 Sky
    0xAB5A96, // 208 Purple
    0xF669A0, // 201 Pink
    0xFF0000, // 225 Red
    0xB1704E, // 214 Brown
    0x0B2F84, // 207 Blue
    0xE4C35D, // 003 Gold
    0x481A05, // 205 Dark Brown
    0xAC9CC7, // 209 Pale Violet
    0xFCF294, // 210 Pale Yellow
    0xF999B7, // 211 Pale Pink
    0xFAB381, // 212 Peach
    0xC9A480, // 213 Beige
    0x970533, // 215 Wine Red
    0xA0B8CC, // 216 Pale Sky
    0x7FC21C, // 218 Yellow Green
    0xE5E5E5, // 220 Silver Gray
    0x889B9B, // 221 Gray
    0x98D6BD, // 227 Pale Aqua
    0xB2E1E3, // 228 Baby Blue
    0x368BA0, // 229 Powder Blue
    0x4F83AB, // 230 Bright Blue
    0x386A91, // 231 Slate Blue
    0x071650, // 232 Navy Blue
    0xF999A2, // 233 Salmon Pink
    0xF9676B, // 234 Coral
    0xE3311F, // 235 Burnt Orange
    0xE2A188, // 236 Cinnamon
    0xB59474, // 237 Umber
    0xE4CF99, // 238 Blond
    0xFFCB00, // 239 Sunflower
    0xE1ADD4, // 240 Orchid Pink
    0xC3007E, // 241 Peony Purple
    0x80004B, // 242 Burgundy
    0x540571, // 243 Royal Purple
    0xB10525, // 244 Cardinal Red
    0xCAE0C0, // 245 Opal Green
    0x899856, // 246 Moss Green
    0x5C941A, // 247 Meadow Green
    0x003114, // 248 Dark Green
    0x5DAE94, // 249 Aquamarine
    0x4CBF8F, // 250 Emerald Green
    0x007772, // 251 Peacock Green
    0x595B61, // 252 Dark Gray
    0xFFFFF2, // 253 Ivory White
    0xB15818, // 254 Hazel
    0xCB8A07, // 255 Toast
    0x986C80, // 256 Salmon
    0x98692D, // 257 Cocoa Brown
    0x4D3419, // 258 Sienna
    0x4C330B, // 259 Sepia
    0x33200A, // 260 Dark Sepia
    0x523A97, // 261 Violet Blue
    0x0D217E, // 262 Blue Ink
    0x1E77AC, // 263 Sola Blue
    0xB2DD53, // 264 Green Dust
    0xF33689, // 265 Crimson
    0xDE649E, // 266 Floral Pink
    0x984161, // 267 Wine
    0x4C5612, // 268 Olive Drab
    0x4C881F, // 269 Meadow
    0xE4DE79, // 270 Mustard
    0xCB8A1A, // 271 Yellow Ocher
    0xCBA21C, // 272 Old Gold
    0xFF9805, // 273 Honey Dew
    0xFCB257, // 274 Tangerine
    0xFFE505, // 275 Canary Yellow
    0xF0331F, // 202 Vermilion
    0x1A842D, // 206 Bright Green
    0x386CAE, // 222 Ocean Blue
    0xE3C4B4, // 223 Beige Gray
    0xE3AC81, // 224 Bamboo
}};
} // namespace

std::optional<ColorRef> janomeThread(std::int32_t index) {
    // A negative index or one past the table still names a thread: its magnitude, wrapped
    // round the table with index 0 in it.
    const std::uint32_t magnitude =
        index < 0 ? 0u - static_cast<std::uint32_t>(index) : static_cast<std::uint32_t>(index);
    const std::uint32_t i = magnitude % (kThreads.size() + 1);
    if (i == 0)
        return std::nullopt;
    const std::uint32_t rgb = kThreads[i - 1];
    return (rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16;
}
