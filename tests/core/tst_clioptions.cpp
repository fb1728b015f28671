// The headless client's pieces that need no device: the command line, the choice of the local
// address, the EDID checks and files, and the JSON built from parsed replies.
#include "cli/CliEdid.h"
#include "cli/CliOptions.h"
#include "cli/CliPages.h"
#include "cli/CliStateJson.h"
#include "link/LinkMode.h"
#include "protocol/DeviceState.h"
#include "protocol/ReplyParser.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A parsed record in a few words, with ports as the builders take them (0-based).
QString Describe(const CliOptions &o)
{
    QString link;
    if (o.transport == CliOptions::Transport::Tcp)
        link = QStringLiteral("tcp %1:%2 local=%3").arg(o.host).arg(o.port).arg(o.localIp);
    else
        link = QStringLiteral("serial %1@%2").arg(o.serialPath).arg(o.baudRate);
    QString command;
    using C = CliOptions::Command;
    switch (o.command) {
    case C::Sync:
        command = QStringLiteral("sync");
        break;
    case C::Route:
        command = QStringLiteral("route i%1 o%2").arg(o.input).arg(o.output);
        break;
    case C::RouteAll:
        command = QStringLiteral("route-all i%1").arg(o.input);
        break;
    case C::Multiview:
        command = QStringLiteral("multiview o%1 m%2").arg(o.output).arg(o.modeIndex);
        break;
    case C::Window:
        command = QStringLiteral("window o%1 w%2 i%3").arg(o.output).arg(o.window).arg(o.input);
        break;
    case C::Layout:
        command = QStringLiteral("layout o%1 n%2").arg(o.output).arg(o.layoutNumber);
        break;
    case C::Aspect:
        command = QStringLiteral("aspect o%1 a%2").arg(o.output).arg(o.aspect);
        break;
    case C::Pip:
        command = QStringLiteral("pip o%1 p%2 s%3").arg(o.output).arg(o.pipPos).arg(o.pipSize);
        break;
    case C::UserWindow:
        command = QStringLiteral("user-window o%1 %2,%3,%4,%5")
                      .arg(o.output)
                      .arg(o.userWindow[0])
                      .arg(o.userWindow[1])
                      .arg(o.userWindow[2])
                      .arg(o.userWindow[3]);
        break;
    case C::AudioSource:
        command = QStringLiteral("audio o%1 s%2").arg(o.output).arg(o.audioSource);
        break;
    case C::Vka:
        command = QStringLiteral("vka o%1 v%2").arg(o.output).arg(o.vka);
        break;
    case C::Itc:
        command = QStringLiteral("itc o%1 i%2").arg(o.output).arg(o.itc);
        break;
    case C::SceneSave:
        command = QStringLiteral("scene-save %1").arg(o.scene);
        break;
    case C::SceneLoad:
        command = QStringLiteral("scene-load %1").arg(o.scene);
        break;
    case C::EdidRead:
        command = QStringLiteral("edid-read o%1 %2").arg(o.output).arg(o.filePath);
        if (o.edidDecode)
            command += QStringLiteral(" decode");
        break;
    case C::EdidDecode:
        command = QStringLiteral("edid-decode %1").arg(o.filePath);
        break;
    case C::EdidWrite:
        command = QStringLiteral("edid-write i%1 %2").arg(o.input).arg(o.filePath);
        break;
    case C::Version:
        command = QStringLiteral("version s%1 p%2").arg(o.versionSelector).arg(o.versionPort);
        break;
    case C::Raw:
        command = QStringLiteral("raw [%1]").arg(o.rawLine);
        break;
    case C::Wall:
        command = QStringLiteral("wall a%1 %2,%3 %4,%5 i%6 e%7,%8,%9,%10")
                      .arg(int(o.wallAction))
                      .arg(o.wallTop)
                      .arg(o.wallLeft)
                      .arg(o.wallBottom)
                      .arg(o.wallRight)
                      .arg(o.input)
                      .arg(o.edges[0])
                      .arg(o.edges[1])
                      .arg(o.edges[2])
                      .arg(o.edges[3]);
        break;
    case C::Network:
        command = QStringLiteral("network");
        break;
    case C::NetworkSet:
        command = QStringLiteral("network-set %1 %2 %3 %4")
                      .arg(o.networkIp, o.networkPort, o.networkMask, o.networkGateway);
        break;
    case C::Baud:
        command = QStringLiteral("baud");
        break;
    case C::BaudSet:
        command = QStringLiteral("baud-set %1").arg(o.baudToSet);
        break;
    case C::Reset:
        command = QStringLiteral("reset");
        break;
    case C::Routes: {
        QStringList inputs;
        for (quint32 input : o.routeInputs)
            inputs << QStringLiteral("i%1").arg(input);
        command = QStringLiteral("routes ") + inputs.join(QLatin1Char(' '));
        break;
    }
    case C::NamesExport:
        command = QStringLiteral("names-export ") + o.filePath;
        break;
    case C::NamesImport:
        command = QStringLiteral("names-import ") + o.filePath;
        break;
    case C::Backup:
        command = QStringLiteral("backup [%1]").arg(o.filePath);
        break;
    case C::Restore:
        command = QStringLiteral("restore %1%2%3")
                      .arg(o.filePath)
                      .arg(o.dryRun ? QStringLiteral(" dry") : QString())
                      .arg(o.withLink ? QStringLiteral(" link") : QString());
        break;
    case C::None:
        command = QStringLiteral("none");
        break;
    }
    return QStringLiteral("%1 t%2 %3").arg(link).arg(o.timeoutMs).arg(command);
}

QByteArray ValidEdid(quint8 extensionCount)
{
    QByteArray edid(CliEdid::Size, '\0');
    const char header[8]
        = { 0x00, char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), char(0xFF), 0x00 };
    for (int k = 0; k < 8; ++k)
        edid[k] = header[k];
    edid[8] = 0x4C;
    edid[9] = 0x2D;
    edid[126] = char(extensionCount);
    for (int k = 128; k < 200; ++k)
        edid[k] = char(k);
    for (int block = 0; block < 2; ++block) {
        int sum = 0;
        for (int k = block * 128; k < block * 128 + 127; ++k)
            sum += quint8(edid.at(k));
        edid[block * 128 + 127] = char((256 - sum % 256) % 256);
    }
    return edid;
}

QString HexText(const QByteArray &bytes)
{
    QStringList pairs;
    for (const char byte : bytes)
        pairs << QStringLiteral("%1").arg(quint8(byte), 2, 16, QLatin1Char('0')).toUpper();
    return pairs.join(QLatin1Char(' '));
}

QNetworkAddressEntry Entry(const QString &ip, const QString &mask)
{
    QNetworkAddressEntry entry;
    entry.setIp(QHostAddress(ip));
    entry.setNetmask(QHostAddress(mask));
    return entry;
}

// Follows a path such as "multiview/1/pipPos" through objects and arrays.
QJsonValue At(const QJsonObject &root, const QString &path)
{
    QJsonValue value(root);
    for (const QString &step : path.split(QLatin1Char('/'))) {
        bool isIndex = false;
        const int index = step.toInt(&isIndex);
        value = isIndex ? value.toArray().at(index) : value.toObject().value(step);
    }
    return value;
}

} // namespace

Q_DECLARE_METATYPE(QList<QNetworkAddressEntry>)

class TestCliOptions : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void parsesValidCommandLines_data();
    void parsesValidCommandLines();
    void refusesBadCommandLines_data();
    void refusesBadCommandLines();

    void choosesLocalAddress_data();
    void choosesLocalAddress();

    void checksEdidBlocks_data();
    void checksEdidBlocks();
    void readsEdidHexText_data();
    void readsEdidHexText();
    void loadsEdidFilesAsTheDialogDoes_data();
    void loadsEdidFilesAsTheDialogDoes();
    void savesExactlyTheEdidBytes();
    void failedSaveLeavesTheOldFile();

    void stateJsonFollowsReplies_data();
    void stateJsonFollowsReplies();
    void stateJsonReportsTheLinkSettingsOfTheLink();
};

void TestCliOptions::init()
{
    DeviceState_Clear();
    LinkMode = LinkModeNone;
}

void TestCliOptions::parsesValidCommandLines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("parsed");

    const QString tcp = QStringLiteral("tcp 127.0.0.1:2000 local= t3000 ");
    QTest::newRow("sync, default port") << QStringList { "--tcp", "127.0.0.1", "sync" } << tcp + "sync";
    QTest::newRow("port and local address") << QStringList { "--tcp", "10.1.2.3:4001", "--local-ip",
        "10.1.2.9", "sync" } << "tcp 10.1.2.3:4001 local=10.1.2.9 t3000 sync";
    QTest::newRow("option=value form") << QStringList { "--tcp=127.0.0.1:65534", "--timeout=250", "sync" }
                                       << "tcp 127.0.0.1:65534 local= t250 sync";
    QTest::newRow("serial with baud") << QStringList { "--serial", "/dev/ttyUSB0", "--baud", "115200",
        "sync" } << "serial /dev/ttyUSB0@115200 t3000 sync";
    QTest::newRow("serial default baud") << QStringList { "--serial", "/tmp/x-tty", "route", "1", "3" }
                                         << "serial /tmp/x-tty@9600 t3000 route i0 o2";
    QTest::newRow("route 1-based to 0-based")
        << QStringList { "--tcp", "127.0.0.1", "route", "4", "2" } << tcp + "route i3 o1";
    QTest::newRow("route-all") << QStringList { "--tcp", "127.0.0.1", "route-all", "2" }
                               << tcp + "route-all i1";
    QTest::newRow("routes") << QStringList { "--tcp", "127.0.0.1", "routes", "2", "2", "4", "1" }
                            << tcp + "routes i1 i1 i3 i0";
    QTest::newRow("routes of 160 outputs") << QStringList { "--tcp", "127.0.0.1", "routes", "160" }
                                           << tcp + "routes i159";
    QTest::newRow("names export") << QStringList { "--tcp", "127.0.0.1", "names", "export", "/tmp/n.csv" }
                                  << tcp + "names-export /tmp/n.csv";
    QTest::newRow("names import") << QStringList { "--tcp", "127.0.0.1", "names", "import", "n.csv" }
                                  << tcp + "names-import n.csv";
    QTest::newRow("multiview word") << QStringList { "--tcp", "127.0.0.1", "multiview", "2", "3xWIN" }
                                    << tcp + "multiview o1 m3";
    QTest::newRow("multiview any case")
        << QStringList { "--tcp", "127.0.0.1", "multiview", "1", "pip" } << tcp + "multiview o0 m1";
    QTest::newRow("window") << QStringList { "--tcp", "127.0.0.1", "window", "3", "4", "2" }
                            << tcp + "window o2 w3 i1";
    QTest::newRow("layout") << QStringList { "--tcp", "127.0.0.1", "layout", "2", "6" } << tcp + "layout o1 n6";
    QTest::newRow("aspect 16:9") << QStringList { "--tcp", "127.0.0.1", "aspect", "3", "16:9" }
                                 << tcp + "aspect o2 a1";
    QTest::newRow("aspect any case") << QStringList { "--tcp", "127.0.0.1", "aspect", "1", "full" }
                                     << tcp + "aspect o0 a0";
    QTest::newRow("pip corner and size")
        << QStringList { "--tcp", "127.0.0.1", "pip", "4", "RightBottom", "MIDDLE" } << tcp + "pip o3 p3 s1";
    QTest::newRow("pip user") << QStringList { "--tcp", "127.0.0.1", "pip", "1", "user", "User" }
                              << tcp + "pip o0 p4 s3";
    QTest::newRow("user window with zeros")
        << QStringList { "--tcp", "127.0.0.1", "user-window", "1", "0", "0", "9999", "1080" }
        << tcp + "user-window o0 0,0,9999,1080";
    QTest::newRow("audio window 1") << QStringList { "--tcp", "127.0.0.1", "audio", "2", "WIN1" }
                                    << tcp + "audio o1 s0";
    QTest::newRow("audio hdmi4") << QStringList { "--tcp", "127.0.0.1", "audio", "2", "hdmi4" }
                                 << tcp + "audio o1 s4";
    QTest::newRow("vka") << QStringList { "--tcp", "127.0.0.1", "vka", "1", "NOTIMING" } << tcp + "vka o0 v2";
    QTest::newRow("itc off") << QStringList { "--tcp", "127.0.0.1", "itc", "4", "OFF" } << tcp + "itc o3 i1";
    QTest::newRow("scene save") << QStringList { "--tcp", "127.0.0.1", "scene", "save", "20" }
                                << tcp + "scene-save 20";
    QTest::newRow("scene load") << QStringList { "--tcp", "127.0.0.1", "scene", "load", "1" }
                                << tcp + "scene-load 1";
    QTest::newRow("edid read") << QStringList { "--tcp", "127.0.0.1", "edid", "read", "2", "out.bin" }
                               << tcp + "edid-read o1 out.bin";
    QTest::newRow("edid write") << QStringList { "--tcp", "127.0.0.1", "edid", "write", "3", "/x/in.bin" }
                                << tcp + "edid-write i2 /x/in.bin";
    QTest::newRow("version main") << QStringList { "--tcp", "127.0.0.1", "version", "main" }
                                  << tcp + "version s0 p0";
    QTest::newRow("version keyboard")
        << QStringList { "--tcp", "127.0.0.1", "version", "keyboard" } << tcp + "version s1 p0";
    QTest::newRow("version in") << QStringList { "--tcp", "127.0.0.1", "version", "in", "3" }
                                << tcp + "version s2 p2";
    QTest::newRow("version out") << QStringList { "--tcp", "127.0.0.1", "version", "out", "4" }
                                 << tcp + "version s3 p3";
    QTest::newRow("raw, one argument")
        << QStringList { "--tcp", "127.0.0.1", "raw", "GET OUT1 VKA" } << tcp + "raw [GET OUT1 VKA]";
    QTest::newRow("raw, words joined") << QStringList { "--tcp", "127.0.0.1", "raw", "GET", "MATRIX-ROUTE" }
                                       << tcp + "raw [GET MATRIX-ROUTE]";
    const QStringList wall { "--tcp", "127.0.0.1", "wall" };
    QTest::newRow("wall shows") << wall << tcp + "wall a0 0,0 0,0 i0 e0,0,0,0";
    QTest::newRow("wall size") << wall + QStringList { "size", "1", "16" } << tcp + "wall a1 0,0 0,15 i0 e0,0,0,0";
    QTest::newRow("wall splice") << wall + QStringList { "splice", "1", "2", "2", "2" }
                                 << tcp + "wall a2 0,1 1,1 i0 e0,0,0,0";
    QTest::newRow("wall cancel") << wall + QStringList { "cancel", "2", "1" } << tcp + "wall a3 1,0 0,0 i0 e0,0,0,0";
    QTest::newRow("wall single") << wall + QStringList { "single", "1", "2" } << tcp + "wall a4 0,1 0,0 i0 e0,0,0,0";
    QTest::newRow("wall input") << wall + QStringList { "input", "2", "2", "3" } << tcp + "wall a5 1,1 0,0 i2 e0,0,0,0";
    QTest::newRow("wall bezel, 0 and 255") << wall + QStringList { "bezel", "1", "1", "0", "255", "7", "10" }
                                           << tcp + "wall a6 0,0 0,0 i0 e0,255,7,10";
    QTest::newRow("raw keeps option-like words")
        << QStringList { "--tcp", "127.0.0.1", "raw", "--timeout", "5" } << tcp + "raw [--timeout 5]";
    QTest::newRow("network") << QStringList { "--tcp", "127.0.0.1", "network" } << tcp + "network";
    QTest::newRow("network set")
        << QStringList { "--serial", "/tmp/t", "network", "set", "10.0.0.9", "65534", "255.0.0.0", "10.0.0.1" }
        << "serial /tmp/t@9600 t3000 network-set 10.0.0.9 65534 255.0.0.0 10.0.0.1";
    QTest::newRow("network set, port with a leading zero")
        << QStringList { "--tcp", "127.0.0.1", "network", "set", "192.168.0.7", "08080", "255.255.255.0", "192.168.0.1" }
        << tcp + "network-set 192.168.0.7 08080 255.255.255.0 192.168.0.1";
    QTest::newRow("baud") << QStringList { "--tcp", "127.0.0.1", "baud" } << tcp + "baud";
    QTest::newRow("baud set slowest") << QStringList { "--tcp", "127.0.0.1", "baud", "set", "9600" }
                                      << tcp + "baud-set 9600";
    QTest::newRow("baud set fastest") << QStringList { "--tcp", "127.0.0.1", "baud", "set", "115200" }
                                      << tcp + "baud-set 115200";
    QTest::newRow("reset confirmed") << QStringList { "--tcp", "127.0.0.1", "reset", "--yes" } << tcp + "reset";
    QTest::newRow("edid decode needs no link") << QStringList { "edid", "decode", "tv.bin" }
                                               << "serial @9600 t3000 edid-decode tv.bin";
    QTest::newRow("edid decode ignores a link") << QStringList { "--tcp", "127.0.0.1", "edid", "decode", "a b.bin" }
                                                << tcp + "edid-decode a b.bin";
    QTest::newRow("edid read and decode") << QStringList { "--tcp", "127.0.0.1", "edid", "read", "4", "o.bin",
        "--decode" } << tcp + "edid-read o3 o.bin decode";
    QTest::newRow("backup to stdout") << QStringList { "--tcp", "127.0.0.1", "backup" } << tcp + "backup []";
    QTest::newRow("backup to a file") << QStringList { "--tcp", "127.0.0.1", "backup", "a.json" }
                                      << tcp + "backup [a.json]";
    QTest::newRow("restore") << QStringList { "--tcp", "127.0.0.1", "restore", "a.json" } << tcp + "restore a.json";
    QTest::newRow("restore options after the file")
        << QStringList { "--tcp", "127.0.0.1", "restore", "a.json", "--with-link", "--dry-run" }
        << tcp + "restore a.json dry link";
    QTest::newRow("restore options before the file")
        << QStringList { "--tcp", "127.0.0.1", "restore", "--dry-run", "a.json" } << tcp + "restore a.json dry";
}

void TestCliOptions::parsesValidCommandLines()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, parsed);
    CliOptions options;
    QString error;
    QVERIFY2(CliOptions::Parse(arguments, &options, &error), qPrintable(error));
    QCOMPARE(Describe(options), parsed);
}

void TestCliOptions::refusesBadCommandLines_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("no link") << QStringList { "sync" } << "--tcp HOST[:PORT] or --serial PATH";
    QTest::newRow("both links") << QStringList { "--tcp", "127.0.0.1", "--serial", "/tmp/t", "sync" }
                                << "only one of --tcp and --serial";
    QTest::newRow("no command") << QStringList { "--tcp", "127.0.0.1" } << "no command";
    QTest::newRow("routes without inputs") << QStringList { "--tcp", "127.0.0.1", "routes" } << "usage: routes IN1";
    QTest::newRow("routes with input 0") << QStringList { "--tcp", "127.0.0.1", "routes", "1", "0" }
                                         << "input must be a number from 1 to 160";
    QTest::newRow("routes with a word") << QStringList { "--tcp", "127.0.0.1", "routes", "1", "two" }
                                        << "input must be a number from 1 to 160";
    QTest::newRow("names without a file") << QStringList { "--tcp", "127.0.0.1", "names", "export" }
                                          << "usage: names export FILE | names import FILE";
    QTest::newRow("names with another verb") << QStringList { "--tcp", "127.0.0.1", "names", "merge", "x.csv" }
                                             << "usage: names export FILE | names import FILE";
    QTest::newRow("unknown command") << QStringList { "--tcp", "127.0.0.1", "reboot" } << "unknown command";
    QTest::newRow("unknown option") << QStringList { "--tcp", "127.0.0.1", "--fast", "1", "sync" }
                                    << "unknown option --fast";
    QTest::newRow("option without value") << QStringList { "--tcp" } << "needs a value";
    QTest::newRow("host name") << QStringList { "--tcp", "matrix.local", "sync" } << "dotted IPv4";
    QTest::newRow("address part above 255")
        << QStringList { "--tcp", "192.168.0.256", "sync" } << "dotted IPv4";
    QTest::newRow("two dots") << QStringList { "--tcp", "192.168.0", "sync" } << "dotted IPv4";
    QTest::newRow("port 65535") << QStringList { "--tcp", "127.0.0.1:65535", "sync" } << "1 to 65534";
    QTest::newRow("port 0") << QStringList { "--tcp", "127.0.0.1:0", "sync" } << "1 to 65534";
    QTest::newRow("empty port") << QStringList { "--tcp", "127.0.0.1:", "sync" } << "1 to 65534";
    QTest::newRow("local address without tcp") << QStringList { "--serial", "/tmp/t", "--local-ip",
        "127.0.0.1", "sync" } << "--local-ip needs --tcp";
    QTest::newRow("baud not a number")
        << QStringList { "--serial", "/tmp/t", "--baud", "fast", "sync" } << "baud rate";
    QTest::newRow("timeout zero") << QStringList { "--tcp", "127.0.0.1", "--timeout", "0", "sync" }
                                  << "timeout";
    QTest::newRow("sync with argument")
        << QStringList { "--tcp", "127.0.0.1", "sync", "now" } << "usage: sync";
    QTest::newRow("route port 0") << QStringList { "--tcp", "127.0.0.1", "route", "0", "1" }
                                  << "input must be";
    QTest::newRow("route negative") << QStringList { "--tcp", "127.0.0.1", "route", "1", "-2" }
                                    << "output must be";
    QTest::newRow("route missing output")
        << QStringList { "--tcp", "127.0.0.1", "route", "1" } << "route IN OUT";
    QTest::newRow("route port above the tables")
        << QStringList { "--tcp", "127.0.0.1", "route", "161", "1" } << "1 to 160";
    QTest::newRow("multiview unknown mode")
        << QStringList { "--tcp", "127.0.0.1", "multiview", "1", "QUAD" } << "SINGLE|PIP|PBP|3xWIN|4xWIN";
    QTest::newRow("window 5") << QStringList { "--tcp", "127.0.0.1", "window", "1", "5", "1" }
                              << "window must be";
    QTest::newRow("window input 5") << QStringList { "--tcp", "127.0.0.1", "window", "1", "1", "5" }
                                    << "window input must be";
    QTest::newRow("layout 0") << QStringList { "--tcp", "127.0.0.1", "layout", "1", "0" } << "1 to 6";
    QTest::newRow("layout 7") << QStringList { "--tcp", "127.0.0.1", "layout", "1", "7" } << "1 to 6";
    QTest::newRow("layout without number") << QStringList { "--tcp", "127.0.0.1", "layout", "1" }
                                           << "usage: layout OUT N";
    QTest::newRow("aspect 4:3") << QStringList { "--tcp", "127.0.0.1", "aspect", "1", "4:3" } << "FULL|16:9";
    QTest::newRow("aspect output 0") << QStringList { "--tcp", "127.0.0.1", "aspect", "0", "FULL" }
                                     << "output must be";
    QTest::newRow("pip position word")
        << QStringList { "--tcp", "127.0.0.1", "pip", "1", "Centre", "SMALL" } << "PIP position must be";
    QTest::newRow("pip size word") << QStringList { "--tcp", "127.0.0.1", "pip", "1", "LeftTop", "HUGE" }
                                   << "PIP size must be";
    QTest::newRow("pip user position with a fixed size")
        << QStringList { "--tcp", "127.0.0.1", "pip", "1", "USER", "SMALL" } << "USER position goes with";
    QTest::newRow("pip corner with a user size")
        << QStringList { "--tcp", "127.0.0.1", "pip", "1", "LeftTop", "USER" } << "USER position goes with";
    QTest::newRow("pip without size") << QStringList { "--tcp", "127.0.0.1", "pip", "1", "LeftTop" }
                                      << "usage: pip OUT POSITION SIZE";
    QTest::newRow("user window above 9999")
        << QStringList { "--tcp", "127.0.0.1", "user-window", "1", "0", "0", "10000", "1" } << "0 to 9999";
    QTest::newRow("user window negative")
        << QStringList { "--tcp", "127.0.0.1", "user-window", "1", "-1", "0", "1", "1" } << "0 to 9999";
    QTest::newRow("user window three numbers")
        << QStringList { "--tcp", "127.0.0.1", "user-window", "1", "0", "0", "1" } << "usage: user-window";
    QTest::newRow("audio hdmi5") << QStringList { "--tcp", "127.0.0.1", "audio", "1", "HDMI5" }
                                 << "WIN1|HDMI1|HDMI2|HDMI3|HDMI4";
    QTest::newRow("vka word") << QStringList { "--tcp", "127.0.0.1", "vka", "1", "GREEN" }
                              << "BLUESCREEN|BLACKSCREEN|NOTIMING";
    QTest::newRow("itc null") << QStringList { "--tcp", "127.0.0.1", "itc", "1", "NULL" } << "ON|OFF";
    QTest::newRow("scene 21") << QStringList { "--tcp", "127.0.0.1", "scene", "save", "21" } << "1 to 20";
    QTest::newRow("scene verb") << QStringList { "--tcp", "127.0.0.1", "scene", "delete", "2" }
                                << "scene save|load";
    QTest::newRow("edid verb") << QStringList { "--tcp", "127.0.0.1", "edid", "copy", "1", "f" }
                               << "edid read";
    QTest::newRow("version port missing")
        << QStringList { "--tcp", "127.0.0.1", "version", "in" } << "version main";
    QTest::newRow("version target") << QStringList { "--tcp", "127.0.0.1", "version", "fpga" }
                                    << "version main";
    QTest::newRow("raw empty") << QStringList { "--tcp", "127.0.0.1", "raw" } << "raw LINE";
    const QStringList wall { "--tcp", "127.0.0.1", "wall" };
    QTest::newRow("wall verb") << wall + QStringList { "merge" } << "usage: wall [size";
    QTest::newRow("wall size 17") << wall + QStringList { "size", "17", "1" } << "rows must be a number from 1 to 16";
    QTest::newRow("wall size short") << wall + QStringList { "size", "2" } << "wall size ROWS COLS";
    QTest::newRow("wall splice one cell") << wall + QStringList { "splice", "1", "1", "1", "1" }
                                          << "more than one cell";
    QTest::newRow("wall splice corners swapped") << wall + QStringList { "splice", "2", "2", "1", "1" }
                                                 << "below and right";
    QTest::newRow("wall cancel row 0") << wall + QStringList { "cancel", "0", "1" } << "row must be";
    QTest::newRow("wall input 0") << wall + QStringList { "input", "1", "1", "0" } << "input must be";
    QTest::newRow("wall bezel 256") << wall + QStringList { "bezel", "1", "1", "0", "0", "256", "0" }
                                    << "up edge must be a number from 0 to 255";
    QTest::newRow("wall bezel sign") << wall + QStringList { "bezel", "1", "1", "+1", "0", "0", "0" }
                                     << "left edge must be";
    QTest::newRow("wall bezel missing") << wall + QStringList { "bezel", "1", "1", "1", "2", "3" }
                                        << "wall bezel ROW COL LEFT RIGHT UP BOTTOM";
    QTest::newRow("network set IP part above 255")
        << QStringList { "--tcp", "127.0.0.1", "network", "set", "192.168.0.300", "2000", "255.255.255.0", "192.168.0.1" }
        << "network settings refused";
    QTest::newRow("network set, empty last part")
        << QStringList { "--tcp", "127.0.0.1", "network", "set", "192.168.0.", "2000", "255.255.255.0", "192.168.0.1" }
        << "network settings refused";
    QTest::newRow("network set, octets with leading zeros")
        << QStringList { "--tcp", "127.0.0.1", "network", "set", "01.002.0003.00004", "2000", "255.255.255.0", "192.168.0.1" }
        << "network settings refused";
    QTest::newRow("network set port 65535")
        << QStringList { "--tcp", "127.0.0.1", "network", "set", "192.168.0.10", "65535", "255.255.255.0", "192.168.0.1" }
        << "network settings refused";
    QTest::newRow("network set mask with two dots")
        << QStringList { "--tcp", "127.0.0.1", "network", "set", "192.168.0.10", "2000", "255.255.255", "192.168.0.1" }
        << "network settings refused";
    QTest::newRow("network set missing gateway")
        << QStringList { "--tcp", "127.0.0.1", "network", "set", "192.168.0.10", "2000", "255.255.255.0" }
        << "network set IP PORT MASK GATEWAY";
    QTest::newRow("network verb") << QStringList { "--tcp", "127.0.0.1", "network", "get" }
                                  << "network set IP PORT MASK GATEWAY";
    QTest::newRow("baud set off the list") << QStringList { "--tcp", "127.0.0.1", "baud", "set", "4800" }
                                           << "one of 9600, 19200, 38400, 57600, 115200";
    QTest::newRow("baud set without rate") << QStringList { "--tcp", "127.0.0.1", "baud", "set" } << "baud set N";
    QTest::newRow("reset unconfirmed") << QStringList { "--tcp", "127.0.0.1", "reset" } << "reset --yes";
    QTest::newRow("restore without a file") << QStringList { "--tcp", "127.0.0.1", "restore", "--dry-run" }
                                            << "restore FILE";
    QTest::newRow("restore of two files") << QStringList { "--tcp", "127.0.0.1", "restore", "a.json", "b.json" }
                                          << "restore FILE";
    QTest::newRow("restore unknown option") << QStringList { "--tcp", "127.0.0.1", "restore", "a.json", "--force" }
                                            << "restore FILE";
    QTest::newRow("backup of two files") << QStringList { "--tcp", "127.0.0.1", "backup", "a", "b" } << "backup [FILE]";
    QTest::newRow("reset with another word") << QStringList { "--tcp", "127.0.0.1", "reset", "--force" }
                                             << "reset --yes";
    QTest::newRow("raw with a CR") << QStringList { "--tcp", "127.0.0.1", "raw", "GET A\rSET B" }
                                   << "printable";
    QTest::newRow("edid decode without a file") << QStringList { "edid", "decode" } << "edid decode FILE";
    QTest::newRow("edid decode of two files") << QStringList { "edid", "decode", "a.bin", "b.bin" }
                                              << "edid decode FILE";
    QTest::newRow("decode after edid write") << QStringList { "--tcp", "127.0.0.1", "edid", "write", "1", "f.bin",
        "--decode" } << "usage: edid read";
    QTest::newRow("edid read without a link") << QStringList { "edid", "read", "1", "f.bin" }
                                              << "--tcp HOST[:PORT] or --serial PATH";
    QTest::newRow("raw too long") << QStringList { "--tcp", "127.0.0.1", "raw",
        QString(1025, QLatin1Char('A')) }
                                  << "longer than 1024";
}

void TestCliOptions::refusesBadCommandLines()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, errorPart);
    CliOptions options;
    QString error;
    QVERIFY(!CliOptions::Parse(arguments, &options, &error));
    QVERIFY2(error.contains(errorPart), qPrintable(error));
    QVERIFY(!error.contains(QLatin1Char('\n')));
}

void TestCliOptions::choosesLocalAddress_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QList<QNetworkAddressEntry>>("entries");
    QTest::addColumn<QString>("chosen");

    const QList<QNetworkAddressEntry> host { Entry("127.0.0.1", "255.0.0.0"), Entry("10.0.0.5", "255.0.0.0"),
        Entry("192.168.0.10", "255.255.255.0"), Entry("fe80::1", "ffff:ffff:ffff:ffff::") };
    QTest::newRow("loopback device") << "127.0.0.1" << host << "127.0.0.1";
    QTest::newRow("other loopback address") << "127.3.4.5" << host << "127.0.0.1";
    QTest::newRow("device in the second subnet") << "192.168.0.247" << host << "192.168.0.10";
    QTest::newRow("device in the first subnet") << "10.200.1.1" << host << "10.0.0.5";
    QTest::newRow("no subnet holds the device") << "172.16.0.9" << host << "0.0.0.0";
    QTest::newRow("narrow mask excludes the device")
        << "192.168.1.20" << QList<QNetworkAddressEntry> { Entry("192.168.0.10", "255.255.255.0") }
        << "0.0.0.0";
    QTest::newRow("no interfaces") << "192.168.0.247" << QList<QNetworkAddressEntry>() << "0.0.0.0";
}

void TestCliOptions::choosesLocalAddress()
{
    QFETCH(QString, device);
    QFETCH(QList<QNetworkAddressEntry>, entries);
    QFETCH(QString, chosen);
    QCOMPARE(CliOptions::ChooseLocalIp(device, entries), chosen);
}

void TestCliOptions::checksEdidBlocks_data()
{
    QTest::addColumn<QByteArray>("edid");
    QTest::addColumn<int>("check");

    const QByteArray one = ValidEdid(1);
    QTest::newRow("base and extension valid") << one << int(CliEdid::Valid);
    QTest::newRow("base only valid") << ValidEdid(0) << int(CliEdid::Valid);
    QByteArray header = one;
    header[7] = 0x01;
    QTest::newRow("last header byte wrong") << header << int(CliEdid::NotEdid);
    QTest::newRow("all zero") << QByteArray(256, '\0') << int(CliEdid::NotEdid);
    QTest::newRow("128 bytes only") << one.left(128) << int(CliEdid::NotEdid);
    QByteArray base = one;
    base[20] = char(base.at(20) + 1);
    QTest::newRow("base block sum wrong") << base << int(CliEdid::ChecksumError);
    QByteArray extension = one;
    extension[150] = char(extension.at(150) + 1);
    QTest::newRow("extension sum wrong") << extension << int(CliEdid::ChecksumError);
    // With two extensions announced only the base block is examined.
    QByteArray two = ValidEdid(2);
    two[150] = char(two.at(150) + 1);
    QTest::newRow("second block unexamined at count 2") << two << int(CliEdid::Valid);
}

void TestCliOptions::checksEdidBlocks()
{
    QFETCH(QByteArray, edid);
    QFETCH(int, check);
    QCOMPARE(int(CliEdid::CheckBlock(edid)), check);
}

void TestCliOptions::readsEdidHexText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("complete");

    const QString full = HexText(ValidEdid(1));
    QTest::newRow("256 pairs") << full << true;
    QTest::newRow("lower case") << full.toLower() << true;
    QTest::newRow("255 pairs") << full.left(3 * 255 - 1) << false;
    QTest::newRow("last pair cut") << full.left(full.size() - 1) << false;
    QString bad = full;
    bad[3 * 100] = QLatin1Char('G');
    QTest::newRow("not hexadecimal") << bad << false;
    QTest::newRow("empty") << QString() << false;
}

void TestCliOptions::readsEdidHexText()
{
    QFETCH(QString, text);
    QFETCH(bool, complete);
    QByteArray edid;
    QCOMPARE(CliEdid::FromHexText(text, &edid), complete);
    if (complete)
        QCOMPARE(edid, ValidEdid(1));
    else
        QVERIFY(edid.isEmpty());
}

void TestCliOptions::loadsEdidFilesAsTheDialogDoes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QByteArray>("loaded");
    QTest::addColumn<QString>("errorPart");

    const QByteArray base = ValidEdid(0);
    QTest::newRow("256 valid bytes") << ValidEdid(1) << true << ValidEdid(1) << QString();
    // A base block alone loads, the rest stays zero.
    QTest::newRow("128-byte file") << base.left(128) << true << base.left(128) + QByteArray(128, '\0')
                                   << QString();
    QTest::newRow("longer file is cut")
        << ValidEdid(1) + QByteArray("tail") << true << ValidEdid(1) << QString();
    QByteArray header = ValidEdid(1);
    header[7] = 0x01;
    QTest::newRow("not an EDID") << header << false << QByteArray() << "not an EDID";
    QByteArray sum = ValidEdid(1);
    sum[200] = char(sum.at(200) ^ 0x55);
    QTest::newRow("checksum") << sum << false << QByteArray() << "checksum";
    QTest::newRow("empty file") << QByteArray() << false << QByteArray() << "not an EDID";
}

void TestCliOptions::loadsEdidFilesAsTheDialogDoes()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, accepted);
    QFETCH(QByteArray, loaded);
    QFETCH(QString, errorPart);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("edid.bin"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();

    QByteArray edid;
    QString error;
    QCOMPARE(CliEdid::LoadFile(path, &edid, &error), accepted);
    QCOMPARE(edid, loaded);
    if (!accepted) {
        QVERIFY2(error.contains(errorPart), qPrintable(error));
        QVERIFY(error.contains(path));
    }
}

void TestCliOptions::savesExactlyTheEdidBytes()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.bin"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(1000, 'x'));
    old.close();

    QString error;
    QVERIFY2(CliEdid::SaveFile(path, ValidEdid(1), &error), qPrintable(error));
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), ValidEdid(1));
}

void TestCliOptions::failedSaveLeavesTheOldFile()
{
    QTemporaryDir dir;
    QString error;
    const QString missingDirectory = dir.filePath(QStringLiteral("no/such/dir/out.bin"));
    QVERIFY(!CliEdid::SaveFile(missingDirectory, ValidEdid(1), &error));
    QVERIFY(error.contains(missingDirectory));
    QVERIFY(!QFile::exists(missingDirectory));
}

void TestCliOptions::stateJsonFollowsReplies_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QJsonValue>("value");

    const QStringList matrix { "MATRIX-ROUTE 3 0 1 2" };
    QTest::newRow("counts after the model") << QStringList() << "outputCount" << QJsonValue(4);
    QTest::newRow("model text") << QStringList() << "model" << QJsonValue("RZ7P52KN");
    QTest::newRow("routes 1-based, first") << matrix << "routes/0" << QJsonValue(4);
    QTest::newRow("routes 1-based, last") << matrix << "routes/3" << QJsonValue(3);
    QTest::newRow("route reply") << QStringList { "IN2 VIDEO OUT 1,3" } << "routes/2" << QJsonValue(2);
    QTest::newRow("routes as many as outputs") << matrix << "routes/4" << QJsonValue(QJsonValue::Undefined);

    const QStringList pip { "OUT2 MULTIVIEW-SYNC PIP HDMI3 HDMI4 NULL NULL RightTop LARGE" };
    QTest::newRow("pip mode") << pip << "multiview/1/mode" << QJsonValue("PIP");
    QTest::newRow("pip window 1") << pip << "multiview/1/windows/0" << QJsonValue(3);
    QTest::newRow("pip window 2") << pip << "multiview/1/windows/1" << QJsonValue(4);
    QTest::newRow("pip has no third window")
        << pip << "multiview/1/windows/2" << QJsonValue(QJsonValue::Null);
    QTest::newRow("pip position") << pip << "multiview/1/pipPos" << QJsonValue("RightTop");
    QTest::newRow("pip size") << pip << "multiview/1/pipSize" << QJsonValue("LARGE");
    QTest::newRow("pip has no aspect") << pip << "multiview/1/aspect" << QJsonValue(QJsonValue::Null);
    QTest::newRow("pip has no layout") << pip << "multiview/1/layout" << QJsonValue(QJsonValue::Null);
    QTest::newRow("window 1 is the route") << pip << "routes/1" << QJsonValue(3);

    const QStringList three { "OUT3 MULTIVIEW-SYNC 3xWIN HDMI1 HDMI2 HDMI4 NULL 16:9 2 4" };
    QTest::newRow("3xWIN third window") << three << "multiview/2/windows/2" << QJsonValue(4);
    QTest::newRow("3xWIN fourth window") << three << "multiview/2/windows/3" << QJsonValue(QJsonValue::Null);
    QTest::newRow("3xWIN aspect") << three << "multiview/2/aspect" << QJsonValue("16:9");
    QTest::newRow("3xWIN layout 1-based") << three << "multiview/2/layout" << QJsonValue(2);
    QTest::newRow("3xWIN layouts") << three << "multiview/2/maxMode" << QJsonValue(4);
    QTest::newRow("3xWIN has no pip position")
        << three << "multiview/2/pipPos" << QJsonValue(QJsonValue::Null);

    QTest::newRow("single shows one window")
        << QStringList { "OUT1 MULTIVIEW-SYNC SINGLE HDMI2 NULL NULL NULL" } << "multiview/0/windows/1"
        << QJsonValue(QJsonValue::Null);
    QTest::newRow("vka word") << QStringList { "OUT4 VKA NOTIMING" } << "multiview/3/vka"
                              << QJsonValue("NOTIMING");
    QTest::newRow("itc word") << QStringList { "OUT4 ITC ON" } << "multiview/3/itc" << QJsonValue("ON");
    QTest::newRow("audio source word")
        << QStringList { "OUT1 AUDIO SOURCE HDMI3" } << "multiview/0/audioSource" << QJsonValue("HDMI3");

    const QStringList wall { "TVWALL-INFO 2 1 2 5 0 1 10 20 30 40 2 0 0 0 0 0 0 0 3" };
    QTest::newRow("wall rows") << wall << "wall/rows" << QJsonValue(1);
    QTest::newRow("wall cols") << wall << "wall/cols" << QJsonValue(2);
    QTest::newRow("wall cell count") << wall << "wall/cells/2" << QJsonValue(QJsonValue::Undefined);
    QTest::newRow("cell output 1-based") << wall << "wall/cells/0/output" << QJsonValue(2);
    QTest::newRow("cell input 1-based") << wall << "wall/cells/0/input" << QJsonValue(3);
    QTest::newRow("cell spliced") << wall << "wall/cells/0/spliced" << QJsonValue(true);
    QTest::newRow("cell single exit") << wall << "wall/cells/0/singleExit" << QJsonValue(true);
    QTest::newRow("cell edge left") << wall << "wall/cells/0/edges/left" << QJsonValue(10);
    QTest::newRow("cell edge bottom") << wall << "wall/cells/0/edges/bottom" << QJsonValue(40);
    QTest::newRow("second cell plain") << wall << "wall/cells/1/spliced" << QJsonValue(false);
    QTest::newRow("second cell output") << wall << "wall/cells/1/output" << QJsonValue(1);
    QTest::newRow("second cell input") << wall << "wall/cells/1/input" << QJsonValue(4);

    const QStringList in { "IN2 IN-INFO HDMI 1920x1080p60 Bypass L/R" };
    QTest::newRow("input format") << in << "inputs/1/format" << QJsonValue("1920x1080p60");
    QTest::newRow("input audio") << in << "inputs/1/audio" << QJsonValue("L/R");
    QTest::newRow("input not reported") << in << "inputs/0/format" << QJsonValue(QJsonValue::Null);
    const QStringList out { "OUT3 OUT-INFO FORCE-2.2 No-Signal 1280x720p60" };
    QTest::newRow("output hdcp") << out << "outputs/2/hdcp" << QJsonValue("FORCE-2.2");
    QTest::newRow("output input format") << out << "outputs/2/inputFormat" << QJsonValue("No-Signal");
    QTest::newRow("output resolution") << out << "outputs/2/resolution" << QJsonValue("1280x720p60");
    QTest::newRow("resolution reply") << QStringList { "OUT1 RESOLUTION 1024x768p60" }
                                      << "outputs/0/resolution" << QJsonValue("1024x768p60");
}

void TestCliOptions::stateJsonFollowsReplies()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, path);
    QFETCH(QJsonValue, value);

    CliPages pages;
    ParseReplyLine(pages, QStringLiteral("MODEL TYPE RZ7P52KN\r"));
    for (const QString &line : lines)
        ParseReplyLine(pages, line + QLatin1Char('\r'));
    const QJsonObject state
        = CliStateJson::Build(QStringLiteral("RZ7P52KN"), pages, CliStateJson::LinkSettings::Network);
    QCOMPARE(At(state, path), value);
    // The text form is one line that reads back as the same object.
    const QByteArray text = CliStateJson::ToText(state);
    QVERIFY(!text.contains('\n'));
    QCOMPARE(QJsonDocument::fromJson(text).object(), state);
}

void TestCliOptions::stateJsonReportsTheLinkSettingsOfTheLink()
{
    CliPages pages;
    ParseReplyLine(pages, QStringLiteral("MODEL TYPE RZ7P52KN\r"));
    const QJsonObject before = CliStateJson::Build(QString(), pages, CliStateJson::LinkSettings::Network);
    QCOMPARE(before.value(QStringLiteral("network")), QJsonValue(QJsonValue::Null));

    ParseReplyLine(pages, QStringLiteral("NETWORK-INFO 192.168.0.10 2000 255.255.255.0 192.168.0.1\r"));
    ParseReplyLine(pages, QStringLiteral("BAUDRATE 115200\r"));
    const QJsonObject tcp = CliStateJson::Build(QString(), pages, CliStateJson::LinkSettings::Network);
    QCOMPARE(At(tcp, QStringLiteral("network/ip")), QJsonValue("192.168.0.10"));
    QCOMPARE(At(tcp, QStringLiteral("network/port")), QJsonValue("2000"));
    QCOMPARE(At(tcp, QStringLiteral("network/mask")), QJsonValue("255.255.255.0"));
    QCOMPARE(At(tcp, QStringLiteral("network/gateway")), QJsonValue("192.168.0.1"));
    QVERIFY(!tcp.contains(QStringLiteral("baudRate")));

    const QJsonObject serial = CliStateJson::Build(QString(), pages, CliStateJson::LinkSettings::BaudRate);
    QCOMPARE(serial.value(QStringLiteral("baudRate")), QJsonValue(115200));
    QVERIFY(!serial.contains(QStringLiteral("network")));
}

QTEST_GUILESS_MAIN(TestCliOptions)
#include "tst_clioptions.moc"
