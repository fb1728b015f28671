#include "settings/ConfigFile.h"

#include "settings/AppPaths.h"
#include "settings/ConfigTables.h"
#include "settings/SettingsTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>

bool g_SaveSettingsOnExit = true;

namespace {

struct TableChoice {
    const ConfigKeyEntry *entries = nullptr;
    int size = 0;
};

QString SettingsDirPart(const QString &fileName)
{
    return AppPaths::Current().SettingsDir() + QLatin1Char('/') + fileName;
}

// The table is chosen by what the path names, not by the file's content.
TableChoice TableForPath(const QString &path)
{
    if (path.contains(ConfigFile_SettingsPath()))
        return { SettingsTable, SettingsTableSize };
    if (path.contains(ConfigFile_EnglishPath()) || path.contains(ConfigFile_OtherLanguagePath()))
        return { LanguageTable, LanguageTableSize };
    return {};
}

QHash<QString, QString *> VariablesByKey(const TableChoice &table)
{
    QHash<QString, QString *> variables;
    variables.reserve(table.size);
    for (int i = 0; i < table.size; ++i)
        variables.insert(QLatin1String(table.entries[i].key), table.entries[i].value);
    return variables;
}

QString ValueOfLine(const QString &line)
{
    QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1);
    if (value.endsWith(QLatin1String("\r\n")))
        value.chop(2);
    else if (value.endsWith(QLatin1Char('\n')))
        value.chop(1);
    return value;
}

// A line break inside a value would split its line in two.
QString ValueForFile(const QString &value)
{
    QString flat = value;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return flat;
}

QByteArray FileContent(const TableChoice &table)
{
    QByteArray content;
    for (int i = 0; i < table.size; ++i) {
        content += table.entries[i].key;
        content += '=';
        content += ValueForFile(*table.entries[i].value).toUtf8();
        content += "\r\n";
    }
    return content;
}

bool ResetAndWrite(const QString &path, QString *error)
{
    ConfigFile_ResetFile(path);
    return ConfigFile_Write(path, error);
}

bool Failed(QString *error, const QString &path, const QString &cause)
{
    if (error)
        *error = path + QStringLiteral(": ") + cause;
    return false;
}

} // namespace

QString ConfigFile_AppDir()
{
    return AppPaths::Current().DataDir();
}

void ConfigFile_SetAppDir(const QString &directory)
{
    AppPaths::SetExecutableDirForCurrent(directory);
}

QString ConfigFile_SettingsPath()
{
    return SettingsDirPart(QStringLiteral("config.ini"));
}

QString ConfigFile_EnglishPath()
{
    return SettingsDirPart(QStringLiteral("language-English.ini"));
}

QString ConfigFile_OtherLanguagePath()
{
    return SettingsDirPart(QStringLiteral("language-Other.ini"));
}

QString ConfigFile_ActiveLanguagePath()
{
    return Key_LanguageIsEnglish == QLatin1String("1") ? ConfigFile_EnglishPath()
                                                       : ConfigFile_OtherLanguagePath();
}

void ConfigFile_Read(const QString &path)
{
    const TableChoice table = TableForPath(path);
    if (!table.entries || !QFileInfo::exists(path))
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;

    // By key: a line sets the entry its key names, wherever it stands, so an added, missing
    // or moved line (a comment, a hand edit) changes nothing but itself. A line without a
    // known key is skipped; an entry no line names keeps its value.
    const QHash<QString, QString *> variables = VariablesByKey(table);
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine());
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        QString *variable = variables.value(line.left(equals));
        if (variable)
            *variable = ValueOfLine(line);
    }
}

void ConfigFile_ResetFile(const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0)
        return;
    const QString directory = path.left(slash);
    if (!QDir().mkpath(directory))
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.close();
}

bool ConfigFile_Write(const QString &path, QString *error)
{
    const TableChoice table = TableForPath(path);
    if (!table.entries)
        return Failed(error, path, QStringLiteral("not a settings or language file"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Failed(error, path, file.errorString());
    const QByteArray content = FileContent(table);
    if (file.write(content) != content.size()) {
        const QString cause = file.errorString();
        file.cancelWriting();
        return Failed(error, path, cause);
    }
    // commit() renames the complete temporary file over the old one, or discards it after
    // any write error.
    if (!file.commit())
        return Failed(error, path, file.errorString());
    return true;
}

void ConfigFile_LoadAll(bool languageOnly)
{
    if (!QFileInfo::exists(ConfigFile_SettingsPath()))
        return;
    if (!languageOnly)
        ConfigFile_Read(ConfigFile_SettingsPath());

    const bool preferEnglish = Key_LanguageIsEnglish == QLatin1String("1");
    const QString preferred = preferEnglish ? ConfigFile_EnglishPath() : ConfigFile_OtherLanguagePath();
    const QString other = preferEnglish ? ConfigFile_OtherLanguagePath() : ConfigFile_EnglishPath();
    if (QFileInfo::exists(preferred)) {
        ConfigFile_Read(preferred);
        return;
    }
    if (QFileInfo::exists(other)) {
        ConfigFile_Read(other);
        // Name the file that was actually read, so the next save rewrites that file rather
        // than storing its texts under the other language's name.
        Key_LanguageIsEnglish = preferEnglish ? QStringLiteral("0") : QStringLiteral("1");
        return;
    }
    Key_LanguageIsEnglish = QStringLiteral("1");
}

bool ConfigFile_SaveAll(QString *error)
{
    const bool settingsSaved = ResetAndWrite(ConfigFile_SettingsPath(), error);
    // The language file is written even when config.ini was not; the first cause is kept.
    QString languageError;
    const bool languageSaved = ResetAndWrite(ConfigFile_ActiveLanguagePath(), &languageError);
    if (settingsSaved && !languageSaved && error)
        *error = languageError;
    return settingsSaved && languageSaved;
}

bool ConfigFile_LoadAtStartup()
{
    // A failed copy is no reason not to start: the defaults are written below instead.
    AppPaths::Current().SeedSettingsDir();
    if (QFileInfo::exists(ConfigFile_SettingsPath())) {
        ConfigFile_LoadAll(false);
        return true;
    }
    ConfigFile_SaveAll();
    return false;
}

QString ConfigFile_ReadStyleSheetText(const QString &path, bool *readOk)
{
    if (readOk)
        *readOk = false;
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = file.readAll();
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    if (readOk)
        *readOk = true;
    return QString::fromLatin1(bytes);
}
