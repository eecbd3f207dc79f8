// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "SonstigeOptionen.h"

#include <QCheckBox>
#include <QGroupBox>

CSonstigeOptionen::CSonstigeOptionen() : COptionenSeite(IDD, QStringLiteral("Sonstige")) {
    AddGroupBox(QStringLiteral("Frei für weitere Optionen"), 7, 7, 226, 81)->setEnabled(false);
    for (int i = 0; i < 5; ++i)
        AddCheckBox(IDC_CHECK1 + i, QStringLiteral("Check%1").arg(i + 1), 12, 18 + 13 * i)
            ->setEnabled(false);
}
