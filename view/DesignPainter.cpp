// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignPainter.h"

#include <QColor>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

QColor toQColor(ColorRef color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

void DesignPainter::paint(QPainter& painter, QRect client, const DesignModel& model,
                          const PecPalette& pec, const SewPalette& sew, const QColor& background,
                          const QColor& textColor) {
    if (model.m_bShowDesign != 1)
        return;
    if (model.m_bStitchGraphics == 0)
        paintPlacard(painter, client, model.m_strFileName, textColor);
    else
        paintStitches(painter, client, model, pec, sew, background);
}

void DesignPainter::paintPlacard(QPainter& painter, QRect client, const std::string& name,
                                 const QColor& textColor) {
    // The name first, its top-left corner at (30, 30); a long name runs on unclipped.
    painter.setPen(textColor);
    const QPoint at = client.topLeft() + QPoint(30, 30);
    painter.drawText(at + QPoint(0, painter.fontMetrics().ascent()), QString::fromStdString(name));
    // Then the two bars, over whatever the text reached.
    const QColor bar = toQColor(kPlacardColor);
    painter.fillRect(QRect(client.topLeft() + QPoint(10, 10), QSize(250, 10)), bar);
    painter.fillRect(QRect(client.topLeft() + QPoint(10, 60), QSize(250, 10)), bar);
}

void DesignPainter::paintStitches(QPainter& painter, QRect client, const DesignData& model,
                                  const PecPalette& pec, const SewPalette& sew,
                                  const QColor& background) {
    const double ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const auto mapping = DesignMapping::fit({0, 0}, {client.width(), client.height()},
                                            model.m_nWidth, model.m_nHeight, ratio);
    if (!mapping)
        return;

    const QSize size(static_cast<int>(std::lround(client.width() * ratio)),
                     static_cast<int>(std::lround(client.height() * ratio)));
    if (m_canvas.size() != size)
        m_canvas = QImage(size, QImage::Format_RGB32);
    if (m_canvas.isNull())
        return;
    m_canvas.setDevicePixelRatio(ratio);
    m_canvas.fill(background);
    drawStitches(m_canvas, *mapping, model, pec, sew);
    painter.drawImage(client.topLeft(), m_canvas);
}

void drawStitches(QImage& canvas, const DesignMapping& mapping, const DesignData& model,
                  const PecPalette& pec, const SewPalette& sew) {
    drawStitches(PixelCanvas{reinterpret_cast<std::uint32_t*>(canvas.bits()), canvas.width(),
                             canvas.height(), canvas.bytesPerLine() / 4},
                 mapping, model, pec, sew);
}
