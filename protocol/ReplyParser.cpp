#include "protocol/ReplyParser.h"

#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/MultiviewVocabulary.h"
#include "protocol/ProtocolKeywordTable.h"
#include "protocol/ReplyFields.h"
#include "protocol/ReplyPages.h"
#include "protocol/ValueWords.h"
#include "settings/LanguageTexts.h"

#include <cstring>

namespace {

using Keyword = ProtocolKeywordTable;

enum PrefixKind : int { PrefixNone = -1, PrefixOut = 0, PrefixIn = 1, PrefixMain = 2, PrefixKeyboard = 3 };

constexpr quint32 AllPorts = 255;
using Multiview::ModePip;
constexpr quint32 ItcOff = 1;
constexpr int WallNumbersPerCell = 8;

// A line cut into its parts; value excludes the CR.
struct ReplyLine {
    int prefix = PrefixNone;
    bool hasPort = false;
    quint32 port = 0;
    int keyword = -1;
    ByteRange value;
};

bool ModelConfirmed()
{
    return !DeviceState.modelUnconfirmed;
}

bool IsSplitMode(quint32 mode)
{
    return Multiview::HasSplitLayout(mode);
}

// Stops at the first CR: nothing behind it belongs to this line.
int LengthThroughFirstCr(const char *bytes, int length)
{
    const void *cr = std::memchr(bytes, '\r', static_cast<size_t>(length));
    return cr ? static_cast<int>(static_cast<const char *>(cr) - bytes) + 1 : length;
}

// Reads the port after an OUT or IN prefix; false when the line is to be ignored.
bool ReadPort(const char *bytes, int length, int prefix, ReplyLine *line, int *searchStart)
{
    const int numberStart = Keyword::length(Keyword::KeywordCount + prefix);
    int numberEnd = numberStart;
    while (numberEnd < length && bytes[numberEnd] != ' ' && bytes[numberEnd] != '\r')
        ++numberEnd;
    const quint32 number = ReadUnsigned(ByteRange { bytes + numberStart, numberEnd - numberStart });
    line->hasPort = true;
    *searchStart = numberEnd + 1;
    if (number == 0) {
        line->port = AllPorts;
        return true;
    }
    line->port = number - 1;
    const quint32 count = prefix == PrefixOut ? DeviceState.outputCount : DeviceState.inputCount;
    return line->port < count;
}

bool SplitLine(const char *bytes, int length, ReplyLine *line)
{
    length = LengthThroughFirstCr(bytes, length);
    line->prefix = Keyword::findPrefix(bytes, length);
    int searchStart = 0;
    if (line->prefix == PrefixOut || line->prefix == PrefixIn) {
        if (!ReadPort(bytes, length, line->prefix, line, &searchStart))
            return false;
    } else if (line->prefix != PrefixNone) {
        searchStart = Keyword::length(Keyword::KeywordCount + line->prefix) + 1;
    }
    int keywordOffset = -1;
    line->keyword = Keyword::findKeyword(bytes, searchStart, length, &keywordOffset);
    if (line->keyword < 0)
        return false;
    const int keywordEnd = keywordOffset + Keyword::length(line->keyword);
    // The byte after the keyword is its separator; a CR there means the line has no value.
    int valueStart = keywordEnd + 1;
    if (bytes[keywordEnd] == '\r')
        valueStart = keywordEnd;
    int valueEnd = length;
    const bool endsWithCr = valueEnd > 0 && bytes[valueEnd - 1] == '\r';
    if (endsWithCr)
        --valueEnd;
    line->value = ByteRange { bytes + valueStart, valueEnd > valueStart ? valueEnd - valueStart : 0 };
    line->value.followedBySeparator = endsWithCr;
    return true;
}

QString SectionDoneText(const QString &pageTitle)
{
    return QStringLiteral("%1 %2 %3.").arg(S_Sync, pageTitle, S_Message);
}

QString PortDoneText(const QString &portKind, quint32 port)
{
    return QStringLiteral("%1 %2-%3 %4.")
        .arg(S_Sync, portKind, QString::number(static_cast<qint64>(port) + 1), S_Message);
}

// The three steps of a route reply for one output: route, first window, wall screen input.
void ShowRoutedInput(ReplyPages &pages, quint32 input, quint32 output)
{
    MultiviewOf(output).windowInput[0] = input;
    pages.multiviewShowWindowInput(output, 0, input);
    WallSlot(output).inputIndex = input;
}

void HandleVideoIn(ReplyPages &pages, const ReplyLine &line)
{
    if (!line.hasPort || !ModelConfirmed() || line.prefix != PrefixOut)
        return;
    const int input = MatchValueWord(WindowInputWords, line.value);
    if (input < 0)
        return;
    const auto x = static_cast<quint32>(input);
    pages.matrixSetRoute(x, line.port);
    if (line.port != AllPorts) {
        ShowRoutedInput(pages, x, line.port);
        return;
    }
    for (quint32 output = 0; output < DeviceState.outputCount && output < MaxPorts; ++output)
        ShowRoutedInput(pages, x, output);
}

void HandleVka(ReplyPages &pages, const ReplyLine &line)
{
    const int vka = MatchValueWord(VkaWords, line.value);
    if (vka < 0)
        return;
    MultiviewOf(line.port).vka = static_cast<quint32>(vka);
    MultiviewOf(line.port).confirmed |= ConfirmedVka;
    pages.multiviewShowVka(line.port, static_cast<quint32>(vka));
}

void HandleItc(ReplyPages &pages, const ReplyLine &line)
{
    const int itc = MatchValueWord(OnOffWords, line.value);
    if (itc < 0 || static_cast<quint32>(itc) > ItcOff)
        return;
    MultiviewOf(line.port).itc = static_cast<quint32>(itc);
    MultiviewOf(line.port).confirmed |= ConfirmedItc;
    pages.multiviewShowItc(line.port, static_cast<quint32>(itc));
}

void HandleMultiview(ReplyPages &pages, const ReplyLine &line)
{
    const int mode = MatchValueWord(MultiviewModeWords, line.value);
    if (mode < 0)
        return;
    MultiviewOf(line.port).mode = static_cast<quint32>(mode);
    MultiviewOf(line.port).confirmed |= ConfirmedMode;
    pages.multiviewShowMode(line.port, static_cast<quint32>(mode));
}

void HandleWindowIn(ReplyPages &pages, const ReplyLine &line)
{
    if (!ModelConfirmed())
        return;
    const int input = MatchValueWord(WindowInputWords, line.value);
    if (input < 0)
        return;
    const auto x = static_cast<quint32>(input);
    const auto window = static_cast<quint32>(line.keyword - Keyword::Window1In);
    MultiviewOf(line.port).windowInput[window] = x;
    pages.multiviewShowWindowInput(line.port, window, x);
    if (window != 0)
        return;
    DeviceState.routeInputOfOutput[ClampSlot(line.port)] = x;
    pages.matrixSetRoute(x, line.port);
    WallSlot(line.port).inputIndex = x;
}

void HandlePipPosOrSize(ReplyPages &pages, const ReplyLine &line)
{
    MultiviewState &state = MultiviewOf(line.port);
    if (!ModelConfirmed() || state.mode != ModePip)
        return;
    if (line.keyword == Keyword::PipPos) {
        const int position = MatchValueWord(PipPosWords, line.value);
        if (position < 0)
            return;
        state.pipPos = static_cast<quint32>(position);
        pages.multiviewShowPipPos(line.port, state.pipPos);
        return;
    }
    const int size = MatchValueWord(PipSizeWords, line.value);
    if (size < 0)
        return;
    state.pipSize = static_cast<quint32>(size);
    pages.multiviewShowPipSize(line.port, state.pipSize);
}

void HandleSplitLayout(ReplyPages &pages, const ReplyLine &line)
{
    MultiviewState &state = MultiviewOf(line.port);
    if (!ModelConfirmed() || !IsSplitMode(state.mode))
        return;
    const int number = ReadSigned(line.value);
    if (number < 1)
        return;
    state.layout = static_cast<quint32>(number - 1);
    pages.multiviewShowLayout(line.port, state.layout);
}

void HandleSplitAspect(ReplyPages &pages, const ReplyLine &line)
{
    MultiviewState &state = MultiviewOf(line.port);
    if (!ModelConfirmed() || !IsSplitMode(state.mode))
        return;
    const int aspect = MatchValueWord(AspectWords, line.value);
    if (aspect < 0)
        return;
    state.aspect = static_cast<quint32>(aspect);
    pages.multiviewShowAspect(line.port, state.aspect);
}

void HandleAudioSource(ReplyPages &pages, const ReplyLine &line)
{
    const int source = MatchValueWord(AudioSourceWords, line.value);
    if (source < 0)
        return;
    MultiviewOf(line.port).audioSource = static_cast<quint32>(source);
    MultiviewOf(line.port).confirmed |= ConfirmedAudioSource;
    pages.multiviewShowAudioSource(line.port, static_cast<quint32>(source));
}

void HandleEdidMode(ReplyPages &pages, const ReplyLine &line)
{
    if (!ModelConfirmed())
        return;
    const int mode = MatchValueWord(EdidModeWords, line.value);
    if (mode < 0)
        return;
    DeviceState.edidModeOfInput[ClampSlot(line.port)] = static_cast<quint32>(mode);
    pages.matrixInEdidMode(line.port, mode);
}

void ConfirmDevice(ReplyPages &pages)
{
    pages.connectionSetStatusPicture(true);
    DeviceState_ConfirmModel();
    pages.matrixRebuildIfConfirmed();
    pages.signalRebuildIfConfirmed();
    pages.multiviewRebuild();
    pages.multiviewRefresh();
    pages.tvWallFill();
    pages.systemRebuild();
    RequestEveryPage(pages);
    // Its reply closes the burst with the sync-over line in the status log.
    CmdGetSyncOver();
}

void RejectDevice(ReplyPages &pages)
{
    pages.connectionSetStatusPicture(false);
    pages.connectionDisconnectActiveLink();
    pages.showMachineNotMatch();
}

void HandleModelType(ReplyPages &pages, const ReplyLine &line)
{
    if (DeviceState.modelReplyHandled)
        return;
    DeviceState.modelReplyHandled = true;
    if (ContainsWord(line.value, ExpectedModel))
        ConfirmDevice(pages);
    else
        RejectDevice(pages);
}

void HandleMaxMode(ReplyPages &pages, const ReplyLine &line)
{
    const quint32 count = ReadUnsigned(line.value);
    if (count == 0)
        return;
    MultiviewState &state = MultiviewOf(line.port);
    state.maxMode = count;
    pages.multiviewFillLayoutList(line.port, count);
    pages.multiviewShowLayout(line.port, state.layout);
}

// The next field, or a range without data once the value has no more fields.
ByteRange NextFieldOrMissing(ReplyFields &fields)
{
    if (fields.exhausted())
        return ByteRange {};
    return fields.next();
}

void SyncWindows(ReplyPages &pages, const ReplyLine &line, ReplyFields &fields)
{
    MultiviewState &state = MultiviewOf(line.port);
    // A line cut short says nothing about the windows it no longer reaches.
    for (quint32 window = 0; window < 4 && !fields.exhausted(); ++window) {
        const ByteRange field = fields.next();
        if (field.contains("NULL"))
            continue;
        const int input = MatchValueWord(WindowInputWords, field);
        if (input < 0)
            continue;
        const auto x = static_cast<quint32>(input);
        state.windowInput[window] = x;
        if (window != 0)
            continue;
        DeviceState.routeInputOfOutput[ClampSlot(line.port)] = x;
        pages.matrixSetRoute(x, line.port);
        WallSlot(line.port).inputIndex = x;
    }
}

void HandleMultiviewSync(ReplyPages &pages, const ReplyLine &line)
{
    if (!ModelConfirmed())
        return;
    MultiviewState &state = MultiviewOf(line.port);
    ReplyFields fields(line.value, ' ');
    const int mode = MatchValueWord(MultiviewModeWords, fields.next());
    if (mode >= 0) {
        state.mode = static_cast<quint32>(mode);
        state.confirmed |= ConfirmedMode;
    }
    SyncWindows(pages, line, fields);
    // Fields the line does not reach stay missing (null) rather than repeating the last one.
    const ByteRange field6 = NextFieldOrMissing(fields);
    const ByteRange field7 = NextFieldOrMissing(fields);
    const ByteRange field8 = NextFieldOrMissing(fields);
    if (state.mode == ModePip) {
        const int position = field6.data ? MatchValueWord(PipPosWords, field6) : -1;
        if (position >= 0)
            state.pipPos = static_cast<quint32>(position);
        const int size = field7.data ? MatchValueWord(PipSizeWords, field7) : -1;
        if (size >= 0)
            state.pipSize = static_cast<quint32>(size);
    } else if (IsSplitMode(state.mode)) {
        const int aspect = field6.data ? MatchValueWord(AspectWords, field6) : -1;
        if (aspect >= 0)
            state.aspect = static_cast<quint32>(aspect);
        const int layoutNumber = field7.data ? ReadSigned(field7) : 0;
        if (layoutNumber >= 1)
            state.layout = static_cast<quint32>(layoutNumber - 1);
        if (field8.data)
            state.maxMode = ReadUnsigned(field8);
    }
    pages.multiviewShowSyncState(line.port);
    pages.connectionAppendStatusLine(SectionDoneText(Ui_Multiview_AppName));
}

void HandleNetworkInfo(ReplyPages &pages, const ReplyLine &line)
{
    ReplyFields fields(line.value, ' ');
    const QString ip = fields.next().toString();
    const QString port = fields.next().toString();
    const QString mask = fields.next().toString();
    const QString gateway = fields.next().toString();
    pages.systemNetworkReply(ip, port, mask, gateway);
    pages.connectionAppendStatusLine(SectionDoneText(Ui_System_AppName));
}

void HandleBaudrate(ReplyPages &pages, const ReplyLine &line)
{
    pages.systemBaudReply(ReadSigned(ReplyFields(line.value, ' ').field(1)));
    pages.connectionAppendStatusLine(SectionDoneText(Ui_System_AppName));
}

void HandleUserWindow(ReplyPages &pages, const ReplyLine &line)
{
    ReplyFields fields(line.value, ' ');
    quint32 numbers[4];
    for (quint32 &number : numbers)
        number = ReadUnsigned(fields.next());
    pages.multiviewShowUserWindow(line.port, numbers[0], numbers[1], numbers[2], numbers[3]);
}

void HandleMatrixRoute(ReplyPages &pages, const ReplyLine &line)
{
    pages.matrixSetRouteList(line.value.toString());
    pages.connectionAppendStatusLine(SectionDoneText(Ui_Matrix_AppName));
}

// Keeps a signal setting the device reported; a word outside the list leaves it as it was.
// The whole first word must be the value: "180" is not the rotation "0".
void StoreSignalWord(quint32 (&table)[MaxPorts], quint32 port, const ValueWordList &list, ByteRange value)
{
    ReplyFields fields(value, ' ');
    const int index = list.indexOf(fields.next().toString());
    if (index >= 0)
        table[ClampSlot(port)] = quint32(index) + 1;
}

void StoreSignalText(quint32 (&table)[MaxPorts], quint32 port, const ValueWordList &list, const QString &word)
{
    const int index = list.indexOf(word);
    if (index >= 0)
        table[ClampSlot(port)] = quint32(index) + 1;
}

void HandleOutputSetting(ReplyPages &pages, const ReplyLine &line, quint32 (&table)[MaxPorts],
    const ValueWordList &list)
{
    StoreSignalWord(table, line.port, list, line.value);
    pages.signalOutputConfirmed(line.port);
}

void HandleInInfo(ReplyPages &pages, const ReplyLine &line)
{
    ReplyFields fields(line.value, ' ');
    const QString type = fields.next().toString();
    const QString format = fields.next().toString();
    const QString outputFormat = fields.next().toString();
    const QString audio = fields.next().toString();
    pages.signalInputType(line.port, type);
    pages.signalInputFormat(line.port, format);
    pages.signalInputOutputFormat(line.port, outputFormat);
    StoreSignalText(DeviceState.signal.inAudio, line.port, InAudioWords, audio);
    pages.signalInputAudio(line.port, audio);
    pages.connectionAppendStatusLine(PortDoneText(S_Input, line.port));
}

void HandleOutInfo(ReplyPages &pages, const ReplyLine &line)
{
    ReplyFields fields(line.value, ' ');
    const QString type = fields.next().toString();
    const QString inputFormat = fields.next().toString();
    const QString resolution = fields.next().toString();
    StoreSignalText(DeviceState.signal.outHdcp, line.port, HdcpWords, type);
    StoreSignalText(DeviceState.signal.outResolution, line.port, OutResolutionWords, resolution);
    pages.signalOutputType(line.port, type);
    pages.signalOutputInputFormat(line.port, inputFormat);
    pages.signalOutputResolution(line.port, resolution);
    pages.connectionAppendStatusLine(PortDoneText(S_OutPut, line.port));
}

void StoreWallCell(quint32 cell, const quint32 (&n)[WallNumbersPerCell])
{
    const quint32 output = n[2];
    WallSlot(cell).outputIndex = output;
    WallEntry &screen = WallSlot(output);
    screen.inputIndex = n[7];
    screen.spliced = (n[0] & 1u) != 0;
    screen.singleExit = (n[0] & 4u) != 0;
    screen.flagBit1 = (n[0] & 2u) != 0;
    screen.edgeLeft = n[3];
    screen.edgeRight = n[4];
    screen.edgeUp = n[5];
    screen.edgeBottom = n[6];
    screen.spliceAnchor = n[1];
}

void HandleTvWallInfo(ReplyPages &pages, const ReplyLine &line)
{
    ReplyFields fields(line.value, ' ');
    const quint32 total = ReadUnsigned(fields.next());
    const quint32 rows = ReadUnsigned(fields.next());
    const quint32 cols = ReadUnsigned(fields.next());
    // A wall larger than the slots, or whose size only matches after 32-bit wrap-around, is
    // not a wall this program can hold: the previous wall stays.
    if (static_cast<quint64>(rows) * cols != total || total > MaxPorts)
        return;
    // A line cut short would store cells it does not carry.
    if (fields.count() < 3 + WallNumbersPerCell * static_cast<int>(total))
        return;
    DeviceState_ResetWall();
    DeviceState.wall.rows = rows;
    DeviceState.wall.cols = cols;
    DeviceState.wall.total = total;
    quint32 numbers[WallNumbersPerCell] = {};
    for (quint32 cell = 0; cell < total; ++cell) {
        for (quint32 &number : numbers) {
            const ByteRange field = fields.next();
            if (!field.isEmpty())
                number = ReadUnsigned(field);
        }
        StoreWallCell(cell, numbers);
    }
    pages.tvWallSelectRowsCols(rows, cols);
    pages.tvWallContentUpdated();
    pages.connectionAppendStatusLine(SectionDoneText(Ui_TV_Wall_AppName));
}

// IN{n} VIDEO OUT a,b,... and IN{n} VIDEO ALL.
bool RouteLineAccepted(const ReplyLine &line)
{
    return line.hasPort && line.prefix == PrefixIn && line.port < DeviceState.inputCount && ModelConfirmed()
        && DeviceState.outputCount != 0;
}

void RouteInputToOutput(ReplyPages &pages, quint32 input, quint32 output)
{
    pages.matrixSetRoute(input, output);
    ShowRoutedInput(pages, input, output);
}

void HandleVideoOut(ReplyPages &pages, const ReplyLine &line)
{
    if (!RouteLineAccepted(line))
        return;
    ReplyFields fields(line.value, ',');
    // The list ends at its last item or at an empty one, and never holds more items than there
    // are outputs. An item naming no existing output is skipped: 0 would become output 2^32-1
    // and 256 the "all outputs" 255.
    for (quint32 k = 0; k < DeviceState.outputCount && !fields.exhausted(); ++k) {
        const ByteRange field = fields.next();
        if (field.isEmpty())
            break;
        const quint32 number = ReadUnsigned(field);
        if (number == 0 || number > DeviceState.outputCount)
            continue;
        RouteInputToOutput(pages, line.port, number - 1);
    }
}

void HandleVideoAll(ReplyPages &pages, const ReplyLine &line)
{
    if (!RouteLineAccepted(line))
        return;
    for (quint32 output = 0; output < DeviceState.outputCount && output < MaxPorts; ++output)
        RouteInputToOutput(pages, line.port, output);
}

// Handlers whose lines name a port, by keyword; the others are dispatched below.
bool DispatchPortLine(ReplyPages &pages, const ReplyLine &line)
{
    switch (line.keyword) {
    case Keyword::InResolution:
        pages.signalInputFormat(line.port, line.value.toString());
        return true;
    case Keyword::Resolution:
        StoreSignalWord(DeviceState.signal.outResolution, line.port, OutResolutionWords, line.value);
        pages.signalOutputResolution(line.port, line.value.toString());
        return true;
    case Keyword::Hdcp:
        StoreSignalWord(DeviceState.signal.outHdcp, line.port, HdcpWords, line.value);
        pages.signalOutputType(line.port, line.value.toString());
        return true;
    case Keyword::Rotation:
        HandleOutputSetting(pages, line, DeviceState.signal.outRotation, RotationWords);
        pages.signalOutputRotation(line.port, line.value.toString());
        return true;
    case Keyword::AudioMute:
        HandleOutputSetting(pages, line, DeviceState.signal.outMute, OnOffWords);
        pages.signalOutputMute(line.port, line.value.toString());
        return true;
    case Keyword::FreezeWinAll:
        HandleOutputSetting(pages, line, DeviceState.signal.outFreeze, OnOffWords);
        pages.signalOutputFreeze(line.port, line.value.toString());
        return true;
    case Keyword::AudioSrc:
        StoreSignalWord(DeviceState.signal.inAudio, line.port, InAudioWords, line.value);
        pages.signalInputAudio(line.port, line.value.toString());
        return true;
    case Keyword::Vka:
        HandleVka(pages, line);
        return true;
    case Keyword::Itc:
        HandleItc(pages, line);
        return true;
    case Keyword::Multiview:
        HandleMultiview(pages, line);
        return true;
    case Keyword::Window1In:
    case Keyword::Window2In:
    case Keyword::Window3In:
    case Keyword::Window4In:
        HandleWindowIn(pages, line);
        return true;
    case Keyword::PipPos:
    case Keyword::PipSize:
        HandlePipPosOrSize(pages, line);
        return true;
    case Keyword::PbpMode:
    case Keyword::ThreeWinMode:
    case Keyword::FourWinMode:
        HandleSplitLayout(pages, line);
        return true;
    case Keyword::PbpAspect:
    case Keyword::ThreeWinAspect:
    case Keyword::FourWinAspect:
        HandleSplitAspect(pages, line);
        return true;
    case Keyword::AudioSource:
        HandleAudioSource(pages, line);
        return true;
    case Keyword::EdidMode:
        HandleEdidMode(pages, line);
        return true;
    case Keyword::MaxMode:
        HandleMaxMode(pages, line);
        return true;
    case Keyword::MultiviewSync:
        HandleMultiviewSync(pages, line);
        return true;
    case Keyword::PbpPresenter:
    case Keyword::PipUser:
        HandleUserWindow(pages, line);
        return true;
    case Keyword::OutportEdid:
        pages.matrixOutEdid(line.port, line.value.toString());
        return true;
    case Keyword::InInfo:
        HandleInInfo(pages, line);
        return true;
    case Keyword::OutInfo:
        HandleOutInfo(pages, line);
        return true;
    default:
        return false;
    }
}

void Dispatch(ReplyPages &pages, const ReplyLine &line)
{
    switch (line.keyword) {
    case Keyword::Version:
        pages.systemShowVersion(line.value.toString());
        return;
    case Keyword::VideoIn:
        HandleVideoIn(pages, line);
        return;
    case Keyword::ModelType:
        HandleModelType(pages, line);
        return;
    case Keyword::LoadScene:
        RequestEveryPage(pages);
        return;
    case Keyword::NetworkInfo:
        HandleNetworkInfo(pages, line);
        return;
    case Keyword::Baudrate:
        HandleBaudrate(pages, line);
        return;
    case Keyword::MatrixRoute:
        HandleMatrixRoute(pages, line);
        return;
    case Keyword::SyncOver:
        pages.connectionAppendStatusLine(QStringLiteral("\r\n->%1<-").arg(SMSG_Status_SyncOver));
        pages.connectionSyncOver();
        return;
    case Keyword::TvWallInfo:
        HandleTvWallInfo(pages, line);
        return;
    case Keyword::VideoOut:
        HandleVideoOut(pages, line);
        return;
    case Keyword::VideoAll:
        HandleVideoAll(pages, line);
        return;
    default:
        break;
    }
    if (line.hasPort)
        DispatchPortLine(pages, line);
}

} // namespace

void RequestEveryPage(ReplyPages &pages)
{
    pages.matrixRequestRoutes();
    pages.signalReadAll();
    pages.multiviewReadState();
    pages.tvWallReadWall();
    pages.systemReadLinkSettings();
}

void ParseReplyBytes(ReplyPages &pages, const char *bytes, int length)
{
    if (!bytes || length <= 0)
        return;
    ReplyLine line;
    if (SplitLine(bytes, length, &line))
        Dispatch(pages, line);
}

void ParseReplyLine(ReplyPages &pages, const QString &line)
{
    const QByteArray bytes = line.toLatin1();
    ParseReplyBytes(pages, bytes.constData(), bytes.size());
}
