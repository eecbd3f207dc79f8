// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
// The copy-and-sort dialog while its category walk is still running: a folder of the target
// hangs until the test releases it, and the dialog must answer meanwhile.
#include "DialogFixture.h"
#include "FaultyFileSystem.h"
#include "ScriptedQuestions.h"
#include "SlowMount.h"
#include "TempDir.h"
#include "platform/DirectoryReader.h"
#include "sort/CategoryList.h"
#include "sort/CategorySearch.h"

#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <filesystem>

using D = CKopierenSortieren;
using Names = std::vector<std::string>;
using Op = FaultyFileSystem::Op;

namespace {

// Lets the walk's threads end before the file system they use goes away.
struct ThreadsEnd {
    FaultyFileSystem& faults;
    ~ThreadsEnd() {
        faults.release();
        QTRY_COMPARE_WITH_TIMEOUT(CategorySearch::threadsRunning(), 0, 20000);
    }
};

// A target on disk, its walk held at folders whose name contains a given text, and the
// dialog over it, not yet opened.
struct Scene {
    TempDir dir;
    std::string ziel = dir.makeDir("ziel") + "/";
    platform::ScriptedQuestions questions;
    FaultyFileSystem faults;
    ThreadsEnd threadsEnd{faults};
    QPointer<D> dialog = new D;

    ~Scene() { delete dialog; }
    CKategorieListe& list() const { return *dialog->m_KategorieListe; }
    void open(const std::string& hold) {
        faults.holdOn(Op::OpenSubdirectory, hold);
        dialog->m_strZiel = ziel;
        dialog->Create(nullptr);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
    }
    bool hung() {
        return QTest::qWaitFor([&] { return faults.held() == 1; }, 20000);
    }
    int row(const std::string& text) const {
        const Names texts = entryTexts(list());
        const auto it = std::find(texts.begin(), texts.end(), text);
        return it == texts.end() ? -1 : int(it - texts.begin());
    }
    Names marked() const {
        Names out;
        for (int r : markedRows(list()))
            out.push_back(list().GetItemText(r));
        return out;
    }
    bool busyShown() const {
        const auto* bar = dialog->findChild<QProgressBar*>();
        return bar && bar->isVisible() && list().viewport()->cursor().shape() == Qt::BusyCursor;
    }
};

// Eight folders "d0" to "d7" with a folder "k<i>" in each. Returns the one whose walk is to
// hang: the first in the order the target is listed in that a folder listed after it sorts
// before, so that entries arrive in front of it once it answers. Empty when the file system
// lists them sorted.
std::string foldersArrivingInFront(const Scene& s) {
    for (const int i : {3, 6, 0, 5, 2, 7, 1, 4})
        s.dir.makeDir("ziel/d" + std::to_string(i) + "/k" + std::to_string(i));
    Names listed;
    platform::DirectoryReader reader;
    reader.open(s.ziel);
    platform::DirectoryEntry entry;
    while (reader.next(entry))
        listed.push_back(entry.name);
    for (std::size_t i = 0; i < listed.size(); ++i)
        for (std::size_t later = i + 1; later < listed.size(); ++later)
            if (categoryLess(listed[later], listed[i]))
                return listed[i];
    return {};
}

} // namespace

class KategorieSucheTest : public QObject {
    Q_OBJECT
private slots:
    void theDialogOpensAtOnceAndListsWhatIsFoundWhileAFolderHangs();
    void marksAndTheCurrentEntryStayOnTheirEntriesAsOthersArriveInFront();
    void aCopyDuringTheWalkGoesIntoTheMarkedCategoriesOnly();
    void closingDuringTheWalkReturnsAtOnceAndLeavesTheHungFolderBehind();
    void anotherTargetDuringTheWalkListsOnlyThatTarget();
    void closingOnAShareThatStoppedAnsweringReturnsAtOnce();
};

void KategorieSucheTest::theDialogOpensAtOnceAndListsWhatIsFoundWhileAFolderHangs() {
    Scene s;
    s.dir.makeDir("ziel/Tiere/Hunde/Welpen");
    s.open("Hunde");
    QCOMPARE(s.list().GetItemText(0), std::string(kZielverzeichnis));
    QVERIFY(s.dialog->IsSearchingCategories());
    QVERIFY(s.busyShown());

    QVERIFY(s.hung());
    QTRY_COMPARE(entryTexts(s.list()), (Names{kZielverzeichnis, "Tiere", "Tiere/Hunde"}));
    QCOMPARE(s.dialog->m_nKategorien, 3);
    // The list answers the user meanwhile.
    clickMark(s.list(), 1);
    QCOMPARE(s.marked(), Names{"Tiere"});
    QVERIFY(s.busyShown());

    s.faults.release();
    QVERIFY(s.dialog->WaitForCategories());
    QCOMPARE(entryTexts(s.list()),
             (Names{kZielverzeichnis, "Tiere", "Tiere/Hunde", "Tiere/Hunde/Welpen"}));
    QCOMPARE(s.dialog->m_nKategorien, 4);
    QCOMPARE(s.marked(), Names{"Tiere"});
    QVERIFY(!s.dialog->IsSearchingCategories());
    QVERIFY(!s.dialog->findChild<QProgressBar*>()->isVisible());
    QVERIFY(s.list().viewport()->cursor().shape() != Qt::BusyCursor);
}

void KategorieSucheTest::marksAndTheCurrentEntryStayOnTheirEntriesAsOthersArriveInFront() {
    Scene s;
    const std::string hangs = foldersArrivingInFront(s);
    if (hangs.empty())
        QSKIP("this file system lists the folders sorted");
    s.open("k" + hangs.substr(1));
    QVERIFY(s.hung());
    QTRY_VERIFY(s.row(hangs + "/k" + hangs.substr(1)) > 0);
    const int before = s.row(hangs);
    clickMark(s.list(), before);
    s.list().setCurrentIndex(s.list().model()->index(before, 0));

    s.faults.release();
    QVERIFY(s.dialog->WaitForCategories());
    QCOMPARE(s.list().GetItemCount(), 17);
    QVERIFY(s.row(hangs) > before);
    QCOMPARE(s.marked(), Names{hangs});
    QCOMPARE(s.list().currentIndex().row(), s.row(hangs));
}

void KategorieSucheTest::aCopyDuringTheWalkGoesIntoTheMarkedCategoriesOnly() {
    Scene s;
    const std::string hangs = foldersArrivingInFront(s);
    if (hangs.empty())
        QSKIP("this file system lists the folders sorted");
    const std::string sub = hangs + "/k" + hangs.substr(1);
    TempDir source;
    s.dialog->m_strFilePath = source.write("rose.pes", smallDesign());
    s.dialog->m_strFileName = "ROSE.PES";
    s.open("k" + hangs.substr(1));
    QVERIFY(s.hung());
    QTRY_VERIFY(s.row(sub) > 0);
    clickMark(s.list(), s.row(hangs));
    clickMark(s.list(), s.row(sub));
    // The folder answers while the copy runs, and the window's events run as under a question
    // the copy asks: what the walk finds must wait until the copy has walked its marks.
    const int shown = s.list().GetItemCount();
    bool answeredMidCopy = false;
    s.faults.before(Op::Open, [&] {
        s.faults.release();
        QVERIFY(QTest::qWaitFor([&] { return CategorySearch::threadsRunning() == 0; }, 20000));
        QTest::qWait(150);
        QCOMPARE(s.list().GetItemCount(), shown);
        answeredMidCopy = true;
    });

    QTest::mouseClick(control<QPushButton>(s.dialog, D::kIdCopy), Qt::LeftButton);

    QVERIFY(answeredMidCopy);

    QVERIFY(std::filesystem::exists(s.ziel + hangs + "/ROSE.PES"));
    QVERIFY(std::filesystem::exists(s.ziel + sub + "/ROSE.PES"));
    QVERIFY(s.questions.shown.empty());
    QVERIFY(s.dialog->WaitForCategories());
    QCOMPARE(s.list().GetItemCount(), 17);
    QVERIFY(s.marked().empty());
    int copies = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(s.ziel))
        copies += entry.is_regular_file();
    QCOMPARE(copies, 2);
}

void KategorieSucheTest::closingDuringTheWalkReturnsAtOnceAndLeavesTheHungFolderBehind() {
    Scene s;
    s.dir.makeDir("ziel/Tiere/Hunde/Welpen");
    s.open("Hunde");
    QVERIFY(s.hung());

    QTest::keyClick(s.dialog, Qt::Key_Escape);
    runDeferredDeletes();

    QVERIFY(s.dialog.isNull());
    QCOMPARE(s.faults.held(), 1); // closed while the walk still hangs
    QCOMPARE(CategorySearch::threadsRunning(), 1);
}

void KategorieSucheTest::anotherTargetDuringTheWalkListsOnlyThatTarget() {
    Scene s;
    s.dir.makeDir("ziel/Tiere/Hunde/Welpen");
    s.dir.makeDir("neu/Rosen");
    s.open("Hunde");
    QVERIFY(s.hung());
    QTRY_COMPARE(s.list().GetItemCount(), 3);
    s.questions.directoryAnswers = {s.dir.path() + "/neu"};

    QTest::mouseClick(control<QPushButton>(s.dialog, D::kIdZielAendern), Qt::LeftButton);
    QVERIFY(s.dialog->WaitForCategories());
    QCOMPARE(entryTexts(s.list()), (Names{kZielverzeichnis, "Rosen"}));

    // The old walk goes on once its folder answers; what it finds then is dropped.
    s.faults.release();
    QTRY_COMPARE_WITH_TIMEOUT(CategorySearch::threadsRunning(), 0, 20000);
    QTest::qWait(150);
    QCOMPARE(entryTexts(s.list()), (Names{kZielverzeichnis, "Rosen"}));
    QCOMPARE(s.dialog->m_nKategorien, 2);
}

void KategorieSucheTest::closingOnAShareThatStoppedAnsweringReturnsAtOnce() {
    platform::ScriptedQuestions questions;
    {
        SlowMount share;
        if (!share.mounted())
            QSKIP(share.skipReason().c_str());
        share.backingDir().makeDir("ziel/Blumen");
        share.backingDir().makeDir("ziel/Tiere/Hunde");
        share.hang("ziel/Tiere");
        QPointer<D> dialog = new D;
        dialog->m_strZiel = share.path() + "/ziel/";
        dialog->Create(nullptr);
        dialog->show();
        QVERIFY(QTest::qWaitFor([&] { return share.blocked() > 0; }, 20000));
        QVERIFY(dialog->IsSearchingCategories());

        dialog->close();
        runDeferredDeletes();

        QVERIFY(dialog.isNull());
        QVERIFY(share.blocked() > 0);
    }
    // Unmounted, the share answers the abandoned walk with an error, and it ends.
    QTRY_COMPARE_WITH_TIMEOUT(CategorySearch::threadsRunning(), 0, 20000);
}

QTEST_MAIN(KategorieSucheTest)
#include "KategorieSucheTest.moc"
