// The routes command of the headless client: sets the input of every output in one go, the
// outputs of one input in one command, then reads the routes back and prints them as JSON.
// Locked outputs (the matrix page's locks) are left as they are and reported.
#pragma once

#include "cli/CliOptions.h"
#include "protocol/RouteGroups.h"

#include <QByteArray>
#include <QString>
#include <QTextStream>
#include <QVector>

class CliSession;
class OutputLocks;

class CliRoutes
{
public:
    // One input for every output of the device, each input one the device has.
    static int CheckAgainstDevice(const CliOptions &options, QString *error);
    static int Run(const CliOptions &options, CliSession &session, QTextStream &out, QString *error);

    // The groups to send: every output that is not locked, by input. skipped receives the
    // locked outputs whose route would change.
    static QVector<RouteGroup> Plan(const QVector<quint32> &inputs, const OutputLocks &locks, QVector<quint32> *skipped);
    // {"routes":[...],"skippedLocked":[...]}, 1-based.
    static QByteArray Json(const QVector<quint32> &routes, const QVector<quint32> &skipped);
};
