#include "shell/StartupCommandLine.h"

#include "shell/DemoDevice.h"
#include "TavilonVersion.h"

namespace {

constexpr int UsageExitCode = 2;

// Qt's options that QApplication takes from the command line, with and without a value.
const QStringList QtOptionsWithValue { "platform", "platformpluginpath", "platformtheme", "plugin", "style",
    "stylesheet", "session", "display", "geometry", "qwindowgeometry", "qwindowtitle", "qwindowicon", "name",
    "title", "dialogs", "qmljsdebugger" };
const QStringList QtOptionsAlone { "reverse", "widgetcount", "nograb", "dograb", "sync", "testability" };

StartupCommandLine Refusal(const QString &reason)
{
    StartupCommandLine line;
    line.action = StartupCommandLine::Action::Refuse;
    line.text = QStringLiteral("tavilon: ") + reason + QStringLiteral(" (tavilon --help shows the usage)\n");
    line.exitCode = UsageExitCode;
    return line;
}

// The option's name without its dashes and without "=value".
QString BareName(const QString &argument)
{
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.section(QLatin1Char('='), 0, 0);
}

} // namespace

StartupCommandLine StartupCommandLine::Parse(const QStringList &arguments)
{
    StartupCommandLine line;
    const QString demoOption = QString::fromLatin1(DemoDevice::OptionName);
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            line.action = Action::PrintHelp;
            line.text = HelpText();
            return line;
        }
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
            line.action = Action::PrintVersion;
            line.text = VersionText();
            return line;
        }
        if (argument == demoOption) {
            if (i + 1 >= arguments.size())
                return Refusal(demoOption + QStringLiteral(" needs a value such as tcp=127.0.0.1:2000"));
            ++i;
            continue;
        }
        if (argument.startsWith(demoOption + QLatin1Char('=')))
            continue;
        if (!argument.startsWith(QLatin1Char('-')) || argument.size() == 1)
            return Refusal(QStringLiteral("unexpected argument \"%1\"").arg(argument));
        const QString name = BareName(argument);
        if (QtOptionsWithValue.contains(name)) {
            if (!argument.contains(QLatin1Char('=')))
                ++i;
            continue;
        }
        if (QtOptionsAlone.contains(name))
            continue;
        return Refusal(QStringLiteral("unknown option %1").arg(argument));
    }
    return line;
}

QString StartupCommandLine::HelpText()
{
    return QStringLiteral(
        "Usage: tavilon [--demo-device tcp=HOST:PORT,serial=PATH]\n"
        "Controls the RZ7P52KN 4 x 4 HDMI matrix switcher over RS232 or TCP.\n"
        "\n"
        "Options:\n"
        "  --demo-device tcp=HOST:PORT,serial=PATH\n"
        "                 fill the Connect page with a device's addresses for this session\n"
        "                 only (either part may be left out), for instance the simulator's:\n"
        "                 tavilon-sim --tcp 127.0.0.1:2000 --pty /tmp/tavilon-tty, then\n"
        "                 tavilon --demo-device tcp=127.0.0.1:2000,serial=/tmp/tavilon-tty\n"
        "  -h, --help     print this help and exit\n"
        "  -v, --version  print the version and exit\n"
        "Qt's own options (-platform NAME, -style NAME, ...) are passed on.\n"
        "\n"
        "Without a device at hand: tavilon-sim simulates one; tavilon-cli controls one\n"
        "from scripts.\n");
}

QString StartupCommandLine::VersionText()
{
    return QStringLiteral("tavilon " TAVILON_VERSION "\n");
}
