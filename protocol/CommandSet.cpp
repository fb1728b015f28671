#include "protocol/CommandSet.h"

#include "link/LinkQueue.h"
#include "protocol/CommandLine.h"
#include "protocol/DeviceState.h"
#include "protocol/MultiviewVocabulary.h"
#include "protocol/RequestTracker.h"
#include "link/LinkMode.h"
#include "protocol/ValueWords.h"

#include <cstring>

namespace {

bool InputExists(quint32 i)
{
    return i < DeviceState.inputCount;
}

bool OutputExists(quint32 o)
{
    return o < DeviceState.outputCount;
}

bool ModelConfirmed()
{
    return !DeviceState.modelUnconfirmed;
}

quint32 ModeOf(quint32 o)
{
    return MultiviewOf(o).mode;
}

// PBP, 3xWIN and 4xWIN carry an aspect and a layout number.
bool HasSplitLayout(quint32 o)
{
    return Multiview::HasSplitLayout(ModeOf(o));
}

bool IsPip(quint32 o)
{
    return ModeOf(o) == Multiview::ModePip;
}

// "OUTn <mode word>", the start of the aspect and layout commands.
CommandLine &OutputAndModeWord(CommandLine &line, quint32 o)
{
    return line.port("OUT", o).space().text(MultiviewModeWords.at(ModeOf(o)));
}

// The common shape "<verb> <PREFIX>n <KEYWORD>[ <value word>]", expected "<PREFIX>n <KEYWORD>".
void SendPortCommand(const char *verb, const char *prefix, quint32 port, const char *keyword,
    const char *valueWord, ReplyProfile profile = ReplyProfile::Standard)
{
    CommandLine line(verb);
    line.port(prefix, port).space().text(keyword).endOfExpected();
    if (valueWord)
        line.space().text(valueWord);
    line.send(profile);
}

void SetPortWord(
    const char *prefix, quint32 port, const char *keyword, const ValueWordList &list, quint32 value)
{
    if (!list.contains(value))
        return;
    SendPortCommand("SET", prefix, port, keyword, list.at(value));
}

void GetPort(
    const char *prefix, quint32 port, const char *keyword, ReplyProfile profile = ReplyProfile::Standard)
{
    SendPortCommand("GET", prefix, port, keyword, nullptr, profile);
}

// Commands without a port: "<verb> <KEYWORD>", expected "<KEYWORD>".
void SendPlain(const char *verb, const char *keyword, ReplyProfile profile = ReplyProfile::Standard)
{
    CommandLine(verb).text(keyword).send(profile);
}

bool SendScene(const char *keyword, int sceneNumber)
{
    CommandLine line("SET");
    line.text(keyword).endOfExpected().space().number(sceneNumber);
    return line.send(ReplyProfile::Standard);
}

// The screen record of an output, and the output a wall cell shows.
const WallEntry &EntryOf(const WallState &wall, quint32 index)
{
    return wall.entry[ClampSlot(index)];
}

quint32 FlagsNumber(const WallEntry &screen)
{
    return (screen.singleExit ? 4u : 0u) + (screen.flagBit1 ? 2u : 0u) + (screen.spliced ? 1u : 0u);
}

void AppendWallCell(CommandLine &line, const WallState &wall, quint32 cell)
{
    const quint32 output = EntryOf(wall, cell).outputIndex;
    const WallEntry &screen = EntryOf(wall, output);
    const bool edgesSent = !screen.singleExit;
    const quint32 numbers[8] = { FlagsNumber(screen), screen.spliceAnchor, output,
        edgesSent ? screen.edgeLeft : 0u, edgesSent ? screen.edgeRight : 0u, edgesSent ? screen.edgeUp : 0u,
        edgesSent ? screen.edgeBottom : 0u, screen.inputIndex };
    for (quint32 number : numbers)
        line.space().number(number);
}

bool IsControlCharacter(char byte)
{
    const auto value = static_cast<unsigned char>(byte);
    return value < 0x20 || value == 0x7F;
}

bool HasControlCharacter(const QByteArray &bytes)
{
    for (char byte : bytes) {
        if (IsControlCharacter(byte))
            return true;
    }
    return false;
}

} // namespace

ReplyExpectation MakeReplyExpectation(const char *expected, int length, ReplyProfile profile)
{
    ReplyExpectation expectation;
    std::memset(&expectation, 0, sizeof expectation);
    const int copied = qBound(0, length, ReplyExpectation::MaxPatternLength);
    if (copied > 0)
        std::memcpy(expectation.patterns[0], expected, static_cast<size_t>(copied));
    expectation.patternLengths[0] = static_cast<quint32>(copied);
    expectation.patternCount = 1;
    switch (profile) {
    case ReplyProfile::Standard:
        expectation.needMatch = 1;
        expectation.matchMs = 2000;
        expectation.reportTimeout = 1;
        break;
    case ReplyProfile::Silent:
        expectation.needMatch = 1;
        expectation.matchMs = 2000;
        expectation.reportTimeout = 0;
        break;
    case ReplyProfile::Wall:
        expectation.needMatch = 0;
        expectation.waitMs = 300;
        expectation.matchMs = 0;
        expectation.reportTimeout = 1;
        break;
    case ReplyProfile::NoReply:
        expectation.needMatch = 0;
        expectation.waitMs = 0;
        expectation.matchMs = 2000;
        expectation.reportTimeout = 1;
        break;
    }
    return expectation;
}

bool QueueCommandLine(const char *text, int length, ReplyExpectation expectation)
{
    if (!text || length < 0 || length > MaxCommandLength)
        return false;
    LinkQueue *queue = SelectedLinkQueue();
    if (!queue)
        return false;
    char line[MaxCommandLength + 1];
    std::memcpy(line, text, static_cast<size_t>(length));
    line[length] = '\r';
    if (!queue->push(line, length + 1, &expectation, 0))
        return false;
    RequestTracker::instance().noteQueued(LinkMode, QByteArray(text, length), expectation);
    return true;
}

void CmdGetModelType()
{
    SendPlain("GET", "MODEL TYPE");
}

void CmdGetSyncOver()
{
    SendPlain("GET", "SYNC-OVER", ReplyProfile::Silent);
}

void CmdSetInputToAll(quint32 i)
{
    if (!InputExists(i))
        return;
    CommandLine("SET").port("IN", i).text(" VIDEO ALL").send(ReplyProfile::Standard);
}

void CmdSetRoute(quint32 i, quint32 o)
{
    if (!InputExists(i) || !OutputExists(o))
        return;
    CommandLine("SET").port("IN", i).text(" VIDEO ").port("OUT", o).send(ReplyProfile::Standard);
}

void CmdSetRouteList(quint32 i, const quint32 *outputs, quint32 count)
{
    if (!InputExists(i) || count == 0 || !outputs)
        return;
    CommandLine line("SET");
    line.port("IN", i).text(" VIDEO OUT");
    // Commas go between the numbers sent, so a skipped last output leaves no dangling comma.
    bool first = true;
    for (quint32 k = 0; k < count && !line.tooLong(); ++k) {
        if (!OutputExists(outputs[k]))
            continue;
        if (!first)
            line.text(",");
        line.number(static_cast<qint64>(outputs[k]) + 1);
        first = false;
    }
    line.send(ReplyProfile::Standard);
}

void CmdGetMatrixRoute()
{
    SendPlain("GET", "MATRIX-ROUTE");
}

void CmdSetOutResolution(quint32 o, quint32 resolution)
{
    SetPortWord("OUT", o, "RESOLUTION", OutResolutionWords, resolution);
}

void CmdSetOutRotation(quint32 o, quint32 rotation)
{
    SetPortWord("OUT", o, "ROTATION", RotationWords, rotation);
}

void CmdSetOutHdcp(quint32 o, quint32 hdcp)
{
    SetPortWord("OUT", o, "HDCP", HdcpWords, hdcp);
}

void CmdSetInAudio(quint32 i, quint32 audio)
{
    SetPortWord("IN", i, "AUDIO-SRC", InAudioWords, audio);
}

void CmdSetAudioMute(quint32 o, quint32 onOff)
{
    SetPortWord("OUT", o, "AUDIO-MUTE", OnOffWords, onOff);
}

void CmdSetFreeze(quint32 o, quint32 onOff)
{
    SetPortWord("OUT", o, "FREEZE-WINALL", OnOffWords, onOff);
}

void CmdGetInInfo(quint32 i)
{
    GetPort("IN", i, "IN-INFO", ReplyProfile::Silent);
}

void CmdGetOutInfo(quint32 o)
{
    GetPort("OUT", o, "OUT-INFO", ReplyProfile::Silent);
}

void CmdSetMultiviewMode(quint32 o, quint32 mode)
{
    SetPortWord("OUT", o, "MULTIVIEW", MultiviewModeWords, mode);
}

void CmdGetMultiviewSync(quint32 o)
{
    GetPort("OUT", o, "MULTIVIEW-SYNC");
}

void CmdSetAspect(quint32 o, quint32 aspect)
{
    if (!HasSplitLayout(o) || !AspectWords.contains(aspect))
        return;
    CommandLine line("SET");
    OutputAndModeWord(line, o).text(" ASPECT").endOfExpected().space().text(AspectWords.at(aspect));
    line.send(ReplyProfile::Standard);
}

void CmdSetLayout(quint32 o, int layoutNumber)
{
    if (!HasSplitLayout(o))
        return;
    CommandLine line("SET");
    OutputAndModeWord(line, o).text(" MODE").endOfExpected().space().number(layoutNumber);
    line.send(ReplyProfile::Standard);
}

void CmdSetPipPos(quint32 o, quint32 position)
{
    if (!IsPip(o))
        return;
    SetPortWord("OUT", o, "PIP POS", PipPosWords, position);
}

void CmdSetPipSize(quint32 o, quint32 size)
{
    if (!IsPip(o))
        return;
    SetPortWord("OUT", o, "PIP SIZE", PipSizeWords, size);
}

namespace {

// The keyword of the user window command for the output's current layout, or nullptr when
// the layout has no user window.
const char *UserWindowKeyword(quint32 o)
{
    return Multiview::UserWindowKeyword(MultiviewOf(o));
}

} // namespace

void CmdSetUserWindow(quint32 o, int a, int b, int c, int d)
{
    const char *keyword = UserWindowKeyword(o);
    if (!keyword)
        return;
    CommandLine line("SET");
    line.port("OUT", o).space().text(keyword).endOfExpected();
    for (int number : { a, b, c, d })
        line.space().number(number);
    line.send(ReplyProfile::Standard);
}

void CmdGetUserWindow(quint32 o)
{
    const char *keyword = UserWindowKeyword(o);
    if (keyword)
        GetPort("OUT", o, keyword);
}

void CmdSetWindowInput(quint32 o, quint32 w, quint32 input)
{
    if (!ModelConfirmed() || !WindowWords.contains(w) || !WindowInputWords.contains(input))
        return;
    CommandLine line("SET");
    line.port("OUT", o).space().text(WindowWords.at(w)).text(" IN").endOfExpected();
    line.space().text(WindowInputWords.at(input)).send(ReplyProfile::Standard);
}

void CmdSetOutAudioSource(quint32 o, quint32 source)
{
    if (ModelConfirmed())
        SetPortWord("OUT", o, "AUDIO SOURCE", AudioSourceWords, source);
}

void CmdGetOutAudioSource(quint32 o)
{
    GetPort("OUT", o, "AUDIO SOURCE");
}

void CmdSetVka(quint32 o, quint32 vka)
{
    if (ModelConfirmed())
        SetPortWord("OUT", o, "VKA", VkaWords, vka);
}

void CmdGetVka(quint32 o)
{
    GetPort("OUT", o, "VKA");
}

void CmdSetItc(quint32 o, quint32 onOff)
{
    if (ModelConfirmed())
        SetPortWord("OUT", o, "ITC", OnOffWords, onOff);
}

void CmdGetItc(quint32 o)
{
    GetPort("OUT", o, "ITC");
}

void CmdGetOutResolution(quint32 o)
{
    GetPort("OUT", o, "RESOLUTION");
}

void CmdGetOutRotation(quint32 o)
{
    GetPort("OUT", o, "ROTATION");
}

void CmdGetOutHdcp(quint32 o)
{
    GetPort("OUT", o, "HDCP");
}

void CmdGetMultiviewMode(quint32 o)
{
    GetPort("OUT", o, "MULTIVIEW");
}

void CmdGetInAudio(quint32 i)
{
    GetPort("IN", i, "AUDIO-SRC");
}

void CmdGetAspect(quint32 o)
{
    if (!HasSplitLayout(o))
        return;
    CommandLine line("GET");
    OutputAndModeWord(line, o).text(" ASPECT").send(ReplyProfile::Standard);
}

void CmdGetLayout(quint32 o)
{
    if (!HasSplitLayout(o))
        return;
    CommandLine line("GET");
    OutputAndModeWord(line, o).text(" MODE").send(ReplyProfile::Standard);
}

void CmdGetPipPos(quint32 o)
{
    if (IsPip(o))
        GetPort("OUT", o, "PIP POS");
}

void CmdGetPipSize(quint32 o)
{
    if (IsPip(o))
        GetPort("OUT", o, "PIP SIZE");
}

void CmdGetWindowInput(quint32 o, quint32 w)
{
    const quint32 mode = ModeOf(o);
    if (mode >= Multiview::ModeCount || w >= WindowCountOfMode[mode])
        return;
    CommandLine line("GET");
    line.port("OUT", o).space().text(WindowWords.at(w)).text(" IN").send(ReplyProfile::Standard);
}

bool CmdSaveScene(int sceneNumber)
{
    return SendScene("SAVE SCENE", sceneNumber);
}

bool CmdLoadScene(int sceneNumber)
{
    return SendScene("LOAD SCENE", sceneNumber);
}

void CmdSetEdidMode(quint32 i, quint32 mode)
{
    if (ModelConfirmed())
        SetPortWord("IN", i, "EDIDMODE", EdidModeWords, mode);
}

void CmdGetEdidMode(quint32 i)
{
    GetPort("IN", i, "EDIDMODE");
}

void CmdSetUserEdid(quint32 i, const QByteArray &edid)
{
    constexpr int EdidSize = 256;
    if (edid.size() != EdidSize)
        return;
    static const char HexDigits[] = "0123456789ABCDEF";
    CommandLine line("SET");
    line.port("IN", i).text(" EDID-USER");
    for (char byte : edid) {
        const auto value = static_cast<unsigned char>(byte);
        const char group[3] = { ' ', HexDigits[value >> 4], HexDigits[value & 0x0F] };
        line.text(group, 3);
    }
    CommandLine expected("SET");
    expected.port("IN", i).text(" EDID-USER OK");
    const int verbLength = 4;
    line.send(ReplyProfile::Standard, expected.data() + verbLength, expected.length() - verbLength);
}

void CmdGetOutportEdid(quint32 o)
{
    GetPort("OUT", o, "OUTPORT-EDID");
}

void CmdSetWallPort(quint32 cell)
{
    CmdSetWallPort(DeviceState.wall, cell);
}

bool CmdSetWallPort(const WallState &wall, quint32 cell)
{
    const quint32 output = EntryOf(wall, cell).outputIndex;
    const WallEntry &screen = EntryOf(wall, output);
    if (screen.singleExit)
        return false;
    CommandLine line("SET");
    line.port("OUT", output).text(" WALLPORT").endOfExpected();
    const quint32 numbers[9]
        = { screen.spliceRows, screen.spliceCols, screen.spliceRowPos, screen.spliceColPos, screen.edgeLeft,
              screen.edgeRight, screen.edgeUp, screen.edgeBottom, screen.flagBit1 ? 1u : 0u };
    for (quint32 number : numbers)
        line.space().number(number);
    return line.send(ReplyProfile::Wall);
}

void CmdSetTvWallInfo(quint32 cellCount)
{
    CmdSetTvWallInfo(DeviceState.wall, cellCount);
}

bool CmdSetTvWallInfo(const WallState &wall, quint32 cellCount)
{
    CommandLine line("SET");
    line.text("TVWALL-INFO").endOfExpected();
    line.space().number(wall.total).space().number(wall.rows).space().number(wall.cols);
    // Stops at the first cell that no longer fits: the line would not be sent anyway.
    for (quint32 cell = 0; cell < cellCount && !line.tooLong(); ++cell)
        AppendWallCell(line, wall, cell);
    return line.send(ReplyProfile::Wall);
}

void CmdGetTvWallInfo()
{
    SendPlain("GET", "TVWALL-INFO");
}

void CmdReset()
{
    SendPlain("SET", "RESET", ReplyProfile::NoReply);
}

void CmdGetVersion(quint32 selector, quint32 p)
{
    switch (selector) {
    case VersionMain:
        SendPlain("GET", "MAIN VERSION");
        break;
    case VersionKeyboard:
        SendPlain("GET", "KEYBOARD VERSION");
        break;
    case VersionInput:
        GetPort("IN", p, "VERSION");
        break;
    case VersionOutput:
        GetPort("OUT", p, "VERSION");
        break;
    default:
        break;
    }
}

void CmdSetNetworkInfo(const QString &ip, const QString &port, const QString &mask, const QString &gateway)
{
    CommandLine line("SET");
    line.text("NETWORK-INFO").endOfExpected();
    for (const QString *field : { &ip, &port, &mask, &gateway }) {
        const QByteArray bytes = field->toUtf8();
        if (HasControlCharacter(bytes))
            return;
        line.space().text(bytes.constData(), bytes.size());
    }
    line.send(ReplyProfile::Standard);
}

void CmdGetNetworkInfo()
{
    SendPlain("GET", "NETWORK-INFO");
}

void CmdSetBaudrate(int baudrate)
{
    CommandLine line("SET");
    line.text("BAUDRATE").endOfExpected().space().number(baudrate);
    line.send(ReplyProfile::Standard);
}

void CmdGetBaudrate()
{
    SendPlain("GET", "BAUDRATE");
}
