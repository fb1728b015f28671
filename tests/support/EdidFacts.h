// The facts of an EDID as short texts by field name ("manufacturer" -> "QVZ", "vics" ->
// "97:3840x2160@60, 16:1920x1080@60 native", ...), taken either from the text edid-decode prints
// or from the JSON our decoder gives, so that the two can be compared field by field.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QMap>
#include <QString>

namespace EdidFacts {

using Facts = QMap<QString, QString>;

// The fields compared, in the order a failure is best read.
QStringList FieldNames();

// Path of Debian's edid-decode, or empty when it is not installed.
QString OraclePath();

// Runs edid-decode on the bytes. refused is set when it declines the whole EDID (no header,
// a size that is no multiple of 128); error holds why it could not be run.
bool FromEdidDecode(const QByteArray &edid, Facts *facts, bool *refused, QString *error);

// The same facts from our decoder's JSON.
Facts FromJson(const QJsonObject &json);

} // namespace EdidFacts
