// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Browsing through the design view, driven by the user messages the copy-and-sort dialog
// sends, with every message box answered by script.
#include "FaultyFileSystem.h"
#include "ScriptedQuestions.h"
#include "TempDir.h"
#include "platform/UserMessages.h"
#include "sort/KopierenSortieren.h"
#include "view/DesignAnsicht.h"

#include <QDialog>
#include <QLabel>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace platform;
using Op = FaultyFileSystem::Op;

namespace {

const std::string kKeineAuswertbaren = "Keine auswertbaren Dateien im Quellverzeichnis";
const std::string kKeineWeiteren = "Keine weiteren Dateien mehr";

// A DST file with one stitch: enough for the reader to show a design.
std::vector<std::uint8_t> smallDesign() {
    // Sized once and filled in: GCC 12 warns wrongly about appending to a vector here.
    std::vector<std::uint8_t> bytes(512 + 6, 0x20);
    const std::uint8_t end[] = {0x01, 0x00, 0x00, 0x00, 0x00, 0xF3};
    std::copy(std::begin(end), std::end(end), bytes.end() - 6);
    return bytes;
}

// The view with an open dialog and a source directory of design files.
struct Scene {
    TempDir dir;
    ScriptedQuestions questions;
    CKopierenSortieren dialog;
    CDesignAnsicht view;

    Scene() { view.m_pSortierDialog = &dialog; }

    std::string add(const std::string& name) { return dir.write(name, smallDesign()); }
    long send(int message) { return sendUserMessage(&view, message); }
    // What the dialog does after the user chose a new source.
    long chooseSource(const std::string& directory) {
        dialog.m_strQuelle = directory;
        return send(WM_QUELLE_EINLESEN);
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < view.m_FileList.size(); ++i)
            out.push_back(view.m_FileList[i].name);
        return out;
    }
    std::string field(int id) const {
        const auto* label = dialog.findChild<QLabel*>(QString::number(id));
        return label ? label->text().toStdString() : "<missing>";
    }
    // Steps from the first file until the one shown as name is current.
    void goTo(const std::string& name) {
        while (view.m_strFileName != name && view.m_nAktuell + 1 < int(view.m_FileList.size()))
            send(WM_NAECHSTE_DATEI);
        QCOMPARE(view.m_strFileName, name);
    }
};

} // namespace

class BrowsingTest : public QObject {
    Q_OBJECT
private slots:
    void beforeTheFirstScanTheEmptyNamesAreSteppedThroughSilently();
    void aNewSourceIsScannedAndItsFirstFileShown();
    void aSourceWithoutAcceptedFilesIsReportedAndTheShownFileStays_data();
    void aSourceWithoutAcceptedFilesIsReportedAndTheShownFileStays();
    void steppingStopsAtBothEndsWithoutWrappingAround();
    void steppingOnAnEmptyListDoesNothing();
    void aDroppedFileIsFollowedByTheOneAtItsPlace_data();
    void aDroppedFileIsFollowedByTheOneAtItsPlace();
    void droppingTheLastFileKeepsItShown();
    void closingTheDialogTakesBackItsDirectoriesAndKeepsTheList();
    void openingAgainRescansTheRememberedSourceFromTheStart();
    void openingWhileOpenChangesNothing();
    void openingWithoutASourceScansNothing();
    void aFileThatVanishedAfterTheScanIsReportedWithItsPath();
    void aFileThatCannotBeReadIsReportedWithItsPath();
    void namesThatAreNotUtf8AreShownAndRead();
    void aSourceWithALinkLoopIsScannedWithoutHanging();
    void withoutADialogTheSourceMessagesDoNoHarm();
    void aSlowSourceIsShownWhenItAnswersAndTheDialogFollows();
    void aStepInTheOldListDropsASlowRescan();
    void aSlowRescanWaitsWhileAQuestionIsOpen();
    void aSlowNewSourceWithoutDesignsIsReportedWhenItAnswers();
};

void BrowsingTest::beforeTheFirstScanTheEmptyNamesAreSteppedThroughSilently() {
    Scene s;
    QCOMPARE(s.view.m_FileList.size(), std::size_t(500));
    QCOMPARE(s.send(WM_VORHERIGE_DATEI), 0L);
    QCOMPARE(s.questions.shown, std::vector<std::string>{kKeineWeiteren});
    QCOMPARE(s.view.m_nAktuell, 0);

    s.questions.shown.clear();
    for (int i = 0; i < 499; ++i)
        s.send(WM_NAECHSTE_DATEI);
    QCOMPARE(s.view.m_nAktuell, 499);
    QVERIFY(s.questions.shown.empty());
    QCOMPARE(s.dialog.m_strFileName, std::string()); // an empty name tells the dialog nothing
    QCOMPARE(s.view.m_bShowDesign, 0);

    s.send(WM_NAECHSTE_DATEI);
    QCOMPARE(s.view.m_nAktuell, 499);
    QCOMPARE(s.questions.shown, std::vector<std::string>{kKeineWeiteren});
}

void BrowsingTest::aNewSourceIsScannedAndItsFirstFileShown() {
    Scene s;
    s.add("rose.pes");
    s.add("Stern.Dst");
    s.dir.write("notes.txt", "x");
    s.dir.makeDir("alt.pes");
    s.view.m_nAktuell = 3;

    QCOMPARE(s.chooseSource(s.dir.path()), 0L);

    QVERIFY(s.questions.shown.empty());
    QCOMPARE(s.view.m_strSourceDir, s.dir.path() + "/");
    QCOMPARE(s.view.m_FileList.size(), std::size_t(2));
    QCOMPARE(s.view.m_nAktuell, 0);
    const std::string first = s.view.m_FileList[0].name;
    QVERIFY(first == "ROSE.PES" || first == "STERN.DST");
    QCOMPARE(s.view.m_strFileName, first);
    QCOMPARE(s.view.m_bShowDesign, 1);
    // The dialog learnt the new file before the message returned; the path is the one on disk.
    QCOMPARE(s.dialog.m_strFileName, first);
    QCOMPARE(s.dialog.m_strFilePath, s.dir.path() + "/" + s.view.m_FileList[0].diskName);
    QCOMPARE(s.field(CKopierenSortieren::kIdDateiname), first);
    QCOMPARE(s.field(CKopierenSortieren::kIdQuelle), s.dir.path());
    // The view takes the source over only when the dialog closes.
    QCOMPARE(s.view.m_strQuelle, std::string());

    // A trailing separator is kept as it is and not doubled.
    s.chooseSource(s.dir.path() + "/");
    QCOMPARE(s.view.m_strSourceDir, s.dir.path() + "/");
}

void BrowsingTest::aSourceWithoutAcceptedFilesIsReportedAndTheShownFileStays_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("only other files") << "other";
    QTest::newRow("empty") << "empty";
    QTest::newRow("vanished") << "vanished";
    QTest::newRow("a file, not a directory") << "file";
    QTest::newRow("listing refused") << "refused";
    QTest::newRow("listing fails") << "io";
}

void BrowsingTest::aSourceWithoutAcceptedFilesIsReportedAndTheShownFileStays() {
    QFETCH(QString, kind);
    Scene s;
    s.add("rose.pes");
    s.chooseSource(s.dir.path());
    QCOMPARE(s.view.m_strFileName, std::string("ROSE.PES"));

    TempDir other;
    std::string source = other.path();
    FaultyFileSystem faults;
    if (kind == "other") {
        other.write("notes.txt", "x");
        other.write("MUSTER.PES.BAK", "x");
        other.makeDir("alt.pes");
    } else if (kind == "vanished") {
        source = other.file("weg");
    } else if (kind == "file") {
        source = other.write("datei.pes", "x");
    } else if (kind == "refused") {
        other.write("b.pes", "x");
        faults.failOn(Op::OpenDirectory, EACCES);
    } else if (kind == "io") {
        other.write("b.pes", "x");
        faults.failOn(Op::OpenDirectory, EIO);
    }

    s.chooseSource(source);

    QCOMPARE(s.questions.shown, std::vector<std::string>{kKeineAuswertbaren});
    QVERIFY(s.view.m_FileList.isEmpty());
    QCOMPARE(s.view.m_nAktuell, 0);
    QCOMPARE(s.view.m_strFileName, std::string("ROSE.PES"));
    QCOMPARE(s.view.m_bShowDesign, 1);
    QCOMPARE(s.dialog.m_strFileName, std::string("ROSE.PES"));
    QCOMPARE(s.dialog.m_strFilePath, s.dir.path() + "/rose.pes");
}

void BrowsingTest::steppingStopsAtBothEndsWithoutWrappingAround() {
    Scene s;
    s.add("a.pes");
    s.add("b.pes");
    s.add("c.pes");
    s.chooseSource(s.dir.path());
    const std::vector<std::string> order = s.names();
    QCOMPARE(order.size(), std::size_t(3));

    // Index before the message, message, index and file afterwards, message shown or not.
    const struct {
        int message;
        int index;
        bool refused;
    } steps[] = {
        {WM_VORHERIGE_DATEI, 0, true},  {WM_NAECHSTE_DATEI, 1, false},
        {WM_NAECHSTE_DATEI, 2, false},  {WM_NAECHSTE_DATEI, 2, true},
        {WM_NAECHSTE_DATEI, 2, true},   {WM_VORHERIGE_DATEI, 1, false},
        {WM_VORHERIGE_DATEI, 0, false}, {WM_VORHERIGE_DATEI, 0, true},
    };
    for (const auto& step : steps) {
        s.questions.shown.clear();
        QCOMPARE(s.send(step.message), 0L);
        QCOMPARE(s.view.m_nAktuell, step.index);
        QCOMPARE(s.view.m_strFileName, order[std::size_t(step.index)]);
        QCOMPARE(s.field(CKopierenSortieren::kIdDateiname), order[std::size_t(step.index)]);
        QCOMPARE(s.questions.shown, step.refused ? std::vector<std::string>{kKeineWeiteren}
                                                 : std::vector<std::string>{});
    }
}

void BrowsingTest::steppingOnAnEmptyListDoesNothing() {
    Scene s;
    s.chooseSource(s.dir.path());
    QCOMPARE(s.questions.shown, std::vector<std::string>{kKeineAuswertbaren});
    s.questions.shown.clear();
    QCOMPARE(s.send(WM_NAECHSTE_DATEI), 0L);
    QCOMPARE(s.send(WM_VORHERIGE_DATEI), 0L);
    QVERIFY(s.questions.shown.empty());
    QCOMPARE(s.view.m_nAktuell, 0);
}

void BrowsingTest::aDroppedFileIsFollowedByTheOneAtItsPlace_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("shownIndex"); // index in the original order of the file then shown
    QTest::addColumn<int>("newIndex");
    QTest::newRow("first") << 0 << 1 << 0;
    QTest::newRow("middle") << 1 << 2 << 1;
    QTest::newRow("last") << 2 << 1 << 1;
}

void BrowsingTest::aDroppedFileIsFollowedByTheOneAtItsPlace() {
    QFETCH(int, current);
    QFETCH(int, shownIndex);
    QFETCH(int, newIndex);
    Scene s;
    s.add("a.pes");
    s.add("b.pes");
    s.add("c.pes");
    s.chooseSource(s.dir.path());
    const std::vector<std::string> order = s.names();
    s.goTo(order[std::size_t(current)]);

    QCOMPARE(s.send(WM_DATEI_ENTFERNT), 0L);

    std::vector<std::string> left = order;
    left.erase(left.begin() + current);
    QCOMPARE(s.names(), left);
    QCOMPARE(s.view.m_nAktuell, newIndex);
    QCOMPARE(s.view.m_strFileName, order[std::size_t(shownIndex)]);
    QCOMPARE(s.dialog.m_strFileName, order[std::size_t(shownIndex)]);
    QVERIFY(s.questions.shown.empty());
}

void BrowsingTest::droppingTheLastFileKeepsItShown() {
    Scene s;
    s.add("a.pes");
    s.chooseSource(s.dir.path());

    s.send(WM_DATEI_ENTFERNT);
    QVERIFY(s.view.m_FileList.isEmpty());
    QCOMPARE(s.questions.shown, std::vector<std::string>{kKeineWeiteren});
    QCOMPARE(s.view.m_strFileName, std::string("A.PES"));
    QCOMPARE(s.view.m_bShowDesign, 1);
    QCOMPARE(s.field(CKopierenSortieren::kIdDateiname), std::string("A.PES"));

    // Another drop on the empty list only repeats the notice.
    s.send(WM_DATEI_ENTFERNT);
    QCOMPARE(s.questions.shown, (std::vector<std::string>{kKeineWeiteren, kKeineWeiteren}));
}

void BrowsingTest::closingTheDialogTakesBackItsDirectoriesAndKeepsTheList() {
    Scene s;
    s.add("a.pes");
    s.add("b.pes");
    s.chooseSource(s.dir.path());
    s.send(WM_NAECHSTE_DATEI);
    const std::string shown = s.view.m_strFileName;
    s.dialog.m_strZiel = "/ziel/";

    QCOMPARE(s.send(WM_SORTIEREN_BEENDET), 0L);

    QCOMPARE(s.view.m_pSortierDialog, static_cast<CKopierenSortieren*>(nullptr));
    QCOMPARE(s.view.m_strQuelle, s.dir.path());
    QCOMPARE(s.view.m_strZiel, std::string("/ziel/"));
    QCOMPARE(s.view.m_nAktuell, 1);
    QCOMPARE(s.view.m_FileList.size(), std::size_t(2));
    QCOMPARE(s.view.m_strFileName, shown);
    QCOMPARE(s.view.m_strSourceDir, s.dir.path() + "/");
}

void BrowsingTest::openingAgainRescansTheRememberedSourceFromTheStart() {
    Scene s;
    s.add("a.pes");
    s.add("b.pes");
    s.chooseSource(s.dir.path());
    s.send(WM_NAECHSTE_DATEI);
    s.send(WM_SORTIEREN_BEENDET);
    s.add("c.pes"); // seen by the rescan

    s.view.OnNachKategorien();

    QCOMPARE(s.view.m_FileList.size(), std::size_t(3));
    QCOMPARE(s.view.m_nAktuell, 0);
    QCOMPARE(s.view.m_strFileName, s.view.m_FileList[0].name);
    QCOMPARE(s.view.m_strSourceDir, s.dir.path() + "/");
    QVERIFY(s.questions.shown.empty());

    // A remembered source that no longer holds anything is not reported at opening.
    s.view.m_pSortierDialog = nullptr;
    TempDir empty;
    s.view.m_strQuelle = empty.path() + "/";
    s.view.OnNachKategorien();
    QVERIFY(s.view.m_FileList.isEmpty());
    QCOMPARE(s.view.m_strSourceDir, empty.path() + "/");
    QVERIFY(s.questions.shown.empty());
}

void BrowsingTest::openingWhileOpenChangesNothing() {
    Scene s;
    s.add("a.pes");
    s.add("b.pes");
    s.chooseSource(s.dir.path());
    s.send(WM_NAECHSTE_DATEI);
    s.view.m_strQuelle = s.dir.path();
    s.add("c.pes");

    s.view.OnNachKategorien();

    QCOMPARE(s.view.m_pSortierDialog, &s.dialog);
    QCOMPARE(s.view.m_FileList.size(), std::size_t(2));
    QCOMPARE(s.view.m_nAktuell, 1);
}

void BrowsingTest::openingWithoutASourceScansNothing() {
    Scene s;
    s.view.m_pSortierDialog = nullptr;
    s.view.OnNachKategorien();
    QCOMPARE(s.view.m_FileList.size(), std::size_t(500));
    QCOMPARE(s.view.m_strSourceDir, std::string());
    QVERIFY(s.questions.shown.empty());
}

void BrowsingTest::aFileThatVanishedAfterTheScanIsReportedWithItsPath() {
    Scene s;
    s.add("a.pes");
    s.add("b.pes");
    s.chooseSource(s.dir.path());
    const SourceFileName second = s.view.m_FileList[1];
    QCOMPARE(::unlink(s.dir.file(second.diskName).c_str()), 0);

    s.send(WM_NAECHSTE_DATEI);

    const std::string path = s.dir.path() + "/" + second.diskName;
    QCOMPARE(s.questions.shown, std::vector<std::string>{path + " was not found."});
    QCOMPARE(s.view.m_nAktuell, 1);
    // The dialog is still told which file is current.
    QCOMPARE(s.dialog.m_strFileName, second.name);
    QCOMPARE(s.dialog.m_strFilePath, path);
}

void BrowsingTest::aFileThatCannotBeReadIsReportedWithItsPath() {
    Scene s;
    s.add("a.pes");
    s.add("b.pes");
    s.chooseSource(s.dir.path());
    const std::string path = s.dir.path() + "/" + s.view.m_FileList[1].diskName;
    const std::vector<std::string> denied{"Access to " + path + " was denied."};
    {
        FaultyFileSystem faults;
        faults.failOn(Op::Open, EACCES, path);
        s.send(WM_NAECHSTE_DATEI);
        QCOMPARE(s.questions.shown, denied);
    }
    if (::geteuid() != 0) {
        s.questions.shown.clear();
        s.send(WM_VORHERIGE_DATEI);
        QCOMPARE(::chmod(path.c_str(), 0), 0);
        s.send(WM_NAECHSTE_DATEI);
        QCOMPARE(s.questions.shown, denied);
    }
}

void BrowsingTest::namesThatAreNotUtf8AreShownAndRead() {
    Scene s;
    s.add("r\xF6se.dst");
    s.chooseSource(s.dir.path());
    QVERIFY(s.questions.shown.empty());
    QCOMPARE(s.view.m_strFileName, std::string("R\xF6SE.DST"));
    QCOMPARE(s.view.m_strFilePath, s.dir.path() + "/r\xF6se.dst");
    QCOMPARE(s.view.m_bShowDesign, 1);
    QCOMPARE(s.view.m_nColors, 1);
}

void BrowsingTest::aSourceWithALinkLoopIsScannedWithoutHanging() {
    Scene s;
    s.add("a.pes");
    QCOMPARE(::symlink(".", s.dir.file("zurueck.pes").c_str()), 0);
    QCOMPARE(::symlink("kreis.pes", s.dir.file("kreis.pes").c_str()), 0);
    s.chooseSource(s.dir.path());
    QCOMPARE(s.view.m_FileList.size(), std::size_t(2)); // a.pes and the looping link

    s.questions.shown.clear();
    s.view.m_nAktuell = s.view.m_FileList[0].diskName == "kreis.pes" ? 1 : 0;
    const int other = 1 - s.view.m_nAktuell;
    s.send(other == 1 ? WM_NAECHSTE_DATEI : WM_VORHERIGE_DATEI);
    QCOMPARE(s.questions.shown,
             std::vector<std::string>{s.dir.path() + "/kreis.pes contains an invalid path."});
}

void BrowsingTest::withoutADialogTheSourceMessagesDoNoHarm() {
    Scene s;
    s.view.m_pSortierDialog = nullptr;
    s.view.m_strQuelle = "/quelle";
    QCOMPARE(s.send(WM_QUELLE_EINLESEN), 0L);
    QCOMPARE(s.send(WM_SORTIEREN_BEENDET), 0L);
    QCOMPARE(s.view.m_strQuelle, std::string("/quelle"));
    QCOMPARE(s.view.m_FileList.size(), std::size_t(500));
    QVERIFY(s.questions.shown.empty());
}

namespace {
// The remembered source of two files, the second shown, on a drive whose listing of it hangs
// until released; a third file is there by the time the dialog opens again.
struct SlowSource : Scene {
    FaultyFileSystem faults;

    SlowSource() {
        add("a.pes");
        add("b.pes");
        chooseSource(dir.path());
        send(WM_NAECHSTE_DATEI);
        send(WM_SORTIEREN_BEENDET);
        view.m_strQuelle = dir.path();
        add("c.pes");
        faults.holdOn(Op::OpenDirectory, dir.path());
    }
    ~SlowSource() {
        faults.release();
        QTRY_COMPARE(SourceOpening::threadsRunning(), 0);
    }
    void open() {
        view.OnNachKategorien();
        QTRY_COMPARE(faults.held(), 1);
    }
};
} // namespace

void BrowsingTest::aSlowSourceIsShownWhenItAnswersAndTheDialogFollows() {
    SlowSource s;
    const std::string shown = s.view.m_strFileName;
    s.open();

    // The dialog is open on the file shown so far, which stays until the drive answers.
    QVERIFY(s.view.m_pSortierDialog);
    QVERIFY(s.view.IsOpeningSource());
    QCOMPARE(s.view.cursor().shape(), Qt::BusyCursor);
    QCOMPARE(s.view.m_FileList.size(), std::size_t(2));
    QCOMPARE(s.view.m_nAktuell, 1);
    QCOMPARE(s.view.m_pSortierDialog->m_strFileName, shown);

    s.faults.release();
    QTRY_VERIFY(!s.view.IsOpeningSource());
    QCOMPARE(s.view.m_FileList.size(), std::size_t(3));
    QCOMPARE(s.view.m_nAktuell, 0);
    QCOMPARE(s.view.m_strFileName, s.view.m_FileList[0].name);
    QCOMPARE(s.view.m_bShowDesign, 1);
    QCOMPARE(s.view.m_pSortierDialog->m_strFileName, s.view.m_FileList[0].name);
    QCOMPARE(s.view.m_pSortierDialog->m_strFilePath, s.view.m_strFilePath);
    QCOMPARE(s.view.cursor().shape(), Qt::ArrowCursor);
    QVERIFY(s.questions.shown.empty());
}

void BrowsingTest::aStepInTheOldListDropsASlowRescan() {
    SlowSource s;
    s.open();
    s.send(WM_VORHERIGE_DATEI);
    QVERIFY(!s.view.IsOpeningSource());
    QCOMPARE(s.view.cursor().shape(), Qt::ArrowCursor);

    s.faults.release();
    QTRY_COMPARE(SourceOpening::threadsRunning(), 0);
    QTest::qWait(100);
    QCOMPARE(s.view.m_FileList.size(), std::size_t(2));
    QCOMPARE(s.view.m_nAktuell, 0);
    QCOMPARE(s.view.m_pSortierDialog->m_strFileName, s.view.m_FileList[0].name);
}

void BrowsingTest::aSlowRescanWaitsWhileAQuestionIsOpen() {
    // A question about the current file (a deletion, a copy's clash) must find it unchanged
    // when it is answered.
    SlowSource s;
    s.open();
    const std::string asked = s.view.m_pSortierDialog->m_strFilePath;
    QDialog question;
    question.setModal(true);
    question.show();

    s.faults.release();
    QTRY_COMPARE(SourceOpening::threadsRunning(), 0);
    QTest::qWait(100);
    QVERIFY(s.view.IsOpeningSource());
    QCOMPARE(s.view.m_pSortierDialog->m_strFilePath, asked);

    question.close();
    QTRY_VERIFY(!s.view.IsOpeningSource());
    QCOMPARE(s.view.m_FileList.size(), std::size_t(3));
}

void BrowsingTest::aSlowNewSourceWithoutDesignsIsReportedWhenItAnswers() {
    Scene s;
    s.add("a.pes");
    s.chooseSource(s.dir.path());
    TempDir empty;
    FaultyFileSystem faults;
    faults.holdOn(Op::OpenDirectory, empty.path());

    s.chooseSource(empty.path());
    QTRY_COMPARE(faults.held(), 1);
    QVERIFY(s.questions.shown.empty());
    QCOMPARE(s.view.m_FileList.size(), std::size_t(1));

    faults.release();
    QTRY_COMPARE(s.questions.shown, std::vector<std::string>{kKeineAuswertbaren});
    QVERIFY(s.view.m_FileList.isEmpty());
    QCOMPARE(s.view.m_strSourceDir, empty.path() + "/");
    QTRY_COMPARE(SourceOpening::threadsRunning(), 0);
}

QTEST_MAIN(BrowsingTest)
#include "BrowsingTest.moc"
