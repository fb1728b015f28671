#include "link/LinkSerialPortList.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

QVector<LinkSerialPortList::Port> LinkSerialPortList::Available()
{
    QVector<Port> reported;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        reported.append({ port.systemLocation(), port.description() });
    return Combine(reported, ById(QString::fromLatin1(ByIdFolder)));
}

QVector<LinkSerialPortList::Port> LinkSerialPortList::Combine(
    const QVector<Port> &reported, const QVector<Port> &byId)
{
    QVector<Port> ports;
    auto listed = [&ports](const QString &name) {
        for (const Port &port : qAsConst(ports)) {
            if (port.name == name)
                return true;
        }
        return false;
    };
    for (const QVector<Port> *source : { &reported, &byId }) {
        for (const Port &port : *source) {
            if (!port.name.isEmpty() && !listed(port.name))
                ports.append(port);
        }
    }
    return ports;
}

QVector<LinkSerialPortList::Port> LinkSerialPortList::ById(const QString &folder)
{
    QVector<Port> ports;
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        // A link to nothing (the adapter was unplugged) cannot be opened.
        if (entry.isDir() || !entry.exists())
            continue;
        ports.append({ entry.absoluteFilePath(), entry.isSymLink() ? entry.symLinkTarget() : QString() });
    }
    return ports;
}

QString LinkSerialPortList::DisplayText(const Port &port)
{
    if (port.description.isEmpty())
        return port.name;
    return port.name + QStringLiteral(" (") + port.description + QLatin1Char(')');
}
