#include "EdidGenerator.h"

namespace {

constexpr int BlockSize = 128;
constexpr int SlotSize = 18;

int SlotOffset(int slot)
{
    return 54 + slot * SlotSize;
}

quint8 Checksum(const QByteArray &block)
{
    int sum = 0;
    for (int k = 0; k < BlockSize - 1; ++k)
        sum += quint8(block.at(k));
    return quint8((256 - sum % 256) % 256);
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes.append(char(value & 0xFF));
    return bytes;
}

} // namespace

const EdidGenerator::Timing EdidGenerator::Uhd60 { 59400, 3840, 560, 176, 88, 2160, 90, 8, 10 };
const EdidGenerator::Timing EdidGenerator::Fhd60 { 14850, 1920, 280, 88, 44, 1080, 45, 4, 5 };
const EdidGenerator::Timing EdidGenerator::Fhd50 { 14850, 1920, 720, 528, 44, 1080, 45, 4, 5 };
const EdidGenerator::Timing EdidGenerator::Hd60 { 7425, 1280, 370, 110, 40, 720, 30, 5, 5 };
const EdidGenerator::Timing EdidGenerator::Wuxga60 { 15400, 1920, 160, 48, 32, 1200, 35, 3, 6 };
const EdidGenerator::Timing EdidGenerator::Qhd144 { 58659, 2560, 160, 48, 32, 1440, 63, 3, 5 };

EdidGenerator::EdidGenerator()
    : m_base(BlockSize, '\0')
{
    const int header[] = { 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00 };
    for (int k = 0; k < 8; ++k)
        put(k, header[k]);
    identification("TVN", 1, 0, 1, 2020);
    version(1, 3);
    put(20, 0x80); // digital input
    put(23, 120); // gamma 2.2
    put(24, 0x0A); // RGB, preferred timing in the first slot
    const int chromaticity[] = { 0xEE, 0x91, 0xA3, 0x54, 0x4C, 0x99, 0x26, 0x0F, 0x50, 0x54 };
    for (int k = 0; k < 10; ++k)
        put(25 + k, chromaticity[k]);
    standard({});
    // Empty slots are dummy descriptors.
    for (int slot = 0; slot < 4; ++slot)
        put(SlotOffset(slot) + 3, 0x10);
}

EdidGenerator &EdidGenerator::identification(const char letters[3], int product, quint32 serial, int week, int year)
{
    int packed = 0;
    for (int k = 0; k < 3; ++k)
        packed = (packed << 5) | ((letters[k] - 'A' + 1) & 0x1F);
    put(8, packed >> 8);
    put(9, packed);
    put(10, product);
    put(11, product >> 8);
    for (int k = 0; k < 4; ++k)
        put(12 + k, int(serial >> (8 * k)));
    put(16, week);
    put(17, year - 1990);
    return *this;
}

EdidGenerator &EdidGenerator::version(int major, int minor)
{
    put(18, major);
    put(19, minor);
    return *this;
}

EdidGenerator &EdidGenerator::screenCm(int width, int height)
{
    put(21, width);
    put(22, height);
    return *this;
}

EdidGenerator &EdidGenerator::established(quint8 first, quint8 second, quint8 third)
{
    put(35, first);
    put(36, second);
    put(37, third);
    return *this;
}

EdidGenerator &EdidGenerator::standard(const QList<quint16> &timings)
{
    for (int k = 0; k < 8; ++k) {
        const quint16 timing = k < timings.size() ? timings.at(k) : quint16(0x0101);
        put(38 + 2 * k, timing >> 8);
        put(39 + 2 * k, timing);
    }
    return *this;
}

void EdidGenerator::putTiming(QByteArray &block, int at, const Timing &t, int widthMm, int heightMm) const
{
    const int values[SlotSize] = { t.clock10kHz, t.clock10kHz >> 8, t.hActive, t.hBlank,
        ((t.hActive >> 8) << 4) | (t.hBlank >> 8), t.vActive, t.vBlank, ((t.vActive >> 8) << 4) | (t.vBlank >> 8),
        t.hSyncOffset, t.hSyncWidth, ((t.vSyncOffset & 0x0F) << 4) | (t.vSyncWidth & 0x0F),
        ((t.hSyncOffset >> 8) << 6) | ((t.hSyncWidth >> 8) << 4) | ((t.vSyncOffset >> 4) << 2) | (t.vSyncWidth >> 4),
        widthMm, heightMm, ((widthMm >> 8) << 4) | (heightMm >> 8), 0, 0, 0x1E };
    for (int k = 0; k < SlotSize; ++k)
        block[at + k] = char(values[k] & 0xFF);
}

EdidGenerator &EdidGenerator::detailed(int slot, const Timing &timing, int widthMm, int heightMm)
{
    putTiming(m_base, SlotOffset(slot), timing, widthMm, heightMm);
    return *this;
}

EdidGenerator &EdidGenerator::interlaced(int slot)
{
    const int at = SlotOffset(slot) + 17;
    put(at, quint8(m_base.at(at)) | 0x80);
    return *this;
}

void EdidGenerator::putText(int slot, quint8 tag, const QByteArray &text)
{
    const int at = SlotOffset(slot);
    for (int k = 0; k < 5; ++k)
        put(at + k, 0);
    put(at + 3, tag);
    for (int k = 0; k < 13; ++k)
        put(at + 5 + k, k < text.size() ? text.at(k) : (k == text.size() ? '\n' : ' '));
}

EdidGenerator &EdidGenerator::name(int slot, const QByteArray &text)
{
    putText(slot, 0xFC, text);
    return *this;
}

EdidGenerator &EdidGenerator::serialText(int slot, const QByteArray &text)
{
    putText(slot, 0xFF, text);
    return *this;
}

EdidGenerator &EdidGenerator::rangeLimits(int slot, int minV, int maxV, int minH, int maxH, int maxClockMHz)
{
    const int at = SlotOffset(slot);
    // Limits above 255 take the 1.4 offsets of byte 4.
    int offsets = 0;
    if (maxV > 255)
        offsets |= minV > 255 ? 0x03 : 0x02;
    if (maxH > 255)
        offsets |= minH > 255 ? 0x0C : 0x08;
    const int values[SlotSize] = { 0, 0, 0, 0xFD, offsets, minV > 255 ? minV - 255 : minV, maxV > 255 ? maxV - 255 : maxV,
        minH > 255 ? minH - 255 : minH, maxH > 255 ? maxH - 255 : maxH, maxClockMHz / 10, 0, 0x0A, ' ', ' ', ' ',
        ' ', ' ', ' ' };
    for (int k = 0; k < SlotSize; ++k)
        put(at + k, values[k]);
    return *this;
}

EdidGenerator &EdidGenerator::ctaFlags(quint8 flags)
{
    m_hasCta = true;
    m_ctaFlags = flags;
    return *this;
}

EdidGenerator &EdidGenerator::dataBlock(int tag, const QByteArray &payload)
{
    m_hasCta = true;
    m_dataBlocks.append(char((tag << 5) | payload.size()));
    m_dataBlocks.append(payload);
    return *this;
}

EdidGenerator &EdidGenerator::extendedBlock(int extendedTag, const QByteArray &payload)
{
    return dataBlock(7, char(extendedTag) + payload);
}

EdidGenerator &EdidGenerator::ctaTiming(const Timing &timing)
{
    m_hasCta = true;
    m_ctaTimings << timing;
    return *this;
}

EdidGenerator &EdidGenerator::otherExtension(quint8 tag)
{
    m_otherExtension = tag;
    return *this;
}

EdidGenerator &EdidGenerator::timingsOffset(int offset)
{
    m_timingsOffset = offset;
    return *this;
}

EdidGenerator &EdidGenerator::extensionCount(int count)
{
    m_extensionCount = count;
    return *this;
}

EdidGenerator &EdidGenerator::breakChecksum(int block)
{
    m_brokenBlocks << block;
    return *this;
}

QByteArray EdidGenerator::bytes() const
{
    QByteArray base = m_base;
    const bool hasExtension = m_hasCta || m_otherExtension >= 0;
    QByteArray extension;
    if (m_hasCta) {
        extension = QByteArray(BlockSize, '\0');
        extension[0] = 0x02;
        extension[1] = 0x03;
        extension[2] = char(m_timingsOffset >= 0 ? m_timingsOffset : 4 + m_dataBlocks.size());
        extension[3] = char(m_ctaFlags);
        const QByteArray blocks = m_dataBlocks.left(BlockSize - 5);
        extension.replace(4, blocks.size(), blocks);
        int at = 4 + m_dataBlocks.size();
        for (const Timing &timing : m_ctaTimings) {
            if (at + SlotSize > BlockSize - 1)
                break;
            putTiming(extension, at, timing, 600, 340);
            at += SlotSize;
        }
    } else if (m_otherExtension >= 0) {
        extension = QByteArray(BlockSize, '\0');
        extension[0] = char(m_otherExtension);
    }
    base[126] = char(m_extensionCount >= 0 ? m_extensionCount : (hasExtension ? 1 : 0));
    base[127] = char(Checksum(base) + (m_brokenBlocks.contains(0) ? 1 : 0));
    if (!hasExtension)
        return base;
    extension[127] = char(Checksum(extension) + (m_brokenBlocks.contains(1) ? 1 : 0));
    return base + extension;
}

QByteArray EdidGenerator::HdrTelevision()
{
    return EdidGenerator()
        .identification("QVZ", 0x7315, 0x01000E00, 20, 2021)
        .screenCm(143, 81)
        .established(0x21, 0x08, 0x00)
        .standard({ 0xD1C0, 0x81C0, 0xB300, 0x8180 })
        .detailed(0, Uhd60, 1430, 800)
        .rangeLimits(1, 24, 75, 15, 136, 600)
        .name(2, "LOUNGE TV 65")
        .serialText(3, "H1AK500000")
        .ctaFlags(0xF1)
        .dataBlock(2, Bytes({ 97, 96, 95, 93, 0x80 | 16, 31, 4, 19, 3, 1 }))
        .dataBlock(1, Bytes({ 0x09, 0x07, 0x07, 0x15, 0x07, 0x50 }))
        .dataBlock(4, Bytes({ 0x01, 0x00, 0x00 }))
        .dataBlock(3, Bytes({ 0x03, 0x0C, 0x00, 0x10, 0x00, 0xB8, 0x3C }))
        .dataBlock(3, Bytes({ 0xD8, 0x5D, 0xC4, 0x01, 0x78, 0x80, 0x03 }))
        .extendedBlock(6, Bytes({ 0x05, 0x01 }))
        .extendedBlock(5, Bytes({ 0xC0, 0x00 }))
        .extendedBlock(15, Bytes({ 0x01 }))
        .extendedBlock(14, Bytes({ 102, 101 }))
        .ctaTiming(Fhd60)
        .bytes();
}

QByteArray EdidGenerator::Monitor1080()
{
    return EdidGenerator()
        .identification("QWD", 0xA0C4, 808542028, 44, 2019)
        .version(1, 4)
        .screenCm(53, 30)
        .established(0x21, 0x08, 0x80)
        .standard({ 0xD1C0, 0x8180, 0x8140, 0xA940 })
        .detailed(0, Fhd60, 527, 296)
        .serialText(1, "7MT0194C1L4L")
        .name(2, "OFFICE 24")
        .rangeLimits(3, 56, 76, 30, 83, 170)
        .ctaFlags(0x41)
        .dataBlock(2, Bytes({ 0x80 | 16, 4, 3, 2, 1, 31, 19, 18, 17 }))
        .dataBlock(1, Bytes({ 0x09, 0x07, 0x07 }))
        .dataBlock(4, Bytes({ 0x01, 0x00, 0x00 }))
        .dataBlock(3, Bytes({ 0x03, 0x0C, 0x00, 0x20, 0x00, 0x00, 0x2D }))
        .ctaTiming(Hd60)
        .ctaTiming(Fhd50)
        .bytes();
}

QByteArray EdidGenerator::DviMonitor()
{
    return EdidGenerator()
        .identification("QAR", 0x0311, 0, 0xFF, 2017)
        .version(1, 4)
        .screenCm(52, 32)
        .established(0xFF, 0xEF, 0x80)
        .standard({ 0x8100, 0x9500, 0xD100, 0x714F })
        .detailed(0, Wuxga60, 518, 324)
        .rangeLimits(1, 48, 300, 30, 300, 170)
        .name(2, "DESK 1920")
        .detailed(3, Hd60, 518, 324)
        .bytes();
}

QByteArray EdidGenerator::AllAudioFormats()
{
    QByteArray first;
    QByteArray second;
    for (int code = 1; code <= 14; ++code) {
        const QByteArray descriptor = Bytes({ (code << 3) | (code % 8), 0x7F >> (code % 4), code == 1 ? 0x05 : 0x20 + code });
        (code <= 10 ? first : second).append(descriptor);
    }
    return EdidGenerator()
        .identification("QOK", 0x1010, 7, 3, 2022)
        .detailed(0, Fhd60)
        .name(1, "AV RECEIVER")
        .ctaFlags(0x40)
        .dataBlock(2, Bytes({ 16, 4 }))
        .dataBlock(1, first)
        .dataBlock(1, second)
        .dataBlock(4, Bytes({ 0x4F, 0x00, 0x00 }))
        .bytes();
}

QByteArray EdidGenerator::AllSpeakersAndColorimetry()
{
    return EdidGenerator()
        .identification("QSY", 0x0A02, 1234567, 8, 2023)
        .detailed(0, Uhd60)
        .name(1, "STUDIO WALL")
        .ctaFlags(0x70)
        .dataBlock(2, Bytes({ 97, 16 }))
        .dataBlock(4, Bytes({ 0xFF, 0xFF, 0x1F }))
        .extendedBlock(5, Bytes({ 0xFF, 0xF0 }))
        .extendedBlock(6, Bytes({ 0x0F, 0x01 }))
        .dataBlock(3, Bytes({ 0x03, 0x0C, 0x00, 0x12, 0x34, 0x78, 0x00 }))
        .bytes();
}

QByteArray EdidGenerator::OtherBlocks()
{
    return EdidGenerator()
        .identification("QLG", 0x0600, 99, 51, 2018)
        .detailed(0, Fhd60)
        .name(1, "PANEL")
        .ctaFlags(0x00)
        .dataBlock(2, Bytes({ 16 }))
        .dataBlock(3, Bytes({ 0x56, 0x34, 0x12, 0x44, 0x4B }))
        .extendedBlock(0x30, Bytes({ 1, 2, 3 }))
        .extendedBlock(0, Bytes({ 0xCA }))
        .dataBlock(3, Bytes({ 0x11, 0x22, 0x33, 0x01 }))
        .bytes();
}

QByteArray EdidGenerator::GamingMonitor()
{
    return EdidGenerator()
        .identification("QAU", 0x27A1, 0x00010203, 12, 2024)
        .version(1, 4)
        .screenCm(60, 34)
        .established(0x00, 0x00, 0x00)
        .standard({ 0xD1C0, 0xB300 })
        .detailed(0, Qhd144, 597, 336)
        .detailed(1, Fhd60, 597, 336)
        .name(2, "GAMER 27Q")
        .rangeLimits(3, 48, 144, 30, 230, 600)
        .ctaFlags(0xC1)
        .dataBlock(2, Bytes({ 0x80 | 4, 16, 118, 117, 97 }))
        .dataBlock(1, Bytes({ 0x0F, 0x7F, 0x07 }))
        .dataBlock(3, Bytes({ 0xD8, 0x5D, 0xC4, 0x01, 0xF0, 0x80, 0x00 }))
        .extendedBlock(6, Bytes({ 0x0D, 0x01 }))
        .ctaTiming(Fhd50)
        .bytes();
}
