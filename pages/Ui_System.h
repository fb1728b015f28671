// The system page: the device's factory reset, its firmware versions (main board, keyboard, one
// input or one output), its RS232 baud rate and its network settings, each read from the device
// and written to it. A control only queues its command; what the page shows comes back through
// the reply parser, which calls the Show... and ...Reply operations below.
#pragma once

#include "protocol/LinkSettingsRequests.h"

#include <QTimer>
#include <QWidget>

class MyComboBox;
class Ui_ConfigBackup;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class Ui_System : public QWidget
{
    Q_OBJECT
public:
    // How long the device is given to restart after a reset before the pages read it again.
    static constexpr int ResetSettleMs = 1500;

    explicit Ui_System(QWidget *parent = nullptr);

    // Sets every text of the page again from the language table and shows the stored link
    // settings; the first time also prepares the lists. Unless noRebuild, rebuilds as well.
    void Retranslate(bool firstTime, bool noRebuild);
    // Once the model is confirmed: fills the firmware selector with its four kinds.
    void Rebuild();
    // Asks the device for the settings of the link in use (network info over TCP, baud rate
    // over RS232), recorded as a read so that its reply is shown quietly.
    void ReadLinkSettings();

    // Replies.
    void ShowVersion(const QString &text);
    // Stores the device's network settings; when they answer a write, also tells the operator
    // what happens to the link.
    void NetworkReply(const QString &ip, const QString &port, const QString &mask, const QString &gateway);
    // The same for the baud rate; a rate the device does not offer is ignored.
    void BaudReply(int baudrate);
    // Whether the last network or baud reply answered a write that changed the parameters of
    // the link in use, which must then be dropped (a baud rate over TCP, or a write of the
    // values the device already had, leaves the link alone).
    bool LastReplyChangedLinkInUse() const { return m_lastReplyChangedLinkInUse; }
    // A command got no reply in time. True when it was this page's read after a factory reset,
    // which this page has then answered itself (the link is closed, one message says why); any
    // other link-settings request just ends, and the controls show the stored values again.
    bool AnswersReplyTimeout(const QString &command);

    // The link-settings requests in flight; a reply is matched to the one that caused it.
    LinkSettingsRequests linkSettingsRequests;

    QGroupBox *deviceGroup = nullptr;
    QGroupBox *rs232Group = nullptr;
    QGroupBox *networkGroup = nullptr;

    QLabel *resetLabel = nullptr;
    QPushButton *resetButton = nullptr;
    QLabel *firmwareLabel = nullptr;
    MyComboBox *firmwareComboBox = nullptr;
    MyComboBox *portComboBox = nullptr;
    QLineEdit *versionEdit = nullptr;
    QLabel *baudLabel = nullptr;
    MyComboBox *baudComboBox = nullptr; // sends nothing itself, but a stray wheel turn must not change what Write sends
    QPushButton *rs232ReadButton = nullptr;
    QPushButton *rs232WriteButton = nullptr;
    QLabel *ipLabel = nullptr;
    QLabel *portLabel = nullptr;
    QLabel *maskLabel = nullptr;
    QLabel *gatewayLabel = nullptr;
    QLineEdit *ipEdit = nullptr;
    QLineEdit *portEdit = nullptr;
    QLineEdit *maskEdit = nullptr;
    QLineEdit *gatewayEdit = nullptr;
    QPushButton *networkReadButton = nullptr;
    QPushButton *networkWriteButton = nullptr;
    QFrame *cutLine = nullptr;
    Ui_ConfigBackup *configBackup = nullptr; // Backup… and Restore… beside the reset button
    // Runs once a reset has been sent; when it fires the device has had its time to restart
    // and the pages read it again (the main window connects to it).
    QTimer resetSettleTimer;

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
    // The device answered with its network or baud-rate settings.
    void SGL_SyncSerialPortNetworkInfo();
    // After a factory reset: the read that looks for the device went out; the device
    // answered it (the pages read everything again); it did not (the link must be closed).
    void SGL_AwaitingDeviceAfterReset();
    void SGL_DeviceBackAfterReset();
    void SGL_DeviceSilentAfterReset();

public slots:
    void SLT_SetResetDevice(bool checked);
    void SLT_GetFirmwareVersion(int index);
    void SLT_GetFirmwareVersion_ByPort(int index);
    void SLT_Network_Write();
    void SLT_Network_Read();
    void SLT_RS232_Write();
    void SLT_RS232_Read();
    // The link was closed or lost: nothing asked on it will be answered any more.
    void SLT_LinkClosed();

private:
    void CreateWidgets();
    void LayOut();
    void MakeConnections();
    void PlacePortListBesideSelector();
    void PlaceVersionField(const QWidget *leftNeighbour);
    void FillPortList(quint32 count);
    void ShowNetworkSettings();
    void TellLinkSettingsWritten(bool linkDropped);
    void FillFirmwareKinds();
    void ShowStoredLinkSettings();
    // Queues the read or write of a topic's settings and records it, when a link takes it.
    void RecordRequest(LinkSettingsRequests::Topic topic, LinkSettingsRequests::Kind kind, bool afterReset = false);
    void ReadLinkSettings(bool afterReset);
    void SendResetProbe();
    // The request a reply of this topic answers; handles what it means for the link.
    void AnswerLinkSettingsReply(LinkSettingsRequests::Topic topic, const QStringList &values);

    bool m_lastReplyChangedLinkInUse = false;
};
