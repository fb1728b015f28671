// EDID blocks as the headless client reads them from the device and from files: 256 bytes,
// checked by header and block checksums before they are written to an input.
#pragma once

#include <QByteArray>
#include <QString>

class CliEdid
{
public:
    static constexpr int Size = 256;
    // The same values as the core's EDID check.
    enum Check { Valid = 0, NotEdid = 1, ChecksumError = 2 };

    // Header 00 FF FF FF FF FF FF 00, base block sum 0, and the second block's sum when the
    // extension count (byte 126) is exactly 1. Anything but 256 bytes is not an EDID.
    static Check CheckBlock(const QByteArray &edid);
    static QString CheckText(Check check);

    // Reads the device's text form: byte i is the hexadecimal pair at character 3·i. Returns
    // false (and leaves edid unchanged) unless all 256 pairs are there, readable and separated
    // by single spaces.
    static bool FromHexText(const QString &text, QByteArray *edid);

    // Reads at most 256 bytes, as the EDID dialog does (a shorter file leaves zeros), and
    // checks them. On failure error holds one line.
    static bool LoadFile(const QString &path, QByteArray *edid, QString *error);
    // Writes exactly the 256 bytes, replacing the file only once everything is written.
    static bool SaveFile(const QString &path, const QByteArray &edid, QString *error);
};
