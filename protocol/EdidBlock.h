// The 256-byte EDID the device reads from a display and accepts as an input's user EDID: two
// 128-byte blocks, checked by header and block checksums, and carried on the protocol as
// upper-case hexadecimal pairs separated by single spaces (byte i starts at character 3·i).
#pragma once

#include <QByteArray>
#include <QString>

namespace EdidBlock {

constexpr int Size = 256;
constexpr int BlockSize = 128;
// Byte 126 of the base block: how many extension blocks follow.
constexpr int ExtensionCountOffset = 126;

enum Check { Valid = 0, NotEdid = 1, ChecksumError = 2 };

// NotEdid unless exactly 256 bytes beginning with 00 FF FF FF FF FF FF 00; ChecksumError
// unless the base block sums to 0 modulo 256, and the second block too when the extension
// count is exactly 1 (any other count leaves the second block unexamined).
Check CheckBytes(const QByteArray &edid);

// The bytes as two upper-case hexadecimal digits each, separated by single spaces.
QString ToHexText(const QByteArray &bytes);

// Reads the first 256 pairs of the text form. True only when every pair is two hexadecimal
// digits and the pairs are separated by single spaces (whatever follows the 256th pair must
// begin with a space); otherwise edid is left unchanged, so a damaged or cut-off reply is never
// taken for what the display sent.
bool FromHexText(const QString &text, QByteArray *edid);

// The 256 bytes of a reply's text form read leniently: byte i from the two characters at 3·i,
// upper- or lower-case hexadecimal digits; a pair that is not two such digits, or lies past the
// end of a shorter text, reads 0. What the device sent is thus kept wherever it can be read.
QByteArray ReadHexPairs(const QString &text);

} // namespace EdidBlock
