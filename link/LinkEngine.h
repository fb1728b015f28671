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
struct QueuedLine;

class LinkEngine
{
public:
    // Milliseconds between taking a line and writing it: the device needs the gap.
    static constexpr int PauseBeforeWriteMs = 50;

    // Idle: nothing in flight. Pausing: a line is due once the pause timer expires.
    // AwaitingReply: the match timer runs. Waiting: the wait timer runs.
    enum class State { Idle, Pausing, AwaitingReply, Waiting };

    class Transport
    {
    public:
        virtual ~Transport() = default;
        // All bytes the transport holds now; empty when there are none.
        virtual QByteArray readAvailable() = 0;
        virtual void writeLine(const QByteArray &bytes) = 0;
        // The pause before a write runs on a timer of the worker thread, so that events (arriving
        // data, close requests) go on being handled and no lock is held meanwhile.
        virtual void startPauseTimer(int ms) = 0;
        virtual void stopPauseTimer() = 0;
        // Runs at the end of the pause, right before the line is taken; the TCP link reconnects
        // here when its connection is gone. No lock is held.
        virtual void prepareWrite() { }
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

    // The send step: when the link is idle and a line waits, starts the pause before its write.
    void sendNext();
    // The pause is over: takes the head line, writes it and starts the timer that ends its turn.
    void pauseTimerExpired();
    // The receive step over everything the transport holds.
    void receiveAvailable();
    void receiveChunk(const QByteArray &chunk);
    void matchTimerExpired();
    void waitTimerExpired();
    // The operator was told that the reply to this line (as reported, CR included) did not come:
    // stop waiting for it if it is still the line in flight. A request for an older line, which
    // can arrive after the next line went out, changes nothing.
    void stopAwaitingReplyTo(const QString &command);

    // The connection under the link was replaced: what the old one left after its last CR,
    // and the rest of the chunk being cut into lines, can never complete a line.
    void discardPartialLine();
    // Stops whichever timer runs (the link is closing).
    void stopRunningTimer();
    // True when a close must wait: a step is on the stack. The close then happens through
    // Transport::closeDeferredLink as soon as the outermost step returns.
    bool deferCloseWhileBusy();
    bool isBusy() const { return m_depth > 0; }
    bool isPausing() const { return m_state == State::Pausing; }

    State state() const { return m_state; }
    bool isAwaitingReply() const { return m_state == State::AwaitingReply; }
    bool isWaiting() const { return m_state == State::Waiting; }
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
    // Whether a received line is the device repeating the line written last (both without
    // their CR).
    static bool IsEchoOf(const QByteArray &received, const QByteArray &written);

private:
    template <typename Step> void runStep(Step step);
    bool takeHeadLine(QueuedLine *line);
    void writeInFlightLine(const QueuedLine &line);
    void appendByte(char byte);
    QByteArray takeLine();
    void completeLine(const QByteArray &line, bool &mark);
    void endAwaitedReply();

    LinkQueue &m_queue;
    Transport &m_transport;
    // The expectation of the line in flight and its bytes, touched by the worker thread only.
    ReplyExpectation m_inFlight {};
    QByteArray m_inFlightLine;
    State m_state = State::Idle;
    QString m_timeoutText;
    int m_depth = 0;
    bool m_receiving = false;
    bool m_closing = false;
    // Counts connections replaced under the link; a chunk stops being cut into lines when it
    // changes.
    quint64 m_connection = 0;
};
