// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The options command of the design view: the sheet opened on the twelve settings, taken
// back only on OK, refused while the copy-and-sort dialog is open, and what the settings
// change afterwards.
#include "ScriptedQuestions.h"
#include "SheetDriver.h"
#include "TempDir.h"
#include "sort/KopierenSortieren.h"
#include "view/DesignAnsicht.h"

#include <QDir>
#include <QTabWidget>
#include <QtTest>

#include <array>
#include <string>
#include <vector>

namespace {

const std::string kArbeitsfensterAktiv = "Arbeitsfenster noch aktiv. Bitte schließen.";

// Each setting, its check box and its default; format settings name the type they accept.
struct Setting {
    const char* name;
    int DesignBrowser::*member;
    int id;
    int page;
    int byDefault;
    const char* type;
};
const Setting kSettings[] = {
    {"m_bQuelleLoeschen", &DesignBrowser::m_bQuelleLoeschen, 1037, 0, 0, nullptr},
    {"m_bDateienNichtUmbenennen", &DesignBrowser::m_bDateienNichtUmbenennen, 1035, 0, 0, nullptr},
    {"m_bMarkenBehalten", &DesignBrowser::m_bMarkenBehalten, 1038, 0, 0, nullptr},
    {"m_bWeiterblaettern", &DesignBrowser::m_bWeiterblaettern, 1039, 0, 1, nullptr},
    {"m_bPES", &DesignBrowser::m_bPES, 1042, 1, 1, "PES"},
    {"m_bPEC", &DesignBrowser::m_bPEC, 1043, 1, 1, "PEC"},
    {"m_bPCS", &DesignBrowser::m_bPCS, 1044, 1, 1, "PCS"},
    {"m_bDST", &DesignBrowser::m_bDST, 1045, 1, 1, "DST"},
    {"m_bSEW", &DesignBrowser::m_bSEW, 1055, 1, 1, "SEW"},
    {"m_bART", &DesignBrowser::m_bART, 1046, 1, 0, "ART"},
    {"m_bHUS", &DesignBrowser::m_bHUS, 1030, 1, 0, "HUS"},
    {"m_bKRZ", &DesignBrowser::m_bKRZ, 1041, 1, 0, "KRZ"},
};
constexpr int kZip = 1040;

using Settings = std::array<int, std::size(kSettings)>;

Settings settingsOf(const DesignBrowser& view) {
    Settings values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = view.*kSettings[i].member;
    return values;
}

Settings defaults() {
    Settings values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = kSettings[i].byDefault;
    return values;
}

// The boxes of every setting as the sheet shows them, page by page, read as a person would.
Settings boxesOf(CNadelixOptionen& sheet) {
    Settings values{};
    for (int page = 0; page < 2; ++page) {
        showPage(sheet, page);
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (kSettings[i].page == page)
                values[i] = checkBox(sheet, kSettings[i].id)->isChecked() ? 1 : 0;
        }
    }
    return values;
}

// Upper-cased names of the source list.
std::vector<std::string> listed(const DesignBrowser& view) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < view.m_FileList.size(); ++i)
        names.push_back(view.m_FileList[i].name);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

class OptionenTest : public QObject {
    Q_OBJECT
private slots:
    void theFirstStartShowsExactlyTheDefaults();
    void eachBoxChangesItsOwnSettingOnOk_data();
    void eachBoxChangesItsOwnSettingOnOk();
    void withoutPesOnlyPesFilesLeaveTheNextScanEmpty();
    void anEndingOtherThanOkChangesNothing_data();
    void anEndingOtherThanOkChangesNothing();
    void ticksOnBothPagesAreTakenTogether();
    void theSheetIsRefusedWhileTheCopyDialogIsOpen();
    void theZipBoxIsAlwaysUncheckedAndCannotBeChanged();
    void settingsLiveOnlyForOneRun();
};

void OptionenTest::theFirstStartShowsExactlyTheDefaults() {
    platform::ScriptedQuestions questions;
    CDesignAnsicht view;
    QCOMPARE(settingsOf(view), defaults());

    Settings shown{};
    SheetDriver driver([&](CNadelixOptionen& sheet) {
        QCOMPARE(sheet.windowTitle(), QStringLiteral("Eigenschaften"));
        QCOMPARE(sheet.Tabs()->currentIndex(), 0);
        shown = boxesOf(sheet);
        QVERIFY(!checkBox(sheet, kZip)->isChecked());
        clickButton(sheet, CNadelixOptionen::IDCANCEL);
    });
    view.OnOptionen();
    QVERIFY(driver.ran());
    QCOMPARE(shown, defaults());
    QVERIFY(questions.shown.empty());
}

void OptionenTest::eachBoxChangesItsOwnSettingOnOk_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kSettings)); ++i)
        QTest::newRow(kSettings[i].name) << i;
}

void OptionenTest::eachBoxChangesItsOwnSettingOnOk() {
    QFETCH(int, row);
    const Setting& setting = kSettings[row];
    platform::ScriptedQuestions questions;
    TempDir dir;
    for (const Setting& s : kSettings) {
        if (s.type)
            dir.write(std::string("muster.") + s.type, "x");
    }
    CDesignAnsicht view;

    SheetDriver change([&](CNadelixOptionen& sheet) {
        showPage(sheet, setting.page);
        toggle(sheet, setting.id);
        clickButton(sheet, CNadelixOptionen::IDOK);
    });
    view.OnOptionen();
    QVERIFY(change.ran());
    Settings expected = defaults();
    expected[row] = 1 - expected[row];
    QCOMPARE(settingsOf(view), expected);

    // The next opening shows the changed settings.
    Settings shown{};
    SheetDriver look([&](CNadelixOptionen& sheet) { shown = boxesOf(sheet); });
    view.OnOptionen();
    QVERIFY(look.ran());
    QCOMPARE(shown, expected);

    // The next scan accepts the types whose settings are on now.
    std::vector<std::string> accepted;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (kSettings[i].type && expected[i])
            accepted.push_back(std::string("MUSTER.") + kSettings[i].type);
    }
    std::sort(accepted.begin(), accepted.end());
    view.RescanSource(dir.path());
    QCOMPARE(listed(view), accepted);
}

void OptionenTest::withoutPesOnlyPesFilesLeaveTheNextScanEmpty() {
    platform::ScriptedQuestions questions;
    TempDir dir;
    dir.write("rose.pes", "x");
    dir.write("Stern.Pes", "x");
    CDesignAnsicht view;
    view.RescanSource(dir.path());
    QCOMPARE(view.m_FileList.size(), std::size_t(2));

    SheetDriver driver([](CNadelixOptionen& sheet) {
        showPage(sheet, 1);
        toggle(sheet, 1042);
        clickButton(sheet, CNadelixOptionen::IDOK);
    });
    view.OnOptionen();
    QVERIFY(driver.ran());
    QCOMPARE(view.m_bPES, 0);
    // The list of the last scan stays until the source is read again, as opening the
    // copy-and-sort dialog does.
    QCOMPARE(view.m_FileList.size(), std::size_t(2));
    view.RescanSource(dir.path());
    QVERIFY(view.m_FileList.isEmpty());
}

void OptionenTest::anEndingOtherThanOkChangesNothing_data() {
    QTest::addColumn<QString>("ending");
    QTest::newRow("Abbrechen") << "cancel";
    QTest::newRow("close box") << "close";
    QTest::newRow("Escape") << "escape";
}

void OptionenTest::anEndingOtherThanOkChangesNothing() {
    QFETCH(QString, ending);
    platform::ScriptedQuestions questions;
    CDesignAnsicht view;
    view.m_bKRZ = 1; // a setting already changed earlier stays changed too
    const Settings before = settingsOf(view);

    SheetDriver driver([&](CNadelixOptionen& sheet) {
        for (const Setting& s : kSettings) {
            showPage(sheet, s.page);
            toggle(sheet, s.id);
        }
        if (ending == "cancel")
            clickButton(sheet, CNadelixOptionen::IDCANCEL);
        else if (ending == "close")
            sheet.close();
        else
            QTest::keyClick(&sheet, Qt::Key_Escape);
        QVERIFY(!sheet.isVisible());
    });
    view.OnOptionen();
    QVERIFY(driver.ran());
    QCOMPARE(settingsOf(view), before);
}

void OptionenTest::ticksOnBothPagesAreTakenTogether() {
    platform::ScriptedQuestions questions;
    CDesignAnsicht view;
    SheetDriver driver([](CNadelixOptionen& sheet) {
        toggle(sheet, 1037);
        showPage(sheet, 1);
        toggle(sheet, 1046);
        showPage(sheet, 2);
        showPage(sheet, 0);
        // The tick made before leaving the page is still there.
        QVERIFY(checkBox(sheet, 1037)->isChecked());
        toggle(sheet, 1039);
        clickButton(sheet, CNadelixOptionen::IDOK);
    });
    view.OnOptionen();
    QVERIFY(driver.ran());
    QCOMPARE(view.m_bQuelleLoeschen, 1);
    QCOMPARE(view.m_bWeiterblaettern, 0);
    QCOMPARE(view.m_bART, 1);
    QCOMPARE(view.m_bPES, 1);
}

void OptionenTest::theSheetIsRefusedWhileTheCopyDialogIsOpen() {
    platform::ScriptedQuestions questions;
    CKopierenSortieren dialog;
    CDesignAnsicht view;
    view.m_pSortierDialog = &dialog;
    view.m_bHUS = 1;
    const Settings before = settingsOf(view);

    SheetDriver driver([](CNadelixOptionen& sheet) { clickButton(sheet, CNadelixOptionen::IDOK); });
    view.OnOptionen();
    QCoreApplication::processEvents();
    QVERIFY(!driver.ran());
    QCOMPARE(questions.shown, std::vector<std::string>{kArbeitsfensterAktiv});
    QCOMPARE(settingsOf(view), before);
    QCOMPARE(view.m_pSortierDialog, &dialog);

    // Once the dialog has closed, the sheet opens again.
    view.m_pSortierDialog = nullptr;
    SheetDriver after([](CNadelixOptionen& sheet) { clickButton(sheet, CNadelixOptionen::IDOK); });
    view.OnOptionen();
    QVERIFY(after.ran());
    QCOMPARE(questions.shown.size(), std::size_t(1));
}

void OptionenTest::theZipBoxIsAlwaysUncheckedAndCannotBeChanged() {
    platform::ScriptedQuestions questions;
    CDesignAnsicht view;
    // The other copy settings all on: the ZIP box must not follow any of them.
    view.m_bQuelleLoeschen = view.m_bDateienNichtUmbenennen = view.m_bMarkenBehalten = 1;
    int zipAfterOk = -1;
    SheetDriver driver([&](CNadelixOptionen& sheet) {
        QCheckBox* zip = checkBox(sheet, kZip);
        QVERIFY(zip);
        QVERIFY(!zip->isEnabled());
        QVERIFY(!zip->isChecked());
        QTest::mouseClick(zip, Qt::LeftButton);
        QTest::keyClick(zip, Qt::Key_Space);
        QVERIFY(!zip->isChecked());
        clickButton(sheet, CNadelixOptionen::IDOK);
        zipAfterOk = sheet.m_CopyOptionen.m_bZipDurchsuchen;
    });
    view.OnOptionen();
    QVERIFY(driver.ran());
    QCOMPARE(zipAfterOk, 0);
    QCOMPARE(view.m_bQuelleLoeschen, 1);
}

void OptionenTest::settingsLiveOnlyForOneRun() {
    platform::ScriptedQuestions questions;
    TempDir home;
    qputenv("HOME", QByteArray::fromStdString(home.path()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(home.path() + "/.config"));
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(home.path() + "/.local/share"));
    {
        CDesignAnsicht view;
        SheetDriver driver([](CNadelixOptionen& sheet) {
            for (const Setting& s : kSettings) {
                showPage(sheet, s.page);
                toggle(sheet, s.id);
            }
            clickButton(sheet, CNadelixOptionen::IDOK);
        });
        view.OnOptionen();
        QVERIFY(driver.ran());
        Settings flipped = defaults();
        for (int& value : flipped)
            value = 1 - value;
        QCOMPARE(settingsOf(view), flipped);
    }
    // A new view, as at the next start, begins from the defaults; nothing was written.
    CDesignAnsicht next;
    QCOMPARE(settingsOf(next), defaults());
    const QDir written(QString::fromStdString(home.path()));
    QVERIFY(written.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

QTEST_MAIN(OptionenTest)
#include "OptionenTest.moc"
