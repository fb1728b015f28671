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
    void multiviewSettingsSurviveARoundTrip_data();
    void multiviewSettingsSurviveARoundTrip();
    void settingTheModeLacksIsRefused_data();
    void settingTheModeLacksIsRefused();
    void edidSurvivesARoundTrip_data();
    void edidSurvivesARoundTrip();
    void refusedEdidEndsAtOnce_data();
    void refusedEdidEndsAtOnce();
    void edidReadCanDecode_data();
    void edidReadCanDecode();
    void mutedRequestIsATimeoutAndTheNextGoesOut_data();
    void mutedRequestIsATimeoutAndTheNextGoesOut();
    void droppedConnectionIsReconnectedForTheNextCommand();
    void otherModelIsRefused_data();
    void otherModelIsRefused();
    void failuresGiveTheirExitStatus_data();
    void failuresGiveTheirExitStatus();
    void lostSerialPortStopsTheRunAtOnce();
    void wallEditsReachTheDeviceAndReadBack_data();
    void wallEditsReachTheDeviceAndReadBack();
    void wallEditsOfSeveralLinesFinish_data();
    void wallEditsOfSeveralLinesFinish();
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
        // The echo of GET MODEL TYPE would otherwise be judged as the model reply.
        QTest::newRow((t + ", echoed requests").constData()) << transport << QStringList { "--echo" };
        QTest::newRow((t + ", echoed requests in pieces with CR LF").constData())
            << transport << QStringList { "--echo", "--chunk", "4", "--line-ending", "crlf" };
    }
    // The connection ends after every seventh request: each next command goes out on a new one.
    QTest::newRow("tcp, connection dropped again and again") << "tcp" << QStringList { "--drop-after", "7" };
    QTest::newRow("tcp, dropped connections with echo")
        << "tcp" << QStringList { "--drop-after", "5", "--echo" };
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

void TestCliSim::multiviewSettingsSurviveARoundTrip_data()
{
    addTransportRows();
}

// Each multiview setting goes to the simulator through the client and to the twin directly;
// every line the client prints is one the device answers to its request, and a final sync
// reports the twin's state.
void TestCliSim::multiviewSettingsSurviveARoundTrip()
{
    QFETCH(QString, transport);
    SimProcess sim;
    QVERIFY(sim.start({}));
    SimDevice twin({ DeviceModel, sim.network() });
    const QStringList link = LinkArguments(transport, sim);

    struct Step {
        QStringList command;
        QList<QByteArray> requests; // what the client must have sent, in order
    };
    const QList<Step> steps {
        { { "multiview", "2", "PBP" }, { "SET OUT2 MULTIVIEW PBP" } },
        { { "layout", "2", "3" }, { "SET OUT2 PBP MODE 3" } },
        { { "aspect", "2", "16:9" }, { "SET OUT2 PBP ASPECT 16:9" } },
        { { "user-window", "2", "0", "0", "960", "1080" }, { "SET OUT2 PBP-PRESENTER 0 0 960 1080" } },
        { { "multiview", "3", "PIP" }, { "SET OUT3 MULTIVIEW PIP" } },
        { { "pip", "3", "LeftBottom", "MIDDLE" }, { "SET OUT3 PIP POS LeftBottom", "SET OUT3 PIP SIZE MIDDLE" } },
        { { "pip", "1", "user", "user" }, {} }, // refused below: output 1 is not in PIP
        { { "multiview", "4", "4xWIN" }, { "SET OUT4 MULTIVIEW 4xWIN" } },
        { { "layout", "4", "6" }, { "SET OUT4 4xWIN MODE 6" } },
        { { "audio", "4", "HDMI3" }, { "SET OUT4 AUDIO SOURCE HDMI3" } },
        { { "vka", "1", "BLACKSCREEN" }, { "SET OUT1 VKA BLACKSCREEN" } },
        { { "itc", "2", "ON" }, { "SET OUT2 ITC ON" } },
        { { "multiview", "1", "PIP" }, { "SET OUT1 MULTIVIEW PIP" } },
        { { "pip", "1", "USER", "USER" }, { "SET OUT1 PIP POS USER", "SET OUT1 PIP SIZE USER" } },
        { { "user-window", "1", "100", "200", "640", "360" }, { "SET OUT1 PIP USER 100 200 640 360" } },
    };
    QList<QByteArray> sent;
    for (const Step &step : steps) {
        const CliResult result = RunCli(link + step.command);
        const QString what = step.command.join(' ');
        if (step.requests.isEmpty()) {
            QVERIFY2(result.exitCode == 2, qPrintable(what + ": " + result.describe()));
            continue;
        }
        QVERIFY2(result.exitCode == 0, qPrintable(what + ": " + result.describe()));
        QList<QByteArray> answers;
        for (const QByteArray &request : step.requests) {
            answers += TrimmedLines(twin.handleRequest(request).requesterLines());
            sent << request;
        }
        const QList<QByteArray> printed = TrimmedLines(result.out.trimmed().split('\n'));
        QCOMPARE(printed.size(), step.requests.size());
        for (const QByteArray &line : printed)
            QVERIFY2(answers.contains(line), qPrintable(what + ": printed " + line));
    }

    const CliResult result = RunCli(link + QStringList { "sync" });
    QVERIFY2(result.exitCode == 0, qPrintable(result.describe()));
    const QJsonObject state = ParseState(result);
    const QJsonObject expected = ExpectedState(twin, transport);
    QVERIFY2(state == expected, qPrintable(StateDifference(state, expected)));
    const QJsonArray multiview = state.value("multiview").toArray();
    QCOMPARE(multiview.at(1).toObject().value("layout"), QJsonValue(3));
    QCOMPARE(multiview.at(1).toObject().value("aspect"), QJsonValue("16:9"));
    QCOMPARE(multiview.at(2).toObject().value("pipPos"), QJsonValue("LeftBottom"));
    QCOMPARE(multiview.at(3).toObject().value("audioSource"), QJsonValue("HDMI3"));
    QCOMPARE(multiview.at(0).toObject().value("pipSize"), QJsonValue("USER"));
    // Looked up last: by now the simulator has certainly logged every line it was sent.
    const QByteArray log = sim.log();
    for (const QByteArray &request : sent)
        QVERIFY2(log.contains("<- " + request + "\n"), request.constData());
}

void TestCliSim::settingTheModeLacksIsRefused_data()
{
    QTest::addColumn<QStringList>("setup"); // client commands run first
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("unsent"); // a text no line sent to the device may hold

    const QStringList none;
    QTest::newRow("aspect in SINGLE") << none << QStringList { "aspect", "1", "16:9" }
                                      << "output 1 is in SINGLE mode; an aspect needs PBP" << QByteArray("ASPECT");
    QTest::newRow("aspect in PIP") << QStringList { "multiview 2 PIP" } << QStringList { "aspect", "2", "FULL" }
                                   << "output 2 is in PIP mode" << QByteArray("ASPECT");
    QTest::newRow("layout in SINGLE") << none << QStringList { "layout", "1", "1" } << "a layout needs PBP"
                                      << QByteArray("MODE 1");
    QTest::newRow("layout beyond the mode's count")
        << QStringList { "multiview 3 PBP" } << QStringList { "layout", "3", "4" }
        << "output 3 is in PBP mode, which has layouts 1 to 3" << QByteArray("PBP MODE 4");
    QTest::newRow("pip in 3xWIN") << QStringList { "multiview 1 3xWIN" }
                                  << QStringList { "pip", "1", "LeftTop", "SMALL" } << "need PIP"
                                  << QByteArray("PIP POS");
    QTest::newRow("user window in PIP without USER")
        << QStringList { "multiview 1 PIP" } << QStringList { "user-window", "1", "1", "2", "3", "4" }
        << "a user window needs PIP with a USER position" << QByteArray("PIP USER");
    QTest::newRow("user window in PBP layout 1")
        << QStringList { "multiview 4 PBP" } << QStringList { "user-window", "4", "1", "2", "3", "4" }
        << "output 4 is in PBP mode" << QByteArray("PBP-PRESENTER");
}

void TestCliSim::settingTheModeLacksIsRefused()
{
    QFETCH(QStringList, setup);
    QFETCH(QStringList, command);
    QFETCH(QString, message);
    QFETCH(QByteArray, unsent);
    SimProcess sim;
    QVERIFY(sim.start({}));
    const QStringList link = LinkArguments(QStringLiteral("tcp"), sim);
    for (const QString &line : setup) {
        const CliResult result = RunCli(link + line.split(' '));
        QVERIFY2(result.exitCode == 0, qPrintable(line + ": " + result.describe()));
    }
    const CliResult result = RunCli(link + command);
    QVERIFY2(result.exitCode == 2, qPrintable(result.describe()));
    QVERIFY(result.out.isEmpty());
    const QList<QByteArray> lines = result.errLines();
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().contains(message.toUtf8()), lines.first().constData());
    for (const QByteArray &line : sim.log().split('\n')) {
        if (line.startsWith("<- "))
            QVERIFY2(!line.contains(unsent), line.constData());
    }
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

void TestCliSim::refusedEdidEndsAtOnce_data()
{
    addTransportRows();
}

// A device that refuses the block answers FAIL: the client says so in one line and exits 1,
// a refusal and not a missing reply.
void TestCliSim::refusedEdidEndsAtOnce()
{
    QFETCH(QString, transport);
    SimProcess sim;
    QVERIFY(sim.start({ "--refuse", "EDID-USER", "--latency", "100" }));
    const QStringList link = LinkArguments(transport, sim);
    const QString file = sim.tempPath("good.bin");
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(SimEdid::ForOutput(0));
    out.close();

    const CliResult refused = RunCli(link + QStringList { "edid", "write", "2", file });
    QCOMPARE(refused.exitCode, 1);
    QCOMPARE(refused.errLines().size(), 1);
    QVERIFY2(refused.err.contains("refused the EDID for input 2"), refused.err.constData());
    QVERIFY2(!refused.err.contains("no reply"), refused.err.constData());
    QVERIFY(sim.log().contains("-> IN2 EDID-USER FAIL"));
}

void TestCliSim::edidReadCanDecode_data()
{
    QTest::addColumn<QString>("transport");
    QTest::addColumn<int>("output");
    QTest::addColumn<QString>("displayName");
    QTest::addColumn<int>("preferredWidth");
    QTest::newRow("tcp, television") << "tcp" << 1 << "TAVILON TV" << 3840;
    QTest::newRow("serial, monitor") << "serial" << 2 << "TAVILON MON" << 1920;
}

// The EDID is saved as without --decode, and printed decoded instead of the summary line.
void TestCliSim::edidReadCanDecode()
{
    QFETCH(QString, transport);
    QFETCH(int, output);
    QFETCH(QString, displayName);
    QFETCH(int, preferredWidth);
    SimProcess sim;
    QVERIFY(sim.start({}));
    const QString file = sim.tempPath("decoded.bin");
    const CliResult read = RunCli(LinkArguments(transport, sim)
        + QStringList { "edid", "read", QString::number(output), file, "--decode" });
    QVERIFY2(read.exitCode == 0, qPrintable(read.describe()));
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), SimEdid::ForOutput(output - 1));
    const QJsonObject decoded = QJsonDocument::fromJson(read.out).object();
    QCOMPARE(decoded.value("displayName").toString(), displayName);
    QCOMPARE(decoded.value("manufacturer").toString(), QString("TVN"));
    QCOMPARE(decoded.value("preferredTiming").toObject().value("width").toInt(), preferredWidth);
    QCOMPARE(decoded.value("sound").toBool(), true);
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

// The simulator goes away in the middle of a sync, as an unplugged adapter takes the port.
void TestCliSim::lostSerialPortStopsTheRunAtOnce()
{
    SimProcess sim;
    QVERIFY(sim.start({ "--latency", "300" }));
    QProcess cli;
    cli.setProgram(TestBinDir() + QStringLiteral("/tavilon-cli"));
    cli.setArguments(LinkArguments("serial", sim) << "sync");
    cli.start();
    QVERIFY(cli.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(sim.log().contains("<- GET IN1 IN-INFO"), 10000);

    sim.stop();

    // Without the loss noticed the client would wait through every remaining reply limit.
    QVERIFY(cli.waitForFinished(5000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), 3);
    const QList<QByteArray> lines = cli.readAllStandardError().trimmed().split('\n');
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.first().startsWith("tavilon-cli: "));
    QVERIFY2(lines.first().contains(sim.ptyPath().toUtf8()), lines.first().constData());
}

void TestCliSim::wallEditsReachTheDeviceAndReadBack_data()
{
    addTransportRows();
}

// Each wall edit is a new connection that reads the device's wall first; the line it prints is
// the wall the device then has, and a later read (another connection) gives the same.
void TestCliSim::wallEditsReachTheDeviceAndReadBack()
{
    QFETCH(QString, transport);
    SimProcess sim;
    QVERIFY(sim.start({}));
    const QStringList link = LinkArguments(transport, sim);
    struct Step {
        QStringList command;
        QList<QByteArray> requests; // lines the simulator must have received, in this order
        int exitCode;
    };
    const QByteArray spliced = "SET TVWALL-INFO 4 2 2 1 0 0 0 0 0 0 0 1 0 1 0 0 0 0 0 1 0 2 0 0 0 0 0 1 0 3 0 0 0 0 0";
    const QList<Step> steps {
        { { "wall", "splice", "1", "1", "2", "2" },
            { "SET IN1 VIDEO OUT1,2,3,4", "SET OUT1 WALLPORT 2 2 1 1 0 0 0 0 0", "SET OUT4 WALLPORT 2 2 2 2 0 0 0 0 0",
                spliced },
            0 },
        { { "wall", "single", "1", "2" },
            { "SET TVWALL-INFO 4 2 2 1 0 0 0 0 0 0 0 5 0 1 0 0 0 0 0 1 0 2 0 0 0 0 0 1 0 3 0 0 0 0 0" }, 0 },
        { { "wall", "bezel", "2", "2", "5", "6", "7", "8" },
            { "SET OUT1 WALLPORT 2 2 1 1 5 6 7 8 0", "SET OUT4 WALLPORT 2 2 2 2 5 6 7 8 0",
                "SET TVWALL-INFO 4 2 2 1 0 0 5 6 7 8 0 5 0 1 0 0 0 0 0 1 0 2 5 6 7 8 0 1 0 3 5 6 7 8 0" },
            0 },
        { { "wall", "input", "1", "2", "3" }, { "SET IN3 VIDEO OUT2" }, 0 },
        { { "wall", "input", "2", "1", "4" }, { "SET IN4 VIDEO OUT1,3,4" }, 0 },
        { { "wall", "splice", "1", "1", "1", "2" }, {}, 1 },
        { { "wall", "cancel", "2", "1" },
            { "SET OUT1 WALLPORT 0 0 0 0 0 0 0 0 0", "SET OUT4 WALLPORT 0 0 0 0 0 0 0 0 0",
                "SET TVWALL-INFO 4 2 2 0 0 0 0 0 0 0 3 0 0 1 0 0 0 0 2 0 0 2 0 0 0 0 3 0 0 3 0 0 0 0 3" },
            0 },
        { { "wall", "cancel", "2", "1" }, {}, 1 },
        { { "wall", "size", "1", "3" }, { "SET TVWALL-INFO 3 1 3 0 0 0 0 0 0 0 3 0 0 1 0 0 0 0 2 0 0 2 0 0 0 0 3" },
            0 },
        { { "wall", "size", "3", "2" }, {}, 2 },
    };
    for (const Step &step : steps) {
        const int logBefore = sim.log().size();
        const CliResult result = RunCli(link + step.command);
        const QString what = step.command.join(' ') + ": " + result.describe();
        QVERIFY2(result.exitCode == step.exitCode, qPrintable(what));
        const QByteArray log = sim.log().mid(logBefore);
        int at = 0;
        for (const QByteArray &request : step.requests) {
            at = log.indexOf("<- " + request + "\n", at);
            QVERIFY2(at >= 0, qPrintable(what + " did not send " + request));
        }
        if (step.exitCode != 0) {
            QVERIFY2(!log.contains("<- SET"), qPrintable(what));
            continue;
        }
        const CliResult readBack = RunCli(link + QStringList { "wall" });
        QVERIFY2(readBack.exitCode == 0, qPrintable(readBack.describe()));
        QCOMPARE(readBack.out, result.out);
    }
    const QJsonObject wall = QJsonDocument::fromJson(RunCli(link + QStringList { "sync" }).out).object().value("wall").toObject();
    QCOMPARE(wall.value("cols"), QJsonValue(3));
    QCOMPARE(QJsonDocument(wall).toJson(QJsonDocument::Compact) + '\n', RunCli(link + QStringList { "wall" }).out);
}

void TestCliSim::wallEditsOfSeveralLinesFinish_data()
{
    QTest::addColumn<QString>("transport");
    QTest::addColumn<QList<QStringList>>("edits");
    QTest::addColumn<QByteArray>("cell2"); // the JSON of the second cell afterwards
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    const QList<QStringList> newSize { { "wall", "size", "1", "4" }, { "wall", "splice", "1", "1", "1", "2" },
        { "wall", "size", "2", "2" } };
    const QList<QStringList> putBack { { "wall", "splice", "1", "1", "2", "2" },
        { "wall", "bezel", "1", "1", "10", "20", "30", "40" },
        { "wall", "single", "1", "2" }, { "wall", "single", "1", "2" } };
    for (const QString &transport : { QStringLiteral("tcp"), QStringLiteral("serial") }) {
        QTest::newRow(qPrintable(transport + ": a new size after a splice"))
            << transport << newSize
            << QByteArray(R"({"anchor":0,"edges":{"bottom":0,"left":0,"right":0,"up":0},"input":1,"output":2,"singleExit":false,"spliced":false})")
            << 2 << 2;
        QTest::newRow(qPrintable(transport + ": a screen put back into its group"))
            << transport << putBack
            << QByteArray(R"({"anchor":0,"edges":{"bottom":40,"left":10,"right":20,"up":30},"input":1,"output":2,"singleExit":false,"spliced":true})")
            << 2 << 2;
    }
}

// Each edit reports success only once the device has confirmed its last line, and the wall it
// prints is the one a later read gives.
void TestCliSim::wallEditsOfSeveralLinesFinish()
{
    QFETCH(QString, transport);
    QFETCH(QList<QStringList>, edits);
    QFETCH(QByteArray, cell2);
    QFETCH(int, rows);
    QFETCH(int, cols);
    SimProcess sim;
    QVERIFY(sim.start({}));
    const QStringList link = LinkArguments(transport, sim);
    CliResult last;
    for (const QStringList &edit : edits) {
        last = RunCli(link + edit);
        QVERIFY2(last.exitCode == 0, qPrintable(edit.join(' ') + ": " + last.describe()));
    }
    const QJsonObject wall = QJsonDocument::fromJson(last.out).object();
    QCOMPARE(wall.value("rows").toInt(), rows);
    QCOMPARE(wall.value("cols").toInt(), cols);
    QCOMPARE(QJsonDocument(wall.value("cells").toArray().at(1).toObject()).toJson(QJsonDocument::Compact), cell2);
    const CliResult readBack = RunCli(link + QStringList { "wall" });
    QVERIFY2(readBack.exitCode == 0, qPrintable(readBack.describe()));
    QCOMPARE(readBack.out, last.out);
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
