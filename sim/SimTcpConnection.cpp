#include "sim/SimTcpConnection.h"

#include <QHostAddress>
#include <QTcpSocket>

SimTcpConnection::SimTcpConnection(
    QTcpSocket *socket, const QString &name, const SimWriterSettings &settings, QObject *parent)
    : SimConnection(name, settings, parent)
    , m_socket(socket)
{
    m_socket->setParent(this);
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(m_socket, &QTcpSocket::readyRead, this, &SimTcpConnection::SLT_ReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &SimTcpConnection::SLT_Disconnected);
}

QString SimTcpConnection::peerText() const
{
    return QStringLiteral("%1:%2").arg(m_socket->peerAddress().toString()).arg(m_socket->peerPort());
}

qint64 SimTcpConnection::writeBytes(const QByteArray &bytes)
{
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        return -1;
    const qint64 written = m_socket->write(bytes);
    m_socket->flush();
    return written;
}

bool SimTcpConnection::isPeerPresent() const
{
    return m_socket->state() == QAbstractSocket::ConnectedState;
}

void SimTcpConnection::closeTransport()
{
    // Written data goes out before the connection closes.
    m_socket->disconnectFromHost();
}

void SimTcpConnection::SLT_ReadyRead()
{
    receiveBytes(m_socket->readAll());
}

void SimTcpConnection::SLT_Disconnected()
{
    if (m_closedReported)
        return;
    m_closedReported = true;
    emit SGL_Closed(this);
}
