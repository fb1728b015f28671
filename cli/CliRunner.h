// Runs one parsed command of the headless client: checks what can be checked before
// connecting, opens the link, identifies the device, does the command and prints its result
// on out, or one line on err for a failure. Returns the exit status.
#pragma once

#include "cli/CliOptions.h"

#include <QByteArray>
#include <QStringList>
#include <QTextStream>

class CliPages;
class CliSession;

class CliRunner
{
public:
    CliRunner(const CliOptions &options, QTextStream &out, QTextStream &err);
    int run();

private:
    int fail(int code, const QString &message);
    int checkPortsAgainstDevice(QString *error) const;
    int runCommand(CliSession &session, CliPages &pages, QString *error);
    int runSync(CliSession &session, CliPages &pages, QString *error);
    int runConfirmed(CliSession &session, const std::function<void()> &build, QString *error);
    // Layout, aspect, PIP and user window depend on the output's mode: it is read first, and a
    // setting the mode does not have is refused with a usage exit.
    int runModeSetting(CliSession &session, CliPages &pages, QString *error);
    int readMultiviewState(CliSession &session, CliPages &pages, QString *error);
    QString modeRefusal() const;
    int sendModeSetting(CliSession &session, QString *error);
    int runEdidRead(CliSession &session, CliPages &pages, QString *error);
    int runEdidWrite(CliSession &session, QString *error);
    int runVersion(CliSession &session, CliPages &pages, QString *error);
    int runRaw(CliSession &session, QString *error);
    int runNetwork(CliSession &session, CliPages &pages, const std::function<void()> &build, QString *error);
    int runBaud(CliSession &session, CliPages &pages, const std::function<void()> &build, QString *error);
    int runReset(CliSession &session, QString *error);
    // The burst's replies that never came, by the query that asked for them.
    static QStringList MissingReplies(const CliPages &pages, bool networkLink);
    void printLine(const QByteArray &line);

public:
    // {"ip":...,"port":...,"mask":...,"gateway":...} on one line, in the order the device
    // names them.
    static QByteArray NetworkJson(const QString &ip, const QString &port, const QString &mask, const QString &gateway);

    const CliOptions &m_options;
    QTextStream &m_out;
    QTextStream &m_err;
    QByteArray m_edidToWrite;
};
