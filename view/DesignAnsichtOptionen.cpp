// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The options command of the view: the twelve settings edited in the options sheet.
#include "DesignAnsicht.h"

#include "options/NadelixOptionen.h"
#include "platform/ModalQuestions.h"

namespace {

const char* const kArbeitsfensterAktiv = "Arbeitsfenster noch aktiv. Bitte schließen.";

// Each setting and the page member of the same name. The ZIP flag of the copy page has no
// setting and is never copied.
struct CopySetting {
    int DesignBrowser::*view;
    int CCopyOptionen::*page;
};
constexpr CopySetting kCopySettings[] = {
    {&DesignBrowser::m_bQuelleLoeschen, &CCopyOptionen::m_bQuelleLoeschen},
    {&DesignBrowser::m_bDateienNichtUmbenennen, &CCopyOptionen::m_bDateienNichtUmbenennen},
    {&DesignBrowser::m_bMarkenBehalten, &CCopyOptionen::m_bMarkenBehalten},
    {&DesignBrowser::m_bWeiterblaettern, &CCopyOptionen::m_bWeiterblaettern},
};

struct FormatSetting {
    int DesignBrowser::*view;
    int CDateiOptionen::*page;
};
constexpr FormatSetting kFormatSettings[] = {
    {&DesignBrowser::m_bPES, &CDateiOptionen::m_bPES},
    {&DesignBrowser::m_bPEC, &CDateiOptionen::m_bPEC},
    {&DesignBrowser::m_bPCS, &CDateiOptionen::m_bPCS},
    {&DesignBrowser::m_bDST, &CDateiOptionen::m_bDST},
    {&DesignBrowser::m_bSEW, &CDateiOptionen::m_bSEW},
    {&DesignBrowser::m_bART, &CDateiOptionen::m_bART},
    {&DesignBrowser::m_bHUS, &CDateiOptionen::m_bHUS},
    {&DesignBrowser::m_bKRZ, &CDateiOptionen::m_bKRZ},
};

} // namespace

void CDesignAnsicht::OnOptionen() {
    // The open dialog works with the copy settings it took at opening; they must not change
    // under it.
    if (m_pSortierDialog) {
        platform::modalQuestions().messageBox(kArbeitsfensterAktiv);
        return;
    }

    // Owned by the main window, as every modal dialog of the program.
    CNadelixOptionen sheet(QStringLiteral("Eigenschaften"), window(), 0);
    for (const CopySetting& s : kCopySettings)
        sheet.m_CopyOptionen.*s.page = this->*s.view;
    for (const FormatSetting& s : kFormatSettings)
        sheet.m_DateiOptionen.*s.page = this->*s.view;

    if (sheet.exec() != QDialog::Accepted)
        return;
    for (const CopySetting& s : kCopySettings)
        this->*s.view = sheet.m_CopyOptionen.*s.page;
    for (const FormatSetting& s : kFormatSettings)
        this->*s.view = sheet.m_DateiOptionen.*s.page;
}
