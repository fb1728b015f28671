// One client of the simulator (a TCP connection or the pseudo-terminal): cuts what it sends
// into requests and writes the answers, with the configured delay, piece size and line ending.
// Everything written goes through one queue, so answers, change reports and junk never mix
// inside a line.
#pragma once

#include "sim/SimLineSplitter.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

struct SimWriterSettings {
    int latencyMs = 0;
    int chunk = 0; // bytes per write; 0 writes each line whole
    int chunkGapMs = 15; // pause between two pieces
    QByteArray lineEnding = "\r";
};

class SimConnection : public QObject
{
    Q_OBJECT
public:
    SimConnection(const QString &name, const SimWriterSettings &settings, QObject *parent = nullptr);

    QString name() const { return m_name; }
    // Queues lines (without line endings) to be written after the configured delay.
    void sendLines(const QList<QByteArray> &lines);
    // Queues a junk line. It is written in one piece even when answers are cut into pieces: a
    // piece that began with a control byte would be thrown away by the receiver together with
    // the line ending behind it, and the junk would run into the next answer.
    void sendJunkLine(const QByteArray &junk);
    // Whether anything written now would reach a client.
    bool acceptsOutput() const { return !m_closing && isPeerPresent(); }
    // Counts one more request and returns the count since the connection began.
    int countRequest() { return ++m_requestCount; }
    // Closes the connection as soon as everything queued has been written; requests that
    // arrive meanwhile are not answered.
    void closeWhenSent();
    bool isClosing() const { return m_closing; }
    // A network client loses its connection when the device's network settings change.
    virtual bool isNetworkClient() const { return false; }

signals:
    void SGL_RequestReceived(SimConnection *connection, const QByteArray &line, bool tooLong);
    void SGL_Closed(SimConnection *connection);

protected:
    // For the transport: bytes the client sent.
    void receiveBytes(const QByteArray &bytes);
    // Writes what the transport takes now; returns the count written, or -1 when the peer is
    // gone for good.
    virtual qint64 writeBytes(const QByteArray &bytes) = 0;
    // False while nobody is on the other side; queued output is then discarded.
    virtual bool isPeerPresent() const { return true; }
    virtual void closeTransport() = 0;
    // A fresh session on the same object (the pseudo-terminal after a drop).
    void startNewSession();

private slots:
    void SLT_Pump();

private:
    struct Pending {
        QByteArray bytes;
        qint64 dueMs;
        bool whole; // never cut into pieces
    };

    void enqueue(const QByteArray &bytes, bool whole);
    void schedulePump(int delayMs);
    void pumpQueue();

    QString m_name;
    SimWriterSettings m_settings;
    SimLineSplitter m_splitter;
    QList<Pending> m_queue;
    QElapsedTimer m_clock;
    QTimer m_pumpTimer;
    int m_requestCount = 0;
    bool m_closing = false;
    bool m_pumping = false;
};
