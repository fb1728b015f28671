// Tries one TCP host and port: connects within the connect time, then talks the probe
// dialogue. Reports once, whether anything accepted the connection and what answered.
#pragma once

#include "protocol/DiscoveryResult.h"
#include "protocol/ProbeDialogue.h"

#include <QObject>
#include <QTimer>

class QTcpSocket;

class TcpDeviceProbe : public QObject
{
    Q_OBJECT
public:
    TcpDeviceProbe(quint32 address, quint16 port, int connectTimeoutMs, int replyTimeoutMs, QObject *parent = nullptr);
    ~TcpDeviceProbe() override;

    void start();
    // Stops at once without reporting.
    void abort();

signals:
    // accepted: something listened there; result is meaningful only then.
    void SGL_Done(TcpDeviceProbe *probe, bool accepted, const DiscoveryResult &result);

private:
    void SLT_Connected();
    void SLT_Readable();
    void SLT_Failed();
    void SLT_TimedOut();
    void finish(bool accepted);

    DiscoveryResult m_result;
    ProbeDialogue m_dialogue;
    QTcpSocket *m_socket = nullptr;
    QTimer m_timer;
    int m_replyTimeoutMs;
    int m_connectTimeoutMs;
    bool m_connected = false;
    bool m_done = false;
};
