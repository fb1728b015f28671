#include "sim/SimTcpServer.h"

#include "sim/SimTcpConnection.h"

#include <QTcpSocket>

SimTcpServer::SimTcpServer(const SimWriterSettings &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
{
    connect(&m_server, &QTcpServer::newConnection, this, &SimTcpServer::SLT_NewConnection);
}

bool SimTcpServer::listen(const QHostAddress &address, quint16 port, QString &error)
{
    if (m_server.listen(address, port))
        return true;
    error = m_server.errorString();
    return false;
}

bool SimTcpServer::moveToPort(quint16 port, QString &error)
{
    const QHostAddress address = m_server.serverAddress();
    const quint16 oldPort = m_server.serverPort();
    if (port == oldPort)
        return true;
    m_server.close();
    if (m_server.listen(address, port))
        return true;
    error = m_server.errorString();
    m_server.listen(address, oldPort);
    return false;
}

void SimTcpServer::SLT_NewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        const QString name = QStringLiteral("tcp#%1").arg(++m_connectionCount);
        auto *connection = new SimTcpConnection(socket, name, m_settings);
        emit SGL_NewConnection(connection, connection->peerText());
    }
}
