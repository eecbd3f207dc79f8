// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The copy-and-sort dialog driven through its controls, with a stand-in main frame that
// relays to the real design view and every modal question answered by script.
#include "DialogFixture.h"
#include "ScriptedQuestions.h"
#include "TempDir.h"
#include "sort/KategorieListe.h"
#include "sort/SortPictures.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <filesystem>

Q_DECLARE_METATYPE(std::vector<int>)

using namespace platform;
using D = CKopierenSortieren;

namespace {

// Dialog units to pixels, worked out here from the font as the desktop's dialogs do.
QRect pixels(const QFont& font, int x, int y, int w, int h) {
    const double bx = QFontMetricsF(font).horizontalAdvance(
                          QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                      52.0;
    const int by = QFontMetrics(font).height();
    const auto px = [bx](int u) { return int(std::lround(u * bx / 4)); };
    const auto py = [by](int u) { return int(std::lround(u * by / 8.0)); };
    return QRect(QPoint(px(x), py(y)), QPoint(px(x + w) - 1, py(y + h) - 1));
}

// The frame with its view, and the dialog opened from the view's menu command.
struct Session {
    ScriptedQuestions questions;
    StandInFrame frame;
    CDesignAnsicht& view = *frame.view;
    QPointer<D> dialog;

    Session() { frame.show(); }
    D* open() {
        view.OnNachKategorien();
        dialog = view.m_pSortierDialog;
        return dialog;
    }
    QPushButton* button(int id) const { return control<QPushButton>(dialog, id); }
    std::string field(int id) const { return text(control<QLabel>(dialog, id)->text()); }
    void click(int id) { QTest::mouseClick(button(id), Qt::LeftButton); }
};

} // namespace

class KopierenSortierenTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlHasItsIdPlaceAndText_data();
    void everyControlHasItsIdPlaceAndText();
    void framesAndLabelsStandWhereTheTemplatePutsThem();
    void tabVisitsTheControlsInTemplateOrderFromTheCloseButton();
    void theFirstOpeningShowsEmptyFieldsAndAnEmptyList();
    void theViewHandsOverItsValuesAndOpensTheDialogOverTheFrame_data();
    void theViewHandsOverItsValuesAndOpensTheDialogOverTheFrame();
    void aSecondOpeningOnlyBringsTheDialogToTheFront();
    void aChosenSourceIsReadAndItsFirstFileShownBeforeTheClickReturns();
    void aCancelledChooserChangesNothing();
    void aChosenTargetGetsOneSeparator_data();
    void aChosenTargetGetsOneSeparator();
    void theBrowseButtonsStepThroughTheSource();
    void withoutAnOwnerTheMessagesGoToTheMainWindow();
    void everyWayOfClosingTellsTheViewWhileTheObjectLivesThenDeletesIt_data();
    void everyWayOfClosingTellsTheViewWhileTheObjectLivesThenDeletesIt();
    void theFieldsShowNamesAsTheyAreNeverAsMarkup();
    void addingAndScanningKeepTheMarksAlreadySet();
    void copyAndDeleteTellTheMainWindowWhatFollows_data();
    void copyAndDeleteTellTheMainWindowWhatFollows();
};

void KopierenSortierenTest::everyControlHasItsIdPlaceAndText_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("templateText");
    QTest::addColumn<QRect>("units");
    QTest::addColumn<bool>("iconButton");
    QTest::newRow("1021 source field")
        << 1021 << "Bitte auswählen" << QRect(62, 3, 109, 12) << false;
    QTest::newRow("1019 change source") << 1019 << "Ändern" << QRect(171, 3, 43, 12) << false;
    QTest::newRow("1022 target field")
        << 1022 << "Bitte auswählen" << QRect(62, 17, 109, 12) << false;
    QTest::newRow("1020 change target") << 1020 << "Ändern" << QRect(171, 17, 43, 12) << false;
    QTest::newRow("1003 category list") << 1003 << "" << QRect(5, 42, 109, 222) << false;
    QTest::newRow("1 close") << 1 << "Dialog schließen" << QRect(155, 59, 26, 26) << true;
    QTest::newRow("1012 previous") << 1012 << "vorherige" << QRect(127, 128, 40, 20) << true;
    QTest::newRow("1013 next") << 1013 << "nächste" << QRect(170, 128, 40, 20) << true;
    QTest::newRow("1023 file name") << 1023 << "Dateiname" << QRect(127, 185, 83, 12) << false;
    QTest::newRow("1036 delete") << 1036 << "Button1" << QRect(127, 203, 26, 26) << true;
    QTest::newRow("1014 copy") << 1014 << "&Copy" << QRect(170, 203, 40, 26) << true;
}

void KopierenSortierenTest::everyControlHasItsIdPlaceAndText() {
    QFETCH(int, id);
    QFETCH(QString, templateText);
    QFETCH(QRect, units);
    QFETCH(bool, iconButton);
    ScriptedQuestions questions;
    D dialog;
    QCOMPARE(dialog.objectName(), QStringLiteral("131"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Kopieren und Sortieren"));
    QCOMPARE(dialog.size(), pixels(dialog.font(), 0, 0, 216, 271).size());

    QWidget* widget = control(&dialog, id);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(),
             pixels(dialog.font(), units.x(), units.y(), units.width(), units.height()));
    auto* button = qobject_cast<QPushButton*>(widget);
    auto* label = qobject_cast<QLabel*>(widget);
    if (button)
        QCOMPARE(button->text(), templateText);
    if (label) {
        QCOMPARE(label->text(), templateText);
        QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
        QCOMPARE(label->frameShadow(), QFrame::Sunken);
    }
    if (id == 1003)
        QCOMPARE(widget, static_cast<QWidget*>(dialog.m_KategorieListe));

    // The icon buttons show only their picture once the dialog is initialised; the fields
    // show the (empty) members instead of the template texts.
    dialog.m_strQuelle = "/q";
    dialog.m_strZiel = "";
    dialog.m_strFileName = "ROSE.PES";
    QVERIFY(dialog.Create(nullptr));
    if (button) {
        QCOMPARE(button->text().isEmpty(), iconButton);
        QCOMPARE(button->icon().isNull(), !iconButton);
        if (iconButton) {
            const QString name =
                id == 1036 ? QStringLiteral("Löschen") : QString(templateText).remove('&');
            QCOMPARE(button->accessibleName(), name);
            QCOMPARE(button->toolTip(), name);
            QVERIFY(button->iconSize().width() <= 32);
        }
    }
    if (label) {
        const std::map<int, QString> members{{1021, "/q"}, {1022, ""}, {1023, "ROSE.PES"}};
        QCOMPARE(label->text(), members.at(id));
    }
    QCOMPARE(control<QPushButton>(&dialog, 1)->isDefault(), true);
}

void KopierenSortierenTest::framesAndLabelsStandWhereTheTemplatePutsThem() {
    D dialog;
    const struct {
        const char* text;
        QRect units;
    } expected[] = {
        {"Designkategorien", {1, 32, 117, 236}},
        {"Ende", {145, 47, 45, 45}},
        {"Blättern in den Dateien", {121, 113, 93, 44}},
        {"Löschen <--  --> Kopieren", {121, 173, 93, 62}},
        {"Quellverzeichnis:", {3, 3, 58, 12}},
        {"Zielverzeichnis:", {3, 17, 58, 12}},
    };
    std::map<QString, QRect> found;
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>())
        found[box->title()] = box->geometry();
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        found[label->text()] = label->geometry();
    for (const auto& item : expected) {
        const QString key = QString::fromUtf8(item.text);
        QVERIFY2(found.count(key), item.text);
        const QRect& u = item.units;
        const QRect want = pixels(dialog.font(), u.x(), u.y(), u.width(), u.height());
        // A frame may rise where its title needs the room; nothing else moves.
        QVERIFY(found[key].top() <= want.top());
        QCOMPARE(found[key].adjusted(0, want.top() - found[key].top(), 0, 0), want);
    }
    // The list lies above the frame around it, so that it gets the clicks.
    const QWidget* list = control(&dialog, 1003);
    QCOMPARE(dialog.childAt(list->geometry().center()),
             list->childAt(list->rect().center()) ? list->childAt(list->rect().center()) : list);
}

void KopierenSortierenTest::tabVisitsTheControlsInTemplateOrderFromTheCloseButton() {
    Session s;
    s.open();
    QVERIFY(QTest::qWaitForWindowActive(s.dialog));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(s.button(1)));

    std::vector<QString> visited;
    for (int i = 0; i < 8; ++i) {
        visited.push_back(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    const std::vector<QString> expected{"1",    "1003", "1012", "1013",
                                        "1014", "1019", "1020", "1036"};
    QCOMPARE(visited, expected);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(s.button(1))); // round again
}

void KopierenSortierenTest::theFirstOpeningShowsEmptyFieldsAndAnEmptyList() {
    Session s;
    s.open();
    QCOMPARE(s.field(1021), std::string());
    QCOMPARE(s.field(1022), std::string());
    QCOMPARE(s.field(1023), std::string());
    QCOMPARE(s.dialog->m_KategorieListe->GetItemCount(), 0);
    QCOMPARE(s.dialog->m_nKategorien, 0);
    QVERIFY(s.dialog->m_Puffer.empty());

    // The view still holds its initial empty names: "vorherige" has nothing before it.
    s.click(1012);
    QCOMPARE(s.questions.shown, std::vector<std::string>{"Keine weiteren Dateien mehr"});
    s.questions.shown.clear();
    s.click(1013);
    QVERIFY(s.questions.shown.empty());
    QCOMPARE(s.view.m_nAktuell, 1);
}

void KopierenSortierenTest::theViewHandsOverItsValuesAndOpensTheDialogOverTheFrame_data() {
    // The four copy flags in their order; each pattern tells a mix-up apart.
    QTest::addColumn<int>("quelleLoeschen");
    QTest::addColumn<int>("nichtUmbenennen");
    QTest::addColumn<int>("markenBehalten");
    QTest::addColumn<int>("weiterblaettern");
    QTest::newRow("defaults") << 0 << 0 << 0 << 1;
    QTest::newRow("first only") << 1 << 0 << 0 << 0;
    QTest::newRow("second only") << 0 << 1 << 0 << 0;
    QTest::newRow("third only") << 0 << 0 << 1 << 0;
    QTest::newRow("all but the last") << 1 << 1 << 1 << 0;
    QTest::newRow("non-zero counts as on, kept as it is") << 7 << 0 << -1 << 0;
}

void KopierenSortierenTest::theViewHandsOverItsValuesAndOpensTheDialogOverTheFrame() {
    QFETCH(int, quelleLoeschen);
    QFETCH(int, nichtUmbenennen);
    QFETCH(int, markenBehalten);
    QFETCH(int, weiterblaettern);
    Session s;
    TempDir source, target;
    source.write("rose.pes", smallDesign());
    s.view.m_strQuelle = source.path();
    s.view.m_strZiel = target.path() + "/";
    s.view.m_bQuelleLoeschen = quelleLoeschen;
    s.view.m_bDateienNichtUmbenennen = nichtUmbenennen;
    s.view.m_bMarkenBehalten = markenBehalten;
    s.view.m_bWeiterblaettern = weiterblaettern;

    D* dialog = s.open();

    QVERIFY(dialog);
    QCOMPARE(dialog->m_strQuelle, source.path());
    QCOMPARE(dialog->m_strZiel, target.path() + "/");
    QCOMPARE(dialog->m_strFileName, std::string("ROSE.PES"));
    QCOMPARE(dialog->m_strFilePath, source.path() + "/rose.pes");
    QCOMPARE(dialog->m_bQuelleLoeschen, quelleLoeschen);
    QCOMPARE(dialog->m_bDateienNichtUmbenennen, nichtUmbenennen);
    QCOMPARE(dialog->m_bMarkenBehalten, markenBehalten);
    QCOMPARE(dialog->m_bWeiterblaettern, weiterblaettern);
    QCOMPARE(s.field(1021), source.path());
    QCOMPARE(s.field(1022), target.path() + "/");
    QCOMPARE(s.field(1023), std::string("ROSE.PES"));

    // Modeless, a window of its own owned by the frame, over the frame's middle.
    QVERIFY(dialog->isWindow());
    QCOMPARE(dialog->parentWidget(), static_cast<QWidget*>(&s.frame));
    QVERIFY(!dialog->isModal());
    QVERIFY(dialog->isVisible());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    const QPoint offCentre = dialog->frameGeometry().center() - s.frame.frameGeometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void KopierenSortierenTest::aSecondOpeningOnlyBringsTheDialogToTheFront() {
    Session s;
    D* first = s.open();
    QVERIFY(QTest::qWaitForWindowActive(first));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // the focus on the list
    QWidget* focused = QApplication::focusWidget();
    QCOMPARE(focused->objectName(), QStringLiteral("1003"));
    s.frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.frame));

    s.view.OnNachKategorien();

    QCOMPARE(s.view.m_pSortierDialog, first);
    QCOMPARE(s.frame.findChildren<D*>().size(), qsizetype(1));
    QVERIFY(QTest::qWaitForWindowActive(first));
    QCOMPARE(QApplication::focusWidget(), focused);
}

void KopierenSortierenTest::aChosenSourceIsReadAndItsFirstFileShownBeforeTheClickReturns() {
    Session s;
    TempDir source;
    source.write("stern.dst", smallDesign());
    s.open();
    s.questions.directoryAnswers = {source.path()};
    s.frame.onMessage = [&](int message) {
        // By the time the view hears of it, the field already shows the new source.
        QCOMPARE(message, WM_QUELLE_EINLESEN);
        QCOMPARE(s.field(1021), source.path());
    };

    s.click(1019);

    QCOMPARE(s.questions.directoryStarts, std::vector<std::string>{""});
    QCOMPARE(s.frame.received, std::vector<int>{WM_QUELLE_EINLESEN});
    QCOMPARE(s.dialog->m_strQuelle, source.path()); // no separator added
    QCOMPARE(s.field(1023), std::string("STERN.DST"));
    QCOMPARE(s.dialog->m_strFilePath, source.path() + "/stern.dst");
    QCOMPARE(s.view.m_strFileName, std::string("STERN.DST"));

    // The next chooser starts where the last one ended.
    s.questions.directoryAnswers = {std::nullopt};
    s.click(1019);
    QCOMPARE(s.questions.directoryStarts.back(), source.path());
}

void KopierenSortierenTest::aCancelledChooserChangesNothing() {
    Session s;
    s.view.m_strQuelle = "/nirgends/quelle";
    s.view.m_strZiel = "/nirgends/ziel/";
    s.open();
    s.questions.directoryAnswers = {std::nullopt, std::nullopt};

    s.click(1019);
    s.click(1020);

    QCOMPARE(s.questions.directoryStarts,
             (std::vector<std::string>{"/nirgends/quelle", "/nirgends/ziel/"}));
    QVERIFY(s.frame.received.empty());
    QCOMPARE(s.dialog->m_strQuelle, std::string("/nirgends/quelle"));
    QCOMPARE(s.dialog->m_strZiel, std::string("/nirgends/ziel/"));
    QCOMPARE(s.field(1021), std::string("/nirgends/quelle"));
    QVERIFY(s.questions.shown.empty());
}

void KopierenSortierenTest::aChosenTargetGetsOneSeparator_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("stored");
    QTest::newRow("without") << "/ziel"
                             << "/ziel/";
    QTest::newRow("with") << "/ziel/"
                          << "/ziel/";
    QTest::newRow("root") << "/"
                          << "/";
}

void KopierenSortierenTest::aChosenTargetGetsOneSeparator() {
    QFETCH(QString, chosen);
    QFETCH(QString, stored);
    Session s;
    s.open();
    s.questions.directoryAnswers = {chosen.toStdString()};
    s.click(1020);
    QCOMPARE(s.dialog->m_strZiel, stored.toStdString());
    QCOMPARE(s.field(1022), stored.toStdString());
    QVERIFY(s.frame.received.empty()); // the view learns the target only at closing
}

void KopierenSortierenTest::theBrowseButtonsStepThroughTheSource() {
    Session s;
    TempDir source;
    for (const char* name : {"a.pes", "b.pes", "c.pes"})
        source.write(name, smallDesign());
    s.view.m_strQuelle = source.path();
    s.open();
    const std::string first = s.field(1023);

    s.click(1013);
    s.click(1013);
    const std::string third = s.field(1023);
    s.click(1012);

    QCOMPARE(s.frame.received,
             (std::vector<int>{WM_NAECHSTE_DATEI, WM_NAECHSTE_DATEI, WM_VORHERIGE_DATEI}));
    QCOMPARE(s.view.m_nAktuell, 1);
    QVERIFY(first != third);
    QCOMPARE(s.field(1023), s.view.m_FileList[1].name);
    QVERIFY(s.questions.shown.empty());
}

void KopierenSortierenTest::withoutAnOwnerTheMessagesGoToTheMainWindow() {
    Session s;
    D dialog;
    QCOMPARE(dialog.MainWindow(), static_cast<QWidget*>(&s.frame));
    QTest::mouseClick(control<QPushButton>(&dialog, 1013), Qt::LeftButton);
    QCOMPARE(s.frame.received, std::vector<int>{WM_NAECHSTE_DATEI});
}

void KopierenSortierenTest::everyWayOfClosingTellsTheViewWhileTheObjectLivesThenDeletesIt_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Dialog schließen") << "button";
    QTest::newRow("Enter") << "enter";
    QTest::newRow("Enter on the list") << "enter on list";
    QTest::newRow("Escape") << "escape";
    QTest::newRow("close box") << "close";
}

void KopierenSortierenTest::everyWayOfClosingTellsTheViewWhileTheObjectLivesThenDeletesIt() {
    QFETCH(QString, how);
    Session s;
    s.view.m_strQuelle = "/alt/quelle";
    s.open();
    QVERIFY(QTest::qWaitForWindowActive(s.dialog));
    s.dialog->m_strQuelle = "/neu/quelle";
    s.dialog->m_strZiel = "/neu/ziel/";
    bool hiddenWhenTold = false, aliveWhenTold = false;
    s.frame.onMessage = [&](int) {
        aliveWhenTold = !s.dialog.isNull();
        hiddenWhenTold = aliveWhenTold && !s.dialog->isVisible();
    };

    if (how == "button") {
        s.click(1);
    } else if (how == "enter") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    } else if (how == "enter on list") {
        control(s.dialog, 1003)->setFocus();
        QTest::keyClick(control(s.dialog, 1003), Qt::Key_Enter);
    } else if (how == "escape") {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    } else {
        QVERIFY(s.dialog->close());
    }

    QCOMPARE(s.frame.received, std::vector<int>{WM_SORTIEREN_BEENDET});
    QVERIFY(aliveWhenTold);
    QVERIFY(hiddenWhenTold);
    QCOMPARE(s.view.m_pSortierDialog, static_cast<D*>(nullptr));
    QCOMPARE(s.view.m_strQuelle, std::string("/neu/quelle"));
    QCOMPARE(s.view.m_strZiel, std::string("/neu/ziel/"));
    runDeferredDeletes();
    QVERIFY(s.dialog.isNull());

    // The next opening brings the same directories back.
    s.frame.received.clear();
    D* again = s.open();
    QVERIFY(again);
    QCOMPARE(again->m_strQuelle, std::string("/neu/quelle"));
    QCOMPARE(s.field(1022), std::string("/neu/ziel/"));
}

void KopierenSortierenTest::theFieldsShowNamesAsTheyAreNeverAsMarkup() {
    ScriptedQuestions questions;
    D dialog;
    dialog.m_strQuelle = "/q/<b>fett</b>";
    dialog.m_strFileName = "R\xF6SE.PES"; // not UTF-8: shown with a replacement character
    dialog.Create(nullptr);
    auto* field = control<QLabel>(&dialog, 1021);
    QCOMPARE(field->textFormat(), Qt::PlainText);
    QCOMPARE(field->text(), QStringLiteral("/q/<b>fett</b>"));
    QCOMPARE(field->toolTip(), field->text());
    QCOMPARE(control<QLabel>(&dialog, 1023)->text(), QString::fromUtf8("R\xF6SE.PES"));
    QCOMPARE(dialog.m_strFileName, std::string("R\xF6SE.PES")); // the member keeps its bytes
}

void KopierenSortierenTest::addingAndScanningKeepTheMarksAlreadySet() {
    ScriptedQuestions questions;
    TempDir target;
    target.makeDir("Tiere/Hunde");
    target.makeDir("Blumen");
    D dialog;
    dialog.m_strZiel = target.path() + "/";
    dialog.Create(nullptr);
    QVERIFY(dialog.WaitForCategories());
    CKategorieListe& list = *dialog.m_KategorieListe;
    QCOMPARE(entryTexts(list),
             (std::vector<std::string>{"[ Zielverzeichnis ]", "Blumen", "Tiere", "Tiere/Hunde"}));
    QCOMPARE(dialog.m_nKategorien, 4);
    list.SetMarked(2, true);

    // An entry added by its full path shows relative to the target, in its place.
    QCOMPARE(dialog.AddCategory(dialog.m_nKategorien, target.path() + "/Amseln"), 1);
    QCOMPARE(entryTexts(list), (std::vector<std::string>{"[ Zielverzeichnis ]", "Amseln", "Blumen",
                                                         "Tiere", "Tiere/Hunde"}));
    QCOMPARE(markedRows(list), std::vector<int>{3});
    QCOMPARE(list.Entry(3).relativePath, std::string("Tiere"));
    QVERIFY(list.Entry(0).isTarget);

    // A second walk of a directory adds its sub-directories again, marks untouched.
    target.makeDir("Tiere/Katzen");
    dialog.m_nKategorien = 5;
    QCOMPARE(dialog.ScanCategories(target.path() + "/Tiere"), 7);
    QCOMPARE(list.GetItemCount(), 7);
    QCOMPARE(markedRows(list), std::vector<int>{3});

    dialog.FillCategories();
    QVERIFY(dialog.WaitForCategories());
    QCOMPARE(list.GetItemCount(), 5); // Amseln is not on the disk
    QVERIFY(markedRows(list).empty());
}

void KopierenSortierenTest::copyAndDeleteTellTheMainWindowWhatFollows_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<int>("quelleLoeschen");
    QTest::addColumn<int>("weiterblaettern");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<std::vector<int>>("sent");
    QTest::addColumn<bool>("sourceStays");
    QTest::addColumn<bool>("byKeyboard");
    const int copy = D::kIdCopy, loeschen = D::kIdLoeschen;
    QTest::newRow("nothing marked")
        << copy << false << 1 << 1 << false << std::vector<int>{} << true << false;
    QTest::newRow("copy, advance")
        << copy << true << 0 << 1 << false << std::vector<int>{WM_NAECHSTE_DATEI} << true << false;
    QTest::newRow("copy, stay") << copy << true << 0 << 0 << false << std::vector<int>{} << true
                                << false;
    QTest::newRow("move") << copy << true << 1 << 1 << false << std::vector<int>{WM_DATEI_ENTFERNT}
                          << false << false;
    QTest::newRow("delete, no") << loeschen << false << 0 << 1 << false << std::vector<int>{}
                                << true << false;
    QTest::newRow("delete, yes") << loeschen << false << 0 << 1 << true
                                 << std::vector<int>{WM_DATEI_ENTFERNT} << false << false;
    // Marked with the space bar, copied with the button's mnemonic.
    QTest::newRow("Alt+C copies") << copy << true << 0 << 0 << false << std::vector<int>{} << true
                                  << true;
}

void KopierenSortierenTest::copyAndDeleteTellTheMainWindowWhatFollows() {
    QFETCH(int, button);
    QFETCH(bool, marked);
    QFETCH(int, quelleLoeschen);
    QFETCH(int, weiterblaettern);
    QFETCH(bool, yes);
    QFETCH(std::vector<int>, sent);
    QFETCH(bool, sourceStays);
    QFETCH(bool, byKeyboard);
    Session s;
    TempDir source, target;
    source.write("a.pes", smallDesign());
    source.write("b.pes", smallDesign());
    s.view.m_strQuelle = source.path();
    s.view.m_strZiel = target.path() + "/";
    s.view.m_bQuelleLoeschen = quelleLoeschen;
    s.view.m_bWeiterblaettern = weiterblaettern;
    s.open();
    const std::string current = s.dialog->m_strFilePath;
    const std::string currentName = s.dialog->m_strFileName;
    CKategorieListe& list = *s.dialog->m_KategorieListe;
    if (byKeyboard) {
        QTRY_COMPARE(QApplication::activeWindow(), s.dialog.data());
        list.setFocus();
        list.setCurrentIndex(list.model()->index(0, 0));
        QTest::keyClick(&list, Qt::Key_Space);
        QVERIFY(list.IsMarked(0));
        QTest::keyClick(&list, Qt::Key_C, Qt::AltModifier);
        // A shortcut shows the button pressed for a moment before it clicks.
        QTRY_VERIFY(std::filesystem::exists(target.path() + "/" + currentName));
    } else {
        if (marked)
            list.SetMarked(0, true);
        s.questions.yesNoAnswers = {yes};
        s.click(button);
    }

    QCOMPARE(s.frame.received, sent);
    QCOMPARE(std::filesystem::exists(current), sourceStays);
    QCOMPARE(std::filesystem::exists(target.path() + "/" + currentName), marked);
    QCOMPARE(s.questions.shown, button == D::kIdLoeschen
                                    ? std::vector<std::string>{"Datei wirklich löschen ?"}
                                    : std::vector<std::string>{});
    QCOMPARE(s.field(1023), s.view.m_strFileName);
}

QTEST_MAIN(KopierenSortierenTest)
#include "KopierenSortierenTest.moc"
