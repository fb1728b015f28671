// The headless client takes as the reply to its command only a line that came after the link
// wrote that command and that the link's patterns accept; a refusal ends the wait at once.

#include "cli/CliReplyScan.h"
#include "protocol/CommandSet.h"

#include <QtTest>

Q_DECLARE_METATYPE(CliReplyScan::Result)

class TestCliReplyScan : public QObject
{
    Q_OBJECT

private slots:
    void scan_data();
    void scan();
};

void TestCliReplyScan::scan_data()
{
    // The link's history: "sent:LINE" is a write, any other entry a received line.
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<int>("firstSend");
    QTest::addColumn<CliReplyScan::Result>("result");
    QTest::addColumn<QByteArray>("line");

    using R = CliReplyScan::Result;
    const QString sent = QStringLiteral("sent:SET OUT1 PIP SIZE LARGE");
    QTest::newRow("reply after the send") << QStringList { sent, "OUT1 PIP SIZE LARGE" } << 0 << R::Answered
                                          << QByteArray("OUT1 PIP SIZE LARGE");
    // The coupled change reported before the command went out holds the expected text.
    QTest::newRow("status line before the send")
        << QStringList { "OUT1 PIP SIZE USER", sent } << 0 << R::Waiting << QByteArray();
    QTest::newRow("status line before, reply after")
        << QStringList { "OUT1 PIP SIZE USER", sent, "OUT1 PIP SIZE LARGE" } << 0 << R::Answered
        << QByteArray("OUT1 PIP SIZE LARGE");
    QTest::newRow("not sent yet") << QStringList { "OUT1 PIP SIZE LARGE" } << 0 << R::Waiting << QByteArray();
    QTest::newRow("other lines after the send") << QStringList { sent, "OUT2 VKA BLUESCREEN", "OUT1 ITC ON" } << 0
                                                << R::Waiting << QByteArray();
    QTest::newRow("refused") << QStringList { sent, "ERROR: INVALID PARAMETER" } << 0 << R::Refused
                             << QByteArray("ERROR: INVALID PARAMETER");
    QTest::newRow("refusal of an earlier command")
        << QStringList { "ERROR: INVALID PARAMETER", sent, "OUT1 PIP SIZE LARGE" } << 0 << R::Answered
        << QByteArray("OUT1 PIP SIZE LARGE");
    // The same line sent by an earlier command does not count: only sends from firstSend on.
    QTest::newRow("same line sent before, its late reply")
        << QStringList { sent, "sent:GET SYNC-OVER", "OUT1 PIP SIZE LARGE", sent } << 2 << R::Waiting
        << QByteArray();
}

void TestCliReplyScan::scan()
{
    QFETCH(QStringList, history);
    QFETCH(int, firstSend);
    QFETCH(CliReplyScan::Result, result);
    QFETCH(QByteArray, line);

    const QByteArray command("SET OUT1 PIP SIZE LARGE\r");
    const ReplyExpectation expectation
        = MakeReplyExpectation("OUT1 PIP SIZE", int(qstrlen("OUT1 PIP SIZE")), ReplyProfile::Standard);
    QList<QPair<QByteArray, int>> sent;
    QList<QByteArray> received;
    for (const QString &entry : history) {
        if (entry.startsWith(QLatin1String("sent:")))
            sent.append(qMakePair(entry.mid(5).toLatin1() + '\r', received.size()));
        else
            received.append(entry.toLatin1() + '\r');
    }
    CliReplyScan scan(command, expectation, firstSend);
    QByteArray found;
    QCOMPARE(scan.scan(sent, received, &found), result);
    QCOMPARE(found, line);
}

QTEST_GUILESS_MAIN(TestCliReplyScan)
#include "tst_clireplyscan.moc"
