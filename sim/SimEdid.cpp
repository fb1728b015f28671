#include "sim/SimEdid.h"

#include <QVector>

namespace {

struct Timing {
    int pixelClock10kHz;
    int hActive, hBlank, hSyncOffset, hSyncWidth;
    int vActive, vBlank, vSyncOffset, vSyncWidth;
};

// CTA-861 timings: 3840x2160 at 60 Hz (VIC 97), 1920x1080 at 60 Hz (VIC 16), 1280x720 at 60 Hz (VIC 4).
const Timing Uhd60 { 59400, 3840, 560, 176, 88, 2160, 90, 8, 10 };
const Timing Fhd60 { 14850, 1920, 280, 88, 44, 1080, 45, 4, 5 };
const Timing Hd60 { 7425, 1280, 370, 110, 40, 720, 30, 5, 5 };

struct Display {
    const char *name; // at most 13 characters
    Timing preferred;
    Timing secondary;
    int widthMm, heightMm;
    QVector<quint8> vics;
    bool hdmi20; // advertises a 600 MHz TMDS character rate
};

Display DisplayOf(int output)
{
    if (output % 2 == 0)
        return { "TAVILON TV", Uhd60, Fhd60, 1210, 680, { 97, 96, 95, 94, 93, 16, 31, 4, 19, 3, 1 }, true };
    return { "TAVILON MON", Fhd60, Hd60, 527, 296, { 16, 31, 4, 19, 3, 1 }, false };
}

void PutDetailedTiming(QByteArray &edid, int at, const Timing &t, const Display &display)
{
    const int widthMm = display.widthMm;
    const int heightMm = display.heightMm;
    auto put = [&edid, at](int offset, int value) { edid[at + offset] = char(value & 0xFF); };
    put(0, t.pixelClock10kHz);
    put(1, t.pixelClock10kHz >> 8);
    put(2, t.hActive);
    put(3, t.hBlank);
    put(4, ((t.hActive >> 8) << 4) | (t.hBlank >> 8));
    put(5, t.vActive);
    put(6, t.vBlank);
    put(7, ((t.vActive >> 8) << 4) | (t.vBlank >> 8));
    put(8, t.hSyncOffset);
    put(9, t.hSyncWidth);
    put(10, ((t.vSyncOffset & 0x0F) << 4) | (t.vSyncWidth & 0x0F));
    put(11,
        ((t.hSyncOffset >> 8) << 6) | ((t.hSyncWidth >> 8) << 4) | ((t.vSyncOffset >> 4) << 2)
            | (t.vSyncWidth >> 4));
    put(12, widthMm);
    put(13, heightMm);
    put(14, ((widthMm >> 8) << 4) | (heightMm >> 8));
    put(15, 0);
    put(16, 0);
    put(17, 0x1E); // digital separate sync, both polarities positive
}

// A display descriptor with a text: up to 13 characters, ended by LF and padded with spaces.
void PutTextDescriptor(QByteArray &edid, int at, quint8 tag, const QByteArray &text)
{
    edid[at + 3] = char(tag);
    for (int i = 0; i < 13; ++i) {
        char c = ' ';
        if (i < text.size())
            c = text[i];
        else if (i == text.size())
            c = '\n';
        edid[at + 5 + i] = c;
    }
}

void PutRangeLimits(QByteArray &edid, int at)
{
    const quint8 limits[]
        = { 0, 0, 0, 0xFD, 0, 24, 75, 15, 136, 60, 0x00, 0x0A, ' ', ' ', ' ', ' ', ' ', ' ' };
    for (int i = 0; i < 18; ++i)
        edid[at + i] = char(limits[i]);
}

void PutBaseBlock(QByteArray &edid, int output, const Display &display)
{
    const quint8 header[] = { 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00 };
    for (int i = 0; i < 8; ++i)
        edid[i] = char(header[i]);
    const quint16 manufacturer = SimEdid::PackManufacturer("TVN");
    edid[8] = char(manufacturer >> 8);
    edid[9] = char(manufacturer & 0xFF);
    const int product = 0x5200 + output + 1;
    edid[10] = char(product & 0xFF);
    edid[11] = char(product >> 8);
    // Bytes 12..15 stay 0: the serial number travels as text in its own descriptor.
    const quint32 serial = 240001 + quint32(output);
    edid[16] = char(12); // week of manufacture
    edid[17] = char(2023 - 1990); // year of manufacture
    edid[18] = char(1); // EDID 1.3
    edid[19] = char(3);
    edid[20] = char(0x80); // digital input
    edid[21] = char((display.widthMm + 5) / 10);
    edid[22] = char((display.heightMm + 5) / 10);
    edid[23] = char(120); // gamma 2.2
    edid[24] = char(0x0E); // RGB colour, sRGB, preferred timing in the first descriptor
    const quint8 chromaticity[] = { 0xEE, 0x91, 0xA3, 0x54, 0x4C, 0x99, 0x26, 0x0F, 0x50, 0x54 };
    for (int i = 0; i < 10; ++i)
        edid[25 + i] = char(chromaticity[i]);
    edid[35] = char(0x21); // 640x480 and 800x600 at 60 Hz
    edid[36] = char(0x08); // 1024x768 at 60 Hz
    edid[37] = char(0x00);
    // Standard timings: 1920x1080, 1280x720 (16:9), 1680x1050 (16:10), 1280x1024 (5:4), all 60 Hz.
    const quint8 standard[] = { 0xD1, 0xC0, 0x81, 0xC0, 0xB3, 0x00, 0x81, 0x80, 1, 1, 1, 1, 1, 1, 1, 1 };
    for (int i = 0; i < 16; ++i)
        edid[38 + i] = char(standard[i]);
    PutDetailedTiming(edid, 54, display.preferred, display);
    PutRangeLimits(edid, 72);
    PutTextDescriptor(edid, 90, 0xFC, QByteArray(display.name));
    PutTextDescriptor(edid, 108, 0xFF, QByteArray("TVN") + QByteArray::number(serial));
    edid[126] = char(1); // one extension block
    edid[127] = char(SimEdid::BlockChecksum(edid, 0));
}

QByteArray CtaDataBlocks(const Display &display)
{
    QByteArray blocks;
    auto appendBlock = [&blocks](int tag, const QVector<quint8> &payload) {
        blocks.append(char((tag << 5) | payload.size()));
        for (quint8 byte : payload)
            blocks.append(char(byte));
    };
    appendBlock(2, display.vics); // video
    appendBlock(7, { 0x00, 0xCA }); // video capability: selectable RGB and YCbCr range, underscanned
    appendBlock(1, { 0x09, 0x07, 0x07 }); // audio: 2-channel PCM, 32/44.1/48 kHz, 16/20/24 bit
    appendBlock(4, { 0x01, 0x00, 0x00 }); // speakers: front left and right
    appendBlock(3, { 0x03, 0x0C, 0x00, 0x10, 0x00, 0x00, 68 }); // HDMI 1.4, address 1.0.0.0, 340 MHz
    if (display.hdmi20)
        appendBlock(3, { 0xD8, 0x5D, 0xC4, 0x01, 120, 0x80, 0x00 }); // HDMI 2.0: 600 MHz, SCDC
    return blocks;
}

void PutExtensionBlock(QByteArray &edid, const Display &display)
{
    const int base = SimEdid::BlockSize;
    const QByteArray blocks = CtaDataBlocks(display);
    edid[base + 0] = char(0x02); // CTA-861 extension
    edid[base + 1] = char(0x03);
    edid[base + 2] = char(4 + blocks.size()); // where the detailed timings start
    edid[base + 3] = char(0xF0 | 1); // underscan, basic audio, YCbCr 4:4:4 and 4:2:2, one native timing
    for (int i = 0; i < blocks.size(); ++i)
        edid[base + 4 + i] = blocks[i];
    PutDetailedTiming(edid, base + 4 + blocks.size(), display.secondary, display);
    edid[base + 127] = char(SimEdid::BlockChecksum(edid, base));
}

} // namespace

quint16 SimEdid::PackManufacturer(const char letters[3])
{
    quint16 packed = 0;
    for (int i = 0; i < 3; ++i)
        packed = quint16((packed << 5) | ((letters[i] - 'A' + 1) & 0x1F));
    return packed;
}

quint8 SimEdid::BlockChecksum(const QByteArray &edid, int blockStart)
{
    quint32 sum = 0;
    for (int i = blockStart; i < blockStart + BlockSize - 1; ++i)
        sum += quint8(edid[i]);
    return quint8((256 - sum % 256) % 256);
}

QByteArray SimEdid::ForOutput(int output)
{
    QByteArray edid(Size, '\0');
    const Display display = DisplayOf(output);
    PutBaseBlock(edid, output, display);
    PutExtensionBlock(edid, display);
    return edid;
}
