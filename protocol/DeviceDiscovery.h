// Looks for devices: every serial port of the plan at each rate, every host of the plan's
// subnets (and the typed hosts) at each TCP port, with a bounded number of connections in
// flight. Reports each place where something answered or accepted, and its progress; can be
// cancelled at any time. Runs in the thread that owns it, driven by its event loop.
#pragma once

#include "protocol/DiscoveryPlan.h"
#include "protocol/DiscoveryResult.h"

#include <QList>
#include <QObject>
#include <QPair>

class SerialDeviceProbe;
class TcpDeviceProbe;

class DeviceDiscovery : public QObject
{
    Q_OBJECT
public:
    explicit DeviceDiscovery(QObject *parent = nullptr);
    ~DeviceDiscovery() override;

    // The TCP addresses a plan tries, in order, each once: the subnets' hosts, then the typed
    // hosts that are valid dotted IPv4 addresses.
    static QList<quint32> HostsOf(const DiscoveryPlan &plan);

    void start(const DiscoveryPlan &plan);
    void cancel();
    bool isRunning() const { return m_running; }
    // Every result so far, in the order found.
    const QList<DiscoveryResult> &results() const { return m_results; }
    int tried() const { return m_tried; }
    int total() const { return m_total; }

signals:
    // A device, another model, a silent listener or a port that could not be opened.
    void SGL_Found(const DiscoveryResult &result);
    void SGL_Progress(int tried, int total);
    void SGL_Finished(bool cancelled);

private:
    void startMoreTcpProbes();
    void SLT_TcpProbeDone(TcpDeviceProbe *probe, bool accepted, const DiscoveryResult &result);
    void SLT_SerialRateDone();
    void SLT_SerialProbeDone(SerialDeviceProbe *probe, const DiscoveryResult &result);
    void countTry();
    void report(const DiscoveryResult &result);
    void finishIfDone();
    void stopProbes();

    DiscoveryPlan m_plan;
    QList<QPair<quint32, quint16>> m_tcpTargets;
    int m_nextTcpTarget = 0;
    QList<TcpDeviceProbe *> m_tcpProbes;
    QList<SerialDeviceProbe *> m_serialProbes;
    QList<DiscoveryResult> m_results;
    int m_tried = 0;
    int m_total = 0;
    bool m_running = false;
};
