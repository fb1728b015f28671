// What an EDID says about a display, in the units a person reads: what EdidDecoder finds in
// the bytes, field by field. A field the EDID does not carry keeps its empty value (0, an
// empty text or list, present == false).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A mode: active pixels and refresh rate (field rate for an interlaced mode).
struct EdidMode {
    int width = 0;
    int height = 0;
    double refreshHz = 0;
    bool interlaced = false;
};

// A detailed timing descriptor: the mode, its pixel clock and the image size it gives.
struct EdidDetailedTiming {
    EdidMode mode;
    double pixelClockMHz = 0;
    double horizontalKHz = 0;
    int imageWidthMm = 0;
    int imageHeightMm = 0;
    // Where it stands: 0 the base block, 1 the extension block.
    int block = 0;
};

// A short video descriptor: a CTA-861 video code and the mode it stands for.
struct EdidVideoCode {
    int vic = 0;
    bool native = false;
    // False for a code this decoder has no mode for; mode is then empty.
    bool known = false;
    EdidMode mode;
};

struct EdidAudioFormat {
    int code = 0; // the audio format code, 1 = LPCM ... 15 = extended
    QString name;
    int channels = 0;
    QList<double> sampleRatesKHz;
    QList<int> bitDepths; // LPCM only
    int maxBitRateKbps = 0; // the compressed formats of codes 2 to 8
};

struct EdidRangeLimits {
    bool present = false;
    int minVerticalHz = 0;
    int maxVerticalHz = 0;
    int minHorizontalKHz = 0;
    int maxHorizontalKHz = 0;
    int maxPixelClockMHz = 0; // 0: not given
};

struct EdidHdmiBlock {
    bool present = false;
    QString physicalAddress; // a.b.c.d
    int maxTmdsClockMHz = 0; // 0: not given
    QStringList deepColour; // "30-bit", "36-bit", "48-bit", "YCbCr 4:4:4"
};

struct EdidHdmiForumBlock {
    bool present = false;
    int version = 0;
    int maxTmdsCharacterRateMHz = 0; // 0: not above 340 MHz
    bool scdc = false;
    QStringList deepColour420; // "30-bit", "36-bit", "48-bit"
};

// A data block the decoder does not take apart, or an extension block of another kind.
struct EdidOtherBlock {
    int block = 0;
    int tag = 0;
    int extendedTag = -1; // -1: the tag has no extended tag
    int length = 0; // payload bytes
    QString name; // what kind of block it is, when known
};

struct EdidBlockCheck {
    int block = 0;
    bool checksumValid = false;
    int storedChecksum = 0;
    int expectedChecksum = 0;
};

struct EdidInfo {
    int size = 0;
    bool headerValid = false;
    QList<EdidBlockCheck> blockChecks;
    int extensionCount = 0;

    QString manufacturer; // three letters
    int productCode = 0;
    quint32 serialNumber = 0;
    int week = 0; // 0: not given
    int year = 0;
    bool modelYear = false; // the year is a model year, not the year of manufacture
    QString version; // "1.3"
    bool digitalInput = false;

    QString displayName;
    QString serialText;
    QStringList otherTexts; // the unnamed text descriptors (tag FE)
    EdidRangeLimits rangeLimits;
    int screenWidthCm = 0;
    int screenHeightCm = 0;

    // The first is the preferred timing.
    QList<EdidDetailedTiming> detailedTimings;
    QList<EdidMode> establishedTimings;
    QList<EdidMode> standardTimings;

    bool hasCta = false;
    int ctaRevision = 0;
    bool underscan = false;
    bool basicAudio = false;
    bool ycbcr444 = false;
    bool ycbcr422 = false;
    int nativeDetailedCount = 0;
    QList<EdidVideoCode> videoCodes;
    QList<EdidAudioFormat> audioFormats;
    QStringList speakers;
    EdidHdmiBlock hdmi;
    EdidHdmiForumBlock hdmiForum;
    bool hasHdrStaticMetadata = false;
    QStringList hdrEotfs;
    QStringList colorimetry;
    QList<EdidVideoCode> ycbcr420Only; // the YCbCr 4:2:0 video data block
    bool hasYcbcr420CapabilityMap = false;
    QList<int> ycbcr420Capable; // VICs of the video data block that also allow 4:2:0
    QList<EdidOtherBlock> otherBlocks;

    // Where and how the EDID is broken; empty for a sound one.
    QStringList problems;

    bool IsSound() const { return problems.isEmpty(); }
};
