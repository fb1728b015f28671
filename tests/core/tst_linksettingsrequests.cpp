// Which request a link-settings reply or time-out belongs to, with several requests in flight.
#include "link/LinkMode.h"
#include "protocol/LinkSettingsRequests.h"

#include <QtTest>

namespace {

using Requests = LinkSettingsRequests;

// "nr" network read, "bw" baud write, ...; a trailing "@1" gives the serial link (TCP otherwise).
Requests::Request Parse(const QString &code)
{
    Requests::Request request;
    request.topic = code.startsWith(QLatin1Char('n')) ? Requests::Topic::Network : Requests::Topic::BaudRate;
    request.kind = code.at(1) == QLatin1Char('r') ? Requests::Kind::Read : Requests::Kind::Write;
    request.link = code.endsWith(QLatin1String("@1")) ? int(LinkModeSerial) : int(LinkModeTcp);
    request.before = QStringList { code };
    return request;
}

} // namespace

class TestLinkSettingsRequests : public QObject
{
    Q_OBJECT

private slots:
    void replyTakesItsRequest_data();
    void replyTakesItsRequest();
    void timeoutTakesItsRequest_data();
    void timeoutTakesItsRequest();
};

void TestLinkSettingsRequests::replyTakesItsRequest_data()
{
    QTest::addColumn<QStringList>("inFlight");
    QTest::addColumn<bool>("network"); // the reply's topic
    QTest::addColumn<int>("link");
    QTest::addColumn<QString>("taken"); // empty: none
    QTest::addColumn<int>("left");

    QTest::newRow("read then baud write, network reply") << QStringList { "nr", "bw" } << true << int(LinkModeTcp) << "nr" << 1;
    QTest::newRow("read then baud write, baud reply") << QStringList { "nr", "bw" } << false << int(LinkModeTcp) << "bw" << 1;
    QTest::newRow("two network requests, oldest first") << QStringList { "nw", "nr" } << true << int(LinkModeTcp) << "nw" << 1;
    QTest::newRow("nothing of the topic asked") << QStringList { "br" } << true << int(LinkModeTcp) << "" << 1;
    QTest::newRow("nothing asked") << QStringList {} << false << int(LinkModeSerial) << "" << 0;
    // Requests of a link no longer in use are never answered on this one.
    QTest::newRow("request of the other link") << QStringList { "nw@1", "nr" } << true << int(LinkModeTcp) << "nr" << 0;
    QTest::newRow("only the other link's request") << QStringList { "bw@1" } << false << int(LinkModeTcp) << "" << 0;
}

void TestLinkSettingsRequests::replyTakesItsRequest()
{
    QFETCH(QStringList, inFlight);
    QFETCH(bool, network);
    QFETCH(int, link);
    QFETCH(QString, taken);
    QFETCH(int, left);

    Requests requests;
    for (const QString &code : inFlight)
        requests.add(Parse(code));
    Requests::Request request;
    const bool found = requests.takeAnswered(network ? Requests::Topic::Network : Requests::Topic::BaudRate, link, &request);
    QCOMPARE(found, !taken.isEmpty());
    if (found)
        QCOMPARE(request.before, QStringList { taken });
    QCOMPARE(requests.count(), left);
}

void TestLinkSettingsRequests::timeoutTakesItsRequest_data()
{
    QTest::addColumn<QStringList>("inFlight");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("taken"); // empty: none

    QTest::newRow("network read") << QStringList { "bw", "nr" } << "GET NETWORK-INFO\r" << "nr";
    QTest::newRow("baud write") << QStringList { "br", "bw" } << "SET BAUDRATE 19200\r" << "bw";
    QTest::newRow("network write") << QStringList { "nr", "nw" } << "SET NETWORK-INFO 1.2.3.4 2000 255.0.0.0 1.2.3.1\r" << "nw";
    QTest::newRow("other command") << QStringList { "nr" } << "GET OUT1 VKA\r" << "";
    QTest::newRow("keyword inside another word") << QStringList { "br" } << "GET BAUDRATES\r" << "";
    QTest::newRow("not a request") << QStringList { "nr" } << "NETWORK-INFO 1.2.3.4\r" << "";
    QTest::newRow("other link's read") << QStringList { "br@1" } << "GET BAUDRATE\r" << "";
}

void TestLinkSettingsRequests::timeoutTakesItsRequest()
{
    QFETCH(QStringList, inFlight);
    QFETCH(QString, command);
    QFETCH(QString, taken);

    Requests requests;
    for (const QString &code : inFlight)
        requests.add(Parse(code));
    Requests::Request request;
    QCOMPARE(requests.takeTimedOut(command, LinkModeTcp, &request), !taken.isEmpty());
    if (!taken.isEmpty())
        QCOMPARE(request.before, QStringList { taken });
    QCOMPARE(requests.count(), inFlight.size() - (taken.isEmpty() ? 0 : 1));
}

QTEST_APPLESS_MAIN(TestLinkSettingsRequests)
#include "tst_linksettingsrequests.moc"
