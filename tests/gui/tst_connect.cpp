// Connecting as an operator does: the connection page against the device simulator over TCP
// and over its pseudo-terminal, the identification and the synchronisation burst, routing
// from the matrix page, and the ways a connection fails.
#include "GuiTestFixture.h"
#include "GuiSimProcess.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/LinkServices.h"
#include "link/Ui_Debug.h"
#include "link/Ui_Uart_Network.h"
#include "pages/Ui_Matrix.h"
#include "protocol/DeviceState.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/LinkHealthBanner.h"
#include "shell/MyComboBox.h"
#include "shell/Ui_Main.h"
#include "support/TestPaths.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTcpServer>
#include <QTextEdit>
#include <QThread>
#include <QVector>
#include <QtTest>

namespace {

constexpr int SyncTimeoutMs = 15000;

// tavilon-sim as a child process on a free TCP port of 127.0.0.1 and a pseudo-terminal.
QStringList LogLines(const Ui_Uart_Network *page)
{
    QStringList lines;
    for (const QString &line : page->statusLog->toPlainText().split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            lines << line.trimmed();
    }
    return lines;
}

QPushButton *CrossPoint(const Ui_Matrix *page, int k)
{
    return page->findChild<QPushButton *>(QStringLiteral("MatrixButton-%1").arg(k));
}

// The input each shown output row marks as routed, -1 for a row without a flat button.
QVector<int> FlatColumns(const Ui_Matrix *page, int inputs, int outputs)
{
    QVector<int> columns;
    for (int row = 0; row < outputs; ++row) {
        int flat = -1;
        for (int column = 0; column < inputs; ++column) {
            if (CrossPoint(page, row * inputs + column)->isFlat())
                flat = column;
        }
        columns << flat;
    }
    return columns;
}

QVector<int> RoutesOfDevice()
{
    QVector<int> routes;
    for (quint32 output = 0; output < 4; ++output)
        routes << int(DeviceState.routeInputOfOutput[output]);
    return routes;
}

} // namespace

class TestConnect : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void connectAndSynchronise_data();
    void connectAndSynchronise();
    void crossPointTurnsFlatOnlyAfterReply();
    void allSetRoutesOneInputEverywhere();
    void wrongModelDisconnects_data();
    void wrongModelDisconnects();
    void unansweredModelQueryDisconnects();
    void deviceGoneReconnectFails();
    void linkThatCannotOpen_data();
    void linkThatCannotOpen();
    void networkPreChecksStartNothing_data();
    void networkPreChecksStartNothing();
    void deviceOnAnotherSubnet_data();
    void deviceOnAnotherSubnet();

private:
    Ui_Main *NewMainWindow();
    void PressNetworkConnect(const QString &ip, const QString &port);
    void PressSerialConnect(const QString &portName);
    bool ConnectAndWaitForSync(const QString &link, GuiTest::SimProcess &sim, qint64 *elapsedMs = nullptr);

    QString AppFilePath(const QString &name) const { return m_fixture.Path() + QLatin1Char('/') + name; }

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_Main> m_main;
    Ui_Uart_Network *m_page = nullptr;
};

void TestConnect::initTestCase()
{
    m_fixture.TakeDefaults();
    QVERIFY2(QFileInfo::exists(TestBinDir() + QStringLiteral("/tavilon-sim")), "tavilon-sim is not built");
}

void TestConnect::init()
{
    QVERIFY(m_fixture.Begin());
    LinkMode = LinkModeNone;
    DeviceState_Clear();
}

void TestConnect::cleanup()
{
    if (m_page)
        m_page->DisconnectActiveLink();
    m_main.reset();
    m_page = nullptr;
    LinkMode = LinkModeNone;
    m_fixture.End();
}

Ui_Main *TestConnect::NewMainWindow()
{
    m_main.reset(new Ui_Main());
    m_page = m_main->connectionPage;
    m_main->show();
    m_main->tabWidget->setCurrentWidget(m_page);
    return m_main.data();
}

void TestConnect::PressNetworkConnect(const QString &ip, const QString &port)
{
    GuiTest::TypeInto(m_page->ipEdit, ip);
    GuiTest::TypeInto(m_page->portEdit, port);
    QVERIFY(GuiTest::ChooseLoopbackLocalAddress(m_page));
    QTest::mouseClick(m_page->networkConnectButton, Qt::LeftButton);
}

void TestConnect::PressSerialConnect(const QString &portName)
{
    // Pseudo-terminals are never listed; the name is typed.
    GuiTest::TypeInto(m_page->serialPortComboBox->lineEdit(), portName);
    QTest::mouseClick(m_page->uartConnectButton, Qt::LeftButton);
}

bool TestConnect::ConnectAndWaitForSync(const QString &link, GuiTest::SimProcess &sim, qint64 *elapsedMs)
{
    const QString syncOver = QStringLiteral("->Sync Over!<-");
    QElapsedTimer timer;
    qint64 syncedAt = -1;
    // Captures locals: disconnected before they go.
    const QMetaObject::Connection watch
        = QObject::connect(m_page->statusLog, &QPlainTextEdit::textChanged, m_page, [&] {
              if (syncedAt < 0 && m_page->statusLog->toPlainText().contains(syncOver))
                  syncedAt = timer.elapsed();
          });
    timer.start();
    if (link == QLatin1String("TCP"))
        PressNetworkConnect(QStringLiteral("127.0.0.1"), sim.tcpPort);
    else
        PressSerialConnect(sim.ptyPath);
    QElapsedTimer deadline;
    deadline.start();
    while (syncedAt < 0 && deadline.elapsed() < SyncTimeoutMs)
        QTest::qWait(10);
    QObject::disconnect(watch);
    if (elapsedMs)
        *elapsedMs = syncedAt;
    return syncedAt >= 0;
}

void TestConnect::connectAndSynchronise_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<QString>("linkSettingsQuery");

    QTest::newRow("TCP") << "TCP" << int(LinkModeTcp) << "GET NETWORK-INFO\r";
    QTest::newRow("RS232 over a pseudo-terminal") << "RS232" << int(LinkModeSerial) << "GET BAUDRATE\r";
}

void TestConnect::connectAndSynchronise()
{
    QFETCH(QString, link);
    QFETCH(int, linkMode);
    QFETCH(QString, linkSettingsQuery);

    GuiTest::SimProcess sim(AppFilePath(QStringLiteral("tty")));
    QVERIFY(sim.WaitUntilListening());
    Ui_Main *mainWindow = NewMainWindow();
    QCOMPARE(mainWindow->matrixPage->crossPointButtons.size(), 256);
    QSignalSpy sent(mainWindow, &Ui_Main::SGL_DEBUG_SHOW_SendText);

    qint64 elapsedMs = -1;
    QVERIFY2(ConnectAndWaitForSync(link, sim, &elapsedMs), qPrintable(m_page->statusLog->toPlainText()));
    qInfo("%s: Connect pressed to \"Sync Over!\" shown in %lld ms", qPrintable(link), elapsedMs);

    QCOMPARE(LinkMode, linkMode);
    QCOMPARE(LogLines(m_page), GuiTest::ExpectedSyncLog());
    QVERIFY(!DeviceState.modelUnconfirmed);

    // Sixteen lines go out, the model query first and the end mark last.
    QStringList sentLines;
    for (const QList<QVariant> &arguments : qAsConst(sent))
        sentLines << arguments.at(0).toString();
    QCOMPARE(sentLines.size(), 17);
    QCOMPARE(sentLines.first(), QStringLiteral("GET MODEL TYPE\r"));
    QCOMPARE(sentLines.at(15), linkSettingsQuery);
    QCOMPARE(sentLines.last(), QStringLiteral("GET SYNC-OVER\r"));

    // Identified as 4 x 4: the grid was rebuilt and shows the device's routes.
    Ui_Matrix *matrix = mainWindow->matrixPage;
    QCOMPARE(matrix->crossPointButtons.size(), 16);
    for (int k = 0; k < 16; ++k)
        QVERIFY2(CrossPoint(matrix, k), qPrintable(QString::number(k)));
    QVERIFY(!CrossPoint(matrix, 16));
    QCOMPARE(matrix->gridGroup->size(), QSize(403, 175));
    QCOMPARE(FlatColumns(matrix, 4, 4), RoutesOfDevice());
    QCOMPARE(RoutesOfDevice(), (QVector<int> { 0, 1, 2, 3 }));

    // The traffic reached the debug console, which Alt+Z opens while the link is up.
    QTest::keyClick(mainWindow, Qt::Key_Z, Qt::AltModifier);
    QVERIFY(mainWindow->debugConsole->isVisible());
    QVERIFY(mainWindow->debugConsole->recvBox->toPlainText().contains(QLatin1String("MODEL TYPE RZ7P52KN")));
    QVERIFY(mainWindow->debugConsole->sendLogBox->toPlainText().endsWith(QLatin1String(" TX GET SYNC-OVER")));
    mainWindow->debugConsole->close();

    // Disconnect: the link is dropped and the parameters can be changed again.
    QPushButton *button = linkMode == LinkModeTcp ? m_page->networkConnectButton : m_page->uartConnectButton;
    QPushButton *otherButton
        = linkMode == LinkModeTcp ? m_page->uartConnectButton : m_page->networkConnectButton;
    QVERIFY(!otherButton->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(LinkMode, int(LinkModeNone));
    QCOMPARE(button->text(), QStringLiteral("Connect"));
    QVERIFY(otherButton->isEnabled());
    QVERIFY(m_page->ipEdit->isEnabled());
    QVERIFY(m_page->serialPortComboBox->isEnabled());
    QVERIFY(!DeviceState.modelReplyHandled);
    QVERIFY(!g_ThreadTcpClient->isRunning());
    QVERIFY(!g_ThreadSerialPort->isRunning());
}

void TestConnect::crossPointTurnsFlatOnlyAfterReply()
{
    GuiTest::SimProcess sim(AppFilePath(QStringLiteral("tty")));
    QVERIFY(sim.WaitUntilListening());
    Ui_Main *mainWindow = NewMainWindow();
    QVERIFY(ConnectAndWaitForSync(QStringLiteral("TCP"), sim));
    Ui_Matrix *matrix = mainWindow->matrixPage;
    mainWindow->tabWidget->setCurrentWidget(matrix);
    QSignalSpy sent(mainWindow, &Ui_Main::SGL_DEBUG_SHOW_SendText);

    // Row 1 (output 2), column 2 (input 3).
    QTest::mouseClick(CrossPoint(matrix, 6), Qt::LeftButton);
    QVERIFY(!CrossPoint(matrix, 6)->isFlat());
    QVERIFY(CrossPoint(matrix, 5)->isFlat());

    QTRY_COMPARE(sent.count(), 1);
    QCOMPARE(sent.first().at(0).toString(), QStringLiteral("SET IN3 VIDEO OUT2\r"));
    QTRY_VERIFY(CrossPoint(matrix, 6)->isFlat());
    QVERIFY(!CrossPoint(matrix, 5)->isFlat());
    QCOMPARE(FlatColumns(matrix, 4, 4), (QVector<int> { 0, 2, 2, 3 }));
    QCOMPARE(RoutesOfDevice(), (QVector<int> { 0, 2, 2, 3 }));
}

void TestConnect::allSetRoutesOneInputEverywhere()
{
    GuiTest::SimProcess sim(AppFilePath(QStringLiteral("tty")));
    QVERIFY(sim.WaitUntilListening());
    Ui_Main *mainWindow = NewMainWindow();
    QVERIFY(ConnectAndWaitForSync(QStringLiteral("RS232"), sim));
    Ui_Matrix *matrix = mainWindow->matrixPage;
    mainWindow->tabWidget->setCurrentWidget(matrix);
    S_InputName[1] = QStringLiteral("Camera");
    QSignalSpy sent(mainWindow, &Ui_Main::SGL_DEBUG_SHOW_SendText);

    // Opening the list fills it with the input names; the list index is the input.
    MyComboBox *combo = matrix->allOutputComboBox;
    combo->showPopup();
    QCOMPARE(combo->count(), 4);
    QCOMPARE(combo->itemText(1), QStringLiteral("Camera"));
    QAbstractItemView *view = combo->view();
    const QRect item = view->visualRect(view->model()->index(1, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());

    QTRY_COMPARE(sent.count(), 1);
    QCOMPARE(sent.first().at(0).toString(), QStringLiteral("SET IN2 VIDEO ALL\r"));
    QTRY_COMPARE(FlatColumns(matrix, 4, 4), (QVector<int> { 1, 1, 1, 1 }));
    QCOMPARE(RoutesOfDevice(), (QVector<int> { 1, 1, 1, 1 }));
}

void TestConnect::wrongModelDisconnects_data()
{
    QTest::addColumn<QString>("link");

    QTest::newRow("TCP") << "TCP";
    QTest::newRow("RS232") << "RS232";
}

void TestConnect::wrongModelDisconnects()
{
    QFETCH(QString, link);

    GuiTest::SimProcess sim(AppFilePath(QStringLiteral("tty")), { "--model", "XYZ" });
    QVERIFY(sim.WaitUntilListening());
    Ui_Main *mainWindow = NewMainWindow();
    MessageBoxCatcher catcher;

    if (link == QLatin1String("TCP"))
        PressNetworkConnect(QStringLiteral("127.0.0.1"), sim.tcpPort);
    else
        PressSerialConnect(sim.ptyPath);

    QTRY_COMPARE(catcher.Texts(), QStringList { "The machine does not match with the PC tool!" });
    QCOMPARE(catcher.Boxes().first().parent, mainWindow);
    QCOMPARE(LinkMode, int(LinkModeNone));
    QCOMPARE(m_page->networkConnectButton->text(), QStringLiteral("Connect"));
    QCOMPARE(m_page->uartConnectButton->text(), QStringLiteral("Connect"));
    QVERIFY(m_page->networkConnectButton->isEnabled());
    QVERIFY(m_page->uartConnectButton->isEnabled());
    QVERIFY(DeviceState.modelUnconfirmed);
    QCOMPARE(mainWindow->matrixPage->crossPointButtons.size(), 256);
    QVERIFY(!LogLines(m_page).contains(QStringLiteral("->Sync Over!<-")));
}

void TestConnect::unansweredModelQueryDisconnects()
{
    GuiTest::SimProcess sim(AppFilePath(QStringLiteral("tty")), { "--mute", "MODEL TYPE" });
    QVERIFY(sim.WaitUntilListening());
    Ui_Main *mainWindow = NewMainWindow();
    MessageBoxCatcher catcher;

    PressNetworkConnect(QStringLiteral("127.0.0.1"), sim.tcpPort);
    QCOMPARE(LinkMode, int(LinkModeTcp));

    QTRY_COMPARE_WITH_TIMEOUT(catcher.Texts().size(), 1, 6000);
    QCOMPARE(catcher.Texts().first().trimmed(),
        QStringLiteral("Failed to identify device!Error Code:GET MODEL TYPE"));
    QCOMPARE(catcher.Boxes().first().parent, mainWindow);
    QCOMPARE(LinkMode, int(LinkModeNone));
    QCOMPARE(m_page->networkConnectButton->text(), QStringLiteral("Connect"));
    QVERIFY(m_page->uartConnectButton->isEnabled());
    QVERIFY(m_page->ipEdit->isEnabled());
    QVERIFY(!g_ThreadTcpClient->isRunning());
}

// The TCP link reconnects silently before a send; when the device is gone for good the
// operator is told and the link is dropped.
void TestConnect::deviceGoneReconnectFails()
{
    GuiTest::SimProcess sim(AppFilePath(QStringLiteral("tty")));
    QVERIFY(sim.WaitUntilListening());
    Ui_Main *mainWindow = NewMainWindow();
    QVERIFY(ConnectAndWaitForSync(QStringLiteral("TCP"), sim));
    sim.Stop();
    MessageBoxCatcher catcher;

    QTest::mouseClick(CrossPoint(mainWindow->matrixPage, 6), Qt::LeftButton);

    QTRY_VERIFY_WITH_TIMEOUT(
        catcher.Texts().contains(QStringLiteral("Network connect error,please reconnect network!!!")), 5000);
    QCOMPARE(catcher.Texts().size(), 1);
    QCOMPARE(catcher.Boxes().first().parent, m_page);
    QCOMPARE(LinkMode, int(LinkModeNone));
    QCOMPARE(m_page->networkConnectButton->text(), QStringLiteral("Connect"));
    QVERIFY(m_page->uartConnectButton->isEnabled());
    QVERIFY(m_page->ipEdit->isEnabled());
    QVERIFY(!g_ThreadTcpClient->isRunning());
    // The pages keep what they showed, marked as no longer live.
    QVERIFY(mainWindow->linkHealthBanner->isVisible());
    QVERIFY(LogLines(m_page).last().endsWith(QLatin1String("] Network link lost, reconnect failed.")));
    QCOMPARE(FlatColumns(mainWindow->matrixPage, 4, 4), (QVector<int> { 0, 1, 2, 3 }));
}

void TestConnect::linkThatCannotOpen_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("message");

    QTest::newRow("serial port that does not exist")
        << "RS232"
        << "Serial Port Connect Failed!Error Code:3\nNo such port: check the port name and that the "
           "adapter is plugged in.";
    QTest::newRow("serial port that is a plain file")
        << "RS232 file"
        << "Serial Port Connect Failed!Error Code:3\nThis is not a serial device.";
    QTest::newRow("TCP port nobody listens on")
        << "TCP"
        << "please check your local ip config information!Error Code:5\nConnection refused: nothing "
           "listens at that address and port.";
}

void TestConnect::linkThatCannotOpen()
{
    QFETCH(QString, link);
    QFETCH(QString, message);

    NewMainWindow();
    MessageBoxCatcher catcher;

    if (link == QLatin1String("TCP")) {
        PressNetworkConnect(QStringLiteral("127.0.0.1"), QString::number(GuiTest::UnusedTcpPort()));
    } else if (link == QLatin1String("RS232 file")) {
        QFile plain(AppFilePath(QStringLiteral("plain-file")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        PressSerialConnect(plain.fileName());
    } else {
        PressSerialConnect(AppFilePath(QStringLiteral("no-such-tty")));
    }

    QTRY_COMPARE(catcher.Texts(), QStringList { message });
    QCOMPARE(catcher.Boxes().first().parent, m_page);
    QCOMPARE(LinkMode, int(LinkModeNone));
    QCOMPARE(m_page->networkConnectButton->text(), QStringLiteral("Connect"));
    QCOMPARE(m_page->uartConnectButton->text(), QStringLiteral("Connect"));
    QVERIFY(m_page->networkConnectButton->isEnabled());
    QVERIFY(m_page->uartConnectButton->isEnabled());
    QVERIFY(m_page->ipEdit->isEnabled());
    QVERIFY(m_page->serialPortComboBox->isEnabled());
}

void TestConnect::networkPreChecksStartNothing_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("message");

    const QString parameterFail = QStringLiteral("Network Info error!!!please check it!");
    QTest::newRow("IP with two dots") << "127.0.0"
                                      << "2000"
                                      << "255.255.255.0" << parameterFail;
    QTest::newRow("port 65535") << "127.0.0.1"
                                << "65535"
                                << "255.255.255.0" << parameterFail;
    QTest::newRow("mask part above 255") << "127.0.0.1"
                                         << "2000"
                                         << "255.255.256.0" << parameterFail;
    // A device outside every local subnet is no longer refused here: the page offers the
    // system's route (tested with the routed connection). A mask of three parts still is.
    QTest::newRow("mask with two dots") << "127.0.0.1"
                                        << "2000"
                                        << "255.255.255" << parameterFail;
}

void TestConnect::networkPreChecksStartNothing()
{
    QFETCH(QString, ip);
    QFETCH(QString, port);
    QFETCH(QString, mask);
    QFETCH(QString, message);

    NewMainWindow();
    MessageBoxCatcher catcher;
    GuiTest::TypeInto(m_page->ipEdit, ip);
    GuiTest::TypeInto(m_page->portEdit, port);
    GuiTest::TypeInto(m_page->subMaskEdit, mask);
    m_page->localIpComboBox->showPopup();
    m_page->localIpComboBox->hidePopup();

    QTest::mouseClick(m_page->networkConnectButton, Qt::LeftButton);

    QCOMPARE(catcher.Texts(), QStringList { message });
    QCOMPARE(m_page->networkConnectButton->text(), QStringLiteral("Connect"));
    QVERIFY(m_page->uartConnectButton->isEnabled());
    QVERIFY(m_page->ipEdit->isEnabled());
    QVERIFY(!g_ThreadTcpClient->isRunning());
    // Nothing was stored from the refused parameters.
    QCOMPARE(SP_RemoteIp, QStringLiteral("192.168.0.247"));
}

// A device that no local address shares a subnet with (a routed network) is reached through
// the system's route: the page offers "Any (routed)" and connects without binding. On loopback,
// a simulator on 127.0.0.2 with a mask that leaves 127.0.0.1 outside its subnet.
void TestConnect::deviceOnAnotherSubnet_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<bool>("routed");

    QTest::newRow("mask leaves this computer outside") << "255.255.255.255" << true;
    QTest::newRow("mask takes this computer in") << "255.0.0.0" << false;
}

void TestConnect::deviceOnAnotherSubnet()
{
    QFETCH(QString, mask);
    QFETCH(bool, routed);

    GuiTest::SimProcess sim(QString(), { "--tcp", "127.0.0.2:0" });
    QVERIFY(sim.WaitUntilListening());
    NewMainWindow();
    MessageBoxCatcher catcher;
    QSignalSpy attempts(m_page, &Ui_Uart_Network::SGL_PretendConnect_TcpClient);
    GuiTest::TypeInto(m_page->ipEdit, QStringLiteral("127.0.0.2"));
    GuiTest::TypeInto(m_page->portEdit, sim.tcpPort);
    GuiTest::TypeInto(m_page->subMaskEdit, mask);
    m_page->localIpComboBox->showPopup();
    m_page->localIpComboBox->hidePopup();
    const QStringList offered = [this] {
        QStringList items;
        for (int i = 0; i < m_page->localIpComboBox->count(); ++i)
            items << m_page->localIpComboBox->itemText(i);
        return items;
    }();
    if (routed)
        QCOMPARE(offered, QStringList { "Any (routed)" });
    else
        QVERIFY2(offered.filter(QRegularExpression(QStringLiteral("^127\\.0\\.0\\.1<"))).size() == 1,
            qPrintable(offered.join('|')));

    QTest::mouseClick(m_page->networkConnectButton, Qt::LeftButton);

    QCOMPARE(attempts.count(), 1);
    const QString localIp = attempts.first().first().toString();
    QVERIFY2(routed ? localIp.isEmpty() : localIp == QLatin1String("127.0.0.1"), qPrintable(localIp));
    QTRY_VERIFY_WITH_TIMEOUT(m_page->statusLog->toPlainText().contains(QLatin1String("->Sync Over!<-")), SyncTimeoutMs);
    QVERIFY2(catcher.Texts().isEmpty(), qPrintable(catcher.Texts().join('|')));
    QCOMPARE(SP_RemoteIp, QStringLiteral("127.0.0.2"));
}

QTEST_MAIN(TestConnect)
#include "tst_connect.moc"
