#pragma once

#include "CategoryList.h"

#include <QList>
#include <QListWidget>
#include <QPixmap>

#include <string>

class QContextMenuEvent;

// The category list of the copy-and-sort dialog: one text per entry and a copy mark that a
// click on the mark or the space bar switches. Entries keep their text's exact bytes, which
// need not be UTF-8 (the list shows what can be shown of them), and the directory they stand
// for. The marks live only here.
class CKategorieListe : public QListWidget {
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
    // Inserts an unmarked entry at row position (clamped to the end); returns its row.
    int InsertItem(int position, const std::string& text);
    int GetItemCount() const { return count(); }
    std::string GetItemText(int row) const;
    bool IsMarked(int row) const;
    void SetMarked(int row, bool marked);

    // Shows the entries of list in its order, with their marks.
    void Show(const CategoryList& list);
    // The entry at row as the file operations know it.
    CategoryEntry Entry(int row) const;
    // Every entry, with its mark, in the list's order.
    CategoryList Entries() const;
    // The marks as a copy walks and clears them.
    CategoryMarks& Marks() { return m_marks; }

    // The entry under a point of the viewport; -1 for none.
    int HitTest(const QPoint& viewportPoint) const;

signals:
    // A right click (or the context-menu key) on the entry row, or beside every entry (-1).
    void rightClicked(int row);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    class ListMarks : public CategoryMarks {
    public:
        explicit ListMarks(CKategorieListe& list) : m_list(list) {}
        int count() const override { return m_list.GetItemCount(); }
        bool isMarked(int position) const override { return m_list.IsMarked(position); }
        void unmark(int position) override { m_list.SetMarked(position, false); }
        std::string relativePath(int position) const override {
            return m_list.Entry(position).relativePath;
        }

    private:
        CKategorieListe& m_list;
    };

    ListMarks m_marks{*this};
    int m_nStyles = 0;
    class MarkStyle;
    MarkStyle* m_pMarkStyle = nullptr;
};
