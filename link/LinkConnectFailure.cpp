#include "link/LinkConnectFailure.h"

#include "settings/LanguageTexts.h"

#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

LinkConnectFailure::PathFacts LinkConnectFailure::ExaminePath(const QString &portName)
{
    // A name without a folder is opened under /dev, as the serial port does.
    const QString path
        = portName.contains(QLatin1Char('/')) ? portName : QStringLiteral("/dev/") + portName;
    const QByteArray nativePath = QFile::encodeName(path);
    PathFacts facts;
    struct stat status {};
    if (::stat(nativePath.constData(), &status) != 0)
        return facts;
    facts.exists = true;
    facts.characterDevice = S_ISCHR(status.st_mode);
    facts.readWriteAllowed = ::access(nativePath.constData(), R_OK | W_OK) == 0;
    return facts;
}

LinkConnectFailure::Cause LinkConnectFailure::FromSerialError(
    QSerialPort::SerialPortError error, const PathFacts &facts)
{
    if (error == QSerialPort::DeviceNotFoundError || !facts.exists)
        return SerialNoSuchPort;
    if (error == QSerialPort::PermissionError)
        return facts.readWriteAllowed ? SerialBusy : SerialPermissionDenied;
    // A file, a folder or a device that is no terminal: its settings cannot be made.
    if (error == QSerialPort::UnsupportedOperationError || !facts.characterDevice)
        return SerialNotSerialDevice;
    if (!facts.readWriteAllowed)
        return SerialPermissionDenied;
    return Unknown;
}

LinkConnectFailure::Cause LinkConnectFailure::FromSocketError(
    QAbstractSocket::SocketError error, bool bindFailed, bool stillConnecting)
{
    if (bindFailed)
        return TcpBindFailed;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return TcpRefused;
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::HostNotFoundError:
        return TcpUnreachable;
    case QAbstractSocket::SocketTimeoutError:
        return TcpNoAnswer;
    case QAbstractSocket::AddressInUseError:
    case QAbstractSocket::SocketAddressNotAvailableError:
        return TcpBindFailed;
    default:
        return stillConnecting ? TcpNoAnswer : Unknown;
    }
}

QString LinkConnectFailure::Text(Cause cause, const QString &systemText)
{
    switch (cause) {
    case SerialPermissionDenied:
        return SMSG_Cause_SerialPermission;
    case SerialNoSuchPort:
        return SMSG_Cause_SerialNoSuchPort;
    case SerialBusy:
        return SMSG_Cause_SerialBusy;
    case SerialNotSerialDevice:
        return SMSG_Cause_SerialNotSerial;
    case TcpRefused:
        return SMSG_Cause_TcpRefused;
    case TcpUnreachable:
        return SMSG_Cause_TcpUnreachable;
    case TcpNoAnswer:
        return SMSG_Cause_TcpNoAnswer;
    case TcpBindFailed:
        return SMSG_Cause_TcpBindFailed;
    case Unknown:
        break;
    }
    return SMSG_Cause_Other + systemText;
}
