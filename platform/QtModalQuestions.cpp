#include "QtModalQuestions.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {

namespace {
int ask(const std::string& text, QMessageBox::StandardButtons buttons) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Nadelix"), QString::fromStdString(text),
                    buttons, QApplication::activeWindow());
    return box.exec();
}
} // namespace

void QtModalQuestions::messageBox(const std::string& text) {
    ask(text, QMessageBox::Ok);
}

bool QtModalQuestions::askYesNo(const std::string& text) {
    return ask(text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace platform
