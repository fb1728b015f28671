// The longest wait of a push from the GUI thread while the TCP link reconnects to a device
// that does not answer.
//
// Method: a listening socket on 127.0.0.1 with a backlog of 0 takes the link's connection; the
// bench accepts it, fills the accept queue with one more connection and then closes the link's
// connection. The kernel now drops every new SYN, so the link's silent reconnect before its
// next write runs into its full 1000 ms limit. Meanwhile this thread (playing the GUI thread)
// pushes a line and emits the send kick every millisecond, as a page does on a click, and
// records the longest time one push and kick took. The goal is under 5 ms.
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/LinkServices.h"
#include "link/ServiceTcpClient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <arpa/inet.h>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int ListenWithoutBacklog(quint16 *port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr *>(&address), length) != 0 || ::listen(fd, 0) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return -1;
    *port = ntohs(address.sin_port);
    return fd;
}

int ConnectFiller(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        return -1;
    return fd;
}

void RunEventsFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    MoveLinkServicesToThreads();
    quint16 port = 0;
    const int listener = ListenWithoutBacklog(&port);
    if (listener < 0) {
        std::printf("cannot listen on 127.0.0.1\n");
        return 1;
    }

    bool connected = false;
    int reconnectResult = -1;
    QElapsedTimer reconnectClock;
    qint64 reconnectMs = -1;
    QObject::connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_ConnectStatus_TcpClient, &app,
        [&](bool status, int) { connected = status; });
    QObject::connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_ReConnectStatus_TcpClient, &app, [&](bool status) {
        reconnectResult = status ? 1 : 0;
        reconnectMs = reconnectClock.elapsed();
    });
    LinkMode = LinkModeTcp;
    g_ThreadTcpClient->start();
    QMetaObject::invokeMethod(
        g_ServiceTcpClient,
        [port] { g_ServiceTcpClient->SLT_SyncConnect_TcpClient("127.0.0.1", "127.0.0.1", QString::number(port)); },
        Qt::QueuedConnection);
    RunEventsFor(700);
    if (!connected) {
        std::printf("the link did not connect\n");
        return 1;
    }
    const int accepted = ::accept(listener, nullptr, nullptr);
    const int filler = ConnectFiller(port);
    ::close(accepted);
    RunEventsFor(100);

    const QByteArray line = "GET MODEL TYPE\r";
    const auto kick = [] {
        QMetaObject::invokeMethod(
            g_ServiceTcpClient, &ServiceTcpClient::SLT_RealSendData_TcpClient, Qt::QueuedConnection);
    };
    reconnectClock.start();
    TcpLinkQueue().push(line, nullptr, 0);
    kick();
    qint64 longestNs = 0;
    int pushes = 0;
    QElapsedTimer during;
    during.start();
    while (reconnectResult < 0 && during.elapsed() < 3000) {
        QElapsedTimer one;
        one.start();
        TcpLinkQueue().push(line, nullptr, 0);
        kick();
        longestNs = qMax(longestNs, one.nsecsElapsed());
        ++pushes;
        QCoreApplication::processEvents();
        QThread::usleep(1000);
    }

    std::printf("reconnect to a silent address: %s after %lld ms\n",
        reconnectResult == 0 ? "failed" : reconnectResult == 1 ? "succeeded" : "still running",
        static_cast<long long>(reconnectMs));
    std::printf("longest GUI-thread push and kick meanwhile: %.3f ms over %d pushes (goal < 5 ms)\n",
        longestNs / 1e6, pushes);

    g_ThreadTcpClient->quit();
    g_ThreadTcpClient->wait(3000);
    LinkMode = LinkModeNone;
    ::close(filler);
    ::close(listener);
    return reconnectResult == 0 ? 0 : 1;
}
