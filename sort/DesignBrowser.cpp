// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignBrowser.h"

#include "platform/Names.h"

SourceTypes DesignBrowser::AcceptedTypes() const {
    return SourceTypes{{m_bPES != 0, m_bPEC != 0, m_bPCS != 0, m_bDST != 0, m_bSEW != 0,
                        m_bART != 0, m_bHUS != 0, m_bKRZ != 0}};
}

bool DesignBrowser::IsAcceptedName(const std::string& shownName) const {
    return AcceptedTypes().accepts(shownName);
}

int DesignBrowser::ScanSource(const std::string& directory) {
    m_FileList.removeAll();
    return scanSource(directory, AcceptedTypes(), m_FileList);
}

void DesignBrowser::RescanSource(const std::string& directory) {
    m_strSourceDir = platform::withTrailingSeparator(directory);
    m_FileList.removeAll();
    m_nAktuell = 0;
    ScanSource(m_strSourceDir);
}
