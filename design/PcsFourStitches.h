// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// PCS stitch records decoded four at once in vector registers, where the machine has them: a
// design is nearly all stitches, and each takes two multiplications and divisions.

#include "DesignSink.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>

class PcsFourStitches {
public:
    static constexpr bool kAvailable = true;

    // x0 and y0: the first stitch's raw coordinates, which all others count from.
    PcsFourStitches(std::int32_t x0, std::int32_t y0)
        : m_x0(_mm_set1_epi32(x0)), m_y0(_mm_set1_epi32(y0)) {}

    // Decodes the four stitch records of nine bytes from data into entries n to n + 3 and
    // sets x and y to the last one's position (from the register: reading it back from the
    // entries would wait for the stores).
    void decode(const std::uint8_t* data, const EntryArrays& e, std::ptrdiff_t n, std::int16_t& x,
                std::int16_t& y) {
        // Each record's two coordinates in one 8-byte load, then x and y gathered apart.
        auto pair = [&](int at) {
            return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(data + at));
        };
        const __m128i first = _mm_unpacklo_epi32(pair(0), pair(9));    // x0 x1 y0 y1
        const __m128i second = _mm_unpacklo_epi32(pair(18), pair(27)); // x2 x3 y2 y3
        const __m128i xs = tenthsMm(_mm_unpacklo_epi64(first, second), m_x0, 1.0f / 3.0f);
        // y downwards: the division by -3 negates the quotient as it truncates.
        const __m128i ys = tenthsMm(_mm_unpackhi_epi64(first, second), m_y0, -1.0f / 3.0f);
        const __m128i half = _mm_set1_epi32(0x8000);
        m_wide =
            _mm_or_si128(m_wide, _mm_or_si128(_mm_add_epi32(xs, half), _mm_add_epi32(ys, half)));
        // The low 16 bits of each: sign-extended first, so that packing cannot saturate.
        auto low16 = [](__m128i v) { return _mm_srai_epi32(_mm_slli_epi32(v, 16), 16); };
        const __m128i xy = _mm_packs_epi32(low16(xs), low16(ys));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(e.x + n), xy);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(e.y + n), _mm_unpackhi_epi64(xy, xy));
        const std::uint32_t stitches = CMD_STITCH * 0x01010101u;
        std::memcpy(e.cmd + n, &stitches, sizeof stitches);
        x = static_cast<std::int16_t>(_mm_extract_epi16(xy, 3));
        y = static_cast<std::int16_t>(_mm_extract_epi16(xy, 7));
    }

    // Whether every coordinate decoded so far fits 16 bits.
    bool allFit16() const {
        alignas(16) std::uint32_t lanes[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(lanes), m_wide);
        return ((lanes[0] | lanes[1] | lanes[2] | lanes[3]) >> 16) == 0;
    }

private:
    // (raw - first) * 10 / 1536 with wrap-around and truncation, as the scalar reader has it,
    // times the sign of third.
    static __m128i tenthsMm(__m128i raw, __m128i first, float third) {
        const __m128i d = _mm_sub_epi32(raw, first);
        const __m128i w = _mm_add_epi32(_mm_slli_epi32(d, 3), _mm_slli_epi32(d, 1));
        // w / 512 truncated: negative values are raised by 511 before the shift.
        const __m128i a = _mm_srai_epi32(
            _mm_add_epi32(w, _mm_and_si128(_mm_srai_epi32(w, 31), _mm_set1_epi32(511))), 9);
        // a / 3 truncated, in single precision: |a| < 2^22 is exact there; the float nearest
        // 1/3 exceeds it by less than 2^-26, so the product exceeds |a| / 3 by less than 1/24
        // and rounds by at most 1/16 (it stays below 2^21). A quotient that is no integer
        // lies at least 1/3 from one, so truncation gives what integer division gives.
        const __m128 q = _mm_mul_ps(_mm_cvtepi32_ps(a), _mm_set1_ps(third));
        return _mm_cvttps_epi32(q);
    }

    __m128i m_x0;
    __m128i m_y0;
    __m128i m_wide = _mm_setzero_si128();
};
#else
class PcsFourStitches {
public:
    static constexpr bool kAvailable = false;
    PcsFourStitches(std::int32_t, std::int32_t) {}
    void decode(const std::uint8_t*, const EntryArrays&, std::ptrdiff_t, std::int16_t&,
                std::int16_t&) {}
    bool allFit16() const { return true; }
};
#endif
