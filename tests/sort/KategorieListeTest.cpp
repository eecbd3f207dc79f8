// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The category list of the copy-and-sort dialog: its copy marks, how the user switches them,
// and the right click that asks for a new category.
#include "DialogFixture.h"
#include "sort/SortPictures.h"

#include <QContextMenuEvent>
#include <QSignalSpy>
#include <QTextDocument>
#include <QtTest>

namespace {

const QColor kRed(255, 0, 0);

// A dialog initialised with its mark pictures, its list holding the given entries.
struct Scene {
    CKopierenSortieren dialog;
    CKategorieListe& list = *dialog.m_KategorieListe;

    explicit Scene(const std::vector<std::string>& entries) {
        dialog.Create(nullptr);
        list.Model().rebuild([&](CategoryList& shown) {
            for (const std::string& entry : entries)
                shown.insert({entry, entry, entry == kZielverzeichnis, false});
        });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }

    QRect markRect(int row) const { return ::markRect(list, row); }
    bool redIn(const QRect& rect) {
        const QImage image = list.viewport()->grab(rect).toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y) == kRed)
                    return true;
        return false;
    }
    std::vector<bool> marks() const {
        std::vector<bool> out;
        for (int row = 0; row < list.GetItemCount(); ++row)
            out.push_back(list.IsMarked(row));
        return out;
    }
};

} // namespace

class KategorieListeTest : public QObject {
    Q_OBJECT
private slots:
    void theMarkPicturesAreAnEmptyFrameAndTheSameFilledRed();
    void newEntriesStartUnmarkedAndAreDrawnWithTheListsPictures();
    void aClickOnTheMarkOrTheSpaceBarSwitchesIt();
    void aRightClickNamesTheEntryUnderThePointerOrNone();
    void textsKeepTheirBytes();
};

void KategorieListeTest::theMarkPicturesAreAnEmptyFrameAndTheSameFilledRed() {
    const QList<QPixmap> images = sortdialog::markImages();
    QCOMPARE(images.size(), qsizetype(2));
    for (int i = 0; i < 2; ++i) {
        const QImage image = images[i].toImage();
        QCOMPARE(image.size(), QSize(14, 14));
        // Rounded corners: the very corner stays clear.
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(image.pixelColor(13, 13).alpha(), 0);
        // The frame's edge, in the middle of each side, is black.
        for (const QPoint edge : {QPoint(1, 7), QPoint(12, 7), QPoint(7, 1), QPoint(7, 12)}) {
            const QColor c = image.pixelColor(edge);
            QVERIFY2(
                c.alpha() > 128 && c.red() < 80 && c.green() < 80 && c.blue() < 80,
                qPrintable(QStringLiteral("image %1 at %2,%3").arg(i).arg(edge.x()).arg(edge.y())));
        }
        // Inside: empty for image 1, red for image 2.
        const QColor inside = image.pixelColor(7, 7);
        if (i == 0)
            QCOMPARE(inside.alpha(), 0);
        else
            QCOMPARE(inside, kRed);
    }
}

void KategorieListeTest::newEntriesStartUnmarkedAndAreDrawnWithTheListsPictures() {
    Scene s({"[ Zielverzeichnis ]", "Blumen", "Tiere"});
    QCOMPARE(s.marks(), (std::vector<bool>{false, false, false}));
    QVERIFY(!s.redIn(s.markRect(1)));

    s.list.SetMarked(1, true);
    QVERIFY(s.redIn(s.markRect(1)));
    QVERIFY(!s.redIn(s.markRect(0)));
    QVERIFY(!s.redIn(s.markRect(2)));
}

void KategorieListeTest::aClickOnTheMarkOrTheSpaceBarSwitchesIt() {
    Scene s({"[ Zielverzeichnis ]", "Blumen", "Tiere", "Tiere/Hunde"});
    QWidget* viewport = s.list.viewport();

    QTest::mouseClick(viewport, Qt::LeftButton, {}, s.markRect(2).center());
    QCOMPARE(s.marks(), (std::vector<bool>{false, false, true, false}));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, s.markRect(0).center());
    QCOMPARE(s.marks(), (std::vector<bool>{true, false, true, false}));
    QTest::mouseClick(viewport, Qt::LeftButton, {}, s.markRect(2).center());
    QCOMPARE(s.marks(), (std::vector<bool>{true, false, false, false}));

    // A click on the text selects the entry without switching its mark.
    const QRect text = rowRect(s.list, 3);
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(text.right() - 4, text.center().y()));
    QCOMPARE(s.list.currentIndex().row(), 3);
    QCOMPARE(s.marks(), (std::vector<bool>{true, false, false, false}));

    // The space bar switches the selected entry.
    s.list.setFocus();
    QTest::keyClick(&s.list, Qt::Key_Space);
    QCOMPARE(s.marks(), (std::vector<bool>{true, false, false, true}));
    QTest::keyClick(&s.list, Qt::Key_Up);
    QTest::keyClick(&s.list, Qt::Key_Space);
    QTest::keyClick(&s.list, Qt::Key_Up);
    QTest::keyClick(&s.list, Qt::Key_Up);
    QTest::keyClick(&s.list, Qt::Key_Space);
    QCOMPARE(s.marks(), (std::vector<bool>{false, false, true, true}));
}

void KategorieListeTest::aRightClickNamesTheEntryUnderThePointerOrNone() {
    Scene s({"[ Zielverzeichnis ]", "Blumen", "Tiere"});
    QSignalSpy clicked(&s.list, &CKategorieListe::rightClicked);

    const auto rightClick = [&](QContextMenuEvent::Reason reason, QPoint at) {
        QContextMenuEvent event(reason, at, s.list.viewport()->mapToGlobal(at));
        QApplication::sendEvent(s.list.viewport(), &event);
    };
    rightClick(QContextMenuEvent::Mouse, rowRect(s.list, 2).center());
    const int below = rowRect(s.list, 2).bottom() + 20;
    rightClick(QContextMenuEvent::Mouse, QPoint(10, below));
    s.list.setCurrentIndex(s.list.model()->index(1, 0));
    rightClick(QContextMenuEvent::Keyboard, QPoint(10, below));

    QCOMPARE(clicked.size(), qsizetype(3));
    QCOMPARE(clicked[0][0].toInt(), 2);
    QCOMPARE(clicked[1][0].toInt(), -1);
    QCOMPARE(clicked[2][0].toInt(), 1);
}

void KategorieListeTest::textsKeepTheirBytes() {
    Scene s({"[ Zielverzeichnis ]", "Bl\xFCmen", "<b>fett</b>"});
    // Punctuation sorts before letters.
    QCOMPARE(s.list.GetItemText(1), std::string("<b>fett</b>"));
    QCOMPARE(s.list.GetItemText(2), std::string("Bl\xFCmen"));
    QCOMPARE(s.list.model()->index(2, 0).data().toString(), QString::fromUtf8("Bl\xFCmen"));
    // The tooltip shows the whole text, as text.
    QTextDocument tip;
    tip.setHtml(s.list.model()->index(1, 0).data(Qt::ToolTipRole).toString());
    QCOMPARE(tip.toPlainText(), QStringLiteral("<b>fett</b>"));
    QCOMPARE(s.list.GetItemText(7), std::string());
    s.list.DeleteAllItems();
    QCOMPARE(s.list.GetItemCount(), 0);
}

QTEST_MAIN(KategorieListeTest)
#include "KategorieListeTest.moc"
