// What a discovery tries: which serial ports at which rates, which subnets, hosts and TCP
// ports, and how long each try may take. The list of local subnets is an input, never read
// here, so that a caller (and every test) decides which networks are probed.
#pragma once

#include "protocol/Ipv4Subnet.h"

#include <QList>
#include <QStringList>

struct DiscoveryPlan {
    bool serial = true;
    bool tcp = true;
    QStringList serialPorts; // names or paths, as QSerialPort takes them
    QList<qint32> baudRates; // empty: the five rates the device has
    QList<Ipv4Subnet> subnets;
    QStringList extraHosts; // dotted IPv4 addresses the operator typed
    QList<quint16> tcpPorts; // each host is tried at each of these
    int maxConnectionsInFlight = 64;
    int connectTimeoutMs = 300;
    int tcpReplyTimeoutMs = 1000; // from the connection to each reply
    int serialTryMs = 300; // one rate on one port
};
