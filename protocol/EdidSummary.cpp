#include "protocol/EdidSummary.h"

namespace {

const QString Separator = QStringLiteral(" · ");

} // namespace

QString EdidSummary::Line(const EdidInfo &info)
{
    QStringList parts;
    const QString name = DisplayName(info);
    if (!name.isEmpty())
        parts << name;
    if (!info.detailedTimings.isEmpty())
        parts << ModeText(info.detailedTimings.first().mode) + QStringLiteral(" preferred");
    const QString hdmi = HdmiText(info);
    if (!hdmi.isEmpty())
        parts << hdmi;
    const QString audio = AudioText(info);
    if (!audio.isEmpty())
        parts << audio;
    const QString hdr = HdrText(info);
    if (!hdr.isEmpty())
        parts << hdr;
    // A broken EDID says so in its first line.
    if (!info.problems.isEmpty())
        parts << info.problems.first();
    return parts.join(Separator);
}

QString EdidSummary::DisplayName(const EdidInfo &info)
{
    if (!info.displayName.isEmpty())
        return info.displayName;
    if (info.manufacturer.isEmpty())
        return QString();
    return QStringLiteral("%1 %2").arg(info.manufacturer).arg(info.productCode, 4, 16, QLatin1Char('0')).toUpper();
}

QString EdidSummary::ModeText(const EdidMode &mode)
{
    return QStringLiteral("%1 × %2%3 @ %4 Hz")
        .arg(mode.width)
        .arg(mode.height)
        .arg(mode.interlaced ? QStringLiteral("i") : QString())
        .arg(NumberText(mode.refreshHz));
}

QString EdidSummary::NumberText(double value)
{
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString EdidSummary::HdmiText(const EdidInfo &info)
{
    // The HDMI Forum block came with HDMI 2.0; a rate above 600 MHz needs the links of 2.1.
    if (info.hdmiForum.present) {
        const int rate = info.hdmiForum.maxTmdsCharacterRateMHz;
        const QString version = rate > 600 ? QStringLiteral("HDMI 2.1") : QStringLiteral("HDMI 2.0");
        return rate > 0 ? QStringLiteral("%1 %2 MHz").arg(version).arg(rate) : version;
    }
    if (info.hdmi.present) {
        const int clock = info.hdmi.maxTmdsClockMHz;
        return clock > 0 ? QStringLiteral("HDMI %1 MHz").arg(clock) : QStringLiteral("HDMI");
    }
    return QString();
}

QString EdidSummary::AudioText(const EdidInfo &info)
{
    QStringList names;
    int lpcmChannels = 0;
    for (const EdidAudioFormat &format : info.audioFormats) {
        if (format.code == 1)
            lpcmChannels = qMax(lpcmChannels, format.channels);
        if (!names.contains(format.name))
            names << format.name;
    }
    const int lpcm = names.indexOf(QStringLiteral("LPCM"));
    if (lpcm >= 0)
        names[lpcm] = QStringLiteral("LPCM %1 ch").arg(lpcmChannels);
    return names.join(QStringLiteral(", "));
}

QString EdidSummary::HdrText(const EdidInfo &info)
{
    QStringList hdr;
    if (info.hdrEotfs.contains(QStringLiteral("PQ")))
        hdr << QStringLiteral("HDR10");
    if (info.hdrEotfs.contains(QStringLiteral("HLG")))
        hdr << QStringLiteral("HLG");
    return hdr.join(QStringLiteral(", "));
}
