// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The stream is read most significant bit first. Each block gives its number of symbols in 16
// bits, then three canonical prefix codes: the code of the lengths, the symbol code's lengths
// written in it, and the distance code. Symbols 0-255 are literals, 510 ends the stream and
// each other one copies symbol - 253 bytes from a distance back.
#include "HusDecompression.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr int kLongest = 16;  // bits of the longest code
constexpr int kFastBits = 10; // codes up to this long are found in one look-up
constexpr std::uint16_t kMiss = 0xFFFF;
constexpr int kEnd = 510;
constexpr int kShortestCopy = 3;

// The bits still to read, most significant first, in a 64-bit window that holds at least 32
// of them between reads.
class BitReader {
public:
    explicit BitReader(ByteSpan bytes) : m_bytes(bytes) { refill(); }

    // The next 32 bits; those past the end read as 0.
    std::uint32_t peek() const { return static_cast<std::uint32_t>(m_window >> 32); }
    void skip(int bits) {
        m_window <<= bits;
        m_held -= bits;
        if (m_held < 32)
            refill();
    }
    // The next bits (0 to 32 of them) as a number.
    std::uint32_t take(int bits) {
        if (bits == 0)
            return 0;
        const std::uint32_t value = peek() >> (32 - bits);
        skip(bits);
        return value;
    }
    bool more() const { return bitsLeft() > 0; }
    std::int64_t bitsLeft() const {
        // The bits read are those up to m_next less those still held; m_next may pass the end.
        return m_endBits - (8 * static_cast<std::int64_t>(m_next) - m_held);
    }

private:
    // Tops the window up to 56 bits or more.
    void refill() {
        if (m_next + 8 <= m_bytes.size()) {
            // Eight bytes at once; those past the bits taken in are taken again next time.
            std::uint64_t word;
            std::memcpy(&word, m_bytes.data() + m_next, 8);
            if constexpr (std::endian::native == std::endian::little)
                word = __builtin_bswap64(word);
            m_window |= word >> m_held;
            m_next += static_cast<std::size_t>((63 - m_held) >> 3);
            m_held |= 56;
            return;
        }
        refillNearTheEnd();
    }
    [[gnu::noinline]] void refillNearTheEnd() {
        for (; m_held <= 56; m_held += 8, ++m_next)
            m_window |= std::uint64_t{byteAt(m_bytes, static_cast<std::int64_t>(m_next))}
                        << (56 - m_held);
    }

    ByteSpan m_bytes;
    std::int64_t m_endBits = 8 * static_cast<std::int64_t>(m_bytes.size());
    std::uint64_t m_window = 0;
    int m_held = 0;         // bits of the window that are the stream's
    std::size_t m_next = 0; // the byte after them
};

// A canonical prefix code: shorter codes first, and among codes of one length the lower
// symbol first. Codes past a full set of bit patterns are never reached.
class PrefixCode {
public:
    // One symbol, taking no bits.
    void setSingle(std::uint32_t symbol) {
        setFastBits(1);
        m_fast[0] = m_fast[1] = static_cast<std::uint16_t>(symbol << 5);
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
        int longest = kLongest;
        while (longest > 1 && m_counts[longest] == 0)
            --longest;
        // Small alphabets have short codes: a table just as wide is quicker to fill.
        setFastBits(std::min(longest, kFastBits));
        std::array<std::uint16_t, kLongest + 1> next{};
        for (int l = 1; l < kLongest; ++l)
            next[l + 1] = static_cast<std::uint16_t>(next[l] + m_counts[l]);
        for (std::size_t s = 0; s < lengths.size(); ++s)
            if (lengths[s] > 0)
                m_sorted[next[lengths[s]]++] = static_cast<std::uint16_t>(s);

        const std::size_t size = std::size_t{1} << m_fastBits;
        std::size_t filled = 0, symbol = 0;
        for (int l = 1; l <= m_fastBits; ++l) {
            const std::size_t span = std::size_t{1} << (m_fastBits - l);
            for (int i = 0; i < m_counts[l] && filled < size; ++i, filled += span)
                std::fill_n(m_fast.begin() + static_cast<std::ptrdiff_t>(filled), span,
                            static_cast<std::uint16_t>(m_sorted[symbol + i] << 5 | l));
            symbol += m_counts[l];
        }
        std::fill(m_fast.begin() + static_cast<std::ptrdiff_t>(filled),
                  m_fast.begin() + static_cast<std::ptrdiff_t>(size), kMiss);
        return true;
    }
    // The symbol at the reader's position, which moves past its code; -1 where none fits.
    int decode(BitReader& in) const {
        const std::uint32_t bits = in.peek();
        std::uint32_t hit = m_fast[bits >> m_fastShift];
        if (hit == kMiss) [[unlikely]]
            hit = longCode(bits);
        if (hit == kMiss)
            return -1;
        in.skip(static_cast<int>(hit & 31));
        return static_cast<int>(hit >> 5);
    }

private:
    void setFastBits(int bits) {
        m_fastBits = bits;
        m_fastShift = 32 - bits;
    }
    // A code longer than the fast look-up takes: the lengths walked one by one.
    [[gnu::noinline]] std::uint32_t longCode(std::uint32_t bits) const {
        std::uint32_t code = 0, first = 0, index = 0;
        for (int l = 1; l <= kLongest; ++l) {
            code = code << 1 | (bits >> (32 - l) & 1);
            if (code - first < m_counts[l])
                return static_cast<std::uint32_t>(m_sorted[index + code - first] << 5 | l);
            index += m_counts[l];
            first = (first + m_counts[l]) << 1;
        }
        return kMiss;
    }

    int m_fastBits = 1, m_fastShift = 31;             // the look-up's width, from 1 to kFastBits
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

// One stream's expansion, a symbol at a time, so that several streams can take turns.
class Expansion {
public:
    Expansion(ByteSpan compressed, std::span<std::uint8_t> out) : m_in(compressed), m_out(out) {}

    // Expands the next symbol; false once the stream has ended, said so or contradicted
    // itself, or out is full. Each call that returns true writes a byte or more, so out's
    // size bounds the calls; a block's tables cost a fixed amount, and each block takes 16
    // bits or more of the stream.
    [[gnu::always_inline]] bool step() {
        if (m_sure > 0 && m_n < m_out.size()) [[likely]] {
            --m_sure;
            return expandSymbol();
        }
        return checkedStep();
    }
    std::size_t written() const { return m_n; }

private:
    // A symbol with its distance takes at most 16 + 16 + 30 bits.
    static constexpr std::int64_t kMostBitsPerSymbol = 64;

    [[gnu::noinline]] bool checkedStep() {
        if (m_n >= m_out.size() || !m_in.more())
            return false;
        if (m_left <= 0 && !readBlock())
            return false;
        --m_left;
        // The symbols after this one that the block holds and the stream's bits surely reach
        // need neither check.
        m_sure =
            std::min(std::max<std::int64_t>(m_left, 0), (m_in.bitsLeft() - 1) / kMostBitsPerSymbol);
        m_left -= m_sure;
        return expandSymbol();
    }
    [[gnu::always_inline]] bool expandSymbol() {
        const int symbol = m_symbolCode.decode(m_in);
        if (symbol >= 0 && symbol < 256) [[likely]] {
            m_out[m_n++] = static_cast<std::uint8_t>(symbol);
            return true;
        }
        return symbol >= 256 && symbol != kEnd && copy(symbol - 256 + kShortestCopy);
    }
    [[gnu::noinline]] bool readBlock() {
        m_left = m_in.take(16);
        return readLengthCode(m_in, m_lengthCode) &&
               readSymbolCode(m_in, m_lengthCode, m_symbolCode) &&
               readDistanceCode(m_in, m_distanceCode);
    }
    [[gnu::noinline]] bool copy(int length) {
        const int d = m_distanceCode.decode(m_in);
        if (d < 0)
            return false;
        const std::size_t back = d == 0 ? 1 : (std::size_t{1} << (d - 1)) + m_in.take(d - 1) + 1;
        if (back > m_n)
            return false;
        const std::size_t n = std::min(static_cast<std::size_t>(length), m_out.size() - m_n);
        std::uint8_t* to = m_out.data() + m_n;
        const std::uint8_t* from = to - back;
        m_n += n;
        if (back >= n) // the source ends before the copy starts
            std::memcpy(to, from, n);
        else if (back == 1) // a run of one byte
            std::memset(to, *from, n);
        else // overlapping: bytes written here are read again further on
            for (std::size_t i = 0; i < n; ++i)
                to[i] = from[i];
        return true;
    }

    BitReader m_in;
    std::span<std::uint8_t> m_out;
    std::size_t m_n = 0;
    std::int64_t m_left = 0; // symbols left in the block, besides those in m_sure
    std::int64_t m_sure = 0; // symbols to come that the stream surely has bits for
    PrefixCode m_lengthCode, m_symbolCode, m_distanceCode;
};

} // namespace

std::size_t expandHusStream(ByteSpan compressed, std::span<std::uint8_t> out) {
    Expansion e(compressed, out);
    while (e.step()) {
    }
    return e.written();
}

std::array<std::size_t, 3> expandHusStreams(const std::array<ByteSpan, 3>& compressed,
                                            const std::array<std::span<std::uint8_t>, 3>& out) {
    Expansion a(compressed[0], out[0]), b(compressed[1], out[1]), c(compressed[2], out[2]);
    // In turns, so that the processor works on three independent chains of look-ups at once.
    bool moreA = true, moreB = true, moreC = true;
    while (moreA && moreB && moreC) {
        moreA = a.step();
        moreB = b.step();
        moreC = c.step();
    }
    while (moreA)
        moreA = a.step();
    while (moreB)
        moreB = b.step();
    while (moreC)
        moreC = c.step();
    return {a.written(), b.written(), c.written()};
}
