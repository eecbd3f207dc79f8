// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The view's side of browsing: opening the copy-and-sort dialog, scanning the source and
// stepping through its files.
#include "DesignAnsicht.h"

#include "platform/ModalQuestions.h"
#include "platform/UserMessages.h"
#include "sort/KopierenSortieren.h"

namespace {
const char* const kKeineAuswertbarenDateien = "Keine auswertbaren Dateien im Quellverzeichnis";
const char* const kKeineWeiterenDateien = "Keine weiteren Dateien mehr";
} // namespace

void CDesignAnsicht::OnNachKategorien() {
    // Only one copy-and-sort dialog exists at a time; the open one comes to the front with
    // the control that had the focus.
    if (m_pSortierDialog) {
        if (m_pSortierDialog->isMinimized())
            m_pSortierDialog->showNormal();
        m_pSortierDialog->raise();
        m_pSortierDialog->activateWindow();
        return;
    }

    // The remembered source is scanned afresh; an empty result is not reported at opening.
    if (!m_strQuelle.empty()) {
        RescanSource(m_strQuelle);
        if (!m_FileList.isEmpty())
            LoadFile(0);
    }

    // The dialog deletes itself once it is closed and has told the view.
    m_pSortierDialog = new CKopierenSortieren;
    m_pSortierDialog->m_strQuelle = m_strQuelle;
    m_pSortierDialog->m_strZiel = m_strZiel;
    m_pSortierDialog->m_strFilePath = m_strFilePath;
    m_pSortierDialog->m_strFileName = m_strFileName;
    m_pSortierDialog->m_bQuelleLoeschen = m_bQuelleLoeschen;
    m_pSortierDialog->m_bDateienNichtUmbenennen = m_bDateienNichtUmbenennen;
    m_pSortierDialog->m_bMarkenBehalten = m_bMarkenBehalten;
    m_pSortierDialog->m_bWeiterblaettern = m_bWeiterblaettern;

    // Modeless, owned by the main window, over whose middle it opens.
    m_pSortierDialog->Create(window());
    m_pSortierDialog->CenterWindow();
    m_pSortierDialog->show();
    // The new window takes the keyboard, also where no window manager hands it over.
    m_pSortierDialog->activateWindow();
}

long CDesignAnsicht::OnQuelleEinlesen() {
    // Only the dialog sends this; without one there is no new source to read.
    if (!m_pSortierDialog)
        return 0;
    // The view's own m_strQuelle follows when the dialog closes.
    RescanSource(m_pSortierDialog->m_strQuelle);
    if (!m_FileList.isEmpty())
        LoadFile(0);
    else
        platform::modalQuestions().messageBox(kKeineAuswertbarenDateien);
    return 0;
}

long CDesignAnsicht::OnVorherigeDatei() {
    if (m_FileList.isEmpty())
        return 0;
    if (m_nAktuell > 0) {
        --m_nAktuell;
        LoadFile(m_nAktuell);
    } else {
        platform::modalQuestions().messageBox(kKeineWeiterenDateien);
    }
    return 0;
}

long CDesignAnsicht::OnNaechsteDatei() {
    if (m_FileList.isEmpty())
        return 0;
    if (m_nAktuell < static_cast<int>(m_FileList.size()) - 1) {
        ++m_nAktuell;
        LoadFile(m_nAktuell);
    } else {
        platform::modalQuestions().messageBox(kKeineWeiterenDateien);
    }
    return 0;
}

long CDesignAnsicht::OnSortierenBeendet() {
    if (m_pSortierDialog) {
        m_strQuelle = m_pSortierDialog->m_strQuelle;
        m_strZiel = m_pSortierDialog->m_strZiel;
    }
    // The list, the index and the current file stay; the next opening rescans.
    m_pSortierDialog = nullptr;
    return 0;
}

long CDesignAnsicht::OnDateiEntfernt() {
    if (m_nAktuell >= 0 && static_cast<std::size_t>(m_nAktuell) < m_FileList.size())
        m_FileList.removeAt(static_cast<std::size_t>(m_nAktuell));
    if (m_FileList.isEmpty()) {
        // The removed file stays on screen and in the dialog.
        platform::modalQuestions().messageBox(kKeineWeiterenDateien);
        return 0;
    }
    // The file that followed the removed one takes its place; after the last, the new last.
    const int last = static_cast<int>(m_FileList.size()) - 1;
    if (m_nAktuell > last)
        m_nAktuell = last;
    LoadFile(m_nAktuell);
    return 0;
}

void CDesignAnsicht::CurrentFileChanged() {
    if (!m_pSortierDialog)
        return;
    m_pSortierDialog->m_strFilePath = m_strFilePath;
    m_pSortierDialog->m_strFileName = m_strFileName;
    platform::sendUserMessage(m_pSortierDialog, platform::WM_ANZEIGE_AKTUALISIEREN);
}
