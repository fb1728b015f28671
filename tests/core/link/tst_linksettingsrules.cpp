// The dotted-quad rule of the link settings: what the program offers to the device or uses to
// connect must be four decimal numbers the device itself accepts.
#include "link/LinkSettingsRules.h"

#include <QtTest>

class TestLinkSettingsRules : public QObject
{
    Q_OBJECT

private slots:
    void dottedQuad_data();
    void dottedQuad();
};

void TestLinkSettingsRules::dottedQuad_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::newRow("address") << "192.168.0.247" << true;
    QTest::newRow("all zeros") << "0.0.0.0" << true;
    QTest::newRow("all 255") << "255.255.255.255" << true;
    QTest::newRow("loopback") << "127.0.0.1" << true;
    QTest::newRow("empty last part") << "127.0.0." << false;
    QTest::newRow("empty first part") << ".0.0.1" << false;
    QTest::newRow("dots only") << "..." << false;
    QTest::newRow("leading zeros everywhere") << "01.002.0003.00004" << false;
    QTest::newRow("one leading zero") << "192.168.01.1" << false;
    QTest::newRow("zero written twice") << "192.168.00.1" << false;
    QTest::newRow("part 256") << "192.168.0.256" << false;
    QTest::newRow("part 999") << "999.1.1.1" << false;
    QTest::newRow("four digits") << "1000.1.1.1" << false;
    QTest::newRow("three parts") << "192.168.0" << false;
    QTest::newRow("five parts") << "1.2.3.4.5" << false;
    QTest::newRow("trailing dot") << "1.2.3.4." << false;
    QTest::newRow("sign") << "+1.2.3.4" << false;
    QTest::newRow("space inside") << "1.2. 3.4" << false;
    QTest::newRow("letter") << "1.2.3.a" << false;
    QTest::newRow("full-width digit") << QString::fromUtf8("1.2.3.４") << false;
    QTest::newRow("empty") << "" << false;
}

void TestLinkSettingsRules::dottedQuad()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(LinkIsDottedQuad(text), valid);
}

QTEST_APPLESS_MAIN(TestLinkSettingsRules)
#include "tst_linksettingsrules.moc"
