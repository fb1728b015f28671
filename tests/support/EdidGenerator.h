// Makes EDIDs for tests, field by field: a base block and, when any CTA-861 content is
// added, one extension block. Checksums are filled in unless a test breaks one on purpose.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class EdidGenerator
{
public:
    struct Timing {
        int clock10kHz;
        int hActive, hBlank, hSyncOffset, hSyncWidth;
        int vActive, vBlank, vSyncOffset, vSyncWidth;
    };
    static const Timing Uhd60; // 3840 x 2160 at 60 Hz, 594 MHz
    static const Timing Fhd60; // 1920 x 1080 at 60 Hz, 148.5 MHz
    static const Timing Fhd50; // 1920 x 1080 at 50 Hz, 148.5 MHz
    static const Timing Hd60; // 1280 x 720 at 60 Hz, 74.25 MHz
    static const Timing Wuxga60; // 1920 x 1200 at 60 Hz, reduced blanking, 154 MHz
    static const Timing Qhd144; // 2560 x 1440 at 144 Hz, 586.59 MHz

    EdidGenerator();

    EdidGenerator &identification(const char letters[3], int product, quint32 serial, int week, int year);
    EdidGenerator &version(int major, int minor);
    EdidGenerator &screenCm(int width, int height);
    EdidGenerator &established(quint8 first, quint8 second, quint8 third);
    // Up to eight two-byte standard timings; the rest stay unused (01 01).
    EdidGenerator &standard(const QList<quint16> &timings);
    // The four 18-byte slots of the base block, 0 to 3; slot 0 holds the preferred timing.
    EdidGenerator &detailed(int slot, const Timing &timing, int widthMm = 600, int heightMm = 340);
    // Marks the timing in a slot as interlaced (its lines are those of one field).
    EdidGenerator &interlaced(int slot);
    EdidGenerator &name(int slot, const QByteArray &text);
    EdidGenerator &serialText(int slot, const QByteArray &text);
    EdidGenerator &rangeLimits(int slot, int minV, int maxV, int minH, int maxH, int maxClockMHz);

    // CTA-861 content: the flags byte (underscan, audio, 4:4:4, 4:2:2, native count), data
    // blocks with their payload, extended blocks (payload after the extended tag) and detailed
    // timings after the data blocks.
    EdidGenerator &ctaFlags(quint8 flags);
    EdidGenerator &dataBlock(int tag, const QByteArray &payload);
    EdidGenerator &extendedBlock(int extendedTag, const QByteArray &payload);
    EdidGenerator &ctaTiming(const Timing &timing);
    // Any other extension block: the tag byte and zeros.
    EdidGenerator &otherExtension(quint8 tag);
    // The byte where the detailed timings start, instead of the one the data blocks give.
    EdidGenerator &timingsOffset(int offset);
    EdidGenerator &extensionCount(int count);

    // Adds one to the checksum of a block after it is computed.
    EdidGenerator &breakChecksum(int block);

    QByteArray bytes() const;

    // The EDIDs the decoder tests use.
    static QByteArray HdrTelevision(); // 4K HDR TV: HDMI, HDMI Forum, HDR, colorimetry, 4:2:0
    static QByteArray Monitor1080(); // HDMI 1.4 monitor, LPCM only
    static QByteArray DviMonitor(); // 128 bytes, no extension, model year, 1.4 range offsets
    static QByteArray AllAudioFormats();
    static QByteArray AllSpeakersAndColorimetry();
    static QByteArray OtherBlocks(); // blocks this decoder does not take apart
    static QByteArray GamingMonitor(); // 144 Hz, HDMI 2.1 rate, HLG, native VIC

private:
    void put(int at, int value) { m_base[at] = char(value & 0xFF); }
    void putTiming(QByteArray &block, int at, const Timing &timing, int widthMm, int heightMm) const;
    void putText(int slot, quint8 tag, const QByteArray &text);

    QByteArray m_base;
    QByteArray m_dataBlocks;
    QList<Timing> m_ctaTimings;
    quint8 m_ctaFlags = 0;
    bool m_hasCta = false;
    int m_otherExtension = -1;
    int m_timingsOffset = -1;
    int m_extensionCount = -1;
    QList<int> m_brokenBlocks;
};
