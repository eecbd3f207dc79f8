// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "CategoryList.h"

#include "platform/Names.h"
#include "platform/ShownText.h"

#include <QString>

#include <algorithm>

std::string categorySortKey(std::string_view text) {
    // Decomposing first lets an accent drop off its letter: Äpfel sorts with Apfel, not
    // after Zwiebeln. Bytes that are not UTF-8 become the replacement character and sort last.
    const QString decomposed = platform::shownText(text).normalized(QString::NormalizationForm_D);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        folded += c == QChar(platform::kSeparator) ? QChar(1) : c;
    }
    return folded.toCaseFolded().toStdString();
}

bool categoryLess(std::string_view a, std::string_view b) {
    const std::string ka = categorySortKey(a), kb = categorySortKey(b);
    return ka != kb ? ka < kb : a < b;
}

void CategoryList::clear() {
    m_entries.clear();
    m_keys.clear();
}

int CategoryList::insert(CategoryEntry entry) {
    std::string key;
    const int at = placeOf(entry, key);
    insertAt(at, std::move(entry), std::move(key));
    return at;
}

int CategoryList::placeOf(const CategoryEntry& entry, std::string& key) const {
    key = categorySortKey(entry.text);
    if (entry.isTarget)
        return 0;
    // After the target entries and after every entry that sorts before or equal to it.
    std::size_t at =
        static_cast<std::size_t>(std::find_if(m_entries.begin(), m_entries.end(),
                                              [](const CategoryEntry& e) { return !e.isTarget; }) -
                                 m_entries.begin());
    std::size_t end = m_entries.size();
    while (at < end) {
        const std::size_t mid = at + (end - at) / 2;
        const bool before =
            key != m_keys[mid] ? key < m_keys[mid] : entry.text < m_entries[mid].text;
        if (before)
            end = mid;
        else
            at = mid + 1;
    }
    return static_cast<int>(at);
}

void CategoryList::insertAt(int position, CategoryEntry entry, std::string key) {
    const auto offset = static_cast<std::ptrdiff_t>(position);
    m_entries.insert(m_entries.begin() + offset, std::move(entry));
    m_keys.insert(m_keys.begin() + offset, std::move(key));
}
