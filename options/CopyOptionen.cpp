// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "CopyOptionen.h"

#include <QCheckBox>

CCopyOptionen::CCopyOptionen() : COptionenSeite(IDD, QStringLiteral("Kopieren")) {
    AddGroupBox(QStringLiteral(" Optionen Teil 1 "), 7, 7, 226, 81);
    AddCheckBox(IDC_QUELLE_LOESCHEN,
                QStringLiteral("&Quelldatei nach erfolgreichem Kopieren löschen"), 12, 17);
    AddCheckBox(IDC_NICHT_UMBENENNEN, QStringLiteral("&Dateien nicht automatisch umbenennen"), 12,
                30);
    AddCheckBox(IDC_MARKEN_BEHALTEN, QStringLiteral("&Kopier-Marken nicht automatisch löschen"), 12,
                43);
    AddCheckBox(IDC_WEITERBLAETTERN, QStringLiteral("&Automatisch weiterblättern nach Kopieren"),
                12, 56);
    AddCheckBox(IDC_ZIP_DURCHSUCHEN,
                QStringLiteral("&ZIP-Files automatisch nach Designs durchsuchen"), 12, 70)
        ->setEnabled(false);
}

void CCopyOptionen::DoDataExchange(bool saveAndValidate) {
    const auto box = [this](int id) { return findChild<QCheckBox*>(QString::number(id)); };
    DDX_Check(saveAndValidate, box(IDC_NICHT_UMBENENNEN), m_bDateienNichtUmbenennen);
    DDX_Check(saveAndValidate, box(IDC_QUELLE_LOESCHEN), m_bQuelleLoeschen);
    DDX_Check(saveAndValidate, box(IDC_WEITERBLAETTERN), m_bWeiterblaettern);
    DDX_Check(saveAndValidate, box(IDC_MARKEN_BEHALTEN), m_bMarkenBehalten);
    DDX_Check(saveAndValidate, box(IDC_ZIP_DURCHSUCHEN), m_bZipDurchsuchen);
}
