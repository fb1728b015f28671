// The serial ports an operator can choose from: every port the system reports, with its
// description when it has one, then the stable /dev/serial/by-id names of USB adapters (they
// keep their name whichever ttyUSB number the adapter gets). No widgets, so that every list of
// ports in the program names them the same way.
#pragma once

#include <QString>
#include <QVector>

class LinkSerialPortList
{
public:
    struct Port {
        QString name; // what the link opens: a device path
        QString description; // empty when the system gives none
        bool operator==(const Port &other) const
        {
            return name == other.name && description == other.description;
        }
    };

    static constexpr const char *ByIdFolder = "/dev/serial/by-id";

    // The ports of this computer now.
    static QVector<Port> Available();
    // The reported ports in their order, each name once, then the by-id names not reported.
    static QVector<Port> Combine(const QVector<Port> &reported, const QVector<Port> &byId);
    // The entries of a by-id folder, sorted by name, each described by the device it leads to.
    static QVector<Port> ById(const QString &folder);
    // "name (description)", or the name alone.
    static QString DisplayText(const Port &port);
};
