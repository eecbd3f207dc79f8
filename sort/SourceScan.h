// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include "design/SourceFileList.h"

#include <array>
#include <string>

// The design types a source scan takes, as a value: a scan on a thread of its own keeps its
// copy while the user may change the settings.
struct SourceTypes {
    // In the order PES, PEC, PCS, DST, SEW, ART, HUS, KRZ.
    std::array<bool, 8> accepted{};

    // Whether a name, as shown, is of an accepted type: its last three characters alone
    // decide, so no dot is needed.
    bool accepts(const std::string& shownName) const;
};

// Adds the accepted files of one directory level to list, in ascending order of their shown
// names (ordinal), and returns how many were added. A directory that cannot be listed adds nothing.
int scanSource(const std::string& directory, const SourceTypes& types, SourceFileList& list);
