// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DateiOptionen.h"

#include <QCheckBox>

CDateiOptionen::CDateiOptionen() : COptionenSeite(IDD, QStringLiteral("Dateien")) {
    AddGroupBox(QStringLiteral("akzeptierte Formate"), 7, 7, 226, 81);
    // The decoded formats on the left, then those shown without graphics on the right.
    AddCheckBox(IDC_PES, QStringLiteral("Brother PES"), 12, 19);
    AddCheckBox(IDC_PEC, QStringLiteral("Brother PEC"), 12, 36);
    AddCheckBox(IDC_PCS, QStringLiteral("Pfaff PCS"), 12, 53);
    AddCheckBox(IDC_DST, QStringLiteral("Tajima DST"), 12, 70);
    AddCheckBox(IDC_SEW, QStringLiteral("Janome SEW"), 95, 19);
    AddCheckBox(IDC_ART, QStringLiteral("Bernina ART (keine Grafikanzeige)"), 95, 36);
    AddCheckBox(IDC_HUS, QStringLiteral("Viking HUS (keine Grafikanzeige)"), 95, 53);
    AddCheckBox(IDC_KRZ, QStringLiteral("Kreuzstich KRZ (keine Grafikanzeige)"), 95, 70);
}

void CDateiOptionen::DoDataExchange(bool saveAndValidate) {
    const auto box = [this](int id) { return findChild<QCheckBox*>(QString::number(id)); };
    DDX_Check(saveAndValidate, box(IDC_SEW), m_bSEW);
    DDX_Check(saveAndValidate, box(IDC_ART), m_bART);
    DDX_Check(saveAndValidate, box(IDC_DST), m_bDST);
    DDX_Check(saveAndValidate, box(IDC_HUS), m_bHUS);
    DDX_Check(saveAndValidate, box(IDC_KRZ), m_bKRZ);
    DDX_Check(saveAndValidate, box(IDC_PCS), m_bPCS);
    DDX_Check(saveAndValidate, box(IDC_PEC), m_bPEC);
    DDX_Check(saveAndValidate, box(IDC_PES), m_bPES);
}
