// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "CategoryModel.h"

#include "platform/ShownText.h"

#include <QTextDocument>

namespace {
// A tooltip that looks like markup would be drawn as markup: such a name is escaped, and kept on
// one line as a plain tooltip is.
QString toolTipOf(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped());
}
} // namespace

void CategoryModel::rebuild(const std::function<void(CategoryList&)>& change) {
    beginResetModel();
    change(m_list);
    endResetModel();
}

int CategoryModel::insert(CategoryEntry entry) {
    std::string key;
    const int at = m_list.placeOf(entry, key);
    beginInsertRows({}, at, at);
    m_list.insertAt(at, std::move(entry), std::move(key));
    endInsertRows();
    return at;
}

void CategoryModel::setCheckable(bool checkable) {
    if (checkable == m_checkable)
        return;
    beginResetModel();
    m_checkable = checkable;
    endResetModel();
}

bool CategoryModel::isMarked(int position) const {
    return isRow(position) && m_list[position].marked;
}

void CategoryModel::setMarked(int position, bool marked) {
    if (!isRow(position) || m_list[position].marked == marked)
        return;
    m_list.setMarked(position, marked);
    const QModelIndex changed = index(position);
    emit dataChanged(changed, changed, {Qt::CheckStateRole});
}

std::string CategoryModel::relativePath(int position) const {
    return isRow(position) ? m_list[position].relativePath : std::string();
}

int CategoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_list.count();
}

QVariant CategoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !isRow(index.row()))
        return {};
    const CategoryEntry& entry = m_list[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        // Bytes that are not UTF-8 show as replacement characters; the entry keeps them.
        return platform::shownText(entry.text);
    case Qt::ToolTipRole: // the whole name, where the list cuts a long one short
        return toolTipOf(platform::shownText(entry.text));
    case Qt::CheckStateRole:
        if (m_checkable)
            return entry.marked ? Qt::Checked : Qt::Unchecked;
        return {};
    default:
        return {};
    }
}

bool CategoryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !m_checkable || !index.isValid())
        return false;
    setMarked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags CategoryModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_checkable)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}
