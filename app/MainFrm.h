// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "KeyLocks.h"
#include "view/DesignAnsicht.h"

#include <QMainWindow>
#include <QStatusBar>

#include <optional>

class QAction;
class QLabel;

// The main window: menu, status bar and the design view as its only pane. It offers every
// command to the view first and relays the browsing messages to it.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // The idle text of the message pane and the texts of the lock panes.
    static inline const QString kIdleText = QStringLiteral("Ready");
    static inline const QString kCapsText = QStringLiteral("CAP");
    static inline const QString kNumText = QStringLiteral("NUM");
    static inline const QString kScrollText = QStringLiteral("SCRL");

    CMainFrame();
    ~CMainFrame() override;

    QStatusBar m_wndStatusBar;
    CDesignAnsicht m_wndView;

    // Builds the view and the status bar into the frame; 0 on success.
    int OnCreate();
    // Hands the keyboard focus on to the view.
    void OnSetFocus();
    // Routes a menu command: the view, then the frame, then the application; true when
    // someone handled it.
    bool OnCmdMsg(int id);

    // The relays of the five browsing messages to the view; each returns 0.
    long OnQuelleEinlesen(long wParam, long lParam);
    long OnVorherigeDatei(long wParam, long lParam);
    long OnNaechsteDatei(long wParam, long lParam);
    long OnSortierenBeendet(long wParam, long lParam);
    long OnDateiEntfernt(long wParam, long lParam);

    // Shows each lock pane's text while its lock is on; all blank when unknown.
    void UpdateKeyIndicators(std::optional<KeyLockState> locks);

    // The menu action of a command id, or null.
    QAction* commandAction(int id) const;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void LoadMenu();
    QAction* addCommand(QMenu* menu, const QString& text, int id, const QString& prompt);
    QLabel* addIndicator(int id, const QString& text);
    long RelayToView(int message, long wParam, long lParam);

    QLabel* m_pMessagePane = nullptr;
    QLabel* m_pCapsPane = nullptr;
    QLabel* m_pNumPane = nullptr;
    QLabel* m_pScrollPane = nullptr;
};
