#include "sim/SimConnection.h"

namespace {

// When the peer stops reading, give up on output beyond this much rather than grow forever.
constexpr int MaxQueuedBytes = 1 << 20;
constexpr int RetryMs = 20;

} // namespace

SimConnection::SimConnection(const QString &name, const SimWriterSettings &settings, QObject *parent)
    : QObject(parent)
    , m_name(name)
    , m_settings(settings)
{
    m_clock.start();
    m_pumpTimer.setSingleShot(true);
    connect(&m_pumpTimer, &QTimer::timeout, this, &SimConnection::SLT_Pump);
}

void SimConnection::sendLines(const QList<QByteArray> &lines)
{
    for (const QByteArray &line : lines)
        enqueue(line + m_settings.lineEnding, false);
}

void SimConnection::sendJunkLine(const QByteArray &junk)
{
    enqueue(junk + m_settings.lineEnding, true);
}

void SimConnection::enqueue(const QByteArray &bytes, bool whole)
{
    if (m_closing && m_queue.isEmpty())
        return;
    qint64 queued = 0;
    for (const Pending &pending : m_queue)
        queued += pending.bytes.size();
    if (queued + bytes.size() > MaxQueuedBytes)
        return;
    // Later items never fall due before earlier ones, so the order on the wire is the order
    // of queueing.
    const qint64 due = m_clock.elapsed() + m_settings.latencyMs;
    m_queue.append({ bytes, m_queue.isEmpty() ? due : qMax(due, m_queue.last().dueMs), whole });
    if (m_pumpTimer.isActive())
        return;
    // Without a delay the answer goes out at once, before a client that closes right after
    // its request has gone.
    const qint64 wait = m_queue.first().dueMs - m_clock.elapsed();
    if (wait <= 0 && !m_pumping)
        SLT_Pump();
    else
        schedulePump(int(wait));
}

void SimConnection::closeWhenSent()
{
    m_closing = true;
    if (m_queue.isEmpty())
        schedulePump(0);
}

void SimConnection::receiveBytes(const QByteArray &bytes)
{
    for (const SimRequestLine &line : m_splitter.feed(bytes)) {
        if (m_closing)
            return;
        emit SGL_RequestReceived(this, line.text, line.tooLong);
    }
}

void SimConnection::startNewSession()
{
    m_queue.clear();
    m_splitter.reset();
    m_requestCount = 0;
    m_closing = false;
    m_pumpTimer.stop();
}

void SimConnection::schedulePump(int delayMs)
{
    m_pumpTimer.start(qMax(delayMs, 0));
}

void SimConnection::SLT_Pump()
{
    m_pumping = true;
    pumpQueue();
    m_pumping = false;
}

void SimConnection::pumpQueue()
{
    if (!isPeerPresent())
        m_queue.clear();
    while (!m_queue.isEmpty()) {
        Pending &head = m_queue.first();
        const qint64 wait = head.dueMs - m_clock.elapsed();
        if (wait > 0) {
            schedulePump(int(wait));
            return;
        }
        const bool chunked = m_settings.chunk > 0 && !head.whole;
        const QByteArray piece = chunked ? head.bytes.left(m_settings.chunk) : head.bytes;
        const qint64 written = writeBytes(piece);
        if (written < 0) {
            m_queue.clear();
            break;
        }
        head.bytes.remove(0, int(written));
        if (head.bytes.isEmpty())
            m_queue.removeFirst();
        if (written < piece.size()) {
            schedulePump(RetryMs); // the transport is full; try again shortly
            return;
        }
        if (m_settings.chunk > 0 && !m_queue.isEmpty()) {
            schedulePump(m_settings.chunkGapMs);
            return;
        }
    }
    if (m_closing)
        closeTransport();
}
