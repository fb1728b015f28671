// The command line of tavilon-cli: link options, then one command with its arguments.
// Ports, windows and scenes are 1-based on the command line, as on the device; the parsed
// record holds them 0-based, as the command builders take them.
#pragma once

#include <QList>
#include <QNetworkAddressEntry>
#include <QString>
#include <QStringList>
#include <QVector>

// Exit status of tavilon-cli.
enum CliExitCode : int {
    CliExitDone = 0,
    CliExitFailed = 1, // anything else: a file that cannot be written, a refused command
    CliExitUsage = 2,
    CliExitNoConnection = 3,
    CliExitNoIdentification = 4,
    CliExitOtherModel = 5,
    CliExitReplyTimeout = 6,
};

class CliOptions
{
public:
    enum class Transport { None, Tcp, Serial };
    enum class Command {
        None,
        Sync,
        Route,
        RouteAll,
        Multiview,
        Window,
        Layout,
        Aspect,
        Pip,
        UserWindow,
        AudioSource,
        Vka,
        Itc,
        SceneSave,
        SceneLoad,
        EdidRead,
        EdidWrite,
        EdidDecode,
        Version,
        Raw,
        Wall,
        Network,
        NetworkSet,
        Baud,
        BaudSet,
        Reset,
        Routes,
        NamesExport,
        NamesImport,
        Backup,
        Restore
    };
    // What the wall command does: print the device's wall, or change it.
    enum class WallAction { Show, Size, Splice, Cancel, Single, Input, Bezel };
    // The longest wall side, as the TV wall page offers it; the widest bezel edge.
    static constexpr quint32 MaxWallSide = 16;
    static constexpr quint32 MaxBezelEdge = 255;

    static constexpr quint16 DefaultTcpPort = 2000;
    static constexpr qint32 DefaultBaudRate = 9600;
    static constexpr int DefaultTimeoutMs = 3000;
    static constexpr int SceneCount = 20;

    // Parses the arguments after the program name. On failure returns false and sets error to
    // one line that says what is wrong.
    static bool Parse(const QStringList &arguments, CliOptions *options, QString *error);
    static QString UsageText();
    // "tavilon-cli VERSION" and a line end.
    static QString VersionText();

    // The local address to bind to for a device: 127.0.0.1 for a loopback device, otherwise
    // the first local IPv4 address whose own subnet holds the device, otherwise 0.0.0.0 (the
    // system picks the route).
    static QString ChooseLocalIp(const QString &deviceIp, const QList<QNetworkAddressEntry> &entries);

    bool helpRequested = false;
    bool versionRequested = false;
    Transport transport = Transport::None;
    QString host;
    quint16 port = DefaultTcpPort;
    QString localIp; // empty: chosen by ChooseLocalIp at connect time
    QString serialPath;
    qint32 baudRate = DefaultBaudRate;
    int timeoutMs = DefaultTimeoutMs;

    Command command = Command::None;
    quint32 input = 0; // 0-based
    quint32 output = 0; // 0-based
    quint32 window = 0; // 0-based
    quint32 modeIndex = 0; // index into MultiviewModeWords
    int layoutNumber = 0; // 1-based, as the layout command takes it
    quint32 aspect = 0; // AspectWords
    quint32 pipPos = 0; // PipPosWords
    quint32 pipSize = 0; // PipSizeWords
    quint32 userWindow[4] = {}; // H start, V start, H size, V size
    quint32 audioSource = 0; // AudioSourceWords
    quint32 vka = 0; // VkaWords
    quint32 itc = 0; // OnOffWords (ON or OFF)
    int scene = 0; // 1-based, as the scene commands take it
    int versionSelector = 0; // 0 main, 1 keyboard, 2 input, 3 output
    quint32 versionPort = 0; // 0-based, for selectors 2 and 3
    QString filePath;
    bool edidDecode = false; // edid read ... --decode: print the EDID decoded as well
    QString rawLine;
    WallAction wallAction = WallAction::Show;
    // 0-based. Size: rows and columns in wallBottom + 1 and wallRight + 1. Splice: the block.
    // Cancel, single, input and bezel: the cell in wallTop and wallLeft.
    quint32 wallTop = 0;
    quint32 wallLeft = 0;
    quint32 wallBottom = 0;
    quint32 wallRight = 0;
    quint32 edges[4] = {}; // left, right, up, bottom
    // network set: the four texts as given, already through the network parameter check.
    QString networkIp;
    QString networkPort;
    QString networkMask;
    QString networkGateway;
    int baudToSet = 0; // baud set: one of the five rates
    QVector<quint32> routeInputs; // routes: the 0-based input of each output, in output order
    // restore: print the commands and send none; restore the link settings too.
    bool dryRun = false;
    bool withLink = false;

private:
    bool parseLinkOption(const QString &name, const QString &value, QString *error);
    bool parseCommand(const QStringList &words, QString *error);
    // The output settings of the multiview page: layout, aspect, pip, user-window, audio, vka
    // and itc.
    bool parseMultiviewSetting(const QString &name, const QStringList &args, QString *error);
    bool parseEdidDecode(const QStringList &args, QString *error);
    bool parseWall(const QStringList &args, QString *error);
    bool parseNetworkCommand(const QStringList &args, QString *error);
    bool parseBaudCommand(const QStringList &args, QString *error);
    bool parseRoutingCommand(const QString &name, const QStringList &args, QString *error);
    bool parseBackupCommand(const QString &name, const QStringList &args, QString *error);
};
