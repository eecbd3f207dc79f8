// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "SourceScan.h"
#include "design/DesignModel.h"

#include <string>

// The browsing side of the design view: the chosen directories, the twelve settings and the
// source scan. No window is needed, so browsing is tested without a display.
class DesignBrowser : public DesignModel {
public:
    // Source and target as the user last chose them.
    std::string m_strQuelle;
    std::string m_strZiel;

    // Copy settings, handed to the copy-and-sort dialog when it opens.
    int m_bQuelleLoeschen = 0;
    int m_bDateienNichtUmbenennen = 0;
    int m_bMarkenBehalten = 0;
    int m_bWeiterblaettern = 1;

    // Formats the source scan accepts.
    int m_bPES = 1;
    int m_bPEC = 1;
    int m_bPCS = 1;
    int m_bDST = 1;
    int m_bSEW = 1;
    int m_bART = 0;
    int m_bHUS = 0;
    int m_bKRZ = 0;

    // Fills m_FileList with the accepted files of one directory level, by name (ordinal), and
    // returns how many were added. A directory that cannot be listed leaves the list empty.
    int ScanSource(const std::string& directory);

    // Makes directory the source and scans it from the start: m_strSourceDir ends in a
    // separator, the list holds only the new scan and the index is 0.
    void RescanSource(const std::string& directory);

    // Whether a name, as shown, is of a type the settings accept: its last three characters
    // alone decide, so no dot is needed.
    bool IsAcceptedName(const std::string& shownName) const;
    // The settings above as a value, for a scan that runs beside the window.
    SourceTypes AcceptedTypes() const;
};
