// Why a connect failed: the serial port's and the socket's error reports, together with what
// the file system says about the port, give the cause the operator reads.
#include "link/LinkConnectFailure.h"
#include "settings/LanguageTexts.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(LinkConnectFailure::Cause)

using Cause = LinkConnectFailure::Cause;

class TestLinkConnectFailure : public QObject
{
    Q_OBJECT

private slots:
    void serialCause_data();
    void serialCause();
    void socketCause_data();
    void socketCause();
    void examinePath_data();
    void examinePath();
    void textsAreDistinctAndComplete();
};

void TestLinkConnectFailure::serialCause_data()
{
    QTest::addColumn<QSerialPort::SerialPortError>("error");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("characterDevice");
    QTest::addColumn<bool>("readWriteAllowed");
    QTest::addColumn<Cause>("cause");

    QTest::newRow("no such device") << QSerialPort::DeviceNotFoundError << false << false << false
                                    << LinkConnectFailure::SerialNoSuchPort;
    QTest::newRow("vanished between open and look") << QSerialPort::PermissionError << false << false << false
                                                   << LinkConnectFailure::SerialNoSuchPort;
    QTest::newRow("access refused") << QSerialPort::PermissionError << true << true << false
                                    << LinkConnectFailure::SerialPermissionDenied;
    QTest::newRow("locked or exclusive elsewhere") << QSerialPort::PermissionError << true << true << true
                                                   << LinkConnectFailure::SerialBusy;
    QTest::newRow("terminal settings refused") << QSerialPort::UnsupportedOperationError << true << false << true
                                               << LinkConnectFailure::SerialNotSerialDevice;
    QTest::newRow("a folder") << QSerialPort::UnknownError << true << false << true
                              << LinkConnectFailure::SerialNotSerialDevice;
    QTest::newRow("device refusing for another reason") << QSerialPort::OpenError << true << true << true
                                                        << LinkConnectFailure::Unknown;
    QTest::newRow("device without rights, other report") << QSerialPort::OpenError << true << true << false
                                                         << LinkConnectFailure::SerialPermissionDenied;
}

void TestLinkConnectFailure::serialCause()
{
    QFETCH(QSerialPort::SerialPortError, error);
    QFETCH(bool, exists);
    QFETCH(bool, characterDevice);
    QFETCH(bool, readWriteAllowed);
    QFETCH(Cause, cause);

    LinkConnectFailure::PathFacts facts;
    facts.exists = exists;
    facts.characterDevice = characterDevice;
    facts.readWriteAllowed = readWriteAllowed;
    QCOMPARE(LinkConnectFailure::FromSerialError(error, facts), cause);
}

void TestLinkConnectFailure::socketCause_data()
{
    QTest::addColumn<QAbstractSocket::SocketError>("error");
    QTest::addColumn<bool>("bindFailed");
    QTest::addColumn<bool>("stillConnecting");
    QTest::addColumn<Cause>("cause");

    QTest::newRow("refused") << QAbstractSocket::ConnectionRefusedError << false << false
                             << LinkConnectFailure::TcpRefused;
    QTest::newRow("no route") << QAbstractSocket::NetworkError << false << false
                              << LinkConnectFailure::TcpUnreachable;
    QTest::newRow("timed out") << QAbstractSocket::SocketTimeoutError << false << true
                               << LinkConnectFailure::TcpNoAnswer;
    QTest::newRow("still trying, no report") << QAbstractSocket::UnknownSocketError << false << true
                                             << LinkConnectFailure::TcpNoAnswer;
    QTest::newRow("bind failed, whatever the report") << QAbstractSocket::ConnectionRefusedError << true << false
                                                      << LinkConnectFailure::TcpBindFailed;
    QTest::newRow("address not on this computer") << QAbstractSocket::SocketAddressNotAvailableError << false
                                                  << false << LinkConnectFailure::TcpBindFailed;
    QTest::newRow("closed by the device") << QAbstractSocket::RemoteHostClosedError << false << false
                                          << LinkConnectFailure::Unknown;
}

void TestLinkConnectFailure::socketCause()
{
    QFETCH(QAbstractSocket::SocketError, error);
    QFETCH(bool, bindFailed);
    QFETCH(bool, stillConnecting);
    QFETCH(Cause, cause);

    QCOMPARE(LinkConnectFailure::FromSocketError(error, bindFailed, stillConnecting), cause);
}

void TestLinkConnectFailure::examinePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("characterDevice");

    QTest::newRow("missing file") << "missing" << false << false;
    QTest::newRow("plain file") << "plain" << true << false;
    QTest::newRow("folder") << "." << true << false;
    QTest::newRow("character device") << "/dev/null" << true << true;
    QTest::newRow("name under /dev") << "null" << true << true;
}

void TestLinkConnectFailure::examinePath()
{
    QFETCH(QString, path);
    QFETCH(bool, exists);
    QFETCH(bool, characterDevice);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile plain(dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString full = path == QLatin1String("null") || path.startsWith(QLatin1Char('/')) ? path : dir.filePath(path);

    const LinkConnectFailure::PathFacts facts = LinkConnectFailure::ExaminePath(full);

    QCOMPARE(facts.exists, exists);
    QCOMPARE(facts.characterDevice, characterDevice);
    // Everything here that exists is open to this user (/dev/null to everyone).
    QCOMPARE(facts.readWriteAllowed, exists);
}

// Each cause reads differently, says something after the failure text, and an unknown one
// carries the system's words.
void TestLinkConnectFailure::textsAreDistinctAndComplete()
{
    const QList<Cause> causes { LinkConnectFailure::SerialPermissionDenied, LinkConnectFailure::SerialNoSuchPort,
        LinkConnectFailure::SerialBusy, LinkConnectFailure::SerialNotSerialDevice, LinkConnectFailure::TcpRefused,
        LinkConnectFailure::TcpUnreachable, LinkConnectFailure::TcpNoAnswer, LinkConnectFailure::TcpBindFailed };
    QSet<QString> texts;
    for (Cause cause : causes) {
        const QString text = LinkConnectFailure::Text(cause, QStringLiteral("ignored"));
        QVERIFY(!text.trimmed().isEmpty());
        QVERIFY2(!text.contains(QLatin1Char('\n')), qPrintable(text));
        QVERIFY2(!text.contains(QLatin1String("ignored")), qPrintable(text));
        texts.insert(text);
    }
    QCOMPARE(texts.size(), causes.size());
    QVERIFY(LinkConnectFailure::Text(LinkConnectFailure::SerialPermissionDenied, QString()).contains(QLatin1String("dialout")));
    QCOMPARE(LinkConnectFailure::Text(LinkConnectFailure::Unknown, QStringLiteral("Input/output error")),
        SMSG_Cause_Other + QStringLiteral("Input/output error"));
}

QTEST_GUILESS_MAIN(TestLinkConnectFailure)
#include "tst_linkconnectfailure.moc"
