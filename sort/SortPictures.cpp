// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "SortPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyle>

namespace sortdialog {

namespace {

QPixmap markImage(bool marked) {
    QPixmap image(kMarkSize, kMarkSize);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.5));
    painter.setBrush(marked ? QBrush(QColor(255, 0, 0)) : QBrush(Qt::NoBrush));
    painter.drawRoundedRect(QRectF(1.5, 1.5, kMarkSize - 3, kMarkSize - 3), 3, 3);
    return image;
}

// Two sheets, the front one lying over the back one: a design copied.
QIcon copyIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) {
        QPixmap image(size, size);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 32.0, size / 32.0);
        painter.setPen(QPen(QColor(60, 60, 60), 1.5));
        for (const QPointF corner : {QPointF(4, 3), QPointF(12, 10)}) {
            painter.setBrush(Qt::white);
            painter.drawRect(QRectF(corner, QSizeF(16, 19)));
            for (int line = 0; line < 3; ++line) {
                const double y = corner.y() + 5 + line * 4;
                painter.drawLine(QPointF(corner.x() + 3, y), QPointF(corner.x() + 13, y));
            }
        }
        painter.end();
        icon.addPixmap(image);
    }
    return icon;
}

} // namespace

QList<QPixmap> markImages() {
    return {markImage(false), markImage(true)};
}

QIcon buttonIcon(int iconId, const QStyle* style) {
    switch (iconId) {
    case 143:
        return style->standardIcon(QStyle::SP_DialogCloseButton);
    case 138:
        return style->standardIcon(QStyle::SP_ArrowForward);
    case 139:
        return style->standardIcon(QStyle::SP_ArrowBack);
    case 140:
        return style->standardIcon(QStyle::SP_TrashIcon);
    case 142:
        return copyIcon();
    default:
        return {};
    }
}

} // namespace sortdialog
