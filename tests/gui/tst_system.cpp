// The system page as an operator uses it: the firmware queries and the placement of the port
// list, the reset question, the network parameter check, and against the device simulator the
// quiet reads of the link settings, the writes that drop only the link they change, the
// reconnection with the new settings and the re-read after a factory reset.
#include "GuiSimProcess.h"
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/Ui_Uart_Network.h"
#include "pages/Ui_System.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/ReplyParser.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/MyComboBox.h"
#include "shell/Ui_Main.h"
#include "shell/Ui_MainReplyPages.h"

#include <QAbstractItemView>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTcpServer>
#include <QtTest>

namespace {

constexpr int SyncTimeoutMs = 15000;
const QString SyncOver = QStringLiteral("->Sync Over!<-");

QStringList QueuedLines(LinkQueue &queue)
{
    QStringList lines;
    QMutexLocker lock(&queue.sendMutex);
    for (const QueuedLine &line : qAsConst(queue.sendQueue))
        lines << QString::fromLatin1(line.bytes);
    return lines;
}

void ChooseItem(QComboBox *comboBox, int index)
{
    comboBox->showPopup();
    QAbstractItemView *view = comboBox->view();
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    // An item can be wider than a narrow list; its middle may then lie outside the list.
    const QPoint point(view->viewport()->width() / 2, view->visualRect(item).center().y());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

QStringList Items(const QComboBox *comboBox)
{
    QStringList items;
    for (int i = 0; i < comboBox->count(); ++i)
        items << comboBox->itemText(i);
    return items;
}

QStringList SentLines(const QSignalSpy &spy, int from = 0)
{
    QStringList lines;
    for (int i = from; i < spy.count(); ++i)
        lines << spy.at(i).at(0).toString();
    return lines;
}

quint16 UnusedTcpPort()
{
    QTcpServer server;
    server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0);
    return server.serverPort();
}

QString ReconnectText()
{
    return SMSG_SyncConfigInfo + QStringLiteral("\r\n") + SMSG_ReConnect;
}

QString LinkKeptText()
{
    return SMSG_SyncConfigInfo + QStringLiteral("\r\n") + SMSG_LinkKept;
}

} // namespace

class TestSystem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void widgetsAndTexts();
    void firmwareQueries_data();
    void firmwareQueries();
    void resetAsksFirst_data();
    void resetAsksFirst();
    void networkWriteChecksParameters_data();
    void networkWriteChecksParameters();
    void repliesThroughTheParser_data();
    void repliesThroughTheParser();

    void startupReadIsQuiet_data();
    void startupReadIsQuiet();
    void versionsFromDevice();
    void writeDropsOnlyItsLink_data();
    void writeDropsOnlyItsLink();
    void resetRereadsEveryPage();
    void firmwareKindsAfterLanguageSwitch_data();
    void firmwareKindsAfterLanguageSwitch();
    void readThenWriteKeepTheirReplies();
    void unchangedWriteKeepsLink_data();
    void unchangedWriteKeepsLink();
    void silentDeviceAfterReset_data();
    void silentDeviceAfterReset();

private:
    Ui_System *NewPage();
    Ui_Main *NewMainWindow();
    void PressNetworkConnect(const QString &port);
    void PressSerialConnect(const QString &path);
    bool ConnectAndSync(const QString &link, const GuiTest::SimProcess &sim);
    bool WaitForSyncOverCount(int count);
    // Connected over TCP and synchronised, with the System tab shown.
    bool OpenSystemPageOverTcp(const GuiTest::SimProcess &sim, Ui_System **page);

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_System> m_page;
    QScopedPointer<Ui_Main> m_main;
};

void TestSystem::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestSystem::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    LinkMode = LinkModeNone;
}

void TestSystem::cleanup()
{
    if (m_main)
        m_main->connectionPage->DisconnectActiveLink();
    m_main.reset();
    m_page.reset();
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

// A page for a confirmed 4 x 4 device, with its commands queued on an idle TCP queue.
Ui_System *TestSystem::NewPage()
{
    DeviceState_ConfirmModel();
    m_page.reset(new Ui_System());
    m_page->Rebuild();
    m_page->resize(900, 600);
    m_page->show();
    LinkMode = LinkModeTcp;
    TcpLinkQueue().activate();
    return m_page.data();
}

Ui_Main *TestSystem::NewMainWindow()
{
    m_main.reset(new Ui_Main());
    m_main->show();
    m_main->tabWidget->setCurrentWidget(m_main->connectionPage);
    return m_main.data();
}

void TestSystem::PressNetworkConnect(const QString &port)
{
    Ui_Uart_Network *connection = m_main->connectionPage;
    GuiTest::TypeInto(connection->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(connection->portEdit, port);
    QVERIFY(GuiTest::ChooseLoopbackLocalAddress(connection));
    QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
}

void TestSystem::PressSerialConnect(const QString &path)
{
    Ui_Uart_Network *connection = m_main->connectionPage;
    GuiTest::TypeInto(connection->serialPortComboBox->lineEdit(), path);
    QTest::mouseClick(connection->uartConnectButton, Qt::LeftButton);
}

bool TestSystem::WaitForSyncOverCount(int count)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < SyncTimeoutMs) {
        if (m_main->connectionPage->statusLog->toPlainText().count(SyncOver) >= count)
            return true;
        QTest::qWait(10);
    }
    return false;
}

bool TestSystem::ConnectAndSync(const QString &link, const GuiTest::SimProcess &sim)
{
    const int before = m_main->connectionPage->statusLog->toPlainText().count(SyncOver);
    if (link == QLatin1String("TCP"))
        PressNetworkConnect(sim.tcpPort);
    else
        PressSerialConnect(sim.ptyPath);
    return WaitForSyncOverCount(before + 1);
}

bool TestSystem::OpenSystemPageOverTcp(const GuiTest::SimProcess &sim, Ui_System **page)
{
    Ui_Main *mainWindow = NewMainWindow();
    if (!ConnectAndSync(QStringLiteral("TCP"), sim))
        return false;
    *page = mainWindow->systemPage;
    mainWindow->tabWidget->setCurrentWidget(*page);
    return true;
}

void TestSystem::widgetsAndTexts()
{
    Ui_System page;
    const QList<QWidget *> groupsFirst = page.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(groupsFirst.size(), 4);
    QCOMPARE(page.cutLine->objectName(), QStringLiteral("Communication_CutLine"));
    QCOMPARE(page.cutLine->frameShape(), QFrame::VLine);
    QCOMPARE(page.cutLine->frameShadow(), QFrame::Sunken);
    // The separator stands between the two link groups.
    QVERIFY(page.cutLine->geometry().left() >= page.rs232Group->geometry().right());
    QVERIFY(page.cutLine->geometry().right() <= page.networkGroup->geometry().left());

    const QStringList texts { page.resetLabel->text(), page.resetButton->text(), page.firmwareLabel->text(),
        page.baudLabel->text(), page.rs232ReadButton->text(), page.rs232WriteButton->text(),
        page.ipLabel->text(), page.portLabel->text(), page.maskLabel->text(), page.gatewayLabel->text(),
        page.networkReadButton->text(), page.networkWriteButton->text() };
    QCOMPARE(texts,
        (QStringList { "Reset:", "Reset", "Firmware Version:", "Baudrate:", "Read", "Write", "IP:", "Port:",
            "SubMask:", "Gateway:", "Read", "Write" }));
    QCOMPARE(Items(page.baudComboBox), (QStringList { "9600", "19200", "38400", "57600", "115200" }));
    QCOMPARE(page.baudComboBox->currentText(), SP_BaudRate);
    QCOMPARE(page.ipEdit->text(), SP_RemoteIp);
    QCOMPARE(page.gatewayEdit->text(), SP_RemoteGateway);
    // Before the device is confirmed nothing can be queried.
    QCOMPARE(page.firmwareComboBox->count(), 0);
    QVERIFY(page.portComboBox->isHidden());
    QCOMPARE(page.versionEdit->focusPolicy(), Qt::NoFocus);
    // Every control 26 pixels high.
    for (QWidget *control : page.findChildren<QWidget *>()) {
        if (control->parentWidget() != &page && qobject_cast<QGroupBox *>(control->parentWidget()))
            QCOMPARE(control->height(), 26);
    }
}

void TestSystem::firmwareQueries_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("queuedOnKind");
    QTest::addColumn<bool>("portListShown");
    QTest::addColumn<int>("port"); // -1: no port chosen
    QTest::addColumn<QStringList>("queuedOnPort");

    QTest::newRow("Main") << 0 << QStringList { "GET MAIN VERSION\r" } << false << -1 << QStringList {};
    QTest::newRow("KeyBoard") << 1 << QStringList { "GET KEYBOARD VERSION\r" } << false << -1 << QStringList {};
    QTest::newRow("Input, port 2") << 2 << QStringList {} << true << 1 << QStringList { "GET IN2 VERSION\r" };
    QTest::newRow("Output, port 4") << 3 << QStringList {} << true << 3 << QStringList { "GET OUT4 VERSION\r" };
}

void TestSystem::firmwareQueries()
{
    QFETCH(int, kind);
    QFETCH(QStringList, queuedOnKind);
    QFETCH(bool, portListShown);
    QFETCH(int, port);
    QFETCH(QStringList, queuedOnPort);

    Ui_System *page = NewPage();
    QSignalSpy kicks(page, &Ui_System::SGL_UpdateEmit);
    QCOMPARE(Items(page->firmwareComboBox), (QStringList { "Main", "KeyBoard", "Input", "Output" }));
    // Output first, so that every row also shows the field and the list move back.
    ChooseItem(page->firmwareComboBox, 3);
    page->versionEdit->setText(QStringLiteral("from before"));
    kicks.clear();
    TcpLinkQueue().deactivate();
    TcpLinkQueue().activate();

    ChooseItem(page->firmwareComboBox, kind);
    QCOMPARE(QueuedLines(TcpLinkQueue()), queuedOnKind);
    QCOMPARE(kicks.count(), queuedOnKind.size());
    QCOMPARE(page->versionEdit->text(), QString());
    QCOMPARE(page->portComboBox->isVisible(), portListShown);
    const QRect selector = page->firmwareComboBox->geometry();
    const QWidget *fieldNeighbour = portListShown ? static_cast<QWidget *>(page->portComboBox) : page->firmwareComboBox;
    QCOMPARE(page->versionEdit->geometry(),
        QRect(fieldNeighbour->geometry().right() + 1 + 5, selector.y(), 120, 26));
    QCOMPARE(page->portComboBox->geometry(), QRect(selector.right() + 1 + 5, selector.y(), 80, 26));
    if (!portListShown)
        return;

    QCOMPARE(Items(page->portComboBox), (QStringList { "1", "2", "3", "4" }));
    page->versionEdit->setText(QStringLiteral("from before"));
    ChooseItem(page->portComboBox, port);
    QCOMPARE(QueuedLines(TcpLinkQueue()), queuedOnPort);
    QCOMPARE(page->versionEdit->text(), QString());
}

void TestSystem::resetAsksFirst_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QStringList>("queued");

    QTest::newRow("NO sends nothing") << false << QStringList {};
    QTest::newRow("YES sends SET RESET") << true << QStringList { "SET RESET\r" };
}

void TestSystem::resetAsksFirst()
{
    QFETCH(bool, yes);
    QFETCH(QStringList, queued);

    Ui_System *page = NewPage();
    QSignalSpy settled(&page->resetSettleTimer, &QTimer::timeout);
    {
        MessageBoxCatcher catcher(yes);
        QTest::mouseClick(page->resetButton, Qt::LeftButton);
        QCOMPARE(catcher.Texts(), QStringList { SMSG_ResetMessage });
        QCOMPARE(catcher.Boxes().first().parent, page);
    }
    QCOMPARE(QueuedLines(TcpLinkQueue()), queued);
    if (yes) {
        // The device answers a reset with nothing the link could wait for.
        QMutexLocker lock(&TcpLinkQueue().sendMutex);
        QCOMPARE(int(TcpLinkQueue().sendQueue.first().expectation.needMatch), 0);
    }
    // The pages read the device again only once it has had time to restart.
    QCOMPARE(settled.count(), 0);
    QTest::qWait(Ui_System::ResetSettleMs + 200);
    QCOMPARE(settled.count(), yes ? 1 : 0);
}

void TestSystem::networkWriteChecksParameters_data()
{
    QTest::addColumn<QStringList>("fields"); // IP, port, mask, gateway
    QTest::addColumn<bool>("accepted");

    QTest::newRow("IP part above 255") << QStringList { "192.168.0.300", "2000", "255.255.255.0", "192.168.0.1" } << false;
    QTest::newRow("port 65535") << QStringList { "192.168.0.10", "65535", "255.255.255.0", "192.168.0.1" } << false;
    QTest::newRow("port 0") << QStringList { "192.168.0.10", "0", "255.255.255.0", "192.168.0.1" } << false;
    QTest::newRow("mask with two dots") << QStringList { "192.168.0.10", "2000", "255.255.255", "192.168.0.1" } << false;
    QTest::newRow("gateway with a letter") << QStringList { "192.168.0.10", "2000", "255.255.255.0", "192.168.0.x" } << false;
    QTest::newRow("port 65534") << QStringList { "192.168.0.10", "65534", "255.255.255.0", "192.168.0.1" } << true;
    QTest::newRow("empty last part") << QStringList { "10.0.0.", "4001", "255.0.0.0", "10.0.0.1" } << false;
    QTest::newRow("leading zeros") << QStringList { "01.002.0003.00004", "4001", "255.0.0.0", "10.0.0.1" } << false;
    QTest::newRow("plain address") << QStringList { "10.0.0.7", "4001", "255.0.0.0", "10.0.0.1" } << true;
}

void TestSystem::networkWriteChecksParameters()
{
    QFETCH(QStringList, fields);
    QFETCH(bool, accepted);

    Ui_System *page = NewPage();
    const QList<QLineEdit *> edits { page->ipEdit, page->portEdit, page->maskEdit, page->gatewayEdit };
    for (int i = 0; i < edits.size(); ++i)
        GuiTest::TypeInto(edits.at(i), fields.at(i));
    MessageBoxCatcher catcher;
    QTest::mouseClick(page->networkWriteButton, Qt::LeftButton);
    if (accepted) {
        QCOMPARE(catcher.Texts(), QStringList {});
        QCOMPARE(QueuedLines(TcpLinkQueue()), QStringList { "SET NETWORK-INFO " + fields.join(' ') + '\r' });
        QCOMPARE(page->linkSettingsRequests.count(), 1);
    } else {
        QCOMPARE(catcher.Texts(), QStringList { "Network Info error!!!please check it!" });
        QCOMPARE(catcher.Boxes().first().parent, page);
        QCOMPARE(QueuedLines(TcpLinkQueue()), QStringList {});
        QCOMPARE(page->linkSettingsRequests.count(), 0);
    }
}

// Replies handed to the parser as the main window's receive path does, with the link that
// would carry them selected but not opened (so nothing can actually be dropped, only asked).
void TestSystem::repliesThroughTheParser_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<bool>("pending");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("dropsLink");
    QTest::addColumn<QStringList>("settings"); // SP_BaudRate, SP_RemoteIp, SP_RemotePort, SP_RemoteSubmask, SP_RemoteGateway

    const QStringList defaults { "9600", "192.168.0.247", "2000", "255.255.255.0", "192.168.0.1" };
    QTest::newRow("baud read over RS232") << int(LinkModeSerial) << true << "BAUDRATE 57600\r" << QStringList {}
                                          << false << QStringList { "57600", defaults[1], defaults[2], defaults[3], defaults[4] };
    QTest::newRow("baud write over TCP") << int(LinkModeTcp) << false << "BAUDRATE 19200\r"
                                         << QStringList { LinkKeptText() } << false
                                         << QStringList { "19200", defaults[1], defaults[2], defaults[3], defaults[4] };
    QTest::newRow("baud off the list") << int(LinkModeSerial) << false << "BAUDRATE 12345\r" << QStringList {}
                                       << false << defaults;
    QTest::newRow("network read over TCP")
        << int(LinkModeTcp) << true << "NETWORK-INFO 10.1.2.3 4001 255.255.0.0 10.1.0.1\r" << QStringList {} << false
        << QStringList { "9600", "10.1.2.3", "4001", "255.255.0.0", "10.1.0.1" };
    QTest::newRow("network write over RS232")
        << int(LinkModeSerial) << false << "NETWORK-INFO 10.1.2.3 4001 255.255.0.0 10.1.0.1\r"
        << QStringList { LinkKeptText() } << false << QStringList { "9600", "10.1.2.3", "4001", "255.255.0.0", "10.1.0.1" };    QTest::newRow("baud write over RS232") << int(LinkModeSerial) << false << "BAUDRATE 38400\r"
                                           << QStringList { ReconnectText() } << true
                                           << QStringList { "38400", defaults[1], defaults[2], defaults[3], defaults[4] };
    QTest::newRow("unchanged baud write over RS232") << int(LinkModeSerial) << false << "BAUDRATE 9600\r"
                                                     << QStringList { LinkKeptText() } << false << defaults;
}

void TestSystem::repliesThroughTheParser()
{
    QFETCH(int, linkMode);
    QFETCH(bool, pending);
    QFETCH(QString, line);
    QFETCH(QStringList, messages);
    QFETCH(bool, dropsLink);
    QFETCH(QStringList, settings);

    Ui_Main *mainWindow = NewMainWindow();
    DeviceState_ConfirmModel();
    Ui_System *page = mainWindow->systemPage;
    page->Rebuild();
    ChooseItem(page->firmwareComboBox, 2);
    LinkMode = linkMode;
    using Requests = LinkSettingsRequests;
    const bool network = line.startsWith(QLatin1String("NETWORK-INFO"));
    page->linkSettingsRequests.add({ network ? Requests::Topic::Network : Requests::Topic::BaudRate,
        pending ? Requests::Kind::Read : Requests::Kind::Write, linkMode,
        network ? QStringList { SP_RemoteIp, SP_RemotePort, SP_RemoteSubmask, SP_RemoteGateway } : QStringList { SP_BaudRate },
        false });
    QSignalSpy synced(page, &Ui_System::SGL_SyncSerialPortNetworkInfo);
    {
        MessageBoxCatcher catcher;
        ParseReplyLine(*mainWindow->replyPages, line);
        QCOMPARE(catcher.Texts(), messages);
        for (const MessageBoxCatcher::CaughtBox &box : catcher.Boxes())
            QCOMPARE(box.parent, page);
    }
    const bool ignored = settings.first() == SP_BaudRate && line.startsWith(QLatin1String("BAUDRATE 12345"));
    QCOMPARE(synced.count(), ignored ? 0 : 1);
    if (!ignored)
        QCOMPARE(page->LastReplyChangedLinkInUse(), dropsLink);
    QCOMPARE(LinkMode, dropsLink ? int(LinkModeNone) : linkMode);
    QCOMPARE((QStringList { SP_BaudRate, SP_RemoteIp, SP_RemotePort, SP_RemoteSubmask, SP_RemoteGateway }), settings);
    // Both pages show what the device has now; the chosen firmware kind stays chosen.
    QCOMPARE(page->baudComboBox->currentText(), settings.at(0));
    QCOMPARE(mainWindow->connectionPage->baudRateComboBox->currentText(), settings.at(0));
    QCOMPARE(page->ipEdit->text(), settings.at(1));
    QCOMPARE(mainWindow->connectionPage->portEdit->text(), settings.at(2));
    QCOMPARE(page->gatewayEdit->text(), settings.at(4));
    QCOMPARE(page->firmwareComboBox->currentIndex(), 2);
    QVERIFY(page->portComboBox->isVisibleTo(page));
    QCOMPARE(page->linkSettingsRequests.count(), ignored ? 1 : 0);
    LinkMode = LinkModeNone;
}

void TestSystem::startupReadIsQuiet_data()
{
    QTest::addColumn<QString>("link");
    QTest::newRow("TCP") << "TCP";
    QTest::newRow("RS232") << "RS232";
}

// The settings stored before differ from the simulator's; the start-up read brings the
// device's values onto both pages without a word.
void TestSystem::startupReadIsQuiet()
{
    QFETCH(QString, link);
    GuiTest::SimProcess sim(m_fixture.Path() + QStringLiteral("/tty"));
    QVERIFY(sim.WaitUntilListening());
    SP_BaudRate = QStringLiteral("38400");
    SP_RemoteGateway = QStringLiteral("192.168.7.1");
    Ui_Main *mainWindow = NewMainWindow();
    Ui_System *page = mainWindow->systemPage;
    QCOMPARE(page->baudComboBox->currentText(), QStringLiteral("38400"));

    MessageBoxCatcher catcher;
    QVERIFY(ConnectAndSync(link, sim));
    QCOMPARE(catcher.Texts(), QStringList {});
    if (link == QLatin1String("TCP")) {
        // The simulator's gateway lies in its own subnet.
        QCOMPARE(page->ipEdit->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(page->portEdit->text(), sim.tcpPort);
        QCOMPARE(page->gatewayEdit->text(), QStringLiteral("127.0.0.1"));
        QCOMPARE(SP_RemoteGateway, QStringLiteral("127.0.0.1"));
        QCOMPARE(LinkMode, int(LinkModeTcp));
    } else {
        QCOMPARE(page->baudComboBox->currentText(), QStringLiteral("9600"));
        QCOMPARE(SP_BaudRate, QStringLiteral("9600"));
        QCOMPARE(LinkMode, int(LinkModeSerial));
        // A read by the operator is just as quiet.
        ChooseItem(page->baudComboBox, 4);
        QTest::mouseClick(page->rs232ReadButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(page->baudComboBox->currentText(), QStringLiteral("9600"), SyncTimeoutMs);
        QCOMPARE(catcher.Texts(), QStringList {});
        QCOMPARE(LinkMode, int(LinkModeSerial));
    }
}

void TestSystem::versionsFromDevice()
{
    GuiTest::SimProcess sim;
    QVERIFY(sim.WaitUntilListening());
    Ui_System *page = nullptr;
    QVERIFY(OpenSystemPageOverTcp(sim, &page));

    QStringList seen;
    ChooseItem(page->firmwareComboBox, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!page->versionEdit->text().isEmpty(), SyncTimeoutMs);
    seen << page->versionEdit->text();
    for (int kind : { 2, 3 }) {
        ChooseItem(page->firmwareComboBox, kind);
        for (int port = 0; port < 4; ++port) {
            ChooseItem(page->portComboBox, port);
            QCOMPARE(page->versionEdit->text(), QString());
            QTRY_VERIFY_WITH_TIMEOUT(!page->versionEdit->text().isEmpty(), SyncTimeoutMs);
            seen << page->versionEdit->text();
        }
    }
    // Every board tells its own version.
    QCOMPARE(seen.size(), 9);
    QCOMPARE(QSet<QString>(seen.begin(), seen.end()).size(), 9);
    QCOMPARE(seen.mid(0, 3), (QStringList { "V2.05", "V1.31", "V1.32" }));
}

void TestSystem::writeDropsOnlyItsLink_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("write"); // "baud" or "network"
    QTest::addColumn<bool>("dropped");

    QTest::newRow("baud over RS232") << "RS232" << "baud" << true;
    QTest::newRow("baud over TCP") << "TCP" << "baud" << false;
    QTest::newRow("network over TCP") << "TCP" << "network" << true;
    QTest::newRow("network over RS232") << "RS232" << "network" << false;
}

// Writes 115200 or a new TCP port, sees the message and the link fate, then reconnects over
// the link that changed with what the connection page now shows.
void TestSystem::writeDropsOnlyItsLink()
{
    QFETCH(QString, link);
    QFETCH(QString, write);
    QFETCH(bool, dropped);

    GuiTest::SimProcess sim(m_fixture.Path() + QStringLiteral("/tty"));
    QVERIFY(sim.WaitUntilListening());
    Ui_Main *mainWindow = NewMainWindow();
    Ui_Uart_Network *connection = mainWindow->connectionPage;
    Ui_System *page = mainWindow->systemPage;
    QVERIFY(ConnectAndSync(link, sim));
    const int linkMode = LinkMode;
    mainWindow->tabWidget->setCurrentWidget(page);

    const QString newPort = QString::number(UnusedTcpPort());
    MessageBoxCatcher catcher;
    if (write == QLatin1String("baud")) {
        ChooseItem(page->baudComboBox, 4);
        QTest::mouseClick(page->rs232WriteButton, Qt::LeftButton);
    } else {
        GuiTest::TypeInto(page->ipEdit, QStringLiteral("127.0.0.1"));
        GuiTest::TypeInto(page->portEdit, newPort);
        QTest::mouseClick(page->networkWriteButton, Qt::LeftButton);
    }
    QTRY_COMPARE_WITH_TIMEOUT(catcher.Texts().size(), 1, SyncTimeoutMs);
    QCOMPARE(catcher.Texts().first(), dropped ? ReconnectText() : LinkKeptText());
    QCOMPARE(catcher.Boxes().first().parent, page);
    QCOMPARE(LinkMode, dropped ? int(LinkModeNone) : linkMode);

    // The stored settings and both pages show the device's new values.
    if (write == QLatin1String("baud")) {
        QCOMPARE(SP_BaudRate, QStringLiteral("115200"));
        QCOMPARE(connection->baudRateComboBox->currentText(), QStringLiteral("115200"));
    } else {
        QCOMPARE(SP_RemotePort, newPort);
        QCOMPARE(connection->portEdit->text(), newPort);
        QCOMPARE(page->portEdit->text(), newPort);
    }
    if (!dropped) {
        // The link in use keeps working.
        ChooseItem(page->firmwareComboBox, 1);
        QTRY_VERIFY_WITH_TIMEOUT(!page->versionEdit->text().isEmpty(), SyncTimeoutMs);
        QCOMPARE(catcher.Texts().size(), 1);
        return;
    }
    // Reconnecting as the connection page now shows it reaches the device again.
    const int syncs = connection->statusLog->toPlainText().count(SyncOver);
    if (link == QLatin1String("TCP")) {
        QVERIFY(GuiTest::ChooseLoopbackLocalAddress(connection));
        QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
    } else {
        QTest::mouseClick(connection->uartConnectButton, Qt::LeftButton);
    }
    QVERIFY2(WaitForSyncOverCount(syncs + 1), qPrintable(catcher.Texts().join('|')));
    QCOMPARE(catcher.Texts().size(), 1);
}

void TestSystem::resetRereadsEveryPage()
{
    GuiTest::SimProcess sim;
    QVERIFY(sim.WaitUntilListening());
    Ui_System *page = nullptr;
    QVERIFY(OpenSystemPageOverTcp(sim, &page));
    // Input 4 on output 1 before the reset.
    CmdSetRoute(3, 0);
    emit page->SGL_UpdateEmit();
    QTRY_COMPARE_WITH_TIMEOUT(int(DeviceState.routeInputOfOutput[0]), 3, SyncTimeoutMs);
    QSignalSpy sent(m_main.data(), &Ui_Main::SGL_DEBUG_SHOW_SendText);

    MessageBoxCatcher catcher(true);
    QTest::mouseClick(page->resetButton, Qt::LeftButton);
    QCOMPARE(catcher.Texts(), QStringList { SMSG_ResetMessage });
    QTRY_VERIFY_WITH_TIMEOUT(SentLines(sent).contains(QStringLiteral("GET NETWORK-INFO\r")), SyncTimeoutMs);

    // One read first: only a device that answers it is read page by page.
    QStringList expected { "SET RESET\r", "GET NETWORK-INFO\r", "GET MATRIX-ROUTE\r" };
    for (int input = 1; input <= 4; ++input)
        expected << QStringLiteral("GET IN%1 IN-INFO\r").arg(input);
    for (int output = 1; output <= 4; ++output)
        expected << QStringLiteral("GET OUT%1 OUT-INFO\r").arg(output);
    expected << "GET OUT1 MULTIVIEW-SYNC\r" << "GET OUT1 AUDIO SOURCE\r" << "GET OUT1 VKA\r" << "GET OUT1 ITC\r"
             << "GET TVWALL-INFO\r" << "GET NETWORK-INFO\r";
    QTRY_COMPARE_WITH_TIMEOUT(SentLines(sent), expected, SyncTimeoutMs);
    // The read after the reset is quiet and keeps the link.
    QTest::qWait(300);
    QCOMPARE(catcher.Texts(), QStringList { SMSG_ResetMessage });
    QCOMPARE(LinkMode, int(LinkModeTcp));
    QCOMPARE(int(DeviceState.routeInputOfOutput[0]), 0);
}

void TestSystem::firmwareKindsAfterLanguageSwitch_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("queued");
    QTest::addColumn<bool>("portListShown");

    QTest::newRow("Main") << 0 << QStringList { "GET MAIN VERSION\r" } << false;
    QTest::newRow("KeyBoard") << 1 << QStringList { "GET KEYBOARD VERSION\r" } << false;
    QTest::newRow("Output") << 3 << QStringList {} << true;
}

// The kinds are relabelled in the new language and still choose by their position.
void TestSystem::firmwareKindsAfterLanguageSwitch()
{
    QFETCH(int, kind);
    QFETCH(QStringList, queued);
    QFETCH(bool, portListShown);

    Ui_System *page = NewPage();
    const QStringList relabelled { "Hauptplatine", "Tastatur", "Eingang", "Ausgang" };
    for (int k = 0; k < 4; ++k)
        ScomboBox_FirmwareVersion[k] = relabelled.at(k);
    page->Retranslate(false, true);
    QCOMPARE(Items(page->firmwareComboBox), relabelled);

    ChooseItem(page->firmwareComboBox, kind);
    QCOMPARE(QueuedLines(TcpLinkQueue()), queued);
    QCOMPARE(page->portComboBox->isVisible(), portListShown);
}

// With a slow device, a network read and a baud write a moment later: each reply is taken for
// the answer to its own request, so the read stays quiet and the TCP link is kept.
void TestSystem::readThenWriteKeepTheirReplies()
{
    GuiTest::SimProcess sim(QString(), { "--latency", "300" });
    QVERIFY(sim.WaitUntilListening());
    Ui_System *page = nullptr;
    QVERIFY(OpenSystemPageOverTcp(sim, &page));
    MessageBoxCatcher catcher;

    QTest::mouseClick(page->networkReadButton, Qt::LeftButton);
    QTest::qWait(50);
    ChooseItem(page->baudComboBox, 1);
    QTest::mouseClick(page->rs232WriteButton, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(catcher.Texts().size(), 1, SyncTimeoutMs);
    QCOMPARE(catcher.Texts().first(), LinkKeptText());
    QTRY_COMPARE_WITH_TIMEOUT(page->linkSettingsRequests.count(), 0, SyncTimeoutMs);
    QTest::qWait(300);
    QCOMPARE(catcher.Texts().size(), 1);
    QCOMPARE(LinkMode, int(LinkModeTcp));
    QCOMPARE(SP_BaudRate, QStringLiteral("19200"));
    QCOMPARE(page->portEdit->text(), sim.tcpPort);
}

void TestSystem::unchangedWriteKeepsLink_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("write"); // "baud" or "network"

    QTest::newRow("baud over RS232") << "RS232" << "baud";
    QTest::newRow("network over TCP") << "TCP" << "network";
}

// Writing the values the device already has sends the command and keeps the link.
void TestSystem::unchangedWriteKeepsLink()
{
    QFETCH(QString, link);
    QFETCH(QString, write);

    GuiTest::SimProcess sim(m_fixture.Path() + QStringLiteral("/tty"));
    QVERIFY(sim.WaitUntilListening());
    Ui_Main *mainWindow = NewMainWindow();
    Ui_System *page = mainWindow->systemPage;
    QVERIFY(ConnectAndSync(link, sim));
    const int linkMode = LinkMode;
    mainWindow->tabWidget->setCurrentWidget(page);
    QSignalSpy sent(mainWindow, &Ui_Main::SGL_DEBUG_SHOW_SendText);

    MessageBoxCatcher catcher;
    if (write == QLatin1String("baud")) {
        ChooseItem(page->baudComboBox, 0); // 9600, the simulator's rate
        QTest::mouseClick(page->rs232WriteButton, Qt::LeftButton);
    } else {
        QTest::mouseClick(page->networkWriteButton, Qt::LeftButton);
    }
    QTRY_COMPARE_WITH_TIMEOUT(catcher.Texts().size(), 1, SyncTimeoutMs);
    QCOMPARE(catcher.Texts().first(), LinkKeptText());
    QCOMPARE(SentLines(sent).size(), 1);
    QVERIFY(SentLines(sent).first().startsWith(write == QLatin1String("baud") ? "SET BAUDRATE 9600" : "SET NETWORK-INFO"));
    QCOMPARE(LinkMode, linkMode);
    // The link still carries commands.
    ChooseItem(page->firmwareComboBox, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!page->versionEdit->text().isEmpty(), SyncTimeoutMs);
    QCOMPARE(catcher.Texts().size(), 1);
}

void TestSystem::silentDeviceAfterReset_data()
{
    QTest::addColumn<QString>("link");
    QTest::newRow("RS232") << "RS232";
    QTest::newRow("TCP") << "TCP";
}

// The link settings are changed and the link reopened with them; the reset brings the
// simulator back to its starting ones, so the program's link no longer reaches it: one message
// says so, the link is closed and nothing else follows.
void TestSystem::silentDeviceAfterReset()
{
    QFETCH(QString, link);

    GuiTest::SimProcess sim(m_fixture.Path() + QStringLiteral("/tty"));
    QVERIFY(sim.WaitUntilListening());
    Ui_Main *mainWindow = NewMainWindow();
    Ui_Uart_Network *connection = mainWindow->connectionPage;
    Ui_System *page = mainWindow->systemPage;
    QVERIFY(ConnectAndSync(link, sim));
    mainWindow->tabWidget->setCurrentWidget(page);

    MessageBoxCatcher catcher(true);
    if (link == QLatin1String("RS232")) {
        ChooseItem(page->baudComboBox, 1);
        QTest::mouseClick(page->rs232WriteButton, Qt::LeftButton);
    } else {
        GuiTest::TypeInto(page->portEdit, QString::number(UnusedTcpPort()));
        QTest::mouseClick(page->networkWriteButton, Qt::LeftButton);
    }
    QTRY_COMPARE_WITH_TIMEOUT(LinkMode, int(LinkModeNone), SyncTimeoutMs);
    const int syncs = connection->statusLog->toPlainText().count(SyncOver);
    if (link == QLatin1String("TCP")) {
        QVERIFY(GuiTest::ChooseLoopbackLocalAddress(connection));
        QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
    } else {
        QTest::mouseClick(connection->uartConnectButton, Qt::LeftButton);
    }
    QVERIFY2(WaitForSyncOverCount(syncs + 1), qPrintable(catcher.Texts().join('|')));
    mainWindow->tabWidget->setCurrentWidget(page);

    QTest::mouseClick(page->resetButton, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(LinkMode, int(LinkModeNone), SyncTimeoutMs);
    // Time for any further time-out to show up.
    QTest::qWait(2500);
    QCOMPARE(catcher.Texts(), (QStringList { ReconnectText(), SMSG_ResetMessage, SMSG_ResetNoAnswer }));
    QVERIFY(connection->statusLog->toPlainText().contains(
        link == QLatin1String("TCP") ? SMSG_Status_NetworkLost : SMSG_ResetNoAnswer));
    QCOMPARE(page->linkSettingsRequests.count(), 0);
}

QTEST_MAIN(TestSystem)
#include "tst_system.moc"
