// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CopyOptionen.h"
#include "DateiOptionen.h"
#include "SonstigeOptionen.h"

#include <QDialog>

#include <array>

class QTabWidget;

// The options sheet: the three pages as tabs, with OK and Cancel. The caller fills the pages'
// members, runs the sheet and, on OK, reads them back.
class CNadelixOptionen : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;

    CNadelixOptionen(const QString& caption, QWidget* parent = nullptr, int selectPage = 0);
    ~CNadelixOptionen() override;

    CCopyOptionen m_CopyOptionen;
    CDateiOptionen m_DateiOptionen;
    CSonstigeOptionen m_SonstigeOptionen;

    QTabWidget* Tabs() const { return m_pTabs; }

    // OK: the page on show gives back its boxes before the sheet closes.
    void accept() override;

private:
    void OnSeitenwechsel(int index);

    QTabWidget* m_pTabs;
    std::array<COptionenSeite*, 3> m_Seiten;
    int m_nAktiveSeite = -1;
    QMetaObject::Connection m_Seitenwechsel;
};
