#include "link/LinkQueue.h"

#include "link/LinkMode.h"

#include <cstring>

int LinkMode = LinkModeNone;

LinkQueue::LinkQueue()
{
    clearWorkerState();
}

void LinkQueue::activate()
{
    if (m_active)
        return;
    {
        LinkMutexLocker lock(sendMutex);
        sendQueue.clear();
    }
    {
        LinkMutexLocker lock(receiveMutex);
        receiveQueue.clear();
    }
    clearWorkerState();
    m_active = true;
}

void LinkQueue::deactivate()
{
    if (!m_active)
        return;
    m_active = false;
    {
        LinkMutexLocker lock(sendMutex);
        sendQueue.clear();
    }
    {
        LinkMutexLocker lock(receiveMutex);
        receiveQueue.clear();
    }
    clearWorkerState();
}

bool LinkQueue::isActive() const
{
    return m_active;
}

bool LinkQueue::push(const char *bytes, int length, const ReplyExpectation *expectation, quint32 waitMs)
{
    if (!bytes || length <= 0 || !m_active)
        return false;
    QueuedLine line;
    line.bytes = QByteArray(bytes, length);
    if (expectation) {
        line.expectation = *expectation;
    } else {
        std::memset(&line.expectation, 0, sizeof line.expectation);
        line.expectation.needMatch = 0;
        line.expectation.waitMs = waitMs;
    }
    LinkMutexLocker lock(sendMutex);
    // Checked again under the mutex: a deactivate that raced with this push has either
    // already emptied the queue (and this line is refused) or will empty it after us.
    if (!m_active)
        return false;
    sendQueue.append(line);
    return true;
}

bool LinkQueue::push(const QByteArray &bytes, const ReplyExpectation *expectation, quint32 waitMs)
{
    return push(bytes.constData(), bytes.size(), expectation, waitMs);
}

bool LinkQueue::drain(const std::function<void(const QByteArray &)> &consumer)
{
    return drain([&consumer](const QueuedLine &line) { consumer(line.bytes); });
}

bool LinkQueue::drain(const std::function<void(const QueuedLine &)> &consumer)
{
    if (!receiveMutex.tryLock())
        return false;
    QList<QueuedLine> lines;
    lines.swap(receiveQueue);
    receiveMutex.unlock();
    for (const QueuedLine &line : qAsConst(lines))
        consumer(line);
    return true;
}

void LinkQueue::pushReceived(const QByteArray &line, bool echo)
{
    if (!m_active || line.isEmpty())
        return;
    QueuedLine queued;
    queued.bytes = line;
    queued.echo = echo;
    std::memset(&queued.expectation, 0, sizeof queued.expectation);
    LinkMutexLocker lock(receiveMutex);
    if (m_active)
        receiveQueue.append(queued);
}

int LinkQueue::sendQueueSize()
{
    LinkMutexLocker lock(sendMutex);
    return sendQueue.size();
}

bool LinkQueue::lastQueued(QueuedLine *line)
{
    LinkMutexLocker lock(sendMutex);
    if (sendQueue.isEmpty())
        return false;
    *line = sendQueue.last();
    return true;
}

int LinkQueue::receiveQueueSize()
{
    LinkMutexLocker lock(receiveMutex);
    return receiveQueue.size();
}

void LinkQueue::clearWorkerState()
{
    std::memset(lineBuffer, 0, sizeof lineBuffer);
    lineLength = 0;
    lineOverflow = false;
}

LinkQueue &SerialLinkQueue()
{
    static LinkQueue queue;
    return queue;
}

LinkQueue &TcpLinkQueue()
{
    static LinkQueue queue;
    return queue;
}

LinkQueue *SelectedLinkQueue()
{
    if (LinkMode == LinkModeTcp)
        return &TcpLinkQueue();
    if (LinkMode == LinkModeSerial)
        return &SerialLinkQueue();
    return nullptr;
}
