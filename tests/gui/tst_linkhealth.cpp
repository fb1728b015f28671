// What the operator sees of a connection's life: a lost link (serial port gone, TCP
// reconnect failed, model query unanswered) is logged with its time and marked under the
// tabs until the next "Sync Over!"; a silent TCP reconnect reads the device again; a
// refused attempt leaves nothing queued for a later connection.
#include "GuiSimProcess.h"
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/LinkServices.h"
#include "link/ServiceSerialPort.h"
#include "link/ServiceTcpClient.h"
#include "link/Ui_Uart_Network.h"
#include "pages/Ui_Matrix.h"
#include "protocol/DeviceState.h"
#include "protocol/ReplyParser.h"
#include "settings/LanguageTexts.h"
#include "shell/LinkHealthBanner.h"
#include "shell/Ui_Main.h"
#include "shell/Ui_MainReplyPages.h"
#include "support/PtyPair.h"

#include <QDateTime>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>

namespace {

constexpr int SyncTimeoutMs = 15000;

QString LastLogLine(const Ui_Uart_Network *page)
{
    const QStringList lines = page->statusLog->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.last().trimmed();
}

// "[HH:mm:ss] text" with a time between the two moments (to the second).
bool IsTimedLine(const QString &line, const QString &text, const QDateTime &from, const QDateTime &to)
{
    const QRegularExpression form(QStringLiteral("^\\[(\\d\\d:\\d\\d:\\d\\d)\\] (.*)$"));
    const QRegularExpressionMatch match = form.match(line);
    if (!match.hasMatch() || match.captured(2) != text.trimmed())
        return false;
    const QTime at = QTime::fromString(match.captured(1), QStringLiteral("HH:mm:ss"));
    return at >= from.time().addMSecs(-from.time().msec()) && at <= to.time();
}

QStringList Sent(const QSignalSpy &spy)
{
    QStringList lines;
    for (const QList<QVariant> &arguments : spy)
        lines << arguments.at(0).toString();
    return lines;
}

QPushButton *CrossPoint(const Ui_Matrix *page, int k)
{
    return page->findChild<QPushButton *>(QStringLiteral("MatrixButton-%1").arg(k));
}

} // namespace

class TestLinkHealth : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void lostLinkIsMarkedUntilSyncOver_data();
    void lostLinkIsMarkedUntilSyncOver();
    void lostLinkAgainKeepsFirstTime();
    void bannerFollowsLanguage();
    void modelQueryTimeoutMarksPagesStale();
    void silentReconnectReadsDeviceAgain();
    void refusedAttemptLeavesNothingQueued_data();
    void refusedAttemptLeavesNothingQueued();

private:
    Ui_Main *NewMainWindow();
    void OpenSerialLink(const QString &path);
    void OpenTcpLink(quint16 port);
    bool ConnectToSimAndSync(GuiTest::SimProcess &sim);
    void FeedLine(const QString &line);

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_Main> m_main;
    Ui_Uart_Network *m_page = nullptr;
};

void TestLinkHealth::initTestCase()
{
    m_fixture.TakeDefaults();
    RegisterLinkMetaTypes();
}

void TestLinkHealth::init()
{
    QVERIFY(m_fixture.Begin());
    LinkMode = LinkModeNone;
    DeviceState_Clear();
}

void TestLinkHealth::cleanup()
{
    if (m_page)
        m_page->DisconnectActiveLink();
    m_main.reset();
    m_page = nullptr;
    LinkMode = LinkModeNone;
    m_fixture.End();
}

Ui_Main *TestLinkHealth::NewMainWindow()
{
    m_main.reset(new Ui_Main());
    m_page = m_main->connectionPage;
    m_main->show();
    m_main->tabWidget->setCurrentWidget(m_page);
    return m_main.data();
}

void TestLinkHealth::OpenSerialLink(const QString &path)
{
    GuiTest::TypeInto(m_page->serialPortComboBox->lineEdit(), path);
    QTest::mouseClick(m_page->uartConnectButton, Qt::LeftButton);
    QTRY_COMPARE(m_page->serialLinkState(), Ui_Uart_Network::LinkState::Open);
}

void TestLinkHealth::OpenTcpLink(quint16 port)
{
    GuiTest::TypeInto(m_page->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(m_page->portEdit, QString::number(port));
    QVERIFY(GuiTest::ChooseLoopbackLocalAddress(m_page));
    QTest::mouseClick(m_page->networkConnectButton, Qt::LeftButton);
    QTRY_COMPARE(m_page->networkLinkState(), Ui_Uart_Network::LinkState::Open);
}

bool TestLinkHealth::ConnectToSimAndSync(GuiTest::SimProcess &sim)
{
    GuiTest::TypeInto(m_page->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(m_page->portEdit, sim.tcpPort);
    if (!GuiTest::ChooseLoopbackLocalAddress(m_page))
        return false;
    QTest::mouseClick(m_page->networkConnectButton, Qt::LeftButton);
    QElapsedTimer deadline;
    deadline.start();
    while (!m_page->statusLog->toPlainText().contains(QLatin1String("->Sync Over!<-"))
        && deadline.elapsed() < SyncTimeoutMs)
        QTest::qWait(10);
    return m_page->statusLog->toPlainText().contains(QLatin1String("->Sync Over!<-"));
}

// A line as the receive drain hands it to the parser.
void TestLinkHealth::FeedLine(const QString &line)
{
    ParseReplyLine(*m_main->replyPages, line);
}

void TestLinkHealth::lostLinkIsMarkedUntilSyncOver_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("loss");
    QTest::addColumn<QString>("logText");
    QTest::addColumn<QString>("message");

    QTest::newRow("serial port lost") << "RS232"
                                      << "port lost"
                                      << "Serial port lost, link closed: %1"
                                      << "The serial port is gone, the link is closed:%1";
    QTest::newRow("TCP reconnect failed") << "TCP"
                                          << "reconnect failed"
                                          << "Network link lost, reconnect failed."
                                          << "Network connect error,please reconnect network!!!";
    QTest::newRow("model query over RS232 unanswered")
        << "RS232"
        << "model timeout"
        << "The device did not answer the identification, link closed."
        << "Failed to identify device!Error Code:GET MODEL TYPE";
    QTest::newRow("model query over TCP unanswered")
        << "TCP"
        << "model timeout"
        << "The device did not answer the identification, link closed."
        << "Failed to identify device!Error Code:GET MODEL TYPE";
}

void TestLinkHealth::lostLinkIsMarkedUntilSyncOver()
{
    QFETCH(QString, link);
    QFETCH(QString, loss);
    QFETCH(QString, logText);
    QFETCH(QString, message);

    PtyPair pty;
    QVERIFY(pty.isOpen());
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    Ui_Main *mainWindow = NewMainWindow();
    const bool serial = link == QLatin1String("RS232");
    if (serial)
        OpenSerialLink(pty.slavePath());
    else
        OpenTcpLink(server.serverPort());
    // A state the device reported earlier: it stays on display after the loss.
    mainWindow->replyPages->matrixSetRoute(2, 1);
    QVERIFY(!mainWindow->linkHealthBanner->isVisible());

    MessageBoxCatcher catcher;
    const QDateTime before = QDateTime::currentDateTime();
    if (loss == QLatin1String("port lost")) {
        // The worker reports a port that is gone once; a second report changes nothing.
        emit g_ServiceSerialPort->SGL_PortLost_SerialPort(pty.slavePath());
        emit g_ServiceSerialPort->SGL_PortLost_SerialPort(pty.slavePath());
    } else if (loss == QLatin1String("reconnect failed")) {
        emit g_ServiceTcpClient->SGL_ReConnectStatus_TcpClient(false);
    } else if (serial) {
        emit g_ServiceSerialPort->SGL_WaitReplyTimeout_SerialPort(QStringLiteral("GET MODEL TYPE\r"));
    } else {
        emit g_ServiceTcpClient->SGL_WaitReplyTimeout_TcpClient(QStringLiteral("GET MODEL TYPE\r"));
    }
    QTRY_COMPARE(catcher.Texts().size(), 1);
    QTest::qWait(50);
    const QDateTime after = QDateTime::currentDateTime();

    // One message, naming the port where a port was lost.
    QCOMPARE(catcher.Texts().size(), 1);
    QCOMPARE(catcher.Texts().first().trimmed(), QString(message).replace(QLatin1String("%1"), pty.slavePath()));
    // Back to "not connected" exactly as after the operator's Disconnect.
    QCOMPARE(LinkMode, int(LinkModeNone));
    QCOMPARE(m_page->serialLinkState(), Ui_Uart_Network::LinkState::NotConnected);
    QCOMPARE(m_page->networkLinkState(), Ui_Uart_Network::LinkState::NotConnected);
    QCOMPARE(m_page->uartConnectButton->text(), QStringLiteral("Connect"));
    QCOMPARE(m_page->networkConnectButton->text(), QStringLiteral("Connect"));
    QVERIFY(m_page->uartConnectButton->isEnabled());
    QVERIFY(m_page->networkConnectButton->isEnabled());
    QVERIFY(m_page->serialPortComboBox->isEnabled());
    QVERIFY(m_page->ipEdit->isEnabled());
    QVERIFY(!DeviceState.modelReplyHandled);
    QVERIFY(!g_ThreadSerialPort->isRunning());
    QVERIFY(!g_ThreadTcpClient->isRunning());
    // The status log has the loss with its local time.
    QVERIFY2(IsTimedLine(LastLogLine(m_page), QString(logText).replace(QLatin1String("%1"), pty.slavePath()), before, after),
        qPrintable(LastLogLine(m_page)));

    // Every page shows the mark, in one place under the tabs and above the page.
    LinkHealthBanner *banner = mainWindow->linkHealthBanner;
    for (int tab = 0; tab < mainWindow->tabWidget->count(); ++tab) {
        mainWindow->tabWidget->setCurrentIndex(tab);
        QWidget *page = mainWindow->tabWidget->currentWidget();
        QVERIFY(banner->isVisible());
        QVERIFY(!banner->visibleRegion().isEmpty());
        const QPoint bannerTop = banner->mapTo(mainWindow, QPoint(0, 0));
        const QPoint pageTop = page->mapTo(mainWindow, QPoint(0, 0));
        const QTabBar *tabBar = mainWindow->tabWidget->tabBar();
        QVERIFY(bannerTop.y() >= tabBar->mapTo(mainWindow, QPoint(0, tabBar->height())).y());
        QCOMPARE(pageTop.y(), bannerTop.y() + banner->height());
        QCOMPARE(banner->width(), page->width());
    }
    QVERIFY(banner->text().startsWith(Slabel_LinkOffline));
    QVERIFY(IsTimedLine(QStringLiteral("[%1] x").arg(banner->text().right(8)), QStringLiteral("x"), before, after));
    // Nothing was cleared.
    QCOMPARE(DeviceState.routeInputOfOutput[1], 2u);
    QCOMPARE(mainWindow->matrixPage->crossPointButtons.size(), 256);
    QVERIFY(CrossPoint(mainWindow->matrixPage, 1 * 16 + 2)->isFlat());

    // The next synchronisation's end makes the values live again.
    FeedLine(QStringLiteral("SYNC-OVER\r"));
    QVERIFY(!banner->isVisible());
    QVERIFY(!banner->IsShowingLinkLost());
    QWidget *page = mainWindow->tabWidget->currentWidget();
    QCOMPARE(page->mapTo(mainWindow, QPoint(0, 0)).y(), banner->mapTo(mainWindow, QPoint(0, 0)).y());
}

// The values are stale since the first loss, so a later one keeps the first time.
void TestLinkHealth::lostLinkAgainKeepsFirstTime()
{
    PtyPair pty;
    QVERIFY(pty.isOpen());
    Ui_Main *mainWindow = NewMainWindow();
    MessageBoxCatcher catcher;
    const QDateTime first = QDateTime::currentDateTime().addSecs(-3600);
    mainWindow->linkHealthBanner->ShowLinkLost(first);

    OpenSerialLink(pty.slavePath());
    emit g_ServiceSerialPort->SGL_PortLost_SerialPort(pty.slavePath());
    QTRY_COMPARE(catcher.Texts().size(), 1);

    QCOMPARE(mainWindow->linkHealthBanner->lostAt(), first);
    QVERIFY(mainWindow->linkHealthBanner->text().endsWith(first.toString(QStringLiteral("HH:mm:ss"))));
}

void TestLinkHealth::bannerFollowsLanguage()
{
    Ui_Main *mainWindow = NewMainWindow();
    const QDateTime lostAt(QDate(2026, 3, 1), QTime(14, 5, 9));
    mainWindow->linkHealthBanner->ShowLinkLost(lostAt);
    QCOMPARE(mainWindow->linkHealthBanner->text(), Slabel_LinkOffline + QStringLiteral("14:05:09"));

    Slabel_LinkOffline = QStringLiteral("Offline since ");
    mainWindow->SetupTexts(false);

    QCOMPARE(mainWindow->linkHealthBanner->text(), QStringLiteral("Offline since 14:05:09"));
}

// The real thing against the simulator: it answers everything but the model query.
void TestLinkHealth::modelQueryTimeoutMarksPagesStale()
{
    GuiTest::SimProcess sim(QString(), { "--mute", "MODEL TYPE" });
    QVERIFY(sim.WaitUntilListening());
    Ui_Main *mainWindow = NewMainWindow();
    MessageBoxCatcher catcher;

    OpenTcpLink(sim.tcpPort.toUShort());
    QTRY_COMPARE_WITH_TIMEOUT(catcher.Texts().size(), 1, 6000);

    QVERIFY(mainWindow->linkHealthBanner->isVisible());
    QVERIFY(LastLogLine(m_page).endsWith(SMSG_Status_ModelQueryTimedOut));
    QCOMPARE(m_page->networkLinkState(), Ui_Uart_Network::LinkState::NotConnected);
}

// The device drops the connection after the synchronisation and is changed at its front
// panel while the program is not connected. The next click reconnects silently, and every
// page reads the device again, as after a scene load, so the change shows.
void TestLinkHealth::silentReconnectReadsDeviceAgain()
{
    // The model query and the 16 lines of the burst; then the device drops the connection.
    GuiTest::SimProcess sim(QString(), { "--drop-after", "17" });
    QVERIFY(sim.WaitUntilListening());
    Ui_Main *mainWindow = NewMainWindow();
    QVERIFY2(ConnectToSimAndSync(sim), qPrintable(m_page->statusLog->toPlainText()));
    QCOMPARE(DeviceState.routeInputOfOutput[0], 0u);
    QTest::qWait(200);
    QTcpSocket frontPanel;
    frontPanel.connectToHost(QHostAddress(QStringLiteral("127.0.0.1")), sim.tcpPort.toUShort());
    QVERIFY(frontPanel.waitForConnected(3000));
    frontPanel.write("SET IN4 VIDEO OUT1\r");
    QVERIFY(frontPanel.waitForReadyRead(3000));
    frontPanel.close();

    QSignalSpy sent(mainWindow, &Ui_Main::SGL_DEBUG_SHOW_SendText);
    MessageBoxCatcher catcher;
    const QDateTime before = QDateTime::currentDateTime();
    mainWindow->tabWidget->setCurrentWidget(mainWindow->matrixPage);
    QTest::mouseClick(CrossPoint(mainWindow->matrixPage, 6), Qt::LeftButton);

    QStringList expected { "SET IN3 VIDEO OUT2\r", "GET MATRIX-ROUTE\r" };
    for (int input = 1; input <= 4; ++input)
        expected << QStringLiteral("GET IN%1 IN-INFO\r").arg(input);
    for (int output = 1; output <= 4; ++output)
        expected << QStringLiteral("GET OUT%1 OUT-INFO\r").arg(output);
    QTRY_COMPARE_WITH_TIMEOUT(Sent(sent).size(), expected.size() + 6, 10000);
    const QStringList lines = Sent(sent);
    QCOMPARE(lines.mid(0, expected.size()), expected);
    QCOMPARE(lines.last(), QStringLiteral("GET NETWORK-INFO\r"));
    QVERIFY(!lines.contains(QStringLiteral("GET SYNC-OVER\r")));
    QVERIFY(!lines.contains(QStringLiteral("GET MODEL TYPE\r")));
    QTest::qWait(300);
    QCOMPARE(sent.count(), expected.size() + 6);
    QVERIFY2(catcher.Texts().isEmpty(), qPrintable(catcher.Texts().join(QLatin1Char('|'))));

    // The change made while the link was down is on the matrix page now.
    QTRY_COMPARE(DeviceState.routeInputOfOutput[0], 3u);
    QVERIFY(CrossPoint(mainWindow->matrixPage, 3)->isFlat());
    QCOMPARE(DeviceState.routeInputOfOutput[1], 2u);
    // The link stayed up: no mark, and the reconnect is in the log with its time.
    QCOMPARE(m_page->networkLinkState(), Ui_Uart_Network::LinkState::Open);
    QCOMPARE(LinkMode, int(LinkModeTcp));
    QVERIFY(!mainWindow->linkHealthBanner->isVisible());
    const QStringList log = m_page->statusLog->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const int reconnectLine
        = log.indexOf(QRegularExpression(QStringLiteral("^\\[.*\\] Network link lost and reconnected.*")));
    QVERIFY2(reconnectLine >= 0, qPrintable(log.join(QLatin1Char('|'))));
    QVERIFY(IsTimedLine(log.at(reconnectLine).trimmed(), SMSG_Status_NetworkReconnected, before,
        QDateTime::currentDateTime()));
}

void TestLinkHealth::refusedAttemptLeavesNothingQueued_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<bool>("portListens");
    QTest::addColumn<QString>("message");

    QTest::newRow("parameter check refuses") << "127.0.0" << true << "Network Info error!!!please check it!";
    QTest::newRow("nobody listens on the port")
        << "127.0.0.1" << false
        << "please check your local ip config information!Error Code:5\nConnection refused: nothing listens "
           "at that address and port.";
}

void TestLinkHealth::refusedAttemptLeavesNothingQueued()
{
    QFETCH(QString, ip);
    QFETCH(bool, portListens);
    QFETCH(QString, message);

    QTcpServer server;
    QVERIFY(server.listen(QHostAddress(QStringLiteral("127.0.0.1")), 0));
    const quint16 refusedPort = portListens ? server.serverPort() : GuiTest::UnusedTcpPort();
    Ui_Main *mainWindow = NewMainWindow();
    MessageBoxCatcher catcher;

    GuiTest::TypeInto(m_page->ipEdit, ip);
    GuiTest::TypeInto(m_page->portEdit, QString::number(refusedPort));
    GuiTest::ChooseLoopbackLocalAddress(m_page);
    QTest::mouseClick(m_page->networkConnectButton, Qt::LeftButton);
    QTRY_COMPARE(catcher.Texts(), QStringList { message });
    QCOMPARE(m_page->networkLinkState(), Ui_Uart_Network::LinkState::NotConnected);
    QCOMPARE(LinkMode, int(LinkModeNone));
    QCOMPARE(m_page->networkConnectButton->text(), QStringLiteral("Connect"));

    // The operator clicks a cross point while no link is open.
    mainWindow->tabWidget->setCurrentWidget(mainWindow->matrixPage);
    QTest::mouseClick(CrossPoint(mainWindow->matrixPage, 1), Qt::LeftButton);
    QCOMPARE(TcpLinkQueue().sendQueueSize(), 0);
    QCOMPARE(SerialLinkQueue().sendQueueSize(), 0);

    // The next connection starts with the identification, and nothing else follows it.
    mainWindow->tabWidget->setCurrentWidget(m_page);
    OpenTcpLink(server.serverPort());
    QTRY_VERIFY(server.hasPendingConnections());
    QTcpSocket *device = server.nextPendingConnection();
    QByteArray received;
    QTRY_VERIFY(received.append(device->readAll()).contains('\r'));
    QTest::qWait(300);
    received.append(device->readAll());
    QCOMPARE(received, QByteArray("GET MODEL TYPE\r"));
    m_page->DisconnectActiveLink();
}

QTEST_MAIN(TestLinkHealth)
#include "tst_linkhealth.moc"
