#include "cli/CliRoutes.h"

#include "cli/CliSession.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/OutputLocks.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

namespace {

QJsonArray OneBased(const QVector<quint32> &values)
{
    QJsonArray array;
    for (quint32 value : values)
        array.append(qint64(value) + 1);
    return array;
}

QString NumberList(const QVector<quint32> &zeroBased)
{
    QStringList numbers;
    for (quint32 value : zeroBased)
        numbers << QString::number(value + 1);
    return numbers.join(QStringLiteral(", "));
}

} // namespace

int CliRoutes::CheckAgainstDevice(const CliOptions &options, QString *error)
{
    const quint32 outputs = DeviceState.outputCount;
    if (quint32(options.routeInputs.size()) != outputs) {
        *error = QStringLiteral("routes needs one input for each of the device's %1 outputs, got %2")
                     .arg(outputs)
                     .arg(options.routeInputs.size());
        return CliExitUsage;
    }
    for (int k = 0; k < options.routeInputs.size(); ++k) {
        if (options.routeInputs.at(k) >= DeviceState.inputCount) {
            *error = QStringLiteral("input %1 (for output %2) is out of range: the device has inputs 1 to %3")
                         .arg(options.routeInputs.at(k) + 1)
                         .arg(k + 1)
                         .arg(DeviceState.inputCount);
            return CliExitUsage;
        }
    }
    return CliExitDone;
}

QVector<RouteGroup> CliRoutes::Plan(const QVector<quint32> &inputs, const OutputLocks &locks, QVector<quint32> *skipped)
{
    QMap<quint32, quint32> wanted;
    for (int k = 0; k < inputs.size(); ++k) {
        const quint32 output = quint32(k);
        if (!locks.isLocked(output))
            wanted.insert(output, inputs.at(k));
        else if (DeviceState.routeInputOfOutput[ClampSlot(output)] != inputs.at(k))
            skipped->append(output);
    }
    return GroupRoutes(wanted);
}

QByteArray CliRoutes::Json(const QVector<quint32> &routes, const QVector<quint32> &skipped)
{
    QJsonObject object;
    object.insert(QStringLiteral("routes"), OneBased(routes));
    object.insert(QStringLiteral("skippedLocked"), OneBased(skipped));
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

int CliRoutes::Run(const CliOptions &options, CliSession &session, QTextStream &out, QString *error)
{
    // The routes the device has now decide which locked outputs would change.
    QByteArray reply;
    int code = session.sendCommand([] { CmdGetMatrixRoute(); }, &reply, error);
    if (code != CliExitDone)
        return code;
    OutputLocks locks;
    locks.load(OutputLocks::FilePath());
    QVector<quint32> skipped;
    for (const RouteGroup &group : Plan(options.routeInputs, locks, &skipped)) {
        code = session.sendCommand(
            [&] { CmdSetRouteList(group.input, group.outputs.constData(), quint32(group.outputs.size())); }, &reply,
            error);
        if (code != CliExitDone)
            return code;
    }
    code = session.sendCommand([] { CmdGetMatrixRoute(); }, &reply, error);
    if (code != CliExitDone)
        return code;
    QVector<quint32> routes;
    QVector<quint32> wrong;
    for (quint32 output = 0; output < DeviceState.outputCount && output < MaxPorts; ++output) {
        routes << DeviceState.routeInputOfOutput[output];
        if (!skipped.contains(output) && routes.last() != options.routeInputs.value(int(output)))
            wrong << output;
    }
    out << QString::fromUtf8(Json(routes, skipped)) << '\n';
    out.flush();
    if (!wrong.isEmpty()) {
        *error = QStringLiteral("the device reports other inputs on outputs %1").arg(NumberList(wrong));
        return CliExitFailed;
    }
    if (!skipped.isEmpty()) {
        *error = QStringLiteral("outputs %1 are locked and were left as they are").arg(NumberList(skipped));
        return CliExitFailed;
    }
    return CliExitDone;
}
