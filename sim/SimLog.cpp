#include "sim/SimLog.h"

#include <cstdio>

void SimLog::Write(const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void SimLog::Traffic(const QString &connection, const char *direction, const QByteArray &bytes)
{
    Write(QStringLiteral("%1 %2 %3").arg(connection, QLatin1String(direction), Escaped(bytes)));
}

QString SimLog::Escaped(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const uchar byte = uchar(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\')
            text += QChar(byte);
        else
            text += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return text;
}
