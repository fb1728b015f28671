// An IPv4 subnet to scan for devices: an address and its prefix length. A scan covers at most
// one /24: for a shorter prefix only the /24 around the address.
#pragma once

#include <QList>
#include <QNetworkInterface>
#include <QString>

class Ipv4Subnet
{
public:
    static constexpr int WidestScannedPrefix = 24;

    Ipv4Subnet() = default;
    Ipv4Subnet(quint32 address, int prefixLength);

    // "a.b.c.d/n" or a bare "a.b.c.d" (/32). False with a one-line reason otherwise.
    static bool Parse(const QString &text, Ipv4Subnet *subnet, QString *error);
    // The IPv4 subnets of the interfaces that are up (the loopback one included), each once.
    static QList<Ipv4Subnet> OfInterfaces(const QList<QNetworkInterface> &interfaces);

    quint32 address() const { return m_address; }
    int prefixLength() const { return m_prefixLength; }
    // The addresses a scan tries, in increasing order: every host of the subnet (the network
    // and broadcast addresses left out where the subnet has them), capped to the /24 around
    // the address.
    QList<quint32> scannedHosts() const;
    QString toString() const;
    bool operator==(const Ipv4Subnet &other) const;

private:
    quint32 m_address = 0;
    int m_prefixLength = 32;
};
