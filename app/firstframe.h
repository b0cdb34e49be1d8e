// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

// The start-up measurement (bench/startup.py): with LUMIDRA_EXIT_AFTER_FIRST_FRAME=1 in the
// environment the program prints, on the monotonic clock in nanoseconds, when main began and
// when its window's first frame was painted, and ends right after that frame. The script
// reads the same clock just before it starts the program, so the figures include loading
// the program and its libraries. Header only: the bare window the program is measured
// against (bench/bare_window.cpp) uses the very same probe.
namespace firstframe {

inline bool Requested()
{
    return qEnvironmentVariableIntValue("LUMIDRA_EXIT_AFTER_FIRST_FRAME") == 1;
}

// steady_clock is CLOCK_MONOTONIC on Linux, the clock of Python's time.monotonic_ns().
inline long long NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Watches every paint event of the application. The first one that reaches the window or a
// widget on it starts a zero timer, which runs once that whole frame has been painted and
// flushed (the painting of one frame happens in one pass of the event loop).
class Probe : public QObject
{
public:
    Probe(QWidget *window, long long mainNs) : QObject(window), m_window(window), m_mainNs(mainNs)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->window() == m_window) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] {
                std::printf("main-ns %lld\nfirst-frame-ns %lld\n", m_mainNs, NowNs());
                std::fflush(stdout);
                // exit, not quit: the window is not closed, so nothing is saved on the way out.
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_window;
    long long m_mainNs;
    bool m_seen = false;
};

// Arms the probe on window when the environment asks for it; mainNs: NowNs() at the start of
// main.
inline void ExitAfterFirstFrame(QWidget *window, long long mainNs)
{
    if (Requested())
        new Probe(window, mainNs);
}

} // namespace firstframe
