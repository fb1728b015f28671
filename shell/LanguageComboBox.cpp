#include "shell/LanguageComboBox.h"

#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"

#include <QComboBox>
#include <QFileInfo>

void FillLanguageComboBox(QComboBox *comboBox)
{
    comboBox->clear();
    if (QFileInfo::exists(ConfigFile_EnglishPath()))
        comboBox->addItem(ScomboBox_LanguageSelect[0]);
    if (QFileInfo::exists(ConfigFile_OtherLanguagePath()))
        comboBox->addItem(ScomboBox_LanguageSelect[1]);
}

void SelectActiveLanguageInComboBox(QComboBox *comboBox)
{
    int count = 0;
    if (QFileInfo::exists(ConfigFile_EnglishPath())) {
        comboBox->setItemText(0, ScomboBox_LanguageSelect[0]);
        ++count;
    }
    if (QFileInfo::exists(ConfigFile_OtherLanguagePath())) {
        comboBox->setItemText(1, ScomboBox_LanguageSelect[1]);
        ++count;
    }
    if (!QFileInfo::exists(ConfigFile_ActiveLanguagePath()))
        return;
    if (count == 2)
        comboBox->setCurrentIndex(Key_LanguageIsEnglish == QLatin1String("1") ? 0 : 1);
    else if (count == 1)
        comboBox->setCurrentIndex(0);
}
