// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

// What the readers' decoding loops share: reading a byte that may lie past the file's end, and
// the loop that reads records without checks while a whole record fits before the length.

#include <cstdint>
#include <span>

using ByteSpan = std::span<const std::uint8_t>;

// The byte at p of the file, 0 at or beyond its end.
inline std::uint8_t byteAt(ByteSpan bytes, std::int64_t p) {
    return p >= 0 && static_cast<std::uint64_t>(p) < bytes.size()
               ? bytes[static_cast<std::size_t>(p)]
               : 0;
}

// Byte q of a record read by forEachRecord: directly while the whole record lies before the
// length, otherwise 0 at or past it.
template <bool checked>
inline std::uint8_t recordByte(const std::uint8_t* data, std::int64_t length, std::int64_t q) {
    if constexpr (checked)
        return q < length ? data[q] : 0;
    else
        return data[q];
}

// Calls record.template operator()<checked>() for one record at p after another until it
// returns false or p reaches the length. While widest bytes from p lie before the length,
// checked is false and the record may read its bytes directly; for the last records it is
// true and bytes at or past the length must read as 0.
template <typename Record>
void forEachRecord(const std::int64_t& p, int length, int widest, Record& record) {
    bool more = true;
    while (more && p + widest <= length)
        more = record.template operator()<false>();
    while (more && p < length)
        more = record.template operator()<true>();
}
