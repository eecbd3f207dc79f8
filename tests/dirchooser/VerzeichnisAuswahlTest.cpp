// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "dirchooser/VerzeichnisAuswahl.h"

#include "app/QtModalQuestions.h"
#include "platform/Drives.h"

#include "ChooserItems.h"
#include "FaultyFileSystem.h"
#include "TempDir.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>
#include <cerrno>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;
using platform::DriveList;
using platform::DriveType;

namespace {

// The children of an item as the tree shows them: their exact names, "" for a placeholder.
std::vector<std::string> childNames(const QTreeWidgetItem* item) {
    std::vector<std::string> names;
    for (int i = 0; i < item->childCount(); ++i)
        names.push_back(CVerzeichnisAuswahl::ItemText(item->child(i)));
    return names;
}

bool hasOnlyPlaceholder(const QTreeWidgetItem* item) {
    return item->childCount() == 1 && CVerzeichnisAuswahl::IsPlaceholder(item->child(0));
}

// The process's current directory for the length of a test.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& path) : m_before(QDir::currentPath()) {
        QDir::setCurrent(QString::fromStdString(path));
    }
    ~CurrentDirectory() { QDir::setCurrent(m_before); }

private:
    QString m_before;
};

} // namespace

class VerzeichnisAuswahlTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempDir> m_t;
    std::unique_ptr<CVerzeichnisAuswahl> m_dlg;

    std::string path(const std::string& name) const { return m_t->file(name); }

    void useDrives(DriveList list) {
        platform::setDriveProvider([list] { return list; });
    }

    // Runs the dialog's start, as showing it does, with the given directory.
    CVerzeichnisAuswahl& start(const std::string& directory) {
        m_dlg = std::make_unique<CVerzeichnisAuswahl>();
        m_dlg->m_Verzeichnis = directory;
        m_dlg->show();
        return *m_dlg;
    }

    QTreeWidget* tree() const { return m_dlg->m_Verzeichnisbaum; }

    QTreeWidgetItem* driveItem(const std::string& root) const {
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            if (CVerzeichnisAuswahl::ItemText(tree()->topLevelItem(i)) == root)
                return tree()->topLevelItem(i);
        }
        return nullptr;
    }

    // The item whose path is p, looked for among the items the tree holds now.
    QTreeWidgetItem* item(const std::string& p) const { return chooserItem(*m_dlg, p); }

    std::string selectedPath() const {
        const QTreeWidgetItem* current = tree()->currentItem();
        return current ? m_dlg->ItemPath(current) : std::string("(none)");
    }

    // What "Übernehmen" hands back.
    std::string accepted() {
        m_dlg->findChild<QPushButton*>(QStringLiteral("1"))->click();
        [&] { QCOMPARE(m_dlg->result(), int(QDialog::Accepted)); }();
        return m_dlg->m_Verzeichnis;
    }

private slots:
    void init() {
        m_t = std::make_unique<TempDir>();
        // mit: has a sub-directory; ohne: files only; .versteckt: hidden, with a sub-directory.
        m_t->makeDir("mit/x/y");
        m_t->write("ohne/a.pes", "x");
        m_t->makeDir(".versteckt/z");
        m_t->makeDir("Rosen/rot");
        useDrives({{"/", DriveType::Fixed}});
        // Each step is looked at at once, however busy the machine: late answers are tested apart.
        CVerzeichnisAuswahl::setAnswerWait(std::chrono::seconds(20));
    }

    void cleanup() {
        CVerzeichnisAuswahl::setAnswerWait(CVerzeichnisAuswahl::kAnswerAtOnce);
        m_dlg.reset();
        platform::setDriveProvider({});
        m_t.reset();
    }

    void layoutFollowsTheTemplate() {
        CVerzeichnisAuswahl& dlg = start(m_t->path());
        QCOMPARE(dlg.objectName(), QStringLiteral("130"));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Verzeichnis auswählen"));
        auto* ok = dlg.findChild<QPushButton*>(QStringLiteral("1"));
        auto* cancel = dlg.findChild<QPushButton*>(QStringLiteral("2"));
        QVERIFY(ok && cancel);
        QCOMPARE(ok->text(), QStringLiteral("Übernehmen"));
        QVERIFY(ok->isDefault());
        QCOMPARE(cancel->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(dlg.findChild<QComboBox*>(QStringLiteral("1001")), dlg.m_Laufwerke);
        QCOMPARE(dlg.findChild<QTreeWidget*>(QStringLiteral("1017")), dlg.m_Verzeichnisbaum);
        QVERIFY(dlg.findChild<QLabel*>(QStringLiteral("1005")));
        // The tree is 125 of the dialog's 190 units wide and 140 of its 194 high.
        QVERIFY(qAbs(tree()->width() * 190 - dlg.width() * 125) <= 2 * 190);
        QVERIFY(qAbs(tree()->height() * 194 - dlg.height() * 140) <= 2 * 194);
        QVERIFY(ok->x() > tree()->x() + tree()->width());
    }

    void placeholdersMarkDirectoriesWithSubdirectories() {
        start(m_t->path());
        QTreeWidgetItem* top = item(m_t->path());
        QVERIFY(top);
        QVERIFY(top->isExpanded());
        QCOMPARE(top, tree()->currentItem());
        // Hidden directories are listed; "." and ".." and files never are.
        QCOMPARE(childNames(top), (std::vector<std::string>{".versteckt", "mit", "ohne", "Rosen"}));
        QVERIFY(hasOnlyPlaceholder(item(path("mit"))));
        QVERIFY(hasOnlyPlaceholder(item(path(".versteckt"))));
        QCOMPARE(item(path("ohne"))->childCount(), 0);
        QCOMPARE(m_dlg->m_Verzeichnis, m_t->path());
        QCOMPARE(m_dlg->PathFieldText(), m_t->path());
    }

    void expansionThatFindsNothingIsRefused() {
        start(m_t->path());
        // A folder whose sub-directories went away since it was listed loses its button.
        fs::remove_all(path("mit/x"));
        QTreeWidgetItem* mit = item(path("mit"));
        QVERIFY(QTest::qWaitForWindowExposed(m_dlg.get()));
        tree()->scrollToItem(mit);
        const QRect row = tree()->visualItemRect(mit);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {},
                          QPoint(row.left() - tree()->indentation() / 2, row.center().y()));
        QVERIFY(!mit->isExpanded());
        QCOMPARE(mit->childCount(), 0);
        // So does one that vanished altogether.
        QTreeWidgetItem* rosen = item(path("Rosen"));
        fs::remove_all(path("Rosen"));
        m_dlg->ExpandItem(rosen);
        QVERIFY(!rosen->isExpanded());
        QCOMPARE(rosen->childCount(), 0);
    }

    void unreadableDirectoriesAreRefused() {
        m_t->makeDir("laufwerk/sub");
        useDrives({{"/", DriveType::Fixed}, {path("laufwerk"), DriveType::Fixed}});
        start(m_t->path());
        QTreeWidgetItem* mit = item(path("mit"));
        QTreeWidgetItem* drive = driveItem(path("laufwerk"));
        QVERIFY(hasOnlyPlaceholder(drive));
        {
            FaultyFileSystem fs;
            fs.failOn(FaultyFileSystem::Op::OpenDirectory, EACCES, "/mit");
            m_dlg->ExpandItem(mit);
            QVERIFY(!mit->isExpanded());
            QCOMPARE(mit->childCount(), 0);
            // A drive that cannot be read keeps its button to be tried again.
            fs.failOn(FaultyFileSystem::Op::OpenDirectory, EIO, "/laufwerk");
            m_dlg->ExpandItem(drive);
            QVERIFY(!drive->isExpanded());
            QVERIFY(hasOnlyPlaceholder(drive));
        }
        m_dlg->ExpandItem(drive);
        QCOMPARE(childNames(drive), std::vector<std::string>{"sub"});
    }

    void childrenAreReadAfreshOnEveryExpansion() {
        start(m_t->path());
        QTreeWidgetItem* mit = item(path("mit"));
        tree()->setCurrentItem(mit);
        QTest::keyClick(tree(), Qt::Key_Right); // the user's way of opening it
        QVERIFY(mit->isExpanded());
        QCOMPARE(childNames(mit), std::vector<std::string>{"x"});

        m_t->makeDir("mit/neu");
        QTest::keyClick(tree(), Qt::Key_Left);
        QVERIFY(!mit->isExpanded());
        QVERIFY(hasOnlyPlaceholder(mit)); // thrown away on collapse
        QTest::keyClick(tree(), Qt::Key_Right);
        QCOMPARE(childNames(mit), (std::vector<std::string>{"neu", "x"}));

        // Collapsing keeps a button only while there is a sub-directory.
        fs::remove_all(path("mit/neu"));
        fs::remove_all(path("mit/x"));
        m_dlg->CollapseItem(mit);
        QCOMPARE(mit->childCount(), 0);
    }

    void asteriskOpensOneLevelOnly() {
        start(m_t->path());
        QTreeWidgetItem* mit = item(path("mit"));
        tree()->setCurrentItem(mit);
        QTest::keyClick(tree(), Qt::Key_Asterisk);
        QVERIFY(mit->isExpanded());
        QVERIFY(!item(path("mit/x"))->isExpanded());
        QVERIFY(hasOnlyPlaceholder(item(path("mit/x"))));
    }

    void collapsingAnAncestorSelectsIt() {
        start(path("mit/x/y"));
        QCOMPARE(selectedPath(), path("mit/x/y"));
        QTreeWidgetItem* mit = item(path("mit"));
        m_dlg->CollapseItem(mit);
        QCOMPARE(tree()->currentItem(), mit);
        QCOMPARE(m_dlg->m_Verzeichnis, path("mit"));
        QCOMPARE(m_dlg->PathFieldText(), path("mit"));
    }

    void expandingBringsTheChildrenIntoView() {
        for (int i = 0; i < 40; ++i) {
            m_t->makeDir("a" + std::to_string(i));
            m_t->makeDir("zz/k" + std::to_string(i));
        }
        start(m_t->path());
        QTreeWidgetItem* zz = item(path("zz"));
        tree()->scrollToItem(zz, QAbstractItemView::PositionAtBottom);
        m_dlg->ExpandItem(zz);
        QCOMPARE(tree()->itemAt(0, 0), zz); // heading as many of its children as fit
    }

    void selectPath_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("selected"); // also what "Übernehmen" returns
        QTest::newRow("whole path") << "mit/x/y"
                                    << "mit/x/y";
        QTest::newRow("trailing separator") << "mit/x/"
                                            << "mit/x";
        QTest::newRow("only a leading part exists") << "mit/fehlt/tiefer"
                                                    << "mit";
        QTest::newRow("letter case differs") << "rosen/rot"
                                             << "";
        QTest::newRow("letter case differs deeper") << "Rosen/ROT"
                                                    << "Rosen";
        QTest::newRow("hidden directory") << ".versteckt/z"
                                          << ".versteckt/z";
        QTest::newRow("doubled separator") << "mit//x"
                                           << "mit";
    }

    void selectPath() {
        QFETCH(QString, start);
        QFETCH(QString, selected);
        const std::string base = m_t->path() + "/";
        const std::string expected =
            selected.isEmpty() ? m_t->path() : base + selected.toStdString();
        this->start(base + start.toStdString());
        QCOMPARE(selectedPath(), expected);
        QCOMPARE(m_dlg->PathFieldText(), expected);
        QCOMPARE(accepted(), expected);
    }

    void namesThatAreNotUtf8KeepTheirBytes() {
        const std::string name = "b\xE4r"; // Latin-1, not UTF-8
        m_t->makeDir(name + "/innen");
        start(path(name + "/innen"));
        QCOMPARE(selectedPath(), path(name + "/innen"));
        QTreeWidgetItem* bar = item(path(name));
        QVERIFY(bar);
        QCOMPARE(bar->text(0), QString::fromUtf8("b\xEF\xBF\xBDr")); // shown lossily
        QVERIFY(m_dlg->findChild<QLabel*>(QStringLiteral("1005"))->text().contains(QChar(0xFFFD)));
        QCOMPARE(accepted(), path(name + "/innen"));
    }

    void linkLoopIsReadOneLevelAtATime() {
        m_t->makeDir("a");
        fs::create_directory_symlink("..", path("a/zurueck"));
        fs::create_symlink("selbst", path("a/selbst")); // leads nowhere: not a directory
        const std::string deep = path("a/zurueck/a/zurueck/a");
        start(deep);
        QCOMPARE(selectedPath(), deep);
        QCOMPARE(childNames(item(deep)), std::vector<std::string>{"zurueck"});
        QVERIFY(hasOnlyPlaceholder(item(deep + "/zurueck")));
        QCOMPARE(accepted(), deep);
    }

    void drivesWithoutMediumKeepTheirPlaceholder() {
        // Neither drive exists: had they been read at the start, they would have no button.
        useDrives({{"/", DriveType::Fixed},
                   {path("cd"), DriveType::CdRom},
                   {path("stick"), DriveType::Removable}});
        start(m_t->path());
        for (const char* name : {"cd", "stick"}) {
            QTreeWidgetItem* drive = driveItem(path(name));
            QVERIFY(drive);
            QVERIFY(hasOnlyPlaceholder(drive));
            m_dlg->ExpandItem(drive);
            QVERIFY(!drive->isExpanded());
            QVERIFY(hasOnlyPlaceholder(drive));
        }
        // A medium is inserted: the drive opens now.
        m_t->makeDir("cd/Muster/Blumen");
        QTreeWidgetItem* cd = driveItem(path("cd"));
        m_dlg->ExpandItem(cd);
        QVERIFY(cd->isExpanded());
        QCOMPARE(childNames(cd), std::vector<std::string>{"Muster"});
        // Collapsing a drive leaves its button, even when it has no sub-directory left.
        fs::remove_all(path("cd/Muster"));
        m_dlg->CollapseItem(cd);
        QVERIFY(hasOnlyPlaceholder(cd));
    }

    void startOnARemovableDriveReadsIt() {
        m_t->makeDir("stick/Muster/Blumen");
        useDrives({{"/", DriveType::Fixed}, {path("stick"), DriveType::Removable}});
        start(path("stick/Muster"));
        QCOMPARE(m_dlg->m_Laufwerke->currentIndex(), 1);
        QCOMPARE(selectedPath(), path("stick/Muster"));
        QVERIFY(driveItem(path("stick"))->isExpanded());
        QVERIFY(!driveItem("/")->isExpanded());
        QCOMPARE(accepted(), path("stick/Muster"));
    }

    void driveBoxListsEveryDriveAndTheTreeOnlyKnownTypes() {
        useDrives({{"/", DriveType::Fixed},
                   {path("net"), DriveType::Remote},
                   {path("ram"), DriveType::RamDisk},
                   {path("unknown"), DriveType::Unknown},
                   {path("noroot"), DriveType::NoRootDir}});
        start(m_t->path());
        QComboBox* box = m_dlg->m_Laufwerke;
        QCOMPARE(box->count(), 5);
        for (int i = 0; i < box->count(); ++i)
            QVERIFY(!box->itemIcon(i).isNull());
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(tree()->topLevelItemCount(), 3);
        // Choosing a drive the tree leaves out changes nothing.
        const std::string before = selectedPath();
        box->setCurrentIndex(3);
        m_dlg->OnSelchangeDrive();
        QCOMPARE(selectedPath(), before);
        QVERIFY(driveItem("/")->isExpanded());
    }

    void choosingADriveCollapsesOnlyTheDrivesAboveIt() {
        for (const char* d : {"d1/a", "d2/b", "d3/c"})
            m_t->makeDir(d);
        useDrives({{"/", DriveType::Fixed},
                   {path("d1"), DriveType::Fixed},
                   {path("d2"), DriveType::Removable},
                   {path("d3"), DriveType::Fixed}});
        start(path("d1/a"));
        m_dlg->ExpandItem(driveItem("/"));
        for (const char* d : {"d2", "d3"})
            m_dlg->ExpandItem(driveItem(path(d)));
        QVERIFY(driveItem("/")->isExpanded());
        QVERIFY(driveItem(path("d1"))->isExpanded());

        m_dlg->m_Laufwerke->setCurrentIndex(2);
        emit m_dlg->m_Laufwerke->activated(2);
        QVERIFY(!driveItem("/")->isExpanded());
        QVERIFY(!driveItem(path("d1"))->isExpanded());
        QVERIFY(hasOnlyPlaceholder(driveItem(path("d1"))));
        QVERIFY(driveItem(path("d2"))->isExpanded());
        QVERIFY(driveItem(path("d3"))->isExpanded());
        QCOMPARE(selectedPath(), path("d2"));
        QCOMPARE(m_dlg->PathFieldText(), path("d2"));

        // An open drive whose medium went away is closed again, keeping its button.
        fs::remove_all(path("d2"));
        emit m_dlg->m_Laufwerke->activated(2);
        QVERIFY(!driveItem(path("d2"))->isExpanded());
        QVERIFY(hasOnlyPlaceholder(driveItem(path("d2"))));
        QCOMPARE(accepted(), path("d2"));
    }

    void typedTextInTheDriveBoxNeverChoosesADrive() {
        m_t->makeDir("d1/a");
        useDrives({{"/", DriveType::Fixed}, {path("d1"), DriveType::Fixed}});
        start(path("d1/a"));
        QVERIFY(QTest::qWaitForWindowActive(m_dlg.get()));
        QLineEdit* edit = m_dlg->m_Laufwerke->lineEdit();
        const auto typeRoot = [edit] {
            edit->setFocus();
            edit->selectAll();
            QTest::keyClicks(edit, QStringLiteral("/"));
        };

        // Leaving the field keeps the drive and the tree as they were.
        typeRoot();
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(!edit->hasFocus());
        QCOMPARE(m_dlg->m_Laufwerke->currentIndex(), 1);
        QCOMPARE(selectedPath(), path("d1/a"));

        // Enter takes the tree's selection, as "Übernehmen" does.
        typeRoot();
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(m_dlg->result(), int(QDialog::Accepted));
        QVERIFY(!m_dlg->isVisible());
        QCOMPARE(m_dlg->m_Verzeichnis, path("d1/a"));
        QVERIFY(!driveItem("/")->isExpanded());
    }

    void emptyStartOpensTheCurrentDirectorysDrive() {
        m_t->makeDir("zweites/sub");
        useDrives({{"/", DriveType::Fixed}, {path("zweites"), DriveType::Fixed}});
        {
            CurrentDirectory cwd(path("mit/x"));
            start("");
            QCOMPARE(m_dlg->m_Laufwerke->currentIndex(), 0); // the drive the tree stands on
            QCOMPARE(selectedPath(), std::string("/"));
            QVERIFY(driveItem("/")->isExpanded());
            QCOMPARE(accepted(), std::string("/"));
        }
        {
            CurrentDirectory cwd(path("zweites/sub"));
            start("");
            QCOMPARE(m_dlg->m_Laufwerke->currentIndex(), 1);
            QCOMPARE(selectedPath(), path("zweites"));
            QCOMPARE(accepted(), path("zweites"));
        }
    }

    void onlyOneDriveAndEmptyStartShowsThatDrive() {
        start("");
        QCOMPARE(m_dlg->m_Laufwerke->count(), 1);
        QCOMPARE(m_dlg->m_Laufwerke->currentIndex(), 0);
        QVERIFY(driveItem("/")->isExpanded());
    }

    void startOnADriveWithoutTreeItemSelectsNothing() {
        // As a drive the tree does not show, "/" has no item to start from.
        useDrives({{"/", DriveType::Unknown}});
        const std::string given = path("mit/x");
        start(given);
        QCOMPARE(tree()->topLevelItemCount(), 0);
        QCOMPARE(m_dlg->PathFieldText(), given);
        QCOMPARE(accepted(), given);
    }

    void modalQuestionRunsTheChooser() {
        platform::QtModalQuestions questions;
        std::string chosen;
        auto answer = [](int button) {
            QTimer::singleShot(0, [button] {
                auto* dlg = qobject_cast<CVerzeichnisAuswahl*>(QApplication::activeModalWidget());
                QVERIFY(dlg);
                dlg->findChild<QPushButton*>(QString::number(button))->click();
            });
        };
        answer(CVerzeichnisAuswahl::IDOK);
        QVERIFY(questions.chooseDirectory(path("mit/x/"), chosen));
        QCOMPARE(chosen, path("mit/x"));
        answer(CVerzeichnisAuswahl::IDCANCEL);
        QVERIFY(!questions.chooseDirectory(path("mit"), chosen));
    }
};

QTEST_MAIN(VerzeichnisAuswahlTest)
#include "VerzeichnisAuswahlTest.moc"
