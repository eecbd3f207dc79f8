// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "sort/CategoryList.h"
#include "sort/CopyContext.h"

#include "ScriptedQuestions.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// Every name in a directory, sorted; empty when it cannot be listed.
inline std::vector<std::string> namesIn(const std::string& directory) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(directory, ec))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline std::vector<std::uint8_t> bytesOfSize(std::size_t n, std::uint8_t seed = 1) {
    std::vector<std::uint8_t> bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + i * 7);
    return bytes;
}

// A source directory holding the current design, a target with categories, and the dialog's
// members that the file operations read, with every question answered by script.
class SortFixture : public ::testing::Test {
protected:
    // Makes source/<diskName> with bytes the current file, shown as shownName.
    void useSource(const std::string& diskName, const std::vector<std::uint8_t>& bytes,
                   const std::string& shownName) {
        m_strFilePath = dir.write("quelle/" + diskName, bytes);
        m_strFileName = shownName;
    }
    std::string category(const std::string& relative) const {
        return dir.makeDir("ziel/" + relative);
    }
    std::string inTarget(const std::string& relative) const { return dir.file("ziel/" + relative); }

    CopyContext context() {
        return CopyContext{m_strZiel,
                           m_strFilePath,
                           m_strFileName,
                           m_bQuelleLoeschen,
                           m_bDateienNichtUmbenennen,
                           m_bMarkenBehalten,
                           m_bWeiterblaettern,
                           m_Puffer};
    }

    // A list of the target entry and the given categories, with the given ones marked.
    CategoryList listOf(const std::vector<std::string>& categories,
                        const std::vector<std::string>& marked) {
        CategoryList list;
        list.insert({kZielverzeichnis, "", true, false});
        for (const auto& c : categories)
            list.insert({c, c, false, false});
        for (int i = 0; i < list.count(); ++i) {
            const std::string& key =
                list[i].isTarget ? std::string(kZielverzeichnis) : list[i].relativePath;
            if (std::find(marked.begin(), marked.end(), key) != marked.end())
                list.setMarked(i, true);
        }
        return list;
    }

    TempDir dir;
    platform::ScriptedQuestions questions;
    std::string m_strZiel = dir.makeDir("ziel") + "/";
    std::string m_strFilePath;
    std::string m_strFileName;
    int m_bQuelleLoeschen = 0;
    int m_bDateienNichtUmbenennen = 0;
    int m_bMarkenBehalten = 0;
    int m_bWeiterblaettern = 0;
    std::vector<std::uint8_t> m_Puffer;
};
