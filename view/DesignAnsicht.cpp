#include "DesignAnsicht.h"

CDesignAnsicht::CDesignAnsicht(QWidget* parent) : QWidget(parent) {}

void CDesignAnsicht::RequestRepaint() {
    // The whole client area, painted before the reader returns.
    repaint();
}
