#include "cli/CliOptions.h"

#include "link/LinkSettingsRules.h"
#include "protocol/DeviceState.h"
#include "protocol/MultiviewVocabulary.h"
#include "protocol/ValueWords.h"
#include "TavilonVersion.h"

#include <QHostAddress>

namespace {

constexpr int MaxLineLength = 1024;
constexpr int MaxTimeoutMs = 600000;
constexpr quint32 WindowCount = 4;
constexpr quint32 LayoutCount = Multiview::MaxLayouts;
constexpr quint32 MaxUserWindowValue = 9999;
using Multiview::PipPosUser;
using Multiview::PipSizeUser;
// ITC is ON or OFF; the list's third word marks empty windows only.
constexpr quint32 ItcWordCount = 2;

// Digits only (no sign, no blanks), at most nine of them.
bool IsDecimal(const QString &text)
{
    if (text.isEmpty() || text.size() > 9)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// A 1-based decimal number from 1 to max, digits only (no sign, no blanks).
bool ReadNumber(const QString &text, quint32 max, quint32 *value)
{
    if (!IsDecimal(text))
        return false;
    const quint32 number = text.toUInt();
    if (number < 1 || number > max)
        return false;
    *value = number;
    return true;
}

bool ReadOneBased(const QString &text, quint32 max, const QString &what, quint32 *index, QString *error)
{
    quint32 number = 0;
    if (!ReadNumber(text, max, &number)) {
        *error = QStringLiteral("%1 must be a number from 1 to %2, not \"%3\"").arg(what).arg(max).arg(text);
        return false;
    }
    *index = number - 1;
    return true;
}

// A dotted IPv4 address; host names are not resolved, as the link binds and connects by address.
bool IsIpv4Text(const QString &text)
{
    QHostAddress address;
    return text.count(QLatin1Char('.')) == 3 && address.setAddress(text)
        && address.protocol() == QAbstractSocket::IPv4Protocol;
}

bool IsPrintableAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    }
    return true;
}

int ModeIndexOf(const QString &word)
{
    for (quint32 k = 0; k < MultiviewModeWords.count; ++k) {
        if (word.compare(MultiviewModeWords.text(k), Qt::CaseInsensitive) == 0)
            return int(k);
    }
    return -1;
}

// The index of a value word given in any letter case, among the first count words of the list.
int WordIndexOf(const ValueWordList &list, quint32 count, const QString &word)
{
    for (quint32 k = 0; k < count && k < list.count; ++k) {
        if (word.compare(list.text(k), Qt::CaseInsensitive) == 0)
            return int(k);
    }
    return -1;
}

QString WordList(const ValueWordList &list, quint32 count)
{
    QStringList words;
    for (quint32 k = 0; k < count && k < list.count; ++k)
        words << list.text(k);
    return words.join(QLatin1Char('|'));
}

QString ModeList()
{
    return WordList(MultiviewModeWords, MultiviewModeWords.count);
}

bool ReadWord(const ValueWordList &list, quint32 count, const QString &text, const QString &what,
    quint32 *index, QString *error)
{
    const int found = WordIndexOf(list, count, text);
    if (found < 0) {
        *error = QStringLiteral("%1 must be one of %2, not \"%3\"").arg(what, WordList(list, count), text);
        return false;
    }
    *index = quint32(found);
    return true;
}

// A user window coordinate: 0 to 9999, digits only.
bool ReadCoordinate(const QString &text, quint32 *value, QString *error)
{
    quint32 number = 0;
    if (text == QLatin1String("0")) {
        *value = 0;
        return true;
    }
    if (!ReadNumber(text, MaxUserWindowValue, &number)) {
        *error = QStringLiteral("user window values must be numbers from 0 to %1, not \"%2\"")
                     .arg(MaxUserWindowValue)
                     .arg(text);
        return false;
    }
    *value = number;
    return true;
}

struct SettingForm {
    const char *name;
    CliOptions::Command command;
    int count;
    const char *usage;
};

const SettingForm SettingForms[] = {
    { "layout", CliOptions::Command::Layout, 2, "layout OUT N" },
    { "aspect", CliOptions::Command::Aspect, 2, "aspect OUT FULL|16:9" },
    { "pip", CliOptions::Command::Pip, 3, "pip OUT POSITION SIZE" },
    { "user-window", CliOptions::Command::UserWindow, 5, "user-window OUT HSTART VSTART HSIZE VSIZE" },
    { "audio", CliOptions::Command::AudioSource, 2, "audio OUT WIN1|HDMI1|HDMI2|HDMI3|HDMI4" },
    { "vka", CliOptions::Command::Vka, 2, "vka OUT BLUESCREEN|BLACKSCREEN|NOTIMING" },
    { "itc", CliOptions::Command::Itc, 2, "itc OUT ON|OFF" },
};

const SettingForm *FindSettingForm(const QString &name)
{
    for (const SettingForm &form : SettingForms) {
        if (name == QLatin1String(form.name))
            return &form;
    }
    return nullptr;
}

} // namespace

bool CliOptions::Parse(const QStringList &arguments, CliOptions *options, QString *error)
{
    *options = CliOptions();
    int next = 0;
    while (next < arguments.size() && arguments.at(next).startsWith(QLatin1String("-"))) {
        const QString word = arguments.at(next++);
        if (word == QLatin1String("--help") || word == QLatin1String("-h")) {
            options->helpRequested = true;
            return true;
        }
        if (word == QLatin1String("--version")) {
            options->versionRequested = true;
            return true;
        }
        QString name = word;
        QString value;
        const int equals = word.indexOf(QLatin1Char('='));
        if (equals > 0) {
            name = word.left(equals);
            value = word.mid(equals + 1);
        } else {
            if (next >= arguments.size()) {
                *error = QStringLiteral("option %1 needs a value").arg(word);
                return false;
            }
            value = arguments.at(next++);
        }
        if (!options->parseLinkOption(name, value, error))
            return false;
    }

    // Decoding a file needs no device, hence no link.
    if (arguments.value(next) == QLatin1String("edid") && arguments.value(next + 1) == QLatin1String("decode"))
        return options->parseEdidDecode(arguments.mid(next + 2), error);
    if (options->transport == Transport::None) {
        *error = QStringLiteral("choose a link with --tcp HOST[:PORT] or --serial PATH");
        return false;
    }
    return options->parseCommand(arguments.mid(next), error);
}

bool CliOptions::parseLinkOption(const QString &name, const QString &value, QString *error)
{
    if (name == QLatin1String("--tcp")) {
        if (transport != Transport::None) {
            *error = QStringLiteral("give only one of --tcp and --serial");
            return false;
        }
        QString address = value;
        const int colon = value.indexOf(QLatin1Char(':'));
        if (colon >= 0) {
            address = value.left(colon);
            quint32 number = 0;
            // 65535 is refused as the connection page refuses it.
            if (!ReadNumber(value.mid(colon + 1), 65534, &number)) {
                *error = QStringLiteral("TCP port must be a number from 1 to 65534, not \"%1\"")
                             .arg(value.mid(colon + 1));
                return false;
            }
            port = quint16(number);
        }
        if (!IsIpv4Text(address)) {
            *error = QStringLiteral("device address must be a dotted IPv4 address, not \"%1\"").arg(address);
            return false;
        }
        transport = Transport::Tcp;
        host = QHostAddress(address).toString();
        return true;
    }
    if (name == QLatin1String("--local-ip")) {
        if (!IsIpv4Text(value)) {
            *error = QStringLiteral("local address must be a dotted IPv4 address, not \"%1\"").arg(value);
            return false;
        }
        localIp = QHostAddress(value).toString();
        return true;
    }
    if (name == QLatin1String("--serial")) {
        if (transport != Transport::None) {
            *error = QStringLiteral("give only one of --tcp and --serial");
            return false;
        }
        if (value.isEmpty()) {
            *error = QStringLiteral("--serial needs a port name or path");
            return false;
        }
        transport = Transport::Serial;
        serialPath = value;
        return true;
    }
    if (name == QLatin1String("--baud")) {
        // The device's RS232 has these rates only.
        if (!LinkBaudRateTexts().contains(value)) {
            *error = QStringLiteral("baud rate must be one of %1, not \"%2\"")
                         .arg(LinkBaudRateTexts().join(QStringLiteral(", ")), value);
            return false;
        }
        baudRate = value.toInt();
        return true;
    }
    if (name == QLatin1String("--timeout")) {
        quint32 number = 0;
        if (!ReadNumber(value, MaxTimeoutMs, &number)) {
            *error = QStringLiteral("timeout must be a number of milliseconds from 1 to %1, not \"%2\"")
                         .arg(MaxTimeoutMs)
                         .arg(value);
            return false;
        }
        timeoutMs = int(number);
        return true;
    }
    *error = QStringLiteral("unknown option %1").arg(name);
    return false;
}

bool CliOptions::parseCommand(const QStringList &words, QString *error)
{
    if (words.isEmpty()) {
        *error = QStringLiteral("no command given");
        return false;
    }
    if (!localIp.isEmpty() && transport != Transport::Tcp) {
        *error = QStringLiteral("--local-ip needs --tcp");
        return false;
    }
    const QString name = words.first();
    const QStringList args = words.mid(1);
    auto expectCount = [&](int count, const QString &form) {
        if (args.size() == count)
            return true;
        *error = QStringLiteral("usage: %1").arg(form);
        return false;
    };

    if (name == QLatin1String("sync")) {
        command = Command::Sync;
        return expectCount(0, QStringLiteral("sync"));
    }
    if (name == QLatin1String("route")) {
        command = Command::Route;
        return expectCount(2, QStringLiteral("route IN OUT"))
            && ReadOneBased(args.at(0), MaxPorts, QStringLiteral("input"), &input, error)
            && ReadOneBased(args.at(1), MaxPorts, QStringLiteral("output"), &output, error);
    }
    if (name == QLatin1String("route-all")) {
        command = Command::RouteAll;
        return expectCount(1, QStringLiteral("route-all IN"))
            && ReadOneBased(args.at(0), MaxPorts, QStringLiteral("input"), &input, error);
    }
    if (name == QLatin1String("routes") || name == QLatin1String("names"))
        return parseRoutingCommand(name, args, error);
    if (name == QLatin1String("multiview")) {
        command = Command::Multiview;
        if (!expectCount(2, QStringLiteral("multiview OUT %1").arg(ModeList()))
            || !ReadOneBased(args.at(0), MaxPorts, QStringLiteral("output"), &output, error))
            return false;
        const int mode = ModeIndexOf(args.at(1));
        if (mode < 0) {
            *error
                = QStringLiteral("multiview mode must be one of %1, not \"%2\"").arg(ModeList(), args.at(1));
            return false;
        }
        modeIndex = quint32(mode);
        return true;
    }
    if (name == QLatin1String("window")) {
        command = Command::Window;
        // The window command names inputs by the device's four HDMI words.
        return expectCount(3, QStringLiteral("window OUT WINDOW IN"))
            && ReadOneBased(args.at(0), MaxPorts, QStringLiteral("output"), &output, error)
            && ReadOneBased(args.at(1), WindowCount, QStringLiteral("window"), &window, error)
            && ReadOneBased(
                args.at(2), WindowInputWords.count, QStringLiteral("window input"), &input, error);
    }
    if (FindSettingForm(name))
        return parseMultiviewSetting(name, args, error);
    if (name == QLatin1String("scene")) {
        if (!expectCount(2, QStringLiteral("scene save|load N")))
            return false;
        if (args.at(0) == QLatin1String("save")) {
            command = Command::SceneSave;
        } else if (args.at(0) == QLatin1String("load")) {
            command = Command::SceneLoad;
        } else {
            *error = QStringLiteral("usage: scene save|load N");
            return false;
        }
        quint32 index = 0;
        if (!ReadOneBased(args.at(1), SceneCount, QStringLiteral("scene"), &index, error))
            return false;
        scene = int(index) + 1;
        return true;
    }
    if (name == QLatin1String("edid")) {
        if (args.size() == 4 && args.at(0) == QLatin1String("read") && args.at(3) == QLatin1String("--decode")) {
            edidDecode = true;
            return parseCommand(words.mid(0, 4), error);
        }
        if (!expectCount(3, QStringLiteral("edid read OUT FILE | edid write IN FILE")))
            return false;
        if (args.at(0) == QLatin1String("read")) {
            command = Command::EdidRead;
            if (!ReadOneBased(args.at(1), MaxPorts, QStringLiteral("output"), &output, error))
                return false;
        } else if (args.at(0) == QLatin1String("write")) {
            command = Command::EdidWrite;
            if (!ReadOneBased(args.at(1), MaxPorts, QStringLiteral("input"), &input, error))
                return false;
        } else {
            *error = QStringLiteral("usage: edid read OUT FILE | edid write IN FILE");
            return false;
        }
        filePath = args.at(2);
        if (filePath.isEmpty()) {
            *error = QStringLiteral("EDID file name is empty");
            return false;
        }
        return true;
    }
    if (name == QLatin1String("version")) {
        command = Command::Version;
        const QString form = QStringLiteral("version main|keyboard|in N|out N");
        if (args.isEmpty()) {
            *error = QStringLiteral("usage: %1").arg(form);
            return false;
        }
        const QString target = args.at(0);
        if (target == QLatin1String("main") || target == QLatin1String("keyboard")) {
            versionSelector = target == QLatin1String("main") ? 0 : 1;
            return expectCount(1, form);
        }
        if (target == QLatin1String("in") || target == QLatin1String("out")) {
            const bool isInput = target == QLatin1String("in");
            versionSelector = isInput ? 2 : 3;
            return expectCount(2, form)
                && ReadOneBased(args.at(1), MaxPorts,
                    isInput ? QStringLiteral("input") : QStringLiteral("output"), &versionPort, error);
        }
        *error = QStringLiteral("usage: %1").arg(form);
        return false;
    }
    if (name == QLatin1String("network"))
        return parseNetworkCommand(args, error);
    if (name == QLatin1String("baud"))
        return parseBaudCommand(args, error);
    if (name == QLatin1String("backup") || name == QLatin1String("restore"))
        return parseBackupCommand(name, args, error);
    if (name == QLatin1String("reset")) {
        command = Command::Reset;
        // Everything the device holds goes back to the factory state: never by accident.
        if (args != QStringList { QStringLiteral("--yes") }) {
            *error = QStringLiteral("reset puts the device back to its factory settings; confirm with: reset --yes");
            return false;
        }
        return true;
    }
    if (name == QLatin1String("raw")) {
        command = Command::Raw;
        rawLine = args.join(QLatin1Char(' '));
        if (rawLine.isEmpty()) {
            *error = QStringLiteral("usage: raw LINE");
            return false;
        }
        if (!IsPrintableAscii(rawLine)) {
            *error = QStringLiteral("raw line must be printable ASCII (the CR is added)");
            return false;
        }
        if (rawLine.size() > MaxLineLength) {
            *error = QStringLiteral("raw line is longer than %1 bytes").arg(MaxLineLength);
            return false;
        }
        return true;
    }
    if (name == QLatin1String("wall")) {
        command = Command::Wall;
        return parseWall(args, error);
    }
    *error = QStringLiteral("unknown command \"%1\"").arg(name);
    return false;
}

bool CliOptions::parseEdidDecode(const QStringList &args, QString *error)
{
    command = Command::EdidDecode;
    if (args.size() != 1 || args.at(0).isEmpty()) {
        *error = QStringLiteral("usage: edid decode FILE");
        return false;
    }
    filePath = args.at(0);
    return true;
}

bool CliOptions::parseMultiviewSetting(const QString &name, const QStringList &args, QString *error)
{
    const SettingForm *form = FindSettingForm(name);
    if (!form) {
        *error = QStringLiteral("unknown command \"%1\"").arg(name);
        return false;
    }
    command = form->command;
    if (args.size() != form->count) {
        *error = QStringLiteral("usage: %1").arg(QLatin1String(form->usage));
        return false;
    }
    if (!ReadOneBased(args.at(0), MaxPorts, QStringLiteral("output"), &output, error))
        return false;
    const QString value = args.at(1);
    switch (command) {
    case Command::Layout: {
        quint32 index = 0;
        if (!ReadOneBased(value, LayoutCount, QStringLiteral("layout"), &index, error))
            return false;
        layoutNumber = int(index) + 1;
        return true;
    }
    case Command::Aspect:
        return ReadWord(AspectWords, AspectWords.count, value, QStringLiteral("aspect"), &aspect, error);
    case Command::Pip:
        if (!ReadWord(PipPosWords, PipPosWords.count, value, QStringLiteral("PIP position"), &pipPos, error)
            || !ReadWord(PipSizeWords, PipSizeWords.count, args.at(2), QStringLiteral("PIP size"), &pipSize, error))
            return false;
        // The device couples the two: a user position has a user size and the other way round.
        if ((pipPos == PipPosUser) != (pipSize == PipSizeUser)) {
            *error = QStringLiteral("a USER position goes with a USER size and only with it");
            return false;
        }
        return true;
    case Command::UserWindow:
        for (int i = 0; i < 4; ++i) {
            if (!ReadCoordinate(args.at(1 + i), &userWindow[i], error))
                return false;
        }
        return true;
    case Command::AudioSource:
        return ReadWord(
            AudioSourceWords, AudioSourceWords.count, value, QStringLiteral("audio source"), &audioSource, error);
    case Command::Vka:
        return ReadWord(VkaWords, VkaWords.count, value, QStringLiteral("VKA"), &vka, error);
    case Command::Itc:
        return ReadWord(OnOffWords, ItcWordCount, value, QStringLiteral("ITC"), &itc, error);
    default:
        return false;
    }
}

bool CliOptions::parseWall(const QStringList &args, QString *error)
{
    struct Form {
        const char *word;
        WallAction action;
        int count; // arguments after the word
        const char *usage;
    };
    static const Form forms[] = {
        { "size", WallAction::Size, 2, "wall size ROWS COLS" },
        { "splice", WallAction::Splice, 4, "wall splice TOP LEFT BOTTOM RIGHT" },
        { "cancel", WallAction::Cancel, 2, "wall cancel ROW COL" },
        { "single", WallAction::Single, 2, "wall single ROW COL" },
        { "input", WallAction::Input, 3, "wall input ROW COL IN" },
        { "bezel", WallAction::Bezel, 6, "wall bezel ROW COL LEFT RIGHT UP BOTTOM" },
    };
    if (args.isEmpty()) {
        wallAction = WallAction::Show;
        return true;
    }
    const Form *form = nullptr;
    for (const Form &candidate : forms) {
        if (args.at(0) == QLatin1String(candidate.word))
            form = &candidate;
    }
    if (!form) {
        *error = QStringLiteral("usage: wall [size|splice|cancel|single|input|bezel ...]");
        return false;
    }
    wallAction = form->action;
    if (args.size() != form->count + 1) {
        *error = QStringLiteral("usage: %1").arg(QLatin1String(form->usage));
        return false;
    }
    const QStringList numbers = args.mid(1);
    const QString row = QStringLiteral("row");
    const QString column = QStringLiteral("column");
    if (wallAction == WallAction::Size)
        return ReadOneBased(numbers.at(0), MaxWallSide, QStringLiteral("rows"), &wallBottom, error)
            && ReadOneBased(numbers.at(1), MaxWallSide, QStringLiteral("columns"), &wallRight, error);
    if (!ReadOneBased(numbers.at(0), MaxWallSide, row, &wallTop, error)
        || !ReadOneBased(numbers.at(1), MaxWallSide, column, &wallLeft, error))
        return false;
    if (wallAction == WallAction::Splice) {
        if (!ReadOneBased(numbers.at(2), MaxWallSide, row, &wallBottom, error)
            || !ReadOneBased(numbers.at(3), MaxWallSide, column, &wallRight, error))
            return false;
        if (wallBottom < wallTop || wallRight < wallLeft) {
            *error = QStringLiteral("the bottom right cell must lie below and right of the top left cell");
            return false;
        }
        if (wallBottom == wallTop && wallRight == wallLeft) {
            *error = QStringLiteral("a splice needs more than one cell");
            return false;
        }
        return true;
    }
    if (wallAction == WallAction::Input)
        return ReadOneBased(numbers.at(2), MaxPorts, QStringLiteral("input"), &input, error);
    if (wallAction == WallAction::Bezel) {
        const char *names[] = { "left edge", "right edge", "up edge", "bottom edge" };
        for (int k = 0; k < 4; ++k) {
            const QString &text = numbers.at(2 + k);
            if (!IsDecimal(text) || text.toUInt() > MaxBezelEdge) {
                *error = QStringLiteral("%1 must be a number from 0 to %2, not \"%3\"")
                             .arg(QLatin1String(names[k]))
                             .arg(MaxBezelEdge)
                             .arg(text);
                return false;
            }
            edges[k] = text.toUInt();
        }
    }
    return true;
}

bool CliOptions::parseNetworkCommand(const QStringList &args, QString *error)
{
    const QString form = QStringLiteral("network | network set IP PORT MASK GATEWAY");
    if (args.isEmpty()) {
        command = Command::Network;
        return true;
    }
    command = Command::NetworkSet;
    if (args.size() != 5 || args.at(0) != QLatin1String("set")) {
        *error = QStringLiteral("usage: %1").arg(form);
        return false;
    }
    if (!LinkNetworkParametersValid(args.at(1), args.at(2), args.at(3), args.at(4))) {
        *error = QStringLiteral("network settings refused: IP, mask and gateway must be dotted quads "
                                "(parts 0 to 255 without leading zeros), the port from 1 to 65534");
        return false;
    }
    networkIp = args.at(1);
    networkPort = args.at(2);
    networkMask = args.at(3);
    networkGateway = args.at(4);
    return true;
}

bool CliOptions::parseBaudCommand(const QStringList &args, QString *error)
{
    const QString rates = LinkBaudRateTexts().join(QStringLiteral(", "));
    if (args.isEmpty()) {
        command = Command::Baud;
        return true;
    }
    command = Command::BaudSet;
    if (args.size() != 2 || args.at(0) != QLatin1String("set")) {
        *error = QStringLiteral("usage: baud | baud set N");
        return false;
    }
    if (!LinkBaudRateTexts().contains(args.at(1))) {
        *error = QStringLiteral("baud rate must be one of %1, not \"%2\"").arg(rates, args.at(1));
        return false;
    }
    baudToSet = args.at(1).toInt();
    return true;
}

QString CliOptions::VersionText()
{
    return QStringLiteral("tavilon-cli " TAVILON_VERSION "\n");
}

bool CliOptions::parseRoutingCommand(const QString &name, const QStringList &args, QString *error)
{
    if (name == QLatin1String("routes")) {
        command = Command::Routes;
        if (args.isEmpty()) {
            *error = QStringLiteral("usage: routes IN1 IN2 ... (the input of every output, in output order)");
            return false;
        }
        routeInputs.clear();
        for (const QString &arg : args) {
            quint32 index = 0;
            if (!ReadOneBased(arg, MaxPorts, QStringLiteral("input"), &index, error))
                return false;
            routeInputs << index;
        }
        return true;
    }
    const QString sub = args.value(0);
    if (args.size() != 2 || (sub != QLatin1String("export") && sub != QLatin1String("import"))) {
        *error = QStringLiteral("usage: names export FILE | names import FILE");
        return false;
    }
    command = sub == QLatin1String("export") ? Command::NamesExport : Command::NamesImport;
    filePath = args.at(1);
    return true;
}

bool CliOptions::parseBackupCommand(const QString &name, const QStringList &args, QString *error)
{
    if (name == QLatin1String("backup")) {
        command = Command::Backup;
        if (args.size() > 1) {
            *error = QStringLiteral("usage: backup [FILE]");
            return false;
        }
        filePath = args.value(0);
        return true;
    }
    command = Command::Restore;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--dry-run")) {
            dryRun = true;
        } else if (arg == QLatin1String("--with-link")) {
            withLink = true;
        } else if (arg.startsWith(QLatin1String("--")) || !filePath.isEmpty()) {
            *error = QStringLiteral("usage: restore FILE [--dry-run] [--with-link]");
            return false;
        } else {
            filePath = arg;
        }
    }
    if (filePath.isEmpty()) {
        *error = QStringLiteral("usage: restore FILE [--dry-run] [--with-link]");
        return false;
    }
    return true;
}

QString CliOptions::UsageText()
{
    return QStringLiteral(
        "usage: tavilon-cli (--tcp HOST[:PORT] [--local-ip ADDR] | --serial PATH [--baud N])\n"
        "                   [--timeout MS] COMMAND [ARGS...]\n"
        "       tavilon-cli --help | --version\n"
        "--baud: 9600, 19200, 38400, 57600 or 115200\n"
        "commands (ports, windows and scenes are 1-based):\n"
        "  sync                     identify, read the whole device, print its state as JSON\n"
        "  route IN OUT             route an input to an output\n"
        "  route-all IN             route an input to every output\n"
        "  routes IN1 IN2 ...       the input of every output in one go (one command per input),\n"
        "                           read back; locked outputs are left alone\n"
        "  names export FILE        write the input and output names as CSV (kind,number,name)\n"
        "  names import FILE        check a names CSV, print what changes, apply it unless a row\n"
        "                           is refused\n"
        "  multiview OUT MODE       SINGLE, PIP, PBP, 3xWIN or 4xWIN\n"
        "  window OUT WINDOW IN     show input IN (1-4) in a multiview window\n"
        "  layout OUT N             layout variant of PBP, 3xWIN or 4xWIN (1 to the mode's count)\n"
        "  aspect OUT FULL|16:9     window aspect of PBP, 3xWIN or 4xWIN\n"
        "  pip OUT POSITION SIZE    PIP window: LeftTop|RightTop|LeftBottom|RightBottom|USER,\n"
        "                           SMALL|MIDDLE|LARGE|USER (USER goes with USER)\n"
        "  user-window OUT HSTART VSTART HSIZE VSIZE   0-9999 each; PIP with USER, or PBP layout 3\n"
        "  audio OUT WIN1|HDMI1..HDMI4   audio source of an output\n"
        "  vka OUT BLUESCREEN|BLACKSCREEN|NOTIMING   picture without a signal\n"
        "  itc OUT ON|OFF\n"
        "  scene save N | scene load N   N from 1 to 20\n"
        "  edid read OUT FILE       save the EDID of the display on an output (256 bytes)\n"
        "  edid write IN FILE       write a 256-byte EDID file as an input's user EDID\n"
        "  edid read OUT FILE --decode   as edid read, and print the EDID decoded as JSON\n"
        "  edid decode FILE         print an EDID file decoded as JSON (needs no link)\n"
        "  version main|keyboard|in N|out N\n"
        "  network                  print the device's network settings as JSON\n"
        "  network set IP PORT MASK GATEWAY   write them (port 1-65534)\n"
        "  baud | baud set N        read or write the device's RS232 rate (9600, 19200,\n"
        "                           38400, 57600 or 115200)\n"
        "  backup [FILE]            save the device's configuration as JSON (stdout without FILE)\n"
        "  restore FILE [--dry-run] [--with-link]   make the device match a backup; --dry-run\n"
        "                           prints the commands and sends none; --with-link restores the\n"
        "                           network and baud settings too (exit 1: the device still differs)\n"
        "  reset --yes              reset the device to its factory settings\n"
        "  discover [...]           find devices on the serial ports and local subnets; needs no\n"
        "                           --tcp or --serial (tavilon-cli discover --help)\n"
        "  raw LINE                 send one line, print every line received until its reply\n"
        "  wall                     print the device's wall as JSON\n"
        "  wall size ROWS COLS      set the wall size (cancels every splice group)\n"
        "  wall splice TOP LEFT BOTTOM RIGHT   splice the block between two corner cells\n"
        "  wall cancel ROW COL      cancel the splice group of a cell\n"
        "  wall single ROW COL      take a cell's screen out of its group, or put it back\n"
        "  wall input ROW COL IN    route an input to a cell's group (or its taken-out screen)\n"
        "  wall bezel ROW COL LEFT RIGHT UP BOTTOM   bezel edges (0-255) of a cell's group\n"
        "defaults: TCP port 2000, baud 9600, timeout 3000 ms\n"
        "exit status: 0 done, 2 bad usage (also a setting the output's mode does not have),\n"
        "             3 no connection, 4 no answer to the identification,\n"
        "             5 another model, 6 a reply timed out, 1 any other failure\n");
}

QString CliOptions::ChooseLocalIp(const QString &deviceIp, const QList<QNetworkAddressEntry> &entries)
{
    const QHostAddress device(deviceIp);
    if (device.isLoopback())
        return QStringLiteral("127.0.0.1");
    const quint32 deviceBits = device.toIPv4Address();
    for (const QNetworkAddressEntry &entry : entries) {
        const QHostAddress local = entry.ip();
        if (local.protocol() != QAbstractSocket::IPv4Protocol || local.isLoopback())
            continue;
        const quint32 mask = entry.netmask().toIPv4Address();
        if (mask != 0 && (local.toIPv4Address() & mask) == (deviceBits & mask))
            return local.toString();
    }
    return QStringLiteral("0.0.0.0");
}
