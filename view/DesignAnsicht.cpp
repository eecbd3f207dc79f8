#include "DesignAnsicht.h"

#include "platform/UserMessages.h"

CDesignAnsicht::CDesignAnsicht(QWidget* parent) : QWidget(parent) {}

bool CDesignAnsicht::event(QEvent* event) {
    if (event->type() != platform::UserMessageEvent::eventType())
        return QWidget::event(event);
    auto* message = static_cast<platform::UserMessageEvent*>(event);
    switch (message->message()) {
    case platform::WM_QUELLE_EINLESEN:
        message->result = OnQuelleEinlesen();
        break;
    case platform::WM_VORHERIGE_DATEI:
        message->result = OnVorherigeDatei();
        break;
    case platform::WM_NAECHSTE_DATEI:
        message->result = OnNaechsteDatei();
        break;
    case platform::WM_SORTIEREN_BEENDET:
        message->result = OnSortierenBeendet();
        break;
    case platform::WM_DATEI_ENTFERNT:
        message->result = OnDateiEntfernt();
        break;
    default:
        return QWidget::event(event);
    }
    return true;
}

void CDesignAnsicht::RequestRepaint() {
    // The whole client area, painted before the reader returns.
    repaint();
}
