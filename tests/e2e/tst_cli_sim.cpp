// tavilon-cli against tavilon-sim, both as processes, over TCP and over a pseudo-terminal. What
// the client reports is checked against a twin of the simulated device (the simulator's own
// device logic, fed the same requests), so the expected state is the simulator's, not ours.
#include "protocol/DeviceState.h"
#include "protocol/ValueWords.h"
#include "sim/SimDevice.h"
#include "sim/SimEdid.h"
#include "support/TestPaths.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

const char DeviceModel[] = "RZ7P52KN";
constexpr int SimStartMs = 5000;
constexpr int CliRunMs = 30000;

// One running simulator with a TCP port of its own and a pseudo-terminal in a temporary
// directory.
class SimProcess
{
public:
    ~SimProcess() { stop(); }

    bool start(const QStringList &extraArguments)
    {
        if (!m_dir.isValid())
            return false;
        m_ptyPath = m_dir.filePath(QStringLiteral("tty"));
        m_process.setProgram(TestBinDir() + QStringLiteral("/tavilon-sim"));
        m_process.setArguments(QStringList { "--tcp", "127.0.0.1:0", "--pty", m_ptyPath } + extraArguments);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start();
        if (!m_process.waitForStarted(SimStartMs))
            return false;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < SimStartMs) {
            readLog();
            if (m_port != 0 && (m_log.contains("\nPTY ") || m_log.startsWith("PTY ")))
                return true;
            m_process.waitForReadyRead(100);
        }
        return false;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(3000);
        }
    }

    quint16 port() const { return m_port; }
    QString ptyPath() const { return m_ptyPath; }
    QString tempPath(const QString &name) const { return m_dir.filePath(name); }

    // Everything the simulator has logged so far: one line per connection event, request and
    // answer.
    QByteArray log()
    {
        // The simulator writes as it goes; take everything until it has been quiet a moment.
        while (m_process.waitForReadyRead(100))
            readLog();
        readLog();
        return m_log;
    }

    // The network settings the simulator reports: where it listens.
    SimNetwork network() const
    {
        return SimNetwork { QStringLiteral("127.0.0.1"), QString::number(m_port),
            QStringLiteral("255.255.255.0"), QStringLiteral("127.0.0.1") };
    }

private:
    void readLog()
    {
        m_log += m_process.readAllStandardOutput();
        if (m_port == 0) {
            const int at = m_log.indexOf("TCP 127.0.0.1:");
            const int end = m_log.indexOf('\n', at);
            if (at >= 0 && end > at)
                m_port = quint16(m_log.mid(at + 14, end - at - 14).trimmed().toUInt());
        }
    }

    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_ptyPath;
    quint16 m_port = 0;
    QByteArray m_log;
};

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;

    QList<QByteArray> errLines() const
    {
        return err.trimmed().isEmpty() ? QList<QByteArray>() : err.trimmed().split('\n');
    }
    QString describe() const
    {
        return QStringLiteral("exit %1, out [%2], err [%3]")
            .arg(exitCode)
            .arg(QString::fromUtf8(out.trimmed()), QString::fromUtf8(err.trimmed()));
    }
};

CliResult RunCli(const QStringList &arguments)
{
    QProcess process;
    process.setProgram(TestBinDir() + QStringLiteral("/tavilon-cli"));
    process.setArguments(arguments);
    process.start();
    CliResult result;
    if (!process.waitForStarted(5000))
        return result;
    if (!process.waitForFinished(CliRunMs)) {
        process.kill();
        process.waitForFinished(3000);
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

QStringList LinkArguments(const QString &transport, SimProcess &sim)
{
    if (transport == QLatin1String("tcp"))
        return { "--tcp", QStringLiteral("127.0.0.1:%1").arg(sim.port()) };
    return { "--serial", sim.ptyPath() };
}

QJsonValue Word(const ValueWordList &list, quint32 index)
{
    return QJsonValue(list.text(index));
}

// Field n (1-based) after the keyword of the twin's answer to a request.
QString AnswerField(SimDevice &twin, const QByteArray &request, const QByteArray &keyword, int n)
{
    for (const QByteArray &line : twin.handleRequest(request).requesterLines()) {
        const int at = line.indexOf(keyword + ' ');
        if (at >= 0)
            return QString::fromLatin1(line.mid(at + keyword.size() + 1))
                .split(QLatin1Char(' '))
                .value(n - 1);
    }
    return QString();
}

bool IsMultiWindowMode(quint32 mode)
{
    return mode == ModePbp || mode == Mode3xWin || mode == Mode4xWin;
}

// The state of the twin in the form `tavilon-cli sync` prints.
QJsonObject ExpectedState(SimDevice &twin, const QString &transport)
{
    const SimState &state = twin.state();
    QJsonObject expected;
    expected.insert("model", QLatin1String(DeviceModel));
    expected.insert("inputCount", SimInputCount);
    expected.insert("outputCount", SimOutputCount);

    QJsonArray routes;
    QJsonArray multiview;
    QJsonArray outputs;
    for (int o = 0; o < SimOutputCount; ++o) {
        const SimOutput &output = state.live.outputs[o];
        const SimMultiview &view = output.multiview;
        routes.append(int(view.windowInput[0]) + 1);
        QJsonArray windows;
        for (quint32 w = 0; w < 4; ++w)
            windows.append(w < WindowCountOfMode[view.mode] ? QJsonValue(int(view.windowInput[w]) + 1)
                                                            : QJsonValue(QJsonValue::Null));
        const bool pip = view.mode == ModePip;
        const bool multi = IsMultiWindowMode(view.mode);
        QJsonObject object;
        object.insert("mode", Word(MultiviewModeWords, view.mode));
        object.insert("windows", windows);
        object.insert("aspect", multi ? Word(AspectWords, view.aspect) : QJsonValue());
        object.insert("layout", multi ? QJsonValue(int(view.layout) + 1) : QJsonValue());
        object.insert(
            "maxMode", multi ? QJsonValue(int(SimDevice::MaxLayoutOfMode(view.mode))) : QJsonValue());
        object.insert("pipPos", pip ? Word(PipPosWords, view.pipPos) : QJsonValue());
        object.insert("pipSize", pip ? Word(PipSizeWords, view.pipSize) : QJsonValue());
        object.insert("audioSource", Word(AudioSourceWords, view.audioSource));
        object.insert("vka", Word(VkaWords, view.vka));
        object.insert("itc", Word(OnOffWords, view.itc));
        multiview.append(object);

        const QByteArray request = QByteArrayLiteral("GET OUT") + QByteArray::number(o + 1) + " OUT-INFO";
        outputs.append(QJsonObject { { "hdcp", Word(HdcpWords, output.hdcp) },
            { "inputFormat", AnswerField(twin, request, "OUT-INFO", 2) },
            { "resolution", Word(OutResolutionWords, output.resolution) } });
    }
    expected.insert("routes", routes);
    expected.insert("multiview", multiview);
    expected.insert("outputs", outputs);

    QJsonArray cells;
    const SimWall &wall = state.live.wall;
    for (quint32 c = 0; c < wall.rows * wall.cols; ++c) {
        const quint32 output = wall.cellOutput.at(int(c));
        const SimScreen &screen = wall.screens[output];
        cells.append(QJsonObject { { "output", int(output) + 1 },
            { "input", int(state.live.outputs[output].multiview.windowInput[0]) + 1 },
            { "spliced", (screen.flags & 1) != 0 }, { "singleExit", (screen.flags & 4) != 0 },
            { "anchor", int(screen.anchor) },
            { "edges",
                QJsonObject { { "left", int(screen.edges[0]) }, { "right", int(screen.edges[1]) },
                    { "up", int(screen.edges[2]) }, { "bottom", int(screen.edges[3]) } } } });
    }
    expected.insert(
        "wall", QJsonObject { { "rows", int(wall.rows) }, { "cols", int(wall.cols) }, { "cells", cells } });

    QJsonArray inputs;
    for (int i = 0; i < SimInputCount; ++i) {
        inputs.append(QJsonObject {
            { "format",
                AnswerField(twin, QByteArrayLiteral("GET IN") + QByteArray::number(i + 1) + " IN-INFO",
                    "IN-INFO", 2) },
            { "audio", Word(InAudioWords, state.live.inputAudio[i]) } });
    }
    expected.insert("inputs", inputs);

    if (transport == QLatin1String("tcp")) {
        expected.insert("network",
            QJsonObject { { "ip", state.network.ip }, { "port", state.network.port },
                { "mask", state.network.mask }, { "gateway", state.network.gateway } });
    } else {
        expected.insert("baudRate", state.baudrate);
    }
    return expected;
}

QJsonObject ParseState(const CliResult &result)
{
    return QJsonDocument::fromJson(result.out).object();
}

QString StateDifference(const QJsonObject &actual, const QJsonObject &expected)
{
    QStringList lines;
    for (const QString &key : expected.keys()) {
        if (actual.value(key) != expected.value(key)) {
            lines << QStringLiteral("%1: got %2, expected %3")
                         .arg(key,
                             QString::fromUtf8(QJsonDocument(QJsonObject { { key, actual.value(key) } })
                                                   .toJson(QJsonDocument::Compact)),
                             QString::fromUtf8(QJsonDocument(QJsonObject { { key, expected.value(key) } })
                                                   .toJson(QJsonDocument::Compact)));
        }
    }
    for (const QString &key : actual.keys()) {
        if (!expected.contains(key))
            lines << QStringLiteral("unexpected key %1").arg(key);
    }
    return lines.join(QLatin1Char('\n'));
}

QByteArray Trimmed(const QByteArray &line)
{
    return line.trimmed();
}

QList<QByteArray> TrimmedLines(const QList<QByteArray> &lines)
{
    QList<QByteArray> result;
    for (const QByteArray &line : lines)
        result << Trimmed(line);
    return result;
}

QByteArray HexText(const QByteArray &bytes)
{
    return bytes.toHex(' ').toUpper();
}

// A port on 127.0.0.1 that nobody listens on (taken from the system, then given back).
quint16 ClosedPort()
{
    QTcpServer server;
    server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
    const quint16 port = server.serverPort();
    server.close();
    return port;
}

} // namespace

class TestCliSim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void syncReportsTheSimulatorState_data();
    void syncReportsTheSimulatorState();
    void commandsSurviveARoundTrip_data();
    void commandsSurviveARoundTrip();
    void edidSurvivesARoundTrip_data();
    void edidSurvivesARoundTrip();
    void mutedRequestIsATimeoutAndTheNextGoesOut_data();
    void mutedRequestIsATimeoutAndTheNextGoesOut();
    void droppedConnectionIsReconnectedForTheNextCommand();
    void otherModelIsRefused_data();
    void otherModelIsRefused();
    void failuresGiveTheirExitStatus_data();
    void failuresGiveTheirExitStatus();
    void linkSettingsCommands_data();
    void linkSettingsCommands();

private:
    void addTransportRows();
};

void TestCliSim::initTestCase()
{
    QVERIFY2(QFile::exists(TestBinDir() + "/tavilon-cli"), "tavilon-cli is not built");
    QVERIFY2(QFile::exists(TestBinDir() + "/tavilon-sim"), "tavilon-sim is not built");
}

void TestCliSim::addTransportRows()
{
    QTest::addColumn<QString>("transport");
    QTest::newRow("tcp") << "tcp";
    QTest::newRow("serial") << "serial";
}

void TestCliSim::syncReportsTheSimulatorState_data()
{
    QTest::addColumn<QString>("transport");
    QTest::addColumn<QStringList>("simArguments");
    for (const QString &transport : { QStringLiteral("tcp"), QStringLiteral("serial") }) {
        const QByteArray t = transport.toLatin1();
        QTest::newRow((t + ", CR endings").constData()) << transport << QStringList();
        QTest::newRow((t + ", CR LF endings").constData())
            << transport << QStringList { "--line-ending", "crlf" };
        QTest::newRow((t + ", chunked answers").constData()) << transport << QStringList { "--chunk", "5" };
        QTest::newRow((t + ", garbage between lines").constData())
            << transport << QStringList { "--garbage" };
        QTest::newRow((t + ", all three and latency").constData())
            << transport
            << QStringList { "--line-ending", "crlf", "--chunk", "7", "--garbage", "--latency", "20" };
    }
}

void TestCliSim::syncReportsTheSimulatorState()
{
    QFETCH(QString, transport);
    QFETCH(QStringList, simArguments);
    SimProcess sim;
    QVERIFY(sim.start(simArguments));
    SimDevice twin({ DeviceModel, sim.network() });

    const CliResult result = RunCli(LinkArguments(transport, sim) << "sync");
    QVERIFY2(result.exitCode == 0, qPrintable(result.describe()));
    QVERIFY2(result.err.isEmpty(), result.err.constData());
    QCOMPARE(result.out.count('\n'), 1);
    const QJsonObject actual = ParseState(result);
    const QJsonObject expected = ExpectedState(twin, transport);
    QVERIFY2(actual == expected, qPrintable(StateDifference(actual, expected)));
}

void TestCliSim::commandsSurviveARoundTrip_data()
{
    addTransportRows();
}

// Every change goes to the simulator through the client and to the twin directly; after each
// group a sync must report the twin's state. Loading the saved scene must bring back exactly
// the state that was saved.
void TestCliSim::commandsSurviveARoundTrip()
{
    QFETCH(QString, transport);
    SimProcess sim;
    QVERIFY(sim.start({}));
    SimDevice twin({ DeviceModel, sim.network() });
    const QStringList link = LinkArguments(transport, sim);

    struct Step {
        QStringList command;
        QByteArray request; // what the client must have sent
    };
    auto runSteps = [&](const QList<Step> &steps) {
        for (const Step &step : steps) {
            const CliResult result = RunCli(link + step.command);
            QVERIFY2(result.exitCode == 0, qPrintable(step.command.join(' ') + ": " + result.describe()));
            const QList<QByteArray> answers = TrimmedLines(twin.handleRequest(step.request).requesterLines());
            // The confirmed line is the device's own answer to the request.
            QVERIFY2(answers.contains(Trimmed(result.out)),
                qPrintable(step.command.join(' ') + ": printed " + result.out));
            QVERIFY2(sim.log().contains("<- " + step.request + "\n"), step.request.constData());
        }
    };
    auto syncMatchesTwin = [&](QJsonObject *state) {
        const CliResult result = RunCli(link + QStringList { "sync" });
        QVERIFY2(result.exitCode == 0, qPrintable(result.describe()));
        *state = ParseState(result);
        const QJsonObject expected = ExpectedState(twin, transport);
        QVERIFY2(*state == expected, qPrintable(StateDifference(*state, expected)));
    };

    runSteps({ { { "route", "2", "3" }, "SET IN2 VIDEO OUT3" },
        { { "multiview", "1", "PIP" }, "SET OUT1 MULTIVIEW PIP" },
        { { "window", "1", "2", "4" }, "SET OUT1 WINDOW2 IN HDMI4" },
        { { "multiview", "4", "3xWIN" }, "SET OUT4 MULTIVIEW 3xWIN" },
        { { "scene", "save", "5" }, "SET SAVE SCENE 5" } });
    if (QTest::currentTestFailed())
        return;
    QJsonObject saved;
    syncMatchesTwin(&saved);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(saved.value("routes").toArray().at(2), QJsonValue(2));
    QCOMPARE(saved.value("multiview").toArray().at(0).toObject().value("mode"), QJsonValue("PIP"));

    runSteps({ { { "route-all", "4" }, "SET IN4 VIDEO ALL" },
        { { "multiview", "1", "SINGLE" }, "SET OUT1 MULTIVIEW SINGLE" },
        { { "raw", "SET OUT2 VKA BLACKSCREEN" }, "SET OUT2 VKA BLACKSCREEN" } });
    if (QTest::currentTestFailed())
        return;
    QJsonObject changed;
    syncMatchesTwin(&changed);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(changed != saved);

    runSteps({ { { "scene", "load", "5" }, "SET LOAD SCENE 5" } });
    if (QTest::currentTestFailed())
        return;
    QJsonObject loaded;
    syncMatchesTwin(&loaded);
    if (QTest::currentTestFailed())
        return;
    QVERIFY2(loaded == saved, qPrintable(StateDifference(loaded, saved)));
}

void TestCliSim::edidSurvivesARoundTrip_data()
{
    addTransportRows();
}

void TestCliSim::edidSurvivesARoundTrip()
{
    QFETCH(QString, transport);
    SimProcess sim;
    QVERIFY(sim.start({}));
    const QStringList link = LinkArguments(transport, sim);
    const QString file = sim.tempPath("out2.bin");

    const CliResult read = RunCli(link + QStringList { "edid", "read", "2", file });
    QVERIFY2(read.exitCode == 0, qPrintable(read.describe()));
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray edid = saved.readAll();
    saved.close();
    QCOMPARE(edid, SimEdid::ForOutput(1));

    const CliResult write = RunCli(link + QStringList { "edid", "write", "3", file });
    QVERIFY2(write.exitCode == 0, qPrintable(write.describe()));
    QCOMPARE(Trimmed(write.out), QByteArray("IN3 EDID-USER OK"));
    // The block reached the device byte for byte.
    QVERIFY(sim.log().contains("<- SET IN3 EDID-USER " + HexText(edid) + "\n"));

    // A broken file is refused before anything is sent.
    QByteArray broken = edid;
    broken[60] = char(broken.at(60) ^ 0x10);
    const QString brokenFile = sim.tempPath("broken.bin");
    QFile out(brokenFile);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(broken);
    out.close();
    const int requestsBefore = sim.log().count("<- ");
    const CliResult refused = RunCli(link + QStringList { "edid", "write", "1", brokenFile });
    QCOMPARE(refused.exitCode, 2);
    QCOMPARE(refused.errLines().size(), 1);
    QVERIFY(refused.err.contains("checksum"));
    QCOMPARE(sim.log().count("<- "), requestsBefore);
}

void TestCliSim::mutedRequestIsATimeoutAndTheNextGoesOut_data()
{
    addTransportRows();
}

void TestCliSim::mutedRequestIsATimeoutAndTheNextGoesOut()
{
    QFETCH(QString, transport);
    SimProcess sim;
    QVERIFY(sim.start({ "--mute", "VIDEO OUT3", "--mute", "MATRIX-ROUTE" }));
    SimDevice twin({ DeviceModel, sim.network() });
    const QStringList link = LinkArguments(transport, sim);

    const CliResult route = RunCli(link + QStringList { "route", "1", "3" });
    QCOMPARE(route.exitCode, 6);
    QCOMPARE(route.errLines().size(), 1);
    QVERIFY2(route.err.contains("no reply to SET IN1 VIDEO OUT3"), route.err.constData());
    QVERIFY(route.out.isEmpty());

    // In one run: the routes query is given up and the rest of the burst still goes out.
    const CliResult sync = RunCli(link + QStringList { "sync" });
    QCOMPARE(sync.exitCode, 6);
    QCOMPARE(sync.errLines().size(), 1);
    QVERIFY2(sync.err.contains("GET MATRIX-ROUTE"), sync.err.constData());
    const QByteArray log = sim.log();
    QVERIFY(log.indexOf("<- GET IN1 IN-INFO") > log.lastIndexOf("<- GET MATRIX-ROUTE"));
    const QJsonObject expected = ExpectedState(twin, transport);
    const QJsonObject state = ParseState(sync);
    QCOMPARE(state.value("inputs"), expected.value("inputs"));
    QCOMPARE(state.value("wall"), expected.value("wall"));
}

// The simulator closes each connection after its first request and does not answer the
// closing GET SYNC-OVER, so the client's command is the first send after the drop: the link
// must connect again and carry it.
void TestCliSim::droppedConnectionIsReconnectedForTheNextCommand()
{
    SimProcess sim;
    QVERIFY(sim.start({ "--drop-after", "1", "--mute", "SYNC-OVER" }));
    const CliResult result = RunCli(LinkArguments("tcp", sim) << "route"
                                                              << "1"
                                                              << "2");
    QVERIFY2(result.exitCode == 0, qPrintable(result.describe()));
    QCOMPARE(Trimmed(result.out), QByteArray("IN1 VIDEO OUT2"));
    const QByteArray log = sim.log();
    QVERIFY(log.contains("tcp#1 <- GET MODEL TYPE\n"));
    QVERIFY(log.contains("tcp#1 dropping"));
    QVERIFY(!log.contains("tcp#1 <- SET IN1 VIDEO OUT2"));
    QVERIFY(log.contains("<- SET IN1 VIDEO OUT2\n"));
}

void TestCliSim::otherModelIsRefused_data()
{
    addTransportRows();
}

void TestCliSim::otherModelIsRefused()
{
    QFETCH(QString, transport);
    SimProcess sim;
    QVERIFY(sim.start({ "--model", "RZ9X00" }));
    const CliResult result = RunCli(LinkArguments(transport, sim) << "route"
                                                                  << "1"
                                                                  << "2");
    QCOMPARE(result.exitCode, 5);
    QCOMPARE(result.errLines().size(), 1);
    QVERIFY2(result.err.contains("RZ9X00"), result.err.constData());
    QVERIFY(result.out.isEmpty());
    QVERIFY(sim.log().contains("<- GET MODEL TYPE"));
    QVERIFY(!sim.log().contains("<- SET"));
}

void TestCliSim::failuresGiveTheirExitStatus_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<QString>("transport"); // empty: no simulator, the arguments name the link
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    QTest::newRow("no link option") << QStringList() << QString() << QStringList { "sync" } << 2 << "--tcp";
    QTest::newRow("bad port number") << QStringList() << QString()
                                     << QStringList { "--tcp", "127.0.0.1", "route", "x", "1" } << 2
                                     << "input must be";
    QTest::newRow("input beyond the device")
        << QStringList() << "tcp" << QStringList { "route", "5", "1" } << 2 << "input 5 is out of range";
    QTest::newRow("output beyond the device, serial")
        << QStringList() << "serial" << QStringList { "edid", "read", "9", "/dev/null" } << 2
        << "output 9 is out of range";
    QTest::newRow("nobody listens") << QStringList() << QString()
                                    << QStringList { "--tcp",
                                           QStringLiteral("127.0.0.1:%1").arg(ClosedPort()), "sync" }
                                    << 3 << "cannot connect";
    QTest::newRow("no such serial port")
        << QStringList() << QString() << QStringList { "--serial", "/nonexistent/tty", "sync" } << 3
        << "cannot connect to /nonexistent/tty";
    QTest::newRow("identification muted")
        << QStringList { "--mute", "MODEL TYPE" } << "tcp" << QStringList { "route", "1", "1" } << 4
        << "no answer to GET MODEL TYPE";
    QTest::newRow("identification slower than the timeout")
        << QStringList { "--latency", "1500" } << "serial"
        << QStringList { "--timeout", "400", "route", "1", "1" } << 4 << "no answer to GET MODEL TYPE";
    QTest::newRow("raw line unanswered")
        << QStringList { "--mute", "BOGUS" } << "tcp" << QStringList { "raw", "GET BOGUS" } << 6
        << "no reply to GET BOGUS";
    QTest::newRow("network settings refused before connecting")
        << QStringList() << QString()
        << QStringList { "--tcp", "127.0.0.1", "network", "set", "192.168.0.300", "2000", "255.255.255.0", "192.168.0.1" }
        << 2 << "network settings refused";
    QTest::newRow("reset without confirmation")
        << QStringList() << QString() << QStringList { "--tcp", "127.0.0.1", "reset" } << 2 << "reset --yes";
    QTest::newRow("baud rate off the list")
        << QStringList() << QString() << QStringList { "--tcp", "127.0.0.1", "baud", "set", "14400" } << 2
        << "baud rate must be one of";
}

void TestCliSim::failuresGiveTheirExitStatus()
{
    QFETCH(QStringList, simArguments);
    QFETCH(QString, transport);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    std::unique_ptr<SimProcess> sim;
    QStringList all = arguments;
    if (!transport.isEmpty()) {
        sim.reset(new SimProcess);
        QVERIFY(sim->start(simArguments));
        all = LinkArguments(transport, *sim) + arguments;
    }
    const CliResult result = RunCli(all);
    QVERIFY2(result.exitCode == exitCode, qPrintable(result.describe()));
    const QList<QByteArray> lines = result.errLines();
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.first().startsWith("tavilon-cli: "));
    QVERIFY2(lines.first().contains(message.toUtf8()), lines.first().constData());
}

void TestCliSim::linkSettingsCommands_data()
{
    addTransportRows();
}

// Reads and writes of the device's link settings, each followed by the link the way an
// operator would have to take it next: a moved port over TCP, the new rate over RS232.
void TestCliSim::linkSettingsCommands()
{
    QFETCH(QString, transport);
    SimProcess sim;
    QVERIFY(sim.start({}));
    const bool overTcp = transport == QLatin1String("tcp");
    const SimNetwork factory = sim.network();
    const QString factoryJson = QStringLiteral(R"({"ip":"%1","port":"%2","mask":"%3","gateway":"%4"})")
                                    .arg(factory.ip, factory.port, factory.mask, factory.gateway);
    QStringList link = LinkArguments(transport, sim);
    auto run = [&](const QStringList &command, const QString &printed) {
        const CliResult result = RunCli(link + command);
        QVERIFY2(result.exitCode == 0, qPrintable(command.join(' ') + ": " + result.describe()));
        QCOMPARE(QString::fromUtf8(result.out), printed + '\n');
    };

    run({ "network" }, factoryJson);
    run({ "baud" }, "9600");

    const QString newPort = QString::number(ClosedPort());
    run({ "network", "set", "127.0.0.1", newPort, "255.0.0.0", "127.0.0.1" },
        QStringLiteral(R"({"ip":"127.0.0.1","port":"%1","mask":"255.0.0.0","gateway":"127.0.0.1"})").arg(newPort));
    if (overTcp)
        link = QStringList { "--tcp", "127.0.0.1:" + newPort };
    run({ "network" },
        QStringLiteral(R"({"ip":"127.0.0.1","port":"%1","mask":"255.0.0.0","gateway":"127.0.0.1"})").arg(newPort));

    run({ "baud", "set", "57600" }, "57600");
    if (!overTcp) {
        // The serial side now listens at the new rate only.
        const CliResult stale = RunCli(link + QStringList { "--timeout", "500", "baud" });
        // Exit status 4: the identification went unanswered.
        QVERIFY2(stale.exitCode == 4, qPrintable(stale.describe()));
        link << "--baud" << "57600";
    }
    run({ "baud" }, "57600");

    run({ "reset", "--yes" }, "RESET");
    link = LinkArguments(transport, sim);
    run({ "network" }, factoryJson);
    run({ "baud" }, "9600");
}

QTEST_GUILESS_MAIN(TestCliSim)
#include "tst_cli_sim.moc"
