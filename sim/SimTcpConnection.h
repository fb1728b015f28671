// A TCP client of the simulator.
#pragma once

#include "sim/SimConnection.h"

class QTcpSocket;

class SimTcpConnection : public SimConnection
{
    Q_OBJECT
public:
    // Takes over the socket (it becomes a child of the connection).
    SimTcpConnection(QTcpSocket *socket, const QString &name, const SimWriterSettings &settings,
        QObject *parent = nullptr);

    QString peerText() const;
    bool isNetworkClient() const override { return true; }

protected:
    qint64 writeBytes(const QByteArray &bytes) override;
    bool isPeerPresent() const override;
    void closeTransport() override;

private slots:
    void SLT_ReadyRead();
    void SLT_Disconnected();

private:
    QTcpSocket *m_socket;
    bool m_closedReported = false;
};
