// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT
#include "StallMeter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <thread>

StallMeter::StallMeter() : m_timer(std::make_unique<QTimer>()) {
    // A millisecond apart rather than back to back: a busy loop would take a core from the
    // worker threads being measured.
    m_timer->setInterval(1);
    m_timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] { turn(); });
}

StallMeter::~StallMeter() = default;

void StallMeter::start() {
    m_longest = {};
    m_turns = 0;
    m_started = m_last = Clock::now();
    m_timer->start();
}

StallMeter::Result StallMeter::stop() {
    turn();
    m_timer->stop();
    Result result;
    result.longest = m_longest;
    result.total = m_last - m_started;
    result.turns = m_turns;
    return result;
}

void StallMeter::turn() {
    const auto now = Clock::now();
    m_longest =
        std::max(m_longest, std::chrono::duration_cast<std::chrono::nanoseconds>(now - m_last));
    m_last = now;
    ++m_turns;
}

StallMeter::Result StallMeter::measure(const std::function<void()>& action,
                                       const std::function<bool()>& done,
                                       std::chrono::milliseconds timeout) {
    StallMeter meter;
    meter.start();
    action();
    bool finished = true;
    if (done) {
        const auto until = Clock::now() + timeout;
        while (!done()) {
            if (Clock::now() >= until) {
                finished = false;
                break;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            // Events from other threads may not be there yet; let them come without spinning.
            if (!done())
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    } else {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    Result result = meter.stop();
    result.finished = finished;
    return result;
}
