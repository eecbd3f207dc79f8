// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Helpers for the tests that drive the copy-and-sort dialog through its controls.
#pragma once

#include "platform/UserMessages.h"
#include "sort/KategorieListe.h"
#include "sort/KopierenSortieren.h"
#include "view/DesignAnsicht.h"

#include <QMainWindow>
#include <QPointer>
#include <QStyleOptionViewItem>
#include <QTest>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

// A DST file with one stitch and a given padding, so that sizes can differ.
inline std::vector<std::uint8_t> smallDesign(std::size_t padding = 0) {
    // Sized once and filled in: GCC 12 warns wrongly about appending to a vector here.
    std::vector<std::uint8_t> bytes(512 + padding + 6, 0x20);
    const std::uint8_t end[] = {0x01, 0x00, 0x00, 0x00, 0x00, 0xF3};
    std::copy(std::begin(end), std::end(end), bytes.end() - 6);
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

// Where the mark of an entry is drawn, in the list's viewport coordinates.
inline QRect markRect(const CKategorieListe& list, int row) {
    QStyleOptionViewItem option;
    option.initFrom(&list);
    const QModelIndex index = list.model()->index(row, 0);
    option.rect = list.visualRect(index);
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = index.data().toString();
    return list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list);
}

// Switches the mark of an entry as the user does, by a click on it.
inline void clickMark(CKategorieListe& list, int row) {
    list.scrollTo(list.model()->index(row, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, markRect(list, row).center());
}

// The texts of the list's entries, in their order.
inline std::vector<std::string> entryTexts(const CKategorieListe& list) {
    std::vector<std::string> out;
    for (int row = 0; row < list.GetItemCount(); ++row)
        out.push_back(list.GetItemText(row));
    return out;
}

// The rows of the marked entries.
inline std::vector<int> markedRows(const CKategorieListe& list) {
    std::vector<int> out;
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.IsMarked(row))
            out.push_back(row);
    return out;
}

// Where an entry is drawn, in the list's viewport coordinates.
inline QRect rowRect(const CKategorieListe& list, int row) {
    return list.visualRect(list.model()->index(row, 0));
}
