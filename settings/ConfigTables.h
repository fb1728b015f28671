// The two key tables that bind key texts to the process-wide text variables.
#pragma once

#include <QString>

struct ConfigKeyEntry {
    const char *key;
    QString *value;
};

constexpr int SettingsTableSize = 27;
constexpr int LanguageTableSize = 629;

extern const ConfigKeyEntry SettingsTable[SettingsTableSize];
extern const ConfigKeyEntry LanguageTable[LanguageTableSize];
