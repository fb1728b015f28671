#include "shell/Ui_MainReplyPages.h"

#include "link/Ui_Uart_Network.h"
#include "pages/Ui_Matrix.h"
#include "pages/Ui_Multiview.h"
#include "pages/Ui_SignalConfig.h"
#include "pages/Ui_System.h"
#include "pages/Ui_TVWall.h"
#include "settings/LanguageTexts.h"
#include "shell/LinkHealthBanner.h"
#include "shell/MessageBoxes.h"
#include "shell/Ui_Main.h"

Ui_MainReplyPages::Ui_MainReplyPages(Ui_Main &mainWindow)
    : m_main(mainWindow)
{ }

void Ui_MainReplyPages::kickSend()
{
    emit m_main.SGL_UnifyUpdateEmit();
}

void Ui_MainReplyPages::connectionAppendStatusLine(const QString &text)
{
    m_main.connectionPage->AppendStatusLine(text);
}

void Ui_MainReplyPages::connectionDisconnectActiveLink()
{
    m_main.connectionPage->DisconnectActiveLink();
    ReplyPages::connectionDisconnectActiveLink();
}

void Ui_MainReplyPages::connectionSetStatusPicture(bool success)
{
    m_main.connectionPage->SetStatusPicture(success);
}

void Ui_MainReplyPages::connectionSyncOver()
{
    m_main.linkHealthBanner->HideLinkLost();
}

void Ui_MainReplyPages::showMachineNotMatch()
{
    MessageBoxOk(SMSG_MachineNotMatch, &m_main);
}

// The matrix page stores the route itself and redraws the rows concerned.
void Ui_MainReplyPages::matrixSetRoute(quint32 input, quint32 output)
{
    m_main.matrixPage->SetRoute(input, output);
}

void Ui_MainReplyPages::matrixSetRouteList(const QString &text)
{
    m_main.matrixPage->SetRouteList(text);
}

void Ui_MainReplyPages::matrixRebuildIfConfirmed()
{
    m_main.matrixPage->RebuildIfConfirmed();
}

void Ui_MainReplyPages::matrixRequestRoutes()
{
    m_main.matrixPage->RequestRoutes();
}

void Ui_MainReplyPages::matrixInEdidMode(quint32 input, int mode)
{
    emit m_main.matrixPage->SGL_Update_InEdidMode(input, mode);
}

void Ui_MainReplyPages::matrixOutEdid(quint32 output, const QString &hexText)
{
    emit m_main.matrixPage->SGL_Update_OutEdid(output, hexText);
}

// The signal configuration page shows these values; the parser keeps the settings among them.
void Ui_MainReplyPages::signalInputFormat(quint32 input, const QString &text)
{
    m_main.signalConfigPage->ShowInputFormat(input, text);
}

void Ui_MainReplyPages::signalInputAudio(quint32 input, const QString &keyword)
{
    m_main.signalConfigPage->ShowInputAudio(input, keyword);
}

void Ui_MainReplyPages::signalInputType(quint32 input, const QString &text)
{
    m_main.signalConfigPage->ShowInputType(input, text);
}

void Ui_MainReplyPages::signalInputOutputFormat(quint32 input, const QString &text)
{
    m_main.signalConfigPage->ShowInputOutputFormat(input, text);
}

void Ui_MainReplyPages::signalOutputType(quint32 output, const QString &keyword)
{
    m_main.signalConfigPage->ShowOutputType(output, keyword);
}

void Ui_MainReplyPages::signalOutputInputFormat(quint32 output, const QString &text)
{
    m_main.signalConfigPage->ShowOutputInputFormat(output, text);
}

void Ui_MainReplyPages::signalOutputResolution(quint32 output, const QString &keyword)
{
    m_main.signalConfigPage->ShowOutputResolution(output, keyword);
}

void Ui_MainReplyPages::signalOutputConfirmed(quint32 output)
{
    m_main.signalConfigPage->ShowConfirmedOutput(output);
}

void Ui_MainReplyPages::signalRebuildIfConfirmed()
{
    m_main.signalConfigPage->RebuildIfConfirmed();
}

void Ui_MainReplyPages::signalReadAll()
{
    m_main.signalConfigPage->ReadAll();
}

quint32 Ui_MainReplyPages::multiviewShownOutput() const
{
    return m_main.multiviewPage->ShownOutput();
}

void Ui_MainReplyPages::multiviewShowMode(quint32 output, quint32 mode)
{
    m_main.multiviewPage->ShowMode(output, mode);
}

void Ui_MainReplyPages::multiviewShowWindowInput(quint32 output, quint32 window, quint32 input)
{
    m_main.multiviewPage->ShowWindowInput(output, window, input);
}

void Ui_MainReplyPages::multiviewShowVka(quint32 output, quint32 vka)
{
    m_main.multiviewPage->ShowVka(output, vka);
}

void Ui_MainReplyPages::multiviewShowItc(quint32 output, quint32 itc)
{
    m_main.multiviewPage->ShowItc(output, itc);
}

void Ui_MainReplyPages::multiviewShowAudioSource(quint32 output, quint32 source)
{
    m_main.multiviewPage->ShowAudioSource(output, source);
}

void Ui_MainReplyPages::multiviewShowPipPos(quint32 output, quint32 position)
{
    m_main.multiviewPage->ShowPipPos(output, position);
}

void Ui_MainReplyPages::multiviewShowPipSize(quint32 output, quint32 size)
{
    m_main.multiviewPage->ShowPipSize(output, size);
}

void Ui_MainReplyPages::multiviewShowAspect(quint32 output, quint32 aspect)
{
    m_main.multiviewPage->ShowAspect(output, aspect);
}

void Ui_MainReplyPages::multiviewShowLayout(quint32 output, quint32 layout)
{
    m_main.multiviewPage->ShowLayout(output, layout);
}

void Ui_MainReplyPages::multiviewFillLayoutList(quint32 output, quint32 count)
{
    m_main.multiviewPage->FillLayoutList(output, count);
}

void Ui_MainReplyPages::multiviewShowUserWindow(
    quint32 output, quint32 hStart, quint32 vStart, quint32 hSize, quint32 vSize)
{
    m_main.multiviewPage->ShowUserWindow(output, hStart, vStart, hSize, vSize);
}

void Ui_MainReplyPages::multiviewShowSyncState(quint32 output)
{
    m_main.multiviewPage->ShowSyncState(output);
}

void Ui_MainReplyPages::multiviewRebuild()
{
    m_main.multiviewPage->Rebuild();
}

void Ui_MainReplyPages::multiviewRefresh()
{
    m_main.multiviewPage->Refresh();
}

void Ui_MainReplyPages::multiviewReadState()
{
    m_main.multiviewPage->ReadState();
}

void Ui_MainReplyPages::tvWallFill()
{
    m_main.tvWallPage->Fill();
}

void Ui_MainReplyPages::tvWallReadWall()
{
    m_main.tvWallPage->ReadWall();
}

void Ui_MainReplyPages::tvWallSelectRowsCols(quint32 rows, quint32 cols)
{
    m_main.tvWallPage->SelectRowsCols(rows, cols);
}

void Ui_MainReplyPages::tvWallContentUpdated()
{
    emit m_main.tvWallPage->SGL_UpdateContent_TvWall();
}

void Ui_MainReplyPages::systemShowVersion(const QString &text)
{
    m_main.systemPage->ShowVersion(text);
}

void Ui_MainReplyPages::systemNetworkReply(
    const QString &ip, const QString &port, const QString &mask, const QString &gateway)
{
    m_main.systemPage->NetworkReply(ip, port, mask, gateway);
}

void Ui_MainReplyPages::systemBaudReply(int baudrate)
{
    m_main.systemPage->BaudReply(baudrate);
}

void Ui_MainReplyPages::systemRebuild()
{
    m_main.systemPage->Rebuild();
}

void Ui_MainReplyPages::systemReadLinkSettings()
{
    m_main.systemPage->ReadLinkSettings();
}
