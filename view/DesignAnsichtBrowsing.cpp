// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The view's side of browsing: opening the copy-and-sort dialog, scanning the source and
// stepping through its files.
#include "DesignAnsicht.h"

#include "platform/ModalQuestions.h"
#include "platform/UserMessages.h"
#include "sort/KopierenSortieren.h"

#include <QApplication>
#include <QTimer>

#include <chrono>

namespace {
const char* const kKeineAuswertbarenDateien = "Keine auswertbaren Dateien im Quellverzeichnis";
const char* const kKeineWeiterenDateien = "Keine weiteren Dateien mehr";
// How long the window waits for a rescan: a source on a local disk is shown in the same turn,
// without flicker; a slower one follows when it has answered.
constexpr std::chrono::milliseconds kAnswerAtOnce{75};
// How often the window looks for a slower answer.
constexpr int kLookForAnswerMs = 20;
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

    // The remembered source is scanned afresh, beside the window while the dialog is made; an
    // empty result is not reported at opening.
    const auto begun = std::chrono::steady_clock::now();
    if (!m_strQuelle.empty())
        StartSourceOpening(m_strQuelle, false);

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

    AwaitSourceOpening(begun);
}

void CDesignAnsicht::StartSourceOpening(const std::string& directory, bool reportEmpty) {
    DropSourceOpening();
    m_pQuellOeffnung = std::make_unique<SourceOpening>(
        directory, AcceptedTypes(), m_FileData.size(), kInitialFileNames, kFileNameGrowth);
    m_bLeereQuelleMelden = reportEmpty;
    if (!m_pOeffnungsTakt) {
        m_pOeffnungsTakt = new QTimer(this);
        m_pOeffnungsTakt->setInterval(kLookForAnswerMs);
        connect(m_pOeffnungsTakt, &QTimer::timeout, this, [this] { TakeSourceOpening(); });
    }
}

void CDesignAnsicht::AwaitSourceOpening(std::chrono::steady_clock::time_point begun) {
    if (!m_pQuellOeffnung)
        return;
    if (m_pQuellOeffnung->waitReady(begun + kAnswerAtOnce)) {
        TakeSourceOpening();
    } else {
        setCursor(Qt::BusyCursor);
        m_pOeffnungsTakt->start();
    }
}

void CDesignAnsicht::TakeSourceOpening() {
    if (!m_pQuellOeffnung)
        return DropSourceOpening();
    // Behind a question (a copy's clash, a deletion's confirmation, any modal window) the
    // current file must stay the one the question is about.
    if (QApplication::activeModalWidget())
        return;
    std::optional<SourceOpening::Answer> answer = m_pQuellOeffnung->take();
    if (!answer)
        return;
    DropSourceOpening();
    m_strSourceDir = answer->directory;
    m_FileList = std::move(answer->list);
    m_nAktuell = 0;
    if (!m_FileList.isEmpty())
        ShowReadFile(0, answer->data, answer->length, answer->error ? &*answer->error : nullptr);
    else if (m_bLeereQuelleMelden)
        platform::modalQuestions().messageBox(kKeineAuswertbarenDateien);
}

void CDesignAnsicht::DropSourceOpening() {
    if (m_pOeffnungsTakt && m_pOeffnungsTakt->isActive()) {
        m_pOeffnungsTakt->stop();
        setCursor(Qt::ArrowCursor);
    }
    m_pQuellOeffnung.reset();
}

long CDesignAnsicht::OnQuelleEinlesen() {
    // Only the dialog sends this; without one there is no new source to read.
    if (!m_pSortierDialog)
        return 0;
    // The view's own m_strQuelle follows when the dialog closes. Beside the window, as at
    // opening; here an empty source is reported.
    const auto begun = std::chrono::steady_clock::now();
    StartSourceOpening(m_pSortierDialog->m_strQuelle, true);
    AwaitSourceOpening(begun);
    return 0;
}

long CDesignAnsicht::OnVorherigeDatei() {
    // A step goes through the list the user sees; a rescan still on its way would jump away.
    DropSourceOpening();
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
    DropSourceOpening();
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
    // The file that went was the current one of the list the user sees.
    DropSourceOpening();
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
