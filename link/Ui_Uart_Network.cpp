#include "link/Ui_Uart_Network.h"

#include "link/LinkConnectFailure.h"
#include "link/LinkMode.h"
#include "link/LinkSerialPortList.h"
#include "link/Ui_Discovery.h"
#include "protocol/DiscoveryResult.h"
#include "link/LinkSettingsRules.h"
#include "link/LinkServices.h"
#include "link/ServiceSerialPort.h"
#include "link/ServiceTcpClient.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/MessageBoxes.h"
#include "shell/MyComboBox.h"
#include "shell/PngResave.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAddressEntry>
#include <QNetworkInterface>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTextCursor>
#include <QThread>
#include <QVBoxLayout>

namespace {

constexpr int StatusLogMaximumLines = 400;
constexpr int WorkerThreadWaitMs = 2000;
constexpr int StatusPictureSize = 64;
constexpr int ParameterColumnWidth = 380;
// The code the TCP link reports with every failed connect.
constexpr int NetworkConnectFailedCode = 5;

const QStringList DataBits { "5", "6", "7", "8" };
const QStringList Parities { "None", "Even", "Odd", "Space", "Mark" };
const QStringList StopBits { "1", "1.5", "2" };
const QStringList FlowControls { "None", "Hardware", "Software" };
const QStringList NetworkModes { "TCP-Client", "TCP-Server", "UDP" };
const QString LocalPortText = QStringLiteral("1001");

QString SuccessPicturePath()
{
    return ConfigFile_AppDir() + QStringLiteral("/APP/Image/success.png");
}

QString FailPicturePath()
{
    return ConfigFile_AppDir() + QStringLiteral("/APP/Image/fail.png");
}

void FillList(QComboBox *comboBox, const QStringList &items, const QString &selected)
{
    comboBox->clear();
    comboBox->addItems(items);
    comboBox->setCurrentIndex(items.indexOf(selected));
}

// Picks the entry whose text equals the given one; no equal entry leaves the choice alone.
void SelectEqualEntry(QComboBox *comboBox, const QString &text)
{
    const int index = comboBox->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        comboBox->setCurrentIndex(index);
}

bool IsDecimalDigit(QChar character)
{
    return character >= QLatin1Char('0') && character <= QLatin1Char('9');
}

// A group box with its labels and fields in two columns and its button, if any, at the
// bottom right.
QGridLayout *NewFieldGrid(QGroupBox *group)
{
    auto *grid = new QGridLayout(group);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    grid->setContentsMargins(12, 16, 12, 12);
    return grid;
}

void AddField(QGridLayout *grid, QLabel *label, QWidget *field)
{
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(field, row, 1);
}

// The device's own port when nobody changed it.
constexpr quint16 DefaultDevicePort = 2000;

QStringList ListedSerialPortNames()
{
    QStringList names;
    for (const LinkSerialPortList::Port &port : LinkSerialPortList::Available())
        names.append(port.name);
    return names;
}

void AddButton(QGridLayout *grid, QPushButton *button)
{
    button->setMinimumWidth(120);
    grid->addWidget(button, grid->rowCount(), 1, Qt::AlignRight);
}

} // namespace

Ui_Uart_Network::Ui_Uart_Network(QWidget *parent)
    : QWidget(parent)
{
    CreateWidgets();
    ArrangeGroups();
    MoveLinkServicesToThreads();
    MakeConnections();
    ConnectLinkServices();
    Fill(true);
    SLT_comboBox_GetVaildLocalIp();
}

// The link's worker thread ends with the page; LinkMode and the buttons stay as they are.
Ui_Uart_Network::~Ui_Uart_Network()
{
    if (LinkMode == LinkModeTcp)
        StopWorkerThread(g_ThreadTcpClient);
    else if (LinkMode == LinkModeSerial)
        StopWorkerThread(g_ThreadSerialPort);
    SetParameterWidgetsEnabled(true);
}

void Ui_Uart_Network::CreateWidgets()
{
    CreateUartGroup();
    CreateNetworkGroup();
    CreateMyNetworkGroup();
    CreateStatusGroup();
}

void Ui_Uart_Network::CreateUartGroup()
{
    uartGroup = new QGroupBox;
    uartLabel = new QLabel(uartGroup);
    serialPortComboBox = new MyComboBox(uartGroup);
    // Any path can be typed (a pseudo-terminal, a symlink); the list offers what the system
    // knows. No completion: it would add a listed port's description to what is typed.
    serialPortComboBox->setEditable(true);
    serialPortComboBox->setInsertPolicy(QComboBox::NoInsert);
    serialPortComboBox->setCompleter(nullptr);
    baudRateLabel = new QLabel(uartGroup);
    baudRateComboBox = new QComboBox(uartGroup);
    dataBitLabel = new QLabel(uartGroup);
    dataBitComboBox = new QComboBox(uartGroup);
    parityLabel = new QLabel(uartGroup);
    parityComboBox = new QComboBox(uartGroup);
    stopBitLabel = new QLabel(uartGroup);
    stopBitComboBox = new QComboBox(uartGroup);
    flowControlLabel = new QLabel(uartGroup);
    flowControlComboBox = new QComboBox(uartGroup);
    uartConnectButton = new QPushButton(uartGroup);
    uartConnectButton->setObjectName(QStringLiteral("UartConnectButton"));

    QGridLayout *grid = NewFieldGrid(uartGroup);
    AddField(grid, uartLabel, serialPortComboBox);
    AddField(grid, baudRateLabel, baudRateComboBox);
    AddField(grid, dataBitLabel, dataBitComboBox);
    AddField(grid, parityLabel, parityComboBox);
    AddField(grid, stopBitLabel, stopBitComboBox);
    AddField(grid, flowControlLabel, flowControlComboBox);
    AddButton(grid, uartConnectButton);
}

void Ui_Uart_Network::CreateNetworkGroup()
{
    networkGroup = new QGroupBox;
    networkModeLabel = new QLabel(networkGroup);
    networkModeComboBox = new QComboBox(networkGroup);
    ipLabel = new QLabel(networkGroup);
    ipEdit = new QLineEdit(networkGroup);
    portLabel = new QLabel(networkGroup);
    portEdit = new QLineEdit(networkGroup);
    subMaskLabel = new QLabel(networkGroup);
    subMaskEdit = new QLineEdit(networkGroup);
    gatewayLabel = new QLabel(networkGroup);
    gatewayEdit = new QLineEdit(networkGroup);
    networkConnectButton = new QPushButton(networkGroup);
    networkConnectButton->setObjectName(QStringLiteral("NetworkConnectButton"));

    QGridLayout *grid = NewFieldGrid(networkGroup);
    AddField(grid, networkModeLabel, networkModeComboBox);
    AddField(grid, ipLabel, ipEdit);
    AddField(grid, portLabel, portEdit);
    AddField(grid, subMaskLabel, subMaskEdit);
    AddField(grid, gatewayLabel, gatewayEdit);
    AddButton(grid, networkConnectButton);
}

void Ui_Uart_Network::CreateMyNetworkGroup()
{
    myNetworkGroup = new QGroupBox;
    myIpv4Label = new QLabel(myNetworkGroup);
    localIpComboBox = new MyComboBox(myNetworkGroup);
    myPortLabel = new QLabel(myNetworkGroup);
    localPortEdit = new QLineEdit(myNetworkGroup);
    findButton = new QPushButton(myNetworkGroup);
    findButton->setObjectName(QStringLiteral("FindButton"));

    QGridLayout *grid = NewFieldGrid(myNetworkGroup);
    AddField(grid, myIpv4Label, localIpComboBox);
    AddField(grid, myPortLabel, localPortEdit);
    AddButton(grid, findButton);
}

void Ui_Uart_Network::CreateStatusGroup()
{
    statusGroup = new QGroupBox;
    statusLog = new QPlainTextEdit(statusGroup);
    statusPicture = new QLabel(statusGroup);
    statusPicture->setFixedSize(StatusPictureSize, StatusPictureSize);
    clearButton = new QPushButton(statusGroup);

    auto *grid = new QGridLayout(statusGroup);
    grid->setContentsMargins(12, 16, 12, 12);
    grid->setHorizontalSpacing(12);
    grid->addWidget(statusLog, 0, 0, 2, 1);
    grid->addWidget(statusPicture, 0, 1, Qt::AlignTop | Qt::AlignHCenter);
    grid->addWidget(clearButton, 1, 1, Qt::AlignBottom);
    grid->setRowStretch(0, 1);
}

// Link parameters on the left, the status log with the rest of the width on the right.
void Ui_Uart_Network::ArrangeGroups()
{
    auto *parameterColumn = new QWidget;
    auto *column = new QVBoxLayout(parameterColumn);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    column->addWidget(uartGroup);
    column->addWidget(networkGroup);
    column->addWidget(myNetworkGroup);
    column->addStretch(1);

    splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(parameterColumn);
    splitter->addWidget(statusGroup);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({ ParameterColumnWidth, 3 * ParameterColumnWidth });

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(splitter);
}

void Ui_Uart_Network::MakeConnections()
{
    connect(
        uartConnectButton, &QPushButton::clicked, this, &Ui_Uart_Network::SLT_pushButton_UartConnect_clicked);
    connect(networkConnectButton, &QPushButton::clicked, this,
        &Ui_Uart_Network::SLT_pushButton_NetworkConnect_clicked);
    connect(serialPortComboBox, &MyComboBox::SGL_Auto_UpdateComboBox, this,
        &Ui_Uart_Network::SLT_comboBox_GetVaildSerialPort);
    connect(localIpComboBox, &MyComboBox::SGL_Auto_UpdateComboBox, this,
        &Ui_Uart_Network::SLT_comboBox_GetVaildLocalIp);
    connect(serialPortComboBox, QOverload<int>::of(&QComboBox::activated), this,
        &Ui_Uart_Network::TakeChosenSerialPortName);
    connect(localIpComboBox, QOverload<int>::of(&QComboBox::activated), this,
        [this](int index) { m_pickedLocalAddress = localIpComboBox->itemText(index); });
    connect(clearButton, &QPushButton::clicked, this, &Ui_Uart_Network::SLT_ClearStatus);
    connect(findButton, &QPushButton::clicked, this, &Ui_Uart_Network::SLT_pushButton_Find_clicked);
    // A connect binds to an address of the device's subnet, so the list follows the device.
    connect(ipEdit, &QLineEdit::textChanged, this, &Ui_Uart_Network::SLT_comboBox_GetVaildLocalIp);
    connect(subMaskEdit, &QLineEdit::textChanged, this, &Ui_Uart_Network::SLT_comboBox_GetVaildLocalIp);
}

// The services live in their worker threads: every call across goes queued.
void Ui_Uart_Network::ConnectLinkServices()
{
    connect(this, &Ui_Uart_Network::SGL_PretendConnect_SerialPort, g_ServiceSerialPort,
        &ServiceSerialPort::SLT_SyncConnect_SerialPort, Qt::QueuedConnection);
    connect(this, &Ui_Uart_Network::SGL_PretendConnect_TcpClient, g_ServiceTcpClient,
        &ServiceTcpClient::SLT_SyncConnect_TcpClient, Qt::QueuedConnection);
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_ConnectStatus_SerialPort, this,
        &Ui_Uart_Network::SLT_ConnectStatus_SerialPort, Qt::QueuedConnection);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_ConnectStatus_TcpClient, this,
        &Ui_Uart_Network::SLT_ConnectStatus_TcpClient, Qt::QueuedConnection);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_ReConnectStatus_TcpClient, this,
        &Ui_Uart_Network::SLT_ReConnectStatus_TcpClient, Qt::QueuedConnection);
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_PortLost_SerialPort, this,
        &Ui_Uart_Network::SLT_PortLost_SerialPort, Qt::QueuedConnection);
    // Queued as the status that follows it, so the cause is there when the status arrives.
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_ConnectFailure_SerialPort, this,
        &Ui_Uart_Network::SLT_ConnectFailure, Qt::QueuedConnection);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_ConnectFailure_TcpClient, this,
        &Ui_Uart_Network::SLT_ConnectFailure, Qt::QueuedConnection);
}

void Ui_Uart_Network::Fill(bool firstTime)
{
    SetTexts();
    if (firstTime) {
        serialPortComboBox->clear();
        FillFixedLists();
        statusLog->clear();
        statusLog->setReadOnly(true);
        statusLog->setWordWrapMode(QTextOption::WrapAnywhere);
        statusLog->setMaximumBlockCount(StatusLogMaximumLines);
        localIpComboBox->clear();
        localPortEdit->setEnabled(false);
        localPortEdit->hide();
        myPortLabel->hide();
        uartConnectButton->setText(S_ConnectDisconnect[0]);
        networkConnectButton->setText(S_ConnectDisconnect[0]);
        SetStatusPicture(false);
    } else {
        serialPortComboBox->clear();
        serialPortComboBox->addItem(SP_Name);
        SelectEqualEntry(baudRateComboBox, SP_BaudRate);
        ShowButtonsForLinkMode();
    }
    ShowNetworkSettings();
}

void Ui_Uart_Network::FillFixedLists()
{
    FillList(baudRateComboBox, LinkBaudRateTexts(), QStringLiteral("9600"));
    FillList(dataBitComboBox, DataBits, QStringLiteral("8"));
    FillList(parityComboBox, Parities, QStringLiteral("None"));
    FillList(stopBitComboBox, StopBits, QStringLiteral("1"));
    FillList(flowControlComboBox, FlowControls, QStringLiteral("None"));
    FillList(networkModeComboBox, NetworkModes, NetworkModes.at(1));
    // Only 8N1 without flow control is offered, and the device is always the server.
    dataBitComboBox->setEnabled(false);
    parityComboBox->setEnabled(false);
    stopBitComboBox->setEnabled(false);
    flowControlComboBox->setEnabled(false);
    networkModeComboBox->setEnabled(false);
}

void Ui_Uart_Network::SetTexts()
{
    uartGroup->setTitle(SgroupBox_Uart);
    uartLabel->setText(Slabel_Uart);
    baudRateLabel->setText(Slabel_Baudrate);
    dataBitLabel->setText(Slabel_DataBit);
    parityLabel->setText(Slabel_Parity);
    stopBitLabel->setText(Slabel_StopBit);
    flowControlLabel->setText(Slabel_FlowControl);
    networkGroup->setTitle(SgroupBox_Network);
    networkModeLabel->setText(Slabel_Network);
    ipLabel->setText(Slabel_Ip);
    portLabel->setText(Slabel_Port);
    subMaskLabel->setText(Slabel_SubMask);
    gatewayLabel->setText(Slabel_Gateway);
    myNetworkGroup->setTitle(SgroupBox_MyNetwork);
    myIpv4Label->setText(Slabel_MyIpv4);
    myPortLabel->setText(Slabel_MyPort);
    statusGroup->setTitle(SgroupBox_Status);
    clearButton->setText(S_Clear);
    findButton->setText(SpushButton_Find);
    AlignLabelColumns();
}

// The three parameter groups share one label width, so that their fields line up.
void Ui_Uart_Network::AlignLabelColumns()
{
    const QList<QLabel *> labels { uartLabel, baudRateLabel, dataBitLabel, parityLabel, stopBitLabel,
        flowControlLabel, networkModeLabel, ipLabel, portLabel, subMaskLabel, gatewayLabel, myIpv4Label,
        myPortLabel };
    int width = 0;
    for (const QLabel *label : labels)
        width = qMax(width, label->sizeHint().width());
    for (QGroupBox *group : { uartGroup, networkGroup, myNetworkGroup }) {
        if (auto *grid = qobject_cast<QGridLayout *>(group->layout()))
            grid->setColumnMinimumWidth(0, width);
    }
}

void Ui_Uart_Network::ShowButtonsForLinkMode()
{
    uartConnectButton->setText(S_ConnectDisconnect[LinkMode == LinkModeSerial ? 1 : 0]);
    networkConnectButton->setText(S_ConnectDisconnect[LinkMode == LinkModeTcp ? 1 : 0]);
}

void Ui_Uart_Network::ShowNetworkSettings()
{
    ipEdit->setText(SP_RemoteIp);
    portEdit->setText(SP_RemotePort);
    subMaskEdit->setText(SP_RemoteSubmask);
    gatewayEdit->setText(SP_RemoteGateway);
    localPortEdit->setText(LocalPortText);
}

void Ui_Uart_Network::AppendStatusLine(const QString &text)
{
    statusLog->moveCursor(QTextCursor::End);
    statusLog->insertPlainText(text + QStringLiteral("\r\n"));
}

// The operator's disconnect path of the selected link. A selected link that is not in use
// (it cannot be, as the page selects a link only for an attempt it starts) is only forgotten.
void Ui_Uart_Network::DisconnectActiveLink()
{
    if (LinkMode == LinkModeTcp && m_networkState != LinkState::NotConnected) {
        DisconnectNetwork();
        return;
    }
    if (LinkMode == LinkModeSerial && m_serialState != LinkState::NotConnected) {
        DisconnectSerial();
        return;
    }
    if (LinkMode == LinkModeNone)
        return;
    LinkMode = LinkModeNone;
    DeviceState.modelReplyHandled = false;
    uartConnectButton->setEnabled(true);
    networkConnectButton->setEnabled(true);
}

bool Ui_Uart_Network::LinkInUse() const
{
    return m_serialState != LinkState::NotConnected || m_networkState != LinkState::NotConnected;
}

bool Ui_Uart_Network::DropLostLink(const QString &statusText)
{
    const bool wasInUse = LinkInUse();
    DisconnectActiveLink();
    if (!wasInUse)
        return false;
    const QDateTime lostAt = QDateTime::currentDateTime();
    AppendStatusLine(TimedStatusLine(lostAt, statusText));
    emit SGL_LinkLost(lostAt);
    return true;
}

QString Ui_Uart_Network::TimedStatusLine(const QDateTime &at, const QString &text)
{
    return QLatin1Char('[') + at.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("] ") + text;
}

void Ui_Uart_Network::RecordLinkEvent(const QString &text)
{
    AppendStatusLine(TimedStatusLine(QDateTime::currentDateTime(), text));
}

void Ui_Uart_Network::RefreshFromSettings()
{
    Fill(false);
}

void Ui_Uart_Network::SetStatusPicture(bool success)
{
    ResavePngImage(SuccessPicturePath());
    ResavePngImage(FailPicturePath());
    const QString path = success ? SuccessPicturePath() : FailPicturePath();
    if (!QFileInfo::exists(path))
        return;
    statusPicture->setPixmap(QPixmap::fromImage(QImage(path)));
    statusPicture->setScaledContents(true);
}

bool Ui_Uart_Network::NetworkParametersValid(
    const QString &ip, const QString &port, const QString &mask, const QString &gateway)
{
    return LinkNetworkParametersValid(ip, port, mask, gateway);
}

bool Ui_Uart_Network::IsDottedQuad(const QString &text)
{
    return LinkIsDottedQuad(text);
}

bool Ui_Uart_Network::IsDevicePort(const QString &text)
{
    return LinkIsDevicePort(text);
}

std::array<quint32, 4> Ui_Uart_Network::DottedOctets(const QString &text)
{
    std::array<quint32, 4> octets { 0, 0, 0, 0 };
    if (text.count(QLatin1Char('.')) != 3)
        return octets;
    int part = 0;
    for (const QChar character : text) {
        if (character == QLatin1Char('.'))
            ++part;
        else if (IsDecimalDigit(character))
            octets[part] = octets[part] * 10 + quint32(character.unicode() - '0');
    }
    return octets;
}

bool Ui_Uart_Network::InDeviceSubnet(const QString &localAddress, const QString &localNetmask,
    const QString &deviceIp, const QString &deviceMask)
{
    const std::array<quint32, 4> local = DottedOctets(localAddress);
    const std::array<quint32, 4> localMask = DottedOctets(localNetmask);
    const std::array<quint32, 4> device = DottedOctets(deviceIp);
    const std::array<quint32, 4> mask = DottedOctets(deviceMask);
    for (int i = 0; i < 4; ++i) {
        if ((local[i] & localMask[i]) != (device[i] & mask[i]))
            return false;
    }
    return true;
}

bool Ui_Uart_Network::OffersLocalAddress(const QNetworkAddressEntry &entry, bool loopbackInterface,
    const QString &deviceIp, const QString &deviceMask)
{
    if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    const QString address = entry.ip().toString();
    const QString netmask = entry.netmask().toString();
    if (address.isEmpty() || netmask.isEmpty())
        return false;
    if (entry.broadcast().toString().isEmpty() && !loopbackInterface)
        return false;
    return InDeviceSubnet(address, netmask, deviceIp, deviceMask);
}

QString Ui_Uart_Network::LocalAddressOfEntry(const QString &itemText, bool routedEntry)
{
    if (routedEntry)
        return QString();
    return itemText.left(itemText.indexOf(QLatin1Char('<')));
}

QString Ui_Uart_Network::ConnectFailedMessage(const QString &failureText, int errorCode, const QString &cause)
{
    return failureText + QString::number(errorCode) + QLatin1Char('\n') + cause;
}

QString Ui_Uart_Network::DataBitSetting(const QString &text)
{
    return DataBits.contains(text) ? text : QStringLiteral("8");
}

QString Ui_Uart_Network::ParitySetting(const QString &text)
{
    // The serial port's own numbering: no parity 0, even 2, odd 3, space 4, mark 5.
    static const QStringList settings { "0", "2", "3", "4", "5" };
    const int index = Parities.indexOf(text);
    return index < 0 ? QStringLiteral("0") : settings.at(index);
}

QString Ui_Uart_Network::StopBitSetting(const QString &text)
{
    // One and a half stop bits are 3 in the serial port's numbering.
    static const QStringList settings { "1", "3", "2" };
    const int index = StopBits.indexOf(text);
    return index < 0 ? QStringLiteral("1") : settings.at(index);
}

QString Ui_Uart_Network::FlowControlSetting(const QString &text)
{
    const int index = FlowControls.indexOf(text);
    return QString::number(index < 0 ? 0 : index);
}

void Ui_Uart_Network::SLT_pushButton_UartConnect_clicked()
{
    if (m_serialState == LinkState::NotConnected)
        ConnectSerial();
    else
        DisconnectSerial();
}

void Ui_Uart_Network::ConnectSerial()
{
    LinkMode = LinkModeSerial;
    m_connectFailureCause.clear();
    SP_Name = serialPortComboBox->currentText();
    SP_BaudRate = baudRateComboBox->currentText();
    SP_DataBit = DataBitSetting(dataBitComboBox->currentText());
    SP_Parity = ParitySetting(parityComboBox->currentText());
    SP_StopBit = StopBitSetting(stopBitComboBox->currentText());
    SP_FlowControl = FlowControlSetting(flowControlComboBox->currentText());
    m_serialState = LinkState::Connecting;
    SetParameterWidgetsEnabled(false);
    g_ThreadSerialPort->start();
    emit SGL_PretendConnect_SerialPort(
        SP_Name, SP_BaudRate, SP_DataBit, SP_Parity, SP_StopBit, SP_FlowControl);
    uartConnectButton->setText(S_ConnectDisconnect[1]);
    networkConnectButton->setEnabled(false);
}

void Ui_Uart_Network::DisconnectSerial()
{
    m_serialState = LinkState::NotConnected;
    SetParameterWidgetsEnabled(true);
    SetStatusPicture(false);
    StopWorkerThread(g_ThreadSerialPort);
    LinkMode = LinkModeNone;
    uartConnectButton->setText(S_ConnectDisconnect[0]);
    DeviceState.modelReplyHandled = false;
    networkConnectButton->setEnabled(true);    m_nextLossReason.clear();
    emit SGL_LinkClosed();
}

// A refused attempt leaves no link selected, so that nothing pushed meanwhile waits for a
// later connection and goes out ahead of its identification.
void Ui_Uart_Network::SLT_pushButton_NetworkConnect_clicked()
{
    if (m_networkState != LinkState::NotConnected) {
        DisconnectNetwork();
        return;
    }
    const bool connecting = AttemptNetworkConnect();
    networkConnectButton->setText(S_ConnectDisconnect[connecting ? 1 : 0]);
    uartConnectButton->setEnabled(!connecting);
}

bool Ui_Uart_Network::AttemptNetworkConnect()
{
    if (!NetworkParametersValid(ipEdit->text(), portEdit->text(), subMaskEdit->text(), gatewayEdit->text())) {
        MessageBoxOk(SMSG_Network_Param_Fail, this);
        return false;
    }
    SLT_comboBox_GetVaildLocalIp();
    if (localIpComboBox->currentIndex() < 0) {
        MessageBoxOk(ConnectFailedMessage(SMSG_Network_Connect_Fail, NetworkConnectFailedCode,
                         LinkConnectFailure::Text(LinkConnectFailure::TcpBindFailed, QString())),
            this);
        return false;
    }
    SP_RemoteIp = ipEdit->text();
    SP_RemotePort = portEdit->text();
    SP_RemoteSubmask = subMaskEdit->text();
    SP_RemoteGateway = gatewayEdit->text();
    const QString localIp = LocalAddressOfEntry(localIpComboBox->currentText(),
        localIpComboBox->currentData(RoutedEntryRole).toBool());
    LinkMode = LinkModeTcp;
    m_connectFailureCause.clear();
    m_networkState = LinkState::Connecting;
    SetParameterWidgetsEnabled(false);
    g_ThreadTcpClient->start();
    emit SGL_PretendConnect_TcpClient(localIp, SP_RemoteIp, SP_RemotePort);
    return true;
}

void Ui_Uart_Network::DisconnectNetwork()
{
    m_networkState = LinkState::NotConnected;
    SetParameterWidgetsEnabled(true);
    SetStatusPicture(false);
    StopWorkerThread(g_ThreadTcpClient);
    LinkMode = LinkModeNone;
    networkConnectButton->setText(S_ConnectDisconnect[0]);
    DeviceState.modelReplyHandled = false;
    uartConnectButton->setEnabled(true);    m_nextLossReason.clear();
    emit SGL_LinkClosed();
}

// Every port the system knows, described; what was typed stays in the field.
void Ui_Uart_Network::SLT_comboBox_GetVaildSerialPort()
{
    const QString typed = serialPortComboBox->currentText();
    serialPortComboBox->clear();
    for (const LinkSerialPortList::Port &port : LinkSerialPortList::Available())
        serialPortComboBox->addItem(LinkSerialPortList::DisplayText(port), port.name);
    serialPortComboBox->setCurrentIndex(-1);
    serialPortComboBox->setEditText(typed);
}

// A port taken from the list is opened by its name, without the description shown beside it.
void Ui_Uart_Network::TakeChosenSerialPortName(int index)
{
    const QString name = serialPortComboBox->itemData(index).toString();
    if (!name.isEmpty())
        serialPortComboBox->setEditText(name);
}

// The address the operator picked, else the one chosen before, stays chosen while the list
// still offers it. A device outside every local subnet is reached through the system's route.
void Ui_Uart_Network::SLT_comboBox_GetVaildLocalIp()
{
    const QString deviceIp = ipEdit->text();
    const QString deviceMask = subMaskEdit->text();
    const QString chosen = localIpComboBox->currentText();
    localIpComboBox->clear();
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &networkInterface : interfaces) {
        const bool loopback = networkInterface.flags().testFlag(QNetworkInterface::IsLoopBack);
        const QList<QNetworkAddressEntry> entries = networkInterface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            if (!OffersLocalAddress(entry, loopback, deviceIp, deviceMask))
                continue;
            localIpComboBox->addItem(entry.ip().toString() + QLatin1Char('<')
                + networkInterface.humanReadableName() + QLatin1Char('>'));
        }
    }
    if (localIpComboBox->count() == 0) {
        localIpComboBox->addItem(ScomboBox_AnyRouted);
        localIpComboBox->setItemData(0, true, RoutedEntryRole);
    }
    SelectEqualEntry(localIpComboBox, chosen);
    SelectEqualEntry(localIpComboBox, m_pickedLocalAddress);
}

// A result that arrives when the page no longer waits for one (the operator disconnected
// meanwhile) belongs to an attempt that is over and is ignored.
void Ui_Uart_Network::SLT_ConnectStatus_SerialPort(bool status, int ErrorCode)
{
    if (m_serialState != LinkState::Connecting)
        return;
    if (status) {
        m_serialState = LinkState::Open;
        CmdGetModelType();
        emit SGL_UpdateEmit();
        return;
    }
    ShowLinkFailed(ConnectFailedMessage(SMSG_SerialPort_Connect_Fail, ErrorCode, m_connectFailureCause));
}

void Ui_Uart_Network::SLT_ConnectStatus_TcpClient(bool status, int ErrorCode)
{
    if (m_networkState != LinkState::Connecting)
        return;
    if (status) {
        m_networkState = LinkState::Open;
        CmdGetModelType();
        emit SGL_UpdateEmit();
        return;
    }
    ShowLinkFailed(ConnectFailedMessage(SMSG_Network_Connect_Fail, ErrorCode, m_connectFailureCause));
}

void Ui_Uart_Network::SLT_ConnectFailure(int cause, const QString &systemText)
{
    m_connectFailureCause = LinkConnectFailure::Text(LinkConnectFailure::Cause(cause), systemText);
}

// The disconnect path has put both buttons back to usable and the widgets to enabled.
void Ui_Uart_Network::ShowLinkFailed(const QString &message)
{
    DisconnectActiveLink();
    MessageBoxOk(message, this);
}

void Ui_Uart_Network::SLT_ReConnectStatus_TcpClient(bool status)
{
    if (m_networkState != LinkState::Open)
        return;
    if (status) {
        RecordLinkEvent(SMSG_Status_NetworkReconnected);
        emit SGL_LinkReconnected();
        return;
    }
    const QString message = m_nextLossReason.isEmpty() ? SMSG_Network_ReConnect_Fail : m_nextLossReason;
    DropLostLink(SMSG_Status_NetworkLost);
    MessageBoxOk(message, this);
}

// The worker has closed the port already; the page follows as at the operator's Disconnect.
void Ui_Uart_Network::SLT_PortLost_SerialPort(const QString &portName)
{
    if (m_serialState == LinkState::NotConnected)
        return;
    DropLostLink(SMSG_Status_SerialPortLost + portName);
    MessageBoxOk(SMSG_SerialPort_Lost + portName, this);
}

void Ui_Uart_Network::SLT_ClearStatus()
{
    statusLog->clear();
}

void Ui_Uart_Network::SetParameterWidgetsEnabled(bool enabled)
{
    serialPortComboBox->setEnabled(enabled);
    baudRateComboBox->setEnabled(enabled);
    ipEdit->setEnabled(enabled);
    portEdit->setEnabled(enabled);
    subMaskEdit->setEnabled(enabled);
    gatewayEdit->setEnabled(enabled);
    localIpComboBox->setEnabled(enabled);
    localPortEdit->setEnabled(enabled);
    findButton->setEnabled(enabled);
}

DiscoveryPlan Ui_Uart_Network::FindPlan() const
{
    DiscoveryPlan plan;
    plan.serialPorts = m_findSerialPorts ? *m_findSerialPorts : ListedSerialPortNames();
    const QString typedPort = serialPortComboBox->currentText().trimmed();
    if (!m_findSerialPorts && !typedPort.isEmpty() && !plan.serialPorts.contains(typedPort))
        plan.serialPorts.append(typedPort);
    plan.subnets = m_findSubnets ? *m_findSubnets : Ipv4Subnet::OfInterfaces(QNetworkInterface::allInterfaces());
    if (!m_findSubnets)
        plan.extraHosts = QStringList { ipEdit->text().trimmed() };
    const quint16 typedTcpPort = quint16(portEdit->text().toUInt());
    plan.tcpPorts = { typedTcpPort, quint16(DefaultDevicePort) };
    return plan;
}

void Ui_Uart_Network::SetFindNetworks(const QList<Ipv4Subnet> &subnets, const QStringList &serialPorts)
{
    m_findSubnets = subnets;
    m_findSerialPorts = serialPorts;
}

void Ui_Uart_Network::SLT_pushButton_Find_clicked()
{
    auto *dialog = new Ui_Discovery(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &Ui_Discovery::SGL_DeviceChosen, this, &Ui_Uart_Network::ApplyDiscoveredDevice);
    dialog->Start(FindPlan());
    dialog->open();
}

void Ui_Uart_Network::ApplyDiscoveredDevice(const DiscoveryResult &device)
{
    // A link in use keeps its settings; the fields are locked until it is closed.
    if (!serialPortComboBox->isEnabled())
        return;
    if (device.link == DiscoveryResult::Link::Serial) {
        serialPortComboBox->setEditText(device.serialPath);
        const int rate = baudRateComboBox->findText(QString::number(device.baudRate));
        if (rate >= 0)
            baudRateComboBox->setCurrentIndex(rate);
        return;
    }
    ipEdit->setText(device.address);
    portEdit->setText(QString::number(device.port));
    // The local address list follows the device's address; it picks the address to bind.
    SLT_comboBox_GetVaildLocalIp();
}

// Ends the worker thread's event loop; its finished() closes the link inside the thread.
void Ui_Uart_Network::StopWorkerThread(QThread *thread)
{
    StopLinkThread(thread, WorkerThreadWaitMs);
}
