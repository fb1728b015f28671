// The discovery's pieces that decide without a network: the probe dialogue's reading of the
// replies, and which hosts a subnet scan tries.
#include "protocol/DeviceDiscovery.h"
#include "protocol/Ipv4Subnet.h"
#include "protocol/ProbeDialogue.h"

#include <QHostAddress>
#include <QtTest>

class TestDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void dialogueReadsReplies_data();
    void dialogueReadsReplies();
    void subnetHosts_data();
    void subnetHosts();
    void refusesBadSubnets_data();
    void refusesBadSubnets();
    void planHostsAreDistinct();
};

void TestDiscovery::dialogueReadsReplies_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<bool>("finished");
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QString>("version");

    QTest::newRow("device") << QList<QByteArray> { "MODEL TYPE RZ7P52KN\r", "MAIN VERSION V1.2.3\r" } << true
                            << "RZ7P52KN" << true << "V1.2.3";
    QTest::newRow("echoes are not replies")
        << QList<QByteArray> { "GET MODEL TYPE\r", "MODEL TYPE RZ7P52KN\r", "GET MAIN VERSION\r", "MAIN VERSION V9\r" }
        << true << "RZ7P52KN" << true << "V9";
    QTest::newRow("CR LF and pieces") << QList<QByteArray> { "MODEL TY", "PE RZ7P52KN\r\nMAIN VER", "SION V2\r\n" } << true
                                      << "RZ7P52KN" << true << "V2";
    QTest::newRow("junk before the reply") << QList<QByteArray> { "\x01\x02garbage\r", "\nMODEL TYPE RZ7P52KN\r" } << false
                                           << "RZ7P52KN" << true << "";
    QTest::newRow("another model ends at once") << QList<QByteArray> { "MODEL TYPE RZ7P52KNX\r", "MAIN VERSION V1\r" } << true
                                                << "RZ7P52KNX" << false << "";
    QTest::newRow("silent") << QList<QByteArray> { "OK\r" } << false << "" << false << "";
}

void TestDiscovery::dialogueReadsReplies()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(bool, finished);
    QFETCH(QString, model);
    QFETCH(bool, expected);
    QFETCH(QString, version);

    ProbeDialogue dialogue;
    QCOMPARE(dialogue.start(), QByteArray("GET MODEL TYPE\r"));
    QList<QByteArray> sent;
    ProbeDialogue::Step step = ProbeDialogue::Step::Waiting;
    for (const QByteArray &chunk : chunks) {
        QByteArray toSend;
        step = dialogue.feed(chunk, &toSend);
        if (step == ProbeDialogue::Step::Send)
            sent.append(toSend);
        if (step == ProbeDialogue::Step::Finished)
            break;
    }
    QCOMPARE(step == ProbeDialogue::Step::Finished, finished);
    QCOMPARE(dialogue.model(), model);
    QCOMPARE(dialogue.isExpectedModel(), expected);
    QCOMPARE(dialogue.mainVersion(), version);
    // Only a device of our model is asked anything beyond its model.
    QCOMPARE(sent, expected ? QList<QByteArray> { "GET MAIN VERSION\r" } : QList<QByteArray> {});
}

void TestDiscovery::subnetHosts_data()
{
    QTest::addColumn<QString>("subnet");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("/24") << "127.0.0.0/24" << 254 << "127.0.0.1" << "127.0.0.254";
    QTest::newRow("/24 named by a host") << "127.0.0.77/24" << 254 << "127.0.0.1" << "127.0.0.254";
    QTest::newRow("/8 is cut to the /24 around it") << "127.1.2.3/8" << 254 << "127.1.2.1" << "127.1.2.254";
    QTest::newRow("/28") << "127.0.0.20/28" << 14 << "127.0.0.17" << "127.0.0.30";
    QTest::newRow("/31 has no broadcast") << "127.0.0.5/31" << 2 << "127.0.0.4" << "127.0.0.5";
    QTest::newRow("bare address") << "127.0.0.9" << 1 << "127.0.0.9" << "127.0.0.9";
}

void TestDiscovery::subnetHosts()
{
    QFETCH(QString, subnet);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    Ipv4Subnet parsed;
    QVERIFY(Ipv4Subnet::Parse(subnet, &parsed, nullptr));
    const QList<quint32> hosts = parsed.scannedHosts();
    QCOMPARE(hosts.size(), count);
    QCOMPARE(QHostAddress(hosts.first()).toString(), first);
    QCOMPARE(QHostAddress(hosts.last()).toString(), last);
}

void TestDiscovery::refusesBadSubnets_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("three parts") << "127.0.0/24";
    QTest::newRow("part over 255") << "127.0.0.256/24";
    QTest::newRow("prefix 33") << "127.0.0.0/33";
    QTest::newRow("empty prefix") << "127.0.0.0/";
    QTest::newRow("empty part") << "127..0.1";
    QTest::newRow("sign") << "127.0.0.+1";
}

void TestDiscovery::refusesBadSubnets()
{
    QFETCH(QString, text);
    Ipv4Subnet parsed;
    QString error;
    QVERIFY(!Ipv4Subnet::Parse(text, &parsed, &error));
    QVERIFY(error.contains(text));
}

void TestDiscovery::planHostsAreDistinct()
{
    DiscoveryPlan plan;
    Ipv4Subnet wide;
    Ipv4Subnet narrow;
    QVERIFY(Ipv4Subnet::Parse("127.0.0.0/24", &wide, nullptr));
    QVERIFY(Ipv4Subnet::Parse("127.0.0.8/30", &narrow, nullptr));
    plan.subnets = { wide, narrow };
    plan.extraHosts = QStringList { "127.0.0.9", "127.0.1.9", "not an address", "127.0.2.0/24" };
    const QList<quint32> hosts = DeviceDiscovery::HostsOf(plan);
    QCOMPARE(hosts.size(), 255);
    QCOMPARE(QHostAddress(hosts.last()).toString(), QStringLiteral("127.0.1.9"));
}

QTEST_GUILESS_MAIN(TestDiscovery)
#include "tst_discovery.moc"
