// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Whole sorting sessions as a user has them: the real main frame, its menu command, the
// copy-and-sort dialog driven by its control ids, every question answered by script, and
// the disk checked afterwards.
#include "DialogFixture.h"
#include "FaultyFileSystem.h"
#include "ScriptedQuestions.h"
#include "TempDir.h"
#include "app/MainFrm.h"
#include "platform/CommandIds.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <cerrno>
#include <filesystem>

using namespace platform;
using D = CKopierenSortieren;
using Names = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

const std::string kSchonVorhanden = "Datei schon vorhanden";
const std::string kNichtAngelegt = "Verzeichnis kann nicht angelegt werden.";
const std::string kKeineWeiteren = "Keine weiteren Dateien mehr";

// Every entry below a directory: directories as "path/", files as "path size", sorted.
Names tree(const std::string& directory) {
    Names out;
    for (const auto& entry : fs::recursive_directory_iterator(directory)) {
        const std::string relative = fs::relative(entry.path(), directory).string();
        out.push_back(entry.is_directory() ? relative + "/"
                                           : relative + " " + std::to_string(entry.file_size()));
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::string sized(const std::string& path, std::size_t padding) {
    return path + " " + std::to_string(smallDesign(padding).size());
}

// The program's main window with a source and a target directory on disk.
struct Session {
    TempDir root;
    std::string quelle = root.makeDir("quelle");
    std::string ziel = root.makeDir("ziel");
    ScriptedQuestions questions;
    CMainFrame frame;
    CDesignAnsicht& view = frame.m_wndView;
    QPointer<D> dialog;

    Session() {
        frame.resize(700, 560);
        frame.show();
    }

    // "&Nach Kategorien" from the menu.
    D* open() {
        frame.commandAction(ID_NACH_KATEGORIEN)->trigger();
        dialog = view.m_pSortierDialog;
        waitForCategories();
        return dialog;
    }
    // The list is filled by a walk beside the window; these sessions look at its end.
    void waitForCategories() {
        if (dialog)
            QVERIFY(dialog->WaitForCategories());
    }
    void closeWithEscape() {
        QTest::keyClick(dialog, Qt::Key_Escape);
        runDeferredDeletes();
    }
    void chooseSourceAndTarget() {
        questions.directoryAnswers = {quelle, ziel};
        click(D::kIdQuelleAendern);
        click(D::kIdZielAendern);
    }
    CKategorieListe& list() const { return *dialog->m_KategorieListe; }
    void click(int id) {
        QTest::mouseClick(control<QPushButton>(dialog, id), Qt::LeftButton);
        waitForCategories();
    }
    std::string field(int id) const { return text(control<QLabel>(dialog, id)->text()); }
    int row(const std::string& entry) const {
        const Names texts = entryTexts(list());
        const auto it = std::find(texts.begin(), texts.end(), entry);
        return it == texts.end() ? -1 : int(it - texts.begin());
    }
    void mark(const Names& entries) {
        for (const std::string& entry : entries) {
            QVERIFY2(row(entry) >= 0, entry.c_str());
            clickMark(list(), row(entry));
        }
    }
    Names marked() const {
        Names out;
        for (int r : markedRows(list()))
            out.push_back(list().GetItemText(r));
        return out;
    }
    void rightClickOn(const std::string& entry) {
        const QPoint at = rowRect(list(), row(entry)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list().viewport()->mapToGlobal(at));
        QApplication::sendEvent(list().viewport(), &event);
        waitForCategories();
    }
    // Steps with "vorherige" and "nächste" until the design shown as name is current.
    void goTo(const std::string& name) {
        for (int i = 0; i < 20 && view.m_nAktuell > 0; ++i)
            click(D::kIdVorherige);
        while (field(D::kIdDateiname) != name) {
            const int before = view.m_nAktuell;
            click(D::kIdNaechste);
            QVERIFY2(view.m_nAktuell != before, name.c_str());
        }
        questions.shown.clear();
    }
    Names sourceNames() const {
        Names out;
        for (std::size_t i = 0; i < view.m_FileList.size(); ++i)
            out.push_back(view.m_FileList[i].name);
        std::sort(out.begin(), out.end());
        return out;
    }
};

} // namespace

class SortierSitzungTest : public QObject {
    Q_OBJECT
private slots:
    void aWholeSessionOfCopiesMovesDeletionsAndANewCategory();
    void withMarksKeptAndRenamingOffTheSaveDialogDecides();
    void theListIsRebuiltOnlyWhenATargetIsChosen();
    void aTargetWithMoreThanAThousandSubDirectoriesListsAThousand();
    void aCategoryRemovedBehindTheListIsReportedAndTheOthersStillGetTheirCopy();
    void aFailedMoveKeepsTheSourceAndTheListAsTheyWere();
};

void SortierSitzungTest::aWholeSessionOfCopiesMovesDeletionsAndANewCategory() {
    Session s;
    s.root.write("quelle/rose.pes", smallDesign(10));
    s.root.write("quelle/Stern.dst", smallDesign(20));
    s.root.write("quelle/tulpe.pes", smallDesign(30));
    s.root.write("quelle/herz.pes", smallDesign(40));
    s.root.write("quelle/notiz.txt", "nicht sortieren");
    s.root.write("ziel/Blumen/ROSE.PES", smallDesign(11));       // another design, same name
    s.root.write("ziel/Tiere/Hunde/STERN.DST", smallDesign(20)); // the same design
    s.root.makeDir("ziel/Tiere/Katzen");

    QVERIFY(s.open());
    s.chooseSourceAndTarget();
    QCOMPARE(s.sourceNames(), (Names{"HERZ.PES", "ROSE.PES", "STERN.DST", "TULPE.PES"}));
    QCOMPARE(entryTexts(s.list()),
             (Names{"[ Zielverzeichnis ]", "Blumen", "Tiere", "Tiere/Hunde", "Tiere/Katzen"}));
    QCOMPARE(s.field(D::kIdZiel), s.ziel + "/");

    // ROSE.PES into the target itself and into Blumen, where a ROSE.PES of another size is.
    s.goTo("ROSE.PES");
    s.mark({"[ Zielverzeichnis ]", "Blumen"});
    const int roseIndex = s.view.m_nAktuell;
    s.click(D::kIdCopy);
    QVERIFY(s.marked().empty());
    const bool roseWasLast = roseIndex == int(s.view.m_FileList.size()) - 1;
    QCOMPARE(s.view.m_nAktuell, roseWasLast ? roseIndex : roseIndex + 1); // advanced
    QCOMPARE(s.questions.shown, roseWasLast ? Names{kKeineWeiteren} : Names{});
    QCOMPARE(s.field(D::kIdDateiname), s.view.m_strFileName);

    // STERN.DST: Tiere/Hunde holds it already, Tiere gets it.
    s.goTo("STERN.DST");
    s.mark({"Tiere", "Tiere/Hunde"});
    s.click(D::kIdCopy);
    QCOMPARE(s.questions.shown.front(), kSchonVorhanden);
    QVERIFY(s.marked().empty());

    // A new category below Tiere; the rebuild drops the marks set before.
    s.mark({"Blumen"});
    s.questions.newCategoryAnswers = {std::string("Vögel")};
    s.rightClickOn("Tiere");
    QCOMPARE(s.questions.newCategoryParents, Names{s.ziel + "/Tiere/"});
    QCOMPARE(entryTexts(s.list()), (Names{"[ Zielverzeichnis ]", "Blumen", "Tiere", "Tiere/Hunde",
                                          "Tiere/Katzen", "Tiere/Vögel"}));
    QVERIFY(s.marked().empty());
    // One that exists already is refused, and the list stays.
    s.questions.shown.clear();
    s.mark({"Blumen"});
    s.questions.newCategoryAnswers = {std::string("Blumen")};
    s.rightClickOn("[ Zielverzeichnis ]");
    QCOMPARE(s.questions.shown, Names{kNichtAngelegt});
    QCOMPARE(s.marked(), Names{"Blumen"});
    // Cancelled: nothing at all.
    s.questions.shown.clear();
    s.rightClickOn("Blumen");
    QVERIFY(s.questions.shown.empty());
    QCOMPARE(s.marked(), Names{"Blumen"});

    // The options sheet is refused while the dialog is open; with it closed, moving is set.
    s.closeWithEscape();
    QVERIFY(s.dialog.isNull());
    s.view.m_bQuelleLoeschen = 1;
    QVERIFY(s.open());
    QCOMPARE(s.dialog->m_bQuelleLoeschen, 1);
    QCOMPARE(s.field(D::kIdQuelle), s.quelle);
    QCOMPARE(entryTexts(s.list()).size(), std::size_t(6));

    // TULPE.PES moves into Tiere/Vögel; the view drops it and shows the one at its place.
    s.goTo("TULPE.PES");
    s.mark({"Tiere/Vögel"});
    s.click(D::kIdCopy);
    QCOMPARE(s.sourceNames(), (Names{"HERZ.PES", "ROSE.PES", "STERN.DST"}));
    QVERIFY(s.field(D::kIdDateiname) != "TULPE.PES");
    QCOMPARE(s.field(D::kIdDateiname), s.view.m_strFileName);

    // HERZ.PES: deleting asks first; No keeps it.
    s.goTo("HERZ.PES");
    s.questions.yesNoAnswers = {false, true};
    s.click(D::kIdLoeschen);
    QCOMPARE(s.questions.shown, Names{"Datei wirklich löschen ?"});
    QCOMPARE(s.sourceNames().size(), std::size_t(3));
    s.click(D::kIdLoeschen);
    QCOMPARE(s.sourceNames(), (Names{"ROSE.PES", "STERN.DST"}));
    QVERIFY(s.field(D::kIdDateiname) != "HERZ.PES");

    s.closeWithEscape();
    QCOMPARE(s.view.m_strQuelle, s.quelle);
    QCOMPARE(s.view.m_strZiel, s.ziel + "/");
    QCOMPARE(tree(s.quelle),
             (Names{sized("Stern.dst", 20), "notiz.txt 15", sized("rose.pes", 10)}));
    QCOMPARE(tree(s.ziel), (Names{
                               "Blumen/",
                               sized("Blumen/ROSE.PES", 11),
                               sized("Blumen/ROSE01.PES", 10),
                               sized("ROSE.PES", 10),
                               "Tiere/",
                               "Tiere/Hunde/",
                               sized("Tiere/Hunde/STERN.DST", 20),
                               "Tiere/Katzen/",
                               sized("Tiere/STERN.DST", 20),
                               "Tiere/Vögel/",
                               sized("Tiere/Vögel/TULPE.PES", 30),
                           }));
}

void SortierSitzungTest::withMarksKeptAndRenamingOffTheSaveDialogDecides() {
    Session s;
    s.root.write("quelle/a.pes", smallDesign(1));
    s.root.write("quelle/b.pes", smallDesign(2));
    s.root.write("ziel/Eins/A.PES", smallDesign(1)); // the same design: renaming off asks
    s.root.makeDir("ziel/Zwei");
    s.view.m_bMarkenBehalten = 1;
    s.view.m_bDateienNichtUmbenennen = 1;
    s.view.m_bWeiterblaettern = 0;
    s.open();
    s.chooseSourceAndTarget();

    s.goTo("A.PES");
    s.mark({"Eins", "Zwei"});
    s.questions.saveFileAnswers = {s.ziel + "/Eins/A-zweite.PES"};
    s.click(D::kIdCopy);
    QCOMPARE(s.questions.saveRequests.size(), std::size_t(1));
    QCOMPARE(s.questions.saveRequests[0].proposedPath, s.ziel + "/Eins/A.PES");
    QCOMPARE(s.questions.saveRequests[0].directory, s.ziel + "/Eins/");
    QCOMPARE(s.questions.saveRequests[0].defaultExtension, std::string("PES"));
    QCOMPARE(s.marked(), (Names{"Eins", "Zwei"}));            // kept
    QCOMPARE(s.field(D::kIdDateiname), std::string("A.PES")); // no advance

    // The next design goes to the same categories with one click; a cancelled save dialog
    // fails that one copy without a word.
    s.goTo("B.PES");
    s.root.write("ziel/Eins/B.PES", smallDesign(9));
    s.questions.saveFileAnswers = {std::nullopt};
    s.click(D::kIdCopy);
    QVERIFY(s.questions.shown.empty());
    QCOMPARE(s.marked(), (Names{"Eins", "Zwei"}));

    QCOMPARE(tree(s.ziel), (Names{"Eins/", sized("Eins/A-zweite.PES", 1), sized("Eins/A.PES", 1),
                                  sized("Eins/B.PES", 9), "Zwei/", sized("Zwei/A.PES", 1),
                                  sized("Zwei/B.PES", 2)}));
}

void SortierSitzungTest::theListIsRebuiltOnlyWhenATargetIsChosen() {
    Session s;
    s.root.makeDir("ziel/Blumen");
    s.view.m_strZiel = s.ziel; // as remembered from an earlier opening, without separator
    s.open();
    QCOMPARE(entryTexts(s.list()), (Names{"[ Zielverzeichnis ]", "Blumen"}));
    QCOMPARE(s.dialog->m_nKategorien, 2);

    // A directory made outside the program shows only after a rebuild; a cancelled chooser
    // keeps the list and its marks.
    s.root.makeDir("ziel/Aaa");
    s.mark({"Blumen"});
    s.questions.directoryAnswers = {std::nullopt};
    s.click(D::kIdZielAendern);
    QCOMPARE(entryTexts(s.list()), (Names{"[ Zielverzeichnis ]", "Blumen"}));
    QCOMPARE(s.marked(), Names{"Blumen"});

    // Choosing the same target again rebuilds it, and every mark is gone.
    s.questions.directoryAnswers = {s.ziel};
    s.click(D::kIdZielAendern);
    QCOMPARE(entryTexts(s.list()), (Names{"[ Zielverzeichnis ]", "Aaa", "Blumen"}));
    QVERIFY(s.marked().empty());

    // A target without sub-directories has the target entry alone.
    TempDir leer;
    s.questions.directoryAnswers = {leer.path()};
    s.click(D::kIdZielAendern);
    QCOMPARE(entryTexts(s.list()), Names{"[ Zielverzeichnis ]"});

    // Without any target, a right click offers no new category.
    s.dialog->m_strZiel.clear();
    s.list().DeleteAllItems();
    s.dialog->OnRclickKategorien(-1);
    QVERIFY(s.questions.newCategoryParents.empty());
}

void SortierSitzungTest::aTargetWithMoreThanAThousandSubDirectoriesListsAThousand() {
    Session s;
    for (int i = 0; i < 1003; ++i)
        s.root.makeDir("ziel/k" + std::to_string(i));
    s.view.m_strZiel = s.ziel + "/";
    s.open();
    QCOMPARE(s.list().GetItemCount(), 1001);
    QCOMPARE(s.list().GetItemText(0), std::string("[ Zielverzeichnis ]"));
}

void SortierSitzungTest::aCategoryRemovedBehindTheListIsReportedAndTheOthersStillGetTheirCopy() {
    Session s;
    s.root.write("quelle/rose.pes", smallDesign());
    s.root.makeDir("ziel/Alt");
    s.root.makeDir("ziel/Neu");
    s.open();
    s.chooseSourceAndTarget();
    s.mark({"Alt", "Neu"});
    fs::remove(s.ziel + "/Alt");

    s.click(D::kIdCopy);

    // The one copy made counts: the view is asked for the next design, and there is none.
    QCOMPARE(s.questions.shown.size(), std::size_t(2));
    QVERIFY2(s.questions.shown[0].find(s.ziel + "/Alt/") != std::string::npos,
             s.questions.shown[0].c_str());
    QCOMPARE(s.questions.shown[1], kKeineWeiteren);
    QCOMPARE(tree(s.ziel), (Names{"Neu/", sized("Neu/ROSE.PES", 0)}));
    QVERIFY(s.marked().empty());
}

void SortierSitzungTest::aFailedMoveKeepsTheSourceAndTheListAsTheyWere() {
    Session s;
    s.root.write("quelle/a.pes", smallDesign());
    s.root.write("quelle/b.pes", smallDesign());
    s.root.makeDir("ziel/Eins");
    s.view.m_bQuelleLoeschen = 1;
    s.open();
    s.chooseSourceAndTarget();
    const std::string shown = s.field(D::kIdDateiname);
    s.mark({"Eins"});
    {
        FaultyFileSystem faults;
        faults.failOn(FaultyFileSystem::Op::Remove, EBUSY);
        s.click(D::kIdCopy);
    }
    QCOMPARE(s.questions.shown,
             Names{"A sharing violation occurred while accessing an unnamed file."});
    QCOMPARE(s.sourceNames(), (Names{"A.PES", "B.PES"}));
    QCOMPARE(s.field(D::kIdDateiname), shown);
    QCOMPARE(tree(s.ziel), (Names{"Eins/", sized("Eins/" + shown, 0)}));
}

QTEST_MAIN(SortierSitzungTest)
#include "SortierSitzungTest.moc"
