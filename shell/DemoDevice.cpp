#include "shell/DemoDevice.h"

#include "settings/ConfigFile.h"
#include "settings/SettingsTexts.h"

#include <QHostAddress>

namespace {

// The link settings in a fixed order; the demonstration replaces some and the device's
// replies may change others.
QString *const LinkSettings[] = { &SP_Name, &SP_BaudRate, &SP_DataBit, &SP_Parity, &SP_StopBit,
    &SP_FlowControl, &SP_RemoteIp, &SP_RemotePort, &SP_RemoteSubmask, &SP_RemoteGateway };

const QString DemoSubnetMask = QStringLiteral("255.255.255.0");

bool IsUsableTcpPort(const QString &text)
{
    bool ok = false;
    const uint port = text.toUInt(&ok, 10);
    return ok && port >= 1 && port <= 65534;
}

bool IsIpv4Address(const QString &text)
{
    QHostAddress address;
    return address.setAddress(text) && address.protocol() == QAbstractSocket::IPv4Protocol;
}

} // namespace

DemoDevice DemoDevice::FromArguments(const QStringList &arguments)
{
    const QString option = QLatin1String(OptionName);
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == option && i + 1 < arguments.size())
            return FromOptionValue(arguments.at(i + 1));
        if (argument.startsWith(option + QLatin1Char('=')))
            return FromOptionValue(argument.mid(option.size() + 1));
    }
    return DemoDevice();
}

DemoDevice DemoDevice::FromOptionValue(const QString &value)
{
    DemoDevice device;
    const QStringList parts = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const int equals = part.indexOf(QLatin1Char('='));
        const QString key = part.left(equals).trimmed();
        const QString address = part.mid(equals + 1).trimmed();
        if (equals < 0 || address.isEmpty())
            continue;
        if (key == QLatin1String("tcp")) {
            const int colon = address.lastIndexOf(QLatin1Char(':'));
            const QString host = address.left(colon);
            const QString port = address.mid(colon + 1);
            if (colon > 0 && IsIpv4Address(host) && IsUsableTcpPort(port)) {
                device.tcpHost = host;
                device.tcpPort = port;
            }
        } else if (key == QLatin1String("serial")) {
            device.serialPort = address;
        }
    }
    return device;
}

void DemoDevice::applyToLinkSettings()
{
    if (!isActive() || m_applied)
        return;
    m_operatorSettings = CurrentLinkSettings();
    if (!serialPort.isEmpty())
        SP_Name = serialPort;
    if (!tcpHost.isEmpty()) {
        SP_RemoteIp = tcpHost;
        SP_RemotePort = tcpPort;
        SP_RemoteSubmask = DemoSubnetMask;
        SP_RemoteGateway = tcpHost;
    }
    m_applied = true;
}

void DemoDevice::restoreOperatorLinkSettings()
{
    if (!m_applied)
        return;
    SetLinkSettings(m_operatorSettings);
    m_applied = false;
}

void DemoDevice::saveSettingsFiles()
{
    if (!m_applied) {
        ConfigFile_SaveAll();
        return;
    }
    const QVector<QString> sessionSettings = CurrentLinkSettings();
    SetLinkSettings(m_operatorSettings);
    ConfigFile_SaveAll();
    SetLinkSettings(sessionSettings);
}

QVector<QString> DemoDevice::CurrentLinkSettings()
{
    QVector<QString> values;
    for (const QString *setting : LinkSettings)
        values << *setting;
    return values;
}

void DemoDevice::SetLinkSettings(const QVector<QString> &values)
{
    int index = 0;
    for (QString *setting : LinkSettings)
        *setting = values.value(index++);
}
