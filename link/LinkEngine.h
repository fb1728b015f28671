// The queueing and reply-matching machinery that the serial and the TCP link share: the send
// step (one line in flight, a short pause before each write), the receive step (bytes cut
// into CR-ended lines, the awaited reply recognised by its expected text) and the match and
// wait timers. Each link service supplies its transport, timers and signals through
// LinkEngine::Transport; everything here runs in the service's worker thread.
#pragma once

#include "link/ReplyExpectation.h"

#include <QByteArray>
#include <QString>

class LinkQueue;

class LinkEngine
{
public:
    // Milliseconds between taking a line and writing it: the device needs the gap.
    static constexpr int PauseBeforeWriteMs = 50;

    class Transport
    {
    public:
        virtual ~Transport() = default;
        // All bytes the transport holds now; empty when there are none.
        virtual QByteArray readAvailable() = 0;
        virtual void writeLine(const QByteArray &bytes) = 0;
        // Waits PauseBeforeWriteMs while still handling the thread's events.
        virtual void pauseBeforeWrite() = 0;
        virtual void startMatchTimer(int ms) = 0;
        virtual void stopMatchTimer() = 0;
        virtual void startWaitTimer(int ms) = 0;
        virtual void stopWaitTimer() = 0;
        virtual void announceLineSent(const QString &text) = 0;
        virtual void announceLineReceived() = 0;
        virtual void announceReplyTimeout(const QString &command) = 0;
        // Emits the service's SGL_TryCheckSend, which runs the send step at once.
        virtual void requestSendAttempt() = 0;
        // Closes the link for good; called once the steps in progress have unwound.
        virtual void closeDeferredLink() = 0;
    };

    LinkEngine(LinkQueue &queue, Transport &transport);
    LinkEngine(const LinkEngine &) = delete;
    LinkEngine &operator=(const LinkEngine &) = delete;

    // A link has just opened: nothing in flight, no timer running.
    void startSession();

    // The send step: takes the head line when the link is idle, pauses, writes it and starts
    // the timer that ends its turn.
    void sendNext();
    // The receive step over everything the transport holds, including bytes that came in
    // while a reply triggered the next write.
    void receiveAvailable();
    void receiveChunk(const QByteArray &chunk);
    void matchTimerExpired();
    void waitTimerExpired();

    // Forgets the bytes of an unfinished line (their connection is gone).
    void discardPartialLine();
    // Stops whichever timer runs (the link is closing).
    void stopRunningTimer();
    // True when a close must wait: a step is on the stack (the pause before a write runs a
    // local event loop, where a close request can arrive). The close then happens through
    // Transport::closeDeferredLink as soon as the outermost step returns.
    bool deferCloseWhileBusy();
    bool isBusy() const { return m_depth > 0; }
    bool isPausing() const { return m_pausing; }

    bool isAwaitingReply() const { return m_matchRunning; }
    bool isWaiting() const { return m_waitRunning; }
    QString timeoutText() const { return m_timeoutText; }

    // Whether a received line (CR included) holds one of the expected patterns; a line
    // shorter than a pattern never does.
    static bool LineMatches(const ReplyExpectation &expectation, const char *line, int length);
    // The reply mark after one more line of a chunk: decided by the line when the command
    // waits for a pattern, otherwise kept from the previous line of the same chunk.
    static bool MarkAfterLine(const ReplyExpectation &expectation, const QByteArray &line, bool previousMark);
    // The text a timeout of this line is reported with; empty when it must not be reported.
    static QString TimeoutTextFor(const ReplyExpectation &expectation, const QByteArray &line);
    // Bytes below 0x20 other than CR are skipped before the first byte of a line.
    static bool IsSkippedBeforeLine(char byte);
    // Runs a local event loop for the given time (the pause before each write).
    static void PauseInLocalEventLoop(int ms);

private:
    template <typename Step> void runStep(Step step);
    void sendHeadLine();
    void appendByte(char byte);
    QByteArray takeLine();
    void completeLine(const QByteArray &line, bool &mark);
    void endAwaitedReply();

    LinkQueue &m_queue;
    Transport &m_transport;
    // The expectation of the line in flight. The queue's current record mirrors it for the
    // GUI thread, which clears current.needMatch when it reports a timeout; by then the next
    // line may already be out, so replies are matched against this copy, which only this
    // thread writes.
    ReplyExpectation m_inFlight {};
    bool m_matchRunning = false;
    bool m_waitRunning = false;
    QString m_timeoutText;
    int m_depth = 0;
    bool m_pausing = false;
    bool m_receiving = false;
    bool m_closing = false;
};
