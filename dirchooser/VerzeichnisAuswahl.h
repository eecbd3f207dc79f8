// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "platform/Drives.h"

#include <QDialog>
#include <QIcon>
#include <array>
#include <string>

class QComboBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// The modal dialog "Verzeichnis auswählen": a drive box, a directory tree that is read
// lazily as its items are expanded, and a field showing the directory chosen. The caller sets
// m_Verzeichnis, runs the dialog, and on acceptance takes m_Verzeichnis back.
class CVerzeichnisAuswahl : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 130;
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int IDC_LAUFWERK = 1001;
    static constexpr int IDC_VERZEICHNIS = 1005;
    static constexpr int IDC_VERZEICHNISBAUM = 1017;

    // The pictures of the drive box and the tree, by their place in the image strip.
    enum Bild { BildFestplatte, BildDiskette, BildCd, BildNetz, BildOrdner, BildOrdnerOffen };

    explicit CVerzeichnisAuswahl(QWidget* parent = nullptr);

    // The controls and the directory, in the order they are bound.
    QComboBox* m_Laufwerke;         // control 1001, the drive box
    QTreeWidget* m_Verzeichnisbaum; // control 1017, the directory tree
    std::string m_Verzeichnis;      // exchanged with control 1005; exact bytes
    std::array<QIcon, 6> m_Bilder;  // made at the start, gone with the dialog
    QIcon m_OrdnerBild;             // closed folder, open while selected

    // Writes m_Verzeichnis into control 1005 (false), or reads it back (true).
    void DoDataExchange(bool saveAndValidate);

    bool OnInitDialog();
    void OnOK();
    void OnSelchangeDrive();
    // Returns nonzero when the expansion is refused.
    long OnItemexpandingTree(QTreeWidgetItem* item, bool expanding);
    long OnSelchangedTree(QTreeWidgetItem* item);

    void FillDriveBox();
    void AddDriveToBox(const std::string& root);
    bool AddDriveToTree(const std::string& root);
    bool AddPlaceholderIfSubdirs(QTreeWidgetItem* item, const std::string& path);
    std::string ItemPath(const QTreeWidgetItem* item) const;
    void DeleteChildren(QTreeWidgetItem* item);
    int FillChildren(QTreeWidgetItem* item, const std::string& path);
    void SelectPath(QTreeWidgetItem* driveItem);

    // An item's text exactly as on disk (the shown text may have lost bytes that are not
    // UTF-8); empty for a placeholder.
    static std::string ItemText(const QTreeWidgetItem* item);
    static bool IsPlaceholder(const QTreeWidgetItem* item);
    // The root text of a drive box entry.
    std::string DriveBoxText(int index) const;
    // What control 1005 holds, exactly.
    std::string PathFieldText() const;

    // Expands an item through the same handler as a click would, and refuses as it does.
    void ExpandItem(QTreeWidgetItem* item);
    void CollapseItem(QTreeWidgetItem* item);
    void SelectItem(QTreeWidgetItem* item);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void SetPathField(const std::string& text);
    platform::DriveType DriveTypeOf(const std::string& root) const;
    QTreeWidgetItem* AddPlaceholder(QTreeWidgetItem* item);
    QTreeWidgetItem* FindChildByPath(QTreeWidgetItem* item, const std::string& path) const;
    void TreeItemExpanded(QTreeWidgetItem* item);
    void TreeItemCollapsed(QTreeWidgetItem* item);

    QLabel* m_Pfadfeld = nullptr;  // control 1005
    platform::DriveList m_Drives;  // read when the drive box is filled
    bool m_bInitialisiert = false; // OnInitDialog has run
    int m_nStilleAenderungen = 0;  // expansions and collapses done by the handlers themselves
};
