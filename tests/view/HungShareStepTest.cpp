// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Steps through a source on a share whose file stops answering (FUSE): the window goes on,
// gives the file up with its error, shows a late answer, and the program still ends.
#include "ScriptedQuestions.h"
#include "SlowMount.h"
#include "app/MainFrm.h"
#include "platform/CommandIds.h"
#include "platform/UserMessages.h"

#include <QProcess>
#include <QtTest>

#include <iostream>
#include <semaphore>
#include <thread>

using namespace platform;

// Steps into the hung file of source, then ends through "Beenden" once its parent says so.
static int stepThenQuit(const std::string& source) {
    std::atexit([] { std::cout << "ended" << std::endl; });
    auto* frame = new CMainFrame;
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->m_wndView.RescanSource(source);
    sendUserMessage(frame, WM_NAECHSTE_DATEI);
    std::cout << (frame->m_wndView.IsReadingStep() ? "waiting" : "answered") << std::endl;
    std::cin.get();
    frame->OnCmdMsg(ID_APP_EXIT);
    return 0;
}

class HungShareStepTest : public QObject {
    Q_OBJECT
    std::unique_ptr<SlowMount> m_mount;
    ScriptedQuestions m_questions;
    std::unique_ptr<CDesignAnsicht> m_view;

    std::string source() const { return m_mount->path() + "/quelle"; }
    std::string path(int index) const {
        return source() + "/" + m_view->m_FileList[std::size_t(index)].diskName;
    }
    // Steps into the second file, which hangs. Should the step block the window, the share is
    // let go after a while, so that the test fails instead of hanging.
    void stepIntoTheHungFile() {
        m_mount->hang(path(1).substr(m_mount->path().size()));
        std::binary_semaphore returned(0);
        std::thread valve([&] {
            if (!returned.try_acquire_for(std::chrono::seconds(2)))
                m_mount->release();
        });
        sendUserMessage(m_view.get(), WM_NAECHSTE_DATEI);
        returned.release();
        valve.join();
        QCOMPARE(m_view->m_strFilePath, path(0));
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
        m_questions.shown.clear();
        m_view = std::make_unique<CDesignAnsicht>();
        m_view->RescanSource(source());
        m_view->LoadFile(0);
    }
    void cleanup() {
        if (m_mount)
            m_mount->release();
        QTRY_COMPARE(DesignReading::threadsRunning(), 0);
    }

    void aHungFileIsGivenUpWithItsErrorAndSteppedPast() {
        stepIntoTheHungFile();
        const std::vector<std::string> error{"A hardware I/O error was reported while accessing " +
                                             path(1) + "."};
        QTRY_COMPARE_WITH_TIMEOUT(m_questions.shown, error, 6000);
        QCOMPARE(m_view->m_strFilePath, path(1));
        QCOMPARE(m_view->cursor().shape(), Qt::ArrowCursor);
        // The list stays: past the file, once the share answers (its lookups wait behind it).
        sendUserMessage(m_view.get(), WM_NAECHSTE_DATEI);
        m_mount->release();
        QTRY_COMPARE(m_view->m_strFilePath, path(2));
    }

    void aLateAnswerIsShownUnlessTheUserSteppedOn_data() {
        QTest::addColumn<int>("steps");
        QTest::newRow("late answer") << 1;
        QTest::newRow("two quick steps") << 2;
    }
    void aLateAnswerIsShownUnlessTheUserSteppedOn() {
        QFETCH(int, steps);
        stepIntoTheHungFile();
        if (steps == 2)
            sendUserMessage(m_view.get(), WM_NAECHSTE_DATEI);
        m_mount->release();
        QTRY_COMPARE(DesignReading::threadsRunning(), 0);
        QTest::qWait(100);
        QCOMPARE(m_view->m_nAktuell, steps);
        QCOMPARE(m_view->m_strFilePath, path(steps));
        QVERIFY(m_questions.shown.empty());
    }

    void theProgramEndsWhileAStepHangs() {
        m_mount->hang(path(1).substr(m_mount->path().size()));
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--step-then-quit"), QString::fromStdString(source())});
        QVERIFY(child.waitForReadyRead(10000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("waiting"));
        child.write("\n");
        QTRY_VERIFY(child.peek(100).contains("ended"));
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
