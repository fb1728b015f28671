#include "protocol/ReplyPages.h"

#include "link/LinkMode.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"

#include <QVector>

ReplyPages::~ReplyPages() = default;

void ReplyPages::connectionDisconnectActiveLink()
{
    DeviceState.modelReplyHandled = false;
}

void ReplyPages::connectionSetStatusPicture(bool) { }

void ReplyPages::connectionSyncOver() { }

void ReplyPages::matrixSetRoute(quint32 input, quint32 output)
{
    DeviceState_SetRoute(input, output);
}

void ReplyPages::matrixSetRouteList(const QString &text)
{
    const QVector<QStringRef> parts = text.splitRef(QLatin1Char(' '));
    quint32 output = 0;
    for (const QStringRef &part : parts) {
        // More parts than table slots would only rewrite the last slot again.
        if (output >= MaxPorts)
            break;
        matrixSetRoute(part.toUInt(), output);
        ++output;
    }
}

void ReplyPages::matrixRebuildIfConfirmed() { }

void ReplyPages::matrixRequestRoutes()
{
    CmdGetMatrixRoute();
    kickSend();
}

void ReplyPages::matrixInEdidMode(quint32, int) { }

void ReplyPages::matrixOutEdid(quint32, const QString &) { }

void ReplyPages::signalInputFormat(quint32, const QString &) { }

void ReplyPages::signalInputAudio(quint32, const QString &) { }

void ReplyPages::signalInputType(quint32, const QString &) { }

void ReplyPages::signalInputOutputFormat(quint32, const QString &) { }

void ReplyPages::signalOutputType(quint32, const QString &) { }

void ReplyPages::signalOutputInputFormat(quint32, const QString &) { }

void ReplyPages::signalOutputResolution(quint32, const QString &) { }

void ReplyPages::signalOutputConfirmed(quint32) { }

void ReplyPages::signalOutputRotation(quint32, const QString &) { }
void ReplyPages::signalOutputMute(quint32, const QString &) { }
void ReplyPages::signalOutputFreeze(quint32, const QString &) { }

void ReplyPages::signalRebuildIfConfirmed() { }

void ReplyPages::signalReadAll()
{
    for (quint32 input = 0; input < DeviceState.inputCount && input < MaxPorts; ++input) {
        CmdGetInInfo(input);
        kickSend();
    }
    for (quint32 output = 0; output < DeviceState.outputCount && output < MaxPorts; ++output) {
        CmdGetOutInfo(output);
        kickSend();
    }
}

quint32 ReplyPages::multiviewShownOutput() const
{
    return 0;
}

void ReplyPages::multiviewShowWindowInput(quint32, quint32, quint32) { }

void ReplyPages::multiviewShowMode(quint32 output, quint32)
{
    if (output != multiviewShownOutput())
        return;
    CmdGetMultiviewSync(output);
    kickSend();
}

void ReplyPages::multiviewShowVka(quint32, quint32) { }

void ReplyPages::multiviewShowItc(quint32, quint32) { }

void ReplyPages::multiviewShowAudioSource(quint32, quint32) { }

void ReplyPages::multiviewShowPipPos(quint32, quint32) { }

void ReplyPages::multiviewShowPipSize(quint32, quint32) { }

void ReplyPages::multiviewShowAspect(quint32, quint32) { }

void ReplyPages::multiviewShowLayout(quint32, quint32) { }

void ReplyPages::multiviewFillLayoutList(quint32, quint32) { }

void ReplyPages::multiviewShowUserWindow(quint32, quint32, quint32, quint32, quint32) { }

void ReplyPages::multiviewShowSyncState(quint32) { }

void ReplyPages::multiviewRebuild() { }

void ReplyPages::multiviewRefresh() { }

void ReplyPages::multiviewReadState()
{
    const quint32 output = multiviewShownOutput();
    CmdGetMultiviewSync(output);
    CmdGetOutAudioSource(output);
    CmdGetVka(output);
    CmdGetItc(output);
    kickSend();
}

void ReplyPages::tvWallFill() { }

void ReplyPages::tvWallReadWall()
{
    CmdGetTvWallInfo();
    kickSend();
}

void ReplyPages::tvWallSelectRowsCols(quint32, quint32) { }

void ReplyPages::tvWallContentUpdated() { }

void ReplyPages::systemShowVersion(const QString &) { }

void ReplyPages::systemNetworkReply(const QString &, const QString &, const QString &, const QString &) { }

void ReplyPages::systemBaudReply(int) { }

void ReplyPages::systemRebuild() { }

void ReplyPages::systemReadLinkSettings()
{
    if (LinkMode == LinkModeTcp) {
        CmdGetNetworkInfo();
        kickSend();
    } else if (LinkMode == LinkModeSerial) {
        CmdGetBaudrate();
        // The serial page kicks twice; a second kick while a line is in flight does nothing.
        kickSend();
        kickSend();
    } else {
        kickSend();
    }
}
