// The simulated device without any transport: one request line in, the answer lines out.
// The answer has two parts: lines for the client that asked only, and change reports that every
// connected client receives (the asker included), as a device reports a change made at its
// front panel. A request that changes nothing sends its status lines to the asker only.
#pragma once

#include "sim/SimState.h"

#include <QByteArray>
#include <QList>

struct SimReply {
    QList<QByteArray> toRequester; // sent first, to the asking client only
    QList<QByteArray> toAll; // then to every client

    bool isEmpty() const { return toRequester.isEmpty() && toAll.isEmpty(); }
    // The lines the asking client receives, in order.
    QList<QByteArray> requesterLines() const { return toRequester + toAll; }
};

struct SimDeviceConfig {
    QByteArray model; // answered to GET MODEL TYPE
    SimNetwork network; // factory network settings
    int baudrate = 9600; // factory RS232 rate
};

class SimDevice
{
public:
    // Answers that carry no keyword a controller acts on, and never an echo of the request, so
    // that a refused request can never be taken for its own reply.
    static const char *const UnknownCommandLine;
    static const char *const InvalidParameterLine;
    static const char *const LineTooLongLine;

    explicit SimDevice(const SimDeviceConfig &config);

    // One request without its line ending (a trailing CR or LF is ignored). An empty line gets
    // no answer.
    SimReply handleRequest(const QByteArray &line);
    // The answer to a request that was longer than the protocol allows.
    static SimReply lineTooLong();

    const SimState &state() const { return m_state; }
    // Every status line a controller needs to redraw itself: routes, each output's multiview,
    // audio, no-signal display, ITC and signal information, each input's information and EDID
    // mode, and the wall.
    QList<QByteArray> stateReportLines() const;

    // Layout variants of each multiview mode.
    static quint32 MaxLayoutOfMode(quint32 mode);

private:
    // How a request ended: answered, not understood, or understood but with a bad value.
    enum class Verdict { Done, Unknown, Invalid };
    struct Outcome {
        Verdict verdict = Verdict::Done;
        QList<QByteArray> ack; // for the asker
        QList<QByteArray> status; // the change report
    };
    using Words = QList<QByteArray>;

    Outcome handleGet(const Words &words) const;
    Outcome handleGetInput(quint32 input, const Words &rest) const;
    Outcome handleGetOutput(quint32 output, const Words &rest) const;
    Outcome handleSet(const Words &words);
    Outcome handleSetInput(quint32 input, const Words &rest);
    Outcome handleSetOutput(quint32 output, const Words &rest);
    Outcome handleSetRoute(quint32 input, const QByteArray &target);
    Outcome handleSetUserEdid(quint32 input, const Words &hexBytes);
    Outcome handleSetMultiviewMode(quint32 output, const QByteArray &word);
    Outcome handleSetModeField(quint32 output, const Words &rest);
    Outcome handleSetPip(quint32 output, const Words &rest);
    Outcome handleSetUserWindow(quint32 output, const Words &rest);
    Outcome handleSetWindowInput(quint32 output, const Words &rest);
    Outcome handleSetWallPort(quint32 output, const Words &numbers);
    Outcome handleSetTvWall(const Words &numbers);
    Outcome handleSetScene(const Words &words);
    Outcome handleSetNetwork(const Words &texts);
    Outcome handleSetBaudrate(const Words &words);
    Outcome handleReset();

    // Status lines.
    QByteArray routeLine(quint32 output) const;
    QByteArray matrixRouteLine() const;
    QByteArray resolutionLine(quint32 output) const;
    QByteArray rotationLine(quint32 output) const;
    QByteArray hdcpLine(quint32 output) const;
    QByteArray muteLine(quint32 output) const;
    QByteArray freezeLine(quint32 output) const;
    QByteArray modeLine(quint32 output) const;
    QByteArray maxModeLine(quint32 output) const;
    QByteArray aspectLine(quint32 output) const;
    QByteArray layoutLine(quint32 output) const;
    QByteArray pipPosLine(quint32 output) const;
    QByteArray pipSizeLine(quint32 output) const;
    QByteArray pipUserLine(quint32 output) const;
    QByteArray presenterLine(quint32 output) const;
    QByteArray windowLine(quint32 output, quint32 window) const;
    QByteArray audioSourceLine(quint32 output) const;
    QByteArray vkaLine(quint32 output) const;
    QByteArray itcLine(quint32 output) const;
    QByteArray multiviewSyncLine(quint32 output) const;
    QByteArray outInfoLine(quint32 output) const;
    QByteArray outportEdidLine(quint32 output) const;
    QByteArray inInfoLine(quint32 input) const;
    QByteArray inAudioLine(quint32 input) const;
    QByteArray inResolutionLine(quint32 input) const;
    QByteArray edidModeLine(quint32 input) const;
    QByteArray tvWallLine() const;
    QByteArray networkLine() const;
    QByteArray baudrateLine() const;

    SimMultiview &multiviewOf(quint32 output) { return m_state.live.outputs[output].multiview; }
    const SimMultiview &multiviewOf(quint32 output) const { return m_state.live.outputs[output].multiview; }

    SimDeviceConfig m_config;
    SimState m_state;
};
