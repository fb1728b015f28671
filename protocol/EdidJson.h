// An EdidInfo as JSON for scripts: the facts in the units a person reads (MHz, Hz, kHz, mm,
// cm), the manufacturer's three letters and the names as text. A field the EDID does not
// carry is null or an empty list.
#pragma once

#include "protocol/EdidInfo.h"

#include <QByteArray>
#include <QJsonObject>

class EdidJson
{
public:
    static QJsonObject Build(const EdidInfo &info);
    // Indented, as a person reads it, ending in a line feed.
    static QByteArray Text(const EdidInfo &info);
};
