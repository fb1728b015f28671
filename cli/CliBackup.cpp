#include "cli/CliBackup.h"

#include "cli/CliBackupPages.h"
#include "cli/CliSession.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/RestorePlanner.h"
#include "protocol/ValueWords.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace {

constexpr quint32 NoPort = 255;

QStringList MissingReads(const CliBackupPages &pages)
{
    QStringList missing;
    if (!pages.routesSeen())
        missing << QStringLiteral("GET MATRIX-ROUTE");
    if (!pages.wallSeen())
        missing << QStringLiteral("GET TVWALL-INFO");
    for (quint32 o = 0; o < qMin(DeviceState.outputCount, MaxPorts); ++o) {
        if (!pages.multiviewSeen(o).sync)
            missing << QStringLiteral("GET OUT%1 MULTIVIEW-SYNC").arg(o + 1);
        if (!pages.output(o).infoSeen)
            missing << QStringLiteral("GET OUT%1 OUT-INFO").arg(o + 1);
        if (pages.rotation(o) < 0)
            missing << QStringLiteral("GET OUT%1 ROTATION").arg(o + 1);
    }
    for (quint32 i = 0; i < qMin(DeviceState.inputCount, MaxPorts); ++i) {
        if (!pages.input(i).infoSeen)
            missing << QStringLiteral("GET IN%1 IN-INFO").arg(i + 1);
    }
    return missing;
}

void FillFromPages(const CliBackupPages &pages, DeviceConfig *c)
{
    for (int i = 0; i < c->inputs.size(); ++i)
        c->inputs[i].audio = InAudioWords.indexOf(pages.input(quint32(i)).audio);
    for (int o = 0; o < c->outputs.size(); ++o) {
        DeviceConfig::Output &out = c->outputs[o];
        out.hdcp = HdcpWords.indexOf(pages.output(quint32(o)).hdcp);
        out.resolution = OutResolutionWords.indexOf(pages.output(quint32(o)).resolution);
        out.rotation = pages.rotation(quint32(o));
        out.mute = pages.mute(quint32(o));
        out.freeze = pages.freeze(quint32(o));
        const CliBackupPages::UserWindow &window = pages.userWindow(quint32(o));
        out.multiview.userWindowKnown = window.seen;
        for (int n = 0; n < 4; ++n)
            out.multiview.userWindow[n] = window.values[n];
    }
    if (pages.networkSeen()) {
        c->info.networkKnown = true;
        c->info.ip = pages.network().ip;
        c->info.port = pages.network().port;
        c->info.mask = pages.network().mask;
        c->info.gateway = pages.network().gateway;
    }
    if (pages.baudSeen())
        c->info.baudRate = pages.baudRate();
}

int ReadVersion(CliSession &session, CliBackupPages &pages, quint32 selector, QString *version, QString *error)
{
    QByteArray reply;
    const int code = session.sendCommand([selector] { CmdGetVersion(selector, NoPort); }, &reply, error);
    if (code == CliExitDone)
        *version = pages.versionText().trimmed();
    return code;
}

QJsonArray ToArray(const QStringList &list)
{
    QJsonArray array;
    for (const QString &text : list)
        array.append(text);
    return array;
}

int RunSteps(const RestorePlanner &planner, CliSession &session, QStringList *notSent, int *sent, QString *error)
{
    for (const RestoreStep &step : planner.steps()) {
        // A wall step queues several lines; each one's reply is awaited.
        QString stepError;
        const int code = session.sendCommands(step.build, &stepError);
        if (code == CliExitFailed) {
            // A builder refused the step (the device's state does not allow it yet); the
            // comparison afterwards tells what it leaves undone.
            *notSent << step.change;
            continue;
        }
        if (code != CliExitDone) {
            *error = QStringLiteral("%1 (while restoring: %2)").arg(stepError, step.change);
            return code;
        }
        ++*sent;
    }
    return CliExitDone;
}

} // namespace

int CliBackup::LoadFile(const QString &path, DeviceConfig *config, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return CliExitUsage;
    }
    QString why;
    if (!DeviceConfig::FromText(file.readAll(), config, &why)) {
        *error = QStringLiteral("%1 refused, nothing sent: %2").arg(path, why);
        return CliExitUsage;
    }
    return CliExitDone;
}

QStringList CliBackup::CaptureLines(const std::function<void()> &build)
{
    // The builders queue on the link LinkMode selects: for the time of the build it selects the
    // other link's queue, which no running link sends from.
    const int saved = LinkMode;
    const bool tcp = saved == LinkModeTcp;
    LinkQueue &queue = tcp ? SerialLinkQueue() : TcpLinkQueue();
    LinkMode = tcp ? LinkModeSerial : LinkModeTcp;
    queue.activate();
    build();
    QStringList lines;
    {
        LinkMutexLocker lock(queue.sendMutex);
        for (const QueuedLine &line : qAsConst(queue.sendQueue)) {
            QByteArray bytes = line.bytes;
            if (bytes.endsWith('\r'))
                bytes.chop(1);
            lines << QString::fromLatin1(bytes);
        }
    }
    queue.deactivate();
    LinkMode = saved;
    return lines;
}

int CliBackup::ReadDevice(CliSession &session, CliBackupPages &pages, bool versions, DeviceConfig *config, QString *error)
{
    pages.clearSyncOver();
    DeviceConfig::QueueReads();
    CmdGetNetworkInfo();
    CmdGetBaudrate();
    int code = session.finishQueuedReads(error);
    if (code != CliExitDone)
        return code;
    // Which outputs have a user window depends on the modes just read.
    const quint32 outputs = qMin(DeviceState.outputCount, MaxPorts);
    pages.clearUserWindows();
    pages.clearSyncOver();
    for (quint32 o = 0; o < outputs; ++o)
        CmdGetUserWindow(o);
    code = session.finishQueuedReads(error);
    if (code != CliExitDone)
        return code;
    const QStringList missing = MissingReads(pages);
    if (!missing.isEmpty()) {
        *error = QStringLiteral("no reply to %1").arg(missing.join(QStringLiteral(", ")));
        return CliExitReplyTimeout;
    }

    *config = DeviceConfig::FromDeviceState();
    config->model = session.model();
    FillFromPages(pages, config);
    if (versions) {
        code = ReadVersion(session, pages, VersionMain, &config->info.mainVersion, error);
        if (code == CliExitDone)
            code = ReadVersion(session, pages, VersionKeyboard, &config->info.keyboardVersion, error);
    }
    return code;
}

int CliBackup::RunBackup(
    const CliOptions &options, CliSession &session, CliBackupPages &pages, QTextStream &out, QString *error)
{
    DeviceConfig config;
    const int code = ReadDevice(session, pages, true, &config, error);
    if (code != CliExitDone)
        return code;
    config.info.date = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    config.info.programVersion = QStringLiteral(TAVILON_PROGRAM_VERSION);
    const QByteArray text = QJsonDocument(config.toJson()).toJson(QJsonDocument::Indented);
    if (options.filePath.isEmpty()) {
        out << QString::fromUtf8(text);
        out.flush();
        return CliExitDone;
    }
    QSaveFile file(options.filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(options.filePath, file.errorString());
        return CliExitFailed;
    }
    return CliExitDone;
}

int CliBackup::RunRestore(const CliOptions &options, const DeviceConfig &file, CliSession &session,
    CliBackupPages &pages, QTextStream &out, QString *error)
{
    if (file.inputs.size() != int(DeviceState.inputCount) || file.outputs.size() != int(DeviceState.outputCount)) {
        *error = QStringLiteral("%1 refused, nothing sent: the file has %2 inputs and %3 outputs, the device %4 and %5")
                     .arg(options.filePath)
                     .arg(file.inputs.size())
                     .arg(file.outputs.size())
                     .arg(DeviceState.inputCount)
                     .arg(DeviceState.outputCount);
        return CliExitUsage;
    }
    DeviceConfig device;
    int code = ReadDevice(session, pages, false, &device, error);
    if (code != CliExitDone)
        return code;
    RestorePlanner planner(device, file, options.withLink);

    if (options.dryRun) {
        for (const RestoreStep &step : planner.steps()) {
            for (const QString &line : CaptureLines(step.build))
                out << line << '\n';
            if (step.assume)
                step.assume();
        }
        out.flush();
        return CliExitDone;
    }

    QStringList notSent;
    int sent = 0;
    code = RunSteps(planner, session, &notSent, &sent, error);
    if (code != CliExitDone)
        return code;
    DeviceConfig after;
    code = ReadDevice(session, pages, false, &after, error);
    if (code != CliExitDone)
        return code;
    const QStringList differences = DeviceConfig::Differences(after, file, options.withLink);
    QJsonObject result;
    result.insert(QStringLiteral("changes"), ToArray(planner.changes()));
    result.insert(QStringLiteral("notSent"), ToArray(notSent));
    result.insert(QStringLiteral("stepsSent"), sent);
    result.insert(QStringLiteral("matches"), differences.isEmpty());
    result.insert(QStringLiteral("differences"), ToArray(differences));
    out << QString::fromUtf8(QJsonDocument(result).toJson(QJsonDocument::Compact)) << '\n';
    out.flush();
    if (!differences.isEmpty()) {
        *error = QStringLiteral("the device still differs from %1: %2")
                     .arg(options.filePath, differences.join(QStringLiteral("; ")));
        return CliExitFailed;
    }
    return CliExitDone;
}
