// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#pragma once

#include "dirchooser/VerzeichnisAuswahl.h"

#include <QTreeWidget>

#include <string>
#include <vector>

// The chooser's item whose path is p, looked for among the items its tree holds now; null when
// there is none. Placeholders ("…") are never found.
inline QTreeWidgetItem* chooserItem(const CVerzeichnisAuswahl& dlg, const std::string& p) {
    const QTreeWidget* tree = dlg.m_Verzeichnisbaum;
    std::vector<QTreeWidgetItem*> open;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        open.push_back(tree->topLevelItem(i));
    while (!open.empty()) {
        QTreeWidgetItem* it = open.back();
        open.pop_back();
        if (!CVerzeichnisAuswahl::IsPlaceholder(it) && dlg.ItemPath(it) == p)
            return it;
        for (int i = 0; i < it->childCount(); ++i)
            open.push_back(it->child(i));
    }
    return nullptr;
}
