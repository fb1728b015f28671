// The simulator's device logic: what it answers to each request, what it reports to other
// clients, scenes and reset, its EDIDs, and, above all, that the program's own command
// builders and reply parser stay in step with it through a whole conversation.
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/WallEditor.h"
#include "protocol/ProtocolKeywordTable.h"
#include "protocol/ReplyPages.h"
#include "protocol/ReplyParser.h"
#include "protocol/ValueWords.h"
#include "sim/SimDevice.h"
#include "sim/SimEdid.h"
#include "sim/SimHub.h"
#include "sim/SimLineSplitter.h"
#include "sim/SimOptions.h"

#include <QMap>
#include <QRandomGenerator>
#include <QtTest>
#include <functional>

using Actions = QVector<std::function<void()>>;
Q_DECLARE_METATYPE(Actions)
using WallEdits = QVector<std::function<void(WallEditor &)>>;
Q_DECLARE_METATYPE(WallEdits)

namespace {

SimDeviceConfig TestConfig(const QByteArray &model = QByteArray(ExpectedModel))
{
    return { model,
        { QStringLiteral("192.168.0.10"), QStringLiteral("2000"), QStringLiteral("255.255.255.0"),
            QStringLiteral("192.168.0.1") } };
}

QStringList Texts(const QList<QByteArray> &lines)
{
    QStringList texts;
    for (const QByteArray &line : lines)
        texts.append(QString::fromLatin1(line));
    return texts;
}

void RunAll(SimDevice &device, const QStringList &requests)
{
    for (const QString &request : requests)
        device.handleRequest(request.toLatin1());
}

// The keyword the program's reply parser takes a line for, or -1.
int KeywordOf(const QByteArray &line)
{
    const QByteArray bytes = line + '\r';
    int offset = 0;
    return ProtocolKeywordTable::findKeyword(bytes.constData(), 0, bytes.size(), &offset);
}

QByteArray FactoryWallLine()
{
    return "TVWALL-INFO 4 2 2 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 1 0 0 2 0 0 0 0 2 0 0 3 0 0 0 0 3";
}

// Plays the pages for the reply parser and keeps what it hands to the pages that keep no
// device state of their own.
class SimTestPages : public ReplyPages
{
public:
    QStringList statusLog;
    int machineMismatches = 0;
    QMap<quint32, QString> outputResolution;
    QMap<quint32, QString> outputType;
    QMap<quint32, QString> inputAudio;
    QMap<quint32, int> inputEdidMode;
    QStringList network;
    int baudrate = 0;

    // Told of every wall layout reply, as the wall display grid is.
    std::function<void()> wallChanged;

    void kickSend() override { }
    void tvWallContentUpdated() override
    {
        if (wallChanged)
            wallChanged();
    }
    void connectionAppendStatusLine(const QString &text) override { statusLog.append(text); }
    void showMachineNotMatch() override { ++machineMismatches; }
    void signalOutputResolution(quint32 output, const QString &keyword) override
    {
        outputResolution[output] = keyword;
    }
    void signalOutputType(quint32 output, const QString &keyword) override { outputType[output] = keyword; }
    void signalInputAudio(quint32 input, const QString &keyword) override { inputAudio[input] = keyword; }
    void matrixInEdidMode(quint32 input, int mode) override { inputEdidMode[input] = mode; }
    void systemNetworkReply(
        const QString &ip, const QString &port, const QString &mask, const QString &gateway) override
    {
        network = QStringList { ip, port, mask, gateway };
    }
    void systemBaudReply(int rate) override { baudrate = rate; }
};

// The program and the simulator talking: every line the builders queue on the TCP link goes to
// the simulator; the answer must contain the line's expected text, as the link service
// requires, and every answer line goes through the program's reply parser, which may queue
// further lines.
class Conversation
{
public:
    explicit Conversation(SimDevice &device)
        : m_device(device)
    { }

    SimTestPages pages;
    QStringList unanswered; // commands whose expected reply text never came
    QStringList sent;

    void run()
    {
        LinkQueue &queue = TcpLinkQueue();
        for (;;) {
            QueuedLine line;
            {
                LinkMutexLocker lock(queue.sendMutex);
                if (queue.sendQueue.isEmpty())
                    return;
                line = queue.sendQueue.takeFirst();
            }
            QByteArray text = line.bytes;
            if (text.endsWith('\r'))
                text.chop(1);
            sent.append(QString::fromLatin1(text));
            QVERIFY2(sent.size() < 1000, "the conversation does not end");
            const QList<QByteArray> answer = m_device.handleRequest(text).requesterLines();
            if (!isAnswered(line.expectation, answer))
                unanswered.append(QString::fromLatin1(text));
            for (const QByteArray &reply : answer)
                ParseReplyLine(pages, QString::fromUtf8(reply + '\r'));
        }
    }

private:
    static bool isAnswered(const ReplyExpectation &expectation, const QList<QByteArray> &answer)
    {
        if (!expectation.needMatch || expectation.patternCount == 0)
            return true;
        const QByteArray pattern(expectation.patterns[0], int(expectation.patternLengths[0]));
        for (const QByteArray &reply : answer) {
            if (reply.contains(pattern))
                return true;
        }
        return false;
    }

    SimDevice &m_device;
};

} // namespace

class TestSimDevice : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyVersionQueryHasItsOwnAnswer();

    void answers_data();
    void answers();
    void answersAreReadAsTheirKeyword_data();
    void answersAreReadAsTheirKeyword();
    void refusedRequests_data();
    void refusedRequests();
    void wallCommandsAnswerWithTheLayout_data();
    void wallCommandsAnswerWithTheLayout();
    void sceneSaveAndLoad_data();
    void sceneSaveAndLoad();
    void resetRestoresFactoryState();
    void outputEdid_data();
    void outputEdid();
    void userEdid_data();
    void userEdid();
    void requestLineEndings_data();
    void requestLineEndings();
    void everyRequestIsAnswered();
    void junkLinesCarryNothingTheProgramActsOn();
    void refusalLine_data();
    void refusalLine();
    void options_data();
    void options();
    void programStaysInStep_data();
    void programStaysInStep();
    void wallReadsBackAfterReconnect_data();
    void wallReadsBackAfterReconnect();
};

void TestSimDevice::init()
{
    DeviceState_Clear();
    LinkMode = LinkModeTcp;
    TcpLinkQueue().deactivate();
    TcpLinkQueue().activate();
}

void TestSimDevice::cleanup()
{
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    TcpLinkQueue().activate();
}

void TestSimDevice::answers_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("request");
    QTest::addColumn<QStringList>("toRequester"); // everything the asker receives, in order
    QTest::addColumn<QStringList>("toOthers"); // the change report for the other clients

    const QStringList none;
    const QStringList pip { "SET OUT1 MULTIVIEW PIP" };

    QTest::newRow("model") << none << "GET MODEL TYPE" << QStringList { "MODEL TYPE RZ7P52KN" } << none;
    QTest::newRow("sync over") << none << "GET SYNC-OVER" << QStringList { "SYNC-OVER" } << none;
    QTest::newRow("surrounding white space") << none << "  GET SYNC-OVER \r\n"
                                             << QStringList { "SYNC-OVER" } << none;
    QTest::newRow("empty line") << none << "" << none << none;

    // Routing.
    QTest::newRow("route") << none << "SET IN1 VIDEO OUT3"
                           << QStringList { "IN1 VIDEO OUT3", "OUT3 VIDEO IN HDMI1" }
                           << QStringList { "OUT3 VIDEO IN HDMI1" };
    QTest::newRow("route already set")
        << none << "SET IN2 VIDEO OUT2" << QStringList { "IN2 VIDEO OUT2", "OUT2 VIDEO IN HDMI2" } << none;
    QTest::newRow("route list") << none << "SET IN2 VIDEO OUT1,3,4"
                                << QStringList { "IN2 VIDEO OUT1,3,4", "OUT1 VIDEO IN HDMI2",
                                       "OUT3 VIDEO IN HDMI2", "OUT4 VIDEO IN HDMI2" }
                                << QStringList { "OUT1 VIDEO IN HDMI2", "OUT3 VIDEO IN HDMI2",
                                       "OUT4 VIDEO IN HDMI2" };
    QTest::newRow("empty route list")
        << none << "SET IN1 VIDEO OUT" << QStringList { "IN1 VIDEO OUT" } << none;
    QTest::newRow("route to all") << none << "SET IN4 VIDEO ALL" << QStringList { "IN4 VIDEO ALL" }
                                  << QStringList { "IN4 VIDEO ALL" };
    QTest::newRow("route list query") << QStringList { "SET IN4 VIDEO OUT2", "SET IN1 VIDEO OUT3" }
                                      << "GET MATRIX-ROUTE" << QStringList { "MATRIX-ROUTE 0 3 0 3" } << none;
    QTest::newRow("first window is the route")
        << QStringList { "SET OUT2 WINDOW1 IN HDMI4" } << "GET MATRIX-ROUTE"
        << QStringList { "MATRIX-ROUTE 0 3 2 3" } << none;

    // Signal settings.
    QTest::newRow("resolution") << none << "SET OUT2 RESOLUTION 1920x1200p60RB"
                                << QStringList { "OUT2 RESOLUTION 1920x1200p60RB" }
                                << QStringList { "OUT2 RESOLUTION 1920x1200p60RB" };
    QTest::newRow("resolution query")
        << QStringList { "SET OUT2 RESOLUTION 1280x720p50" } << "GET OUT2 RESOLUTION"
        << QStringList { "OUT2 RESOLUTION 1280x720p50" } << none;
    QTest::newRow("rotation") << none << "SET OUT1 ROTATION 90" << QStringList { "OUT1 ROTATION 90" }
                              << QStringList { "OUT1 ROTATION 90" };
    QTest::newRow("hdcp") << none << "SET OUT4 HDCP FORCE-OFF" << QStringList { "OUT4 HDCP FORCE-OFF" }
                          << QStringList { "OUT4 HDCP FORCE-OFF" };
    QTest::newRow("audio mute") << none << "SET OUT3 AUDIO-MUTE ON" << QStringList { "OUT3 AUDIO-MUTE ON" }
                                << QStringList { "OUT3 AUDIO-MUTE ON" };
    QTest::newRow("freeze") << none << "SET OUT3 FREEZE-WINALL ON" << QStringList { "OUT3 FREEZE-WINALL ON" }
                            << QStringList { "OUT3 FREEZE-WINALL ON" };
    // The information line follows, as only that one updates a controller's audio choice.
    QTest::newRow("input audio") << none << "SET IN2 AUDIO-SRC L/R"
                                 << QStringList { "IN2 AUDIO-SRC L/R",
                                        "IN2 IN-INFO HDMI 1920x1080p60 Bypass L/R" }
                                 << QStringList { "IN2 AUDIO-SRC L/R",
                                        "IN2 IN-INFO HDMI 1920x1080p60 Bypass L/R" };
    QTest::newRow("input audio query")
        << none << "GET IN2 AUDIO-SRC" << QStringList { "IN2 AUDIO-SRC EMBEDDED" } << none;
    QTest::newRow("input info") << QStringList { "SET IN1 AUDIO-SRC L/R" } << "GET IN1 IN-INFO"
                                << QStringList { "IN1 IN-INFO HDMI 3840x2160p60 Bypass L/R" } << none;
    QTest::newRow("input without signal")
        << none << "GET IN4 IN-INFO" << QStringList { "IN4 IN-INFO HDMI No-Signal Bypass EMBEDDED" } << none;
    QTest::newRow("input resolution")
        << none << "GET IN2 IN RESOLUTION" << QStringList { "IN2 IN RESOLUTION 1920x1080p60" } << none;
    QTest::newRow("output info") << QStringList { "SET IN2 VIDEO OUT1", "SET OUT1 HDCP FORCE-2.2",
        "SET OUT1 RESOLUTION 1920x1080p50" }
                                 << "GET OUT1 OUT-INFO"
                                 << QStringList { "OUT1 OUT-INFO FORCE-2.2 1920x1080p60 1920x1080p50" }
                                 << none;
    QTest::newRow("output info in multiview")
        << QStringList { "SET OUT2 MULTIVIEW PIP" } << "GET OUT2 OUT-INFO"
        << QStringList { "OUT2 OUT-INFO FORCE-1.4 Multi-Mode AUTO" } << none;

    // Multiview.
    QTest::newRow("mode") << none << "SET OUT2 MULTIVIEW 3xWIN"
                          << QStringList { "OUT2 MULTIVIEW 3xWIN", "OUT2 MAXMODE 4", "OUT2 3xWIN MODE 1" }
                          << QStringList { "OUT2 MULTIVIEW 3xWIN", "OUT2 MAXMODE 4", "OUT2 3xWIN MODE 1" };
    QTest::newRow("mode pip has no layout")
        << none << "SET OUT3 MULTIVIEW PIP" << QStringList { "OUT3 MULTIVIEW PIP", "OUT3 MAXMODE 1" }
        << QStringList { "OUT3 MULTIVIEW PIP", "OUT3 MAXMODE 1" };
    QTest::newRow("mode single has no layout")
        << QStringList { "SET OUT3 MULTIVIEW 4xWIN" } << "SET OUT3 MULTIVIEW SINGLE"
        << QStringList { "OUT3 MULTIVIEW SINGLE", "OUT3 MAXMODE 1" }
        << QStringList { "OUT3 MULTIVIEW SINGLE", "OUT3 MAXMODE 1" };
    QTest::newRow("mode keeps a layout it has")
        << QStringList { "SET OUT1 MULTIVIEW 3xWIN", "SET OUT1 3xWIN MODE 4" } << "SET OUT1 MULTIVIEW 4xWIN"
        << QStringList { "OUT1 MULTIVIEW 4xWIN", "OUT1 MAXMODE 6", "OUT1 4xWIN MODE 4" }
        << QStringList { "OUT1 MULTIVIEW 4xWIN", "OUT1 MAXMODE 6", "OUT1 4xWIN MODE 4" };
    QTest::newRow("mode reports the fallback layout")
        << QStringList { "SET OUT1 MULTIVIEW 4xWIN", "SET OUT1 4xWIN MODE 6" } << "SET OUT1 MULTIVIEW PBP"
        << QStringList { "OUT1 MULTIVIEW PBP", "OUT1 MAXMODE 3", "OUT1 PBP MODE 1" }
        << QStringList { "OUT1 MULTIVIEW PBP", "OUT1 MAXMODE 3", "OUT1 PBP MODE 1" };
    QTest::newRow("pip user window kept per output")
        << QStringList { "SET OUT1 MULTIVIEW PIP", "SET OUT2 MULTIVIEW PIP", "SET OUT1 PIP USER 1 2 3 4",
               "SET OUT2 PIP USER 5 6 7 8" }
        << "GET OUT1 PIP USER" << QStringList { "OUT1 PIP USER 1 2 3 4" } << none;
    QTest::newRow("pip user window kept over a mode change")
        << QStringList { "SET OUT2 MULTIVIEW PIP", "SET OUT2 PIP USER 10 20 30 40", "SET OUT2 MULTIVIEW 4xWIN",
               "SET OUT2 MULTIVIEW PIP" }
        << "GET OUT2 PIP USER" << QStringList { "OUT2 PIP USER 10 20 30 40" } << none;
    QTest::newRow("presenter window kept per output")
        << QStringList { "SET OUT3 MULTIVIEW PBP", "SET OUT3 PBP MODE 3", "SET OUT4 MULTIVIEW PBP",
               "SET OUT4 PBP MODE 3", "SET OUT3 PBP-PRESENTER 0 0 960 1080", "SET OUT4 PBP-PRESENTER 9 8 7 6" }
        << "GET OUT3 PBP-PRESENTER" << QStringList { "OUT3 PBP-PRESENTER 0 0 960 1080" } << none;
    QTest::newRow("user window out of range refused")
        << QStringList { "SET OUT1 MULTIVIEW PIP", "SET OUT1 PIP USER 1 2 3 4" } << "SET OUT1 PIP USER 1 2 3 10000"
        << QStringList { "ERROR: INVALID PARAMETER" } << none;
    QTest::newRow("mode query") << QStringList { "SET OUT2 MULTIVIEW 4xWIN" } << "GET OUT2 MULTIVIEW"
                                << QStringList { "OUT2 MULTIVIEW 4xWIN" } << none;
    QTest::newRow("sync single") << none << "GET OUT1 MULTIVIEW-SYNC"
                                 << QStringList { "OUT1 MULTIVIEW-SYNC SINGLE HDMI1 NULL NULL NULL" } << none;
    QTest::newRow("sync pip") << QStringList { "SET OUT1 MULTIVIEW PIP", "SET OUT1 PIP POS LeftTop" }
                              << "GET OUT1 MULTIVIEW-SYNC"
                              << QStringList { "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL LeftTop SMALL" }
                              << none;
    QTest::newRow("sync pbp") << QStringList { "SET OUT2 MULTIVIEW PBP", "SET OUT2 PBP ASPECT 16:9",
        "SET OUT2 PBP MODE 3" }
                              << "GET OUT2 MULTIVIEW-SYNC"
                              << QStringList { "OUT2 MULTIVIEW-SYNC PBP HDMI2 HDMI3 NULL NULL 16:9 3 3" }
                              << none;
    QTest::newRow("sync 3xwin") << QStringList { "SET OUT3 MULTIVIEW 3xWIN" } << "GET OUT3 MULTIVIEW-SYNC"
                                << QStringList { "OUT3 MULTIVIEW-SYNC 3xWIN HDMI3 HDMI4 HDMI1 NULL FULL 1 4" }
                                << none;
    QTest::newRow("sync 4xwin")
        << QStringList { "SET OUT4 MULTIVIEW 4xWIN", "SET OUT4 WINDOW3 IN HDMI4", "SET OUT4 4xWIN MODE 6" }
        << "GET OUT4 MULTIVIEW-SYNC"
        << QStringList { "OUT4 MULTIVIEW-SYNC 4xWIN HDMI4 HDMI1 HDMI4 HDMI3 FULL 6 6" } << none;
    QTest::newRow("aspect") << QStringList { "SET OUT1 MULTIVIEW PBP" } << "SET OUT1 PBP ASPECT 16:9"
                            << QStringList { "OUT1 PBP ASPECT 16:9" }
                            << QStringList { "OUT1 PBP ASPECT 16:9" };
    QTest::newRow("aspect query") << QStringList { "SET OUT1 MULTIVIEW 3xWIN" } << "GET OUT1 3xWIN ASPECT"
                                  << QStringList { "OUT1 3xWIN ASPECT FULL" } << none;
    QTest::newRow("layout") << QStringList { "SET OUT1 MULTIVIEW 4xWIN" } << "SET OUT1 4xWIN MODE 5"
                            << QStringList { "OUT1 4xWIN MODE 5" } << QStringList { "OUT1 4xWIN MODE 5" };
    QTest::newRow("layout query") << QStringList { "SET OUT1 MULTIVIEW 3xWIN", "SET OUT1 3xWIN MODE 2" }
                                  << "GET OUT1 3xWIN MODE" << QStringList { "OUT1 3xWIN MODE 2" } << none;
    QTest::newRow("layout the new mode lacks")
        << QStringList { "SET OUT1 MULTIVIEW 4xWIN", "SET OUT1 4xWIN MODE 6", "SET OUT1 MULTIVIEW PBP" }
        << "GET OUT1 PBP MODE" << QStringList { "OUT1 PBP MODE 1" } << none;
    QTest::newRow("pip position") << pip << "SET OUT1 PIP POS LeftBottom"
                                  << QStringList { "OUT1 PIP POS LeftBottom" }
                                  << QStringList { "OUT1 PIP POS LeftBottom" };
    QTest::newRow("pip position query")
        << pip << "GET OUT1 PIP POS" << QStringList { "OUT1 PIP POS RightBottom" } << none;
    QTest::newRow("user position brings user size")
        << pip << "SET OUT1 PIP POS USER" << QStringList { "OUT1 PIP POS USER", "OUT1 PIP SIZE USER" }
        << QStringList { "OUT1 PIP POS USER", "OUT1 PIP SIZE USER" };
    QTest::newRow("user size brings user position")
        << pip << "SET OUT1 PIP SIZE USER" << QStringList { "OUT1 PIP SIZE USER", "OUT1 PIP POS USER" }
        << QStringList { "OUT1 PIP SIZE USER", "OUT1 PIP POS USER" };
    QTest::newRow("leaving user size")
        << (pip + QStringList { "SET OUT1 PIP SIZE USER" }) << "SET OUT1 PIP SIZE MIDDLE"
        << QStringList { "OUT1 PIP SIZE MIDDLE", "OUT1 PIP POS RightBottom" }
        << QStringList { "OUT1 PIP SIZE MIDDLE", "OUT1 PIP POS RightBottom" };
    QTest::newRow("leaving user position")
        << (pip + QStringList { "SET OUT1 PIP POS USER" }) << "SET OUT1 PIP POS LeftTop"
        << QStringList { "OUT1 PIP POS LeftTop", "OUT1 PIP SIZE LARGE" }
        << QStringList { "OUT1 PIP POS LeftTop", "OUT1 PIP SIZE LARGE" };
    QTest::newRow("pip user window") << pip << "SET OUT1 PIP USER 100 200 640 360"
                                     << QStringList { "OUT1 PIP USER 100 200 640 360" }
                                     << QStringList { "OUT1 PIP USER 100 200 640 360" };
    QTest::newRow("pip user window query")
        << pip << "GET OUT1 PIP USER" << QStringList { "OUT1 PIP USER 1440 810 480 270" } << none;
    QTest::newRow("presenter window")
        << QStringList { "SET OUT2 MULTIVIEW PBP", "SET OUT2 PBP MODE 3" }
        << "SET OUT2 PBP-PRESENTER 0 0 960 1080" << QStringList { "OUT2 PBP-PRESENTER 0 0 960 1080" }
        << QStringList { "OUT2 PBP-PRESENTER 0 0 960 1080" };
    QTest::newRow("window input") << none << "SET OUT1 WINDOW2 IN HDMI4"
                                  << QStringList { "OUT1 WINDOW2 IN HDMI4" }
                                  << QStringList { "OUT1 WINDOW2 IN HDMI4" };
    QTest::newRow("window input query")
        << none << "GET OUT3 WINDOW2 IN" << QStringList { "OUT3 WINDOW2 IN HDMI4" } << none;
    QTest::newRow("audio source") << none << "SET OUT1 AUDIO SOURCE HDMI3"
                                  << QStringList { "OUT1 AUDIO SOURCE HDMI3" }
                                  << QStringList { "OUT1 AUDIO SOURCE HDMI3" };
    QTest::newRow("audio source query")
        << none << "GET OUT1 AUDIO SOURCE" << QStringList { "OUT1 AUDIO SOURCE WIN1" } << none;
    QTest::newRow("vka") << none << "SET OUT2 VKA NOTIMING" << QStringList { "OUT2 VKA NOTIMING" }
                         << QStringList { "OUT2 VKA NOTIMING" };
    QTest::newRow("vka query") << none << "GET OUT2 VKA" << QStringList { "OUT2 VKA BLUESCREEN" } << none;
    QTest::newRow("itc") << none << "SET OUT2 ITC ON" << QStringList { "OUT2 ITC ON" }
                         << QStringList { "OUT2 ITC ON" };
    QTest::newRow("itc query") << none << "GET OUT2 ITC" << QStringList { "OUT2 ITC OFF" } << none;

    // EDID modes and versions.
    QTest::newRow("edid mode") << none << "SET IN3 EDIDMODE 1080p60-5.1"
                               << QStringList { "IN3 EDIDMODE 1080p60-5.1" }
                               << QStringList { "IN3 EDIDMODE 1080p60-5.1" };
    QTest::newRow("edid mode query") << none << "GET IN3 EDIDMODE" << QStringList { "IN3 EDIDMODE 4K60-2.0" }
                                     << none;
    QTest::newRow("main version") << none << "GET MAIN VERSION" << QStringList { "MAIN VERSION V2.05" }
                                  << none;
    QTest::newRow("keyboard version")
        << none << "GET KEYBOARD VERSION" << QStringList { "KEYBOARD VERSION V1.02" } << none;
    QTest::newRow("input version") << none << "GET IN2 VERSION" << QStringList { "IN2 VERSION V1.32" }
                                   << none;
    QTest::newRow("output version") << none << "GET OUT4 VERSION" << QStringList { "OUT4 VERSION V1.44" }
                                    << none;

    // Link settings: answered to the asker only, whose program alone expects them.
    QTest::newRow("network") << none << "GET NETWORK-INFO"
                             << QStringList { "NETWORK-INFO 192.168.0.10 2000 255.255.255.0 192.168.0.1" }
                             << none;
    QTest::newRow("network write") << none << "SET NETWORK-INFO 10.1.2.3 4001 255.255.0.0 10.1.0.1"
                                   << QStringList { "NETWORK-INFO 10.1.2.3 4001 255.255.0.0 10.1.0.1" }
                                   << none;
    QTest::newRow("baud rate") << none << "GET BAUDRATE" << QStringList { "BAUDRATE 9600" } << none;
    QTest::newRow("baud rate write") << none << "SET BAUDRATE 115200" << QStringList { "BAUDRATE 115200" }
                                     << none;

    // Wall.
    QTest::newRow("wall") << none << "GET TVWALL-INFO" << QStringList { FactoryWallLine() } << none;
    QTest::newRow("wall write") << none << "SET TVWALL-INFO 2 1 2 1 0 2 5 6 7 8 3 1 0 0 9 9 9 9 3"
                                << QStringList { "TVWALL-INFO 2 1 2 1 0 2 5 6 7 8 2 1 0 0 9 9 9 9 0" }
                                << QStringList { "TVWALL-INFO 2 1 2 1 0 2 5 6 7 8 2 1 0 0 9 9 9 9 0" };
    QTest::newRow("wall layout follows the routes")
        << QStringList { "SET IN4 VIDEO OUT1" } << "GET TVWALL-INFO"
        << QStringList { "TVWALL-INFO 4 2 2 0 0 0 0 0 0 0 3 0 0 1 0 0 0 0 1 0 0 2 0 0 0 0 2 0 0 3 0 0 0 0 3" }
        << none;
    QTest::newRow("wall port") << none << "SET OUT2 WALLPORT 1 2 1 2 3 4 5 6 0"
                               << QStringList { "OUT2 WALLPORT 1 2 1 2 3 4 5 6 0" } << none;
    QTest::newRow("wall port edges in the layout")
        << QStringList { "SET OUT2 WALLPORT 1 2 1 2 3 4 5 6 1" } << "GET TVWALL-INFO"
        << QStringList { "TVWALL-INFO 4 2 2 0 0 0 0 0 0 0 0 2 0 1 3 4 5 6 1 0 0 2 0 0 0 0 2 0 0 3 0 0 0 0 3" }
        << none;

    // Scenes.
    QTest::newRow("save scene") << none << "SET SAVE SCENE 20" << QStringList { "SAVE SCENE 20" } << none;
    QTest::newRow("load scene") << QStringList { "SET IN3 VIDEO OUT1" } << "SET LOAD SCENE 1"
                                << QStringList { "LOAD SCENE 1" } << QStringList { "LOAD SCENE 1" };
    QTest::newRow("load the scene the device shows")
        << none << "SET LOAD SCENE 2" << QStringList { "LOAD SCENE 2" } << none;
}

void TestSimDevice::answers()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, request);
    QFETCH(QStringList, toRequester);
    QFETCH(QStringList, toOthers);

    SimDevice device(TestConfig());
    RunAll(device, setup);
    const SimReply reply = device.handleRequest(request.toLatin1());
    QCOMPARE(Texts(reply.requesterLines()), toRequester);
    QCOMPARE(Texts(reply.toAll), toOthers);
}

void TestSimDevice::answersAreReadAsTheirKeyword_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("request");
    QTest::addColumn<int>("answerLine");
    QTest::addColumn<int>("keyword");

    using K = ProtocolKeywordTable;
    const QStringList none;
    const QStringList pip { "SET OUT2 MULTIVIEW PIP" };
    const QStringList pbp { "SET OUT2 MULTIVIEW PBP" };
    const QStringList threeWin { "SET OUT2 MULTIVIEW 3xWIN" };
    const QStringList fourWin { "SET OUT2 MULTIVIEW 4xWIN" };

    QTest::newRow("model") << none << "GET MODEL TYPE" << 0 << int(K::ModelType);
    QTest::newRow("sync over") << none << "GET SYNC-OVER" << 0 << int(K::SyncOver);
    QTest::newRow("route acknowledged") << none << "SET IN1 VIDEO OUT3" << 0 << -1;
    QTest::newRow("route reported") << none << "SET IN1 VIDEO OUT3" << 1 << int(K::VideoIn);
    QTest::newRow("route list acknowledged") << none << "SET IN1 VIDEO OUT2,3" << 0 << -1;
    QTest::newRow("route to all") << none << "SET IN2 VIDEO ALL" << 0 << int(K::VideoAll);
    QTest::newRow("route list") << none << "GET MATRIX-ROUTE" << 0 << int(K::MatrixRoute);
    QTest::newRow("resolution") << none << "GET OUT2 RESOLUTION" << 0 << int(K::Resolution);
    QTest::newRow("rotation") << none << "GET OUT2 ROTATION" << 0 << int(K::Rotation);
    QTest::newRow("hdcp") << none << "GET OUT2 HDCP" << 0 << int(K::Hdcp);
    QTest::newRow("mute") << none << "SET OUT2 AUDIO-MUTE ON" << 0 << int(K::AudioMute);
    QTest::newRow("freeze") << none << "SET OUT2 FREEZE-WINALL ON" << 0 << int(K::FreezeWinAll);
    QTest::newRow("input audio") << none << "GET IN2 AUDIO-SRC" << 0 << int(K::AudioSrc);
    QTest::newRow("input resolution") << none << "GET IN2 IN RESOLUTION" << 0 << int(K::InResolution);
    QTest::newRow("input info") << none << "GET IN2 IN-INFO" << 0 << int(K::InInfo);
    QTest::newRow("output info") << pip << "GET OUT2 OUT-INFO" << 0 << int(K::OutInfo);
    QTest::newRow("mode") << none << "SET OUT2 MULTIVIEW PBP" << 0 << int(K::Multiview);
    QTest::newRow("layout count") << none << "SET OUT2 MULTIVIEW PBP" << 1 << int(K::MaxMode);
    QTest::newRow("layout after mode") << none << "SET OUT2 MULTIVIEW PBP" << 2 << int(K::PbpMode);
    QTest::newRow("4xwin layout after mode") << none << "SET OUT2 MULTIVIEW 4xWIN" << 2 << int(K::FourWinMode);
    QTest::newRow("pbp aspect") << pbp << "GET OUT2 PBP ASPECT" << 0 << int(K::PbpAspect);
    QTest::newRow("pbp layout") << pbp << "GET OUT2 PBP MODE" << 0 << int(K::PbpMode);
    QTest::newRow("3xwin aspect") << threeWin << "GET OUT2 3xWIN ASPECT" << 0 << int(K::ThreeWinAspect);
    QTest::newRow("3xwin layout") << threeWin << "GET OUT2 3xWIN MODE" << 0 << int(K::ThreeWinMode);
    QTest::newRow("4xwin aspect") << fourWin << "GET OUT2 4xWIN ASPECT" << 0 << int(K::FourWinAspect);
    QTest::newRow("4xwin layout") << fourWin << "GET OUT2 4xWIN MODE" << 0 << int(K::FourWinMode);
    QTest::newRow("pip position") << pip << "GET OUT2 PIP POS" << 0 << int(K::PipPos);
    QTest::newRow("pip size") << pip << "SET OUT2 PIP POS USER" << 1 << int(K::PipSize);
    QTest::newRow("pip user window") << pip << "GET OUT2 PIP USER" << 0 << int(K::PipUser);
    QTest::newRow("presenter window") << pbp << "GET OUT2 PBP-PRESENTER" << 0 << int(K::PbpPresenter);
    QTest::newRow("window 1") << none << "GET OUT2 WINDOW1 IN" << 0 << int(K::Window1In);
    QTest::newRow("window 4") << none << "GET OUT2 WINDOW4 IN" << 0 << int(K::Window4In);
    QTest::newRow("sync single") << none << "GET OUT2 MULTIVIEW-SYNC" << 0 << int(K::MultiviewSync);
    QTest::newRow("sync pip user") << (pip + QStringList { "SET OUT2 PIP POS USER" })
                                   << "GET OUT2 MULTIVIEW-SYNC" << 0 << int(K::MultiviewSync);
    QTest::newRow("sync pbp") << pbp << "GET OUT2 MULTIVIEW-SYNC" << 0 << int(K::MultiviewSync);
    QTest::newRow("sync 4xwin") << fourWin << "GET OUT2 MULTIVIEW-SYNC" << 0 << int(K::MultiviewSync);
    QTest::newRow("audio source") << none << "GET OUT2 AUDIO SOURCE" << 0 << int(K::AudioSource);
    QTest::newRow("vka") << none << "GET OUT2 VKA" << 0 << int(K::Vka);
    QTest::newRow("itc") << none << "GET OUT2 ITC" << 0 << int(K::Itc);
    QTest::newRow("edid mode") << QStringList { "SET IN2 EDIDMODE USER" } << "GET IN2 EDIDMODE" << 0
                               << int(K::EdidMode);
    QTest::newRow("output edid") << none << "GET OUT2 OUTPORT-EDID" << 0 << int(K::OutportEdid);
    QTest::newRow("user edid") << none
                               << "SET IN2 EDID-USER " + QString::fromLatin1(SimEdid::ForOutput(0).toHex(' '))
                               << 0 << int(K::EdidUser);
    QTest::newRow("wall") << none << "GET TVWALL-INFO" << 0 << int(K::TvWallInfo);
    QTest::newRow("wall port") << none << "SET OUT2 WALLPORT 0 0 0 0 0 0 0 0 0" << 0 << int(K::WallPort);
    QTest::newRow("network") << none << "GET NETWORK-INFO" << 0 << int(K::NetworkInfo);
    QTest::newRow("baud rate") << none << "GET BAUDRATE" << 0 << int(K::Baudrate);
    QTest::newRow("main version") << none << "GET MAIN VERSION" << 0 << int(K::Version);
    QTest::newRow("keyboard version") << none << "GET KEYBOARD VERSION" << 0 << int(K::Version);
    QTest::newRow("output version") << none << "GET OUT2 VERSION" << 0 << int(K::Version);
    QTest::newRow("save scene") << none << "SET SAVE SCENE 4" << 0 << int(K::SaveScene);
    QTest::newRow("load scene") << none << "SET LOAD SCENE 4" << 0 << int(K::LoadScene);
    QTest::newRow("reset") << none << "SET RESET" << 0 << int(K::Reset);
}

void TestSimDevice::answersAreReadAsTheirKeyword()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, request);
    QFETCH(int, answerLine);
    QFETCH(int, keyword);

    SimDevice device(TestConfig());
    RunAll(device, setup);
    const QList<QByteArray> lines = device.handleRequest(request.toLatin1()).requesterLines();
    QVERIFY(answerLine < lines.size());
    // The keyword search starts where the reply parser starts it: after a port prefix with its
    // number, or after MAIN or KEYBOARD, and one separator byte.
    const QByteArray line = lines[answerLine] + '\r';
    const int prefix = ProtocolKeywordTable::findPrefix(line.constData(), line.size());
    int start = 0;
    if (prefix == 0 || prefix == 1)
        start = line.indexOf(' ') + 1;
    else if (prefix >= 2)
        start = ProtocolKeywordTable::length(ProtocolKeywordTable::PrefixOut + prefix) + 1;
    int offset = 0;
    QCOMPARE(ProtocolKeywordTable::findKeyword(line.constData(), start, line.size(), &offset), keyword);
}

void TestSimDevice::refusedRequests_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("request");
    QTest::addColumn<QString>("answer");

    const QString unknown = QString::fromLatin1(SimDevice::UnknownCommandLine);
    const QString invalid = QString::fromLatin1(SimDevice::InvalidParameterLine);
    const QStringList none;

    QTest::newRow("not a command") << none << "HELLO" << unknown;
    QTest::newRow("verb alone") << none << "GET" << unknown;
    QTest::newRow("lower case") << none << "get model type" << unknown;
    QTest::newRow("unknown keyword") << none << "GET OUT1 BRIGHTNESS" << unknown;
    QTest::newRow("control byte") << none << QString("GET MODEL\x07 TYPE") << unknown;
    QTest::newRow("output out of range") << none << "SET OUT5 VKA BLUESCREEN" << invalid;
    QTest::newRow("input zero") << none << "SET IN0 VIDEO OUT1" << invalid;
    QTest::newRow("route to output 5") << none << "SET IN1 VIDEO OUT1,5" << invalid;
    QTest::newRow("empty list item") << none << "SET IN1 VIDEO OUT1,,2" << invalid;
    QTest::newRow("unknown resolution") << none << "SET OUT1 RESOLUTION 1920x1080p61" << invalid;
    QTest::newRow("itc null") << none << "SET OUT1 ITC NULL" << invalid;
    QTest::newRow("mute null") << none << "SET OUT1 AUDIO-MUTE NULL" << invalid;
    QTest::newRow("unknown mode") << none << "SET OUT1 MULTIVIEW QUAD" << invalid;
    QTest::newRow("pip position in single mode") << none << "SET OUT1 PIP POS LeftTop" << invalid;
    QTest::newRow("pip query in single mode") << none << "GET OUT1 PIP SIZE" << invalid;
    QTest::newRow("aspect of another mode")
        << QStringList { "SET OUT1 MULTIVIEW PBP" } << "SET OUT1 3xWIN ASPECT FULL" << invalid;
    QTest::newRow("aspect in pip mode")
        << QStringList { "SET OUT1 MULTIVIEW PIP" } << "SET OUT1 PIP ASPECT FULL" << unknown;
    QTest::newRow("layout beyond the mode")
        << QStringList { "SET OUT1 MULTIVIEW PBP" } << "SET OUT1 PBP MODE 4" << invalid;
    QTest::newRow("layout zero") << QStringList { "SET OUT1 MULTIVIEW 4xWIN" } << "SET OUT1 4xWIN MODE 0"
                                 << invalid;
    QTest::newRow("presenter outside pbp") << none << "SET OUT1 PBP-PRESENTER 0 0 10 10" << invalid;
    QTest::newRow("user window short")
        << QStringList { "SET OUT1 MULTIVIEW PIP" } << "SET OUT1 PIP USER 1 2 3" << invalid;
    QTest::newRow("window of another input") << none << "SET OUT1 WINDOW2 IN HDMI5" << invalid;
    QTest::newRow("unknown edid mode") << none << "SET IN1 EDIDMODE 8K60" << invalid;
    QTest::newRow("scene 21") << none << "SET SAVE SCENE 21" << invalid;
    QTest::newRow("scene 0") << none << "SET LOAD SCENE 0" << invalid;
    QTest::newRow("baud rate off the list") << none << "SET BAUDRATE 12345" << invalid;
    QTest::newRow("address out of range")
        << none << "SET NETWORK-INFO 192.168.0.300 2000 255.255.255.0 192.168.0.1" << invalid;
    QTest::newRow("port zero") << none << "SET NETWORK-INFO 10.0.0.2 0 255.255.255.0 10.0.0.1" << invalid;
    QTest::newRow("network texts missing") << none << "SET NETWORK-INFO 10.0.0.2 2000" << invalid;
}

void TestSimDevice::refusedRequests()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, request);
    QFETCH(QString, answer);

    SimDevice device(TestConfig());
    RunAll(device, setup);
    const SimState before = device.state();
    const SimReply reply = device.handleRequest(request.toLatin1());
    QCOMPARE(Texts(reply.requesterLines()), QStringList { answer });
    QVERIFY(reply.toAll.isEmpty());
    QVERIFY(device.state() == before);
    // The refusal must not be taken for a reply: no keyword, no port prefix, and not the
    // request's expected text (the request without its verb).
    QCOMPARE(KeywordOf(answer.toLatin1()), -1);
    QCOMPARE(ProtocolKeywordTable::findPrefix(answer.toLatin1().constData(), answer.size()), -1);
    const QString echo = request.section(QLatin1Char(' '), 1);
    QVERIFY(echo.isEmpty() || !answer.contains(echo));
}

void TestSimDevice::wallCommandsAnswerWithTheLayout_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("no numbers") << "SET TVWALL-INFO" << false;
    QTest::newRow("empty wall") << "SET TVWALL-INFO 0 0 0" << false;
    QTest::newRow("total not rows times columns") << "SET TVWALL-INFO 5 2 2 0 0 0 0 0 0 0 0" << false;
    QTest::newRow("cells missing") << "SET TVWALL-INFO 4 2 2 0 0 0 0 0 0 0 0" << false;
    QTest::newRow("more screens than outputs")
        << "SET TVWALL-INFO 6 2 3" + QString(" 0 0 0 0 0 0 0 0").repeated(6) << false;
    QTest::newRow("output 5 in a cell") << "SET TVWALL-INFO 1 1 1 0 0 4 0 0 0 0 0" << false;
    QTest::newRow("anchor outside the wall") << "SET TVWALL-INFO 1 1 1 1 3 0 0 0 0 0 0" << false;
    QTest::newRow("not a number") << "SET TVWALL-INFO 1 1 1 0 0 x 0 0 0 0 0" << false;
    QTest::newRow("wall port short") << "SET OUT1 WALLPORT 1 1 1 1" << false;
    QTest::newRow("one screen") << "SET TVWALL-INFO 1 1 1 0 0 3 0 0 0 0 0" << true;
    QTest::newRow("four across")
        << "SET TVWALL-INFO 4 1 4 1 0 0 0 0 0 0 0 1 0 1 0 0 0 0 0 1 0 2 0 0 0 0 0 5 0 3 0 0 0 0 0" << true;
}

void TestSimDevice::wallCommandsAnswerWithTheLayout()
{
    QFETCH(QString, request);
    QFETCH(bool, accepted);

    SimDevice device(TestConfig());
    const SimReply reply = device.handleRequest(request.toLatin1());
    const QList<QByteArray> lines = reply.requesterLines();
    QCOMPARE(lines.size(), 1);
    const QByteArray line = lines.first();
    QCOMPARE(KeywordOf(line), int(ProtocolKeywordTable::TvWallInfo));
    const QList<QByteArray> numbers = line.mid(int(qstrlen("TVWALL-INFO "))).split(' ');
    const quint32 total = numbers.value(0).toUInt();
    QVERIFY2(total != 0 && total == numbers.value(1).toUInt() * numbers.value(2).toUInt(), line.constData());
    QCOMPARE(quint32(numbers.size()), 3 + 8 * total);
    if (accepted) {
        // The layout sent comes back, with each screen's input taken from the routes.
        const QList<QByteArray> sent = request.toLatin1().mid(int(qstrlen("SET TVWALL-INFO "))).split(' ');
        for (int i = 0; i < sent.size(); ++i) {
            const bool inputField = i >= 3 && (i - 3) % 8 == 7;
            if (!inputField)
                QCOMPARE(numbers[i], sent[i]);
        }
    } else {
        QCOMPARE(line, FactoryWallLine());
    }
}

void TestSimDevice::sceneSaveAndLoad_data()
{
    QTest::addColumn<QStringList>("saved"); // changes made before the save
    QTest::addColumn<QStringList>("changed"); // changes made after it

    QTest::newRow("routes") << QStringList { "SET IN3 VIDEO OUT1", "SET IN4 VIDEO ALL", "SET IN2 VIDEO OUT3" }
                            << QStringList { "SET IN1 VIDEO ALL" };
    QTest::newRow("multiview") << QStringList { "SET OUT2 MULTIVIEW PBP", "SET OUT2 PBP ASPECT 16:9",
        "SET OUT2 PBP MODE 3", "SET OUT2 PBP-PRESENTER 1 2 3 4", "SET OUT2 WINDOW2 IN HDMI1",
        "SET OUT2 VKA NOTIMING", "SET OUT2 ITC ON", "SET OUT2 AUDIO SOURCE HDMI4" }
                               << QStringList { "SET OUT2 MULTIVIEW PIP", "SET OUT2 PIP SIZE USER",
                                      "SET OUT2 WINDOW2 IN HDMI3", "SET OUT2 VKA BLACKSCREEN" };
    QTest::newRow("signal settings") << QStringList { "SET OUT1 RESOLUTION 1280x720p60",
        "SET OUT1 HDCP FORCE-OFF", "SET OUT4 ROTATION 180", "SET OUT3 AUDIO-MUTE ON",
        "SET IN2 AUDIO-SRC L/R" }
                                     << QStringList { "SET OUT1 RESOLUTION AUTO", "SET OUT4 ROTATION 0",
                                            "SET OUT3 AUDIO-MUTE OFF", "SET IN2 AUDIO-SRC EMBEDDED" };
    QTest::newRow("wall")
        << QStringList { "SET TVWALL-INFO 2 1 2 1 0 1 3 3 3 3 0 1 0 0 4 4 4 4 0" }
        << QStringList {
               "SET TVWALL-INFO 4 4 1 0 0 3 0 0 0 0 0 0 0 2 0 0 0 0 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0"
           };
}

void TestSimDevice::sceneSaveAndLoad()
{
    QFETCH(QStringList, saved);
    QFETCH(QStringList, changed);

    SimDevice device(TestConfig());
    RunAll(device, saved);
    const SimScene savedScene = device.state().live;
    QCOMPARE(
        Texts(device.handleRequest("SET SAVE SCENE 7").requesterLines()), QStringList { "SAVE SCENE 7" });
    RunAll(device, changed);
    QVERIFY(!(device.state().live == savedScene));

    // Another scene is unaffected by the save, and loading it gives the factory layout back.
    device.handleRequest("SET LOAD SCENE 8");
    QVERIFY(device.state().live == FactoryScene());

    const SimReply reply = device.handleRequest("SET LOAD SCENE 7");
    QCOMPARE(Texts(reply.toAll), QStringList { "LOAD SCENE 7" });
    QVERIFY(device.state().live == savedScene);
    // What a controller reads back after the load is the saved state.
    SimDevice reference(TestConfig());
    RunAll(reference, saved);
    QCOMPARE(Texts(device.stateReportLines()), Texts(reference.stateReportLines()));
}

void TestSimDevice::resetRestoresFactoryState()
{
    SimDevice device(TestConfig());
    RunAll(device,
        { "SET IN2 VIDEO ALL", "SET OUT1 MULTIVIEW 4xWIN", "SET IN1 EDIDMODE USER", "SET SAVE SCENE 3",
            "SET BAUDRATE 57600", "SET NETWORK-INFO 10.0.0.5 3000 255.0.0.0 10.0.0.1",
            "SET TVWALL-INFO 1 1 1 0 0 2 0 0 0 0 0" });
    const SimReply reply = device.handleRequest("SET RESET");

    const SimDevice factory(TestConfig());
    QVERIFY(device.state() == factory.state());
    QCOMPARE(Texts(reply.toRequester), QStringList { "RESET" });
    // Every client learns the whole new state, as after a power cycle.
    QCOMPARE(Texts(reply.toAll), Texts(factory.stateReportLines()));
    QVERIFY(Texts(reply.toAll).contains("MATRIX-ROUTE 0 1 2 3"));
    QVERIFY(Texts(reply.toAll).contains(QString::fromLatin1(FactoryWallLine())));
    QVERIFY(Texts(reply.toAll).contains("IN1 EDIDMODE 4K60-2.0"));
}

void TestSimDevice::outputEdid_data()
{
    QTest::addColumn<int>("output");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("preferredWidth");

    QTest::newRow("OUT1") << 0 << "TAVILON TV" << 3840;
    QTest::newRow("OUT2") << 1 << "TAVILON MON" << 1920;
    QTest::newRow("OUT3") << 2 << "TAVILON TV" << 3840;
    QTest::newRow("OUT4") << 3 << "TAVILON MON" << 1920;
}

void TestSimDevice::outputEdid()
{
    QFETCH(int, output);
    QFETCH(QString, name);
    QFETCH(int, preferredWidth);

    // The reply carries the EDID as the dialog reads it: byte i at character 3·i.
    SimDevice device(TestConfig());
    const QByteArray request = "GET OUT" + QByteArray::number(output + 1) + " OUTPORT-EDID";
    const QList<QByteArray> lines = device.handleRequest(request).requesterLines();
    QCOMPARE(lines.size(), 1);
    QCOMPARE(KeywordOf(lines.first()), int(ProtocolKeywordTable::OutportEdid));
    const QByteArray hex = lines.first().mid(request.size() - 4 + 1);
    QCOMPARE(hex.size(), 3 * 256 - 1);
    QByteArray edid;
    for (int i = 0; i < 256; ++i)
        edid.append(char(hex.mid(3 * i, 2).toUInt(nullptr, 16)));

    QCOMPARE(edid.left(8), QByteArray::fromHex("00FFFFFFFFFFFF00"));
    for (int block = 0; block < 2; ++block) {
        quint32 sum = 0;
        for (int i = 0; i < 128; ++i)
            sum += quint8(edid[128 * block + i]);
        QCOMPARE(sum % 256, 0u);
    }
    QCOMPARE(int(quint8(edid[126])), 1); // one extension
    QCOMPARE(int(quint8(edid[128])), 2); // a CTA-861 extension
    // Manufacturer letters, three 5-bit codes.
    const quint16 packed = quint16((quint8(edid[8]) << 8) | quint8(edid[9]));
    const QString letters = QString(QChar('A' - 1 + ((packed >> 10) & 31)))
        + QChar('A' - 1 + ((packed >> 5) & 31)) + QChar('A' - 1 + (packed & 31));
    QCOMPARE(letters, QStringLiteral("TVN"));
    // Preferred timing: a pixel clock and the active width of the display.
    const int clock = quint8(edid[54]) | (quint8(edid[55]) << 8);
    QVERIFY(clock > 0);
    QCOMPARE(quint8(edid[56]) | ((quint8(edid[58]) >> 4) << 8), preferredWidth);
    // The name and range limit descriptors among the three display descriptors.
    QString foundName;
    bool rangeLimits = false;
    for (int at = 72; at < 126; at += 18) {
        if (edid.at(at) != 0 || edid.at(at + 1) != 0)
            continue;
        if (quint8(edid[at + 3]) == 0xFC)
            foundName = QString::fromLatin1(edid.mid(at + 5, 13)).section(QLatin1Char('\n'), 0, 0);
        rangeLimits = rangeLimits || quint8(edid[at + 3]) == 0xFD;
    }
    QCOMPARE(foundName, name);
    QVERIFY(rangeLimits);
    // Each display has its own product code.
    QCOMPARE(quint8(edid[10]) | (quint8(edid[11]) << 8), 0x5200 + output + 1);
}

void TestSimDevice::userEdid_data()
{
    QTest::addColumn<QByteArray>("hexText");
    QTest::addColumn<QString>("answer");

    const QByteArray valid = SimEdid::ForOutput(1).toHex(' ').toUpper();
    QByteArray badSum = SimEdid::ForOutput(1);
    badSum[20] = char(badSum[20] ^ 1);
    QByteArray badExtension = SimEdid::ForOutput(1);
    badExtension[200] = char(badExtension[200] ^ 1);
    QByteArray noHeader = SimEdid::ForOutput(1);
    noHeader[7] = 1;

    QTest::newRow("valid") << valid << "IN2 EDID-USER OK";
    QTest::newRow("lower-case digits") << valid.toLower() << "IN2 EDID-USER OK";
    QTest::newRow("base checksum wrong") << badSum.toHex(' ').toUpper() << "IN2 EDID-USER FAIL";
    QTest::newRow("extension checksum wrong") << badExtension.toHex(' ').toUpper() << "IN2 EDID-USER FAIL";
    QTest::newRow("no header") << noHeader.toHex(' ').toUpper() << "IN2 EDID-USER FAIL";
    QTest::newRow("255 bytes") << valid.left(3 * 255 - 1) << "IN2 EDID-USER FAIL";
    QTest::newRow("not hexadecimal") << QByteArray(valid).replace(0, 2, "ZZ") << "IN2 EDID-USER FAIL";
}

void TestSimDevice::userEdid()
{
    QFETCH(QByteArray, hexText);
    QFETCH(QString, answer);

    SimDevice device(TestConfig());
    const SimReply reply = device.handleRequest("SET IN2 EDID-USER " + hexText);
    QCOMPARE(Texts(reply.requesterLines()), QStringList { answer });
    QVERIFY(reply.toAll.isEmpty());
    const bool stored = answer.endsWith(QLatin1String("OK"));
    QCOMPARE(device.state().userEdid[1], stored ? SimEdid::ForOutput(1) : QByteArray());
}

void TestSimDevice::requestLineEndings_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<int>("tooLongCount");

    const QByteArray overLong(SimLineSplitter::MaxLineLength + 1, 'A');
    QTest::newRow("CR") << QList<QByteArray> { "GET MODEL TYPE\r" } << QStringList { "GET MODEL TYPE" } << 0;
    QTest::newRow("LF") << QList<QByteArray> { "GET MODEL TYPE\n" } << QStringList { "GET MODEL TYPE" } << 0;
    QTest::newRow("CR LF") << QList<QByteArray> { "GET MODEL TYPE\r\nGET SYNC-OVER\r\n" }
                           << QStringList { "GET MODEL TYPE", "GET SYNC-OVER" } << 0;
    QTest::newRow("CR LF split between chunks")
        << QList<QByteArray> { "GET MODEL TYPE\r", "\nGET SYNC-OVER\r", "\n" }
        << QStringList { "GET MODEL TYPE", "GET SYNC-OVER" } << 0;
    QTest::newRow("mixed endings") << QList<QByteArray> { "A\rB\nC\r\n\r\nD" }
                                   << QStringList { "A", "B", "C" } << 0;
    QTest::newRow("one byte at a time")
        << QList<QByteArray> { "G", "E", "T", " ", "X", "\r" } << QStringList { "GET X" } << 0;
    QTest::newRow("no ending yet") << QList<QByteArray> { "GET MODEL TYPE" } << QStringList {} << 0;
    QTest::newRow("longest request") << QList<QByteArray> { QByteArray(SimLineSplitter::MaxLineLength, 'B')
        + "\r" } << QStringList { QString(SimLineSplitter::MaxLineLength, 'B') }
                                     << 0;
    QTest::newRow("over-long request dropped whole")
        << QList<QByteArray> { overLong.left(600), overLong.mid(600) + "TAIL\rGET SYNC-OVER\r" }
        << QStringList { "GET SYNC-OVER" } << 1;
}

void TestSimDevice::requestLineEndings()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QStringList, requests);
    QFETCH(int, tooLongCount);

    SimLineSplitter splitter;
    QStringList got;
    int tooLong = 0;
    for (const QByteArray &chunk : chunks) {
        for (const SimRequestLine &line : splitter.feed(chunk)) {
            if (line.tooLong)
                ++tooLong;
            else
                got.append(QString::fromLatin1(line.text));
        }
    }
    QCOMPARE(got, requests);
    QCOMPARE(tooLong, tooLongCount);
}

void TestSimDevice::everyRequestIsAnswered()
{
    // Requests made of protocol words, numbers and stray bytes in random order: each gets at
    // least one answer line, no answer line breaks the frame, and the wall never reads empty.
    static const char *const words[]
        = { "SET", "GET", "IN1", "IN4", "IN5", "OUT1", "OUT3", "OUT0", "VIDEO", "OUT2,3", "ALL", "MULTIVIEW",
              "PIP", "PBP", "3xWIN", "4xWIN", "MODE", "ASPECT", "POS", "SIZE", "USER", "WINDOW1", "IN",
              "HDMI2", "TVWALL-INFO", "WALLPORT", "SAVE", "LOAD", "SCENE", "RESET", "EDID-USER", "EDIDMODE",
              "NETWORK-INFO", "BAUDRATE", "0", "1", "2", "4", "20", "65536", "-1", "FF", "16:9", "\x01" };
    QRandomGenerator random(777);
    SimDevice device(TestConfig());
    for (int i = 0; i < 20000; ++i) {
        QByteArray request;
        const int count = 1 + random.bounded(12);
        for (int w = 0; w < count; ++w) {
            if (w > 0)
                request += ' ';
            request += words[random.bounded(int(sizeof words / sizeof words[0]))];
        }
        const QList<QByteArray> lines = device.handleRequest(request).requesterLines();
        QVERIFY2(!lines.isEmpty(), request.constData());
        for (const QByteArray &line : lines) {
            QVERIFY2(!line.isEmpty() && line.size() <= SimLineSplitter::MaxLineLength, request.constData());
            for (const char c : line)
                QVERIFY2(c >= 0x20 && c < 0x7F, request.constData());
        }
        const QByteArray wall = device.handleRequest("GET TVWALL-INFO").requesterLines().value(0);
        const QList<QByteArray> numbers = wall.split(' ');
        QVERIFY2(numbers.value(1).toUInt() != 0, request.constData());
        QCOMPARE(numbers.value(1).toUInt(), numbers.value(2).toUInt() * numbers.value(3).toUInt());
    }
}

void TestSimDevice::junkLinesCarryNothingTheProgramActsOn()
{
    QRandomGenerator random(12345);
    for (int i = 0; i < 2000; ++i) {
        const QByteArray junk = SimHub::JunkLine(random);
        QVERIFY(!junk.isEmpty());
        QVERIFY2(!junk.contains('\r') && !junk.contains('\n'), junk.toHex().constData());
        // A receiver drops a whole chunk that starts with a control byte other than CR.
        QVERIFY2(quint8(junk[0]) >= 0x20, junk.toHex().constData());
        QCOMPARE(KeywordOf(junk), -1);
        QCOMPARE(ProtocolKeywordTable::findPrefix(junk.constData(), junk.size()), -1);
    }
}

void TestSimDevice::refusalLine_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("refusal");

    QTest::newRow("user EDID") << QByteArray("SET IN2 EDID-USER 00 FF FF") << QByteArray("IN2 EDID-USER FAIL");
    QTest::newRow("output setting") << QByteArray("SET OUT4 VKA NOTIMING") << QByteArray("OUT4 VKA FAIL");
    QTest::newRow("two-digit port") << QByteArray("SET OUT12 ITC ON") << QByteArray("OUT12 ITC FAIL");
    QTest::newRow("no port") << QByteArray("SET BAUDRATE 19200") << QByteArray("BAUDRATE FAIL");
    QTest::newRow("word beginning with IN") << QByteArray("GET INFO NOW") << QByteArray("INFO FAIL");
    QTest::newRow("query") << QByteArray("GET OUT1 OUTPORT-EDID") << QByteArray("OUT1 OUTPORT-EDID FAIL");
    QTest::newRow("no verb") << QByteArray("HELP") << QByteArray("HELP FAIL");
}

void TestSimDevice::refusalLine()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, refusal);
    QCOMPARE(SimHub::RefusalLine(request), refusal);
}

void TestSimDevice::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<int>("port");
    QTest::addColumn<bool>("pty");
    QTest::addColumn<QByteArray>("lineEnding");
    QTest::addColumn<int>("chunk");
    QTest::addColumn<int>("dropAfter");
    QTest::addColumn<int>("muteCount");

    QTest::newRow("defaults") << QStringList {} << true << true << 2000 << true << QByteArray("\r") << 0 << 0
                              << 0;
    QTest::newRow("test ports") << QStringList { "--tcp", "127.0.0.1:0", "--pty", "/tmp/x-tty" } << true
                                << true << 0 << true << QByteArray("\r") << 0 << 0 << 0;
    QTest::newRow("equals form") << QStringList { "--tcp=127.0.0.2:2101", "--chunk=7" } << true << true
                                 << 2101 << true << QByteArray("\r") << 7 << 0 << 0;
    QTest::newRow("serial only") << QStringList { "--no-tcp" } << true << false << 2000 << true
                                 << QByteArray("\r") << 0 << 0 << 0;
    QTest::newRow("faults") << QStringList { "--line-ending", "crlf", "--drop-after", "3", "--mute", "VKA",
        "--mute", "HDCP", "--garbage", "--latency", "250", "--model", "XYZ" }
                            << true << true << 2000 << true << QByteArray("\r\n") << 0 << 3 << 2;
    QTest::newRow("nothing to listen on") << QStringList { "--no-tcp", "--no-pty" } << false << false << 0
                                          << false << QByteArray() << 0 << 0 << 0;
    QTest::newRow("host name") << QStringList { "--tcp", "localhost:2000" } << false << false << 0 << false
                               << QByteArray() << 0 << 0 << 0;
    QTest::newRow("port too large") << QStringList { "--tcp", "127.0.0.1:70000" } << false << false << 0
                                    << false << QByteArray() << 0 << 0 << 0;
    QTest::newRow("missing value") << QStringList { "--latency" } << false << false << 0 << false
                                   << QByteArray() << 0 << 0 << 0;
    QTest::newRow("negative latency")
        << QStringList { "--latency", "-5" } << false << false << 0 << false << QByteArray() << 0 << 0 << 0;
    QTest::newRow("line feed ending") << QStringList { "--line-ending", "lf" } << false << false << 0 << false
                                      << QByteArray() << 0 << 0 << 0;
    QTest::newRow("chunk zero") << QStringList { "--chunk", "0" } << false << false << 0 << false
                                << QByteArray() << 0 << 0 << 0;
    QTest::newRow("drop after zero") << QStringList { "--drop-after", "0" } << false << false << 0 << false
                                     << QByteArray() << 0 << 0 << 0;
    QTest::newRow("switch with a value")
        << QStringList { "--garbage=1" } << false << false << 0 << false << QByteArray() << 0 << 0 << 0;
    QTest::newRow("refusal without a pattern") << QStringList { "--refuse" } << false << false << 0 << false
                                               << QByteArray() << 0 << 0 << 0;
    QTest::newRow("unknown option") << QStringList { "--fast" } << false << false << 0 << false
                                    << QByteArray() << 0 << 0 << 0;
}

void TestSimDevice::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, valid);

    SimOptions options;
    QString error;
    QCOMPARE(options.parse(arguments, error), valid);
    QCOMPARE(error.isEmpty(), valid);
    if (!valid)
        return;
    QTEST(options.tcpEnabled, "tcp");
    QTEST(int(options.tcpPort), "port");
    QTEST(options.ptyEnabled, "pty");
    QTEST(options.lineEnding, "lineEnding");
    QTEST(options.chunk, "chunk");
    QTEST(options.dropAfter, "dropAfter");
    QTEST(int(options.mutePatterns.size()), "muteCount");
}

void TestSimDevice::programStaysInStep_data()
{
    QTest::addColumn<QStringList>("frontPanel"); // changes made on the device before connecting
    QTest::addColumn<Actions>("actions"); // what the operator does afterwards, step by step

    QTest::newRow("factory state") << QStringList {} << Actions {};
    QTest::newRow("front panel changes") << QStringList { "SET IN3 VIDEO OUT1", "SET IN4 VIDEO OUT2",
        "SET OUT1 MULTIVIEW PIP", "SET OUT1 PIP SIZE USER", "SET OUT1 WINDOW2 IN HDMI4",
        "SET OUT1 VKA NOTIMING", "SET OUT1 ITC ON", "SET OUT1 AUDIO SOURCE HDMI2",
        "SET OUT2 RESOLUTION 1280x720p50", "SET OUT3 HDCP FORCE-OFF", "SET IN2 AUDIO-SRC L/R",
        "SET TVWALL-INFO 4 2 2 1 0 1 0 0 0 0 0 1 0 0 0 0 0 0 0 0 0 2 0 0 0 0 0 5 0 3 1 2 3 4 0",
        "SET NETWORK-INFO 10.9.8.7 4001 255.255.0.0 10.9.0.1" }
                                         << Actions {};
    QTest::newRow("routes") << QStringList {}
                            << Actions { [] { CmdSetRoute(2, 0); }, [] { CmdSetInputToAll(1); },
                                   [] {
                                       const quint32 outputs[] = { 0, 2 };
                                       CmdSetRouteList(3, outputs, 2);
                                   },
                                   [] { CmdSetRoute(0, 3); } };
    QTest::newRow("multiview") << QStringList {}
                               << Actions { [] { CmdSetMultiviewMode(0, 2); }, [] { CmdSetAspect(0, 1); },
                                      [] { CmdSetLayout(0, 3); }, [] { CmdSetWindowInput(0, 1, 3); },
                                      [] { CmdSetOutAudioSource(0, 4); }, [] { CmdSetVka(0, 1); },
                                      [] { CmdSetItc(0, 0); }, [] { CmdSetUserWindow(0, 5, 6, 700, 800); },
                                      [] { CmdSetMultiviewMode(0, 1); }, [] { CmdSetPipPos(0, 4); },
                                      [] { CmdSetUserWindow(0, 10, 20, 300, 200); },
                                      [] { CmdSetPipSize(0, 1); }, [] { CmdSetMultiviewMode(0, 4); },
                                      [] { CmdSetWindowInput(0, 3, 0); } };
    QTest::newRow("signal settings") << QStringList {}
                                     << Actions { [] { CmdSetOutResolution(1, 7); },
                                            [] { CmdSetOutHdcp(2, 1); }, [] { CmdSetInAudio(3, 1); },
                                            [] { CmdSetAudioMute(0, 0); }, [] { CmdSetFreeze(0, 0); },
                                            [] { CmdSetOutRotation(1, 2); }, [] { CmdGetOutInfo(1); },
                                            [] { CmdGetInInfo(3); } };
    QTest::newRow("wall splice") << QStringList {} << Actions { [] {
        // What the wall display grid does when it splices cells 0 and 1.
        for (quint32 o = 0; o < 2; ++o) {
            WallEntry &screen = WallSlot(o);
            screen.spliced = true;
            screen.spliceAnchor = 0;
            screen.spliceRows = 1;
            screen.spliceCols = 2;
            screen.spliceRowPos = 1;
            screen.spliceColPos = o + 1;
            screen.edgeLeft = 10 + o;
            screen.edgeBottom = 20;
        }
        const quint32 outputs[] = { 0, 1 };
        CmdSetRouteList(2, outputs, 2);
        CmdSetWallPort(0);
        CmdSetWallPort(1);
        CmdSetTvWallInfo(DeviceState.wall.total);
    } };
    QTest::newRow("scene round trip")
        << QStringList {}
        << Actions { [] { CmdSetRoute(3, 0); }, [] { CmdSetMultiviewMode(0, 3); }, [] { CmdSaveScene(5); },
               [] { CmdSetRoute(1, 0); }, [] { CmdSetMultiviewMode(0, 0); }, [] { CmdLoadScene(5); } };
    QTest::newRow("edid modes") << QStringList {}
                                << Actions { [] { CmdSetEdidMode(2, 19); }, [] { CmdGetEdidMode(1); },
                                       [] { CmdGetOutportEdid(3); },
                                       [] { CmdGetVersion(VersionOutput, 2); } };
    QTest::newRow("reset") << QStringList { "SET IN2 VIDEO ALL", "SET OUT1 MULTIVIEW 4xWIN" }
                           << Actions { [] { CmdReset(); } };
}

void TestSimDevice::programStaysInStep()
{
    QFETCH(QStringList, frontPanel);
    QFETCH(Actions, actions);

    SimDevice device(TestConfig());
    RunAll(device, frontPanel);
    Conversation conversation(device);

    // Identification and the synchronisation burst.
    CmdGetModelType();
    conversation.run();
    QCOMPARE(conversation.pages.machineMismatches, 0);
    QCOMPARE(DeviceState.modelUnconfirmed, false);
    QCOMPARE(conversation.sent.size(), 17); // the model query and the 16-line burst
    QVERIFY(conversation.pages.statusLog.join('\n').contains(QLatin1String("Sync Over")));
    for (const std::function<void()> &action : actions) {
        action();
        conversation.run();
    }
    QCOMPARE(conversation.unanswered, QStringList());

    const SimScene &live = device.state().live;
    for (quint32 o = 0; o < SimOutputCount; ++o)
        QCOMPARE(DeviceState.routeInputOfOutput[o], live.outputs[o].multiview.windowInput[0]);

    // The burst and the operator's requests read output 1's multiview completely.
    const SimMultiview &view = live.outputs[0].multiview;
    const MultiviewState &seen = DeviceState.multiview[0];
    QCOMPARE(seen.mode, view.mode);
    for (quint32 w = 0; w < WindowCountOfMode[view.mode]; ++w)
        QCOMPARE(seen.windowInput[w], view.windowInput[w]);
    QCOMPARE(seen.audioSource, view.audioSource);
    QCOMPARE(seen.vka, view.vka);
    QCOMPARE(seen.itc, view.itc);
    if (view.mode == ModePip) {
        QCOMPARE(seen.pipPos, view.pipPos);
        QCOMPARE(seen.pipSize, view.pipSize);
    } else if (view.mode != ModeSingle) {
        QCOMPARE(seen.aspect, view.aspect);
        QCOMPARE(seen.layout, view.layout);
        QCOMPARE(seen.maxMode, SimDevice::MaxLayoutOfMode(view.mode));
    }

    const SimWall &wall = live.wall;
    QCOMPARE(DeviceState.wall.rows, wall.rows);
    QCOMPARE(DeviceState.wall.cols, wall.cols);
    QCOMPARE(DeviceState.wall.total, wall.rows * wall.cols);
    for (int c = 0; c < wall.cellOutput.size(); ++c) {
        const quint32 output = wall.cellOutput[c];
        QCOMPARE(WallSlot(quint32(c)).outputIndex, output);
        const WallEntry &screen = WallSlot(output);
        const SimScreen &simScreen = wall.screens[output];
        QCOMPARE(screen.spliced, bool(simScreen.flags & 1));
        QCOMPARE(screen.flagBit1, bool(simScreen.flags & 2));
        QCOMPARE(screen.singleExit, bool(simScreen.flags & 4));
        QCOMPARE(screen.spliceAnchor, simScreen.anchor);
        QCOMPARE(screen.edgeLeft, simScreen.edges[0]);
        QCOMPARE(screen.edgeRight, simScreen.edges[1]);
        QCOMPARE(screen.edgeUp, simScreen.edges[2]);
        QCOMPARE(screen.edgeBottom, simScreen.edges[3]);
        QCOMPARE(screen.inputIndex, live.outputs[output].multiview.windowInput[0]);
    }

    // What the signal page and the system page were shown.
    for (quint32 o = 0; o < SimOutputCount; ++o) {
        QCOMPARE(conversation.pages.outputResolution.value(o),
            OutResolutionWords.text(live.outputs[o].resolution));
        QCOMPARE(conversation.pages.outputType.value(o), HdcpWords.text(live.outputs[o].hdcp));
    }
    for (quint32 i = 0; i < SimInputCount; ++i)
        QCOMPARE(conversation.pages.inputAudio.value(i), InAudioWords.text(live.inputAudio[i]));
    const SimNetwork &network = device.state().network;
    QCOMPARE(conversation.pages.network,
        (QStringList { network.ip, network.port, network.mask, network.gateway }));
    for (auto it = conversation.pages.inputEdidMode.cbegin(); it != conversation.pages.inputEdidMode.cend();
         ++it) {
        QCOMPARE(quint32(it.value()), device.state().edidMode[it.key()]);
        QCOMPARE(DeviceState.edidModeOfInput[it.key()], device.state().edidMode[it.key()]);
    }
}

void TestSimDevice::wallReadsBackAfterReconnect_data()
{
    QTest::addColumn<WallEdits>("edits");
    auto block = [](quint32 top, quint32 left, quint32 bottom, quint32 right) {
        WallBlock b;
        b.top = top;
        b.left = left;
        b.bottom = bottom;
        b.right = right;
        return b;
    };
    QTest::newRow("2 x 2 splice") << WallEdits { [=](WallEditor &e) { e.splice(block(0, 0, 1, 1)); } };
    QTest::newRow("splice, single exit, bezels")
        << WallEdits { [=](WallEditor &e) { e.splice(block(0, 0, 1, 1)); },
               [](WallEditor &e) { e.toggleSingleExit(3); }, [](WallEditor &e) { e.setBezel(0, 1, 2, 3, 255); },
               [](WallEditor &e) { e.selectInput(1, 2); } };
    QTest::newRow("column group beside free screens")
        << WallEdits { [](WallEditor &e) { e.writeSize(1, 4); },
               [=](WallEditor &e) { e.splice(block(0, 1, 0, 2)); }, [](WallEditor &e) { e.setBezel(2, 9, 9, 0, 0); } };
    QTest::newRow("swapped outputs then a splice")
        << WallEdits { [](WallEditor &e) { e.selectOutput(0, 3); }, [=](WallEditor &e) { e.splice(block(0, 0, 0, 1)); } };
    QTest::newRow("cancelled again") << WallEdits { [=](WallEditor &e) { e.splice(block(0, 0, 1, 0)); },
        [](WallEditor &e) { e.cancelGroup(0); } };
    QTest::newRow("new size cancels the groups")
        << WallEdits { [=](WallEditor &e) { e.splice(block(0, 0, 0, 1)); },
               [](WallEditor &e) { e.writeSize(4, 1); } };
}

// What the program sends for its wall edits, the device keeps: a reconnect that reads the
// wall again gives the same wall model, group geometry included.
void TestSimDevice::wallReadsBackAfterReconnect()
{
    QFETCH(WallEdits, edits);
    SimDevice device(TestConfig());
    Conversation conversation(device);
    CmdGetModelType();
    conversation.run();
    WallEditor editor;
    conversation.pages.wallChanged = [&editor] { editor.modelChanged(); };
    // The program's own wall right after its last edit, before any reply came back; a route
    // needs no wall line, so the inputs are the device's once it has answered.
    WallState before {};
    quint32 inputs[MaxPorts] = {};
    QVector<WallBlock> groups;
    QVector<quint32> exits;
    for (const auto &edit : edits) {
        edit(editor);
        before = editor.shown();
        groups = editor.groups();
        exits = editor.exitCells();
        conversation.run();
        QVERIFY(!editor.inFlight());
        for (quint32 o = 0; o < MaxPorts; ++o)
            inputs[o] = WallSlot(o).inputIndex;
    }
    conversation.pages.wallChanged = nullptr;
    QCOMPARE(conversation.unanswered, QStringList());

    DeviceState_ResetWall();
    CmdGetTvWallInfo();
    conversation.run();
    WallEditor again;
    QCOMPARE(again.groups(), groups);
    QCOMPARE(again.exitCells(), exits);
    QCOMPARE(DeviceState.wall.rows, before.rows);
    QCOMPARE(DeviceState.wall.cols, before.cols);
    for (quint32 c = 0; c < before.total; ++c) {
        const quint32 output = before.entry[c].outputIndex;
        QCOMPARE(WallSlot(c).outputIndex, output);
        const WallEntry &was = before.entry[output];
        const WallEntry &is = WallSlot(output);
        QCOMPARE(is.spliced, was.spliced);
        QCOMPARE(is.singleExit, was.singleExit);
        QCOMPARE(is.spliceAnchor, was.spliceAnchor);
        QCOMPARE(is.inputIndex, inputs[output]);
        // A screen taken out travels with its edges as 0.
        const quint32 edgeScale = was.singleExit ? 0 : 1;
        QCOMPARE(QVector<quint32>({ is.edgeLeft, is.edgeRight, is.edgeUp, is.edgeBottom }),
            QVector<quint32>({ was.edgeLeft * edgeScale, was.edgeRight * edgeScale, was.edgeUp * edgeScale,
                was.edgeBottom * edgeScale }));
    }
}

// Main board, keyboard and each port board run their own firmware.
void TestSimDevice::everyVersionQueryHasItsOwnAnswer()
{
    SimDevice device(TestConfig());
    QStringList queries { "GET MAIN VERSION", "GET KEYBOARD VERSION" };
    for (int port = 1; port <= SimInputCount; ++port)
        queries << QStringLiteral("GET IN%1 VERSION").arg(port);
    for (int port = 1; port <= SimOutputCount; ++port)
        queries << QStringLiteral("GET OUT%1 VERSION").arg(port);
    QSet<QByteArray> versions;
    for (const QString &query : queries) {
        const QList<QByteArray> lines = device.handleRequest(query.toLatin1()).requesterLines();
        QCOMPARE(lines.size(), 1);
        // The answer repeats the query without its verb, then the version.
        const QByteArray expectedStart = query.mid(4).toLatin1() + " V";
        QVERIFY2(lines.first().startsWith(expectedStart), lines.first().constData());
        versions.insert(lines.first().mid(expectedStart.size() - 1));
    }
    QCOMPARE(versions.size(), queries.size());
}

QTEST_GUILESS_MAIN(TestSimDevice)
#include "tst_simdevice.moc"
