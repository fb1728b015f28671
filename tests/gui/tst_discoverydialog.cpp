// The Find dialog against simulators on loopback hosts of their own and on a pseudo-terminal at
// a rate other than 9600: it lists the devices as they are found, and hands the chosen row on.
#include "GuiSimProcess.h"
#include "GuiTestFixture.h"
#include "link/LinkMode.h"
#include "link/Ui_Uart_Network.h"
#include "protocol/DeviceDiscovery.h"
#include "link/Ui_Discovery.h"
#include "settings/LanguageTexts.h"

#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

class TestDiscoveryDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_fixture.TakeDefaults(); }
    void init() { QVERIFY(m_fixture.Begin()); }
    void cleanup() { m_fixture.End(); }
    void listsDevicesAndHandsOnTheChosenRow();
    void stopCancelsAtOnce();
    void findFillsTheConnectionPage_data();
    void findFillsTheConnectionPage();

private:
    GuiTest::AppDirFixture m_fixture;
};

namespace {

// Double-clicks the row whose device matches, as the operator chooses it.
bool ChooseRow(Ui_Discovery *dialog, DiscoveryResult::Link link)
{
    for (int row = 0; row < dialog->Devices().size(); ++row) {
        if (dialog->Devices().at(row).link != link)
            continue;
        const QPoint at = dialog->resultTable->visualRect(dialog->resultTable->model()->index(row, 0)).center();
        QTest::mouseClick(dialog->resultTable->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(dialog->resultTable->viewport(), Qt::LeftButton, {}, at);
        return true;
    }
    return false;
}

DiscoveryPlan LoopbackPlan(quint16 port, const QStringList &serialPorts)
{
    DiscoveryPlan plan;
    Ipv4Subnet subnet;
    Ipv4Subnet::Parse(QStringLiteral("127.0.0.0/29"), &subnet, nullptr);
    plan.subnets = { subnet };
    plan.tcpPorts = { port };
    plan.serialPorts = serialPorts;
    plan.serial = !serialPorts.isEmpty();
    return plan;
}

} // namespace

void TestDiscoveryDialog::listsDevicesAndHandsOnTheChosenRow()
{
    const quint16 port = GuiTest::UnusedTcpPort();
    const QString where = QStringLiteral(":%1").arg(port);
    GuiTest::SimProcess first(QString(), { "--tcp", "127.0.0.2" + where });
    GuiTest::SimProcess second(QString(), { "--tcp", "127.0.0.3" + where });
    GuiTest::SimProcess serial(QDir::temp().filePath(QStringLiteral("tavilon-find-%1").arg(port)), { "--baud", "38400" });
    QVERIFY(first.WaitUntilListening());
    QVERIFY(second.WaitUntilListening());
    QVERIFY(serial.WaitUntilListening());

    Ui_Discovery dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QSignalSpy chosen(&dialog, &Ui_Discovery::SGL_DeviceChosen);
    dialog.Start(LoopbackPlan(port, { serial.ptyPath }));
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsRunning(), 10000);
    QCOMPARE(dialog.progressBar->value(), dialog.progressBar->maximum());
    QCOMPARE(dialog.resultTable->rowCount(), 3);

    QStringList shown;
    int rowOfSecond = -1;
    for (int row = 0; row < dialog.resultTable->rowCount(); ++row) {
        shown << dialog.resultTable->item(row, Ui_Discovery::WhereColumn)->text() + QLatin1Char(' ')
                + dialog.resultTable->item(row, Ui_Discovery::BaudColumn)->text();
        if (dialog.Devices().at(row).address == QLatin1String("127.0.0.3"))
            rowOfSecond = row;
    }
    shown.sort();
    QCOMPARE(shown, (QStringList { serial.ptyPath + " 38400", "127.0.0.2" + where + " ", "127.0.0.3" + where + " " }));

    // A double click on a row chooses it, as selecting it and pressing Use does.
    const QRect cell = dialog.resultTable->visualRect(dialog.resultTable->model()->index(rowOfSecond, 0));
    QTest::mouseClick(dialog.resultTable->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(dialog.resultTable->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(chosen.count(), 1);
    const DiscoveryResult device = chosen.first().first().value<DiscoveryResult>();
    QCOMPARE(device.address, QStringLiteral("127.0.0.3"));
    QCOMPARE(device.port, port);
}

void TestDiscoveryDialog::stopCancelsAtOnce()
{
    Ui_Discovery dialog;
    DiscoveryPlan plan = LoopbackPlan(GuiTest::UnusedTcpPort(), {});
    Ipv4Subnet wide;
    Ipv4Subnet::Parse(QStringLiteral("127.0.0.0/24"), &wide, nullptr);
    plan.subnets = { wide };
    plan.maxConnectionsInFlight = 1;
    dialog.Start(plan);
    QVERIFY(dialog.IsRunning());
    QTest::mouseClick(dialog.stopButton, Qt::LeftButton);
    QVERIFY(!dialog.IsRunning());
    QVERIFY(dialog.progressBar->value() < dialog.progressBar->maximum());
    QCOMPARE(dialog.stopButton->text(), SpushButton_DiscoveryAgain);
    QVERIFY(!dialog.useButton->isEnabled());
}

void TestDiscoveryDialog::findFillsTheConnectionPage_data()
{
    QTest::addColumn<bool>("serialRow");
    QTest::newRow("TCP row") << false;
    QTest::newRow("serial row") << true;
}

void TestDiscoveryDialog::findFillsTheConnectionPage()
{
    QFETCH(bool, serialRow);
    const quint16 port = GuiTest::UnusedTcpPort();
    GuiTest::SimProcess device(QDir::temp().filePath(QStringLiteral("tavilon-find-page-%1").arg(port)),
        { "--tcp", QStringLiteral("127.0.0.6:%1").arg(port), "--baud", "57600" });
    QVERIFY(device.WaitUntilListening());

    LinkMode = LinkModeNone;
    Ui_Uart_Network page;
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    const QString serialBefore = page.serialPortComboBox->currentText();
    const QString rateBefore = page.baudRateComboBox->currentText();
    page.portEdit->setText(QString::number(port));
    page.ipEdit->setText(QStringLiteral("127.0.0.1"));
    const QString ipBefore = page.ipEdit->text();
    page.SetFindNetworks(LoopbackPlan(port, {}).subnets, { device.ptyPath });
    // Given networks replace the machine's and the typed address: only loopback is tried.
    for (quint32 host : DeviceDiscovery::HostsOf(page.FindPlan()))
        QCOMPARE(host >> 24, 127u);
    QTest::mouseClick(page.findButton, Qt::LeftButton);
    auto *dialog = page.findChild<Ui_Discovery *>();
    QVERIFY(dialog);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->IsRunning(), 10000);
    QCOMPARE(dialog->resultTable->rowCount(), 2);
    QVERIFY(ChooseRow(dialog, serialRow ? DiscoveryResult::Link::Serial : DiscoveryResult::Link::Tcp));

    // Only the chosen link's fields change, and nothing connects.
    QCOMPARE(page.ipEdit->text(), serialRow ? ipBefore : QStringLiteral("127.0.0.6"));
    QCOMPARE(page.portEdit->text(), QString::number(port));
    QCOMPARE(page.serialPortComboBox->currentText(), serialRow ? device.ptyPath : serialBefore);
    QCOMPARE(page.baudRateComboBox->currentText(), serialRow ? QStringLiteral("57600") : rateBefore);
    QCOMPARE(LinkMode, LinkModeNone);
}

QTEST_MAIN(TestDiscoveryDialog)
#include "tst_discoverydialog.moc"
