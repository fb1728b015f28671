// The main window: tabs from the page switches, geometry, the language switch, Alt+Z, the
// signal hub, timeout messages, and the one save when the program ends.
#include "GuiPageActions.h"
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/Ui_Uart_Network.h"
#include "pages/Ui_Matrix.h"
#include "pages/Ui_Multiview.h"
#include "pages/Ui_SignalConfig.h"
#include "pages/Ui_System.h"
#include "pages/Ui_TVWall.h"
#include "protocol/DeviceState.h"
#include "settings/ConfigFile.h"
#include "settings/ConfigTables.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/Ui_Login.h"
#include "shell/Ui_Main.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QThread>
#include <QVector>
#include <QtTest>

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

namespace {

using namespace GuiTest;

QStringList TabTexts(const QTabWidget *tabWidget)
{
    QStringList texts;
    for (int i = 0; i < tabWidget->count(); ++i)
        texts << tabWidget->tabText(i);
    return texts;
}

QStringList TabClassNames(const QTabWidget *tabWidget)
{
    QStringList names;
    for (int i = 0; i < tabWidget->count(); ++i)
        names << QString::fromLatin1(tabWidget->widget(i)->metaObject()->className());
    return names;
}

using GuiTest::QueuedLines;

// The five page switches in tab order: matrix, signal configuration, multiview, TV wall,
// system.
void SetPageSwitches(const QStringList &switches)
{
    QString *settings[]
        = { &Key_UI_Matrix, &Key_UI_SignalConfig, &Key_UI_Multiview, &Key_UI_TV_Wall, &Key_UI_System };
    for (int i = 0; i < 5; ++i)
        *settings[i] = switches.at(i);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void geometryForScreen_data();
    void geometryForScreen();
    void constructedOnPrimaryScreen();
    void languageListFollowsFiles_data();
    void languageListFollowsFiles();
    void tabs_data();
    void tabs();
    void switchedOffPagesStayOutside_data();
    void switchedOffPagesStayOutside();
    void languageSwitchRelabelsByIndex();
    void languageSwitchQueuesModelQuery_data();
    void languageSwitchQueuesModelQuery();
    void languageComboStaysTopRight_data();
    void languageComboStaysTopRight();
    void altZ_data();
    void altZ();
    void tabBarClickFocusesPage();
    void pageKicksReachLinkServices_data();
    void pageKicksReachLinkServices();
    void replyTimeoutMessage_data();
    void replyTimeoutMessage();
    void linkSettingsReply_data();
    void linkSettingsReply();
    void receivedLinesReachDebugConsole_data();
    void receivedLinesReachDebugConsole();
    void loginShowsMainWindow();
    void firstDestructorSavesOnce();
    void closingMainWindowEndsProgram();

private:
    GuiTest::AppDirFixture m_fixture;
};

void TestMainWindow::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestMainWindow::init()
{
    QVERIFY(m_fixture.Begin());
    LinkMode = LinkModeNone;
    DeviceState_Clear();
}

void TestMainWindow::cleanup()
{
    LinkMode = LinkModeNone;
    SerialLinkQueue().deactivate();
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

void TestMainWindow::geometryForScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("1366x768") << QSize(1366, 768) << QRect(188, 77, 990, 614);
    QTest::newRow("1920x1080") << QSize(1920, 1080) << QRect(264, 108, 1392, 864);
    QTest::newRow("2560x1440") << QSize(2560, 1440) << QRect(264, 108, 1392, 864);
    QTest::newRow("1280x1024") << QSize(1280, 1024) << QRect(176, 102, 928, 819);
    QTest::newRow("1920x1200") << QSize(1920, 1200) << QRect(264, 108, 1392, 864);
    QTest::newRow("3840x1000") << QSize(3840, 1000) << QRect(264, 100, 1392, 800);
}

void TestMainWindow::geometryForScreen()
{
    QFETCH(QSize, screen);
    QFETCH(QRect, geometry);
    QCOMPARE(Ui_Main::GeometryForScreen(screen), geometry);
}

void TestMainWindow::constructedOnPrimaryScreen()
{
    Ui_Main mainWindow;
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QCOMPARE(mainWindow.geometry(), Ui_Main::GeometryForScreen(screen));
}

void TestMainWindow::languageListFollowsFiles_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<bool>("other");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("both files") << true << true << QStringList { "English", "中文" };
    QTest::newRow("English only") << true << false << QStringList { "English" };
    QTest::newRow("second language only") << false << true << QStringList { "中文" };
    QTest::newRow("none") << false << false << QStringList {};
}

void TestMainWindow::languageListFollowsFiles()
{
    QFETCH(bool, english);
    QFETCH(bool, other);
    QFETCH(QStringList, items);

    if (other)
        WriteOtherLanguageFile({});
    if (!english)
        QVERIFY(QFile::remove(ConfigFile_EnglishPath()));

    Ui_Main mainWindow;
    QStringList shown;
    for (int i = 0; i < mainWindow.languageComboBox->count(); ++i)
        shown << mainWindow.languageComboBox->itemText(i);
    QCOMPARE(shown, items);
}

void TestMainWindow::tabs_data()
{
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QStringList>("pages");

    QTest::newRow("all pages") << QStringList { "1", "1", "1", "1",
        "1" } << QStringList { "Connect", "Matrix", "Signal Config", "Multiview", "TV Wall", "System" }
                               << QStringList { "Ui_Uart_Network", "Ui_Matrix", "Ui_SignalConfig",
                                      "Ui_Multiview", "Ui_TVWall", "Ui_System" };
    QTest::newRow("no matrix, signal config or multiview")
        << QStringList { "0", "0", "0", "1", "1" } << QStringList { "Connect", "TV Wall", "System" }
        << QStringList { "Ui_Uart_Network", "Ui_TVWall", "Ui_System" };
    QTest::newRow("all five off") << QStringList { "0", "0", "0", "0", "0" } << QStringList { "Connect" }
                                  << QStringList { "Ui_Uart_Network" };
    QTest::newRow("only multiview") << QStringList { "0", "0", "1", "0", "0" }
                                    << QStringList { "Connect", "Multiview" }
                                    << QStringList { "Ui_Uart_Network", "Ui_Multiview" };
    QTest::newRow("switches are exact texts")
        << QStringList { "1 ", " 1", "", "yes", "1" } << QStringList { "Connect", "System" }
        << QStringList { "Ui_Uart_Network", "Ui_System" };
}

void TestMainWindow::tabs()
{
    QFETCH(QStringList, switches);
    QFETCH(QStringList, labels);
    QFETCH(QStringList, pages);

    SetPageSwitches(switches);
    Ui_Main mainWindow;
    QCOMPARE(TabTexts(mainWindow.tabWidget), labels);
    QCOMPARE(TabClassNames(mainWindow.tabWidget), pages);
}

void TestMainWindow::switchedOffPagesStayOutside_data()
{
    tabs_data();
}

// The pages of the shown tabs live in the tab widget; the others have no parent and never
// appear in the window.
void TestMainWindow::switchedOffPagesStayOutside()
{
    QFETCH(QStringList, switches);

    SetPageSwitches(switches);
    Ui_Main mainWindow;
    const QList<QWidget *> pages { mainWindow.connectionPage, mainWindow.matrixPage, mainWindow.signalConfigPage,
        mainWindow.multiviewPage, mainWindow.tvWallPage, mainWindow.systemPage };
    for (QWidget *page : pages) {
        const bool inserted = mainWindow.tabWidget->indexOf(page) >= 0;
        QCOMPARE(page->parentWidget() != nullptr, inserted);
        // What would be on screen once the window is shown: the current page only.
        QCOMPARE(page->isVisibleTo(&mainWindow), inserted && mainWindow.tabWidget->currentWidget() == page);
    }
}

void TestMainWindow::languageSwitchRelabelsByIndex()
{
    SetPageSwitches({ "0", "0", "0", "1", "1" });
    WriteOtherLanguageFile({
        { &Ui_Uart_Network_AppName, QStringLiteral("连接") },
        { &Ui_Matrix_AppName, QStringLiteral("矩阵") },
        { &Ui_TV_Wall_AppName, QStringLiteral("电视墙") },
        { &Ui_System_AppName, QStringLiteral("系统") },
    });

    Ui_Main mainWindow;
    QCOMPARE(mainWindow.languageComboBox->count(), 2);

    mainWindow.languageComboBox->setCurrentIndex(1);
    QCOMPARE(Key_LanguageIsEnglish, QStringLiteral("0"));
    QCOMPARE(TabTexts(mainWindow.tabWidget), (QStringList { "连接", "电视墙", "系统" }));
    QCOMPARE(
        TabClassNames(mainWindow.tabWidget), (QStringList { "Ui_Uart_Network", "Ui_TVWall", "Ui_System" }));

    mainWindow.languageComboBox->setCurrentIndex(0);
    QCOMPARE(Key_LanguageIsEnglish, QStringLiteral("1"));
    QCOMPARE(TabTexts(mainWindow.tabWidget), (QStringList { "Connect", "TV Wall", "System" }));
}

void TestMainWindow::languageSwitchQueuesModelQuery_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<QStringList>("serialLines");
    QTest::addColumn<QStringList>("tcpLines");

    QTest::newRow("no link") << int(LinkModeNone) << QStringList {} << QStringList {};
    QTest::newRow("serial") << int(LinkModeSerial) << QStringList { "GET MODEL TYPE\r" } << QStringList {};
    QTest::newRow("TCP") << int(LinkModeTcp) << QStringList {} << QStringList { "GET MODEL TYPE\r" };
}

void TestMainWindow::languageSwitchQueuesModelQuery()
{
    QFETCH(int, linkMode);
    QFETCH(QStringList, serialLines);
    QFETCH(QStringList, tcpLines);

    Ui_Main mainWindow;
    SerialLinkQueue().activate();
    TcpLinkQueue().activate();
    LinkMode = linkMode;
    QSignalSpy kicks(&mainWindow, &Ui_Main::SGL_UnifyUpdateEmit);

    mainWindow.SLT_ReloadUILanguage(QStringLiteral("English"));

    QCOMPARE(QueuedLines(SerialLinkQueue()), serialLines);
    QCOMPARE(QueuedLines(TcpLinkQueue()), tcpLines);
    QCOMPARE(kicks.count(), 1);
}

void TestMainWindow::languageComboStaysTopRight_data()
{
    QTest::addColumn<QSize>("size");

    QTest::newRow("1000x600") << QSize(1000, 600);
    QTest::newRow("640x480") << QSize(640, 480);
    QTest::newRow("1392x864") << QSize(1392, 864);
}

void TestMainWindow::languageComboStaysTopRight()
{
    QFETCH(QSize, size);

    Ui_Main mainWindow;
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    mainWindow.resize(size);
    QTRY_COMPARE(mainWindow.size(), size);
    QCOMPARE(mainWindow.languageComboBox->geometry(), QRect(size.width() - 140, 0, 140, 30));
}

void TestMainWindow::altZ_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("consoleRequests");

    const Qt::KeyboardModifiers alt = Qt::AltModifier;
    QTest::newRow("Alt+Z, no link") << int(LinkModeNone) << int(Qt::Key_Z) << alt << 0;
    QTest::newRow("Alt+Z, serial link") << int(LinkModeSerial) << int(Qt::Key_Z) << alt << 1;
    QTest::newRow("Alt+Z, TCP link") << int(LinkModeTcp) << int(Qt::Key_Z) << alt << 1;
    QTest::newRow("Ctrl+Alt+Z") << int(LinkModeSerial) << int(Qt::Key_Z)
                                << (Qt::ControlModifier | Qt::AltModifier) << 0;
    QTest::newRow("Shift+Alt+Z") << int(LinkModeSerial) << int(Qt::Key_Z)
                                 << (Qt::ShiftModifier | Qt::AltModifier) << 0;
    QTest::newRow("Z alone") << int(LinkModeSerial) << int(Qt::Key_Z) << Qt::KeyboardModifiers() << 0;
    QTest::newRow("Alt+X") << int(LinkModeSerial) << int(Qt::Key_X) << alt << 0;
}

void TestMainWindow::altZ()
{
    QFETCH(int, linkMode);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, consoleRequests);

    Ui_Main mainWindow;
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
    LinkMode = linkMode;
    QSignalSpy requests(&mainWindow, &Ui_Main::SGL_SETUP_UI_DEBUG);

    // Typed on a page: the page passes it up to the window.
    QTest::keyClick(mainWindow.connectionPage, Qt::Key(key), modifiers);
    QCOMPARE(requests.count(), consoleRequests);
}

void TestMainWindow::tabBarClickFocusesPage()
{
    Ui_Main mainWindow;
    mainWindow.show();
    QVERIFY(QTest::qWaitForWindowActive(&mainWindow));
    QTabBar *tabBar = mainWindow.tabWidget->tabBar();

    QTest::mouseClick(tabBar, Qt::LeftButton, Qt::NoModifier, tabBar->tabRect(2).center());
    QCOMPARE(mainWindow.tabWidget->currentIndex(), 2);
    QCOMPARE(QApplication::focusWidget(), mainWindow.tabWidget->widget(2));

    // A click beside the tabs reports -1 and leaves the focus where it is.
    mainWindow.SLT_GetFocus_tabBar(-1);
    QCOMPARE(QApplication::focusWidget(), mainWindow.tabWidget->widget(2));
    QTest::mouseClick(tabBar, Qt::LeftButton, Qt::NoModifier, tabBar->tabRect(4).center());
    QCOMPARE(QApplication::focusWidget(), mainWindow.tabWidget->widget(4));
}

void TestMainWindow::pageKicksReachLinkServices_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<bool>("tabShown");

    for (const char *page : { "connection", "matrix", "signal", "multiview", "wall", "system" }) {
        QTest::newRow(qPrintable(QString(page) + ", tab shown")) << QString(page) << true;
        QTest::newRow(qPrintable(QString(page) + ", tab switched off")) << QString(page) << false;
    }
}

void TestMainWindow::pageKicksReachLinkServices()
{
    QFETCH(QString, page);
    QFETCH(bool, tabShown);

    const QString onOff = tabShown ? "1" : "0";
    SetPageSwitches({ onOff, onOff, onOff, onOff, onOff });
    Ui_Main mainWindow;
    QSignalSpy kicks(&mainWindow, &Ui_Main::SGL_UnifyUpdateEmit);

    if (page == "connection")
        emit mainWindow.connectionPage->SGL_UpdateEmit();
    else if (page == "matrix")
        emit mainWindow.matrixPage->SGL_UpdateEmit();
    else if (page == "signal")
        emit mainWindow.signalConfigPage->SGL_UpdateEmit();
    else if (page == "multiview")
        emit mainWindow.multiviewPage->SGL_UpdateEmit();
    else if (page == "wall")
        emit mainWindow.tvWallPage->SGL_UpdateEmit();
    else
        emit mainWindow.systemPage->SGL_UpdateEmit();
    QCOMPARE(kicks.count(), 1);
}

void TestMainWindow::replyTimeoutMessage_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("disconnects");
    QTest::addColumn<int>("requestsAfter"); // of a network read and a baud read in flight

    const QString identifyFail = QStringLiteral("Failed to identify device!Error Code:");
    const QString communicationFail = QStringLiteral("Unable to communicate with device!Error Code:");
    QTest::newRow("model query, serial")
        << int(LinkModeSerial) << "GET MODEL TYPE\r" << identifyFail + "GET MODEL TYPE\r" << true << 2;
    QTest::newRow("model query, TCP")
        << int(LinkModeTcp) << "GET MODEL TYPE\r" << identifyFail + "GET MODEL TYPE\r" << true << 2;
    QTest::newRow("model query in lower case") << int(LinkModeSerial) << "get model type\r"
                                               << communicationFail + "get model type\r" << false << 2;
    QTest::newRow("network info") << int(LinkModeTcp) << "GET NETWORK-INFO\r"
                                  << communicationFail + "GET NETWORK-INFO\r" << false << 1;
    QTest::newRow("baud rate") << int(LinkModeSerial) << "GET BAUDRATE\r"
                               << communicationFail + "GET BAUDRATE\r" << false << 1;
    QTest::newRow("route") << int(LinkModeSerial) << "SET IN1 VIDEO OUT2\r"
                           << communicationFail + "SET IN1 VIDEO OUT2\r" << false << 2;
}

void TestMainWindow::replyTimeoutMessage()
{
    QFETCH(int, linkMode);
    QFETCH(QString, command);
    QFETCH(QString, message);
    QFETCH(bool, disconnects);
    QFETCH(int, requestsAfter);

    Ui_Main mainWindow;
    LinkMode = linkMode;
    DeviceState.modelReplyHandled = true;
    using Requests = LinkSettingsRequests;
    Requests &requests = mainWindow.systemPage->linkSettingsRequests;
    requests.add({ Requests::Topic::Network, Requests::Kind::Read, linkMode, {}, false });
    requests.add({ Requests::Topic::BaudRate, Requests::Kind::Read, linkMode, {}, false });
    MessageBoxCatcher catcher;

    mainWindow.SLT_WaitReplyTimeoutMessage(command);

    QCOMPARE(catcher.Texts(), QStringList { message });
    QCOMPARE(catcher.Boxes().first().parent, &mainWindow);
    QCOMPARE(LinkMode, disconnects ? int(LinkModeNone) : linkMode);
    QCOMPARE(DeviceState.modelReplyHandled, !disconnects);
    QCOMPARE(requests.count(), requestsAfter);
}

void TestMainWindow::linkSettingsReply_data()
{
    QTest::addColumn<QString>("asked"); // "read", "write", "same" (a write of the values there) or "nothing"
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<QString>("reply"); // "network" or "baud"
    QTest::addColumn<int>("linkModeAfter");

    QTest::newRow("answer to a read, TCP") << "read" << int(LinkModeTcp) << "network" << int(LinkModeTcp);
    QTest::newRow("answer to a read, serial") << "read" << int(LinkModeSerial) << "baud" << int(LinkModeSerial);
    QTest::newRow("answer to a write, TCP") << "write" << int(LinkModeTcp) << "network" << int(LinkModeNone);
    QTest::newRow("answer to a write, serial") << "write" << int(LinkModeSerial) << "baud" << int(LinkModeNone);
    // Only the link whose settings changed is dropped.
    QTest::newRow("baud written over TCP") << "write" << int(LinkModeTcp) << "baud" << int(LinkModeTcp);
    QTest::newRow("network written over serial") << "write" << int(LinkModeSerial) << "network" << int(LinkModeSerial);
    QTest::newRow("answer to a write, no link") << "write" << int(LinkModeNone) << "network" << int(LinkModeNone);
    // Writing what the device already has changes nothing under the link.
    QTest::newRow("unchanged write, TCP") << "same" << int(LinkModeTcp) << "network" << int(LinkModeTcp);
    QTest::newRow("unchanged write, serial") << "same" << int(LinkModeSerial) << "baud" << int(LinkModeSerial);
    // A report nobody asked for is the device's state, not the answer to a write.
    QTest::newRow("unasked network report, TCP") << "nothing" << int(LinkModeTcp) << "network" << int(LinkModeTcp);
    QTest::newRow("unasked baud report, serial") << "nothing" << int(LinkModeSerial) << "baud" << int(LinkModeSerial);
}

void TestMainWindow::linkSettingsReply()
{
    QFETCH(QString, asked);
    QFETCH(int, linkMode);
    QFETCH(QString, reply);
    QFETCH(int, linkModeAfter);

    Ui_Main mainWindow;
    LinkMode = linkMode;
    const bool network = reply == QLatin1String("network");
    const QStringList replied = network ? QStringList { "192.168.0.9", "2001", "255.255.255.0", "192.168.0.1" }
                                        : QStringList { "115200" };
    using Requests = LinkSettingsRequests;
    const QStringList before = asked == QLatin1String("same")
        ? replied
        : (network ? QStringList { SP_RemoteIp, SP_RemotePort, SP_RemoteSubmask, SP_RemoteGateway }
                   : QStringList { SP_BaudRate });
    if (asked != QLatin1String("nothing")) {
        mainWindow.systemPage->linkSettingsRequests.add({ network ? Requests::Topic::Network : Requests::Topic::BaudRate,
            asked == QLatin1String("read") ? Requests::Kind::Read : Requests::Kind::Write, linkMode, before, false });
    }

    MessageBoxCatcher catcher;
    if (network)
        mainWindow.systemPage->NetworkReply(replied[0], replied[1], replied[2], replied[3]);
    else
        mainWindow.systemPage->BaudReply(replied[0].toInt());

    QCOMPARE(LinkMode, linkModeAfter);
    QCOMPARE(mainWindow.systemPage->linkSettingsRequests.count(), 0);
    const bool written = asked == QLatin1String("write") || asked == QLatin1String("same");
    QCOMPARE(catcher.Texts().size(), written ? 1 : 0);
}

void TestMainWindow::receivedLinesReachDebugConsole_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<bool>("receiveQueueBusy");
    QTest::addColumn<QStringList>("shown");

    const QStringList lines { "MODEL TYPE RZ7P52KN\r", "OUT1 VIDEO IN IN2\r", "名称\r" };
    QTest::newRow("serial link") << int(LinkModeSerial) << false << lines;
    QTest::newRow("serial queue busy") << int(LinkModeSerial) << true << QStringList {};
    QTest::newRow("TCP selected, lines on serial") << int(LinkModeTcp) << false << QStringList {};
    QTest::newRow("no link") << int(LinkModeNone) << false << QStringList {};
}

void TestMainWindow::receivedLinesReachDebugConsole()
{
    QFETCH(int, linkMode);
    QFETCH(bool, receiveQueueBusy);
    QFETCH(QStringList, shown);

    const QStringList lines { "MODEL TYPE RZ7P52KN\r", "OUT1 VIDEO IN IN2\r", "名称\r" };
    Ui_Main mainWindow;
    SerialLinkQueue().activate();
    TcpLinkQueue().activate();
    for (const QString &line : lines)
        SerialLinkQueue().pushReceived(line.toUtf8());
    LinkMode = linkMode;
    QSignalSpy console(&mainWindow, &Ui_Main::SGL_DEBUG_SHOW_RecvText);

    if (receiveQueueBusy) {
        // Held by another thread, as the link thread would while it appends a line.
        QThread *holder = QThread::create([] {
            QMutexLocker lock(&SerialLinkQueue().receiveMutex);
            QThread::msleep(300);
        });
        holder->start();
        QTest::qWait(100);
        mainWindow.SLT_UnifyUpdateRecv();
        holder->wait();
        delete holder;
    } else {
        mainWindow.SLT_UnifyUpdateRecv();
    }

    QStringList texts;
    for (const QList<QVariant> &arguments : qAsConst(console))
        texts << arguments.at(0).toString();
    QCOMPARE(texts, shown);
    // Lines that were not taken wait for the next notification.
    QCOMPARE(SerialLinkQueue().receiveQueueSize(), lines.size() - shown.size());
}

void TestMainWindow::loginShowsMainWindow()
{
    Ui_Main mainWindow;
    Ui_Login loginWindow;
    connect(&loginWindow, &Ui_Login::SGL_SETUP_UI_MAIN, &mainWindow, &Ui_Main::SLT_SETUP_UI_MAIN);
    mainWindow.ShowStartWindow(loginWindow, true);
    QVERIFY(loginWindow.isVisible());
    QVERIFY(!mainWindow.isVisible());
    QVERIFY(QFile::remove(ConfigFile_SettingsPath()));

    loginWindow.passwordEdit->setText(QStringLiteral("582037"));
    QTest::mouseClick(loginWindow.loginButton, Qt::LeftButton);

    QVERIFY(mainWindow.isVisible());
    QVERIFY(!loginWindow.isVisible());
    // The language switch that follows the login rewrites the settings file.
    QVERIFY(QFile::exists(ConfigFile_SettingsPath()));
    QCOMPARE(TabTexts(mainWindow.tabWidget).value(0), QStringLiteral("Connect"));
}

void TestMainWindow::firstDestructorSavesOnce()
{
    auto *mainWindow = new Ui_Main();
    auto *loginWindow = new Ui_Login();
    g_SaveSettingsOnExit = true;

    Spassword_User = QStringLiteral("111111");
    delete loginWindow;
    QVERIFY(!g_SaveSettingsOnExit);
    QCOMPARE(FileLines(ConfigFile_SettingsPath()).value(PasswordUserLineIndex),
        QByteArray("Spassword_User=111111"));

    Spassword_User = QStringLiteral("222222");
    delete mainWindow;
    QCOMPARE(FileLines(ConfigFile_SettingsPath()).value(PasswordUserLineIndex),
        QByteArray("Spassword_User=111111"));
}

void TestMainWindow::closingMainWindowEndsProgram()
{
    // As the program runs: the main window shown directly, the login window hidden.
    auto *mainWindow = new Ui_Main();
    auto *loginWindow = new Ui_Login();
    g_SaveSettingsOnExit = true;
    mainWindow->show();
    Spassword_User = QStringLiteral("135790");

    QTimer::singleShot(0, mainWindow, [mainWindow] { mainWindow->close(); });
    // Only a safety net: a passing run returns long before.
    QTimer safetyNet;
    safetyNet.setSingleShot(true);
    connect(&safetyNet, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    safetyNet.start(10000);
    const int exitCode = QApplication::exec();
    safetyNet.stop();

    QCOMPARE(exitCode, 0);
    delete loginWindow;
    delete mainWindow;
    QVERIFY(!g_SaveSettingsOnExit);
    QCOMPARE(FileLines(ConfigFile_SettingsPath()).value(PasswordUserLineIndex),
        QByteArray("Spassword_User=135790"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
