#pragma once

#include <QList>
#include <QListWidget>
#include <QPixmap>

#include <string>

class QContextMenuEvent;

// The category list of the copy-and-sort dialog: one text per entry and a copy mark that a
// click on the mark or the space bar switches. Entries keep their text's exact bytes, which
// need not be UTF-8; the list shows what can be shown of them.
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

    // The entry under a point of the viewport; -1 for none.
    int HitTest(const QPoint& viewportPoint) const;

signals:
    // A right click (or the context-menu key) on the entry row, or beside every entry (-1).
    void rightClicked(int row);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int m_nStyles = 0;
    class MarkStyle;
    MarkStyle* m_pMarkStyle = nullptr;
};
