// Identification plus synchronisation burst against an in-process loopback peer, as a ratio to
// the pacing floor.
//
// Method: a QTcpServer on 127.0.0.1 in this process answers every request at once with a line
// that holds the request's expected text (GET MODEL TYPE with the expected model, so that the
// parser starts the burst). The headless client's session connects through the real TCP link
// service in its worker thread, identifies the device and waits for the SYNC-OVER reply that
// ends the burst, exactly as `tavilon-cli sync` does before its own extra reads. Every line
// waits 50 ms before it is written, so the floor of the 16-line burst is 16 x 50 ms = 800 ms
// and that of the model query plus the burst 17 x 50 ms = 850 ms. The median of the runs is
// reported. Goal: burst / 800 ms <= 1.10.
#include "bench/SyncTiming.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 7;
constexpr double LinePacingMs = 50.0;
constexpr int BurstLines = 16;
constexpr double Goal = 1.10;

// The answer a device would give, reduced to what ends the wait: the request without its verb,
// with a value where the parser needs one to go on.
QByteArray AnswerTo(QByteArray request)
{
    request = request.trimmed();
    if (request.startsWith("GET ") || request.startsWith("SET "))
        request.remove(0, 4);
    if (request == "MODEL TYPE")
        return "MODEL TYPE RZ7P52KN\r";
    if (request == "MATRIX-ROUTE")
        return "MATRIX-ROUTE 0 1 2 3\r";
    return request + "\r";
}

class LoopbackPeer : public QObject
{
public:
    bool listen()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    while (socket->canReadLine() || socket->bytesAvailable() > 0) {
                        QByteArray buffer = socket->property("pending").toByteArray() + socket->readAll();
                        int end;
                        while ((end = buffer.indexOf('\r')) >= 0) {
                            socket->write(AnswerTo(buffer.left(end)));
                            buffer.remove(0, end + 1);
                        }
                        socket->setProperty("pending", buffer);
                    }
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        return m_server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    QTcpServer m_server;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    LoopbackPeer peer;
    if (!peer.listen()) {
        std::fprintf(stderr, "cannot listen on 127.0.0.1\n");
        return 1;
    }
    std::vector<double> total;
    std::vector<double> burst;
    for (int k = 0; k < Runs; ++k) {
        SyncTiming run;
        if (!MeasureSyncOverTcp(peer.port(), &run))
            return 1;
        total.push_back(run.toBurstEndMs);
        burst.push_back(run.burstMs);
    }
    const double burstFloor = BurstLines * LinePacingMs;
    const double totalFloor = (BurstLines + 1) * LinePacingMs;
    const double burstRatio = Median(burst) / burstFloor;
    std::printf("command: %s  (in-process QTcpServer on 127.0.0.1, %d runs, median)\n",
        qPrintable(QCoreApplication::applicationFilePath()), Runs);
    std::printf("identification + burst (17 lines): %.1f ms, floor %.0f ms, ratio %.3f\n", Median(total),
        totalFloor, Median(total) / totalFloor);
    std::printf("burst alone (16 lines):            %.1f ms, floor %.0f ms, ratio %.3f (goal <= %.2f: %s)\n",
        Median(burst), burstFloor, burstRatio, Goal, burstRatio <= Goal ? "met" : "MISSED");
    return 0;
}
