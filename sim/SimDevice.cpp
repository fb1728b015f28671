#include "sim/SimDevice.h"

#include "protocol/DeviceState.h"
#include "protocol/ValueWords.h"
#include "sim/SimEdid.h"

#include <QStringList>
#include <algorithm>

namespace {

const char *const MainVersion = "V2.05";
const char *const KeyboardVersion = "V1.02";
// Each port board has its own firmware, so every query tells a different story.
const char *const InputVersion[SimInputCount] = { "V1.31", "V1.32", "V1.33", "V1.34" };
const char *const OutputVersion[SimOutputCount] = { "V1.41", "V1.42", "V1.43", "V1.44" };
// What the sources on the four inputs send; an input without a source reports No-Signal.
const char *const InputSignal[SimInputCount]
    = { "3840x2160p60", "1920x1080p60", "3840x2160p30", "No-Signal" };
const quint32 MaxLayouts[] = { 1, 1, 3, 4, 6 };
const int Baudrates[] = { 9600, 19200, 38400, 57600, 115200 };
constexpr quint32 MaxUserWindowValue = 9999;
constexpr quint32 MaxWallNumber = 65535;

QByteArray Number(quint32 value)
{
    return QByteArray::number(value);
}

QByteArray InWord(quint32 input)
{
    return "IN" + Number(input + 1);
}

QByteArray OutWord(quint32 output)
{
    return "OUT" + Number(output + 1);
}

QByteArray WordOf(const ValueWordList &list, quint32 index)
{
    return QByteArray(list.at(index));
}

int FindWord(const ValueWordList &list, const QByteArray &word)
{
    return list.indexOf(word.constData(), word.size());
}

bool IsPrintableAscii(const QByteArray &text)
{
    for (char c : text) {
        if (c < 0x20 || c > 0x7E)
            return false;
    }
    return true;
}

// Plain decimal digits, without sign or leading zero, at most `max`.
bool ParseNumber(const QByteArray &word, quint32 max, quint32 &value)
{
    if (word.isEmpty() || word.size() > 9 || (word.size() > 1 && word[0] == '0'))
        return false;
    quint32 result = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
        result = result * 10 + quint32(c - '0');
    }
    if (result > max)
        return false;
    value = result;
    return true;
}

enum class PortWord { NotPort, OutOfRange, Valid };

// A port word is the prefix glued to a 1-based number, as in IN1 or OUT4.
PortWord ParsePortWord(const QByteArray &word, const char *prefix, quint32 count, quint32 &index)
{
    const QByteArray head(prefix);
    if (!word.startsWith(head) || word.size() == head.size())
        return PortWord::NotPort;
    const QByteArray digits = word.mid(head.size());
    for (char c : digits) {
        if (c < '0' || c > '9')
            return PortWord::NotPort;
    }
    quint32 number = 0;
    if (!ParseNumber(digits, count, number) || number == 0)
        return PortWord::OutOfRange;
    index = number - 1;
    return PortWord::Valid;
}

bool ParseHexByte(const QByteArray &word, quint8 &value)
{
    if (word.size() != 2)
        return false;
    bool ok = false;
    const uint parsed = word.toUInt(&ok, 16);
    if (!ok)
        return false;
    value = quint8(parsed);
    return true;
}

bool BlockSumIsZero(const QByteArray &edid, int start)
{
    quint32 sum = 0;
    for (int i = start; i < start + SimEdid::BlockSize; ++i)
        sum += quint8(edid[i]);
    return sum % 256 == 0;
}

// The same test a controller makes before writing: header, base block checksum, and the
// extension's checksum when exactly one extension is announced.
bool IsValidEdid(const QByteArray &edid)
{
    if (edid.size() != SimEdid::Size)
        return false;
    static const char header[]
        = { 0, char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), 0 };
    if (edid.left(8) != QByteArray(header, 8) || !BlockSumIsZero(edid, 0))
        return false;
    return quint8(edid[126]) != 1 || BlockSumIsZero(edid, SimEdid::BlockSize);
}

bool IsDottedQuad(const QByteArray &text)
{
    const QList<QByteArray> parts = text.split('.');
    if (parts.size() != 4)
        return false;
    quint32 value = 0;
    for (const QByteArray &part : parts) {
        if (!ParseNumber(part, 255, value))
            return false;
    }
    return true;
}

bool IsMultiWindowLayoutMode(quint32 mode)
{
    return mode == ModePbp || mode == Mode3xWin || mode == Mode4xWin;
}

QByteArray JoinNumbers(std::initializer_list<quint32> numbers)
{
    QByteArray text;
    for (quint32 n : numbers) {
        if (!text.isEmpty())
            text += ' ';
        text += Number(n);
    }
    return text;
}

QByteArray WindowRectText(const SimWindowRect &rect)
{
    return JoinNumbers({ rect[0], rect[1], rect[2], rect[3] });
}

// OUTn KEYWORD word: the line form of every single-word output setting.
QByteArray OutputWordLine(quint32 output, const char *keyword, const ValueWordList &list, quint32 index)
{
    return OutWord(output) + ' ' + keyword + ' ' + WordOf(list, index);
}

QByteArray HexText(const QByteArray &bytes)
{
    return bytes.toHex(' ').toUpper();
}

} // namespace

const char *const SimDevice::UnknownCommandLine = "ERROR: UNKNOWN COMMAND";
const char *const SimDevice::InvalidParameterLine = "ERROR: INVALID PARAMETER";
const char *const SimDevice::LineTooLongLine = "ERROR: LINE TOO LONG";

SimDevice::SimDevice(const SimDeviceConfig &config)
    : m_config(config)
    , m_state(FactoryState(config.network, config.baudrate))
{ }

quint32 SimDevice::MaxLayoutOfMode(quint32 mode)
{
    return mode < 5 ? MaxLayouts[mode] : 1;
}

SimReply SimDevice::lineTooLong()
{
    SimReply reply;
    reply.toRequester.append(LineTooLongLine);
    return reply;
}

SimReply SimDevice::handleRequest(const QByteArray &line)
{
    SimReply reply;
    const QByteArray text = line.trimmed();
    if (text.isEmpty())
        return reply;

    Words words;
    for (const QByteArray &word : text.split(' ')) {
        if (!word.isEmpty())
            words.append(word);
    }
    const SimState before = m_state;
    Outcome outcome;
    outcome.verdict = Verdict::Unknown;
    if (IsPrintableAscii(text) && words.size() >= 2) {
        if (words[0] == "GET")
            outcome = handleGet(words.mid(1));
        else if (words[0] == "SET")
            outcome = handleSet(words.mid(1));
    }

    if (outcome.verdict != Verdict::Done) {
        m_state = before;
        reply.toRequester.append(
            outcome.verdict == Verdict::Unknown ? UnknownCommandLine : InvalidParameterLine);
        return reply;
    }
    reply.toRequester = outcome.ack;
    if (m_state != before)
        reply.toAll = outcome.status;
    else
        reply.toRequester += outcome.status;
    return reply;
}

// ---- Queries ------------------------------------------------------------------------------

SimDevice::Outcome SimDevice::handleGet(const Words &words) const
{
    Outcome outcome;
    quint32 port = 0;
    if (words == Words { "MODEL", "TYPE" }) {
        outcome.ack.append("MODEL TYPE " + m_config.model);
    } else if (words == Words { "SYNC-OVER" }) {
        outcome.ack.append("SYNC-OVER");
    } else if (words == Words { "MATRIX-ROUTE" }) {
        outcome.ack.append(matrixRouteLine());
    } else if (words == Words { "TVWALL-INFO" }) {
        outcome.ack.append(tvWallLine());
    } else if (words == Words { "NETWORK-INFO" }) {
        outcome.ack.append(networkLine());
    } else if (words == Words { "BAUDRATE" }) {
        outcome.ack.append(baudrateLine());
    } else if (words == Words { "MAIN", "VERSION" }) {
        outcome.ack.append(QByteArray("MAIN VERSION ") + MainVersion);
    } else if (words == Words { "KEYBOARD", "VERSION" }) {
        outcome.ack.append(QByteArray("KEYBOARD VERSION ") + KeyboardVersion);
    } else {
        // Port commands: the port word first, then the command words.
        const PortWord inWord = ParsePortWord(words[0], "IN", SimInputCount, port);
        const PortWord outWord = ParsePortWord(words[0], "OUT", SimOutputCount, port);
        if (inWord == PortWord::Valid)
            return handleGetInput(port, words.mid(1));
        if (outWord == PortWord::Valid)
            return handleGetOutput(port, words.mid(1));
        outcome.verdict = (inWord == PortWord::OutOfRange || outWord == PortWord::OutOfRange)
            ? Verdict::Invalid
            : Verdict::Unknown;
    }
    return outcome;
}

SimDevice::Outcome SimDevice::handleGetInput(quint32 input, const Words &rest) const
{
    Outcome outcome;
    if (rest == Words { "IN-INFO" })
        outcome.ack.append(inInfoLine(input));
    else if (rest == Words { "EDIDMODE" })
        outcome.ack.append(edidModeLine(input));
    else if (rest == Words { "AUDIO-SRC" })
        outcome.ack.append(inAudioLine(input));
    else if (rest == Words { "IN", "RESOLUTION" })
        outcome.ack.append(inResolutionLine(input));
    else if (rest == Words { "VERSION" })
        outcome.ack.append(InWord(input) + " VERSION " + InputVersion[input]);
    else
        outcome.verdict = Verdict::Unknown;
    return outcome;
}

SimDevice::Outcome SimDevice::handleGetOutput(quint32 output, const Words &rest) const
{
    Outcome outcome;
    const SimMultiview &view = multiviewOf(output);
    const QByteArray modeWord = WordOf(MultiviewModeWords, view.mode);
    if (rest == Words { "OUT-INFO" }) {
        outcome.ack.append(outInfoLine(output));
    } else if (rest == Words { "MULTIVIEW-SYNC" }) {
        outcome.ack.append(multiviewSyncLine(output));
    } else if (rest == Words { "AUDIO", "SOURCE" }) {
        outcome.ack.append(audioSourceLine(output));
    } else if (rest == Words { "VKA" }) {
        outcome.ack.append(vkaLine(output));
    } else if (rest == Words { "ITC" }) {
        outcome.ack.append(itcLine(output));
    } else if (rest == Words { "OUTPORT-EDID" }) {
        outcome.ack.append(outportEdidLine(output));
    } else if (rest == Words { "VERSION" }) {
        outcome.ack.append(OutWord(output) + " VERSION " + OutputVersion[output]);
    } else if (rest == Words { "RESOLUTION" }) {
        outcome.ack.append(resolutionLine(output));
    } else if (rest == Words { "ROTATION" }) {
        outcome.ack.append(rotationLine(output));
    } else if (rest == Words { "HDCP" }) {
        outcome.ack.append(hdcpLine(output));
    } else if (rest == Words { "MULTIVIEW" }) {
        outcome.ack.append(modeLine(output));
    } else if (rest == Words { "PIP", "USER" }) {
        outcome.ack.append(pipUserLine(output));
    } else if (rest == Words { "PBP-PRESENTER" }) {
        outcome.ack.append(presenterLine(output));
    } else if (rest == Words { "PIP", "POS" } || rest == Words { "PIP", "SIZE" }) {
        if (view.mode != ModePip)
            outcome.verdict = Verdict::Invalid;
        else
            outcome.ack.append(rest[1] == "POS" ? pipPosLine(output) : pipSizeLine(output));
    } else if (rest.size() == 2 && (rest[1] == "ASPECT" || rest[1] == "MODE")
        && FindWord(MultiviewModeWords, rest[0]) >= 0) {
        // Only the current mode's fields can be read, and only for the multi-window modes.
        if (rest[0] != modeWord || !IsMultiWindowLayoutMode(view.mode))
            outcome.verdict = Verdict::Invalid;
        else
            outcome.ack.append(rest[1] == "ASPECT" ? aspectLine(output) : layoutLine(output));
    } else if (rest.size() == 2 && rest[1] == "IN" && FindWord(WindowWords, rest[0]) >= 0) {
        outcome.ack.append(windowLine(output, quint32(FindWord(WindowWords, rest[0]))));
    } else {
        outcome.verdict = Verdict::Unknown;
    }
    return outcome;
}

// ---- Changes ------------------------------------------------------------------------------

SimDevice::Outcome SimDevice::handleSet(const Words &words)
{
    const QByteArray &first = words[0];
    if (first == "SAVE" || first == "LOAD")
        return handleSetScene(words);
    if (words == Words { "RESET" })
        return handleReset();
    if (first == "NETWORK-INFO")
        return handleSetNetwork(words.mid(1));
    if (first == "BAUDRATE")
        return handleSetBaudrate(words.mid(1));
    if (first == "TVWALL-INFO")
        return handleSetTvWall(words.mid(1));

    Outcome outcome;
    quint32 port = 0;
    const PortWord inWord = ParsePortWord(first, "IN", SimInputCount, port);
    const PortWord outWord = ParsePortWord(first, "OUT", SimOutputCount, port);
    if (inWord == PortWord::Valid && words.size() >= 3)
        return handleSetInput(port, words.mid(1));
    if (outWord == PortWord::Valid && words.size() >= 3)
        return handleSetOutput(port, words.mid(1));
    outcome.verdict = (inWord == PortWord::OutOfRange || outWord == PortWord::OutOfRange) ? Verdict::Invalid
                                                                                          : Verdict::Unknown;
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetInput(quint32 input, const Words &rest)
{
    Outcome outcome;
    const QByteArray &keyword = rest[0];
    if (keyword == "VIDEO" && rest.size() == 2)
        return handleSetRoute(input, rest[1]);
    if (keyword == "EDID-USER")
        return handleSetUserEdid(input, rest.mid(1));
    if ((keyword == "AUDIO-SRC" || keyword == "EDIDMODE") && rest.size() == 2) {
        const bool audio = keyword == "AUDIO-SRC";
        const int index = FindWord(audio ? InAudioWords : EdidModeWords, rest[1]);
        if (index < 0) {
            outcome.verdict = Verdict::Invalid;
            return outcome;
        }
        if (audio) {
            m_state.live.inputAudio[input] = quint32(index);
            // A controller takes the audio choice from the information line, not from the echo.
            outcome.status.append(inAudioLine(input));
            outcome.status.append(inInfoLine(input));
        } else {
            m_state.edidMode[input] = quint32(index);
            outcome.status.append(edidModeLine(input));
        }
        return outcome;
    }
    outcome.verdict = Verdict::Unknown;
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetRoute(quint32 input, const QByteArray &target)
{
    Outcome outcome;
    if (target == "ALL") {
        for (quint32 o = 0; o < SimOutputCount; ++o)
            multiviewOf(o).windowInput[0] = input;
        // The controller reads this line itself as the route to every output.
        outcome.status.append(InWord(input) + " VIDEO ALL");
        return outcome;
    }
    if (!target.startsWith("OUT")) {
        outcome.verdict = Verdict::Unknown;
        return outcome;
    }
    // OUT followed by a comma list of 1-based outputs; an empty list routes nothing.
    const QByteArray list = target.mid(3);
    QList<quint32> outputs;
    if (!list.isEmpty()) {
        for (const QByteArray &item : list.split(',')) {
            quint32 number = 0;
            if (!ParseNumber(item, SimOutputCount, number) || number == 0) {
                outcome.verdict = Verdict::Invalid;
                return outcome;
            }
            if (!outputs.contains(number - 1))
                outputs.append(number - 1);
        }
    }
    for (quint32 o : outputs)
        multiviewOf(o).windowInput[0] = input;
    outcome.ack.append(InWord(input) + " VIDEO " + target);
    for (quint32 o : outputs)
        outcome.status.append(routeLine(o));
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetUserEdid(quint32 input, const Words &hexBytes)
{
    Outcome outcome;
    QByteArray edid;
    if (hexBytes.size() == SimEdid::Size) {
        for (const QByteArray &word : hexBytes) {
            quint8 byte = 0;
            if (!ParseHexByte(word, byte))
                break;
            edid.append(char(byte));
        }
    }
    // A block the device would refuse is answered with FAIL, which is not the OK a controller
    // waits for.
    if (!IsValidEdid(edid)) {
        outcome.ack.append(InWord(input) + " EDID-USER FAIL");
        return outcome;
    }
    m_state.userEdid[input] = edid;
    outcome.ack.append(InWord(input) + " EDID-USER OK");
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetOutput(quint32 output, const Words &rest)
{
    Outcome outcome;
    SimOutput &out = m_state.live.outputs[output];
    SimMultiview &view = out.multiview;
    const QByteArray &keyword = rest[0];

    // Settings that take one word from a list.
    struct WordSetting {
        const char *keyword;
        const ValueWordList *list;
        quint32 *field;
        quint32 limit; // words at or above this index are refused
        QByteArray (SimDevice::*line)(quint32) const;
    };
    const WordSetting settings[] = {
        { "RESOLUTION", &OutResolutionWords, &out.resolution, OutResolutionWords.count,
            &SimDevice::resolutionLine },
        { "ROTATION", &RotationWords, &out.rotation, RotationWords.count, &SimDevice::rotationLine },
        { "HDCP", &HdcpWords, &out.hdcp, HdcpWords.count, &SimDevice::hdcpLine },
        { "AUDIO-MUTE", &OnOffWords, &out.mute, OffIndex + 1, &SimDevice::muteLine },
        { "FREEZE-WINALL", &OnOffWords, &out.freeze, OffIndex + 1, &SimDevice::freezeLine },
        { "VKA", &VkaWords, &view.vka, VkaWords.count, &SimDevice::vkaLine },
        { "ITC", &OnOffWords, &view.itc, OffIndex + 1, &SimDevice::itcLine },
    };
    for (const WordSetting &setting : settings) {
        if (keyword != setting.keyword)
            continue;
        const int index = rest.size() == 2 ? FindWord(*setting.list, rest[1]) : -1;
        if (index < 0 || quint32(index) >= setting.limit) {
            outcome.verdict = Verdict::Invalid;
            return outcome;
        }
        *setting.field = quint32(index);
        outcome.status.append((this->*setting.line)(output));
        return outcome;
    }

    if (keyword == "AUDIO" && rest.size() == 3 && rest[1] == "SOURCE") {
        const int index = FindWord(AudioSourceWords, rest[2]);
        if (index < 0) {
            outcome.verdict = Verdict::Invalid;
            return outcome;
        }
        view.audioSource = quint32(index);
        outcome.status.append(audioSourceLine(output));
        return outcome;
    }
    if (keyword == "MULTIVIEW" && rest.size() == 2)
        return handleSetMultiviewMode(output, rest[1]);
    if (keyword == "PIP" && rest.size() >= 2 && rest[1] == "USER")
        return handleSetUserWindow(output, rest);
    if (keyword == "PBP-PRESENTER")
        return handleSetUserWindow(output, rest);
    if (keyword == "PIP")
        return handleSetPip(output, rest);
    if (FindWord(MultiviewModeWords, keyword) >= 0)
        return handleSetModeField(output, rest);
    if (FindWord(WindowWords, keyword) >= 0)
        return handleSetWindowInput(output, rest);
    if (keyword == "WALLPORT")
        return handleSetWallPort(output, rest.mid(1));
    outcome.verdict = Verdict::Unknown;
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetMultiviewMode(quint32 output, const QByteArray &word)
{
    Outcome outcome;
    const int mode = FindWord(MultiviewModeWords, word);
    if (mode < 0) {
        outcome.verdict = Verdict::Invalid;
        return outcome;
    }
    SimMultiview &view = multiviewOf(output);
    view.mode = quint32(mode);
    // A layout variant the new mode does not have falls back to the first one.
    if (view.layout >= MaxLayoutOfMode(view.mode))
        view.layout = 0;
    // As the device does: the mode, how many layouts it has, and for the split modes the
    // layout it now shows, so that a controller need not ask.
    outcome.status.append(modeLine(output));
    outcome.status.append(maxModeLine(output));
    if (IsMultiWindowLayoutMode(view.mode))
        outcome.status.append(layoutLine(output));
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetModeField(quint32 output, const Words &rest)
{
    // OUTn {mode word} ASPECT {word} or OUTn {mode word} MODE {1-based layout}: only for the
    // mode the output is in, and only for the multi-window modes.
    Outcome outcome;
    SimMultiview &view = multiviewOf(output);
    const bool currentMode = rest[0] == WordOf(MultiviewModeWords, view.mode);
    if (rest.size() != 3 || (rest[1] != "ASPECT" && rest[1] != "MODE")) {
        outcome.verdict = Verdict::Unknown;
        return outcome;
    }
    outcome.verdict = Verdict::Invalid;
    if (!currentMode || !IsMultiWindowLayoutMode(view.mode))
        return outcome;
    if (rest[1] == "ASPECT") {
        const int aspect = FindWord(AspectWords, rest[2]);
        if (aspect < 0)
            return outcome;
        view.aspect = quint32(aspect);
        outcome.status.append(aspectLine(output));
    } else {
        quint32 number = 0;
        if (!ParseNumber(rest[2], MaxLayoutOfMode(view.mode), number) || number == 0)
            return outcome;
        view.layout = number - 1;
        outcome.status.append(layoutLine(output));
    }
    outcome.verdict = Verdict::Done;
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetPip(quint32 output, const Words &rest)
{
    Outcome outcome;
    SimMultiview &view = multiviewOf(output);
    const bool position = rest.size() == 3 && rest[1] == "POS";
    const bool size = rest.size() == 3 && rest[1] == "SIZE";
    if (!position && !size) {
        outcome.verdict = Verdict::Unknown;
        return outcome;
    }
    const int index = FindWord(position ? PipPosWords : PipSizeWords, rest[2]);
    if (view.mode != ModePip || index < 0) {
        outcome.verdict = Verdict::Invalid;
        return outcome;
    }
    // A user-defined position goes with a user-defined size and the other way round; leaving
    // one of them brings the other back to a fixed value.
    const quint32 oldPos = view.pipPos;
    const quint32 oldSize = view.pipSize;
    if (position) {
        view.pipPos = quint32(index);
        if (view.pipPos == PipPosUser)
            view.pipSize = PipSizeUser;
        else if (view.pipSize == PipSizeUser)
            view.pipSize = PipSizeLarge;
        outcome.status.append(pipPosLine(output));
        if (view.pipSize != oldSize)
            outcome.status.append(pipSizeLine(output));
    } else {
        view.pipSize = quint32(index);
        if (view.pipSize == PipSizeUser)
            view.pipPos = PipPosUser;
        else if (view.pipPos == PipPosUser)
            view.pipPos = PipPosRightBottom;
        outcome.status.append(pipSizeLine(output));
        if (view.pipPos != oldPos)
            outcome.status.append(pipPosLine(output));
    }
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetUserWindow(quint32 output, const Words &rest)
{
    // OUTn PIP USER a b c d (PIP mode) or OUTn PBP-PRESENTER a b c d (PBP mode).
    Outcome outcome;
    SimMultiview &view = multiviewOf(output);
    const bool pip = rest[0] == "PIP";
    const Words numbers = rest.mid(pip ? 2 : 1);
    SimWindowRect rect {};
    outcome.verdict = Verdict::Invalid;
    if (numbers.size() != 4 || view.mode != (pip ? ModePip : ModePbp))
        return outcome;
    for (int i = 0; i < 4; ++i) {
        if (!ParseNumber(numbers[i], MaxUserWindowValue, rect[size_t(i)]))
            return outcome;
    }
    (pip ? view.pipUser : view.presenter) = rect;
    outcome.status.append(pip ? pipUserLine(output) : presenterLine(output));
    outcome.verdict = Verdict::Done;
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetWindowInput(quint32 output, const Words &rest)
{
    // OUTn WINDOWw IN HDMIx. Window 1 is the route of the output.
    Outcome outcome;
    if (rest.size() != 3 || rest[1] != "IN") {
        outcome.verdict = Verdict::Unknown;
        return outcome;
    }
    const int window = FindWord(WindowWords, rest[0]);
    const int input = FindWord(WindowInputWords, rest[2]);
    if (input < 0) {
        outcome.verdict = Verdict::Invalid;
        return outcome;
    }
    multiviewOf(output).windowInput[size_t(window)] = quint32(input);
    outcome.status.append(windowLine(output, quint32(window)));
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetWallPort(quint32 output, const Words &numbers)
{
    // Group rows, group columns, row and column inside the group, four edges, flag bit 1.
    Outcome outcome;
    quint32 values[9] = {};
    bool valid = numbers.size() == 9;
    for (int i = 0; valid && i < 9; ++i)
        valid = ParseNumber(numbers[i], i == 8 ? 1 : MaxWallNumber, values[i]);
    if (!valid) {
        // A wall command is always answered with the layout the device keeps.
        outcome.ack.append(tvWallLine());
        return outcome;
    }
    SimScreen &screen = m_state.live.wall.screens[output];
    screen.spliceRows = values[0];
    screen.spliceCols = values[1];
    screen.rowPos = values[2];
    screen.colPos = values[3];
    for (int e = 0; e < 4; ++e)
        screen.edges[size_t(e)] = values[4 + e];
    screen.flags = (screen.flags & ~2u) | (values[8] << 1);
    // Acknowledged with its own line only: a full layout now would overwrite a controller's
    // wall model half-way through the screen commands that precede its layout command.
    QByteArray ack = OutWord(output) + " WALLPORT";
    for (quint32 value : values)
        ack += ' ' + Number(value);
    outcome.ack.append(ack);
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetTvWall(const Words &numbers)
{
    // total rows cols, then per cell: flags, anchor, output, four edges, input.
    Outcome outcome;
    QVector<quint32> values;
    bool valid = numbers.size() >= 3;
    for (const QByteArray &word : numbers) {
        quint32 value = 0;
        valid = valid && ParseNumber(word, MaxWallNumber, value);
        values.append(value);
    }
    const quint32 total = valid ? values[0] : 0;
    const quint32 rows = valid ? values[1] : 0;
    const quint32 cols = valid ? values[2] : 0;
    valid = valid && rows >= 1 && cols >= 1 && total == rows * cols && total <= SimMaxWallCells
        && quint32(values.size()) == 3 + 8 * total;
    for (quint32 c = 0; valid && c < total; ++c) {
        const quint32 *cell = values.constData() + 3 + 8 * c;
        valid = cell[0] <= 7 && cell[1] < total && cell[2] < SimOutputCount && cell[7] < SimInputCount;
    }
    if (valid) {
        SimWall &wall = m_state.live.wall;
        wall.rows = rows;
        wall.cols = cols;
        wall.cellOutput.clear();
        for (SimScreen &screen : wall.screens)
            screen = SimScreen();
        for (quint32 c = 0; c < total; ++c) {
            const quint32 *cell = values.constData() + 3 + 8 * c;
            wall.cellOutput.append(cell[2]);
            SimScreen &screen = wall.screens[cell[2]];
            screen.flags = cell[0];
            screen.anchor = cell[1];
            for (int e = 0; e < 4; ++e)
                screen.edges[size_t(e)] = cell[3 + e];
            // The input of a screen is the input routed to its output; the layout does not
            // route.
        }
    }
    // Refused or not, the answer is the layout the device now has, never an empty wall.
    outcome.status.append(tvWallLine());
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetScene(const Words &words)
{
    Outcome outcome;
    quint32 number = 0;
    if (words.size() != 3 || words[1] != "SCENE") {
        outcome.verdict = Verdict::Unknown;
        return outcome;
    }
    if (!ParseNumber(words[2], SimSceneCount, number) || number == 0) {
        outcome.verdict = Verdict::Invalid;
        return outcome;
    }
    SimScene &scene = m_state.scenes[number - 1];
    if (words[0] == "SAVE") {
        scene = m_state.live;
        outcome.ack.append("SAVE SCENE " + Number(number));
    } else {
        m_state.live = scene;
        // Every controller re-reads the device when it sees this line.
        outcome.status.append("LOAD SCENE " + Number(number));
    }
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetNetwork(const Words &texts)
{
    Outcome outcome;
    quint32 port = 0;
    if (texts.size() != 4 || !IsDottedQuad(texts[0]) || !ParseNumber(texts[1], 65535, port) || port == 0
        || !IsDottedQuad(texts[2]) || !IsDottedQuad(texts[3])) {
        outcome.verdict = Verdict::Invalid;
        return outcome;
    }
    m_state.network = { QString::fromLatin1(texts[0]), QString::fromLatin1(texts[1]),
        QString::fromLatin1(texts[2]), QString::fromLatin1(texts[3]) };
    // To the asker only: a controller reads an unasked network line as the answer to a write of
    // its own and drops its link.
    outcome.ack.append(networkLine());
    return outcome;
}

SimDevice::Outcome SimDevice::handleSetBaudrate(const Words &words)
{
    Outcome outcome;
    quint32 rate = 0;
    const bool number = words.size() == 1 && ParseNumber(words[0], 1000000, rate);
    if (!number || !std::count(std::begin(Baudrates), std::end(Baudrates), int(rate))) {
        outcome.verdict = Verdict::Invalid;
        return outcome;
    }
    m_state.baudrate = int(rate);
    // To the asker only, for the same reason as the network settings.
    outcome.ack.append(baudrateLine());
    return outcome;
}

SimDevice::Outcome SimDevice::handleReset()
{
    Outcome outcome;
    m_state = FactoryState(m_config.network, m_config.baudrate);
    outcome.ack.append("RESET");
    outcome.status = stateReportLines();
    return outcome;
}

QList<QByteArray> SimDevice::stateReportLines() const
{
    QList<QByteArray> lines;
    lines.append(matrixRouteLine());
    for (quint32 o = 0; o < SimOutputCount; ++o) {
        lines.append(multiviewSyncLine(o));
        lines.append(audioSourceLine(o));
        lines.append(vkaLine(o));
        lines.append(itcLine(o));
        lines.append(outInfoLine(o));
    }
    for (quint32 i = 0; i < SimInputCount; ++i) {
        lines.append(inInfoLine(i));
        lines.append(edidModeLine(i));
    }
    lines.append(tvWallLine());
    return lines;
}

// ---- Status lines -------------------------------------------------------------------------

QByteArray SimDevice::routeLine(quint32 output) const
{
    return OutWord(output) + " VIDEO IN " + WordOf(WindowInputWords, multiviewOf(output).windowInput[0]);
}

QByteArray SimDevice::matrixRouteLine() const
{
    // The 0-based input of each output, in output order, separated by single spaces.
    QByteArray line = "MATRIX-ROUTE";
    for (quint32 o = 0; o < SimOutputCount; ++o)
        line += ' ' + Number(multiviewOf(o).windowInput[0]);
    return line;
}

QByteArray SimDevice::resolutionLine(quint32 output) const
{
    return OutputWordLine(output, "RESOLUTION", OutResolutionWords, m_state.live.outputs[output].resolution);
}

QByteArray SimDevice::rotationLine(quint32 output) const
{
    return OutputWordLine(output, "ROTATION", RotationWords, m_state.live.outputs[output].rotation);
}

QByteArray SimDevice::hdcpLine(quint32 output) const
{
    return OutputWordLine(output, "HDCP", HdcpWords, m_state.live.outputs[output].hdcp);
}

QByteArray SimDevice::muteLine(quint32 output) const
{
    return OutputWordLine(output, "AUDIO-MUTE", OnOffWords, m_state.live.outputs[output].mute);
}

QByteArray SimDevice::freezeLine(quint32 output) const
{
    return OutputWordLine(output, "FREEZE-WINALL", OnOffWords, m_state.live.outputs[output].freeze);
}

QByteArray SimDevice::modeLine(quint32 output) const
{
    return OutWord(output) + " MULTIVIEW " + WordOf(MultiviewModeWords, multiviewOf(output).mode);
}

QByteArray SimDevice::maxModeLine(quint32 output) const
{
    return OutWord(output) + " MAXMODE " + Number(MaxLayoutOfMode(multiviewOf(output).mode));
}

QByteArray SimDevice::aspectLine(quint32 output) const
{
    const SimMultiview &view = multiviewOf(output);
    return OutWord(output) + ' ' + WordOf(MultiviewModeWords, view.mode) + " ASPECT "
        + WordOf(AspectWords, view.aspect);
}

QByteArray SimDevice::layoutLine(quint32 output) const
{
    const SimMultiview &view = multiviewOf(output);
    return OutWord(output) + ' ' + WordOf(MultiviewModeWords, view.mode) + " MODE " + Number(view.layout + 1);
}

QByteArray SimDevice::pipPosLine(quint32 output) const
{
    return OutWord(output) + " PIP POS " + WordOf(PipPosWords, multiviewOf(output).pipPos);
}

QByteArray SimDevice::pipSizeLine(quint32 output) const
{
    return OutWord(output) + " PIP SIZE " + WordOf(PipSizeWords, multiviewOf(output).pipSize);
}

QByteArray SimDevice::pipUserLine(quint32 output) const
{
    return OutWord(output) + " PIP USER " + WindowRectText(multiviewOf(output).pipUser);
}

QByteArray SimDevice::presenterLine(quint32 output) const
{
    return OutWord(output) + " PBP-PRESENTER " + WindowRectText(multiviewOf(output).presenter);
}

QByteArray SimDevice::windowLine(quint32 output, quint32 window) const
{
    return OutWord(output) + ' ' + WordOf(WindowWords, window) + " IN "
        + WordOf(WindowInputWords, multiviewOf(output).windowInput[window]);
}

QByteArray SimDevice::audioSourceLine(quint32 output) const
{
    return OutWord(output) + " AUDIO SOURCE " + WordOf(AudioSourceWords, multiviewOf(output).audioSource);
}

QByteArray SimDevice::vkaLine(quint32 output) const
{
    return OutWord(output) + " VKA " + WordOf(VkaWords, multiviewOf(output).vka);
}

QByteArray SimDevice::itcLine(quint32 output) const
{
    return OutWord(output) + " ITC " + WordOf(OnOffWords, multiviewOf(output).itc);
}

QByteArray SimDevice::multiviewSyncLine(quint32 output) const
{
    // Mode, the four windows (NULL for those the mode does not show), then the mode's fields:
    // position and size for PIP; aspect, 1-based layout and layout count for the multi-window
    // modes; nothing for SINGLE.
    const SimMultiview &view = multiviewOf(output);
    QByteArray line = OutWord(output) + " MULTIVIEW-SYNC " + WordOf(MultiviewModeWords, view.mode);
    for (quint32 w = 0; w < SimWindowCount; ++w) {
        line += ' ';
        line += w < WindowCountOfMode[view.mode] ? WordOf(WindowInputWords, view.windowInput[w])
                                                 : WordOf(OnOffWords, 2);
    }
    if (view.mode == ModePip)
        line += ' ' + WordOf(PipPosWords, view.pipPos) + ' ' + WordOf(PipSizeWords, view.pipSize);
    else if (IsMultiWindowLayoutMode(view.mode))
        line += ' ' + WordOf(AspectWords, view.aspect) + ' ' + Number(view.layout + 1) + ' '
            + Number(MaxLayoutOfMode(view.mode));
    return line;
}

QByteArray SimDevice::outInfoLine(quint32 output) const
{
    // Output type (HDCP word), the format entering the output, and the output resolution.
    const SimOutput &out = m_state.live.outputs[output];
    const QByteArray format = out.multiview.mode == ModeSingle
        ? QByteArray(InputSignal[out.multiview.windowInput[0]])
        : QByteArray("Multi-Mode");
    return OutWord(output) + " OUT-INFO " + WordOf(HdcpWords, out.hdcp) + ' ' + format + ' '
        + WordOf(OutResolutionWords, out.resolution);
}

QByteArray SimDevice::outportEdidLine(quint32 output) const
{
    return OutWord(output) + " OUTPORT-EDID " + HexText(SimEdid::ForOutput(int(output)));
}

QByteArray SimDevice::inInfoLine(quint32 input) const
{
    // Input type, input format, output format, audio source.
    return InWord(input) + " IN-INFO HDMI " + InputSignal[input] + " Bypass "
        + WordOf(InAudioWords, m_state.live.inputAudio[input]);
}

QByteArray SimDevice::inAudioLine(quint32 input) const
{
    return InWord(input) + " AUDIO-SRC " + WordOf(InAudioWords, m_state.live.inputAudio[input]);
}

QByteArray SimDevice::inResolutionLine(quint32 input) const
{
    return InWord(input) + " IN RESOLUTION " + InputSignal[input];
}

QByteArray SimDevice::edidModeLine(quint32 input) const
{
    return InWord(input) + " EDIDMODE " + WordOf(EdidModeWords, m_state.edidMode[input]);
}

QByteArray SimDevice::tvWallLine() const
{
    const SimWall &wall = m_state.live.wall;
    const quint32 total = wall.rows * wall.cols;
    QByteArray line = "TVWALL-INFO " + JoinNumbers({ total, wall.rows, wall.cols });
    for (quint32 c = 0; c < total; ++c) {
        const quint32 output = wall.cellOutput[int(c)];
        const SimScreen &screen = wall.screens[output];
        line += ' '
            + JoinNumbers({ screen.flags, screen.anchor, output, screen.edges[0], screen.edges[1],
                screen.edges[2], screen.edges[3], multiviewOf(output).windowInput[0] });
    }
    return line;
}

QByteArray SimDevice::networkLine() const
{
    const SimNetwork &n = m_state.network;
    return "NETWORK-INFO " + QStringList({ n.ip, n.port, n.mask, n.gateway }).join(' ').toLatin1();
}

QByteArray SimDevice::baudrateLine() const
{
    return "BAUDRATE " + Number(quint32(m_state.baudrate));
}
