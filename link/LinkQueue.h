// Send and receive queues of one link, shared by the GUI thread and the link's worker thread.
#pragma once

#include "link/QueuedLine.h"
#include "link/ReplyExpectation.h"

#include <QList>
#include <QMutex>
#include <atomic>
#include <functional>
#include <mutex>

// The lock of a link queue. It is a QMutex, so that QMutexLocker still works on it, but the
// link code locks it through its own lock, tryLock and unlock (LinkMutexLocker), which pass a
// counter from each holder to the next with release and acquire: ThreadSanitizer does not see
// inside the uninstrumented QMutex, and follows the hand-over of the queues through this
// counter instead. Code that runs under ThreadSanitizer must not use QMutexLocker on it.
class LinkMutex : public QMutex
{
public:
    void lock()
    {
        QMutex::lock();
        m_handover.load(std::memory_order_acquire);
    }
    bool tryLock()
    {
        if (!QMutex::tryLock())
            return false;
        m_handover.load(std::memory_order_acquire);
        return true;
    }
    void unlock()
    {
        m_handover.fetch_add(1, std::memory_order_release);
        QMutex::unlock();
    }

private:
    std::atomic<unsigned> m_handover { 0 };
};
using LinkMutexLocker = std::lock_guard<LinkMutex>;

class LinkQueue
{
public:
    static constexpr int LineBufferSize = 1024;

    LinkQueue();
    LinkQueue(const LinkQueue &) = delete;
    LinkQueue &operator=(const LinkQueue &) = delete;

    // Creates empty queues; a queue accepts lines only while active. Nothing when already active,
    // so lines pushed before the link opens survive the connect.
    void activate();
    // Drops every queued and received line.
    void deactivate();
    bool isActive() const;

    // Appends a line at the tail of the send queue. Without an expectation the line carries
    // needMatch 0 and the given wait. Ignored for empty input or an inactive queue; true when
    // the line was queued.
    bool push(const char *bytes, int length, const ReplyExpectation *expectation, quint32 waitMs);
    bool push(const QByteArray &bytes, const ReplyExpectation *expectation, quint32 waitMs);

    // Receive side, GUI thread: takes the waiting lines under a non-blocking try-lock and
    // hands them to the consumer one by one, in order, with the mutex released, so that a
    // consumer that opens a nested event loop never blocks the link thread.
    // Returns false when the mutex was busy (the lines stay for the next notification).
    bool drain(const std::function<void(const QByteArray &)> &consumer);
    // The same with the whole received record, for consumers that honour the echo mark.
    bool drain(const std::function<void(const QueuedLine &)> &consumer);

    // Worker side: appends one complete received line (ignored while inactive).
    void pushReceived(const QByteArray &line, bool echo = false);
    int sendQueueSize();
    int receiveQueueSize();
    // The line at the tail of the send queue; false when the queue is empty.
    bool lastQueued(QueuedLine *line);

    LinkMutex sendMutex;
    QList<QueuedLine> sendQueue;
    LinkMutex receiveMutex;
    QList<QueuedLine> receiveQueue;

    // Worker-thread state of the open link: the line being assembled from received bytes.
    char lineBuffer[LineBufferSize];
    quint32 lineLength = 0;
    // Set while the bytes of a line too long for lineBuffer are being skipped up to its CR.
    bool lineOverflow = false;

private:
    void clearWorkerState();
    // Read by pushers on the GUI thread while the worker thread activates or deactivates.
    std::atomic<bool> m_active { false };
};

// The two process-wide queues, one per link.
LinkQueue &SerialLinkQueue();
LinkQueue &TcpLinkQueue();
// The queue that LinkMode selects, or nullptr when no link is selected.
LinkQueue *SelectedLinkQueue();
