// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "GroupTitle.h"

#include <QGroupBox>

#include <algorithm>

void fitGroupTitle(QGroupBox* group) {
    QWidget* window = group->parentWidget();
    int highest = group->geometry().bottom();
    for (const QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        // A hidden control may sit on the title line on purpose (a busy bar after the title).
        if (control != group && control->isVisibleTo(window) &&
            group->geometry().contains(control->geometry()))
            highest = std::min(highest, control->y());
    }
    const int top = std::max(0, highest - group->contentsMargins().top());
    if (top >= group->y())
        return;
    QRect frame = group->geometry();
    frame.setTop(top);
    group->setGeometry(frame);
}
