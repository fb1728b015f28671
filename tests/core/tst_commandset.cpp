// Every command builder: the exact bytes it queues, the pattern and reply profile it attaches,
// the guards that make it queue nothing, and the queue the selected link chooses.
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "support_devicestatetext.h"

#include <QtTest>
#include <functional>

using Action = std::function<void()>;
Q_DECLARE_METATYPE(Action)

namespace {

struct Profile {
    int needMatch;
    int waitMs;
    int matchMs;
    int reportTimeout;
};

// The four reply profiles of the protocol, by name.
Profile ProfileNamed(const QString &name)
{
    if (name == QLatin1String("standard"))
        return { 1, 0, 2000, 1 };
    if (name == QLatin1String("silent"))
        return { 1, 0, 2000, 0 };
    if (name == QLatin1String("wall"))
        return { 0, 300, 0, 1 };
    if (name == QLatin1String("noreply"))
        return { 0, 0, 2000, 1 };
    return { -1, -1, -1, -1 };
}

QByteArray EdidBlock(int size, bool counting)
{
    QByteArray block(size, '\0');
    for (int k = 0; counting && k < size; ++k)
        block[k] = static_cast<char>(k);
    return block;
}

QByteArray HexGroups(const QByteArray &block)
{
    QByteArray text;
    for (char byte : block)
        text += ' '
            + QByteArray::number(static_cast<unsigned char>(byte), 16).rightJustified(2, '0').toUpper();
    return text;
}

// A four-cell wall: cells 0..3 show outputs 0..3; output 1 is a splice member, output 2 left its
// group by itself (its edges must travel as 0).
const char *const FourCellWall
    = "wall.rows=2;wall.cols=2;wall.total=4;"
      "wall[0].output=0;wall[1].output=1;wall[2].output=2;wall[3].output=3;"
      "wall[0].input=3;wall[0].edgeL=1;wall[0].edgeR=2;wall[0].edgeU=3;wall[0].edgeB=4;"
      "wall[1].spliced=1;wall[1].flag1=1;wall[1].anchor=0;wall[1].input=2;"
      "wall[1].edgeL=10;wall[1].edgeR=11;wall[1].edgeU=12;wall[1].edgeB=13;"
      "wall[2].singleExit=1;wall[2].edgeL=20;wall[2].edgeR=21;wall[2].edgeU=22;"
      "wall[2].edgeB=23;wall[2].input=1;wall[3].anchor=2;wall[3].spliced=1";

} // namespace

class TestCommandSet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        SerialLinkQueue().activate();
        TcpLinkQueue().activate();
    }

    void init()
    {
        SerialLinkQueue().deactivate();
        SerialLinkQueue().activate();
        TcpLinkQueue().deactivate();
        TcpLinkQueue().activate();
        DeviceState_Clear();
        DeviceState_ConfirmModel();
    }

    void builders_data();
    void builders();
};

void TestCommandSet::builders_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<QString>("state");
    QTest::addColumn<Action>("action");
    // Empty: nothing may be queued on either link.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("pattern");
    QTest::addColumn<QString>("profile");

    const QString none;
    const QString unconfirmed = QStringLiteral("unconfirmed=1;inputs=16;outputs=16");
    const QByteArray nothing;
    auto row = [](const char *name, int mode, const QString &state, Action action, const QByteArray &bytes,
                   const QByteArray &pattern, const char *profile) {
        QTest::newRow(name) << mode << state << action << bytes << pattern << QString::fromLatin1(profile);
    };
    const int S = LinkModeSerial;
    const int T = LinkModeTcp;

    // Identification and routing.
    row(
        "model type", S, none, [] { CmdGetModelType(); }, "GET MODEL TYPE\r", "MODEL TYPE", "standard");
    row(
        "model type over tcp", T, none, [] { CmdGetModelType(); }, "GET MODEL TYPE\r", "MODEL TYPE",
        "standard");
    row(
        "no link selected drops the line", LinkModeNone, none, [] { CmdGetModelType(); }, nothing, nothing,
        "");
    row(
        "sync over", S, none, [] { CmdGetSyncOver(); }, "GET SYNC-OVER\r", "SYNC-OVER", "silent");
    row(
        "input to all", S, none, [] { CmdSetInputToAll(1); }, "SET IN2 VIDEO ALL\r", "IN2 VIDEO ALL",
        "standard");
    row(
        "input to all, no such input", S, none, [] { CmdSetInputToAll(4); }, nothing, nothing, "");
    row(
        "route", S, none, [] { CmdSetRoute(0, 2); }, "SET IN1 VIDEO OUT3\r", "IN1 VIDEO OUT3", "standard");
    row(
        "route before confirmation uses 16 ports", T, unconfirmed, [] { CmdSetRoute(15, 15); },
        "SET IN16 VIDEO OUT16\r", "IN16 VIDEO OUT16", "standard");
    row(
        "route, input 5 of 4", S, none, [] { CmdSetRoute(4, 0); }, nothing, nothing, "");
    row(
        "route, output 5 of 4", S, none, [] { CmdSetRoute(0, 4); }, nothing, nothing, "");
    row(
        "route list", S, none,
        [] {
            const quint32 outputs[] = { 0, 1, 3 };
            CmdSetRouteList(0, outputs, 3);
        },
        "SET IN1 VIDEO OUT1,2,4\r", "IN1 VIDEO OUT1,2,4", "standard");
    row(
        "route list skips a missing output", S, none,
        [] {
            const quint32 outputs[] = { 0, 9, 3 };
            CmdSetRouteList(0, outputs, 3);
        },
        "SET IN1 VIDEO OUT1,4\r", "IN1 VIDEO OUT1,4", "standard");
    row(
        "route list, missing last output leaves no comma", S, none,
        [] {
            const quint32 outputs[] = { 0, 9 };
            CmdSetRouteList(0, outputs, 2);
        },
        "SET IN1 VIDEO OUT1\r", "IN1 VIDEO OUT1", "standard");
    row(
        "route list of missing outputs only", S, none,
        [] {
            const quint32 outputs[] = { 9, 12 };
            CmdSetRouteList(0, outputs, 2);
        },
        "SET IN1 VIDEO OUT\r", "IN1 VIDEO OUT", "standard");
    row(
        "route list, empty", S, none,
        [] {
            const quint32 outputs[] = { 0 };
            CmdSetRouteList(0, outputs, 0);
        },
        nothing, nothing, "");
    row(
        "route list, no such input", S, none,
        [] {
            const quint32 outputs[] = { 0 };
            CmdSetRouteList(4, outputs, 1);
        },
        nothing, nothing, "");
    row(
        "matrix route", S, none, [] { CmdGetMatrixRoute(); }, "GET MATRIX-ROUTE\r", "MATRIX-ROUTE",
        "standard");

    // Signal configuration.
    row(
        "resolution", S, none, [] { CmdSetOutResolution(2, 7); }, "SET OUT3 RESOLUTION 1920x1080p60\r",
        "OUT3 RESOLUTION", "standard");
    row(
        "resolution USER", S, none, [] { CmdSetOutResolution(0, 17); }, "SET OUT1 RESOLUTION USER\r",
        "OUT1 RESOLUTION", "standard");
    row(
        "resolution outside the list", S, none, [] { CmdSetOutResolution(0, 18); }, nothing, nothing, "");
    row(
        "rotation", S, none, [] { CmdSetOutRotation(0, 1); }, "SET OUT1 ROTATION 90\r", "OUT1 ROTATION",
        "standard");
    row(
        "hdcp", S, none, [] { CmdSetOutHdcp(1, 2); }, "SET OUT2 HDCP FORCE-OFF\r", "OUT2 HDCP", "standard");
    row(
        "input audio", S, none, [] { CmdSetInAudio(0, 1); }, "SET IN1 AUDIO-SRC L/R\r", "IN1 AUDIO-SRC",
        "standard");
    row(
        "audio mute on", S, none, [] { CmdSetAudioMute(2, 0); }, "SET OUT3 AUDIO-MUTE ON\r",
        "OUT3 AUDIO-MUTE", "standard");
    row(
        "freeze off", S, none, [] { CmdSetFreeze(0, 1); }, "SET OUT1 FREEZE-WINALL OFF\r",
        "OUT1 FREEZE-WINALL", "standard");
    row(
        "input info", S, none, [] { CmdGetInInfo(0); }, "GET IN1 IN-INFO\r", "IN1 IN-INFO", "silent");
    row(
        "output info", S, none, [] { CmdGetOutInfo(3); }, "GET OUT4 OUT-INFO\r", "OUT4 OUT-INFO", "silent");

    // Multiview.
    row(
        "multiview mode", S, none, [] { CmdSetMultiviewMode(0, 3); }, "SET OUT1 MULTIVIEW 3xWIN\r",
        "OUT1 MULTIVIEW", "standard");
    row(
        "multiview sync", S, none, [] { CmdGetMultiviewSync(3); }, "GET OUT4 MULTIVIEW-SYNC\r",
        "OUT4 MULTIVIEW-SYNC", "standard");
    row(
        "aspect in 3xWIN", S, "mv[0].mode=3", [] { CmdSetAspect(0, 0); }, "SET OUT1 3xWIN ASPECT FULL\r",
        "OUT1 3xWIN ASPECT", "standard");
    row(
        "aspect in PBP", S, "mv[1].mode=2", [] { CmdSetAspect(1, 1); }, "SET OUT2 PBP ASPECT 16:9\r",
        "OUT2 PBP ASPECT", "standard");
    row(
        "aspect in SINGLE", S, "mv[0].mode=0", [] { CmdSetAspect(0, 0); }, nothing, nothing, "");
    row(
        "aspect in PIP", S, "mv[0].mode=1", [] { CmdSetAspect(0, 0); }, nothing, nothing, "");
    row(
        "aspect of output 200 reads slot 159", S, "mv[159].mode=4", [] { CmdSetAspect(199, 1); },
        "SET OUT200 4xWIN ASPECT 16:9\r", "OUT200 4xWIN ASPECT", "standard");
    row(
        "layout in 4xWIN", S, "mv[0].mode=4", [] { CmdSetLayout(0, 2); }, "SET OUT1 4xWIN MODE 2\r",
        "OUT1 4xWIN MODE", "standard");
    row(
        "layout in PIP", S, "mv[0].mode=1", [] { CmdSetLayout(0, 2); }, nothing, nothing, "");
    row(
        "pip position", S, "mv[0].mode=1", [] { CmdSetPipPos(0, 4); }, "SET OUT1 PIP POS USER\r",
        "OUT1 PIP POS", "standard");
    row(
        "pip position in PBP", S, "mv[0].mode=2", [] { CmdSetPipPos(0, 0); }, nothing, nothing, "");
    row(
        "pip size", S, "mv[0].mode=1", [] { CmdSetPipSize(0, 1); }, "SET OUT1 PIP SIZE MIDDLE\r",
        "OUT1 PIP SIZE", "standard");
    row(
        "pip size in SINGLE", S, none, [] { CmdSetPipSize(0, 1); }, nothing, nothing, "");
    row(
        "user window, pip position USER", S, "mv[0].mode=1;mv[0].pipPos=4",
        [] { CmdSetUserWindow(0, 10, 20, 300, 400); }, "SET OUT1 PIP USER 10 20 300 400\r", "OUT1 PIP USER",
        "standard");
    row(
        "user window, pip size USER", S, "mv[2].mode=1;mv[2].pipSize=3",
        [] { CmdSetUserWindow(2, 0, 0, 9999, 1); }, "SET OUT3 PIP USER 0 0 9999 1\r", "OUT3 PIP USER",
        "standard");
    row(
        "user window, pip without USER", S, "mv[0].mode=1;mv[0].pipPos=3;mv[0].pipSize=2",
        [] { CmdSetUserWindow(0, 1, 2, 3, 4); }, nothing, nothing, "");
    row(
        "user window, presenter layout", S, "mv[0].mode=2;mv[0].layout=2",
        [] { CmdSetUserWindow(0, 1, 2, 3, 4); }, "SET OUT1 PBP-PRESENTER 1 2 3 4\r", "OUT1 PBP-PRESENTER",
        "standard");
    row(
        "user window, other PBP layout", S, "mv[0].mode=2;mv[0].layout=1",
        [] { CmdSetUserWindow(0, 1, 2, 3, 4); }, nothing, nothing, "");
    row(
        "user window in 3xWIN layout 2", S, "mv[0].mode=3;mv[0].layout=2",
        [] { CmdSetUserWindow(0, 1, 2, 3, 4); }, nothing, nothing, "");
    row(
        "get user window, pip", S, "mv[0].mode=1;mv[0].pipSize=3", [] { CmdGetUserWindow(0); },
        "GET OUT1 PIP USER\r", "OUT1 PIP USER", "standard");
    row(
        "get user window, presenter", S, "mv[1].mode=2;mv[1].layout=2", [] { CmdGetUserWindow(1); },
        "GET OUT2 PBP-PRESENTER\r", "OUT2 PBP-PRESENTER", "standard");
    row(
        "get user window, SINGLE", S, none, [] { CmdGetUserWindow(0); }, nothing, nothing, "");
    row(
        "window input", S, none, [] { CmdSetWindowInput(1, 2, 3); }, "SET OUT2 WINDOW3 IN HDMI4\r",
        "OUT2 WINDOW3 IN", "standard");
    row(
        "window input unconfirmed", S, unconfirmed, [] { CmdSetWindowInput(0, 0, 0); }, nothing, nothing, "");
    row(
        "window input, window 5", S, none, [] { CmdSetWindowInput(0, 4, 0); }, nothing, nothing, "");
    row(
        "window input, input 5", S, none, [] { CmdSetWindowInput(0, 0, 4); }, nothing, nothing, "");
    row(
        "audio source", S, none, [] { CmdSetOutAudioSource(0, 4); }, "SET OUT1 AUDIO SOURCE HDMI4\r",
        "OUT1 AUDIO SOURCE", "standard");
    row(
        "audio source 5", S, none, [] { CmdSetOutAudioSource(0, 5); }, nothing, nothing, "");
    row(
        "audio source unconfirmed", S, unconfirmed, [] { CmdSetOutAudioSource(0, 0); }, nothing, nothing, "");
    row(
        "get audio source", S, none, [] { CmdGetOutAudioSource(0); }, "GET OUT1 AUDIO SOURCE\r",
        "OUT1 AUDIO SOURCE", "standard");
    row(
        "vka", S, none, [] { CmdSetVka(0, 2); }, "SET OUT1 VKA NOTIMING\r", "OUT1 VKA", "standard");
    row(
        "vka 3", S, none, [] { CmdSetVka(0, 3); }, nothing, nothing, "");
    row(
        "vka unconfirmed", S, unconfirmed, [] { CmdSetVka(0, 0); }, nothing, nothing, "");
    row(
        "get vka", S, none, [] { CmdGetVka(1); }, "GET OUT2 VKA\r", "OUT2 VKA", "standard");
    row(
        "get vka, output 2^32 never wraps to 0", S, none, [] { CmdGetVka(0xFFFFFFFFu); },
        "GET OUT4294967296 VKA\r", "OUT4294967296 VKA", "standard");
    row(
        "itc off", S, none, [] { CmdSetItc(0, 1); }, "SET OUT1 ITC OFF\r", "OUT1 ITC", "standard");
    row(
        "itc NULL", S, none, [] { CmdSetItc(0, 2); }, "SET OUT1 ITC NULL\r", "OUT1 ITC", "standard");
    row(
        "itc 3", S, none, [] { CmdSetItc(0, 3); }, nothing, nothing, "");
    row(
        "itc unconfirmed", S, unconfirmed, [] { CmdSetItc(0, 0); }, nothing, nothing, "");
    row(
        "get itc", S, none, [] { CmdGetItc(3); }, "GET OUT4 ITC\r", "OUT4 ITC", "standard");

    // Query forms.
    row(
        "get resolution", S, none, [] { CmdGetOutResolution(0); }, "GET OUT1 RESOLUTION\r", "OUT1 RESOLUTION",
        "standard");
    row(
        "get input audio", S, none, [] { CmdGetInAudio(1); }, "GET IN2 AUDIO-SRC\r", "IN2 AUDIO-SRC",
        "standard");
    row(
        "get aspect in PBP", S, "mv[0].mode=2", [] { CmdGetAspect(0); }, "GET OUT1 PBP ASPECT\r",
        "OUT1 PBP ASPECT", "standard");
    row(
        "get aspect in SINGLE", S, none, [] { CmdGetAspect(0); }, nothing, nothing, "");
    row(
        "get layout in 3xWIN", S, "mv[0].mode=3", [] { CmdGetLayout(0); }, "GET OUT1 3xWIN MODE\r",
        "OUT1 3xWIN MODE", "standard");
    row(
        "get pip size in PIP", S, "mv[0].mode=1", [] { CmdGetPipSize(0); }, "GET OUT1 PIP SIZE\r",
        "OUT1 PIP SIZE", "standard");
    row(
        "get window 2 input in PIP", S, "mv[0].mode=1", [] { CmdGetWindowInput(0, 1); },
        "GET OUT1 WINDOW2 IN\r", "OUT1 WINDOW2 IN", "standard");
    row(
        "get window 2 input in SINGLE", S, none, [] { CmdGetWindowInput(0, 1); }, nothing, nothing, "");
    row(
        "get window input, mode out of range", S, "mv[0].mode=5", [] { CmdGetWindowInput(0, 0); }, nothing,
        nothing, "");

    // Scenes.
    row(
        "save scene", S, none, [] { CmdSaveScene(3); }, "SET SAVE SCENE 3\r", "SAVE SCENE", "standard");
    row(
        "load scene", S, none, [] { CmdLoadScene(20); }, "SET LOAD SCENE 20\r", "LOAD SCENE", "standard");

    // EDID.
    row(
        "edid mode", S, none, [] { CmdSetEdidMode(0, 19); }, "SET IN1 EDIDMODE AUTO\r", "IN1 EDIDMODE",
        "standard");
    row(
        "edid mode outside the list", S, none, [] { CmdSetEdidMode(0, 21); }, nothing, nothing, "");
    row(
        "edid mode unconfirmed", S, unconfirmed, [] { CmdSetEdidMode(0, 0); }, nothing, nothing, "");
    row(
        "get edid mode", S, none, [] { CmdGetEdidMode(1); }, "GET IN2 EDIDMODE\r", "IN2 EDIDMODE",
        "standard");
    row(
        "user edid of zeros", S, none, [] { CmdSetUserEdid(0, EdidBlock(256, false)); },
        "SET IN1 EDID-USER" + QByteArray(" 00").repeated(256) + "\r", "IN1 EDID-USER OK", "standard");
    row(
        "user edid of every byte value", S, none, [] { CmdSetUserEdid(3, EdidBlock(256, true)); },
        "SET IN4 EDID-USER" + HexGroups(EdidBlock(256, true)) + "\r", "IN4 EDID-USER OK", "standard");
    row(
        "user edid of 255 bytes", S, none, [] { CmdSetUserEdid(0, EdidBlock(255, false)); }, nothing, nothing,
        "");
    row(
        "outport edid", S, none, [] { CmdGetOutportEdid(1); }, "GET OUT2 OUTPORT-EDID\r", "OUT2 OUTPORT-EDID",
        "standard");

    // Video wall.
    row(
        "wall port", S,
        "wall[0].output=1;wall[1].rows=2;wall[1].cols=2;wall[1].rowPos=1;wall[1].colPos=2;"
        "wall[1].edgeL=5;wall[1].edgeR=6;wall[1].edgeU=7;wall[1].edgeB=8;wall[1].flag1=1",
        [] { CmdSetWallPort(0); }, "SET OUT2 WALLPORT 2 2 1 2 5 6 7 8 1\r", "OUT2 WALLPORT", "wall");
    row(
        "wall port of a single-exit screen", S, "wall[0].output=1;wall[1].singleExit=1",
        [] { CmdSetWallPort(0); }, nothing, nothing, "");
    row(
        "wall port of cell 200 reads slot 159", S, "wall[159].output=3;wall[3].rows=1",
        [] { CmdSetWallPort(200); }, "SET OUT4 WALLPORT 1 0 0 0 0 0 0 0 0\r", "OUT4 WALLPORT", "wall");
    row(
        "wall info", S, FourCellWall, [] { CmdSetTvWallInfo(4); },
        "SET TVWALL-INFO 4 2 2 0 0 0 1 2 3 4 3 3 0 1 10 11 12 13 2 4 0 2 0 0 0 0 1 1 2 3 0 0 0 0 0\r",
        "TVWALL-INFO", "wall");
    row(
        "wall info without cells", S, FourCellWall, [] { CmdSetTvWallInfo(0); }, "SET TVWALL-INFO 4 2 2\r",
        "TVWALL-INFO", "wall");
    row(
        "wall info too long for a line", S,
        "wall.rows=10;wall.cols=16;wall.total=160;wall[0].edgeL=4000000000", [] { CmdSetTvWallInfo(160); },
        nothing, nothing, "");
    row(
        "wall info with 4 billion cells stops", S, none, [] { CmdSetTvWallInfo(0xFFFFFFFFu); }, nothing,
        nothing, "");
    row(
        "get wall info", S, none, [] { CmdGetTvWallInfo(); }, "GET TVWALL-INFO\r", "TVWALL-INFO", "standard");

    // System.
    row(
        "reset", S, none, [] { CmdReset(); }, "SET RESET\r", "RESET", "noreply");
    row(
        "main version", S, none, [] { CmdGetVersion(0, 255); }, "GET MAIN VERSION\r", "MAIN VERSION",
        "standard");
    row(
        "keyboard version", S, none, [] { CmdGetVersion(1, 255); }, "GET KEYBOARD VERSION\r",
        "KEYBOARD VERSION", "standard");
    row(
        "input version", S, none, [] { CmdGetVersion(2, 0); }, "GET IN1 VERSION\r", "IN1 VERSION",
        "standard");
    row(
        "output version", S, none, [] { CmdGetVersion(3, 3); }, "GET OUT4 VERSION\r", "OUT4 VERSION",
        "standard");
    row(
        "version selector 4", S, none, [] { CmdGetVersion(4, 0); }, nothing, nothing, "");
    row(
        "network info", T, none,
        [] {
            CmdSetNetworkInfo(QStringLiteral("192.168.0.10"), QStringLiteral("2000"),
                QStringLiteral("255.255.255.0"), QStringLiteral("192.168.0.1"));
        },
        "SET NETWORK-INFO 192.168.0.10 2000 255.255.255.0 192.168.0.1\r", "NETWORK-INFO", "standard");
    row(
        "network info with a CR inside", T, none,
        [] {
            CmdSetNetworkInfo(QStringLiteral("1.2.3.4\rSET RESET"), QStringLiteral("2000"),
                QStringLiteral("m"), QStringLiteral("g"));
        },
        nothing, nothing, "");
    row(
        "network info of exactly 1024 bytes", T, none,
        [] {
            CmdSetNetworkInfo(QString(1001, QLatin1Char('a')), QStringLiteral("b"), QStringLiteral("c"),
                QStringLiteral("d"));
        },
        "SET NETWORK-INFO " + QByteArray(1001, 'a') + " b c d\r", "NETWORK-INFO", "standard");
    row(
        "network info of 1025 bytes", T, none,
        [] {
            CmdSetNetworkInfo(QString(1002, QLatin1Char('a')), QStringLiteral("b"), QStringLiteral("c"),
                QStringLiteral("d"));
        },
        nothing, nothing, "");
    row(
        "get network info", T, none, [] { CmdGetNetworkInfo(); }, "GET NETWORK-INFO\r", "NETWORK-INFO",
        "standard");
    row(
        "baud rate", S, none, [] { CmdSetBaudrate(115200); }, "SET BAUDRATE 115200\r", "BAUDRATE",
        "standard");
    row(
        "get baud rate", S, none, [] { CmdGetBaudrate(); }, "GET BAUDRATE\r", "BAUDRATE", "standard");
}

void TestCommandSet::builders()
{
    QFETCH(int, linkMode);
    QFETCH(QString, state);
    QFETCH(Action, action);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, pattern);
    QFETCH(QString, profile);

    QCOMPARE(DeviceStateText::apply(state), QStringList());
    LinkMode = linkMode;
    action();
    LinkMode = LinkModeNone;

    LinkQueue &selected = linkMode == LinkModeTcp ? TcpLinkQueue() : SerialLinkQueue();
    LinkQueue &other = linkMode == LinkModeTcp ? SerialLinkQueue() : TcpLinkQueue();
    QCOMPARE(other.sendQueueSize(), 0);
    if (bytes.isEmpty()) {
        QCOMPARE(selected.sendQueueSize(), 0);
        return;
    }
    QCOMPARE(selected.sendQueueSize(), 1);
    const QueuedLine line = selected.sendQueue.first();
    QCOMPARE(line.bytes, bytes);
    QVERIFY(line.bytes.size() <= MaxCommandLength + 1);

    const ReplyExpectation &expectation = line.expectation;
    QCOMPARE(expectation.patternCount, 1u);
    QCOMPARE(QByteArray(expectation.patterns[0], static_cast<int>(expectation.patternLengths[0])), pattern);
    QCOMPARE(int(expectation.acceptAny), 0);
    const Profile wanted = ProfileNamed(profile);
    QCOMPARE(int(expectation.needMatch), wanted.needMatch);
    QCOMPARE(int(expectation.waitMs), wanted.waitMs);
    QCOMPARE(int(expectation.matchMs), wanted.matchMs);
    QCOMPARE(int(expectation.reportTimeout), wanted.reportTimeout);
}

QTEST_GUILESS_MAIN(TestCommandSet)
#include "tst_commandset.moc"
