// Shared set-up of the window tests: every test runs against its own temporary application
// directory holding freshly written default settings files, with the process-wide settings
// and texts put back to what they were when the test program started.
#pragma once

#include "settings/ConfigFile.h"
#include "settings/ConfigTables.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QScopedPointer>
#include <QString>
#include <QTemporaryDir>
#include <QVector>

namespace GuiTest {

// Line index of Spassword_User in config.ini.
constexpr int PasswordUserLineIndex = 8;

// The process-wide settings and texts as they were at one moment, to be put back later.
class TableSnapshot
{
public:
    void Take()
    {
        m_settings = Values(SettingsTable, SettingsTableSize);
        m_language = Values(LanguageTable, LanguageTableSize);
    }

    void Restore() const
    {
        for (int i = 0; i < SettingsTableSize; ++i)
            *SettingsTable[i].value = m_settings.at(i);
        for (int i = 0; i < LanguageTableSize; ++i)
            *LanguageTable[i].value = m_language.at(i);
    }

private:
    static QVector<QString> Values(const ConfigKeyEntry *table, int size)
    {
        QVector<QString> values;
        for (int i = 0; i < size; ++i)
            values << *table[i].value;
        return values;
    }

    QVector<QString> m_settings;
    QVector<QString> m_language;
};

// Call TakeDefaults from initTestCase, Begin from init (and verify its result), End from
// cleanup.
class AppDirFixture
{
public:
    void TakeDefaults() { m_defaults.Take(); }

    // A new empty application directory, the start-up settings and texts, no save at exit
    // (only the tests of that save want the destructors to write), and the default files.
    bool Begin()
    {
        m_appDir.reset(new QTemporaryDir());
        if (!m_appDir->isValid())
            return false;
        ConfigFile_SetAppDir(m_appDir->path());
        m_defaults.Restore();
        g_SaveSettingsOnExit = false;
        ConfigFile_SaveAll();
        return QFile::exists(ConfigFile_SettingsPath());
    }

    void End() { m_appDir.reset(); }

    QString Path() const { return m_appDir ? m_appDir->path() : QString(); }

private:
    TableSnapshot m_defaults;
    QScopedPointer<QTemporaryDir> m_appDir;
};

// The lines of a file without their line ends.
inline QList<QByteArray> FileLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    for (QByteArray &line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return lines;
}

// Writes a second-language file in which the given texts differ from the current ones; the
// texts in memory stay as they were.
inline void WriteOtherLanguageFile(const QVector<QPair<QString *, QString>> &texts)
{
    QVector<QString> saved;
    for (const auto &text : texts) {
        saved << *text.first;
        *text.first = text.second;
    }
    ConfigFile_ResetFile(ConfigFile_OtherLanguagePath());
    ConfigFile_Write(ConfigFile_OtherLanguagePath());
    for (int i = 0; i < texts.size(); ++i)
        *texts.at(i).first = saved.at(i);
}

} // namespace GuiTest
