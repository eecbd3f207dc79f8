// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "MainFrm.h"

#include "NadelixApp.h"
#include "Resource.h"
#include "platform/CommandIds.h"
#include "platform/UserMessages.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>

using namespace platform;

CMainFrame::CMainFrame() {
    setWindowTitle(QStringLiteral("Nadelix"));
    LoadMenu();
    OnCreate();
    // The platform's default size for a new window: three quarters of the screen's work area.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size() * 3 / 4);
    // The lock panes follow the lock keys, wherever in the program they are pressed.
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
}

void CMainFrame::LoadMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(idName(IDR_MAINFRAME));

    QMenu* kopieren = bar->addMenu(QStringLiteral("&Kopieren"));
    addCommand(kopieren, QStringLiteral("&Nach Kategorien"), ID_NACH_KATEGORIEN,
               QStringLiteral("Kopieren der Designdateien in Kategorie-Unterverzeichnisse"));
    kopieren->addSeparator();
    addCommand(kopieren, QStringLiteral("&Beenden"), ID_APP_EXIT,
               QStringLiteral("Beendet die Anwendung"));

    QMenu* einstellungen = bar->addMenu(QStringLiteral("&Einstellungen"));
    addCommand(einstellungen, QStringLiteral("Nadelix &Optionen"), ID_OPTIONEN, QString());

    QMenu* hilfe = bar->addMenu(QStringLiteral("&Hilfe"));
    addCommand(hilfe, QStringLiteral("&Info über Nadelix..."), ID_APP_ABOUT,
               QStringLiteral("Zeigt Programminformationen und Versionsnummer an"));

    // Closing a menu brings back the idle text, whichever prompt it showed last.
    for (QMenu* menu : {kopieren, einstellungen, hilfe})
        connect(menu, &QMenu::aboutToHide, &m_wndStatusBar, &QStatusBar::clearMessage);
}

QAction* CMainFrame::addCommand(QMenu* menu, const QString& text, int id, const QString& prompt) {
    QAction* action = menu->addAction(text);
    action->setObjectName(idName(id));
    action->setStatusTip(prompt);
    connect(action, &QAction::triggered, this, [this, id] { OnCmdMsg(id); });
    return action;
}

QAction* CMainFrame::commandAction(int id) const {
    return menuBar()->findChild<QAction*>(idName(id));
}

int CMainFrame::OnCreate() {
    m_wndView.setObjectName(idName(AFX_IDW_PANE_FIRST));
    setCentralWidget(&m_wndView);

    m_wndStatusBar.setObjectName(idName(AFX_IDW_STATUS_BAR));
    setStatusBar(&m_wndStatusBar);
    // The message pane shows "Ready" whenever no menu prompt covers it.
    m_pMessagePane = new QLabel(kIdleText, &m_wndStatusBar);
    m_pMessagePane->setObjectName(idName(ID_SEPARATOR));
    m_wndStatusBar.addWidget(m_pMessagePane, 1);
    m_pCapsPane = addIndicator(ID_INDICATOR_CAPS, kCapsText);
    m_pNumPane = addIndicator(ID_INDICATOR_NUM, kNumText);
    m_pScrollPane = addIndicator(ID_INDICATOR_SCRL, kScrollText);
    UpdateKeyIndicators(readKeyLocks());
    return 0;
}

QLabel* CMainFrame::addIndicator(int id, const QString& text) {
    auto* pane = new QLabel(&m_wndStatusBar);
    pane->setObjectName(idName(id));
    pane->setAlignment(Qt::AlignCenter);
    // Sized for its text, so the panes do not move when a lock goes on or off.
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(text) +
                          2 * pane->fontMetrics().averageCharWidth());
    m_wndStatusBar.addPermanentWidget(pane);
    return pane;
}

void CMainFrame::UpdateKeyIndicators(std::optional<KeyLockState> locks) {
    const KeyLockState state = locks.value_or(KeyLockState{});
    m_pCapsPane->setText(state.caps ? kCapsText : QString());
    m_pNumPane->setText(state.num ? kNumText : QString());
    m_pScrollPane->setText(state.scroll ? kScrollText : QString());
}

void CMainFrame::OnSetFocus() {
    m_wndView.setFocus(Qt::ActiveWindowFocusReason);
}

bool CMainFrame::OnCmdMsg(int id) {
    if (m_wndView.OnCmdMsg(id))
        return true;
    if (id == ID_APP_EXIT) {
        // Closing the main window ends the program.
        close();
        return true;
    }
    if (CNadelixApp* app = CNadelixApp::instance())
        return app->OnCmdMsg(id);
    return false;
}

long CMainFrame::RelayToView(int message, long wParam, long lParam) {
    // Handled by the view before the sender goes on; its answer is not passed back.
    sendUserMessage(&m_wndView, message, wParam, lParam);
    return 0;
}

long CMainFrame::OnQuelleEinlesen(long wParam, long lParam) {
    return RelayToView(WM_QUELLE_EINLESEN, wParam, lParam);
}

long CMainFrame::OnVorherigeDatei(long wParam, long lParam) {
    return RelayToView(WM_VORHERIGE_DATEI, wParam, lParam);
}

long CMainFrame::OnNaechsteDatei(long wParam, long lParam) {
    return RelayToView(WM_NAECHSTE_DATEI, wParam, lParam);
}

long CMainFrame::OnSortierenBeendet(long wParam, long lParam) {
    return RelayToView(WM_SORTIEREN_BEENDET, wParam, lParam);
}

long CMainFrame::OnDateiEntfernt(long wParam, long lParam) {
    return RelayToView(WM_DATEI_ENTFERNT, wParam, lParam);
}

bool CMainFrame::event(QEvent* event) {
    if (event->type() == UserMessageEvent::eventType()) {
        auto* message = static_cast<UserMessageEvent*>(event);
        const long w = message->wParam();
        const long l = message->lParam();
        switch (message->message()) {
        case WM_QUELLE_EINLESEN:
            message->result = OnQuelleEinlesen(w, l);
            return true;
        case WM_VORHERIGE_DATEI:
            message->result = OnVorherigeDatei(w, l);
            return true;
        case WM_NAECHSTE_DATEI:
            message->result = OnNaechsteDatei(w, l);
            return true;
        case WM_SORTIEREN_BEENDET:
            message->result = OnSortierenBeendet(w, l);
            return true;
        case WM_DATEI_ENTFERNT:
            message->result = OnDateiEntfernt(w, l);
            return true;
        default:
            break;
        }
    } else if (event->type() == QEvent::WindowActivate) {
        OnSetFocus();
        UpdateKeyIndicators(readKeyLocks());
    }
    return QMainWindow::event(event);
}

void CMainFrame::focusInEvent(QFocusEvent* event) {
    QMainWindow::focusInEvent(event);
    OnSetFocus();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // A lock has taken its new state by the time its key comes up.
    if (event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock)
            UpdateKeyIndicators(readKeyLocks());
    }
    return QMainWindow::eventFilter(watched, event);
}
