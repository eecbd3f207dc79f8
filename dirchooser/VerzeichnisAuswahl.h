// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "DirectoryJob.h"
#include "platform/Drives.h"

#include <QDialog>
#include <QIcon>
#include <array>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

// The modal dialog "Verzeichnis auswählen": a drive box, a directory tree that is read
// lazily as its items are expanded, and a field showing the directory chosen. The caller sets
// m_Verzeichnis, runs the dialog, and on acceptance takes m_Verzeichnis back.
//
// Directories are read on threads of their own (DirectoryJob). An answer that comes within
// kAnswerAtOnce is shown before the window draws again, as if read in place; a later one is
// shown as it comes while the item shows that it is busy, and one that takes longer than the
// listing timeout is given up with a message. The dialog never waits for a thread to end.
class CVerzeichnisAuswahl : public QDialog {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;
    // How long the window's thread waits for answers before it shows an item as busy: for one
    // read, or in all for the reads of the walk to the start folder.
    static constexpr std::chrono::milliseconds kAnswerAtOnce{100};
    // How long a drive may go without answering before the chooser gives up on it. A slow
    // drive that goes on answering is waited for.
    static constexpr std::chrono::milliseconds kListingTimeout{3000};

    static constexpr int IDD = 130;
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    static constexpr int IDC_LAUFWERK = 1001;
    static constexpr int IDC_VERZEICHNIS = 1005;
    static constexpr int IDC_VERZEICHNISBAUM = 1017;

    // The pictures of the drive box and the tree, by their place in the image strip.
    enum Bild { BildFestplatte, BildDiskette, BildCd, BildNetz, BildOrdner, BildOrdnerOffen };

    explicit CVerzeichnisAuswahl(QWidget* parent = nullptr);
    ~CVerzeichnisAuswahl() override;

    // The listing timeout of dialogs opened from now on; tests shorten it.
    static void setListingTimeout(std::chrono::milliseconds timeout);
    static std::chrono::milliseconds listingTimeout();
    // How long dialogs opened from now on wait for answers before they show an item as busy
    // (kAnswerAtOnce); tests of the tree alone lengthen it, so that a busy machine does not turn
    // their reads into late ones.
    static void setAnswerWait(std::chrono::milliseconds wait);
    static std::chrono::milliseconds answerWait();

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

    // Whether answers are still awaited: listings, probes, or the walk to the start folder.
    bool IsReading() const;
    // Whether the item's listing is under way (it shows a busy child meanwhile).
    bool IsListing(const QTreeWidgetItem* item) const;

    void done(int result) override;

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
    // Brings an opened item's children into view, as many as fit, the item staying in view.
    void ScrollToChildren(QTreeWidgetItem* item);
    // Has the drive box show the drive the item lies on.
    void ShowDriveOf(const QTreeWidgetItem* item);

    // One directory read for an item: its listing (and then its children's probes), or the
    // probe of a collapsed folder for its expand button.
    struct Auftrag {
        QTreeWidgetItem* item;
        std::shared_ptr<dirchooser::DirectoryJob> job;
        dirchooser::DirectoryJob::Kind kind;
        std::string path;
        QList<QTreeWidgetItem*> children; // once listed, in the listing's order
        bool listed = false;
        Clock::time_point giveUpAt; // moves on with every sign of life
        long progress = 0;
    };
    // The walk from the drive item down to the folder the dialog was opened on.
    struct Weg {
        bool active = false;
        std::vector<std::string> prefixes;
        std::size_t next = 0;
        QTreeWidgetItem* current = nullptr;
    };

    // Starts reading; what answers within the wait (WaitDeadline) is shown at once. A listing
    // returns the number of folders shown, or -1 while it is still under way. A probe leaves
    // the folder its button until it answers that there is nothing to open.
    int StartListing(QTreeWidgetItem* item, const std::string& path);
    void StartProbe(QTreeWidgetItem* item, const std::string& path);
    // Mount points of drives: never opened to probe them, they only get a button.
    std::vector<std::string> DriveRoots() const;
    Clock::time_point WaitDeadline() const;
    // Shows what has come for a job. Returns the number of folders shown when the answers hold
    // the listing, else -1.
    int Apply(Auftrag& auftrag, dirchooser::DirectoryJob::Answers answers);
    void DropPlaceholder(QTreeWidgetItem* item);
    void Refuse(QTreeWidgetItem* item);
    void GiveUp(Auftrag& auftrag);
    void Poll();
    void CancelReadingUnder(const QTreeWidgetItem* item);
    void CancelAllReading();
    void UpdateBusyCursor();
    bool HasJob(const QTreeWidgetItem* item) const;
    void ContinueWalk();
    void EndWalk();
    void StopWalkUnder(const QTreeWidgetItem* item);

    QLabel* m_Pfadfeld = nullptr;  // control 1005
    platform::DriveList m_Drives;  // read when the drive box is filled
    bool m_bInitialisiert = false; // OnInitDialog has run
    int m_nStilleAenderungen = 0;  // expansions and collapses done by the handlers themselves

    std::vector<Auftrag> m_Auftraege;             // reads whose answers are still awaited
    QTimer* m_Abfrage = nullptr;                  // looks for answers while any are awaited
    std::optional<Clock::time_point> m_WartenBis; // the end of the walk's wait, while it steps
    std::chrono::milliseconds m_Zeitlimit;        // the listing timeout of this dialog
    std::chrono::milliseconds m_Antwortfrist;     // the wait for answers of this dialog
    Weg m_Weg;
    bool m_bWegWaehlt = false; // the walk, not the user, is moving the selection
};
