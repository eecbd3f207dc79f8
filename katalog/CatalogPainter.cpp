// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "CatalogPainter.h"

#include "Labels.h"

#include "view/DesignPainter.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <utility>

namespace katalog {

namespace {

QFont fontOf(float points, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    // File names are shown letter for letter: a ligature would turn "fl" into one glyph that
    // searching the PDF for the name does not find.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

const QColor kRule(0xB4, 0xB4, 0xB4);
const QColor kFrame(0xD2, 0xD2, 0xD2);
const QColor kMuted(0x50, 0x50, 0x50);
const QColor kProblemText(0x9A, 0x1C, 0x1C);
const QColor kProblemFill(0xF4, 0xF0, 0xF0);

QColor fromPixel(std::uint32_t pixel) {
    return QColor::fromRgb(pixel);
}

} // namespace

CatalogPainter::CatalogPainter(QPainter& painter, const PageLayout& layout, QString title)
    : m_painter(painter), m_layout(layout), m_title(std::move(title)),
      m_titleFont(fontOf(13, true)), m_headingFont(fontOf(11, true)), m_nameFont(fontOf(8, true)),
      m_smallFont(fontOf(7, false)) {}

void CatalogPainter::paintFrame(int page) {
    const PageSetup& setup = m_layout.setup();
    const float left = PageLayout::kMargin;
    const float width = setup.width - 2 * PageLayout::kMargin;

    m_painter.setFont(m_titleFont);
    m_painter.setPen(Qt::black);
    const QRectF titleBox(left, PageLayout::kMargin, width, PageLayout::kHeaderHeight - 6);
    m_painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignTop,
                       QFontMetricsF(m_titleFont).elidedText(m_title, Qt::ElideRight, width));
    m_painter.setPen(QPen(kRule, 0.75));
    const float ruleY = PageLayout::kMargin + PageLayout::kHeaderHeight - 5;
    m_painter.drawLine(QPointF(left, ruleY), QPointF(left + width, ruleY));

    m_painter.setFont(m_smallFont);
    m_painter.setPen(kMuted);
    const QRectF footer(left, setup.height - PageLayout::kMargin - PageLayout::kFooterHeight + 6,
                        width, PageLayout::kFooterHeight - 6);
    m_painter.drawText(footer, Qt::AlignHCenter | Qt::AlignBottom,
                       QString::fromStdString(pageLabel(page + 1, m_layout.pageCount())));
}

void CatalogPainter::paintHeading(float y, const QString& heading) {
    const PageRect area = m_layout.content();
    m_painter.setFont(m_headingFont);
    m_painter.setPen(Qt::black);
    const QRectF box(area.x + PageLayout::kTilePadding, y + 4,
                     area.width - 2 * PageLayout::kTilePadding, PageLayout::kHeadingHeight - 6);
    m_painter.drawText(
        box, Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetricsF(m_headingFont).elidedText(heading, Qt::ElideMiddle, box.width()));
}

void CatalogPainter::paintDesign(const PageRect& tile, const CatalogDesign& design) {
    const PictureBox box = PageLayout::pictureBox(tile);
    const QRectF pictureRect(box.x, box.y, box.width, box.height);
    if (design.problem.empty()) {
        if (design.backdrop != 0xFFFFFFFF)
            m_painter.fillRect(pictureRect, fromPixel(design.backdrop));
        paintPicture(design);
    } else {
        paintProblem(box, design);
    }
    m_painter.setPen(QPen(kFrame, 0.5));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(pictureRect);

    const PageRect text = PageLayout::textBox(tile);
    const float line = 10;
    float y = text.y + 3;
    m_painter.setFont(m_nameFont);
    m_painter.setPen(Qt::black);
    m_painter.drawText(
        QRectF(text.x, y, text.width, line + 1), Qt::AlignLeft | Qt::AlignTop,
        QFontMetricsF(m_nameFont)
            .elidedText(QString::fromStdString(design.name), Qt::ElideMiddle, text.width));
    y += line + 1;
    m_painter.setFont(m_smallFont);
    m_painter.setPen(kMuted);
    const QFontMetricsF small(m_smallFont);
    QString facts;
    QString counts;
    if (design.problem.empty()) {
        facts = QString::fromStdString(design.format + " · " +
                                       sizeLabel(design.widthUnits, design.heightUnits));
        counts = QString::fromStdString(stitchesLabel(design.stitches) + " · " +
                                        colorsLabel(design.strokes.size()));
    } else {
        facts = design.format.empty() ? QStringLiteral("nicht lesbar")
                                      : QString::fromStdString(design.format);
    }
    m_painter.drawText(QRectF(text.x, y, text.width, line), Qt::AlignLeft | Qt::AlignTop,
                       small.elidedText(facts, Qt::ElideRight, text.width));
    y += line;
    if (!counts.isEmpty())
        m_painter.drawText(QRectF(text.x, y, text.width, line), Qt::AlignLeft | Qt::AlignTop,
                           small.elidedText(counts, Qt::ElideRight, text.width));
    y += line + 1;
    paintSwatches({text.x, y, text.width, 7}, design.strokes);
}

void CatalogPainter::paintPicture(const CatalogDesign& design) {
    // The design's own units on the page: the points go into the PDF as whole numbers.
    m_painter.save();
    m_painter.translate(design.originX, design.originY);
    m_painter.scale(design.scale, design.scale);
    QPen pen(Qt::black, design.penWidth / design.scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    for (std::size_t s = 0; s < design.strokes.size(); ++s) {
        const std::size_t first = design.strokes[s].first;
        const std::size_t end =
            s + 1 < design.strokes.size() ? design.strokes[s + 1].first : design.points.size();
        if (end - first < 2)
            continue;
        m_points.clear();
        for (std::size_t i = first; i < end; ++i)
            m_points.emplace_back(design.points[i].x, design.points[i].y);
        pen.setColor(toQColor(design.strokes[s].color));
        m_painter.setPen(pen);
        m_painter.drawPolyline(m_points.data(), static_cast<int>(m_points.size()));
    }
    m_painter.restore();
}

void CatalogPainter::paintProblem(const PictureBox& box, const CatalogDesign& design) {
    const QRectF rect(box.x, box.y, box.width, box.height);
    m_painter.fillRect(rect, kProblemFill);
    m_painter.setFont(m_smallFont);
    m_painter.setPen(kProblemText);
    m_painter.drawText(rect.adjusted(6, 6, -6, -6), Qt::AlignCenter | Qt::TextWordWrap,
                       QString::fromStdString(design.problem));
}

void CatalogPainter::paintSwatches(const PageRect& row, const std::vector<Stroke>& threads) {
    const float size = row.height;
    const float step = size + 2;
    const auto fits = static_cast<std::size_t>(std::max(0.0f, (row.width + 2) / step));
    std::size_t shown = threads.size();
    QString rest;
    if (shown > fits) {
        // The last places make room for how many more there are.
        rest = QStringLiteral("+%1").arg(threads.size() - (fits > 3 ? fits - 3 : 0));
        shown = fits > 3 ? fits - 3 : 0;
    }
    m_painter.setPen(QPen(kFrame, 0.4));
    for (std::size_t i = 0; i < shown; ++i) {
        m_painter.setBrush(toQColor(threads[i].color));
        m_painter.drawRect(QRectF(row.x + static_cast<float>(i) * step, row.y, size, size));
    }
    m_painter.setBrush(Qt::NoBrush);
    if (!rest.isEmpty()) {
        m_painter.setFont(m_smallFont);
        m_painter.setPen(kMuted);
        m_painter.drawText(
            QRectF(row.x + static_cast<float>(shown) * step, row.y - 2, 3 * step, size + 4),
            Qt::AlignLeft | Qt::AlignVCenter, rest);
    }
}

} // namespace katalog
