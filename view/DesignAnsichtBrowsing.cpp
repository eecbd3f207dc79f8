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

#include <cerrno>
#include <chrono>

namespace {
const char* const kKeineAuswertbarenDateien = "Keine auswertbaren Dateien im Quellverzeichnis";
const char* const kKeineWeiterenDateien = "Keine weiteren Dateien mehr";
// How long the window waits for a rescan or a step's read: a source on a local disk is shown in
// the same turn, without flicker; a slower one follows when it has answered.
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

    AwaitAnswer(begun);
}

void CDesignAnsicht::StartSourceOpening(const std::string& directory, bool reportEmpty) {
    // The new list makes any step in the old one moot.
    DropStep();
    DropSourceOpening();
    m_pQuellOeffnung = std::make_unique<SourceOpening>(
        directory, AcceptedTypes(), m_FileData.size(), kInitialFileNames, kFileNameGrowth);
    m_bLeereQuelleMelden = reportEmpty;
}

void CDesignAnsicht::TakeSourceOpening() {
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
    m_pQuellOeffnung.reset();
    StopWaitingWhenIdle();
}

void CDesignAnsicht::StartStep(int index) {
    DropStep();
    const SourceFileName& entry = m_FileList[static_cast<std::size_t>(index)];
    // A name-less entry is never read: it only becomes current.
    if (entry.name.empty()) {
        m_nAktuell = index;
        LoadFile(index);
        return;
    }
    // Until the answer comes, the file shown stays current: a copy or a deletion clicked
    // meanwhile acts on what the user sees.
    const auto begun = std::chrono::steady_clock::now();
    std::vector<std::uint8_t> buffer = std::move(m_SchrittPuffer);
    buffer.resize(m_FileData.size());
    m_pSchrittLesen =
        std::make_unique<DesignReading>(m_strSourceDir + entry.diskName, std::move(buffer));
    m_nSchrittZiel = index;
    m_SchrittAufgeben = begun + kStepGiveUp;
    AwaitAnswer(begun);
}

void CDesignAnsicht::TakeStep() {
    std::optional<DesignReading::Answer> answer = m_pSchrittLesen->take();
    if (!answer && std::chrono::steady_clock::now() < m_SchrittAufgeben)
        return;
    const int index = m_nSchrittZiel;
    DropStep();
    m_nAktuell = index;
    if (answer) {
        ShowReadFile(index, answer->data, answer->length,
                     answer->error ? &*answer->error : nullptr);
        m_SchrittPuffer = std::move(answer->data);
        return;
    }
    // The drive did not answer: the file is shown as after a failed read, with nothing read,
    // and the list stays so that the user can step past it. The thread is left to its drive.
    const platform::FileError hung(platform::causeFromErrno(EIO),
                                   m_strSourceDir +
                                       m_FileList[static_cast<std::size_t>(index)].diskName);
    ShowReadFile(index, m_FileData, 0, &hung);
}

void CDesignAnsicht::DropStep() {
    m_pSchrittLesen.reset();
    StopWaitingWhenIdle();
}

void CDesignAnsicht::AwaitAnswer(std::chrono::steady_clock::time_point begun) {
    const auto deadline = begun + kAnswerAtOnce;
    if ((m_pQuellOeffnung && m_pQuellOeffnung->waitReady(deadline)) ||
        (m_pSchrittLesen && m_pSchrittLesen->waitReady(deadline)))
        TakeAnswer();
    // Still under way, or held behind a question: looked for again in the turns to come.
    if (!m_pQuellOeffnung && !m_pSchrittLesen)
        return;
    if (!m_pAntwortTakt) {
        m_pAntwortTakt = new QTimer(this);
        m_pAntwortTakt->setInterval(kLookForAnswerMs);
        connect(m_pAntwortTakt, &QTimer::timeout, this, [this] { TakeAnswer(); });
    }
    setCursor(Qt::BusyCursor);
    m_pAntwortTakt->start();
}

void CDesignAnsicht::TakeAnswer() {
    // Behind a question (a copy's clash, a deletion's confirmation, any modal window) the
    // current file must stay the one the question is about.
    if (QApplication::activeModalWidget())
        return;
    if (m_pQuellOeffnung)
        TakeSourceOpening();
    else if (m_pSchrittLesen)
        TakeStep();
    else
        StopWaitingWhenIdle();
}

void CDesignAnsicht::StopWaitingWhenIdle() {
    if (m_pQuellOeffnung || m_pSchrittLesen || !m_pAntwortTakt || !m_pAntwortTakt->isActive())
        return;
    m_pAntwortTakt->stop();
    setCursor(Qt::ArrowCursor);
}

long CDesignAnsicht::OnQuelleEinlesen() {
    // Only the dialog sends this; without one there is no new source to read.
    if (!m_pSortierDialog)
        return 0;
    // The view's own m_strQuelle follows when the dialog closes. Beside the window, as at
    // opening; here an empty source is reported.
    const auto begun = std::chrono::steady_clock::now();
    StartSourceOpening(m_pSortierDialog->m_strQuelle, true);
    AwaitAnswer(begun);
    return 0;
}

long CDesignAnsicht::OnVorherigeDatei() {
    return Step(-1);
}

long CDesignAnsicht::OnNaechsteDatei() {
    return Step(+1);
}

long CDesignAnsicht::Step(int by) {
    // A step goes through the list the user sees; a rescan still on its way would jump away.
    DropSourceOpening();
    if (m_FileList.isEmpty())
        return 0;
    // Quick steps count from the file on its way, not from the one still shown.
    const int target = (m_pSchrittLesen ? m_nSchrittZiel : m_nAktuell) + by;
    if (target >= 0 && target < static_cast<int>(m_FileList.size()))
        StartStep(target);
    else
        platform::modalQuestions().messageBox(kKeineWeiterenDateien);
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
    // The file that went was the current one of the list the user sees; a step on its way
    // counted in the list as it was.
    DropSourceOpening();
    DropStep();
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
    StartStep(m_nAktuell);
    return 0;
}

void CDesignAnsicht::CurrentFileChanged() {
    if (!m_pSortierDialog)
        return;
    m_pSortierDialog->m_strFilePath = m_strFilePath;
    m_pSortierDialog->m_strFileName = m_strFileName;
    platform::sendUserMessage(m_pSortierDialog, platform::WM_ANZEIGE_AKTUALISIEREN);
}
