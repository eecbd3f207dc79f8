#pragma once

#include <QDialog>

#include <string>

class QLabel;

// The modeless copy-and-sort dialog. The design view reads its directories and writes the
// current file into it through its pointer to the dialog.
class CKopierenSortieren : public QDialog {
    Q_OBJECT
public:
    // Dialog resource and the controls that show the members; the ids are the object names.
    static constexpr int IDD = 131;
    static constexpr int kIdQuelle = 1021;
    static constexpr int kIdZiel = 1022;
    static constexpr int kIdDateiname = 1023;

    explicit CKopierenSortieren(QWidget* parent = nullptr);

    std::string m_strQuelle;
    std::string m_strZiel;
    std::string m_strFilePath;
    std::string m_strFileName;
    int m_bQuelleLoeschen = 0;
    int m_bDateienNichtUmbenennen = 0;
    int m_bMarkenBehalten = 0;
    int m_bWeiterblaettern = 0;

    // WM_ANZEIGE_AKTUALISIEREN: the design view changed the current file. Returns 0.
    long OnAnzeigeAktualisieren();

    // Shows the members in their fields. Data only flows this way; nothing is read back.
    void UpdateFields();

protected:
    bool event(QEvent* event) override;

private:
    QLabel* makeField(int id);

    QLabel* m_feldQuelle;
    QLabel* m_feldZiel;
    QLabel* m_feldDateiname;
};
