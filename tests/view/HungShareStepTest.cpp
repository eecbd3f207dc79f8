// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Steps through a source on a share whose file stops answering (FUSE): the window goes on,
// gives the file up with its error and shows a late answer unless the user stepped on.
#include "ScriptedQuestions.h"
#include "SlowMount.h"
#include "platform/UserMessages.h"
#include "view/DesignAnsicht.h"

#include <QtTest>

#include <semaphore>
#include <thread>

using namespace platform;

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

    void aHungFileIsGivenUpWithItsErrorAndTheListStays() {
        stepIntoTheHungFile();
        const std::vector<std::string> error{"A hardware I/O error was reported while accessing " +
                                             path(1) + "."};
        QTRY_COMPARE_WITH_TIMEOUT(m_questions.shown, error, 6000);
        QCOMPARE(m_view->m_strFilePath, path(1));
        QCOMPARE(m_view->m_FileList.size(), std::size_t(3));
        QCOMPARE(m_view->cursor().shape(), Qt::ArrowCursor);
    }

    // What comes while the read hangs decides what the late answer shows: nothing (the file
    // stepped to), another step (the file after it), or the removal of the file shown (the
    // file now in its place, read afresh; the old answer belongs to another index by then).
    void aLateAnswerIsShownUnlessTheUserMovedOn_data() {
        QTest::addColumn<int>("meanwhile");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("file");
        QTest::newRow("late answer") << 0 << 1 << "b.dst";
        QTest::newRow("two quick steps") << int(WM_NAECHSTE_DATEI) << 2 << "c.dst";
        QTest::newRow("the shown file removed") << int(WM_DATEI_ENTFERNT) << 0 << "b.dst";
    }
    void aLateAnswerIsShownUnlessTheUserMovedOn() {
        QFETCH(int, meanwhile);
        QFETCH(int, index);
        QFETCH(QString, file);
        stepIntoTheHungFile();
        if (meanwhile)
            sendUserMessage(m_view.get(), meanwhile);
        m_mount->release();
        QTRY_COMPARE(DesignReading::threadsRunning(), 0);
        QTest::qWait(100);
        QCOMPARE(m_view->m_nAktuell, index);
        QCOMPARE(m_view->m_strFilePath, source() + "/" + file.toStdString());
        QVERIFY(m_questions.shown.empty());
    }
};

QTEST_MAIN(HungShareStepTest)
#include "HungShareStepTest.moc"
