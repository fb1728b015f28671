// The TV wall page and its wall display grid, driven with mouse events on the grid's viewport
// and the actions of its context menu: the band, splicing and its refusals, cancel, single
// exit, input and output select, bezels, the wall size lists, Write, the lines each action
// queues, and a wall that goes through the device simulator and reads back after a reconnect.
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "core/support_recordingpages.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "pages/MyTableWidget.h"
#include "pages/Ui_TVWall.h"
#include "pages/WallCellDelegate.h"
#include "protocol/DeviceState.h"
#include "protocol/ReplyParser.h"
#include "protocol/ValueWords.h"
#include "protocol/WallEditor.h"
#include "settings/LanguageTexts.h"
#include "shell/MyComboBox.h"
#include "sim/SimDevice.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

using Lines = QStringList;

Lines TakeQueuedLines()
{
    LinkQueue &queue = TcpLinkQueue();
    QMutexLocker lock(&queue.sendMutex);
    Lines lines;
    for (const QueuedLine &line : qAsConst(queue.sendQueue))
        lines << QString::fromLatin1(line.bytes).trimmed();
    queue.sendQueue.clear();
    return lines;
}

void SendMouse(QWidget *viewport, QEvent::Type type, Qt::MouseButton button, const QPoint &pos)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, pos, viewport->mapToGlobal(pos), type == QEvent::MouseMove ? Qt::NoButton : button,
        held, Qt::NoModifier);
    QApplication::sendEvent(viewport, &event);
}

void Drag(MyTableWidget *grid, const QPoint &from, const QPoint &to)
{
    QWidget *viewport = grid->viewport();
    SendMouse(viewport, QEvent::MouseButtonPress, Qt::LeftButton, from);
    SendMouse(viewport, QEvent::MouseMove, Qt::LeftButton, (from + to) / 2);
    SendMouse(viewport, QEvent::MouseMove, Qt::LeftButton, to);
    SendMouse(viewport, QEvent::MouseButtonRelease, Qt::LeftButton, to);
}

// A right press on a cell: selects it and builds its menu.
QMenu *RightPress(MyTableWidget *grid, const QPoint &pos)
{
    SendMouse(grid->viewport(), QEvent::MouseButtonPress, Qt::RightButton, pos);
    SendMouse(grid->viewport(), QEvent::MouseButtonRelease, Qt::RightButton, pos);
    return grid->contextMenu();
}

QPoint CellCentre(const MyTableWidget *grid, quint32 cell)
{
    const quint32 cols = grid->editor().cols();
    const int w = grid->cellWidth();
    const int h = grid->cellHeight();
    return QPoint(int(cell % cols) * w + w / 2, int(cell / cols) * h + h / 2);
}

QAction *Entry(QMenu *menu, const QString &name)
{
    return menu ? menu->findChild<QAction *>(name) : nullptr;
}

QMenu *Submenu(QMenu *menu, const QString &name)
{
    return menu ? menu->findChild<QMenu *>(name) : nullptr;
}

// Drags over the block of cells and splices it from the menu of its top-left cell.
void SpliceBlock(MyTableWidget *grid, quint32 topLeft, quint32 bottomRight)
{
    Drag(grid, CellCentre(grid, topLeft), CellCentre(grid, bottomRight));
    Entry(RightPress(grid, CellCentre(grid, topLeft)), QStringLiteral("TvWallMenu-ScreenSplicing"))->trigger();
}

// The operator's choice in the size lists.
void ChooseSize(Ui_TVWall *page, int rows, int cols)
{
    page->rowComboBox->setCurrentIndex(rows - 1);
    emit page->rowComboBox->activated(rows - 1);
    page->columnComboBox->setCurrentIndex(cols - 1);
    emit page->columnComboBox->activated(cols - 1);
}

// The reply path of the main window, reduced to what the TV wall page gets.
class WallPages : public RecordingPages
{
public:
    explicit WallPages(Ui_TVWall *page)
        : m_page(page)
    { }
    void tvWallSelectRowsCols(quint32 rows, quint32 cols) override { m_page->SelectRowsCols(rows, cols); }
    void tvWallContentUpdated() override { emit m_page->SGL_UpdateContent_TvWall(); }

private:
    Ui_TVWall *m_page;
};

// Hands every queued line to the simulated device and its answers to the parser.
void RunThroughDevice(SimDevice &device, ReplyPages &pages, Lines *sent = nullptr)
{
    for (const QString &line : TakeQueuedLines()) {
        if (sent)
            *sent << line;
        for (const QByteArray &reply : device.handleRequest(line.toLatin1()).requesterLines())
            ParseReplyLine(pages, QString::fromLatin1(reply) + QLatin1Char('\r'));
    }
}

} // namespace

class TestTvWall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void bandDecidesSplicing_data();
    void bandDecidesSplicing();
    void splicingTwoByTwoOfTwoByThree();
    void splicingRefusesNonSingleOutput_data();
    void splicingRefusesNonSingleOutput();
    void splicingOverAGroupChangesNothing_data();
    void splicingOverAGroupChangesNothing();
    void hiddenBandSelectsNothing_data();
    void hiddenBandSelectsNothing();
    void outputSelectReachesDeviceAndCaptions_data();
    void outputSelectReachesDeviceAndCaptions();
    void writeOnSplicedWallShowsTheNewSize();
    void writeWithoutLinkChangesNothing();
    void sizeListsKeepWhatFits_data();
    void sizeListsKeepWhatFits();
    void screenPutBackTakesGroupEdges();
    void wallInFlightGivesWayToTheDevice_data();
    void wallInFlightGivesWayToTheDevice();
    void freeScreenMenu();
    void splicedScreenMenuAndToolTip();
    void singleExitAndBack();
    void inputSelect_data();
    void inputSelect();
    void cancelSplicing();
    void bezelOverTheWholeBlock();
    void outputSelectSwaps_data();
    void outputSelectSwaps();
    void multiviewFromTheMenu();
    void wallSizeLists_data();
    void wallSizeLists();
    void writeSendsTheNewWall_data();
    void writeSendsTheNewWall();
    void sizeWithTheOutputsOfItsCells_data();
    void sizeWithTheOutputsOfItsCells();
    void settingColours_data();
    void settingColours();
    void wallSurvivesReconnect();
    void gridGrowsWithThePage();
    void retranslateKeepsTheDeviceWallSize_data();
    void retranslateKeepsTheDeviceWallSize();
    void nothingBeforeTheModelIsConfirmed();

private:
    MyTableWidget *NewGrid(quint32 rows, quint32 cols, QSize viewport = QSize(1920, 1080));
    Ui_TVWall *NewPage();
    void Confirm(quint32 inputs, quint32 outputs);

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<MyTableWidget> m_grid;
    QScopedPointer<Ui_TVWall> m_page;
};

void TestTvWall::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestTvWall::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    DeviceState_ResetWall();
    LinkMode = LinkModeTcp;
    TcpLinkQueue().activate();
}

void TestTvWall::cleanup()
{
    m_grid.reset();
    m_page.reset();
    TakeQueuedLines();
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

void TestTvWall::Confirm(quint32 inputs, quint32 outputs)
{
    DeviceState_ConfirmModel();
    DeviceState.inputCount = inputs;
    DeviceState.outputCount = outputs;
}

MyTableWidget *TestTvWall::NewGrid(quint32 rows, quint32 cols, QSize viewport)
{
    Confirm(4, qMax(4u, rows * cols));
    m_grid.reset(new MyTableWidget());
    m_grid->resize(viewport);
    m_grid->show();
    m_grid->Rebuild(rows, cols, false);
    TakeQueuedLines();
    return m_grid.data();
}

Ui_TVWall *TestTvWall::NewPage()
{
    Confirm(4, 4);
    m_page.reset(new Ui_TVWall());
    m_page->resize(1200, 800);
    m_page->show();
    m_page->Fill();
    return m_page.data();
}

void TestTvWall::bandDecidesSplicing_data()
{
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<bool>("drawn");
    QTest::addColumn<QRect>("cells"); // left, top, right, bottom as x, y, width - 1, height - 1
    QTest::addColumn<bool>("splicingEnabled");

    QTest::newRow("plain click") << QPoint(100, 100) << QPoint(100, 100) << false << QRect(0, 0, 1, 1) << false;
    QTest::newRow("3 pixels high over a row") << QPoint(10, 10) << QPoint(1900, 13) << false
                                              << QRect(0, 0, 3, 1) << true;
    QTest::newRow("4 pixels wide down a column") << QPoint(10, 10) << QPoint(14, 1000) << false
                                                 << QRect(0, 0, 1, 2) << true;
    QTest::newRow("5 by 5 inside one cell") << QPoint(10, 10) << QPoint(15, 15) << true << QRect(0, 0, 1, 1)
                                           << false;
    QTest::newRow("up and left over four cells") << QPoint(1000, 800) << QPoint(100, 100) << true
                                                 << QRect(0, 0, 2, 2) << true;
    QTest::newRow("beyond the viewport is clamped") << QPoint(1300, 600) << QPoint(5000, 5000) << true
                                                    << QRect(2, 1, 1, 1) << false;
}

void TestTvWall::bandDecidesSplicing()
{
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(bool, drawn);
    QFETCH(QRect, cells);
    QFETCH(bool, splicingEnabled);
    MyTableWidget *grid = NewGrid(2, 3);
    Drag(grid, from, to);
    QCOMPARE(grid->bandDrawn(), drawn);
    const WallBlock block = grid->bandCells();
    QCOMPARE(QRect(QPoint(int(block.left), int(block.top)), QPoint(int(block.right), int(block.bottom))), cells);
    QMenu *menu = RightPress(grid, from);
    QCOMPARE(Entry(menu, QStringLiteral("TvWallMenu-ScreenSplicing"))->isEnabled(), splicingEnabled);
}

void TestTvWall::splicingTwoByTwoOfTwoByThree()
{
    MyTableWidget *grid = NewGrid(2, 3);
    QSignalSpy kicks(grid, &MyTableWidget::SGL_UpdateEmit);
    SpliceBlock(grid, 0, 4);
    QCOMPARE(grid->spliceFrames(), QVector<QRect>({ QRect(3, 3, 1274, 1074) }));
    QCOMPARE(TakeQueuedLines(),
        Lines({ "SET IN1 VIDEO OUT1,2,4,5", "SET OUT1 WALLPORT 2 2 1 1 0 0 0 0 0", "SET OUT2 WALLPORT 2 2 1 2 0 0 0 0 0",
            "SET OUT4 WALLPORT 2 2 2 1 0 0 0 0 0", "SET OUT5 WALLPORT 2 2 2 2 0 0 0 0 0",
            "SET TVWALL-INFO 6 2 3 1 0 0 0 0 0 0 0 1 0 1 0 0 0 0 0 0 0 2 0 0 0 0 0 1 0 3 0 0 0 0 0 1 0 4 0 0 0 0 0 0 0 5 "
            "0 0 0 0 0" }));
    QCOMPARE(kicks.count(), 6);
    for (int cell = 0; cell < 6; ++cell) {
        const bool spliced = cell != 2 && cell != 5;
        const QTableWidgetItem *item = grid->item(cell / 3, cell % 3);
        QCOMPARE(item->background().color(), spliced ? QColor(0, 255, 0) : QColor(128, 128, 128));
        QCOMPARE(bool(item->flags() & Qt::ItemIsSelectable), !spliced);
    }
}

void TestTvWall::splicingRefusesNonSingleOutput_data()
{
    QTest::addColumn<int>("output");
    QTest::addColumn<quint32>("mode");
    QTest::addColumn<QString>("message");
    QTest::newRow("PIP on the last screen") << 3 << 1u << "Port-4 -> The port is not single!";
    QTest::newRow("4xWIN on the first") << 0 << 4u << "Port-1 -> The port is not single!";
}

void TestTvWall::splicingRefusesNonSingleOutput()
{
    QFETCH(int, output);
    QFETCH(quint32, mode);
    QFETCH(QString, message);
    MyTableWidget *grid = NewGrid(2, 2);
    MultiviewOf(quint32(output)).mode = mode;
    MessageBoxCatcher catcher;
    SpliceBlock(grid, 0, 3);
    QCOMPARE(catcher.Texts(), QStringList { message });
    QCOMPARE(catcher.Boxes().value(0).parent, grid);
    QVERIFY(TakeQueuedLines().isEmpty());
    QVERIFY(grid->spliceFrames().isEmpty());
    QVERIFY(!WallSlot(0).spliced);
}

void TestTvWall::splicingOverAGroupChangesNothing_data()
{
    QTest::addColumn<quint32>("from");
    QTest::addColumn<quint32>("to");
    QTest::newRow("from a free screen into the group") << 2u << 1u;
    QTest::newRow("over the whole group and beyond") << 0u << 2u;
    QTest::newRow("from a screen taken out of the group") << 1u << 3u;
}

// The operator is told why, and the band stays for another try.
void TestTvWall::splicingOverAGroupChangesNothing()
{
    QFETCH(quint32, from);
    QFETCH(quint32, to);
    MyTableWidget *grid = NewGrid(1, 4, QSize(1600, 400));
    SpliceBlock(grid, 0, 1);
    Entry(RightPress(grid, CellCentre(grid, 1)), QStringLiteral("TvWallMenu-SingleCancelSplicing"))->trigger();
    TakeQueuedLines();
    MessageBoxCatcher catcher;
    Drag(grid, CellCentre(grid, from), CellCentre(grid, to));
    const WallBlock band = grid->bandCells();
    Entry(RightPress(grid, CellCentre(grid, 3)), QStringLiteral("TvWallMenu-ScreenSplicing"))->trigger();
    QCOMPARE(catcher.Texts(), QStringList { SMSG_WallSpliceIntoGroup });
    QCOMPARE(catcher.Boxes().value(0).parent, grid);
    QVERIFY(TakeQueuedLines().isEmpty());
    QCOMPARE(grid->spliceFrames().size(), 1);
    QVERIFY(!grid->editor().screenOfCell(2).spliced);
    QVERIFY(!grid->bandHidden());
    QCOMPARE(grid->bandCells(), band);
    QVERIFY(Entry(RightPress(grid, CellCentre(grid, 3)), QStringLiteral("TvWallMenu-ScreenSplicing"))->isEnabled());
}

void TestTvWall::hiddenBandSelectsNothing_data()
{
    QTest::addColumn<bool>("resize");
    QTest::newRow("after a splice and its cancel") << false;
    QTest::newRow("after a new wall size") << true;
}

// A band no longer on screen selects nothing: the menu entry is off and a splice sends nothing.
void TestTvWall::hiddenBandSelectsNothing()
{
    QFETCH(bool, resize);
    Ui_TVWall *page = NewPage();
    page->SelectRowsCols(2, 2);
    page->SLT_SetTvWallInfo(false);
    MyTableWidget *grid = page->grid;
    if (resize) {
        Drag(grid, CellCentre(grid, 1), CellCentre(grid, 3));
        ChooseSize(page, 1, 4);
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QCOMPARE(grid->columnCount(), 4);
    } else {
        SpliceBlock(grid, 1, 3);
        Entry(RightPress(grid, CellCentre(grid, 1)), QStringLiteral("TvWallMenu-CancelSplicing"))->trigger();
    }
    TakeQueuedLines();
    QVERIFY(!grid->bandDrawn());
    QVERIFY(!grid->bandCells().coversMoreThanOneCell());
    QVERIFY(!Entry(RightPress(grid, CellCentre(grid, 2)), QStringLiteral("TvWallMenu-ScreenSplicing"))->isEnabled());
    MessageBoxCatcher catcher;
    grid->SLT_ScreenSplicing(false);
    QCOMPARE(catcher.Texts(), QStringList { SMSG_WallSpliceNothing });
    QVERIFY(TakeQueuedLines().isEmpty());
    QVERIFY(grid->editor().groups().isEmpty());
}

void TestTvWall::freeScreenMenu()
{
    MyTableWidget *grid = NewGrid(2, 2);
    MultiviewOf(2).mode = 2;
    QMenu *menu = RightPress(grid, CellCentre(grid, 2));
    QMenu *inputs = Submenu(menu, QStringLiteral("TvWallMenu-InputSelect"));
    QVERIFY(!inputs->isEnabled());
    QVERIFY(inputs->actions().isEmpty());
    QMenu *modes = Submenu(menu, QStringLiteral("TvWallMenu-Multiview"));
    QVERIFY(modes->isEnabled());
    QCOMPARE(modes->actions().size(), 5);
    QVERIFY(Entry(modes, QStringLiteral("PBP"))->isChecked());
    QVERIFY(!Entry(modes, QStringLiteral("SINGLE"))->isChecked());
    QVERIFY(!Entry(menu, QStringLiteral("TvWallMenu-SyncLock"))->isEnabled());
    QVERIFY(!Entry(menu, QStringLiteral("TvWallMenu-CancelSplicing"))->isEnabled());
    QAction *single = Entry(menu, QStringLiteral("TvWallMenu-SingleCancelSplicing"));
    QCOMPARE(single->text(), QStringLiteral("3 - Cancel Splicing"));
    QVERIFY(!single->isEnabled());
    QMenu *outputs = Submenu(menu, QStringLiteral("TvWallMenu-OutputSelect"));
    QCOMPARE(outputs->actions().size(), 4);
    QVERIFY(Entry(outputs, QStringLiteral("Output-3"))->isChecked());
    QVERIFY(Entry(outputs, QStringLiteral("Output-1"))->isEnabled());
    QCOMPARE(grid->selectedSplice(), -1);
}

void TestTvWall::splicedScreenMenuAndToolTip()
{
    MyTableWidget *grid = NewGrid(2, 2);
    WallSlot(1).inputIndex = 2;
    SpliceBlock(grid, 0, 1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 0));
    grid->SLT_SetTvWall_Bezel(0, 7, 0, 0);
    QMenu *menu = RightPress(grid, CellCentre(grid, 1));
    QAction *splicing = Entry(menu, QStringLiteral("TvWallMenu-ScreenSplicing"));
    QVERIFY(splicing->isChecked());
    QVERIFY(!splicing->isEnabled());
    QVERIFY(Entry(menu, QStringLiteral("TvWallMenu-CancelSplicing"))->isEnabled());
    QMenu *inputs = Submenu(menu, QStringLiteral("TvWallMenu-InputSelect"));
    QCOMPARE(inputs->actions().size(), 4);
    // The group took the input of its top-left screen.
    QVERIFY(Entry(inputs, QStringLiteral("Input-1"))->isChecked());
    QMenu *modes = Submenu(menu, QStringLiteral("TvWallMenu-Multiview"));
    QVERIFY(!modes->isEnabled());
    QVERIFY(modes->actions().isEmpty());
    QVERIFY(!Entry(Submenu(menu, QStringLiteral("TvWallMenu-OutputSelect")), QStringLiteral("Output-4"))->isEnabled());
    QCOMPARE(grid->selectedSplice(), 0);
    QCOMPARE(grid->lastToolTip(),
        QStringLiteral("2: \r\nScreen Splicing -> Yes \r\nInput Select -> 1 \r\nOutput Select -> 2 \r\n"
                       "Multiview -> SINGLE \r\n\r\nLeft Edge -> 0 Pixel \r\nRight Edge -> 7 Pixel \r\n"
                       "Up Edge -> 0 Pixel \r\nBottom Edge -> 0 Pixel"));
}

void TestTvWall::singleExitAndBack()
{
    MyTableWidget *grid = NewGrid(2, 2);
    SpliceBlock(grid, 0, 3);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 0));
    grid->SLT_SetTvWall_Bezel(5, 0, 0, 0);
    TakeQueuedLines();
    Entry(RightPress(grid, CellCentre(grid, 1)), QStringLiteral("TvWallMenu-SingleCancelSplicing"))->trigger();
    QCOMPARE(grid->exitFrames(), QVector<QRect>({ QRect(969, 9, 942, 522) }));
    QCOMPARE(grid->selectedExit(), 0);
    QCOMPARE(grid->item(0, 1)->background().color(), QColor(128, 128, 128));
    QVERIFY(grid->item(0, 1)->flags() & Qt::ItemIsSelectable);
    // No WALLPORT for a screen taken out; its edges travel as 0.
    QCOMPARE(TakeQueuedLines(),
        Lines({ "SET TVWALL-INFO 4 2 2 1 0 0 5 0 0 0 0 5 0 1 0 0 0 0 0 1 0 2 5 0 0 0 0 1 0 3 5 0 0 0 0" }));
    QMenu *menu = RightPress(grid, CellCentre(grid, 1));
    QVERIFY(Entry(menu, QStringLiteral("TvWallMenu-SingleCancelSplicing"))->isChecked());
    Entry(menu, QStringLiteral("TvWallMenu-SingleCancelSplicing"))->trigger();
    QVERIFY(grid->exitFrames().isEmpty());
    QCOMPARE(grid->item(0, 1)->background().color(), QColor(0, 255, 0));
    QCOMPARE(grid->item(0, 1)->foreground().color(), QColor(255, 255, 0));
    QVERIFY(!(grid->item(0, 1)->flags() & Qt::ItemIsSelectable));
    QCOMPARE(TakeQueuedLines(),
        Lines({ "SET OUT2 WALLPORT 2 2 1 2 5 0 0 0 0",
            "SET TVWALL-INFO 4 2 2 1 0 0 5 0 0 0 0 1 0 1 5 0 0 0 0 1 0 2 5 0 0 0 0 1 0 3 5 0 0 0 0" }));
}

void TestTvWall::inputSelect_data()
{
    QTest::addColumn<quint32>("cell");
    QTest::addColumn<QString>("line");
    QTest::newRow("the screen taken out") << 1u << "SET IN3 VIDEO OUT2";
    QTest::newRow("another screen of the group") << 0u << "SET IN3 VIDEO OUT1,3,4";
}

void TestTvWall::inputSelect()
{
    QFETCH(quint32, cell);
    QFETCH(QString, line);
    MyTableWidget *grid = NewGrid(2, 2);
    SpliceBlock(grid, 0, 3);
    Entry(RightPress(grid, CellCentre(grid, 1)), QStringLiteral("TvWallMenu-SingleCancelSplicing"))->trigger();
    TakeQueuedLines();
    QMenu *menu = RightPress(grid, CellCentre(grid, cell));
    Entry(Submenu(menu, QStringLiteral("TvWallMenu-InputSelect")), QStringLiteral("Input-3"))->trigger();
    QCOMPARE(TakeQueuedLines(), Lines { line });
    // The wall being written carries the input; the device's wall gets it from the route reply.
    QCOMPARE(grid->editor().screenOfCell(cell).inputIndex, 2u);
    QCOMPARE(grid->editor().screenOfCell(cell == 1 ? 0 : 1).inputIndex, 0u);
    QCOMPARE(WallSlot(cell).inputIndex, 0u);
}

void TestTvWall::cancelSplicing()
{
    MyTableWidget *grid = NewGrid(1, 4, QSize(1600, 400));
    SpliceBlock(grid, 0, 1);
    SpliceBlock(grid, 2, 3);
    Entry(RightPress(grid, CellCentre(grid, 3)), QStringLiteral("TvWallMenu-SingleCancelSplicing"))->trigger();
    TakeQueuedLines();
    QSignalSpy bezel(grid, &MyTableWidget::SGL_EnableBezel);
    Entry(RightPress(grid, CellCentre(grid, 2)), QStringLiteral("TvWallMenu-CancelSplicing"))->trigger();
    QCOMPARE(TakeQueuedLines(),
        Lines({ "SET OUT3 WALLPORT 0 0 0 0 0 0 0 0 0", "SET OUT4 WALLPORT 0 0 0 0 0 0 0 0 0",
            "SET TVWALL-INFO 4 1 4 1 0 0 0 0 0 0 0 1 0 1 0 0 0 0 0 0 0 2 0 0 0 0 0 0 0 3 0 0 0 0 0" }));
    QCOMPARE(grid->spliceFrames().size(), 1);
    QVERIFY(grid->exitFrames().isEmpty());
    QCOMPARE(grid->selectedSplice(), -1);
    QCOMPARE(bezel.last().first().toBool(), false);
    QCOMPARE(grid->item(0, 3)->background().color(), QColor(128, 128, 128));
}

void TestTvWall::bezelOverTheWholeBlock()
{
    Ui_TVWall *page = NewPage();
    page->SelectRowsCols(2, 2);
    page->SLT_SetTvWallInfo(false);
    MyTableWidget *grid = page->grid;
    SpliceBlock(grid, 0, 3);
    Entry(RightPress(grid, CellCentre(grid, 3)), QStringLiteral("TvWallMenu-SingleCancelSplicing"))->trigger();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 0));
    QVERIFY(page->edgeEdits[0]->isEnabled());
    QVERIFY(page->bezelWriteButton->isEnabled());
    TakeQueuedLines();
    const char *texts[] = { "12", "300", "", "7x" };
    for (int k = 0; k < 4; ++k)
        QTest::keyClicks(page->edgeEdits[k], QString::fromLatin1(texts[k]));
    QCOMPARE(page->edgeEdits[3]->text(), QStringLiteral("7"));
    QCOMPARE(page->edgeEdits[1]->text(), QStringLiteral("300"));
    QTest::mouseClick(page->bezelWriteButton, Qt::LeftButton);
    QCOMPARE(page->edgeEdits[1]->text(), QStringLiteral("255"));
    QCOMPARE(TakeQueuedLines(),
        Lines({ "SET OUT1 WALLPORT 2 2 1 1 12 255 0 7 0", "SET OUT2 WALLPORT 2 2 1 2 12 255 0 7 0",
            "SET OUT3 WALLPORT 2 2 2 1 12 255 0 7 0",
            "SET TVWALL-INFO 4 2 2 1 0 0 12 255 0 7 0 1 0 1 12 255 0 7 0 1 0 2 12 255 0 7 0 5 0 3 0 0 0 0 0" }));
    // The block counts the screen taken out too; the device hears its edges as 0.
    QCOMPARE(grid->editor().screenOfCell(3).edgeRight, 255u);
    // A free screen's click disables the bezel controls again.
    page->SLT_SetTvWallInfo(false);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 0));
    QVERIFY(!page->edgeEdits[0]->isEnabled());
}

void TestTvWall::outputSelectSwaps_data()
{
    QTest::addColumn<quint32>("cell");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<Lines>("lines");
    QTest::newRow("output of another cell swaps")
        << 0u << "Output-3" << Lines { "SET TVWALL-INFO 4 2 2 0 0 2 0 0 0 0 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 3 0 0 0 0 0" };
    QTest::newRow("its own output changes nothing") << 1u << "Output-2" << Lines {};
    QTest::newRow("last cell takes the first output")
        << 3u << "Output-1" << Lines { "SET TVWALL-INFO 4 2 2 0 0 3 0 0 0 0 0 0 0 1 0 0 0 0 0 0 0 2 0 0 0 0 0 0 0 0 0 0 0 0 0" };
}

// The swap goes to the device at once; the cells show it once the device has confirmed it.
void TestTvWall::outputSelectSwaps()
{
    QFETCH(quint32, cell);
    QFETCH(QString, entry);
    QFETCH(Lines, lines);
    MyTableWidget *grid = NewGrid(2, 2);
    // The device has the 2 x 2 wall just written.
    DeviceState.wall.rows = DeviceState.wall.cols = 2;
    DeviceState.wall.total = 4;
    grid->SLT_UpdateContent_TvWall();
    Entry(Submenu(RightPress(grid, CellCentre(grid, cell)), QStringLiteral("TvWallMenu-OutputSelect")), entry)
        ->trigger();
    QCOMPARE(TakeQueuedLines(), lines);
    for (quint32 c = 0; c < 4; ++c)
        QCOMPARE(grid->editor().outputOfCell(c), c);
}

void TestTvWall::outputSelectReachesDeviceAndCaptions_data()
{
    QTest::addColumn<quint32>("cell");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("first cell takes output 3")
        << 0u << "Output-3" << QStringList { "Output3", "Output2", "Output1", "Output4" };
    QTest::newRow("last cell takes output 2")
        << 3u << "Output-2" << QStringList { "Output1", "Output4", "Output3", "Output2" };
}

// The swap is sent at once; the captions change when the device has confirmed it.
void TestTvWall::outputSelectReachesDeviceAndCaptions()
{
    QFETCH(quint32, cell);
    QFETCH(QString, entry);
    QFETCH(QStringList, captions);
    SimDevice device({ ExpectedModel, {} });
    Ui_TVWall *page = NewPage();
    WallPages pages(page);
    page->ReadWall();
    RunThroughDevice(device, pages);
    MyTableWidget *grid = page->grid;
    const auto shownCaptions = [grid] {
        QStringList texts;
        for (int c = 0; c < 4; ++c)
            texts << grid->item(c / 2, c % 2)->data(WallCellDelegate::CaptionRole).toString();
        return texts;
    };
    const QStringList before = shownCaptions();
    Entry(Submenu(RightPress(grid, CellCentre(grid, cell)), QStringLiteral("TvWallMenu-OutputSelect")), entry)
        ->trigger();
    QCOMPARE(shownCaptions(), before);
    RunThroughDevice(device, pages);
    QCOMPARE(shownCaptions(), captions);
    QCOMPARE(device.state().live.wall.cellOutput.at(int(cell)) + 1, entry.mid(7).toUInt());
}

// The cancel line's echo carries the old size; the lists and the grid keep the size being
// written until the device has confirmed the last line.
void TestTvWall::writeOnSplicedWallShowsTheNewSize()
{
    SimDevice device({ ExpectedModel, {} });
    Ui_TVWall *page = NewPage();
    WallPages pages(page);
    page->ReadWall();
    RunThroughDevice(device, pages);
    SpliceBlock(page->grid, 0, 1);
    RunThroughDevice(device, pages);
    page->SelectRowsCols(1, 3);
    QTest::mouseClick(page->writeButton, Qt::LeftButton);
    const Lines lines = TakeQueuedLines();
    QCOMPARE(lines.size(), 6);
    for (const QString &line : lines) {
        for (const QByteArray &reply : device.handleRequest(line.toLatin1()).requesterLines())
            ParseReplyLine(pages, QString::fromLatin1(reply) + QLatin1Char('\r'));
        QCOMPARE(page->rowComboBox->currentText(), QStringLiteral("1"));
        QCOMPARE(page->columnComboBox->currentText(), QStringLiteral("3"));
        QCOMPARE(page->grid->rowCount(), 1);
        QCOMPARE(page->grid->columnCount(), 3);
    }
    QCOMPARE(DeviceState.wall.cols, 3u);
    QVERIFY(!page->grid->editor().inFlight());
    QVERIFY(page->grid->spliceFrames().isEmpty());
}

void TestTvWall::writeWithoutLinkChangesNothing()
{
    SimDevice device({ ExpectedModel, {} });
    Ui_TVWall *page = NewPage();
    WallPages pages(page);
    page->ReadWall();
    RunThroughDevice(device, pages);
    SpliceBlock(page->grid, 0, 1);
    RunThroughDevice(device, pages);
    LinkMode = LinkModeNone;
    page->SelectRowsCols(1, 4);
    MessageBoxCatcher catcher;
    QTest::mouseClick(page->writeButton, Qt::LeftButton);
    QCOMPARE(catcher.Texts(), QStringList { SMSG_WallNotConnected });
    QCOMPARE(catcher.Boxes().value(0).parent, page);
    QVERIFY(TakeQueuedLines().isEmpty());
    QCOMPARE(page->grid->rowCount(), 2);
    QCOMPARE(page->grid->spliceFrames().size(), 1);
    QVERIFY(WallSlot(0).spliced);
}

void TestTvWall::sizeListsKeepWhatFits_data()
{
    QTest::addColumn<quint32>("outputs");
    QTest::addColumn<QSize>("start"); // columns x rows
    QTest::addColumn<bool>("rowList");
    QTest::addColumn<int>("value");
    QTest::addColumn<QSize>("shown");
    QTest::addColumn<int>("greyColumns");
    QTest::newRow("1 x 4, four rows: the columns give way") << 4u << QSize(4, 1) << true << 4 << QSize(1, 4) << 3;
    QTest::newRow("2 x 2, one row: the columns stay") << 4u << QSize(2, 2) << true << 1 << QSize(2, 1) << 0;
    QTest::newRow("2 x 1, three columns: the rows give way") << 4u << QSize(1, 2) << false << 3 << QSize(3, 1) << 0;
    QTest::newRow("4 x 4 of 16, five rows: three columns fit") << 16u << QSize(4, 4) << true << 5 << QSize(3, 5)
                                                               << 13;
}

void TestTvWall::sizeListsKeepWhatFits()
{
    QFETCH(quint32, outputs);
    QFETCH(QSize, start);
    QFETCH(bool, rowList);
    QFETCH(int, value);
    QFETCH(QSize, shown);
    QFETCH(int, greyColumns);
    Ui_TVWall *page = NewPage();
    DeviceState.outputCount = outputs;
    page->Fill();
    page->SelectRowsCols(quint32(start.height()), quint32(start.width()));
    MyComboBox *list = rowList ? page->rowComboBox : page->columnComboBox;
    list->setCurrentIndex(value - 1);
    emit list->activated(value - 1);
    QCOMPARE(page->rowComboBox->currentText().toInt(), shown.height());
    QCOMPARE(page->columnComboBox->currentText().toInt(), shown.width());
    QCOMPARE(page->availableComboBox->currentText().toInt(), shown.width() * shown.height());
    int grey = 0;
    for (int k = 0; k < page->columnComboBox->count(); ++k)
        grey += page->columnComboBox->itemData(k, Qt::ForegroundRole).isValid() ? 1 : 0;
    QCOMPARE(grey, greyColumns);
}

// The device sends a screen taken out with edges 0; back in its group it has the group's.
void TestTvWall::screenPutBackTakesGroupEdges()
{
    SimDevice device({ ExpectedModel, {} });
    Ui_TVWall *page = NewPage();
    WallPages pages(page);
    page->ReadWall();
    RunThroughDevice(device, pages);
    MyTableWidget *grid = page->grid;
    SpliceBlock(grid, 0, 3);
    RunThroughDevice(device, pages);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 0));
    grid->SLT_SetTvWall_Bezel(10, 20, 30, 40);
    RunThroughDevice(device, pages);
    Lines sent;
    for (int time = 0; time < 2; ++time) {
        Entry(RightPress(grid, CellCentre(grid, 1)), QStringLiteral("TvWallMenu-SingleCancelSplicing"))->trigger();
        sent.clear();
        RunThroughDevice(device, pages, &sent);
    }
    QCOMPARE(sent.value(0), QStringLiteral("SET OUT2 WALLPORT 2 2 1 2 10 20 30 40 0"));
    QVERIFY(!WallSlot(1).singleExit);
    QCOMPARE(QVector<quint32>({ WallSlot(1).edgeLeft, WallSlot(1).edgeRight, WallSlot(1).edgeUp,
                 WallSlot(1).edgeBottom }),
        QVector<quint32>({ 10, 20, 30, 40 }));
}

void TestTvWall::wallInFlightGivesWayToTheDevice_data()
{
    QTest::addColumn<bool>("linkLost");
    QTest::newRow("the link is lost") << true;
    QTest::newRow("no reply comes") << false;
}

// A wall being written that the device never confirms is not shown for long.
void TestTvWall::wallInFlightGivesWayToTheDevice()
{
    QFETCH(bool, linkLost);
    SimDevice device({ ExpectedModel, {} });
    Ui_TVWall *page = NewPage();
    WallPages pages(page);
    page->ReadWall();
    RunThroughDevice(device, pages);
    page->SelectRowsCols(1, 4);
    QTest::mouseClick(page->writeButton, Qt::LeftButton);
    TakeQueuedLines();
    QCOMPARE(page->grid->rowCount(), 1);
    if (linkLost) {
        page->SLT_LinkLost();
        QCOMPARE(page->grid->rowCount(), 2);
    }
    QTRY_COMPARE_WITH_TIMEOUT(page->grid->rowCount(), 2, 5000);
    QCOMPARE(page->columnComboBox->currentText(), QStringLiteral("2"));
    QVERIFY(!page->grid->editor().inFlight());
}

void TestTvWall::multiviewFromTheMenu()
{
    MyTableWidget *grid = NewGrid(2, 2);
    Entry(Submenu(RightPress(grid, CellCentre(grid, 3)), QStringLiteral("TvWallMenu-Multiview")),
        QStringLiteral("3xWIN"))
        ->trigger();
    QCOMPARE(TakeQueuedLines(), Lines { "SET OUT4 MULTIVIEW 3xWIN" });
    // Stored by the mode reply only.
    QCOMPARE(MultiviewOf(3).mode, 0u);
}

void TestTvWall::wallSizeLists_data()
{
    QTest::addColumn<quint32>("outputs");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QString>("available");
    QTest::addColumn<QString>("rowShown");
    QTest::addColumn<int>("rowCount");
    QTest::newRow("2 x 2 of 4") << 4u << 2 << 2 << "4" << "2" << 4;
    QTest::newRow("3 x 2 of 4: rows give way to the columns chosen") << 4u << 3 << 2 << "4" << "2" << 4;
    QTest::newRow("4 x 1 of 4") << 4u << 4 << 1 << "4" << "4" << 4;
    QTest::newRow("20 outputs stop at 16 rows") << 20u << 4 << 5 << "20" << "4" << 16;
}

void TestTvWall::wallSizeLists()
{
    QFETCH(quint32, outputs);
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(QString, available);
    QFETCH(QString, rowShown);
    QFETCH(int, rowCount);
    Ui_TVWall *page = NewPage();
    DeviceState.outputCount = outputs;
    page->Fill();
    QCOMPARE(page->rowComboBox->count(), rowCount);
    QCOMPARE(page->availableComboBox->count(), int(outputs));
    QVERIFY(!page->availableComboBox->isEnabled());
    page->rowComboBox->setCurrentIndex(rows - 1);
    emit page->rowComboBox->activated(rows - 1);
    page->columnComboBox->setCurrentIndex(cols - 1);
    emit page->columnComboBox->activated(cols - 1);
    QCOMPARE(page->availableComboBox->currentText(), available);
    QCOMPARE(page->rowComboBox->currentText(), rowShown);
}

void TestTvWall::writeSendsTheNewWall_data()
{
    QTest::addColumn<bool>("withGroup");
    QTest::addColumn<Lines>("lines");
    const QString newWall = QStringLiteral("SET TVWALL-INFO 2 1 2 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 2");
    QTest::newRow("no groups: the new size alone") << false << Lines { newWall };
    QTest::newRow("groups are cancelled on the old wall first")
        << true
        << Lines({ "SET OUT1 WALLPORT 0 0 0 0 0 0 0 0 0", "SET OUT2 WALLPORT 0 0 0 0 0 0 0 0 0",
            "SET OUT3 WALLPORT 0 0 0 0 0 0 0 0 0", "SET OUT4 WALLPORT 0 0 0 0 0 0 0 0 0",
            "SET TVWALL-INFO 4 2 2 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 0 0 0 2 0 0 0 0 0 0 0 3 0 0 0 0 0", newWall });
}

void TestTvWall::writeSendsTheNewWall()
{
    QFETCH(bool, withGroup);
    QFETCH(Lines, lines);
    Ui_TVWall *page = NewPage();
    page->SelectRowsCols(2, 2);
    page->SLT_SetTvWallInfo(false);
    if (withGroup)
        SpliceBlock(page->grid, 0, 1);
    TakeQueuedLines();
    DeviceState.routeInputOfOutput[1] = 2;
    ChooseSize(page, 1, 2);
    QTest::mouseClick(page->writeButton, Qt::LeftButton);
    QCOMPARE(TakeQueuedLines(), lines);
    QCOMPARE(page->grid->rowCount(), 1);
    QCOMPARE(page->grid->columnCount(), 2);
    QVERIFY(page->grid->spliceFrames().isEmpty());
}

void TestTvWall::sizeWithTheOutputsOfItsCells_data()
{
    QTest::addColumn<quint32>("rows");
    QTest::addColumn<quint32>("cols");
    QTest::addColumn<QVector<quint32>>("outputs");
    QTest::addColumn<bool>("done");
    QTest::addColumn<Lines>("lines");

    // Output 4 shows input 2, output 1 input 1: each cell carries the input of the output it shows.
    QTest::newRow("cells show the outputs given")
        << 1u << 2u << QVector<quint32> { 3, 0 } << true
        << Lines { "SET TVWALL-INFO 2 1 2 0 0 3 0 0 0 0 1 0 0 0 0 0 0 0 0" };
    QTest::newRow("no outputs given: each cell its own number")
        << 1u << 2u << QVector<quint32>() << true
        << Lines { "SET TVWALL-INFO 2 1 2 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 0" };
    QTest::newRow("an output given twice") << 1u << 2u << QVector<quint32> { 1, 1 } << false << Lines();
    QTest::newRow("an output the device does not have") << 1u << 2u << QVector<quint32> { 0, 4 } << false << Lines();
    QTest::newRow("fewer outputs than cells") << 2u << 2u << QVector<quint32> { 0, 1, 2 } << false << Lines();
    QTest::newRow("more outputs than cells") << 1u << 2u << QVector<quint32> { 0, 1, 2 } << false << Lines();
}

void TestTvWall::sizeWithTheOutputsOfItsCells()
{
    QFETCH(quint32, rows);
    QFETCH(quint32, cols);
    QFETCH(QVector<quint32>, outputs);
    QFETCH(bool, done);
    QFETCH(Lines, lines);
    Confirm(4, 4);
    DeviceState.routeInputOfOutput[0] = 0;
    DeviceState.routeInputOfOutput[3] = 1;
    TakeQueuedLines();
    WallEditor editor;
    const WallEditor::Outcome outcome = editor.writeSize(rows, cols, outputs);
    QCOMPARE(outcome == WallEditor::Outcome::Done, done);
    if (!done)
        QCOMPARE(outcome, WallEditor::Outcome::Refused);
    QCOMPARE(TakeQueuedLines(), lines);
    QCOMPARE(editor.shown().total, done ? rows * cols : DeviceState.wall.total);
}

void TestTvWall::settingColours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QColor>("colour");
    const QColor fallback(1, 2, 3, 4);
    QTest::newRow("four numbers") << "10,20,30,40" << QColor(10, 20, 30, 40);
    QTest::newRow("other characters skipped") << " 1x0, 2 ,a3,255" << QColor(10, 2, 3, 255);
    QTest::newRow("three numbers") << "10,20,30" << fallback;
    QTest::newRow("five numbers") << "1,2,3,4,5" << fallback;
    QTest::newRow("above 255") << "256,0,0,255" << fallback;
    QTest::newRow("empty") << "" << fallback;
}

void TestTvWall::settingColours()
{
    QFETCH(QString, text);
    QFETCH(QColor, colour);
    QCOMPARE(MyTableWidget::SettingColour(text, QColor(1, 2, 3, 4)), colour);
}

// A splice, a screen taken out and bezels go through the simulated device; after a
// reconnect (the wall forgotten, a new page) the device's layout gives the same grid.
void TestTvWall::wallSurvivesReconnect()
{
    SimDevice device({ ExpectedModel, {} });
    Ui_TVWall *page = NewPage();
    WallPages pages(page);
    page->ReadWall();
    RunThroughDevice(device, pages);
    QCOMPARE(page->grid->rowCount(), 2);
    MyTableWidget *grid = page->grid;
    Drag(grid, CellCentre(grid, 0), CellCentre(grid, 1));
    Entry(RightPress(grid, CellCentre(grid, 0)), QStringLiteral("TvWallMenu-ScreenSplicing"))->trigger();
    RunThroughDevice(device, pages);
    Entry(RightPress(grid, CellCentre(grid, 1)), QStringLiteral("TvWallMenu-SingleCancelSplicing"))->trigger();
    RunThroughDevice(device, pages);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 0));
    QTest::keyClicks(page->edgeEdits[0], QStringLiteral("11"));
    QTest::mouseClick(page->bezelWriteButton, Qt::LeftButton);
    Lines sent;
    RunThroughDevice(device, pages, &sent);
    const QVector<QRect> frames = grid->spliceFrames();
    const QVector<QRect> exits = grid->exitFrames();
    QCOMPARE(frames.size(), 1);
    QCOMPARE(exits.size(), 1);
    const QByteArray deviceWall = device.handleRequest("GET TVWALL-INFO").requesterLines().value(0);
    QCOMPARE(QString::fromLatin1(deviceWall), sent.last().mid(4));

    m_page.reset();
    DeviceState_ResetWall();
    page = NewPage();
    WallPages again(page);
    page->ReadWall();
    RunThroughDevice(device, again);
    grid = page->grid;
    QCOMPARE(grid->spliceFrames(), frames);
    QCOMPARE(grid->exitFrames(), exits);
    QCOMPARE(page->rowComboBox->currentText(), QStringLiteral("2"));
    QCOMPARE(grid->item(0, 0)->background().color(), QColor(0, 255, 0));
    QCOMPARE(grid->item(0, 1)->background().color(), QColor(128, 128, 128));
    QCOMPARE(WallSlot(0).edgeLeft, 11u);
    QVERIFY(WallSlot(1).singleExit);
    QCOMPARE(WallSlot(1).spliceAnchor, 0u);
    QCOMPARE(grid->editor().groups().value(0).right, 1u);
}

void TestTvWall::gridGrowsWithThePage()
{
    Ui_TVWall *page = NewPage();
    page->SelectRowsCols(2, 2);
    page->SLT_SetTvWallInfo(false);
    SpliceBlock(page->grid, 0, 1);
    const int before = page->grid->cellWidth();
    page->resize(1600, 1000);
    QTRY_VERIFY(page->grid->cellWidth() > before);
    QCOMPARE(page->grid->spliceFrames().value(0).width(), 2 * page->grid->cellWidth() - 6);
    QVERIFY(page->grid->y() > page->bezelGroup->geometry().bottom());
}

void TestTvWall::retranslateKeepsTheDeviceWallSize_data()
{
    QTest::addColumn<bool>("textsOnly");
    QTest::newRow("language change") << true;
    QTest::newRow("input renamed") << false;
}

void TestTvWall::retranslateKeepsTheDeviceWallSize()
{
    QFETCH(bool, textsOnly);
    Ui_TVWall *page = NewPage();
    page->SelectRowsCols(1, 4);
    page->SLT_SetTvWallInfo(false);
    page->edgeEdits[0]->setText(QStringLiteral("9"));
    Slabel_Row = QStringLiteral("Zeilen");
    page->Retranslate(textsOnly);
    QCOMPARE(page->rowLabel->text(), QStringLiteral("Zeilen"));
    QCOMPARE(page->rowComboBox->count(), 4);
    QCOMPARE(page->rowComboBox->currentText(), QStringLiteral("1"));
    QCOMPARE(page->columnComboBox->currentText(), QStringLiteral("4"));
    QCOMPARE(page->availableComboBox->currentText(), QStringLiteral("4"));
    QCOMPARE(page->edgeEdits[0]->text(), textsOnly ? QStringLiteral("9") : QString());
}

void TestTvWall::nothingBeforeTheModelIsConfirmed()
{
    m_page.reset(new Ui_TVWall());
    m_page->show();
    m_page->Fill();
    QCOMPARE(m_page->rowComboBox->count(), 0);
    QTest::mouseClick(m_page->writeButton, Qt::LeftButton);
    QVERIFY(!m_page->grid->isBuilt());
    QVERIFY(TakeQueuedLines().isEmpty());
    // A press on an empty grid does nothing at all.
    SendMouse(m_page->grid->viewport(), QEvent::MouseButtonPress, Qt::RightButton, QPoint(5, 5));
    QVERIFY(!m_page->grid->contextMenu());
}

QTEST_MAIN(TestTvWall)
#include "tst_tvwall.moc"
