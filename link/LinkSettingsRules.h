// The rules for the device's link settings that the connection page, the system page and
// the headless client share: the network parameter check made before the program uses or
// writes network settings, and the baud rates the device offers. Pure text rules, no widgets.
#pragma once

#include <QString>
#include <QStringList>

// The five baud rates, slowest first: "9600", "19200", "38400", "57600", "115200".
const QStringList &LinkBaudRateTexts();
// The first of the five texts whose value equals the rate; empty when none does.
QString LinkBaudRateText(int rate);

// Device IP, mask and gateway as dotted quads, the device port from 1 to 65534.
bool LinkNetworkParametersValid(
    const QString &ip, const QString &port, const QString &mask, const QString &gateway);
// Four dot-separated decimal numbers from 0 to 255, without leading zeros or empty parts.
bool LinkIsDottedQuad(const QString &text);
// At most five digits, value from 1 to 65534.
bool LinkIsDevicePort(const QString &text);
