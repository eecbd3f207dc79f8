// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "ProgramIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon programIcon() {
    // The resources live in a static library: make sure they are linked and registered.
    Q_INIT_RESOURCE(nadelix);
    // Rendered here rather than by an icon-engine plugin, so the icon never silently
    // depends on what is installed at run time.
    QSvgRenderer renderer(QStringLiteral(":/icons/nadelix.svg"));
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
