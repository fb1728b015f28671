// EDID blocks made up for tests: valid ones, and single-byte changes of them.
#pragma once

#include <QByteArray>

namespace EdidSamples {

// A 256-byte EDID with the standard header, the given extension count and both blocks summing
// to 0 modulo 256, with varied content so that the sums are not trivially zero.
inline QByteArray GoodEdid(quint8 extensionCount)
{
    QByteArray edid(256, '\0');
    const char header[8] = { 0x00, char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), 0x00 };
    for (int k = 0; k < 8; ++k)
        edid[k] = header[k];
    for (int k = 8; k < 126; ++k)
        edid[k] = char((k * 37 + 11) & 0xFF);
    edid[126] = char(extensionCount);
    for (int k = 128; k < 255; ++k)
        edid[k] = char((k * 53 + 5) & 0xFF);
    for (int block = 0; block < 2; ++block) {
        int sum = 0;
        for (int k = block * 128; k < block * 128 + 127; ++k)
            sum += quint8(edid.at(k));
        edid[block * 128 + 127] = char((256 - sum % 256) % 256);
    }
    return edid;
}

inline QByteArray WithByte(QByteArray edid, int index, quint8 value)
{
    edid[index] = char(value);
    return edid;
}

} // namespace EdidSamples
