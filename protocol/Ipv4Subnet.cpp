#include "protocol/Ipv4Subnet.h"

#include <QHostAddress>
#include <QStringList>

namespace {

quint32 MaskOf(int prefixLength)
{
    return prefixLength <= 0 ? 0u : ~quint32(0) << (32 - prefixLength);
}

bool ParseDottedQuad(const QString &text, quint32 *address)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    quint32 value = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const uint octet = part.toUInt(&ok, 10);
        if (!ok || part.isEmpty() || part.size() > 3 || octet > 255 || !part.at(0).isDigit())
            return false;
        value = (value << 8) | octet;
    }
    *address = value;
    return true;
}

} // namespace

Ipv4Subnet::Ipv4Subnet(quint32 address, int prefixLength)
    : m_address(address)
    , m_prefixLength(qBound(0, prefixLength, 32))
{
}

bool Ipv4Subnet::Parse(const QString &text, Ipv4Subnet *subnet, QString *error)
{
    const QString trimmed = text.trimmed();
    const int slash = trimmed.indexOf(QLatin1Char('/'));
    quint32 address = 0;
    int prefix = 32;
    bool ok = ParseDottedQuad(slash < 0 ? trimmed : trimmed.left(slash), &address);
    if (ok && slash >= 0) {
        const QString prefixText = trimmed.mid(slash + 1);
        prefix = prefixText.toInt(&ok, 10);
        ok = ok && !prefixText.isEmpty() && prefixText.size() <= 2 && prefix >= 0 && prefix <= 32;
    }
    if (!ok) {
        if (error)
            *error = QStringLiteral("\"%1\" is not an IPv4 subnet such as 127.0.0.0/24").arg(text);
        return false;
    }
    *subnet = Ipv4Subnet(address, prefix);
    return true;
}

QList<Ipv4Subnet> Ipv4Subnet::OfInterfaces(const QList<QNetworkInterface> &interfaces)
{
    QList<Ipv4Subnet> subnets;
    for (const QNetworkInterface &interface : interfaces) {
        if (!interface.flags().testFlag(QNetworkInterface::IsUp))
            continue;
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            bool isIpv4 = false;
            const quint32 address = entry.ip().toIPv4Address(&isIpv4);
            if (!isIpv4)
                continue;
            const Ipv4Subnet subnet(address, entry.prefixLength() < 0 ? 32 : entry.prefixLength());
            if (!subnets.contains(subnet))
                subnets.append(subnet);
        }
    }
    return subnets;
}

QList<quint32> Ipv4Subnet::scannedHosts() const
{
    const int prefix = qMax(m_prefixLength, int(WidestScannedPrefix));
    const quint32 mask = MaskOf(prefix);
    const quint32 network = m_address & mask;
    const quint32 last = network | ~mask;
    QList<quint32> hosts;
    if (prefix >= 31) {
        for (quint64 host = network; host <= last; ++host)
            hosts.append(quint32(host));
        return hosts;
    }
    for (quint32 host = network + 1; host < last; ++host)
        hosts.append(host);
    return hosts;
}

QString Ipv4Subnet::toString() const
{
    return QStringLiteral("%1/%2").arg(QHostAddress(m_address & MaskOf(m_prefixLength)).toString()).arg(m_prefixLength);
}

bool Ipv4Subnet::operator==(const Ipv4Subnet &other) const
{
    const quint32 mask = MaskOf(qMin(m_prefixLength, other.m_prefixLength));
    return m_prefixLength == other.m_prefixLength && (m_address & mask) == (other.m_address & mask);
}
