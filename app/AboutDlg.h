// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "Resource.h"

#include <QDialog>

// The About box "Über Nadelix": the program icon, the version and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = IDD_ABOUTBOX;

    explicit CAboutDlg(QWidget* parent = nullptr);
};
