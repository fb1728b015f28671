// The System page's Backup… and Restore… against the device simulator: a restore shows the
// changes in words and asks first, gives the device back its saved configuration and says so
// in one box; NO, a refused file, a device that already matches and a missing device send
// nothing.
#include "GuiSimProcess.h"
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/Ui_Uart_Network.h"
#include "pages/Ui_ConfigBackup.h"
#include "pages/Ui_System.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/WallEditor.h"
#include "settings/LanguageTexts.h"
#include "shell/Ui_Main.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int SyncTimeoutMs = 15000;
constexpr int RestoreTimeoutMs = 60000;

QJsonObject ReadFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    object.remove(QStringLiteral("date"));
    return object;
}

void WriteFile(const QString &path, const QJsonObject &object)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QJsonDocument(object).toJson());
}

} // namespace

class TestConfigBackup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void restore_data();
    void restore();
    void noDeviceSendsNothing();

private:
    bool ConnectToSim(const GuiTest::SimProcess &sim);
    // Output 3 to PIP, output 2 rotated, input 1 routed to output 3; waits for the device.
    void ChangeDevice(bool wall);
    // Presses a button and waits until the flow has shown `boxes` boxes.
    void PressAndWait(QPushButton *button, MessageBoxCatcher &catcher, int boxes);
    // Runs a slot of the flow (all its boxes are answered inside) and checks the box count.
    void RunAndWait(const std::function<void()> &slot, MessageBoxCatcher &catcher, int boxes);

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_Main> m_main;
    QTemporaryDir m_dir;
};

void TestConfigBackup::initTestCase()
{
    m_fixture.TakeDefaults();
    QVERIFY(m_dir.isValid());
}

void TestConfigBackup::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    LinkMode = LinkModeNone;
}

void TestConfigBackup::cleanup()
{
    if (m_main)
        m_main->connectionPage->DisconnectActiveLink();
    m_main.reset();
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

bool TestConfigBackup::ConnectToSim(const GuiTest::SimProcess &sim)
{
    m_main.reset(new Ui_Main());
    m_main->show();
    Ui_Uart_Network *connection = m_main->connectionPage;
    m_main->tabWidget->setCurrentWidget(connection);
    GuiTest::TypeInto(connection->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(connection->portEdit, sim.tcpPort);
    if (!GuiTest::ChooseLoopbackLocalAddress(connection))
        return false;
    QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
    QElapsedTimer timer;
    timer.start();
    while (!connection->statusLog->toPlainText().contains(QStringLiteral("->Sync Over!<-"))) {
        if (timer.elapsed() > SyncTimeoutMs)
            return false;
        QTest::qWait(10);
    }
    m_main->tabWidget->setCurrentWidget(m_main->systemPage);
    return true;
}

void TestConfigBackup::ChangeDevice(bool wall)
{
    CmdSetOutRotation(1, 2);
    CmdSetRoute(0, 2);
    CmdSetMultiviewMode(2, 1);
    emit m_main->SGL_UnifyUpdateEmit();
    QTRY_COMPARE_WITH_TIMEOUT(DeviceState.multiview[2].mode, 1u, SyncTimeoutMs);
    if (!wall)
        return;
    // A wall of another size with a group: the restore cancels it before the size goes back.
    WallEditor editor([this] { emit m_main->SGL_UnifyUpdateEmit(); });
    QCOMPARE(editor.writeSize(1, 2), WallEditor::Outcome::Done);
    QTRY_COMPARE_WITH_TIMEOUT(DeviceState.wall.rows, 1u, SyncTimeoutMs);
    editor.showModel();
    QCOMPARE(editor.splice(WallBlock { 0, 0, 0, 1 }).outcome, WallEditor::Outcome::Done);
    QTRY_VERIFY_WITH_TIMEOUT(WallSlot(WallSlot(0).outputIndex).spliced, SyncTimeoutMs);
}

void TestConfigBackup::PressAndWait(QPushButton *button, MessageBoxCatcher &catcher, int boxes)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(catcher.Texts().size() >= boxes, RestoreTimeoutMs);
}

void TestConfigBackup::RunAndWait(const std::function<void()> &slot, MessageBoxCatcher &catcher, int boxes)
{
    slot();
    QTRY_VERIFY_WITH_TIMEOUT(catcher.Texts().size() >= boxes, RestoreTimeoutMs);
}

void TestConfigBackup::restore_data()
{
    QTest::addColumn<bool>("changeDevice");
    QTest::addColumn<QString>("fileField"); // a top-level field of the saved file to replace
    QTest::addColumn<QJsonValue>("fileValue");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QStringList>("boxStarts");
    QTest::addColumn<QStringList>("confirmLists");
    QTest::addColumn<bool>("deviceRestored");
    QTest::addColumn<bool>("changeWall");

    const QStringList changedList { "Output 2 rotation: 0°", "Output 3 multiview: SINGLE", "Output 3 shows Input 3" };
    QTest::newRow("YES restores the device") << true << QString() << QJsonValue() << true
                                             << QStringList { SMSG_RestoreConfirm, SMSG_RestoreDone } << changedList
                                             << true << false;
    QTest::newRow("YES puts back a wall of another size with a group")
        << true << QString() << QJsonValue() << true << QStringList { SMSG_RestoreConfirm, SMSG_RestoreDone }
        << changedList + QStringList { "Wall of 2 x 2 screens, its splice groups cancelled first" } << true << true;
    QTest::newRow("NO sends nothing") << true << QString() << QJsonValue() << false
                                      << QStringList { SMSG_RestoreConfirm } << changedList << false << false;
    QTest::newRow("device already matches") << false << QString() << QJsonValue() << true
                                            << QStringList { SMSG_RestoreNothing } << QStringList() << true << false;
    QTest::newRow("file of another model refused") << true << "model" << QJsonValue("XK100") << true
                                                   << QStringList { SMSG_RestoreRefused + "model:" } << QStringList()
                                                   << false << false;
    QTest::newRow("file of a newer format refused") << true << "formatVersion" << QJsonValue(7) << true
                                                    << QStringList { SMSG_RestoreRefused + "formatVersion: 7" }
                                                    << QStringList() << false << false;
}

void TestConfigBackup::restore()
{
    QFETCH(bool, changeDevice);
    QFETCH(QString, fileField);
    QFETCH(QJsonValue, fileValue);
    QFETCH(bool, answerYes);
    QFETCH(QStringList, boxStarts);
    QFETCH(QStringList, confirmLists);
    QFETCH(bool, deviceRestored);
    QFETCH(bool, changeWall);

    GuiTest::SimProcess sim;
    QVERIFY(sim.WaitUntilListening());
    QVERIFY(ConnectToSim(sim));
    Ui_ConfigBackup *flow = m_main->systemPage->configBackup;
    const QString saved = m_dir.filePath(QStringLiteral("saved.json"));
    const QString again = m_dir.filePath(QStringLiteral("again.json"));
    QString chosen = saved;
    flow->SetFileChooser([&chosen](bool) { return chosen; });

    {
        MessageBoxCatcher catcher;
        RunAndWait([flow] { flow->SLT_Backup(); }, catcher, 1);
        QCOMPARE(catcher.Texts(), QStringList { SMSG_BackupSaved + saved });
        QCOMPARE(catcher.Boxes().first().parent, static_cast<const QWidget *>(m_main.data()));
    }
    QJsonObject file = ReadFile(saved);
    QCOMPARE(file.value("inputs").toArray().at(0).toObject().value("name").toString(), S_InputName[0]);
    QCOMPARE(file.value("programVersion").toString(), QStringLiteral(TAVILON_PROGRAM_VERSION));
    if (!fileField.isEmpty()) {
        file.insert(fileField, fileValue);
        WriteFile(saved, file);
    }
    if (changeDevice)
        ChangeDevice(changeWall);

    {
        // One catcher at a time: two would race for the same box.
        MessageBoxCatcher catcher(answerYes);
        RunAndWait([flow] { flow->SLT_Restore(); }, catcher, boxStarts.size());
        QTest::qWait(200); // no further box may follow
        QCOMPARE(catcher.Texts().size(), boxStarts.size());
        for (int k = 0; k < boxStarts.size(); ++k)
            QVERIFY2(catcher.Texts().at(k).startsWith(boxStarts.at(k)), qPrintable(catcher.Texts().at(k)));
        for (const QString &change : confirmLists)
            QVERIFY2(catcher.Texts().first().contains(change), qPrintable(catcher.Texts().first()));
    }
    QVERIFY(flow->restoreButton->isEnabled());

    QCOMPARE(DeviceState.multiview[2].mode == 0, deviceRestored || !changeDevice);
    if (deviceRestored) {
        chosen = again;
        MessageBoxCatcher backupAgain;
        RunAndWait([flow] { flow->SLT_Backup(); }, backupAgain, 1);
        QCOMPARE(ReadFile(again), ReadFile(saved));
    }
}

void TestConfigBackup::noDeviceSendsNothing()
{
    m_main.reset(new Ui_Main());
    m_main->show();
    Ui_ConfigBackup *flow = m_main->systemPage->configBackup;
    bool asked = false;
    flow->SetFileChooser([&asked](bool) {
        asked = true;
        return QString();
    });
    MessageBoxCatcher catcher;
    PressAndWait(flow->restoreButton, catcher, 1);
    PressAndWait(flow->backupButton, catcher, 2);
    QCOMPARE(catcher.Texts(), QStringList({ SMSG_BackupNeedsDevice, SMSG_BackupNeedsDevice }));
    QVERIFY(!asked);
}

QTEST_MAIN(TestConfigBackup)
#include "tst_configbackup.moc"
