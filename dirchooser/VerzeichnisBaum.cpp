// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// The directory tree of the chooser: read lazily, item by item, as the user opens it.

#include "VerzeichnisAuswahl.h"

#include "ChooserPaths.h"

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
    StartProbe(item, path);
    return item->childCount() > 0;
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
    // What is still being read for the item or below it has nowhere to go any more.
    CancelReadingUnder(item);
    StopWalkUnder(item);
    qDeleteAll(item->takeChildren());
}

int CVerzeichnisAuswahl::FillChildren(QTreeWidgetItem* item, const std::string& path) {
    return StartListing(item, path);
}

long CVerzeichnisAuswahl::OnItemexpandingTree(QTreeWidgetItem* item, bool expanding) {
    const std::string path = ItemPath(item);
    if (expanding) {
        DeleteChildren(item);
        // Still under way: the item stays open, showing that it is busy.
        return FillChildren(item, path) == 0 ? 1 : 0;
    }
    // A folder whose listing had not answered is not asked again: it keeps its button.
    const bool unanswered = IsListing(item);
    DeleteChildren(item);
    if (!item->parent() || unanswered)
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
    if (OnItemexpandingTree(item, true) != 0)
        Refuse(item);
}

void CVerzeichnisAuswahl::TreeItemCollapsed(QTreeWidgetItem* item) {
    if (m_nStilleAenderungen > 0)
        return;
    OnItemexpandingTree(item, false);
}

void CVerzeichnisAuswahl::Refuse(QTreeWidgetItem* item) {
    if (!item->isExpanded())
        return;
    ++m_nStilleAenderungen;
    m_Verzeichnisbaum->collapseItem(item);
    --m_nStilleAenderungen;
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

void CVerzeichnisAuswahl::ScrollToChildren(QTreeWidgetItem* item) {
    if (!item->isExpanded() || item->childCount() == 0)
        return;
    // The last child first, then the item: when they do not all fit, the item comes to the top
    // with as many of its children below it as there is room for.
    m_Verzeichnisbaum->scrollToItem(item->child(item->childCount() - 1));
    m_Verzeichnisbaum->scrollToItem(item);
}

long CVerzeichnisAuswahl::OnSelchangedTree(QTreeWidgetItem* item) {
    ShowDriveOf(item);
    // On its way to the start folder the walk leaves that folder in the field.
    if (m_bWegWaehlt)
        return 0;
    m_Weg.active = false; // anyone else choosing ends the walk
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
    // Every selection on the way would overwrite the directory: the walk follows a copy, and
    // the field shows the folder it goes to until it gets there.
    m_Weg = {true, dirchooser::walkPrefixes(m_Verzeichnis, ItemText(driveItem)), 0, driveItem};
    SetPathField(m_Verzeichnis);
    ContinueWalk();
}

void CVerzeichnisAuswahl::ContinueWalk() {
    // All levels that answer at once share one wait, so that the window's thread never waits
    // longer than for one slow read.
    const bool outermost = !m_WartenBis;
    if (outermost)
        m_WartenBis = Clock::now() + m_Antwortfrist;
    while (m_Weg.active) {
        if (IsListing(m_Weg.current))
            break; // goes on when the listing answers
        QTreeWidgetItem* child = m_Weg.next < m_Weg.prefixes.size()
                                     ? FindChildByPath(m_Weg.current, m_Weg.prefixes[m_Weg.next])
                                     : nullptr;
        if (!child) {
            EndWalk(); // nothing deeper can match either
            break;
        }
        ExpandItem(child);
        m_bWegWaehlt = true;
        SelectItem(child);
        m_bWegWaehlt = false;
        m_Weg.current = child;
        ++m_Weg.next;
    }
    if (outermost)
        m_WartenBis.reset();
}

void CVerzeichnisAuswahl::EndWalk() {
    m_Weg.active = false;
    QTreeWidgetItem* last = m_Weg.current;
    if (m_Verzeichnisbaum->currentItem() == last)
        OnSelchangedTree(last);
    else
        SelectItem(last);
}

void CVerzeichnisAuswahl::StopWalkUnder(const QTreeWidgetItem* item) {
    if (!m_Weg.active)
        return;
    for (const QTreeWidgetItem* up = m_Weg.current; up; up = up->parent()) {
        if (up == item) {
            // The folders the walk was on go away: it ends where the selection now is.
            m_Weg.current = const_cast<QTreeWidgetItem*>(item);
            EndWalk();
            return;
        }
    }
}
