// The backup and restore commands of the headless client. A backup reads everything the
// device can report and prints or saves it as a DeviceConfig file. A restore reads the device,
// plans the changes to the file's configuration, sends them (or prints them only, on a dry
// run), reads the device again and compares: done only when it matches the file.
#pragma once

#include "cli/CliOptions.h"
#include "protocol/DeviceConfig.h"

#include <QTextStream>

class CliBackupPages;
class CliSession;

class CliBackup
{
public:
    // Reads and checks the file of a restore before any link is opened; CliExitUsage with the
    // cause (the field named) when it is refused.
    static int LoadFile(const QString &path, DeviceConfig *config, QString *error);

    static int RunBackup(const CliOptions &options, CliSession &session, CliBackupPages &pages, QTextStream &out,
        QString *error);
    static int RunRestore(const CliOptions &options, const DeviceConfig &file, CliSession &session,
        CliBackupPages &pages, QTextStream &out, QString *error);

    // Reads every setting of the device into config (versions too when asked).
    static int ReadDevice(CliSession &session, CliBackupPages &pages, bool versions, DeviceConfig *config,
        QString *error);
    // The command lines a build queues, taken away unsent (CR removed).
    static QStringList CaptureLines(const std::function<void()> &build);
};
