// Reply parser throughput: lines per second on one core for a mix of the replies a confirmed
// 4 x 4 device sends during synchronisation and normal use.
//
// Method: the mix below is parsed round after round through ParseReplyLine (the QString entry
// the main window uses, including its Latin-1 conversion) and, separately, through
// ParseReplyBytes (the bytes entry), against pages that do nothing, with no link selected so
// the commands some replies trigger are dropped at once. The best of five runs of at least
// two million lines each is reported. Goal: at least 1,000,000 lines/s.
#include "link/LinkMode.h"
#include "protocol/DeviceState.h"
#include "protocol/ReplyPages.h"
#include "protocol/ReplyParser.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <cstdio>

namespace {

class QuietPages : public ReplyPages
{
public:
    void kickSend() override { }
    void connectionAppendStatusLine(const QString &) override { }
    void showMachineNotMatch() override { }
};

const char *const Mix[] = {
    "OUT1 VIDEO IN HDMI2\r",
    "OUT3 VIDEO IN HDMI4\r",
    "IN2 VIDEO OUT 1,3\r",
    "IN1 VIDEO ALL\r",
    "MATRIX-ROUTE 0 1 2 3\r",
    "IN1 IN-INFO HDMI 3840x2160p60 Bypass EMBEDDED\r",
    "IN2 IN-INFO HDMI No-Signal Bypass L/R\r",
    "OUT1 OUT-INFO FORCE-2.2 3840x2160p60 3840x2160p60\r",
    "OUT4 OUT-INFO FORCE-1.4 Multi-Mode 1920x1080p60\r",
    "OUT1 MULTIVIEW-SYNC PIP HDMI2 HDMI3 NULL NULL LeftTop SMALL\r",
    "OUT2 MULTIVIEW-SYNC 4xWIN HDMI1 HDMI2 HDMI3 HDMI4 16:9 2 3\r",
    "OUT1 AUDIO SOURCE HDMI1\r",
    "OUT1 VKA BLUESCREEN\r",
    "OUT1 ITC OFF\r",
    "OUT2 MULTIVIEW PBP\r",
    "OUT2 PBP MODE 2\r",
    "OUT2 MAXMODE 3\r",
    "OUT1 RESOLUTION 1920x1080p60\r",
    "IN1 EDIDMODE 4K60-2.0\r",
    "TVWALL-INFO 4 2 2 1 0 0 0 0 0 0 0 1 0 1 0 0 0 0 1 1 0 2 0 0 0 0 2 1 0 3 0 0 0 0 3\r",
    "NETWORK-INFO 192.168.0.10 2000 255.255.255.0 192.168.0.1\r",
    "BAUDRATE 115200\r",
    "MAIN VERSION V1.02\r",
    "OUT1 AUDIO-MUTE ON\r",
    "SYNC-OVER\r",
};

void ResetDevice()
{
    DeviceState_Clear();
    DeviceState_ConfirmModel();
    DeviceState.modelReplyHandled = true;
}

template <typename ParseOne> double BestLinesPerSecond(int lineCount, ParseOne parseOne)
{
    double best = 0;
    for (int run = 0; run < 5; ++run) {
        ResetDevice();
        QElapsedTimer timer;
        timer.start();
        parseOne(lineCount);
        const double seconds = timer.nsecsElapsed() / 1e9;
        best = qMax(best, lineCount / seconds);
    }
    return best;
}

} // namespace

int main()
{
    LinkMode = LinkModeNone;
    QuietPages pages;
    QList<QString> lines;
    QList<QByteArray> bytes;
    for (const char *line : Mix) {
        lines.append(QString::fromLatin1(line));
        bytes.append(QByteArray(line));
    }
    const int mixSize = lines.size();
    const int lineCount = (2000000 / mixSize + 1) * mixSize;

    const double viaString = BestLinesPerSecond(lineCount, [&](int count) {
        for (int n = 0; n < count; ++n)
            ParseReplyLine(pages, lines.at(n % mixSize));
    });
    const double viaBytes = BestLinesPerSecond(lineCount, [&](int count) {
        for (int n = 0; n < count; ++n) {
            const QByteArray &line = bytes.at(n % mixSize);
            ParseReplyBytes(pages, line.constData(), line.size());
        }
    });

    std::printf(
        "bench_parser: %d reply kinds, %d lines per run, best of 5 runs, one thread\n", mixSize, lineCount);
    std::printf("  ParseReplyLine (QString, as the main window calls it): %.0f lines/s\n", viaString);
    std::printf("  ParseReplyBytes (Latin-1 bytes):                        %.0f lines/s\n", viaBytes);
    std::printf("  goal 1000000 lines/s: %s\n", viaString >= 1e6 ? "met" : "NOT met");
    return 0;
}
