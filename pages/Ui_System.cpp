#include "pages/Ui_System.h"

#include "pages/Ui_ConfigBackup.h"

#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/LinkSettingsRules.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/MessageBoxes.h"
#include "shell/MyComboBox.h"

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int PageMargin = 20;
constexpr int RowHeight = 26;
// Each control sits this far to the right of its neighbour.
constexpr int Neighbour = 5;
constexpr int RowGap = 10;
constexpr int GroupLeft = 15;
// Below the group title.
constexpr int GroupTop = 32;
constexpr int GroupBottom = 18;
constexpr int LabelWidth = 130;
constexpr int ButtonWidth = 90;
constexpr int SelectorWidth = 120;
constexpr int PortListWidth = 80;
constexpr int VersionFieldWidth = 120;
constexpr int FieldWidth = 170;
constexpr int CutLineWidth = 20;
constexpr int LinkGroupWidth = GroupLeft + LabelWidth + Neighbour + ButtonWidth + Neighbour + ButtonWidth + GroupLeft;

enum FirmwareKind : int { FirmwareMain = 0, FirmwareKeyboard = 1, FirmwareInput = 2, FirmwareOutput = 3 };
constexpr int FirmwareKindCount = 4;
// The port argument of a query that names no port.
constexpr quint32 NoPort = 255;

int RowY(int row)
{
    return GroupTop + row * (RowHeight + RowGap);
}

int GroupHeight(int rows)
{
    return RowY(rows - 1) + RowHeight + GroupBottom;
}

void PlaceRow(QLabel *label, QWidget *control, int row, int controlWidth)
{
    label->setGeometry(GroupLeft, RowY(row), LabelWidth, RowHeight);
    control->setGeometry(label->x() + LabelWidth + Neighbour, RowY(row), controlWidth, RowHeight);
}

// The read and write buttons of a link group, under its controls.
void PlaceButtons(QPushButton *read, QPushButton *write, int row)
{
    read->setGeometry(GroupLeft + LabelWidth + Neighbour, RowY(row), ButtonWidth, RowHeight);
    write->setGeometry(read->x() + ButtonWidth + Neighbour, RowY(row), ButtonWidth, RowHeight);
}

void SetFieldText(QLineEdit *field, const QString &text)
{
    field->clear();
    field->setText(text);
}

} // namespace

Ui_System::Ui_System(QWidget *parent)
    : QWidget(parent)
{
    CreateWidgets();
    LayOut();
    configBackup = new Ui_ConfigBackup(deviceGroup, resetButton);
    connect(configBackup, &Ui_ConfigBackup::SGL_UpdateEmit, this, &Ui_System::SGL_UpdateEmit);
    resetSettleTimer.setSingleShot(true);
    resetSettleTimer.setInterval(ResetSettleMs);
    Retranslate(true, false);
    MakeConnections();
    connect(&resetSettleTimer, &QTimer::timeout, this, &Ui_System::SendResetProbe);
}

void Ui_System::CreateWidgets()
{
    deviceGroup = new QGroupBox(this);
    rs232Group = new QGroupBox(this);
    networkGroup = new QGroupBox(this);

    resetLabel = new QLabel(deviceGroup);
    resetButton = new QPushButton(deviceGroup);
    resetButton->setObjectName(QStringLiteral("SystemResetButton"));
    firmwareLabel = new QLabel(deviceGroup);
    firmwareComboBox = new MyComboBox(deviceGroup);
    portComboBox = new MyComboBox(deviceGroup);
    versionEdit = new QLineEdit(deviceGroup);
    baudLabel = new QLabel(rs232Group);
    baudComboBox = new MyComboBox(rs232Group);
    rs232ReadButton = new QPushButton(rs232Group);
    rs232WriteButton = new QPushButton(rs232Group);
    ipLabel = new QLabel(networkGroup);
    portLabel = new QLabel(networkGroup);
    maskLabel = new QLabel(networkGroup);
    gatewayLabel = new QLabel(networkGroup);
    ipEdit = new QLineEdit(networkGroup);
    portEdit = new QLineEdit(networkGroup);
    maskEdit = new QLineEdit(networkGroup);
    gatewayEdit = new QLineEdit(networkGroup);
    networkReadButton = new QPushButton(networkGroup);
    networkWriteButton = new QPushButton(networkGroup);
    cutLine = new QFrame(this);
    cutLine->setObjectName(QStringLiteral("Communication_CutLine"));
    cutLine->setFrameShape(QFrame::VLine);
    cutLine->setFrameShadow(QFrame::Sunken);

    // The device writes the version; the operator only reads it.
    versionEdit->setReadOnly(true);
}

void Ui_System::LayOut()
{
    const int linkGroupsY = PageMargin + GroupHeight(2) + PageMargin;
    const int linkGroupHeight = GroupHeight(5);
    rs232Group->setGeometry(PageMargin, linkGroupsY, LinkGroupWidth, linkGroupHeight);
    cutLine->setGeometry(rs232Group->x() + LinkGroupWidth + Neighbour, linkGroupsY, CutLineWidth, linkGroupHeight);
    networkGroup->setGeometry(cutLine->x() + CutLineWidth + Neighbour, linkGroupsY, LinkGroupWidth, linkGroupHeight);
    deviceGroup->setGeometry(
        PageMargin, PageMargin, networkGroup->x() + LinkGroupWidth - PageMargin, GroupHeight(2));

    PlaceRow(resetLabel, resetButton, 0, ButtonWidth);
    PlaceRow(firmwareLabel, firmwareComboBox, 1, SelectorWidth);
    PlacePortListBesideSelector();
    PlaceVersionField(firmwareComboBox);

    PlaceRow(baudLabel, baudComboBox, 0, SelectorWidth);
    PlaceButtons(rs232ReadButton, rs232WriteButton, 1);

    PlaceRow(ipLabel, ipEdit, 0, FieldWidth);
    PlaceRow(portLabel, portEdit, 1, FieldWidth);
    PlaceRow(maskLabel, maskEdit, 2, FieldWidth);
    PlaceRow(gatewayLabel, gatewayEdit, 3, FieldWidth);
    PlaceButtons(networkReadButton, networkWriteButton, 4);
}

void Ui_System::MakeConnections()
{
    connect(resetButton, &QPushButton::clicked, this, &Ui_System::SLT_SetResetDevice);
    connect(firmwareComboBox, QOverload<int>::of(&QComboBox::activated), this, &Ui_System::SLT_GetFirmwareVersion);
    connect(portComboBox, QOverload<int>::of(&QComboBox::activated), this, &Ui_System::SLT_GetFirmwareVersion_ByPort);
    connect(networkWriteButton, &QPushButton::clicked, this, &Ui_System::SLT_Network_Write);
    connect(networkReadButton, &QPushButton::clicked, this, &Ui_System::SLT_Network_Read);
    connect(rs232WriteButton, &QPushButton::clicked, this, &Ui_System::SLT_RS232_Write);
    connect(rs232ReadButton, &QPushButton::clicked, this, &Ui_System::SLT_RS232_Read);
}

void Ui_System::PlacePortListBesideSelector()
{
    portComboBox->setGeometry(
        firmwareComboBox->x() + firmwareComboBox->width() + Neighbour, firmwareComboBox->y(), PortListWidth, RowHeight);
}

void Ui_System::PlaceVersionField(const QWidget *leftNeighbour)
{
    versionEdit->setGeometry(
        leftNeighbour->x() + leftNeighbour->width() + Neighbour, leftNeighbour->y(), VersionFieldWidth, RowHeight);
}

void Ui_System::Retranslate(bool firstTime, bool noRebuild)
{
    if (firstTime) {
        versionEdit->clear();
        versionEdit->setFocusPolicy(Qt::NoFocus);
        baudComboBox->clear();
        baudComboBox->addItems(LinkBaudRateTexts());
        portComboBox->hide();
    }
    deviceGroup->setTitle(SgroupBox_Device);
    rs232Group->setTitle(SgroupBox_Uart);
    networkGroup->setTitle(SgroupBox_Network);
    resetLabel->setText(Slabel_Reset);
    resetButton->setText(S_ResetDevice);
    configBackup->Retranslate();
    firmwareLabel->setText(Slabel_FirmwareVersion);
    baudLabel->setText(Slabel_Baudrate);
    // A language switch relabels the kinds in place, so the chosen kind stays chosen.
    if (firmwareComboBox->count() == FirmwareKindCount) {
        for (int kind = 0; kind < FirmwareKindCount; ++kind)
            firmwareComboBox->setItemText(kind, ScomboBox_FirmwareVersion[kind]);
    }
    rs232ReadButton->setText(S_ReadWrite[0]);
    rs232WriteButton->setText(S_ReadWrite[1]);
    ipLabel->setText(Slabel_Ip);
    portLabel->setText(Slabel_Port);
    maskLabel->setText(Slabel_SubMask);
    gatewayLabel->setText(Slabel_Gateway);
    ShowStoredLinkSettings();
    networkReadButton->setText(S_ReadWrite[0]);
    networkWriteButton->setText(S_ReadWrite[1]);
    if (!noRebuild)
        Rebuild();
}

// The baud list and the network fields show what the device last reported (or what the
// operator connected with), never a choice the device did not take.
void Ui_System::ShowStoredLinkSettings()
{
    const int baudIndex = baudComboBox->findText(SP_BaudRate);
    if (baudIndex >= 0)
        baudComboBox->setCurrentIndex(baudIndex);
    ShowNetworkSettings();
}

void Ui_System::ShowNetworkSettings()
{
    SetFieldText(ipEdit, SP_RemoteIp);
    SetFieldText(portEdit, SP_RemotePort);
    SetFieldText(maskEdit, SP_RemoteSubmask);
    SetFieldText(gatewayEdit, SP_RemoteGateway);
}

void Ui_System::Rebuild()
{
    if (DeviceState.modelUnconfirmed)
        return;
    // A refill after a link-settings reply keeps the kind the operator chose, so the selector
    // and the port list beside it keep telling the same story.
    const int chosenKind = firmwareComboBox->currentIndex();
    FillFirmwareKinds();
    if (chosenKind > 0 && chosenKind < FirmwareKindCount)
        firmwareComboBox->setCurrentIndex(chosenKind);
    for (QWidget *widget : { static_cast<QWidget *>(ipLabel), static_cast<QWidget *>(portLabel),
             static_cast<QWidget *>(maskLabel), static_cast<QWidget *>(gatewayLabel),
             static_cast<QWidget *>(ipEdit), static_cast<QWidget *>(portEdit),
             static_cast<QWidget *>(maskEdit), static_cast<QWidget *>(gatewayEdit),
             static_cast<QWidget *>(networkReadButton), static_cast<QWidget *>(networkWriteButton) })
        widget->show();
}

void Ui_System::FillFirmwareKinds()
{
    firmwareComboBox->clear();
    for (int kind = 0; kind < FirmwareKindCount; ++kind)
        firmwareComboBox->addItem(ScomboBox_FirmwareVersion[kind]);
}

void Ui_System::ReadLinkSettings()
{
    ReadLinkSettings(false);
}

void Ui_System::ReadLinkSettings(bool afterReset)
{
    using Requests = LinkSettingsRequests;
    if (LinkMode == LinkModeTcp) {
        RecordRequest(Requests::Topic::Network, Requests::Kind::Read, afterReset);
        emit SGL_UpdateEmit();
    } else if (LinkMode == LinkModeSerial) {
        RecordRequest(Requests::Topic::BaudRate, Requests::Kind::Read, afterReset);
        // A second kick while the line is in flight changes nothing.
        emit SGL_UpdateEmit();
        emit SGL_UpdateEmit();
    } else {
        emit SGL_UpdateEmit();
    }
}

void Ui_System::RecordRequest(LinkSettingsRequests::Topic topic, LinkSettingsRequests::Kind kind, bool afterReset)
{
    using Requests = LinkSettingsRequests;
    // The builders queue these lines whenever a link is selected and open; nothing else is
    // ever answered.
    const LinkQueue *queue = SelectedLinkQueue();
    const bool linkTakesLine = queue && queue->isActive();
    Requests::Request request;
    request.topic = topic;
    request.kind = kind;
    request.link = LinkMode;
    request.afterReset = afterReset;
    if (topic == Requests::Topic::Network) {
        request.before = QStringList { SP_RemoteIp, SP_RemotePort, SP_RemoteSubmask, SP_RemoteGateway };
        if (kind == Requests::Kind::Read)
            CmdGetNetworkInfo();
        else
            CmdSetNetworkInfo(ipEdit->text(), portEdit->text(), maskEdit->text(), gatewayEdit->text());
    } else {
        request.before = QStringList { SP_BaudRate };
        if (kind == Requests::Kind::Read)
            CmdGetBaudrate();
        else
            CmdSetBaudrate(baudComboBox->currentText().toInt());
    }
    if (linkTakesLine)
        linkSettingsRequests.add(request);
}

void Ui_System::SLT_SetResetDevice(bool checked)
{
    Q_UNUSED(checked)
    if (!MessageBoxYesNo(SMSG_ResetMessage, this))
        return;
    CmdReset();
    emit SGL_UpdateEmit();
    // The device answers nothing it could be waited for by; give it time to come back with
    // its factory settings, then look whether it answers before every page reads it again.
    resetSettleTimer.start();
}

// The factory settings may include other link settings than the ones in use: one read first,
// and only when it is answered the rest; unanswered, the link is closed with one message
// instead of a time-out for every page's read.
void Ui_System::SendResetProbe()
{
    if (LinkMode == LinkModeNone)
        return;
    emit SGL_AwaitingDeviceAfterReset();
    ReadLinkSettings(true);
}

void Ui_System::SLT_GetFirmwareVersion(int index)
{
    Q_UNUSED(index)
    // By position: the texts change with the language, the kinds do not.
    const int chosen = firmwareComboBox->currentIndex();
    for (int kind = 0; kind < FirmwareKindCount; ++kind) {
        if (kind != chosen)
            continue;
        versionEdit->clear();
        PlacePortListBesideSelector();
        if (kind == FirmwareInput || kind == FirmwareOutput) {
            PlaceVersionField(portComboBox);
            portComboBox->show();
            // The operator picks the port next; that sends the query.
            FillPortList(kind == FirmwareInput ? DeviceState.inputCount : DeviceState.outputCount);
        } else {
            PlaceVersionField(firmwareComboBox);
            portComboBox->hide();
            CmdGetVersion(quint32(kind), NoPort);
            emit SGL_UpdateEmit();
        }
    }
}

void Ui_System::FillPortList(quint32 count)
{
    portComboBox->clear();
    for (quint32 port = 1; port <= count; ++port)
        portComboBox->addItem(QString::number(port));
}

void Ui_System::SLT_GetFirmwareVersion_ByPort(int index)
{
    Q_UNUSED(index)
    const int kind = firmwareComboBox->currentIndex();
    const int port = portComboBox->currentIndex();
    if (kind < 0 || port < 0)
        return;
    versionEdit->clear();
    CmdGetVersion(quint32(kind), quint32(port));
    emit SGL_UpdateEmit();
}

void Ui_System::SLT_Network_Write()
{
    const QString ip = ipEdit->text();
    const QString port = portEdit->text();
    const QString mask = maskEdit->text();
    const QString gateway = gatewayEdit->text();
    if (!LinkNetworkParametersValid(ip, port, mask, gateway)) {
        MessageBoxOk(SMSG_Network_Param_Fail, this);
        return;
    }
    RecordRequest(LinkSettingsRequests::Topic::Network, LinkSettingsRequests::Kind::Write);
    emit SGL_UpdateEmit();
}

void Ui_System::SLT_Network_Read()
{
    RecordRequest(LinkSettingsRequests::Topic::Network, LinkSettingsRequests::Kind::Read);
    emit SGL_UpdateEmit();
}

void Ui_System::SLT_RS232_Write()
{
    RecordRequest(LinkSettingsRequests::Topic::BaudRate, LinkSettingsRequests::Kind::Write);
    emit SGL_UpdateEmit();
}

void Ui_System::SLT_RS232_Read()
{
    RecordRequest(LinkSettingsRequests::Topic::BaudRate, LinkSettingsRequests::Kind::Read);
    emit SGL_UpdateEmit();
}

void Ui_System::SLT_LinkClosed()
{
    linkSettingsRequests.clear();
    resetSettleTimer.stop();
    ShowStoredLinkSettings();
}

void Ui_System::ShowVersion(const QString &text)
{
    versionEdit->clear();
    versionEdit->setText(text);
}

void Ui_System::NetworkReply(const QString &ip, const QString &port, const QString &mask, const QString &gateway)
{
    SP_RemoteIp = ip;
    SP_RemotePort = port;
    SP_RemoteSubmask = mask;
    SP_RemoteGateway = gateway;
    AnswerLinkSettingsReply(LinkSettingsRequests::Topic::Network, { ip, port, mask, gateway });
}

void Ui_System::BaudReply(int baudrate)
{
    const QString text = LinkBaudRateText(baudrate);
    if (text.isEmpty())
        return;
    SP_BaudRate = text;
    AnswerLinkSettingsReply(LinkSettingsRequests::Topic::BaudRate, { text });
}

// A report nobody asked for is the device's state and is shown quietly, like a read.
void Ui_System::AnswerLinkSettingsReply(LinkSettingsRequests::Topic topic, const QStringList &values)
{
    using Requests = LinkSettingsRequests;
    Requests::Request request;
    const bool asked = linkSettingsRequests.takeAnswered(topic, LinkMode, &request);
    const bool written = asked && request.kind == Requests::Kind::Write;
    m_lastReplyChangedLinkInUse = written && LinkMode != LinkModeNone
        && Requests::LinkOfTopic(topic) == LinkMode && Requests::Changed(request, values);
    if (written)
        TellLinkSettingsWritten(m_lastReplyChangedLinkInUse);
    emit SGL_SyncSerialPortNetworkInfo();
    if (asked && request.afterReset)
        emit SGL_DeviceBackAfterReset();
}

// Only a link whose parameters changed has to be opened again; otherwise it keeps working.
void Ui_System::TellLinkSettingsWritten(bool linkDropped)
{
    const QString next = linkDropped ? SMSG_ReConnect : SMSG_LinkKept;
    MessageBoxOk(SMSG_SyncConfigInfo + QStringLiteral("\r\n") + next, this);
}

bool Ui_System::AnswersReplyTimeout(const QString &command)
{
    LinkSettingsRequests::Request request;
    if (!linkSettingsRequests.takeTimedOut(command, LinkMode, &request))
        return false;
    ShowStoredLinkSettings();
    if (!request.afterReset)
        return false;
    // Closing the link first drops every line still queued, so no other time-out follows.
    emit SGL_DeviceSilentAfterReset();
    MessageBoxOk(SMSG_ResetNoAnswer, this);
    return true;
}
