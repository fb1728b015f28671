// Where the program finds its run-time data and keeps its settings.
//
// A portable copy has its data beside the executable (APP/, TitleBar/); an install has it in
// ../share/tavilon relative to the executable. The settings stay in the data folder's
// APP/ConfigFile when the program owns that folder (it may write there, and it is not a
// system-wide install); otherwise they live in the user's configuration folder, which is
// first seeded with the files the data folder ships.
#pragma once

#include <QString>
#include <QStringList>

class AppPaths
{
public:
    // Decided from the executable's folder; configHome is where per-user configuration
    // folders live (normally ~/.config), systemDataDirs the folders of system-wide installs.
    AppPaths(const QString &executableDir, const QString &configHome, const QStringList &systemDataDirs);

    // The paths of this process: the executable's folder (or the one tests set), the user's
    // configuration home and the system's data folders as QStandardPaths gives them.
    static const AppPaths &Current();
    static void SetExecutableDirForCurrent(const QString &directory);

    QString DataDir() const { return m_dataDir; }
    QString SettingsDir() const { return m_settingsDir; }
    // The program may write into its data folder (pictures, settings).
    bool OwnsDataDir() const { return m_ownsDataDir; }
    // A path inside the data folder that this program may rewrite.
    bool MayRewrite(const QString &path) const;

    // Copies the settings and language files the data folder ships into the per-user
    // settings folder, each only when that folder does not have it yet. Returns false when a
    // file could not be copied.
    bool SeedSettingsDir() const;

    static QString InstalledDataSuffix() { return QStringLiteral("/../share/tavilon"); }

private:
    static QString ChooseDataDir(const QString &executableDir);
    static bool IsWritableOrCreatable(const QString &path);
    static bool IsBelowAny(const QString &path, const QStringList &folders);

    QString m_dataDir;
    QString m_settingsDir;
    bool m_ownsDataDir = false;
};
