// The demonstration mode of `make run`: the option that names the simulator's addresses, the
// connection page that offers them after login, a connection to the simulator, and settings
// files that never receive those addresses.
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/Ui_Uart_Network.h"
#include "protocol/DeviceState.h"
#include "settings/ConfigFile.h"
#include "settings/SettingsTexts.h"
#include "shell/DemoDevice.h"
#include "shell/MyComboBox.h"
#include "shell/Ui_Login.h"
#include "shell/Ui_Main.h"
#include "support/TestPaths.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QVector>
#include <QtTest>

namespace {

// key=value lines of a settings file.
QMap<QString, QString> FileSettings(const QString &path)
{
    QMap<QString, QString> settings;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return settings;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        const int equals = text.indexOf(QLatin1Char('='));
        if (equals > 0)
            settings.insert(text.left(equals), text.mid(equals + 1));
    }
    return settings;
}

QStringList LinkSettingsIn(const QMap<QString, QString> &settings)
{
    QStringList values;
    for (const char *key :
        { "SP_Name", "SP_BaudRate", "SP_RemoteIp", "SP_RemotePort", "SP_RemoteSubmask", "SP_RemoteGateway" })
        values << settings.value(QLatin1String(key));
    return values;
}

QStringList LinkSettingsInMemory()
{
    return { SP_Name, SP_BaudRate, SP_RemoteIp, SP_RemotePort, SP_RemoteSubmask, SP_RemoteGateway };
}

} // namespace

class TestConnectDemo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void option_data();
    void option();
    void demoSessionNeverSavesDemoAddress();
    void withoutOptionSettingsAreShown();

private:
    QString AppFilePath(const QString &name) const { return m_fixture.Path() + QLatin1Char('/') + name; }

    GuiTest::AppDirFixture m_fixture;
};

void TestConnectDemo::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestConnectDemo::init()
{
    QVERIFY(m_fixture.Begin());
    LinkMode = LinkModeNone;
    DeviceState_Clear();
    // The operator's own link settings.
    SP_Name = QStringLiteral("ttyS4");
    SP_RemoteIp = QStringLiteral("192.168.7.20");
    SP_RemotePort = QStringLiteral("4001");
    ConfigFile_SaveAll();
}

void TestConnectDemo::cleanup()
{
    LinkMode = LinkModeNone;
    m_fixture.End();
}

void TestConnectDemo::option_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QString>("tcpHost");
    QTest::addColumn<QString>("tcpPort");
    QTest::addColumn<QString>("serialPort");

    QTest::newRow("both addresses") << QStringList { "tavilon", "--demo-device",
        "tcp=127.0.0.1:2001,serial=/tmp/x" }
                                    << true << "127.0.0.1"
                                    << "2001"
                                    << "/tmp/x";
    QTest::newRow("with equals sign")
        << QStringList { "tavilon", "--demo-device=serial=/tmp/sim-tty" } << true << ""
        << ""
        << "/tmp/sim-tty";
    QTest::newRow("TCP only") << QStringList { "tavilon", "--demo-device", "tcp=127.0.0.1:40000" } << true
                              << "127.0.0.1"
                              << "40000"
                              << "";
    QTest::newRow("no option") << QStringList { "tavilon" } << false << ""
                               << ""
                               << "";
    QTest::newRow("option without value") << QStringList { "tavilon", "--demo-device" } << false << ""
                                          << ""
                                          << "";
    QTest::newRow("port 0") << QStringList { "tavilon", "--demo-device", "tcp=127.0.0.1:0" } << false << ""
                            << ""
                            << "";
    QTest::newRow("port 65535") << QStringList { "tavilon", "--demo-device", "tcp=127.0.0.1:65535" } << false
                                << ""
                                << ""
                                << "";
    QTest::newRow("host name") << QStringList { "tavilon", "--demo-device", "tcp=localhost:2000" } << false
                               << ""
                               << ""
                               << "";
    QTest::newRow("unknown part ignored")
        << QStringList { "tavilon", "--demo-device", "udp=1.2.3.4:5,tcp=127.0.0.1:2000" } << true
        << "127.0.0.1"
        << "2000"
        << "";
}

void TestConnectDemo::option()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, active);
    QFETCH(QString, tcpHost);
    QFETCH(QString, tcpPort);
    QFETCH(QString, serialPort);

    const DemoDevice device = DemoDevice::FromArguments(arguments);
    QCOMPARE(device.isActive(), active);
    QCOMPARE(device.tcpHost, tcpHost);
    QCOMPARE(device.tcpPort, tcpPort);
    QCOMPARE(device.serialPort, serialPort);
}

void TestConnectDemo::demoSessionNeverSavesDemoAddress()
{
    QProcess sim;
    QByteArray simOutput;
    connect(
        &sim, &QProcess::readyReadStandardOutput, this, [&] { simOutput += sim.readAllStandardOutput(); });
    sim.start(TestBinDir() + QStringLiteral("/tavilon-sim"),
        { "--tcp", "127.0.0.1:0", "--pty", AppFilePath(QStringLiteral("tty")) });
    QTRY_VERIFY_WITH_TIMEOUT(simOutput.contains("TCP ") && simOutput.contains("PTY "), 10000);
    const QByteArray tcpLine = simOutput.mid(simOutput.indexOf("TCP ") + 4).split('\n').first().trimmed();
    const QString tcpPort = QString::fromLatin1(tcpLine.mid(tcpLine.lastIndexOf(':') + 1));
    const QString ptyPath = AppFilePath(QStringLiteral("tty"));
    const QStringList operatorSettings = LinkSettingsInMemory();

    auto *mainWindow = new Ui_Main();
    auto *loginWindow = new Ui_Login();
    mainWindow->UseDemoDevice(
        DemoDevice::FromOptionValue(QStringLiteral("tcp=127.0.0.1:%1,serial=%2").arg(tcpPort, ptyPath)));
    connect(loginWindow, &Ui_Login::SGL_SETUP_UI_MAIN, mainWindow, &Ui_Main::SLT_SETUP_UI_MAIN);
    g_SaveSettingsOnExit = true;
    mainWindow->ShowStartWindow(*loginWindow, true);
    Ui_Uart_Network *page = mainWindow->connectionPage;
    // Before login the page shows the operator's settings.
    QCOMPARE(page->ipEdit->text(), QStringLiteral("192.168.7.20"));

    loginWindow->passwordEdit->setText(QStringLiteral("582037"));
    QTest::mouseClick(loginWindow->loginButton, Qt::LeftButton);
    QVERIFY(mainWindow->isVisible());

    // The page offers the simulator; the login's language switch saved the operator's values.
    QCOMPARE(page->ipEdit->text(), QStringLiteral("127.0.0.1"));
    QCOMPARE(page->portEdit->text(), tcpPort);
    QCOMPARE(page->serialPortComboBox->currentText(), ptyPath);
    QVERIFY(page->localIpComboBox->currentText().startsWith(QLatin1String("127.0.0.1<")));
    QCOMPARE(LinkSettingsIn(FileSettings(ConfigFile_SettingsPath())), operatorSettings);

    // The operator only presses Connect.
    QTest::mouseClick(page->networkConnectButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(page->statusLog->toPlainText().contains(QLatin1String("->Sync Over!<-")), 15000);

    // A language switch saves in the middle of the session, the end of the program at last.
    mainWindow->SLT_ReloadUILanguage(QStringLiteral("English"));
    QCOMPARE(LinkSettingsIn(FileSettings(ConfigFile_SettingsPath())), operatorSettings);
    QCOMPARE(page->ipEdit->text(), QStringLiteral("127.0.0.1"));
    page->DisconnectActiveLink();

    QTimer::singleShot(0, mainWindow, [mainWindow] { mainWindow->close(); });
    QCOMPARE(QApplication::exec(), 0);
    delete loginWindow;
    delete mainWindow;
    QVERIFY(!g_SaveSettingsOnExit);
    QCOMPARE(LinkSettingsIn(FileSettings(ConfigFile_SettingsPath())), operatorSettings);
    QCOMPARE(LinkSettingsInMemory(), operatorSettings);

    sim.terminate();
    QVERIFY(sim.waitForFinished(3000));
}

void TestConnectDemo::withoutOptionSettingsAreShown()
{
    Ui_Main mainWindow;
    Ui_Login loginWindow;
    QVERIFY(!mainWindow.demoDevice().isActive());
    connect(&loginWindow, &Ui_Login::SGL_SETUP_UI_MAIN, &mainWindow, &Ui_Main::SLT_SETUP_UI_MAIN);
    mainWindow.ShowStartWindow(loginWindow, true);
    loginWindow.passwordEdit->setText(QStringLiteral("582037"));
    QTest::mouseClick(loginWindow.loginButton, Qt::LeftButton);

    QCOMPARE(mainWindow.connectionPage->ipEdit->text(), QStringLiteral("192.168.7.20"));
    QCOMPARE(mainWindow.connectionPage->portEdit->text(), QStringLiteral("4001"));
    QCOMPARE(mainWindow.connectionPage->serialPortComboBox->currentText(), QStringLiteral("ttyS4"));
}

QTEST_MAIN(TestConnectDemo)
#include "tst_connectdemo.moc"
