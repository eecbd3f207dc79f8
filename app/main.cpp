#include "QtModalQuestions.h"
#include "view/DesignAnsicht.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::QtModalQuestions questions;
    platform::setModalQuestions(&questions);

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Nadelix"));
    auto* view = new CDesignAnsicht(&frame);
    frame.setCentralWidget(view);
    frame.resize(800, 600);
    frame.show();
    return app.exec();
}
