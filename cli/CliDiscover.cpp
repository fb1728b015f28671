#include "cli/CliDiscover.h"

#include "cli/CliOptions.h"
#include "link/LinkSerialPortList.h"
#include "protocol/DeviceDiscovery.h"
#include "protocol/DiscoveryResult.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>

namespace {

bool TakeValue(const QStringList &arguments, int *index, QString *value)
{
    if (*index + 1 >= arguments.size())
        return false;
    *value = arguments.at(++*index);
    return true;
}

QStringList MachineSerialPorts()
{
    QStringList ports;
    for (const LinkSerialPortList::Port &port : LinkSerialPortList::Available())
        ports.append(port.name);
    return ports;
}

QJsonObject ResultObject(const DiscoveryResult &result, bool withStatus)
{
    QJsonObject object;
    object.insert(QStringLiteral("link"), result.linkWord());
    if (result.link == DiscoveryResult::Link::Tcp) {
        object.insert(QStringLiteral("address"), result.address);
        object.insert(QStringLiteral("port"), int(result.port));
    } else {
        object.insert(QStringLiteral("path"), result.serialPath);
        object.insert(QStringLiteral("baudRate"), result.baudRate ? QJsonValue(result.baudRate) : QJsonValue());
    }
    object.insert(QStringLiteral("model"), result.model.isEmpty() ? QJsonValue() : QJsonValue(result.model));
    object.insert(QStringLiteral("mainVersion"), result.mainVersion.isEmpty() ? QJsonValue() : QJsonValue(result.mainVersion));
    if (withStatus) {
        object.insert(QStringLiteral("status"), result.kindWord());
        if (!result.problem.isEmpty())
            object.insert(QStringLiteral("problem"), result.problem);
    }
    return object;
}

} // namespace

bool CliDiscover::IsDiscoverCommand(const QStringList &arguments)
{
    return !arguments.isEmpty() && arguments.first().compare(QLatin1String("discover"), Qt::CaseInsensitive) == 0;
}

bool CliDiscover::Parse(const QStringList &arguments, DiscoveryPlan *plan, bool *all, QString *error)
{
    *all = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString name = arguments.at(i).toLower();
        QString value;
        if (name == QLatin1String("--serial-only")) {
            plan->tcp = false;
        } else if (name == QLatin1String("--tcp-only")) {
            plan->serial = false;
        } else if (name == QLatin1String("--all")) {
            *all = true;
        } else if (name == QLatin1String("--subnet") || name == QLatin1String("--host")) {
            Ipv4Subnet subnet;
            if (!TakeValue(arguments, &i, &value) || !Ipv4Subnet::Parse(value, &subnet, error)) {
                if (value.isEmpty())
                    *error = QStringLiteral("%1 needs a value").arg(name);
                return false;
            }
            if (name == QLatin1String("--subnet"))
                plan->subnets.append(subnet);
            else
                plan->extraHosts.append(value);
        } else if (name == QLatin1String("--port")) {
            bool ok = false;
            const uint port = TakeValue(arguments, &i, &value) ? value.toUInt(&ok, 10) : 0;
            if (!ok || port < 1 || port > 65534) {
                *error = QStringLiteral("--port needs a number from 1 to 65534");
                return false;
            }
            plan->tcpPorts.append(quint16(port));
        } else if (name == QLatin1String("--serial-port")) {
            if (!TakeValue(arguments, &i, &value) || value.isEmpty()) {
                *error = QStringLiteral("--serial-port needs a port name or path");
                return false;
            }
            plan->serialPorts.append(value);
        } else {
            *error = QStringLiteral("discover does not know \"%1\"").arg(arguments.at(i));
            return false;
        }
    }
    if (!plan->serial && !plan->tcp) {
        *error = QStringLiteral("--serial-only and --tcp-only exclude each other");
        return false;
    }
    if (plan->tcpPorts.isEmpty())
        plan->tcpPorts.append(CliOptions::DefaultTcpPort);
    return true;
}

QString CliDiscover::UsageText()
{
    return QStringLiteral(
        "usage: tavilon-cli discover [--serial-only | --tcp-only] [--subnet CIDR]... [--host ADDR]...\n"
        "                            [--port N]... [--serial-port PATH]... [--all]\n"
        "  --subnet CIDR      scan this subnet (at most the /24 around its address) instead of\n"
        "                     the subnets of the machine's interfaces\n"
        "  --host ADDR        try this address as well\n"
        "  --port N           TCP port to try (default 2000)\n"
        "  --serial-port PATH try this serial port instead of those the system lists\n"
        "  --all              list also what accepts but does not answer, another model, and\n"
        "                     serial ports that cannot be opened\n"
        "prints a JSON list; exit status 0 when a device was found, 3 when none\n");
}

QByteArray CliDiscover::ResultsJson(const QList<DiscoveryResult> &results, bool all)
{
    QJsonArray list;
    for (const DiscoveryResult &result : results)
        if (all || result.isDevice())
            list.append(ResultObject(result, all));
    return QJsonDocument(list).toJson(QJsonDocument::Compact);
}

int CliDiscover::Run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    DiscoveryPlan plan;
    bool all = false;
    QString error;
    const QStringList options = arguments.mid(1);
    if (options.contains(QLatin1String("--help")) || options.contains(QLatin1String("-h"))) {
        out << UsageText();
        return CliExitDone;
    }
    if (!Parse(options, &plan, &all, &error)) {
        err << "tavilon-cli: " << error << " (tavilon-cli discover --help shows the usage)\n";
        return CliExitUsage;
    }
    if (plan.tcp && plan.subnets.isEmpty() && plan.extraHosts.isEmpty())
        plan.subnets = Ipv4Subnet::OfInterfaces(QNetworkInterface::allInterfaces());
    if (plan.serial && plan.serialPorts.isEmpty())
        plan.serialPorts = MachineSerialPorts();

    DeviceDiscovery discovery;
    QEventLoop loop;
    QObject::connect(&discovery, &DeviceDiscovery::SGL_Finished, &loop, &QEventLoop::quit);
    discovery.start(plan);
    if (discovery.isRunning())
        loop.exec();

    out << ResultsJson(discovery.results(), all) << '\n';
    for (const DiscoveryResult &result : discovery.results())
        if (result.isDevice())
            return CliExitDone;
    err << "tavilon-cli: no device found\n";
    return CliExitNoConnection;
}
