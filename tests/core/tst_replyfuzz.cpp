// Many random and mutated reply lines (fixed seed, bounded count): the parser must neither
// crash nor read outside the line (each line lies in a heap block of its exact size, so a
// sanitizer build catches any overread), every value it stores stays inside its word list and
// every port it hands to a page is a real slot or the "all" port 255. The number readers are
// checked against QString's own conversions.
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "protocol/DeviceState.h"
#include "protocol/ProtocolKeywordTable.h"
#include "protocol/ReplyFields.h"
#include "protocol/ReplyPages.h"
#include "protocol/ReplyParser.h"
#include "protocol/ValueWords.h"

#include <QRandomGenerator>
#include <QtTest>
#include <cstring>
#include <memory>

namespace {

// Collects the first argument that breaks a rule, keeps the core behaviour otherwise.
class CheckingPages : public ReplyPages
{
public:
    QStringList faults;
    int callCount = 0;

    void kickSend() override { ++callCount; }
    void connectionAppendStatusLine(const QString &) override { ++callCount; }
    void showMachineNotMatch() override { ++callCount; }

    void matrixSetRoute(quint32 input, quint32 output) override
    {
        checkPort("matrixSetRoute output", output);
        ReplyPages::matrixSetRoute(input, output);
    }
    void matrixInEdidMode(quint32 input, int mode) override
    {
        checkPort("matrixInEdidMode", input);
        checkBelow("edid mode", static_cast<quint32>(mode), EdidModeWords.count);
    }
    void multiviewShowWindowInput(quint32 output, quint32 window, quint32 input) override
    {
        checkPort("multiviewShowWindowInput", output);
        checkBelow("window", window, 4);
        checkBelow("window input", input, WindowInputWords.count);
    }
    void multiviewShowMode(quint32 output, quint32 mode) override
    {
        checkPort("multiviewShowMode", output);
        checkBelow("mode", mode, MultiviewModeWords.count);
        ReplyPages::multiviewShowMode(output, mode);
    }
    void multiviewShowVka(quint32 output, quint32 vka) override
    {
        checkPort("multiviewShowVka", output);
        checkBelow("vka", vka, VkaWords.count);
    }
    void multiviewShowItc(quint32 output, quint32 itc) override
    {
        checkPort("multiviewShowItc", output);
        checkBelow("itc", itc, 2);
    }
    void multiviewShowSyncState(quint32 output) override { checkPort("multiviewShowSyncState", output); }
    void tvWallSelectRowsCols(quint32 rows, quint32 cols) override
    {
        if (static_cast<quint64>(rows) * cols > MaxPorts)
            faults.append(QStringLiteral("wall of %1 x %2").arg(rows).arg(cols));
    }

private:
    void checkPort(const char *what, quint32 port)
    {
        ++callCount;
        if (port >= MaxPorts && port != 255)
            faults.append(QStringLiteral("%1 port %2").arg(QLatin1String(what)).arg(port));
    }
    void checkBelow(const char *what, quint32 value, quint32 limit)
    {
        if (value >= limit)
            faults.append(QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(value));
    }
};

QStringList StateFaults()
{
    QStringList faults;
    auto below = [&faults](const char *what, quint32 slot, quint32 value, quint32 limit) {
        if (value >= limit)
            faults.append(QStringLiteral("%1[%2] = %3").arg(QLatin1String(what)).arg(slot).arg(value));
    };
    for (quint32 k = 0; k < MaxPorts; ++k) {
        const MultiviewState &state = DeviceState.multiview[k];
        below("mode", k, state.mode, MultiviewModeWords.count);
        below("aspect", k, state.aspect, AspectWords.count);
        below("pipPos", k, state.pipPos, PipPosWords.count);
        below("pipSize", k, state.pipSize, PipSizeWords.count);
        for (quint32 input : state.windowInput)
            below("windowInput", k, input, WindowInputWords.count);
        below("audioSource", k, state.audioSource, AudioSourceWords.count);
        below("vka", k, state.vka, VkaWords.count);
        below("itc", k, state.itc, 2);
        below("edidMode", k, DeviceState.edidModeOfInput[k], EdidModeWords.count);
        below("route", k, DeviceState.routeInputOfOutput[k], MaxPorts);
    }
    const WallState &wall = DeviceState.wall;
    if (wall.total > MaxPorts || static_cast<quint64>(wall.rows) * wall.cols != wall.total)
        faults.append(QStringLiteral("wall %1 x %2 = %3").arg(wall.rows).arg(wall.cols).arg(wall.total));
    return faults;
}

// Pieces that real replies are made of, so that random lines reach deep into the handlers.
QList<QByteArray> Vocabulary()
{
    QList<QByteArray> pieces;
    for (int k = 0; k < ProtocolKeywordTable::Size; ++k)
        pieces.append(ProtocolKeywordTable::word(k));
    for (const ValueWordList *list : { &EdidModeWords, &AspectWords, &PipSizeWords, &PipPosWords,
             &MultiviewModeWords, &VkaWords, &HdcpWords, &OutResolutionWords, &InAudioWords,
             &AudioSourceWords, &WindowInputWords, &OnOffWords }) {
        for (quint32 k = 0; k < list->count; ++k)
            pieces.append(list->words[k]);
    }
    pieces += QList<QByteArray> { "RZ7P52KN", "0", "1", "2", "3", "4", "5", "16", "159", "160", "255", "256",
        "4294967295", "4294967296", "-1", "99999999999", " ", " ", " ", "  ", ",", ",,", "\r", "\n", "\t",
        "x" };
    return pieces;
}

const QList<QByteArray> RealLines = { "OUT1 VIDEO IN HDMI2\r", "IN2 VIDEO OUT 1,3\r", "IN1 VIDEO ALL\r",
    "MATRIX-ROUTE 0 1 2 3\r", "OUT1 MULTIVIEW-SYNC PIP HDMI2 NULL NULL NULL LeftTop SMALL\r",
    "OUT2 MULTIVIEW-SYNC 4xWIN HDMI1 HDMI2 HDMI3 HDMI4 16:9 2 3\r",
    "TVWALL-INFO 4 2 2 1 0 3 1 2 3 4 2 3 0 2 0 0 0 0 1 4 2 1 5 6 7 8 0 0 0 0 9 9 9 9 3\r",
    "NETWORK-INFO 192.168.0.10 2000 255.255.255.0 192.168.0.1\r", "BAUDRATE 115200\r",
    "IN1 IN-INFO HDMI No-Signal x EMBEDDED\r", "OUT1 OUT-INFO FORCE-1.4 1920x1080p60 AUTO\r",
    "OUT1 MAXMODE 3\r", "OUT1 PBP MODE 2\r", "OUT1 3xWIN ASPECT FULL\r", "IN1 EDIDMODE AUTO\r",
    "MODEL TYPE RZ7P52KN\r", "OUT1 PIP USER 1 2 3 4\r", "LOAD SCENE 1\r", "SYNC-OVER\r" };

QByteArray RandomLine(QRandomGenerator &random, const QList<QByteArray> &vocabulary)
{
    QByteArray line;
    switch (random.bounded(4)) {
    case 0: { // pieces of replies
        const int count = random.bounded(1, 12);
        for (int k = 0; k < count; ++k)
            line += vocabulary.at(random.bounded(vocabulary.size()));
        break;
    }
    case 1: { // raw bytes
        line.resize(random.bounded(0, 64));
        for (char &byte : line)
            byte = static_cast<char>(random.bounded(256));
        break;
    }
    default: { // a real reply, mutated
        line = RealLines.at(random.bounded(RealLines.size()));
        const int mutations = random.bounded(1, 5);
        for (int k = 0; k < mutations && !line.isEmpty(); ++k) {
            const int at = random.bounded(line.size());
            switch (random.bounded(4)) {
            case 0:
                line[at] = static_cast<char>(random.bounded(256));
                break;
            case 1:
                line.remove(at, random.bounded(1, 8));
                break;
            case 2:
                line.insert(at, vocabulary.at(random.bounded(vocabulary.size())));
                break;
            default:
                line.truncate(at);
                break;
            }
        }
        break;
    }
    }
    return line;
}

QByteArray RandomNumberText(QRandomGenerator &random)
{
    static const char Alphabet[] = " \t\n\r+-0123456789xa.";
    QByteArray text;
    const int length = random.bounded(0, 14);
    for (int k = 0; k < length; ++k)
        text += Alphabet[random.bounded(static_cast<int>(sizeof Alphabet - 1))];
    return text;
}

} // namespace

class TestReplyFuzz : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        SerialLinkQueue().activate();
        TcpLinkQueue().activate();
    }

    void randomLines_data();
    void randomLines();
    void numberReadersFollowQString();
};

void TestReplyFuzz::randomLines_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("confirmed, serial") << int(LinkModeSerial) << true << 20240601u;
    QTest::newRow("confirmed, tcp") << int(LinkModeTcp) << true << 7u;
    QTest::newRow("awaiting the model, 16 ports") << int(LinkModeSerial) << false << 99u;
}

void TestReplyFuzz::randomLines()
{
    QFETCH(int, linkMode);
    QFETCH(bool, confirmed);
    QFETCH(quint32, seed);

    DeviceState_Clear();
    DeviceState.inputCount = 16;
    DeviceState.outputCount = 16;
    if (confirmed) {
        DeviceState_ConfirmModel();
        DeviceState.modelReplyHandled = true;
    }
    LinkMode = linkMode;
    QRandomGenerator random(seed);
    const QList<QByteArray> vocabulary = Vocabulary();
    CheckingPages pages;
    constexpr int LineCount = 100000;
    for (int n = 0; n < LineCount; ++n) {
        const QByteArray text = RandomLine(random, vocabulary);
        // An exact-size heap block: one byte read past the line is a sanitizer error.
        std::unique_ptr<char[]> exact(new char[static_cast<size_t>(qMax(1, text.size()))]);
        std::memcpy(exact.get(), text.constData(), static_cast<size_t>(text.size()));
        ParseReplyBytes(pages, exact.get(), text.size());
        if (!pages.faults.isEmpty())
            QFAIL(qPrintable(QStringLiteral("line %1 %2: %3")
                                 .arg(n)
                                 .arg(QString::fromLatin1(text.toPercentEncoding()))
                                 .arg(pages.faults.join(QLatin1String("; ")))));
        if (n % 1000 == 0) {
            const QStringList faults = StateFaults();
            if (!faults.isEmpty())
                QFAIL(qPrintable(faults.join(QLatin1String("; "))));
            // Drop the queued burst lines so the queue stays small.
            SerialLinkQueue().deactivate();
            SerialLinkQueue().activate();
            TcpLinkQueue().deactivate();
            TcpLinkQueue().activate();
            // A disconnect now and then lets model replies be judged again.
            DeviceState.modelReplyHandled = false;
        }
    }
    QCOMPARE(StateFaults(), QStringList());
    QVERIFY(pages.callCount > LineCount / 20);
    LinkMode = LinkModeNone;
}

void TestReplyFuzz::numberReadersFollowQString()
{
    QRandomGenerator random(12345);
    QStringList differences;
    for (int n = 0; n < 200000 && differences.size() < 10; ++n) {
        QByteArray text = RandomNumberText(random);
        if (n % 7 == 0)
            text = QByteArray::number(random.generate64() >> random.bounded(64));
        const ByteRange range { text.constData(), text.size() };
        const QString asString = QString::fromLatin1(text);
        if (ReadUnsigned(range) != asString.toUInt())
            differences.append(QStringLiteral("unsigned \"%1\"").arg(asString));
        if (ReadSigned(range) != asString.toInt())
            differences.append(QStringLiteral("signed \"%1\"").arg(asString));
    }
    QCOMPARE(differences, QStringList());
}

QTEST_GUILESS_MAIN(TestReplyFuzz)
#include "tst_replyfuzz.moc"
