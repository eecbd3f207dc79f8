// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "DesignPainter.h"
#include "Palettes.h"
#include "sort/DesignBrowser.h"
#include "sort/DesignReading.h"
#include "sort/SourceOpening.h"

#include <QFrame>

#include <chrono>
#include <memory>

class CKopierenSortieren;
class QTimer;

// The design view: the frame's only pane, painting the current design, and the hub that
// owns the design, the browsing state and the settings. It takes no mouse or keyboard input.
class CDesignAnsicht : public QFrame, public DesignBrowser {
    Q_OBJECT
public:
    explicit CDesignAnsicht(QWidget* parent = nullptr);

    // Thread colours for PES, PEC and DST designs, and for SEW designs.
    PecPalette m_PecPalette;
    SewPalette m_SewPalette;

    // The open copy-and-sort dialog, or null; it deletes itself after telling the view.
    CKopierenSortieren* m_pSortierDialog = nullptr;

    // Paints the current design into the client area (inside the client edge).
    void OnPaint();

    // Offered every menu command before the frame; true when the view handled it.
    bool OnCmdMsg(int id);
    // Whether the command is one of the view's own.
    static bool IsViewCommand(int id);

    // Menu commands.
    void OnNachKategorien();
    void OnOptionen();

    // The user messages relayed by the main window; each returns 0.
    long OnQuelleEinlesen();
    long OnVorherigeDatei();
    long OnNaechsteDatei();
    long OnSortierenBeendet();
    long OnDateiEntfernt();

    // Whether a rescan of the source is under way and not shown yet.
    bool IsOpeningSource() const { return m_pQuellOeffnung != nullptr; }
    // Whether the read of the file a step goes to is under way and not shown yet.
    bool IsReadingStep() const { return m_pSchrittLesen != nullptr; }

    // How long a step waits for its file before it takes it as unreadable.
    static constexpr std::chrono::milliseconds kStepGiveUp{3000};

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void RequestRepaint() override;
    // Hands the current file's name and path to the open copy-and-sort dialog.
    void CurrentFileChanged() override;

private:
    // The rescan of the source when the dialog opens or is given a new source, and the read
    // of the file a step goes to, run beside the window; an answer is shown as soon as it
    // comes (in the same turn when it comes within a moment). At most one is under way: each
    // drops the other.
    void StartSourceOpening(const std::string& directory, bool reportEmpty);
    void TakeSourceOpening();
    void DropSourceOpening();
    long Step(int by);
    void StartStep(int index);
    void TakeStep();
    void DropStep();
    void AwaitAnswer(std::chrono::steady_clock::time_point begun);
    void TakeAnswer();
    void StopWaitingWhenIdle();

    DesignPainter m_painter;
    std::unique_ptr<SourceOpening> m_pQuellOeffnung;
    std::unique_ptr<DesignReading> m_pSchrittLesen;
    int m_nSchrittZiel = 0;                    // the index the pending step goes to
    std::vector<std::uint8_t> m_SchrittPuffer; // the buffer the last step gave back
    std::chrono::steady_clock::time_point m_SchrittAufgeben;
    QTimer* m_pAntwortTakt = nullptr;  // the turns that look for a slower answer
    bool m_bLeereQuelleMelden = false; // whether a source without designs is reported
};
