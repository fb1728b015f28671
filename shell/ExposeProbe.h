// Start-up measurement hooks, active only when the environment variable TAVILON_STARTUP_PROBE
// is set (bench/bench_startup sets it). The probe prints one line per figure on stdout:
//   "probe exposed-us N"  wall-clock microseconds (CLOCK_REALTIME) when the first shown window
//                         has been exposed and painted
//   "probe cpu-us N"      processor time (user and system) the process had used by then
//   "probe rss-kb NAME N" resident memory at a named moment
// The same class serves the benchmark's baseline program, so both are measured alike.
#pragma once

#include <QByteArray>
#include <functional>

class QWidget;

class ExposeProbe
{
public:
    static constexpr const char *VariableName = "TAVILON_STARTUP_PROBE";

    // The value of the variable; empty when no measurement is wanted.
    static QByteArray Mode();
    static qint64 WallClockMicroseconds();
    static qint64 ResidentKilobytes();
    static qint64 ProcessorMicroseconds();
    // Prints the exposure time, the processor time and the memory with the window shown.
    static void PrintFirstExposure();
    static void Print(const QByteArray &line);

    // Calls whenExposed once, right after the first window of the application has been
    // exposed and its first frame painted.
    static void WatchFirstExposure(std::function<void()> whenExposed);

    // Runs the action, then calls done with the milliseconds from the start of the action until
    // the next repaint of the window has been painted and flushed.
    static void TimeRepaint(QWidget *window, const std::function<void()> &action,
        std::function<void(double)> done);
};
