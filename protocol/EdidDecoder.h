// Reads an EDID (a base block, and a CTA-861 extension block when one follows) into the facts
// a person wants: who made the display, its name, sizes, timings, audio, HDMI and HDR
// abilities. A broken EDID is decoded as far as it can be; every fault found is named, with
// the block and byte where it lies, in EdidInfo::problems. Nothing in it makes decoding fail.
#pragma once

#include "protocol/EdidInfo.h"

#include <QByteArray>

class EdidDecoder
{
public:
    static constexpr int BlockSize = 128;

    static EdidInfo Decode(const QByteArray &edid);

    // The bytes of an EDID written as hexadecimal pairs, as the EDID view and the device show
    // them: pairs separated by any white space. Reading stops at the first pair that is not
    // one (a reply cut off or damaged still decodes as far as it came).
    static QByteArray BytesFromHexText(const QString &text);

private:
    explicit EdidDecoder(const QByteArray &edid);

    quint8 byteAt(int offset) const { return quint8(m_bytes.at(offset)); }
    void checkSize();
    void checkHeader();
    void checkBlockSum(int block);
    void decodeIdentification();
    void decodeBasicParameters();
    void decodeEstablishedTimings();
    void decodeStandardTimings();
    void decodeDescriptors();
    void decodeDescriptor(int at);
    void decodeRangeLimits(int at);
    QString descriptorText(int at) const;
    bool decodeDetailedTiming(int at, int block);
    void decodeExtensions();
    void decodeCta(int base);
    void decodeDataBlock(int block, int at, int tag, int length);
    void decodeExtendedBlock(int block, int at, int length);
    void decodeVideoBlock(int at, int length);
    void decodeAudioBlock(int at, int length);
    void decodeSpeakerBlock(int at, int length);
    void decodeVendorBlock(int block, int at, int length);
    void decodeHdmiBlock(int at, int length);
    void decodeHdmiForumBlock(int at, int length);
    void decodeHdrStaticBlock(int at, int length);
    void decodeColorimetryBlock(int at, int length);
    void decode420VideoBlock(int at, int length);
    void decode420CapabilityBlock(int at, int length);
    void addOther(int block, int tag, int extendedTag, int length, const QString &name);
    void problem(const QString &text) { m_info.problems << text; }

    QByteArray m_bytes;
    EdidInfo m_info;
    // The video data blocks' codes in order, for the 4:2:0 capability map that refers to them.
    QList<int> m_videoBlockVics;
    QList<QPair<int, int>> m_pendingCapabilityMaps; // (at, length), resolved after all blocks
};
