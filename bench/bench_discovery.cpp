// Time to the full list when a discovery scans 127.0.0.0/24 with two simulators in it.
//
// Method: two tavilon-sim processes listen on 127.0.0.2 and 127.0.0.3 at one port; in this
// process a DeviceDiscovery scans 127.0.0.0/24 at that port (254 hosts, 64 connections in
// flight, the program's time-outs), several times. Reported: the median and the longest time
// from start to the finished list, and how many devices each run found. On loopback a closed
// port refuses at once, so this is the floor; on a real network every host that does not
// answer costs the 300 ms connect time-out, at most 254 / 64 rounds of it.
#include "protocol/DeviceDiscovery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTcpServer>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Runs = 7;

bool StartSimulator(QProcess &sim, const QString &where)
{
    sim.setProgram(QStringLiteral(TAVILON_BIN_DIR "/tavilon-sim"));
    sim.setArguments({ "--tcp", where, "--no-pty" });
    sim.start();
    if (!sim.waitForStarted(5000))
        return false;
    QByteArray out;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 5000 && !out.contains("TCP ")) {
        sim.waitForReadyRead(100);
        out += sim.readAllStandardOutput();
    }
    return out.contains("TCP ");
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTcpServer free;
    free.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
    const quint16 port = free.serverPort();
    free.close();

    std::vector<std::unique_ptr<QProcess>> simulators;
    for (const char *host : { "127.0.0.2", "127.0.0.3" }) {
        simulators.emplace_back(new QProcess);
        if (!StartSimulator(*simulators.back(), QStringLiteral("%1:%2").arg(QLatin1String(host)).arg(port))) {
            std::fprintf(stderr, "cannot start the simulator on %s\n", host);
            return 1;
        }
    }

    DiscoveryPlan plan;
    plan.serial = false;
    Ipv4Subnet subnet;
    Ipv4Subnet::Parse(QStringLiteral("127.0.0.0/24"), &subnet, nullptr);
    plan.subnets = { subnet };
    plan.tcpPorts = { port };

    std::vector<double> times;
    QList<int> found;
    for (int run = 0; run < Runs; ++run) {
        DeviceDiscovery discovery;
        QEventLoop loop;
        QObject::connect(&discovery, &DeviceDiscovery::SGL_Finished, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        clock.start();
        discovery.start(plan);
        if (discovery.isRunning())
            loop.exec();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
        found.append(int(std::count_if(discovery.results().begin(), discovery.results().end(),
            [](const DiscoveryResult &result) { return result.isDevice(); })));
    }
    std::sort(times.begin(), times.end());
    std::printf("discovery of 127.0.0.0/24 (254 hosts, 1 port) with 2 simulators, %d runs\n", Runs);
    std::printf("  time to the full list: median %.1f ms, longest %.1f ms\n", times[times.size() / 2], times.back());
    QStringList counts;
    for (int count : found)
        counts.append(QString::number(count));
    std::printf("  devices found per run: %s\n", qPrintable(counts.join(QLatin1Char(' '))));
    for (auto &sim : simulators) {
        sim->terminate();
        sim->waitForFinished(3000);
    }
    return 0;
}
