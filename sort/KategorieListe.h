// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CategoryModel.h"

#include <QList>
#include <QListView>
#include <QPixmap>

#include <string>

class QContextMenuEvent;

// The category list of the copy-and-sort dialog: it shows the category model, one text per
// entry with a copy mark that a click on the mark or the space bar switches. Entries keep
// their text's exact bytes, which need not be UTF-8 (the list shows what can be shown of
// them), and the directory they stand for.
class CKategorieListe : public QListView {
    Q_OBJECT
public:
    // Extended styles: entries carry a mark; the entry under the mouse pointer is highlighted.
    static constexpr int LVS_EX_CHECKBOXES = 0x04;
    static constexpr int LVS_EX_ONECLICKACTIVATE = 0x40;

    explicit CKategorieListe(QWidget* parent = nullptr);

    // The one column: its heading names the list for assistive tools (no header is shown).
    void InsertColumn(const QString& heading, int width);
    void SetExtendedListViewStyle(int styles);
    // The two pictures the marks are drawn with: not marked, marked.
    void SetStateImages(const QList<QPixmap>& images);

    void DeleteAllItems();
    int GetItemCount() const { return m_model->count(); }
    std::string GetItemText(int row) const;
    bool IsMarked(int row) const { return m_model->isMarked(row); }
    void SetMarked(int row, bool marked) { m_model->setMarked(row, marked); }

    // The entries and their marks.
    CategoryModel& Model() { return *m_model; }
    // The entry at row; an empty one beyond the entries.
    CategoryEntry Entry(int row) const;

    // The entry under a point of the viewport; -1 for none.
    int HitTest(const QPoint& viewportPoint) const;

signals:
    // A right click (or the context-menu key) on the entry row, or beside every entry (-1).
    void rightClicked(int row);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    CategoryModel* m_model;
    class MarkStyle;
    MarkStyle* m_pMarkStyle = nullptr;
};
