// tavilon-cli edid decode FILE, and the --decode of edid read: an EDID in words, as JSON.
// Decoding a file needs no device, so it opens no port.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextStream>

class CliEdidDecode
{
public:
    // Larger files are no EDID (four 128-byte blocks at most are read as one).
    static constexpr qint64 MaxFileSize = 512;

    // Prints the decoded EDID of a file on out. Exit status 0 for a sound EDID; 1 when the
    // file cannot be read or the EDID is broken (the JSON is printed all the same, and err
    // names the first fault).
    static int Run(const QString &path, QTextStream &out, QTextStream &err);
    // Prints the decoded EDID on out, as UTF-8 JSON.
    static void Print(const QByteArray &edid, QTextStream &out);
};
