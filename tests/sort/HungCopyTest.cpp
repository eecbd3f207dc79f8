// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
// A copy whose category stops answering (a path of the slow file system hangs): the dialog keeps
// answering, gives that category up with its file error and goes on with the next one.
#include "DialogFixture.h"
#include "ScriptedQuestions.h"
#include "SlowMount.h"
#include "TempDir.h"
#include "platform/BesideWindow.h"
#include "platform/FileError.h"

#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <cerrno>
#include <chrono>
#include <thread>

using D = CKopierenSortieren;

namespace {

// The categories A and B on the share, both marked; the copy's name in A hangs.
struct HungCategory {
    platform::ScriptedQuestions questions;
    SlowMount mount;
    TempDir local;
    StandInFrame frame;
    QPointer<D> dialog = new D;
    int ticks = 0;
    bool busySeen = false;

    ~HungCategory() {
        mount.release();
        QTRY_COMPARE_WITH_TIMEOUT(platform::besideWindowRunning(), 0, 20000);
        delete dialog;
    }
    // Clicks "&Copy" while a timer turns with the window, doing onTick at every turn. Where
    // the window never turns, the share answers after 6 s all the same.
    void copy(const std::function<void(int)>& onTick) {
        mount.backingDir().makeDir("ziel/A");
        mount.backingDir().makeDir("ziel/B");
        dialog->m_strZiel = mount.path() + "/ziel/";
        dialog->m_strFilePath = local.write("rose.pes", smallDesign());
        dialog->m_strFileName = "ROSE.PES";
        dialog->Create(&frame);
        dialog->show();
        QVERIFY(dialog->WaitForCategories());
        dialog->m_KategorieListe->SetMarked(1, true);
        dialog->m_KategorieListe->SetMarked(2, true);
        mount.hang("ziel/A/ROSE.PES");
        std::thread answerLate([this] {
            std::this_thread::sleep_for(std::chrono::seconds(6));
            mount.release();
        });
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            busySeen = busySeen || (dialog && dialog->cursor().shape() == Qt::BusyCursor);
            onTick(++ticks);
        });
        timer.start(20);
        QTest::mouseClick(control<QPushButton>(dialog, D::kIdCopy), Qt::LeftButton);
        timer.stop();
        answerLate.join();
    }
};

} // namespace

class HungCopyTest : public QObject {
    Q_OBJECT
private slots:
    void theHungCategoryIsGivenUpAndTheNextGetsItsCopy();
    void closingWhileTheCopyWaitsHidesAtOnceAndTellsTheViewAfterwards();
};

void HungCopyTest::theHungCategoryIsGivenUpAndTheNextGetsItsCopy() {
    HungCategory s;
    if (!s.mount.mounted())
        QSKIP(s.mount.skipReason().c_str());
    // A second click and a step while the copy waits are held back.
    s.copy([&](int tick) {
        if (tick == 1) {
            s.dialog->OnCopy();
            s.dialog->OnNaechste();
        }
    });
    QVERIFY(s.ticks > 50);
    QVERIFY(s.busySeen);
    const std::string hung = s.mount.path() + "/ziel/A/ROSE.PES";
    QCOMPARE(s.questions.shown, std::vector<std::string>{platform::fileErrorText(
                                    platform::FileError(platform::causeFromErrno(EIO), hung))});
    QCOMPARE(readBytes(s.mount.backing() + "/ziel/B/ROSE.PES"), smallDesign());
    QVERIFY(s.frame.received.empty());
    QCOMPARE(s.dialog->cursor().shape(), Qt::ArrowCursor);
}

void HungCopyTest::closingWhileTheCopyWaitsHidesAtOnceAndTellsTheViewAfterwards() {
    HungCategory s;
    if (!s.mount.mounted())
        QSKIP(s.mount.skipReason().c_str());
    bool hiddenAtOnce = false, toldEarly = true;
    s.copy([&](int tick) {
        if (tick != 5)
            return;
        s.dialog->reject();
        hiddenAtOnce = !s.dialog->isVisible();
        toldEarly = !s.frame.received.empty();
    });
    QVERIFY(hiddenAtOnce);
    QVERIFY(!toldEarly);
    QCOMPARE(s.frame.received, std::vector<int>{platform::WM_SORTIEREN_BEENDET});
    runDeferredDeletes();
    QVERIFY(s.dialog.isNull());
}

QTEST_MAIN(HungCopyTest)
#include "HungCopyTest.moc"
