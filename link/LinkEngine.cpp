#include "link/LinkEngine.h"

#include "link/LinkQueue.h"

#include <QEventLoop>
#include <QTimer>
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
    m_matchRunning = false;
    m_waitRunning = false;
    m_timeoutText.clear();
    m_closing = false;
}

// Every entry point runs through here, so that a close requested from inside the pause's
// local event loop waits until no step is on the stack any more (the step would otherwise go
// on with a deleted port and a deactivated queue, or deadlock on the send mutex it holds).
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
        // A kick that arrives during the pause finds the step already under way.
        if (m_pausing || m_closing)
            return;
        if (!m_queue.sendMutex.tryLock())
            return;
        if (m_queue.sendQueue.isEmpty() || m_matchRunning || m_waitRunning) {
            m_queue.sendMutex.unlock();
            return;
        }
        m_pausing = true;
        m_transport.pauseBeforeWrite();
        m_pausing = false;
        if (!m_closing)
            sendHeadLine();
        m_queue.sendMutex.unlock();
    });
}

// Called with the send mutex held.
void LinkEngine::sendHeadLine()
{
    const QueuedLine head = m_queue.sendQueue.first();
    m_inFlight = head.expectation;
    m_queue.current = m_inFlight;
    m_transport.writeLine(head.bytes);
    m_transport.announceLineSent(QString::fromLatin1(head.bytes));
    m_timeoutText = TimeoutTextFor(m_inFlight, head.bytes);
    if (m_inFlight.needMatch) {
        m_transport.startMatchTimer(int(qMin<quint32>(m_inFlight.matchMs, INT_MAX)));
        m_matchRunning = true;
    } else {
        m_transport.startWaitTimer(int(qMin<quint32>(m_inFlight.waitMs, INT_MAX)));
        m_waitRunning = true;
    }
    m_queue.sendQueue.removeFirst();
}

void LinkEngine::receiveAvailable()
{
    runStep([this] {
        // Bytes that arrive during the pause of a write triggered by a reply are not announced
        // again by the transport; the outer step picks them up here, after the rest of its
        // chunk, so the byte order is kept.
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
void LinkEngine::receiveChunk(const QByteArray &chunk)
{
    bool mark = false;
    for (const char byte : chunk) {
        if (m_closing)
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

void LinkEngine::completeLine(const QByteArray &line, bool &mark)
{
    m_queue.pushReceived(line);
    mark = MarkAfterLine(m_inFlight, line, mark);
    if (mark && m_matchRunning)
        endAwaitedReply();
    m_transport.announceLineReceived();
}

// The reply came: the next queued line goes out now, before this line is announced.
void LinkEngine::endAwaitedReply()
{
    m_matchRunning = false;
    m_transport.stopMatchTimer();
    m_inFlight.needMatch = 0;
    m_queue.current.needMatch = 0;
    m_transport.requestSendAttempt();
}

void LinkEngine::matchTimerExpired()
{
    runStep([this] {
        if (m_matchRunning) {
            m_matchRunning = false;
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
        if (m_waitRunning) {
            m_waitRunning = false;
            m_transport.stopWaitTimer();
        }
        m_transport.requestSendAttempt();
    });
}

void LinkEngine::discardPartialLine()
{
    m_queue.lineLength = 0;
    m_queue.lineOverflow = false;
}

void LinkEngine::stopRunningTimer()
{
    if (m_matchRunning)
        m_transport.stopMatchTimer();
    else if (m_waitRunning)
        m_transport.stopWaitTimer();
    m_matchRunning = false;
    m_waitRunning = false;
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

void LinkEngine::PauseInLocalEventLoop(int ms)
{
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
}
