// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The new-category dialog on its own and behind the real modal questions, driven through
// its controls while it runs modally.
#include "sort/NeueKategorie.h"
#include "app/QtModalQuestions.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

QRect pixels(const QFont& font, int x, int y, int w, int h) {
    const double bx = QFontMetricsF(font).horizontalAdvance(
                          QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                      52.0;
    const int by = QFontMetrics(font).height();
    const auto px = [bx](int u) { return int(std::lround(u * bx / 4)); };
    const auto py = [by](int u) { return int(std::lround(u * by / 8.0)); };
    return QRect(QPoint(px(x), py(y)), QPoint(px(x + w) - 1, py(y + h) - 1));
}

template <typename T = QWidget> T* control(QWidget* dialog, int id) {
    return dialog->findChild<T*>(QString::number(id));
}

// Types text key by key, letters beyond ASCII included.
void type(QWidget* widget, const QString& text) {
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Runs act on the new-category dialog once it is up and modal; a dialog left open after
// act is cancelled, so that a failing test cannot hang.
void whenUp(std::function<void(CNeueKategorie&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<CNeueKategorie*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace

class NeueKategorieTest : public QObject {
    Q_OBJECT
private slots:
    void theControlsStandWhereTheTemplatePutsThem();
    void theFocusStartsOnEinfuegenAndTabVisitsTheFieldLast();
    void theDialogEndsAndReadsBackAsTheUserLeavesIt_data();
    void theDialogEndsAndReadsBackAsTheUserLeavesIt();
    void theModalQuestionRunsTheDialogBelowTheGivenParent();
};

void NeueKategorieTest::theControlsStandWhereTheTemplatePutsThem() {
    CNeueKategorie dialog;
    const QFont& font = dialog.font();
    QCOMPARE(dialog.objectName(), QStringLiteral("146"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Neue Kategorie einfügen"));
    QCOMPARE(dialog.size(), pixels(font, 0, 0, 215, 53).size());
    QVERIFY(dialog.m_strAktuell.empty());
    QVERIFY(dialog.m_strName.empty());

    auto* aktuell = control<QLabel>(&dialog, 1053);
    QCOMPARE(aktuell->text(), QStringLiteral("Static"));
    QCOMPARE(aktuell->frameShadow(), QFrame::Sunken);
    QCOMPARE(aktuell->geometry(), pixels(font, 8, 12, 145, 12));
    QCOMPARE(control<QLineEdit>(&dialog, 1052)->geometry(), pixels(font, 8, 31, 88, 14));
    auto* einfuegen = control<QPushButton>(&dialog, 1);
    QCOMPARE(einfuegen->text(), QStringLiteral("&Einfügen"));
    QVERIFY(einfuegen->isDefault());
    QCOMPARE(einfuegen->geometry(), pixels(font, 101, 31, 52, 14));
    auto* abbrechen = control<QPushButton>(&dialog, 2);
    QCOMPARE(abbrechen->text(), QStringLiteral("&Abbrechen"));
    QCOMPARE(abbrechen->geometry(), pixels(font, 162, 4, 50, 14));
    auto* group = dialog.findChild<QGroupBox*>();
    QCOMPARE(group->title(), QStringLiteral(" Aktuell angewählt "));
    QCOMPARE(group->geometry(), pixels(font, 3, 0, 155, 49));
}

void NeueKategorieTest::theFocusStartsOnEinfuegenAndTabVisitsTheFieldLast() {
    CNeueKategorie dialog;
    QStringList visited;
    whenUp([&](CNeueKategorie&) {
        for (int i = 0; i < 4; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    });
    dialog.exec();
    QCOMPARE(visited, (QStringList{"1", "2", "1052", "1"}));
}

void NeueKategorieTest::theDialogEndsAndReadsBackAsTheUserLeavesIt_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("Einfügen") << "ok button" << int(QDialog::Accepted);
    QTest::newRow("Enter in the field") << "enter" << int(QDialog::Accepted);
    QTest::newRow("Abbrechen") << "cancel button" << int(QDialog::Rejected);
    QTest::newRow("Escape") << "escape" << int(QDialog::Rejected);
    QTest::newRow("close box") << "close" << int(QDialog::Rejected);
}

void NeueKategorieTest::theDialogEndsAndReadsBackAsTheUserLeavesIt() {
    QFETCH(QString, how);
    QFETCH(int, result);
    CNeueKategorie dialog;
    // The parent directory is not UTF-8; it comes back byte for byte.
    dialog.m_strAktuell = "/ziel/Bl\xFCmen/";
    QString shownParent;
    whenUp([&](CNeueKategorie& d) {
        shownParent = control<QLabel>(&d, 1053)->text();
        auto* name = control<QLineEdit>(&d, 1052);
        name->setFocus();
        type(name, QStringLiteral("Vögel"));
        if (how == "ok button")
            QTest::mouseClick(control<QPushButton>(&d, 1), Qt::LeftButton);
        else if (how == "enter")
            QTest::keyClick(name, Qt::Key_Return);
        else if (how == "cancel button")
            QTest::mouseClick(control<QPushButton>(&d, 2), Qt::LeftButton);
        else if (how == "escape")
            QTest::keyClick(name, Qt::Key_Escape);
        else
            d.close();
    });

    QCOMPARE(dialog.exec(), result);

    QCOMPARE(shownParent, QString::fromUtf8("/ziel/Bl\xFCmen/"));
    QCOMPARE(dialog.m_strAktuell, std::string("/ziel/Bl\xFCmen/"));
    QCOMPARE(dialog.m_strName, result == QDialog::Accepted ? std::string("Vögel") : std::string());
}

void NeueKategorieTest::theModalQuestionRunsTheDialogBelowTheGivenParent() {
    platform::QtModalQuestions questions;
    std::string name = "unverändert";

    whenUp([](CNeueKategorie& d) { d.reject(); });
    QVERIFY(!questions.askNewCategory("/ziel/Tiere/", name));
    QCOMPARE(name, std::string("unverändert"));

    QString shownParent;
    whenUp([&](CNeueKategorie& d) {
        shownParent = control<QLabel>(&d, 1053)->text();
        QTest::keyClicks(control<QLineEdit>(&d, 1052), QStringLiteral("Hunde"));
        QTest::mouseClick(control<QPushButton>(&d, 1), Qt::LeftButton);
    });
    QVERIFY(questions.askNewCategory("/ziel/Tiere/", name));
    QCOMPARE(shownParent, QStringLiteral("/ziel/Tiere/"));
    QCOMPARE(name, std::string("Hunde"));

    // An empty name is handed on as it is: whoever makes the directory refuses it.
    whenUp(
        [](CNeueKategorie& d) { QTest::mouseClick(control<QPushButton>(&d, 1), Qt::LeftButton); });
    QVERIFY(questions.askNewCategory("/ziel/", name));
    QCOMPARE(name, std::string());
}

QTEST_MAIN(NeueKategorieTest)
#include "NeueKategorieTest.moc"
