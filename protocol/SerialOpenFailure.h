// Why a serial port could not be opened, in the words an operator can act on.
#pragma once

#include <QSerialPort>
#include <QString>

namespace SerialOpenFailure {
// A short cause for the error QSerialPort reported; the system's own text when there is no
// better one.
QString Cause(QSerialPort::SerialPortError error, const QString &systemText);
}
