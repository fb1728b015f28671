#include "settings/ConfigFile.h"
#include "shell/StartupCommandLine.h"
#include "shell/StartupProbe.h"
#include "shell/StartupWindows.h"
#include "shell/StyleSheet.h"

#include <QApplication>
#include <cstdio>

namespace {

// The arguments as text, before any application object exists.
QStringList ArgumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    // Answered before QApplication, which needs a display and would open the program.
    const StartupCommandLine commandLine = StartupCommandLine::Parse(ArgumentList(argc, argv));
    if (commandLine.action != StartupCommandLine::Action::Run) {
        std::FILE *stream = commandLine.action == StartupCommandLine::Action::Refuse ? stderr : stdout;
        std::fputs(commandLine.text.toLocal8Bit().constData(), stream);
        return commandLine.exitCode;
    }

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
