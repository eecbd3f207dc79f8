// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "SourceFileList.h"

#include "platform/UpperCaseName.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

SourceFileName SourceFileName::fromDisk(std::string diskName) {
    SourceFileName entry;
    entry.name = platform::upperCaseName(diskName);
    entry.diskName = std::move(diskName);
    return entry;
}

SourceFileList::SourceFileList(std::size_t initialSize, std::size_t growBy)
    : m_names(initialSize), m_growBy(growBy ? growBy : 1) {}

void SourceFileList::add(SourceFileName name) {
    // Grows by at least the step, and geometrically beyond it, so long listings stay linear.
    if (m_names.size() == m_names.capacity())
        m_names.reserve(m_names.capacity() + std::max(m_growBy, m_names.capacity() / 2));
    m_names.push_back(std::move(name));
}

void SourceFileList::removeAt(std::size_t i) {
    if (i < m_names.size())
        m_names.erase(m_names.begin() + static_cast<std::ptrdiff_t>(i));
}

namespace {
// Shown names first, names on disk for those shown alike; std::string compares its bytes as
// unsigned values, as an ordinal comparison does.
bool comesBefore(const SourceFileName& a, const SourceFileName& b) {
    if (const int byName = a.name.compare(b.name))
        return byName < 0;
    return a.diskName < b.diskName;
}

// Eight bytes of a name from at on, as a number that orders as the bytes do (a name that ends
// sooner comes first, as it does in a comparison of the whole names).
std::uint64_t eightBytes(const std::string& name, std::size_t at) {
    std::uint64_t key = 0;
    for (std::size_t i = at; i < at + 8; ++i)
        key = key << 8 | (i < name.size() ? static_cast<unsigned char>(name[i]) : 0u);
    return key;
}

struct Key {
    std::uint64_t bytes;
    std::uint32_t at;
};

// Sorts keys by their names from byte depth on: eight bytes at a time as numbers, so that
// names sharing a long start (MUSTER 1.PES, MUSTER 2.PES …) never compare as strings.
void sortByBytes(std::vector<SourceFileName>& names, Key* first, Key* last, std::size_t depth) {
    for (Key* key = first; key != last; ++key)
        key->bytes = eightBytes(names[key->at].name, depth);
    std::sort(first, last, [](const Key& a, const Key& b) { return a.bytes < b.bytes; });
    for (Key* run = first; run != last;) {
        Key* end = run + 1;
        while (end != last && end->bytes == run->bytes)
            ++end;
        if (end - run > 1) {
            if (names[run->at].name.size() > depth + 8)
                sortByBytes(names, run, end, depth + 8);
            else // shown alike
                std::sort(run, end, [&](const Key& a, const Key& b) {
                    return comesBefore(names[a.at], names[b.at]);
                });
        }
        run = end;
    }
}
} // namespace

void SourceFileList::sortFrom(std::size_t from) {
    if (from >= m_names.size())
        return;
    const auto begin = m_names.begin() + static_cast<std::ptrdiff_t>(from);
    if (std::is_sorted(begin, m_names.end(), comesBefore))
        return;
    // Sorted as small keys with their places, then moved once each: thousands of names sort
    // without moving their strings about.
    std::vector<Key> keys;
    keys.reserve(m_names.size() - from);
    for (std::size_t i = from; i < m_names.size(); ++i)
        keys.push_back(Key{0, static_cast<std::uint32_t>(i)});
    sortByBytes(m_names, keys.data(), keys.data() + keys.size(), 0);
    std::vector<SourceFileName> sorted;
    sorted.reserve(m_names.capacity());
    std::move(m_names.begin(), begin, std::back_inserter(sorted));
    for (const Key& key : keys)
        sorted.push_back(std::move(m_names[key.at]));
    m_names.swap(sorted);
}
