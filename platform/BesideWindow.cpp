// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "BesideWindow.h"

#include "DetachedThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>

namespace platform {

namespace {
std::atomic<int> running{0};
// Work that answers this soon (a local disk) costs the window no turn of its loop.
constexpr std::chrono::milliseconds kAtOnce{15};
} // namespace

void BesideWork::answer() {
    const std::lock_guard lock(mutex);
    answered = true;
    answeredChanged.notify_all();
    // Posting is safe from any thread; the window clears waker before its loop goes away.
    if (waker)
        QCoreApplication::postEvent(waker, new QEvent(QEvent::Quit));
}

void BesideWork::progressed() {
    lastProgress = std::chrono::steady_clock::now().time_since_epoch().count();
}

bool awaitBesideWindow(const std::shared_ptr<BesideWork>& work, std::function<void()> run,
                       std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point started = Clock::now();
    // The limit counts from the start or from the last step, whichever came later.
    const auto deadline = [&] {
        const Clock::time_point last{Clock::duration(work->lastProgress.load())};
        return std::max(started, last) + limit;
    };
    runDetached(
        [work, run = std::move(run)]() mutable {
            run();
            // What the work held goes before the answer, so that the window, once answered, is
            // the only one holding what they shared.
            run = nullptr;
            work->answer();
        },
        running);
    std::unique_lock lock(work->mutex);
    const auto answered = [&] { return work->answered; };
    if (work->answeredChanged.wait_until(lock, std::min(deadline(), Clock::now() + kAtOnce),
                                         answered))
        return true;
    const QCoreApplication* application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread()) {
        while (!work->answeredChanged.wait_until(lock, deadline(), answered))
            if (Clock::now() >= deadline())
                return false;
        return true;
    }
    const auto left = [&] {
        const auto ms =
            std::chrono::ceil<std::chrono::milliseconds>(deadline() - Clock::now()).count();
        return static_cast<int>(std::max<decltype(ms)>(0, ms));
    };

    QEventLoop loop;
    bool timedOut = false;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        // A step ended meanwhile: the next one has its own time.
        if (Clock::now() < deadline())
            return timer.start(left());
        timedOut = true;
        loop.quit();
    });
    timer.start(left());
    work->waker = &loop;
    lock.unlock();
    loop.exec();
    lock.lock();
    work->waker = nullptr;
    if (work->answered)
        return true;
    if (timedOut)
        return false;
    // Neither answered nor out of time: the program's end told every loop to quit.
    throw ProgramEnding{};
}

int besideWindowRunning() {
    return running.load();
}

} // namespace platform
