// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The chooser beside a real network share that has stopped answering (a FUSE file system
// whose requests hang): it opens and chooses a local folder, gives up on the share with a
// message, and the program still ends.

#include "dirchooser/DirectoryJob.h"
#include "dirchooser/VerzeichnisAuswahl.h"
#include "platform/Drives.h"
#include "platform/FileError.h"

#include "ScriptedQuestions.h"
#include "SlowMount.h"
#include "TempDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

using platform::DriveType;
using namespace std::chrono_literals;

namespace {

void useDrives(const std::string& share) {
    platform::setDriveProvider([share] {
        return platform::DriveList{{"/", DriveType::Fixed}, {share, DriveType::Remote}};
    });
}

// The other side of theProgramEndsWhileAThreadIsStuck: opens the share in the chooser, says so,
// and once told closes the dialog and ends, with the thread still stuck in the kernel. It says
// when it has gone all the way through its end.
int expandThenQuit(const std::string& share) {
    std::atexit([] { std::cout << "ended" << std::endl; });
    useDrives(share);
    auto dialog = std::make_unique<CVerzeichnisAuswahl>();
    dialog->m_Verzeichnis = "/";
    dialog->show();
    dialog->ExpandItem(dialog->m_Verzeichnisbaum->topLevelItem(1));
    std::cout << (dialog->IsReading() ? "waiting" : "answered") << std::endl;
    std::string line;
    std::getline(std::cin, line);
    dialog->reject();
    dialog.reset();
    return 0;
}

} // namespace

class ChooserHungMountTest : public QObject {
    Q_OBJECT

    std::unique_ptr<SlowMount> m_mount;
    std::unique_ptr<TempDir> m_local;

private slots:
    void init() {
        m_mount = std::make_unique<SlowMount>();
        if (!m_mount->mounted())
            QSKIP(m_mount->skipReason().c_str());
        m_local = std::make_unique<TempDir>();
        m_local->makeDir("Muster/Rosen");
        QDir().mkpath(QString::fromStdString(m_mount->backing() + "/Entwuerfe"));
        useDrives(m_mount->path());
        m_mount->hang("/");
    }

    void cleanup() {
        if (m_mount)
            m_mount->release();
        QVERIFY(QTest::qWaitFor([] { return dirchooser::DirectoryJob::running() == 0; }, 5000));
        CVerzeichnisAuswahl::setListingTimeout(CVerzeichnisAuswahl::kListingTimeout);
        platform::setDriveProvider({});
        m_mount.reset();
        m_local.reset();
    }

    void localFolderIsChosenWithoutAskingTheShare() {
        QElapsedTimer clock;
        clock.start();
        CVerzeichnisAuswahl dialog;
        dialog.m_Verzeichnis = m_local->file("Muster");
        dialog.show();
        QTreeWidgetItem* muster = dialog.m_Verzeichnisbaum->currentItem();
        QVERIFY(muster);
        dialog.ExpandItem(muster);
        QCOMPARE(muster->childCount(), 1);
        dialog.m_Verzeichnisbaum->setCurrentItem(muster->child(0));
        dialog.findChild<QPushButton*>(QStringLiteral("1"))->click();
        QCOMPARE(dialog.m_Verzeichnis, m_local->file("Muster/Rosen"));
        QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(m_mount->blocked(), 0L);
    }

    void expandingTheShareGivesUpWithAMessage() {
        platform::ScriptedQuestions questions;
        CVerzeichnisAuswahl::setListingTimeout(500ms);
        CVerzeichnisAuswahl dialog;
        dialog.m_Verzeichnis = m_local->path();
        dialog.show();
        QTreeWidgetItem* share = dialog.m_Verzeichnisbaum->topLevelItem(1);
        dialog.ExpandItem(share);
        QVERIFY(dialog.IsListing(share));
        QTRY_VERIFY(m_mount->blocked() > 0);
        QTRY_VERIFY_WITH_TIMEOUT(!share->isExpanded(), 5000);
        const std::vector<std::string> expected = {
            "A hardware I/O error was reported while accessing " + m_mount->path() + "."};
        QCOMPARE(questions.shown, expected);
        QCOMPARE(share->childCount(), 1); // its button, to try again
    }

    void theProgramEndsWhileAThreadIsStuck() {
        QProcess child;
        child.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--expand-then-quit"), QString::fromStdString(m_mount->path())});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForReadyRead(10000));
        QCOMPARE(child.readLine().trimmed(), QByteArray("waiting"));
        QTRY_VERIFY(m_mount->blocked() > 0);
        child.write("quit\n");
        // Nothing of the program waits for the stuck thread: it goes through its whole end.
        QByteArray said;
        QVERIFY(QTest::qWaitFor(
            [&] {
                said += child.readAll();
                return said.contains("ended");
            },
            5000));
        // The kernel holds the process until the share answers the request it has begun (FUSE
        // cannot take it back); then it is gone at once.
        m_mount->release();
        QVERIFY2(child.waitForFinished(5000), "the program did not end");
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 3 && std::string(argv[1]) == "--expand-then-quit")
        return expandThenQuit(argv[2]);
    ChooserHungMountTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ChooserHungMountTest.moc"
