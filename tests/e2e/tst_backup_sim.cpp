// tavilon-cli backup and restore against tavilon-sim, both as processes over TCP: a backup
// restored after many changes gives the device back, a dry run sends nothing, a wall of
// another size is rebuilt, a refused file sends nothing, and a reply that never comes ends
// the restore with the time-out status.
#include "support/TestPaths.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

constexpr int CliRunMs = 60000;

// tavilon-sim on a free port of 127.0.0.1, with its request log.
class Sim
{
public:
    explicit Sim(const QStringList &extraArguments = {})
    {
        m_process.setProgram(TestBinDir() + QStringLiteral("/tavilon-sim"));
        m_process.setArguments(QStringList { "--tcp", "127.0.0.1:0", "--no-pty" } + extraArguments);
        m_process.start();
        m_process.waitForStarted(5000);
        QElapsedTimer clock;
        clock.start();
        while (port.isEmpty() && clock.elapsed() < 5000 && m_process.waitForReadyRead(100)) {
            m_log += m_process.readAllStandardOutput();
            const int at = m_log.indexOf("TCP 127.0.0.1:");
            const int end = m_log.indexOf('\n', at);
            if (at >= 0 && end > at)
                port = QString::fromLatin1(m_log.mid(at + 14, end - at - 14)).trimmed();
        }
    }
    ~Sim()
    {
        m_process.terminate();
        if (!m_process.waitForFinished(3000))
            m_process.kill();
    }
    // What the simulator logged so far (every request it received starts with "<-").
    QByteArray log()
    {
        while (m_process.waitForReadyRead(100))
            m_log += m_process.readAllStandardOutput();
        m_log += m_process.readAllStandardOutput();
        return m_log;
    }

    QString port;

private:
    QProcess m_process;
    QByteArray m_log;
};

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QString describe() const
    {
        return QStringLiteral("exit %1, out [%2], err [%3]")
            .arg(exitCode)
            .arg(QString::fromUtf8(out.left(2000)), QString::fromUtf8(err));
    }
};

Run Cli(const Sim &sim, const QStringList &arguments)
{
    QProcess process;
    process.setProgram(TestBinDir() + QStringLiteral("/tavilon-cli"));
    process.setArguments(QStringList { "--tcp", "127.0.0.1:" + sim.port } + arguments);
    process.start();
    Run run;
    if (!process.waitForStarted(5000) || !process.waitForFinished(CliRunMs)) {
        process.kill();
        process.waitForFinished(3000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QJsonObject ReadJson(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    object.remove(QStringLiteral("date")); // the one field that differs between two backups
    return object;
}

// The requests (SET or GET) the simulator received in a stretch of its log.
QList<QByteArray> Requests(const QByteArray &log, const QByteArray &verb)
{
    QList<QByteArray> requests;
    for (const QByteArray &line : log.split('\n')) {
        const int at = line.indexOf("<- ");
        if (at >= 0 && line.mid(at + 3).startsWith(verb))
            requests << line.mid(at + 3).trimmed();
    }
    return requests;
}

// Changes every kind of setting a backup holds, each through the client.
const QList<QStringList> &ManyChanges()
{
    static const QList<QStringList> changes {
        { "route", "3", "1" },
        { "multiview", "2", "PIP" },
        { "pip", "2", "USER", "USER" },
        { "user-window", "2", "10", "20", "300", "400" },
        { "multiview", "3", "PBP" },
        { "layout", "3", "3" },
        { "user-window", "3", "5", "6", "700", "800" },
        { "window", "3", "2", "4" },
        { "raw", "SET OUT4 ROTATION 90" },
        { "raw", "SET IN2 EDIDMODE 720p" },
        { "raw", "SET IN3 AUDIO-SRC L/R" },
        { "raw", "SET OUT1 HDCP FORCE-OFF" },
        { "raw", "SET OUT4 RESOLUTION 1280x720p60" },
        { "vka", "1", "NOTIMING" },
        { "itc", "4", "ON" },
        { "audio", "4", "HDMI3" },
        { "wall", "size", "1", "2" },
    };
    return changes;
}

} // namespace

class TestBackupSim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void restoreAfterManyChanges();
    void dryRunSendsNothing();
    void restoreAcrossWallSizes();
    void refusedFileSendsNothing_data();
    void refusedFileSendsNothing();
    void silentDeviceEndsWithTimeout();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Sim> m_sim;
    QString path(const QString &name) const { return m_dir.filePath(name); }
};

void TestBackupSim::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_sim.reset(new Sim);
    QVERIFY2(!m_sim->port.isEmpty(), "the simulator did not start");
}

void TestBackupSim::restoreAfterManyChanges()
{
    Run run = Cli(*m_sim, { "backup", path("before.json") });
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    const QJsonObject before = ReadJson(path("before.json"));
    QCOMPARE(before.value("model").toString(), QStringLiteral("RZ7P52KN"));

    for (const QStringList &change : ManyChanges()) {
        run = Cli(*m_sim, change);
        QVERIFY2(run.exitCode == 0, qPrintable(change.join(' ') + ": " + run.describe()));
    }
    run = Cli(*m_sim, { "backup", path("changed.json") });
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    const QJsonObject changed = ReadJson(path("changed.json"));
    for (const char *field : { "routes", "inputs", "outputs", "multiview", "wall" })
        QVERIFY2(changed.value(field) != before.value(field), field);

    run = Cli(*m_sim, { "restore", path("before.json") });
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    const QJsonObject result = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(result.value("matches").toBool(), true);
    QVERIFY(result.value("changes").toArray().size() >= ManyChanges().size() - 3);

    run = Cli(*m_sim, { "backup", path("after.json") });
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(ReadJson(path("after.json")), before);

    // Once equal, a second restore has nothing to send.
    const int logged = m_sim->log().size();
    run = Cli(*m_sim, { "restore", path("before.json") });
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QCOMPARE(Requests(m_sim->log().mid(logged), "SET "), QList<QByteArray>());
}

void TestBackupSim::dryRunSendsNothing()
{
    QVERIFY(Cli(*m_sim, { "backup", path("dry.json") }).exitCode == 0);
    QVERIFY(Cli(*m_sim, { "raw", "SET OUT2 ROTATION 180" }).exitCode == 0);
    QVERIFY(Cli(*m_sim, { "multiview", "1", "4xWIN" }).exitCode == 0);

    const int logged = m_sim->log().size();
    const Run run = Cli(*m_sim, { "restore", path("dry.json"), "--dry-run" });
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    const QList<QByteArray> printed = run.out.trimmed().split('\n');
    QVERIFY2(printed.contains("SET OUT2 ROTATION 0"), run.out.constData());
    QVERIFY2(printed.contains("SET OUT1 MULTIVIEW SINGLE"), run.out.constData());
    QCOMPARE(Requests(m_sim->log().mid(logged), "SET "), QList<QByteArray>());

    const Run sync = Cli(*m_sim, { "sync" });
    QCOMPARE(QJsonDocument::fromJson(sync.out).object().value("multiview").toArray().at(0).toObject().value("mode"),
        QJsonValue("4xWIN"));
    QVERIFY(Cli(*m_sim, { "restore", path("dry.json") }).exitCode == 0);
}

void TestBackupSim::restoreAcrossWallSizes()
{
    // A 2 x 2 wall: one group over the left column with bezels, the right column single.
    QVERIFY(Cli(*m_sim, { "wall", "size", "2", "2" }).exitCode == 0);
    Run run = Cli(*m_sim, { "wall", "splice", "1", "1", "2", "1" });
    QVERIFY2(run.exitCode == 0, qPrintable(run.describe()));
    QVERIFY(Cli(*m_sim, { "wall", "bezel", "1", "1", "3", "4", "5", "6" }).exitCode == 0);
    QVERIFY(Cli(*m_sim, { "wall", "single", "2", "1" }).exitCode == 0);
    QVERIFY(Cli(*m_sim, { "route", "4", "2" }).exitCode == 0);
    QVERIFY(Cli(*m_sim, { "backup", path("wall.json") }).exitCode == 0);
    const QJsonObject wanted = ReadJson(path("wall.json"));
    QCOMPARE(wanted.value("wall").toObject().value("cells").toArray().at(0).toObject().value("spliced"),
        QJsonValue(true));

    // Other sizes, and the same size with another group, whose cancelling must not leave the
    // file's group out.
    const QList<QList<QStringList>> setups {
        { { "wall", "size", "1", "2" } },
        { { "wall", "size", "2", "1" } },
        { { "wall", "size", "2", "2" }, { "wall", "splice", "1", "1", "1", "2" } },
    };
    for (const QList<QStringList> &setup : setups) {
        for (const QStringList &command : setup)
            QVERIFY(Cli(*m_sim, command).exitCode == 0);
        run = Cli(*m_sim, { "restore", path("wall.json") });
        QVERIFY2(run.exitCode == 0, qPrintable(setup.last().join(' ') + ": " + run.describe()));
        QVERIFY(Cli(*m_sim, { "backup", path("wall-after.json") }).exitCode == 0);
        QCOMPARE(ReadJson(path("wall-after.json")), wanted);
    }
}

void TestBackupSim::refusedFileSendsNothing_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("another model") << "model" << QJsonValue("XK100") << "model:";
    QTest::newRow("newer format") << "formatVersion" << QJsonValue(9) << "formatVersion: 9 is newer";
    QTest::newRow("resolution not offered") << "outputs" << QJsonValue("wrong") << "outputs:";
    QTest::newRow("not JSON") << "" << QJsonValue() << "not JSON";
}

void TestBackupSim::refusedFileSendsNothing()
{
    QFETCH(QString, field);
    QFETCH(QJsonValue, value);
    QFETCH(QString, errorPart);
    QVERIFY(Cli(*m_sim, { "backup", path("good.json") }).exitCode == 0);
    QFile good(path("good.json"));
    QVERIFY(good.open(QIODevice::ReadOnly));
    QJsonObject object = QJsonDocument::fromJson(good.readAll()).object();
    object.insert(field, value);
    QFile bad(path("bad.json"));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write(field.isEmpty() ? QByteArray("{\"format\": ") : QJsonDocument(object).toJson());
    bad.close();

    const int logged = m_sim->log().size();
    const Run run = Cli(*m_sim, { "restore", path("bad.json") });
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(errorPart.toUtf8()), run.err.constData());
    QVERIFY2(run.err.contains("nothing sent"), run.err.constData());
    // Refused before the link is opened: the simulator heard nothing at all.
    QCOMPARE(m_sim->log().mid(logged), QByteArray());
}

void TestBackupSim::silentDeviceEndsWithTimeout()
{
    Sim silent({ "--mute", "SET OUT3 ROTATION" });
    QVERIFY(!silent.port.isEmpty());
    QVERIFY(Cli(silent, { "backup", path("silent.json") }).exitCode == 0);
    QJsonObject object = ReadJson(path("silent.json"));
    QJsonArray outputs = object.value("outputs").toArray();
    QJsonObject third = outputs.at(2).toObject();
    third.insert("rotation", "180");
    outputs[2] = third;
    object.insert("outputs", outputs);
    QFile file(path("silent.json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(object).toJson());
    file.close();

    const Run run = Cli(silent, { "--timeout", "1000", "restore", path("silent.json") });
    QCOMPARE(run.exitCode, 6);
    QVERIFY2(run.err.contains("SET OUT3 ROTATION 180"), run.err.constData());
}

QTEST_GUILESS_MAIN(TestBackupSim)
#include "tst_backup_sim.moc"
