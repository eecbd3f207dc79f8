// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The stream is read most significant bit first. Each block gives its number of symbols in 16
// bits, then three canonical prefix codes: the code of the lengths, the symbol code's lengths
// written in it, and the distance code. Symbols 0-255 are literals, 510 ends the stream and
// each other one copies symbol - 253 bytes from a distance back.
#include "HusDecompression.h"

#include <algorithm>
#include <array>

namespace {

constexpr int kLongest = 16;  // bits of the longest code
constexpr int kFastBits = 10; // codes up to this long are found in one look-up
constexpr std::uint16_t kMiss = 0xFFFF;
constexpr int kEnd = 510;
constexpr int kShortestCopy = 3;

class BitReader {
public:
    explicit BitReader(ByteSpan bytes) : m_bytes(bytes) {}

    // The 32 bits from the position on; those past the end read as 0.
    std::uint32_t peek() const {
        const std::size_t at = static_cast<std::size_t>(m_position >> 3);
        std::uint64_t word = 0;
        if (at + 8 <= m_bytes.size()) {
            for (std::size_t i = 0; i < 8; ++i)
                word = word << 8 | m_bytes[at + i];
        } else {
            for (std::size_t i = 0; i < 8; ++i)
                word = word << 8 | byteAt(m_bytes, static_cast<std::int64_t>(at + i));
        }
        return static_cast<std::uint32_t>(word << (m_position & 7) >> 32);
    }
    void skip(int bits) { m_position += static_cast<std::uint64_t>(bits); }
    // The next bits (0 to 32 of them) as a number.
    std::uint32_t take(int bits) {
        if (bits == 0)
            return 0;
        const std::uint32_t value = peek() >> (32 - bits);
        skip(bits);
        return value;
    }
    bool more() const { return m_position < 8 * static_cast<std::uint64_t>(m_bytes.size()); }

private:
    ByteSpan m_bytes;
    std::uint64_t m_position = 0;
};

// A canonical prefix code: shorter codes first, and among codes of one length the lower
// symbol first. Codes past a full set of bit patterns are never reached.
class PrefixCode {
public:
    // One symbol, taking no bits.
    void setSingle(std::uint32_t symbol) {
        m_fast.fill(static_cast<std::uint16_t>(symbol << 5));
        m_counts.fill(0);
    }
    // From each symbol's code length, 0 for none; false for a length over 16.
    bool setLengths(std::span<const std::uint8_t> lengths) {
        m_counts.fill(0);
        for (const std::uint8_t length : lengths) {
            if (length > kLongest)
                return false;
            ++m_counts[length];
        }
        m_counts[0] = 0;
        std::array<std::uint16_t, kLongest + 1> next{};
        for (int l = 1; l < kLongest; ++l)
            next[l + 1] = static_cast<std::uint16_t>(next[l] + m_counts[l]);
        for (std::size_t s = 0; s < lengths.size(); ++s)
            if (lengths[s] > 0)
                m_sorted[next[lengths[s]]++] = static_cast<std::uint16_t>(s);

        std::size_t filled = 0, symbol = 0;
        for (int l = 1; l <= kFastBits; ++l) {
            const std::size_t span = std::size_t{1} << (kFastBits - l);
            for (int i = 0; i < m_counts[l] && filled < m_fast.size(); ++i, filled += span)
                std::fill_n(m_fast.begin() + static_cast<std::ptrdiff_t>(filled), span,
                            static_cast<std::uint16_t>(m_sorted[symbol + i] << 5 | l));
            symbol += m_counts[l];
        }
        std::fill(m_fast.begin() + static_cast<std::ptrdiff_t>(filled), m_fast.end(), kMiss);
        return true;
    }
    // The symbol at the reader's position, which moves past its code; -1 where none fits.
    int decode(BitReader& in) const {
        const std::uint32_t bits = in.peek();
        const std::uint16_t hit = m_fast[bits >> (32 - kFastBits)];
        if (hit != kMiss) {
            in.skip(hit & 31);
            return hit >> 5;
        }
        std::uint32_t code = 0, first = 0, index = 0;
        for (int l = 1; l <= kLongest; ++l) {
            code = code << 1 | (bits >> (32 - l) & 1);
            if (code - first < m_counts[l]) {
                in.skip(l);
                return m_sorted[index + code - first];
            }
            index += m_counts[l];
            first = (first + m_counts[l]) << 1;
        }
        return -1;
    }

private:
    std::array<std::uint16_t, 1 << kFastBits> m_fast; // symbol << 5 | length, or kMiss
    std::array<std::uint16_t, kLongest + 1> m_counts;
    std::array<std::uint16_t, 512> m_sorted; // by length, then by symbol
};

// Three bits, and past 7 one more for each 1 bit that follows, at most 13 of them.
std::uint8_t codeLength(BitReader& in) {
    auto length = static_cast<std::uint8_t>(in.take(3));
    for (int i = 0; length >= 7 && i < 13 && in.take(1) == 1; ++i)
        ++length;
    return length;
}

bool readLengthCode(BitReader& in, PrefixCode& code) {
    const std::uint32_t count = in.take(5);
    if (count == 0) {
        code.setSingle(in.take(5));
        return true;
    }
    std::array<std::uint8_t, 32> lengths{};
    for (std::uint32_t i = 0; i < count; ++i) {
        if (i == 3)
            i += in.take(2); // the fourth to sixth may be left out as unused
        if (i < count)
            lengths[i] = codeLength(in);
    }
    return code.setLengths({lengths.data(), count});
}

bool readSymbolCode(BitReader& in, const PrefixCode& lengthCode, PrefixCode& code) {
    const std::uint32_t count = in.take(9);
    if (count == 0) {
        code.setSingle(in.take(9));
        return true;
    }
    std::array<std::uint8_t, 512> lengths{};
    // Every pass moves i on by one or more.
    for (std::uint32_t i = 0; i < count;) {
        const int c = lengthCode.decode(in);
        if (c < 0)
            return false;
        if (c == 0)
            i += 1; // unused symbols: one, 3 to 18, or 20 to 531 of them
        else if (c == 1)
            i += 3 + in.take(4);
        else if (c == 2)
            i += 20 + in.take(9);
        else
            lengths[i++] = static_cast<std::uint8_t>(c - 2);
    }
    return code.setLengths({lengths.data(), count});
}

bool readDistanceCode(BitReader& in, PrefixCode& code) {
    const std::uint32_t count = in.take(5);
    if (count == 0) {
        code.setSingle(in.take(5));
        return true;
    }
    std::array<std::uint8_t, 32> lengths{};
    for (std::uint32_t i = 0; i < count; ++i)
        lengths[i] = codeLength(in);
    return code.setLengths({lengths.data(), count});
}

} // namespace

std::size_t expandHusStream(ByteSpan compressed, std::span<std::uint8_t> out) {
    BitReader in(compressed);
    PrefixCode lengthCode, symbolCode, distanceCode;
    std::size_t n = 0;
    std::int64_t left = 0; // symbols left in the block
    // Each pass writes a byte or more or ends the loop, so out's size bounds the passes; a
    // block's tables cost a fixed amount, and each block takes 16 bits or more of the stream.
    while (n < out.size() && in.more()) {
        if (left <= 0) {
            left = in.take(16);
            if (!readLengthCode(in, lengthCode) || !readSymbolCode(in, lengthCode, symbolCode) ||
                !readDistanceCode(in, distanceCode))
                break;
        }
        --left;
        const int symbol = symbolCode.decode(in);
        if (symbol < 0 || symbol == kEnd)
            break;
        if (symbol < 256) {
            out[n++] = static_cast<std::uint8_t>(symbol);
            continue;
        }
        const int d = distanceCode.decode(in);
        if (d < 0)
            break;
        const std::size_t back = d == 0 ? 1 : (std::size_t{1} << (d - 1)) + in.take(d - 1) + 1;
        if (back > n)
            break;
        const std::size_t copy = std::min<std::size_t>(
            static_cast<std::size_t>(symbol - 256 + kShortestCopy), out.size() - n);
        for (std::size_t i = 0; i < copy; ++i, ++n)
            out[n] = out[n - back];
    }
    return n;
}
