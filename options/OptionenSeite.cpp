// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "OptionenSeite.h"

#include "platform/GroupTitle.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QShowEvent>

#include <algorithm>

namespace {
// A check box row of the pages' layout tables is 10 dialog units high.
constexpr int kZeilenHoehe = 10;
// Room between a check box and the frame of its group box, and between that frame and the
// page's edge.
constexpr int kAbstandRahmen = 2;
constexpr int kAbstandSeite = 7;
} // namespace

COptionenSeite::COptionenSeite(int idd, const QString& caption) : m_units(font()) {
    setObjectName(QString::number(idd));
    // The sheet takes the tab's text from here.
    setWindowTitle(caption);
    setMinimumSize(m_units.x(kBreite), m_units.y(kHoehe));
}

void COptionenSeite::UpdateData(bool saveAndValidate) {
    if (saveAndValidate && !m_bInitialisiert)
        return;
    DoDataExchange(saveAndValidate);
    m_bInitialisiert = true;
}

void COptionenSeite::DDX_Check(bool saveAndValidate, QCheckBox* box, int& value) {
    if (saveAndValidate)
        value = box->isChecked() ? 1 : 0;
    else
        box->setChecked(value != 0);
}

QGroupBox* COptionenSeite::AddGroupBox(const QString& title, int x, int y, int width, int height) {
    auto* box = new QGroupBox(title, this);
    box->setGeometry(m_units.rect(x, y, width, height));
    m_GroupBoxes.push_back(box);
    return box;
}

QCheckBox* COptionenSeite::AddCheckBox(int id, const QString& text, int x, int y) {
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QString::number(id));
    // The layout tables give positions only: the box is as wide as its text needs and centred on
    // its row.
    const QSize hint = box->sizeHint();
    const int row = m_units.y(kZeilenHoehe);
    const int height = std::max(hint.height(), row);
    box->setGeometry(m_units.x(x), m_units.y(y) + (row - height) / 2, hint.width(), height);

    // Average letter widths keep the proportions only roughly: where a font's text runs
    // wider than the layout table allows, the frame and the page grow rather than cut it off.
    const int right = box->geometry().right() + m_units.x(kAbstandRahmen);
    for (QGroupBox* group : m_GroupBoxes) {
        if (!group->geometry().contains(box->geometry().topLeft()))
            continue;
        if (group->geometry().right() < right)
            group->resize(right - group->x() + 1, group->height());
        fitGroupTitle(group);
        setMinimumWidth(
            std::max(minimumWidth(), group->geometry().right() + 1 + m_units.x(kAbstandSeite)));
    }
    return box;
}

void COptionenSeite::showEvent(QShowEvent* event) {
    // Only the first showing fills the boxes; later ones (another tab and back, the window
    // restored) must not undo what the user has ticked meanwhile.
    if (!m_bInitialisiert && !event->spontaneous())
        UpdateData(false);
    QWidget::showEvent(event);
}
