// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "KopierenSortieren.h"

#include "CategorySearch.h"
#include "CategoryWalk.h"
#include "DesignCopy.h"
#include "KategorieListe.h"
#include "SortCommands.h"
#include "SortPictures.h"
#include "platform/DialogUnits.h"
#include "platform/GroupTitle.h"
#include "platform/ModalQuestions.h"
#include "platform/Names.h"
#include "platform/ShownText.h"
#include "platform/UserMessages.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace {

constexpr Qt::WindowFlags kFensterArt =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// A walk that ends this soon (a local disk) is listed whole at once, without a busy look that
// would only flicker.
constexpr std::chrono::milliseconds kSofort{20};
// How often the list takes what the walk found meanwhile.
constexpr int kSuchTaktMs = 40;

} // namespace

CKopierenSortieren::CKopierenSortieren(QWidget* parent) : QDialog(parent, kFensterArt) {
    BuildControls();
}

CKopierenSortieren::~CKopierenSortieren() = default; // drops a walk still running

QLabel* CKopierenSortieren::MakeField(int id, int x, int y, int width, int height) {
    auto* field = new QLabel(this);
    field->setObjectName(QString::number(id));
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // File names are shown as they are, never read as markup.
    field->setTextFormat(Qt::PlainText);
    field->setGeometry(DialogUnits(font()).rect(x, y, width, height));
    return field;
}

QPushButton* CKopierenSortieren::MakeButton(int id, const QString& text, int x, int y, int width,
                                            int height) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::number(id));
    button->setGeometry(DialogUnits(font()).rect(x, y, width, height));
    return button;
}

void CKopierenSortieren::BuildControls() {
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("Kopieren und Sortieren"));
    setModal(false);
    const DialogUnits du(font());

    // The frames first, so that the controls they frame lie above them.
    const struct {
        const char* text;
        int x, y, width, height;
    } groups[] = {
        {"Designkategorien", 1, 32, 117, 236},
        {"Ende", 145, 47, 45, 45},
        {"Blättern in den Dateien", 121, 113, 93, 44},
        {"Löschen <--  --> Kopieren", 121, 173, 93, 62},
    };
    QGroupBox* kategorien = nullptr;
    for (const auto& group : groups) {
        auto* box = new QGroupBox(QString::fromUtf8(group.text), this);
        box->setGeometry(du.rect(group.x, group.y, group.width, group.height));
        if (!kategorien)
            kategorien = box;
    }

    // The two fields end where the buttons beside them begin, a unit short of the layout table's
    // width, which would run them under the buttons.
    (new QLabel(QStringLiteral("Quellverzeichnis:"), this))->setGeometry(du.rect(3, 3, 58, 12));
    m_feldQuelle = MakeField(kIdQuelle, 62, 3, 109, 12);
    m_feldQuelle->setText(QStringLiteral("Bitte auswählen"));
    QPushButton* quelleAendern =
        MakeButton(kIdQuelleAendern, QStringLiteral("Ändern"), 171, 3, 43, 12);

    (new QLabel(QStringLiteral("Zielverzeichnis:"), this))->setGeometry(du.rect(3, 17, 58, 12));
    m_feldZiel = MakeField(kIdZiel, 62, 17, 109, 12);
    m_feldZiel->setText(QStringLiteral("Bitte auswählen"));
    QPushButton* zielAendern =
        MakeButton(kIdZielAendern, QStringLiteral("Ändern"), 171, 17, 43, 12);

    m_KategorieListe = new CKategorieListe(this);
    m_KategorieListe->setObjectName(QString::number(kIdKategorien));
    m_KategorieListe->setGeometry(du.rect(5, 42, 109, 222));
    fitGroupTitle(kategorien);

    // While the walk runs: a busy bar in the list frame's title line, after its title.
    m_pSuchAnzeige = new QProgressBar(this);
    m_pSuchAnzeige->setRange(0, 0);
    m_pSuchAnzeige->setTextVisible(false);
    m_pSuchAnzeige->setAccessibleName(QStringLiteral("Kategorien werden gesucht"));
    m_pSuchAnzeige->setToolTip(m_pSuchAnzeige->accessibleName());
    {
        const QFontMetrics metrics(kategorien->font());
        const QRect frame = kategorien->geometry(), list = m_KategorieListe->geometry();
        const int left = frame.left() + metrics.horizontalAdvance(kategorien->title()) +
                         metrics.averageCharWidth() * 3;
        const int height = std::max(4, metrics.height() / 2);
        m_pSuchAnzeige->setGeometry(left, frame.top() + (metrics.height() - height) / 2,
                                    std::max(8, list.right() - left), height);
    }
    m_pSuchAnzeige->hide();
    m_pSuchTakt = new QTimer(this);
    m_pSuchTakt->setInterval(kSuchTaktMs);
    connect(m_pSuchTakt, &QTimer::timeout, this, &CKopierenSortieren::TakeCategories);

    QPushButton* schliessen = MakeButton(IDOK, QStringLiteral("Dialog schließen"), 155, 59, 26, 26);
    schliessen->setDefault(true);
    QPushButton* vorherige =
        MakeButton(kIdVorherige, QStringLiteral("vorherige"), 127, 128, 40, 20);
    QPushButton* naechste = MakeButton(kIdNaechste, QStringLiteral("nächste"), 170, 128, 40, 20);

    m_feldDateiname = MakeField(kIdDateiname, 127, 185, 83, 12);
    m_feldDateiname->setText(QStringLiteral("Dateiname"));
    QPushButton* loeschen = MakeButton(kIdLoeschen, QStringLiteral("Button1"), 127, 203, 26, 26);
    QPushButton* copy = MakeButton(kIdCopy, QStringLiteral("&Copy"), 170, 203, 40, 26);

    // The controls that take the focus, in the order Tab visits them.
    QWidget* const tabOrder[] = {schliessen, m_KategorieListe, vorherige,   naechste,
                                 copy,       quelleAendern,    zielAendern, loeschen};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(quelleAendern, &QPushButton::clicked, this, &CKopierenSortieren::OnQuelleAendern);
    connect(zielAendern, &QPushButton::clicked, this, &CKopierenSortieren::OnZielAendern);
    connect(naechste, &QPushButton::clicked, this, &CKopierenSortieren::OnNaechste);
    connect(vorherige, &QPushButton::clicked, this, &CKopierenSortieren::OnVorherige);
    connect(schliessen, &QPushButton::clicked, this, &CKopierenSortieren::OnOK);
    connect(copy, &QPushButton::clicked, this, &CKopierenSortieren::OnCopy);
    connect(loeschen, &QPushButton::clicked, this, &CKopierenSortieren::OnLoeschen);
    connect(m_KategorieListe, &CKategorieListe::rightClicked, this,
            &CKopierenSortieren::OnRclickKategorien);

    setFixedSize(du.x(216), du.y(271));
}

bool CKopierenSortieren::Create(QWidget* owner) {
    // A top-level window of its own that stays in front of its owner.
    setParent(owner, kFensterArt);
    return OnInitDialog();
}

void CKopierenSortieren::CenterWindow() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QRect frame = frameGeometry();
    if (owner && !isVisible()) {
        // The window manager has not framed the dialog yet: it will get a frame like its
        // owner's.
        const QRect ownerFrame = owner->frameGeometry(), ownerClient = owner->geometry();
        frame.setSize(size() + ownerFrame.size() - ownerClient.size());
    }
    frame.moveCenter(owner ? owner->frameGeometry().center() : frame.center());
    // Wholly on the screen, even when the owner is partly off it.
    if (const QScreen* screen = owner ? owner->screen() : this->screen()) {
        const QRect available = screen->availableGeometry();
        frame.moveLeft(std::max(available.left(),
                                std::min(frame.left(), available.right() - frame.width() + 1)));
        frame.moveTop(std::max(available.top(),
                               std::min(frame.top(), available.bottom() - frame.height() + 1)));
    }
    move(frame.topLeft());
}

void CKopierenSortieren::DoDataExchange(bool saveAndValidate) {
    if (saveAndValidate)
        return; // the fields only ever show the members
    const auto show = [](QLabel* field, const std::string& text) {
        field->setText(platform::shownText(text));
        // The fields are narrow; the whole text is one pointer rest away.
        field->setToolTip(platform::shownText(text));
    };
    show(m_feldQuelle, m_strQuelle);
    show(m_feldZiel, m_strZiel);
    show(m_feldDateiname, m_strFileName);
}

void CKopierenSortieren::UpdateData(bool saveAndValidate) {
    DoDataExchange(saveAndValidate);
}

bool CKopierenSortieren::OnInitDialog() {
    UpdateData(false);

    const struct {
        int control, icon;
    } icons[] = {{IDOK, kIconSchliessen},
                 {kIdNaechste, kIconNaechste},
                 {kIdVorherige, kIconVorherige},
                 {kIdLoeschen, kIconLoeschen},
                 {kIdCopy, kIconCopy}};
    for (const auto& entry : icons) {
        auto* button = findChild<QPushButton*>(QString::number(entry.control));
        // Only the picture is shown; the text stays as the button's name and its mnemonic.
        // The delete button's text in the layout table is a placeholder; its frame names it.
        const QString text = button->text();
        button->setAccessibleName(entry.control == kIdLoeschen
                                      ? QStringLiteral("Löschen")
                                      : QString(text).remove(QLatin1Char('&')));
        button->setToolTip(button->accessibleName());
        // Setting the text sets the mnemonic from it, so the shortcut comes after: "&Copy"
        // keeps Alt+C.
        button->setText(QString());
        button->setShortcut(QKeySequence::mnemonic(text));
        button->setIcon(sortdialog::buttonIcon(entry.icon, style()));
        const int room = std::min(button->width(), button->height()) - 6;
        button->setIconSize(QSize(32, 32).boundedTo(QSize(room, room)));
    }

    m_Marken = sortdialog::markImages();
    m_KategorieListe->InsertColumn(QStringLiteral("Verzeichnis"), 200);
    m_KategorieListe->SetExtendedListViewStyle(CKategorieListe::LVS_EX_CHECKBOXES |
                                               CKategorieListe::LVS_EX_ONECLICKACTIVATE);
    m_KategorieListe->SetStateImages(m_Marken);
    m_nKategorien = 0;
    if (!m_strZiel.empty())
        FillCategories();
    return true;
}

QWidget* CKopierenSortieren::MainWindow() const {
    // The owner is the main window; without one, the application's main window.
    if (QWidget* owner = parentWidget())
        return owner->window();
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto main = std::find_if(windows.begin(), windows.end(), [](QWidget* window) {
        return qobject_cast<QMainWindow*>(window) != nullptr;
    });
    return main != windows.end() ? *main : nullptr;
}

void CKopierenSortieren::OnQuelleAendern() {
    if (m_bKopieLaeuft)
        return;
    std::string chosen;
    if (!platform::modalQuestions().chooseDirectory(m_strQuelle, chosen))
        return;
    m_strQuelle = chosen;
    UpdateData(false);
    // The view rescans and, through LoadFile, shows the new first file in this dialog.
    platform::sendUserMessage(MainWindow(), platform::WM_QUELLE_EINLESEN);
}

void CKopierenSortieren::OnZielAendern() {
    if (m_bKopieLaeuft)
        return;
    std::string chosen;
    if (!platform::modalQuestions().chooseDirectory(m_strZiel, chosen))
        return; // the list keeps its marks
    m_strZiel = platform::withTrailingSeparator(chosen);
    FillCategories(); // even for the same target: the marks go
    UpdateData(false);
}

void CKopierenSortieren::OnVorherige() {
    Step(platform::WM_VORHERIGE_DATEI);
}

void CKopierenSortieren::OnNaechste() {
    Step(platform::WM_NAECHSTE_DATEI);
}

void CKopierenSortieren::Send(int message) const {
    platform::sendUserMessage(MainWindow(), message);
}

void CKopierenSortieren::Step(int message) const {
    // The copy walks the view's current file: it stays while the copy runs.
    if (!m_bKopieLaeuft)
        Send(message);
}

void CKopierenSortieren::FillCategories() {
    StopCategorySearch();
    m_KategorieListe->Model().rebuild([this](CategoryList& list) {
        list.clear();
        CategoryWalk(m_strZiel, m_nKategorien, list).AddCategory(0, kZielverzeichnis);
        m_nKategorien = 1;
    });
    m_strSuchZiel = m_strZiel;
    m_pKategorieSuche = std::make_unique<CategorySearch>(m_strSuchZiel);
    if (m_pKategorieSuche->waitUntilEnded(kSofort)) {
        TakeCategories();
        return;
    }
    ShowSearching(true);
    m_pSuchTakt->start();
}

bool CKopierenSortieren::IsSearchingCategories() const {
    return m_pKategorieSuche != nullptr;
}

bool CKopierenSortieren::WaitForCategories(int timeoutMs) {
    if (m_pKategorieSuche &&
        !m_pKategorieSuche->waitUntilEnded(std::chrono::milliseconds(timeoutMs)))
        return false;
    TakeCategories();
    return !IsSearchingCategories();
}

void CKopierenSortieren::TakeCategories() {
    if (!m_pKategorieSuche || m_bKopieLaeuft)
        return;
    std::vector<std::string> paths;
    const bool ended = m_pKategorieSuche->take(paths);
    // One entry at a time, so that the marks, the current entry and the selection stay on
    // their entries while others arrive around them.
    CategoryModel& model = m_KategorieListe->Model();
    for (const std::string& path : paths) {
        model.insert(CategoryWalk::EntryFor(m_strSuchZiel, m_nKategorien, path));
        ++m_nKategorien;
    }
    if (ended)
        StopCategorySearch();
}

void CKopierenSortieren::StopCategorySearch() {
    // Never waits: a walk stuck in a drive that does not answer is left to end by itself.
    m_pKategorieSuche.reset();
    m_pSuchTakt->stop();
    ShowSearching(false);
}

void CKopierenSortieren::ShowSearching(bool searching) {
    m_pSuchAnzeige->setVisible(searching);
    // The pointer tells the list works meanwhile: marks and copies go on while it fills.
    if (searching)
        m_KategorieListe->viewport()->setCursor(Qt::BusyCursor);
    else
        m_KategorieListe->viewport()->unsetCursor();
}

int CKopierenSortieren::ScanCategories(const std::string& directory) {
    int result = 0;
    m_KategorieListe->Model().rebuild([&](CategoryList& list) {
        result = CategoryWalk(m_strZiel, m_nKategorien, list).ScanCategories(directory);
    });
    return result;
}

int CKopierenSortieren::AddCategory(int position, const std::string& path) {
    int result = 0;
    m_KategorieListe->Model().rebuild([&](CategoryList& list) {
        result = CategoryWalk(m_strZiel, m_nKategorien, list).AddCategory(position, path);
    });
    return result;
}

CopyContext CKopierenSortieren::Context() {
    return CopyContext{m_strZiel,
                       m_strFilePath,
                       m_strFileName,
                       m_bQuelleLoeschen,
                       m_bDateienNichtUmbenennen,
                       m_bMarkenBehalten,
                       m_bWeiterblaettern,
                       m_Puffer};
}

void CKopierenSortieren::OnCopy() {
    // The file work runs beside the window, which goes on answering meanwhile: a second click
    // waits for this run to end.
    if (m_bKopieLaeuft)
        return;
    const CopyContext context = Context();
    NextStep step;
    {
        // The pointer tells the copy is under way over the dialog that runs it; the questions
        // between the copies come with their own.
        const CopyRunning running(*this);
        step = ::OnCopy(context, m_KategorieListe->Model());
    }
    // The view drops or advances before the click returns, and tells this dialog the file
    // that is now current.
    if (const int message = messageFor(step))
        Send(message);
    // Closed while the copy ran: the view is told now that nothing uses the dialog any more.
    if (m_bZerstoert)
        PostNcDestroy();
}

int CKopierenSortieren::CopyTo(const std::string& destination) {
    if (m_bKopieLaeuft)
        return 0;
    const CopyContext context = Context();
    const CopyRunning running(*this);
    return DesignCopy(context).CopyTo(destination);
}

CKopierenSortieren::CopyRunning::CopyRunning(CKopierenSortieren& dialog) : m_dialog(dialog) {
    m_dialog.m_bKopieLaeuft = true;
    m_dialog.setCursor(Qt::BusyCursor);
}

CKopierenSortieren::CopyRunning::~CopyRunning() {
    m_dialog.unsetCursor();
    m_dialog.m_bKopieLaeuft = false;
}

void CKopierenSortieren::OnLoeschen() {
    if (m_bKopieLaeuft)
        return;
    if (const int message = messageFor(::OnLoeschen(m_strFilePath, m_strFileName)))
        Send(message);
}

long CKopierenSortieren::OnRclickKategorien(int item) {
    // Without a target there are no categories to add to, and the parent would be the root. A
    // new category would rebuild the list that a running copy walks.
    if (m_strZiel.empty() || m_bKopieLaeuft)
        return 0;
    const CategoryEntry clicked = m_KategorieListe->Entry(item);
    const NewCategoryResult result =
        ::OnRclickKategorien(m_strZiel, item >= 0 ? &clicked : nullptr);
    if (result == NewCategoryResult::Cancelled)
        return 0;
    if (result == NewCategoryResult::Created)
        FillCategories();
    UpdateData(false);
    return 0;
}

long CKopierenSortieren::OnAnzeigeAktualisieren() {
    UpdateData(false);
    return 0;
}

void CKopierenSortieren::accept() {
    OnOK();
}

void CKopierenSortieren::reject() {
    OnCancel();
}

void CKopierenSortieren::OnOK() {
    DestroyWindow();
}

void CKopierenSortieren::OnCancel() {
    DestroyWindow();
}

void CKopierenSortieren::DestroyWindow() {
    // Enter and the close box may both arrive; the view is told once.
    if (m_bZerstoert)
        return;
    m_bZerstoert = true;
    StopCategorySearch();
    hide();
    // A copy still running on the stack uses the object: it tells the view when it ends.
    if (!m_bKopieLaeuft)
        PostNcDestroy();
}

void CKopierenSortieren::PostNcDestroy() {
    // The view reads the directories while it handles the message, so the object lives on
    // until the event loop comes back.
    platform::sendUserMessage(MainWindow(), platform::WM_SORTIEREN_BEENDET);
    deleteLater();
}

bool CKopierenSortieren::event(QEvent* event) {
    if (event->type() != platform::UserMessageEvent::eventType())
        return QDialog::event(event);
    auto* message = static_cast<platform::UserMessageEvent*>(event);
    switch (message->message()) {
    case platform::WM_ANZEIGE_AKTUALISIEREN:
        message->result = OnAnzeigeAktualisieren();
        return true;
    default:
        return QDialog::event(event);
    }
}
