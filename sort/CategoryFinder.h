// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <functional>
#include <string>

namespace platform {
class DirectoryHandle;
class FileSystem;
} // namespace platform

// Most sub-directory entries the category list takes; the walk ends when they are in.
inline constexpr int kMaxKategorien = 1000;

// Finds the categories below a directory in the order the category list takes them: depth
// first, each directory's sub-directories in the order of its listing, until the entry counter
// passes kMaxKategorien. Each sub-directory opens by its name below its open parent.
class CategoryFinder {
public:
    // found gets each category's whole path before the counter counts it. A walk whose cancelled
    // flag is set ends at the next directory.
    CategoryFinder(platform::FileSystem& fs, int& nKategorien,
                   std::function<void(const std::string& path)> found,
                   const std::atomic<bool>* cancelled = nullptr)
        : m_fs(fs), m_nKategorien(nKategorien), m_found(std::move(found)), m_cancelled(cancelled) {}

    // Adds the sub-directories of directory, depth first; returns the entry counter, or 0 when
    // the limit was passed already or the directory cannot be listed.
    int scan(const std::string& directory);

private:
    int scanBelow(const platform::DirectoryHandle& parent, const std::string& directory,
                  const std::string& name, bool byWholePath, int depth);
    bool cancelled() const { return m_cancelled && m_cancelled->load(std::memory_order_relaxed); }

    platform::FileSystem& m_fs;
    int& m_nKategorien;
    std::function<void(const std::string&)> m_found;
    const std::atomic<bool>* m_cancelled;
};
