// tavilon-sim: answers as the matrix switcher over TCP and a pseudo-terminal, for tests,
// training and working on the program without the device.
#include "sim/SimDevice.h"
#include "sim/SimHub.h"
#include "sim/SimLog.h"
#include "sim/SimOptions.h"
#include "sim/SimPtyPort.h"
#include "sim/SimSignalWatcher.h"
#include "sim/SimTcpServer.h"
#include "TavilonVersion.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <csignal>
#include <cstdio>

namespace {

SimWriterSettings WriterSettingsOf(const SimOptions &options)
{
    SimWriterSettings settings;
    settings.latencyMs = options.latencyMs;
    settings.chunk = options.chunk;
    settings.lineEnding = options.lineEnding;
    return settings;
}

// The network settings the device reports at first: where it really listens, so that a
// controller that stores them can connect again with them.
SimNetwork FactoryNetworkOf(const SimOptions &options, const SimTcpServer *server)
{
    SimNetwork network { QStringLiteral("192.168.0.247"), QStringLiteral("2000"),
        QStringLiteral("255.255.255.0"), QStringLiteral("192.168.0.1") };
    if (!server)
        return network;
    QHostAddress address(options.tcpHost);
    bool isIpv4 = false;
    const quint32 ipv4 = address.toIPv4Address(&isIpv4);
    if (!isIpv4 || ipv4 == 0)
        address = QHostAddress(QStringLiteral("127.0.0.1"));
    network.ip = address.toString();
    network.port = QString::number(server->port());
    network.gateway = QHostAddress((address.toIPv4Address() & 0xFFFFFF00u) | 1u).toString();
    return network;
}

int Fail(const QString &message)
{
    std::fprintf(stderr, "tavilon-sim: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::signal(SIGPIPE, SIG_IGN);

    SimOptions options;
    QString error;
    if (!options.parse(app.arguments().mid(1), error)) {
        std::fprintf(stderr, "tavilon-sim: %s\n\n%s", qPrintable(error), qPrintable(SimOptions::Usage()));
        return 2;
    }
    if (options.help) {
        std::fputs(qPrintable(SimOptions::Usage()), stdout);
        return 0;
    }
    if (options.version) {
        std::fputs("tavilon-sim " TAVILON_VERSION "\n", stdout);
        return 0;
    }

    SimSignalWatcher stopWatcher;
    if (!stopWatcher.install())
        return Fail(QStringLiteral("cannot install the signal handlers"));
    QObject::connect(&stopWatcher, &SimSignalWatcher::SGL_StopRequested, &app, [&app](int signalNumber) {
        SimLog::Write(QStringLiteral("stopping on signal %1").arg(signalNumber));
        app.quit();
    });

    const SimWriterSettings writer = WriterSettingsOf(options);
    SimTcpServer *server = nullptr;
    if (options.tcpEnabled) {
        server = new SimTcpServer(writer, &app);
        if (!server->listen(QHostAddress(options.tcpHost), options.tcpPort, error))
            return Fail(QStringLiteral("cannot listen on %1:%2: %3")
                            .arg(options.tcpHost)
                            .arg(options.tcpPort)
                            .arg(error));
    }

    SimDevice device({ options.model, FactoryNetworkOf(options, server), options.baudRate ? options.baudRate : 9600 });
    SimHub hub(device, options);
    SimPtyPort *pty = nullptr;
    if (options.ptyEnabled) {
        pty = new SimPtyPort(options.ptyLink, writer);
        hub.addConnection(pty);
        if (!pty->open(error))
            return Fail(error);
        if (options.baudRate)
            pty->expectBaudRate(options.baudRate);
        QObject::connect(pty, &SimPtyPort::SGL_Reopened, &hub, [pty](const QString &slavePath) {
            SimLog::Write(QStringLiteral("pty reopened as %1 at %2").arg(slavePath, pty->linkPath()));
        });
    }
    // A device applies new link settings once it has answered the write.
    if (server) {
        QObject::connect(&hub, &SimHub::SGL_NetworkChanged, server, [server](const SimNetwork &network) {
            QString error;
            const quint16 port = quint16(network.port.toUInt());
            if (server->moveToPort(port, error))
                SimLog::Write(QStringLiteral("TCP %1:%2").arg(server->address().toString()).arg(server->port()));
            else
                SimLog::Write(QStringLiteral("cannot move to port %1 (%2); still on %3").arg(port).arg(error).arg(server->port()));
        });
    }
    if (pty)
        QObject::connect(&hub, &SimHub::SGL_BaudRateChanged, pty, &SimPtyPort::expectBaudRate);
    if (server) {
        QObject::connect(server, &SimTcpServer::SGL_NewConnection, &hub, &SimHub::SLT_ConnectionAdded);
        SimLog::Write(QStringLiteral("TCP %1:%2").arg(server->address().toString()).arg(server->port()));
    }
    if (pty)
        SimLog::Write(QStringLiteral("PTY %1").arg(pty->linkPath()));

    const int status = app.exec();
    SimLog::Write(QStringLiteral("stopped"));
    return status;
}
