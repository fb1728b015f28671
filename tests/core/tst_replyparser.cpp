// Reply lines in, device state and page calls out: every handler, the port and keyword rules,
// the model check with its synchronisation burst, and the lines that must change nothing.
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "protocol/DeviceState.h"
#include "protocol/ReplyParser.h"
#include "support_devicestatetext.h"
#include "support_recordingpages.h"

#include <QtTest>

namespace {

// Connected to a confirmed device: 4 x 4, the model reply already judged.
const char *const Confirmed = "";
// Connected, model reply awaited: the pages were built for 16 x 16.
const char *const AwaitingModel = "unconfirmed=1;handled=0;inputs=16;outputs=16";

QStringList QueuedLines(LinkQueue &queue)
{
    QStringList lines;
    LinkMutexLocker lock(queue.sendMutex);
    for (const QueuedLine &line : qAsConst(queue.sendQueue))
        lines.append(QString::fromLatin1(line.bytes));
    return lines;
}

QStringList Repeated(const QString &call, int count)
{
    QStringList calls;
    for (int k = 0; k < count; ++k)
        calls.append(call);
    return calls;
}

// The reads every page makes after a confirmation or a scene load, as page calls.
QStringList RereadCalls(int linkMode)
{
    QStringList calls { QStringLiteral("matrixRequestRoutes()"), QStringLiteral("kickSend()"),
        QStringLiteral("signalReadAll()") };
    calls += Repeated(QStringLiteral("kickSend()"), 8);
    calls += QStringList { QStringLiteral("multiviewReadState()"), QStringLiteral("kickSend()"),
        QStringLiteral("tvWallReadWall()"), QStringLiteral("kickSend()"),
        QStringLiteral("systemReadLinkSettings()") };
    calls += Repeated(QStringLiteral("kickSend()"), linkMode == LinkModeSerial ? 2 : 1);
    return calls;
}

// The same reads as queued lines, CR included.
QStringList RereadLines(int linkMode)
{
    QStringList lines { QStringLiteral("GET MATRIX-ROUTE\r") };
    for (int k = 1; k <= 4; ++k)
        lines.append(QStringLiteral("GET IN%1 IN-INFO\r").arg(k));
    for (int k = 1; k <= 4; ++k)
        lines.append(QStringLiteral("GET OUT%1 OUT-INFO\r").arg(k));
    lines += QStringList { QStringLiteral("GET OUT1 MULTIVIEW-SYNC\r"),
        QStringLiteral("GET OUT1 AUDIO SOURCE\r"), QStringLiteral("GET OUT1 VKA\r"),
        QStringLiteral("GET OUT1 ITC\r"), QStringLiteral("GET TVWALL-INFO\r") };
    lines.append(
        linkMode == LinkModeSerial ? QStringLiteral("GET BAUDRATE\r") : QStringLiteral("GET NETWORK-INFO\r"));
    return lines;
}

QStringList ConfirmationCalls(int linkMode)
{
    QStringList calls { QStringLiteral("setStatusPicture(1)"), QStringLiteral("matrixRebuildIfConfirmed()"),
        QStringLiteral("signalRebuildIfConfirmed()"), QStringLiteral("multiviewRebuild()"),
        QStringLiteral("multiviewRefresh()"), QStringLiteral("tvWallFill()"),
        QStringLiteral("systemRebuild()") };
    return calls + RereadCalls(linkMode);
}

QStringList MismatchCalls()
{
    return { QStringLiteral("setStatusPicture(0)"), QStringLiteral("disconnectActiveLink()"),
        QStringLiteral("showMachineNotMatch()") };
}

// Route reply effects for one output, as page calls.
QStringList RouteCalls(quint32 input, quint32 output)
{
    return { QStringLiteral("matrixSetRoute(%1,%2)").arg(input).arg(output),
        QStringLiteral("multiviewShowWindowInput(%1,0,%2)").arg(output).arg(input) };
}

} // namespace

class TestReplyParser : public QObject
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
        DeviceState.modelReplyHandled = true;
    }

    void cleanup() { LinkMode = LinkModeNone; }

    void lines_data();
    void lines();
    void repeatedModelReplyStartsNoSecondBurst();
};

void TestReplyParser::lines_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QStringList>("queued");

    const int S = LinkModeSerial;
    const int T = LinkModeTcp;
    const QStringList noCalls;
    const QStringList noLines;
    auto row = [](const char *name, int mode, const QString &state, const QString &line,
                   const QStringList &calls, const QString &check, const QStringList &queued) {
        QTest::newRow(name) << mode << state << line << calls << check << queued;
    };
    auto L = [](const char *text) { return QString::fromUtf8(text); };

    // Signal configuration replies, the keyword order and the port rules.
    row("output resolution", S, Confirmed, L("OUT1 RESOLUTION 1920x1080p60\r"),
        { L("signalOutputResolution(0,1920x1080p60)") }, "", noLines);
    row("IN RESOLUTION before RESOLUTION", S, Confirmed, L("IN1 IN RESOLUTION No-Signal\r"),
        { L("signalInputFormat(0,No-Signal)") }, "", noLines);
    row("hdcp", S, Confirmed, L("OUT4 HDCP FORCE-1.4\r"), { L("signalOutputType(3,FORCE-1.4)") }, "",
        noLines);
    row("an earlier keyword inside the value wins", S, Confirmed, L("OUT1 AUDIO SOURCE HDCP\r"),
        { L("signalOutputType(0,)") }, "mv[0].audio=0", noLines);
    row("port 0 stands for all ports", S, Confirmed, L("OUT0 RESOLUTION AUTO\r"),
        { L("signalOutputResolution(255,AUTO)") }, "", noLines);
    row("port text that is not a number reads as 0", S, "mv[159].vka=2", L("OUTX VKA BLUESCREEN\r"),
        { L("multiviewShowVka(255,0)") }, "mv[159].vka=0", noLines);
    row("output 5 of 4 is ignored", S, Confirmed, L("OUT5 VKA BLUESCREEN\r"), noCalls, "mv[4].vka=0",
        noLines);
    row("input 5 of 4 is ignored", S, Confirmed, L("IN5 IN RESOLUTION 720p\r"), noCalls, "", noLines);
    row("output 16 of 16 before confirmation", S, AwaitingModel, L("OUT16 RESOLUTION AUTO\r"),
        { L("signalOutputResolution(15,AUTO)") }, "", noLines);
    row("input info", S, Confirmed, L("IN1 IN-INFO HDMI No-Signal x EMBEDDED\r"),
        { L("signalInputType(0,HDMI)"), L("signalInputFormat(0,No-Signal)"),
            L("signalInputOutputFormat(0,x)"), L("signalInputAudio(0,EMBEDDED)"),
            L("appendStatusLine(Sync Input-1 Message.)") },
        "", noLines);
    row("input info with missing fields repeats the last", S, Confirmed, L("IN2 IN-INFO HDMI 720p\r"),
        { L("signalInputType(1,HDMI)"), L("signalInputFormat(1,720p)"), L("signalInputOutputFormat(1,720p)"),
            L("signalInputAudio(1,720p)"), L("appendStatusLine(Sync Input-2 Message.)") },
        "", noLines);
    row("output info", S, Confirmed, L("OUT3 OUT-INFO FORCE-2.2 Multi-Mode 1920x1080p60\r"),
        { L("signalOutputType(2,FORCE-2.2)"), L("signalOutputInputFormat(2,Multi-Mode)"),
            L("signalOutputResolution(2,1920x1080p60)"), L("appendStatusLine(Sync Output-3 Message.)") },
        "", noLines);
    row("output info without a port", S, Confirmed, L("OUT-INFO FORCE-2.2 x y\r"), noCalls, "", noLines);

    // Versions and link settings.
    row("main version", S, Confirmed, L("MAIN VERSION V1.00\r"), { L("systemShowVersion(V1.00)") }, "",
        noLines);
    row("keyboard version", S, Confirmed, L("KEYBOARD VERSION K2\r"), { L("systemShowVersion(K2)") }, "",
        noLines);
    row("output version ignores the port", S, Confirmed, L("OUT2 VERSION V1.00\r"),
        { L("systemShowVersion(V1.00)") }, "", noLines);
    row("version of output 5 of 4", S, Confirmed, L("OUT5 VERSION V1.00\r"), noCalls, "", noLines);
    row("version beyond Latin-1", S, Confirmed, L("MAIN VERSION V1é€\r"), { L("systemShowVersion(V1é?)") },
        "", noLines);
    row("network info", T, Confirmed, L("NETWORK-INFO 192.168.0.10 2000 255.255.255.0 192.168.0.1\r"),
        { L("systemNetworkReply(192.168.0.10,2000,255.255.255.0,192.168.0.1)"),
            L("appendStatusLine(Sync System Message.)") },
        "", noLines);
    row("network info after an LF", T, Confirmed, L("\nNETWORK-INFO 1.2.3.4 23 255.0.0.0 1.2.3.1\r"),
        { L("systemNetworkReply(1.2.3.4,23,255.0.0.0,1.2.3.1)"),
            L("appendStatusLine(Sync System Message.)") },
        "", noLines);
    row("baud rate", S, Confirmed, L("BAUDRATE 115200\r"),
        { L("systemBaudReply(115200)"), L("appendStatusLine(Sync System Message.)") }, "", noLines);
    row("baud rate that is no number", S, Confirmed, L("BAUDRATE fast\r"),
        { L("systemBaudReply(0)"), L("appendStatusLine(Sync System Message.)") }, "", noLines);

    // Routes.
    row("route of output 3", S, Confirmed, L("OUT3 VIDEO IN HDMI4\r"), RouteCalls(3, 2),
        "route[2]=3;mv[2].win0=3;wall[2].input=3;route[0]=0", noLines);
    row("route of all outputs", S, Confirmed, L("OUT0 VIDEO IN HDMI2\r"),
        QStringList { L("matrixSetRoute(1,255)"), L("multiviewShowWindowInput(0,0,1)"),
            L("multiviewShowWindowInput(1,0,1)"), L("multiviewShowWindowInput(2,0,1)"),
            L("multiviewShowWindowInput(3,0,1)") },
        "route[0]=1;route[1]=1;route[2]=1;route[3]=1;route[4]=0;mv[3].win0=1;wall[3].input=1;wall[4].input=0",
        noLines);
    row("route before confirmation", S, AwaitingModel, L("OUT1 VIDEO IN HDMI2\r"), noCalls, "route[0]=0",
        noLines);
    row("route with an input prefix", S, Confirmed, L("IN1 VIDEO IN HDMI2\r"), noCalls, "route[0]=0",
        noLines);
    row("route to an unknown input", S, Confirmed, L("OUT1 VIDEO IN HDMI5\r"), noCalls, "route[0]=0",
        noLines);
    row("VIDEO OUT glued to a number is no route", S, Confirmed, L("OUT1 VIDEO OUT2\r"), noCalls,
        "route[1]=0", noLines);
    row("route list of an input", S, Confirmed, L("IN2 VIDEO OUT 1,3\r"), RouteCalls(1, 0) + RouteCalls(1, 2),
        "route[0]=1;route[1]=0;route[2]=1;mv[2].win0=1;wall[0].input=1;wall[2].input=1", noLines);
    row("route list longer than the outputs", S, Confirmed, L("IN1 VIDEO OUT 4,3,2,1,5\r"),
        RouteCalls(0, 3) + RouteCalls(0, 2) + RouteCalls(0, 1) + RouteCalls(0, 0), "", noLines);
    row("route list skips outputs that do not exist", S, Confirmed, L("IN2 VIDEO OUT 0,5,256,2\r"),
        RouteCalls(1, 1), "route[1]=1;route[159]=0;route[0]=0;route[3]=0", noLines);
    row("route list stops at an empty item", S, Confirmed, L("IN4 VIDEO OUT 2,,3\r"), RouteCalls(3, 1),
        "route[1]=3;route[2]=0", noLines);
    row("route list of input 0", S, Confirmed, L("IN0 VIDEO OUT 1\r"), noCalls, "", noLines);
    row("route list before confirmation", S, AwaitingModel, L("IN1 VIDEO OUT 1\r"), noCalls, "", noLines);
    row("route list with an output prefix", S, Confirmed, L("OUT2 VIDEO OUT 1\r"), noCalls, "route[0]=0",
        noLines);
    row("input to every output", S, Confirmed, L("IN3 VIDEO ALL\r"),
        RouteCalls(2, 0) + RouteCalls(2, 1) + RouteCalls(2, 2) + RouteCalls(2, 3),
        "route[0]=2;route[3]=2;route[4]=0;mv[1].win0=2;wall[2].input=2", noLines);
    row("input to every output before confirmation", S, AwaitingModel, L("IN3 VIDEO ALL\r"), noCalls,
        "route[0]=0", noLines);
    row("matrix route list", S, Confirmed, L("MATRIX-ROUTE 0 1 1 3\r"),
        { L("matrixSetRouteList(0 1 1 3)"), L("matrixSetRoute(0,0)"), L("matrixSetRoute(1,1)"),
            L("matrixSetRoute(1,2)"), L("matrixSetRoute(3,3)"), L("appendStatusLine(Sync Matrix Message.)") },
        "route[0]=0;route[1]=1;route[2]=1;route[3]=3", noLines);
    row("matrix route list after an LF", S, Confirmed, L("\nMATRIX-ROUTE 2 x\r"),
        { L("matrixSetRouteList(2 x)"), L("matrixSetRoute(2,0)"), L("matrixSetRoute(0,1)"),
            L("appendStatusLine(Sync Matrix Message.)") },
        "route[0]=2;route[1]=0", noLines);
    row("matrix route list without a CR", S, Confirmed, L("MATRIX-ROUTE 3"),
        { L("matrixSetRouteList(3)"), L("matrixSetRoute(3,0)"), L("appendStatusLine(Sync Matrix Message.)") },
        "route[0]=3", noLines);

    // Multiview.
    row("vka", S, Confirmed, L("OUT1 VKA BLACKSCREEN\r"), { L("multiviewShowVka(0,1)") }, "mv[0].vka=1",
        noLines);
    row("vka unknown word", S, "mv[0].vka=2", L("OUT1 VKA GREEN\r"), noCalls, "mv[0].vka=2", noLines);
    row("vka after an LF has no port", S, Confirmed, L("\nOUT1 VKA BLUESCREEN\r"), noCalls, "", noLines);
    row("itc off", S, Confirmed, L("OUT2 ITC OFF\r"), { L("multiviewShowItc(1,1)") }, "mv[1].itc=1", noLines);
    row("itc NULL", S, "mv[1].itc=1", L("OUT2 ITC NULL\r"), noCalls, "mv[1].itc=1", noLines);
    row("audio source", S, Confirmed, L("OUT1 AUDIO SOURCE HDMI3\r"), { L("multiviewShowAudioSource(0,3)") },
        "mv[0].audio=3", noLines);
    row("mode of the shown output reads its layout", S, Confirmed, L("OUT1 MULTIVIEW PIP\r"),
        { L("multiviewShowMode(0,1)"), L("kickSend()") }, "mv[0].mode=1", { L("GET OUT1 MULTIVIEW-SYNC\r") });
    row("mode of another output", S, Confirmed, L("OUT2 MULTIVIEW 4xWIN\r"), { L("multiviewShowMode(1,4)") },
        "mv[1].mode=4", noLines);
    row("mode word 3xWIN is not MULTIVIEW-SYNC", S, Confirmed, L("OUT2 MULTIVIEW 3xWIN\r"),
        { L("multiviewShowMode(1,3)") }, "mv[1].mode=3", noLines);
    row("window 3 input", S, "mv[0].win2=3", L("OUT1 WINDOW3 IN HDMI1\r"),
        { L("multiviewShowWindowInput(0,2,0)") }, "mv[0].win2=0;route[0]=0", noLines);
    row("window 1 input routes", S, Confirmed, L("OUT1 WINDOW1 IN HDMI4\r"),
        { L("multiviewShowWindowInput(0,0,3)"), L("matrixSetRoute(3,0)") },
        "mv[0].win0=3;route[0]=3;wall[0].input=3", noLines);
    row("window input before confirmation", S, AwaitingModel, L("OUT1 WINDOW2 IN HDMI4\r"), noCalls,
        "mv[0].win1=0", noLines);
    row("pip position", S, "mv[0].mode=1", L("OUT1 PIP POS RightBottom\r"), { L("multiviewShowPipPos(0,3)") },
        "mv[0].pipPos=3", noLines);
    row("pip size", S, "mv[0].mode=1", L("OUT1 PIP SIZE LARGE\r"), { L("multiviewShowPipSize(0,2)") },
        "mv[0].pipSize=2", noLines);
    row("pip position outside PIP", S, "mv[0].mode=0", L("OUT1 PIP POS RightBottom\r"), noCalls,
        "mv[0].pipPos=0", noLines);
    row("pip size before confirmation", S, "unconfirmed=1;mv[0].mode=1", L("OUT1 PIP SIZE LARGE\r"), noCalls,
        "mv[0].pipSize=0", noLines);
    row("layout", S, "mv[0].mode=2", L("OUT1 PBP MODE 3\r"), { L("multiviewShowLayout(0,2)") },
        "mv[0].layout=2", noLines);
    row("layout with another mode word", S, "mv[0].mode=2", L("OUT1 4xWIN MODE 2\r"),
        { L("multiviewShowLayout(0,1)") }, "mv[0].layout=1", noLines);
    row("layout 0", S, "mv[0].mode=3;mv[0].layout=2", L("OUT1 3xWIN MODE 0\r"), noCalls, "mv[0].layout=2",
        noLines);
    row("layout in PIP", S, "mv[0].mode=1", L("OUT1 PBP MODE 2\r"), noCalls, "mv[0].layout=0", noLines);
    row("aspect", S, "mv[0].mode=3", L("OUT1 3xWIN ASPECT 16:9\r"), { L("multiviewShowAspect(0,1)") },
        "mv[0].aspect=1", noLines);
    row("aspect in SINGLE", S, Confirmed, L("OUT1 PBP ASPECT 16:9\r"), noCalls, "mv[0].aspect=0", noLines);
    row("layout count", S, "mv[0].layout=1", L("OUT1 MAXMODE 3\r"),
        { L("multiviewFillLayoutList(0,3)"), L("multiviewShowLayout(0,1)") }, "mv[0].maxMode=3", noLines);
    row("layout count 0", S, "mv[0].maxMode=2", L("OUT1 MAXMODE 0\r"), noCalls, "mv[0].maxMode=2", noLines);
    row("pip user window", S, Confirmed, L("OUT1 PIP USER 10 20 300 400\r"),
        { L("multiviewShowUserWindow(0,10,20,300,400)") }, "", noLines);
    row("presenter window with two numbers", S, Confirmed, L("OUT2 PBP-PRESENTER 1 2\r"),
        { L("multiviewShowUserWindow(1,1,2,2,2)") }, "", noLines);
    row("sync of a PIP output", S, "mv[0].win1=3;mv[0].win2=2;mv[0].win3=1;mv[0].pipPos=2;mv[0].pipSize=2",
        L("OUT1 MULTIVIEW-SYNC PIP HDMI2 NULL NULL NULL LeftTop SMALL\r"),
        { L("matrixSetRoute(1,0)"), L("multiviewShowSyncState(0)"),
            L("appendStatusLine(Sync Multiview Message.)") },
        "mv[0].mode=1;mv[0].win0=1;mv[0].win1=3;mv[0].win2=2;mv[0].win3=1;mv[0].pipPos=0;mv[0].pipSize=0;"
        "route[0]=1;wall[0].input=1",
        noLines);
    row("sync of a 3xWIN output", S, "mv[1].layout=4;mv[1].maxMode=6",
        L("OUT2 MULTIVIEW-SYNC 3xWIN HDMI1 HDMI3 HDMI4 NULL 16:9 2 3\r"),
        { L("matrixSetRoute(0,1)"), L("multiviewShowSyncState(1)"),
            L("appendStatusLine(Sync Multiview Message.)") },
        "mv[1].mode=3;mv[1].win0=0;mv[1].win1=2;mv[1].win2=3;mv[1].win3=0;mv[1].aspect=1;mv[1].layout=1;"
        "mv[1].maxMode=3;route[1]=0",
        noLines);
    row("sync of a 4xWIN output with layout 0", S, "mv[0].layout=3;mv[0].maxMode=4",
        L("OUT1 MULTIVIEW-SYNC 4xWIN NULL NULL NULL NULL FULL 0 0\r"),
        { L("multiviewShowSyncState(0)"), L("appendStatusLine(Sync Multiview Message.)") },
        "mv[0].mode=4;mv[0].layout=3;mv[0].maxMode=0;mv[0].aspect=0", noLines);
    row("sync of a SINGLE output reads no layout", S,
        "mv[0].mode=2;mv[0].pipPos=3;mv[0].aspect=1;mv[0].maxMode=5",
        L("OUT1 MULTIVIEW-SYNC SINGLE HDMI3 NULL NULL NULL LeftTop FULL 1\r"),
        { L("matrixSetRoute(2,0)"), L("multiviewShowSyncState(0)"),
            L("appendStatusLine(Sync Multiview Message.)") },
        "mv[0].mode=0;mv[0].pipPos=3;mv[0].aspect=1;mv[0].maxMode=5;mv[0].win0=2", noLines);
    row("sync with an unknown mode keeps the stored one", S, "mv[0].mode=1;mv[0].pipSize=1",
        L("OUT1 MULTIVIEW-SYNC 9xWIN NULL NULL NULL NULL USER USER\r"),
        { L("multiviewShowSyncState(0)"), L("appendStatusLine(Sync Multiview Message.)") },
        "mv[0].mode=1;mv[0].pipPos=4;mv[0].pipSize=3", noLines);
    row("sync before confirmation", S, AwaitingModel, L("OUT1 MULTIVIEW-SYNC PIP HDMI2\r"), noCalls,
        "mv[0].mode=0", noLines);
    // A sync line cut short leaves the windows and settings it no longer reaches as they were.
    row("sync cut after the first window keeps the other windows", S,
        "mv[0].win1=3;mv[0].win2=2;mv[0].win3=3;mv[0].pipPos=2;mv[0].pipSize=1",
        L("OUT1 MULTIVIEW-SYNC PIP HDMI2\r"),
        { L("matrixSetRoute(1,0)"), L("multiviewShowSyncState(0)"),
            L("appendStatusLine(Sync Multiview Message.)") },
        "mv[0].mode=1;mv[0].win0=1;mv[0].win1=3;mv[0].win2=2;mv[0].win3=3;mv[0].pipPos=2;mv[0].pipSize=1;"
        "route[0]=1",
        noLines);
    row("sync cut after two windows keeps the last two", S, "mv[0].win2=3;mv[0].win3=3",
        L("OUT1 MULTIVIEW-SYNC 4xWIN HDMI1 HDMI2\r"),
        { L("matrixSetRoute(0,0)"), L("multiviewShowSyncState(0)"),
            L("appendStatusLine(Sync Multiview Message.)") },
        "mv[0].mode=4;mv[0].win0=0;mv[0].win1=1;mv[0].win2=3;mv[0].win3=3", noLines);
    row("sync cut before the layout count keeps it", S, "mv[1].layout=4;mv[1].maxMode=6",
        L("OUT2 MULTIVIEW-SYNC 3xWIN HDMI1 HDMI3 HDMI4 NULL 16:9 2\r"),
        { L("matrixSetRoute(0,1)"), L("multiviewShowSyncState(1)"),
            L("appendStatusLine(Sync Multiview Message.)") },
        "mv[1].mode=3;mv[1].aspect=1;mv[1].layout=1;mv[1].maxMode=6", noLines);
    row("sync cut before the layout keeps layout and count", S, "mv[1].layout=4;mv[1].maxMode=6;mv[1].aspect=1",
        L("OUT2 MULTIVIEW-SYNC PBP HDMI1 HDMI3 NULL NULL FULL\r"),
        { L("matrixSetRoute(0,1)"), L("multiviewShowSyncState(1)"),
            L("appendStatusLine(Sync Multiview Message.)") },
        "mv[1].mode=2;mv[1].aspect=0;mv[1].layout=4;mv[1].maxMode=6", noLines);

    // EDID.
    row("edid mode", S, Confirmed, L("IN2 EDIDMODE 1080p60-5.1\r"), { L("matrixInEdidMode(1,7)") },
        "edid[1]=7", noLines);
    row("edid mode USER", S, Confirmed, L("IN1 EDIDMODE USER\r"), { L("matrixInEdidMode(0,20)") },
        "edid[0]=20", noLines);
    row("edid mode before confirmation", S, AwaitingModel, L("IN1 EDIDMODE AUTO\r"), noCalls, "edid[0]=0",
        noLines);
    row("output edid", S, Confirmed, L("OUT1 OUTPORT-EDID 00FFFFFFFFFFFF00\r"),
        { L("matrixOutEdid(0,00FFFFFFFFFFFF00)") }, "", noLines);

    // Identification and the synchronisation burst.
    row("model match over serial", S, AwaitingModel, L("MODEL TYPE RZ7P52KN\r"), ConfirmationCalls(S),
        "unconfirmed=0;handled=1;inputs=4;outputs=4",
        RereadLines(S) + QStringList { L("GET SYNC-OVER\r") });
    row("model match over tcp", T, AwaitingModel, L("MODEL TYPE RZ7P52KN\r"), ConfirmationCalls(T),
        "unconfirmed=0;handled=1;inputs=4;outputs=4",
        RereadLines(T) + QStringList { L("GET SYNC-OVER\r") });
    row("model mismatch", S, AwaitingModel, L("MODEL TYPE XYZ\r"), MismatchCalls(),
        "unconfirmed=1;handled=0;inputs=16;outputs=16", noLines);
    row("model name with a suffix is a mismatch", S, AwaitingModel, L("MODEL TYPE RZ7P52KNX\r"),
        MismatchCalls(), "unconfirmed=1", noLines);
    row("second model reply on a confirmed link", S, Confirmed, L("MODEL TYPE RZ7P52KN\r"), noCalls,
        "handled=1", noLines);
    row("matching reply after a mismatch on the same link", S, "unconfirmed=1;handled=1;inputs=16;outputs=16",
        L("MODEL TYPE RZ7P52KN\r"), noCalls, "unconfirmed=1;inputs=16", noLines);
    row("scene load re-reads every page", S, Confirmed, L("LOAD SCENE 3\r"), RereadCalls(S), "",
        RereadLines(S));
    row("scene save", S, Confirmed, L("SAVE SCENE 3\r"), noCalls, "", noLines);
    row("sync over", S, Confirmed, L("SYNC-OVER\r"), { L("appendStatusLine(\r\n->Sync Over!<-)") }, "",
        noLines);
    row("sync over after an LF", S, Confirmed, L("\nSYNC-OVER\r"),
        { L("appendStatusLine(\r\n->Sync Over!<-)") }, "", noLines);

    // The wall.
    row("wall of four cells", S, Confirmed,
        L("TVWALL-INFO 4 2 2 1 0 3 1 2 3 4 2 3 0 2 0 0 0 0 1 4 2 1 5 6 7 8 0 0 0 0 9 9 9 9 3\r"),
        { L("tvWallSelectRowsCols(2,2)"), L("tvWallContentUpdated()"),
            L("appendStatusLine(Sync TV Wall Message.)") },
        "wall.rows=2;wall.cols=2;wall.total=4;wall[0].output=3;wall[1].output=2;wall[2].output=1;wall[3]."
        "output=0;"
        "wall[3].input=2;wall[3].spliced=1;wall[3].edgeL=1;wall[3].edgeB=4;wall[2].spliced=1;wall[2].flag1=1;"
        "wall[2].anchor=0;wall[1].singleExit=1;wall[1].spliced=0;wall[1].anchor=2;wall[1].edgeU=7;wall[1]."
        "input=0;"
        "wall[0].edgeR=9;wall[0].input=3;wall[4].output=4",
        noLines);
    row("wall cell with empty fields keeps the previous numbers", S, Confirmed,
        L("TVWALL-INFO 2 1 2 5 0 1 5 6 7 8 2 2  0 9 9   3\r"),
        { L("tvWallSelectRowsCols(1,2)"), L("tvWallContentUpdated()"),
            L("appendStatusLine(Sync TV Wall Message.)") },
        "wall[0].output=1;wall[1].output=0;wall[1].spliced=1;wall[1].singleExit=1;wall[1].edgeL=5;wall[1]."
        "input=2;"
        "wall[0].spliced=0;wall[0].flag1=1;wall[0].edgeL=9;wall[0].edgeR=9;wall[0].edgeU=7;wall[0].edgeB=8;"
        "wall[0].input=3",
        noLines);
    row("wall whose total is not rows x cols", S, "wall.rows=1;wall.cols=1;wall.total=1;wall[0].output=2",
        L("TVWALL-INFO 5 2 2 0 0 0 0 0 0 0 0\r"), noCalls, "wall.rows=1;wall.total=1;wall[0].output=2",
        noLines);
    row("wall larger than the slots", S, "wall.rows=1;wall.cols=1;wall.total=1", L("TVWALL-INFO 169 13 13\r"),
        noCalls, "wall.rows=1;wall.total=1", noLines);
    row("wall whose size only matches after wrap-around", S, "wall.rows=1;wall.cols=1;wall.total=1",
        L("TVWALL-INFO 0 65536 65536\r"), noCalls, "wall.rows=1;wall.total=1", noLines);
    row("wall of 4 billion cells", S, "wall.rows=1;wall.cols=1;wall.total=1",
        L("TVWALL-INFO 4294967295 1 4294967295\r"), noCalls, "wall.rows=1;wall.total=1", noLines);
    row("empty wall", S, "wall.rows=1;wall.cols=1;wall.total=1;wall[0].output=3;wall[0].edgeL=4",
        L("TVWALL-INFO 0 0 0\r"),
        { L("tvWallSelectRowsCols(0,0)"), L("tvWallContentUpdated()"),
            L("appendStatusLine(Sync TV Wall Message.)") },
        "wall.rows=0;wall.cols=0;wall.total=0;wall[0].output=0;wall[0].edgeL=0;wall[159].output=159",
        noLines);
    row("wall after an LF", S, Confirmed, L("\nTVWALL-INFO 1 1 1 0 0 2 0 0 0 0 1\r"),
        { L("tvWallSelectRowsCols(1,1)"), L("tvWallContentUpdated()"),
            L("appendStatusLine(Sync TV Wall Message.)") },
        "wall.total=1;wall[0].output=2;wall[2].input=1", noLines);
    // A wall line cut short is ignored whole: the cells it lacks would read as zeros.
    const QString smallWall = "wall.rows=1;wall.cols=1;wall.total=1;wall[0].output=2;wall[2].input=3";
    row("wall line cut after the first numbers", S, smallWall, L("TVWALL-INFO 4 2 2 1 0 0\r"), noCalls,
        smallWall + ";wall[1].output=0", noLines);
    row("wall line one number short", S, smallWall, L("TVWALL-INFO 1 1 1 0 0 3 0 0 0 0\r"), noCalls,
        smallWall, noLines);
    row("wall of two cells without the second cell's last number", S, smallWall,
        L("TVWALL-INFO 2 1 2 1 0 1 0 0 0 0 1 1 0 0 0 0 0 0\r"), noCalls, smallWall, noLines);
    row("wall line with the numbers of its size only", S, smallWall, L("TVWALL-INFO 1 1 1\r"), noCalls,
        smallWall, noLines);

    // Lines that change nothing.
    row("empty line", S, Confirmed, L(""), noCalls, "", noLines);
    row("CR only", S, Confirmed, L("\r"), noCalls, "", noLines);
    row("sync over without its CR", S, Confirmed, L("SYNC-OVER"), noCalls, "", noLines);
    row("searched but unhandled keyword", S, Confirmed, L("OUT1 WALLPORT 1 1 1 1 0 0 0 0 0\r"), noCalls, "",
        noLines);
    row("help", S, Confirmed, L("HELP\r"), noCalls, "", noLines);
    // Signal settings the device confirmed are kept (word index + 1), so a page can fall back on them.
    row("audio mute confirmed", S, Confirmed, L("OUT1 AUDIO-MUTE ON\r"), { L("signalOutputConfirmed(0)") },
        "sig[0].mute=1", noLines);
    row("audio mute off confirmed", S, Confirmed, L("OUT2 AUDIO-MUTE OFF\r"), { L("signalOutputConfirmed(1)") },
        "sig[1].mute=2", noLines);
    row("rotation confirmed", S, Confirmed, L("OUT4 ROTATION 180\r"), { L("signalOutputConfirmed(3)") },
        "sig[3].rotation=3", noLines);
    row("freeze confirmed", S, Confirmed, L("OUT3 FREEZE-WINALL ON\r"), { L("signalOutputConfirmed(2)") },
        "sig[2].freeze=1", noLines);
    row("rotation word outside the list keeps the last one", S, "sig[3].rotation=2", L("OUT4 ROTATION 45\r"),
        { L("signalOutputConfirmed(3)") }, "sig[3].rotation=2", noLines);
    row("HDCP reply kept", S, Confirmed, L("OUT2 HDCP FORCE-2.2\r"), { L("signalOutputType(1,FORCE-2.2)") },
        "sig[1].hdcp=2", noLines);
    row("input audio reply kept", S, Confirmed, L("IN3 AUDIO-SRC L/R\r"), { L("signalInputAudio(2,L/R)") },
        "sig[2].inAudio=2", noLines);
    row("unknown keyword", S, Confirmed, L("OUT1 BANANA 3\r"), noCalls, "", noLines);
    row("prefix without a keyword", S, Confirmed, L("OUT1\r"), noCalls, "", noLines);
    row("text behind the first CR is not read", S, Confirmed, L("OUT1\rVKA NOTIMING\r"), noCalls,
        "mv[0].vka=0", noLines);
    // A value word must be followed by a space or a CR, like a keyword.
    row("value word at the end of a line without its CR", S, "mv[0].vka=2", L("OUT1 VKA BLUESCREEN"), noCalls,
        "mv[0].vka=2", noLines);
    row("model name at the end of a line without its CR", S, AwaitingModel, L("MODEL TYPE RZ7P52KN"),
        MismatchCalls(), "unconfirmed=1;inputs=16", noLines);
    row("sync whose last field lacks its CR", S, Confirmed, L("OUT1 MULTIVIEW-SYNC PIP HDMI2"),
        { L("multiviewShowSyncState(0)"), L("appendStatusLine(Sync Multiview Message.)") },
        "mv[0].mode=1;mv[0].win0=0;route[0]=0", noLines);
}

void TestReplyParser::lines()
{
    QFETCH(int, linkMode);
    QFETCH(QString, state);
    QFETCH(QString, line);
    QFETCH(QStringList, calls);
    QFETCH(QString, check);
    QFETCH(QStringList, queued);

    QCOMPARE(DeviceStateText::apply(state), QStringList());
    LinkMode = linkMode;
    RecordingPages pages;
    ParseReplyLine(pages, line);

    QCOMPARE(pages.calls, calls);
    QCOMPARE(DeviceStateText::differences(check), QStringList());
    LinkQueue &selected = linkMode == LinkModeTcp ? TcpLinkQueue() : SerialLinkQueue();
    LinkQueue &other = linkMode == LinkModeTcp ? SerialLinkQueue() : TcpLinkQueue();
    QCOMPARE(QueuedLines(selected), queued);
    QCOMPARE(other.sendQueueSize(), 0);
}

// After a confirmation on one link, a repeated model query (as after a language switch) must
// neither rebuild nor queue a second burst; after a disconnect the next reply is judged again.
void TestReplyParser::repeatedModelReplyStartsNoSecondBurst()
{
    DeviceState_Clear();
    DeviceState.inputCount = 16;
    DeviceState.outputCount = 16;
    LinkMode = LinkModeSerial;
    RecordingPages pages;
    const QString reply = QStringLiteral("MODEL TYPE RZ7P52KN\r");
    ParseReplyLine(pages, reply);
    QCOMPARE(SerialLinkQueue().sendQueueSize(), 16);

    pages.calls.clear();
    ParseReplyLine(pages, reply);
    QCOMPARE(pages.calls, QStringList());
    QCOMPARE(SerialLinkQueue().sendQueueSize(), 16);

    pages.connectionDisconnectActiveLink();
    pages.calls.clear();
    ParseReplyLine(pages, reply);
    QCOMPARE(pages.calls, ConfirmationCalls(LinkModeSerial));
    QCOMPARE(SerialLinkQueue().sendQueueSize(), 32);
}

QTEST_GUILESS_MAIN(TestReplyParser)
#include "tst_replyparser.moc"
