// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "NadelixOptionen.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CNadelixOptionen::CNadelixOptionen(const QString& caption, QWidget* parent, int selectPage)
    : QDialog(parent), m_pTabs(new QTabWidget(this)), m_Seiten{&m_CopyOptionen, &m_DateiOptionen,
                                                               &m_SonstigeOptionen} {
    setWindowTitle(caption);

    for (COptionenSeite* seite : m_Seiten)
        m_pTabs->addTab(seite, seite->windowTitle());
    m_nAktiveSeite = m_pTabs->currentIndex();
    m_Seitenwechsel =
        connect(m_pTabs, &QTabWidget::currentChanged, this, &CNadelixOptionen::OnSeitenwechsel);
    m_pTabs->setCurrentIndex(selectPage);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QString::number(IDOK));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QString::number(IDCANCEL));
    // German even where Qt's translations are missing.
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pTabs);
    layout->addWidget(buttons);
    // A property sheet keeps the size of its pages.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

CNadelixOptionen::~CNadelixOptionen() {
    // The pages are members and die before the tab widget; each one's removal changes the
    // current tab, which must not reach a page that is half destroyed.
    disconnect(m_Seitenwechsel);
}

void CNadelixOptionen::OnSeitenwechsel(int index) {
    if (m_nAktiveSeite >= 0 && m_nAktiveSeite < int(m_Seiten.size()))
        m_Seiten[m_nAktiveSeite]->OnKillActive();
    m_nAktiveSeite = index;
}

void CNadelixOptionen::accept() {
    // Every page the user has seen gives back its boxes (for a page left earlier that changes
    // nothing); a page never shown keeps its members as they were given.
    for (COptionenSeite* seite : m_Seiten)
        seite->OnKillActive();
    QDialog::accept();
}
