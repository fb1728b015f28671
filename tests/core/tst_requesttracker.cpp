// A request is followed from its queueing to its end, and only its own reply, a refusal, its
// time-out or the loss of its link ends it.

#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/RequestTracker.h"

#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(RequestTracker::Failure)

namespace {

// Events as text: "queue:SET OUT1 VKA NOTIMING", "send:…", "recv:…", "timeout:…", "lost".
// The builders queue through the real queue of the TCP link, so the records are what a page
// gets when it sends.
QString Run(const QStringList &events)
{
    RequestTracker &tracker = RequestTracker::instance();
    QStringList outcome;
    QObject guard;
    QObject::connect(&tracker, &RequestTracker::SGL_RequestFailed, &guard,
        [&outcome](const DeviceRequest &request, RequestTracker::Failure failure) {
            const char *how = failure == RequestTracker::Failure::TimedOut ? "timed out"
                : failure == RequestTracker::Failure::Refused                ? "refused"
                                                                             : "lost";
            outcome << QStringLiteral("%1 %2 (%3)")
                           .arg(QString::fromLatin1(request.command), QLatin1String(how),
                               QLatin1String(request.isWrite() ? "write" : "read"));
        });
    for (const QString &event : events) {
        const QString verb = event.section(QLatin1Char(':'), 0, 0);
        const QByteArray text = event.section(QLatin1Char(':'), 1).toLatin1();
        if (verb == QLatin1String("vka"))
            CmdSetVka(0, 2);
        else if (verb == QLatin1String("getvka"))
            CmdGetVka(0);
        else if (verb == QLatin1String("route"))
            CmdSetRoute(1, 2);
        else if (verb == QLatin1String("send"))
            tracker.noteSent(LinkModeTcp, text + '\r');
        else if (verb == QLatin1String("recv")) {
            const DeviceRequest *answered = tracker.noteReceived(LinkModeTcp, text + '\r');
            // What the parser asks while it handles the same line.
            if (answered != tracker.answering())
                outcome << QStringLiteral("answering differs");
            if (answered)
                outcome << QStringLiteral("%1 ended").arg(QString::fromLatin1(answered->command));
        } else if (verb == QLatin1String("timeout"))
            tracker.noteTimedOut(LinkModeTcp, text + '\r');
        else if (verb == QLatin1String("lost"))
            tracker.noteLinkLost(LinkModeTcp);
    }
    const DeviceRequest *inFlight = tracker.inFlight(LinkModeTcp);
    outcome << QStringLiteral("in flight: %1; queued: %2")
                   .arg(inFlight ? QString::fromLatin1(inFlight->command) : QStringLiteral("none"))
                   .arg(tracker.queuedCount(LinkModeTcp));
    return outcome.join(QStringLiteral("; "));
}

} // namespace

class TestRequestTracker : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        DeviceState_Clear();
        DeviceState_ConfirmModel();
        TcpLinkQueue().deactivate();
        TcpLinkQueue().activate();
        LinkMode = LinkModeTcp;
        RequestTracker::instance().clear();
    }
    void cleanup()
    {
        LinkMode = LinkModeNone;
        TcpLinkQueue().deactivate();
        RequestTracker::instance().clear();
    }

    void lifeOfARequest_data();
    void lifeOfARequest();
    void refusal_data();
    void refusal();
    void concerns_data();
    void concerns();
};

void TestRequestTracker::lifeOfARequest_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("outcome");

    const QString vka = QStringLiteral("SET OUT1 VKA NOTIMING");
    QTest::newRow("queued only") << QStringList { "vka" } << "in flight: none; queued: 1";
    QTest::newRow("sent") << QStringList { "vka", "send:" + vka } << "in flight: " + vka + "; queued: 0";
    QTest::newRow("answered by its reply") << QStringList { "vka", "send:" + vka, "recv:OUT1 VKA NOTIMING" }
                                           << vka + " ended; in flight: none; queued: 0";
    QTest::newRow("a status line after the reply answers nothing")
        << QStringList { "vka", "send:" + vka, "recv:OUT1 VKA NOTIMING", "recv:OUT1 VKA NOTIMING" }
        << vka + " ended; in flight: none; queued: 0";
    // A status line of another kind does not end the wait.
    QTest::newRow("unsolicited line answers nothing")
        << QStringList { "vka", "send:" + vka, "recv:OUT2 ITC ON" } << "in flight: " + vka + "; queued: 0";
    QTest::newRow("a line before the send answers nothing")
        << QStringList { "vka", "recv:OUT1 VKA BLUESCREEN", "send:" + vka } << "in flight: " + vka + "; queued: 0";
    QTest::newRow("refused") << QStringList { "vka", "send:" + vka, "recv:ERROR: INVALID PARAMETER" }
                             << vka + " refused (write); " + vka + " ended; in flight: none; queued: 0";
    QTest::newRow("timed out") << QStringList { "vka", "send:" + vka, "timeout:" + vka }
                               << vka + " timed out (write); in flight: none; queued: 0";
    QTest::newRow("time-out of an older line changes nothing")
        << QStringList { "vka", "send:" + vka, "timeout:GET OUT1 VKA" } << "in flight: " + vka + "; queued: 0";
    QTest::newRow("read timed out") << QStringList { "getvka", "send:GET OUT1 VKA", "timeout:GET OUT1 VKA" }
                                    << "GET OUT1 VKA timed out (read); in flight: none; queued: 0";
    QTest::newRow("link lost with one in flight and one queued")
        << QStringList { "vka", "route", "send:" + vka, "lost" }
        << vka + " lost (write); SET IN2 VIDEO OUT3 lost (write); in flight: none; queued: 0";
    // The queue dropped a line on the way (it was closed meanwhile): it will never be answered.
    QTest::newRow("a later line went out first")
        << QStringList { "vka", "route", "send:SET IN2 VIDEO OUT3" }
        << vka + " lost (write); in flight: SET IN2 VIDEO OUT3; queued: 0";
    // A console line has no record: the recorded ones keep waiting for their turn.
    QTest::newRow("console line") << QStringList { "vka", "send:GET HELP" } << "in flight: none; queued: 1";
}

void TestRequestTracker::lifeOfARequest()
{
    QFETCH(QStringList, events);
    QFETCH(QString, outcome);
    QCOMPARE(Run(events), outcome);
}

void TestRequestTracker::refusal_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("refusal");

    QTest::newRow("unknown command") << QByteArray("ERROR: UNKNOWN COMMAND\r") << true;
    QTest::newRow("invalid parameter") << QByteArray("ERROR: INVALID PARAMETER\r\n") << true;
    QTest::newRow("EDID write failed") << QByteArray("IN1 EDID-USER FAIL\r") << true;
    QTest::newRow("bare FAIL") << QByteArray("FAIL\r") << true;
    QTest::newRow("EDID write done") << QByteArray("IN1 EDID-USER OK\r") << false;
    QTest::newRow("FAIL inside a word") << QByteArray("OUT1 FAILOVER ON\r") << false;
    QTest::newRow("a value") << QByteArray("OUT1 VKA BLUESCREEN\r") << false;
}

void TestRequestTracker::refusal()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, refusal);
    QCOMPARE(RequestTracker::IsRefusal(line), refusal);
}

void TestRequestTracker::concerns_data()
{
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("input");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<bool>("concerns");

    QTest::newRow("output and keyword") << QByteArray("SET OUT3 VKA NOTIMING") << 2 << -1 << "VKA" << true;
    QTest::newRow("other output") << QByteArray("SET OUT3 VKA NOTIMING") << 0 << -1 << "VKA" << false;
    QTest::newRow("OUT1 is not OUT10") << QByteArray("SET OUT10 ITC ON") << 0 << -1 << "ITC" << false;
    QTest::newRow("OUT10") << QByteArray("SET OUT10 ITC ON") << 9 << -1 << "ITC" << true;
    QTest::newRow("no port") << QByteArray("GET MATRIX-ROUTE") << 0 << -1 << "MATRIX-ROUTE" << false;
    QTest::newRow("route of an input") << QByteArray("SET IN4 VIDEO ALL") << -1 << 3 << "VIDEO" << true;
    QTest::newRow("input") << QByteArray("SET IN2 AUDIO-SRC L/R") << -1 << 1 << "AUDIO-SRC" << true;
    QTest::newRow("keyword as part of another") << QByteArray("SET OUT1 PIP POS USER") << 0 << -1 << "PIP" << true;
    QTest::newRow("keyword prefix only") << QByteArray("SET OUT1 VKAX ON") << 0 << -1 << "VKA" << false;
}

void TestRequestTracker::concerns()
{
    QFETCH(QByteArray, command);
    QFETCH(int, output);
    QFETCH(int, input);
    QFETCH(QString, keyword);
    QFETCH(bool, concerns);

    DeviceRequest request;
    request.command = command;
    const bool port = output >= 0 ? request.concernsOutput(quint32(output)) : request.concernsInput(quint32(input));
    QCOMPARE(port && request.concerns(keyword.toLatin1().constData()), concerns);
    if (concerns)
        QCOMPARE(output >= 0 ? request.output() : request.input(), output >= 0 ? output : input);
}

QTEST_GUILESS_MAIN(TestRequestTracker)
#include "tst_requesttracker.moc"
