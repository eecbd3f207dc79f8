#pragma once

// What the readers' decoding loops share: the bounds kept in locals while a loop runs, and
// the loop that reads records without checks while a whole record fits before the length.

#include <cstdint>

// The bounds of the decoded points. A loop keeps them in a local: the compiler cannot hold
// the model's members in registers across the stores into the entry arrays.
struct PointBounds {
    std::int16_t minX;
    std::int16_t maxX;
    std::int16_t minY;
    std::int16_t maxY;

    void includeX(std::int16_t x) {
        if (maxX < x)
            maxX = x;
        if (minX > x)
            minX = x;
    }
    void includeY(std::int16_t y) {
        if (maxY < y)
            maxY = y;
        if (minY > y)
            minY = y;
    }
};

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
