// The headless client's routes and names commands against the device simulator: the exact
// route lines the device receives, what is read back and printed, locked outputs left alone,
// and names exported and imported through the program's language file.
#include "support/TestPaths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int WaitMs = 30000;

// The simulator on a free loopback port; its log holds every line it received.
class Simulator
{
public:
    bool start()
    {
        m_process.setProgram(TestBinDir() + QStringLiteral("/tavilon-sim"));
        m_process.setArguments({ "--tcp", "127.0.0.1:0", "--no-pty" });
        m_process.start();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < WaitMs && port.isEmpty()) {
            m_process.waitForReadyRead(100);
            m_log += m_process.readAllStandardOutput();
            const int at = m_log.indexOf("TCP 127.0.0.1:");
            const int end = m_log.indexOf('\n', at);
            if (at >= 0 && end > at)
                port = QString::fromLatin1(m_log.mid(at + 14, end - at - 14)).trimmed();
        }
        return !port.isEmpty();
    }

    ~Simulator()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }

    // The route commands the device received, in order.
    QStringList receivedRoutes()
    {
        while (m_process.waitForReadyRead(100))
            m_log += m_process.readAllStandardOutput();
        m_log += m_process.readAllStandardOutput();
        QStringList lines;
        for (const QByteArray &line : m_log.split('\n')) {
            const int at = line.indexOf("<- SET IN");
            if (at >= 0 && line.contains(" VIDEO "))
                lines << QString::fromLatin1(line.mid(at + 3).trimmed());
        }
        return lines;
    }

    QString port;

private:
    QProcess m_process;
    QByteArray m_log;
};

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// The client copied into a folder of its own, so that its settings folder is a scratch one.
class Client
{
public:
    bool prepare()
    {
        program = m_dir.filePath(QStringLiteral("tavilon-cli"));
        return m_dir.isValid() && QFile::copy(TestBinDir() + QStringLiteral("/tavilon-cli"), program)
            && QDir().mkpath(configDir());
    }

    QString configDir() const { return m_dir.filePath(QStringLiteral("APP/ConfigFile")); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

    Run run(const QString &port, const QStringList &arguments) const
    {
        QProcess process;
        process.start(program, QStringList { "--tcp", "127.0.0.1:" + port } + arguments);
        Run result;
        if (!process.waitForFinished(WaitMs))
            return result;
        result.exitCode = process.exitCode();
        result.out = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        result.err = QString::fromUtf8(process.readAllStandardError()).trimmed();
        return result;
    }

    QString program;

private:
    QTemporaryDir m_dir;
};

bool WriteFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCliRoutes : public QObject
{
    Q_OBJECT

private slots:
    void routes_data();
    void routes();
    void namesImport_data();
    void namesImport();
};

void TestCliRoutes::routes_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QByteArray>("locks");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QStringList>("received");
    QTest::addColumn<QString>("err");

    QTest::newRow("one command per input, outputs grouped")
        << QStringList { "2", "2", "3", "1" } << QByteArray() << 0 << "{\"routes\":[2,2,3,1],\"skippedLocked\":[]}"
        << QStringList { "SET IN1 VIDEO OUT4", "SET IN2 VIDEO OUT1,2", "SET IN3 VIDEO OUT3" } << "";
    QTest::newRow("every output to one input is one command")
        << QStringList { "4", "4", "4", "4" } << QByteArray() << 0 << "{\"routes\":[4,4,4,4],\"skippedLocked\":[]}"
        << QStringList { "SET IN4 VIDEO OUT1,2,3,4" } << "";
    QTest::newRow("a locked output that would change is left alone and reported")
        << QStringList { "3", "3", "3", "3" } << QByteArray("2\r\n") << 1
        << "{\"routes\":[3,2,3,3],\"skippedLocked\":[2]}" << QStringList { "SET IN3 VIDEO OUT1,3,4" }
        << "tavilon-cli: outputs 2 are locked and were left as they are";
    QTest::newRow("a locked output already right is no failure")
        << QStringList { "1", "2", "4", "4" } << QByteArray("2\r\n") << 0
        << "{\"routes\":[1,2,4,4],\"skippedLocked\":[]}"
        << QStringList { "SET IN1 VIDEO OUT1", "SET IN4 VIDEO OUT3,4" } << "";
    QTest::newRow("too few outputs sends nothing") << QStringList { "1", "2", "3" } << QByteArray() << 2 << ""
                                                   << QStringList()
                                                   << "tavilon-cli: routes needs one input for each of the device's 4 outputs, got 3";
    QTest::newRow("an input the device lacks sends nothing")
        << QStringList { "1", "5", "3", "4" } << QByteArray() << 2 << "" << QStringList()
        << "tavilon-cli: input 5 (for output 2) is out of range: the device has inputs 1 to 4";
}

void TestCliRoutes::routes()
{
    QFETCH(QStringList, inputs);
    QFETCH(QByteArray, locks);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QStringList, received);
    QFETCH(QString, err);

    Simulator sim;
    QVERIFY(sim.start());
    Client client;
    QVERIFY(client.prepare());
    if (!locks.isEmpty())
        QVERIFY(WriteFile(client.configDir() + QStringLiteral("/output-locks.ini"), locks));

    const Run run = client.run(sim.port, QStringList { "routes" } + inputs);
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, out);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(sim.receivedRoutes(), received);
}

void TestCliRoutes::namesImport_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("input2"); // in the language file afterwards

    QTest::newRow("changes applied and listed")
        << QByteArray("kind,number,name\r\ninput,2,\"Cam, left\"\r\noutput,1,Output1\r\n") << 0
        << "{\"changes\":[{\"from\":\"Input2\",\"kind\":\"input\",\"number\":2,\"to\":\"Cam, left\"}],\"refused\":[]}"
        << "Cam, left";
    QTest::newRow("a refused row changes nothing")
        << QByteArray("kind,number,name\r\ninput,2,Camera\r\noutput,9,Ninth\r\n") << 1
        << "{\"changes\":[{\"from\":\"Input2\",\"kind\":\"input\",\"number\":2,\"to\":\"Camera\"}],"
           "\"refused\":[{\"line\":3,\"reason\":\"Row 3: the device has no such port\"}]}"
        << "Input2";
}

void TestCliRoutes::namesImport()
{
    QFETCH(QByteArray, csv);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, input2);

    Simulator sim;
    QVERIFY(sim.start());
    Client client;
    QVERIFY(client.prepare());
    const QString csvPath = client.file(QStringLiteral("names.csv"));
    QVERIFY(WriteFile(csvPath, csv));

    const Run imported = client.run(sim.port, { "names", "import", csvPath });
    QCOMPARE(imported.out, out);
    QCOMPARE(imported.exitCode, exitCode);

    // The next export reads the program's language file.
    const QString exported = client.file(QStringLiteral("exported.csv"));
    const Run exportRun = client.run(sim.port, { "names", "export", exported });
    QCOMPARE(exportRun.exitCode, 0);
    const QByteArray content = ReadFile(exported);
    QVERIFY2(content.startsWith("kind,number,name\r\ninput,1,Input1\r\ninput,2,"), content.constData());
    const QByteArray quoted = input2.contains(QLatin1Char(',')) ? '"' + input2.toUtf8() + '"' : input2.toUtf8();
    QVERIFY2(content.contains("input,2," + quoted + "\r\n"), content.constData());
    QCOMPARE(content.count("\r\n"), 9);
    // The language file, not the settings file, holds the names; a refused import wrote none.
    const QByteArray language = ReadFile(client.configDir() + QStringLiteral("/language-English.ini"));
    QCOMPARE(language.contains("S_InputName[1]=" + input2.toUtf8() + "\r\n"), exitCode == 0);
}

QTEST_GUILESS_MAIN(TestCliRoutes)
#include "tst_cli_routes.moc"
