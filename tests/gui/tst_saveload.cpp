// The scene dialog: its layout, the confirmations in front of the two scene commands, slot
// naming and where the names end up, how the matrix page opens it, and a saved scene coming
// back on the device simulator after a route change.
#include "GuiPageActions.h"
#include "GuiTestFixture.h"
#include "GuiSimProcess.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/Ui_Uart_Network.h"
#include "pages/Ui_Matrix.h"
#include "pages/Ui_SaveLoad.h"
#include "protocol/DeviceState.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "shell/MyComboBox.h"
#include "shell/Ui_Main.h"
#include "support/TestPaths.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QVector>
#include <QtTest>

namespace {

constexpr int SyncTimeoutMs = 15000;

using GuiTest::QueuedLines;

QStringList ItemTexts(const QComboBox *comboBox)
{
    QStringList texts;
    for (int i = 0; i < comboBox->count(); ++i)
        texts << comboBox->itemText(i);
    return texts;
}

QStringList LayoutNames()
{
    QStringList names;
    for (int i = 0; i < Ui_SaveLoad::SceneCount; ++i)
        names << ScomboBox_Layout[i];
    return names;
}

// Chooses an item the way the operator does: open the list and click the item.
using GuiTest::ChooseItem;

QList<Ui_SaveLoad *> OpenDialogs()
{
    QList<Ui_SaveLoad *> dialogs;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<Ui_SaveLoad *>(widget))
            dialogs << dialog;
    }
    return dialogs;
}

QPushButton *CrossPoint(const Ui_Matrix *page, int k)
{
    return page->findChild<QPushButton *>(QStringLiteral("MatrixButton-%1").arg(k));
}

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

QStringList SentLines(const QSignalSpy &spy)
{
    QStringList lines;
    for (const QList<QVariant> &arguments : spy)
        lines << arguments.at(0).toString();
    return lines;
}

} // namespace

class TestSaveLoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void windowAndTexts();
    void positionForScreen_data();
    void positionForScreen();
    void confirmThenSend_data();
    void confirmThenSend();
    void saveNotQueuedKeepsName_data();
    void saveNotQueuedKeepsName();
    void everySlotNumber_data();
    void everySlotNumber();
    void namesReachLaterDialogsAndFile();
    void matrixButtonOpensDialog_data();
    void matrixButtonOpensDialog();
    void savedSceneRestoredOnDevice();

private:
    Ui_SaveLoad *NewDialog();

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_Main> m_main;
};

void TestSaveLoad::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestSaveLoad::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    LinkMode = LinkModeNone;
    TcpLinkQueue().activate();
}

void TestSaveLoad::cleanup()
{
    qDeleteAll(OpenDialogs());
    if (m_main)
        m_main->connectionPage->DisconnectActiveLink();
    m_main.reset();
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

Ui_SaveLoad *TestSaveLoad::NewDialog()
{
    auto *dialog = new Ui_SaveLoad();
    dialog->show();
    return dialog;
}

void TestSaveLoad::layout_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("frame") << "frame" << QRect(0, 0, 656, 64);
    QTest::newRow("save label") << "saveLabel" << QRect(4, 4, 160, 26);
    QTest::newRow("save combo") << "saveComboBox" << QRect(168, 4, 240, 26);
    QTest::newRow("load label") << "loadLabel" << QRect(4, 34, 160, 26);
    QTest::newRow("load combo") << "loadComboBox" << QRect(168, 34, 240, 26);
    QTest::newRow("name label") << "nameLabel" << QRect(412, 4, 240, 26);
    QTest::newRow("name editor") << "nameEdit" << QRect(412, 34, 240, 26);
}

void TestSaveLoad::layout()
{
    QFETCH(QString, widget);
    QFETCH(QRect, geometry);

    Ui_SaveLoad *dialog = NewDialog();
    const QHash<QString, QWidget *> widgets {
        { "frame", dialog->frame },
        { "saveLabel", dialog->saveLabel },
        { "saveComboBox", dialog->saveComboBox },
        { "loadLabel", dialog->loadLabel },
        { "loadComboBox", dialog->loadComboBox },
        { "nameLabel", dialog->nameLabel },
        { "nameEdit", dialog->nameEdit },
    };
    QWidget *shown = widgets.value(widget);
    QVERIFY(shown);
    QCOMPARE(shown->geometry(), geometry);
    QVERIFY(shown->isVisible());
    // Everything but the frame lies in the frame, and the frame in the content area below
    // the title bar.
    QCOMPARE(shown->parentWidget(), widget == QLatin1String("frame") ? dialog->contentWidget : dialog->frame);
    QCOMPARE(dialog->contentWidget->mapTo(dialog, QPoint(0, 0)), QPoint(0, 48));
}

void TestSaveLoad::windowAndTexts()
{
    Ui_SaveLoad_AppName = QStringLiteral("Scenes");
    Slabel_SaveLayout = QStringLiteral("Store:");
    ScomboBox_Layout[4] = QStringLiteral("Morning");
    Ui_SaveLoad *dialog = NewDialog();

    QCOMPARE(dialog->size(), QSize(656, 113));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("TitleBarText"))->text(), QStringLiteral("Scenes"));
    QCOMPARE(dialog->saveLabel->text(), QStringLiteral("Store:"));
    QCOMPARE(dialog->loadLabel->text(), QStringLiteral("Load:"));
    QCOMPARE(dialog->nameLabel->text(), QStringLiteral("<<Save name↓↓↓"));
    for (const QLabel *label : { dialog->saveLabel, dialog->loadLabel, dialog->nameLabel })
        QCOMPARE(label->alignment(), Qt::Alignment(Qt::AlignCenter));
    QVERIFY(dialog->nameEdit->text().isEmpty());

    QStringList expected;
    for (int i = 1; i <= 20; ++i)
        expected << QStringLiteral("Layout-%1").arg(i);
    expected[4] = QStringLiteral("Morning");
    QCOMPARE(ItemTexts(dialog->saveComboBox), expected);
    QCOMPARE(ItemTexts(dialog->loadComboBox), expected);
}

void TestSaveLoad::positionForScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("1366 x 768") << QSize(1366, 768) << QPoint(355, 327);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QPoint(632, 483);
    QTest::newRow("2560 x 1440 counts as 1920 x 1080") << QSize(2560, 1440) << QPoint(632, 483);
    QTest::newRow("offscreen 800 x 600") << QSize(800, 600) << QPoint(72, 243);
}

void TestSaveLoad::positionForScreen()
{
    QFETCH(QSize, screen);
    QFETCH(QPoint, position);

    QCOMPARE(Ui_SaveLoad::PositionForScreen(screen, QSize(656, 113)), position);
    if (screen == QSize(800, 600)) {
        Ui_SaveLoad *dialog = NewDialog();
        QCOMPARE(dialog->pos(), position);
    }
}

void TestSaveLoad::confirmThenSend_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("queued");
    QTest::addColumn<QString>("nameAfter");
    QTest::addColumn<QString>("editorAfter");

    const QStringList none;
    QTest::newRow("save slot 1 (already current), YES")
        << "save" << 0 << "" << true << "Save Confirm?" << QStringList { "SET SAVE SCENE 1\r" } << "Layout-1" << "";
    QTest::newRow("save slot 20, YES")
        << "save" << 19 << "" << true << "Save Confirm?" << QStringList { "SET SAVE SCENE 20\r" } << "Layout-20"
        << "";
    QTest::newRow("save slot 20 with a name, YES") << "save" << 19 << "Evening show" << true << "Save Confirm?"
                                                   << QStringList { "SET SAVE SCENE 20\r" } << "Evening show" << "";
    QTest::newRow("save slot 7 with a name, NO")
        << "save" << 6 << "Evening show" << false << "Save Confirm?" << none << "Layout-7" << "Evening show";
    QTest::newRow("save slot 7, NO") << "save" << 6 << "" << false << "Save Confirm?" << none << "Layout-7" << "";
    QTest::newRow("load slot 1 (already current), YES")
        << "load" << 0 << "" << true << "Load Confirm?" << QStringList { "SET LOAD SCENE 1\r" } << "Layout-1" << "";
    QTest::newRow("load slot 20, YES")
        << "load" << 19 << "" << true << "Load Confirm?" << QStringList { "SET LOAD SCENE 20\r" } << "Layout-20"
        << "";
    QTest::newRow("load with a name typed renames nothing") << "load" << 11 << "Quiz" << true << "Load Confirm?"
                                                            << QStringList { "SET LOAD SCENE 12\r" } << "Layout-12"
                                                            << "Quiz";
    QTest::newRow("load slot 12, NO") << "load" << 11 << "" << false << "Load Confirm?" << none << "Layout-12" << "";
}

void TestSaveLoad::confirmThenSend()
{
    QFETCH(QString, combo);
    QFETCH(int, slot);
    QFETCH(QString, typedName);
    QFETCH(bool, answerYes);
    QFETCH(QString, question);
    QFETCH(QStringList, queued);
    QFETCH(QString, nameAfter);
    QFETCH(QString, editorAfter);

    LinkMode = LinkModeTcp;
    Ui_SaveLoad *dialog = NewDialog();
    GuiTest::TypeInto(dialog->nameEdit, typedName);
    QSignalSpy kicks(dialog, &Ui_SaveLoad::SGL_UpdateEmit);
    QComboBox *chosen = combo == QLatin1String("save") ? dialog->saveComboBox : dialog->loadComboBox;

    {
        MessageBoxCatcher catcher(answerYes);
        ChooseItem(chosen, slot);
        QCOMPARE(catcher.Texts(), QStringList { question });
        QCOMPARE(catcher.Boxes().first().parent, dialog);
    }

    QCOMPARE(QueuedLines(TcpLinkQueue()), queued);
    QCOMPARE(kicks.count(), queued.size());
    QCOMPARE(ScomboBox_Layout[slot], nameAfter);
    QCOMPARE(dialog->saveComboBox->itemText(slot), nameAfter);
    QCOMPARE(dialog->loadComboBox->itemText(slot), nameAfter);
    QCOMPARE(dialog->nameEdit->text(), editorAfter);
    // No other slot changes its name.
    QStringList others = LayoutNames();
    others.removeAt(slot);
    QStringList defaults;
    for (int i = 1; i <= 20; ++i) {
        if (i != slot + 1)
            defaults << QStringLiteral("Layout-%1").arg(i);
    }
    QCOMPARE(others, defaults);
}

// The slot is renamed only for a save that was queued: the name stands for a stored scene.
void TestSaveLoad::saveNotQueuedKeepsName_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<bool>("queueOpen");

    QTest::newRow("no link chosen") << int(LinkModeNone) << true;
    QTest::newRow("serial chosen, its queue closed") << int(LinkModeSerial) << false;
}

void TestSaveLoad::saveNotQueuedKeepsName()
{
    QFETCH(int, linkMode);
    QFETCH(bool, queueOpen);

    if (!queueOpen)
        SerialLinkQueue().deactivate();
    LinkMode = linkMode;
    Ui_SaveLoad *dialog = NewDialog();
    GuiTest::TypeInto(dialog->nameEdit, QStringLiteral("Never stored"));
    {
        MessageBoxCatcher catcher(true);
        ChooseItem(dialog->saveComboBox, 4);
        QCOMPARE(catcher.Texts(), QStringList { "Save Confirm?" });
    }

    QCOMPARE(QueuedLines(TcpLinkQueue()), QStringList());
    QCOMPARE(QueuedLines(SerialLinkQueue()), QStringList());
    QCOMPARE(ScomboBox_Layout[4], QStringLiteral("Layout-5"));
    QCOMPARE(dialog->saveComboBox->itemText(4), QStringLiteral("Layout-5"));
    QCOMPARE(dialog->loadComboBox->itemText(4), QStringLiteral("Layout-5"));
    // The typed name waits for a save that reaches the device.
    QCOMPARE(dialog->nameEdit->text(), QStringLiteral("Never stored"));
    // The save at exit writes the old name.
    ConfigFile_SaveAll();
    const QList<QByteArray> lines = GuiTest::FileLines(ConfigFile_ActiveLanguagePath());
    QVERIFY(lines.contains("ScomboBox_Layout[4]=Layout-5"));
    QVERIFY(!lines.contains("ScomboBox_Layout[4]=Never stored"));
}

void TestSaveLoad::everySlotNumber_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("saveLine");
    QTest::addColumn<QString>("loadLine");

    for (int number = 1; number <= 20; ++number) {
        QTest::addRow("slot %d", number) << number - 1 << QStringLiteral("SET SAVE SCENE %1\r").arg(number)
                                         << QStringLiteral("SET LOAD SCENE %1\r").arg(number);
    }
}

void TestSaveLoad::everySlotNumber()
{
    QFETCH(int, slot);
    QFETCH(QString, saveLine);
    QFETCH(QString, loadLine);

    LinkMode = LinkModeTcp;
    Ui_SaveLoad *dialog = NewDialog();
    MessageBoxCatcher catcher(true);
    ChooseItem(dialog->saveComboBox, slot);
    ChooseItem(dialog->loadComboBox, slot);
    QCOMPARE(catcher.Texts(), (QStringList { "Save Confirm?", "Load Confirm?" }));
    QCOMPARE(QueuedLines(TcpLinkQueue()), (QStringList { saveLine, loadLine }));
}

void TestSaveLoad::namesReachLaterDialogsAndFile()
{
    LinkMode = LinkModeTcp;
    Ui_SaveLoad *first = NewDialog();
    GuiTest::TypeInto(first->nameEdit, QStringLiteral("Evening"));
    {
        MessageBoxCatcher catcher(true);
        ChooseItem(first->saveComboBox, 19);
    }
    QCOMPARE(ScomboBox_Layout[19], QStringLiteral("Evening"));

    // A dialog opened later in the run shows the name in both lists.
    Ui_SaveLoad *later = NewDialog();
    QCOMPARE(later->saveComboBox->itemText(19), QStringLiteral("Evening"));
    QCOMPARE(later->loadComboBox->itemText(19), QStringLiteral("Evening"));

    // Nothing is written at the rename; the normal save point writes the name, and the
    // next start reads it back into a new dialog.
    const QString languagePath = ConfigFile_ActiveLanguagePath();
    QVERIFY(!GuiTest::FileLines(languagePath).contains("ScomboBox_Layout[19]=Evening"));
    ConfigFile_SaveAll();
    QVERIFY(GuiTest::FileLines(languagePath).contains("ScomboBox_Layout[19]=Evening"));
    ScomboBox_Layout[19] = QStringLiteral("Layout-20");
    ConfigFile_LoadAll(true);
    Ui_SaveLoad *afterRestart = NewDialog();
    QCOMPARE(afterRestart->loadComboBox->itemText(19), QStringLiteral("Evening"));
}

void TestSaveLoad::matrixButtonOpensDialog_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("dialogs");

    QTest::newRow("no link chosen") << int(LinkModeNone) << 2 << 0;
    QTest::newRow("serial link, one click") << int(LinkModeSerial) << 1 << 1;
    QTest::newRow("TCP link, two clicks") << int(LinkModeTcp) << 2 << 2;
}

void TestSaveLoad::matrixButtonOpensDialog()
{
    QFETCH(int, linkMode);
    QFETCH(int, clicks);
    QFETCH(int, dialogs);

    SerialLinkQueue().activate();
    Ui_Matrix page;
    page.BuildGrid(4, 4);
    page.show();
    LinkMode = linkMode;
    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(page.saveLoadButton, Qt::LeftButton);

    const QList<Ui_SaveLoad *> open = OpenDialogs();
    QCOMPARE(open.size(), dialogs);
    if (dialogs == 0) {
        SerialLinkQueue().deactivate();
        return;
    }
    for (Ui_SaveLoad *dialog : open) {
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QVERIFY(!dialog->parentWidget());
        QVERIFY(dialog->testAttribute(Qt::WA_DeleteOnClose));
    }

    // A confirmed command from the dialog kicks the link through the page.
    LinkQueue &queue = linkMode == LinkModeSerial ? SerialLinkQueue() : TcpLinkQueue();
    QSignalSpy kicks(&page, &Ui_Matrix::SGL_UpdateEmit);
    {
        MessageBoxCatcher catcher(true);
        ChooseItem(open.first()->loadComboBox, 2);
    }
    QCOMPARE(QueuedLines(queue), QStringList { "SET LOAD SCENE 3\r" });
    QCOMPARE(kicks.count(), 1);

    // Closing deletes the dialog.
    QPointer<Ui_SaveLoad> closed = open.first();
    closed->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(closed.isNull());
    QCOMPARE(OpenDialogs().size(), dialogs - 1);
    SerialLinkQueue().deactivate();
}

void TestSaveLoad::savedSceneRestoredOnDevice()
{
    QVERIFY2(QFileInfo::exists(TestBinDir() + QStringLiteral("/tavilon-sim")), "tavilon-sim is not built");
    GuiTest::SimProcess sim;
    QVERIFY(sim.WaitUntilListening());

    m_main.reset(new Ui_Main());
    Ui_Main &mainWindow = *m_main;
    Ui_Uart_Network *connection = mainWindow.connectionPage;
    mainWindow.show();
    mainWindow.tabWidget->setCurrentWidget(connection);

    // Connect as the operator does and wait for the end of the synchronisation burst.
    GuiTest::TypeInto(connection->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(connection->portEdit, sim.tcpPort);
    connection->localIpComboBox->showPopup();
    connection->localIpComboBox->hidePopup();
    bool loopbackChosen = false;
    for (int i = 0; i < connection->localIpComboBox->count() && !loopbackChosen; ++i) {
        if (connection->localIpComboBox->itemText(i).startsWith(QLatin1String("127.0.0.1<"))) {
            connection->localIpComboBox->setCurrentIndex(i);
            loopbackChosen = true;
        }
    }
    QVERIFY(loopbackChosen);
    QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        connection->statusLog->toPlainText().contains(QLatin1String("->Sync Over!<-")), SyncTimeoutMs);
    QCOMPARE(LinkMode, int(LinkModeTcp));

    Ui_Matrix *matrix = mainWindow.matrixPage;
    mainWindow.tabWidget->setCurrentWidget(matrix);
    QCOMPARE(RoutesOfDevice(), (QVector<int> { 0, 1, 2, 3 }));
    QSignalSpy sent(&mainWindow, &Ui_Main::SGL_DEBUG_SHOW_SendText);

    // Input 4 to output 1, then store that as scene 3.
    QTest::mouseClick(CrossPoint(matrix, 3), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(RoutesOfDevice(), (QVector<int> { 3, 1, 2, 3 }), SyncTimeoutMs);
    QTest::mouseClick(matrix->saveLoadButton, Qt::LeftButton);
    QCOMPARE(OpenDialogs().size(), 1);
    Ui_SaveLoad *dialog = OpenDialogs().first();
    {
        MessageBoxCatcher catcher(true);
        ChooseItem(dialog->saveComboBox, 2);
    }
    QTRY_VERIFY_WITH_TIMEOUT(SentLines(sent).contains(QStringLiteral("SET SAVE SCENE 3\r")), SyncTimeoutMs);

    // Input 3 to output 2 changes the live state only.
    QTest::mouseClick(CrossPoint(matrix, 6), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(RoutesOfDevice(), (QVector<int> { 3, 2, 2, 3 }), SyncTimeoutMs);
    QCOMPARE(FlatColumns(matrix, 4, 4), (QVector<int> { 3, 2, 2, 3 }));

    // Loading scene 3 makes the device announce it; the re-read brings the page back.
    {
        MessageBoxCatcher catcher(true);
        ChooseItem(dialog->loadComboBox, 2);
    }
    QTRY_COMPARE_WITH_TIMEOUT(RoutesOfDevice(), (QVector<int> { 3, 1, 2, 3 }), SyncTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(FlatColumns(matrix, 4, 4), (QVector<int> { 3, 1, 2, 3 }), SyncTimeoutMs);
    const QStringList lines = SentLines(sent);
    const int loadAt = lines.indexOf(QStringLiteral("SET LOAD SCENE 3\r"));
    QVERIFY2(loadAt >= 0, qPrintable(lines.join(QLatin1Char('|'))));
    // The routes were read again after the load, not merely left over from before it.
    QTRY_VERIFY_WITH_TIMEOUT(
        SentLines(sent).mid(loadAt).contains(QStringLiteral("GET MATRIX-ROUTE\r")), SyncTimeoutMs);
}

QTEST_MAIN(TestSaveLoad)
#include "tst_saveload.moc"
