// The Find dialog against simulators on loopback hosts of their own and on a pseudo-terminal at
// a rate other than 9600: it lists the devices as they are found, and hands the chosen row on.
#include "GuiSimProcess.h"
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
    void listsDevicesAndHandsOnTheChosenRow();
    void stopCancelsAtOnce();
};

namespace {

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

QTEST_MAIN(TestDiscoveryDialog)
#include "tst_discoverydialog.moc"
