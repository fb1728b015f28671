// The machinery both links share, driven directly: a scripted transport stands in for the
// port, its timers and its signals, so every decision can be checked without threads or time.
#include "link/LinkEngine.h"
#include "link/LinkQueue.h"

#include <QtTest>
#include <cstring>
#include <functional>

namespace {

class ScriptedTransport : public LinkEngine::Transport
{
public:
    QByteArray readAvailable() override { return chunks.isEmpty() ? QByteArray() : chunks.takeFirst(); }
    void writeLine(const QByteArray &bytes) override
    {
        written << bytes;
        events << "write " + bytes.trimmed();
    }
    void startPauseTimer(int ms) override
    {
        events << "pause";
        pauseRunning = ms == LinkEngine::PauseBeforeWriteMs;
    }
    void stopPauseTimer() override
    {
        events << "pause-stop";
        pauseRunning = false;
    }
    void startMatchTimer(int ms) override { events << "match-start " + QByteArray::number(ms); }
    void stopMatchTimer() override { events << "match-stop"; }
    void startWaitTimer(int ms) override { events << "wait-start " + QByteArray::number(ms); }
    void stopWaitTimer() override { events << "wait-stop"; }
    void announceLineSent(const QString &text) override { sentTexts << text; }
    void announceLineReceived() override
    {
        events << "received";
        if (onReceived)
            onReceived();
    }
    void announceReplyTimeout(const QString &command) override
    {
        timeouts << command;
        events << "timeout";
    }
    // Like the services' direct connection of SGL_TryCheckSend to their send slot.
    void requestSendAttempt() override { engine->sendNext(); }
    void closeDeferredLink() override { events << "close"; }

    LinkEngine *engine = nullptr;
    QList<QByteArray> chunks;
    QList<QByteArray> written;
    QList<QByteArray> events;
    QStringList sentTexts;
    QStringList timeouts;
    // Set while the pause timer runs; the rig lets it expire after each step.
    bool pauseRunning = false;
    std::function<void()> onReceived;
};

struct EngineRig {
    EngineRig()
        : engine(queue, transport)
    {
        transport.engine = &engine;
        queue.activate();
        engine.startSession();
    }
    QList<QByteArray> receivedLines()
    {
        QList<QByteArray> lines;
        queue.drain([&lines](const QByteArray &line) { lines << line; });
        return lines;
    }
    QList<bool> echoMarks()
    {
        QList<bool> marks;
        queue.drain([&marks](const QueuedLine &line) { marks << line.echo; });
        return marks;
    }
    void feed(const QList<QByteArray> &chunks)
    {
        for (const QByteArray &chunk : chunks) {
            engine.receiveChunk(chunk);
            endPause();
        }
    }
    // A send step, with its pause run to its end.
    void send()
    {
        engine.sendNext();
        endPause();
    }
    void endPause()
    {
        while (transport.pauseRunning) {
            transport.pauseRunning = false;
            engine.pauseTimerExpired();
        }
    }
    void expireMatchTimer()
    {
        engine.matchTimerExpired();
        endPause();
    }
    void expireWaitTimer()
    {
        engine.waitTimerExpired();
        endPause();
    }

    LinkQueue queue;
    ScriptedTransport transport;
    LinkEngine engine;
};

ReplyExpectation Expect(
    const QByteArray &pattern, quint8 needMatch, quint32 waitMs, quint32 matchMs, quint32 reportTimeout)
{
    ReplyExpectation expectation;
    std::memset(&expectation, 0, sizeof expectation);
    std::memcpy(expectation.patterns[0], pattern.constData(), size_t(pattern.size()));
    expectation.patternLengths[0] = quint32(pattern.size());
    expectation.patternCount = 1;
    expectation.needMatch = needMatch;
    expectation.waitMs = waitMs;
    expectation.matchMs = matchMs;
    expectation.reportTimeout = reportTimeout;
    return expectation;
}

ReplyExpectation Standard(const QByteArray &pattern)
{
    return Expect(pattern, 1, 0, 2000, 1);
}

ReplyExpectation Silent(const QByteArray &pattern)
{
    return Expect(pattern, 1, 0, 2000, 0);
}

ReplyExpectation Wall(const QByteArray &pattern)
{
    return Expect(pattern, 0, 300, 0, 1);
}

ReplyExpectation NoReply(const QByteArray &pattern)
{
    return Expect(pattern, 0, 0, 2000, 1);
}

} // namespace

Q_DECLARE_METATYPE(ReplyExpectation)

class TestLinkEngine : public QObject
{
    Q_OBJECT

private slots:
    void cutsChunksIntoLines_data();
    void cutsChunksIntoLines();
    void recognisesTheAwaitedReply_data();
    void recognisesTheAwaitedReply();
    void lineWithoutPatternsTakesTheMarkOfItsChunk_data();
    void lineWithoutPatternsTakesTheMarkOfItsChunk();
    void startsTheTimerOfTheProfile_data();
    void startsTheTimerOfTheProfile();
    void keepsOneLineInFlight();
    void sendsTheNextLineAfterThePauseThatTheReplyStarts();
    void matchTimeoutReportsOnlyWhenAsked_data();
    void matchTimeoutReportsOnlyWhenAsked();
    void stopAwaitingReachesOnlyTheLineInFlight_data();
    void stopAwaitingReachesOnlyTheLineInFlight();
    void waitTimerExpiryLetsTheNextLineGo();
    void busySendMutexSendsNothing();
    void kickDuringThePauseSendsNothingMore();
    void bytesArrivingDuringThePauseKeepTheirOrder();
    void closeDuringThePauseStopsIt();
    void echoOfTheLineInFlightIsNoReply_data();
    void echoOfTheLineInFlightIsNoReply();
    void replacedConnectionLeavesNoBytesBehind_data();
    void replacedConnectionLeavesNoBytesBehind();
    void stopRunningTimerStopsTheOneRunning_data();
    void stopRunningTimerStopsTheOneRunning();
};

void TestLinkEngine::cutsChunksIntoLines_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("lines");

    const QByteArray longest(LinkQueue::LineBufferSize - 1, 'x');
    const QByteArray tooLong(LinkQueue::LineBufferSize, 'x');

    QTest::newRow("one line") << QList<QByteArray> { "MODEL TYPE RZ7P52KN\r" }
                              << QList<QByteArray> { "MODEL TYPE RZ7P52KN\r" };
    QTest::newRow("keyword split across chunks")
        << QList<QByteArray> { "MODEL TY", "PE RZ7P52KN\r" } << QList<QByteArray> { "MODEL TYPE RZ7P52KN\r" };
    QTest::newRow("two lines in one chunk") << QList<QByteArray> { "OUT1 VKA ON\rOUT2 VKA OFF\r" }
                                            << QList<QByteArray> { "OUT1 VKA ON\r", "OUT2 VKA OFF\r" };
    QTest::newRow("bytes after the last CR wait for the next chunk")
        << QList<QByteArray> { "A 1\rB", " 2\r" } << QList<QByteArray> { "A 1\r", "B 2\r" };
    QTest::newRow("CR LF endings in one chunk")
        << QList<QByteArray> { "A 1\r\nB 2\r\n" } << QList<QByteArray> { "A 1\r", "B 2\r" };
    QTest::newRow("LF of a CR LF pair alone in its chunk")
        << QList<QByteArray> { "A 1\r", "\n", "B 2\r" } << QList<QByteArray> { "A 1\r", "B 2\r" };
    QTest::newRow("LF-led chunk keeps the line behind it")
        << QList<QByteArray> { "A 1\r", "\nB 2\r\nC 3\r" } << QList<QByteArray> { "A 1\r", "B 2\r", "C 3\r" };
    QTest::newRow("control bytes before the first printable byte are skipped")
        << QList<QByteArray> { QByteArray("\x00\x1b\t\nX 1\r", 8) } << QList<QByteArray> { "X 1\r" };
    QTest::newRow("control bytes inside a line are kept")
        << QList<QByteArray> { "A\t1\n2\r" } << QList<QByteArray> { "A\t1\n2\r" };
    QTest::newRow("chunk starting with CR ends the pending line")
        << QList<QByteArray> { "PARTIAL", "\rNEXT\r" } << QList<QByteArray> { "PARTIAL\r", "NEXT\r" };
    QTest::newRow("a CR on its own is a line")
        << QList<QByteArray> { "A\r\r" } << QList<QByteArray> { "A\r", "\r" };
    QTest::newRow("longest line fits with its CR")
        << QList<QByteArray> { longest + "\rOK\r" } << QList<QByteArray> { longest + "\r", "OK\r" };
    QTest::newRow("line one byte too long is dropped whole")
        << QList<QByteArray> { tooLong + "\rOK\r" } << QList<QByteArray> { "OK\r" };
    QTest::newRow("oversized chunk: the line after the overlong one survives")
        << QList<QByteArray> { QByteArray(3000, 'y') + "\rOK 1\r\nOK 2\r" }
        << QList<QByteArray> { "OK 1\r", "OK 2\r" };
    QTest::newRow("overlong line spread over chunks") << QList<QByteArray> { QByteArray(800, 'y'),
        QByteArray(800, 'y'), "y\rOK\r" } << QList<QByteArray> { "OK\r" };
    QTest::newRow("pending part plus a chunk over the buffer size keeps the complete line")
        << QList<QByteArray> { QByteArray(600, 'a'), QByteArray(300, 'b') + "\rNEXT\r" }
        << QList<QByteArray> { QByteArray(600, 'a') + QByteArray(300, 'b') + "\r", "NEXT\r" };

    QByteArray manyLines;
    QList<QByteArray> manyExpected;
    for (int i = 0; i < 200; ++i) {
        const QByteArray line = "OUT" + QByteArray::number(i) + " VKA ON\r";
        manyLines += line;
        manyExpected << line;
    }
    QTest::newRow("chunk of many short lines above the buffer size")
        << QList<QByteArray> { manyLines } << manyExpected;
}

void TestLinkEngine::cutsChunksIntoLines()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, lines);

    EngineRig rig;
    rig.feed(chunks);

    QCOMPARE(rig.receivedLines(), lines);
    QCOMPARE(rig.transport.events.count("received"), lines.size());
}

void TestLinkEngine::recognisesTheAwaitedReply_data()
{
    QTest::addColumn<ReplyExpectation>("expectation");
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<bool>("answered");

    QTest::newRow("keyword at the start")
        << Standard("MODEL TYPE") << QList<QByteArray> { "MODEL TYPE RZ7P52KN\r" } << true;
    QTest::newRow("keyword inside the line")
        << Standard("VKA") << QList<QByteArray> { "\nOUT1 VKA ON\r" } << true;
    QTest::newRow("keyword split across chunks")
        << Standard("MODEL TYPE") << QList<QByteArray> { "MODEL TY", "PE RZ7P52KN\r" } << true;
    QTest::newRow("comparison is case-sensitive")
        << Standard("MODEL TYPE") << QList<QByteArray> { "model type x\r" } << false;
    QTest::newRow("a line without its CR is not a reply yet")
        << Standard("MODEL TYPE") << QList<QByteArray> { "MODEL TYPE RZ7P52KN" } << false;
    QTest::newRow("other line then the reply in the same chunk")
        << Standard("BAUDRATE") << QList<QByteArray> { "NOISE\rBAUDRATE 9600\r" } << true;
    QTest::newRow("line shorter than the pattern")
        << Standard("MODEL TYPE") << QList<QByteArray> { "MODEL\r" } << false;

    ReplyExpectation two = Standard("FOO");
    std::memcpy(two.patterns[1], "BAR", 3);
    two.patternLengths[1] = 3;
    two.patternCount = 2;
    QTest::newRow("second pattern") << two << QList<QByteArray> { "BAR 1\r" } << true;
    ReplyExpectation secondUnused = two;
    secondUnused.patternCount = 1;
    QTest::newRow("second pattern unused with a count of one")
        << secondUnused << QList<QByteArray> { "BAR 1\r" } << false;

    ReplyExpectation any = Standard("ABCDEFGH");
    any.acceptAny = 1;
    QTest::newRow("acceptAny takes a line as long as the pattern, CR counted")
        << any << QList<QByteArray> { "1234567\r" } << true;
    QTest::newRow("acceptAny refuses a shorter line") << any << QList<QByteArray> { "123456\r" } << false;

    ReplyExpectation none = Standard("X");
    none.patternCount = 0;
    QTest::newRow("no pattern: a fresh chunk never answers")
        << none << QList<QByteArray> { "X 1\r" } << false;

    ReplyExpectation corrupt = Standard("X");
    corrupt.patternLengths[0] = 5000;
    QTest::newRow("pattern length beyond its storage never matches")
        << corrupt << QList<QByteArray> { QByteArray(1000, 'X') + "\r" } << false;
}

void TestLinkEngine::recognisesTheAwaitedReply()
{
    QFETCH(ReplyExpectation, expectation);
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(bool, answered);

    EngineRig rig;
    rig.queue.push("GET SOMETHING\r", 14, &expectation, 0);
    rig.queue.push("GET NEXT\r", 9, nullptr, 0);
    rig.send();
    QVERIFY(rig.engine.isAwaitingReply());

    rig.feed(chunks);

    QCOMPARE(rig.engine.isAwaitingReply(), !answered);
    QCOMPARE(rig.transport.written.size(), answered ? 2 : 1);
    QCOMPARE(rig.transport.events.contains("match-stop"), answered);
}

void TestLinkEngine::lineWithoutPatternsTakesTheMarkOfItsChunk_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<bool>("secondAnswered");

    // The line behind the first reply came before the second command was written (it goes out
    // after its pause), so it cannot answer it.
    QTest::newRow("follows the first reply in its chunk") << QList<QByteArray> { "FIRST 1\rANY\r" } << false;
    QTest::newRow("arrives in a chunk of its own") << QList<QByteArray> { "FIRST 1\r", "ANY\r" } << false;
}

// A command that waits for a reply but names no pattern is answered only by a line that
// follows, in the same chunk, a line that answered while it was in flight: never by a line of
// a fresh chunk.
void TestLinkEngine::lineWithoutPatternsTakesTheMarkOfItsChunk()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(bool, secondAnswered);

    EngineRig rig;
    const ReplyExpectation first = Standard("FIRST");
    ReplyExpectation second = Standard("");
    second.patternCount = 0;
    rig.queue.push("GET FIRST\r", 10, &first, 0);
    rig.queue.push("GET SECOND\r", 11, &second, 0);
    rig.queue.push("GET THIRD\r", 10, nullptr, 0);
    rig.send();

    rig.feed(chunks);

    QCOMPARE(rig.engine.isAwaitingReply(), !secondAnswered);
    QCOMPARE(rig.transport.written.size(), secondAnswered ? 3 : 2);
}

void TestLinkEngine::startsTheTimerOfTheProfile_data()
{
    QTest::addColumn<bool>("withExpectation");
    QTest::addColumn<ReplyExpectation>("expectation");
    QTest::addColumn<QByteArray>("timer");
    QTest::addColumn<bool>("reported");

    QTest::newRow("standard") << true << Standard("MODEL TYPE") << QByteArray("match-start 2000") << true;
    QTest::newRow("silent") << true << Silent("SYNC-OVER") << QByteArray("match-start 2000") << false;
    QTest::newRow("wall") << true << Wall("TVWALL-INFO") << QByteArray("wait-start 300") << false;
    QTest::newRow("no reply") << true << NoReply("RESET") << QByteArray("wait-start 0") << false;
    QTest::newRow("pushed without expectation")
        << false << ReplyExpectation() << QByteArray("wait-start 120") << false;
}

void TestLinkEngine::startsTheTimerOfTheProfile()
{
    QFETCH(bool, withExpectation);
    QFETCH(ReplyExpectation, expectation);
    QFETCH(QByteArray, timer);
    QFETCH(bool, reported);

    EngineRig rig;
    const QByteArray line = "SET X\xb5\r";
    rig.queue.push(line, withExpectation ? &expectation : nullptr, 120);
    rig.send();

    const QList<QByteArray> expected { "pause", "write SET X\xb5", timer };
    QCOMPARE(rig.transport.events, expected);
    QCOMPARE(rig.transport.sentTexts, QStringList { QString::fromLatin1(line) });
    QCOMPARE(rig.engine.timeoutText(), reported ? QString::fromLocal8Bit(line) : QString());
    QCOMPARE(rig.queue.sendQueueSize(), 0);
}

void TestLinkEngine::keepsOneLineInFlight()
{
    EngineRig rig;
    const ReplyExpectation expectation = Standard("MODEL TYPE");
    rig.queue.push("GET MODEL TYPE\r", 15, &expectation, 0);
    rig.queue.push("GET SECOND\r", 11, nullptr, 0);

    rig.send();
    rig.send();
    rig.feed({ "UNRELATED\r" });
    rig.send();

    QCOMPARE(rig.transport.written, QList<QByteArray> { "GET MODEL TYPE\r" });
    QCOMPARE(rig.queue.sendQueueSize(), 1);
}

// The reply ends the wait and starts the pause of the next line; the lines of the chunk are
// announced meanwhile and the next line goes out when the pause is over.
void TestLinkEngine::sendsTheNextLineAfterThePauseThatTheReplyStarts()
{
    EngineRig rig;
    const ReplyExpectation first = Standard("MODEL TYPE");
    const ReplyExpectation second = Standard("BAUDRATE");
    rig.queue.push("GET MODEL TYPE\r", 15, &first, 0);
    rig.queue.push("GET BAUDRATE\r", 13, &second, 0);
    rig.send();
    rig.transport.events.clear();

    rig.feed({ "MODEL TYPE RZ7P52KN\rOTHER\r" });

    const QList<QByteArray> expected { "match-stop", "pause", "received", "received", "write GET BAUDRATE",
        "match-start 2000" };
    QCOMPARE(rig.transport.events, expected);
    QVERIFY(rig.engine.isAwaitingReply());
    QCOMPARE(rig.engine.timeoutText(), QStringLiteral("GET BAUDRATE\r"));
}

void TestLinkEngine::matchTimeoutReportsOnlyWhenAsked_data()
{
    QTest::addColumn<ReplyExpectation>("expectation");
    QTest::addColumn<QStringList>("timeouts");

    QTest::newRow("standard") << Standard("MODEL TYPE") << QStringList { "GET MODEL TYPE\r" };
    QTest::newRow("silent") << Silent("MODEL TYPE") << QStringList {};
}

void TestLinkEngine::matchTimeoutReportsOnlyWhenAsked()
{
    QFETCH(ReplyExpectation, expectation);
    QFETCH(QStringList, timeouts);

    EngineRig rig;
    rig.queue.push("GET MODEL TYPE\r", 15, &expectation, 0);
    rig.queue.push("GET NEXT\r", 9, nullptr, 0);
    rig.send();

    rig.expireMatchTimer();

    QCOMPARE(rig.transport.timeouts, timeouts);
    QCOMPARE(rig.transport.written, (QList<QByteArray> { "GET MODEL TYPE\r", "GET NEXT\r" }));
    QVERIFY(!rig.engine.isAwaitingReply());
    QVERIFY(rig.engine.isWaiting());

    // A late reply to the abandoned command changes nothing.
    rig.feed({ "MODEL TYPE RZ7P52KN\r" });
    QCOMPARE(rig.transport.written.size(), 2);
}

void TestLinkEngine::stopAwaitingReachesOnlyTheLineInFlight_data()
{
    QTest::addColumn<QString>("stopFor");
    QTest::addColumn<bool>("stillAwaiting");

    // The GUI's request comes after the timeout it answers, when the next line may be out.
    QTest::newRow("request for the line that timed out") << "GET MODEL TYPE\r" << true;
    QTest::newRow("request for the line in flight") << "GET BAUDRATE\r" << false;
}

void TestLinkEngine::stopAwaitingReachesOnlyTheLineInFlight()
{
    QFETCH(QString, stopFor);
    QFETCH(bool, stillAwaiting);

    EngineRig rig;
    const ReplyExpectation first = Standard("MODEL TYPE");
    const ReplyExpectation second = Standard("BAUDRATE");
    rig.queue.push("GET MODEL TYPE\r", 15, &first, 0);
    rig.queue.push("GET BAUDRATE\r", 13, &second, 0);
    rig.queue.push("GET NEXT\r", 9, nullptr, 0);
    rig.send();
    rig.expireMatchTimer();
    QVERIFY(rig.engine.isAwaitingReply());

    rig.engine.stopAwaitingReplyTo(stopFor);
    rig.endPause();

    QCOMPARE(rig.engine.isAwaitingReply(), stillAwaiting);
    QCOMPARE(rig.transport.written.size(), stillAwaiting ? 2 : 3);
    rig.feed({ "BAUDRATE 9600\r" });
    QCOMPARE(rig.transport.written.size(), 3);
    QCOMPARE(rig.transport.timeouts, QStringList { "GET MODEL TYPE\r" });
}

void TestLinkEngine::waitTimerExpiryLetsTheNextLineGo()
{
    EngineRig rig;
    const ReplyExpectation wall = Wall("TVWALL-INFO");
    rig.queue.push("SET TVWALL-INFO 1 1 1\r", 22, &wall, 0);
    rig.queue.push("GET TVWALL-INFO\r", 16, nullptr, 0);
    rig.send();
    rig.feed({ "TVWALL-INFO 1 1 1\r" });
    QCOMPARE(rig.transport.written.size(), 1);

    rig.expireWaitTimer();

    QCOMPARE(rig.transport.written.size(), 2);
    QVERIFY(rig.transport.timeouts.isEmpty());
}

void TestLinkEngine::busySendMutexSendsNothing()
{
    EngineRig rig;
    rig.queue.push("GET A\r", 6, nullptr, 0);

    rig.queue.sendMutex.lock();
    rig.send();
    rig.queue.sendMutex.unlock();
    QVERIFY(rig.transport.written.isEmpty());

    rig.send();
    QCOMPARE(rig.transport.written.size(), 1);
}

void TestLinkEngine::kickDuringThePauseSendsNothingMore()
{
    EngineRig rig;
    rig.queue.push("GET A\r", 6, nullptr, 0);
    rig.queue.push("GET B\r", 6, nullptr, 0);

    rig.engine.sendNext();
    rig.engine.sendNext();
    rig.endPause();

    QCOMPARE(rig.transport.written, QList<QByteArray> { "GET A\r" });
    QCOMPARE(rig.transport.events.count("pause"), 1);
}

// A reply starts the next line's pause; bytes that come in during it are cut into lines in
// arrival order, after the rest of the chunk that held the reply.
void TestLinkEngine::bytesArrivingDuringThePauseKeepTheirOrder()
{
    EngineRig rig;
    const ReplyExpectation first = Standard("A OK");
    rig.queue.push("GET A\r", 6, &first, 0);
    rig.queue.push("GET B\r", 6, nullptr, 0);
    rig.send();
    rig.transport.chunks << "A OK\rTAIL\rPART";
    rig.engine.receiveAvailable();
    QVERIFY(rig.engine.isPausing());

    rig.transport.chunks << "LATE 1\rLA"
                         << "TE 2\r";
    rig.engine.receiveAvailable();
    QCOMPARE(rig.transport.written, QList<QByteArray> { "GET A\r" });
    rig.endPause();

    QCOMPARE(rig.receivedLines(), (QList<QByteArray> { "A OK\r", "TAIL\r", "PARTLATE 1\r", "LATE 2\r" }));
    QCOMPARE(rig.transport.written, (QList<QByteArray> { "GET A\r", "GET B\r" }));
}

// No step is on the stack during the pause, so a close happens at once and the pause ends
// without a write.
void TestLinkEngine::closeDuringThePauseStopsIt()
{
    EngineRig rig;
    rig.queue.push("GET A\r", 6, nullptr, 0);
    rig.engine.sendNext();
    QVERIFY(rig.engine.isPausing());

    QVERIFY(!rig.engine.deferCloseWhileBusy());
    rig.engine.stopRunningTimer();
    rig.engine.pauseTimerExpired();

    QCOMPARE(rig.transport.events.last(), QByteArray("pause-stop"));
    QVERIFY(rig.transport.written.isEmpty());
    QVERIFY(rig.queue.sendMutex.tryLock());
    rig.queue.sendMutex.unlock();
}

void TestLinkEngine::echoOfTheLineInFlightIsNoReply_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<ReplyExpectation>("expectation");
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<bool>>("echoMarks");
    QTest::addColumn<bool>("answered");

    const ReplyExpectation model = Standard("MODEL TYPE");
    QTest::newRow("echo holding the pattern, alone") << QByteArray("GET MODEL TYPE\r") << model
                                                     << QList<QByteArray> { "GET MODEL TYPE\r" }
                                                     << QList<bool> { true } << false;
    QTest::newRow("echo then reply in one chunk")
        << QByteArray("GET MODEL TYPE\r") << model
        << QList<QByteArray> { "GET MODEL TYPE\rMODEL TYPE RZ7P52KN\r" } << QList<bool> { true, false } << true;
    QTest::newRow("echo ended by CR LF") << QByteArray("GET MODEL TYPE\r") << model
                                         << QList<QByteArray> { "GET MODEL TYPE\r\n" } << QList<bool> { true }
                                         << false;
    QTest::newRow("echo and reply in separate chunks")
        << QByteArray("GET OUT1 VKA\r") << Standard("VKA")
        << QList<QByteArray> { "GET OUT1 VKA\r", "OUT1 VKA BLUESCREEN\r" } << QList<bool> { true, false }
        << true;
    QTest::newRow("longer line starting like the request is a reply")
        << QByteArray("GET MODEL TYPE\r") << model << QList<QByteArray> { "GET MODEL TYPE X\r" }
        << QList<bool> { false } << true;
    QTest::newRow("echo after a line that answered nothing keeps waiting")
        << QByteArray("GET OUT1 VKA\r") << Standard("VKA")
        << QList<QByteArray> { "NOISE\rGET OUT1 VKA\r" } << QList<bool> { false, true } << false;
}

// A device that echoes requests repeats the line in flight before it answers.
void TestLinkEngine::echoOfTheLineInFlightIsNoReply()
{
    QFETCH(QByteArray, request);
    QFETCH(ReplyExpectation, expectation);
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<bool>, echoMarks);
    QFETCH(bool, answered);

    EngineRig rig;
    rig.queue.push(request, &expectation, 0);
    rig.queue.push("GET NEXT\r", 9, nullptr, 0);
    rig.send();

    rig.feed(chunks);

    QCOMPARE(rig.echoMarks(), echoMarks);
    QCOMPARE(rig.engine.isAwaitingReply(), !answered);
    QCOMPARE(rig.transport.written.size(), answered ? 2 : 1);
}

void TestLinkEngine::replacedConnectionLeavesNoBytesBehind_data()
{
    QTest::addColumn<QList<QByteArray>>("oldChunks");
    QTest::addColumn<int>("replacedAfterLine");
    QTest::addColumn<QList<QByteArray>>("lines");

    // The new connection's first line is OUT2 VIDEO IN HDMI3.
    QTest::newRow("partial line left by the old connection")
        << QList<QByteArray> { "OUT1 VKA ON\rOUT1 VK" } << 0
        << QList<QByteArray> { "OUT1 VKA ON\r", "OUT2 VIDEO IN HDMI3\r" };
    QTest::newRow("rest of the chunk being cut into lines")
        << QList<QByteArray> { "MODEL TYPE RZ7P52KN\rOUT1 VKA ON\rOUT1 VK" } << 1
        << QList<QByteArray> { "MODEL TYPE RZ7P52KN\r", "OUT2 VIDEO IN HDMI3\r" };
    QTest::newRow("over-long line being skipped")
        << QList<QByteArray> { "A 1\r" + QByteArray(1500, 'x') } << 0
        << QList<QByteArray> { "A 1\r", "OUT2 VIDEO IN HDMI3\r" };
}

void TestLinkEngine::replacedConnectionLeavesNoBytesBehind()
{
    QFETCH(QList<QByteArray>, oldChunks);
    QFETCH(int, replacedAfterLine);
    QFETCH(QList<QByteArray>, lines);

    EngineRig rig;
    int announced = 0;
    rig.transport.onReceived = [&] {
        if (++announced == replacedAfterLine)
            rig.engine.discardPartialLine();
    };
    rig.feed(oldChunks);
    if (replacedAfterLine == 0)
        rig.engine.discardPartialLine();
    rig.feed({ "OUT2 VIDEO IN HDMI3\r" });

    QCOMPARE(rig.receivedLines(), lines);
}

void TestLinkEngine::stopRunningTimerStopsTheOneRunning_data()
{
    QTest::addColumn<ReplyExpectation>("expectation");
    QTest::addColumn<QByteArray>("stopped");

    QTest::newRow("awaiting a reply") << Standard("X") << QByteArray("match-stop");
    QTest::newRow("pausing after a wall command") << Wall("X") << QByteArray("wait-stop");
}

void TestLinkEngine::stopRunningTimerStopsTheOneRunning()
{
    QFETCH(ReplyExpectation, expectation);
    QFETCH(QByteArray, stopped);

    EngineRig rig;
    rig.queue.push("SET X\r", 6, &expectation, 0);
    rig.send();
    rig.transport.events.clear();

    rig.engine.stopRunningTimer();

    QCOMPARE(rig.transport.events, QList<QByteArray> { stopped });
    QVERIFY(!rig.engine.isAwaitingReply());
    QVERIFY(!rig.engine.isWaiting());
}

QTEST_GUILESS_MAIN(TestLinkEngine)
#include "tst_linkengine.moc"
