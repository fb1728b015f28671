// tavilon-cli: the headless client. Only the command line and the exit status live here.
#include "cli/CliDiscover.h"
#include "cli/CliOptions.h"
#include "cli/CliRunner.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

namespace {

// Qt's own warnings would break the promise of one error line; TAVILON_CLI_DEBUG shows them.
void QuietMessageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "tavilon-cli: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("TAVILON_CLI_DEBUG"))
        qInstallMessageHandler(QuietMessageHandler);
    QTextStream out(stdout);
    QTextStream err(stderr);

    // A discovery needs no link option: it looks for the device itself.
    if (CliDiscover::IsDiscoverCommand(app.arguments().mid(1)))
        return CliDiscover::Run(app.arguments().mid(1), out, err);

    CliOptions options;
    QString error;
    if (!CliOptions::Parse(app.arguments().mid(1), &options, &error)) {
        err << "tavilon-cli: " << error << " (tavilon-cli --help shows the usage)\n";
        return CliExitUsage;
    }
    if (options.helpRequested) {
        out << CliOptions::UsageText();
        return CliExitDone;
    }
    if (options.versionRequested) {
        out << CliOptions::VersionText();
        return CliExitDone;
    }
    return CliRunner(options, out, err).run();
}
