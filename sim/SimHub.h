// Joins the clients to the device: hands each request to the device, writes the answer to the
// asker and the change reports to every client, and plays the configured faults (muted
// requests, dropped connections, junk lines).
#pragma once

#include "sim/SimDevice.h"
#include "sim/SimOptions.h"

#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>

class SimConnection;

class SimHub : public QObject
{
    Q_OBJECT
public:
    SimHub(SimDevice &device, const SimOptions &options, QObject *parent = nullptr);

    // The hub owns connections it is given; TCP connections are deleted when they close.
    void addConnection(SimConnection *connection);

    // A junk line: printable noise with a few control bytes, never CR or LF inside, never an
    // upper-case word (so it holds no protocol keyword), and never starting with a control
    // byte, which would make a receiver throw away everything read together with it.
    static QByteArray JunkLine(QRandomGenerator &random);
    // A refusal as the device words it: the request without its verb, cut after its keyword
    // (the port word and the one after it, or the first word of a request without a port),
    // then FAIL; "SET IN2 EDID-USER 00 FF ..." gives "IN2 EDID-USER FAIL".
    static QByteArray RefusalLine(const QByteArray &request);

signals:
    // A write (or a reset) changed the device's network settings; its network clients are
    // being disconnected once their answer is out.
    void SGL_NetworkChanged(const SimNetwork &network);
    // The same for the RS232 rate.
    void SGL_BaudRateChanged(int baudrate);

public slots:
    void SLT_ConnectionAdded(SimConnection *connection, const QString &peer);

private slots:
    void SLT_Request(SimConnection *connection, const QByteArray &line, bool tooLong);
    void SLT_ConnectionClosed(SimConnection *connection);
    void SLT_SendGarbage();

private:
    bool isMuted(const QByteArray &line) const;
    bool isRefused(const QByteArray &line) const;
    // Applies link settings that the last request changed, as the device does once it has
    // answered: its network restarts, its serial side listens at the new rate.
    void applyLinkSettings(const SimNetwork &networkBefore, int baudBefore);
    void send(SimConnection *connection, const QList<QByteArray> &lines);
    void scheduleGarbage();

    SimDevice &m_device;
    SimOptions m_options;
    QList<SimConnection *> m_connections;
    QTimer m_garbageTimer;
    QRandomGenerator m_random;
};
