// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The options sheet on its own: its pages, controls and their places, and how the pages
// exchange their members with the check boxes.
#include "SheetDriver.h"
#include "options/NadelixOptionen.h"
#include "platform/DialogUnits.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

// Every check box of the three pages, as the page templates place them (dialog units).
struct Control {
    int page;
    int id;
    const char* text;
    int x, y;
    bool enabled;
};
const Control kControls[] = {
    {0, 1037, "&Quelldatei nach erfolgreichem Kopieren löschen", 12, 17, true},
    {0, 1035, "&Dateien nicht automatisch umbenennen", 12, 30, true},
    {0, 1038, "&Kopier-Marken nicht automatisch löschen", 12, 43, true},
    {0, 1039, "&Automatisch weiterblättern nach Kopieren", 12, 56, true},
    {0, 1040, "&ZIP-Files automatisch nach Designs durchsuchen", 12, 70, false},
    {1, 1042, "Brother PES", 12, 19, true},
    {1, 1043, "Brother PEC", 12, 36, true},
    {1, 1044, "Pfaff PCS", 12, 53, true},
    {1, 1045, "Tajima DST", 12, 70, true},
    {1, 1055, "Janome SEW", 95, 19, true},
    {1, 1046, "Bernina ART (keine Grafikanzeige)", 95, 36, true},
    {1, 1030, "Viking HUS (keine Grafikanzeige)", 95, 53, true},
    {1, 1041, "Kreuzstich KRZ (keine Grafikanzeige)", 95, 70, true},
    {2, 1025, "Check1", 12, 18, false},
    {2, 1026, "Check2", 12, 31, false},
    {2, 1027, "Check3", 12, 44, false},
    {2, 1028, "Check4", 12, 57, false},
    {2, 1029, "Check5", 12, 70, false},
};

QList<QCheckBox*> boxesOf(QWidget* page) {
    return page->findChildren<QCheckBox*>();
}

} // namespace

class SheetTest : public QObject {
    Q_OBJECT
private slots:
    void theThreePagesAreTabsInOrderWithOkAndCancel();
    void everyCheckBoxHasItsIdTextAndPlace_data();
    void everyCheckBoxHasItsIdTextAndPlace();
    void eachPageIsFramedByItsGroupBox_data();
    void eachPageIsFramedByItsGroupBox();
    void membersAreShownWhenAPageIsFirstShownAndTakenBackWhenLeftOrConfirmed();
    void aPageNeverShownKeepsItsMembers();
    void cancellingTakesNothingBackFromThePageOnShow();
};

void SheetTest::theThreePagesAreTabsInOrderWithOkAndCancel() {
    CNadelixOptionen sheet(QStringLiteral("Eigenschaften"));
    QCOMPARE(sheet.windowTitle(), QStringLiteral("Eigenschaften"));
    QTabWidget* tabs = sheet.Tabs();
    QCOMPARE(tabs->count(), 3);
    const QStringList texts = {"Kopieren", "Dateien", "Sonstige"};
    const QList<QWidget*> pages = {&sheet.m_CopyOptionen, &sheet.m_DateiOptionen,
                                   &sheet.m_SonstigeOptionen};
    const QStringList ids = {"135", "136", "137"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(tabs->tabText(i), texts[i]);
        QCOMPARE(tabs->widget(i), pages[i]);
        QCOMPARE(pages[i]->objectName(), ids[i]);
    }
    QCOMPARE(tabs->currentIndex(), 0);

    auto* ok = sheet.findChild<QPushButton*>(QString::number(CNadelixOptionen::IDOK));
    auto* cancel = sheet.findChild<QPushButton*>(QString::number(CNadelixOptionen::IDCANCEL));
    QVERIFY(ok && cancel);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(cancel->text(), QStringLiteral("Abbrechen"));
    // Nothing else on the sheet can be pressed.
    QCOMPARE(sheet.findChildren<QPushButton*>().size(), 2);
}

void SheetTest::everyCheckBoxHasItsIdTextAndPlace_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kControls)); ++i)
        QTest::newRow(QByteArray::number(kControls[i].id).constData()) << i;
}

void SheetTest::everyCheckBoxHasItsIdTextAndPlace() {
    QFETCH(int, row);
    const Control& c = kControls[row];
    CNadelixOptionen sheet(QStringLiteral("Eigenschaften"));
    QWidget* page = sheet.Tabs()->widget(c.page);
    auto* box = page->findChild<QCheckBox*>(QString::number(c.id));
    QVERIFY(box);
    QCOMPARE(box->text(), QString::fromUtf8(c.text));
    QCOMPARE(box->isEnabled(), c.enabled);
    QVERIFY(!box->isChecked());

    // At its place in dialog units of the page's font, centred on its 10-unit row.
    const DialogUnits units(page->font());
    QCOMPARE(box->x(), units.x(c.x));
    const int rowCentre = units.y(c.y) + units.y(10) / 2;
    QVERIFY2(
        std::abs(box->geometry().center().y() - rowCentre) <= 1,
        qPrintable(
            QStringLiteral("centre %1, row %2").arg(box->geometry().center().y()).arg(rowCentre)));
    // The whole text is readable, inside the group box, and no box covers another.
    QVERIFY(box->width() >= box->sizeHint().width());
    auto* group = page->findChild<QGroupBox*>();
    QVERIFY(group->geometry().contains(box->geometry()));
    for (QCheckBox* other : boxesOf(page)) {
        if (other != box)
            QVERIFY2(!other->geometry().intersects(box->geometry()),
                     qPrintable(other->objectName()));
    }
}

void SheetTest::eachPageIsFramedByItsGroupBox_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("boxes");
    QTest::newRow("Kopieren") << 0 << " Optionen Teil 1 " << true << 5;
    QTest::newRow("Dateien") << 1 << "akzeptierte Formate" << true << 8;
    QTest::newRow("Sonstige") << 2 << "Frei für weitere Optionen" << false << 5;
}

void SheetTest::eachPageIsFramedByItsGroupBox() {
    QFETCH(int, page);
    QFETCH(QString, title);
    QFETCH(bool, enabled);
    QFETCH(int, boxes);
    CNadelixOptionen sheet(QStringLiteral("Eigenschaften"));
    QWidget* widget = sheet.Tabs()->widget(page);
    const auto groups = widget->findChildren<QGroupBox*>();
    QCOMPARE(groups.size(), 1);
    QCOMPARE(groups[0]->title(), title);
    QCOMPARE(groups[0]->isEnabled(), enabled);
    const DialogUnits units(widget->font());
    // As placed, except that it may grow to the right where a font's texts need more room, and
    // up where its title needs more room above the first box.
    const QRect placed = units.rect(7, 7, 226, 81);
    const QRect frame = groups[0]->geometry();
    QCOMPARE(frame.left(), placed.left());
    QCOMPARE(frame.bottom(), placed.bottom());
    QVERIFY(frame.top() <= placed.top());
    QVERIFY(frame.width() >= placed.width());
    QCOMPARE(boxesOf(widget).size(), boxes);
    // The page holds its template and the whole frame with its margin.
    QVERIFY(widget->minimumWidth() >= units.x(240));
    QVERIFY(widget->minimumWidth() >= frame.right() + units.x(7));
    QVERIFY(widget->minimumHeight() >= units.y(95));
}

void SheetTest::membersAreShownWhenAPageIsFirstShownAndTakenBackWhenLeftOrConfirmed() {
    CNadelixOptionen sheet(QStringLiteral("Eigenschaften"));
    sheet.m_CopyOptionen.m_bQuelleLoeschen = 1;
    sheet.m_CopyOptionen.m_bWeiterblaettern = 7; // any non-zero flag is on
    sheet.m_DateiOptionen.m_bKRZ = 1;
    sheet.m_DateiOptionen.m_bPES = 1;
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));

    QVERIFY(checkBox(sheet, 1037)->isChecked());
    QVERIFY(checkBox(sheet, 1039)->isChecked());
    QVERIFY(!checkBox(sheet, 1035)->isChecked());
    QTest::mouseClick(checkBox(sheet, 1037), Qt::LeftButton);
    // Not taken back while the page is on show...
    QCOMPARE(sheet.m_CopyOptionen.m_bQuelleLoeschen, 1);

    showPage(sheet, 1);
    // ...but when it is left.
    QCOMPARE(sheet.m_CopyOptionen.m_bQuelleLoeschen, 0);
    QCOMPARE(sheet.m_CopyOptionen.m_bWeiterblaettern, 1);
    QVERIFY(checkBox(sheet, 1041)->isChecked());
    QVERIFY(checkBox(sheet, 1042)->isChecked());
    QTest::mouseClick(checkBox(sheet, 1046), Qt::LeftButton);

    // Coming back shows what the user left, not the members once more.
    showPage(sheet, 0);
    sheet.m_CopyOptionen.m_bMarkenBehalten = 1;
    showPage(sheet, 2);
    showPage(sheet, 0);
    QVERIFY(!checkBox(sheet, 1037)->isChecked());
    QVERIFY(!checkBox(sheet, 1038)->isChecked());
    QTest::mouseClick(checkBox(sheet, 1035), Qt::LeftButton);

    clickButton(sheet, CNadelixOptionen::IDOK);
    QCOMPARE(sheet.result(), int(QDialog::Accepted));
    QCOMPARE(sheet.m_CopyOptionen.m_bDateienNichtUmbenennen, 1);
    QCOMPARE(sheet.m_CopyOptionen.m_bMarkenBehalten, 0);
    QCOMPARE(sheet.m_CopyOptionen.m_bZipDurchsuchen, 0);
    QCOMPARE(sheet.m_DateiOptionen.m_bART, 1);
    QCOMPARE(sheet.m_DateiOptionen.m_bKRZ, 1);
    QCOMPARE(sheet.m_DateiOptionen.m_bPES, 1);
    QCOMPARE(sheet.m_DateiOptionen.m_bSEW, 0);
}

void SheetTest::aPageNeverShownKeepsItsMembers() {
    CNadelixOptionen sheet(QStringLiteral("Eigenschaften"));
    sheet.m_DateiOptionen.m_bPES = 1;
    sheet.m_DateiOptionen.m_bSEW = 1;
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    clickButton(sheet, CNadelixOptionen::IDOK);
    // Its boxes were never filled, so their unchecked state means nothing.
    QCOMPARE(sheet.m_DateiOptionen.m_bPES, 1);
    QCOMPARE(sheet.m_DateiOptionen.m_bSEW, 1);
}

void SheetTest::cancellingTakesNothingBackFromThePageOnShow() {
    CNadelixOptionen sheet(QStringLiteral("Eigenschaften"));
    sheet.m_CopyOptionen.m_bWeiterblaettern = 1;
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    QTest::mouseClick(checkBox(sheet, 1039), Qt::LeftButton);
    clickButton(sheet, CNadelixOptionen::IDCANCEL);
    QCOMPARE(sheet.result(), int(QDialog::Rejected));
    QCOMPARE(sheet.m_CopyOptionen.m_bWeiterblaettern, 1);
}

QTEST_MAIN(SheetTest)
#include "SheetTest.moc"
