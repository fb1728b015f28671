// Connect to the end of the synchronisation burst against tavilon-sim over loopback, as a ratio
// to the pacing floor, and the headless client's peak memory.
//
// Method: tavilon-sim is started with an ephemeral TCP port on 127.0.0.1 and no pseudo-terminal.
// (1) In this process, the headless client's session (the same classes tavilon-cli runs)
// connects through the TCP link service, identifies the device and waits for the SYNC-OVER
// reply, several times; the time from the connect status to that reply covers the model query
// and the 16-line burst, each line paced by 50 ms, so its floor is 17 x 50 ms; the burst alone
// (model reply to SYNC-OVER) has the floor 16 x 50 ms. Medians are reported. (2) tavilon-cli
// sync is run as a child process a few times; its wall time and its peak resident memory
// (getrusage RUSAGE_CHILDREN, the largest child reaped so far: only the client runs are reaped
// before the simulator is stopped) are reported, with this process's own VmHWM after (1).
#include "bench/SyncTiming.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int InProcessRuns = 7;
constexpr int ChildRuns = 3;
constexpr double LinePacingMs = 50.0;
constexpr int BurstLines = 16;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QString ProcStatusField(const char *name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return QString::fromLatin1(line.mid(int(qstrlen(name))).trimmed());
    }
    return QStringLiteral("?");
}

bool StartSimulator(QProcess &sim, quint16 *port)
{
    sim.setProgram(QStringLiteral(TAVILON_BIN_DIR "/tavilon-sim"));
    sim.setArguments({ "--tcp", "127.0.0.1:0", "--no-pty" });
    sim.start();
    if (!sim.waitForStarted(5000))
        return false;
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000) {
        sim.waitForReadyRead(100);
        out += sim.readAllStandardOutput();
        const int at = out.indexOf("TCP 127.0.0.1:");
        const int end = out.indexOf('\n', at);
        if (at >= 0 && end > at) {
            *port = quint16(out.mid(at + 14, end - at - 14).trimmed().toUInt());
            return *port != 0;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QProcess sim;
    quint16 port = 0;
    if (!StartSimulator(sim, &port)) {
        std::fprintf(stderr, "cannot start %s/tavilon-sim\n", TAVILON_BIN_DIR);
        return 1;
    }

    std::vector<double> toBurstEnd;
    std::vector<double> burst;
    for (int k = 0; k < InProcessRuns; ++k) {
        SyncTiming run;
        if (!MeasureSyncOverTcp(port, &run))
            return 1;
        toBurstEnd.push_back(run.toBurstEndMs);
        burst.push_back(run.burstMs);
    }
    const QString inProcessPeak = ProcStatusField("VmHWM:");

    const QString cli = QStringLiteral(TAVILON_BIN_DIR "/tavilon-cli");
    const QStringList cliArguments { "--tcp", QStringLiteral("127.0.0.1:%1").arg(port), "sync" };
    std::vector<double> childWall;
    for (int k = 0; k < ChildRuns; ++k) {
        QElapsedTimer clock;
        clock.start();
        QProcess child;
        child.start(cli, cliArguments);
        if (!child.waitForFinished(30000) || child.exitCode() != 0) {
            std::fprintf(stderr, "tavilon-cli sync failed: %s\n", child.readAllStandardError().constData());
            return 1;
        }
        childWall.push_back(double(clock.elapsed()));
    }
    rusage children {};
    getrusage(RUSAGE_CHILDREN, &children);
    sim.terminate();
    sim.waitForFinished(3000);

    const double totalFloor = (BurstLines + 1) * LinePacingMs;
    const double burstFloor = BurstLines * LinePacingMs;
    std::printf("command: %s  (tavilon-sim --tcp 127.0.0.1:0 --no-pty)\n",
        qPrintable(QCoreApplication::applicationFilePath()));
    std::printf(
        "connect to burst end (model query + 16 lines): %.1f ms, floor %.0f ms, ratio %.3f (median of %d)\n",
        Median(toBurstEnd), totalFloor, Median(toBurstEnd) / totalFloor, InProcessRuns);
    std::printf("burst alone (16 lines):                        %.1f ms, floor %.0f ms, ratio %.3f\n",
        Median(burst), burstFloor, Median(burst) / burstFloor);
    std::printf("client peak memory, in-process session runs:   VmHWM %s\n", qPrintable(inProcessPeak));
    std::printf("%s %s: wall %.0f ms (median of %d, whole process incl. the extra multiview reads), "
                "peak RSS %ld kB\n",
        qPrintable(cli), qPrintable(cliArguments.join(QLatin1Char(' '))), Median(childWall), ChildRuns,
        long(children.ru_maxrss));
    return 0;
}
