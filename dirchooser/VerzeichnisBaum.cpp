// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The directory tree of the chooser: read lazily, item by item, as the user opens it.

#include "VerzeichnisAuswahl.h"

#include "ChooserPaths.h"
#include "DirectoryProbe.h"

#include "platform/Names.h"
#include "platform/ShownText.h"

#include <QTreeWidget>

std::string CVerzeichnisAuswahl::ItemText(const QTreeWidgetItem* item) {
    return item->data(0, Qt::UserRole).toByteArray().toStdString();
}

bool CVerzeichnisAuswahl::IsPlaceholder(const QTreeWidgetItem* item) {
    return item->parent() && item->childCount() == 0 && !item->data(0, Qt::UserRole).isValid();
}

std::string CVerzeichnisAuswahl::ItemPath(const QTreeWidgetItem* item) const {
    std::string path = ItemText(item);
    for (const QTreeWidgetItem* ancestor = item->parent(); ancestor; ancestor = ancestor->parent())
        path = platform::joinPath(ItemText(ancestor), path);
    return path;
}

QTreeWidgetItem* CVerzeichnisAuswahl::AddPlaceholder(QTreeWidgetItem* item) {
    auto* placeholder = new QTreeWidgetItem;
    placeholder->setIcon(0, m_Bilder[BildOrdner]);
    item->addChild(placeholder);
    return placeholder;
}

bool CVerzeichnisAuswahl::AddPlaceholderIfSubdirs(QTreeWidgetItem* item, const std::string& path) {
    if (!dirchooser::hasSubdirectory(path))
        return false;
    AddPlaceholder(item);
    return true;
}

void CVerzeichnisAuswahl::DeleteChildren(QTreeWidgetItem* item) {
    // A selection inside goes to the item first, so that the directory shown stays one that
    // is in the tree.
    if (const QTreeWidgetItem* current = m_Verzeichnisbaum->currentItem()) {
        for (const QTreeWidgetItem* up = current->parent(); up; up = up->parent()) {
            if (up == item) {
                SelectItem(item);
                break;
            }
        }
    }
    qDeleteAll(item->takeChildren());
}

int CVerzeichnisAuswahl::FillChildren(QTreeWidgetItem* item, const std::string& path) {
    std::optional<std::vector<std::string>> names = dirchooser::listSubdirectories(path);
    if (!names) {
        // A drive without a medium keeps its expand button, to be tried again later.
        if (!item->parent())
            AddPlaceholder(item);
        return 0;
    }
    // Sorted once and inserted together: the same order as inserting each in its sorted
    // place, without moving thousands of items thousands of times.
    dirchooser::sortFolderNames(*names);
    QList<QTreeWidgetItem*> folders;
    folders.reserve(static_cast<qsizetype>(names->size()));
    for (const std::string& name : *names) {
        auto* folder = new QTreeWidgetItem;
        folder->setText(0, platform::shownText(name));
        folder->setData(0, Qt::UserRole,
                        QByteArray(name.data(), static_cast<qsizetype>(name.size())));
        folder->setIcon(0, m_OrdnerBild);
        AddPlaceholderIfSubdirs(folder, platform::joinPath(path, name));
        folders.append(folder);
    }
    item->addChildren(folders);
    return static_cast<int>(folders.size());
}

long CVerzeichnisAuswahl::OnItemexpandingTree(QTreeWidgetItem* item, bool expanding) {
    const std::string path = ItemPath(item);
    if (expanding) {
        DeleteChildren(item);
        return FillChildren(item, path) == 0 ? 1 : 0;
    }
    DeleteChildren(item);
    if (!item->parent())
        AddPlaceholder(item); // the drive is not read: it may be slow or without a medium
    else
        AddPlaceholderIfSubdirs(item, path);
    return 0;
}

void CVerzeichnisAuswahl::TreeItemExpanded(QTreeWidgetItem* item) {
    if (m_nStilleAenderungen > 0)
        return;
    // The view has opened the item already; a refused expansion closes it again before
    // anything is drawn.
    if (OnItemexpandingTree(item, true) != 0) {
        ++m_nStilleAenderungen;
        m_Verzeichnisbaum->collapseItem(item);
        --m_nStilleAenderungen;
    }
}

void CVerzeichnisAuswahl::TreeItemCollapsed(QTreeWidgetItem* item) {
    if (m_nStilleAenderungen > 0)
        return;
    OnItemexpandingTree(item, false);
}

void CVerzeichnisAuswahl::ExpandItem(QTreeWidgetItem* item) {
    m_Verzeichnisbaum->expandItem(item);
}

void CVerzeichnisAuswahl::CollapseItem(QTreeWidgetItem* item) {
    m_Verzeichnisbaum->collapseItem(item);
}

void CVerzeichnisAuswahl::SelectItem(QTreeWidgetItem* item) {
    m_Verzeichnisbaum->setCurrentItem(item);
}

long CVerzeichnisAuswahl::OnSelchangedTree(QTreeWidgetItem* item) {
    m_Verzeichnis = ItemPath(item);
    SetPathField(m_Verzeichnis);
    return 0;
}

QTreeWidgetItem* CVerzeichnisAuswahl::FindChildByPath(QTreeWidgetItem* item,
                                                      const std::string& path) const {
    for (int i = 0; i < item->childCount(); ++i) {
        if (ItemPath(item->child(i)) == path)
            return item->child(i);
    }
    return nullptr;
}

void CVerzeichnisAuswahl::SelectPath(QTreeWidgetItem* driveItem) {
    if (dirchooser::isNoLongerThanDriveRoot(m_Verzeichnis, m_Drives))
        return; // the drive item is selected already
    // Every selection on the way overwrites the directory: the walk follows a copy.
    const std::string start = m_Verzeichnis;
    QTreeWidgetItem* current = driveItem;
    for (const std::string& prefix : dirchooser::walkPrefixes(start, ItemText(driveItem))) {
        QTreeWidgetItem* child = FindChildByPath(current, prefix);
        if (!child)
            break; // nothing deeper can match either
        ExpandItem(child);
        SelectItem(child);
        current = child;
    }
}
