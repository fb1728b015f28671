// `tavilon-cli discover`: finds devices on the serial ports and the local networks without a
// link option, and prints them as a JSON list. Exit 0 when a device was found, 3 when none.
#pragma once

#include "protocol/DiscoveryPlan.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTextStream>

struct DiscoveryResult;

class CliDiscover
{
public:
    // True when the arguments (after the program name) ask for a discovery.
    static bool IsDiscoverCommand(const QStringList &arguments);
    // Parses the arguments after "discover". Subnets and serial ports left empty here are
    // filled from the machine's interfaces and ports only when none were given.
    static bool Parse(const QStringList &arguments, DiscoveryPlan *plan, bool *all, QString *error);
    static QString UsageText();
    // One JSON array on one line: the devices, and with all also the other places found.
    static QByteArray ResultsJson(const QList<DiscoveryResult> &results, bool all);

    static int Run(const QStringList &arguments, QTextStream &out, QTextStream &err);
};
