// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "SheetDriver.h"

#include <QApplication>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

SheetDriver::SheetDriver(std::function<void(CNadelixOptionen&)> action)
    : m_ran(std::make_shared<bool>(false)) {
    QTimer::singleShot(0, [ran = m_ran, action = std::move(action)] {
        auto* sheet = qobject_cast<CNadelixOptionen*>(QApplication::activeModalWidget());
        if (!sheet)
            return;
        *ran = true;
        action(*sheet);
        if (sheet->isVisible())
            sheet->reject();
    });
}

QCheckBox* checkBox(CNadelixOptionen& sheet, int id) {
    return sheet.findChild<QCheckBox*>(QString::number(id));
}

void showPage(CNadelixOptionen& sheet, int index) {
    QTabBar* bar = sheet.Tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void toggle(CNadelixOptionen& sheet, int id) {
    QCheckBox* box = checkBox(sheet, id);
    QVERIFY(box);
    QVERIFY(box->isVisible());
    QTest::mouseClick(box, Qt::LeftButton);
}

void clickButton(CNadelixOptionen& sheet, int id) {
    auto* button = sheet.findChild<QPushButton*>(QString::number(id));
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
}
