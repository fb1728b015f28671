// The connection page without a device: the network parameter check, the local address
// rule, the serial setting texts, the fills from the settings and the status log.
#include "GuiSimProcess.h"
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkServices.h"
#include "link/ServiceSerialPort.h"
#include "link/ServiceTcpClient.h"
#include "link/Ui_Uart_Network.h"
#include "protocol/DeviceState.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/MyComboBox.h"
#include "support/PtyPair.h"
#include "support/TestPaths.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAddressEntry>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTextBlock>
#include <QThread>
#include <QVector>
#include <QtTest>

namespace {

bool ListsLoopback(const QComboBox *comboBox)
{
    for (int i = 0; i < comboBox->count(); ++i) {
        if (comboBox->itemText(i).startsWith(QLatin1String("127.0.0.1<")))
            return true;
    }
    return false;
}

// The page's connect button of a link, pressed as the operator does.
QPushButton *ConnectButton(Ui_Uart_Network &page, const QString &link)
{
    return link == QLatin1String("TCP") ? page.networkConnectButton : page.uartConnectButton;
}

Ui_Uart_Network::LinkState StateOf(const Ui_Uart_Network &page, const QString &link)
{
    return link == QLatin1String("TCP") ? page.networkLinkState() : page.serialLinkState();
}

// Fills in the parameters of a link to the given pseudo-terminal or local TCP port.
void EnterLinkParameters(Ui_Uart_Network &page, const QString &link, const QString &ptyPath, quint16 tcpPort)
{
    if (link == QLatin1String("TCP")) {
        page.ipEdit->setText(QStringLiteral("127.0.0.1"));
        page.portEdit->setText(QString::number(tcpPort));
        page.localIpComboBox->setCurrentIndex(page.localIpComboBox->findText(
            QStringLiteral("127.0.0.1<"), Qt::MatchStartsWith));
    } else {
        page.serialPortComboBox->setEditText(ptyPath);
    }
}

QStringList Items(const QComboBox *comboBox)
{
    QStringList items;
    for (int i = 0; i < comboBox->count(); ++i)
        items << comboBox->itemText(i);
    return items;
}

QNetworkAddressEntry Entry(const QString &address, const QString &netmask, const QString &broadcast)
{
    QNetworkAddressEntry entry;
    entry.setIp(QHostAddress(address));
    entry.setNetmask(QHostAddress(netmask));
    if (!broadcast.isEmpty())
        entry.setBroadcast(QHostAddress(broadcast));
    return entry;
}

} // namespace

class TestUartNetwork : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void networkParameterCheck_data();
    void networkParameterCheck();
    void dottedOctets_data();
    void dottedOctets();
    void offersLocalAddress_data();
    void offersLocalAddress();
    void serialSettingTexts_data();
    void serialSettingTexts();
    void firstFill();
    void refreshFromSettings_data();
    void refreshFromSettings();
    void statusLogKeepsLastLines();
    void statusPicture_data();
    void statusPicture();
    void disconnectAfterFailedAttemptStartsNothing();
    void equalButtonTexts_data();
    void equalButtonTexts();
    void lateConnectResultIgnored_data();
    void lateConnectResultIgnored();
    void addressListFollowsDevice_data();
    void addressListFollowsDevice();
    void connectAttemptRebuildsAddressList();

private:
    GuiTest::AppDirFixture m_fixture;
};

void TestUartNetwork::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestUartNetwork::init()
{
    QVERIFY(m_fixture.Begin());
    LinkMode = LinkModeNone;
    DeviceState_Clear();
}

void TestUartNetwork::cleanup()
{
    LinkMode = LinkModeNone;
    m_fixture.End();
}

void TestUartNetwork::networkParameterCheck_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<bool>("valid");

    const QString ip = QStringLiteral("192.168.0.247");
    const QString mask = QStringLiteral("255.255.255.0");
    const QString gateway = QStringLiteral("192.168.0.1");
    QTest::newRow("defaults") << ip << "2000" << mask << gateway << true;

    QTest::newRow("port 65534") << ip << "65534" << mask << gateway << true;
    QTest::newRow("port 65535") << ip << "65535" << mask << gateway << false;
    QTest::newRow("port 0") << ip << "0" << mask << gateway << false;
    QTest::newRow("port 1") << ip << "1" << mask << gateway << true;
    QTest::newRow("empty port") << ip << "" << mask << gateway << false;
    QTest::newRow("six-digit port") << ip << "002000" << mask << gateway << false;
    QTest::newRow("port 08080 is 8080") << ip << "08080" << mask << gateway << true;
    QTest::newRow("port with a space") << ip << "2000 " << mask << gateway << false;
    QTest::newRow("negative port") << ip << "-1" << mask << gateway << false;
    QTest::newRow("port with a sign") << ip << "+80" << mask << gateway << false;

    QTest::newRow("IP with empty last part") << "192.168.0."
                                             << "2000" << mask << gateway << false;
    QTest::newRow("IP of three dots only") << "..."
                                           << "2000" << mask << gateway << false;
    QTest::newRow("IP with two dots") << "192.168.0"
                                      << "2000" << mask << gateway << false;
    QTest::newRow("IP with four dots") << "192.168.0.1."
                                       << "2000" << mask << gateway << false;
    QTest::newRow("IP part 256") << "192.168.0.256"
                                 << "2000" << mask << gateway << false;
    QTest::newRow("IP part 255 with leading zeros") << "000000255.1.1.1"
                                                    << "2000" << mask << gateway << false;
    QTest::newRow("IP part too long to count") << "99999999999.1.1.1"
                                               << "2000" << mask << gateway << false;
    QTest::newRow("IP with a letter") << "192.168.O.1"
                                      << "2000" << mask << gateway << false;
    QTest::newRow("IP with a space") << " 192.168.0.1"
                                     << "2000" << mask << gateway << false;
    QTest::newRow("IP with full-width digits")
        << QString::fromUtf8("１92.168.0.1") << "2000" << mask << gateway << false;
    QTest::newRow("empty IP") << ""
                              << "2000" << mask << gateway << false;

    QTest::newRow("mask part 256") << ip << "2000"
                                   << "255.255.256.0" << gateway << false;
    QTest::newRow("mask with two dots") << ip << "2000"
                                        << "255.255.0" << gateway << false;
    QTest::newRow("gateway with a letter") << ip << "2000" << mask << "192.168.0.x" << false;
    QTest::newRow("empty gateway") << ip << "2000" << mask << "" << false;
}

void TestUartNetwork::networkParameterCheck()
{
    QFETCH(QString, ip);
    QFETCH(QString, port);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(bool, valid);

    QCOMPARE(Ui_Uart_Network::NetworkParametersValid(ip, port, mask, gateway), valid);
}

void TestUartNetwork::dottedOctets_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVector<quint32>>("octets");

    QTest::newRow("address") << "192.168.0.247" << QVector<quint32> { 192, 168, 0, 247 };
    QTest::newRow("mask") << "255.255.255.0" << QVector<quint32> { 255, 255, 255, 0 };
    QTest::newRow("two dots") << "192.168.0" << QVector<quint32> { 0, 0, 0, 0 };
    QTest::newRow("four dots") << "1.2.3.4.5" << QVector<quint32> { 0, 0, 0, 0 };
    QTest::newRow("other characters skipped") << "a1b.2c. 3.4x" << QVector<quint32> { 1, 2, 3, 4 };
    QTest::newRow("empty parts") << "..." << QVector<quint32> { 0, 0, 0, 0 };
}

void TestUartNetwork::dottedOctets()
{
    QFETCH(QString, text);
    QFETCH(QVector<quint32>, octets);

    const std::array<quint32, 4> read = Ui_Uart_Network::DottedOctets(text);
    QCOMPARE(QVector<quint32>(read.begin(), read.end()), octets);
}

void TestUartNetwork::offersLocalAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("netmask");
    QTest::addColumn<QString>("broadcast");
    QTest::addColumn<bool>("loopback");
    QTest::addColumn<QString>("deviceIp");
    QTest::addColumn<QString>("deviceMask");
    QTest::addColumn<bool>("offered");

    QTest::newRow("same subnet") << "192.168.0.10"
                                 << "255.255.255.0"
                                 << "192.168.0.255" << false << "192.168.0.247"
                                 << "255.255.255.0" << true;
    QTest::newRow("other subnet") << "10.0.0.5"
                                  << "255.0.0.0"
                                  << "10.255.255.255" << false << "192.168.0.247"
                                  << "255.255.255.0" << false;
    QTest::newRow("wider local netmask, octet rule") << "192.168.1.20"
                                                     << "255.255.0.0"
                                                     << "192.168.255.255" << false << "192.168.0.247"
                                                     << "255.255.255.0" << true;
    QTest::newRow("no broadcast address") << "192.168.0.10"
                                          << "255.255.255.0"
                                          << "" << false << "192.168.0.247"
                                          << "255.255.255.0" << false;
    QTest::newRow("loopback, device reached through this computer") << "127.0.0.1"
                                                                    << "255.0.0.0"
                                                                    << "" << true << "127.0.0.1"
                                                                    << "255.255.255.0" << true;
    QTest::newRow("loopback, device elsewhere") << "127.0.0.1"
                                                << "255.0.0.0"
                                                << "" << true << "192.168.0.247"
                                                << "255.255.255.0" << false;
    QTest::newRow("IPv6 loopback") << "::1"
                                   << "ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"
                                   << "" << true << "127.0.0.1"
                                   << "255.255.255.0" << false;
}

void TestUartNetwork::offersLocalAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, netmask);
    QFETCH(QString, broadcast);
    QFETCH(bool, loopback);
    QFETCH(QString, deviceIp);
    QFETCH(QString, deviceMask);
    QFETCH(bool, offered);

    QCOMPARE(Ui_Uart_Network::OffersLocalAddress(
                 Entry(address, netmask, broadcast), loopback, deviceIp, deviceMask),
        offered);
}

void TestUartNetwork::serialSettingTexts_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("setting");

    QTest::newRow("data bits 5") << "data"
                                 << "5"
                                 << "5";
    QTest::newRow("data bits 8") << "data"
                                 << "8"
                                 << "8";
    QTest::newRow("data bits 9") << "data"
                                 << "9"
                                 << "8";
    QTest::newRow("parity None") << "parity"
                                 << "None"
                                 << "0";
    QTest::newRow("parity Even") << "parity"
                                 << "Even"
                                 << "2";
    QTest::newRow("parity Odd") << "parity"
                                << "Odd"
                                << "3";
    QTest::newRow("parity Space") << "parity"
                                  << "Space"
                                  << "4";
    QTest::newRow("parity Mark") << "parity"
                                 << "Mark"
                                 << "5";
    QTest::newRow("parity none") << "parity"
                                 << "none"
                                 << "0";
    QTest::newRow("stop bits 1") << "stop"
                                 << "1"
                                 << "1";
    QTest::newRow("stop bits 1.5") << "stop"
                                   << "1.5"
                                   << "3";
    QTest::newRow("stop bits 2") << "stop"
                                 << "2"
                                 << "2";
    QTest::newRow("stop bits 3") << "stop"
                                 << "3"
                                 << "1";
    QTest::newRow("flow None") << "flow"
                               << "None"
                               << "0";
    QTest::newRow("flow Hardware") << "flow"
                                   << "Hardware"
                                   << "1";
    QTest::newRow("flow Software") << "flow"
                                   << "Software"
                                   << "2";
    QTest::newRow("flow XON") << "flow"
                              << "XON"
                              << "0";
}

void TestUartNetwork::serialSettingTexts()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, setting);

    QString stored;
    if (kind == QLatin1String("data"))
        stored = Ui_Uart_Network::DataBitSetting(text);
    else if (kind == QLatin1String("parity"))
        stored = Ui_Uart_Network::ParitySetting(text);
    else if (kind == QLatin1String("stop"))
        stored = Ui_Uart_Network::StopBitSetting(text);
    else
        stored = Ui_Uart_Network::FlowControlSetting(text);
    QCOMPARE(stored, setting);
}

void TestUartNetwork::firstFill()
{
    SP_RemoteIp = QStringLiteral("10.1.2.3");
    Ui_Uart_Network page;

    QCOMPARE(Items(page.baudRateComboBox), (QStringList { "9600", "19200", "38400", "57600", "115200" }));
    QCOMPARE(page.baudRateComboBox->currentText(), QStringLiteral("9600"));
    QCOMPARE(Items(page.dataBitComboBox), (QStringList { "5", "6", "7", "8" }));
    QCOMPARE(page.dataBitComboBox->currentText(), QStringLiteral("8"));
    QCOMPARE(page.parityComboBox->currentText(), QStringLiteral("None"));
    QCOMPARE(page.stopBitComboBox->currentText(), QStringLiteral("1"));
    QCOMPARE(page.flowControlComboBox->currentText(), QStringLiteral("None"));
    QCOMPARE(page.networkModeComboBox->currentText(), QStringLiteral("TCP-Server"));
    for (QComboBox *fixed : { page.dataBitComboBox, page.parityComboBox, page.stopBitComboBox,
             page.flowControlComboBox, page.networkModeComboBox })
        QVERIFY(!fixed->isEnabled());
    QCOMPARE(page.serialPortComboBox->count(), 0);
    QCOMPARE(page.ipEdit->text(), QStringLiteral("10.1.2.3"));
    QCOMPARE(page.portEdit->text(), QStringLiteral("2000"));
    QCOMPARE(page.localPortEdit->text(), QStringLiteral("1001"));
    QVERIFY(page.localPortEdit->isHidden());
    QVERIFY(page.myPortLabel->isHidden());
    QCOMPARE(page.uartConnectButton->text(), QStringLiteral("Connect"));
    QCOMPARE(page.networkConnectButton->text(), QStringLiteral("Connect"));
    QCOMPARE(page.uartLabel->text(), QStringLiteral("Uart:"));
    QCOMPARE(page.clearButton->text(), QStringLiteral("Clear"));
    // The services were handed to their worker threads.
    QCOMPARE(g_ServiceTcpClient->thread(), g_ThreadTcpClient);
    QCOMPARE(g_ServiceSerialPort->thread(), g_ThreadSerialPort);
}

void TestUartNetwork::refreshFromSettings_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<QString>("baudSetting");
    QTest::addColumn<QString>("serialButton");
    QTest::addColumn<QString>("networkButton");
    QTest::addColumn<QString>("baudShown");

    QTest::newRow("no link") << int(LinkModeNone) << "57600"
                             << "Connect"
                             << "Connect"
                             << "57600";
    QTest::newRow("serial link") << int(LinkModeSerial) << "115200"
                                 << "Disconnect"
                                 << "Connect"
                                 << "115200";
    QTest::newRow("TCP link") << int(LinkModeTcp) << "9600"
                              << "Connect"
                              << "Disconnect"
                              << "9600";
    QTest::newRow("unknown rate keeps the choice") << int(LinkModeNone) << "12345"
                                                   << "Connect"
                                                   << "Connect"
                                                   << "38400";
}

void TestUartNetwork::refreshFromSettings()
{
    QFETCH(int, linkMode);
    QFETCH(QString, baudSetting);
    QFETCH(QString, serialButton);
    QFETCH(QString, networkButton);
    QFETCH(QString, baudShown);

    Ui_Uart_Network page;
    page.baudRateComboBox->setCurrentText(QStringLiteral("38400"));
    SP_Name = QStringLiteral("ttyUSB3");
    SP_BaudRate = baudSetting;
    SP_RemoteIp = QStringLiteral("172.16.0.9");
    SP_RemotePort = QStringLiteral("4001");
    SP_RemoteSubmask = QStringLiteral("255.255.0.0");
    SP_RemoteGateway = QStringLiteral("172.16.0.1");
    LinkMode = linkMode;

    page.RefreshFromSettings();

    QCOMPARE(Items(page.serialPortComboBox), QStringList { "ttyUSB3" });
    QCOMPARE(page.baudRateComboBox->currentText(), baudShown);
    QCOMPARE(page.uartConnectButton->text(), serialButton);
    QCOMPARE(page.networkConnectButton->text(), networkButton);
    QCOMPARE(page.ipEdit->text(), QStringLiteral("172.16.0.9"));
    QCOMPARE(page.portEdit->text(), QStringLiteral("4001"));
    QCOMPARE(page.subMaskEdit->text(), QStringLiteral("255.255.0.0"));
    QCOMPARE(page.gatewayEdit->text(), QStringLiteral("172.16.0.1"));
    LinkMode = LinkModeNone;
}

void TestUartNetwork::statusLogKeepsLastLines()
{
    Ui_Uart_Network page;
    for (int line = 1; line <= 450; ++line)
        page.AppendStatusLine(QStringLiteral("line %1").arg(line));

    const QTextDocument *log = page.statusLog->document();
    QCOMPARE(log->blockCount(), 400);
    QCOMPARE(log->firstBlock().text(), QStringLiteral("line 52"));
    QCOMPARE(log->lastBlock().previous().text(), QStringLiteral("line 450"));

    QTest::mouseClick(page.clearButton, Qt::LeftButton);
    QVERIFY(page.statusLog->toPlainText().isEmpty());
}

void TestUartNetwork::statusPicture_data()
{
    QTest::addColumn<bool>("success");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("shown");

    QTest::newRow("success") << true << QStringList { "success.png", "fail.png" } << "success.png";
    QTest::newRow("fail") << false << QStringList { "success.png", "fail.png" } << "fail.png";
    // A missing picture leaves the previous one.
    QTest::newRow("success picture missing") << true << QStringList { "fail.png" } << "fail.png";
}

void TestUartNetwork::statusPicture()
{
    QFETCH(bool, success);
    QFETCH(QStringList, present);
    QFETCH(QString, shown);

    const QString imageDir = ConfigFile_AppDir() + QStringLiteral("/APP/Image/");
    QVERIFY(QDir().mkpath(imageDir));
    for (const QString &name : present)
        QVERIFY(QFile::copy(TestSourceDir() + QStringLiteral("/APP/Image/") + name, imageDir + name));

    Ui_Uart_Network page;
    page.SetStatusPicture(success);

    const QImage expected = QImage(imageDir + shown).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage picture = page.statusPicture->pixmap(Qt::ReturnByValue)
                               .toImage()
                               .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QVERIFY(!expected.isNull());
    QCOMPARE(picture, expected);
    QVERIFY(page.statusPicture->hasScaledContents());
}

// A network attempt refused by the parameter check leaves the page not connected, with no
// link selected; dropping the link then must not start a new attempt.
void TestUartNetwork::disconnectAfterFailedAttemptStartsNothing()
{
    Ui_Uart_Network page;
    page.ipEdit->setText(QStringLiteral("192.168.0"));
    MessageBoxCatcher catcher;
    QTest::mouseClick(page.networkConnectButton, Qt::LeftButton);
    QCOMPARE(catcher.Texts(), QStringList { "Network Info error!!!please check it!" });
    QCOMPARE(LinkMode, int(LinkModeNone));
    QCOMPARE(page.networkLinkState(), Ui_Uart_Network::LinkState::NotConnected);
    LinkMode = LinkModeTcp;
    DeviceState.modelReplyHandled = true;

    page.ipEdit->setText(QStringLiteral("127.0.0.1"));
    page.DisconnectActiveLink();

    QCOMPARE(LinkMode, int(LinkModeNone));
    QVERIFY(!DeviceState.modelReplyHandled);
    QCOMPARE(page.networkConnectButton->text(), QStringLiteral("Connect"));
    QVERIFY(page.uartConnectButton->isEnabled());
    QVERIFY(!g_ThreadTcpClient->isRunning());
    QCOMPARE(catcher.Texts().size(), 1);
}

void TestUartNetwork::equalButtonTexts_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("waitUntilOpen");

    QTest::newRow("TCP, open") << "TCP" << true;
    QTest::newRow("TCP, still connecting") << "TCP" << false;
    QTest::newRow("RS232, open") << "RS232" << true;
    QTest::newRow("RS232, still connecting") << "RS232" << false;
}

// The page's own state decides, so a language whose Connect and Disconnect read the same
// still connects once and disconnects on the second press.
void TestUartNetwork::equalButtonTexts()
{
    QFETCH(QString, link);
    QFETCH(bool, waitUntilOpen);

    S_ConnectDisconnect[0] = QStringLiteral("Link");
    S_ConnectDisconnect[1] = QStringLiteral("Link");
    PtyPair pty;
    QVERIFY(pty.isOpen());
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    Ui_Uart_Network page;
    EnterLinkParameters(page, link, pty.slavePath(), server.serverPort());
    QSignalSpy serialAttempts(&page, &Ui_Uart_Network::SGL_PretendConnect_SerialPort);
    QSignalSpy networkAttempts(&page, &Ui_Uart_Network::SGL_PretendConnect_TcpClient);
    MessageBoxCatcher catcher;
    QPushButton *button = ConnectButton(page, link);

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(StateOf(page, link), Ui_Uart_Network::LinkState::Connecting);
    if (waitUntilOpen)
        QTRY_COMPARE(StateOf(page, link), Ui_Uart_Network::LinkState::Open);
    QCOMPARE(button->text(), QStringLiteral("Link"));

    QTest::mouseClick(button, Qt::LeftButton);
    // A connect result still on its way is for an attempt that is over.
    QTest::qWait(200);

    QCOMPARE(serialAttempts.count() + networkAttempts.count(), 1);
    QCOMPARE(StateOf(page, link), Ui_Uart_Network::LinkState::NotConnected);
    QCOMPARE(LinkMode, int(LinkModeNone));
    QVERIFY(!g_ThreadSerialPort->isRunning());
    QVERIFY(!g_ThreadTcpClient->isRunning());
    QVERIFY(page.uartConnectButton->isEnabled());
    QVERIFY(page.networkConnectButton->isEnabled());
    QVERIFY(page.ipEdit->isEnabled());
    QVERIFY(page.serialPortComboBox->isEnabled());
    QVERIFY(catcher.Texts().isEmpty());

    // The third press is a new attempt.
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(serialAttempts.count() + networkAttempts.count(), 2);
    QTRY_COMPARE(StateOf(page, link), Ui_Uart_Network::LinkState::Open);
    page.DisconnectActiveLink();
    QCOMPARE(StateOf(page, link), Ui_Uart_Network::LinkState::NotConnected);
}

void TestUartNetwork::lateConnectResultIgnored_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<bool>("status");

    QTest::newRow("RS232 failed") << "RS232" << false;
    QTest::newRow("RS232 opened") << "RS232" << true;
    QTest::newRow("TCP failed") << "TCP" << false;
    QTest::newRow("TCP opened") << "TCP" << true;
}

// The operator pressed Disconnect before the worker answered: its answer changes nothing and
// opens no box.
void TestUartNetwork::lateConnectResultIgnored()
{
    QFETCH(QString, link);
    QFETCH(bool, status);

    RegisterLinkMetaTypes();
    Ui_Uart_Network page;
    EnterLinkParameters(page, link, m_fixture.Path() + QStringLiteral("/no-such-tty"), 1);
    QSignalSpy kicks(&page, &Ui_Uart_Network::SGL_UpdateEmit);
    MessageBoxCatcher catcher;
    QPushButton *button = ConnectButton(page, link);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);

    if (link == QLatin1String("TCP"))
        emit g_ServiceTcpClient->SGL_ConnectStatus_TcpClient(status, 5);
    else
        emit g_ServiceSerialPort->SGL_ConnectStatus_SerialPort(status, 3);
    QTest::qWait(100);

    QVERIFY(catcher.Texts().isEmpty());
    QCOMPARE(kicks.count(), 0);
    QCOMPARE(StateOf(page, link), Ui_Uart_Network::LinkState::NotConnected);
    QCOMPARE(LinkMode, int(LinkModeNone));
    QCOMPARE(button->text(), QStringLiteral("Connect"));
    QVERIFY(page.uartConnectButton->isEnabled());
    QVERIFY(page.networkConnectButton->isEnabled());
    QVERIFY(page.ipEdit->isEnabled());
}

void TestUartNetwork::addressListFollowsDevice_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("offersLoopback");

    QTest::newRow("device on this computer") << "127.0.0.9"
                                             << "255.0.0.0" << true;
    QTest::newRow("device in another subnet") << "203.0.113.7"
                                              << "255.0.0.0" << false;
    QTest::newRow("mask narrowed to the device alone") << "127.0.0.1"
                                                       << "255.255.255.255" << false;
}

// Typing a device address or mask rebuilds the local list at once, keeping the choice while
// it is still offered.
void TestUartNetwork::addressListFollowsDevice()
{
    QFETCH(QString, ip);
    QFETCH(QString, mask);
    QFETCH(bool, offersLoopback);

    Ui_Uart_Network page;
    page.ipEdit->setText(QStringLiteral("127.0.0.1"));
    page.subMaskEdit->setText(QStringLiteral("255.0.0.0"));
    QVERIFY(ListsLoopback(page.localIpComboBox));
    page.localIpComboBox->setCurrentIndex(
        page.localIpComboBox->findText(QStringLiteral("127.0.0.1<"), Qt::MatchStartsWith));

    GuiTest::TypeInto(page.ipEdit, ip);
    GuiTest::TypeInto(page.subMaskEdit, mask);

    QCOMPARE(ListsLoopback(page.localIpComboBox), offersLoopback);
    if (offersLoopback)
        QVERIFY(page.localIpComboBox->currentText().startsWith(QLatin1String("127.0.0.1<")));
}

// Even a list left from before (the device address set without the page noticing) is built
// again when the operator connects: a device outside every local subnet is reached through
// the system's route, without binding.
void TestUartNetwork::connectAttemptRebuildsAddressList()
{
    QTcpServer device;
    QVERIFY(device.listen(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    Ui_Uart_Network page;
    page.ipEdit->setText(QStringLiteral("127.0.0.1"));
    QVERIFY(ListsLoopback(page.localIpComboBox));
    {
        const QSignalBlocker blockIp(page.ipEdit);
        const QSignalBlocker blockMask(page.subMaskEdit);
        page.ipEdit->setText(QStringLiteral("127.0.0.2"));
        page.subMaskEdit->setText(QStringLiteral("255.255.255.255"));
        page.portEdit->setText(QString::number(device.serverPort()));
    }
    QVERIFY(ListsLoopback(page.localIpComboBox));
    QSignalSpy attempts(&page, &Ui_Uart_Network::SGL_PretendConnect_TcpClient);
    MessageBoxCatcher catcher;

    QTest::mouseClick(page.networkConnectButton, Qt::LeftButton);

    QCOMPARE(Items(page.localIpComboBox), QStringList { "Any (routed)" });
    QCOMPARE(attempts.count(), 1);
    QCOMPARE(attempts.first().first().toString(), QString());
    QTRY_COMPARE(page.networkLinkState(), Ui_Uart_Network::LinkState::Open);
    QVERIFY(catcher.Texts().isEmpty());
    page.DisconnectActiveLink();
    QVERIFY(!g_ThreadTcpClient->isRunning());
}

QTEST_MAIN(TestUartNetwork)
#include "tst_uartnetwork.moc"
