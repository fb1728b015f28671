// EDID of the display attached to each simulated output: a base block and one CTA-861
// extension, 256 bytes, with correct header and checksums.
#pragma once

#include <QByteArray>

class SimEdid
{
public:
    static constexpr int BlockSize = 128;
    static constexpr int Size = 2 * BlockSize;

    // The display on output `output` (0-based). Outputs 1 and 3 carry a 4K television,
    // outputs 2 and 4 a 1080p monitor, each with its own product code and serial number.
    static QByteArray ForOutput(int output);

    // Manufacturer letters packed as three 5-bit codes (A = 1), big-endian.
    static quint16 PackManufacturer(const char letters[3]);
    // The byte that makes the sum of a 128-byte block 0 modulo 256.
    static quint8 BlockChecksum(const QByteArray &edid, int blockStart);
};
