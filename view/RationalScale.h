// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

// Multiplies by num / den and rounds to the nearest integer, a value exactly halfway between
// two integers away from zero, without floating point and without a division per value: the
// quotient's whole part and its fraction in 0.64 fixed point, rounded up so that a product
// never falls short of a halfway point it reaches. That is exact while units x den stays
// below 2^63, for every int as den is kept to 2^32. Results beyond kLimit are cut to it.
class RationalScale {
public:
    static constexpr std::int64_t kLimit = std::int64_t{1} << 28;

    // num >= 0, den > 0.
    RationalScale(std::int64_t num, std::int64_t den);

    std::int64_t num() const { return m_num; }
    std::int64_t den() const { return m_den; }

    int apply(int units) const {
        const std::uint64_t a =
            units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
        const auto fraction = static_cast<std::uint64_t>(
            (static_cast<unsigned __int128>(a) * m_fraction + (std::uint64_t{1} << 63)) >> 64);
        const std::uint64_t whole = a * m_whole + fraction;
        const int r = static_cast<int>(whole < static_cast<std::uint64_t>(kLimit) ? whole : kLimit);
        return units < 0 ? -r : r;
    }

private:
    std::int64_t m_num;
    std::int64_t m_den;
    std::uint64_t m_whole;    // num / den, cut to kLimit + 1: anything above is cut anyway
    std::uint64_t m_fraction; // (num mod den) / den, times 2^64, rounded up
};
