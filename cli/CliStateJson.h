// The device state as one JSON object, the output of `tavilon-cli sync`. Ports, windows and
// layouts are 1-based as on the device; enumerated values are their protocol words; a value
// the device has not reported is null.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

class CliPages;

class CliStateJson
{
public:
    enum class LinkSettings { Network, BaudRate };

    // From DeviceState and what the pages collected. The link settings are those the link
    // reads: the network settings over TCP, the baud rate over serial.
    static QJsonObject Build(const QString &model, const CliPages &pages, LinkSettings linkSettings);
    // The wall layout alone, as Build gives it under "wall".
    static QJsonObject Wall();
    // One line, no trailing newline.
    static QByteArray ToText(const QJsonObject &state);
};
