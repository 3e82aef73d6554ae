// Waiting for a window to be shown and idle, and the process's CPU time, for
// the workbench benchmarks.
#pragma once

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

// Runs the event loop until nothing is left to do (no pending events, no
// timers due within a few milliseconds). Sleeps between looks, so the wait
// itself costs no processor time.
inline void WaitUntilIdle(int quietMs = 20)
{
    QElapsedTimer quiet;
    quiet.start();
    while (quiet.elapsed() < quietMs) {
        if (QCoreApplication::eventDispatcher()->processEvents(QEventLoop::AllEvents))
            quiet.restart();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

// Processor time of the process so far, in seconds: the figure compared,
// because it does not depend on what else the machine is doing.
inline double CpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Ends a start measured until idle right here, as the start's side of a
// benchmark: what a program does at its end (the workbench saves its
// settings and its layout) is not part of its start.
[[noreturn]] inline void EndAtIdle()
{
    std::fflush(nullptr);
    std::_Exit(0);
}
