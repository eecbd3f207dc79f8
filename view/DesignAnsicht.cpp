// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignAnsicht.h"

#include "platform/CommandIds.h"
#include "platform/UserMessages.h"

#include <QPainter>

CDesignAnsicht::CDesignAnsicht(QWidget* parent)
    : QFrame(parent), m_PecPalette(pecPaletteColors()), m_SewPalette(sewPaletteColors()) {
    // A sunken client edge around the system window colour, the arrow cursor.
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setCursor(Qt::ArrowCursor);
    // Takes the focus when the frame hands it over, though it reacts to no key.
    setFocusPolicy(Qt::ClickFocus);
}

void CDesignAnsicht::paintEvent(QPaintEvent*) {
    // Without static contents every size change repaints the whole client area, so the
    // picture is refitted at once; the region is ignored, as the walk is cheap.
    OnPaint();
}

void CDesignAnsicht::OnPaint() {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect client = contentsRect();
    painter.setClipRect(client);
    m_painter.paint(painter, client, *this, m_PecPalette, m_SewPalette,
                    palette().color(QPalette::Base), palette().color(QPalette::Text));
}

bool CDesignAnsicht::IsViewCommand(int id) {
    return id == platform::ID_NACH_KATEGORIEN || id == platform::ID_OPTIONEN;
}

bool CDesignAnsicht::OnCmdMsg(int id) {
    switch (id) {
    case platform::ID_NACH_KATEGORIEN:
        OnNachKategorien();
        return true;
    case platform::ID_OPTIONEN:
        OnOptionen();
        return true;
    default:
        return false;
    }
}

bool CDesignAnsicht::event(QEvent* event) {
    if (event->type() != platform::UserMessageEvent::eventType())
        return QFrame::event(event);
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
        return QFrame::event(event);
    }
    return true;
}

void CDesignAnsicht::RequestRepaint() {
    // The whole client area, painted before the reader returns.
    repaint();
}
