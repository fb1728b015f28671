#include "link/LinkServices.h"

#include "link/LinkMode.h"

#include "link/ServiceSerialPort.h"
#include "link/ServiceTcpClient.h"

#include <QAbstractSocket>
#include <QMetaType>
#include <QSerialPort>
#include <QThread>

namespace {

template <typename T> T *CreateForProcessLifetime()
{
    RegisterLinkMetaTypes();
    return new T;
}

} // namespace

ServiceSerialPort *const g_ServiceSerialPort = CreateForProcessLifetime<ServiceSerialPort>();
QThread *const g_ThreadSerialPort = CreateForProcessLifetime<QThread>();
ServiceTcpClient *const g_ServiceTcpClient = CreateForProcessLifetime<ServiceTcpClient>();
QThread *const g_ThreadTcpClient = CreateForProcessLifetime<QThread>();

void RegisterLinkMetaTypes()
{
    qRegisterMetaType<QSerialPort::SerialPortError>("QSerialPort::SerialPortError");
    qRegisterMetaType<QAbstractSocket::SocketError>("QAbstractSocket::SocketError");
}

void MoveLinkServicesToThreads()
{
    RegisterLinkMetaTypes();
    if (g_ServiceSerialPort->thread() != g_ThreadSerialPort)
        g_ServiceSerialPort->moveToThread(g_ThreadSerialPort);
    if (g_ServiceTcpClient->thread() != g_ThreadTcpClient)
        g_ServiceTcpClient->moveToThread(g_ThreadTcpClient);
    QObject::connect(g_ThreadSerialPort, &QThread::finished, g_ServiceSerialPort,
        &ServiceSerialPort::SLT_SyncDisconnect_SerialPort, Qt::UniqueConnection);
    QObject::connect(g_ThreadTcpClient, &QThread::finished, g_ServiceTcpClient,
        &ServiceTcpClient::SLT_SyncDisconnect_TcpClient, Qt::UniqueConnection);
}

void StopAwaitingReplyOnSelectedLink(const QString &cmd)
{
    if (LinkMode == LinkModeSerial)
        QMetaObject::invokeMethod(
            g_ServiceSerialPort, [cmd] { g_ServiceSerialPort->StopAwaitingReply(cmd); }, Qt::QueuedConnection);
    else if (LinkMode == LinkModeTcp)
        QMetaObject::invokeMethod(
            g_ServiceTcpClient, [cmd] { g_ServiceTcpClient->StopAwaitingReply(cmd); }, Qt::QueuedConnection);
}
