// `tavilon-cli discover` against several simulators on loopback addresses of their own and on
// pseudo-terminals at different rates, a listener that never answers and one that answers as
// another model. Only 127.0.0.0/24 is ever scanned.
#include "link/LinkConnectFailure.h"
#include "support/TestPaths.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

constexpr int StartMs = 5000;
constexpr int CliRunMs = 60000;

// One simulator process; ready once it has printed where it listens.
class Simulator
{
public:
    ~Simulator()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
        m_process.waitForFinished(3000);
    }

    bool start(const QStringList &arguments, const QByteArray &readyWord)
    {
        m_process.setProgram(TestBinDir() + QStringLiteral("/tavilon-sim"));
        m_process.setArguments(arguments);
        m_process.start();
        if (!m_process.waitForStarted(StartMs))
            return false;
        QElapsedTimer clock;
        clock.start();
        QByteArray log;
        while (clock.elapsed() < StartMs) {
            m_process.waitForReadyRead(100);
            log += m_process.readAllStandardOutput();
            if (log.contains(readyWord))
                return true;
        }
        return false;
    }

private:
    QProcess m_process;
};

// A TCP port free on 127.0.0.1 at the moment; the simulators bind it on other loopback hosts.
quint16 SomeFreePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
    return probe.serverPort();
}

struct Run {
    int exitCode = -1;
    QJsonArray list;
    QByteArray err;
};

Run Discover(const QStringList &arguments)
{
    QProcess cli;
    cli.start(TestBinDir() + QStringLiteral("/tavilon-cli"), QStringList { "discover" } + arguments);
    Run run;
    if (!cli.waitForFinished(CliRunMs))
        return run;
    run.exitCode = cli.exitCode();
    run.list = QJsonDocument::fromJson(cli.readAllStandardOutput()).array();
    run.err = cli.readAllStandardError();
    return run;
}

// "address:port status" or "path@rate status", sorted, for comparing whole lists.
QStringList Summary(const QJsonArray &list)
{
    QStringList lines;
    for (const QJsonValue &value : list) {
        const QJsonObject entry = value.toObject();
        QString where = entry.value("link").toString() == QLatin1String("tcp")
            ? QStringLiteral("%1:%2").arg(entry.value("address").toString()).arg(entry.value("port").toInt())
            : QStringLiteral("%1@%2").arg(QFileInfo(entry.value("path").toString()).fileName()).arg(entry.value("baudRate").toInt());
        if (entry.contains("status"))
            where += QLatin1Char(' ') + entry.value("status").toString();
        if (!entry.value("mainVersion").isNull() && entry.value("status").toString() != QLatin1String("other-model"))
            where += QStringLiteral(" v");
        lines.append(where);
    }
    lines.sort();
    return lines;
}

} // namespace

class TestCliDiscover : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void findsExactlyWhatListens_data();
    void findsExactlyWhatListens();
    void findsSerialPortsAtTheirRates();
    void rejectsBadOptions_data();
    void rejectsBadOptions();

private:
    quint16 m_port = 0;
    std::vector<std::unique_ptr<Simulator>> m_simulators;
    QTcpServer m_silent;
    QTemporaryDir m_dir;
};

void TestCliDiscover::initTestCase()
{
    m_port = SomeFreePort();
    QVERIFY(m_port != 0);
    const QString port = QString::number(m_port);
    const QList<QStringList> simulators {
        { "--tcp", "127.0.0.2:" + port, "--no-pty" },
        { "--tcp", "127.0.0.3:" + port, "--no-pty", "--echo" },
        { "--tcp", "127.0.0.5:" + port, "--no-pty", "--model", "OTHER42" },
    };
    for (const QStringList &arguments : simulators) {
        m_simulators.emplace_back(new Simulator);
        QVERIFY2(m_simulators.back()->start(arguments, "TCP "), qPrintable(arguments.join(' ')));
    }
    QVERIFY(m_silent.listen(QHostAddress(QStringLiteral("127.0.0.4")), m_port));
}

void TestCliDiscover::findsExactlyWhatListens_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("expected");
    const QString port = QString::number(m_port);
    const QString a = "127.0.0.2:" + port;
    const QString b = "127.0.0.3:" + port;
    QTest::newRow("devices only") << QStringList { "--subnet", "127.0.0.0/24", "--port", port } << 0
                                  << QStringList { a + " v", b + " v" };
    QTest::newRow("all") << QStringList { "--subnet", "127.0.0.0/24", "--port", port, "--all" } << 0
                         << QStringList { a + " device v", b + " device v", "127.0.0.4:" + port + " silent",
                                "127.0.0.5:" + port + " other-model" };
    QTest::newRow("a /30 holds only .2") << QStringList { "--subnet", "127.0.0.0/30", "--port", port, "--all" } << 0
                                         << QStringList { a + " device v" };
    QTest::newRow("typed host") << QStringList { "--host", "127.0.0.3", "--port", port } << 0 << QStringList { b + " v" };
    QTest::newRow("another model only is no device")
        << QStringList { "--host", "127.0.0.5", "--port", port } << 3 << QStringList {};
    QTest::newRow("nothing on that port") << QStringList { "--subnet", "127.0.0.0/28", "--port", QString::number(m_port + 1) } << 3
                                          << QStringList {};
}

void TestCliDiscover::findsExactlyWhatListens()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, expected);
    const Run run = Discover(QStringList { "--tcp-only" } + arguments);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(Summary(run.list), expected);
}

void TestCliDiscover::findsSerialPortsAtTheirRates()
{
    const QString slow = m_dir.filePath("slow");
    const QString fast = m_dir.filePath("fast");
    Simulator atSlow;
    Simulator atFast;
    QVERIFY(atSlow.start({ "--no-tcp", "--pty", slow, "--baud", "19200" }, "PTY "));
    QVERIFY(atFast.start({ "--no-tcp", "--pty", fast, "--baud", "115200" }, "PTY "));
    const QString missing = m_dir.filePath("missing");
    const Run run = Discover({ "--serial-only", "--serial-port", slow, "--serial-port", fast, "--serial-port", missing, "--all" });
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(Summary(run.list), (QStringList { "fast@115200 device v", "missing@0 unopenable", "slow@19200 device v" }));
    for (const QJsonValue &value : run.list)
        if (value.toObject().value("status").toString() == QLatin1String("unopenable"))
            QCOMPARE(value.toObject().value("problem").toString(),
                LinkConnectFailure::Text(LinkConnectFailure::SerialNoSuchPort, QString()));
}

void TestCliDiscover::rejectsBadOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("subnet without prefix digits") << QStringList { "--subnet", "127.0.0.0/" };
    QTest::newRow("subnet not a quad") << QStringList { "--subnet", "127.0.0/24" };
    QTest::newRow("prefix too long") << QStringList { "--subnet", "127.0.0.0/33" };
    QTest::newRow("port 0") << QStringList { "--port", "0" };
    QTest::newRow("both only options") << QStringList { "--serial-only", "--tcp-only" };
    QTest::newRow("unknown option") << QStringList { "--bogus" };
}

void TestCliDiscover::rejectsBadOptions()
{
    QFETCH(QStringList, arguments);
    const Run run = Discover(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.startsWith("tavilon-cli: "));
}

QTEST_GUILESS_MAIN(TestCliDiscover)
#include "tst_cli_discover.moc"
