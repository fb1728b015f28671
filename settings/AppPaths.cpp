#include "settings/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The per-user folder is named after the program, whatever the running binary is called
// (the tests run the same code under their own names).
const QString ProgramFolderName = QStringLiteral("tavilon");

const char *const SettingsFileNames[] = { "config.ini", "language-English.ini", "language-Other.ini" };

QString &ExecutableDirOverride()
{
    static QString directory;
    return directory;
}

QStringList SystemDataDirs()
{
    QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    folders.removeAll(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    return folders;
}

} // namespace

AppPaths::AppPaths(const QString &executableDir, const QString &configHome, const QStringList &systemDataDirs)
    : m_dataDir(ChooseDataDir(executableDir))
{
    const QString besideData = m_dataDir + QStringLiteral("/APP/ConfigFile");
    // A system-wide install belongs to the package manager even when root runs the program.
    m_ownsDataDir = IsWritableOrCreatable(besideData) && !IsBelowAny(m_dataDir, systemDataDirs);
    if (m_ownsDataDir || configHome.isEmpty())
        m_settingsDir = besideData;
    else
        m_settingsDir = QDir::cleanPath(configHome + QLatin1Char('/') + ProgramFolderName);
}

const AppPaths &AppPaths::Current()
{
    static AppPaths *current = nullptr;
    static QString decidedFor;
    const QString executableDir = ExecutableDirOverride().isEmpty() ? QCoreApplication::applicationDirPath()
                                                                    : ExecutableDirOverride();
    if (!current || decidedFor != executableDir) {
        delete current;
        current = new AppPaths(executableDir,
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation), SystemDataDirs());
        decidedFor = executableDir;
    }
    return *current;
}

void AppPaths::SetExecutableDirForCurrent(const QString &directory)
{
    ExecutableDirOverride() = directory;
}

QString AppPaths::ChooseDataDir(const QString &executableDir)
{
    const QDir beside(executableDir);
    if (beside.exists(QStringLiteral("APP")) || beside.exists(QStringLiteral("TitleBar")))
        return executableDir;
    const QString installed = QDir::cleanPath(executableDir + InstalledDataSuffix());
    if (QFileInfo(installed).isDir())
        return installed;
    // Nothing anywhere yet: a fresh portable copy, which creates its files beside itself.
    return executableDir;
}

bool AppPaths::IsWritableOrCreatable(const QString &path)
{
    QFileInfo info(QDir::cleanPath(path));
    while (!info.exists()) {
        const QString parent = info.absolutePath();
        if (parent == info.absoluteFilePath())
            return false;
        info = QFileInfo(parent);
    }
    return info.isDir() && info.isWritable();
}

bool AppPaths::IsBelowAny(const QString &path, const QStringList &folders)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath()) + QLatin1Char('/');
    for (const QString &folder : folders) {
        if (!folder.isEmpty() && clean.startsWith(QDir::cleanPath(folder) + QLatin1Char('/')))
            return true;
    }
    return false;
}

bool AppPaths::MayRewrite(const QString &path) const
{
    if (!m_ownsDataDir)
        return false;
    const QFileInfo info(path);
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    if (!clean.startsWith(QDir::cleanPath(m_dataDir) + QLatin1Char('/')))
        return false;
    return QFileInfo(info.absolutePath()).isWritable();
}

bool AppPaths::SeedSettingsDir() const
{
    const QString shipped = m_dataDir + QStringLiteral("/APP/ConfigFile/");
    if (QDir::cleanPath(shipped) == QDir::cleanPath(m_settingsDir))
        return true;
    bool allCopied = true;
    for (const char *name : SettingsFileNames) {
        const QString source = shipped + QLatin1String(name);
        const QString target = m_settingsDir + QLatin1Char('/') + QLatin1String(name);
        if (!QFileInfo::exists(source) || QFileInfo::exists(target))
            continue;
        if (!QDir().mkpath(m_settingsDir) || !QFile::copy(source, target)) {
            allCopied = false;
            continue;
        }
        // An install's files are read-only; the user's copy is the user's to rewrite.
        QFile::setPermissions(
            target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return allCopied;
}
