#include "cli/CliSession.h"

#include "cli/CliPages.h"
#include "link/LinkConnectFailure.h"
#include "cli/CliReplyScan.h"
#include "link/LinkEngine.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/LinkServices.h"
#include "link/ServiceSerialPort.h"
#include "link/ServiceTcpClient.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/ReplyParser.h"
#include "protocol/RequestTracker.h"
#include "protocol/ValueWords.h"

#include <QCoreApplication>
#include <QNetworkInterface>
#include <QThread>
#include <QTimer>
#include <cstring>

namespace {

// The connection page gives a link thread this long to finish.
constexpr int ThreadQuitWaitMs = 2000;
// The link reports a connect result within its own limit (500 ms over TCP); this only guards
// against a status that never comes.
constexpr int ConnectStatusWaitMs = 5000;
// GET SYNC-OVER is a silent query: the link gives it up after its reply limit without a
// report. Past this the link is idle whether or not the reply came.
constexpr int SilentQueryGiveUpMs = 2000 + 150;
// How often a wait looks at the clock when no event comes.
constexpr int WaitTickMs = 20;

const char ModelKeyword[] = "MODEL TYPE ";
const char SyncOverQuery[] = "GET SYNC-OVER";

QByteArray WithoutLineEnd(QByteArray bytes)
{
    while (!bytes.isEmpty() && (bytes.endsWith('\r') || bytes.endsWith('\n')))
        bytes.chop(1);
    while (!bytes.isEmpty() && (bytes.startsWith('\r') || bytes.startsWith('\n')))
        bytes.remove(0, 1);
    return bytes;
}

void AddPattern(ReplyExpectation *expectation, const QByteArray &pattern)
{
    const quint32 slot = expectation->patternCount;
    if (slot >= 2 || pattern.isEmpty() || pattern.size() > ReplyExpectation::MaxPatternLength)
        return;
    std::memcpy(expectation->patterns[slot], pattern.constData(), size_t(pattern.size()));
    expectation->patternLengths[slot] = quint32(pattern.size());
    expectation->patternCount = slot + 1;
}

// A command as error messages name it: long ones (a user EDID is 785 characters) cut short.
QString Abbreviated(const QString &text)
{
    constexpr int Shown = 60;
    return text.size() <= Shown ? text : text.left(Shown) + QStringLiteral("...");
}

QList<QNetworkAddressEntry> LocalAddressEntries()
{
    QList<QNetworkAddressEntry> entries;
    for (const QNetworkInterface &face : QNetworkInterface::allInterfaces())
        entries += face.addressEntries();
    return entries;
}

} // namespace

QString CliSession::SentCommand::text() const
{
    return QString::fromLatin1(WithoutLineEnd(bytes));
}

CliSession::CliSession(const CliOptions &options, CliPages &pages, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_pages(pages)
{
    m_clock.start();
    m_activity.start();
    MoveLinkServicesToThreads();
    connectLinkServices();
}

CliSession::~CliSession()
{
    close();
}

void CliSession::connectLinkServices()
{
    connect(this, &CliSession::SGL_PretendConnect_SerialPort, g_ServiceSerialPort,
        &ServiceSerialPort::SLT_SyncConnect_SerialPort, Qt::QueuedConnection);
    connect(this, &CliSession::SGL_PretendConnect_TcpClient, g_ServiceTcpClient,
        &ServiceTcpClient::SLT_SyncConnect_TcpClient, Qt::QueuedConnection);

    // The pages' kick and ours reach both services, as the main window forwards every page's.
    connect(&m_pages, &CliPages::SGL_UpdateEmit, this, &CliSession::SGL_UpdateEmit);
    connect(this, &CliSession::SGL_UpdateEmit, g_ServiceSerialPort,
        &ServiceSerialPort::SLT_RealSendData_SerialPort);
    connect(
        this, &CliSession::SGL_UpdateEmit, g_ServiceTcpClient, &ServiceTcpClient::SLT_RealSendData_TcpClient);

    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_UpdateRecvData_SerialPort, this,
        &CliSession::SLT_UnifyUpdateRecv);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_UpdateRecvData_TcpClient, this,
        &CliSession::SLT_UnifyUpdateRecv);
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_UpdateSendData_SerialPort, this,
        &CliSession::SLT_UnifyUpdateSend);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_UpdateSendData_TcpClient, this,
        &CliSession::SLT_UnifyUpdateSend);
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_ConnectStatus_SerialPort, this,
        &CliSession::SLT_ConnectStatus, Qt::QueuedConnection);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_ConnectStatus_TcpClient, this,
        &CliSession::SLT_ConnectStatus, Qt::QueuedConnection);
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_ConnectFailure_SerialPort, this,
        &CliSession::SLT_ConnectFailure, Qt::QueuedConnection);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_ConnectFailure_TcpClient, this,
        &CliSession::SLT_ConnectFailure, Qt::QueuedConnection);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_ReConnectStatus_TcpClient, this,
        &CliSession::SLT_ReConnectStatus_TcpClient, Qt::QueuedConnection);
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_PortLost_SerialPort, this,
        &CliSession::SLT_PortLost_SerialPort, Qt::QueuedConnection);
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_WaitReplyTimeout_SerialPort, this,
        &CliSession::SLT_WaitReplyTimeout);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_WaitReplyTimeout_TcpClient, this,
        &CliSession::SLT_WaitReplyTimeout);
}

int CliSession::open(QString *error)
{
    m_clock.restart();
    noteActivity();
    DeviceState.modelReplyHandled = false;
    if (m_options.transport == CliOptions::Transport::Tcp) {
        LinkMode = LinkModeTcp;
        const QString localIp = m_options.localIp.isEmpty()
            ? CliOptions::ChooseLocalIp(m_options.host, LocalAddressEntries())
            : m_options.localIp;
        g_ThreadTcpClient->start();
        m_threadStarted = true;
        emit SGL_PretendConnect_TcpClient(localIp, m_options.host, QString::number(m_options.port));
    } else {
        LinkMode = LinkModeSerial;
        g_ThreadSerialPort->start();
        m_threadStarted = true;
        // 8 data bits, no parity, one stop bit, no flow control: the device's only framing.
        emit SGL_PretendConnect_SerialPort(m_options.serialPath, QString::number(m_options.baudRate),
            QStringLiteral("8"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("0"));
    }

    QElapsedTimer waited;
    waited.start();
    QTimer tick;
    tick.start(WaitTickMs);
    while (!m_connectStatusArrived && waited.elapsed() < ConnectStatusWaitMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!m_connected) {
        *error = QStringLiteral("cannot connect to %1").arg(linkDescription());
        if (!m_connectFailureCause.isEmpty())
            *error += QStringLiteral(": ") + m_connectFailureCause;
        close();
        return CliExitNoConnection;
    }
    m_connectedAtMs = m_clock.elapsed();
    return CliExitDone;
}

int CliSession::identify(QString *error)
{
    CmdGetModelType();
    emit SGL_UpdateEmit();
    const bool judged = runUntil([this] {
        return m_pages.modelAccepted() || m_pages.modelRefused() || m_linkLost
            || timedOut(QByteArrayLiteral("GET MODEL TYPE\r"));
    });
    if (m_pages.modelRefused()) {
        *error = QStringLiteral("the device reports model %1, not %2")
                     .arg(m_model.isEmpty() ? QStringLiteral("(none)") : m_model,
                         QString::fromLatin1(ExpectedModel));
        close();
        return CliExitOtherModel;
    }
    if (m_linkLost) {
        *error = linkLostText();
        close();
        return CliExitNoConnection;
    }
    if (!judged || !m_pages.modelAccepted()) {
        *error = QStringLiteral("no answer to GET MODEL TYPE from %1").arg(linkDescription());
        close();
        return CliExitNoIdentification;
    }
    m_identifiedAtMs = m_clock.elapsed();
    // The parser queues the closing GET SYNC-OVER without a kick of its own; with the read
    // burst left out nothing else would send it.
    emit SGL_UpdateEmit();
    return CliExitDone;
}

int CliSession::waitForBurstEnd(QString *error)
{
    const bool ended = runUntil([this] {
        return m_pages.syncOver() || m_linkLost
            || (m_syncOverSent && m_syncOverSentClock.elapsed() >= SilentQueryGiveUpMs);
    });
    if (m_burstEndAtMs < 0)
        m_burstEndAtMs = m_clock.elapsed();
    if (m_linkLost) {
        *error = linkLostText();
        return CliExitNoConnection;
    }
    if (!ended) {
        *error = QStringLiteral("the synchronisation stalled: nothing received for %1 ms")
                     .arg(m_options.timeoutMs);
        return CliExitReplyTimeout;
    }
    return CliExitDone;
}

int CliSession::finishQueuedReads(QString *error)
{
    m_pages.clearSyncOver();
    m_syncOverSent = false;
    CmdGetSyncOver();
    emit SGL_UpdateEmit();
    return waitForBurstEnd(error);
}

int CliSession::sendCommand(const std::function<void()> &build, QByteArray *reply, QString *error)
{
    LinkQueue *queue = SelectedLinkQueue();
    if (!queue) {
        *error = QStringLiteral("no link is open");
        return CliExitNoConnection;
    }
    const int firstSend = m_sent.size();
    build();
    SentCommand command;
    if (!takeQueuedCommand(*queue, &command)) {
        *error = QStringLiteral("the command was refused before sending (a port or value out of range)");
        return CliExitFailed;
    }
    noteActivity();
    emit SGL_UpdateEmit();
    return awaitReply(command, firstSend, reply, error);
}

int CliSession::sendCommandUnlessRefused(
    const std::function<void()> &build, const QByteArray &refusal, QByteArray *reply, QString *error)
{
    m_refusal = refusal;
    const int code = sendCommand(build, reply, error);
    m_refusal.clear();
    return code;
}

int CliSession::sendCommands(const std::function<void()> &build, QString *error)
{
    LinkQueue *queue = SelectedLinkQueue();
    if (!queue) {
        *error = QStringLiteral("no link is open");
        return CliExitNoConnection;
    }
    const int queuedBefore = queue->sendQueueSize();
    int from = m_received.size();
    build();
    QList<SentCommand> commands;
    if (!takeQueuedCommands(*queue, queuedBefore, &commands)) {
        *error = QStringLiteral("the command was refused before sending (a port or value out of range)");
        return CliExitFailed;
    }
    const int sentBefore = int(m_sent.size());
    noteActivity();
    emit SGL_UpdateEmit();
    for (int k = 0; k < commands.size(); ++k) {
        const SentCommand &command = commands.at(k);
        const bool last = k + 1 == commands.size();
        const bool mayPass = !last && command.expectation.needMatch == 0;
        int matched = -1;
        const bool finished = runUntil([&] {
            for (int at = from; at < m_received.size(); ++at) {
                const QByteArray &line = m_received.at(at);
                if (LinkEngine::LineMatches(command.expectation, line.constData(), line.size())) {
                    matched = at;
                    return true;
                }
            }
            // The link sends the next line only after this one's pause.
            if (mayPass && int(m_sent.size()) - sentBefore > k + 1)
                return true;
            return m_linkLost || timedOut(command.bytes);
        });
        if (matched >= 0) {
            from = matched + 1;
            continue;
        }
        if (mayPass && int(m_sent.size()) - sentBefore > k + 1)
            continue;
        if (m_linkLost) {
            *error = linkLostText();
            return CliExitNoConnection;
        }
        return noReply(command, finished, from, error);
    }
    return CliExitDone;
}

int CliSession::sendRawLine(
    const QString &line, const std::function<void(const QByteArray &)> &observer, QString *error)
{
    LinkQueue *queue = SelectedLinkQueue();
    if (!queue) {
        *error = QStringLiteral("no link is open");
        return CliExitNoConnection;
    }
    SentCommand command;
    command.bytes = line.toLatin1() + '\r';
    // As for the built commands: the reply repeats the request without its verb, with or
    // without the value at its end.
    QByteArray echo = line.toLatin1();
    if (echo.startsWith("SET ") || echo.startsWith("GET "))
        echo.remove(0, 4);
    const QByteArray withoutValue = echo.left(qMax(0, echo.lastIndexOf(' ')));
    command.expectation = MakeReplyExpectation(echo.constData(), echo.size(), ReplyProfile::Standard);
    if (!withoutValue.isEmpty())
        AddPattern(&command.expectation, withoutValue);

    const int firstSend = m_sent.size();
    m_observer = observer;
    queue->push(command.bytes, &command.expectation, 0);
    noteActivity();
    emit SGL_UpdateEmit();
    QByteArray reply;
    const int result = awaitReply(command, firstSend, &reply, error);
    m_observer = nullptr;
    return result;
}

void CliSession::close()
{
    if (!m_threadStarted)
        return;
    m_threadStarted = false;
    // As the connection page's disconnect: the thread ends and closes the link on its way out.
    StopLinkThread(LinkMode == LinkModeSerial ? g_ThreadSerialPort : g_ThreadTcpClient, ThreadQuitWaitMs);
    LinkMode = LinkModeNone;
    DeviceState.modelReplyHandled = false;
}

void CliSession::SLT_UnifyUpdateRecv()
{
    LinkQueue *queue = SelectedLinkQueue();
    if (!queue)
        return;
    queue->drain([this](const QueuedLine &line) { handleReceivedLine(line); });
}

void CliSession::SLT_UnifyUpdateSend(const QString &Text)
{
    noteActivity();
    m_sent.append(qMakePair(Text.toLatin1(), m_received.size()));
    RequestTracker::instance().noteSent(LinkMode, Text.toLatin1());
    if (Text.startsWith(QLatin1String(SyncOverQuery))) {
        m_syncOverSent = true;
        m_syncOverSentClock.start();
    }
}

void CliSession::SLT_ConnectStatus(bool status, int ErrorCode)
{
    Q_UNUSED(ErrorCode)
    noteActivity();
    m_connectStatusArrived = true;
    m_connected = status;
}

void CliSession::SLT_ConnectFailure(int cause, const QString &systemText)
{
    m_connectFailureCause = LinkConnectFailure::Text(LinkConnectFailure::Cause(cause), systemText);
}

void CliSession::SLT_ReConnectStatus_TcpClient(bool status)
{
    if (!status)
        m_linkLost = true;
}

// The text is shared with the link thread, which frees it once its last reference goes. Read
// through a reference of our own: dropping it orders the read before that free, also for
// ThreadSanitizer, which does not see Qt's reference dropped inside the library.
void CliSession::SLT_WaitReplyTimeout(const QString &cmd)
{
    const QString command = cmd;
    m_timedOut << QString::fromLatin1(WithoutLineEnd(command.toLocal8Bit()));
}

void CliSession::SLT_PortLost_SerialPort(const QString &portName)
{
    Q_UNUSED(portName)
    m_portLost = true;
    m_linkLost = true;
}

QString CliSession::linkLostText() const
{
    if (m_portLost)
        return QStringLiteral("the serial port %1 is gone or unusable").arg(linkDescription());
    return QStringLiteral("the connection to %1 was lost").arg(linkDescription());
}

// A request the device echoed is neither parsed nor taken for a reply; a raw command's
// observer still sees it, as the debug console shows it.
void CliSession::handleReceivedLine(const QueuedLine &received)
{
    noteActivity();
    const QByteArray &line = received.bytes;
    if (received.echo) {
        if (m_observer)
            m_observer(line);
        return;
    }
    if (m_model.isEmpty()) {
        const int at = line.indexOf(ModelKeyword);
        if (at >= 0)
            m_model
                = QString::fromLatin1(WithoutLineEnd(line.mid(at + int(sizeof ModelKeyword) - 1))).trimmed();
    }
    RequestTracker::instance().noteReceived(LinkMode, line);
    ParseReplyLine(m_pages, QString::fromUtf8(line));
    m_received << line;
    if (m_observer)
        m_observer(line);
}

void CliSession::noteActivity()
{
    m_activity.restart();
}

bool CliSession::runUntil(const std::function<bool()> &done)
{
    QTimer tick;
    tick.start(WaitTickMs);
    while (!done()) {
        if (m_activity.elapsed() > m_options.timeoutMs)
            return done();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The link is idle when a command is built (nothing in flight and nothing queued, and no kick
// since), so the line at the tail is the builder's and the link cannot have taken it yet.
bool CliSession::takeQueuedCommand(LinkQueue &queue, SentCommand *command)
{
    QueuedLine last;
    if (!queue.lastQueued(&last))
        return false;
    command->bytes = last.bytes;
    command->expectation = last.expectation;
    return true;
}

// The reply is looked for only among the lines that came after the command went out.
int CliSession::awaitReply(const SentCommand &command, int firstSend, QByteArray *reply, QString *error)
{
    CliReplyScan scan(command.bytes, command.expectation, firstSend);
    CliReplyScan::Result result = CliReplyScan::Result::Waiting;
    QByteArray line;
    const bool finished = runUntil([&] {
        result = scan.scan(m_sent, m_received, &line);
        return result != CliReplyScan::Result::Waiting || m_linkLost || timedOut(command.bytes);
    });
    if (result == CliReplyScan::Result::Answered) {
        *reply = line;
        return CliExitDone;
    }
    if (result == CliReplyScan::Result::Refused) {
        // A caller that words this refusal itself gets the line and no text of ours.
        if (!m_refusal.isEmpty() && line.contains(m_refusal)) {
            *reply = line;
            error->clear();
            return CliExitFailed;
        }
        *error = QStringLiteral("the device refused %1: %2")
                     .arg(Abbreviated(command.text()), Abbreviated(QString::fromUtf8(line).simplified()));
        return CliExitFailed;
    }
    if (m_linkLost) {
        *error = linkLostText();
        return CliExitNoConnection;
    }
    return noReply(command, finished, scan.firstLineAfterSending(m_sent), error);
}

int CliSession::noReply(const SentCommand &command, bool finished, int firstLine, QString *error) const
{
    *error = finished ? QStringLiteral("no reply to %1").arg(Abbreviated(command.text()))
                      : QStringLiteral("no reply to %1 within %2 ms")
                            .arg(Abbreviated(command.text()))
                            .arg(m_options.timeoutMs);
    // A device that refuses a request answers with a line of its own; show the last one.
    if (firstLine >= 0 && m_received.size() > firstLine) {
        *error += QStringLiteral(" (last line received: %1)")
                      .arg(Abbreviated(QString::fromUtf8(WithoutLineEnd(m_received.last())).simplified()));
    }
    return CliExitReplyTimeout;
}

bool CliSession::takeQueuedCommands(LinkQueue &queue, int from, QList<SentCommand> *commands)
{
    LinkMutexLocker lock(queue.sendMutex);
    for (int k = from; k < queue.sendQueue.size(); ++k) {
        SentCommand command;
        command.bytes = queue.sendQueue.at(k).bytes;
        command.expectation = queue.sendQueue.at(k).expectation;
        commands->append(command);
    }
    return !commands->isEmpty();
}

bool CliSession::timedOut(const QByteArray &bytes) const
{
    return m_timedOut.contains(QString::fromLatin1(WithoutLineEnd(bytes)));
}

QString CliSession::linkDescription() const
{
    if (m_options.transport == CliOptions::Transport::Tcp)
        return QStringLiteral("%1:%2").arg(m_options.host).arg(m_options.port);
    return m_options.serialPath;
}
