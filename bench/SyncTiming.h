// One identification plus synchronisation burst over TCP, driven by the headless client's
// session in this process, with the times the session took.
#pragma once

#include "cli/CliOptions.h"
#include "cli/CliPages.h"
#include "cli/CliSession.h"
#include "protocol/DeviceState.h"

#include <cstdio>

struct SyncTiming {
    double toBurstEndMs = 0; // connect status to SYNC-OVER parsed
    double burstMs = 0; // model reply parsed to SYNC-OVER parsed
};

inline bool MeasureSyncOverTcp(quint16 port, SyncTiming *timing)
{
    CliOptions options;
    options.transport = CliOptions::Transport::Tcp;
    options.host = QStringLiteral("127.0.0.1");
    options.port = port;
    options.command = CliOptions::Command::Sync;
    DeviceState_Clear();
    CliPages pages;
    CliSession session(options, pages);
    QString error;
    int code = session.open(&error);
    if (code == CliExitDone)
        code = session.identify(&error);
    if (code == CliExitDone)
        code = session.waitForBurstEnd(&error);
    session.close();
    if (code != CliExitDone || !pages.syncOver()) {
        std::fprintf(stderr, "run failed: %s\n", qPrintable(error));
        return false;
    }
    timing->toBurstEndMs = double(session.burstEndAtMs() - session.connectedAtMs());
    timing->burstMs = double(session.burstEndAtMs() - session.identifiedAtMs());
    return true;
}
