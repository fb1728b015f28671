// Records, from the device's reply lines, what a backup needs beyond DeviceState: input audio,
// output HDCP, resolution, rotation, mute and freeze, the user windows, and the end mark of a
// read. It is a second listener: the lines it is given have already gone through the program's
// own parser, so it queues nothing and shows nothing, and the DeviceState changes the parser
// makes again for it are the same values once more.
#pragma once

#include "protocol/DeviceConfig.h"
#include "protocol/DeviceState.h"
#include "protocol/ReplyPages.h"

#include <QByteArray>
#include <array>

class ConfigReplyRecorder : public ReplyPages
{
public:
    ConfigReplyRecorder();

    // Hands one received line (CR included or not) to the parser for this recorder.
    void record(const QByteArray &line);
    // Forgets the user windows (another mode has none) and the end mark before a new read.
    void startRead();
    bool syncOver() const { return m_syncOver; }

    // DeviceState and what was recorded, as a backup holds it.
    DeviceConfig config() const;

    // ReplyPages: recording only.
    void kickSend() override { }
    void connectionAppendStatusLine(const QString &) override { }
    void showMachineNotMatch() override { }
    void connectionDisconnectActiveLink() override { }
    void connectionSyncOver() override { m_syncOver = true; }
    void matrixRequestRoutes() override { }
    void signalReadAll() override { }
    void multiviewReadState() override { }
    void multiviewShowMode(quint32 output, quint32 mode) override;
    void tvWallReadWall() override { }
    void systemReadLinkSettings() override { }
    void signalInputAudio(quint32 input, const QString &keyword) override;
    void signalOutputType(quint32 output, const QString &keyword) override;
    void signalOutputResolution(quint32 output, const QString &keyword) override;
    void signalOutputRotation(quint32 output, const QString &keyword) override;
    void signalOutputMute(quint32 output, const QString &keyword) override;
    void signalOutputFreeze(quint32 output, const QString &keyword) override;
    void multiviewShowUserWindow(
        quint32 output, quint32 hStart, quint32 vStart, quint32 hSize, quint32 vSize) override;

private:
    using Words = std::array<int, MaxPorts>;
    static Words Unknown();

    bool m_syncOver = false;
    Words m_inputAudio = Unknown();
    Words m_hdcp = Unknown();
    Words m_resolution = Unknown();
    Words m_rotation = Unknown();
    Words m_mute = Unknown();
    Words m_freeze = Unknown();
    std::array<bool, MaxPorts> m_userWindowSeen {};
    std::array<std::array<int, 4>, MaxPorts> m_userWindow {};
};
