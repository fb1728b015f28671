// What each queued command asked, followed from the queue to its end: answered, refused
// (a FAIL or ERROR reply), timed out, or lost with the link. Every command builder records its
// line here when it queues it; the main window (or the headless client) reports what the link
// did with it. Views subscribe to SGL_RequestFailed and show the device state again for the
// controls the request touched, so an unconfirmed choice never stays on screen. GUI thread only.
#pragma once

#include "link/ReplyExpectation.h"

#include <QByteArray>
#include <QList>
#include <QObject>

struct DeviceRequest {
    enum class Kind { Read, Write };
    Kind kind = Kind::Read;
    // LinkModeSerial or LinkModeTcp: the link whose queue took the line.
    int link = 0;
    // The line without its CR, and the text whose arrival ends its wait.
    QByteArray command;
    QByteArray expected;

    bool isWrite() const { return kind == Kind::Write; }
    // Whether the command names this port ("OUT3 …" is output 2, "IN1 …" input 0).
    bool concernsOutput(quint32 output) const;
    bool concernsInput(quint32 input) const;
    // The 0-based output or input the command names, or -1.
    int output() const;
    int input() const;
    // Whether the command's keyword part holds this text ("VKA", "PIP POS", …).
    bool concerns(const char *keyword) const;
};

class RequestTracker : public QObject
{
    Q_OBJECT
public:
    enum class Failure { TimedOut, Refused, LinkLost };

    // The one tracker of the process.
    static RequestTracker &instance();

    // A builder queued this line (CR excluded) on the link.
    void noteQueued(int link, const QByteArray &command, const ReplyExpectation &expectation);
    // The link wrote this line: it is now the request in flight. Records of lines the link
    // dropped on the way (a closed queue) are given up as lost.
    void noteSent(int link, const QByteArray &command);
    // A line arrived on the link. Returns the request it answers, or nullptr: a FAIL or ERROR
    // reply ends the request in flight as refused, a line with its expected text as answered;
    // an unsolicited line answers nothing. The pointer stays valid until the next call.
    const DeviceRequest *noteReceived(int link, const QByteArray &line);
    // The reply to the line in flight did not come in time.
    void noteTimedOut(int link, const QByteArray &command);
    // The link closed: the request in flight and every queued one will never be answered.
    void noteLinkLost(int link);
    void clear();

    // The request the link is waiting on, or nullptr.
    const DeviceRequest *inFlight(int link) const;
    // The request the line last given to noteReceived ended, or nullptr: while the parser
    // handles that line, it tells a reply to a read from the reply to a write.
    const DeviceRequest *answering() const { return m_hasAnswering ? &m_answered : nullptr; }
    int queuedCount(int link) const;

    // A device reply that refuses the command in flight.
    static bool IsRefusal(const QByteArray &line);

signals:
    void SGL_RequestFailed(const DeviceRequest &request, RequestTracker::Failure failure);

private:
    struct LinkRecords {
        QList<DeviceRequest> queued;
        DeviceRequest inFlight;
        bool hasInFlight = false;
    };
    LinkRecords &recordsOf(int link);
    void fail(const DeviceRequest &request, Failure failure);

    LinkRecords m_links[3];
    DeviceRequest m_answered;
    bool m_hasAnswering = false;
};

Q_DECLARE_METATYPE(DeviceRequest)
