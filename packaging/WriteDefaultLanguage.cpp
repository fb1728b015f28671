// Writes the compiled-in English texts as language-English.ini below the folder given on the
// command line (APP/ConfigFile/), the default language file an install ships.
#include "settings/ConfigFile.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    // The output folder stands in for a portable copy's own folder, where the files are written.
    ConfigFile_SetAppDir(arguments.at(1));
    ConfigFile_ResetFile(ConfigFile_EnglishPath());
    QString error;
    if (!ConfigFile_Write(ConfigFile_EnglishPath(), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
