// What the reply parser asks of the pages. The GUI, the headless client and the tests each
// provide one. Operations that change the device state or queue commands do so in their default
// here, so an override that only adds presentation calls the base first. Ports are 0-based;
// an output of 255 stands for all outputs where a route is concerned.
#pragma once

#include <QString>
#include <QtGlobal>

class ReplyPages
{
public:
    virtual ~ReplyPages();

    // The link service should try to send what is queued (a page's SGL_UpdateEmit).
    virtual void kickSend() = 0;

    // Connection page.
    // Adds one progress line to the status log (the log adds CR LF).
    virtual void connectionAppendStatusLine(const QString &text) = 0;
    // Drops the selected link; the disconnect path forgets the judged model reply.
    virtual void connectionDisconnectActiveLink();
    // Shows the success or failure picture beside the status log.
    virtual void connectionSetStatusPicture(bool success);
    // Tells the operator that the device is not the expected model (a message box).
    virtual void showMachineNotMatch() = 0;
    // The synchronisation burst ended ("Sync Over!"): what the pages show is live again.
    virtual void connectionSyncOver();

    // Matrix page.
    // Stores the route of one output (255: every output) and redraws its row.
    virtual void matrixSetRoute(quint32 input, quint32 output);
    // Routes output k to the k-th space-separated number of the text.
    virtual void matrixSetRouteList(const QString &text);
    // Builds the cross-point grid again for the current counts once the model is confirmed.
    virtual void matrixRebuildIfConfirmed();
    // Queues GET MATRIX-ROUTE and kicks the link.
    virtual void matrixRequestRoutes();
    // The EDID mode of an input arrived (forwarded to an open EDID dialog).
    virtual void matrixInEdidMode(quint32 input, int mode);
    // The EDID of an output's sink arrived as hexadecimal text (forwarded to an EDID dialog).
    virtual void matrixOutEdid(quint32 output, const QString &hexText);

    // Signal configuration page.
    // Shows the input's signal format (or the no-signal text).
    virtual void signalInputFormat(quint32 input, const QString &text);
    // Selects the input's audio source by its keyword.
    virtual void signalInputAudio(quint32 input, const QString &keyword);
    // Input type and input output format: reported, never shown.
    virtual void signalInputType(quint32 input, const QString &text);
    virtual void signalInputOutputFormat(quint32 input, const QString &text);
    // Selects the output's HDCP mode by its keyword.
    virtual void signalOutputType(quint32 output, const QString &keyword);
    // Shows the format of the signal the output receives.
    virtual void signalOutputInputFormat(quint32 output, const QString &text);
    // Selects the output's resolution by its keyword.
    virtual void signalOutputResolution(quint32 output, const QString &keyword);
    // A rotation, audio mute or freeze of the output was confirmed (stored in DeviceState).
    virtual void signalOutputConfirmed(quint32 output);
    // Rotation, audio mute and freeze of an output as the device confirmed them (a backup
    // reads them; no page shows them). Nothing by default.
    virtual void signalOutputRotation(quint32 output, const QString &keyword);
    virtual void signalOutputMute(quint32 output, const QString &keyword);
    virtual void signalOutputFreeze(quint32 output, const QString &keyword);
    // Builds the rows again for the current counts once the model is confirmed.
    virtual void signalRebuildIfConfirmed();
    // Queues GET INn IN-INFO for every input, then GET OUTn OUT-INFO for every output, with a
    // kick after each.
    virtual void signalReadAll();

    // Multiview page. Operations naming an output show something only for the shown output.
    // The output the page shows; the defaults below act for it.
    virtual quint32 multiviewShownOutput() const;
    // Marks the input a window of the output shows.
    virtual void multiviewShowWindowInput(quint32 output, quint32 window, quint32 input);
    // Shows the mode; for the shown output also queues its MULTIVIEW-SYNC query and kicks.
    virtual void multiviewShowMode(quint32 output, quint32 mode);
    virtual void multiviewShowVka(quint32 output, quint32 vka);
    virtual void multiviewShowItc(quint32 output, quint32 itc);
    virtual void multiviewShowAudioSource(quint32 output, quint32 source);
    virtual void multiviewShowPipPos(quint32 output, quint32 position);
    virtual void multiviewShowPipSize(quint32 output, quint32 size);
    virtual void multiviewShowAspect(quint32 output, quint32 aspect);
    virtual void multiviewShowLayout(quint32 output, quint32 layout);
    // Fills the layout list with count entries.
    virtual void multiviewFillLayoutList(quint32 output, quint32 count);
    // Shows the user window coordinates; nothing is stored.
    virtual void multiviewShowUserWindow(
        quint32 output, quint32 hStart, quint32 vStart, quint32 hSize, quint32 vSize);
    // Redraws everything of the output from DeviceState after a MULTIVIEW-SYNC reply.
    virtual void multiviewShowSyncState(quint32 output);
    // Refills the output list with the current output count.
    virtual void multiviewRebuild();
    // Shows the window and source rows that the shown output's mode and the input count need.
    virtual void multiviewRefresh();
    // Queues the shown output's MULTIVIEW-SYNC, AUDIO SOURCE, VKA and ITC queries and kicks.
    virtual void multiviewReadState();

    // TV wall page.
    // Fills the row, column and available lists once the model is confirmed.
    virtual void tvWallFill();
    // Queues GET TVWALL-INFO and kicks.
    virtual void tvWallReadWall();
    // Selects the wall size a reply named.
    virtual void tvWallSelectRowsCols(quint32 rows, quint32 cols);
    // DeviceState.wall changed: the wall display grid rebuilds from it.
    virtual void tvWallContentUpdated();

    // System page.
    virtual void systemShowVersion(const QString &text);
    virtual void systemNetworkReply(
        const QString &ip, const QString &port, const QString &mask, const QString &gateway);
    virtual void systemBaudReply(int baudrate);
    // Fills the firmware selector once the model is confirmed.
    virtual void systemRebuild();
    // Marks a link settings read as pending and queues the query of the selected link (network
    // info over TCP, baud rate over serial), then kicks.
    virtual void systemReadLinkSettings();
};
