#include "link/ServiceTcpClient.h"

#include "link/LinkConnectFailure.h"
#include "link/LinkQueue.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>

namespace {

constexpr int NoErrorSinceConnect = 255;

QTimer *NewSingleShotTimer()
{
    auto *timer = new QTimer;
    timer->setSingleShot(true);
    // Reply deadlines are measured from the write; a coarse timer may fire early.
    timer->setTimerType(Qt::PreciseTimer);
    return timer;
}

// An empty local address, or 0.0.0.0, leaves the local address to the system's route to the
// device: the connection is not bound.
bool BindsLocalAddress(const QString &localIp)
{
    return !localIp.isEmpty() && QHostAddress(localIp) != QHostAddress(QHostAddress::AnyIPv4);
}

// The port text is read as a 64-bit number and cut to its low 16 bits.
quint16 RemotePortNumber(const QString &remotePort)
{
    return quint16(remotePort.toLongLong(nullptr, 10) & 0xFFFF);
}

} // namespace

ServiceTcpClient::ServiceTcpClient(QObject *parent)
    : QObject(parent)
    , m_engine(TcpLinkQueue(), *this)
{
    TcpLinkQueue().activate();
}

ServiceTcpClient::~ServiceTcpClient()
{
    if (m_open)
        closeLink(Deletion::Now);
}

void ServiceTcpClient::SLT_MatchTimer_Timeout()
{
    if (m_open)
        m_engine.matchTimerExpired();
}

void ServiceTcpClient::SLT_WaitTimer_Timeout()
{
    if (m_open)
        m_engine.waitTimerExpired();
}

// Any reported error, the device closing the connection included, makes the next send
// attempt reconnect first.
void ServiceTcpClient::SLT_SocketError(QAbstractSocket::SocketError error)
{
    m_lastError = int(error);
}

void ServiceTcpClient::SLT_SyncConnect_TcpClient(
    const QString &LocalIp, const QString &RemoteIp, const QString &RemotePort)
{
    if (m_open) {
        // A second connect replaces the open connection rather than leaking it.
        if (m_engine.isBusy()) {
            QMetaObject::invokeMethod(
                this, [=] { SLT_SyncConnect_TcpClient(LocalIp, RemoteIp, RemotePort); },
                Qt::QueuedConnection);
            return;
        }
        closeLink(Deletion::Now);
    }
    m_open = false;
    m_opened = false;
    m_localIp = LocalIp;
    m_remoteIp = RemoteIp;
    m_remotePort = RemotePort;
    createSocketAndTimers();
    bool bindFailed = false;
    m_opened = connectSocket(ConnectWaitMs, &bindFailed);
    if (!m_opened) {
        const bool stillConnecting = m_socket->state() == QAbstractSocket::ConnectingState
            || m_socket->state() == QAbstractSocket::HostLookupState;
        const auto cause = LinkConnectFailure::FromSocketError(m_socket->error(), bindFailed, stillConnecting);
        emit SGL_ConnectFailure_TcpClient(cause, m_socket->errorString());
        emit SGL_ConnectStatus_TcpClient(false, ConnectFailedCode);
        deleteSocketAndTimers(Deletion::Now);
        return;
    }
    TcpLinkQueue().activate();
    m_open = true;
    m_engine.startSession();
    m_lastError = NoErrorSinceConnect;
    emit SGL_ConnectStatus_TcpClient(true, 0);
}

void ServiceTcpClient::SLT_SyncDisconnect_TcpClient()
{
    if (!m_open)
        return;
    if (m_engine.deferCloseWhileBusy())
        return;
    closeLink(Deletion::Now);
}

// The reconnect check runs at the end of the pause before each write (prepareWrite), in the
// worker thread with no lock held, so that a kick or a push never waits for it.
void ServiceTcpClient::SLT_RealSendData_TcpClient()
{
    if (m_open)
        m_engine.sendNext();
}

void ServiceTcpClient::StopAwaitingReply(const QString &cmd)
{
    if (m_open)
        m_engine.stopAwaitingReplyTo(cmd);
}

void ServiceTcpClient::SLT_RealRecvData_TcpClient()
{
    if (m_open)
        m_engine.receiveAvailable();
}

void ServiceTcpClient::createSocketAndTimers()
{
    m_socket = new QTcpSocket;
    connect(m_socket, &QAbstractSocket::errorOccurred, this, &ServiceTcpClient::SLT_SocketError);
    connect(m_socket, &QIODevice::readyRead, this, &ServiceTcpClient::SLT_RealRecvData_TcpClient);
    // Unique: the service lives on across connects and must not send twice per request.
    connect(this, &ServiceTcpClient::SGL_TryCheckSend, this, &ServiceTcpClient::SLT_RealSendData_TcpClient,
        Qt::ConnectionType(Qt::DirectConnection | Qt::UniqueConnection));
    m_matchTimer = NewSingleShotTimer();
    m_waitTimer = NewSingleShotTimer();
    m_pauseTimer = NewSingleShotTimer();
    connect(m_matchTimer, &QTimer::timeout, this, &ServiceTcpClient::SLT_MatchTimer_Timeout);
    connect(m_waitTimer, &QTimer::timeout, this, &ServiceTcpClient::SLT_WaitTimer_Timeout);
    connect(m_pauseTimer, &QTimer::timeout, this, [this] {
        if (m_open)
            m_engine.pauseTimerExpired();
    });
}

void ServiceTcpClient::deleteSocketAndTimers(Deletion deletion)
{
    DeleteLinkObject(m_socket, deletion);
    DeleteLinkObject(m_matchTimer, deletion);
    DeleteLinkObject(m_waitTimer, deletion);
    DeleteLinkObject(m_pauseTimer, deletion);
}

// Binds to the local address and connects to the device over IPv4 without a proxy. The
// proxy is chosen before connecting, where it takes effect; a failed bind fails the attempt,
// as an unbound connect would leave from whatever address the system picks. Without a local
// address (a routed device) nothing is bound.
bool ServiceTcpClient::connectSocket(int waitMs, bool *bindFailed)
{
    m_socket->setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    if (BindsLocalAddress(m_localIp) && !m_socket->bind(QHostAddress(m_localIp), 0)) {
        if (bindFailed)
            *bindFailed = true;
        return false;
    }
    m_socket->connectToHost(
        m_remoteIp, RemotePortNumber(m_remotePort), QIODevice::ReadWrite, QAbstractSocket::IPv4Protocol);
    return m_socket->waitForConnected(waitMs);
}

void ServiceTcpClient::reconnectIfNeeded()
{
    if (!m_opened)
        return;
    if (m_socket->state() == QAbstractSocket::ConnectedState && m_lastError == NoErrorSinceConnect)
        return;
    // Complete lines the old connection delivered are still handled; what it left after its
    // last CR cannot be completed by the new one.
    m_engine.receiveAvailable();
    m_engine.discardPartialLine();
    // The old connection may still be half there; it must be gone before binding again.
    m_socket->abort();
    if (connectSocket(ReconnectWaitMs)) {
        m_lastError = NoErrorSinceConnect;
        // The device may have changed while the link was down; the GUI reads it again.
        emit SGL_ReConnectStatus_TcpClient(true);
    } else {
        emit SGL_ReConnectStatus_TcpClient(false);
    }
}

void ServiceTcpClient::closeLink(Deletion deletion)
{
    m_open = false;
    m_socket->disconnectFromHost();
    m_socket->abort();
    m_socket->close();
    m_engine.stopRunningTimer();
    deleteSocketAndTimers(deletion);
    TcpLinkQueue().deactivate();
}

QByteArray ServiceTcpClient::readAvailable()
{
    return m_socket->readAll();
}

// After a failed reconnect the socket is closed and the line is lost; its reply timer still
// runs, so the command ends as any unanswered one.
void ServiceTcpClient::writeLine(const QByteArray &bytes)
{
    if (m_socket->isOpen())
        m_socket->write(bytes);
}

void ServiceTcpClient::startPauseTimer(int ms)
{
    m_pauseTimer->start(ms);
}

void ServiceTcpClient::stopPauseTimer()
{
    m_pauseTimer->stop();
}

// Checked after the pause, right before the write, so that a connection the device dropped
// during the pause is made again before the line goes out. One write makes one attempt.
void ServiceTcpClient::prepareWrite()
{
    reconnectIfNeeded();
}

void ServiceTcpClient::startMatchTimer(int ms)
{
    m_matchTimer->start(ms);
}

void ServiceTcpClient::stopMatchTimer()
{
    m_matchTimer->stop();
}

void ServiceTcpClient::startWaitTimer(int ms)
{
    m_waitTimer->start(ms);
}

void ServiceTcpClient::stopWaitTimer()
{
    m_waitTimer->stop();
}

void ServiceTcpClient::announceLineSent(const QString &text)
{
    emit SGL_UpdateSendData_TcpClient(text);
}

void ServiceTcpClient::announceLineReceived()
{
    emit SGL_UpdateRecvData_TcpClient();
}

void ServiceTcpClient::announceReplyTimeout(const QString &command)
{
    emit SGL_WaitReplyTimeout_TcpClient(command);
}

void ServiceTcpClient::requestSendAttempt()
{
    emit SGL_TryCheckSend();
}

// The close may run inside a signal of the socket or of a timer: they go with deleteLater.
void ServiceTcpClient::closeDeferredLink()
{
    if (m_open)
        closeLink(Deletion::Later);
}
