// The serial ports offered to the operator: every reported port once, in the system's order,
// then the stable by-id names, each described by the device it leads to.
#include "link/LinkSerialPortList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using Port = LinkSerialPortList::Port;
using Ports = QVector<Port>;
Q_DECLARE_METATYPE(Ports)

class TestLinkSerialPortList : public QObject
{
    Q_OBJECT

private slots:
    void combine_data();
    void combine();
    void byIdFolder();
    void displayText_data();
    void displayText();
};

void TestLinkSerialPortList::combine_data()
{
    QTest::addColumn<Ports>("reported");
    QTest::addColumn<Ports>("byId");
    QTest::addColumn<Ports>("offered");

    const Port s0 { "/dev/ttyS0", "" };
    const Port usb { "/dev/ttyUSB0", "FT232R USB UART" };
    const Port link { "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0", "/dev/ttyUSB0" };
    QTest::newRow("nothing") << Ports {} << Ports {} << Ports {};
    // Ports without a description or a maker (built-in UARTs) are offered too.
    QTest::newRow("reported order kept") << Ports { usb, s0 } << Ports {} << Ports { usb, s0 };
    QTest::newRow("by-id names after the reported ones") << Ports { s0, usb } << Ports { link }
                                                         << Ports { s0, usb, link };
    QTest::newRow("a name reported twice is offered once") << Ports { usb, { "/dev/ttyUSB0", "" } } << Ports {}
                                                           << Ports { usb };
    QTest::newRow("nameless entries left out") << Ports { { "", "ghost" }, s0 } << Ports {} << Ports { s0 };
}

void TestLinkSerialPortList::combine()
{
    QFETCH(Ports, reported);
    QFETCH(Ports, byId);
    QFETCH(Ports, offered);

    QCOMPARE(LinkSerialPortList::Combine(reported, byId), offered);
}

// Links that lead to a device are listed by name with their target; a link to nothing (an
// unplugged adapter) and sub-folders are not.
void TestLinkSerialPortList::byIdFolder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile target(dir.filePath(QStringLiteral("ttyUSB3")));
    QVERIFY(target.open(QIODevice::WriteOnly));
    target.close();
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("by-id")));
    const QString folder = dir.filePath(QStringLiteral("by-id"));
    QVERIFY(QFile::link(target.fileName(), folder + QStringLiteral("/usb-B-if00-port0")));
    QVERIFY(QFile::link(target.fileName(), folder + QStringLiteral("/usb-A-if00-port0")));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), folder + QStringLiteral("/usb-C-if00-port0")));
    QVERIFY(QDir(folder).mkdir(QStringLiteral("sub")));

    const Ports ports = LinkSerialPortList::ById(folder);

    QCOMPARE(ports, (Ports { { folder + QStringLiteral("/usb-A-if00-port0"), target.fileName() },
                        { folder + QStringLiteral("/usb-B-if00-port0"), target.fileName() } }));
    QVERIFY(LinkSerialPortList::ById(dir.filePath(QStringLiteral("missing"))).isEmpty());
}

void TestLinkSerialPortList::displayText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("shown");

    QTest::newRow("with description") << "/dev/ttyUSB0" << "FT232R USB UART" << "/dev/ttyUSB0 (FT232R USB UART)";
    QTest::newRow("without") << "/dev/ttyS0" << "" << "/dev/ttyS0";
}

void TestLinkSerialPortList::displayText()
{
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(QString, shown);

    QCOMPARE(LinkSerialPortList::DisplayText({ name, description }), shown);
}

QTEST_GUILESS_MAIN(TestLinkSerialPortList)
#include "tst_linkserialportlist.moc"
