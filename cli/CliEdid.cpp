#include "cli/CliEdid.h"

#include "protocol/EdidBlock.h"

#include <QFile>
#include <QSaveFile>

CliEdid::Check CliEdid::CheckBlock(const QByteArray &edid)
{
    return Check(EdidBlock::CheckBytes(edid));
}

QString CliEdid::CheckText(Check check)
{
    switch (check) {
    case Valid:
        return QStringLiteral("valid EDID");
    case NotEdid:
        return QStringLiteral("not an EDID (the header 00 FF FF FF FF FF FF 00 is missing)");
    case ChecksumError:
        return QStringLiteral("EDID checksum error");
    }
    return QString();
}

bool CliEdid::FromHexText(const QString &text, QByteArray *edid)
{
    return EdidBlock::FromHexText(text, edid);
}

bool CliEdid::LoadFile(const QString &path, QByteArray *edid, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read EDID file %1: %2").arg(path, file.errorString());
        return false;
    }
    QByteArray bytes = file.read(Size);
    bytes.append(QByteArray(Size - bytes.size(), '\0'));
    const Check check = CheckBlock(bytes);
    if (check != Valid) {
        *error = QStringLiteral("EDID file %1: %2").arg(path, CheckText(check));
        return false;
    }
    *edid = bytes;
    return true;
}

bool CliEdid::SaveFile(const QString &path, const QByteArray &edid, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(edid) != edid.size() || !file.commit()) {
        *error = QStringLiteral("cannot write EDID file %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
