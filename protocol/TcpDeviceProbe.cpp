#include "protocol/TcpDeviceProbe.h"

#include <QHostAddress>
#include <QNetworkProxy>
#include <QTcpSocket>

TcpDeviceProbe::TcpDeviceProbe(quint32 address, quint16 port, int connectTimeoutMs, int replyTimeoutMs, QObject *parent)
    : QObject(parent)
    , m_replyTimeoutMs(replyTimeoutMs)
    , m_connectTimeoutMs(connectTimeoutMs)
{
    m_result.link = DiscoveryResult::Link::Tcp;
    m_result.address = QHostAddress(address).toString();
    m_result.port = port;
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &TcpDeviceProbe::SLT_TimedOut);
}

TcpDeviceProbe::~TcpDeviceProbe()
{
    abort();
}

void TcpDeviceProbe::start()
{
    m_socket = new QTcpSocket(this);
    // A proxy from the environment would hide which host answered.
    m_socket->setProxy(QNetworkProxy::NoProxy);
    connect(m_socket, &QTcpSocket::connected, this, &TcpDeviceProbe::SLT_Connected);
    connect(m_socket, &QTcpSocket::readyRead, this, &TcpDeviceProbe::SLT_Readable);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &TcpDeviceProbe::SLT_Failed);
    m_timer.start(m_connectTimeoutMs);
    m_socket->connectToHost(QHostAddress(m_result.address), m_result.port);
}

void TcpDeviceProbe::abort()
{
    m_done = true;
    m_timer.stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

void TcpDeviceProbe::SLT_Connected()
{
    m_connected = true;
    m_timer.start(m_replyTimeoutMs);
    m_socket->write(m_dialogue.start());
}

void TcpDeviceProbe::SLT_Readable()
{
    QByteArray toSend;
    const ProbeDialogue::Step step = m_dialogue.feed(m_socket->readAll(), &toSend);
    if (step == ProbeDialogue::Step::Send) {
        m_timer.start(m_replyTimeoutMs);
        m_socket->write(toSend);
    } else if (step == ProbeDialogue::Step::Finished) {
        finish(true);
    }
}

void TcpDeviceProbe::SLT_Failed()
{
    // Refused, unreachable, or closed by the peer: a closing peer may have answered first.
    finish(m_connected);
}

void TcpDeviceProbe::SLT_TimedOut()
{
    finish(m_connected);
}

void TcpDeviceProbe::finish(bool accepted)
{
    if (m_done)
        return;
    m_done = true;
    m_timer.stop();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
    m_result.model = m_dialogue.model();
    m_result.mainVersion = m_dialogue.mainVersion();
    if (!m_dialogue.modelAnswered())
        m_result.kind = DiscoveryResult::Kind::Silent;
    else if (m_dialogue.isExpectedModel())
        m_result.kind = DiscoveryResult::Kind::Device;
    else
        m_result.kind = DiscoveryResult::Kind::OtherModel;
    emit SGL_Done(this, accepted, m_result);
}
