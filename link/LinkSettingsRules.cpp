#include "link/LinkSettingsRules.h"

namespace {

// 65535 is refused: the device keeps it for itself.
constexpr quint32 LargestDevicePort = 65534;
constexpr int LongestDevicePortText = 5;
constexpr quint32 LargestOctet = 255;

bool IsDecimalDigit(QChar character)
{
    return character >= QLatin1Char('0') && character <= QLatin1Char('9');
}

// One to three decimal digits, at most 255, and no leading zero: the device refuses "01" and
// an empty part, so the program must not offer them as valid.
bool IsOctetText(const QString &part)
{
    if (part.isEmpty() || part.size() > 3)
        return false;
    if (part.size() > 1 && part.at(0) == QLatin1Char('0'))
        return false;
    quint32 value = 0;
    for (const QChar character : part) {
        if (!IsDecimalDigit(character))
            return false;
        value = value * 10 + quint32(character.unicode() - '0');
    }
    return value <= LargestOctet;
}

} // namespace

const QStringList &LinkBaudRateTexts()
{
    static const QStringList texts { "9600", "19200", "38400", "57600", "115200" };
    return texts;
}

QString LinkBaudRateText(int rate)
{
    for (const QString &text : LinkBaudRateTexts()) {
        if (text.toInt() == rate)
            return text;
    }
    return QString();
}

bool LinkNetworkParametersValid(
    const QString &ip, const QString &port, const QString &mask, const QString &gateway)
{
    return LinkIsDottedQuad(ip) && LinkIsDevicePort(port) && LinkIsDottedQuad(mask) && LinkIsDottedQuad(gateway);
}

bool LinkIsDottedQuad(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &part : parts) {
        if (!IsOctetText(part))
            return false;
    }
    return true;
}

bool LinkIsDevicePort(const QString &text)
{
    if (text.isEmpty() || text.size() > LongestDevicePortText)
        return false;
    quint32 value = 0;
    for (const QChar character : text) {
        if (!IsDecimalDigit(character))
            return false;
        value = value * 10 + quint32(character.unicode() - '0');
    }
    return value >= 1 && value <= LargestDevicePort;
}
