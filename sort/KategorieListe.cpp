#include "KategorieListe.h"

#include "SortPictures.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>

namespace {
// The entry's text as it is on disk, beside the text that is shown.
constexpr int kExactTextRole = Qt::UserRole;
// The whole directory below the target, which a text cut to its limit no longer names.
constexpr int kRelativePathRole = Qt::UserRole + 1;
constexpr int kIsTargetRole = Qt::UserRole + 2;

QByteArray bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

// Draws the item-view check indicator with the list's own two mark pictures and otherwise
// looks like the application's style.
class CKategorieListe::MarkStyle : public QProxyStyle {
public:
    MarkStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

    void setImages(const QList<QPixmap>& images) { m_images = images; }

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
            return sortdialog::kMarkSize;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element != PE_IndicatorItemViewItemCheck || m_images.size() < 2) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const QPixmap& image = m_images.at(option->state & State_On ? 1 : 0);
        const QSize size = image.deviceIndependentSize().toSize();
        QRect target(QPoint(), size);
        target.moveCenter(option->rect.center());
        painter->drawPixmap(target, image);
    }

private:
    QList<QPixmap> m_images;
};

CKategorieListe::CKategorieListe(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false); // the entries arrive in their order, the target entry first
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

void CKategorieListe::InsertColumn(const QString& heading, int) {
    // A list without columns: the texts are shown whole and scrolled sideways when longer.
    setAccessibleName(heading);
}

void CKategorieListe::SetExtendedListViewStyle(int styles) {
    m_nStyles = styles;
    const bool hot = (styles & LVS_EX_ONECLICKACTIVATE) != 0;
    setMouseTracking(hot);
    viewport()->setAttribute(Qt::WA_Hover, hot);
}

void CKategorieListe::SetStateImages(const QList<QPixmap>& images) {
    if (!m_pMarkStyle) {
        // A child of the list, so it is deleted only after the list is done with it.
        m_pMarkStyle = new MarkStyle;
        m_pMarkStyle->setParent(this);
        m_pMarkStyle->setImages(images);
        setStyle(m_pMarkStyle);
    } else {
        m_pMarkStyle->setImages(images);
    }
    viewport()->update();
}

void CKategorieListe::DeleteAllItems() {
    clear();
}

int CKategorieListe::InsertItem(int position, const std::string& text) {
    const int row = std::clamp(position, 0, count());
    auto* entry =
        new QListWidgetItem(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    entry->setData(kExactTextRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    if (m_nStyles & LVS_EX_CHECKBOXES) {
        entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
    }
    insertItem(row, entry);
    return row;
}

std::string CKategorieListe::GetItemText(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry ? entry->data(kExactTextRole).toByteArray().toStdString() : std::string();
}

bool CKategorieListe::IsMarked(int row) const {
    const QListWidgetItem* entry = item(row);
    return entry && entry->checkState() == Qt::Checked;
}

void CKategorieListe::SetMarked(int row, bool marked) {
    if (QListWidgetItem* entry = item(row))
        entry->setCheckState(marked ? Qt::Checked : Qt::Unchecked);
}

void CKategorieListe::Show(const CategoryList& list) {
    DeleteAllItems();
    for (const CategoryEntry& entry : list.entries()) {
        const int row = InsertItem(GetItemCount(), entry.text);
        item(row)->setData(kRelativePathRole, bytes(entry.relativePath));
        item(row)->setData(kIsTargetRole, entry.isTarget);
        SetMarked(row, entry.marked);
    }
}

CategoryEntry CKategorieListe::Entry(int row) const {
    const QListWidgetItem* entry = item(row);
    if (!entry)
        return {};
    return {GetItemText(row), entry->data(kRelativePathRole).toByteArray().toStdString(),
            entry->data(kIsTargetRole).toBool(), IsMarked(row)};
}

CategoryList CKategorieListe::Entries() const {
    CategoryList list;
    for (int row = 0; row < GetItemCount(); ++row)
        list.insert(Entry(row));
    return list;
}

int CKategorieListe::HitTest(const QPoint& viewportPoint) const {
    const QModelIndex index = indexAt(viewportPoint);
    return index.isValid() ? index.row() : -1;
}

void CKategorieListe::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard there is no pointer; the current entry is the one meant.
    const int row =
        event->reason() == QContextMenuEvent::Mouse ? HitTest(event->pos()) : currentRow();
    event->accept();
    emit rightClicked(row);
}
