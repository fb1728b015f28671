// The connection page: the operator chooses the link (RS232 or TCP), enters its parameters,
// connects and disconnects, and reads a status log. The page starts and stops the link
// services' worker threads and sends the model query once a link is open; the reply parser
// and the main window decide the rest of the identification.
#pragma once

#include <QWidget>
#include <array>

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

class Ui_Uart_Network : public QWidget
{
    Q_OBJECT
public:
    explicit Ui_Uart_Network(QWidget *parent = nullptr);
    ~Ui_Uart_Network() override;

    // Appends one line (with CR LF) at the end of the status log.
    void AppendStatusLine(const QString &text);
    // Runs the disconnect path of the selected link, if any.
    void DisconnectActiveLink();
    // Shows the link parameters kept in the settings again, and the buttons for LinkMode.
    void RefreshFromSettings();
    // Shows the success or the fail picture beside the status log.
    void SetStatusPicture(bool success);

    // The network parameter check made on connect (LinkSettingsRules.h): device IP, mask
    // and gateway as dotted quads, the device port from 1 to 65534.
    static bool NetworkParametersValid(
        const QString &ip, const QString &port, const QString &mask, const QString &gateway);
    // Exactly three dots, digits otherwise, every part at most 255 (an empty part is 0).
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

signals:
    void SGL_PretendConnect_SerialPort(QString MyPortName, QString MyBaudRate, QString MyDataBit,
        QString MyParity, QString MyStopBit, QString MyFlowControl);
    void SGL_PretendConnect_TcpClient(QString LocalIp, QString RemoteIp, QString RemotePort);
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();

public slots:
    void SLT_pushButton_UartConnect_clicked();
    void SLT_pushButton_NetworkConnect_clicked();
    void SLT_comboBox_GetVaildSerialPort();
    void SLT_comboBox_GetVaildLocalIp();
    void SLT_ConnectStatus_SerialPort(bool status, int ErrorCode);
    void SLT_ConnectStatus_TcpClient(bool status, int ErrorCode);
    void SLT_ReConnectStatus_TcpClient(bool status);
    void SLT_ClearStatus();

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
    void ShowLinkFailed(QPushButton *linkButton, QPushButton *otherButton, const QString &message);

    void SetParameterWidgetsEnabled(bool enabled);
    static bool ShowsConnect(const QPushButton *button);
    static void StopWorkerThread(QThread *thread);
};
