// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "platform/DialogUnits.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QGroupBox;

// One page of the options sheet. A page shows its members in its check boxes when it is
// first shown and takes them back when it is left or the sheet is confirmed; a page the user
// never saw keeps its members as they were given.
class COptionenSeite : public QWidget {
    Q_OBJECT
public:
    // Every page is 240 × 95 dialog units.
    static constexpr int kBreite = 240;
    static constexpr int kHoehe = 95;

    // Members → check boxes (saveAndValidate false) or check boxes → members (true). Taking
    // the boxes back is skipped until the page has shown its members once.
    void UpdateData(bool saveAndValidate);
    // The page is being left, or the sheet confirmed, while this page was current.
    void OnKillActive() { UpdateData(true); }
    bool IsInitialised() const { return m_bInitialisiert; }

protected:
    COptionenSeite(int idd, const QString& caption);

    virtual void DoDataExchange(bool saveAndValidate) = 0;
    // Checked = 1, unchecked = 0; any non-zero member shows as checked.
    static void DDX_Check(bool saveAndValidate, QCheckBox* box, int& value);

    // Controls placed in dialog units; check boxes carry their control id as object name.
    QGroupBox* AddGroupBox(const QString& title, int x, int y, int width, int height);
    QCheckBox* AddCheckBox(int id, const QString& text, int x, int y);

    void showEvent(QShowEvent* event) override;

private:
    DialogUnits m_units;
    std::vector<QGroupBox*> m_GroupBoxes;
    bool m_bInitialisiert = false;
};
