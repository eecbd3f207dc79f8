// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A fresh directory under the system's temporary directory, removed with all its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The directory, without a trailing separator.
    const std::string& path() const { return m_path; }
    std::string file(std::string_view name) const { return m_path + "/" + std::string(name); }

    // Writes a file below the directory (creating parent directories); returns its path.
    std::string write(std::string_view name, const std::vector<std::uint8_t>& bytes) const;
    std::string write(std::string_view name, std::string_view text) const;
    std::string makeDir(std::string_view name) const;

private:
    std::string m_path;
};

std::vector<std::uint8_t> readBytes(const std::string& path);
