#include "sim/SimOptions.h"

#include "link/LinkSettingsRules.h"
#include "protocol/ValueWords.h"

#include <QHostAddress>

namespace {

// Splits "--name=value" or takes the value from the next argument.
bool TakeValue(const QStringList &arguments, int &index, const QString &name, QString &value)
{
    const QString &argument = arguments[index];
    if (argument.startsWith(name + QLatin1Char('='))) {
        value = argument.mid(name.size() + 1);
        return true;
    }
    if (index + 1 >= arguments.size())
        return false;
    value = arguments[++index];
    return true;
}

} // namespace

bool SimOptions::ParseCount(const QString &value, int minimum, int maximum, int &result)
{
    bool ok = false;
    const int number = value.toInt(&ok, 10);
    if (!ok || number < minimum || number > maximum)
        return false;
    result = number;
    return true;
}

bool SimOptions::parseTcp(const QString &value, QString &error)
{
    const int colon = value.lastIndexOf(QLatin1Char(':'));
    QString host = value.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    int port = 0;
    if (colon <= 0 || QHostAddress(host).isNull() || !ParseCount(value.mid(colon + 1), 0, 65535, port)) {
        error = QStringLiteral("--tcp needs HOST:PORT with a numeric address, got \"%1\"").arg(value);
        return false;
    }
    tcpHost = host;
    tcpPort = quint16(port);
    tcpEnabled = true;
    return true;
}

bool SimOptions::parse(const QStringList &arguments, QString &error)
{
    model = QByteArray(ExpectedModel);
    for (int i = 0; i < arguments.size(); ++i) {
        const QString argument = arguments[i];
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        QString value;
        const bool takesValue = name == QLatin1String("--tcp") || name == QLatin1String("--pty")
            || name == QLatin1String("--model") || name == QLatin1String("--latency")
            || name == QLatin1String("--line-ending") || name == QLatin1String("--chunk")
            || name == QLatin1String("--mute") || name == QLatin1String("--drop-after")
            || name == QLatin1String("--refuse") || name == QLatin1String("--baud");
        if (takesValue && !TakeValue(arguments, i, name, value)) {
            error = QStringLiteral("%1 needs a value").arg(name);
            return false;
        }
        if (!takesValue && argument != name) {
            error = QStringLiteral("%1 takes no value").arg(name);
            return false;
        }
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            help = true;
        } else if (name == QLatin1String("--version")) {
            version = true;
        } else if (name == QLatin1String("--tcp")) {
            if (!parseTcp(value, error))
                return false;
        } else if (name == QLatin1String("--no-tcp")) {
            tcpEnabled = false;
        } else if (name == QLatin1String("--pty")) {
            if (value.isEmpty()) {
                error = QStringLiteral("--pty needs a path");
                return false;
            }
            ptyLink = value;
            ptyEnabled = true;
        } else if (name == QLatin1String("--no-pty")) {
            ptyEnabled = false;
        } else if (name == QLatin1String("--model")) {
            model = value.toLatin1();
            if (model.isEmpty() || model.contains('\r') || model.contains('\n')) {
                error = QStringLiteral("--model needs a name on one line");
                return false;
            }
        } else if (name == QLatin1String("--latency")) {
            if (!ParseCount(value, 0, 60000, latencyMs)) {
                error = QStringLiteral("--latency needs milliseconds from 0 to 60000");
                return false;
            }
        } else if (name == QLatin1String("--line-ending")) {
            if (value == QLatin1String("cr")) {
                lineEnding = "\r";
            } else if (value == QLatin1String("crlf")) {
                lineEnding = "\r\n";
            } else {
                error = QStringLiteral("--line-ending is cr or crlf");
                return false;
            }
        } else if (name == QLatin1String("--chunk")) {
            if (!ParseCount(value, 1, 65536, chunk)) {
                error = QStringLiteral("--chunk needs a byte count from 1 to 65536");
                return false;
            }
        } else if (name == QLatin1String("--mute")) {
            if (value.isEmpty()) {
                error = QStringLiteral("--mute needs a pattern");
                return false;
            }
            mutePatterns.append(value.toLatin1());
        } else if (name == QLatin1String("--refuse")) {
            if (value.isEmpty()) {
                error = QStringLiteral("--refuse needs a pattern");
                return false;
            }
            refusePatterns.append(value.toLatin1());
        } else if (name == QLatin1String("--drop-after")) {
            if (!ParseCount(value, 1, 1000000000, dropAfter)) {
                error = QStringLiteral("--drop-after needs a request count of at least 1");
                return false;
            }
        } else if (name == QLatin1String("--baud")) {
            if (!ParseCount(value, 1, 115200, baudRate) || !LinkBaudRateTexts().contains(value)) {
                error = QStringLiteral("--baud is 9600, 19200, 38400, 57600 or 115200");
                return false;
            }
        } else if (name == QLatin1String("--garbage")) {
            garbage = true;
        } else if (name == QLatin1String("--echo")) {
            echo = true;
        } else {
            error = QStringLiteral("unknown option \"%1\"").arg(argument);
            return false;
        }
    }
    if (!tcpEnabled && !ptyEnabled && !help && !version) {
        error = QStringLiteral("--no-tcp and --no-pty together leave nothing to listen on");
        return false;
    }
    return true;
}

QString SimOptions::Usage()
{
    return QStringLiteral(
        "Usage: tavilon-sim [--tcp HOST:PORT] [--pty LINKPATH] [options]\n"
        "Answers as an RZ7P52KN matrix switcher with 4 inputs and 4 outputs.\n"
        "\n"
        "  --tcp HOST:PORT      listen for TCP clients (default 127.0.0.1:2000; port 0 picks one)\n"
        "  --no-tcp             no TCP listener\n"
        "  --pty LINKPATH       link the serial pseudo-terminal here (default /tmp/tavilon-sim-tty)\n"
        "  --no-pty             no pseudo-terminal\n"
        "  --model NAME         answer GET MODEL TYPE with another model\n"
        "  --latency MS         delay every answer by MS milliseconds\n"
        "  --baud N             the device's RS232 rate at start and after a reset; the\n"
        "                       pseudo-terminal then ignores requests sent at other rates\n"
        "  --line-ending cr|crlf  end written lines with CR (default) or CR LF\n"
        "  --chunk N            write answers in pieces of N bytes with a short gap\n"
        "  --mute PATTERN       never answer requests containing PATTERN (repeatable)\n"
        "  --refuse PATTERN     refuse requests containing PATTERN: nothing is carried out and\n"
        "                       the answer is the request's port and keyword followed by FAIL\n"
        "  --drop-after N       close a connection after N requests\n"
        "  --garbage            mix junk lines and control bytes into the stream\n"
        "  --echo               repeat every request (without its CR) before answering it\n"
        "  --help               this text\n"
        "  --version            print the version\n"
        "\n"
        "Once listening it prints \"TCP HOST:PORT\" and \"PTY PATH\" lines, then one line per\n"
        "request and answer. SIGINT or SIGTERM stops it and removes the link.\n"
        "\n"
        "Link settings are applied as the device does once it has answered the write:\n"
        "after SET NETWORK-INFO its TCP clients are disconnected and the listener moves to\n"
        "the new port (on its own address: the IP, mask and gateway written are kept and\n"
        "reported, not bound), printing a new \"TCP HOST:PORT\" line; after SET BAUDRATE the\n"
        "pseudo-terminal ignores requests sent at any other rate than the new one. SET RESET\n"
        "brings both back to where the simulator started. Every firmware version query\n"
        "(main, keyboard, each input, each output) has its own answer.\n");
}
