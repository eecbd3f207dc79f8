// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "OptionenSeite.h"

// The page "Dateien": which design formats the source scan accepts.
class CDateiOptionen : public COptionenSeite {
    Q_OBJECT
public:
    static constexpr int IDD = 136;
    static constexpr int IDC_HUS = 1030;
    static constexpr int IDC_KRZ = 1041;
    static constexpr int IDC_PES = 1042;
    static constexpr int IDC_PEC = 1043;
    static constexpr int IDC_PCS = 1044;
    static constexpr int IDC_DST = 1045;
    static constexpr int IDC_ART = 1046;
    static constexpr int IDC_SEW = 1055;

    CDateiOptionen();

    int m_bSEW = 0;
    int m_bART = 0;
    int m_bDST = 0;
    int m_bHUS = 0;
    int m_bKRZ = 0;
    int m_bPCS = 0;
    int m_bPEC = 0;
    int m_bPES = 0;

protected:
    void DoDataExchange(bool saveAndValidate) override;
};
