// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "RationalScale.h"

#include <algorithm>
#include <numeric>

RationalScale::RationalScale(std::int64_t num, std::int64_t den) {
    const std::int64_t common = std::gcd(num, den);
    num /= common;
    den /= common;
    // Only a fractional pixel ratio on a design over a million units wide gets here; the
    // picture is then a hair off, never wrong by a pixel.
    while (den > (std::int64_t{1} << 32)) {
        num >>= 1;
        den >>= 1;
    }
    m_num = num;
    m_den = den;
    m_whole = static_cast<std::uint64_t>(std::min(num / den, kLimit + 1));
    const auto rest = static_cast<unsigned __int128>(num % den);
    m_fraction = static_cast<std::uint64_t>(((rest << 64) + static_cast<std::uint64_t>(den) - 1) /
                                            static_cast<std::uint64_t>(den));
}
