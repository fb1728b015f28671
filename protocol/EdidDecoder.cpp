#include "protocol/EdidDecoder.h"

#include "protocol/EdidVideoCodes.h"

#include <QRegularExpression>

namespace {

constexpr int HeaderSize = 8;
constexpr int ExtensionCountOffset = 126;
constexpr int DescriptorSize = 18;
constexpr int FirstDescriptor = 54;
constexpr int DescriptorCount = 4;
constexpr int CtaTag = 0x02;

constexpr quint32 HdmiOui = 0x000C03;
constexpr quint32 HdmiForumOui = 0xC45DD8;

enum DataBlockTag { AudioTag = 1, VideoTag = 2, VendorTag = 3, SpeakerTag = 4, ExtendedTag = 7 };
enum ExtendedBlockTag {
    VideoCapabilityExt = 0,
    VendorVideoExt = 1,
    ColorimetryExt = 5,
    HdrStaticExt = 6,
    HdrDynamicExt = 7,
    Ycbcr420VideoExt = 14,
    Ycbcr420CapabilityExt = 15,
    HdmiForumCapabilityExt = 0x79,
};

const char *const AudioFormatNames[] = { "", "LPCM", "AC-3", "MPEG-1", "MP3", "MPEG-2", "AAC LC", "DTS", "ATRAC",
    "DSD", "E-AC-3", "DTS-HD", "Dolby TrueHD", "DST", "WMA Pro", "extended" };
const double SampleRatesKHz[] = { 32, 44.1, 48, 88.2, 96, 176.4, 192 };
const int LpcmBitDepths[] = { 16, 20, 24 };

// Bit 0 of the first byte first, as the speaker allocation block lists them.
const char *const SpeakerNames[] = { "FL/FR", "LFE1", "FC", "BL/BR", "BC", "FLc/FRc", "RLC/RRC", "FLw/FRw",
    "TpFL/TpFR", "TpC", "TpFC", "LS/RS", "LFE2", "TpBC", "SiL/SiR", "TpSiL/TpSiR", "TpBL/TpBR", "BtFC",
    "BtFL/BtFR", "TpLS/TpRS", "LSd/RSd" };

// Bit 0 of the first payload byte after the extended tag first; the four metadata bits of the
// second byte (0 to 3) name no colour space.
const char *const ColorimetryNames[] = { "xvYCC601", "xvYCC709", "sYCC601", "opYCC601", "opRGB", "BT2020cYCC",
    "BT2020YCC", "BT2020RGB", "", "", "", "", "Default", "sRGB", "ICtCp", "ST2113RGB" };

const char *const EotfNames[] = { "SDR", "HDR gamma", "PQ", "HLG" };

QString Hex2(int value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

QString OuiText(quint32 oui)
{
    return QStringLiteral("%1-%2-%3")
        .arg((oui >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((oui >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(oui & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString ExtensionKind(int tag)
{
    switch (tag) {
    case 0x10:
        return QStringLiteral("video timing extension");
    case 0x40:
        return QStringLiteral("display information extension");
    case 0x50:
        return QStringLiteral("localized string extension");
    case 0x70:
        return QStringLiteral("DisplayID extension");
    case 0xF0:
        return QStringLiteral("block map");
    case 0xFF:
        return QStringLiteral("manufacturer extension");
    default:
        return QStringLiteral("extension block");
    }
}

QString ExtendedBlockKind(int extendedTag)
{
    switch (extendedTag) {
    case VideoCapabilityExt:
        return QStringLiteral("video capability");
    case VendorVideoExt:
        return QStringLiteral("vendor-specific video");
    case HdrDynamicExt:
        return QStringLiteral("HDR dynamic metadata");
    case 13:
        return QStringLiteral("video format preference");
    case 0x78:
        return QStringLiteral("HDMI Forum EDID extension override");
    default:
        return QString();
    }
}

QString DataBlockKind(int tag)
{
    switch (tag) {
    case 5:
        return QStringLiteral("VESA display transfer characteristic");
    default:
        return QString();
    }
}

} // namespace

EdidInfo EdidDecoder::Decode(const QByteArray &edid)
{
    EdidDecoder decoder(edid);
    return decoder.m_info;
}

QByteArray EdidDecoder::BytesFromHexText(const QString &text)
{
    QByteArray bytes;
    const QStringList pairs = text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString &pair : pairs) {
        bool ok = false;
        const int value = pair.toInt(&ok, 16);
        if (pair.size() != 2 || !ok)
            break;
        bytes.append(char(value));
    }
    return bytes;
}

EdidDecoder::EdidDecoder(const QByteArray &edid)
    : m_bytes(edid)
{
    m_info.size = edid.size();
    checkSize();
    if (m_bytes.size() < BlockSize)
        return;
    checkHeader();
    m_info.extensionCount = byteAt(ExtensionCountOffset);
    checkBlockSum(0);
    decodeIdentification();
    decodeBasicParameters();
    decodeEstablishedTimings();
    decodeStandardTimings();
    decodeDescriptors();
    decodeExtensions();
}

void EdidDecoder::checkSize()
{
    const int size = m_bytes.size();
    if (size < BlockSize) {
        if (size >= HeaderSize)
            checkHeader();
        problem(QStringLiteral("the EDID is %1 bytes long: a base block needs 128").arg(size));
        return;
    }
    if (size % BlockSize != 0)
        problem(QStringLiteral("the EDID is %1 bytes long, not a whole number of 128-byte blocks; "
                               "the last %2 bytes are left out")
                    .arg(size)
                    .arg(size % BlockSize));
}

void EdidDecoder::checkHeader()
{
    static const quint8 header[HeaderSize] = { 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00 };
    m_info.headerValid = true;
    for (int k = 0; k < HeaderSize; ++k) {
        if (byteAt(k) != header[k]) {
            m_info.headerValid = false;
            problem(QStringLiteral("block 0, byte %1: the header is not 00 FF FF FF FF FF FF 00").arg(k));
            return;
        }
    }
}

void EdidDecoder::checkBlockSum(int block)
{
    const int start = block * BlockSize;
    int sum = 0;
    for (int k = start; k < start + BlockSize - 1; ++k)
        sum += byteAt(k);
    EdidBlockCheck check;
    check.block = block;
    check.storedChecksum = byteAt(start + BlockSize - 1);
    check.expectedChecksum = (256 - sum % 256) % 256;
    check.checksumValid = check.storedChecksum == check.expectedChecksum;
    m_info.blockChecks << check;
    if (!check.checksumValid)
        problem(QStringLiteral("block %1, byte 127: checksum %2, should be %3")
                    .arg(block)
                    .arg(Hex2(check.storedChecksum), Hex2(check.expectedChecksum)));
}

void EdidDecoder::decodeIdentification()
{
    const int packed = (byteAt(8) << 8) | byteAt(9);
    QString letters;
    for (int shift = 10; shift >= 0; shift -= 5) {
        const int code = (packed >> shift) & 0x1F;
        letters += code >= 1 && code <= 26 ? QChar(QLatin1Char(char('A' + code - 1))) : QChar(QLatin1Char('?'));
    }
    m_info.manufacturer = letters;
    if (letters.contains(QLatin1Char('?')))
        problem(QStringLiteral("block 0, bytes 8-9: the manufacturer ID is not three letters"));
    m_info.productCode = byteAt(10) | (byteAt(11) << 8);
    m_info.serialNumber = quint32(byteAt(12)) | (quint32(byteAt(13)) << 8) | (quint32(byteAt(14)) << 16)
        | (quint32(byteAt(15)) << 24);
    const int week = byteAt(16);
    m_info.modelYear = week == 0xFF;
    m_info.week = m_info.modelYear ? 0 : week;
    m_info.year = 1990 + byteAt(17);
    m_info.version = QStringLiteral("%1.%2").arg(byteAt(18)).arg(byteAt(19));
}

void EdidDecoder::decodeBasicParameters()
{
    m_info.digitalInput = byteAt(20) & 0x80;
    // Both zero, or one zero (an aspect ratio instead of a size): no screen size.
    if (byteAt(21) != 0 && byteAt(22) != 0) {
        m_info.screenWidthCm = byteAt(21);
        m_info.screenHeightCm = byteAt(22);
    }
}

void EdidDecoder::decodeEstablishedTimings()
{
    m_info.establishedTimings = EdidVideoCodes::EstablishedTimings(byteAt(35), byteAt(36), byteAt(37));
}

void EdidDecoder::decodeStandardTimings()
{
    // Aspect code 00 means 16:10 from EDID 1.3 on, 1:1 before (and in no other version).
    const bool version13OrLater = byteAt(18) == 1 && byteAt(19) >= 3;
    for (int at = 38; at < 54; at += 2) {
        const int first = byteAt(at);
        const int second = byteAt(at + 1);
        // 01 01 marks an unused slot; 00 is no valid width either.
        if ((first == 0x01 && second == 0x01) || first == 0x00)
            continue;
        EdidMode mode;
        mode.width = (first + 31) * 8;
        switch (second >> 6) {
        case 0:
            mode.height = version13OrLater ? mode.width * 10 / 16 : mode.width;
            break;
        case 1:
            mode.height = mode.width * 3 / 4;
            break;
        case 2:
            mode.height = mode.width * 4 / 5;
            break;
        default:
            mode.height = mode.width * 9 / 16;
            break;
        }
        mode.refreshHz = (second & 0x3F) + 60;
        m_info.standardTimings << mode;
    }
}

void EdidDecoder::decodeDescriptors()
{
    for (int k = 0; k < DescriptorCount; ++k) {
        const int at = FirstDescriptor + k * DescriptorSize;
        if (byteAt(at) != 0 || byteAt(at + 1) != 0)
            decodeDetailedTiming(at, 0);
        else
            decodeDescriptor(at);
    }
}

void EdidDecoder::decodeDescriptor(int at)
{
    switch (byteAt(at + 3)) {
    case 0xFC:
        m_info.displayName = descriptorText(at);
        break;
    case 0xFF:
        m_info.serialText = descriptorText(at);
        break;
    case 0xFE:
        m_info.otherTexts << descriptorText(at);
        break;
    case 0xFD:
        decodeRangeLimits(at);
        break;
    default:
        break;
    }
}

// Up to 13 characters, ended by a line feed and padded with spaces.
QString EdidDecoder::descriptorText(int at) const
{
    QString text;
    for (int k = at + 5; k < at + DescriptorSize; ++k) {
        const quint8 c = byteAt(k);
        if (c == 0x0A)
            break;
        text += c >= 0x20 && c < 0x7F ? QChar(QLatin1Char(char(c))) : QChar(QLatin1Char('?'));
    }
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

void EdidDecoder::decodeRangeLimits(int at)
{
    // Byte 4 of the descriptor adds 255 to a limit whose value does not fit in a byte.
    const int offsets = byteAt(at + 4);
    EdidRangeLimits &limits = m_info.rangeLimits;
    limits.present = true;
    limits.minVerticalHz = byteAt(at + 5) + ((offsets & 0x03) == 0x03 ? 255 : 0);
    limits.maxVerticalHz = byteAt(at + 6) + ((offsets & 0x02) ? 255 : 0);
    limits.minHorizontalKHz = byteAt(at + 7) + ((offsets & 0x0C) == 0x0C ? 255 : 0);
    limits.maxHorizontalKHz = byteAt(at + 8) + ((offsets & 0x08) ? 255 : 0);
    limits.maxPixelClockMHz = byteAt(at + 9) * 10;
}

bool EdidDecoder::decodeDetailedTiming(int at, int block)
{
    const int clock10kHz = byteAt(at) | (byteAt(at + 1) << 8);
    const int hActive = byteAt(at + 2) | ((byteAt(at + 4) >> 4) << 8);
    const int hBlank = byteAt(at + 3) | ((byteAt(at + 4) & 0x0F) << 8);
    const int vActive = byteAt(at + 5) | ((byteAt(at + 7) >> 4) << 8);
    const int vBlank = byteAt(at + 6) | ((byteAt(at + 7) & 0x0F) << 8);
    const int blockOffset = at - block * BlockSize;
    if (hActive == 0 || vActive == 0) {
        problem(QStringLiteral("block %1, byte %2: a detailed timing without active pixels").arg(block).arg(blockOffset));
        return false;
    }
    EdidDetailedTiming timing;
    timing.block = block;
    timing.pixelClockMHz = clock10kHz / 100.0;
    timing.mode.width = hActive;
    timing.mode.interlaced = byteAt(at + 17) & 0x80;
    // An interlaced timing describes one field: the picture has twice its lines.
    timing.mode.height = timing.mode.interlaced ? 2 * vActive : vActive;
    const double hTotal = hActive + hBlank;
    // The two fields of an interlaced picture differ by one line: half a line each. Their
    // border lines are left out of a field's total, as edid-decode counts them.
    const int vBorder = byteAt(at + 16);
    const double vTotal = timing.mode.interlaced ? vActive + vBlank - 2 * vBorder + 0.5 : vActive + vBlank;
    timing.horizontalKHz = clock10kHz * 10.0 / hTotal;
    timing.mode.refreshHz = clock10kHz * 10000.0 / (hTotal * vTotal);
    timing.imageWidthMm = byteAt(at + 12) | ((byteAt(at + 14) >> 4) << 8);
    timing.imageHeightMm = byteAt(at + 13) | ((byteAt(at + 14) & 0x0F) << 8);
    m_info.detailedTimings << timing;
    return true;
}

void EdidDecoder::decodeExtensions()
{
    const int present = m_bytes.size() / BlockSize - 1;
    const int announced = m_info.extensionCount;
    if (announced > present)
        problem(QStringLiteral("block 0, byte 126: %1 extension block(s) announced, %2 present")
                    .arg(announced)
                    .arg(present));
    for (int block = 1; block <= present; ++block) {
        // The device pads an EDID of one block with a zero block; one with content is read
        // even when the base block does not announce it.
        if (block > announced && m_bytes.mid(block * BlockSize, BlockSize).count('\0') == BlockSize)
            continue;
        checkBlockSum(block);
        const int base = block * BlockSize;
        const int tag = byteAt(base);
        if (tag == CtaTag && !m_info.hasCta)
            decodeCta(base);
        else
            addOther(block, tag, -1, BlockSize, ExtensionKind(tag));
    }
    for (const auto &map : qAsConst(m_pendingCapabilityMaps))
        decode420CapabilityBlock(map.first, map.second);
}

void EdidDecoder::decodeCta(int base)
{
    const int block = base / BlockSize;
    m_info.hasCta = true;
    m_info.ctaRevision = byteAt(base + 1);
    int timingsAt = byteAt(base + 2);
    const int flags = byteAt(base + 3);
    m_info.underscan = flags & 0x80;
    m_info.basicAudio = flags & 0x40;
    m_info.ycbcr444 = flags & 0x20;
    m_info.ycbcr422 = flags & 0x10;
    m_info.nativeDetailedCount = flags & 0x0F;
    if (timingsAt == 0)
        return; // neither data blocks nor detailed timings
    if (timingsAt < 4 || timingsAt > BlockSize - 1) {
        problem(QStringLiteral("block %1, byte 2: detailed timings said to start at byte %2, outside 4 to 127")
                    .arg(block)
                    .arg(timingsAt));
        timingsAt = qBound(4, timingsAt, BlockSize - 1);
    }
    int at = base + 4;
    const int end = base + timingsAt;
    while (at < end) {
        const int tag = byteAt(at) >> 5;
        const int length = byteAt(at) & 0x1F;
        if (at + 1 + length > end) {
            problem(QStringLiteral("block %1, byte %2: a data block (tag %3, %4 bytes) runs past byte %5, "
                                   "where the detailed timings start")
                        .arg(block)
                        .arg(at - base)
                        .arg(tag)
                        .arg(length)
                        .arg(timingsAt));
            break;
        }
        decodeDataBlock(block, at + 1, tag, length);
        at += 1 + length;
    }
    for (int dtd = end; dtd + DescriptorSize <= base + BlockSize - 1; dtd += DescriptorSize) {
        if (byteAt(dtd) == 0 && byteAt(dtd + 1) == 0)
            break; // padding
        decodeDetailedTiming(dtd, block);
    }
}

void EdidDecoder::decodeDataBlock(int block, int at, int tag, int length)
{
    switch (tag) {
    case AudioTag:
        decodeAudioBlock(at, length);
        break;
    case VideoTag:
        decodeVideoBlock(at, length);
        break;
    case VendorTag:
        decodeVendorBlock(block, at, length);
        break;
    case SpeakerTag:
        decodeSpeakerBlock(at, length);
        break;
    case ExtendedTag:
        if (length == 0) {
            problem(QStringLiteral("block %1, byte %2: an extended data block without its extended tag")
                        .arg(block)
                        .arg(at - 1 - block * BlockSize));
            break;
        }
        decodeExtendedBlock(block, at, length);
        break;
    default:
        addOther(block, tag, -1, length, DataBlockKind(tag));
        break;
    }
}

void EdidDecoder::decodeExtendedBlock(int block, int at, int length)
{
    const int extendedTag = byteAt(at);
    switch (extendedTag) {
    case ColorimetryExt:
        decodeColorimetryBlock(at + 1, length - 1);
        break;
    case HdrStaticExt:
        decodeHdrStaticBlock(at + 1, length - 1);
        break;
    case Ycbcr420VideoExt:
        decode420VideoBlock(at + 1, length - 1);
        break;
    case Ycbcr420CapabilityExt:
        m_info.hasYcbcr420CapabilityMap = true;
        m_pendingCapabilityMaps << qMakePair(at + 1, length - 1);
        break;
    case HdmiForumCapabilityExt:
        // The sink capability block carries the HDMI Forum fields at the same offsets, after
        // two reserved bytes where the other has its OUI.
        decodeHdmiForumBlock(at, length);
        break;
    default:
        addOther(block, ExtendedTag, extendedTag, length - 1, ExtendedBlockKind(extendedTag));
        break;
    }
}

void EdidDecoder::decodeVideoBlock(int at, int length)
{
    for (int k = at; k < at + length; ++k) {
        const EdidVideoCode code = EdidVideoCodes::FromDescriptor(byteAt(k));
        m_videoBlockVics << code.vic;
        if (code.vic != 0)
            m_info.videoCodes << code;
    }
}

void EdidDecoder::decodeAudioBlock(int at, int length)
{
    if (length % 3 != 0)
        problem(QStringLiteral("block %1, byte %2: an audio data block of %3 bytes, not a multiple of 3")
                    .arg(at / BlockSize)
                    .arg(at - 1 - (at / BlockSize) * BlockSize)
                    .arg(length));
    for (int k = at; k + 3 <= at + length; k += 3) {
        EdidAudioFormat format;
        format.code = (byteAt(k) >> 3) & 0x0F;
        format.name = QLatin1String(AudioFormatNames[format.code]);
        if (format.code == 0)
            format.name = QStringLiteral("reserved");
        format.channels = (byteAt(k) & 0x07) + 1;
        for (int bit = 0; bit < 7; ++bit) {
            if (byteAt(k + 1) & (1 << bit))
                format.sampleRatesKHz << SampleRatesKHz[bit];
        }
        if (format.code == 1) {
            for (int bit = 0; bit < 3; ++bit) {
                if (byteAt(k + 2) & (1 << bit))
                    format.bitDepths << LpcmBitDepths[bit];
            }
        } else if (format.code >= 2 && format.code <= 8) {
            format.maxBitRateKbps = byteAt(k + 2) * 8;
        } else if (format.code == 15) {
            format.name = QStringLiteral("extended type %1").arg(byteAt(k + 2) >> 3);
        }
        m_info.audioFormats << format;
    }
}

void EdidDecoder::decodeSpeakerBlock(int at, int length)
{
    const int count = int(sizeof SpeakerNames / sizeof SpeakerNames[0]);
    for (int bit = 0; bit < count && bit / 8 < length; ++bit) {
        if (byteAt(at + bit / 8) & (1 << (bit % 8)))
            m_info.speakers << QLatin1String(SpeakerNames[bit]);
    }
}

void EdidDecoder::decodeVendorBlock(int block, int at, int length)
{
    if (length < 3) {
        problem(QStringLiteral("block %1, byte %2: a vendor-specific data block too short for its OUI")
                    .arg(block)
                    .arg(at - 1 - block * BlockSize));
        return;
    }
    const quint32 oui = quint32(byteAt(at)) | (quint32(byteAt(at + 1)) << 8) | (quint32(byteAt(at + 2)) << 16);
    if (oui == HdmiOui)
        decodeHdmiBlock(at, length);
    else if (oui == HdmiForumOui)
        decodeHdmiForumBlock(at, length);
    else
        addOther(block, VendorTag, -1, length, QStringLiteral("vendor-specific, OUI %1").arg(OuiText(oui)));
}

void EdidDecoder::decodeHdmiBlock(int at, int length)
{
    EdidHdmiBlock &hdmi = m_info.hdmi;
    hdmi.present = true;
    if (length < 5) {
        problem(QStringLiteral("block %1, byte %2: the HDMI block is too short for a physical address")
                    .arg(at / BlockSize)
                    .arg(at - 1 - (at / BlockSize) * BlockSize));
        return;
    }
    hdmi.physicalAddress = QStringLiteral("%1.%2.%3.%4")
                               .arg(byteAt(at + 3) >> 4)
                               .arg(byteAt(at + 3) & 0x0F)
                               .arg(byteAt(at + 4) >> 4)
                               .arg(byteAt(at + 4) & 0x0F);
    if (length >= 6) {
        const int flags = byteAt(at + 5);
        if (flags & 0x10)
            hdmi.deepColour << QStringLiteral("30-bit");
        if (flags & 0x20)
            hdmi.deepColour << QStringLiteral("36-bit");
        if (flags & 0x40)
            hdmi.deepColour << QStringLiteral("48-bit");
        if (flags & 0x08)
            hdmi.deepColour << QStringLiteral("YCbCr 4:4:4");
    }
    if (length >= 7)
        hdmi.maxTmdsClockMHz = byteAt(at + 6) * 5;
}

void EdidDecoder::decodeHdmiForumBlock(int at, int length)
{
    EdidHdmiForumBlock &forum = m_info.hdmiForum;
    forum.present = true;
    if (length < 6) {
        problem(QStringLiteral("block %1, byte %2: the HDMI Forum block is too short")
                    .arg(at / BlockSize)
                    .arg(at - 1 - (at / BlockSize) * BlockSize));
        return;
    }
    forum.version = byteAt(at + 3);
    forum.maxTmdsCharacterRateMHz = byteAt(at + 4) * 5;
    forum.scdc = byteAt(at + 5) & 0x80;
    if (length >= 7) {
        const int flags = byteAt(at + 6);
        if (flags & 0x01)
            forum.deepColour420 << QStringLiteral("30-bit");
        if (flags & 0x02)
            forum.deepColour420 << QStringLiteral("36-bit");
        if (flags & 0x04)
            forum.deepColour420 << QStringLiteral("48-bit");
    }
}

void EdidDecoder::decodeHdrStaticBlock(int at, int length)
{
    m_info.hasHdrStaticMetadata = true;
    if (length < 1)
        return;
    for (int bit = 0; bit < 4; ++bit) {
        if (byteAt(at) & (1 << bit))
            m_info.hdrEotfs << QLatin1String(EotfNames[bit]);
    }
}

void EdidDecoder::decodeColorimetryBlock(int at, int length)
{
    const int count = int(sizeof ColorimetryNames / sizeof ColorimetryNames[0]);
    for (int bit = 0; bit < count && bit / 8 < length; ++bit) {
        const QLatin1String name(ColorimetryNames[bit]);
        if (name.size() > 0 && (byteAt(at + bit / 8) & (1 << (bit % 8))))
            m_info.colorimetry << name;
    }
}

void EdidDecoder::decode420VideoBlock(int at, int length)
{
    for (int k = at; k < at + length; ++k) {
        const EdidVideoCode code = EdidVideoCodes::FromDescriptor(byteAt(k));
        if (code.vic != 0)
            m_info.ycbcr420Only << code;
    }
}

// A map without bytes marks every code of the video data blocks; otherwise bit i of the map
// marks the i-th code, counted over all video data blocks in their order.
void EdidDecoder::decode420CapabilityBlock(int at, int length)
{
    for (int index = 0; index < m_videoBlockVics.size(); ++index) {
        const bool marked = length == 0 || (index / 8 < length && (byteAt(at + index / 8) & (1 << (index % 8))));
        const int vic = m_videoBlockVics.at(index);
        if (marked && vic != 0 && !m_info.ycbcr420Capable.contains(vic))
            m_info.ycbcr420Capable << vic;
    }
}

void EdidDecoder::addOther(int block, int tag, int extendedTag, int length, const QString &name)
{
    EdidOtherBlock other;
    other.block = block;
    other.tag = tag;
    other.extendedTag = extendedTag;
    other.length = length;
    other.name = name;
    m_info.otherBlocks << other;
}
