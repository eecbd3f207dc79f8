// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The application shell: start-up, the main frame's menu, status bar, command routing,
// focus and message relay, the About box, and how every dialog lays out its controls.
#include "app/AboutDlg.h"
#include "app/MainFrm.h"
#include "app/NadelixApp.h"
#include "app/ProgramIcon.h"
#include "app/QtModalQuestions.h"
#include "app/Resource.h"
#include "dirchooser/VerzeichnisAuswahl.h"
#include "options/NadelixOptionen.h"
#include "platform/CommandIds.h"
#include "platform/UserMessages.h"
#include "sort/KopierenSortieren.h"
#include "sort/NeueKategorie.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace platform;

namespace {

QLabel* pane(const CMainFrame& frame, int id) {
    return frame.statusBar()->findChild<QLabel*>(idName(id));
}

// What the message pane shows: a prompt while one is up, otherwise the idle text.
QString statusText(const CMainFrame& frame) {
    const QString message = frame.statusBar()->currentMessage();
    return message.isEmpty() ? pane(frame, ID_SEPARATOR)->text() : message;
}

// Records the user messages that reach the view and answers them with 42.
class MessageSpy : public QObject {
public:
    struct Seen {
        int message;
        long wParam;
        long lParam;
    };
    QList<Seen> seen;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != UserMessageEvent::eventType())
            return false;
        auto* m = static_cast<UserMessageEvent*>(event);
        seen.append({m->message(), m->wParam(), m->lParam()});
        m->result = 42;
        return true;
    }
};

// Runs check on the next modal dialog that opens, then closes it with its OK button.
void onNextModal(std::function<void(QDialog*)> check) {
    QTimer::singleShot(0, [check] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        check(dialog);
        if (auto* ok = dialog->findChild<QPushButton*>(idName(IDOK)))
            ok->click();
        else
            dialog->reject();
    });
}

} // namespace

class ShellTest : public QObject {
    Q_OBJECT

private slots:
    void initInstanceShowsTheFrame();
    void closingTheFrameDestroysIt();
    void frameHasViewStatusBarAndNoToolBar();
    void menuHoldsTheCommands_data();
    void menuHoldsTheCommands();
    void menuPromptsShowInTheStatusBar_data();
    void menuPromptsShowInTheStatusBar();
    void lockPanesShowTheirTextWhileTheLockIsOn_data();
    void lockPanesShowTheirTextWhileTheLockIsOn();
    void commandsGoToTheViewFirst_data();
    void commandsGoToTheViewFirst();
    void exitClosesTheFrame();
    void aboutCommandOpensTheAboutBox();
    void userMessagesAreRelayedToTheView_data();
    void userMessagesAreRelayedToTheView();
    void otherMessagesAreNotRelayed();
    void activationGivesTheViewTheFocus();
    void closingADialogGivesTheKeyboardBackToItsOpener();
    void editingKeysDoNothing_data();
    void editingKeysDoNothing();
    void noControlOfADialogCoversAnother();
};

void ShellTest::initInstanceShowsTheFrame() {
    CNadelixApp app;
    QCOMPARE(CNadelixApp::instance(), &app);
    QVERIFY(app.InitInstance());
    QCOMPARE(QCoreApplication::organizationName(),
             QStringLiteral("Local AppWizard-Generated Applications"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Nadelix"));
    QVERIFY(app.m_pMainWnd);
    QVERIFY(app.m_pMainWnd->isVisible());
    QCOMPARE(app.m_pMainWnd->windowTitle(), QStringLiteral("Nadelix"));
    QVERIFY(!app.m_pMainWnd->windowIcon().isNull());
    QVERIFY(!app.m_pMainWnd->windowIcon().pixmap(32, 32).isNull());
    // Qt's own texts are German.
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Ja"));
}

void ShellTest::closingTheFrameDestroysIt() {
    CNadelixApp app;
    app.InitInstance();
    QPointer<CMainFrame> frame = app.m_pMainWnd;
    QVERIFY(frame->close());
    QTRY_VERIFY(!frame);
    QVERIFY(!app.m_pMainWnd);
}

void ShellTest::frameHasViewStatusBarAndNoToolBar() {
    CMainFrame frame;
    QCOMPARE(frame.centralWidget(), &frame.m_wndView);
    QCOMPARE(frame.m_wndView.objectName(), idName(AFX_IDW_PANE_FIRST));
    QCOMPARE(frame.statusBar(), &frame.m_wndStatusBar);
    QCOMPARE(frame.statusBar()->objectName(), idName(AFX_IDW_STATUS_BAR));
    QVERIFY(frame.findChildren<QToolBar*>().isEmpty());
    QCOMPARE(statusText(frame), QStringLiteral("Ready"));
    for (const int id : {ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
        QVERIFY(pane(frame, id));
        QVERIFY(pane(frame, id)->minimumWidth() > 0);
    }
    QCOMPARE(frame.m_wndView.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(frame.m_wndView.backgroundRole(), QPalette::Base);
}

void ShellTest::menuHoldsTheCommands_data() {
    QTest::addColumn<int>("popup");
    QTest::addColumn<QString>("popupText");
    QTest::addColumn<QStringList>("items"); // "-" for a separator
    QTest::addColumn<QList<int>>("ids");
    QTest::newRow("Kopieren") << 0 << QStringLiteral("&Kopieren")
                              << QStringList{QStringLiteral("&Nach Kategorien"), "-",
                                             QStringLiteral("&Beenden")}
                              << QList<int>{ID_NACH_KATEGORIEN, 0, ID_APP_EXIT};
    QTest::newRow("Einstellungen")
        << 1 << QStringLiteral("&Einstellungen") << QStringList{QStringLiteral("Nadelix &Optionen")}
        << QList<int>{ID_OPTIONEN};
    QTest::newRow("Hilfe") << 2 << QStringLiteral("&Hilfe")
                           << QStringList{QStringLiteral("&Info über Nadelix...")}
                           << QList<int>{ID_APP_ABOUT};
}

void ShellTest::menuHoldsTheCommands() {
    QFETCH(int, popup);
    QFETCH(QString, popupText);
    QFETCH(QStringList, items);
    QFETCH(QList<int>, ids);
    CMainFrame frame;
    QCOMPARE(frame.menuBar()->objectName(), idName(IDR_MAINFRAME));
    const QList<QAction*> popups = frame.menuBar()->actions();
    QCOMPARE(popups.size(), 3);
    QCOMPARE(popups[popup]->text(), popupText);
    const QList<QAction*> actions = popups[popup]->menu()->actions();
    QCOMPARE(actions.size(), items.size());
    for (int i = 0; i < items.size(); ++i) {
        if (items[i] == "-") {
            QVERIFY(actions[i]->isSeparator());
            continue;
        }
        QCOMPARE(actions[i]->text(), items[i]);
        QCOMPARE(actions[i]->objectName(), idName(ids[i]));
        QCOMPARE(frame.commandAction(ids[i]), actions[i]);
        QVERIFY(actions[i]->isEnabled());
        QVERIFY(actions[i]->shortcut().isEmpty());
    }
}

void ShellTest::menuPromptsShowInTheStatusBar_data() {
    QTest::addColumn<int>("popup");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("prompt");
    QTest::newRow("Nach Kategorien")
        << 0 << ID_NACH_KATEGORIEN
        << QStringLiteral("Kopieren der Designdateien in Kategorie-Unterverzeichnisse");
    QTest::newRow("Beenden") << 0 << ID_APP_EXIT << QStringLiteral("Beendet die Anwendung");
    QTest::newRow("Optionen has none") << 1 << ID_OPTIONEN << QStringLiteral("Ready");
    QTest::newRow("Info") << 2 << ID_APP_ABOUT
                          << QStringLiteral("Zeigt Programminformationen und Versionsnummer an");
}

void ShellTest::menuPromptsShowInTheStatusBar() {
    QFETCH(int, popup);
    QFETCH(int, id);
    QFETCH(QString, prompt);
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    // Open the popup from the menu bar and move onto the item, as the user would.
    QAction* popupAction = frame.menuBar()->actions()[popup];
    frame.menuBar()->setActiveAction(popupAction);
    QMenu* menu = popupAction->menu();
    QTRY_VERIFY(menu->isVisible());
    menu->setActiveAction(frame.commandAction(id));
    QTRY_COMPARE(statusText(frame), prompt);
    // Closing the menu brings the idle text back.
    menu->close();
    frame.menuBar()->setActiveAction(nullptr);
    QTRY_COMPARE(statusText(frame), QStringLiteral("Ready"));
}

void ShellTest::lockPanesShowTheirTextWhileTheLockIsOn_data() {
    QTest::addColumn<bool>("known");
    QTest::addColumn<bool>("caps");
    QTest::addColumn<bool>("num");
    QTest::addColumn<bool>("scroll");
    QTest::newRow("all off") << true << false << false << false;
    QTest::newRow("caps") << true << true << false << false;
    QTest::newRow("num and scroll") << true << false << true << true;
    QTest::newRow("all on") << true << true << true << true;
    QTest::newRow("unknown") << false << false << false << false;
}

void ShellTest::lockPanesShowTheirTextWhileTheLockIsOn() {
    QFETCH(bool, known);
    QFETCH(bool, caps);
    QFETCH(bool, num);
    QFETCH(bool, scroll);
    CMainFrame frame;
    frame.UpdateKeyIndicators(KeyLockState{true, true, true});
    frame.UpdateKeyIndicators(known ? std::optional(KeyLockState{caps, num, scroll})
                                    : std::nullopt);
    QCOMPARE(pane(frame, ID_INDICATOR_CAPS)->text(), caps ? QStringLiteral("CAP") : QString());
    QCOMPARE(pane(frame, ID_INDICATOR_NUM)->text(), num ? QStringLiteral("NUM") : QString());
    QCOMPARE(pane(frame, ID_INDICATOR_SCRL)->text(), scroll ? QStringLiteral("SCRL") : QString());
}

void ShellTest::commandsGoToTheViewFirst_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("viewTakesIt");
    QTest::newRow("Nach Kategorien") << ID_NACH_KATEGORIEN << true;
    QTest::newRow("Optionen") << ID_OPTIONEN << true;
    QTest::newRow("Beenden") << ID_APP_EXIT << false;
    QTest::newRow("Info") << ID_APP_ABOUT << false;
    QTest::newRow("unknown") << 12345 << false;
}

void ShellTest::commandsGoToTheViewFirst() {
    QFETCH(int, id);
    QFETCH(bool, viewTakesIt);
    // The view's two commands are its own (running them would open their dialogs); the rest
    // it passes on, to the frame and the application.
    QCOMPARE(CDesignAnsicht::IsViewCommand(id), viewTakesIt);
    if (!viewTakesIt) {
        CDesignAnsicht view;
        QVERIFY(!view.OnCmdMsg(id));
    }
}

void ShellTest::exitClosesTheFrame() {
    CMainFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.commandAction(ID_APP_EXIT)->trigger();
    QVERIFY(!frame.isVisible());
    // Without an application object nothing takes the About command.
    QVERIFY(!frame.OnCmdMsg(ID_APP_ABOUT));
    QVERIFY(!frame.OnCmdMsg(12345));
}

void ShellTest::aboutCommandOpensTheAboutBox() {
    CNadelixApp app;
    app.InitInstance();
    bool seen = false;
    onNextModal([&seen](QDialog* dialog) {
        seen = true;
        QVERIFY(qobject_cast<CAboutDlg*>(dialog));
        QCOMPARE(dialog->objectName(), idName(IDD_ABOUTBOX));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Über Nadelix"));
        QStringList texts;
        bool icon = false;
        for (const QLabel* label : dialog->findChildren<QLabel*>()) {
            texts << label->text();
            icon = icon || !label->pixmap().isNull();
        }
        QVERIFY(texts.contains(QStringLiteral("Nadelix Version 0.9")));
        QVERIFY(icon);
        const auto* ok = dialog->findChild<QPushButton*>(idName(IDOK));
        QVERIFY(ok);
        QCOMPARE(ok->text(), QStringLiteral("OK"));
    });
    app.m_pMainWnd->commandAction(ID_APP_ABOUT)->trigger();
    QVERIFY(seen);
    QVERIFY(!QApplication::activeModalWidget());
}

void ShellTest::userMessagesAreRelayedToTheView_data() {
    QTest::addColumn<int>("message");
    QTest::newRow("WM_QUELLE_EINLESEN") << WM_QUELLE_EINLESEN;
    QTest::newRow("WM_VORHERIGE_DATEI") << WM_VORHERIGE_DATEI;
    QTest::newRow("WM_NAECHSTE_DATEI") << WM_NAECHSTE_DATEI;
    QTest::newRow("WM_SORTIEREN_BEENDET") << WM_SORTIEREN_BEENDET;
    QTest::newRow("WM_DATEI_ENTFERNT") << WM_DATEI_ENTFERNT;
}

void ShellTest::userMessagesAreRelayedToTheView() {
    QFETCH(int, message);
    CMainFrame frame;
    MessageSpy spy;
    frame.m_wndView.installEventFilter(&spy);
    // Handled by the view before the send returns, unchanged, and answered with 0 whatever
    // the view said.
    QCOMPARE(sendUserMessage(&frame, message, 0, 0), 0L);
    QCOMPARE(spy.seen.size(), 1);
    QCOMPARE(spy.seen[0].message, message);
    QCOMPARE(spy.seen[0].wParam, 0L);
    QCOMPARE(spy.seen[0].lParam, 0L);
    QCOMPARE(sendUserMessage(&frame, message, 7, 9), 0L);
    QCOMPARE(spy.seen.size(), 2);
    QCOMPARE(spy.seen[1].wParam, 7L);
    QCOMPARE(spy.seen[1].lParam, 9L);
}

void ShellTest::otherMessagesAreNotRelayed() {
    CMainFrame frame;
    MessageSpy spy;
    frame.m_wndView.installEventFilter(&spy);
    for (const int message : {WM_USER, WM_QUELLE_EINLESEN - 1, WM_DATEI_ENTFERNT + 1})
        QCOMPARE(sendUserMessage(&frame, message), 0L);
    QVERIFY(spy.seen.isEmpty());
}

void ShellTest::activationGivesTheViewTheFocus() {
    CMainFrame frame;
    frame.show();
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QTRY_COMPARE(QApplication::focusWidget(), &frame.m_wndView);
    // Focus handed to the frame itself goes on to the view.
    frame.m_wndView.clearFocus();
    QVERIFY(!frame.m_wndView.hasFocus());
    frame.setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), &frame.m_wndView);
}

void ShellTest::closingADialogGivesTheKeyboardBackToItsOpener() {
    // The real dialogs and message boxes, each closed once it has the keyboard. (A dialog
    // counts as active while its owner is, so the test asks which window is.)
    QtModalQuestions questions;
    setModalQuestions(&questions);
    const auto restore = qScopeGuard([] { setModalQuestions(nullptr); });
    const auto closeNextModal = [] {
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QTRY_COMPARE(QApplication::activeWindow(), dialog);
            dialog->reject();
        });
    };
    CNadelixApp app;
    app.InitInstance();
    CMainFrame* frame = app.m_pMainWnd;
    QVERIFY(QTest::qWaitForWindowActive(frame));

    closeNextModal();
    frame->commandAction(ID_APP_ABOUT)->trigger();
    QTRY_COMPARE(QApplication::activeWindow(), frame);
    QTRY_COMPARE(QApplication::focusWidget(), &frame->m_wndView);

    frame->commandAction(ID_NACH_KATEGORIEN)->trigger();
    QPointer<CKopierenSortieren> sortieren = frame->m_wndView.m_pSortierDialog;
    QTRY_COMPARE(QApplication::activeWindow(), sortieren.data());
    auto* vorherige =
        sortieren->findChild<QPushButton*>(QString::number(CKopierenSortieren::kIdVorherige));
    vorherige->setFocus();
    closeNextModal();
    vorherige->click(); // "Keine weiteren Dateien mehr"
    QTRY_COMPARE(QApplication::activeWindow(), sortieren.data());
    QTRY_COMPARE(QApplication::focusWidget(), vorherige);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_COMPARE(QApplication::activeWindow(), frame);
    QVERIFY(sortieren.isNull() || !sortieren->isVisible());
}

void ShellTest::editingKeysDoNothing_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("copy") << QKeySequence(QKeySequence::Copy);
    QTest::newRow("cut") << QKeySequence(QKeySequence::Cut);
    QTest::newRow("paste") << QKeySequence(QKeySequence::Paste);
    QTest::newRow("undo") << QKeySequence(QKeySequence::Undo);
    QTest::newRow("next pane") << QKeySequence(Qt::Key_F6);
    QTest::newRow("previous pane") << QKeySequence(Qt::SHIFT | Qt::Key_F6);
}

void ShellTest::editingKeysDoNothing() {
    QFETCH(QKeySequence, keys);
    CMainFrame frame;
    frame.show();
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    int triggered = 0;
    for (QAction* action : frame.menuBar()->findChildren<QAction*>())
        connect(action, &QAction::triggered, [&triggered] { ++triggered; });
    QTest::keySequence(&frame.m_wndView, keys);
    QCoreApplication::processEvents();
    QCOMPARE(triggered, 0);
    QVERIFY(frame.isVisible());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(statusText(frame), QStringLiteral("Ready"));
    QCOMPARE(frame.m_wndView.m_bShowDesign, 0);
}

void ShellTest::noControlOfADialogCoversAnother() {
    // Only a group box may hold another control, inside its frame and below its title.
    const auto frames = [](const QWidget* group, const QWidget* control) {
        const auto* box = qobject_cast<const QGroupBox*>(group);
        return box && box->contentsRect().translated(box->pos()).contains(control->geometry());
    };
    const QFont desktop = QApplication::font();
    const auto restore = qScopeGuard([desktop] { QApplication::setFont(desktop); });
    for (qreal scale : {1.0, 2.0}) { // the desktop's font and twice its size
        QFont font = desktop;
        font.setPointSizeF(desktop.pointSizeF() * scale);
        QApplication::setFont(font);
        CNadelixOptionen options(QStringLiteral("Eigenschaften"));
        CKopierenSortieren sort;
        CNeueKategorie category;
        CVerzeichnisAuswahl chooser;
        CAboutDlg about;
        about.layout()->activate();
        QList<const QWidget*> windows = {&sort, &category, &chooser, &about};
        for (int i = 0; i < options.Tabs()->count(); ++i)
            windows << options.Tabs()->widget(i);
        for (const QWidget* window : windows) {
            const auto shown = window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            for (const QWidget* a : shown) {
                for (const QWidget* b : shown) {
                    if (a < b && !a->isHidden() && !b->isHidden() &&
                        a->geometry().intersects(b->geometry()))
                        QVERIFY2(frames(a, b) || frames(b, a),
                                 qPrintable(QStringLiteral("x%1: %2 / %3")
                                                .arg(scale)
                                                .arg(a->metaObject()->className(),
                                                     b->metaObject()->className())));
                }
            }
        }
    }
}

QTEST_MAIN(ShellTest)
#include "ShellTest.moc"
