// Helpers for the tests that drive the copy-and-sort dialog through its controls.
#pragma once

#include "platform/UserMessages.h"
#include "sort/KopierenSortieren.h"
#include "view/DesignAnsicht.h"

#include <QMainWindow>
#include <QPointer>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

// A DST file with one stitch and a given padding, so that sizes can differ.
inline std::vector<std::uint8_t> smallDesign(std::size_t padding = 0) {
    std::vector<std::uint8_t> bytes(512 + padding, 0x20);
    bytes.insert(bytes.end(), {0x01, 0x00, 0x00, 0x00, 0x00, 0xF3});
    return bytes;
}

// Stands in for the main frame: holds the design view as its pane, relays the browsing
// messages to it and records each one as it passes.
class StandInFrame : public QMainWindow {
public:
    StandInFrame() {
        view = new CDesignAnsicht(this);
        setCentralWidget(view);
        resize(640, 520);
        move(40, 30);
    }

    CDesignAnsicht* view;
    std::vector<int> received;
    // Called with each message before it is relayed.
    std::function<void(int)> onMessage;

protected:
    bool event(QEvent* event) override {
        if (event->type() != platform::UserMessageEvent::eventType())
            return QMainWindow::event(event);
        auto* message = static_cast<platform::UserMessageEvent*>(event);
        received.push_back(message->message());
        if (onMessage)
            onMessage(message->message());
        message->result = platform::sendUserMessage(view, message->message(), message->wParam(),
                                                    message->lParam());
        return true;
    }
};

template <typename T = QWidget> T* control(const QWidget* dialog, int id) {
    return dialog->findChild<T*>(QString::number(id));
}

inline std::string text(const QString& s) {
    return s.toStdString();
}

// Runs the deferred deletions that closing left behind.
inline void runDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
