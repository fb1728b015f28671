#include "link/LinkServices.h"

#include "link/LinkMode.h"

#include "link/ServiceSerialPort.h"
#include "link/ServiceTcpClient.h"

#include <QAbstractSocket>
#include <QMetaType>
#include <QSerialPort>
#include <QStringList>
#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <mutex>

namespace {

template <typename T> T *CreateForProcessLifetime()
{
    RegisterLinkMetaTypes();
    return new T;
}

// Lines whose reply the operator was told did not come, on their way to a link's worker thread.
struct StopRequests {
    std::mutex mutex;
    QStringList commands;
};

StopRequests &SerialStopRequests()
{
    static StopRequests requests;
    return requests;
}

StopRequests &TcpStopRequests()
{
    static StopRequests requests;
    return requests;
}

// Runs in the worker thread, for every request posted so far.
template <typename Service> void TakeStopRequests(StopRequests &requests, Service *service)
{
    QStringList commands;
    {
        std::lock_guard<std::mutex> lock(requests.mutex);
        commands.swap(requests.commands);
    }
    for (const QString &command : qAsConst(commands))
        service->StopAwaitingReply(command);
}

// The call is posted with the lock held: the worker takes the lock before it reads the requests
// and before Qt can delete the call object in that thread, so both are ordered after the post.
template <typename Service, typename Take>
void PostStopRequest(StopRequests &requests, Service *service, const QString &cmd, Take take)
{
    std::lock_guard<std::mutex> lock(requests.mutex);
    requests.commands << cmd;
    QMetaObject::invokeMethod(service, take, Qt::QueuedConnection);
}

// A link thread runs again and again (one run per connect) on a new system thread each time;
// the service's data passes from one run to the next, and to the thread that waited for the
// end. QThread::wait and QThread::start order them, inside the uninstrumented Qt library; this
// counter, released as a run ends and acquired as the next begins and after the wait, tells
// ThreadSanitizer the same.
std::atomic<unsigned> SerialRunHandover { 0 };
std::atomic<unsigned> TcpRunHandover { 0 };

std::atomic<unsigned> &RunHandoverOf(QThread *thread)
{
    return thread == g_ThreadTcpClient ? TcpRunHandover : SerialRunHandover;
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

    // Direct: in the worker thread, first thing in a run and, after the close above, last.
    static bool handoverConnected = false;
    if (handoverConnected)
        return;
    handoverConnected = true;
    for (QThread *thread : { g_ThreadSerialPort, g_ThreadTcpClient }) {
        std::atomic<unsigned> *handover = &RunHandoverOf(thread);
        QObject::connect(
            thread, &QThread::started, thread, [handover] { handover->load(std::memory_order_acquire); },
            Qt::DirectConnection);
        QObject::connect(
            thread, &QThread::finished, thread,
            [handover] { handover->fetch_add(1, std::memory_order_release); }, Qt::DirectConnection);
    }
}

// Calls still queued for the service when its run ends (a connect requested just before the
// operator's Disconnect) belong to that run: left in place they would run first in the next
// one, and a stale connect result would answer the next attempt.
bool StopLinkThread(QThread *thread, int waitMs)
{
    thread->quit();
    if (!thread->wait(waitMs))
        return false;
    RunHandoverOf(thread).load(std::memory_order_acquire);
    QObject *service = nullptr;
    StopRequests *requests = nullptr;
    if (thread == g_ThreadSerialPort) {
        service = g_ServiceSerialPort;
        requests = &SerialStopRequests();
    } else if (thread == g_ThreadTcpClient) {
        service = g_ServiceTcpClient;
        requests = &TcpStopRequests();
    }
    if (service) {
        std::lock_guard<std::mutex> lock(requests->mutex);
        requests->commands.clear();
        QCoreApplication::removePostedEvents(service, QEvent::MetaCall);
    }
    return true;
}

void StopAwaitingReplyOnSelectedLink(const QString &cmd)
{
    // The calls capture nothing: what they need is read under the mailbox's lock.
    if (LinkMode == LinkModeSerial)
        PostStopRequest(SerialStopRequests(), g_ServiceSerialPort, cmd,
            [] { TakeStopRequests(SerialStopRequests(), g_ServiceSerialPort); });
    else if (LinkMode == LinkModeTcp)
        PostStopRequest(TcpStopRequests(), g_ServiceTcpClient, cmd,
            [] { TakeStopRequests(TcpStopRequests(), g_ServiceTcpClient); });
}
