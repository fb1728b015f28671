// Command builders: build-and-queue operations per second on one core.
//
// Method: a mix of builders (routes, a route list, signal and multiview settings, queries, the
// 785-character user EDID line and a four-cell wall line) is called round after round with the
// serial link selected and its queue active, as the pages do. Every 1000 commands the send
// queue is emptied under its mutex, as the link thread would. The best of five runs of at least
// 500,000 commands each is reported, with and without the EDID and wall lines (which format
// 256 and 32 numbers).
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"

#include <QElapsedTimer>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void PrepareDevice()
{
    DeviceState_Clear();
    DeviceState_ConfirmModel();
    DeviceState.multiview[0].mode = 1;
    DeviceState.multiview[1].mode = 3;
    DeviceState_ResetWall();
    DeviceState.wall.rows = 2;
    DeviceState.wall.cols = 2;
    DeviceState.wall.total = 4;
}

void EmptySendQueue()
{
    LinkQueue &queue = SerialLinkQueue();
    QMutexLocker lock(&queue.sendMutex);
    queue.sendQueue.clear();
}

double BestCommandsPerSecond(const std::vector<std::function<void()>> &mix, int commandCount)
{
    double best = 0;
    const int mixSize = static_cast<int>(mix.size());
    for (int run = 0; run < 5; ++run) {
        EmptySendQueue();
        QElapsedTimer timer;
        timer.start();
        for (int n = 0; n < commandCount; ++n) {
            mix[static_cast<size_t>(n % mixSize)]();
            if (n % 1000 == 999)
                EmptySendQueue();
        }
        best = qMax(best, commandCount / (timer.nsecsElapsed() / 1e9));
    }
    return best;
}

} // namespace

int main()
{
    PrepareDevice();
    SerialLinkQueue().activate();
    LinkMode = LinkModeSerial;
    const quint32 outputs[] = { 0, 1, 3 };
    const QByteArray edid(256, '\x5A');

    std::vector<std::function<void()>> everyday = {
        [] { CmdSetRoute(1, 2); },
        [&] { CmdSetRouteList(0, outputs, 3); },
        [] { CmdSetInputToAll(3); },
        [] { CmdGetMatrixRoute(); },
        [] { CmdSetOutResolution(0, 7); },
        [] { CmdSetOutHdcp(1, 2); },
        [] { CmdSetAudioMute(2, 0); },
        [] { CmdGetInInfo(0); },
        [] { CmdGetOutInfo(3); },
        [] { CmdSetMultiviewMode(0, 1); },
        [] { CmdSetPipPos(0, 2); },
        [] { CmdSetAspect(1, 1); },
        [] { CmdSetWindowInput(0, 1, 2); },
        [] { CmdGetMultiviewSync(0); },
        [] { CmdSetVka(0, 1); },
        [] { CmdGetVersion(2, 0); },
        [] { CmdSetBaudrate(115200); },
        [] { CmdGetModelType(); },
    };
    std::vector<std::function<void()>> withLongLines = everyday;
    withLongLines.push_back([&] { CmdSetUserEdid(0, edid); });
    withLongLines.push_back([] { CmdSetTvWallInfo(4); });

    const int everydayCount
        = (500000 / static_cast<int>(everyday.size()) + 1) * static_cast<int>(everyday.size());
    const int longCount
        = (500000 / static_cast<int>(withLongLines.size()) + 1) * static_cast<int>(withLongLines.size());
    const double everydayRate = BestCommandsPerSecond(everyday, everydayCount);
    const double longRate = BestCommandsPerSecond(withLongLines, longCount);

    std::printf("bench_commands: best of 5 runs, one thread, serial queue active\n");
    std::printf("  %zu everyday builders, %d commands per run: %.0f commands/s\n", everyday.size(),
        everydayCount, everydayRate);
    std::printf(
        "  with the user EDID and wall lines, %d commands per run: %.0f commands/s\n", longCount, longRate);
    LinkMode = LinkModeNone;
    SerialLinkQueue().deactivate();
    return 0;
}
