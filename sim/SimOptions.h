// Command-line options of the simulator: where it listens and which faults it plays.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class SimOptions
{
public:
    bool tcpEnabled = true;
    QString tcpHost = QStringLiteral("127.0.0.1");
    quint16 tcpPort = 2000; // 0 picks a free port
    bool ptyEnabled = true;
    QString ptyLink = QStringLiteral("/tmp/tavilon-sim-tty");

    QByteArray model; // answered to GET MODEL TYPE
    int latencyMs = 0; // delay of every answer
    int baudRate = 0; // the device's starting RS232 rate; 0: 9600, and the pty understands any rate
    QByteArray lineEnding = "\r"; // after every line the simulator writes
    int chunk = 0; // write answers in pieces of this many bytes; 0 writes whole lines
    QList<QByteArray> mutePatterns; // requests containing one of these are never answered
    QList<QByteArray> refusePatterns; // requests containing one of these are refused with FAIL
    int dropAfter = 0; // close a connection after this many requests; 0 never
    bool garbage = false; // mix junk lines into the stream
    bool echo = false; // repeat every request before answering it
    bool help = false;
    bool version = false;

    // Parses the arguments without the program name. Returns false with a message on error.
    bool parse(const QStringList &arguments, QString &error);
    static QString Usage();

private:
    bool parseTcp(const QString &value, QString &error);
    static bool ParseCount(const QString &value, int minimum, int maximum, int &result);
};
