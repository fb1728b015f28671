// The reply parser's pages without a window: what the GUI would show (signal information,
// versions, link settings, EDID texts, the status log) is collected here for the headless
// client to print, and the model check's verdict is recorded instead of shown.
#pragma once

#include "protocol/DeviceState.h"
#include "protocol/ReplyPages.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

class CliPages : public QObject, public ReplyPages
{
    Q_OBJECT

public:
    struct InputTexts {
        QString type;
        QString format;
        QString outputFormat;
        QString audio;
        bool infoSeen = false; // an IN-INFO reply arrived
    };
    struct OutputTexts {
        QString hdcp;
        QString inputFormat;
        QString resolution;
        bool infoSeen = false; // an OUT-INFO reply arrived
    };
    struct MultiviewSeen {
        bool sync = false;
        bool audioSource = false;
        bool vka = false;
        bool itc = false;
    };
    struct NetworkTexts {
        QString ip;
        QString port;
        QString mask;
        QString gateway;
    };

    explicit CliPages(QObject *parent = nullptr);

    // When off, the identification queues no read burst but its closing GET SYNC-OVER: a
    // single command needs only the model check and the port counts.
    void setReadDevice(bool on) { m_readDevice = on; }
    // Before another GET SYNC-OVER that marks the end of further reads.
    void clearSyncOver() { m_syncOver = false; }

    // ReplyPages
    void kickSend() override;
    void connectionAppendStatusLine(const QString &text) override;
    void connectionDisconnectActiveLink() override;
    void connectionSetStatusPicture(bool success) override;
    void showMachineNotMatch() override;
    void matrixSetRouteList(const QString &text) override;
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
    void signalReadAll() override;
    void multiviewShowVka(quint32 output, quint32 vka) override;
    void multiviewShowItc(quint32 output, quint32 itc) override;
    void multiviewShowAudioSource(quint32 output, quint32 source) override;
    void multiviewShowSyncState(quint32 output) override;
    void multiviewReadState() override;
    void tvWallReadWall() override;
    void tvWallContentUpdated() override;
    void systemShowVersion(const QString &text) override;
    void systemNetworkReply(
        const QString &ip, const QString &port, const QString &mask, const QString &gateway) override;
    void systemBaudReply(int baudrate) override;
    void systemReadLinkSettings() override;

    // What arrived.
    bool modelAccepted() const { return m_modelAccepted; }
    bool modelRefused() const { return m_modelRefused; }
    bool disconnectRequested() const { return m_disconnectRequested; }
    bool syncOver() const { return m_syncOver; }
    bool routesSeen() const { return m_routesSeen; }
    bool wallSeen() const { return m_wallSeen; }
    bool networkSeen() const { return m_networkSeen; }
    bool baudSeen() const { return m_baudSeen; }
    int versionCount() const { return m_versionCount; }
    QString versionText() const { return m_versionText; }
    const InputTexts &input(quint32 index) const { return m_inputs[ClampSlot(index)]; }
    const OutputTexts &output(quint32 index) const { return m_outputs[ClampSlot(index)]; }
    const MultiviewSeen &multiviewSeen(quint32 output) const { return m_multiviewSeen[ClampSlot(output)]; }
    const NetworkTexts &network() const { return m_network; }
    int baudRate() const { return m_baudRate; }
    // The last EDID text of an output and how many arrived for it.
    QString outEdid(quint32 output) const { return m_outEdid[ClampSlot(output)]; }
    int outEdidCount(quint32 output) const { return m_outEdidCount[ClampSlot(output)]; }
    const QStringList &statusLog() const { return m_statusLog; }

signals:
    void SGL_UpdateEmit();

private:
    bool m_readDevice = true;
    bool m_modelAccepted = false;
    bool m_modelRefused = false;
    bool m_disconnectRequested = false;
    bool m_syncOver = false;
    bool m_routesSeen = false;
    bool m_wallSeen = false;
    bool m_networkSeen = false;
    bool m_baudSeen = false;
    int m_versionCount = 0;
    QString m_versionText;
    std::array<InputTexts, MaxPorts> m_inputs;
    std::array<OutputTexts, MaxPorts> m_outputs;
    std::array<MultiviewSeen, MaxPorts> m_multiviewSeen;
    NetworkTexts m_network;
    int m_baudRate = 0;
    std::array<QString, MaxPorts> m_outEdid;
    std::array<int, MaxPorts> m_outEdidCount {};
    QStringList m_statusLog;
};
