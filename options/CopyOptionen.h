// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "OptionenSeite.h"

// The page "Kopieren": how copying behaves.
class CCopyOptionen : public COptionenSeite {
    Q_OBJECT
public:
    static constexpr int IDD = 135;
    static constexpr int IDC_NICHT_UMBENENNEN = 1035;
    static constexpr int IDC_QUELLE_LOESCHEN = 1037;
    static constexpr int IDC_MARKEN_BEHALTEN = 1038;
    static constexpr int IDC_WEITERBLAETTERN = 1039;
    static constexpr int IDC_ZIP_DURCHSUCHEN = 1040;

    CCopyOptionen();

    int m_bDateienNichtUmbenennen = 0;
    int m_bQuelleLoeschen = 0;
    int m_bWeiterblaettern = 0;
    int m_bMarkenBehalten = 0;
    // Searching ZIP files is not offered: its box stays disabled and unchecked.
    int m_bZipDurchsuchen = 0;

protected:
    void DoDataExchange(bool saveAndValidate) override;
};
