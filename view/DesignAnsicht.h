#pragma once

#include "sort/DesignBrowser.h"

#include <QWidget>

// The design view: the frame's only pane, painting the current design, and the hub that
// owns the design, the browsing state and the settings.
class CDesignAnsicht : public QWidget, public DesignBrowser {
    Q_OBJECT
public:
    explicit CDesignAnsicht(QWidget* parent = nullptr);

protected:
    void RequestRepaint() override;
};
