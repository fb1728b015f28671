// Names for the fields of DeviceState, so that test tables can set and check them as text such
// as "mv[0].mode=1;route[2]=3;wall[1].edgeL=5". Header-only: used by the core tests only.
#pragma once

#include "protocol/DeviceState.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace DeviceStateText {

// The address of the named field; nullptr for an unknown name. Booleans are reported through
// boolField instead.
inline quint32 *wordField(const QString &name)
{
    static const QRegularExpression indexed(QStringLiteral("^(\\w+)\\[(\\d+)\\](?:\\.(\\w+))?$"));
    if (name == QLatin1String("inputs"))
        return &DeviceState.inputCount;
    if (name == QLatin1String("outputs"))
        return &DeviceState.outputCount;
    if (name == QLatin1String("wall.rows"))
        return &DeviceState.wall.rows;
    if (name == QLatin1String("wall.cols"))
        return &DeviceState.wall.cols;
    if (name == QLatin1String("wall.total"))
        return &DeviceState.wall.total;
    const QRegularExpressionMatch match = indexed.match(name);
    if (!match.hasMatch())
        return nullptr;
    const QString table = match.captured(1);
    const quint32 index = match.captured(2).toUInt();
    const QString member = match.captured(3);
    if (index >= MaxPorts)
        return nullptr;
    if (table == QLatin1String("route") && member.isEmpty())
        return &DeviceState.routeInputOfOutput[index];
    if (table == QLatin1String("edid") && member.isEmpty())
        return &DeviceState.edidModeOfInput[index];
    if (table == QLatin1String("sig")) {
        SignalSettings &confirmed = DeviceState.signal;
        if (member == QLatin1String("inAudio"))
            return &confirmed.inAudio[index];
        if (member == QLatin1String("hdcp"))
            return &confirmed.outHdcp[index];
        if (member == QLatin1String("resolution"))
            return &confirmed.outResolution[index];
        if (member == QLatin1String("rotation"))
            return &confirmed.outRotation[index];
        if (member == QLatin1String("mute"))
            return &confirmed.outMute[index];
        if (member == QLatin1String("freeze"))
            return &confirmed.outFreeze[index];
    }
    if (table == QLatin1String("mv")) {
        MultiviewState &state = DeviceState.multiview[index];
        if (member == QLatin1String("mode"))
            return &state.mode;
        if (member == QLatin1String("maxMode"))
            return &state.maxMode;
        if (member == QLatin1String("aspect"))
            return &state.aspect;
        if (member == QLatin1String("layout"))
            return &state.layout;
        if (member == QLatin1String("pipPos"))
            return &state.pipPos;
        if (member == QLatin1String("pipSize"))
            return &state.pipSize;
        for (int w = 0; w < 4; ++w) {
            if (member == QStringLiteral("win%1").arg(w))
                return &state.windowInput[w];
        }
        if (member == QLatin1String("audio"))
            return &state.audioSource;
        if (member == QLatin1String("vka"))
            return &state.vka;
        if (member == QLatin1String("itc"))
            return &state.itc;
    }
    if (table == QLatin1String("wall")) {
        WallEntry &entry = DeviceState.wall.entry[index];
        if (member == QLatin1String("output"))
            return &entry.outputIndex;
        if (member == QLatin1String("input"))
            return &entry.inputIndex;
        if (member == QLatin1String("edgeL"))
            return &entry.edgeLeft;
        if (member == QLatin1String("edgeR"))
            return &entry.edgeRight;
        if (member == QLatin1String("edgeU"))
            return &entry.edgeUp;
        if (member == QLatin1String("edgeB"))
            return &entry.edgeBottom;
        if (member == QLatin1String("anchor"))
            return &entry.spliceAnchor;
        if (member == QLatin1String("rowPos"))
            return &entry.spliceRowPos;
        if (member == QLatin1String("colPos"))
            return &entry.spliceColPos;
        if (member == QLatin1String("rows"))
            return &entry.spliceRows;
        if (member == QLatin1String("cols"))
            return &entry.spliceCols;
    }
    return nullptr;
}

inline bool *boolField(const QString &name)
{
    static const QRegularExpression wallFlag(
        QStringLiteral("^wall\\[(\\d+)\\]\\.(spliced|singleExit|flag1)$"));
    if (name == QLatin1String("unconfirmed"))
        return &DeviceState.modelUnconfirmed;
    if (name == QLatin1String("handled"))
        return &DeviceState.modelReplyHandled;
    const QRegularExpressionMatch match = wallFlag.match(name);
    if (!match.hasMatch() || match.captured(1).toUInt() >= MaxPorts)
        return nullptr;
    WallEntry &entry = DeviceState.wall.entry[match.captured(1).toUInt()];
    const QString member = match.captured(2);
    if (member == QLatin1String("spliced"))
        return &entry.spliced;
    if (member == QLatin1String("singleExit"))
        return &entry.singleExit;
    return &entry.flagBit1;
}

inline QStringList assignments(const QString &text)
{
    return text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

// Applies "name=value;..." to DeviceState; returns the names it did not know.
inline QStringList apply(const QString &text)
{
    QStringList unknown;
    for (const QString &assignment : assignments(text)) {
        const QString name = assignment.section(QLatin1Char('='), 0, 0).trimmed();
        const quint32 value = assignment.section(QLatin1Char('='), 1).trimmed().toUInt();
        if (quint32 *word = wordField(name))
            *word = value;
        else if (bool *flag = boolField(name))
            *flag = value != 0;
        else
            unknown.append(name);
    }
    return unknown;
}

// Compares "name=value;..." with DeviceState; returns one text per difference or unknown name.
inline QStringList differences(const QString &text)
{
    QStringList found;
    for (const QString &assignment : assignments(text)) {
        const QString name = assignment.section(QLatin1Char('='), 0, 0).trimmed();
        const quint32 wanted = assignment.section(QLatin1Char('='), 1).trimmed().toUInt();
        quint32 actual = 0;
        if (const quint32 *word = wordField(name))
            actual = *word;
        else if (const bool *flag = boolField(name))
            actual = *flag ? 1 : 0;
        else {
            found.append(QStringLiteral("unknown field %1").arg(name));
            continue;
        }
        if (actual != wanted)
            found.append(QStringLiteral("%1 is %2, expected %3").arg(name).arg(actual).arg(wanted));
    }
    return found;
}

} // namespace DeviceStateText
