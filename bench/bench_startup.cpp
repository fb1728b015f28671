// Start-up, memory and responsiveness of the program against a minimal Qt Widgets program.
//
// Method: the program and its run-time data are copied into a scratch directory (so that the
// build's settings file is never touched) next to tavilon-sim, which listens on an ephemeral
// TCP port of 127.0.0.1. Both programs run with TAVILON_STARTUP_PROBE set; the probe prints
// the wall-clock time at which the first shown window has been exposed and painted, and the
// resident memory then. Start-up is that time minus the time taken just before the process was
// started; the processor time the process had used by then is given too, as it is far less
// disturbed by other work on the machine. The baseline (one QTabWidget with six tabs) is measured alike, its memory "after
// sync" being read after the same 300 ms settling time that the program waits after the
// synchronisation burst. In "sync" mode the program logs in, presses Connect (it runs with
// --demo-device pointing at the simulator), reads its memory after SYNC-OVER, times every tab
// switch up to the repaint of the window (three rounds through all tabs: the first round shows
// each page but the connection page for the first time), and times cross-point clicks up to the repaint of the
// clicked button after the reply; the click's own time leaves out the link's 50 ms pause before
// each write and the time from the written line to the reply (the simulator's answer).
// Everything is run on the offscreen platform and, when Xvfb is installed, on an Xvfb screen of
// 1920 x 1080. Medians of several runs; one warm-up run of each program is not counted.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <vector>

namespace {

constexpr int StartRuns = 7;
constexpr int SyncRuns = 5;
constexpr int RunTimeoutMs = 60000;
constexpr double StartGoalRatio = 2.0;
constexpr double MemoryGoalRatio = 1.15;
constexpr double FrameBudgetMs = 16.0;

using Samples = std::vector<double>;

double Median(Samples values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Maximum(const Samples &values)
{
    return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
}

qint64 WallClockMicroseconds()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// What one run of a probed program reported.
struct RunReport {
    bool ok = false;
    double startMs = -1;
    double cpuMs = -1;
    double loginKb = -1;
    double syncKb = -1;
    std::map<QString, Samples> firstTabMs;
    Samples againTabMs;
    Samples clickTotalMs;
    Samples clickOwnMs;
    QString error;
};

struct Platform {
    QString name;
    QProcessEnvironment environment;
};

RunReport ParseProbeOutput(const QByteArray &output, qint64 startedUs)
{
    RunReport report;
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> words = line.trimmed().split(' ');
        if (words.size() < 2 || words[0] != "probe")
            continue;
        const QByteArray &what = words[1];
        if (what == "exposed-us" && words.size() >= 3)
            report.startMs = (words[2].toLongLong() - startedUs) / 1000.0;
        else if (what == "cpu-us" && words.size() >= 3)
            report.cpuMs = words[2].toLongLong() / 1000.0;
        else if (what == "rss-kb" && words.size() >= 4)
            (words[2] == "login" ? report.loginKb : report.syncKb) = words[3].toDouble();
        else if (what == "tab-ms" && words.size() >= 5 && words[4].toDouble() >= 0) {
            if (words[2] == "first")
                report.firstTabMs[QString::fromUtf8(line.trimmed().split(' ').mid(5).join(' '))].push_back(
                    words[4].toDouble());
            else
                report.againTabMs.push_back(words[4].toDouble());
        } else if (what == "click-ms" && words.size() >= 4) {
            report.clickTotalMs.push_back(words[2].toDouble());
            report.clickOwnMs.push_back(words[3].toDouble());
        } else if (what == "error")
            report.error = QString::fromUtf8(line.mid(line.indexOf("error") + 6));
    }
    report.ok = report.startMs >= 0 && report.error.isEmpty();
    return report;
}

RunReport RunProbed(const QString &program, const QStringList &arguments, const Platform &platform,
    const QByteArray &mode)
{
    QProcess process;
    QProcessEnvironment environment = platform.environment;
    environment.insert(QStringLiteral("TAVILON_STARTUP_PROBE"), QString::fromLatin1(mode));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    const qint64 startedUs = WallClockMicroseconds();
    process.start(program, arguments);
    if (!process.waitForFinished(RunTimeoutMs)) {
        process.kill();
        process.waitForFinished(3000);
        RunReport failed;
        failed.error = QStringLiteral("did not finish");
        return failed;
    }
    RunReport report = ParseProbeOutput(process.readAllStandardOutput(), startedUs);
    if (!report.ok && report.error.isEmpty())
        report.error = QStringLiteral("no probe output (exit %1): %2")
                           .arg(process.exitCode())
                           .arg(QString::fromLocal8Bit(process.readAllStandardError().left(300)));
    return report;
}

bool CopyTree(const QString &from, const QString &to)
{
    QDir source(from);
    if (!source.exists() || !QDir().mkpath(to))
        return false;
    for (const QFileInfo &entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !CopyTree(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// The program with its pictures and style sheets, but an empty settings directory. Another
// build of the program can be measured against the same data by naming its executable in
// TAVILON_BENCH_PROGRAM (to compare before and after a change).
bool PrepareScratchCopy(const QString &directory)
{
    const QString bin = QStringLiteral(TAVILON_BIN_DIR);
    const QString other = qEnvironmentVariable("TAVILON_BENCH_PROGRAM");
    const QString program = other.isEmpty() ? bin + QStringLiteral("/tavilon") : other;
    std::printf("program %s\n", qPrintable(program));
    return QFile::copy(program, directory + QStringLiteral("/tavilon"))
        && CopyTree(bin + QStringLiteral("/APP/Image"), directory + QStringLiteral("/APP/Image"))
        && CopyTree(bin + QStringLiteral("/APP/StyleSheet"), directory + QStringLiteral("/APP/StyleSheet"))
        && CopyTree(bin + QStringLiteral("/TitleBar"), directory + QStringLiteral("/TitleBar"))
        && QDir().mkpath(directory + QStringLiteral("/APP/ConfigFile"));
}

// Reads the first line of the child's output that starts with the prefix.
QByteArray WaitForLine(QProcess &process, const QByteArray &prefix)
{
    QByteArray output;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
        process.waitForReadyRead(100);
        output += process.readAllStandardOutput();
        const int at = output.indexOf(prefix);
        const int end = output.indexOf('\n', at);
        if (at >= 0 && end > at)
            return output.mid(at + prefix.size(), end - at - prefix.size()).trimmed();
        if (process.state() == QProcess::NotRunning)
            break;
    }
    return QByteArray();
}

bool StartSimulator(QProcess &sim, QString *tcpAddress)
{
    sim.start(QStringLiteral(TAVILON_BIN_DIR "/tavilon-sim"), { "--tcp", "127.0.0.1:0", "--no-pty" });
    if (!sim.waitForStarted(5000))
        return false;
    *tcpAddress = QString::fromLatin1(WaitForLine(sim, "TCP "));
    return !tcpAddress->isEmpty();
}

// An Xvfb server of its own, found through -displayfd so that no display number is guessed.
bool StartXvfb(QProcess &xvfb, QString *display)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (program.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty())
        return false;
    xvfb.start(program, { "-displayfd", "1", "-screen", "0", "1920x1080x24", "-nolisten", "tcp" });
    if (!xvfb.waitForStarted(5000))
        return false;
    QElapsedTimer clock;
    clock.start();
    QByteArray output;
    while (clock.elapsed() < 10000 && !output.contains('\n')) {
        xvfb.waitForReadyRead(100);
        output += xvfb.readAllStandardOutput();
    }
    const QByteArray number = output.trimmed();
    if (number.isEmpty())
        return false;
    *display = QLatin1Char(':') + QString::fromLatin1(number);
    return true;
}

void PrintRatio(const char *what, double program, double baseline, const char *unit, double goal)
{
    if (program < 0 || baseline < 0) {
        std::printf("  %-34s not reported\n", what);
        return;
    }
    const double ratio = baseline > 0 ? program / baseline : -1;
    std::printf("  %-34s %9.1f %-2s  baseline %9.1f %-2s  ratio %5.2f", what, program, unit, baseline, unit, ratio);
    if (goal > 0)
        std::printf("  (goal <= %.2f: %s)", goal, ratio <= goal ? "met" : "NOT met");
    std::printf("\n");
}

void PrintTiming(const char *what, const Samples &values)
{
    const double median = Median(values);
    std::printf("  %-34s %9.2f ms  max %7.2f ms  (%zu samples, budget %.0f ms: %s)\n", what, median,
        Maximum(values), values.size(), FrameBudgetMs, median < FrameBudgetMs ? "met" : "NOT met");
}

void Append(Samples &to, const Samples &from)
{
    to.insert(to.end(), from.begin(), from.end());
}

void MeasurePlatform(const Platform &platform, const QString &program, const QString &simAddress)
{
    const QString baseline = QStringLiteral(TAVILON_BENCH_DIR "/startup_baseline");
    const QStringList demoArguments { QStringLiteral("--demo-device"), QStringLiteral("tcp=") + simAddress };
    std::printf("== platform %s (medians; %d start-up runs, %d sync runs)\n", qPrintable(platform.name),
        StartRuns, SyncRuns);

    // Warm-up: the first start writes the settings files, and fills the file caches.
    RunProbed(program, {}, platform, "login");
    RunProbed(baseline, {}, platform, "login");

    Samples programStart, baselineStart, programCpu, baselineCpu, programLogin, baselineLogin, baselineSync;
    for (int run = 0; run < StartRuns; ++run) {
        const RunReport base = RunProbed(baseline, {}, platform, "login");
        const RunReport real = RunProbed(program, {}, platform, "login");
        if (!base.ok || !real.ok) {
            std::printf("  run %d failed: %s%s\n", run, qPrintable(base.error), qPrintable(real.error));
            continue;
        }
        baselineStart.push_back(base.startMs);
        programStart.push_back(real.startMs);
        baselineCpu.push_back(base.cpuMs);
        programCpu.push_back(real.cpuMs);
        baselineLogin.push_back(base.loginKb / 1024);
        programLogin.push_back(real.loginKb / 1024);
        baselineSync.push_back(base.syncKb / 1024);
    }

    Samples programSync, againTabs, clickTotal, clickOwn;
    std::map<QString, Samples> firstTabs;
    for (int run = 0; run < SyncRuns; ++run) {
        const RunReport real = RunProbed(program, demoArguments, platform, "sync");
        if (!real.ok || real.syncKb < 0) {
            std::printf("  sync run %d failed: %s\n", run, qPrintable(real.error));
            continue;
        }
        programSync.push_back(real.syncKb / 1024);
        for (const auto &tab : real.firstTabMs)
            Append(firstTabs[tab.first], tab.second);
        Append(againTabs, real.againTabMs);
        Append(clickTotal, real.clickTotalMs);
        Append(clickOwn, real.clickOwnMs);
    }

    PrintRatio("start-up to login window", Median(programStart), Median(baselineStart), "ms", StartGoalRatio);
    // Processor time is far less disturbed than wall time when other work shares the machine.
    PrintRatio("processor time to login window", Median(programCpu), Median(baselineCpu), "ms", StartGoalRatio);
    PrintRatio("memory, login window shown", Median(programLogin), Median(baselineLogin), "MB", 0);
    PrintRatio("memory, after sync", Median(programSync), Median(baselineSync), "MB", MemoryGoalRatio);
    Samples allFirst;
    for (const auto &tab : firstTabs) {
        const QByteArray label = "tab switch, first round: " + tab.first.toUtf8();
        PrintTiming(label.constData(), tab.second);
        Append(allFirst, tab.second);
    }
    PrintTiming("tab switch, first round (all)", allFirst);
    PrintTiming("tab switch, later rounds", againTabs);
    PrintTiming("cross-point click, own time", clickOwn);
    std::printf("  %-34s %9.2f ms  (with the 50 ms pause and the simulator's answer)\n",
        "cross-point click, click to repaint", Median(clickTotal));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    if (!scratch.isValid() || !PrepareScratchCopy(scratch.path())) {
        std::fprintf(stderr, "cannot copy %s/tavilon and its data\n", TAVILON_BIN_DIR);
        return 1;
    }
    QProcess sim;
    QString simAddress;
    if (!StartSimulator(sim, &simAddress)) {
        std::fprintf(stderr, "cannot start %s/tavilon-sim\n", TAVILON_BIN_DIR);
        return 1;
    }
    const QString program = scratch.path() + QStringLiteral("/tavilon");

    QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    MeasurePlatform({ QStringLiteral("offscreen"), offscreen }, program, simAddress);

    QProcess xvfb;
    QString display;
    if (StartXvfb(xvfb, &display)) {
        QProcessEnvironment x11 = QProcessEnvironment::systemEnvironment();
        x11.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        x11.insert(QStringLiteral("DISPLAY"), display);
        MeasurePlatform({ QStringLiteral("Xvfb 1920x1080"), x11 }, program, simAddress);
        xvfb.terminate();
        xvfb.waitForFinished(3000);
    } else {
        std::printf("== Xvfb not installed: no measurement on an X screen\n");
    }

    sim.terminate();
    sim.waitForFinished(3000);
    return 0;
}
