#include "KopierenSortieren.h"

#include "platform/UserMessages.h"

#include <QLabel>

CKopierenSortieren::CKopierenSortieren(QWidget* parent)
    : QDialog(parent), m_feldQuelle(makeField(kIdQuelle)), m_feldZiel(makeField(kIdZiel)),
      m_feldDateiname(makeField(kIdDateiname)) {
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("Kopieren und Sortieren"));
}

QLabel* CKopierenSortieren::makeField(int id) {
    auto* field = new QLabel(this);
    field->setObjectName(QString::number(id));
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return field;
}

void CKopierenSortieren::UpdateFields() {
    m_feldQuelle->setText(QString::fromStdString(m_strQuelle));
    m_feldZiel->setText(QString::fromStdString(m_strZiel));
    m_feldDateiname->setText(QString::fromStdString(m_strFileName));
}

long CKopierenSortieren::OnAnzeigeAktualisieren() {
    UpdateFields();
    return 0;
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
