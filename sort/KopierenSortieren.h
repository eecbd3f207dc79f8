// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CopyContext.h"

#include <QDialog>
#include <QList>
#include <QPixmap>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CategorySearch;
class CKategorieListe;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// The modeless copy-and-sort dialog, from which the user chooses source and target, steps
// through the source's designs and copies them into categories. The design view creates it,
// reads its directories and writes the current file into it through its pointer to the
// dialog; the dialog drives the view by user messages to the main window. It deletes itself
// once it is closed and the view has been told.
class CKopierenSortieren : public QDialog {
    Q_OBJECT
public:
    // Dialog resource and control ids; each control carries its id as object name.
    static constexpr int IDD = 131;
    static constexpr int IDOK = 1;
    static constexpr int kIdKategorien = 1003;
    static constexpr int kIdVorherige = 1012;
    static constexpr int kIdNaechste = 1013;
    static constexpr int kIdCopy = 1014;
    static constexpr int kIdQuelleAendern = 1019;
    static constexpr int kIdZielAendern = 1020;
    static constexpr int kIdQuelle = 1021;
    static constexpr int kIdZiel = 1022;
    static constexpr int kIdDateiname = 1023;
    static constexpr int kIdLoeschen = 1036;

    // Icons of the icon buttons.
    static constexpr int kIconSchliessen = 143;
    static constexpr int kIconNaechste = 138;
    static constexpr int kIconVorherige = 139;
    static constexpr int kIconLoeschen = 140;
    static constexpr int kIconCopy = 142;

    // Builds the controls; every text is empty until the view fills the members.
    explicit CKopierenSortieren(QWidget* parent = nullptr);
    ~CKopierenSortieren() override;

    CKategorieListe* m_KategorieListe;
    std::string m_strQuelle;
    std::string m_strZiel;
    std::string m_strFilePath;
    std::string m_strFileName;
    int m_bQuelleLoeschen = 0;
    int m_bDateienNichtUmbenennen = 0;
    int m_bMarkenBehalten = 0;
    int m_bWeiterblaettern = 0;
    int m_nKategorien = 0;
    QList<QPixmap> m_Marken;
    std::vector<std::uint8_t> m_Puffer;

    // Makes the dialog a top-level window owned by owner and initialises it; it is then
    // ready to be shown.
    bool Create(QWidget* owner);
    // Centres the dialog over its owner, kept on the owner's screen.
    void CenterWindow();

    bool OnInitDialog();
    // Shows the members in their fields (saveAndValidate false); nothing is ever read back.
    void DoDataExchange(bool saveAndValidate);
    void UpdateData(bool saveAndValidate);

    void OnQuelleAendern();
    void OnZielAendern();
    void OnVorherige();
    void OnNaechste();
    // WM_ANZEIGE_AKTUALISIEREN: the design view changed the current file. Returns 0.
    long OnAnzeigeAktualisieren();

    // The category list: rebuilt from m_strZiel (every mark is lost); the sub-directories
    // of a directory added depth first; one entry added. Marks already set stay.
    // FillCategories lists the target entry at once and the sub-directories as a walk on a
    // thread of its own finds them; choosing a target or closing the dialog drops that walk.
    void FillCategories();
    // Whether the walk FillCategories started is still finding categories.
    bool IsSearchingCategories() const;
    // Waits until that walk has ended and lists all it found; false when it did not end within
    // timeoutMs. For tests: the window itself never waits for a walk.
    bool WaitForCategories(int timeoutMs = 10000);
    int ScanCategories(const std::string& directory);
    int AddCategory(int position, const std::string& path);

    // "&Copy": the current file into every marked category, then moved or advanced.
    void OnCopy();
    // One copy of the current file into destination; 1 when made.
    int CopyTo(const std::string& destination);
    // Deletes the current file once the user confirmed.
    void OnLoeschen();
    // A right click in the list on the entry item (-1 beside every entry): a new category
    // below it. Returns the notification's result, 0.
    long OnRclickKategorien(int item);

    // Closing, by "Dialog schließen" or Enter (OnOK) or by Escape or the close box (OnCancel).
    void OnOK();
    void OnCancel();
    // After the window is gone: tells the view, then lets the object go.
    void PostNcDestroy();

    // Where the dialog's messages go: the main window, which relays them to the design view.
    QWidget* MainWindow() const;

    void accept() override;
    void reject() override;

protected:
    bool event(QEvent* event) override;

private:
    // What the file operations read of the members, and the buffer they reuse.
    CopyContext Context();
    void Send(int message) const;
    // A browsing step, held back while a copy runs.
    void Step(int message) const;
    void BuildControls();
    QLabel* MakeField(int id, int x, int y, int width, int height);
    QPushButton* MakeButton(int id, const QString& text, int x, int y, int width, int height);
    void DestroyWindow();
    // Lists what the walk found since the last turn; the busy look goes with the walk's end.
    void TakeCategories();
    void StopCategorySearch();
    void ShowSearching(bool searching);

    QLabel* m_feldQuelle = nullptr;
    QLabel* m_feldZiel = nullptr;
    QLabel* m_feldDateiname = nullptr;
    bool m_bZerstoert = false;

    std::unique_ptr<CategorySearch> m_pKategorieSuche;
    std::string m_strSuchZiel;              // the target the walk started from
    QTimer* m_pSuchTakt = nullptr;          // the turns that take the walk's finds
    QProgressBar* m_pSuchAnzeige = nullptr; // beside the list's title while the walk runs
    // A copy walks the entries by position: none may arrive meanwhile. While its file work
    // runs beside the window, the dialog's own commands wait for it too.
    bool m_bKopieLaeuft = false;
    // Marks a copy as running, with the busy pointer over the dialog, for as long as it lives.
    class CopyRunning {
    public:
        explicit CopyRunning(CKopierenSortieren& dialog);
        ~CopyRunning();
        CopyRunning(const CopyRunning&) = delete;
        CopyRunning& operator=(const CopyRunning&) = delete;

    private:
        CKopierenSortieren& m_dialog;
    };
};
