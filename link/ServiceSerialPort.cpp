#include "link/ServiceSerialPort.h"

#include "link/LinkConnectFailure.h"
#include "link/LinkObjectDeletion.h"
#include "link/LinkQueue.h"

#include <QTimer>

namespace {

constexpr int NoErrorSinceOpen = 255;

QTimer *NewSingleShotTimer()
{
    auto *timer = new QTimer;
    timer->setSingleShot(true);
    // Reply deadlines are measured from the write; a coarse timer may fire early.
    timer->setTimerType(Qt::PreciseTimer);
    return timer;
}

} // namespace

ServiceSerialPort::ServiceSerialPort(QObject *parent)
    : QObject(parent)
    , m_engine(SerialLinkQueue(), *this)
{
    SerialLinkQueue().activate();
}

ServiceSerialPort::~ServiceSerialPort()
{
    if (m_open)
        closeLink(Deletion::Now);
}

void ServiceSerialPort::SLT_MatchTimer_Timeout()
{
    if (m_open)
        m_engine.matchTimerExpired();
}

void ServiceSerialPort::SLT_WaitTimer_Timeout()
{
    if (m_open)
        m_engine.waitTimerExpired();
}

// A port that is gone keeps reporting (its descriptor stays readable at end of file), so a
// loss closes the link. The close runs queued, outside the port's own signal.
void ServiceSerialPort::SLT_SerialPortError(QSerialPort::SerialPortError error)
{
    m_lastError = int(error);
    if (!m_open || m_losing || !IsPortLoss(error))
        return;
    m_losing = true;
    const quint64 session = m_session;
    QMetaObject::invokeMethod(this, [this, session] { closeLostPort(session); }, Qt::QueuedConnection);
}

bool ServiceSerialPort::IsPortLoss(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
    case QSerialPort::PermissionError:
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
        return true;
    default:
        return false;
    }
}

// Nothing when the operator closed the link, or another connect replaced the port, meanwhile.
void ServiceSerialPort::closeLostPort(quint64 session)
{
    if (!m_open || session != m_session)
        return;
    if (m_engine.isBusy()) {
        QMetaObject::invokeMethod(this, [this, session] { closeLostPort(session); }, Qt::QueuedConnection);
        return;
    }
    m_losing = false;
    closeLink(Deletion::Now);
    emit SGL_PortLost_SerialPort(m_portName);
}

void ServiceSerialPort::StopAwaitingReply(const QString &cmd)
{
    if (m_open)
        m_engine.stopAwaitingReplyTo(cmd);
}

void ServiceSerialPort::SLT_SyncConnect_SerialPort(const QString &MyPortName, const QString &MyBaudRate,
    const QString &MyDataBit, const QString &MyParity, const QString &MyStopBit, const QString &MyFlowControl)
{
    if (m_open) {
        // A second connect replaces the open port rather than leaking it (and its lock).
        if (m_engine.isBusy()) {
            QMetaObject::invokeMethod(
                this,
                [=] {
                    SLT_SyncConnect_SerialPort(
                        MyPortName, MyBaudRate, MyDataBit, MyParity, MyStopBit, MyFlowControl);
                },
                Qt::QueuedConnection);
            return;
        }
        closeLink(Deletion::Now);
    }
    m_open = false;
    createPortAndTimers();
    m_portName = MyPortName;
    m_port->setPortName(MyPortName);
    if (!m_port->open(QIODevice::ReadWrite)) {
        const auto cause = LinkConnectFailure::FromSerialError(
            m_port->error(), LinkConnectFailure::ExaminePath(MyPortName));
        emit SGL_ConnectFailure_SerialPort(cause, m_port->errorString());
        emit SGL_ConnectStatus_SerialPort(false, ConnectFailedCode);
        deletePortAndTimers(Deletion::Now);
        return;
    }
    applyPortSettings(MyBaudRate, MyDataBit, MyParity, MyStopBit, MyFlowControl);
    SerialLinkQueue().activate();
    m_open = true;
    m_losing = false;
    ++m_session;
    m_engine.startSession();
    m_lastError = NoErrorSinceOpen;
    emit SGL_ConnectStatus_SerialPort(true, 0);
}

void ServiceSerialPort::SLT_SyncDisconnect_SerialPort()
{
    if (!m_open)
        return;
    if (m_engine.deferCloseWhileBusy())
        return;
    closeLink(Deletion::Now);
}

void ServiceSerialPort::SLT_RealSendData_SerialPort()
{
    if (m_open)
        m_engine.sendNext();
}

void ServiceSerialPort::SLT_RealRecvData_SerialPort()
{
    if (m_open)
        m_engine.receiveAvailable();
}

void ServiceSerialPort::createPortAndTimers()
{
    m_port = new QSerialPort;
    connect(m_port, &QSerialPort::errorOccurred, this, &ServiceSerialPort::SLT_SerialPortError);
    connect(m_port, &QSerialPort::readyRead, this, &ServiceSerialPort::SLT_RealRecvData_SerialPort);
    // Unique: the service lives on across connects and must not send twice per request.
    connect(this, &ServiceSerialPort::SGL_TryCheckSend, this, &ServiceSerialPort::SLT_RealSendData_SerialPort,
        Qt::ConnectionType(Qt::DirectConnection | Qt::UniqueConnection));
    m_matchTimer = NewSingleShotTimer();
    m_waitTimer = NewSingleShotTimer();
    m_pauseTimer = NewSingleShotTimer();
    connect(m_matchTimer, &QTimer::timeout, this, &ServiceSerialPort::SLT_MatchTimer_Timeout);
    connect(m_waitTimer, &QTimer::timeout, this, &ServiceSerialPort::SLT_WaitTimer_Timeout);
    connect(m_pauseTimer, &QTimer::timeout, this, [this] {
        if (m_open)
            m_engine.pauseTimerExpired();
    });
}

void ServiceSerialPort::deletePortAndTimers(Deletion deletion)
{
    DeleteLinkObject(m_port, deletion);
    DeleteLinkObject(m_matchTimer, deletion);
    DeleteLinkObject(m_waitTimer, deletion);
    DeleteLinkObject(m_pauseTimer, deletion);
}

void ServiceSerialPort::applyPortSettings(const QString &baudRate, const QString &dataBits,
    const QString &parity, const QString &stopBits, const QString &flowControl)
{
    m_port->setBaudRate(baudRate.toInt(), QSerialPort::AllDirections);
    m_port->setDataBits(QSerialPort::DataBits(dataBits.toInt()));
    m_port->setParity(QSerialPort::Parity(parity.toInt()));
    m_port->setStopBits(QSerialPort::StopBits(stopBits.toInt()));
    m_port->setFlowControl(QSerialPort::FlowControl(flowControl.toInt()));
}

void ServiceSerialPort::closeLink(Deletion deletion)
{
    m_open = false;
    m_port->clear(QSerialPort::AllDirections);
    m_port->close();
    m_engine.stopRunningTimer();
    deletePortAndTimers(deletion);
    SerialLinkQueue().deactivate();
}

QByteArray ServiceSerialPort::readAvailable()
{
    return m_port->readAll();
}

void ServiceSerialPort::writeLine(const QByteArray &bytes)
{
    m_port->write(bytes);
}

void ServiceSerialPort::startPauseTimer(int ms)
{
    m_pauseTimer->start(ms);
}

void ServiceSerialPort::stopPauseTimer()
{
    m_pauseTimer->stop();
}

void ServiceSerialPort::startMatchTimer(int ms)
{
    m_matchTimer->start(ms);
}

void ServiceSerialPort::stopMatchTimer()
{
    m_matchTimer->stop();
}

void ServiceSerialPort::startWaitTimer(int ms)
{
    m_waitTimer->start(ms);
}

void ServiceSerialPort::stopWaitTimer()
{
    m_waitTimer->stop();
}

void ServiceSerialPort::announceLineSent(const QString &text)
{
    emit SGL_UpdateSendData_SerialPort(text);
}

void ServiceSerialPort::announceLineReceived()
{
    emit SGL_UpdateRecvData_SerialPort();
}

void ServiceSerialPort::announceReplyTimeout(const QString &command)
{
    emit SGL_WaitReplyTimeout_SerialPort(command);
}

void ServiceSerialPort::requestSendAttempt()
{
    emit SGL_TryCheckSend();
}

// The close may run inside a signal of the port or of a timer: they go with deleteLater.
void ServiceSerialPort::closeDeferredLink()
{
    if (m_open)
        closeLink(Deletion::Later);
}
