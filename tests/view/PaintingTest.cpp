// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The design view's painting: palettes, the colour rules, the fitting, the line raster and
// the rendered window, checked pixel by pixel.
#include "view/DesignAnsicht.h"
#include "view/LineRaster.h"

#include "TempDir.h"

#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTest>

#include <vector>

namespace {

struct Entry {
    int x;
    int y;
    int cmd;
};

// Puts a design into the model as a reader would leave it, with the end entry appended.
void setDesign(DesignModel& m, const std::vector<Entry>& entries, int minX, int minY, int width,
               int height) {
    std::size_t i = 0;
    for (const Entry& e : entries) {
        m.m_StitchX[i] = static_cast<std::int16_t>(e.x);
        m.m_StitchY[i] = static_cast<std::int16_t>(e.y);
        m.m_StitchCmd[i] = static_cast<std::uint8_t>(e.cmd);
        ++i;
    }
    m.m_StitchX[i] = END_MARK;
    m.m_StitchY[i] = END_MARK;
    m.m_StitchCmd[i] = CMD_END;
    m.m_nMinX = static_cast<std::int16_t>(minX);
    m.m_nMinY = static_cast<std::int16_t>(minY);
    m.m_nWidth = width;
    m.m_nHeight = height;
    m.m_bShowDesign = 1;
    m.m_bStitchGraphics = 1;
}

// A square walked clockwise from the top-left corner, one colour block per side (the last
// side only half way down).
const std::vector<Entry> kSquare = {
    {0, 0, CMD_FIRST},        {100, 0, CMD_STITCH},     {0, 0, CMD_COLOR_CHANGE},
    {100, 100, CMD_STITCH},   {0, 0, CMD_COLOR_CHANGE}, {0, 100, CMD_STITCH},
    {0, 0, CMD_COLOR_CHANGE}, {0, 50, CMD_STITCH},
};

QRgb rgb(std::uint32_t rrggbb) {
    return 0xFF000000u | rrggbb;
}

// The view rendered as it would be on screen.
QImage render(CDesignAnsicht& view) {
    return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRgb clientPixel(const QImage& image, const CDesignAnsicht& view, int x, int y) {
    const QPoint p = view.contentsRect().topLeft() + QPoint(x, y);
    return image.pixel(p) | 0xFF000000u;
}

// The bounding box (in client coordinates) of every client pixel that is not background.
QRect drawnArea(const QImage& image, const CDesignAnsicht& view) {
    const QRgb background = view.palette().color(QPalette::Base).rgb();
    const QRect client = view.contentsRect();
    QRect area;
    for (int y = 0; y < client.height(); ++y)
        for (int x = 0; x < client.width(); ++x)
            if (clientPixel(image, view, x, y) != background)
                area |= QRect(x, y, 1, 1);
    return area;
}

int countPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) | 0xFF000000u) == colour;
    return n;
}

// A view whose client area is exactly the given size.
void setClientSize(CDesignAnsicht& view, int width, int height) {
    const QMargins edge = view.contentsMargins();
    view.resize(width + edge.left() + edge.right(), height + edge.top() + edge.bottom());
}

class PaintCounter : public QObject {
public:
    QList<QRect> painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted.append(static_cast<QPaintEvent*>(event)->rect());
        return false;
    }
};

} // namespace

class PaintingTest : public QObject {
    Q_OBJECT

private slots:
    void palettesHoldTheTabulatedColours_data();
    void palettesHoldTheTabulatedColours();
    void blockColourRules_data();
    void blockColourRules();
    void mappingFitsTheDesign_data();
    void mappingFitsTheDesign();
    void lineRaster_data();
    void lineRaster();
    void onlyBackgroundWhenNothingCanBeDrawn_data();
    void onlyBackgroundWhenNothingCanBeDrawn();
    void placardDrawsItsBarsOverTheName();
    void blocksTakeTheirColoursFromTheColourList_data();
    void blocksTakeTheirColoursFromTheColourList();
    void wideDesignIsLimitedByTheWidth();
    void penIsOneDesignUnitWide_data();
    void penIsOneDesignUnitWide();
    void resizeRepaintsAndRefits();
    void penNarrowsToStayWithinThePaintBudget_data();
    void penNarrowsToStayWithinThePaintBudget();
    void tinyDesignWithManyStitchesStillPaints();
    void realDesignsStartInTheirFirstColour_data();
    void realDesignsStartInTheirFirstColour();
    void placardAfterLoadingAndEmptyAfterKrz();
};

void PaintingTest::palettesHoldTheTabulatedColours_data() {
    QTest::addColumn<bool>("sew");
    QTest::addColumn<int>("index");
    QTest::addColumn<uint>("rrggbb");
    QTest::newRow("pec first") << false << 0 << 0x000000u;
    QTest::newRow("pec 1") << false << 1 << 0x1A0A94u;
    QTest::newRow("pec 2") << false << 2 << 0x0F75FFu;
    QTest::newRow("pec 25") << false << 25 << 0xFF0060u;
    QTest::newRow("pec 62, the last given") << false << 62 << 0xFFC868u;
    QTest::newRow("pec 63 has none: black") << false << 63 << 0x000000u;
    QTest::newRow("sew 2") << true << 2 << 0xE5E5E5u;
    QTest::newRow("sew 30") << true << 30 << 0x001CDFu;
    QTest::newRow("sew 63") << true << 63 << 0xC00000u;
    QTest::newRow("sew 76") << true << 76 << 0xB4D9E7u;
    QTest::newRow("sew 80, the last") << true << 80 << 0xFFFFFFu;
}

void PaintingTest::palettesHoldTheTabulatedColours() {
    QFETCH(bool, sew);
    QFETCH(int, index);
    QFETCH(uint, rrggbb);
    const CDesignAnsicht view;
    const ColorRef colour = sew ? view.m_SewPalette[static_cast<std::size_t>(index)]
                                : view.m_PecPalette[static_cast<std::size_t>(index)];
    // Red sits in the low byte, blue in the third.
    const ColorRef expected = ((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16);
    QCOMPARE(colour, expected);
    QCOMPARE(toQColor(colour).rgb(), rgb(rrggbb));
}

void PaintingTest::blockColourRules_data() {
    QTest::addColumn<int>("sewPalette");
    QTest::addColumn<int>("pcsColors");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("listIndex"); // the colour-list entry set to thread
    QTest::addColumn<int>("thread");
    QTest::addColumn<uint>("rrggbb");
    QTest::newRow("pec: block k uses entry k") << 0 << 0 << 3 << 3 << 5 << 0xEC0000u;
    QTest::newRow("sew: block k uses entry k") << 1 << 0 << 3 << 3 << 12 << 0x0000FFu;
    QTest::newRow("pcs: block 0 is black") << 0 << 1 << 0 << 0 << 1 << 0x000000u;
    QTest::newRow("pcs: block k uses entry k-1") << 0 << 1 << 3 << 2 << 1 << 0x123456u;
    QTest::newRow("pcs: block 64 uses entry 63") << 0 << 1 << 64 << 63 << 1 << 0x123456u;
    QTest::newRow("pcs wins over sew") << 1 << 1 << 1 << 0 << 1 << 0x123456u;
    QTest::newRow("pec: thread 63 is black") << 0 << 0 << 0 << 0 << 63 << 0x000000u;
    QTest::newRow("pec: thread past the table") << 0 << 0 << 0 << 0 << 200 << 0x000000u;
    QTest::newRow("sew: thread past the table") << 1 << 0 << 0 << 0 << 81 << 0x000000u;
    QTest::newRow("pcs: thread past the 16") << 0 << 1 << 1 << 0 << 16 << 0x000000u;
    QTest::newRow("pec: block past the list") << 0 << 0 << 64 << 63 << 5 << 0x000000u;
    QTest::newRow("pcs: block past the list") << 0 << 1 << 65 << 63 << 1 << 0x000000u;
}

void PaintingTest::blockColourRules() {
    QFETCH(int, sewPalette);
    QFETCH(int, pcsColors);
    QFETCH(int, block);
    QFETCH(int, listIndex);
    QFETCH(int, thread);
    QFETCH(uint, rrggbb);
    CDesignAnsicht view;
    view.m_bSewPalette = sewPalette;
    view.m_bPcsColors = pcsColors;
    view.m_PcsColors.fill(colorFromRgb(0xABCDEF));
    view.m_PcsColors[1] = colorFromRgb(0x123456);
    view.m_ColorList.fill(7);
    view.m_ColorList[static_cast<std::size_t>(listIndex)] = static_cast<std::uint8_t>(thread);
    QCOMPARE(blockColor(view, view.m_PecPalette, view.m_SewPalette, block), colorFromRgb(rrggbb));
}

void PaintingTest::mappingFitsTheDesign_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("pen");
    QTest::addColumn<QPoint>("farCorner");
    QTest::newRow("height limits")
        << QSize(220, 220) << 100 << 200 << true << 1.0 << 1 << QPoint(110, 210);
    QTest::newRow("width limits") << QSize(520, 800) << 1000 << 100 << true << 0.5 << 1
                                  << QPoint(510, 60);
    QTest::newRow("small design shown large")
        << QSize(220, 220) << 10 << 10 << true << 20.0 << 20 << QPoint(210, 210);
    QTest::newRow("pen rounds to whole pixels")
        << QSize(170, 170) << 100 << 100 << true << 1.5 << 2 << QPoint(160, 160);
    QTest::newRow("no width: height alone")
        << QSize(220, 220) << 0 << 100 << true << 2.0 << 2 << QPoint(10, 210);
    QTest::newRow("negative height: width alone")
        << QSize(220, 220) << 50 << -3 << true << 4.0 << 4 << QPoint(210, 10 - 12);
    QTest::newRow("no decoded points")
        << QSize(220, 220) << -2000 << -2000 << false << 0.0 << 0 << QPoint();
    QTest::newRow("single point") << QSize(220, 220) << 0 << 0 << false << 0.0 << 0 << QPoint();
    QTest::newRow("client 20 wide") << QSize(20, 500) << 10 << 10 << false << 0.0 << 0 << QPoint();
    QTest::newRow("client 20 high") << QSize(500, 20) << 10 << 10 << false << 0.0 << 0 << QPoint();
    QTest::newRow("client 21 square")
        << QSize(21, 21) << 1 << 1 << true << 1.0 << 1 << QPoint(11, 11);
}

void PaintingTest::mappingFitsTheDesign() {
    QFETCH(QSize, client);
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, fits);
    QFETCH(double, scale);
    QFETCH(int, pen);
    QFETCH(QPoint, farCorner);
    const auto mapping =
        DesignMapping::fit({0, 0}, {client.width(), client.height()}, width, height);
    QCOMPARE(mapping.has_value(), fits);
    if (!fits)
        return;
    QCOMPARE(mapping->scale(), scale);
    QCOMPARE(mapping->penWidth(), pen);
    // Anchored at the top-left margin, not centred.
    QCOMPARE(mapping->map(0, 0), (PixelPoint{10, 10}));
    QCOMPARE(mapping->map(width, height), (PixelPoint{farCorner.x(), farCorner.y()}));
    // The client area's own origin carries over.
    const auto moved = DesignMapping::fit({3, 4}, {client.width(), client.height()}, width, height);
    QCOMPARE(moved->map(0, 0), (PixelPoint{13, 14}));
}

void PaintingTest::lineRaster_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<QLine>("line");
    QTest::addColumn<QRect>("covered"); // bounding box of the painted pixels
    QTest::addColumn<int>("count");
    QTest::newRow("thin horizontal") << 1 << QLine(2, 5, 11, 5) << QRect(2, 5, 10, 1) << 10;
    QTest::newRow("thin backwards") << 1 << QLine(11, 5, 2, 5) << QRect(2, 5, 10, 1) << 10;
    QTest::newRow("thin diagonal") << 1 << QLine(0, 0, 9, 9) << QRect(0, 0, 10, 10) << 10;
    QTest::newRow("thin steep") << 1 << QLine(3, 1, 5, 18) << QRect(3, 1, 3, 18) << 18;
    QTest::newRow("thin single point") << 1 << QLine(4, 4, 4, 4) << QRect(4, 4, 1, 1) << 1;
    QTest::newRow("thin across from far away")
        << 1 << QLine(-100000000, 7, 100000000, 7) << QRect(0, 7, 40, 1) << 40;
    QTest::newRow("thin to far away") << 1 << QLine(5, 5, 5, 200000000) << QRect(5, 5, 1, 25) << 25;
    QTest::newRow("thin outside") << 1 << QLine(-50, -50, -10, -3) << QRect() << 0;
    QTest::newRow("even width: rows below") << 2 << QLine(2, 5, 11, 5) << QRect(2, 5, 11, 2) << 22;
    QTest::newRow("odd width: rows around")
        << 3 << QLine(4, 10, 14, 10) << QRect(3, 9, 13, 3) << 39;
    QTest::newRow("wide dot is a disc") << 9 << QLine(20, 15, 20, 15) << QRect(16, 11, 9, 9) << 69;
    QTest::newRow("wide across from far away")
        << 4 << QLine(-100000000, 10, 100000000, 10) << QRect(0, 9, 40, 4) << 160;
    QTest::newRow("wide outside") << 5 << QLine(-50, -50, -10, -10) << QRect() << 0;
}

void PaintingTest::lineRaster() {
    QFETCH(int, width);
    QFETCH(QLine, line);
    QFETCH(QRect, covered);
    QFETCH(int, count);
    const QRgb background = 0xFFFFFFFF;
    const QRgb ink = 0xFF102030;
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(background);
    LineRaster raster(reinterpret_cast<std::uint32_t*>(image.bits()), image.width(), image.height(),
                      image.bytesPerLine() / 4);
    raster.setPixel(ink);
    raster.setWidth(width);
    raster.drawLine(line.x1(), line.y1(), line.x2(), line.y2());
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == ink)
                area |= QRect(x, y, 1, 1);
    QCOMPARE(area, covered);
    QCOMPARE(countPixels(image, ink), count);
    QCOMPARE(countPixels(image, ink) + countPixels(image, background),
             image.width() * image.height());
}

void PaintingTest::onlyBackgroundWhenNothingCanBeDrawn_data() {
    QTest::addColumn<int>("showDesign");
    QTest::addColumn<bool>("endFirst");
    QTest::addColumn<int>("extent");
    QTest::addColumn<QSize>("client");
    QTest::newRow("nothing loaded") << 0 << false << 100 << QSize(300, 200);
    QTest::newRow("show flag other than 1") << 2 << false << 100 << QSize(300, 200);
    QTest::newRow("first entry is the end") << 1 << true << 100 << QSize(300, 200);
    QTest::newRow("no decoded points") << 1 << false << -2000 << QSize(300, 200);
    QTest::newRow("client 20 wide") << 1 << false << 100 << QSize(20, 200);
    QTest::newRow("client 20 high") << 1 << false << 100 << QSize(300, 20);
    QTest::newRow("client empty") << 1 << false << 100 << QSize(0, 0);
}

void PaintingTest::onlyBackgroundWhenNothingCanBeDrawn() {
    QFETCH(int, showDesign);
    QFETCH(bool, endFirst);
    QFETCH(int, extent);
    QFETCH(QSize, client);
    CDesignAnsicht view;
    setClientSize(view, client.width(), client.height());
    setDesign(view, endFirst ? std::vector<Entry>{} : kSquare, 0, 0, extent, extent);
    view.m_bShowDesign = showDesign;
    const QImage image = render(view);
    QCOMPARE(drawnArea(image, view), QRect());
}

void PaintingTest::placardDrawsItsBarsOverTheName() {
    CDesignAnsicht view;
    setClientSize(view, 400, 300);
    // A font so large that the name reaches down into the second bar.
    QFont font = view.font();
    font.setPixelSize(48);
    view.setFont(font);
    view.m_strFileName = "ROSE.ART";
    view.ShowPlacard(0);
    const QImage image = render(view);
    const QRgb bar = rgb(0xFF0080);
    for (const int top : {10, 60})
        for (int y = top; y < top + 10; ++y)
            for (int x = 10; x < 260; ++x)
                QCOMPARE(clientPixel(image, view, x, y), bar);
    for (const QPoint outside : {QPoint(9, 10), QPoint(260, 10), QPoint(10, 9), QPoint(10, 20),
                                 QPoint(10, 59), QPoint(259, 70)})
        QVERIFY2(clientPixel(image, view, outside.x(), outside.y()) != bar,
                 qPrintable(QStringLiteral("%1,%2").arg(outside.x()).arg(outside.y())));
    // Two bars and the name between them, nothing else.
    const QRgb text = view.palette().color(QPalette::Text).rgb();
    QVERIFY(countPixels(image.copy(view.contentsRect().adjusted(30, 30, 0, -240)), text) > 0);
    QCOMPARE(countPixels(image, bar), 2 * 250 * 10);
}

void PaintingTest::blocksTakeTheirColoursFromTheColourList_data() {
    QTest::addColumn<int>("sewPalette");
    QTest::addColumn<int>("pcsColors");
    QTest::addColumn<QList<int>>("colourList");
    QTest::addColumn<QList<uint>>("expected"); // RRGGBB of the four sides
    QTest::newRow("pes") << 0 << 0 << QList<int>{2, 5, 13, 21}
                         << QList<uint>{0x0F75FF, 0xEC0000, 0xFFE600, 0x001CDF};
    QTest::newRow("sew") << 1 << 0 << QList<int>{2, 12, 10, 6}
                         << QList<uint>{0xE5E5E5, 0x0000FF, 0xFF0000, 0x00E800};
    // Black first, then the file's colours by entries 0, 1 and 2.
    QTest::newRow("pcs") << 0 << 1 << QList<int>{3, 4, 5, 6}
                         << QList<uint>{0x000000, 0x300000, 0x400000, 0x500000};
    QTest::newRow("unknown threads") << 0 << 0 << QList<int>{63, 64, 255, 1}
                                     << QList<uint>{0x000000, 0x000000, 0x000000, 0x1A0A94};
}

void PaintingTest::blocksTakeTheirColoursFromTheColourList() {
    QFETCH(int, sewPalette);
    QFETCH(int, pcsColors);
    QFETCH(QList<int>, colourList);
    QFETCH(QList<uint>, expected);
    CDesignAnsicht view;
    setClientSize(view, 120, 120); // one pixel per design unit
    for (int i = 0; i < colourList.size(); ++i)
        view.m_ColorList[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(colourList[i]);
    for (std::size_t i = 0; i < view.m_PcsColors.size(); ++i)
        view.m_PcsColors[i] = colorFromRgb(static_cast<std::uint32_t>(i) << 20);
    setDesign(view, kSquare, 0, 0, 100, 100);
    view.m_bSewPalette = sewPalette;
    view.m_bPcsColors = pcsColors;
    const QImage image = render(view);
    const QPoint middles[] = {{60, 10}, {110, 60}, {60, 110}, {10, 85}};
    for (int side = 0; side < 4; ++side)
        QCOMPARE(clientPixel(image, view, middles[side].x(), middles[side].y()),
                 rgb(expected[side]));
}

void PaintingTest::wideDesignIsLimitedByTheWidth() {
    CDesignAnsicht view;
    setClientSize(view, 520, 800);
    // The outline of a box ten times as wide as high, offset to show that the bounding box's
    // corner is what lands at (10, 10).
    setDesign(view,
              {{500, 300, CMD_FIRST},
               {1500, 300, CMD_STITCH},
               {1500, 400, CMD_STITCH},
               {500, 400, CMD_STITCH},
               {500, 300, CMD_STITCH}},
              500, 300, 1000, 100);
    view.m_ColorList[0] = 1;
    const QImage image = render(view);
    // Scale 0.5 from the width; the height would allow 7.8. Nothing below the picture.
    QCOMPARE(drawnArea(image, view), QRect(QPoint(10, 10), QPoint(510, 60)));
}

void PaintingTest::penIsOneDesignUnitWide_data() {
    QTest::addColumn<int>("extent");
    QTest::addColumn<int>("thickness");
    QTest::newRow("scale 20") << 10 << 20;
    QTest::newRow("scale 5") << 40 << 5;
    QTest::newRow("scale 1") << 200 << 1;
    QTest::newRow("scale 0.1: never below one pixel") << 2000 << 1;
}

void PaintingTest::penIsOneDesignUnitWide() {
    QFETCH(int, extent);
    QFETCH(int, thickness);
    CDesignAnsicht view;
    setClientSize(view, 220, 220);
    view.m_ColorList[0] = 5;
    setDesign(view, {{0, 0, CMD_FIRST}, {extent, 0, CMD_STITCH}, {extent, extent, CMD_STITCH}}, 0,
              0, extent, extent);
    const QImage image = render(view);
    // Down the column through the middle of the top line.
    const QRgb ink = rgb(0xEC0000);
    int n = 0;
    for (int y = 0; y < 100; ++y)
        n += clientPixel(image, view, 110, y) == ink;
    QCOMPARE(n, thickness);
}

void PaintingTest::penNarrowsToStayWithinThePaintBudget_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<double>("totalLength");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("expected");
    // Within the budget the pen stays one design unit wide.
    QTest::newRow("ordinary design") << 9 << 1.5e6 << 50000 << 9;
    QTest::newRow("thin pen") << 1 << 1e12 << 1000000 << 1;
    // 100,000 lines of 1,000 pixels at 900: the largest w with w * 1e8 + 1e5 * w^2 <= 1e8.
    QTest::newRow("tiny design shown huge") << 900 << 1e8 << 100000 << 1;
    QTest::newRow("just over") << 20 << 5e6 << 10000 << 19;
    QTest::newRow("no lines") << 50 << 0.0 << 0 << 50;
}

void PaintingTest::penNarrowsToStayWithinThePaintBudget() {
    QFETCH(int, width);
    QFETCH(double, totalLength);
    QFETCH(int, lines);
    QFETCH(int, expected);
    const int w = affordablePenWidth(width, totalLength, static_cast<std::size_t>(lines), 1e8);
    QCOMPARE(w, expected);
    QVERIFY(w == 1 || w * totalLength + lines * double(w) * w <= 1e8);
}

void PaintingTest::tinyDesignWithManyStitchesStillPaints() {
    // Two units across, 200,000 stitches back and forth: one unit is 470 pixels, and a pen
    // that wide over every stitch would fill 10^11 pixels.
    CDesignAnsicht view;
    setClientSize(view, 960, 960);
    view.m_ColorList[0] = 5;
    std::vector<Entry> entries = {{0, 0, CMD_FIRST}};
    for (int i = 0; i < 200000; ++i)
        entries.push_back({i % 3, (i / 3) % 3, CMD_STITCH});
    view.m_StitchX.resize(entries.size() + 1);
    view.m_StitchY.resize(entries.size() + 1);
    view.m_StitchCmd.resize(entries.size() + 1);
    setDesign(view, entries, 0, 0, 2, 2);
    QElapsedTimer timer;
    timer.start();
    const QImage image = render(view);
    QVERIFY2(timer.elapsed() < 60000, "painting took a minute");
    // Something was drawn in the design's colour.
    QVERIFY(countPixels(image, rgb(0xEC0000)) > 0);
}

void PaintingTest::resizeRepaintsAndRefits() {
    CDesignAnsicht view;
    setClientSize(view, 220, 220);
    view.m_ColorList[0] = 5;
    setDesign(view, {{0, 0, CMD_FIRST}, {100, 100, CMD_STITCH}}, 0, 0, 100, 100);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    // Scale 2: the diagonal ends at (210, 210), give or take the pen.
    QRect area = drawnArea(render(view), view);
    QVERIFY(std::abs(area.left() - 10) <= 1 && std::abs(area.right() - 210) <= 1);

    PaintCounter counter;
    view.installEventFilter(&counter);
    setClientSize(view, 420, 320);
    QTRY_VERIFY(!counter.painted.isEmpty());
    // The whole window, not just the part that became visible.
    QVERIFY(counter.painted.last().contains(view.rect()));
    // Scale 3 from the new height: the diagonal now ends at (310, 310).
    area = drawnArea(render(view), view);
    QVERIFY(std::abs(area.left() - 10) <= 1 && std::abs(area.right() - 310) <= 1);
    QVERIFY(std::abs(area.bottom() - 310) <= 1);
}

void PaintingTest::realDesignsStartInTheirFirstColour_data() {
    QTest::addColumn<QString>("file");
    for (const char* name : {"Star.pes", "flowers.pes", "Hopea.pec", "Star.DST", "Star.SEW",
                             "reorder.pes", "Star.PCS", "read_sample.pec"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void PaintingTest::realDesignsStartInTheirFirstColour() {
    QFETCH(QString, file);
    CDesignAnsicht view;
    setClientSize(view, 640, 480);
    view.m_strSourceDir = NADELIX_TEST_DATA "/";
    view.m_FileList[0] = SourceFileName::fromDisk(file.toStdString());
    view.LoadFile(0);
    QCOMPARE(view.m_bShowDesign, 1);
    QCOMPARE(view.m_bStitchGraphics, 1);

    ColorRef first = 0;
    if (!view.m_bPcsColors)
        first = view.m_bSewPalette ? view.m_SewPalette[view.m_ColorList[0]]
                                   : view.m_PecPalette[view.m_ColorList[0]];
    const QImage image = render(view);
    // The first line leaves the bounding box's corner in the first block's colour.
    QCOMPARE(clientPixel(image, view, 10, 10), toQColor(first).rgb());
    // The picture fits inside the margins (give or take the pen).
    const auto mapping = DesignMapping::fit({0, 0}, {640, 480}, view.m_nWidth, view.m_nHeight);
    QVERIFY(mapping);
    const QRect area = drawnArea(image, view);
    const int pen = mapping->penWidth();
    QVERIFY2(QRect(0, 0, 640, 480).adjusted(10 - pen, 10 - pen, pen - 10, pen - 10).contains(area),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(area.x())
                            .arg(area.y())
                            .arg(area.width())
                            .arg(area.height())));
}

void PaintingTest::placardAfterLoadingAndEmptyAfterKrz() {
    TempDir dir;
    dir.write("muster.krz", std::string_view("cross stitch"));
    CDesignAnsicht view;
    setClientSize(view, 400, 300);
    view.m_strSourceDir = NADELIX_TEST_DATA "/";
    view.m_FileList[0] = SourceFileName::fromDisk("Star.HUS");
    view.LoadFile(0);
    QImage image = render(view);
    QCOMPARE(clientPixel(image, view, 10, 10), rgb(0xFF0080));
    QCOMPARE(clientPixel(image, view, 259, 69), rgb(0xFF0080));
    QCOMPARE(view.m_strFileName, std::string("STAR.HUS"));

    view.m_strSourceDir = dir.path() + "/";
    view.m_FileList[0] = SourceFileName::fromDisk("muster.krz");
    view.LoadFile(0);
    image = render(view);
    QCOMPARE(drawnArea(image, view), QRect());
}

QTEST_MAIN(PaintingTest)
#include "PaintingTest.moc"
