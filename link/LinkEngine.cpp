#include "link/LinkEngine.h"

#include "link/LinkQueue.h"

#include <climits>
#include <cstring>

namespace {

constexpr char CarriageReturn = '\r';

bool ContainsBytes(const char *haystack, int haystackLength, const char *needle, int needleLength)
{
    if (needleLength == 0)
        return true;
    return QByteArray::fromRawData(haystack, haystackLength)
               .indexOf(QByteArray::fromRawData(needle, needleLength))
        >= 0;
}

} // namespace

LinkEngine::LinkEngine(LinkQueue &queue, Transport &transport)
    : m_queue(queue)
    , m_transport(transport)
{ }

void LinkEngine::startSession()
{
    std::memset(&m_inFlight, 0, sizeof m_inFlight);
    m_inFlightLine.clear();
    m_state = State::Idle;
    m_timeoutText.clear();
    m_closing = false;
}

// Every entry point runs through here, so that a close requested while a step is on the stack
// (from a signal the step emits, or from the reconnect before a write) waits until the step
// has unwound; the step would otherwise go on with a deleted port and a deactivated queue.
template <typename Step> void LinkEngine::runStep(Step step)
{
    ++m_depth;
    step();
    --m_depth;
    if (m_depth == 0 && m_closing) {
        m_closing = false;
        m_transport.closeDeferredLink();
    }
}

bool LinkEngine::deferCloseWhileBusy()
{
    if (m_depth == 0)
        return false;
    m_closing = true;
    return true;
}

void LinkEngine::sendNext()
{
    runStep([this] {
        // One line in flight: a kick during the pause or a wait finds the turn taken.
        if (m_state != State::Idle || m_closing)
            return;
        // A pusher holds the mutex only to append a line, and kicks again afterwards.
        if (!m_queue.sendMutex.tryLock())
            return;
        const bool lineWaiting = !m_queue.sendQueue.isEmpty();
        m_queue.sendMutex.unlock();
        if (!lineWaiting)
            return;
        m_state = State::Pausing;
        m_transport.startPauseTimer(PauseBeforeWriteMs);
    });
}

void LinkEngine::pauseTimerExpired()
{
    runStep([this] {
        if (m_state != State::Pausing || m_closing)
            return;
        m_transport.prepareWrite();
        QueuedLine line;
        if (m_closing || !takeHeadLine(&line)) {
            m_state = State::Idle;
            return;
        }
        writeInFlightLine(line);
    });
}

// The mutex is held only while the line leaves the queue, never across the write.
bool LinkEngine::takeHeadLine(QueuedLine *line)
{
    LinkMutexLocker lock(m_queue.sendMutex);
    if (m_queue.sendQueue.isEmpty())
        return false;
    *line = m_queue.sendQueue.takeFirst();
    return true;
}

void LinkEngine::writeInFlightLine(const QueuedLine &line)
{
    m_inFlight = line.expectation;
    m_inFlightLine = line.bytes;
    m_transport.writeLine(line.bytes);
    m_transport.announceLineSent(QString::fromLatin1(line.bytes));
    m_timeoutText = TimeoutTextFor(m_inFlight, line.bytes);
    if (m_inFlight.needMatch) {
        m_state = State::AwaitingReply;
        m_transport.startMatchTimer(int(qMin<quint32>(m_inFlight.matchMs, INT_MAX)));
    } else {
        m_state = State::Waiting;
        m_transport.startWaitTimer(int(qMin<quint32>(m_inFlight.waitMs, INT_MAX)));
    }
}

void LinkEngine::receiveAvailable()
{
    runStep([this] {
        // A step run from inside the receive loop (the reconnect before a write reads what the
        // old connection still holds) leaves the reading to the loop, so the byte order is kept.
        if (m_receiving)
            return;
        m_receiving = true;
        while (!m_closing) {
            const QByteArray chunk = m_transport.readAvailable();
            if (chunk.isEmpty())
                break;
            receiveChunk(chunk);
        }
        m_receiving = false;
    });
}

// Line assembly rules:
// - Bytes below 0x20 other than CR are skipped while a line has no byte yet: the LF of a
//   CR LF pair, arriving alone or at the head of the next chunk, never reaches a line, and
//   nothing after it is lost.
// - A line holds at most LineBufferSize bytes, its CR included. A line with no CR within
//   that many bytes cannot be a reply: it is dropped whole, up to and including its CR, and
//   the next line starts clean. The limit applies per line, never per chunk, so a complete
//   line is never lost because a long chunk or a pending partial line came with it.
// - A chunk belongs to one connection: once the connection is replaced, the rest of it is
//   dropped, so its bytes never start a line of the new connection.
void LinkEngine::receiveChunk(const QByteArray &chunk)
{
    const quint64 connection = m_connection;
    bool mark = false;
    for (const char byte : chunk) {
        if (m_closing || m_connection != connection)
            return;
        if (byte != CarriageReturn) {
            appendByte(byte);
            continue;
        }
        if (m_queue.lineOverflow) {
            m_queue.lineOverflow = false;
            continue;
        }
        m_queue.lineBuffer[m_queue.lineLength++] = CarriageReturn;
        completeLine(takeLine(), mark);
    }
}

void LinkEngine::appendByte(char byte)
{
    if (m_queue.lineOverflow)
        return;
    if (m_queue.lineLength == 0 && IsSkippedBeforeLine(byte))
        return;
    if (m_queue.lineLength >= quint32(LinkQueue::LineBufferSize - 1)) {
        // No room left for the CR.
        m_queue.lineOverflow = true;
        m_queue.lineLength = 0;
        return;
    }
    m_queue.lineBuffer[m_queue.lineLength++] = byte;
}

// The buffer is emptied before anything is announced, so that steps run from the
// announcements start from a clean buffer.
QByteArray LinkEngine::takeLine()
{
    const QByteArray line(m_queue.lineBuffer, int(m_queue.lineLength));
    m_queue.lineLength = 0;
    return line;
}

// A device that echoes requests repeats the line in flight before answering it: the echo is
// passed on (marked) for the console, but it neither answers the line nor changes the mark.
void LinkEngine::completeLine(const QByteArray &line, bool &mark)
{
    const bool echo = IsEchoOf(line, m_inFlightLine);
    m_queue.pushReceived(line, echo);
    if (!echo) {
        mark = MarkAfterLine(m_inFlight, line, mark);
        if (mark && m_state == State::AwaitingReply)
            endAwaitedReply();
    }
    m_transport.announceLineReceived();
}

// The reply came: the pause before the next queued line starts now.
void LinkEngine::endAwaitedReply()
{
    m_state = State::Idle;
    m_transport.stopMatchTimer();
    m_inFlight.needMatch = 0;
    m_transport.requestSendAttempt();
}

void LinkEngine::matchTimerExpired()
{
    runStep([this] {
        if (m_state == State::AwaitingReply) {
            m_state = State::Idle;
            m_transport.stopMatchTimer();
            if (!m_timeoutText.isEmpty())
                m_transport.announceReplyTimeout(m_timeoutText);
        }
        // The command that timed out is not repeated; the queue moves on.
        m_transport.requestSendAttempt();
    });
}

void LinkEngine::waitTimerExpired()
{
    runStep([this] {
        if (m_state == State::Waiting) {
            m_state = State::Idle;
            m_transport.stopWaitTimer();
        }
        m_transport.requestSendAttempt();
    });
}

void LinkEngine::stopAwaitingReplyTo(const QString &command)
{
    runStep([this, &command] {
        if (m_state != State::AwaitingReply || QString::fromLocal8Bit(m_inFlightLine) != command)
            return;
        m_state = State::Idle;
        m_transport.stopMatchTimer();
        m_transport.requestSendAttempt();
    });
}

void LinkEngine::discardPartialLine()
{
    ++m_connection;
    m_queue.lineLength = 0;
    m_queue.lineOverflow = false;
}

void LinkEngine::stopRunningTimer()
{
    if (m_state == State::AwaitingReply)
        m_transport.stopMatchTimer();
    else if (m_state == State::Waiting)
        m_transport.stopWaitTimer();
    else if (m_state == State::Pausing)
        m_transport.stopPauseTimer();
    m_state = State::Idle;
}

bool LinkEngine::LineMatches(const ReplyExpectation &expectation, const char *line, int length)
{
    const quint32 count = qMin<quint32>(expectation.patternCount, 2);
    for (quint32 i = 0; i < count; ++i) {
        // A length beyond the pattern storage is a corrupt record, never a pattern.
        const quint32 patternLength = expectation.patternLengths[i];
        if (patternLength > quint32(ReplyExpectation::MaxPatternLength))
            continue;
        if (quint32(length) < patternLength)
            continue;
        if (expectation.acceptAny || ContainsBytes(line, length, expectation.patterns[i], int(patternLength)))
            return true;
    }
    return false;
}

bool LinkEngine::MarkAfterLine(const ReplyExpectation &expectation, const QByteArray &line, bool previousMark)
{
    if (expectation.needMatch && expectation.patternCount != 0)
        return LineMatches(expectation, line.constData(), line.size());
    return previousMark;
}

QString LinkEngine::TimeoutTextFor(const ReplyExpectation &expectation, const QByteArray &line)
{
    if (expectation.reportTimeout != 0 && expectation.needMatch != 0)
        return QString::fromLocal8Bit(line);
    return QString();
}

bool LinkEngine::IsSkippedBeforeLine(char byte)
{
    return static_cast<unsigned char>(byte) < 0x20 && byte != CarriageReturn;
}

bool LinkEngine::IsEchoOf(const QByteArray &received, const QByteArray &written)
{
    if (written.isEmpty())
        return false;
    const int receivedLength = received.endsWith(CarriageReturn) ? received.size() - 1 : received.size();
    const int writtenLength = written.endsWith(CarriageReturn) ? written.size() - 1 : written.size();
    return receivedLength == writtenLength && receivedLength > 0
        && std::memcmp(received.constData(), written.constData(), size_t(receivedLength)) == 0;
}
