// The link queues: what they accept, what a disconnect drops, and a drain that never keeps the
// link thread waiting while the GUI thread handles the lines.
#include "link/LinkQueue.h"

#include <QtTest>
#include <cstring>

class TestLinkQueue : public QObject
{
    Q_OBJECT

private slots:
    void acceptsOnlyRealLinesWhileActive_data();
    void acceptsOnlyRealLinesWhileActive();
    void lineWithoutExpectationWaitsTheGivenTime();
    void activatingAnActiveQueueKeepsItsLines();
    void deactivateDropsEverything();
    void drainLeavesTheLinesWhenTheMutexIsBusy();
    void drainHandsLinesOutWithTheMutexReleased();
};

void TestLinkQueue::acceptsOnlyRealLinesWhileActive_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("nullBytes");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("queued");

    QTest::newRow("active") << true << false << 6 << 1;
    QTest::newRow("inactive") << false << false << 6 << 0;
    QTest::newRow("missing bytes") << true << true << 6 << 0;
    QTest::newRow("zero length") << true << false << 0 << 0;
    QTest::newRow("negative length") << true << false << -1 << 0;
}

void TestLinkQueue::acceptsOnlyRealLinesWhileActive()
{
    QFETCH(bool, active);
    QFETCH(bool, nullBytes);
    QFETCH(int, length);
    QFETCH(int, queued);

    LinkQueue queue;
    if (active)
        queue.activate();
    queue.push(nullBytes ? nullptr : "GET A\r", length, nullptr, 0);
    queue.pushReceived("A 1\r");

    QCOMPARE(queue.sendQueueSize(), queued);
    QCOMPARE(queue.receiveQueueSize(), active ? 1 : 0);
}

void TestLinkQueue::lineWithoutExpectationWaitsTheGivenTime()
{
    LinkQueue queue;
    queue.activate();
    queue.push(QByteArray("GET A\r"), nullptr, 70);

    QCOMPARE(queue.sendQueue.first().bytes, QByteArray("GET A\r"));
    QCOMPARE(int(queue.sendQueue.first().expectation.needMatch), 0);
    QCOMPARE(queue.sendQueue.first().expectation.waitMs, 70u);
}

void TestLinkQueue::activatingAnActiveQueueKeepsItsLines()
{
    LinkQueue queue;
    queue.activate();
    queue.push(QByteArray("GET A\r"), nullptr, 0);
    queue.pushReceived("A 1\r");

    queue.activate();

    QCOMPARE(queue.sendQueueSize(), 1);
    QCOMPARE(queue.receiveQueueSize(), 1);
}

void TestLinkQueue::deactivateDropsEverything()
{
    LinkQueue queue;
    queue.activate();
    queue.push(QByteArray("GET A\r"), nullptr, 0);
    queue.pushReceived("A 1\r");
    queue.lineLength = 5;
    queue.lineOverflow = true;

    queue.deactivate();
    queue.push(QByteArray("GET B\r"), nullptr, 0);
    queue.activate();

    QCOMPARE(queue.sendQueueSize(), 0);
    QCOMPARE(queue.receiveQueueSize(), 0);
    QCOMPARE(queue.lineLength, 0u);
    QVERIFY(!queue.lineOverflow);
}

void TestLinkQueue::drainLeavesTheLinesWhenTheMutexIsBusy()
{
    LinkQueue queue;
    queue.activate();
    queue.pushReceived("A 1\r");
    int handled = 0;

    queue.receiveMutex.lock();
    const bool drained = queue.drain([&handled](const QByteArray &) { ++handled; });
    queue.receiveMutex.unlock();

    QVERIFY(!drained);
    QCOMPARE(handled, 0);
    QCOMPARE(queue.receiveQueueSize(), 1);
}

// The consumer may open a nested event loop (a message box) while the link thread keeps
// receiving: it must find the mutex free, and lines that arrive meanwhile wait for the next drain.
void TestLinkQueue::drainHandsLinesOutWithTheMutexReleased()
{
    LinkQueue queue;
    queue.activate();
    queue.pushReceived("A 1\r");
    queue.pushReceived("B 2\r");
    QList<QByteArray> handled;
    bool mutexFree = true;

    const bool drained = queue.drain([&](const QByteArray &line) {
        handled << line;
        if (queue.receiveMutex.tryLock())
            queue.receiveMutex.unlock();
        else
            mutexFree = false;
        queue.pushReceived("LATE\r");
    });

    QVERIFY(drained);
    QVERIFY(mutexFree);
    QCOMPARE(handled, (QList<QByteArray> { "A 1\r", "B 2\r" }));
    QCOMPARE(queue.receiveQueueSize(), 2);
}

QTEST_GUILESS_MAIN(TestLinkQueue)
#include "tst_linkqueue.moc"
