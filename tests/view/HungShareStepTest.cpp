// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Stepping through a source on a share whose file stops answering (FUSE): the window goes on,
// gives the file up with its error, shows a late answer, and the program still ends.
#include "ScriptedQuestions.h"
#include "SlowMount.h"
#include "app/MainFrm.h"
#include "platform/CommandIds.h"
#include "platform/UserMessages.h"
#include "sort/KopierenSortieren.h"

#include <QPointer>
#include <QProcess>
#include <QtTest>

#include <cerrno>
#include <condition_variable>
#include <iostream>
#include <memory>
#include <thread>

using namespace platform;

namespace {

// Steps from the first file of source until a step waits; says so, and on a line from its
// parent ends through "Beenden", saying when it has gone all the way through its end.
int stepThenQuit(const std::string& source) {
    std::atexit([] { std::cout << "ended" << std::endl; });
    ScriptedQuestions questions;
    QPointer<CMainFrame> frame = new CMainFrame;
    frame->setAttribute(Qt::WA_DeleteOnClose);
    CDesignAnsicht& view = frame->m_wndView;
    view.RescanSource(source);
    while (!view.IsReadingStep() && view.m_nAktuell + 1 < int(view.m_FileList.size()))
        sendUserMessage(frame, WM_NAECHSTE_DATEI);
    std::cout << (view.IsReadingStep() ? "waiting" : "answered") << std::endl;
    std::string line;
    std::getline(std::cin, line);
    frame->OnCmdMsg(ID_APP_EXIT);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return frame ? 1 : 0;
}

} // namespace

class HungShareStepTest : public QObject {
    Q_OBJECT
    std::unique_ptr<SlowMount> m_mount;
    std::unique_ptr<ScriptedQuestions> m_questions;
    std::unique_ptr<CKopierenSortieren> m_dialog;
    std::unique_ptr<CDesignAnsicht> m_view;

    std::string source() const { return m_mount->path() + "/quelle"; }
    std::string name(int index) const { return m_view->m_FileList[std::size_t(index)].name; }
    // The second file hangs; a step into it must return while it does. Should the window block,
    // the share is let go after a while, so that the test fails instead of hanging.
    void stepIntoTheHungFile(int message) {
        m_mount->hang("/quelle/" + m_view->m_FileList[1].diskName);
        std::mutex mutex;
        std::condition_variable returned;
        bool done = false;
        std::thread valve([&] {
            std::unique_lock lock(mutex);
            if (!returned.wait_for(lock, std::chrono::seconds(2), [&] { return done; }))
                m_mount->release();
        });
        sendUserMessage(m_view.get(), message);
        {
            const std::lock_guard lock(mutex);
            done = true;
        }
        returned.notify_all();
        valve.join();
        QCOMPARE(m_view->m_strFileName, name(0));
        QCOMPARE(m_dialog->m_strFileName, name(0));
        QVERIFY(m_mount->blocked() > 0);
        QCOMPARE(m_view->cursor().shape(), Qt::BusyCursor);
    }

private slots:
    void init() {
        m_mount = std::make_unique<SlowMount>(SlowMount::Options{0, true});
        if (!m_mount->mounted())
            QSKIP(m_mount->skipReason().c_str());
        for (const char* file : {"a.dst", "b.dst", "c.dst"})
            m_mount->backingDir().write(std::string("quelle/") + file, std::string(518, ' '));
        m_questions = std::make_unique<ScriptedQuestions>();
        m_dialog = std::make_unique<CKopierenSortieren>();
        m_view = std::make_unique<CDesignAnsicht>();
        m_view->m_pSortierDialog = m_dialog.get();
        m_dialog->m_strQuelle = source();
        sendUserMessage(m_view.get(), WM_QUELLE_EINLESEN);
        QCOMPARE(m_view->m_FileList.size(), std::size_t(3));
    }
    void cleanup() {
        if (m_mount)
            m_mount->release();
        QTRY_COMPARE(DesignReading::threadsRunning(), 0);
        m_view.reset();
        m_dialog.reset();
        m_mount.reset();
    }

    void aHungFileIsGivenUpWithItsErrorAndSteppedPast() {
        stepIntoTheHungFile(WM_NAECHSTE_DATEI);
        const std::string path = source() + "/" + m_view->m_FileList[1].diskName;
        QTRY_COMPARE_WITH_TIMEOUT(m_questions->shown,
                                  std::vector<std::string>{"A hardware I/O error was reported "
                                                           "while accessing " +
                                                           path + "."},
                                  6000);
        QCOMPARE(m_view->m_nAktuell, 1);
        QCOMPARE(m_dialog->m_strFilePath, path);
        QCOMPARE(m_view->m_FileList.size(), std::size_t(3));
        QCOMPARE(m_view->cursor().shape(), Qt::ArrowCursor);
        // Past it, once the share answers again (its other lookups wait behind the hung one).
        sendUserMessage(m_view.get(), WM_NAECHSTE_DATEI);
        m_mount->release();
        QTRY_COMPARE(m_view->m_strFileName, name(2));
    }

    void aLateAnswerIsShownUnlessTheUserSteppedOn_data() {
        QTest::addColumn<bool>("steppedOn");
        QTest::newRow("late answer") << false;
        QTest::newRow("two quick steps") << true;
    }
    void aLateAnswerIsShownUnlessTheUserSteppedOn() {
        QFETCH(bool, steppedOn);
        stepIntoTheHungFile(WM_NAECHSTE_DATEI);
        if (steppedOn)
            sendUserMessage(m_view.get(), WM_NAECHSTE_DATEI);
        m_mount->release();
        QTRY_COMPARE(DesignReading::threadsRunning(), 0);
        QTRY_VERIFY(!m_view->IsReadingStep());
        QTest::qWait(100);
        const int shown = steppedOn ? 2 : 1;
        QCOMPARE(m_view->m_nAktuell, shown);
        QCOMPARE(m_dialog->m_strFileName, name(shown));
        QVERIFY(m_questions->shown.empty());
    }

    void theProgramEndsWhileAStepHangs() {
        m_mount->hang("/quelle/" + m_view->m_FileList[1].diskName);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--step-then-quit"), QString::fromStdString(source())});
        QVERIFY(child.waitForReadyRead(10000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("waiting"));
        QTRY_VERIFY(m_mount->blocked() > 0);
        child.write("quit\n");
        QByteArray said;
        QVERIFY(QTest::qWaitFor([&] { return (said += child.readAll()).contains("ended"); }, 5000));
        // The kernel holds the process until the share answers the request it has begun.
        m_mount->release();
        QVERIFY(child.waitForFinished(5000));
        QCOMPARE(child.exitCode(), 0);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--step-then-quit")
        return stepThenQuit(argv[2]);
    HungShareStepTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HungShareStepTest.moc"
