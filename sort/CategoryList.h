// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The text of the entry that stands for the target directory itself.
inline constexpr char kZielverzeichnis[] = "[ Zielverzeichnis ]";
// Longer category texts are shown cut to this many characters.
inline constexpr std::size_t kCategoryTextLimit = 255;

// One entry of the category list.
struct CategoryEntry {
    // What the list shows: the path below the target, cut to kCategoryTextLimit characters.
    std::string text;
    // The whole path below the target, which copies go to even when the text is cut; empty
    // for the target entry.
    std::string relativePath;
    bool isTarget = false;
    bool marked = false;
};

// The copy marks as a copy walks them: by position, the target entry at position 0.
class CategoryMarks {
public:
    virtual ~CategoryMarks() = default;

    virtual int count() const = 0;
    virtual bool isMarked(int position) const = 0;
    virtual void unmark(int position) = 0;
    // The directory below the target that the entry stands for; empty for the target entry.
    virtual std::string relativePath(int position) const = 0;
};

// The category list's entries in the order they are shown: the target entry first, then the
// others by categoryLess.
class CategoryList : public CategoryMarks {
public:
    void clear();
    // Puts the entry at its place in the order; returns that position.
    int insert(CategoryEntry entry);
    // Where insert puts entry, and the key it sorts by: for a caller that must tell the
    // position before the entry is in. insertAt then puts it there.
    int placeOf(const CategoryEntry& entry, std::string& key) const;
    void insertAt(int position, CategoryEntry entry, std::string key);

    const std::vector<CategoryEntry>& entries() const { return m_entries; }
    const CategoryEntry& operator[](int position) const { return m_entries.at(index(position)); }
    void setMarked(int position, bool marked) { m_entries.at(index(position)).marked = marked; }

    int count() const override { return static_cast<int>(m_entries.size()); }
    bool isMarked(int position) const override { return (*this)[position].marked; }
    void unmark(int position) override { setMarked(position, false); }
    std::string relativePath(int position) const override { return (*this)[position].relativePath; }

private:
    static std::size_t index(int position) { return static_cast<std::size_t>(position); }

    std::vector<CategoryEntry> m_entries;
    std::vector<std::string> m_keys; // categorySortKey of each entry's text
};

// The key the list sorts a text by: letters without regard to case or accents, and the
// separator before every other character, so that a directory's sub-directories follow it
// directly. Compare keys byte by byte.
std::string categorySortKey(std::string_view text);

// The list's order of two texts: by their keys, equal keys by the texts' bytes.
bool categoryLess(std::string_view a, std::string_view b);
