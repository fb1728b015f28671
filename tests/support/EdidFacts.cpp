#include "EdidFacts.h"

#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>
#include <cmath>

namespace EdidFacts {

namespace {

QString Rate(double hz)
{
    return QString::number(std::lround(hz));
}

QString TwoDecimals(double value)
{
    return QString::asprintf("%.2f", value);
}

QString ModeFact(int width, int height, bool interlaced, const QString &rate)
{
    return QStringLiteral("%1x%2%3@%4").arg(width).arg(height).arg(interlaced ? QStringLiteral("i") : QString(), rate);
}

QString NumberList(QList<double> values)
{
    std::sort(values.begin(), values.end());
    QStringList texts;
    for (double value : values)
        texts << QString::number(value);
    return texts.join(QLatin1Char(','));
}

// edid-decode's names of the audio formats, as our decoder names them.
QString AudioName(const QString &oracleName)
{
    static const QMap<QString, QString> names {
        { QStringLiteral("Linear PCM"), QStringLiteral("LPCM") },
        { QStringLiteral("MPEG 1 (Layers 1 & 2)"), QStringLiteral("MPEG-1") },
        { QStringLiteral("MPEG 1 Layer 3 (MP3)"), QStringLiteral("MP3") },
        { QStringLiteral("MPEG2 (multichannel)"), QStringLiteral("MPEG-2") },
        { QStringLiteral("One Bit Audio"), QStringLiteral("DSD") },
        { QStringLiteral("Enhanced AC-3 (DD+)"), QStringLiteral("E-AC-3") },
        { QStringLiteral("MAT (MLP)"), QStringLiteral("Dolby TrueHD") },
    };
    return names.value(oracleName, oracleName);
}

QString EotfName(const QString &oracleName)
{
    static const QMap<QString, QString> names {
        { QStringLiteral("Traditional gamma - SDR luminance range"), QStringLiteral("SDR") },
        { QStringLiteral("Traditional gamma - HDR luminance range"), QStringLiteral("HDR gamma") },
        { QStringLiteral("SMPTE ST2084"), QStringLiteral("PQ") },
        { QStringLiteral("Hybrid Log-Gamma"), QStringLiteral("HLG") },
    };
    return names.value(oracleName, QStringLiteral("? ") + oracleName);
}

const QStringList DeepColourOrder
    = { QStringLiteral("30-bit"), QStringLiteral("36-bit"), QStringLiteral("48-bit"), QStringLiteral("YCbCr 4:4:4") };

QString Ordered(const QStringList &items, const QStringList &order)
{
    QStringList result;
    for (const QString &item : order) {
        if (items.contains(item))
            result << item;
    }
    return result.join(QLatin1Char(' '));
}

struct AudioFact {
    QString name;
    int channels = 0;
    QList<double> rates;
    QList<double> depths;
    int bitRate = 0;

    QString text() const
    {
        QString fact = QStringLiteral("%1 %2ch %3 kHz").arg(name).arg(channels).arg(NumberList(rates));
        if (!depths.isEmpty())
            fact += QStringLiteral(" %1 bit").arg(NumberList(depths));
        if (bitRate > 0)
            fact += QStringLiteral(" %1 kb/s").arg(bitRate);
        return fact;
    }
};

struct HdmiFact {
    bool present = false;
    QString address;
    int clock = 0;
    QStringList deepColour;

    QString text() const
    {
        QString fact = QStringLiteral("PA %1").arg(address);
        if (clock > 0)
            fact += QStringLiteral(", %1 MHz").arg(clock);
        return fact + QStringLiteral(", DC ") + Ordered(deepColour, DeepColourOrder);
    }
};

struct ForumFact {
    bool present = false;
    int version = 0;
    int rate = 0;
    bool scdc = false;
    QStringList deepColour;

    QString text() const
    {
        QString fact = QStringLiteral("v%1").arg(version);
        if (rate > 0)
            fact += QStringLiteral(", %1 MHz").arg(rate);
        if (scdc)
            fact += QStringLiteral(", SCDC");
        return fact + QStringLiteral(", 4:2:0 DC ") + Ordered(deepColour, DeepColourOrder);
    }
};

// Reads edid-decode's report, keeping track of the heading each line stands under.
class OracleReader
{
public:
    explicit OracleReader(const QString &report) { read(report); }
    Facts facts;

private:
    void read(const QString &report);
    void readLine(const QString &line, int indent, const QString &text);
    void finish();

    int m_block = -1;
    QString m_section; // heading at indent 2
    QString m_subsection; // heading at indent 4
    QStringList m_checksums, m_dtds, m_established, m_standard, m_vics, m_speakers, m_hdr, m_colorimetry,
        m_420only, m_420capable, m_other;
    QList<AudioFact> m_audio;
    HdmiFact m_hdmi;
    ForumFact m_forum;
};

void OracleReader::read(const QString &report)
{
    for (const QString &line : report.split(QLatin1Char('\n'))) {
        int indent = 0;
        while (indent < line.size() && line.at(indent) == QLatin1Char(' '))
            ++indent;
        readLine(line, indent, line.trimmed());
    }
    finish();
}

void OracleReader::readLine(const QString &line, int indent, const QString &text)
{
    static const QRegularExpression blockLine(QStringLiteral("^Block (\\d+),"));
    static const QRegularExpression checksumLine(QStringLiteral("^Checksum: 0x[0-9a-f]+( \\(should be)?"));
    static const QRegularExpression modeLine(QStringLiteral("(\\d+)x(\\d+)(i?)\\s+([\\d.]+) Hz"));
    static const QRegularExpression dtdLine(
        QStringLiteral("DTD\\s+\\d+:\\s+(\\d+)x(\\d+)(i?)\\s+([\\d.]+) Hz.*?\\s([\\d.]+) MHz"));
    static const QRegularExpression vicLine(QStringLiteral("^VIC\\s+(\\d+):\\s+(\\d+)x(\\d+)(i?)\\s+([\\d.]+) Hz"));
    static const QRegularExpression rangeLine(
        QStringLiteral("(\\d+)-(\\d+) Hz V, (\\d+)-(\\d+) kHz H(, max dotclock (\\d+) MHz)?"));
    static const QRegularExpression quoted(QStringLiteral("'(.*)'"));

    QRegularExpressionMatch m = blockLine.match(line);
    if (m.hasMatch()) {
        m_block = m.captured(1).toInt();
        m_section.clear();
        static const QRegularExpression unknownExtension(QStringLiteral("Unknown EDID Extension Block 0x([0-9a-f]+)"));
        const QRegularExpressionMatch unknown = unknownExtension.match(line);
        if (unknown.hasMatch())
            m_other << QStringLiteral("tag %1").arg(unknown.captured(1).toInt(nullptr, 16));
        return;
    }
    m = checksumLine.match(line);
    if (m.hasMatch()) {
        m_checksums << QStringLiteral("block %1 %2").arg(m_block).arg(m.captured(1).isEmpty() ? "ok" : "bad");
        return;
    }
    if (indent == 2 && text.endsWith(QLatin1Char(':'))) {
        m_section = text.chopped(1);
        m_subsection.clear();
        static const QRegularExpression unknownExtended(QStringLiteral("extended tag (0x[0-9a-f]+)"));
        static const QRegularExpression vendor(QStringLiteral("^Vendor-Specific Data Block, OUI ([0-9A-F-]+)"));
        QRegularExpressionMatch other = unknownExtended.match(m_section);
        if (m_section.startsWith(QLatin1String("Unknown CTA-861 Data Block")) && other.hasMatch())
            m_other << QStringLiteral("ext %1").arg(other.captured(1));
        else if ((other = vendor.match(m_section)).hasMatch())
            m_other << QStringLiteral("OUI %1").arg(other.captured(1));
        else if (m_section == QLatin1String("Video Capability Data Block"))
            m_other << QStringLiteral("ext 0x00");
        return;
    }
    if (indent == 4 && text.endsWith(QLatin1Char(':')))
        m_subsection = text.chopped(1);

    if (text.startsWith(QLatin1String("Manufacturer: ")))
        facts[QStringLiteral("manufacturer")] = text.mid(14);
    else if (text.startsWith(QLatin1String("Model: ")))
        facts[QStringLiteral("product")] = text.mid(7);
    else if (text.startsWith(QLatin1String("Serial Number: ")))
        facts[QStringLiteral("serial")] = text.mid(15);
    else if (text.startsWith(QLatin1String("Made in: ")))
        facts[QStringLiteral("made")] = text.mid(9);
    else if (text.startsWith(QLatin1String("Model year: ")))
        facts[QStringLiteral("made")] = QStringLiteral("model year ") + text.mid(12);
    else if (text.startsWith(QLatin1String("EDID Structure Version & Revision: ")))
        facts[QStringLiteral("version")] = text.mid(35);
    else if (text.startsWith(QLatin1String("Maximum image size: ")))
        facts[QStringLiteral("screen")] = text.mid(20).remove(QLatin1Char(' '));
    else if (text.startsWith(QLatin1String("Display Product Name: ")))
        facts[QStringLiteral("name")] = quoted.match(text).captured(1);
    else if (text.startsWith(QLatin1String("Display Product Serial Number: ")))
        facts[QStringLiteral("serialText")] = quoted.match(text).captured(1);
    else if (text.startsWith(QLatin1String("Monitor ranges")) && (m = rangeLine.match(text)).hasMatch())
        facts[QStringLiteral("range")] = QStringLiteral("%1-%2 Hz, %3-%4 kHz, %5 MHz")
                                            .arg(m.captured(1), m.captured(2), m.captured(3), m.captured(4),
                                                m.captured(6).isEmpty() ? QStringLiteral("-") : m.captured(6));
    else if ((m = dtdLine.match(text)).hasMatch())
        m_dtds << ModeFact(m.captured(1).toInt(), m.captured(2).toInt(), !m.captured(3).isEmpty(),
                      TwoDecimals(m.captured(4).toDouble()))
                + QStringLiteral("/") + TwoDecimals(m.captured(5).toDouble());
    else if (m_section.startsWith(QLatin1String("Established Timings")) && (m = modeLine.match(text)).hasMatch())
        m_established << ModeFact(m.captured(1).toInt(), m.captured(2).toInt(), !m.captured(3).isEmpty(),
            Rate(m.captured(4).toDouble()));
    else if (m_section == QLatin1String("Standard Timings") && (m = modeLine.match(text)).hasMatch())
        m_standard << ModeFact(m.captured(1).toInt(), m.captured(2).toInt(), !m.captured(3).isEmpty(),
            Rate(m.captured(4).toDouble()));
    else if ((m = vicLine.match(text)).hasMatch()) {
        const QString vic = m.captured(1);
        if (m_section == QLatin1String("Video Data Block"))
            m_vics << vic + QLatin1Char(':')
                    + ModeFact(m.captured(2).toInt(), m.captured(3).toInt(), !m.captured(4).isEmpty(),
                        Rate(m.captured(5).toDouble()))
                    + (text.contains(QLatin1String("(native)")) ? QStringLiteral(" native") : QString());
        else if (m_section == QLatin1String("YCbCr 4:2:0 Video Data Block"))
            m_420only << vic;
        else if (m_section == QLatin1String("YCbCr 4:2:0 Capability Map Data Block"))
            m_420capable << vic;
    } else if (m_section == QLatin1String("Audio Data Block")) {
        if (indent == 4 && text.endsWith(QLatin1Char(':'))) {
            m_audio << AudioFact();
            m_audio.last().name = AudioName(text.chopped(1));
        } else if (!m_audio.isEmpty()) {
            AudioFact &audio = m_audio.last();
            if (text.startsWith(QLatin1String("Max channels: ")))
                audio.channels = text.mid(14).toInt();
            else if (text.startsWith(QLatin1String("Supported sample rates (kHz): ")))
                for (const QString &rate : text.mid(30).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    audio.rates << rate.toDouble();
            else if (text.startsWith(QLatin1String("Supported sample sizes (bits): ")))
                for (const QString &depth : text.mid(31).split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    audio.depths << depth.toDouble();
            else if (text.startsWith(QLatin1String("Maximum bit rate: ")))
                audio.bitRate = text.mid(18).section(QLatin1Char(' '), 0, 0).toInt();
        }
    } else if (m_section == QLatin1String("Speaker Allocation Data Block") && indent == 4) {
        m_speakers << text.section(QStringLiteral(" - "), 0, 0);
    } else if (m_section.startsWith(QLatin1String("Vendor-Specific Data Block (HDMI),"))) {
        m_hdmi.present = true;
        if (text.startsWith(QLatin1String("Source physical address: ")))
            m_hdmi.address = text.mid(25);
        else if (text.startsWith(QLatin1String("Maximum TMDS clock: ")))
            m_hdmi.clock = text.mid(20).section(QLatin1Char(' '), 0, 0).toInt();
        else if (text == QLatin1String("DC_30bit"))
            m_hdmi.deepColour << QStringLiteral("30-bit");
        else if (text == QLatin1String("DC_36bit"))
            m_hdmi.deepColour << QStringLiteral("36-bit");
        else if (text == QLatin1String("DC_48bit"))
            m_hdmi.deepColour << QStringLiteral("48-bit");
        else if (text == QLatin1String("DC_Y444"))
            m_hdmi.deepColour << QStringLiteral("YCbCr 4:4:4");
    } else if (m_section.startsWith(QLatin1String("Vendor-Specific Data Block (HDMI Forum),"))) {
        m_forum.present = true;
        if (text.startsWith(QLatin1String("Version: ")))
            m_forum.version = text.mid(9).toInt();
        else if (text.startsWith(QLatin1String("Maximum TMDS Character Rate: ")))
            m_forum.rate = text.mid(29).section(QLatin1Char(' '), 0, 0).toInt();
        else if (text == QLatin1String("SCDC Present"))
            m_forum.scdc = true;
        else if (text.startsWith(QLatin1String("Supports 10-bits/component Deep Color 4:2:0")))
            m_forum.deepColour << QStringLiteral("30-bit");
        else if (text.startsWith(QLatin1String("Supports 12-bits/component Deep Color 4:2:0")))
            m_forum.deepColour << QStringLiteral("36-bit");
        else if (text.startsWith(QLatin1String("Supports 16-bits/component Deep Color 4:2:0")))
            m_forum.deepColour << QStringLiteral("48-bit");
    } else if (m_section == QLatin1String("HDR Static Metadata Data Block")) {
        if (m_subsection == QLatin1String("Electro optical transfer functions") && indent == 6)
            m_hdr << EotfName(text);
    } else if (m_section == QLatin1String("Colorimetry Data Block") && indent == 4) {
        if (!text.startsWith(QLatin1String("Reserved")))
            m_colorimetry << text;
    }
}

void OracleReader::finish()
{
    facts[QStringLiteral("checksums")] = m_checksums.join(QStringLiteral(", "));
    facts[QStringLiteral("dtds")] = m_dtds.join(QStringLiteral(", "));
    facts[QStringLiteral("established")] = m_established.join(QStringLiteral(", "));
    facts[QStringLiteral("standard")] = m_standard.join(QStringLiteral(", "));
    facts[QStringLiteral("vics")] = m_vics.join(QStringLiteral(", "));
    QStringList audio;
    for (const AudioFact &format : qAsConst(m_audio))
        audio << format.text();
    facts[QStringLiteral("audio")] = audio.join(QStringLiteral("; "));
    facts[QStringLiteral("speakers")] = m_speakers.join(QLatin1Char(' '));
    facts[QStringLiteral("hdmi")] = m_hdmi.present ? m_hdmi.text() : QString();
    facts[QStringLiteral("hdmiForum")] = m_forum.present ? m_forum.text() : QString();
    facts[QStringLiteral("hdr")] = m_hdr.join(QLatin1Char(' '));
    facts[QStringLiteral("colorimetry")] = m_colorimetry.join(QLatin1Char(' '));
    facts[QStringLiteral("ycbcr420Only")] = m_420only.join(QLatin1Char(','));
    facts[QStringLiteral("ycbcr420Capable")] = m_420capable.join(QLatin1Char(','));
    facts[QStringLiteral("other")] = m_other.join(QStringLiteral(", "));
}

QStringList Strings(const QJsonValue &value)
{
    QStringList list;
    for (const QJsonValue &item : value.toArray())
        list << item.toString();
    return list;
}

QString ModeFactOf(const QJsonObject &mode, const QString &rate)
{
    return ModeFact(mode.value(QStringLiteral("width")).toInt(), mode.value(QStringLiteral("height")).toInt(),
        mode.value(QStringLiteral("interlaced")).toBool(), rate);
}

QString ModesFact(const QJsonValue &modes)
{
    QStringList facts;
    for (const QJsonValue &mode : modes.toArray())
        facts << ModeFactOf(mode.toObject(), Rate(mode.toObject().value(QStringLiteral("refreshHz")).toDouble()));
    return facts.join(QStringLiteral(", "));
}

QString VicsFact(const QJsonValue &codes, bool withModes)
{
    QStringList facts;
    for (const QJsonValue &value : codes.toArray()) {
        const QJsonObject code = value.toObject();
        QString fact = QString::number(code.value(QStringLiteral("vic")).toInt());
        if (withModes) {
            fact += QLatin1Char(':') + ModeFactOf(code, Rate(code.value(QStringLiteral("refreshHz")).toDouble()));
            if (code.value(QStringLiteral("native")).toBool())
                fact += QStringLiteral(" native");
        }
        facts << fact;
    }
    return facts.join(withModes ? QStringLiteral(", ") : QStringLiteral(","));
}

void AddCtaFacts(const QJsonObject &cta, Facts &facts)
{
    facts[QStringLiteral("vics")] = VicsFact(cta.value(QStringLiteral("videoCodes")), true);
    QStringList audio;
    for (const QJsonValue &value : cta.value(QStringLiteral("audio")).toArray()) {
        const QJsonObject object = value.toObject();
        AudioFact format;
        format.name = object.value(QStringLiteral("format")).toString();
        format.channels = object.value(QStringLiteral("channels")).toInt();
        for (const QJsonValue &rate : object.value(QStringLiteral("sampleRatesKHz")).toArray())
            format.rates << rate.toDouble();
        for (const QJsonValue &depth : object.value(QStringLiteral("bitDepths")).toArray())
            format.depths << depth.toDouble();
        format.bitRate = object.value(QStringLiteral("maxBitRateKbps")).toInt();
        audio << format.text();
    }
    facts[QStringLiteral("audio")] = audio.join(QStringLiteral("; "));
    facts[QStringLiteral("speakers")] = Strings(cta.value(QStringLiteral("speakers"))).join(QLatin1Char(' '));
    const QJsonObject hdmi = cta.value(QStringLiteral("hdmi")).toObject();
    if (!hdmi.isEmpty()) {
        HdmiFact fact;
        fact.address = hdmi.value(QStringLiteral("physicalAddress")).toString();
        fact.clock = hdmi.value(QStringLiteral("maxTmdsClockMHz")).toInt();
        fact.deepColour = Strings(hdmi.value(QStringLiteral("deepColour")));
        facts[QStringLiteral("hdmi")] = fact.text();
    }
    const QJsonObject forum = cta.value(QStringLiteral("hdmiForum")).toObject();
    if (!forum.isEmpty()) {
        ForumFact fact;
        fact.version = forum.value(QStringLiteral("version")).toInt();
        fact.rate = forum.value(QStringLiteral("maxTmdsCharacterRateMHz")).toInt();
        fact.scdc = forum.value(QStringLiteral("scdc")).toBool();
        fact.deepColour = Strings(forum.value(QStringLiteral("deepColour420")));
        facts[QStringLiteral("hdmiForum")] = fact.text();
    }
    facts[QStringLiteral("hdr")] = Strings(cta.value(QStringLiteral("hdrEotfs"))).join(QLatin1Char(' '));
    facts[QStringLiteral("colorimetry")] = Strings(cta.value(QStringLiteral("colorimetry"))).join(QLatin1Char(' '));
    facts[QStringLiteral("ycbcr420Only")] = VicsFact(cta.value(QStringLiteral("ycbcr420Only")), false);
    QStringList capable;
    for (const QJsonValue &vic : cta.value(QStringLiteral("ycbcr420Capable")).toArray())
        capable << QString::number(vic.toInt());
    facts[QStringLiteral("ycbcr420Capable")] = capable.join(QLatin1Char(','));
}

} // namespace

QStringList FieldNames()
{
    return { QStringLiteral("manufacturer"), QStringLiteral("product"), QStringLiteral("serial"),
        QStringLiteral("made"), QStringLiteral("version"), QStringLiteral("name"), QStringLiteral("serialText"),
        QStringLiteral("range"), QStringLiteral("screen"), QStringLiteral("checksums"), QStringLiteral("dtds"),
        QStringLiteral("established"), QStringLiteral("standard"), QStringLiteral("vics"), QStringLiteral("audio"),
        QStringLiteral("speakers"), QStringLiteral("hdmi"), QStringLiteral("hdmiForum"), QStringLiteral("hdr"),
        QStringLiteral("colorimetry"), QStringLiteral("ycbcr420Only"), QStringLiteral("ycbcr420Capable"),
        QStringLiteral("other") };
}

QString OraclePath()
{
    return QStandardPaths::findExecutable(QStringLiteral("edid-decode"));
}

bool FromEdidDecode(const QByteArray &edid, Facts *facts, bool *refused, QString *error)
{
    QTemporaryFile file;
    if (!file.open() || file.write(edid) != edid.size() || !file.flush()) {
        *error = QStringLiteral("cannot write a temporary EDID file");
        return false;
    }
    QProcess process;
    process.start(OraclePath(), { file.fileName() });
    if (!process.waitForFinished(30000)) {
        *error = QStringLiteral("edid-decode did not run: %1").arg(process.errorString());
        return false;
    }
    const QString report = QString::fromUtf8(process.readAllStandardOutput());
    *refused = !report.contains(QLatin1String("Block 0, Base EDID:"));
    *facts = OracleReader(report).facts;
    return true;
}

Facts FromJson(const QJsonObject &json)
{
    Facts facts;
    const auto text = [&json](const char *key) { return json.value(QLatin1String(key)).toString(); };
    facts[QStringLiteral("manufacturer")] = text("manufacturer");
    facts[QStringLiteral("product")] = QString::number(json.value(QStringLiteral("productCode")).toInt());
    const qint64 serial = qint64(json.value(QStringLiteral("serialNumber")).toDouble());
    if (serial != 0)
        facts[QStringLiteral("serial")] = QString::number(serial);
    const int week = json.value(QStringLiteral("week")).toInt();
    const QString year = QString::number(json.value(QStringLiteral("year")).toInt());
    if (json.value(QStringLiteral("modelYear")).toBool())
        facts[QStringLiteral("made")] = QStringLiteral("model year ") + year;
    else
        facts[QStringLiteral("made")] = week > 0 ? QStringLiteral("week %1 of %2").arg(week).arg(year) : year;
    facts[QStringLiteral("version")] = text("version");
    if (!json.value(QStringLiteral("displayName")).isNull())
        facts[QStringLiteral("name")] = text("displayName");
    if (!json.value(QStringLiteral("serialText")).isNull())
        facts[QStringLiteral("serialText")] = text("serialText");
    const QJsonObject range = json.value(QStringLiteral("rangeLimits")).toObject();
    if (!range.isEmpty()) {
        const auto limit = [&range](const char *key) { return QString::number(range.value(QLatin1String(key)).toInt()); };
        const int clock = range.value(QStringLiteral("maxPixelClockMHz")).toInt();
        facts[QStringLiteral("range")] = QStringLiteral("%1-%2 Hz, %3-%4 kHz, %5 MHz")
                                            .arg(limit("minVerticalHz"), limit("maxVerticalHz"),
                                                limit("minHorizontalKHz"), limit("maxHorizontalKHz"),
                                                clock > 0 ? QString::number(clock) : QStringLiteral("-"));
    }
    if (!json.value(QStringLiteral("screenWidthCm")).isNull())
        facts[QStringLiteral("screen")] = QStringLiteral("%1cmx%2cm")
                                             .arg(json.value(QStringLiteral("screenWidthCm")).toInt())
                                             .arg(json.value(QStringLiteral("screenHeightCm")).toInt());
    QStringList checksums;
    for (const QJsonValue &value : json.value(QStringLiteral("blocks")).toArray()) {
        const QJsonObject block = value.toObject();
        checksums << QStringLiteral("block %1 %2")
                         .arg(block.value(QStringLiteral("block")).toInt())
                         .arg(block.value(QStringLiteral("checksumValid")).toBool() ? "ok" : "bad");
    }
    facts[QStringLiteral("checksums")] = checksums.join(QStringLiteral(", "));
    QStringList dtds;
    for (const QJsonValue &value : json.value(QStringLiteral("detailedTimings")).toArray()) {
        const QJsonObject timing = value.toObject();
        dtds << ModeFactOf(timing, TwoDecimals(timing.value(QStringLiteral("refreshHz")).toDouble()))
                + QStringLiteral("/") + TwoDecimals(timing.value(QStringLiteral("pixelClockMHz")).toDouble());
    }
    facts[QStringLiteral("dtds")] = dtds.join(QStringLiteral(", "));
    facts[QStringLiteral("established")] = ModesFact(json.value(QStringLiteral("establishedTimings")));
    facts[QStringLiteral("standard")] = ModesFact(json.value(QStringLiteral("standardTimings")));
    for (const QString &key : { QStringLiteral("vics"), QStringLiteral("audio"), QStringLiteral("speakers"),
             QStringLiteral("hdmi"), QStringLiteral("hdmiForum"), QStringLiteral("hdr"), QStringLiteral("colorimetry"),
             QStringLiteral("ycbcr420Only"), QStringLiteral("ycbcr420Capable") })
        facts[key] = QString();
    AddCtaFacts(json.value(QStringLiteral("cta861")).toObject(), facts);
    QStringList other;
    for (const QJsonValue &value : json.value(QStringLiteral("otherBlocks")).toArray()) {
        const QJsonObject block = value.toObject();
        const QString kind = block.value(QStringLiteral("kind")).toString();
        if (kind.startsWith(QLatin1String("vendor-specific, OUI ")))
            other << QStringLiteral("OUI ") + kind.mid(21);
        else if (!block.value(QStringLiteral("extendedTag")).isNull())
            other << QStringLiteral("ext 0x") + QString::number(block.value(QStringLiteral("extendedTag")).toInt(), 16)
                                                  .rightJustified(2, QLatin1Char('0'));
        else
            other << QStringLiteral("tag %1").arg(block.value(QStringLiteral("tag")).toInt());
    }
    facts[QStringLiteral("other")] = other.join(QStringLiteral(", "));
    return facts;
}

} // namespace EdidFacts
