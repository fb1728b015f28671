#include "protocol/EdidJson.h"

#include "protocol/EdidSummary.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonValue TextOrNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

QJsonValue PositiveOrNull(double value)
{
    return value > 0 ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

// Rounded as a person writes the number (594, 59.94), not as a double prints it.
QJsonValue Rounded(double value)
{
    return QJsonValue(EdidSummary::NumberText(value).toDouble());
}

QJsonObject ModeJson(const EdidMode &mode)
{
    QJsonObject object;
    object.insert(QStringLiteral("width"), mode.width);
    object.insert(QStringLiteral("height"), mode.height);
    object.insert(QStringLiteral("refreshHz"), Rounded(mode.refreshHz));
    object.insert(QStringLiteral("interlaced"), mode.interlaced);
    return object;
}

QJsonArray ModesJson(const QList<EdidMode> &modes)
{
    QJsonArray array;
    for (const EdidMode &mode : modes)
        array.append(ModeJson(mode));
    return array;
}

QJsonObject TimingJson(const EdidDetailedTiming &timing)
{
    QJsonObject object = ModeJson(timing.mode);
    object.insert(QStringLiteral("pixelClockMHz"), Rounded(timing.pixelClockMHz));
    object.insert(QStringLiteral("horizontalKHz"), Rounded(timing.horizontalKHz));
    object.insert(QStringLiteral("imageWidthMm"), timing.imageWidthMm);
    object.insert(QStringLiteral("imageHeightMm"), timing.imageHeightMm);
    object.insert(QStringLiteral("block"), timing.block);
    return object;
}

QJsonArray VideoCodesJson(const QList<EdidVideoCode> &codes)
{
    QJsonArray array;
    for (const EdidVideoCode &code : codes) {
        QJsonObject object;
        object.insert(QStringLiteral("vic"), code.vic);
        object.insert(QStringLiteral("native"), code.native);
        if (code.known) {
            const QJsonObject mode = ModeJson(code.mode);
            for (auto it = mode.begin(); it != mode.end(); ++it)
                object.insert(it.key(), it.value());
        }
        array.append(object);
    }
    return array;
}

QJsonArray AudioJson(const QList<EdidAudioFormat> &formats)
{
    QJsonArray array;
    for (const EdidAudioFormat &format : formats) {
        QJsonObject object;
        object.insert(QStringLiteral("format"), format.name);
        object.insert(QStringLiteral("channels"), format.channels);
        QJsonArray rates;
        for (double rate : format.sampleRatesKHz)
            rates.append(rate);
        object.insert(QStringLiteral("sampleRatesKHz"), rates);
        if (format.code == 1) {
            QJsonArray depths;
            for (int depth : format.bitDepths)
                depths.append(depth);
            object.insert(QStringLiteral("bitDepths"), depths);
        }
        if (format.maxBitRateKbps > 0)
            object.insert(QStringLiteral("maxBitRateKbps"), format.maxBitRateKbps);
        array.append(object);
    }
    return array;
}

QJsonValue RangeLimitsJson(const EdidRangeLimits &limits)
{
    if (!limits.present)
        return QJsonValue(QJsonValue::Null);
    QJsonObject object;
    object.insert(QStringLiteral("minVerticalHz"), limits.minVerticalHz);
    object.insert(QStringLiteral("maxVerticalHz"), limits.maxVerticalHz);
    object.insert(QStringLiteral("minHorizontalKHz"), limits.minHorizontalKHz);
    object.insert(QStringLiteral("maxHorizontalKHz"), limits.maxHorizontalKHz);
    object.insert(QStringLiteral("maxPixelClockMHz"), PositiveOrNull(limits.maxPixelClockMHz));
    return object;
}

QJsonValue HdmiJson(const EdidHdmiBlock &hdmi)
{
    if (!hdmi.present)
        return QJsonValue(QJsonValue::Null);
    QJsonObject object;
    object.insert(QStringLiteral("physicalAddress"), TextOrNull(hdmi.physicalAddress));
    object.insert(QStringLiteral("maxTmdsClockMHz"), PositiveOrNull(hdmi.maxTmdsClockMHz));
    object.insert(QStringLiteral("deepColour"), QJsonArray::fromStringList(hdmi.deepColour));
    return object;
}

QJsonValue HdmiForumJson(const EdidHdmiForumBlock &forum)
{
    if (!forum.present)
        return QJsonValue(QJsonValue::Null);
    QJsonObject object;
    object.insert(QStringLiteral("version"), forum.version);
    object.insert(QStringLiteral("maxTmdsCharacterRateMHz"), PositiveOrNull(forum.maxTmdsCharacterRateMHz));
    object.insert(QStringLiteral("scdc"), forum.scdc);
    object.insert(QStringLiteral("deepColour420"), QJsonArray::fromStringList(forum.deepColour420));
    return object;
}

QJsonArray OtherBlocksJson(const QList<EdidOtherBlock> &blocks)
{
    QJsonArray array;
    for (const EdidOtherBlock &block : blocks) {
        QJsonObject object;
        object.insert(QStringLiteral("block"), block.block);
        object.insert(QStringLiteral("tag"), block.tag);
        object.insert(QStringLiteral("extendedTag"),
            block.extendedTag < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(block.extendedTag));
        object.insert(QStringLiteral("length"), block.length);
        object.insert(QStringLiteral("kind"), TextOrNull(block.name));
        array.append(object);
    }
    return array;
}

QJsonArray BlockChecksJson(const QList<EdidBlockCheck> &checks)
{
    QJsonArray array;
    for (const EdidBlockCheck &check : checks) {
        QJsonObject object;
        object.insert(QStringLiteral("block"), check.block);
        object.insert(QStringLiteral("checksumValid"), check.checksumValid);
        array.append(object);
    }
    return array;
}

QJsonValue CtaJson(const EdidInfo &info)
{
    if (!info.hasCta)
        return QJsonValue(QJsonValue::Null);
    QJsonObject cta;
    cta.insert(QStringLiteral("revision"), info.ctaRevision);
    cta.insert(QStringLiteral("underscan"), info.underscan);
    cta.insert(QStringLiteral("basicAudio"), info.basicAudio);
    cta.insert(QStringLiteral("ycbcr444"), info.ycbcr444);
    cta.insert(QStringLiteral("ycbcr422"), info.ycbcr422);
    cta.insert(QStringLiteral("nativeDetailedTimings"), info.nativeDetailedCount);
    cta.insert(QStringLiteral("videoCodes"), VideoCodesJson(info.videoCodes));
    cta.insert(QStringLiteral("audio"), AudioJson(info.audioFormats));
    cta.insert(QStringLiteral("speakers"), QJsonArray::fromStringList(info.speakers));
    cta.insert(QStringLiteral("hdmi"), HdmiJson(info.hdmi));
    cta.insert(QStringLiteral("hdmiForum"), HdmiForumJson(info.hdmiForum));
    cta.insert(QStringLiteral("hdrEotfs"),
        info.hasHdrStaticMetadata ? QJsonValue(QJsonArray::fromStringList(info.hdrEotfs)) : QJsonValue(QJsonValue::Null));
    cta.insert(QStringLiteral("colorimetry"), QJsonArray::fromStringList(info.colorimetry));
    cta.insert(QStringLiteral("ycbcr420Only"), VideoCodesJson(info.ycbcr420Only));
    QJsonArray capable;
    for (int vic : info.ycbcr420Capable)
        capable.append(vic);
    cta.insert(QStringLiteral("ycbcr420Capable"), capable);
    return cta;
}

} // namespace

QJsonObject EdidJson::Build(const EdidInfo &info)
{
    QJsonObject object;
    object.insert(QStringLiteral("summary"), EdidSummary::Line(info));
    object.insert(QStringLiteral("sound"), info.IsSound());
    object.insert(QStringLiteral("problems"), QJsonArray::fromStringList(info.problems));
    object.insert(QStringLiteral("size"), info.size);
    object.insert(QStringLiteral("headerValid"), info.headerValid);
    object.insert(QStringLiteral("blocks"), BlockChecksJson(info.blockChecks));
    object.insert(QStringLiteral("extensionCount"), info.extensionCount);
    object.insert(QStringLiteral("version"), TextOrNull(info.version));
    object.insert(QStringLiteral("manufacturer"), TextOrNull(info.manufacturer));
    object.insert(QStringLiteral("productCode"), info.productCode);
    object.insert(QStringLiteral("serialNumber"), qint64(info.serialNumber));
    object.insert(QStringLiteral("week"), PositiveOrNull(info.week));
    object.insert(QStringLiteral("year"), PositiveOrNull(info.year));
    object.insert(QStringLiteral("modelYear"), info.modelYear);
    object.insert(QStringLiteral("displayName"), TextOrNull(info.displayName));
    object.insert(QStringLiteral("serialText"), TextOrNull(info.serialText));
    object.insert(QStringLiteral("texts"), QJsonArray::fromStringList(info.otherTexts));
    object.insert(QStringLiteral("digitalInput"), info.digitalInput);
    object.insert(QStringLiteral("screenWidthCm"), PositiveOrNull(info.screenWidthCm));
    object.insert(QStringLiteral("screenHeightCm"), PositiveOrNull(info.screenHeightCm));
    object.insert(QStringLiteral("rangeLimits"), RangeLimitsJson(info.rangeLimits));
    object.insert(QStringLiteral("preferredTiming"),
        info.detailedTimings.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(TimingJson(info.detailedTimings.first())));
    QJsonArray timings;
    for (const EdidDetailedTiming &timing : info.detailedTimings)
        timings.append(TimingJson(timing));
    object.insert(QStringLiteral("detailedTimings"), timings);
    object.insert(QStringLiteral("establishedTimings"), ModesJson(info.establishedTimings));
    object.insert(QStringLiteral("standardTimings"), ModesJson(info.standardTimings));
    object.insert(QStringLiteral("cta861"), CtaJson(info));
    object.insert(QStringLiteral("otherBlocks"), OtherBlocksJson(info.otherBlocks));
    return object;
}

QByteArray EdidJson::Text(const EdidInfo &info)
{
    return QJsonDocument(Build(info)).toJson(QJsonDocument::Indented);
}
