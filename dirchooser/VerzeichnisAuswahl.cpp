// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "VerzeichnisAuswahl.h"

#include "ChooserPaths.h"
#include "platform/DialogUnits.h"
#include "platform/GroupTitle.h"
#include "platform/ShownText.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

namespace {

QByteArray exact(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The byte-exact text of control 1005 travels beside the shown one, which may have lost
// bytes that are not UTF-8.
constexpr char kExactText[] = "exactText";

QLabel* sunkenLabel(QWidget* parent, const QString& text, Qt::Alignment alignment) {
    auto* label = new QLabel(text, parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

} // namespace

CVerzeichnisAuswahl::CVerzeichnisAuswahl(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      m_Zeitlimit(listingTimeout()), m_Antwortfrist(answerWait()) {
    BuildControls();
    m_Abfrage = new QTimer(this);
    m_Abfrage->setInterval(15);
    connect(m_Abfrage, &QTimer::timeout, this, &CVerzeichnisAuswahl::Poll);
}

CVerzeichnisAuswahl::~CVerzeichnisAuswahl() {
    // Threads still reading are left to end by themselves; their answers go nowhere.
    CancelAllReading();
}

void CVerzeichnisAuswahl::done(int result) {
    // Whatever still answers must not change the directory the caller takes back.
    CancelAllReading();
    QDialog::done(result);
}

void CVerzeichnisAuswahl::BuildControls() {
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("Verzeichnis auswählen"));
    setModal(true);
    const DialogUnits du(font());

    // Created in the order of the dialog's layout table, which is also the order of the focus
    // chain.
    auto* ok = new QPushButton(QStringLiteral("Übernehmen"), this);
    ok->setObjectName(QString::number(IDOK));
    ok->setDefault(true);
    ok->setGeometry(du.rect(137, 8, 49, 14));
    connect(ok, &QPushButton::clicked, this, &CVerzeichnisAuswahl::OnOK);

    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QString::number(IDCANCEL));
    cancel->setGeometry(du.rect(137, 30, 49, 14));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_Laufwerke = new QComboBox(this);
    m_Laufwerke->setObjectName(QString::number(IDC_LAUFWERK));
    // An edit field, as the dialog's layout table has it; what is typed there is never used. The
    // box would otherwise take a typed drive root as a choice, on Enter, on leaving the field or
    // from its completion; only the list and the arrow keys choose a drive.
    m_Laufwerke->setEditable(true);
    m_Laufwerke->setInsertPolicy(QComboBox::NoInsert);
    m_Laufwerke->setCompleter(nullptr);
    disconnect(m_Laufwerke->lineEdit(), nullptr, m_Laufwerke, nullptr);
    m_Laufwerke->lineEdit()->installEventFilter(this);
    const QRect box = du.rect(47, 36, 81, 68);
    m_Laufwerke->setGeometry(box.x(), box.y(), box.width(), m_Laufwerke->sizeHint().height());
    connect(m_Laufwerke, &QComboBox::activated, this, &CVerzeichnisAuswahl::OnSelchangeDrive);

    sunkenLabel(this, QStringLiteral("Laufwerk:"), Qt::AlignHCenter)
        ->setGeometry(du.rect(4, 37, 42, 12));

    auto* group = new QGroupBox(QStringLiteral("Verzeichnis"), this);
    group->setGeometry(du.rect(2, 4, 126, 28));

    m_Pfadfeld = sunkenLabel(this, QStringLiteral("Static"), Qt::AlignLeft);
    m_Pfadfeld->setObjectName(QString::number(IDC_VERZEICHNIS));
    m_Pfadfeld->setGeometry(du.rect(7, 15, 116, 12));
    m_Pfadfeld->raise(); // above the group box that frames it
    fitGroupTitle(group);

    m_Verzeichnisbaum = new QTreeWidget(this);
    m_Verzeichnisbaum->setObjectName(QString::number(IDC_VERZEICHNISBAUM));
    m_Verzeichnisbaum->setGeometry(du.rect(3, 53, 125, 140));
    m_Verzeichnisbaum->setColumnCount(1);
    m_Verzeichnisbaum->setHeaderHidden(true);
    m_Verzeichnisbaum->setRootIsDecorated(true);
    m_Verzeichnisbaum->setUniformRowHeights(true);
    m_Verzeichnisbaum->setSelectionMode(QAbstractItemView::SingleSelection);
    m_Verzeichnisbaum->installEventFilter(this);
    connect(m_Verzeichnisbaum, &QTreeWidget::itemExpanded, this,
            &CVerzeichnisAuswahl::TreeItemExpanded);
    connect(m_Verzeichnisbaum, &QTreeWidget::itemCollapsed, this,
            &CVerzeichnisAuswahl::TreeItemCollapsed);
    connect(m_Verzeichnisbaum, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) {
                if (current)
                    OnSelchangedTree(current);
            });

    setFixedSize(du.x(190), du.y(194));
}

void CVerzeichnisAuswahl::showEvent(QShowEvent* event) {
    if (!m_bInitialisiert)
        OnInitDialog();
    QDialog::showEvent(event);
}

bool CVerzeichnisAuswahl::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the drive box's edit field does what it does everywhere else in the dialog:
    // "Übernehmen" with the tree's selection.
    if (watched == m_Laufwerke->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OnOK();
            return true;
        }
    }
    // "*" would open every level below the current item: on a lazily read tree that is a walk
    // over the whole disk, and endless through a link that leads back up. It opens one level.
    if (watched == m_Verzeichnisbaum && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Asterisk) {
        if (QTreeWidgetItem* current = m_Verzeichnisbaum->currentItem())
            ExpandItem(current);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CVerzeichnisAuswahl::DoDataExchange(bool saveAndValidate) {
    if (saveAndValidate)
        m_Verzeichnis = PathFieldText();
    else
        SetPathField(m_Verzeichnis);
}

void CVerzeichnisAuswahl::SetPathField(const std::string& text) {
    m_Pfadfeld->setText(platform::shownText(text));
    // The field is narrow; long paths are cut off.
    m_Pfadfeld->setToolTip(platform::shownText(text));
    m_Pfadfeld->setProperty(kExactText, exact(text));
}

std::string CVerzeichnisAuswahl::PathFieldText() const {
    return m_Pfadfeld->property(kExactText).toByteArray().toStdString();
}

bool CVerzeichnisAuswahl::OnInitDialog() {
    m_bInitialisiert = true;
    DoDataExchange(false);

    QStyle* s = style();
    m_Bilder = {s->standardIcon(QStyle::SP_DriveHDIcon),   s->standardIcon(QStyle::SP_DriveFDIcon),
                s->standardIcon(QStyle::SP_DriveCDIcon),   s->standardIcon(QStyle::SP_DriveNetIcon),
                s->standardIcon(QStyle::SP_DirClosedIcon), s->standardIcon(QStyle::SP_DirOpenIcon)};
    m_OrdnerBild = QIcon();
    for (int size : {16, 24, 32, 48}) {
        m_OrdnerBild.addPixmap(m_Bilder[BildOrdner].pixmap(size), QIcon::Normal);
        m_OrdnerBild.addPixmap(m_Bilder[BildOrdnerOffen].pixmap(size), QIcon::Selected);
    }

    FillDriveBox();

    const std::string root =
        dirchooser::startingRoot(m_Verzeichnis, platform::currentDirectory(), m_Drives);
    QTreeWidgetItem* driveItem = nullptr;
    for (int i = 0; i < m_Verzeichnisbaum->topLevelItemCount() && !driveItem; ++i) {
        if (ItemText(m_Verzeichnisbaum->topLevelItem(i)) == root)
            driveItem = m_Verzeichnisbaum->topLevelItem(i);
    }
    if (!driveItem)
        return true;

    // Expanding and selecting the drive overwrite the directory; the walk needs it whole. The
    // drive's listing and the walk's share one wait.
    const std::string start = m_Verzeichnis;
    m_WartenBis = Clock::now() + m_Antwortfrist;
    ExpandItem(driveItem);
    SelectItem(driveItem);
    m_Verzeichnis = start;
    SelectPath(driveItem);
    m_WartenBis.reset();
    return true;
}

void CVerzeichnisAuswahl::OnOK() {
    DoDataExchange(true);
    accept();
}

platform::DriveType CVerzeichnisAuswahl::DriveTypeOf(const std::string& root) const {
    for (const platform::Drive& drive : m_Drives) {
        if (drive.root == root)
            return drive.type;
    }
    return platform::DriveType::NoRootDir;
}

namespace {
CVerzeichnisAuswahl::Bild bildFuer(platform::DriveType type) {
    using T = platform::DriveType;
    switch (type) {
    case T::Removable:
        return CVerzeichnisAuswahl::BildDiskette;
    case T::CdRom:
        return CVerzeichnisAuswahl::BildCd;
    case T::Remote:
        return CVerzeichnisAuswahl::BildNetz;
    case T::Fixed:
    case T::RamDisk:
    case T::Unknown: // drives the tree leaves out still get a picture in the box
    case T::NoRootDir:
        break;
    }
    return CVerzeichnisAuswahl::BildFestplatte;
}
} // namespace

void CVerzeichnisAuswahl::FillDriveBox() {
    CancelAllReading();
    m_Laufwerke->clear();
    m_Verzeichnisbaum->clear();
    m_Drives = platform::drives();
    for (const platform::Drive& drive : m_Drives) {
        AddDriveToBox(drive.root);
        AddDriveToTree(drive.root);
    }

    // Setting the selection here is not a choice of the user: no drive is read for it.
    int selection = -1;
    if (!dirchooser::beginsWithDriveRoot(m_Verzeichnis, m_Drives)) {
        selection = m_Laufwerke->count() > 1 ? 1 : -1;
    } else {
        const std::string root = platform::driveRootOf(m_Verzeichnis, m_Drives);
        for (int i = 0; i < m_Laufwerke->count() && selection < 0; ++i) {
            if (DriveBoxText(i) == root)
                selection = i;
        }
    }
    m_Laufwerke->setCurrentIndex(selection);
}

void CVerzeichnisAuswahl::ShowDriveOf(const QTreeWidgetItem* item) {
    while (item->parent())
        item = item->parent();
    // Not a choice of the user either: the drive is not read again for it.
    const int index = m_Laufwerke->findData(exact(ItemText(item)));
    if (index >= 0)
        m_Laufwerke->setCurrentIndex(index);
}

void CVerzeichnisAuswahl::AddDriveToBox(const std::string& root) {
    m_Laufwerke->addItem(m_Bilder[bildFuer(DriveTypeOf(root))], platform::shownText(root),
                         exact(root));
}

std::string CVerzeichnisAuswahl::DriveBoxText(int index) const {
    return m_Laufwerke->itemData(index).toByteArray().toStdString();
}

bool CVerzeichnisAuswahl::AddDriveToTree(const std::string& root) {
    using T = platform::DriveType;
    const T type = DriveTypeOf(root);
    if (type != T::Removable && type != T::Fixed && type != T::Remote && type != T::CdRom &&
        type != T::RamDisk)
        return false;

    auto* item = new QTreeWidgetItem;
    item->setText(0, platform::shownText(root));
    item->setData(0, Qt::UserRole, exact(root));
    item->setIcon(0, m_Bilder[bildFuer(type)]);
    m_Verzeichnisbaum->addTopLevelItem(item);
    // No drive is asked anything before the user opens it: a medium may be missing, a network
    // share slow or hung. Opening one that has no folders takes its button away.
    AddPlaceholder(item);
    return true;
}

void CVerzeichnisAuswahl::OnSelchangeDrive() {
    const int selection = m_Laufwerke->currentIndex();
    if (selection < 0)
        return;
    const std::string root = DriveBoxText(selection);
    int taken = -1;
    for (int i = 0; i < m_Verzeichnisbaum->topLevelItemCount() && taken < 0; ++i) {
        if (ItemText(m_Verzeichnisbaum->topLevelItem(i)) == root)
            taken = i;
    }
    if (taken < 0)
        return; // a drive the tree leaves out: there is nothing to open
    for (int i = 0; i < taken; ++i)
        CollapseItem(m_Verzeichnisbaum->topLevelItem(i));

    QTreeWidgetItem* item = m_Verzeichnisbaum->topLevelItem(taken);
    if (item->isExpanded()) {
        // An open drive is read afresh; one that can no longer be read is closed again rather
        // than showing its bare placeholder.
        DeleteChildren(item);
        if (FillChildren(item, root) == 0)
            Refuse(item);
    } else {
        ExpandItem(item);
    }
    SelectItem(item);
}
