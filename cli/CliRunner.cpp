#include "cli/CliRunner.h"

#include "cli/CliBackup.h"
#include "cli/CliBackupPages.h"
#include "cli/CliEdid.h"
#include "cli/CliEdidDecode.h"
#include "cli/CliNames.h"
#include "cli/CliPages.h"
#include "cli/CliRoutes.h"
#include "cli/CliSession.h"
#include "cli/CliStateJson.h"
#include "cli/CliWall.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/MultiviewVocabulary.h"
#include "protocol/ValueWords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPair>

namespace {

QString PortRangeError(const QString &what, quint32 index, quint32 count)
{
    return QStringLiteral("%1 %2 is out of range: the device has %1s 1 to %3")
        .arg(what)
        .arg(index + 1)
        .arg(count);
}

using Multiview::HasSplitLayout;
using Multiview::ModePip;

QString SplitModesNeeded(const QString &setting)
{
    return QStringLiteral("%1 needs PBP, 3xWIN or 4xWIN (set it with multiview OUT MODE)").arg(setting);
}

} // namespace

CliRunner::CliRunner(const CliOptions &options, QTextStream &out, QTextStream &err)
    : m_options(options)
    , m_out(out)
    , m_err(err)
{ }

int CliRunner::run()
{
    if (m_options.command == CliOptions::Command::EdidDecode)
        return CliEdidDecode::Run(m_options.filePath, m_out, m_err);
    QString error;
    if (m_options.command == CliOptions::Command::EdidWrite
        && !CliEdid::LoadFile(m_options.filePath, &m_edidToWrite, &error))
        return fail(CliExitUsage, error);
    DeviceConfig restoreFile;
    if (m_options.command == CliOptions::Command::Restore) {
        const int loaded = CliBackup::LoadFile(m_options.filePath, &restoreFile, &error);
        if (loaded != CliExitDone)
            return fail(loaded, error);
    }

    DeviceState_Clear();
    CliBackupPages pages;
    // Only sync needs the whole device; other commands need the model check alone.
    pages.setReadDevice(m_options.command == CliOptions::Command::Sync);
    CliSession session(m_options, pages);

    int code = session.open(&error);
    if (code == CliExitDone)
        code = session.identify(&error);
    if (code == CliExitDone)
        code = session.waitForBurstEnd(&error);
    if (code == CliExitDone)
        code = checkPortsAgainstDevice(&error);
    if (code == CliExitDone && m_options.command == CliOptions::Command::Backup)
        code = CliBackup::RunBackup(m_options, session, pages, m_out, &error);
    else if (code == CliExitDone && m_options.command == CliOptions::Command::Restore)
        code = CliBackup::RunRestore(m_options, restoreFile, session, pages, m_out, &error);
    else if (code == CliExitDone)
        code = runCommand(session, pages, &error);
    session.close();
    m_out.flush();
    if (code != CliExitDone)
        return fail(code, error);
    return CliExitDone;
}

int CliRunner::fail(int code, const QString &message)
{
    m_err << "tavilon-cli: " << message << '\n';
    m_err.flush();
    return code;
}

int CliRunner::checkPortsAgainstDevice(QString *error) const
{
    const quint32 inputs = DeviceState.inputCount;
    const quint32 outputs = DeviceState.outputCount;
    using Command = CliOptions::Command;
    switch (m_options.command) {
    case Command::Route:
        if (m_options.input >= inputs) {
            *error = PortRangeError(QStringLiteral("input"), m_options.input, inputs);
            return CliExitUsage;
        }
        Q_FALLTHROUGH();
    case Command::Multiview:
    case Command::Window:
    case Command::Layout:
    case Command::Aspect:
    case Command::Pip:
    case Command::UserWindow:
    case Command::AudioSource:
    case Command::Vka:
    case Command::Itc:
    case Command::EdidRead:
        if (m_options.output >= outputs) {
            *error = PortRangeError(QStringLiteral("output"), m_options.output, outputs);
            return CliExitUsage;
        }
        if (m_options.command == Command::Window && m_options.input >= inputs) {
            *error = PortRangeError(QStringLiteral("input"), m_options.input, inputs);
            return CliExitUsage;
        }
        return CliExitDone;
    case Command::RouteAll:
    case Command::EdidWrite:
        if (m_options.input >= inputs) {
            *error = PortRangeError(QStringLiteral("input"), m_options.input, inputs);
            return CliExitUsage;
        }
        return CliExitDone;
    case Command::Version:
        if (m_options.versionSelector == VersionInput && m_options.versionPort >= inputs) {
            *error = PortRangeError(QStringLiteral("input"), m_options.versionPort, inputs);
            return CliExitUsage;
        }
        if (m_options.versionSelector == VersionOutput && m_options.versionPort >= outputs) {
            *error = PortRangeError(QStringLiteral("output"), m_options.versionPort, outputs);
            return CliExitUsage;
        }
        return CliExitDone;
    case Command::Wall:
        return CliWall::CheckAgainstDevice(m_options, error);
    case Command::Routes:
        return CliRoutes::CheckAgainstDevice(m_options, error);
    default:
        return CliExitDone;
    }
}

int CliRunner::runCommand(CliSession &session, CliPages &pages, QString *error)
{
    const CliOptions &o = m_options;
    using Command = CliOptions::Command;
    switch (o.command) {
    case Command::Sync:
        return runSync(session, pages, error);
    case Command::Route:
        return runConfirmed(
            session, [&] { CmdSetRoute(o.input, o.output); }, error);
    case Command::RouteAll:
        return runConfirmed(
            session, [&] { CmdSetInputToAll(o.input); }, error);
    case Command::Multiview:
        return runConfirmed(
            session, [&] { CmdSetMultiviewMode(o.output, o.modeIndex); }, error);
    case Command::Window:
        return runConfirmed(
            session, [&] { CmdSetWindowInput(o.output, o.window, o.input); }, error);
    case Command::Layout:
    case Command::Aspect:
    case Command::Pip:
    case Command::UserWindow:
        return runModeSetting(session, pages, error);
    case Command::AudioSource:
        return runConfirmed(
            session, [&] { CmdSetOutAudioSource(o.output, o.audioSource); }, error);
    case Command::Vka:
        return runConfirmed(
            session, [&] { CmdSetVka(o.output, o.vka); }, error);
    case Command::Itc:
        return runConfirmed(
            session, [&] { CmdSetItc(o.output, o.itc); }, error);
    case Command::SceneSave:
        return runConfirmed(
            session, [&] { CmdSaveScene(o.scene); }, error);
    case Command::SceneLoad:
        return runConfirmed(
            session, [&] { CmdLoadScene(o.scene); }, error);
    case Command::EdidRead:
        return runEdidRead(session, pages, error);
    case Command::EdidWrite:
        return runEdidWrite(session, error);
    case Command::Version:
        return runVersion(session, pages, error);
    case Command::Raw:
        return runRaw(session, error);
    case Command::Wall:
        return CliWall::Run(o, session, m_out, error);
    case Command::Network:
        return runNetwork(
            session, pages, [] { CmdGetNetworkInfo(); }, error);
    case Command::NetworkSet:
        return runNetwork(
            session, pages,
            [&] { CmdSetNetworkInfo(o.networkIp, o.networkPort, o.networkMask, o.networkGateway); }, error);
    case Command::Baud:
        return runBaud(
            session, pages, [] { CmdGetBaudrate(); }, error);
    case Command::BaudSet:
        return runBaud(
            session, pages, [&] { CmdSetBaudrate(o.baudToSet); }, error);
    case Command::Reset:
        return runReset(session, error);
    case Command::Routes:
        return CliRoutes::Run(o, session, m_out, error);
    case Command::NamesExport:
    case Command::NamesImport:
        return CliNames::Run(o, m_out, error);
    case Command::Backup:
    case Command::Restore: // run() runs them
    case Command::EdidDecode: // handled before any link is opened
    case Command::None:
        break;
    }
    *error = QStringLiteral("no command given");
    return CliExitUsage;
}

int CliRunner::runSync(CliSession &session, CliPages &pages, QString *error)
{
    // The burst reads the multiview state of the first output only, as the GUI shows one
    // output at a time; the state printed covers every output.
    const quint32 outputs = qMin(DeviceState.outputCount, MaxPorts);
    for (quint32 output = 0; output < outputs; ++output) {
        if (output == pages.multiviewShownOutput())
            continue;
        CmdGetMultiviewSync(output);
        CmdGetOutAudioSource(output);
        CmdGetVka(output);
        CmdGetItc(output);
    }
    int code = session.finishQueuedReads(error);

    const bool networkLink = m_options.transport == CliOptions::Transport::Tcp;
    const QJsonObject state = CliStateJson::Build(session.model(), pages,
        networkLink ? CliStateJson::LinkSettings::Network : CliStateJson::LinkSettings::BaudRate);
    // What did arrive is printed even when something did not, so that a script can see both.
    m_out << QString::fromUtf8(CliStateJson::ToText(state)) << '\n';
    if (code != CliExitDone)
        return code;

    const QStringList missing = MissingReplies(pages, networkLink);
    if (!missing.isEmpty()) {
        *error = QStringLiteral("no reply to %1").arg(missing.first());
        if (missing.size() > 1)
            *error += QStringLiteral(" (and %1 more: %2)")
                          .arg(missing.size() - 1)
                          .arg(missing.mid(1).join(QStringLiteral(", ")));
        return CliExitReplyTimeout;
    }
    return CliExitDone;
}

QStringList CliRunner::MissingReplies(const CliPages &pages, bool networkLink)
{
    QStringList missing;
    if (!pages.routesSeen())
        missing << QStringLiteral("GET MATRIX-ROUTE");
    for (quint32 i = 0; i < qMin(DeviceState.inputCount, MaxPorts); ++i) {
        if (!pages.input(i).infoSeen)
            missing << QStringLiteral("GET IN%1 IN-INFO").arg(i + 1);
    }
    for (quint32 o = 0; o < qMin(DeviceState.outputCount, MaxPorts); ++o) {
        if (!pages.output(o).infoSeen)
            missing << QStringLiteral("GET OUT%1 OUT-INFO").arg(o + 1);
    }
    for (quint32 o = 0; o < qMin(DeviceState.outputCount, MaxPorts); ++o) {
        const CliPages::MultiviewSeen &seen = pages.multiviewSeen(o);
        if (!seen.sync)
            missing << QStringLiteral("GET OUT%1 MULTIVIEW-SYNC").arg(o + 1);
        if (!seen.audioSource)
            missing << QStringLiteral("GET OUT%1 AUDIO SOURCE").arg(o + 1);
        if (!seen.vka)
            missing << QStringLiteral("GET OUT%1 VKA").arg(o + 1);
        if (!seen.itc)
            missing << QStringLiteral("GET OUT%1 ITC").arg(o + 1);
    }
    if (!pages.wallSeen())
        missing << QStringLiteral("GET TVWALL-INFO");
    if (networkLink && !pages.networkSeen())
        missing << QStringLiteral("GET NETWORK-INFO");
    if (!networkLink && !pages.baudSeen())
        missing << QStringLiteral("GET BAUDRATE");
    if (!pages.syncOver())
        missing << QStringLiteral("GET SYNC-OVER");
    return missing;
}

int CliRunner::runConfirmed(CliSession &session, const std::function<void()> &build, QString *error)
{
    QByteArray reply;
    const int code = session.sendCommand(build, &reply, error);
    if (code == CliExitDone)
        printLine(reply);
    return code;
}

int CliRunner::runModeSetting(CliSession &session, CliPages &pages, QString *error)
{
    int code = readMultiviewState(session, pages, error);
    if (code != CliExitDone)
        return code;
    const QString refusal = modeRefusal();
    if (!refusal.isEmpty()) {
        *error = refusal;
        return CliExitUsage;
    }
    return sendModeSetting(session, error);
}

int CliRunner::readMultiviewState(CliSession &session, CliPages &pages, QString *error)
{
    const quint32 output = m_options.output;
    CmdGetMultiviewSync(output);
    const int code = session.finishQueuedReads(error);
    if (code != CliExitDone)
        return code;
    if (!pages.multiviewSeen(output).sync) {
        *error = QStringLiteral("no reply to GET OUT%1 MULTIVIEW-SYNC").arg(output + 1);
        return CliExitReplyTimeout;
    }
    return CliExitDone;
}

QString CliRunner::modeRefusal() const
{
    using Command = CliOptions::Command;
    const quint32 output = m_options.output;
    const MultiviewState &state = MultiviewOf(output);
    const QString where = QStringLiteral("output %1 is in %2 mode").arg(output + 1).arg(MultiviewModeWords.text(state.mode));
    switch (m_options.command) {
    case Command::Layout:
        if (!HasSplitLayout(state.mode))
            return where + QStringLiteral("; ") + SplitModesNeeded(QStringLiteral("a layout"));
        if (state.maxMode >= 1 && quint32(m_options.layoutNumber) > state.maxMode)
            return where + QStringLiteral(", which has layouts 1 to %1").arg(state.maxMode);
        return QString();
    case Command::Aspect:
        if (!HasSplitLayout(state.mode))
            return where + QStringLiteral("; ") + SplitModesNeeded(QStringLiteral("an aspect"));
        return QString();
    case Command::Pip:
        if (state.mode != ModePip)
            return where + QStringLiteral("; the PIP position and size need PIP (set it with multiview OUT PIP)");
        return QString();
    case Command::UserWindow:
        if (Multiview::HasUserWindow(state))
            return QString();
        return where + QStringLiteral("; a user window needs PIP with a USER position and size (pip OUT USER USER) "
                                      "or PBP layout 3");
    default:
        return QString();
    }
}

int CliRunner::sendModeSetting(CliSession &session, QString *error)
{
    const CliOptions &o = m_options;
    using Command = CliOptions::Command;
    switch (o.command) {
    case Command::Layout:
        return runConfirmed(
            session, [&] { CmdSetLayout(o.output, o.layoutNumber); }, error);
    case Command::Aspect:
        return runConfirmed(
            session, [&] { CmdSetAspect(o.output, o.aspect); }, error);
    case Command::Pip: {
        // The position first: choosing it may change the size, which the second line settles.
        // The device reports such a coupled change with a line of its own, which the session
        // never takes for the size's reply (it came before the size command went out).
        const int code = runConfirmed(
            session, [&] { CmdSetPipPos(o.output, o.pipPos); }, error);
        if (code != CliExitDone)
            return code;
        return runConfirmed(
            session, [&] { CmdSetPipSize(o.output, o.pipSize); }, error);
    }
    case Command::UserWindow:
        return runConfirmed(
            session,
            [&] {
                CmdSetUserWindow(o.output, int(o.userWindow[0]), int(o.userWindow[1]), int(o.userWindow[2]),
                    int(o.userWindow[3]));
            },
            error);
    default:
        *error = QStringLiteral("no command given");
        return CliExitUsage;
    }
}

int CliRunner::runEdidRead(CliSession &session, CliPages &pages, QString *error)
{
    const quint32 output = m_options.output;
    const int before = pages.outEdidCount(output);
    QByteArray reply;
    const int code = session.sendCommand([&] { CmdGetOutportEdid(output); }, &reply, error);
    if (code != CliExitDone)
        return code;
    QByteArray edid;
    if (pages.outEdidCount(output) == before || !CliEdid::FromHexText(pages.outEdid(output), &edid)) {
        *error
            = QStringLiteral("the EDID of output %1 arrived incomplete; nothing was saved").arg(output + 1);
        return CliExitFailed;
    }
    if (!CliEdid::SaveFile(m_options.filePath, edid, error))
        return CliExitFailed;
    if (m_options.edidDecode) {
        CliEdidDecode::Print(edid, m_out);
        return CliExitDone;
    }
    const CliEdid::Check check = CliEdid::CheckBlock(edid);
    m_out << QStringLiteral("OUT%1 EDID: %2 bytes saved to %3 (%4)")
                 .arg(output + 1)
                 .arg(edid.size())
                 .arg(m_options.filePath, CliEdid::CheckText(check))
          << '\n';
    return CliExitDone;
}

// A device that refuses the block says so at once; that is a failure of its own, not a
// missing reply.
int CliRunner::runEdidWrite(CliSession &session, QString *error)
{
    const quint32 input = m_options.input;
    const QByteArray refusal = QStringLiteral("IN%1 EDID-USER FAIL").arg(input + 1).toLatin1();
    QByteArray reply;
    const int code = session.sendCommandUnlessRefused(
        [&] { CmdSetUserEdid(input, m_edidToWrite); }, refusal, &reply, error);
    if (code == CliExitDone) {
        printLine(reply);
        return code;
    }
    if (code == CliExitFailed && error->isEmpty())
        *error = QStringLiteral("the device refused the EDID for input %1 (%2)")
                     .arg(input + 1)
                     .arg(QString::fromLatin1(reply));
    return code;
}

int CliRunner::runVersion(CliSession &session, CliPages &pages, QString *error)
{
    const int before = pages.versionCount();
    QByteArray reply;
    const int code = session.sendCommand(
        [&] { CmdGetVersion(quint32(m_options.versionSelector), m_options.versionPort); }, &reply, error);
    if (code != CliExitDone)
        return code;
    if (pages.versionCount() > before)
        m_out << pages.versionText().trimmed() << '\n';
    else
        printLine(reply);
    return CliExitDone;
}

// Read or write: either way the device answers with the settings it now has.
int CliRunner::runNetwork(
    CliSession &session, CliPages &pages, const std::function<void()> &build, QString *error)
{
    QByteArray reply;
    const int code = session.sendCommand(build, &reply, error);
    if (code != CliExitDone)
        return code;
    if (!pages.networkSeen()) {
        *error = QStringLiteral("the device's network reply could not be read: %1").arg(QString::fromUtf8(reply));
        return CliExitFailed;
    }
    const CliPages::NetworkTexts &n = pages.network();
    m_out << QString::fromUtf8(NetworkJson(n.ip, n.port, n.mask, n.gateway)) << '\n';
    return CliExitDone;
}

int CliRunner::runBaud(CliSession &session, CliPages &pages, const std::function<void()> &build, QString *error)
{
    QByteArray reply;
    const int code = session.sendCommand(build, &reply, error);
    if (code != CliExitDone)
        return code;
    if (!pages.baudSeen()) {
        *error = QStringLiteral("the device's baud-rate reply could not be read: %1").arg(QString::fromUtf8(reply));
        return CliExitFailed;
    }
    m_out << pages.baudRate() << '\n';
    return CliExitDone;
}

// The device need not confirm a reset (it may restart at once), so a missing confirmation
// is no failure; a link that was gone before the line went out is.
int CliRunner::runReset(CliSession &session, QString *error)
{
    QByteArray reply;
    const int code = session.sendCommand([] { CmdReset(); }, &reply, error);
    if (code == CliExitDone) {
        printLine(reply);
        return CliExitDone;
    }
    if (code != CliExitReplyTimeout)
        return code;
    error->clear();
    m_out << "SET RESET sent (the device did not confirm it)\n";
    return CliExitDone;
}

QByteArray CliRunner::NetworkJson(const QString &ip, const QString &port, const QString &mask, const QString &gateway)
{
    const QPair<const char *, QString> fields[]
        = { { "ip", ip }, { "port", port }, { "mask", mask }, { "gateway", gateway } };
    QByteArray json = "{";
    for (const auto &field : fields) {
        if (json.size() > 1)
            json += ',';
        // A one-element array gives the value its JSON quoting and escapes.
        const QByteArray quoted = QJsonDocument(QJsonArray { field.second }).toJson(QJsonDocument::Compact);
        json += '"' + QByteArray(field.first) + "\":" + quoted.mid(1, quoted.size() - 2);
    }
    return json + '}';
}

int CliRunner::runRaw(CliSession &session, QString *error)
{
    return session.sendRawLine(
        m_options.rawLine, [this](const QByteArray &line) { printLine(line); }, error);
}

void CliRunner::printLine(const QByteArray &line)
{
    QByteArray text = line;
    while (!text.isEmpty() && (text.endsWith('\r') || text.endsWith('\n')))
        text.chop(1);
    while (!text.isEmpty() && (text.startsWith('\r') || text.startsWith('\n')))
        text.remove(0, 1);
    m_out << QString::fromUtf8(text) << '\n';
    m_out.flush();
}
