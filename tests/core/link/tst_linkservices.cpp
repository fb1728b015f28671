// The process-wide serial and TCP link services in their worker threads, against real peers in
// this process: a pseudo-terminal for the serial link, a TCP server on 127.0.0.1 for the other.
// The test thread plays the GUI thread: it pushes lines, kicks, drains and reads the signals.
#include "link/LinkMode.h"
#include "link/LinkConnectFailure.h"
#include "link/LinkQueue.h"
#include "link/LinkServices.h"
#include "link/ServiceSerialPort.h"
#include "link/ServiceTcpClient.h"
#include "support/PtyPair.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <cstring>
#include <memory>
#include <pthread.h>
#include <time.h>

namespace {

const QString Serial = QStringLiteral("serial");
const QString Tcp = QStringLiteral("tcp");

ReplyExpectation Expect(const QByteArray &pattern, quint8 needMatch, quint32 waitMs, quint32 reportTimeout)
{
    ReplyExpectation expectation;
    std::memset(&expectation, 0, sizeof expectation);
    std::memcpy(expectation.patterns[0], pattern.constData(), size_t(pattern.size()));
    expectation.patternLengths[0] = quint32(pattern.size());
    expectation.patternCount = 1;
    expectation.needMatch = needMatch;
    expectation.waitMs = waitMs;
    expectation.matchMs = needMatch ? 2000 : 0;
    expectation.reportTimeout = reportTimeout;
    return expectation;
}

ReplyExpectation Standard(const QByteArray &pattern)
{
    return Expect(pattern, 1, 0, 1);
}

ReplyExpectation Silent(const QByteArray &pattern)
{
    return Expect(pattern, 1, 0, 0);
}

ReplyExpectation Wall(const QByteArray &pattern)
{
    return Expect(pattern, 0, 300, 1);
}

// The device end of a link.
class DevicePeer
{
public:
    virtual ~DevicePeer() = default;
    virtual void write(const QByteArray &bytes) = 0;

    // The next CR-ended line the service wrote, or empty when none came in time.
    QByteArray readLine(int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            const int cr = m_pending.indexOf('\r');
            if (cr >= 0) {
                const QByteArray line = m_pending.left(cr + 1);
                m_pending.remove(0, cr + 1);
                return line;
            }
            const int left = int(timeoutMs - clock.elapsed());
            if (left <= 0)
                return QByteArray();
            m_pending += readSome(left);
        }
    }

protected:
    virtual QByteArray readSome(int timeoutMs) = 0;

private:
    QByteArray m_pending;
};

class PtyPeer : public DevicePeer
{
public:
    explicit PtyPeer(PtyPair &pty)
        : m_pty(pty)
    { }
    void write(const QByteArray &bytes) override { QVERIFY(m_pty.write(bytes)); }

protected:
    QByteArray readSome(int timeoutMs) override { return m_pty.readSome(timeoutMs); }

private:
    PtyPair &m_pty;
};

class SocketPeer : public DevicePeer
{
public:
    // Takes the accepted socket away from its server, which may go first.
    explicit SocketPeer(QTcpSocket *socket)
        : m_socket(socket)
    {
        if (m_socket)
            m_socket->setParent(nullptr);
    }
    ~SocketPeer() override { delete m_socket; }
    void write(const QByteArray &bytes) override
    {
        m_socket->write(bytes);
        QVERIFY(m_socket->waitForBytesWritten(1000));
    }
    void drop() { m_socket->abort(); }

protected:
    QByteArray readSome(int timeoutMs) override
    {
        if (m_socket->bytesAvailable() == 0)
            m_socket->waitForReadyRead(timeoutMs);
        return m_socket->readAll();
    }

private:
    QTcpSocket *m_socket;
};

// What the service told the GUI side, received queued in the test thread.
class LinkEvents : public QObject
{
public:
    QStringList sent;
    QStringList timeouts;
    int received = 0;
    QList<QPair<bool, int>> statuses;
    // The cause reported before each failed status.
    QList<int> failureCauses;
    QList<bool> reconnects;
    QStringList portsLost;

    void listenTo(const QString &link)
    {
        if (link == Serial) {
            connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_UpdateSendData_SerialPort, this,
                [this](const QString &text) { sent << text; });
            connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_UpdateRecvData_SerialPort, this,
                [this] { ++received; });
            connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_WaitReplyTimeout_SerialPort, this,
                [this](const QString &cmd) { timeouts << cmd; });
            connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_ConnectStatus_SerialPort, this,
                [this](bool status, int code) { statuses << qMakePair(status, code); });
            connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_ConnectFailure_SerialPort, this,
                [this](int cause, const QString &) { failureCauses << cause; });
            connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_PortLost_SerialPort, this,
                [this](const QString &name) { portsLost << name; });
        } else {
            connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_UpdateSendData_TcpClient, this,
                [this](const QString &text) { sent << text; });
            connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_UpdateRecvData_TcpClient, this,
                [this] { ++received; });
            connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_WaitReplyTimeout_TcpClient, this,
                [this](const QString &cmd) { timeouts << cmd; });
            connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_ConnectStatus_TcpClient, this,
                [this](bool status, int code) { statuses << qMakePair(status, code); });
            connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_ConnectFailure_TcpClient, this,
                [this](int cause, const QString &) { failureCauses << cause; });
            connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_ReConnectStatus_TcpClient, this,
                [this](bool status) { reconnects << status; });
        }
    }
};

LinkQueue &QueueOf(const QString &link)
{
    return link == Serial ? SerialLinkQueue() : TcpLinkQueue();
}

QThread *ThreadOf(const QString &link)
{
    return link == Serial ? g_ThreadSerialPort : g_ThreadTcpClient;
}

// The requests go to the services by slot name, as the GUI's queued signals do: the call and
// its arguments are then made and deleted inside Qt. A functor or member-function call object
// would be built by this thread and deleted by the worker, a hand-over ThreadSanitizer cannot
// follow through Qt's event queue.
void Kick(const QString &link)
{
    if (link == Serial)
        QMetaObject::invokeMethod(g_ServiceSerialPort, "SLT_RealSendData_SerialPort", Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(g_ServiceTcpClient, "SLT_RealSendData_TcpClient", Qt::QueuedConnection);
}

void RequestDisconnect(const QString &link)
{
    if (link == Serial)
        QMetaObject::invokeMethod(g_ServiceSerialPort, "SLT_SyncDisconnect_SerialPort", Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(g_ServiceTcpClient, "SLT_SyncDisconnect_TcpClient", Qt::QueuedConnection);
}

void RequestSerialConnect(const QString &portName)
{
    g_ThreadSerialPort->start();
    QMetaObject::invokeMethod(g_ServiceSerialPort, "SLT_SyncConnect_SerialPort", Qt::QueuedConnection,
        Q_ARG(QString, portName), Q_ARG(QString, "115200"), Q_ARG(QString, "8"), Q_ARG(QString, "0"),
        Q_ARG(QString, "1"), Q_ARG(QString, "0"));
}

void RequestTcpConnect(const QString &localIp, const QString &remotePort)
{
    g_ThreadTcpClient->start();
    QMetaObject::invokeMethod(g_ServiceTcpClient, "SLT_SyncConnect_TcpClient", Qt::QueuedConnection,
        Q_ARG(QString, localIp), Q_ARG(QString, "127.0.0.1"), Q_ARG(QString, remotePort));
}

// The system thread of the serial link's current run, noted by the run itself as it starts.
std::atomic<pthread_t> SerialWorker {};

void NoteSerialWorkerOnEachRun()
{
    QObject::connect(
        g_ThreadSerialPort, &QThread::started, g_ThreadSerialPort,
        [] { SerialWorker.store(pthread_self(), std::memory_order_release); }, Qt::DirectConnection);
}

// CPU time the serial worker thread has used so far, in milliseconds.
double SerialWorkerCpuMs()
{
    const pthread_t worker = SerialWorker.load(std::memory_order_acquire);
    clockid_t clock {};
    timespec used {};
    if (pthread_getcpuclockid(worker, &clock) != 0 || clock_gettime(clock, &used) != 0)
        return -1;
    return used.tv_sec * 1000.0 + used.tv_nsec / 1e6;
}

// Stops a link the way the connection page does: the thread quits and the link closes in it.
void StopLink(const QString &link)
{
    QVERIFY(StopLinkThread(ThreadOf(link), 3000));
}

} // namespace

class TestLinkServices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void connectRequestOfAnEndedRunIsDropped_data();
    void connectRequestOfAnEndedRunIsDropped();

    void declaresTheInterfaceInOrder_data();
    void declaresTheInterfaceInOrder();
    void sendsOneLineAtATimeAfterAPause_data();
    void sendsOneLineAtATimeAfterAPause();
    void endsAnUnansweredCommandAfterTwoSeconds_data();
    void endsAnUnansweredCommandAfterTwoSeconds();
    void holdsTheLinkAfterAWallCommand_data();
    void holdsTheLinkAfterAWallCommand();
    void assemblesRepliesFromTheByteStream_data();
    void assemblesRepliesFromTheByteStream();
    void disconnectDropsQueuedAndReceivedLines_data();
    void disconnectDropsQueuedAndReceivedLines();
    void closeDuringThePauseNeitherWritesNorHangs_data();
    void closeDuringThePauseNeitherWritesNorHangs();
    void reportsAFailedConnect_data();
    void reportsAFailedConnect();
    void cutsTheRemotePortToSixteenBits();
    void reconnectsSilentlyAfterTheDeviceDropsTheConnection();
    void reconnectsWhenTheDeviceDropsDuringThePause();
    void reportsAFailedReconnect();
    void lostSerialPortClosesTheLinkOnce_data();
    void lostSerialPortClosesTheLinkOnce();
    void dropInTheMiddleOfAChunkGluesNothing_data();
    void dropInTheMiddleOfAChunkGluesNothing();
    void pushNeverWaitsForTheLink();
    void stopsAwaitingTheReplyTheOperatorWasToldOf_data();
    void stopsAwaitingTheReplyTheOperatorWasToldOf();

private:
    void addLinkRows();
    void openLink(const QString &link);
    void QueueAQueryAfterTheDeviceIsGone();

    std::unique_ptr<LinkEvents> m_events;
    std::unique_ptr<PtyPair> m_pty;
    std::unique_ptr<QTcpServer> m_server;
    std::unique_ptr<DevicePeer> m_peer;
    SocketPeer *m_socketPeer = nullptr;
};

void TestLinkServices::initTestCase()
{
    MoveLinkServicesToThreads();
    QCOMPARE(g_ServiceSerialPort->thread(), g_ThreadSerialPort);
    QCOMPARE(g_ServiceTcpClient->thread(), g_ThreadTcpClient);
    // Before any run starts.
    NoteSerialWorkerOnEachRun();
}

void TestLinkServices::init()
{
    m_events.reset(new LinkEvents);
}

void TestLinkServices::cleanup()
{
    StopLink(Serial);
    StopLink(Tcp);
    m_peer.reset();
    m_socketPeer = nullptr;
    m_server.reset();
    m_pty.reset();
    m_events.reset();
}

void TestLinkServices::addLinkRows()
{
    QTest::addColumn<QString>("link");
    QTest::newRow("serial") << Serial;
    QTest::newRow("tcp") << Tcp;
}

// Opens the link to a fresh peer and waits until the service reports it open.
void TestLinkServices::openLink(const QString &link)
{
    m_events->listenTo(link);
    m_peer.reset();
    m_socketPeer = nullptr;
    if (link == Serial) {
        m_pty.reset(new PtyPair);
        RequestSerialConnect(m_pty->slavePath());
        m_peer.reset(new PtyPeer(*m_pty));
    } else {
        m_server.reset(new QTcpServer);
        m_server->listen(QHostAddress(QHostAddress::LocalHost), 0);
        RequestTcpConnect("127.0.0.1", QString::number(m_server->serverPort()));
        if (!m_server->hasPendingConnections())
            m_server->waitForNewConnection(2000);
        m_socketPeer = new SocketPeer(m_server->nextPendingConnection());
        m_peer.reset(m_socketPeer);
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_events->statuses.size(), 1, 2000);
}

// The device drops the TCP connection and listens no more; then a command is due.
void TestLinkServices::QueueAQueryAfterTheDeviceIsGone()
{
    openLink(Tcp);
    m_server->close();
    m_socketPeer->drop();
    QTest::qWait(200);

    const ReplyExpectation expectation = Standard("MODEL TYPE");
    TcpLinkQueue().push(QByteArray("GET MODEL TYPE\r"), &expectation, 0);
    Kick(Tcp);
}

void TestLinkServices::declaresTheInterfaceInOrder_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QStringList>("methods");

    QTest::newRow("serial")
        << Serial
        << QStringList { "signal SGL_TryCheckSend()", "signal SGL_UpdateRecvData_SerialPort()",
               "signal SGL_UpdateSendData_SerialPort(QString)",
               "signal SGL_ConnectStatus_SerialPort(bool,int)",
               "signal SGL_WaitReplyTimeout_SerialPort(QString)", "signal SGL_PortLost_SerialPort(QString)",
               "signal SGL_ConnectFailure_SerialPort(int,QString)",
               "slot SLT_MatchTimer_Timeout()",
               "slot SLT_WaitTimer_Timeout()", "slot SLT_SerialPortError(QSerialPort::SerialPortError)",
               "slot SLT_SyncConnect_SerialPort(QString,QString,QString,QString,QString,QString)",
               "slot SLT_SyncDisconnect_SerialPort()", "slot SLT_RealSendData_SerialPort()",
               "slot SLT_RealRecvData_SerialPort()" };
    QTest::newRow("tcp") << Tcp
                         << QStringList { "signal SGL_TryCheckSend()",
                                "signal SGL_UpdateRecvData_TcpClient()",
                                "signal SGL_UpdateSendData_TcpClient(QString)",
                                "signal SGL_ConnectStatus_TcpClient(bool,int)",
                                "signal SGL_ReConnectStatus_TcpClient(bool)",
                                "signal SGL_WaitReplyTimeout_TcpClient(QString)",
                                "signal SGL_ConnectFailure_TcpClient(int,QString)",
                                "slot SLT_MatchTimer_Timeout()", "slot SLT_WaitTimer_Timeout()",
                                "slot SLT_SocketError(QAbstractSocket::SocketError)",
                                "slot SLT_SyncConnect_TcpClient(QString,QString,QString)",
                                "slot SLT_SyncDisconnect_TcpClient()", "slot SLT_RealSendData_TcpClient()",
                                "slot SLT_RealRecvData_TcpClient()" };
}

// Other parts of the program connect to these by name and position.
void TestLinkServices::declaresTheInterfaceInOrder()
{
    QFETCH(QString, link);
    QFETCH(QStringList, methods);

    const QMetaObject *meta
        = link == Serial ? &ServiceSerialPort::staticMetaObject : &ServiceTcpClient::staticMetaObject;
    QStringList declared;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        const QString kind = method.methodType() == QMetaMethod::Signal ? "signal" : "slot";
        declared << kind + ' ' + QString::fromLatin1(method.methodSignature());
    }
    QCOMPARE(declared, methods);
}

void TestLinkServices::sendsOneLineAtATimeAfterAPause_data()
{
    addLinkRows();
}

void TestLinkServices::sendsOneLineAtATimeAfterAPause()
{
    QFETCH(QString, link);
    openLink(link);
    DevicePeer &device = *m_peer;
    QCOMPARE(m_events->statuses.first(), qMakePair(true, 0));
    const ReplyExpectation model = Standard("MODEL TYPE");
    const ReplyExpectation baud = Standard("BAUDRATE");
    QueueOf(link).push(QByteArray("GET MODEL TYPE\r"), &model, 0);
    QueueOf(link).push(QByteArray("GET BAUDRATE\r"), &baud, 0);

    Kick(link);
    QCOMPARE(device.readLine(1000), QByteArray("GET MODEL TYPE\r"));
    Kick(link);
    QCOMPARE(device.readLine(300), QByteArray());

    QElapsedTimer sinceReply;
    sinceReply.start();
    device.write("MODEL TYPE RZ7P52KN\r");
    QCOMPARE(device.readLine(1000), QByteArray("GET BAUDRATE\r"));
    QVERIFY2(sinceReply.elapsed() >= 48, qPrintable(QString::number(sinceReply.elapsed())));

    device.write("BAUDRATE 115200\r");
    QTRY_COMPARE(m_events->received, 2);
    QCOMPARE(m_events->sent, (QStringList { "GET MODEL TYPE\r", "GET BAUDRATE\r" }));
    QList<QByteArray> lines;
    QVERIFY(QueueOf(link).drain([&lines](const QByteArray &line) { lines << line; }));
    QCOMPARE(lines, (QList<QByteArray> { "MODEL TYPE RZ7P52KN\r", "BAUDRATE 115200\r" }));
    QVERIFY(m_events->timeouts.isEmpty());
}

void TestLinkServices::endsAnUnansweredCommandAfterTwoSeconds_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("reported");
    QTest::newRow("serial, reported") << Serial << true;
    QTest::newRow("serial, silent") << Serial << false;
    QTest::newRow("tcp, reported") << Tcp << true;
    QTest::newRow("tcp, silent") << Tcp << false;
}

void TestLinkServices::endsAnUnansweredCommandAfterTwoSeconds()
{
    QFETCH(QString, link);
    QFETCH(bool, reported);
    openLink(link);
    DevicePeer &device = *m_peer;
    const ReplyExpectation expectation = reported ? Standard("IN-INFO") : Silent("IN-INFO");
    QueueOf(link).push(QByteArray("GET IN1 IN-INFO\r"), &expectation, 0);
    QueueOf(link).push(QByteArray("GET NEXT\r"), nullptr, 0);

    Kick(link);
    QCOMPARE(device.readLine(1000), QByteArray("GET IN1 IN-INFO\r"));
    QElapsedTimer sinceFirst;
    sinceFirst.start();
    device.write("UNRELATED\r");
    QCOMPARE(device.readLine(3000), QByteArray("GET NEXT\r"));
    QVERIFY2(sinceFirst.elapsed() >= 1990, qPrintable(QString::number(sinceFirst.elapsed())));

    QTRY_COMPARE(m_events->sent.size(), 2);
    QCOMPARE(m_events->timeouts, reported ? QStringList { "GET IN1 IN-INFO\r" } : QStringList {});
}

void TestLinkServices::holdsTheLinkAfterAWallCommand_data()
{
    addLinkRows();
}

void TestLinkServices::holdsTheLinkAfterAWallCommand()
{
    QFETCH(QString, link);
    openLink(link);
    DevicePeer &device = *m_peer;
    const ReplyExpectation wall = Wall("TVWALL-INFO");
    QueueOf(link).push(QByteArray("SET TVWALL-INFO 1 1 1 0 0 0 0 0 0 0 0\r"), &wall, 0);
    QueueOf(link).push(QByteArray("GET NEXT\r"), nullptr, 0);

    Kick(link);
    QVERIFY(device.readLine(1000).startsWith("SET TVWALL-INFO"));
    QElapsedTimer sinceFirst;
    sinceFirst.start();
    // The reply changes nothing: the wall command holds the link for its fixed time.
    device.write("TVWALL-INFO 1 1 1\r");
    QCOMPARE(device.readLine(1500), QByteArray("GET NEXT\r"));
    QVERIFY2(sinceFirst.elapsed() >= 340, qPrintable(QString::number(sinceFirst.elapsed())));

    QTRY_COMPARE(m_events->sent.size(), 2);
    QTest::qWait(50);
    QVERIFY(m_events->timeouts.isEmpty());
}

void TestLinkServices::assemblesRepliesFromTheByteStream_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("lines");

    for (const QString &link : { Serial, Tcp }) {
        const QByteArray name = link.toLatin1();
        const char *prefix = name.constData();
        QTest::addRow("%s, keyword split across chunks", prefix)
            << link << QList<QByteArray> { "MODEL TY", "PE RZ7P52KN\r" }
            << QList<QByteArray> { "MODEL TYPE RZ7P52KN\r" };
        QTest::addRow("%s, CR LF endings, LF leading the next chunk", prefix)
            << link << QList<QByteArray> { "NOISE 1\r", "\nMODEL TYPE RZ7P52KN\r\n" }
            << QList<QByteArray> { "NOISE 1\r", "MODEL TYPE RZ7P52KN\r" };
        QTest::addRow("%s, two lines in one chunk", prefix)
            << link << QList<QByteArray> { "OUT1 VKA ON\rMODEL TYPE RZ7P52KN\r" }
            << QList<QByteArray> { "OUT1 VKA ON\r", "MODEL TYPE RZ7P52KN\r" };
    }
}

void TestLinkServices::assemblesRepliesFromTheByteStream()
{
    QFETCH(QString, link);
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, lines);
    openLink(link);
    DevicePeer &device = *m_peer;
    const ReplyExpectation model = Standard("MODEL TYPE");
    QueueOf(link).push(QByteArray("GET MODEL TYPE\r"), &model, 0);
    QueueOf(link).push(QByteArray("GET NEXT\r"), nullptr, 0);

    Kick(link);
    QCOMPARE(device.readLine(1000), QByteArray("GET MODEL TYPE\r"));
    for (const QByteArray &chunk : chunks) {
        device.write(chunk);
        QThread::msleep(40);
    }
    // Long before the reply timer would end the wait.
    QCOMPARE(device.readLine(1000), QByteArray("GET NEXT\r"));

    QTRY_COMPARE(m_events->received, lines.size());
    QList<QByteArray> received;
    QVERIFY(QueueOf(link).drain([&received](const QByteArray &line) { received << line; }));
    QCOMPARE(received, lines);
    QVERIFY(m_events->timeouts.isEmpty());
}

void TestLinkServices::disconnectDropsQueuedAndReceivedLines_data()
{
    addLinkRows();
}

void TestLinkServices::disconnectDropsQueuedAndReceivedLines()
{
    QFETCH(QString, link);
    openLink(link);
    DevicePeer &device = *m_peer;
    const ReplyExpectation expectation = Standard("VKA");
    for (const char *line : { "GET OUT1 VKA\r", "GET OUT2 VKA\r", "GET OUT3 VKA\r" })
        QueueOf(link).push(QByteArray(line), &expectation, 0);
    Kick(link);
    QCOMPARE(device.readLine(1000), QByteArray("GET OUT1 VKA\r"));
    device.write("NOISE\r");
    QTRY_COMPARE(m_events->received, 1);

    StopLink(link);
    QueueOf(link).push(QByteArray("GET OUT4 VKA\r"), &expectation, 0);

    QVERIFY(!QueueOf(link).isActive());
    QCOMPARE(QueueOf(link).sendQueueSize(), 0);
    QCOMPARE(QueueOf(link).receiveQueueSize(), 0);

    m_events.reset(new LinkEvents);
    openLink(link);
    DevicePeer &again = *m_peer;
    QCOMPARE(m_events->statuses.first(), qMakePair(true, 0));
    Kick(link);
    QCOMPARE(again.readLine(400), QByteArray());
    QCOMPARE(QueueOf(link).sendQueueSize(), 0);
    QCOMPARE(QueueOf(link).receiveQueueSize(), 0);
}

void TestLinkServices::closeDuringThePauseNeitherWritesNorHangs_data()
{
    addLinkRows();
}

// The pause before a write runs a local event loop, so a close request can arrive while the
// send step holds the queue's send mutex and is about to use the port.
void TestLinkServices::closeDuringThePauseNeitherWritesNorHangs()
{
    QFETCH(QString, link);
    openLink(link);
    DevicePeer &device = *m_peer;
    QueueOf(link).push(QByteArray("GET A\r"), nullptr, 0);

    Kick(link);
    QThread::msleep(20);
    RequestDisconnect(link);

    QTRY_VERIFY(!QueueOf(link).isActive());
    QCOMPARE(device.readLine(200), QByteArray());
    QVERIFY(m_events->sent.isEmpty());
    StopLink(link);
}

void TestLinkServices::reportsAFailedConnect_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("deviceListens");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("cause");

    QTest::newRow("serial port that does not exist") << Serial << "/nonexistent/ttyTAVILON" << false << 3
                                                     << int(LinkConnectFailure::SerialNoSuchPort);
    QTest::newRow("tcp port nobody listens on") << Tcp << "127.0.0.1" << false << 5
                                                << int(LinkConnectFailure::TcpRefused);
    // The device is there; only the local address is wrong.
    QTest::newRow("tcp local address not on this host") << Tcp << "192.0.2.1" << true << 5
                                                         << int(LinkConnectFailure::TcpBindFailed);
}

void TestLinkServices::reportsAFailedConnect()
{
    QFETCH(QString, link);
    QFETCH(QString, where);
    QFETCH(bool, deviceListens);
    QFETCH(int, code);
    QFETCH(int, cause);
    m_events->listenTo(link);

    if (link == Serial) {
        RequestSerialConnect(where);
    } else {
        m_server.reset(new QTcpServer);
        QVERIFY(m_server->listen(QHostAddress(QHostAddress::LocalHost), 0));
        const QString port = QString::number(m_server->serverPort());
        if (!deviceListens)
            m_server->close();
        RequestTcpConnect(where, port);
    }

    QTRY_COMPARE_WITH_TIMEOUT(m_events->statuses.size(), 1, 3000);
    QCOMPARE(m_events->statuses.first(), qMakePair(false, code));
    QCOMPARE(m_events->failureCauses, QList<int> { cause });
    // The link stays closed: a queued line does not go anywhere and no timer runs.
    const ReplyExpectation expectation = Standard("X");
    QueueOf(link).activate();
    QueueOf(link).push(QByteArray("GET X\r"), &expectation, 0);
    Kick(link);
    QTest::qWait(150);
    QVERIFY(m_events->sent.isEmpty());
    QCOMPARE(QueueOf(link).sendQueueSize(), 1);
    QueueOf(link).deactivate();
}

void TestLinkServices::cutsTheRemotePortToSixteenBits()
{
    m_events->listenTo(Tcp);
    m_server.reset(new QTcpServer);
    QVERIFY(m_server->listen(QHostAddress(QHostAddress::LocalHost), 0));

    RequestTcpConnect("127.0.0.1", QString::number(3 * 65536 + m_server->serverPort()));

    QTRY_COMPARE_WITH_TIMEOUT(m_events->statuses.size(), 1, 2000);
    QCOMPARE(m_events->statuses.first(), qMakePair(true, 0));
    QVERIFY(m_server->hasPendingConnections() || m_server->waitForNewConnection(1000));
}

void TestLinkServices::reconnectsSilentlyAfterTheDeviceDropsTheConnection()
{
    openLink(Tcp);
    // The connection ends in the middle of a line.
    m_socketPeer->write("OUT1 VK");
    m_socketPeer->drop();
    // Time for the service to see the connection end.
    QTest::qWait(200);

    const ReplyExpectation expectation = Standard("MODEL TYPE");
    TcpLinkQueue().push(QByteArray("GET MODEL TYPE\r"), &expectation, 0);
    Kick(Tcp);

    QVERIFY(m_server->hasPendingConnections() || m_server->waitForNewConnection(3000));
    SocketPeer device(m_server->nextPendingConnection());
    QCOMPARE(device.readLine(2000), QByteArray("GET MODEL TYPE\r"));
    device.write("MODEL TYPE RZ7P52KN\r");
    QTRY_COMPARE(m_events->received, 1);
    QList<QByteArray> lines;
    QVERIFY(TcpLinkQueue().drain([&lines](const QByteArray &line) { lines << line; }));
    QCOMPARE(lines, QList<QByteArray> { "MODEL TYPE RZ7P52KN\r" });
    QTest::qWait(100);
    // The silent reconnect is reported once, so that the GUI reads the device again.
    QCOMPARE(m_events->reconnects, QList<bool> { true });
    QVERIFY(m_events->timeouts.isEmpty());
    QCOMPARE(m_events->statuses.size(), 1);
}

void TestLinkServices::reconnectsWhenTheDeviceDropsDuringThePause()
{
    openLink(Tcp);
    const ReplyExpectation first = Standard("MODEL TYPE");
    const ReplyExpectation second = Standard("MATRIX-ROUTE");
    TcpLinkQueue().push(QByteArray("GET MODEL TYPE\r"), &first, 0);
    TcpLinkQueue().push(QByteArray("GET MATRIX-ROUTE\r"), &second, 0);
    Kick(Tcp);
    QCOMPARE(m_socketPeer->readLine(2000), QByteArray("GET MODEL TYPE\r"));
    // The reply starts the next line's pause; the connection ends inside it.
    m_socketPeer->write("MODEL TYPE RZ7P52KN\r");
    m_socketPeer->drop();

    QVERIFY(m_server->hasPendingConnections() || m_server->waitForNewConnection(3000));
    SocketPeer device(m_server->nextPendingConnection());
    QCOMPARE(device.readLine(2000), QByteArray("GET MATRIX-ROUTE\r"));
    device.write("MATRIX-ROUTE 0 1 2 3\r");
    QTRY_COMPARE(m_events->received, 2);
    QCOMPARE(m_events->reconnects, QList<bool> { true });
    QVERIFY(m_events->timeouts.isEmpty());
}

void TestLinkServices::reportsAFailedReconnect()
{
    QueueAQueryAfterTheDeviceIsGone();

    QTRY_COMPARE_WITH_TIMEOUT(m_events->reconnects, QList<bool> { false }, 3000);
    // The line that was due still takes its turn.
    QTRY_COMPARE(m_events->sent, QStringList { "GET MODEL TYPE\r" });
    // One attempt per send: the failure is not tried and reported a second time after the pause
    // (the report is emitted before the line is, so a second one would have arrived by now).
    QCOMPARE(m_events->reconnects, QList<bool> { false });
}

void TestLinkServices::lostSerialPortClosesTheLinkOnce_data()
{
    QTest::addColumn<bool>("replyAwaited");
    QTest::newRow("idle link") << false;
    QTest::newRow("while a reply is awaited") << true;
}

// The master side of the pseudo-terminal goes away as an unplugged adapter does.
void TestLinkServices::lostSerialPortClosesTheLinkOnce()
{
    QFETCH(bool, replyAwaited);
    openLink(Serial);
    const QString portName = m_pty->slavePath();
    const ReplyExpectation expectation = Standard("MODEL TYPE");
    if (replyAwaited) {
        SerialLinkQueue().push(QByteArray("GET MODEL TYPE\r"), &expectation, 0);
        Kick(Serial);
        QCOMPARE(m_peer->readLine(1000), QByteArray("GET MODEL TYPE\r"));
    }

    m_pty->closeMaster();

    QTRY_COMPARE_WITH_TIMEOUT(m_events->portsLost.size(), 1, 2000);
    QCOMPARE(m_events->portsLost.first(), portName);
    QVERIFY(!SerialLinkQueue().isActive());
    // The worker is idle: no spinning on the dead port, no timer left to report a timeout.
    const double cpuBefore = SerialWorkerCpuMs();
    QTest::qWait(2300);
    const double cpuUsed = SerialWorkerCpuMs() - cpuBefore;
    qInfo("serial worker CPU time in the 2.3 s after the loss: %.1f ms", cpuUsed);
    QVERIFY2(cpuUsed >= 0 && cpuUsed < 100, qPrintable(QString::number(cpuUsed)));
    QCOMPARE(m_events->portsLost.size(), 1);
    QVERIFY(m_events->timeouts.isEmpty());

    // A later connect works as after a disconnect.
    m_events.reset(new LinkEvents);
    openLink(Serial);
    QCOMPARE(m_events->statuses.first(), qMakePair(true, 0));
    SerialLinkQueue().push(QByteArray("GET MODEL TYPE\r"), &expectation, 0);
    Kick(Serial);
    QCOMPARE(m_peer->readLine(1000), QByteArray("GET MODEL TYPE\r"));
    m_peer->write("MODEL TYPE RZ7P52KN\r");
    QTRY_COMPARE(m_events->received, 1);
}

void TestLinkServices::dropInTheMiddleOfAChunkGluesNothing_data()
{
    QTest::addColumn<QByteArray>("lastChunk");
    QTest::addColumn<QList<QByteArray>>("lines");

    const QByteArray model = "MODEL TYPE RZ7P52KN\r";
    const QByteArray next = "OUT2 VIDEO IN HDMI3\r";
    QTest::newRow("reply and a cut line in one chunk")
        << model + "OUT1 VK" << QList<QByteArray> { model, next };
    QTest::newRow("complete lines behind the reply are kept")
        << model + "OUT1 VKA BLUESCREEN\rOUT1 VK" << QList<QByteArray> { model, "OUT1 VKA BLUESCREEN\r", next };
    QTest::newRow("cut line after a CR LF") << model + "\nOUT1 VK" << QList<QByteArray> { model, next };
}

// The device sends the awaited reply and the start of another line, then drops the
// connection; the next command goes out on a new connection.
void TestLinkServices::dropInTheMiddleOfAChunkGluesNothing()
{
    QFETCH(QByteArray, lastChunk);
    QFETCH(QList<QByteArray>, lines);
    openLink(Tcp);
    const ReplyExpectation model = Standard("MODEL TYPE");
    const ReplyExpectation route = Standard("VIDEO IN");
    TcpLinkQueue().push(QByteArray("GET MODEL TYPE\r"), &model, 0);
    TcpLinkQueue().push(QByteArray("GET OUT2 VIDEO IN\r"), &route, 0);
    Kick(Tcp);
    QCOMPARE(m_socketPeer->readLine(2000), QByteArray("GET MODEL TYPE\r"));

    m_socketPeer->write(lastChunk);
    m_socketPeer->drop();

    QVERIFY(m_server->hasPendingConnections() || m_server->waitForNewConnection(3000));
    SocketPeer device(m_server->nextPendingConnection());
    QCOMPARE(device.readLine(2000), QByteArray("GET OUT2 VIDEO IN\r"));
    device.write("OUT2 VIDEO IN HDMI3\r");
    QTRY_COMPARE(m_events->received, lines.size());
    QList<QByteArray> received;
    QVERIFY(TcpLinkQueue().drain([&received](const QByteArray &line) { received << line; }));
    QCOMPARE(received, lines);
    QCOMPARE(m_events->reconnects, QList<bool> { true });
    QVERIFY(m_events->timeouts.isEmpty());
}

// The worker holds the send mutex only to take a line: a push from this (the GUI) thread
// gets it at once during the pause before a write and during a reconnect.
void TestLinkServices::pushNeverWaitsForTheLink()
{
    QueueAQueryAfterTheDeviceIsGone();

    int pushesThatWaited = 0;
    QElapsedTimer during;
    during.start();
    while (m_events->reconnects.isEmpty() && during.elapsed() < 3000) {
        const bool free = TcpLinkQueue().sendMutex.tryLock();
        if (free)
            TcpLinkQueue().sendMutex.unlock();
        else
            ++pushesThatWaited;
        QThread::usleep(200);
        QCoreApplication::processEvents();
    }
    QCOMPARE(m_events->reconnects, QList<bool> { false });
    QVERIFY2(pushesThatWaited < 3, qPrintable(QString::number(pushesThatWaited)));
}

void TestLinkServices::stopsAwaitingTheReplyTheOperatorWasToldOf_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("toldOf");
    QTest::addColumn<bool>("nextGoesOutAtOnce");
    for (const QString &link : { Serial, Tcp }) {
        const QByteArray name = link.toLatin1();
        QTest::addRow("%s, the line in flight", name.constData()) << link << "GET IN1 IN-INFO\r" << true;
        QTest::addRow("%s, another line", name.constData()) << link << "GET MODEL TYPE\r" << false;
    }
}

// The request reaches the worker through the link services' mailbox: for the line in flight
// the next line goes out long before the reply timer would have ended the wait.
void TestLinkServices::stopsAwaitingTheReplyTheOperatorWasToldOf()
{
    QFETCH(QString, link);
    QFETCH(QString, toldOf);
    QFETCH(bool, nextGoesOutAtOnce);
    openLink(link);
    DevicePeer &device = *m_peer;
    const ReplyExpectation expectation = Standard("IN-INFO");
    QueueOf(link).push(QByteArray("GET IN1 IN-INFO\r"), &expectation, 0);
    QueueOf(link).push(QByteArray("GET NEXT\r"), nullptr, 0);
    Kick(link);
    QCOMPARE(device.readLine(1000), QByteArray("GET IN1 IN-INFO\r"));

    LinkMode = link == Serial ? LinkModeSerial : LinkModeTcp;
    StopAwaitingReplyOnSelectedLink(toldOf);
    LinkMode = LinkModeNone;
    if (nextGoesOutAtOnce) {
        QCOMPARE(device.readLine(1000), QByteArray("GET NEXT\r"));
        QTest::qWait(50);
        QVERIFY(m_events->timeouts.isEmpty());
    } else {
        QCOMPARE(device.readLine(1000), QByteArray());
        QCOMPARE(device.readLine(3000), QByteArray("GET NEXT\r"));
        QTRY_COMPARE(m_events->timeouts, QStringList { "GET IN1 IN-INFO\r" });
    }
}

void TestLinkServices::connectRequestOfAnEndedRunIsDropped_data()
{
    addLinkRows();
}

// A connect requested just before the run ended (the operator pressed Disconnect at once) is
// not carried out when the next run starts: its result would answer the next attempt.
void TestLinkServices::connectRequestOfAnEndedRunIsDropped()
{
    QFETCH(QString, link);
    m_events->listenTo(link);
    QThread *thread = ThreadOf(link);
    QVERIFY(!thread->isRunning());
    // Queued while the thread does not run, as if the run had ended before taking it.
    if (link == Serial)
        QMetaObject::invokeMethod(g_ServiceSerialPort, "SLT_SyncConnect_SerialPort", Qt::QueuedConnection,
            Q_ARG(QString, "/nonexistent/ttyTAVILON"), Q_ARG(QString, "9600"), Q_ARG(QString, "8"),
            Q_ARG(QString, "0"), Q_ARG(QString, "1"), Q_ARG(QString, "0"));
    else
        QMetaObject::invokeMethod(g_ServiceTcpClient, "SLT_SyncConnect_TcpClient", Qt::QueuedConnection,
            Q_ARG(QString, "127.0.0.1"), Q_ARG(QString, "127.0.0.1"), Q_ARG(QString, "1"));

    QVERIFY(StopLinkThread(thread, 3000));
    thread->start();
    QTest::qWait(700);

    QVERIFY(m_events->statuses.isEmpty());
    QVERIFY(m_events->failureCauses.isEmpty());
}

QTEST_GUILESS_MAIN(TestLinkServices)
#include "tst_linkservices.moc"
