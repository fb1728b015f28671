// Reading and writing the settings file and the two language files beside the program.
#pragma once

#include <QString>

// True until the first window destructor has done the one save at exit.
extern bool g_SaveSettingsOnExit;

// The folder that holds the run-time data (APP/Image, APP/StyleSheet, TitleBar): beside the
// executable in a portable copy, ../share/tavilon in an install (see AppPaths). Tests set the
// executable's folder to a temporary directory.
QString ConfigFile_AppDir();
void ConfigFile_SetAppDir(const QString &directory);

// In <data>/APP/ConfigFile when the program owns its data folder, else in the user's
// configuration folder.
QString ConfigFile_SettingsPath(); // config.ini
QString ConfigFile_EnglishPath(); // language-English.ini
QString ConfigFile_OtherLanguagePath(); // language-Other.ini
// The language file that Key_LanguageIsEnglish selects.
QString ConfigFile_ActiveLanguagePath();

// Seeds a per-user settings folder from the files the data folder ships, then reads
// config.ini and the active language file, or writes the defaults when config.ini is
// missing. Returns whether config.ini existed. The style sheet is applied by the GUI
// (LoadStyleSheet), which the core library cannot reach.
bool ConfigFile_LoadAtStartup();

// Reads config.ini (unless languageOnly) and then the active language file, falling back to
// the other language file when the active one is missing. Does nothing without config.ini.
void ConfigFile_LoadAll(bool languageOnly);

// Rewrites config.ini and the active language file from the variables. Returns false, with
// the file and the cause in *error when given, when either could not be written.
bool ConfigFile_SaveAll(QString *error = nullptr);

// Reads one file into the table its path selects: each line whose text before the first "="
// is a key of the table sets that key's variable; other lines are skipped, and entries that
// no line names keep their values.
void ConfigFile_Read(const QString &path);

// Writes the table the path selects: the old file is replaced only by a completely
// written new one, so an interrupted save leaves the previous file intact. Returns false,
// with the file and the cause in *error when given, when the file was not written.
bool ConfigFile_Write(const QString &path, QString *error = nullptr);

// Prepares a file for rewriting: a missing file is created empty, after its directory with
// all missing parents. An existing file stays until the new one replaces it.
void ConfigFile_ResetFile(const QString &path);

// The text of a style sheet file (Latin-1 up to the first zero byte); empty when the file
// is missing or cannot be read, which readOk (when given) tells apart from an empty file.
QString ConfigFile_ReadStyleSheetText(const QString &path, bool *readOk = nullptr);
