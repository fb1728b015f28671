// Listens for TCP clients and hands each to the hub as a connection named tcp#1, tcp#2, ...
#pragma once

#include "sim/SimConnection.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

class SimTcpServer : public QObject
{
    Q_OBJECT
public:
    SimTcpServer(const SimWriterSettings &settings, QObject *parent = nullptr);

    bool listen(const QHostAddress &address, quint16 port, QString &error);
    // Listens on another port of the same address; keeps the old one when that fails.
    bool moveToPort(quint16 port, QString &error);
    QHostAddress address() const { return m_server.serverAddress(); }
    quint16 port() const { return m_server.serverPort(); }

signals:
    void SGL_NewConnection(SimConnection *connection, const QString &peer);

private slots:
    void SLT_NewConnection();

private:
    QTcpServer m_server;
    SimWriterSettings m_settings;
    int m_connectionCount = 0;
};
