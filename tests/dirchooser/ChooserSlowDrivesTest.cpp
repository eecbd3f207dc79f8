// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The chooser on drives that answer late or not at all: the window goes on working, a listing
// that does not answer is given up with a message, and nothing waits for a stuck thread.

#include "dirchooser/DirectoryJob.h"
#include "dirchooser/VerzeichnisAuswahl.h"
#include "platform/Drives.h"
#include "platform/FileError.h"

#include "ChooserItems.h"
#include "FaultyFileSystem.h"
#include "ScriptedQuestions.h"
#include "TempDir.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>
#include <memory>
#include <optional>

using platform::DriveType;
using Op = FaultyFileSystem::Op;
using namespace std::chrono_literals;

class ChooserSlowDrivesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDir> m_t;
    std::optional<FaultyFileSystem> m_fs;
    std::optional<platform::ScriptedQuestions> m_questions;
    std::unique_ptr<CVerzeichnisAuswahl> m_dlg;

    std::string path(const std::string& name) const { return m_t->file(name); }
    QTreeWidget* tree() const { return m_dlg->m_Verzeichnisbaum; }

    void start(const std::string& directory) {
        m_dlg = std::make_unique<CVerzeichnisAuswahl>();
        m_dlg->m_Verzeichnis = directory;
        m_dlg->show();
    }

    QTreeWidgetItem* item(const std::string& p) const { return chooserItem(*m_dlg, p); }

    static bool hasOnlyPlaceholder(const QTreeWidgetItem* item) {
        return item->childCount() == 1 && CVerzeichnisAuswahl::IsPlaceholder(item->child(0));
    }

    std::string selectedPath() const {
        const QTreeWidgetItem* current = tree()->currentItem();
        return current ? m_dlg->ItemPath(current) : std::string("(none)");
    }

    // Lets every stuck thread go and waits until none is left, so that the next test's file
    // system is not touched by this one's threads.
    static bool allThreadsEnded() {
        return QTest::qWaitFor([] { return dirchooser::DirectoryJob::running() == 0; }, 5000);
    }

private slots:
    void init() {
        m_t = std::make_unique<TempDir>();
        m_t->makeDir("mit/x/y");
        m_t->write("ohne/a.pes", "x");
        m_t->makeDir("Rosen/rot");
        m_t->makeDir("netz/Muster/Blumen");
        m_t->makeDir("leer");
        platform::setDriveProvider([this] {
            return platform::DriveList{{"/", DriveType::Fixed},
                                       {path("leer"), DriveType::Fixed},
                                       {path("netz"), DriveType::Remote}};
        });
        m_fs.emplace();
        m_questions.emplace();
        CVerzeichnisAuswahl::setListingTimeout(300ms);
    }

    void cleanup() {
        m_dlg.reset();
        if (m_fs)
            m_fs->release();
        QVERIFY(allThreadsEnded());
        m_fs.reset();
        m_questions.reset();
        CVerzeichnisAuswahl::setListingTimeout(CVerzeichnisAuswahl::kListingTimeout);
        platform::setDriveProvider({});
        m_t.reset();
    }

    void openingReadsNoDriveButTheStartingOne() {
        // Both the hung share and the empty drive lie below the folder the dialog opens on:
        // as mount points they are never opened to find their folders.
        m_fs->holdOn(Op::OpenDirectory, "/netz");
        start(path("mit/x"));
        QCOMPARE(selectedPath(), path("mit/x"));
        QCOMPARE(m_fs->held(), 0);
        QTreeWidgetItem* base = item(m_t->path());
        for (int i = 0; i < base->childCount(); ++i) {
            const std::string name = CVerzeichnisAuswahl::ItemText(base->child(i));
            if (name == "netz" || name == "leer")
                QVERIFY(hasOnlyPlaceholder(base->child(i)));
        }
        for (int i = 1; i < tree()->topLevelItemCount(); ++i)
            QVERIFY(hasOnlyPlaceholder(tree()->topLevelItem(i)));
        // Opening the empty drive takes its button away, as for a folder that has nothing.
        QTreeWidgetItem* leer = tree()->topLevelItem(1);
        m_dlg->ExpandItem(leer);
        QVERIFY(!leer->isExpanded());
        QCOMPARE(leer->childCount(), 0);
    }

    void hungDriveGivesUpWithAMessageWhileTheDialogWorks() {
        m_fs->holdOn(Op::OpenDirectory, "/netz");
        start(path("mit"));
        QTreeWidgetItem* netz = tree()->topLevelItem(2);
        m_dlg->ExpandItem(netz);
        // Busy: open, with a child that cannot be chosen, and the busy cursor over the tree.
        QVERIFY(netz->isExpanded());
        QVERIFY(m_dlg->IsListing(netz));
        QCOMPARE(netz->childCount(), 1);
        QCOMPARE(netz->child(0)->flags(), Qt::NoItemFlags);
        QCOMPARE(tree()->cursor().shape(), Qt::BusyCursor);
        QCOMPARE(m_fs->held(), 1);

        // Meanwhile another folder can be chosen and opened.
        tree()->setCurrentItem(item(path("Rosen")));
        m_dlg->ExpandItem(item(path("Rosen")));
        QCOMPARE(m_dlg->PathFieldText(), path("Rosen"));
        QVERIFY(item(path("Rosen/rot")));

        QTRY_VERIFY_WITH_TIMEOUT(!netz->isExpanded(), 3000);
        QVERIFY(hasOnlyPlaceholder(netz)); // to be tried again
        QCOMPARE(tree()->cursor().shape(), Qt::ArrowCursor);
        const std::vector<std::string> expected = {
            "A hardware I/O error was reported while accessing " + path("netz") + "."};
        QCOMPARE(m_questions->shown, expected);

        // The answer that comes after all is dropped.
        m_fs->release();
        QVERIFY(allThreadsEnded());
        QTest::qWait(50);
        QVERIFY(!netz->isExpanded());
        QVERIFY(hasOnlyPlaceholder(netz));
        QCOMPARE(m_questions->shown.size(), std::size_t{1});
        QCOMPARE(m_dlg->PathFieldText(), path("Rosen"));
    }

    void closingNeverWaitsForAStuckThread() {
        m_fs->holdOn(Op::OpenDirectory, "/netz");
        start(path("mit"));
        m_dlg->ExpandItem(tree()->topLevelItem(2));
        QCOMPARE(m_fs->held(), 1);
        m_dlg->findChild<QPushButton*>(QStringLiteral("2"))->click();
        QCOMPARE(m_dlg->result(), int(QDialog::Rejected));
        QVERIFY(!m_dlg->IsReading());
        m_dlg.reset();
        QCOMPARE(m_fs->held(), 1); // still stuck, and nobody waited for it
        QTest::qWait(500);         // past the timeout: no message for a closed dialog
        QVERIFY(m_questions->shown.empty());
    }

    void walkToTheStartFolderFollowsTheAnswers() {
        m_fs->holdOn(Op::OpenDirectory, "/mit/x");
        start(path("mit/x/y"));
        // The field shows the folder at once; the selection waits where the tree has got to.
        QCOMPARE(m_dlg->PathFieldText(), path("mit/x/y"));
        QVERIFY(m_dlg->IsReading());
        QCOMPARE(selectedPath(), path("mit/x"));
        QVERIFY(m_dlg->IsListing(item(path("mit/x"))));
        m_fs->release();
        QTRY_VERIFY(!m_dlg->IsReading());
        QCOMPARE(selectedPath(), path("mit/x/y"));
        QCOMPARE(m_dlg->PathFieldText(), path("mit/x/y"));

        // Taken before the walk gets there, the folder asked for is what comes back.
        m_fs->holdOn(Op::OpenDirectory, "/mit/x");
        start(path("mit/x/y"));
        m_dlg->findChild<QPushButton*>(QStringLiteral("1"))->click();
        QCOMPARE(m_dlg->m_Verzeichnis, path("mit/x/y"));
    }

    void walkThatTimesOutStopsWhereItGot() {
        m_fs->holdOn(Op::OpenDirectory, "/mit/x");
        start(path("mit/x/y"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_dlg->IsReading(), 3000);
        QCOMPARE(selectedPath(), path("mit/x"));
        QCOMPARE(m_dlg->PathFieldText(), path("mit/x"));
        QVERIFY(!item(path("mit/x"))->isExpanded());
        QCOMPARE(m_questions->shown.size(), std::size_t{1});
    }

    void choosingDuringTheWalkEndsIt() {
        m_fs->holdOn(Op::OpenDirectory, "/mit/x");
        start(path("mit/x/y"));
        tree()->setCurrentItem(item(path("Rosen")));
        m_fs->release();
        QTRY_VERIFY(!m_dlg->IsReading());
        QCOMPARE(selectedPath(), path("Rosen"));
        QCOMPARE(m_dlg->PathFieldText(), path("Rosen"));
    }

    void buttonsFollowTheProbesAsTheyCome() {
        // The listing answers at once; the probe of a folder with files only does not.
        m_fs->holdOn(Op::OpenDirectory, "/ohne");
        start(m_t->path());
        QTreeWidgetItem* ohne = item(path("ohne"));
        QVERIFY(hasOnlyPlaceholder(ohne)); // until told otherwise
        QVERIFY(m_dlg->IsReading());
        m_fs->release();
        QTRY_COMPARE(ohne->childCount(), 0);
        QVERIFY(hasOnlyPlaceholder(item(path("Rosen"))));
        QTRY_VERIFY(!m_dlg->IsReading());
    }

    void collapsingABusyFolderKeepsItsButtonWithoutAsking() {
        m_fs->holdOn(Op::OpenDirectory, "/mit");
        start(m_t->path());
        QTreeWidgetItem* mit = item(path("mit"));
        m_dlg->ExpandItem(mit);
        QVERIFY(m_dlg->IsListing(mit));
        const int asked = m_fs->calls(Op::OpenDirectory);
        m_dlg->CollapseItem(mit);
        QVERIFY(hasOnlyPlaceholder(mit));
        QCOMPARE(m_fs->calls(Op::OpenDirectory), asked);
        QTest::qWait(400); // past the timeout: nothing is given up, nothing said
        QVERIFY(m_questions->shown.empty());
        QVERIFY(!m_dlg->IsReading());
    }
};

QTEST_MAIN(ChooserSlowDrivesTest)
#include "ChooserSlowDrivesTest.moc"
