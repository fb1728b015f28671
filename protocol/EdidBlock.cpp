#include "protocol/EdidBlock.h"

namespace EdidBlock {

namespace {

const char Header[8] = { 0x00, char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), 0x00 };

int SumModulo256(const QByteArray &bytes, int from)
{
    int sum = 0;
    for (int k = from; k < from + BlockSize; ++k)
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

Check CheckBytes(const QByteArray &edid)
{
    if (edid.size() != Size || !edid.startsWith(QByteArray::fromRawData(Header, sizeof Header)))
        return NotEdid;
    if (SumModulo256(edid, 0) != 0)
        return ChecksumError;
    if (quint8(edid.at(ExtensionCountOffset)) == 1 && SumModulo256(edid, BlockSize) != 0)
        return ChecksumError;
    return Valid;
}

QString ToHexText(const QByteArray &bytes)
{
    static const char Digits[] = "0123456789ABCDEF";
    QString text;
    text.reserve(bytes.size() * 3);
    for (int k = 0; k < bytes.size(); ++k) {
        if (k > 0)
            text += QLatin1Char(' ');
        const quint8 value = quint8(bytes.at(k));
        text += QLatin1Char(Digits[value >> 4]);
        text += QLatin1Char(Digits[value & 0x0F]);
    }
    return text;
}

bool FromHexText(const QString &text, QByteArray *edid)
{
    QByteArray bytes(Size, '\0');
    for (int k = 0; k < Size; ++k) {
        const int at = 3 * k;
        if (at + 1 >= text.size())
            return false;
        if (k > 0 && text.at(at - 1) != QLatin1Char(' '))
            return false;
        const int high = HexDigit(text.at(at));
        const int low = HexDigit(text.at(at + 1));
        if (high < 0 || low < 0)
            return false;
        bytes[k] = char(high * 16 + low);
    }
    const int end = 3 * Size - 1;
    if (text.size() > end && text.at(end) != QLatin1Char(' '))
        return false;
    *edid = bytes;
    return true;
}

QByteArray ReadHexPairs(const QString &text)
{
    QByteArray bytes(Size, '\0');
    for (int k = 0; k < Size; ++k) {
        const int at = 3 * k;
        if (at + 1 >= text.size())
            break;
        const int high = HexDigit(text.at(at));
        const int low = HexDigit(text.at(at + 1));
        if (high >= 0 && low >= 0)
            bytes[k] = char(high * 16 + low);
    }
    return bytes;
}

} // namespace EdidBlock
