// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CatalogDesign.h"
#include "PageLayout.h"

#include <QFont>
#include <QPointF>
#include <QString>

#include <vector>

class QPainter;

namespace katalog {

// Paints the catalogue's pages on a painter whose units are points: the PDF writer's at 72
// dots per inch. Everything is drawn as vectors and text, so the pages print sharp at any size.
class CatalogPainter {
public:
    CatalogPainter(QPainter& painter, const PageLayout& layout, QString title);

    // The title above and the page number below; page counts from 0.
    void paintFrame(int page);
    void paintHeading(float y, const QString& heading);
    void paintDesign(const PageRect& tile, const CatalogDesign& design);

private:
    void paintPicture(const CatalogDesign& design);
    void paintProblem(const PictureBox& box, const CatalogDesign& design);
    void paintSwatches(const PageRect& row, const std::vector<Stroke>& threads);

    QPainter& m_painter;
    const PageLayout& m_layout;
    QString m_title;
    QFont m_titleFont;
    QFont m_headingFont;
    QFont m_nameFont;
    QFont m_smallFont;
    std::vector<QPointF> m_points; // reused for every stroke
};

} // namespace katalog
