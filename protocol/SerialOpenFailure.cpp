#include "protocol/SerialOpenFailure.h"

QString SerialOpenFailure::Cause(QSerialPort::SerialPortError error, const QString &systemText)
{
    switch (error) {
    case QSerialPort::PermissionError:
        // Qt reports a port another program holds (its lock file) as a permission error too.
        if (systemText.contains(QLatin1String("lock"), Qt::CaseInsensitive))
            return QStringLiteral("port busy: another program has it open");
        return QStringLiteral("permission denied (the user must be in the dialout group)");
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("no such port");
    case QSerialPort::OpenError:
        return QStringLiteral("port busy: already open");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("not a serial device");
    default:
        return systemText;
    }
}
