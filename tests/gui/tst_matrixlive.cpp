// The matrix page in a live room, driven with real mouse and key events against the device
// simulator: Take mode and its stage, output locks, undo and redo, keyboard routing, and the
// exact route lines that reach the device (none while staged or locked). Also the questions
// before staged routes are dropped, locks kept across runs, names as CSV and the Tab order.
#include "GuiPageActions.h"
#include "GuiSimProcess.h"
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/Ui_Uart_Network.h"
#include "pages/MatrixOverlay.h"
#include "pages/MatrixRoutingBar.h"
#include "pages/Ui_Matrix.h"
#include "pages/Ui_SaveLoad.h"
#include "pages/MyTableWidget.h"
#include "pages/Ui_Multiview.h"
#include "pages/Ui_SignalConfig.h"
#include "pages/Ui_System.h"
#include "pages/Ui_TVWall.h"
#include "protocol/DeviceState.h"
#include "protocol/OutputLocks.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "settings/PortNamesCsv.h"
#include "shell/MyComboBox.h"
#include "shell/NameElision.h"
#include "shell/Ui_Main.h"
#include "support/TestPaths.h"

#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTcpSocket>
#include <QtTest>

namespace {

constexpr int SyncTimeoutMs = 15000;

QPushButton *CrossPoint(const Ui_Matrix *page, int output, int input)
{
    return page->findChild<QPushButton *>(QStringLiteral("MatrixButton-%1").arg((output - 1) * 4 + input - 1));
}

QLabel *OutputNameLabel(const Ui_Matrix *page, int output)
{
    return page->headerLabels.value(int(2 * page->inputsPerPage) + output);
}

QString RoutesText()
{
    QStringList inputs;
    for (quint32 o = 0; o < 4; ++o)
        inputs << QString::number(DeviceState.routeInputOfOutput[o] + 1);
    return inputs.join(QLatin1Char(' '));
}

QString FlatText(const Ui_Matrix *page)
{
    QStringList inputs;
    for (int output = 1; output <= 4; ++output) {
        int flat = 0;
        for (int input = 1; input <= 4; ++input) {
            if (CrossPoint(page, output, input)->isFlat())
                flat = input;
        }
        inputs << QString::number(flat);
    }
    return inputs.join(QLatin1Char(' '));
}

QStringList RouteLines(const QSignalSpy &spy)
{
    QStringList lines;
    for (const QList<QVariant> &arguments : spy) {
        const QString line = arguments.at(0).toString();
        if (line.startsWith(QLatin1String("SET IN")) && line.contains(QLatin1String(" VIDEO ")))
            lines << line.chopped(1);
    }
    return lines;
}

// A right click as the window system delivers it, so that the page gets its context menu
// event, then a click on the menu's only entry.
void RightClickAndChooseLock(Ui_Matrix *page, int output)
{
    QLabel *label = OutputNameLabel(page, output);
    QWidget *window = page->window();
    const QPoint at = label->mapTo(window, label->rect().center());
    QTest::mouseClick(window->windowHandle(), Qt::RightButton, Qt::NoModifier, at);
    QTRY_VERIFY(page->lockMenu->isVisible());
    QAction *action = page->lockMenu->actions().value(0);
    QVERIFY(action);
    QTest::mouseClick(page->lockMenu, Qt::LeftButton, Qt::NoModifier, page->lockMenu->actionGeometry(action).center());
    QTRY_VERIFY(!page->lockMenu->isVisible());
}

Qt::Key KeyNamed(const QString &name)
{
    static const QHash<QString, Qt::Key> keys { { "Left", Qt::Key_Left }, { "Right", Qt::Key_Right },
        { "Up", Qt::Key_Up }, { "Down", Qt::Key_Down }, { "Space", Qt::Key_Space }, { "Return", Qt::Key_Return },
        { "Enter", Qt::Key_Enter }, { "Escape", Qt::Key_Escape } };
    if (name.size() == 1 && name.at(0).isDigit())
        return Qt::Key(Qt::Key_0 + name.at(0).digitValue());
    return keys.value(name, Qt::Key_unknown);
}

// Until the link has nothing left to send and the last reply has had time to come back.
void Settle()
{
    QTRY_COMPARE_WITH_TIMEOUT(TcpLinkQueue().sendQueueSize(), 0, SyncTimeoutMs);
    QTest::qWait(400);
}

} // namespace

class TestMatrixLive : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void operatorScript_data();
    void operatorScript();
    void leavingWithStageAsks_data();
    void leavingWithStageAsks();
    void locksKeptAcrossRuns();
    void sceneLoadWithLocks();
    void namesCsvFromPage_data();
    void namesCsvFromPage();
    void fileFailuresSayWhy_data();
    void fileFailuresSayWhy();
    void matrixTabOrder();
    void everyPageReachableWithTab_data();
    void everyPageReachableWithTab();

private:
    void ConnectToSimulator(GuiTest::SimProcess &sim);
    void RunStep(const QString &step, Ui_Matrix *matrix, const QSignalSpy &sent);

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_Main> m_main;
    quint16 m_simPort = 0;
};

void TestMatrixLive::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestMatrixLive::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    LinkMode = LinkModeNone;
}

void TestMatrixLive::cleanup()
{
    if (m_main) {
        // Nothing staged is left to ask about when the window goes.
        m_main->matrixPage->routingDesk.cancel();
        m_main->connectionPage->DisconnectActiveLink();
    }
    m_main.reset();
    // Collected first: deleting a dialog deletes its popups, which are top-level widgets too.
    QList<QPointer<Ui_SaveLoad>> dialogs;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<Ui_SaveLoad *>(widget))
            dialogs << dialog;
    }
    for (const QPointer<Ui_SaveLoad> &dialog : qAsConst(dialogs))
        delete dialog.data();
    LinkMode = LinkModeNone;
    m_fixture.End();
}

void TestMatrixLive::ConnectToSimulator(GuiTest::SimProcess &sim)
{
    QVERIFY2(QFileInfo::exists(TestBinDir() + QStringLiteral("/tavilon-sim")), "tavilon-sim is not built");
    QVERIFY(sim.WaitUntilListening());
    m_simPort = sim.tcpPort.toUShort();
    m_main.reset(new Ui_Main());
    Ui_Uart_Network *connection = m_main->connectionPage;
    m_main->show();
    m_main->tabWidget->setCurrentWidget(connection);
    GuiTest::TypeInto(connection->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(connection->portEdit, sim.tcpPort);
    QVERIFY(GuiTest::ChooseLoopbackLocalAddress(connection));
    QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        connection->statusLog->toPlainText().contains(QLatin1String("->Sync Over!<-")), SyncTimeoutMs);
    m_main->tabWidget->setCurrentWidget(m_main->matrixPage);
    QCOMPARE(RoutesText(), QStringLiteral("1 2 3 4"));
}

void TestMatrixLive::RunStep(const QString &step, Ui_Matrix *matrix, const QSignalSpy &sent)
{
    const QStringList words = step.split(QLatin1Char(' '));
    const QString verb = words.first();
    const int a = words.value(1).toInt();
    const int b = words.value(2).toInt();
    if (verb == QLatin1String("click")) {
        QTest::mouseClick(CrossPoint(matrix, a, b), Qt::LeftButton);
    } else if (verb == QLatin1String("take-mode")) {
        QTest::mouseClick(matrix->routingBar->takeModeButton, Qt::LeftButton);
    } else if (verb == QLatin1String("take")) {
        QTest::mouseClick(matrix->routingBar->takeButton, Qt::LeftButton);
    } else if (verb == QLatin1String("cancel")) {
        QTest::mouseClick(matrix->routingBar->cancelButton, Qt::LeftButton);
    } else if (verb == QLatin1String("lock")) {
        RightClickAndChooseLock(matrix, a);
    } else if (verb == QLatin1String("all")) {
        GuiTest::ChooseItem(matrix->allOutputComboBox, a - 1);
    } else if (verb == QLatin1String("focus")) {
        matrix->activateWindow();
        matrix->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(matrix->hasFocus());
    } else if (verb == QLatin1String("key")) {
        QTest::keyClick(matrix, KeyNamed(words.value(1)));
    } else if (verb == QLatin1String("undo")) {
        QTest::keyClick(matrix, Qt::Key_Z, Qt::ControlModifier);
    } else if (verb == QLatin1String("redo")) {
        QTest::keyClick(matrix, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    } else if (verb == QLatin1String("other")) {
        // Another controller on the same device routes input b to output a.
        QTcpSocket other;
        other.connectToHost(QHostAddress(QStringLiteral("127.0.0.1")), m_simPort);
        QVERIFY(other.waitForConnected(5000));
        other.write(QStringLiteral("SET IN%1 VIDEO OUT%2\r").arg(b).arg(a).toLatin1());
        QVERIFY(other.waitForBytesWritten(5000));
        QTRY_COMPARE_WITH_TIMEOUT(DeviceState.routeInputOfOutput[a - 1], quint32(b - 1), SyncTimeoutMs);
        other.disconnectFromHost();
    } else if (verb == QLatin1String("settle")) {
        Settle();
    } else if (verb.startsWith(QLatin1String("sent="))) {
        QCOMPARE(RouteLines(sent).size(), verb.mid(5).toInt());
    } else if (verb.startsWith(QLatin1String("staged="))) {
        const int count = verb.mid(7).toInt();
        QCOMPARE(matrix->overlay->stagedRects().size(), count);
        QCOMPARE(matrix->routingBar->stageLabel->text(),
            matrix->routingDesk.takeMode() ? Slabel_StagedOutputs.arg(count) : QString());
    } else if (verb.startsWith(QLatin1String("note="))) {
        QCOMPARE(matrix->routingBar->noteLabel->text(), Slabel_LockedSkipped + verb.mid(5));
    } else if (verb.startsWith(QLatin1String("pending="))) {
        const QString output = verb.mid(8);
        QCOMPARE(matrix->routingBar->keyRouteLabel->text(),
            output.isEmpty() ? QString() : Slabel_KeyRoutePending.arg(output));
    } else if (verb.startsWith(QLatin1String("focus="))) {
        const QStringList at = verb.mid(6).split(QLatin1Char(','));
        QCOMPARE(matrix->overlay->focusRect(), CrossPoint(matrix, at.value(0).toInt(), at.value(1).toInt())->geometry());
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
    }
}

void TestMatrixLive::operatorScript_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("routes");

    QTest::newRow("a click routes at once") << "click 2 3; settle" << QStringList { "SET IN3 VIDEO OUT2" }
                                            << "1 3 3 4";
    QTest::newRow("Take mode: nothing goes out while staged, Take sends one line per input")
        << "take-mode; click 1 2; click 3 2; click 4 1; settle; sent=0; staged=3; take; settle; staged=0"
        << QStringList { "SET IN1 VIDEO OUT4", "SET IN2 VIDEO OUT1,3" } << "2 2 2 1";
    QTest::newRow("Cancel drops the stage") << "take-mode; click 1 2; staged=1; cancel; staged=0; settle; sent=0"
                                            << QStringList() << "1 2 3 4";
    QTest::newRow("a locked output ignores clicks and Allset skips it")
        << "lock 2; click 2 3; settle; sent=0; note=Output2; all 4; settle; note=Output2"
        << QStringList { "SET IN4 VIDEO OUT1,3" } << "4 2 4 4";
    QTest::newRow("a locked output stays out of the stage")
        << "take-mode; lock 3; click 3 1; note=Output3; staged=0; click 1 2; staged=1; take; settle"
        << QStringList { "SET IN2 VIDEO OUT1" } << "2 2 3 4";
    QTest::newRow("Ctrl+Z undoes, Ctrl+Shift+Z redoes")
        << "click 2 3; settle; undo; settle; redo; settle"
        << QStringList { "SET IN3 VIDEO OUT2", "SET IN2 VIDEO OUT2", "SET IN3 VIDEO OUT2" } << "1 3 3 4";
    QTest::newRow("undo of an Allset restores every output")
        << "all 4; settle; undo; settle"
        << QStringList { "SET IN4 VIDEO ALL", "SET IN1 VIDEO OUT1", "SET IN2 VIDEO OUT2", "SET IN3 VIDEO OUT3" }
        << "1 2 3 4";
    QTest::newRow("undo in Take mode is staged until Take")
        << "click 2 3; settle; take-mode; undo; settle; sent=1; staged=1; take; settle"
        << QStringList { "SET IN3 VIDEO OUT2", "SET IN2 VIDEO OUT2" } << "1 2 3 4";
    QTest::newRow("undo leaves a locked output alone")
        << "all 4; settle; lock 1; undo; settle; note=Output1"
        << QStringList { "SET IN4 VIDEO ALL", "SET IN2 VIDEO OUT2", "SET IN3 VIDEO OUT3" } << "4 2 3 4";
    QTest::newRow("arrows move the mark, Space routes there")
        << "focus; focus=1,1; key Right; key Right; key Down; focus=2,3; key Space; settle"
        << QStringList { "SET IN3 VIDEO OUT2" } << "1 3 3 4";
    QTest::newRow("the mark stops at the edges, Enter routes")
        << "focus; key Up; key Left; focus=1,1; key Down; key Down; key Down; key Down; key Down; focus=4,1; "
           "key Return; settle"
        << QStringList { "SET IN1 VIDEO OUT4" } << "1 2 3 1";
    QTest::newRow("typing 2 then 3 routes input 3 to output 2")
        << "focus; key 2; pending=2; settle; sent=0; key 3; pending=; settle" << QStringList { "SET IN3 VIDEO OUT2" }
        << "1 3 3 4";
    QTest::newRow("Escape forgets the typed output")
        << "focus; key 2; key Escape; pending=; key 3; pending=3; key 1; settle" << QStringList { "SET IN1 VIDEO OUT3" }
        << "1 2 1 4";
    QTest::newRow("a number the device lacks routes nothing")
        << "focus; key 7; pending=; key 2; key 9; pending=; settle; sent=0" << QStringList() << "1 2 3 4";
    QTest::newRow("typed routes respect locks") << "lock 2; focus; key 2; key 3; settle; sent=0; note=Output2"
                                                << QStringList() << "1 2 3 4";
    QTest::newRow("a staged change another controller makes is dropped from the stage")
        << "take-mode; click 2 3; click 1 4; staged=2; other 2 3; staged=1; take; settle"
        << QStringList { "SET IN4 VIDEO OUT1" } << "4 3 3 4";
    QTest::newRow("typed routes are staged in Take mode")
        << "take-mode; focus; key 2; key 3; settle; sent=0; staged=1; take; settle"
        << QStringList { "SET IN3 VIDEO OUT2" } << "1 3 3 4";
}

void TestMatrixLive::operatorScript()
{
    QFETCH(QString, script);
    QFETCH(QStringList, lines);
    QFETCH(QString, routes);

    GuiTest::SimProcess sim;
    ConnectToSimulator(sim);
    if (QTest::currentTestFailed())
        return;
    Ui_Matrix *matrix = m_main->matrixPage;
    QSignalSpy sent(m_main.data(), &Ui_Main::SGL_DEBUG_SHOW_SendText);
    for (const QString &step : script.split(QStringLiteral("; "))) {
        RunStep(step, matrix, sent);
        if (QTest::currentTestFailed()) {
            qWarning("at step: %s", qPrintable(step));
            return;
        }
    }
    QCOMPARE(RouteLines(sent), lines);
    QCOMPARE(RoutesText(), routes);
    QCOMPARE(FlatText(matrix), routes);
}

void TestMatrixLive::leavingWithStageAsks_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("stagedAfter");
    QTest::addColumn<bool>("matrixShown");
    QTest::addColumn<bool>("takeModeAfter");

    QTest::newRow("switching tab, keep") << "tab" << false << 1 << true << true;
    QTest::newRow("switching tab, drop") << "tab" << true << 0 << false << true;
    QTest::newRow("Take mode off, keep") << "take-mode" << false << 1 << true << true;
    QTest::newRow("Take mode off, drop") << "take-mode" << true << 0 << true << false;
    QTest::newRow("closing, keep") << "close" << false << 1 << true << true;
}

void TestMatrixLive::leavingWithStageAsks()
{
    QFETCH(QString, how);
    QFETCH(bool, yes);
    QFETCH(int, stagedAfter);
    QFETCH(bool, matrixShown);
    QFETCH(bool, takeModeAfter);

    m_main.reset(new Ui_Main());
    m_main->show();
    Ui_Matrix *matrix = m_main->matrixPage;
    m_main->tabWidget->setCurrentWidget(matrix);
    QTest::mouseClick(matrix->routingBar->takeModeButton, Qt::LeftButton);
    QTest::mouseClick(CrossPoint(matrix, 2, 3), Qt::LeftButton);
    QCOMPARE(matrix->routingDesk.stage().count(), 1);

    MessageBoxCatcher catcher(yes);
    if (how == QLatin1String("tab")) {
        QTabBar *bar = m_main->tabWidget->tabBar();
        const int signalTab = m_main->tabWidget->indexOf(m_main->signalConfigPage);
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(signalTab).center());
    } else if (how == QLatin1String("take-mode")) {
        QTest::mouseClick(matrix->routingBar->takeModeButton, Qt::LeftButton);
    } else {
        m_main->close();
    }
    QTRY_COMPARE(catcher.Texts(), QStringList { SMSG_DropStagedChanges });
    QTRY_COMPARE(m_main->tabWidget->currentWidget() == matrix, matrixShown);
    QCOMPARE(matrix->routingDesk.stage().count(), stagedAfter);
    QCOMPARE(matrix->routingBar->takeModeButton->isChecked(), takeModeAfter);
    QCOMPARE(matrix->routingDesk.takeMode(), takeModeAfter);
    QVERIFY(m_main->isVisible());
    QCOMPARE(matrix->overlay->stagedRects().size(), stagedAfter);
}

void TestMatrixLive::locksKeptAcrossRuns()
{
    QFile settings(ConfigFile_SettingsPath());
    QVERIFY(settings.open(QIODevice::ReadOnly));
    const QByteArray settingsBefore = settings.readAll();
    settings.close();

    m_main.reset(new Ui_Main());
    m_main->show();
    m_main->tabWidget->setCurrentWidget(m_main->matrixPage);
    RightClickAndChooseLock(m_main->matrixPage, 3);
    QCOMPARE(m_main->matrixPage->overlay->lockedRects().size(), 1);
    QFile locks(OutputLocks::FilePath());
    QVERIFY(locks.open(QIODevice::ReadOnly));
    QCOMPARE(locks.readAll(), QByteArray("3\r\n"));
    locks.close();

    m_main.reset(new Ui_Main());
    m_main->show();
    Ui_Matrix *matrix = m_main->matrixPage;
    m_main->tabWidget->setCurrentWidget(matrix);
    QVERIFY(matrix->outputLocks.isLocked(2));
    QCOMPARE(matrix->overlay->lockedRects(),
        QVector<QRect> { matrix->headerLabels.value(int(2 * matrix->inputsPerPage + matrix->outputsPerPage) + 3)->geometry() });
    // The menu of a locked output unlocks it.
    RightClickAndChooseLock(matrix, 3);
    QCOMPARE(matrix->lockMenu->actions().value(0)->text(), SMenu_UnlockOutput);
    QVERIFY(!matrix->outputLocks.any());
    QVERIFY(matrix->overlay->lockedRects().isEmpty());
    QVERIFY(locks.open(QIODevice::ReadOnly));
    QCOMPARE(locks.readAll(), QByteArray());

    // The settings file is not where locks live.
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QCOMPARE(settings.readAll(), settingsBefore);
}

void TestMatrixLive::sceneLoadWithLocks()
{
    GuiTest::SimProcess sim;
    ConnectToSimulator(sim);
    if (QTest::currentTestFailed())
        return;
    Ui_Matrix *matrix = m_main->matrixPage;
    QSignalSpy sent(m_main.data(), &Ui_Main::SGL_DEBUG_SHOW_SendText);
    RightClickAndChooseLock(matrix, 2);
    QTest::mouseClick(matrix->saveLoadButton, Qt::LeftButton);
    Ui_SaveLoad *dialog = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<Ui_SaveLoad *>(widget))
            dialog = found;
    }
    QVERIFY(dialog);

    // Answering NO to the lock question stops the load and leaves no undo step.
    {
        MessageBoxCatcher catcher(false);
        QVERIFY(!matrix->ConfirmSceneLoad(dialog));
        QCOMPARE(catcher.Texts(), QStringList { SMSG_SceneLoadWithLocks.arg(QStringLiteral("Output2")) });
        QCOMPARE(catcher.Boxes().first().parent, dialog);
    }
    QCOMPARE(matrix->routingDesk.history().undoCount(), 0);

    {
        MessageBoxCatcher catcher(true);
        GuiTest::ChooseItem(dialog->loadComboBox, 0);
        QCOMPARE(catcher.Texts(),
            (QStringList { SMSG_LoadMessage, SMSG_SceneLoadWithLocks.arg(QStringLiteral("Output2")) }));
    }
    QTRY_VERIFY_WITH_TIMEOUT(sent.size() > 0
            && [&] {
                   for (const QList<QVariant> &arguments : sent) {
                       if (arguments.at(0).toString() == QLatin1String("SET LOAD SCENE 1\r"))
                           return true;
                   }
                   return false;
               }(),
        SyncTimeoutMs);
    QCOMPARE(matrix->routingDesk.history().undoCount(), 1);
}

void TestMatrixLive::namesCsvFromPage_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("input2");
    QTest::addColumn<QString>("output4");

    const QByteArray header = "kind,number,name\r\n";
    QTest::newRow("changes listed, applied on YES")
        << header + "input,2,Camera\r\noutput,4,Projector\r\ninput,1,Input1\r\n" << true
        << SMSG_NamesImportConfirm + "\nInput 2: Input2 → Camera\nOutput 4: Output4 → Projector" << "Camera"
        << "Projector";
    QTest::newRow("changes listed, nothing on NO") << header + "input,2,Camera\r\n" << false
                                                   << SMSG_NamesImportConfirm + "\nInput 2: Input2 → Camera"
                                                   << "Input2" << "Output4";
    QTest::newRow("a refused row changes nothing")
        << header + "input,2,Camera\r\noutput,5,Fifth\r\n" << true
        << SMSG_NamesImportRefused + "\nRow 3: the device has no such port" << "Input2" << "Output4";
    QTest::newRow("no change") << header + "input,2,Input2\r\n" << true << SMSG_NamesImportNoChange << "Input2"
                               << "Output4";
}

void TestMatrixLive::namesCsvFromPage()
{
    QFETCH(QByteArray, csv);
    QFETCH(bool, yes);
    QFETCH(QString, box);
    QFETCH(QString, input2);
    QFETCH(QString, output4);

    m_main.reset(new Ui_Main());
    m_main->show();
    Ui_Matrix *matrix = m_main->matrixPage;
    m_main->tabWidget->setCurrentWidget(matrix);
    DeviceState_ConfirmModel();
    matrix->RebuildIfConfirmed();

    const QString path = m_fixture.Path() + QStringLiteral("/names.csv");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(csv);
    file.close();
    const Ui_Matrix::NamesFileDialog original = Ui_Matrix::namesFileDialog;
    QString caption;
    Ui_Matrix::namesFileDialog = [&](QWidget *, const QString &text, bool) {
        caption = text;
        return path;
    };
    {
        MessageBoxCatcher catcher(yes);
        QTest::mouseClick(matrix->routingBar->importNamesButton, Qt::LeftButton);
        QCOMPARE(catcher.Texts(), QStringList { box });
        QCOMPARE(catcher.Boxes().first().parent, matrix);
    }
    QCOMPARE(caption, SpushButton_ImportNames);
    QCOMPARE(S_InputName[1], input2);
    QCOMPARE(S_OutputName[3], output4);
    QCOMPARE(FullNameOf(matrix->headerLabels.value(2)), input2);
    QCOMPARE(FullNameOf(OutputNameLabel(matrix, 4)), output4);

    // What the page exports now reads back as no change.
    const QString exported = m_fixture.Path() + QStringLiteral("/exported.csv");
    Ui_Matrix::namesFileDialog = [&](QWidget *, const QString &, bool save) { return save ? exported : QString(); };
    QTest::mouseClick(matrix->routingBar->exportNamesButton, Qt::LeftButton);
    Ui_Matrix::namesFileDialog = original;
    QFile written(exported);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray content = written.readAll();
    QCOMPARE(content.count("\r\n"), 9);
    QVERIFY(content.contains("input,2," + input2.toUtf8() + "\r\n"));
    QVERIFY(PortNamesCsv::PlanImport(content, 4, 4).changes.isEmpty());
}

void TestMatrixLive::fileFailuresSayWhy_data()
{
    QTest::addColumn<QString>("what");

    QTest::newRow("names export into a missing folder") << "export";
    QTest::newRow("names import of a missing file") << "import";
    QTest::newRow("locks file that cannot be replaced") << "lock";
}

// Root ignores file modes, so the failures come from paths that cannot work for anyone.
void TestMatrixLive::fileFailuresSayWhy()
{
    QFETCH(QString, what);

    m_main.reset(new Ui_Main());
    m_main->show();
    Ui_Matrix *matrix = m_main->matrixPage;
    m_main->tabWidget->setCurrentWidget(matrix);
    const QString missing = m_fixture.Path() + QStringLiteral("/no-such-folder/names.csv");
    const Ui_Matrix::NamesFileDialog original = Ui_Matrix::namesFileDialog;
    Ui_Matrix::namesFileDialog = [&](QWidget *, const QString &, bool) { return missing; };
    MessageBoxCatcher catcher(true);
    QString expectedStart;
    if (what == QLatin1String("export")) {
        QTest::mouseClick(matrix->routingBar->exportNamesButton, Qt::LeftButton);
        expectedStart = SMSG_NamesExportFail + missing + QStringLiteral(" (");
    } else if (what == QLatin1String("import")) {
        QTest::mouseClick(matrix->routingBar->importNamesButton, Qt::LeftButton);
        expectedStart = SMSG_NamesImportReadFail + missing + QStringLiteral(" (");
    } else {
        // A folder where the locks file belongs.
        QVERIFY(QDir().mkpath(OutputLocks::FilePath()));
        RightClickAndChooseLock(matrix, 1);
        expectedStart = SMSG_LockSaveFail + OutputLocks::FilePath();
    }
    Ui_Matrix::namesFileDialog = original;
    QTRY_COMPARE(catcher.Texts().size(), 1);
    QVERIFY2(catcher.Texts().first().startsWith(expectedStart), qPrintable(catcher.Texts().first()));
    QCOMPARE(catcher.Boxes().first().parent, matrix);
    QVERIFY(!QFile::exists(missing));
}

void TestMatrixLive::matrixTabOrder()
{
    m_main.reset(new Ui_Main());
    m_main->show();
    Ui_Matrix *matrix = m_main->matrixPage;
    m_main->tabWidget->setCurrentWidget(matrix);
    m_main->activateWindow();
    matrix->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(matrix->hasFocus());

    // Take and Cancel are off until something is staged; the rename field and the arrows are
    // hidden on a device of up to 16 ports.
    const QList<QWidget *> expected { matrix->routingBar->takeModeButton, matrix->allOutputComboBox,
        matrix->saveLoadButton, matrix->edidButton, matrix->routingBar->exportNamesButton,
        matrix->routingBar->importNamesButton };
    QList<QWidget *> reached;
    for (int k = 0; k < expected.size(); ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget();
    }
    QCOMPARE(reached, expected);
}

void TestMatrixLive::everyPageReachableWithTab_data()
{
    QTest::addColumn<QString>("page");
    // Controls that Tab must reach in this order (others may come between them).
    QTest::addColumn<QStringList>("inOrder");

    QTest::newRow("connection") << "connection" << QStringList { "uartConnectButton", "ipEdit", "portEdit", "networkConnectButton" };
    QTest::newRow("matrix") << "matrix" << QStringList { "page", "takeMode", "allOutput", "saveLoad", "edid", "export", "import" };
    QTest::newRow("signal configuration") << "signal" << QStringList();
    QTest::newRow("multiview") << "multiview"
                               << QStringList { "output", "mode0", "mode4", "window0", "window3", "audio", "vka", "itc" };
    QTest::newRow("TV wall") << "wall" << QStringList { "row", "column", "read", "write", "grid" };
    QTest::newRow("system") << "system" << QStringList();
}

// From the page's first control, Tab reaches every shown and enabled control of the page, in
// an order that follows the page from top to bottom.
void TestMatrixLive::everyPageReachableWithTab()
{
    QFETCH(QString, page);
    QFETCH(QStringList, inOrder);

    m_main.reset(new Ui_Main());
    m_main->show();
    m_main->activateWindow();
    const QHash<QString, QWidget *> pages { { "connection", m_main->connectionPage }, { "matrix", m_main->matrixPage },
        { "signal", m_main->signalConfigPage }, { "multiview", m_main->multiviewPage }, { "wall", m_main->tvWallPage },
        { "system", m_main->systemPage } };
    QWidget *shown = pages.value(page);
    QVERIFY(shown);
    const QHash<QString, QWidget *> named { { "uartConnectButton", m_main->connectionPage->uartConnectButton },
        { "ipEdit", m_main->connectionPage->ipEdit }, { "portEdit", m_main->connectionPage->portEdit },
        { "networkConnectButton", m_main->connectionPage->networkConnectButton }, { "page", m_main->matrixPage },
        { "takeMode", m_main->matrixPage->routingBar->takeModeButton },
        { "allOutput", m_main->matrixPage->allOutputComboBox }, { "saveLoad", m_main->matrixPage->saveLoadButton },
        { "edid", m_main->matrixPage->edidButton }, { "export", m_main->matrixPage->routingBar->exportNamesButton },
        { "import", m_main->matrixPage->routingBar->importNamesButton },
        { "output", m_main->multiviewPage->outputComboBox }, { "mode0", m_main->multiviewPage->modeButtons.value(0) },
        { "mode4", m_main->multiviewPage->modeButtons.value(4) },
        { "window0", m_main->multiviewPage->windowSourceButtons.value(0) },
        { "window3", m_main->multiviewPage->windowSourceButtons.value(3) },
        { "audio", m_main->multiviewPage->audioSourceComboBox }, { "vka", m_main->multiviewPage->vkaComboBox },
        { "itc", m_main->multiviewPage->itcComboBox }, { "row", m_main->tvWallPage->rowComboBox },
        { "column", m_main->tvWallPage->columnComboBox }, { "read", m_main->tvWallPage->readButton },
        { "write", m_main->tvWallPage->writeButton }, { "grid", m_main->tvWallPage->grid } };

    m_main->tabWidget->setCurrentWidget(shown);
    QList<QWidget *> wanted;
    for (QWidget *child : shown->findChildren<QWidget *>()) {
        if (child->isVisible() && child->isEnabled() && (child->focusPolicy() & Qt::TabFocus) && !child->focusProxy())
            wanted << child;
    }
    if (shown->focusPolicy() & Qt::TabFocus)
        wanted.prepend(shown);
    QVERIFY(!wanted.isEmpty());
    QWidget *first = inOrder.isEmpty() ? wanted.first() : named.value(inOrder.first());
    QVERIFY(first);
    first->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(QApplication::focusWidget() == first);
    // The walk goes once round the whole window (the tab bar and the language list too).
    QList<QWidget *> walk { first };
    for (int k = 0; k < 2 * wanted.size() + 10; ++k) {
        QWidget *focused = QApplication::focusWidget();
        QVERIFY2(focused, "the focus got lost");
        QTest::keyClick(focused, Qt::Key_Tab);
        if (QApplication::focusWidget() == first)
            break;
        walk << QApplication::focusWidget();
    }
    for (QWidget *widget : qAsConst(wanted)) {
        QVERIFY2(walk.contains(widget),
            qPrintable(QStringLiteral("Tab never reaches ") + widget->metaObject()->className() + QLatin1Char(' ')
                + widget->objectName() + QLatin1Char(' ') + widget->property("text").toString()));
    }
    int at = -1;
    for (const QString &name : inOrder) {
        const int next = walk.indexOf(named.value(name));
        QVERIFY2(next > at, qPrintable(name + QStringLiteral(" is not reached after the control before it")));
        at = next;
    }
}

QTEST_MAIN(TestMatrixLive)
#include "tst_matrixlive.moc"
