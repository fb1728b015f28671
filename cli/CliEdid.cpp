#include "cli/CliEdid.h"

#include <QFile>
#include <QSaveFile>

namespace {

int SumOfBytes(const QByteArray &bytes, int from, int count)
{
    int sum = 0;
    for (int k = from; k < from + count; ++k)
        sum += quint8(bytes.at(k));
    return sum % 256;
}

int HexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

CliEdid::Check CliEdid::CheckBlock(const QByteArray &edid)
{
    static const char header[8]
        = { 0x00, char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), 0x00 };
    if (edid.size() != Size || !edid.startsWith(QByteArray(header, 8)))
        return NotEdid;
    if (SumOfBytes(edid, 0, 128) != 0)
        return ChecksumError;
    if (quint8(edid.at(126)) == 1 && SumOfBytes(edid, 128, 128) != 0)
        return ChecksumError;
    return Valid;
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
    QByteArray bytes(Size, '\0');
    for (int k = 0; k < Size; ++k) {
        const int at = 3 * k;
        if (at + 1 >= text.size())
            return false;
        const int high = HexDigit(text.at(at));
        const int low = HexDigit(text.at(at + 1));
        if (high < 0 || low < 0)
            return false;
        bytes[k] = char(high * 16 + low);
    }
    *edid = bytes;
    return true;
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
