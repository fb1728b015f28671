// What the reply parser does to the main window's pages: the core part (device state and
// queued queries) stays in ReplyPages, the pages add what they show. Operations of pages that
// show nothing yet keep the core part only.
#pragma once

#include "protocol/ReplyPages.h"

class Ui_Main;

class Ui_MainReplyPages : public ReplyPages
{
public:
    explicit Ui_MainReplyPages(Ui_Main &mainWindow);

    void kickSend() override;

    void connectionAppendStatusLine(const QString &text) override;
    void connectionDisconnectActiveLink() override;
    void connectionSetStatusPicture(bool success) override;
    void showMachineNotMatch() override;
    void connectionSyncOver() override;

    void matrixSetRoute(quint32 input, quint32 output) override;
    void matrixSetRouteList(const QString &text) override;
    void matrixRebuildIfConfirmed() override;
    void matrixRequestRoutes() override;
    void matrixInEdidMode(quint32 input, int mode) override;
    void matrixOutEdid(quint32 output, const QString &hexText) override;

    void signalInputFormat(quint32 input, const QString &text) override;
    void signalInputAudio(quint32 input, const QString &keyword) override;
    void signalInputType(quint32 input, const QString &text) override;
    void signalInputOutputFormat(quint32 input, const QString &text) override;
    void signalOutputType(quint32 output, const QString &keyword) override;
    void signalOutputInputFormat(quint32 output, const QString &text) override;
    void signalOutputResolution(quint32 output, const QString &keyword) override;
    void signalOutputConfirmed(quint32 output) override;
    void signalRebuildIfConfirmed() override;
    void signalReadAll() override;

    quint32 multiviewShownOutput() const override;
    void multiviewShowWindowInput(quint32 output, quint32 window, quint32 input) override;
    void multiviewShowMode(quint32 output, quint32 mode) override;
    void multiviewShowVka(quint32 output, quint32 vka) override;
    void multiviewShowItc(quint32 output, quint32 itc) override;
    void multiviewShowAudioSource(quint32 output, quint32 source) override;
    void multiviewShowPipPos(quint32 output, quint32 position) override;
    void multiviewShowPipSize(quint32 output, quint32 size) override;
    void multiviewShowAspect(quint32 output, quint32 aspect) override;
    void multiviewShowLayout(quint32 output, quint32 layout) override;
    void multiviewFillLayoutList(quint32 output, quint32 count) override;
    void multiviewShowUserWindow(
        quint32 output, quint32 hStart, quint32 vStart, quint32 hSize, quint32 vSize) override;
    void multiviewShowSyncState(quint32 output) override;
    void multiviewRebuild() override;
    void multiviewRefresh() override;
    void multiviewReadState() override;

    void tvWallFill() override;
    void tvWallReadWall() override;
    void tvWallSelectRowsCols(quint32 rows, quint32 cols) override;
    void tvWallContentUpdated() override;

    void systemShowVersion(const QString &text) override;
    void systemNetworkReply(
        const QString &ip, const QString &port, const QString &mask, const QString &gateway) override;
    void systemBaudReply(int baudrate) override;
    void systemRebuild() override;
    void systemReadLinkSettings() override;

private:
    Ui_Main &m_main;
};
