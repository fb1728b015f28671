// One run of the headless client against the device: opens the selected link through the
// process-wide link services in their worker threads, as the connection page does, drains the
// receive queue into the reply parser as the main window does, identifies the device, waits for
// the end of the synchronisation burst, and sends single commands waiting for their replies.
// Every wait runs the event loop of the calling (main) thread and gives up after the option's
// timeout without any line sent or received.
#pragma once

#include "cli/CliOptions.h"
#include "link/ReplyExpectation.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QPair>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class CliPages;
class LinkQueue;
struct QueuedLine;

class CliSession : public QObject
{
    Q_OBJECT

public:
    // The line of one command as the link took it.
    struct SentCommand {
        QByteArray bytes; // CR included
        ReplyExpectation expectation;
        QString text() const; // without the CR
    };

    CliSession(const CliOptions &options, CliPages &pages, QObject *parent = nullptr);
    ~CliSession() override;

    // Each step returns CliExitDone, or the exit code of its failure with one line in error.
    int open(QString *error);
    // GET MODEL TYPE and the parser's model check.
    int identify(QString *error);
    // Waits for the synchronisation burst that a confirmed model starts, up to its SYNC-OVER
    // (or until the link has given that silent query up).
    int waitForBurstEnd(QString *error);
    // Queues a GET SYNC-OVER behind the reads queued so far and waits for it as for the
    // burst's end: every read before it has then been answered or given up by the link.
    int finishQueuedReads(QString *error);
    // Runs a command builder, takes the line it queued and waits for the line that the link
    // accepts as its reply (returned in reply, CR and LF removed).
    int sendCommand(const std::function<void()> &build, QByteArray *reply, QString *error);
    // The same for a command the device may refuse with a line of its own: a received line
    // holding refusal ends the wait at once with CliExitFailed (the line in reply, error empty).
    int sendCommandUnlessRefused(
        const std::function<void()> &build, const QByteArray &refusal, QByteArray *reply, QString *error);
    // Runs a builder that may queue several lines and waits for each line's own reply, in
    // order. A line that needs no reply (the wall commands) and got none passes once the link
    // has moved on to the next line after its pause; the last line must be answered.
    int sendCommands(const std::function<void()> &build, QString *error);
    // Sends one line of the caller's; its reply is a line holding the text after the verb, or
    // that text without its last word. Every received line goes to the observer.
    int sendRawLine(
        const QString &line, const std::function<void(const QByteArray &)> &observer, QString *error);
    // Closes the link as the connection page's disconnect does.
    void close();

    QString model() const { return m_model; }
    // Milliseconds from open() to the connect status, to the parsed model reply and to the
    // burst's end.
    qint64 connectedAtMs() const { return m_connectedAtMs; }
    qint64 burstEndAtMs() const { return m_burstEndAtMs; }
    qint64 identifiedAtMs() const { return m_identifiedAtMs; }

signals:
    void SGL_UpdateEmit();
    void SGL_PretendConnect_SerialPort(const QString &MyPortName, const QString &MyBaudRate,
        const QString &MyDataBit, const QString &MyParity, const QString &MyStopBit,
        const QString &MyFlowControl);
    void SGL_PretendConnect_TcpClient(
        const QString &LocalIp, const QString &RemoteIp, const QString &RemotePort);

private slots:
    void SLT_UnifyUpdateRecv();
    void SLT_UnifyUpdateSend(const QString &Text);
    void SLT_ConnectStatus(bool status, int ErrorCode);
    void SLT_ConnectFailure(int cause, const QString &systemText);
    void SLT_ReConnectStatus_TcpClient(bool status);
    void SLT_PortLost_SerialPort(const QString &portName);
    void SLT_WaitReplyTimeout(const QString &cmd);

private:
    void connectLinkServices();
    void handleReceivedLine(const QueuedLine &received);
    QString linkLostText() const;
    void noteActivity();
    // Runs the event loop until done() holds; false when the link stayed silent for the timeout.
    bool runUntil(const std::function<bool()> &done);
    bool takeQueuedCommand(LinkQueue &queue, SentCommand *command);
    int awaitReply(const SentCommand &command, int firstSend, QByteArray *reply, QString *error);
    bool takeQueuedCommands(LinkQueue &queue, int from, QList<SentCommand> *commands);
    // The failure of a command that got no reply, as awaitReply words it.
    int noReply(const SentCommand &command, bool finished, int firstLine, QString *error) const;
    bool timedOut(const QByteArray &bytes) const;
    QString linkDescription() const;

    CliOptions m_options;
    CliPages &m_pages;
    bool m_threadStarted = false;
    bool m_connectStatusArrived = false;
    bool m_connected = false;
    // Why the connect failed, in the connection page's words.
    QString m_connectFailureCause;
    bool m_linkLost = false;
    bool m_portLost = false;
    QString m_model;
    QList<QByteArray> m_received;
    QStringList m_timedOut;
    // Each line the link wrote (CR included) and how many lines had been received by then.
    QList<QPair<QByteArray, int>> m_sent;
    std::function<void(const QByteArray &)> m_observer;
    // A line that answers the command in flight with a refusal; empty when none is expected.
    QByteArray m_refusal;
    bool m_syncOverSent = false;
    QElapsedTimer m_syncOverSentClock;
    QElapsedTimer m_activity;
    QElapsedTimer m_clock;
    qint64 m_connectedAtMs = -1;
    qint64 m_identifiedAtMs = -1;
    qint64 m_burstEndAtMs = -1;
};
