#include "settings/ConfigFile.h"
#include "shell/StartupProbe.h"
#include "shell/StyleSheet.h"
#include "shell/Ui_Login.h"
#include "shell/Ui_Main.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    auto *application = new QApplication(argc, argv);

    const bool settingsFileExisted = ConfigFile_LoadAtStartup();
    LoadStyleSheet(ConfigFile_AppDir() + QStringLiteral("/APP/StyleSheet/default.qss"));

    auto *mainWindow = new Ui_Main();
    auto *loginWindow = new Ui_Login();
    QObject::connect(loginWindow, &Ui_Login::SGL_SETUP_UI_MAIN, mainWindow, &Ui_Main::SLT_SETUP_UI_MAIN);
    StartupProbe::StartIfAsked(*mainWindow, *loginWindow);
    mainWindow->ShowStartWindow(*loginWindow, settingsFileExisted);

    const int exitCode = application->exec();

    // The first of the two destructors writes the settings files.
    delete loginWindow;
    delete mainWindow;
    delete application;
    return exitCode;
}
