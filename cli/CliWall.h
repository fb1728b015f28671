// The wall command of the headless client: reads the device's wall, applies one change to
// what the device has with the same wall rules as the TV wall page's grid, and prints the
// wall the device then reports, as one line of JSON.
#pragma once

#include "cli/CliOptions.h"

#include <QString>
#include <QTextStream>

class CliSession;
class WallEditor;

class CliWall
{
public:
    // What can be checked once the device's port counts are known.
    static int CheckAgainstDevice(const CliOptions &options, QString *error);
    static int Run(const CliOptions &options, CliSession &session, QTextStream &out, QString *error);

private:
    static int ApplyChange(const CliOptions &options, CliSession &session, QString *error);
    static QString CheckCellsInsideWall(const CliOptions &options);
    // Makes the change in the model and queues its commands; the reason when it cannot.
    static QString Change(const CliOptions &options, WallEditor &editor);
    static int ReadWhatTheChangeNeeds(const CliOptions &options, CliSession &session, QString *error);
};
