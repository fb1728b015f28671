#include "shell/ExposeProbe.h"

#include "shell/FirstFrameWatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <ctime>
#include <memory>

namespace {

constexpr int NoRepaintTimeoutMs = 2000;

// Waits for the given widget's next update request, the event in which Qt paints the window
// and flushes it, and reports once that event has been handled.
class RepaintWatcher : public QObject
{
public:
    RepaintWatcher(QWidget *window, std::function<void(double)> done)
        : m_window(window)
        , m_done(std::move(done))
    {
        m_clock.start();
        window->installEventFilter(this);
        // A change that needs no repaint must not stall the measurement: reported as -1.
        QTimer::singleShot(NoRepaintTimeoutMs, this, [this] {
            if (m_fired)
                return;
            m_fired = true;
            m_window->removeEventFilter(this);
            m_done(-1);
            deleteLater();
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::UpdateRequest && !m_fired) {
            m_fired = true;
            m_window->removeEventFilter(this);
            // Queued: runs once the update request, which is being delivered, has been handled.
            QTimer::singleShot(0, this, [this] {
                m_done(m_clock.nsecsElapsed() / 1e6);
                deleteLater();
            });
        }
        return false;
    }

private:
    QWidget *m_window;
    std::function<void(double)> m_done;
    QElapsedTimer m_clock;
    bool m_fired = false;
};

} // namespace

QByteArray ExposeProbe::Mode()
{
    return qgetenv(VariableName);
}

qint64 ExposeProbe::WallClockMicroseconds()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

qint64 ExposeProbe::ResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

qint64 ExposeProbe::ProcessorMicroseconds()
{
    timespec used {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return qint64(used.tv_sec) * 1000000 + used.tv_nsec / 1000;
}

void ExposeProbe::PrintFirstExposure()
{
    Print("exposed-us " + QByteArray::number(WallClockMicroseconds()));
    Print("cpu-us " + QByteArray::number(ProcessorMicroseconds()));
    Print("rss-kb login " + QByteArray::number(ResidentKilobytes()));
}

void ExposeProbe::Print(const QByteArray &line)
{
    std::fprintf(stdout, "probe %s\n", line.constData());
    std::fflush(stdout);
}

void ExposeProbe::WatchFirstExposure(std::function<void()> whenExposed)
{
    FirstFrameWatcher::Watch(QCoreApplication::instance(), std::move(whenExposed));
}

void ExposeProbe::TimeRepaint(
    QWidget *window, const std::function<void()> &action, std::function<void(double)> done)
{
    auto *watcher = new RepaintWatcher(window, std::move(done));
    Q_UNUSED(watcher);
    action();
}
