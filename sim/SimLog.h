// The simulator's journal on standard output: one line per event, flushed at once so that a
// watching process sees it immediately.
#pragma once

#include <QByteArray>
#include <QString>

class SimLog
{
public:
    static void Write(const QString &text);
    // One request or answer: who, which direction, and the bytes with control bytes escaped.
    static void Traffic(const QString &connection, const char *direction, const QByteArray &bytes);
    static QString Escaped(const QByteArray &bytes);
};
