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
// records: those before the first byte with the high bit set. Only those entries count; x and
// y become the last one's position.
inline int decodeShortRecords(const std::uint8_t* data, std::int16_t& x, std::int16_t& y,
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
    const __m128i xs = _mm_add_epi16(runningSum(dx), _mm_set1_epi16(x));
    const __m128i ys = _mm_add_epi16(runningSum(dy), _mm_set1_epi16(y));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(e.x + n), xs);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(e.y + n), ys);
    const std::uint64_t stitches = CMD_STITCH * 0x0101010101010101ull;
    std::memcpy(e.cmd + n, &stitches, sizeof stitches);
    // The last position from the registers where all eight count: reading it back from the
    // entries would wait for the stores.
    if (count == 8) {
        x = static_cast<std::int16_t>(_mm_extract_epi16(xs, 7));
        y = static_cast<std::int16_t>(_mm_extract_epi16(ys, 7));
    } else {
        x = e.x[n + count - 1];
        y = e.y[n + count - 1];
    }
    return count;
}
#else
inline constexpr bool kDecodesShortRecordsAtOnce = false;

inline int decodeShortRecords(const std::uint8_t*, std::int16_t&, std::int16_t&, const EntryArrays&,
                              std::ptrdiff_t) {
    return 0;
}
#endif
