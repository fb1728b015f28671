#include "shell/StyleSheet.h"

#include "settings/ConfigFile.h"

#include <QApplication>

void LoadStyleSheet(const QString &path)
{
    bool readOk = false;
    const QString text = ConfigFile_ReadStyleSheetText(path, &readOk);
    if (!readOk)
        return;
    qApp->setStyleSheet(text);
}
