#include "sim/SimHub.h"

#include "sim/SimConnection.h"
#include "sim/SimLog.h"

#include <cctype>

SimHub::SimHub(SimDevice &device, const SimOptions &options, QObject *parent)
    : QObject(parent)
    , m_device(device)
    , m_options(options)
    , m_random(QRandomGenerator::securelySeeded())
{
    m_garbageTimer.setSingleShot(true);
    connect(&m_garbageTimer, &QTimer::timeout, this, &SimHub::SLT_SendGarbage);
    if (m_options.garbage)
        scheduleGarbage();
}

void SimHub::addConnection(SimConnection *connection)
{
    connection->setParent(this);
    m_connections.append(connection);
    connect(connection, &SimConnection::SGL_RequestReceived, this, &SimHub::SLT_Request);
    connect(connection, &SimConnection::SGL_Closed, this, &SimHub::SLT_ConnectionClosed);
}

void SimHub::SLT_ConnectionAdded(SimConnection *connection, const QString &peer)
{
    SimLog::Write(QStringLiteral("%1 connected from %2").arg(connection->name(), peer));
    addConnection(connection);
}

bool SimHub::isMuted(const QByteArray &line) const
{
    for (const QByteArray &pattern : m_options.mutePatterns) {
        if (line.contains(pattern))
            return true;
    }
    return false;
}

bool SimHub::isRefused(const QByteArray &line) const
{
    for (const QByteArray &pattern : m_options.refusePatterns) {
        if (line.contains(pattern))
            return true;
    }
    return false;
}

QByteArray SimHub::RefusalLine(const QByteArray &request)
{
    QList<QByteArray> words = request.simplified().split(' ');
    if (!words.isEmpty() && (words.first() == "SET" || words.first() == "GET"))
        words.removeFirst();
    const bool hasPort = !words.isEmpty()
        && ((words.first().startsWith("IN") && words.first().size() > 2 && std::isdigit(quint8(words.first().at(2))))
            || (words.first().startsWith("OUT") && words.first().size() > 3 && std::isdigit(quint8(words.first().at(3)))));
    QList<QByteArray> kept = words.mid(0, hasPort ? 2 : 1);
    kept.append("FAIL");
    return kept.join(' ');
}

void SimHub::send(SimConnection *connection, const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines)
        SimLog::Traffic(connection->name(), "->", line);
    connection->sendLines(lines);
}

void SimHub::SLT_Request(SimConnection *connection, const QByteArray &line, bool tooLong)
{
    SimLog::Traffic(connection->name(), "<-", tooLong ? QByteArray("(request longer than allowed)") : line);
    // An echoing device repeats what it heard, whether or not it then answers.
    if (m_options.echo && !tooLong)
        send(connection, { line });
    if (isMuted(line)) {
        // Neither carried out nor answered, as if the request never arrived.
        SimLog::Write(QStringLiteral("%1 muted").arg(connection->name()));
    } else if (!tooLong && isRefused(line)) {
        send(connection, { RefusalLine(line) });
    } else {
        const SimNetwork networkBefore = m_device.state().network;
        const int baudBefore = m_device.state().baudrate;
        const SimReply reply = tooLong ? SimDevice::lineTooLong() : m_device.handleRequest(line);
        send(connection, reply.toRequester);
        if (!reply.toAll.isEmpty()) {
            send(connection, reply.toAll);
            // The other clients, as a device reports a change made at its front panel.
            for (SimConnection *other : qAsConst(m_connections)) {
                if (other != connection && other->acceptsOutput())
                    send(other, reply.toAll);
            }
        }
        applyLinkSettings(networkBefore, baudBefore);
    }
    if (m_options.dropAfter > 0 && connection->countRequest() >= m_options.dropAfter) {
        SimLog::Write(
            QStringLiteral("%1 dropping after %2 requests").arg(connection->name()).arg(m_options.dropAfter));
        connection->closeWhenSent();
    }
}

void SimHub::applyLinkSettings(const SimNetwork &networkBefore, int baudBefore)
{
    const SimState &state = m_device.state();
    if (!(state.network == networkBefore)) {
        SimLog::Write(QStringLiteral("network settings now %1 port %2 mask %3 gateway %4; closing TCP clients")
                          .arg(state.network.ip, state.network.port, state.network.mask, state.network.gateway));
        for (SimConnection *connection : qAsConst(m_connections)) {
            if (connection->isNetworkClient())
                connection->closeWhenSent();
        }
        emit SGL_NetworkChanged(state.network);
    }
    if (state.baudrate != baudBefore) {
        SimLog::Write(QStringLiteral("RS232 rate now %1").arg(state.baudrate));
        emit SGL_BaudRateChanged(state.baudrate);
    }
}

void SimHub::SLT_ConnectionClosed(SimConnection *connection)
{
    SimLog::Write(QStringLiteral("%1 closed").arg(connection->name()));
    m_connections.removeAll(connection);
    connection->deleteLater();
}

QByteArray SimHub::JunkLine(QRandomGenerator &random)
{
    static const char printable[] = "abcdefghijklmnopqrstuvwxyz0123456789~#%*_-=+.,;:!?@$&";
    static const char control[] = { 0x00, 0x01, 0x02, 0x07, 0x08, 0x1B, 0x7F };
    const int printableCount = int(sizeof printable) - 1;
    QByteArray junk;
    junk.append(printable[random.bounded(printableCount)]);
    const int length = 4 + random.bounded(16);
    for (int i = 0; i < length; ++i) {
        if (random.bounded(4) == 0)
            junk.append(control[random.bounded(int(sizeof control))]);
        else
            junk.append(printable[random.bounded(printableCount)]);
    }
    return junk;
}

void SimHub::scheduleGarbage()
{
    m_garbageTimer.start(300 + m_random.bounded(600));
}

void SimHub::SLT_SendGarbage()
{
    for (SimConnection *connection : qAsConst(m_connections)) {
        if (!connection->acceptsOutput())
            continue;
        const QByteArray junk = JunkLine(m_random);
        SimLog::Traffic(connection->name(), "-> (junk)", junk);
        connection->sendJunkLine(junk);
    }
    scheduleGarbage();
}
