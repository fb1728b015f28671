// Reading and writing the settings file and the two language files beside the program.
#pragma once

#include <QString>

// True until the first window destructor has done the one save at exit.
extern bool g_SaveSettingsOnExit;

// The directory that holds the executable; the data files lie below it. Tests point it
// at a temporary directory.
QString ConfigFile_AppDir();
void ConfigFile_SetAppDir(const QString &directory);

QString ConfigFile_SettingsPath(); // <app>/APP/ConfigFile/config.ini
QString ConfigFile_EnglishPath(); // <app>/APP/ConfigFile/language-English.ini
QString ConfigFile_OtherLanguagePath(); // <app>/APP/ConfigFile/language-Other.ini
// The language file that Key_LanguageIsEnglish selects.
QString ConfigFile_ActiveLanguagePath();

// Reads config.ini and the active language file, or writes the defaults when config.ini is
// missing. Returns whether config.ini existed. The style sheet is applied by the GUI
// (LoadStyleSheet), which the core library cannot reach.
bool ConfigFile_LoadAtStartup();

// Reads config.ini (unless languageOnly) and then the active language file, falling back to
// the other language file when the active one is missing. Does nothing without config.ini.
void ConfigFile_LoadAll(bool languageOnly);

// Rewrites config.ini and the active language file from the variables.
void ConfigFile_SaveAll();

// Reads one file into the table its path selects: each line whose text before the first "="
// is a key of the table sets that key's variable; other lines are skipped, and entries that
// no line names keep their values.
void ConfigFile_Read(const QString &path);

// Writes the table the path selects: the old file is replaced only by a completely
// written new one, so an interrupted save leaves the previous file intact.
void ConfigFile_Write(const QString &path);

// Prepares a file for rewriting: a missing file is created empty, after its directory with
// all missing parents. An existing file stays until the new one replaces it.
void ConfigFile_ResetFile(const QString &path);

// The text of a style sheet file (Latin-1 up to the first zero byte); empty when the file
// is missing or cannot be read, which readOk (when given) tells apart from an empty file.
QString ConfigFile_ReadStyleSheetText(const QString &path, bool *readOk = nullptr);
