// The program's command line, read before the application object exists: --help and
// --version are answered without a window (and without a display, which QApplication would
// need), an unknown option is refused. Qt's own options (-platform, -style, ...) pass on to
// QApplication.
#pragma once

#include <QString>
#include <QStringList>

class StartupCommandLine
{
public:
    enum class Action { Run, PrintHelp, PrintVersion, Refuse };

    // arguments: the whole command line, the program name first.
    static StartupCommandLine Parse(const QStringList &arguments);

    Action action = Action::Run;
    // What to print: the help or the version on standard output, the refusal on standard error.
    QString text;
    // The exit status for everything but Run.
    int exitCode = 0;

    static QString HelpText();
    static QString VersionText();
};
