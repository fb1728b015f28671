#include "protocol/DeviceDiscovery.h"

#include "protocol/SerialDeviceProbe.h"
#include "protocol/TcpDeviceProbe.h"
#include "link/LinkSettingsRules.h"

#include <QFileInfo>
#include <QHostAddress>
#include <QSet>

namespace {

QList<qint32> RatesOf(const DiscoveryPlan &plan)
{
    if (!plan.baudRates.isEmpty())
        return plan.baudRates;
    QList<qint32> rates;
    for (const QString &text : LinkBaudRateTexts())
        rates.append(text.toInt());
    return rates;
}

QList<quint16> DistinctPorts(const QList<quint16> &ports)
{
    QList<quint16> distinct;
    for (quint16 port : ports)
        if (port != 0 && !distinct.contains(port))
            distinct.append(port);
    return distinct;
}

// The device a port name leads to: a by-id link and the name it points at are one port.
QString CanonicalPort(const QString &name)
{
    const QString path = name.contains(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

QStringList DistinctSerialPorts(const QStringList &names)
{
    QStringList distinct;
    QSet<QString> seen;
    for (const QString &name : names) {
        const QString port = CanonicalPort(name);
        if (!seen.contains(port)) {
            seen.insert(port);
            distinct.append(name);
        }
    }
    return distinct;
}

} // namespace

DeviceDiscovery::DeviceDiscovery(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<DiscoveryResult>();
}

DeviceDiscovery::~DeviceDiscovery()
{
    stopProbes();
}

QList<quint32> DeviceDiscovery::HostsOf(const DiscoveryPlan &plan)
{
    QList<quint32> hosts;
    QSet<quint32> seen;
    for (const Ipv4Subnet &subnet : plan.subnets)
        for (quint32 host : subnet.scannedHosts())
            if (!seen.contains(host)) {
                seen.insert(host);
                hosts.append(host);
            }
    for (const QString &text : plan.extraHosts) {
        Ipv4Subnet single;
        if (!Ipv4Subnet::Parse(text, &single, nullptr) || single.prefixLength() != 32 || seen.contains(single.address()))
            continue;
        seen.insert(single.address());
        hosts.append(single.address());
    }
    return hosts;
}

void DeviceDiscovery::start(const DiscoveryPlan &plan)
{
    cancel();
    m_plan = plan;
    m_results.clear();
    m_tcpTargets.clear();
    m_nextTcpTarget = 0;
    m_tried = 0;
    m_running = true;

    if (plan.tcp) {
        const QList<quint16> ports = DistinctPorts(plan.tcpPorts);
        for (quint32 host : HostsOf(plan))
            for (quint16 port : ports)
                m_tcpTargets.append({ host, port });
    }
    const QList<qint32> rates = RatesOf(plan);
    const QStringList serialPorts = plan.serial ? DistinctSerialPorts(plan.serialPorts) : QStringList();
    m_total = m_tcpTargets.size() + serialPorts.size() * rates.size();
    emit SGL_Progress(0, m_total);

    // Each serial port goes through the rates one at a time; ports do not disturb each other.
    for (const QString &portName : serialPorts) {
        auto *probe = new SerialDeviceProbe(portName, rates, plan.serialTryMs, this);
        m_serialProbes.append(probe);
        connect(probe, &SerialDeviceProbe::SGL_RateDone, this, &DeviceDiscovery::SLT_SerialRateDone);
        connect(probe, &SerialDeviceProbe::SGL_Done, this, &DeviceDiscovery::SLT_SerialProbeDone);
    }
    for (SerialDeviceProbe *probe : QList<SerialDeviceProbe *>(m_serialProbes))
        probe->start();
    startMoreTcpProbes();
    finishIfDone();
}

void DeviceDiscovery::cancel()
{
    if (!m_running)
        return;
    stopProbes();
    m_running = false;
    emit SGL_Finished(true);
}

void DeviceDiscovery::stopProbes()
{
    for (TcpDeviceProbe *probe : m_tcpProbes) {
        probe->abort();
        probe->deleteLater();
    }
    for (SerialDeviceProbe *probe : m_serialProbes) {
        probe->abort();
        probe->deleteLater();
    }
    m_tcpProbes.clear();
    m_serialProbes.clear();
    m_nextTcpTarget = m_tcpTargets.size();
}

void DeviceDiscovery::startMoreTcpProbes()
{
    const int limit = qMax(1, m_plan.maxConnectionsInFlight);
    while (m_running && m_tcpProbes.size() < limit && m_nextTcpTarget < m_tcpTargets.size()) {
        const auto target = m_tcpTargets.at(m_nextTcpTarget++);
        auto *probe = new TcpDeviceProbe(target.first, target.second, m_plan.connectTimeoutMs, m_plan.tcpReplyTimeoutMs, this);
        m_tcpProbes.append(probe);
        connect(probe, &TcpDeviceProbe::SGL_Done, this, &DeviceDiscovery::SLT_TcpProbeDone);
        probe->start();
    }
}

void DeviceDiscovery::SLT_TcpProbeDone(TcpDeviceProbe *probe, bool accepted, const DiscoveryResult &result)
{
    if (!m_tcpProbes.removeOne(probe))
        return;
    probe->deleteLater();
    countTry();
    if (accepted)
        report(result);
    startMoreTcpProbes();
    finishIfDone();
}

void DeviceDiscovery::SLT_SerialRateDone()
{
    if (m_running)
        countTry();
}

void DeviceDiscovery::SLT_SerialProbeDone(SerialDeviceProbe *probe, const DiscoveryResult &result)
{
    if (!m_serialProbes.removeOne(probe))
        return;
    probe->deleteLater();
    report(result);
    finishIfDone();
}

void DeviceDiscovery::countTry()
{
    ++m_tried;
    emit SGL_Progress(m_tried, m_total);
}

void DeviceDiscovery::report(const DiscoveryResult &result)
{
    m_results.append(result);
    emit SGL_Found(result);
}

void DeviceDiscovery::finishIfDone()
{
    if (!m_running || !m_tcpProbes.isEmpty() || !m_serialProbes.isEmpty() || m_nextTcpTarget < m_tcpTargets.size())
        return;
    m_running = false;
    emit SGL_Finished(false);
}
