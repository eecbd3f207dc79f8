// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// The compression HUS and VIP files keep their command, x and y streams in: blocks of
// prefix-coded literals and back-references, each block opening with its code tables.

#include "DecodeLoop.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// Expands the compressed stream into out, never past its end, and returns how many bytes it
// wrote. Stops early where the stream ends, says so, or contradicts itself. Time is linear in
// the stream's size plus out's.
std::size_t expandHusStream(ByteSpan compressed, std::span<std::uint8_t> out);

// Expands three streams into their outs at once, faster than one after the other.
std::array<std::size_t, 3> expandHusStreams(const std::array<ByteSpan, 3>& compressed,
                                            const std::array<std::span<std::uint8_t>, 3>& out);
