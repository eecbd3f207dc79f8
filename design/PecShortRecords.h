// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// Nearly all PEC stitch data of a real design are records of two one-byte fields; eight of
// them decode at once in vector registers, where the machine has them.

#include "DesignSink.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>

inline constexpr bool kDecodesShortRecordsAtOnce = true;

// Decodes the 16 bytes at data as eight records of two short fields, moving on from x and y,
// into entries n to n + 7 (the caller has room for all). Returns how many of them are such
// records: those before the first byte with the high bit set. Only those entries count.
inline int decodeShortRecords(const std::uint8_t* data, std::int16_t x, std::int16_t y,
                              const EntryArrays& e, std::ptrdiff_t n) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
    const auto longBytes = static_cast<unsigned>(_mm_movemask_epi8(bytes));
    const int count = std::countr_zero(longBytes | 0x10000u) / 2;
    if (count == 0)
        return 0;
    // Lane i holds record i: its x field in the low byte, its y field in the high one.
    const __m128i sign = _mm_set1_epi16(0x40);
    auto moves = [&](__m128i fields) { // 7-bit fields, 0x40..0x7F negative
        return _mm_sub_epi16(_mm_xor_si128(fields, sign), sign);
    };
    auto runningSum = [](__m128i v) {
        v = _mm_add_epi16(v, _mm_slli_si128(v, 2));
        v = _mm_add_epi16(v, _mm_slli_si128(v, 4));
        return _mm_add_epi16(v, _mm_slli_si128(v, 8));
    };
    const __m128i dx = moves(_mm_and_si128(bytes, _mm_set1_epi16(0x00FF)));
    const __m128i dy = moves(_mm_srli_epi16(bytes, 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(e.x + n),
                     _mm_add_epi16(runningSum(dx), _mm_set1_epi16(x)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(e.y + n),
                     _mm_add_epi16(runningSum(dy), _mm_set1_epi16(y)));
    const std::uint64_t stitches = CMD_STITCH * 0x0101010101010101ull;
    std::memcpy(e.cmd + n, &stitches, sizeof stitches);
    return count;
}
#else
inline constexpr bool kDecodesShortRecordsAtOnce = false;

inline int decodeShortRecords(const std::uint8_t*, std::int16_t, std::int16_t, const EntryArrays&,
                              std::ptrdiff_t) {
    return 0;
}
#endif
