// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;

// The modal dialog that asks for the name of a new category below the directory it shows.
// At start it shows both members; "&Einfügen" reads both back.
class CNeueKategorie : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 146;
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int kIdName = 1052;
    static constexpr int kIdAktuell = 1053;

    explicit CNeueKategorie(QWidget* parent = nullptr);

    // The directory the category is made in, ending in the separator.
    std::string m_strAktuell;
    // The new directory's name as typed; nothing checks it.
    std::string m_strName;

    // At its first showing: the members into the controls, the focus on "&Einfügen".
    bool OnInitDialog();
    void DoDataExchange(bool saveAndValidate);

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_bInitialisiert = false;
    QLabel* m_feldAktuell;
    QLineEdit* m_feldName;
};
