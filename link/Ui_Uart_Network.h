// The connection page: the operator chooses the link (RS232 or TCP), enters its parameters,
// connects and disconnects, and reads a status log. The page starts and stops the link
// services' worker threads and sends the model query once a link is open; the reply parser
// and the main window decide the rest of the identification.
#pragma once

#include "protocol/DiscoveryPlan.h"

#include <QDateTime>
#include <QWidget>
#include <array>
#include <optional>

class MyComboBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QNetworkAddressEntry;
class QPlainTextEdit;
class QPushButton;
class QSplitter;
class QThread;
struct DiscoveryResult;

class Ui_Uart_Network : public QWidget
{
    Q_OBJECT
public:
    // The page's own record of one link; Connect and Disconnect follow it, never a button text.
    enum class LinkState { NotConnected, Connecting, Open };

    explicit Ui_Uart_Network(QWidget *parent = nullptr);
    ~Ui_Uart_Network() override;

    LinkState serialLinkState() const { return m_serialState; }
    LinkState networkLinkState() const { return m_networkState; }
    // Whether a link is being opened or is open.
    bool LinkInUse() const;

    // Appends one line (with CR LF) at the end of the status log.
    void AppendStatusLine(const QString &text);
    // Runs the disconnect path of the selected link, if any.
    void DisconnectActiveLink();
    // Shows the link parameters kept in the settings again, and the buttons for LinkMode.
    void RefreshFromSettings();
    // Shows the success or the fail picture beside the status log.
    void SetStatusPicture(bool success);
    // A link in use was lost: runs the operator's disconnect path, logs the loss with the
    // local time and announces it (SGL_LinkLost). Returns false, with only the disconnect
    // path run, when no link was in use.
    bool DropLostLink(const QString &statusText);
    // A reason already known for the next loss of the link in use (after a factory reset the
    // device may listen on other settings): a failed reconnect then shows it instead of the
    // usual message. Empty: the usual message again. Forgotten when the link closes.
    void ExplainNextLinkLoss(const QString &reason) { m_nextLossReason = reason; }
    // The status log line of an event: the local time in brackets, then the text.
    static QString TimedStatusLine(const QDateTime &at, const QString &text);

    // The network parameter check made on connect (LinkSettingsRules.h): device IP, mask
    // and gateway as dotted quads, the device port from 1 to 65534.
    static bool NetworkParametersValid(
        const QString &ip, const QString &port, const QString &mask, const QString &gateway);
    // Four dot-separated decimal numbers from 0 to 255, without leading zeros or empty parts.
    static bool IsDottedQuad(const QString &text);
    // At most five digits, value from 1 to 65534.
    static bool IsDevicePort(const QString &text);
    // The four octets of a dotted text, each the value of the digits of its part (other
    // characters skipped); 0.0.0.0 unless the text holds exactly three dots.
    static std::array<quint32, 4> DottedOctets(const QString &text);
    // Whether a local address lies in the device's subnet, octet by octet.
    static bool InDeviceSubnet(const QString &localAddress, const QString &localNetmask,
        const QString &deviceIp, const QString &deviceMask);
    // Whether the local address list offers this address entry. A loopback address has no
    // broadcast address but is kept, so that a device reached through this computer itself
    // (a port forward, a serial-to-network bridge, a simulator) can be connected.
    static bool OffersLocalAddress(const QNetworkAddressEntry &entry, bool loopbackInterface,
        const QString &deviceIp, const QString &deviceMask);

    // The local address list's entry for a device that no local address shares a subnet with:
    // the connection is not bound and the system routes it.
    static constexpr int RoutedEntryRole = Qt::UserRole + 1;
    // The local address to bind to for an entry of the local address list: the address
    // before "<", or empty for the routed entry.
    static QString LocalAddressOfEntry(const QString &itemText, bool routedEntry);
    // A failed connect's message: the page's failure text and code, then the cause.
    static QString ConnectFailedMessage(const QString &failureText, int errorCode, const QString &cause);

    // The settings texts stored for the serial list choices.
    static QString DataBitSetting(const QString &text);
    static QString ParitySetting(const QString &text);
    static QString StopBitSetting(const QString &text);
    static QString FlowControlSetting(const QString &text);

    QSplitter *splitter = nullptr;

    QGroupBox *uartGroup = nullptr;
    QLabel *uartLabel = nullptr;
    MyComboBox *serialPortComboBox = nullptr;
    QLabel *baudRateLabel = nullptr;
    QComboBox *baudRateComboBox = nullptr;
    QLabel *dataBitLabel = nullptr;
    QComboBox *dataBitComboBox = nullptr;
    QLabel *parityLabel = nullptr;
    QComboBox *parityComboBox = nullptr;
    QLabel *stopBitLabel = nullptr;
    QComboBox *stopBitComboBox = nullptr;
    QLabel *flowControlLabel = nullptr;
    QComboBox *flowControlComboBox = nullptr;
    QPushButton *uartConnectButton = nullptr;

    QGroupBox *networkGroup = nullptr;
    QLabel *networkModeLabel = nullptr;
    QComboBox *networkModeComboBox = nullptr;
    QLabel *ipLabel = nullptr;
    QLineEdit *ipEdit = nullptr;
    QLabel *portLabel = nullptr;
    QLineEdit *portEdit = nullptr;
    QLabel *subMaskLabel = nullptr;
    QLineEdit *subMaskEdit = nullptr;
    QLabel *gatewayLabel = nullptr;
    QLineEdit *gatewayEdit = nullptr;
    QPushButton *networkConnectButton = nullptr;

    QGroupBox *myNetworkGroup = nullptr;
    QLabel *myIpv4Label = nullptr;
    MyComboBox *localIpComboBox = nullptr;
    QLabel *myPortLabel = nullptr;
    QLineEdit *localPortEdit = nullptr;

    QGroupBox *statusGroup = nullptr;
    QPlainTextEdit *statusLog = nullptr;
    QLabel *statusPicture = nullptr;
    QPushButton *clearButton = nullptr;
    QPushButton *findButton = nullptr;

    // What the Find dialog tries: the serial ports the system lists and the one typed, at
    // every rate; the local subnets, the typed device address, at the typed port and 2000.
    DiscoveryPlan FindPlan() const;
    // Instead of the machine's interfaces, the typed address and the serial ports: the only
    // networks and ports Find tries (tests give loopback ones, so that nothing leaves this
    // computer).
    void SetFindNetworks(const QList<Ipv4Subnet> &subnets, const QStringList &serialPorts);
    // Fills the fields of the link a found device answered on; connecting stays the operator's.
    void ApplyDiscoveredDevice(const DiscoveryResult &device);

signals:
    void SGL_PretendConnect_SerialPort(QString MyPortName, QString MyBaudRate, QString MyDataBit,
        QString MyParity, QString MyStopBit, QString MyFlowControl);
    void SGL_PretendConnect_TcpClient(QString LocalIp, QString RemoteIp, QString RemotePort);
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
    // An open link was lost (TCP reconnect failed, serial port gone, model query unanswered);
    // the pages now show the last known state.
    void SGL_LinkLost(const QDateTime &lostAt);
    // The TCP link was lost and silently reconnected; the device must be read again.
    void SGL_LinkReconnected();
    // The link in use was closed, by the operator or because it was lost.
    void SGL_LinkClosed();

public slots:
    void SLT_pushButton_UartConnect_clicked();
    void SLT_pushButton_NetworkConnect_clicked();
    void SLT_comboBox_GetVaildSerialPort();
    void SLT_comboBox_GetVaildLocalIp();
    void SLT_ConnectStatus_SerialPort(bool status, int ErrorCode);
    void SLT_ConnectStatus_TcpClient(bool status, int ErrorCode);
    void SLT_ReConnectStatus_TcpClient(bool status);
    void SLT_ClearStatus();
    void SLT_PortLost_SerialPort(const QString &portName);
    void SLT_ConnectFailure(int cause, const QString &systemText);
    void SLT_pushButton_Find_clicked();

private:
    void CreateWidgets();
    void CreateUartGroup();
    void CreateNetworkGroup();
    void CreateMyNetworkGroup();
    void CreateStatusGroup();
    void ArrangeGroups();
    void MakeConnections();
    void ConnectLinkServices();

    void Fill(bool firstTime);
    void FillFixedLists();
    void SetTexts();
    void AlignLabelColumns();
    void ShowButtonsForLinkMode();
    void ShowNetworkSettings();

    void ConnectSerial();
    void DisconnectSerial();
    bool AttemptNetworkConnect();
    void DisconnectNetwork();
    void ShowLinkFailed(const QString &message);

    void SetParameterWidgetsEnabled(bool enabled);
    void TakeChosenSerialPortName(int index);
    void RecordLinkEvent(const QString &text);
    static void StopWorkerThread(QThread *thread);

    LinkState m_serialState = LinkState::NotConnected;
    LinkState m_networkState = LinkState::NotConnected;
    QString m_nextLossReason;
    // The cause of the failed connect whose status comes next, from the link service.
    QString m_connectFailureCause;
    // The local address the operator picked last; chosen again whenever the list offers it.
    QString m_pickedLocalAddress;
    std::optional<QList<Ipv4Subnet>> m_findSubnets;
    std::optional<QStringList> m_findSerialPorts;
};
