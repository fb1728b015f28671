// Reading and writing the settings file and the two language files beside the program.
#pragma once

#include <QString>

// True until the first window destructor has done the one save at exit.
extern bool g_SaveSettingsOnExit;

// The directory that holds the executable; the data files lie below it. Tests point it
// at a temporary directory.
QString ConfigFile_AppDir();
void ConfigFile_SetAppDir(const QString &directory);

QString ConfigFile_SettingsPath();      // <app>/APP/ConfigFile/config.ini
QString ConfigFile_EnglishPath();       // <app>/APP/ConfigFile/language-English.ini
QString ConfigFile_OtherLanguagePath(); // <app>/APP/ConfigFile/language-Other.ini
QString ConfigFile_ActiveLanguagePath();

// Reads config.ini and the active language file, or writes the defaults when config.ini is
// missing. Returns whether config.ini existed. The style sheet is applied by the GUI
// (LoadStyleSheet), which the core library cannot reach.
bool ConfigFile_LoadAtStartup();
void ConfigFile_LoadAll(bool languageOnly);
void ConfigFile_SaveAll();
void ConfigFile_Read(const QString &path);
void ConfigFile_Write(const QString &path);
void ConfigFile_ResetFile(const QString &path);

// The text of a style sheet file (Latin-1 up to the first zero byte); empty when missing.
QString ConfigFile_ReadStyleSheetText(const QString &path);
