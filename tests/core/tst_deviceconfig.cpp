// The backup document (its JSON form and the checks a file must pass) and the restore planner
// (which commands, in which order, take a device from one configuration to another).
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "protocol/DeviceConfig.h"
#include "protocol/DeviceState.h"
#include "protocol/RestorePlanner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtTest>
#include <functional>

namespace {

using Change = std::function<void(DeviceConfig &)>;

// A device of 4 inputs and 4 outputs: every output SINGLE on its own input, a 2 x 2 wall
// whose top row is one splice group.
DeviceConfig BaseConfig()
{
    DeviceConfig c;
    c.model = QStringLiteral("RZ7P52KN");
    c.inputs.resize(4);
    c.outputs.resize(4);
    for (int k = 0; k < 4; ++k) {
        c.inputs[k].audio = 0;
        c.inputs[k].edidMode = 19;
        DeviceConfig::Output &out = c.outputs[k];
        out.route = k;
        out.hdcp = 0;
        out.resolution = 16;
        out.rotation = 0;
        out.multiview.windows[0] = k;
        out.multiview.audioSource = 0;
        out.multiview.vka = 0;
        out.multiview.itc = 1;
    }
    c.wallRows = 2;
    c.wallCols = 2;
    for (int k = 0; k < 4; ++k) {
        DeviceConfig::WallCell cell;
        cell.output = k;
        cell.input = k;
        cell.spliced = k < 2;
        c.wallCells.append(cell);
    }
    c.info.networkKnown = true;
    c.info.ip = QStringLiteral("192.168.0.10");
    c.info.port = QStringLiteral("2000");
    c.info.mask = QStringLiteral("255.255.255.0");
    c.info.gateway = QStringLiteral("192.168.0.1");
    c.info.baudRate = 9600;
    return c;
}

// Sets the value at a dotted path ("multiview.2.mode"); numbers index arrays.
QJsonValue SetAt(QJsonValue node, QStringList path, const QJsonValue &value)
{
    if (path.isEmpty())
        return value;
    const QString key = path.takeFirst();
    bool isIndex = false;
    const int index = key.toInt(&isIndex);
    if (isIndex) {
        QJsonArray array = node.toArray();
        array[index] = SetAt(array.at(index), path, value);
        return array;
    }
    QJsonObject object = node.toObject();
    if (value.isUndefined() && path.isEmpty())
        object.remove(key);
    else
        object[key] = SetAt(object.value(key), path, value);
    return object;
}

// Makes DeviceState hold what a device of this configuration reported.
void LoadDeviceState(const DeviceConfig &c)
{
    DeviceState_Clear();
    DeviceState_ConfirmModel();
    for (int k = 0; k < c.inputs.size(); ++k)
        DeviceState.edidModeOfInput[k] = quint32(qMax(0, c.inputs[k].edidMode));
    for (int o = 0; o < c.outputs.size(); ++o) {
        const DeviceConfig::Multiview &m = c.outputs[o].multiview;
        DeviceState.routeInputOfOutput[o] = quint32(c.outputs[o].route);
        MultiviewState &s = DeviceState.multiview[o];
        s.mode = quint32(m.mode);
        for (int w = 0; w < 4; ++w)
            s.windowInput[w] = quint32(qMax(0, m.windows[w]));
        s.aspect = quint32(qMax(0, m.aspect));
        s.layout = quint32(qMax(0, m.layout));
        s.pipPos = quint32(qMax(0, m.pipPos));
        s.pipSize = quint32(qMax(0, m.pipSize));
    }
    DeviceState.wall.rows = quint32(c.wallRows);
    DeviceState.wall.cols = quint32(c.wallCols);
    DeviceState.wall.total = quint32(c.wallRows * c.wallCols);
    for (int k = 0; k < c.wallCells.size(); ++k) {
        const DeviceConfig::WallCell &cell = c.wallCells[k];
        WallSlot(quint32(k)).outputIndex = quint32(cell.output);
        WallEntry &screen = WallSlot(quint32(cell.output));
        screen.inputIndex = quint32(cell.input);
        screen.spliced = cell.spliced;
        screen.singleExit = cell.singleExit;
        screen.spliceAnchor = quint32(cell.anchor);
        screen.edgeLeft = quint32(cell.edges[0]);
        screen.edgeRight = quint32(cell.edges[1]);
        screen.edgeUp = quint32(cell.edges[2]);
        screen.edgeBottom = quint32(cell.edges[3]);
    }
}

// The lines a restore would send, as a dry run takes them: each step built and assumed done.
QStringList PlannedLines(const DeviceConfig &device, const DeviceConfig &wanted, bool withLink)
{
    LoadDeviceState(device);
    LinkMode = LinkModeTcp;
    TcpLinkQueue().deactivate();
    TcpLinkQueue().activate();
    RestorePlanner planner(device, wanted, withLink);
    for (const RestoreStep &step : planner.steps()) {
        step.build();
        if (step.assume)
            step.assume();
    }
    QStringList lines;
    LinkMutexLocker lock(TcpLinkQueue().sendMutex);
    for (const QueuedLine &line : qAsConst(TcpLinkQueue().sendQueue))
        lines << QString::fromLatin1(line.bytes).trimmed();
    return lines;
}

// Whether the fragments start lines of the list in this order.
bool StartInOrder(const QStringList &lines, const QStringList &fragments, QString *missing)
{
    int at = 0;
    for (const QString &fragment : fragments) {
        while (at < lines.size() && !lines.at(at).startsWith(fragment))
            ++at;
        if (at == lines.size()) {
            *missing = fragment;
            return false;
        }
        ++at;
    }
    return true;
}

} // namespace

Q_DECLARE_METATYPE(Change)

class TestDeviceConfig : public QObject
{
    Q_OBJECT

private slots:
    void jsonRoundTrip();
    void refusedFiles_data();
    void refusedFiles();
    void plannedCommands_data();
    void plannedCommands();
    void differences_data();
    void differences();
};

void TestDeviceConfig::jsonRoundTrip()
{
    DeviceConfig c = BaseConfig();
    c.outputs[1].multiview.mode = 1;
    c.outputs[1].multiview.windows[1] = 3;
    c.outputs[1].multiview.pipPos = 4;
    c.outputs[1].multiview.pipSize = 0;
    c.outputs[1].multiview.userWindowKnown = true;
    c.outputs[1].multiview.userWindow[2] = 640;
    c.outputs[2].mute = 0;
    c.inputs[3].name = QStringLiteral("Lectern");
    const QJsonObject json = c.toJson();
    DeviceConfig back;
    QString error;
    QVERIFY2(DeviceConfig::FromJson(json, &back, &error), qPrintable(error));
    QCOMPARE(back.toJson(), json);
    QCOMPARE(json.value("multiview").toArray().at(1).toObject().value("userWindow").toArray().at(2).toInt(), 640);
    QCOMPARE(json.value("routes").toArray().at(3).toInt(), 4); // 1-based as the device counts
}

void TestDeviceConfig::refusedFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonValue>("value");
    QTest::addColumn<QString>("errorStart");

    QTest::newRow("newer format") << "formatVersion" << QJsonValue(2) << "formatVersion: 2 is newer";
    QTest::newRow("another model") << "model" << QJsonValue("XK100") << "model:";
    QTest::newRow("not a backup") << "format" << QJsonValue("scene") << "format:";
    QTest::newRow("route past the inputs") << "routes.1" << QJsonValue(5) << "routes[1]:";
    QTest::newRow("route zero") << "routes.0" << QJsonValue(0) << "routes[0]:";
    QTest::newRow("route not whole") << "routes.2" << QJsonValue(1.5) << "routes[2]:";
    QTest::newRow("unknown mode") << "multiview.2.mode" << QJsonValue("QUAD") << "multiview[2].mode:";
    QTest::newRow("word in the wrong case") << "outputs.3.hdcp" << QJsonValue("force-off") << "outputs[3].hdcp:";
    QTest::newRow("rotation not offered") << "outputs.3.rotation" << QJsonValue("45") << "outputs[3].rotation:";
    QTest::newRow("mute NULL is no setting") << "outputs.0.mute" << QJsonValue("NULL") << "outputs[0].mute:";
    QTest::newRow("unknown EDID mode") << "inputs.2.edidMode" << QJsonValue("8K") << "inputs[2].edidMode:";
    QTest::newRow("inputs missing") << "inputs" << QJsonValue(QJsonValue::Undefined) << "inputs:";
    QTest::newRow("window 1 not the route") << "multiview.0.windows.0" << QJsonValue(2) << "multiview[0].windows[0]:";
    QTest::newRow("wall of more screens than outputs") << "wall.rows" << QJsonValue(3) << "wall:";
    QTest::newRow("wall rows zero") << "wall.rows" << QJsonValue(0) << "wall.rows:";
    QTest::newRow("output shown twice") << "wall.cells.1.output" << QJsonValue(1) << "wall.cells[1].output:";
    QTest::newRow("bezel too wide") << "wall.cells.0.edges.left" << QJsonValue(256) << "wall.cells[0].edges.left:";
    QTest::newRow("bezel negative") << "wall.cells.2.edges.up" << QJsonValue(-1) << "wall.cells[2].edges.up:";
    QTest::newRow("taken out but not spliced") << "wall.cells.3.singleExit" << QJsonValue(true)
                                               << "wall.cells[3].singleExit:";
    QTest::newRow("anchor outside the wall") << "wall.cells.0.anchor" << QJsonValue(4) << "wall.cells[0].anchor:";
    QTest::newRow("group of one cell") << "wall.cells.1.spliced" << QJsonValue(false) << "wall.cells[0].spliced:";
    QTest::newRow("cell in a group but not its member") << "wall.cells.2.spliced" << QJsonValue(true)
                                                        << "wall.cells[3]: inside group 0";
    QTest::newRow("bad IP address") << "network.ip" << QJsonValue("192.168.0.300") << "network:";
    QTest::newRow("device port too high") << "network.port" << QJsonValue("65535") << "network:";
    QTest::newRow("baud rate not offered") << "baudRate" << QJsonValue(4800) << "baudRate:";
    QTest::newRow("spliced not a flag") << "wall.cells.0.spliced" << QJsonValue("yes") << "wall.cells[0].spliced:";
}

void TestDeviceConfig::refusedFiles()
{
    QFETCH(QString, path);
    QFETCH(QJsonValue, value);
    QFETCH(QString, errorStart);
    const QJsonObject json = SetAt(BaseConfig().toJson(), path.split('.'), value).toObject();
    DeviceConfig config;
    config.model = QStringLiteral("untouched");
    QString error;
    QVERIFY(!DeviceConfig::FromJson(json, &config, &error));
    QVERIFY2(error.startsWith(errorStart), qPrintable(error));
    QCOMPARE(config.model, QStringLiteral("untouched"));
}

void TestDeviceConfig::plannedCommands_data()
{
    QTest::addColumn<Change>("deviceChange");
    QTest::addColumn<Change>("wantedChange");
    QTest::addColumn<bool>("withLink");
    QTest::addColumn<QStringList>("expected"); // starts of lines, in order
    QTest::addColumn<int>("lineCount");

    const Change none = [](DeviceConfig &) {};
    QTest::newRow("same configuration sends nothing") << none << none << true << QStringList() << 0;
    QTest::newRow("one route") << none << Change([](DeviceConfig &c) {
        c.outputs[1].route = 2;
        c.outputs[1].multiview.windows[0] = 2;
        c.wallCells[1].input = 2;
    }) << false << QStringList { "SET IN3 VIDEO OUT2" } << 1;
    QTest::newRow("field left open is not sent") << Change([](DeviceConfig &c) { c.outputs[0].hdcp = 2; })
                                                 << Change([](DeviceConfig &c) { c.outputs[0].hdcp = -1; }) << false
                                                 << QStringList() << 0;
    QTest::newRow("input and output settings") << none << Change([](DeviceConfig &c) {
        c.inputs[1].audio = 1;
        c.inputs[1].edidMode = 16;
        c.outputs[3].rotation = 1;
        c.outputs[3].mute = 0;
        c.outputs[3].freeze = 1;
        c.outputs[2].resolution = 7;
    }) << false
                                               << QStringList { "SET IN2 AUDIO-SRC L/R", "SET IN2 EDIDMODE 720p",
                                                      "SET OUT3 RESOLUTION 1920x1080p60", "SET OUT4 ROTATION 90",
                                                      "SET OUT4 AUDIO-MUTE ON", "SET OUT4 FREEZE-WINALL OFF" }
                                               << 6;
    QTest::newRow("mode before its layout, aspect and presenter window")
        << none << Change([](DeviceConfig &c) {
               DeviceConfig::Multiview &m = c.outputs[2].multiview;
               m.mode = 2;
               m.windows[1] = 0;
               m.layout = 2;
               m.aspect = 1;
               m.userWindowKnown = true;
               m.userWindow[0] = 1;
               m.userWindow[1] = 2;
               m.userWindow[2] = 3;
               m.userWindow[3] = 4;
           })
        << false
        << QStringList { "SET OUT3 MULTIVIEW PBP", "SET OUT3 WINDOW2 IN HDMI1", "SET OUT3 PBP MODE 3",
               "SET OUT3 PBP ASPECT 16:9", "SET OUT3 PBP-PRESENTER 1 2 3 4", "SET IN3 VIDEO OUT3" }
        << 6;
    QTest::newRow("PIP position and size before the user window")
        << none << Change([](DeviceConfig &c) {
               DeviceConfig::Multiview &m = c.outputs[3].multiview;
               m.mode = 1;
               m.windows[1] = 1;
               m.pipPos = 4;
               m.pipSize = 1;
               m.userWindowKnown = true;
               m.userWindow[2] = 320;
           })
        << false
        << QStringList { "SET OUT4 MULTIVIEW PIP", "SET OUT4 WINDOW2 IN HDMI2", "SET OUT4 PIP POS USER",
               "SET OUT4 PIP SIZE MIDDLE", "SET OUT4 PIP USER 0 0 320 0" }
        << 6;
    QTest::newRow("same mode sends only the changed field")
        << Change([](DeviceConfig &c) {
               c.outputs[0].multiview.mode = 4;
               for (int w = 1; w < 4; ++w)
                   c.outputs[0].multiview.windows[w] = w;
               c.outputs[0].multiview.layout = 0;
               c.outputs[0].multiview.aspect = 0;
               c.wallCells[0].spliced = c.wallCells[1].spliced = false;
           })
        << Change([](DeviceConfig &c) {
               c.outputs[0].multiview.mode = 4;
               for (int w = 1; w < 4; ++w)
                   c.outputs[0].multiview.windows[w] = w;
               c.outputs[0].multiview.windows[3] = 0;
               c.outputs[0].multiview.layout = 0;
               c.outputs[0].multiview.aspect = 0;
               c.wallCells[0].spliced = c.wallCells[1].spliced = false;
           })
        << false << QStringList { "SET OUT1 WINDOW4 IN HDMI1" } << 1;
    QTest::newRow("groups cancelled before the wall shrinks")
        << none << Change([](DeviceConfig &c) {
               c.wallRows = 1;
               c.wallCells.resize(2);
               c.wallCells[0].spliced = c.wallCells[1].spliced = false;
           })
        << false
        << QStringList { "SET OUT1 WALLPORT 0 0 0 0", "SET OUT2 WALLPORT 0 0 0 0", "SET TVWALL-INFO 4 2 2",
               "SET TVWALL-INFO 2 1 2 0 0 0 0 0 0 0 0 0 0 1" }
        << 6;
    QTest::newRow("wall grows, then its group is spliced after the mode is SINGLE")
        << Change([](DeviceConfig &c) {
               c.wallRows = 1;
               c.wallCells.resize(2);
               c.wallCells[0].spliced = c.wallCells[1].spliced = false;
               c.outputs[2].multiview.mode = 1;
               c.outputs[2].multiview.windows[1] = 0;
               c.outputs[2].multiview.pipPos = 0;
               c.outputs[2].multiview.pipSize = 0;
           })
        << Change([](DeviceConfig &c) {
               c.wallCells[0].spliced = c.wallCells[1].spliced = false;
               c.wallCells[2].spliced = c.wallCells[3].spliced = true;
               c.wallCells[2].anchor = c.wallCells[3].anchor = 2;
               c.wallCells[2].edges[0] = c.wallCells[3].edges[0] = 7;
           })
        << false
        << QStringList { "SET TVWALL-INFO 4 2 2", "SET OUT3 MULTIVIEW SINGLE", "SET IN3 VIDEO OUT3,4",
               "SET OUT3 WALLPORT 1 2 1 1 0", "SET OUT4 WALLPORT 1 2 1 2 0", "SET TVWALL-INFO 4 2 2",
               "SET OUT3 WALLPORT 1 2 1 1 7 0 0 0", "SET OUT4 WALLPORT 1 2 1 2 7 0 0 0", "SET TVWALL-INFO 4 2 2",
               "SET IN3 VIDEO OUT3", "SET IN4 VIDEO OUT4" }
        << 11;
    QTest::newRow("cells show other outputs") << none << Change([](DeviceConfig &c) {
        c.wallCells[0].spliced = c.wallCells[1].spliced = false;
        std::swap(c.wallCells[2].output, c.wallCells[3].output);
        std::swap(c.wallCells[2].input, c.wallCells[3].input);
    }) << false << QStringList { "SET OUT1 WALLPORT 0", "SET TVWALL-INFO 4 2 2",
                                 "SET TVWALL-INFO 4 2 2 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 1 0 0 3 0 0 0 0 3 0 0 2" }
                                              << 6;
    QTest::newRow("a group moved on a wall of the same size: only its screens are cancelled")
        << none << Change([](DeviceConfig &c) {
               c.wallCells[0].spliced = c.wallCells[1].spliced = false;
               c.wallCells[2].spliced = c.wallCells[3].spliced = true;
               c.wallCells[2].anchor = c.wallCells[3].anchor = 2;
           })
        << false
        << QStringList { "SET OUT1 WALLPORT 0", "SET OUT2 WALLPORT 0", "SET TVWALL-INFO 4 2 2",
               "SET IN3 VIDEO OUT3,4", "SET OUT3 WALLPORT 1 2 1 1", "SET OUT4 WALLPORT 1 2 1 2",
               "SET TVWALL-INFO 4 2 2", "SET IN3 VIDEO OUT3", "SET IN4 VIDEO OUT4" }
        << 9;
    QTest::newRow("bezels go before a screen is taken out, which sends no edges")
        << Change([](DeviceConfig &c) { c.wallCells[0].spliced = c.wallCells[1].spliced = false; })
        << Change([](DeviceConfig &c) {
               for (int k = 0; k < 2; ++k) {
                   for (int e = 0; e < 4; ++e)
                       c.wallCells[k].edges[e] = 3 + e;
               }
               c.wallCells[1].singleExit = true;
           })
        << false
        << QStringList { "SET IN1 VIDEO OUT1,2", "SET OUT1 WALLPORT 1 2 1 1 0 0 0 0", "SET TVWALL-INFO 4 2 2",
               "SET OUT1 WALLPORT 1 2 1 1 3 4 5 6", "SET OUT2 WALLPORT 1 2 1 2 3 4 5 6", "SET TVWALL-INFO 4 2 2",
               "SET TVWALL-INFO 4 2 2 1 0 0 3 4 5 6 0 5 0 1 0 0 0 0 0", "SET IN1 VIDEO OUT1",
               "SET IN2 VIDEO OUT2" }
        << 10;
    QTest::newRow("a smaller wall showing other outputs goes out in one layout line")
        << none << Change([](DeviceConfig &c) {
               c.wallRows = 1;
               c.wallCells.resize(2);
               c.wallCells[0] = DeviceConfig::WallCell();
               c.wallCells[0].output = c.wallCells[0].input = 3;
               c.wallCells[1] = DeviceConfig::WallCell();
           })
        << false
        << QStringList { "SET OUT3 WALLPORT 0", "SET OUT4 WALLPORT 0", "SET TVWALL-INFO 4 2 2",
               "SET TVWALL-INFO 2 1 2 0 0 3 0 0 0 0 3 0 0 0 0 0 0 0 0" }
        << 6;
    QTest::newRow("link settings only when asked") << none << Change([](DeviceConfig &c) {
        c.info.ip = QStringLiteral("192.168.0.20");
        c.info.baudRate = 115200;
    }) << false << QStringList() << 0;
    QTest::newRow("link settings last") << none << Change([](DeviceConfig &c) {
        c.info.ip = QStringLiteral("192.168.0.20");
        c.info.baudRate = 115200;
        c.outputs[0].rotation = 2;
    }) << true
                                        << QStringList { "SET OUT1 ROTATION 180",
                                               "SET NETWORK-INFO 192.168.0.20 2000 255.255.255.0 192.168.0.1",
                                               "SET BAUDRATE 115200" }
                                        << 3;
}

void TestDeviceConfig::plannedCommands()
{
    QFETCH(Change, deviceChange);
    QFETCH(Change, wantedChange);
    QFETCH(bool, withLink);
    QFETCH(QStringList, expected);
    QFETCH(int, lineCount);
    DeviceConfig device = BaseConfig();
    deviceChange(device);
    DeviceConfig wanted = BaseConfig();
    wantedChange(wanted);
    const QStringList lines = PlannedLines(device, wanted, withLink);
    QString missing;
    QVERIFY2(StartInOrder(lines, expected, &missing),
        qPrintable(QStringLiteral("%1 not found in order in: %2").arg(missing, lines.join(" | "))));
    QCOMPARE(lines.size(), lineCount);
}

void TestDeviceConfig::differences_data()
{
    QTest::addColumn<Change>("deviceChange");
    QTest::addColumn<bool>("withLink");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("equal") << Change([](DeviceConfig &) {}) << true << QStringList();
    QTest::newRow("rotation") << Change([](DeviceConfig &c) { c.outputs[1].rotation = 1; }) << false
                              << QStringList { "Output 2 rotation: 90 on the device, 0 in the file" };
    QTest::newRow("not reported") << Change([](DeviceConfig &c) { c.outputs[1].hdcp = -1; }) << false
                                  << QStringList { "Output 2 HDCP: unknown on the device, FORCE-1.4 in the file" };
    QTest::newRow("another mode hides its fields")
        << Change([](DeviceConfig &c) {
               c.outputs[0].multiview.mode = 1;
               c.outputs[0].multiview.pipPos = 2;
           })
        << false << QStringList { "Output 1 multiview mode: PIP on the device, SINGLE in the file" };
    QTest::newRow("wall size") << Change([](DeviceConfig &c) {
        c.wallRows = 1;
        c.wallCells.resize(2);
    }) << false << QStringList { "wall size: 1 x 2 on the device, 2 x 2 in the file" };
    QTest::newRow("screen out of its group")
        << Change([](DeviceConfig &c) { c.wallCells[1].singleExit = true; }) << false
        << QStringList { "wall cell 1,2 taken out of its group: yes on the device, no in the file" };
    QTest::newRow("network without link") << Change([](DeviceConfig &c) { c.info.port = QStringLiteral("23"); })
                                          << false << QStringList();
    QTest::newRow("network with link") << Change([](DeviceConfig &c) { c.info.port = QStringLiteral("23"); }) << true
                                       << QStringList { "network settings: 192.168.0.10 23 255.255.255.0 192.168.0.1 "
                                                        "on the device, 192.168.0.10 2000 255.255.255.0 "
                                                        "192.168.0.1 in the file" };
}

void TestDeviceConfig::differences()
{
    QFETCH(Change, deviceChange);
    QFETCH(bool, withLink);
    QFETCH(QStringList, expected);
    DeviceConfig device = BaseConfig();
    deviceChange(device);
    QCOMPARE(DeviceConfig::Differences(device, BaseConfig(), withLink), expected);
}

QTEST_GUILESS_MAIN(TestDeviceConfig)
#include "tst_deviceconfig.moc"
