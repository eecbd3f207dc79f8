// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "Palettes.h"
#include "StitchDrawing.h"

#include "design/DesignModel.h"

#include <QImage>
#include <QRect>

#include <string>

class QColor;
class QPainter;

QColor toQColor(ColorRef color);

// Paints what the design model shows. The stitches are drawn straight into a pixel buffer
// that is kept between paints and handed to the painter in one piece: far cheaper than a
// painter call per line, and a repaint allocates nothing unless the size changed.
// Draws the model's stitches into canvas, an image of 32 bits a pixel.
void drawStitches(QImage& canvas, const DesignMapping& mapping, const DesignData& model,
                  const PecPalette& pec, const SewPalette& sew);

class DesignPainter {
public:
    // The placard bars' colour (FF0080).
    static constexpr ColorRef kPlacardColor = colorFromRgb(0xFF0080);

    // Paints the model's picture into client (painter coordinates) over background, the
    // colour the caller has already filled it with. textColor is the placard's name colour.
    void paint(QPainter& painter, QRect client, const DesignModel& model, const PecPalette& pec,
               const SewPalette& sew, const QColor& background, const QColor& textColor);

    void paintPlacard(QPainter& painter, QRect client, const std::string& name,
                      const QColor& textColor);
    void paintStitches(QPainter& painter, QRect client, const DesignData& model,
                       const PecPalette& pec, const SewPalette& sew, const QColor& background);

private:
    QImage m_canvas;
};
