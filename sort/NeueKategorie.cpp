// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "NeueKategorie.h"

#include "platform/DialogUnits.h"
#include "platform/ShownText.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// The exact bytes of the directory travel beside the shown text, which may have lost bytes
// that are not UTF-8.
constexpr char kExactText[] = "exactText";

} // namespace

CNeueKategorie::CNeueKategorie(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("Neue Kategorie einfügen"));
    setModal(true);
    const DialogUnits du(font());

    (new QGroupBox(QStringLiteral(" Aktuell angewählt "), this))
        ->setGeometry(du.rect(3, 0, 155, 49));

    // Created in the order Tab visits them.
    auto* einfuegen = new QPushButton(QStringLiteral("&Einfügen"), this);
    einfuegen->setObjectName(QString::number(IDOK));
    einfuegen->setDefault(true);
    einfuegen->setGeometry(du.rect(101, 31, 52, 14));
    connect(einfuegen, &QPushButton::clicked, this, &CNeueKategorie::accept);

    auto* abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    abbrechen->setObjectName(QString::number(IDCANCEL));
    abbrechen->setGeometry(du.rect(162, 4, 50, 14));
    connect(abbrechen, &QPushButton::clicked, this, &CNeueKategorie::reject);

    m_feldName = new QLineEdit(this);
    m_feldName->setObjectName(QString::number(kIdName));
    m_feldName->setGeometry(du.rect(8, 31, 88, 14));

    m_feldAktuell = new QLabel(QStringLiteral("Static"), this);
    m_feldAktuell->setObjectName(QString::number(kIdAktuell));
    m_feldAktuell->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_feldAktuell->setTextFormat(Qt::PlainText);
    m_feldAktuell->setGeometry(du.rect(8, 12, 145, 12));

    setTabOrder(einfuegen, abbrechen);
    setTabOrder(abbrechen, m_feldName);
    setFixedSize(du.x(215), du.y(53));
}

void CNeueKategorie::DoDataExchange(bool saveAndValidate) {
    if (saveAndValidate) {
        m_strAktuell = m_feldAktuell->property(kExactText).toByteArray().toStdString();
        m_strName = m_feldName->text().toStdString();
        return;
    }
    m_feldAktuell->setText(platform::shownText(m_strAktuell));
    m_feldAktuell->setToolTip(platform::shownText(m_strAktuell)); // long paths do not fit the field
    m_feldAktuell->setProperty(
        kExactText, QByteArray(m_strAktuell.data(), static_cast<qsizetype>(m_strAktuell.size())));
    m_feldName->setText(platform::shownText(m_strName));
}

bool CNeueKategorie::OnInitDialog() {
    DoDataExchange(false);
    findChild<QPushButton*>(QString::number(IDOK))->setFocus();
    return true;
}

void CNeueKategorie::showEvent(QShowEvent* event) {
    if (!m_bInitialisiert) {
        m_bInitialisiert = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

void CNeueKategorie::accept() {
    DoDataExchange(true);
    QDialog::accept();
}
