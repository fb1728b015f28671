// Why a link could not be opened, told in the operator's words: the link services find the
// cause when a connect fails, and the connection page and the headless client put its text
// after their own failure message. Shared, so that both say the same.
#pragma once

#include <QAbstractSocket>
#include <QSerialPort>
#include <QString>

class LinkConnectFailure
{
public:
    enum Cause : int {
        Unknown = 0,
        SerialPermissionDenied,
        SerialNoSuchPort,
        SerialBusy,
        SerialNotSerialDevice,
        TcpRefused,
        TcpUnreachable,
        TcpNoAnswer,
        TcpBindFailed,
    };

    // What the file system says about a port path, looked at after the open failed.
    struct PathFacts {
        bool exists = false;
        bool characterDevice = false;
        bool readWriteAllowed = false; // for this user
    };

    static PathFacts ExaminePath(const QString &portName);
    // The serial port reports one permission error for a refused access and for a port that
    // is locked or opened exclusively by another program; the path's access rights tell them
    // apart.
    static Cause FromSerialError(QSerialPort::SerialPortError error, const PathFacts &facts);
    // bindFailed: the socket could not take the local address; stillConnecting: the connect
    // wait ended with the socket still trying.
    static Cause FromSocketError(QAbstractSocket::SocketError error, bool bindFailed, bool stillConnecting);

    // The cause's text from the LanguageTable; an unknown cause gives the system's own words.
    static QString Text(Cause cause, const QString &systemText);
};
