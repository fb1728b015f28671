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
    if (text.count(QLatin1Char('.')) != 3)
        return false;
    quint32 part = 0;
    for (const QChar character : text) {
        if (character == QLatin1Char('.')) {
            part = 0;
            continue;
        }
        if (!IsDecimalDigit(character))
            return false;
        part = part * 10 + quint32(character.unicode() - '0');
        // Checked digit by digit, so a long run of digits cannot wrap around.
        if (part > LargestOctet)
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
