// A device that echoes every request before answering it, driven as an operator does: the
// connection page against the simulator with --echo, over TCP and over its pseudo-terminal.
#include "GuiTestFixture.h"
#include "GuiSimProcess.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkServices.h"
#include "link/Ui_Debug.h"
#include "link/Ui_Uart_Network.h"
#include "protocol/DeviceState.h"
#include "shell/Ui_Main.h"
#include "support/TestPaths.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QtTest>

namespace {

constexpr int SyncTimeoutMs = 20000;

QStringList ProgressLines(const Ui_Uart_Network *page)
{
    QStringList lines;
    for (const QString &line : page->statusLog->toPlainText().split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("Sync")) || line.contains(QLatin1String("Sync Over")))
            lines << line.trimmed();
    }
    return lines;
}

} // namespace

class TestConnectEcho : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void echoingDeviceSynchronises_data();
    void echoingDeviceSynchronises();

private:
    QString AppFilePath(const QString &name) const { return m_fixture.Path() + QLatin1Char('/') + name; }

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_Main> m_main;
};

void TestConnectEcho::initTestCase()
{
    m_fixture.TakeDefaults();
    QVERIFY2(QFileInfo::exists(TestBinDir() + QStringLiteral("/tavilon-sim")), "tavilon-sim is not built");
}

void TestConnectEcho::init()
{
    QVERIFY(m_fixture.Begin());
    LinkMode = LinkModeNone;
    DeviceState_Clear();
}

void TestConnectEcho::cleanup()
{
    if (m_main)
        m_main->connectionPage->DisconnectActiveLink();
    m_main.reset();
    LinkMode = LinkModeNone;
    m_fixture.End();
}

void TestConnectEcho::echoingDeviceSynchronises_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QStringList>("simArguments");

    QTest::newRow("TCP") << "TCP" << QStringList { "--echo" };
    QTest::newRow("RS232 over a pseudo-terminal") << "RS232" << QStringList { "--echo" };
    QTest::newRow("TCP, echo and answers in pieces with CR LF")
        << "TCP" << QStringList { "--echo", "--chunk", "3", "--line-ending", "crlf" };
}

// The echoed GET MODEL TYPE holds the reply keyword: taken as the reply it would be judged a
// model mismatch and the link dropped.
void TestConnectEcho::echoingDeviceSynchronises()
{
    QFETCH(QString, link);
    QFETCH(QStringList, simArguments);

    GuiTest::SimProcess sim(AppFilePath(QStringLiteral("tty")), simArguments);
    QVERIFY(sim.WaitUntilListening());
    m_main.reset(new Ui_Main());
    Ui_Uart_Network *page = m_main->connectionPage;
    m_main->show();
    m_main->tabWidget->setCurrentWidget(page);
    MessageBoxCatcher catcher;
    QSignalSpy received(m_main.data(), &Ui_Main::SGL_DEBUG_SHOW_RecvText);

    if (link == QLatin1String("TCP")) {
        GuiTest::TypeInto(page->ipEdit, QStringLiteral("127.0.0.1"));
        GuiTest::TypeInto(page->portEdit, sim.tcpPort);
        QVERIFY(GuiTest::ChooseLoopbackLocalAddress(page));
        QTest::mouseClick(page->networkConnectButton, Qt::LeftButton);
    } else {
        GuiTest::TypeInto(page->serialPortComboBox->lineEdit(), sim.ptyPath);
        QTest::mouseClick(page->uartConnectButton, Qt::LeftButton);
    }
    QTRY_VERIFY_WITH_TIMEOUT(
        page->statusLog->toPlainText().contains(QLatin1String("->Sync Over!<-")), SyncTimeoutMs);

    QVERIFY2(catcher.Texts().isEmpty(), qPrintable(catcher.Texts().join('\n')));
    QCOMPARE(LinkMode, link == QLatin1String("TCP") ? int(LinkModeTcp) : int(LinkModeSerial));
    QCOMPARE(ProgressLines(page), GuiTest::ExpectedSyncLog());
    QVERIFY(!DeviceState.modelUnconfirmed);
    QCOMPARE(DeviceState.outputCount, 4u);
    for (quint32 output = 0; output < 4; ++output)
        QCOMPARE(DeviceState.routeInputOfOutput[output], output);

    // The echoes reached the debug console with the replies.
    QStringList shown;
    for (const QList<QVariant> &arguments : qAsConst(received))
        shown << arguments.at(0).toString();
    QVERIFY(shown.contains(QStringLiteral("GET MODEL TYPE\r")));
    QVERIFY(shown.contains(QStringLiteral("MODEL TYPE RZ7P52KN\r")));
    QVERIFY(shown.indexOf(QStringLiteral("GET MODEL TYPE\r")) < shown.indexOf(QStringLiteral("MODEL TYPE RZ7P52KN\r")));
}

QTEST_MAIN(TestConnectEcho)
#include "tst_connectecho.moc"
