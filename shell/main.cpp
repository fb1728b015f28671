#include "settings/ConfigFile.h"
#include "shell/StartupProbe.h"
#include "shell/StartupWindows.h"
#include "shell/StyleSheet.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    auto *application = new QApplication(argc, argv);

    const bool settingsFileExisted = ConfigFile_LoadAtStartup();
    LoadStyleSheet(ConfigFile_AppDir() + QStringLiteral("/APP/StyleSheet/default.qss"));

    auto *windows = new StartupWindows();
    StartupProbe::StartIfAsked(*windows);
    windows->Show(settingsFileExisted);

    const int exitCode = application->exec();

    // The login window, then the main window; the first destructor writes the settings files.
    delete windows;
    delete application;
    return exitCode;
}
