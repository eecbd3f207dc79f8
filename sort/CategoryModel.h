// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CategoryList.h"

#include <QAbstractListModel>

#include <functional>

// The one place the category list lives: its entries in their order, with their copy marks.
// The list widget shows it; the category walk fills it; a copy walks and clears its marks.
class CategoryModel : public QAbstractListModel, public CategoryMarks {
    Q_OBJECT
public:
    explicit CategoryModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}

    const CategoryList& list() const { return m_list; }
    // Changes the entries through change, then has every view show them anew.
    void rebuild(const std::function<void(CategoryList&)>& change);
    // Puts one entry at its place while the views keep their marks, selection and current
    // entry; returns its position.
    int insert(CategoryEntry entry);
    // Whether entries carry a mark the user can switch.
    void setCheckable(bool checkable);
    void setMarked(int position, bool marked);

    // The marks as a copy walks and clears them.
    int count() const override { return m_list.count(); }
    bool isMarked(int position) const override;
    void unmark(int position) override { setMarked(position, false); }
    std::string relativePath(int position) const override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    bool isRow(int position) const { return position >= 0 && position < m_list.count(); }

    CategoryList m_list;
    bool m_checkable = false;
};
