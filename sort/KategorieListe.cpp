// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "KategorieListe.h"

#include "SortPictures.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

#include <algorithm>

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

CKategorieListe::CKategorieListe(QWidget* parent)
    : QListView(parent), m_model(new CategoryModel(this)) {
    setModel(m_model);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
}

void CKategorieListe::InsertColumn(const QString& heading, int) {
    // A list without columns: the texts are shown whole and scrolled sideways when longer.
    setAccessibleName(heading);
}

void CKategorieListe::SetExtendedListViewStyle(int styles) {
    m_model->setCheckable((styles & LVS_EX_CHECKBOXES) != 0);
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
    m_model->rebuild([](CategoryList& list) { list.clear(); });
}

std::string CKategorieListe::GetItemText(int row) const {
    return Entry(row).text;
}

CategoryEntry CKategorieListe::Entry(int row) const {
    const CategoryList& list = m_model->list();
    return row >= 0 && row < list.count() ? list[row] : CategoryEntry{};
}

int CKategorieListe::HitTest(const QPoint& viewportPoint) const {
    const QModelIndex index = indexAt(viewportPoint);
    return index.isValid() ? index.row() : -1;
}

void CKategorieListe::contextMenuEvent(QContextMenuEvent* event) {
    // From the keyboard there is no pointer; the current entry is the one meant.
    const int row =
        event->reason() == QContextMenuEvent::Mouse ? HitTest(event->pos()) : currentIndex().row();
    event->accept();
    emit rightClicked(row);
}
