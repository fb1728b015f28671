#include "cli/CliNames.h"

#include "protocol/DeviceState.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QVector>

namespace {

// The names as the program has them: its settings and language files.
void LoadProgramTexts()
{
    if (QFile::exists(ConfigFile_SettingsPath()))
        ConfigFile_LoadAll(false);
}

QVector<QString> NamesNow()
{
    QVector<QString> names;
    for (quint32 k = 0; k < MaxPorts; ++k)
        names << S_InputName[k] << S_OutputName[k];
    return names;
}

} // namespace

int CliNames::Run(const CliOptions &options, QTextStream &out, QString *error)
{
    LoadProgramTexts();
    if (options.command == CliOptions::Command::NamesExport)
        return Export(options.filePath, out, error);
    return Import(options.filePath, out, error);
}

int CliNames::Export(const QString &path, QTextStream &out, QString *error)
{
    const QByteArray csv = PortNamesCsv::Export(DeviceState.inputCount, DeviceState.outputCount);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return CliExitFailed;
    }
    QJsonObject object;
    object.insert(QStringLiteral("file"), path);
    object.insert(QStringLiteral("inputs"), qint64(DeviceState.inputCount));
    object.insert(QStringLiteral("outputs"), qint64(DeviceState.outputCount));
    out << QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)) << '\n';
    out.flush();
    return CliExitDone;
}

int CliNames::Import(const QString &path, QTextStream &out, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return CliExitUsage;
    }
    const PortNamesCsv::Plan plan
        = PortNamesCsv::PlanImport(file.readAll(), DeviceState.inputCount, DeviceState.outputCount);
    out << QString::fromUtf8(PlanJson(plan)) << '\n';
    out.flush();
    if (!plan.accepted()) {
        *error = QStringLiteral("%1 row(s) refused, no name changed").arg(plan.refused.size());
        return CliExitFailed;
    }
    if (plan.changes.isEmpty())
        return CliExitDone;
    PortNamesCsv::Apply(plan);
    return SaveNames(error) ? CliExitDone : CliExitFailed;
}

bool CliNames::SaveNames(QString *error)
{
    const QVector<QString> wanted = NamesNow();
    if (QFile::exists(ConfigFile_SettingsPath())) {
        ConfigFile_ResetFile(ConfigFile_ActiveLanguagePath());
        ConfigFile_Write(ConfigFile_ActiveLanguagePath());
    } else {
        ConfigFile_SaveAll();
    }
    ConfigFile_Read(ConfigFile_ActiveLanguagePath());
    if (NamesNow() == wanted)
        return true;
    *error = QStringLiteral("the names could not be written to %1").arg(ConfigFile_ActiveLanguagePath());
    return false;
}

QByteArray CliNames::PlanJson(const PortNamesCsv::Plan &plan)
{
    QJsonArray changes;
    for (const PortNamesCsv::Change &change : plan.changes) {
        QJsonObject object;
        object.insert(QStringLiteral("kind"), PortNamesCsv::KindWord(change.kind));
        object.insert(QStringLiteral("number"), qint64(change.number));
        object.insert(QStringLiteral("from"), change.from);
        object.insert(QStringLiteral("to"), change.to);
        changes.append(object);
    }
    QJsonArray refused;
    for (const PortNamesCsv::RefusedRow &row : plan.refused) {
        QJsonObject object;
        object.insert(QStringLiteral("line"), row.line);
        object.insert(QStringLiteral("reason"), PortNamesCsv::RefusalText(row));
        refused.append(object);
    }
    QJsonObject object;
    object.insert(QStringLiteral("changes"), changes);
    object.insert(QStringLiteral("refused"), refused);
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}
