// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "AboutDlg.h"

#include "ProgramIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(idName(IDD));
    setWindowTitle(QStringLiteral("Über Nadelix"));

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    icon->setPixmap(programIcon().pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);

    auto* version = new QLabel(QStringLiteral("Nadelix Version 0.9"), this);
    version->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(idName(IDOK));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ok);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addSpacing(12);
    layout->addWidget(version, 1);
    layout->addSpacing(24);
    layout->addLayout(buttons);
    // A fixed box, like every dialog of the program.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
