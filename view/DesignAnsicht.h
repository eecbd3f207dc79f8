#pragma once

#include "sort/DesignBrowser.h"

#include <QWidget>

// The design view: the frame's only pane, painting the current design, and the hub that
// owns the design, the browsing state and the settings.
class CDesignAnsicht : public QWidget, public DesignBrowser {
    Q_OBJECT
public:
    explicit CDesignAnsicht(QWidget* parent = nullptr);

    // Menu commands.
    void OnNachKategorien();
    void OnOptionen();

    // The user messages relayed by the main window; each returns 0.
    long OnQuelleEinlesen();
    long OnVorherigeDatei();
    long OnNaechsteDatei();
    long OnSortierenBeendet();
    long OnDateiEntfernt();

protected:
    bool event(QEvent* event) override;
    void RequestRepaint() override;
    void NotifySortierDialog() override;
};
