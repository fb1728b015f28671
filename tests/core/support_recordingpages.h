// A ReplyPages that writes every call as one text line, such as "matrixSetRoute(1,0)", and
// otherwise keeps the core behaviour of the base class, so that tests can compare the exact
// sequence of page calls and the device state it leaves.
#pragma once

#include "protocol/ReplyPages.h"

#include <QStringList>

class RecordingPages : public ReplyPages
{
public:
    QStringList calls;
    quint32 shownOutput = 0;

    void kickSend() override { record(QStringLiteral("kickSend()")); }

    void connectionAppendStatusLine(const QString &text) override
    {
        record(QStringLiteral("appendStatusLine(%1)").arg(text));
    }
    void connectionDisconnectActiveLink() override
    {
        record(QStringLiteral("disconnectActiveLink()"));
        ReplyPages::connectionDisconnectActiveLink();
    }
    void connectionSetStatusPicture(bool success) override
    {
        record(QStringLiteral("setStatusPicture(%1)").arg(success ? 1 : 0));
    }
    void showMachineNotMatch() override { record(QStringLiteral("showMachineNotMatch()")); }

    void matrixSetRoute(quint32 input, quint32 output) override
    {
        record(QStringLiteral("matrixSetRoute(%1,%2)").arg(input).arg(output));
        ReplyPages::matrixSetRoute(input, output);
    }
    void matrixSetRouteList(const QString &text) override
    {
        record(QStringLiteral("matrixSetRouteList(%1)").arg(text));
        ReplyPages::matrixSetRouteList(text);
    }
    void matrixRebuildIfConfirmed() override { record(QStringLiteral("matrixRebuildIfConfirmed()")); }
    void matrixRequestRoutes() override
    {
        record(QStringLiteral("matrixRequestRoutes()"));
        ReplyPages::matrixRequestRoutes();
    }
    void matrixInEdidMode(quint32 input, int mode) override
    {
        record(QStringLiteral("matrixInEdidMode(%1,%2)").arg(input).arg(mode));
    }
    void matrixOutEdid(quint32 output, const QString &hexText) override
    {
        record(QStringLiteral("matrixOutEdid(%1,%2)").arg(output).arg(hexText));
    }

    void signalInputFormat(quint32 input, const QString &text) override
    {
        record(QStringLiteral("signalInputFormat(%1,%2)").arg(input).arg(text));
    }
    void signalInputAudio(quint32 input, const QString &keyword) override
    {
        record(QStringLiteral("signalInputAudio(%1,%2)").arg(input).arg(keyword));
    }
    void signalInputType(quint32 input, const QString &text) override
    {
        record(QStringLiteral("signalInputType(%1,%2)").arg(input).arg(text));
    }
    void signalInputOutputFormat(quint32 input, const QString &text) override
    {
        record(QStringLiteral("signalInputOutputFormat(%1,%2)").arg(input).arg(text));
    }
    void signalOutputType(quint32 output, const QString &keyword) override
    {
        record(QStringLiteral("signalOutputType(%1,%2)").arg(output).arg(keyword));
    }
    void signalOutputInputFormat(quint32 output, const QString &text) override
    {
        record(QStringLiteral("signalOutputInputFormat(%1,%2)").arg(output).arg(text));
    }
    void signalOutputResolution(quint32 output, const QString &keyword) override
    {
        record(QStringLiteral("signalOutputResolution(%1,%2)").arg(output).arg(keyword));
    }
    void signalOutputConfirmed(quint32 output) override
    {
        record(QStringLiteral("signalOutputConfirmed(%1)").arg(output));
    }
    void signalRebuildIfConfirmed() override { record(QStringLiteral("signalRebuildIfConfirmed()")); }
    void signalReadAll() override
    {
        record(QStringLiteral("signalReadAll()"));
        ReplyPages::signalReadAll();
    }

    quint32 multiviewShownOutput() const override { return shownOutput; }
    void multiviewShowWindowInput(quint32 output, quint32 window, quint32 input) override
    {
        record(QStringLiteral("multiviewShowWindowInput(%1,%2,%3)").arg(output).arg(window).arg(input));
    }
    void multiviewShowMode(quint32 output, quint32 mode) override
    {
        record(QStringLiteral("multiviewShowMode(%1,%2)").arg(output).arg(mode));
        ReplyPages::multiviewShowMode(output, mode);
    }
    void multiviewShowVka(quint32 output, quint32 vka) override
    {
        record(QStringLiteral("multiviewShowVka(%1,%2)").arg(output).arg(vka));
    }
    void multiviewShowItc(quint32 output, quint32 itc) override
    {
        record(QStringLiteral("multiviewShowItc(%1,%2)").arg(output).arg(itc));
    }
    void multiviewShowAudioSource(quint32 output, quint32 source) override
    {
        record(QStringLiteral("multiviewShowAudioSource(%1,%2)").arg(output).arg(source));
    }
    void multiviewShowPipPos(quint32 output, quint32 position) override
    {
        record(QStringLiteral("multiviewShowPipPos(%1,%2)").arg(output).arg(position));
    }
    void multiviewShowPipSize(quint32 output, quint32 size) override
    {
        record(QStringLiteral("multiviewShowPipSize(%1,%2)").arg(output).arg(size));
    }
    void multiviewShowAspect(quint32 output, quint32 aspect) override
    {
        record(QStringLiteral("multiviewShowAspect(%1,%2)").arg(output).arg(aspect));
    }
    void multiviewShowLayout(quint32 output, quint32 layout) override
    {
        record(QStringLiteral("multiviewShowLayout(%1,%2)").arg(output).arg(layout));
    }
    void multiviewFillLayoutList(quint32 output, quint32 count) override
    {
        record(QStringLiteral("multiviewFillLayoutList(%1,%2)").arg(output).arg(count));
    }
    void multiviewShowUserWindow(
        quint32 output, quint32 hStart, quint32 vStart, quint32 hSize, quint32 vSize) override
    {
        record(QStringLiteral("multiviewShowUserWindow(%1,%2,%3,%4,%5)")
                   .arg(output)
                   .arg(hStart)
                   .arg(vStart)
                   .arg(hSize)
                   .arg(vSize));
    }
    void multiviewShowSyncState(quint32 output) override
    {
        record(QStringLiteral("multiviewShowSyncState(%1)").arg(output));
    }
    void multiviewRebuild() override { record(QStringLiteral("multiviewRebuild()")); }
    void multiviewRefresh() override { record(QStringLiteral("multiviewRefresh()")); }
    void multiviewReadState() override
    {
        record(QStringLiteral("multiviewReadState()"));
        ReplyPages::multiviewReadState();
    }

    void tvWallFill() override { record(QStringLiteral("tvWallFill()")); }
    void tvWallReadWall() override
    {
        record(QStringLiteral("tvWallReadWall()"));
        ReplyPages::tvWallReadWall();
    }
    void tvWallSelectRowsCols(quint32 rows, quint32 cols) override
    {
        record(QStringLiteral("tvWallSelectRowsCols(%1,%2)").arg(rows).arg(cols));
    }
    void tvWallContentUpdated() override { record(QStringLiteral("tvWallContentUpdated()")); }

    void systemShowVersion(const QString &text) override
    {
        record(QStringLiteral("systemShowVersion(%1)").arg(text));
    }
    void systemNetworkReply(
        const QString &ip, const QString &port, const QString &mask, const QString &gateway) override
    {
        record(QStringLiteral("systemNetworkReply(%1,%2,%3,%4)").arg(ip, port, mask, gateway));
    }
    void systemBaudReply(int baudrate) override
    {
        record(QStringLiteral("systemBaudReply(%1)").arg(baudrate));
    }
    void systemRebuild() override { record(QStringLiteral("systemRebuild()")); }
    void systemReadLinkSettings() override
    {
        record(QStringLiteral("systemReadLinkSettings()"));
        ReplyPages::systemReadLinkSettings();
    }

private:
    void record(const QString &call) { calls.append(call); }
};
