// The matrix page on its own: the grid for each port count, cross-point and all-output
// requests, routes drawn from replies, paging, renaming, and the replies that reach the page
// through the main window's receive path.
#include "GuiPageActions.h"
#include "GuiTestFixture.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "pages/Ui_Matrix.h"
#include "protocol/DeviceState.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "shell/MyComboBox.h"
#include "shell/NameElision.h"
#include "shell/Ui_Main.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QVector>
#include <QtTest>

namespace {

QPushButton *CrossPoint(const Ui_Matrix &page, int k)
{
    return page.findChild<QPushButton *>(QStringLiteral("MatrixButton-%1").arg(k));
}

QVector<int> FlatColumns(const Ui_Matrix &page, int rows)
{
    QVector<int> columns;
    const int inputs = int(page.inputsPerPage);
    for (int row = 0; row < rows; ++row) {
        int flat = -1;
        for (int column = 0; column < inputs; ++column) {
            if (page.crossPointButtons.at(row * inputs + column)->isFlat())
                flat = column;
        }
        columns << flat;
    }
    return columns;
}

QVector<int> Routes(int outputs)
{
    QVector<int> routes;
    for (int output = 0; output < outputs; ++output)
        routes << int(DeviceState.routeInputOfOutput[output]);
    return routes;
}

using GuiTest::QueuedLines;

QStringList VisibleTexts(const Ui_Matrix &page, int first, int count)
{
    QStringList texts;
    for (int index = first; index < first + count; ++index) {
        const QLabel *label = page.headerLabels.at(index);
        if (label->isVisible())
            texts << label->text();
    }
    return texts;
}

int VisibleButtons(const Ui_Matrix &page)
{
    int visible = 0;
    for (const QPushButton *button : page.crossPointButtons)
        visible += button->isVisible() ? 1 : 0;
    return visible;
}

// "2,1" is a route of input 2 to output 1.
QPair<quint32, quint32> RouteOf(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    return { parts.at(0).toUInt(), parts.at(1).toUInt() };
}

} // namespace

class TestMatrix : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void gridForPortCounts_data();
    void gridForPortCounts();
    void crossPointQueuesRoute_data();
    void crossPointQueuesRoute();
    void allOutputComboLists_data();
    void allOutputComboLists();
    void setRouteRedrawsRows_data();
    void setRouteRedrawsRows();
    void setRouteList_data();
    void setRouteList();
    void paging_data();
    void paging();
    void rename_data();
    void rename();
    void repliesReachPage_data();
    void repliesReachPage();

private:
    // A page built for the counts, shown as its own window.
    Ui_Matrix *NewPage(quint32 inputs, quint32 outputs);
    void PressArrows(const QString &arrows);

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_Matrix> m_page;
};

void TestMatrix::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestMatrix::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    LinkMode = LinkModeNone;
    TcpLinkQueue().activate();
}

void TestMatrix::cleanup()
{
    m_page.reset();
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

Ui_Matrix *TestMatrix::NewPage(quint32 inputs, quint32 outputs)
{
    m_page.reset(new Ui_Matrix());
    m_page->resize(1400, 900);
    m_page->show();
    if (inputs != Ui_Matrix::PortsPerPage || outputs != Ui_Matrix::PortsPerPage)
        m_page->BuildGrid(inputs, outputs);
    return m_page.data();
}

// One letter per press: u, d, l, r.
void TestMatrix::PressArrows(const QString &arrows)
{
    for (const QChar arrow : arrows) {
        QPushButton *button = arrow == QLatin1Char('u') ? m_page->upButton
            : arrow == QLatin1Char('d')                 ? m_page->downButton
            : arrow == QLatin1Char('l')                 ? m_page->leftButton
                                                        : m_page->rightButton;
        // Arrows are hidden while a side fits one page; the slot must still refuse to move.
        if (button->isVisible())
            QTest::mouseClick(button, Qt::LeftButton);
        else
            button->click();
    }
}

void TestMatrix::gridForPortCounts_data()
{
    QTest::addColumn<quint32>("inputs");
    QTest::addColumn<quint32>("outputs");
    QTest::addColumn<int>("labels");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QSize>("gridSize");
    QTest::addColumn<bool>("leftRightShown");
    QTest::addColumn<bool>("upDownShown");

    // The grid box holds every cross-point (66 x 22 with 1-pixel gaps, from (134, 81)) and a
    // margin of 2 pixels on the right and 3 below.
    QTest::newRow("4 x 4") << 4u << 4u << 17 << 16 << QSize(403, 175) << false << false;
    QTest::newRow("16 x 16") << 16u << 16u << 65 << 256 << QSize(1207, 451) << false << false;
    QTest::newRow("1 x 1") << 1u << 1u << 5 << 1 << QSize(202, 106) << false << false;
    QTest::newRow("20 inputs, 4 outputs") << 20u << 4u << 41 << 64 << QSize(1207, 175) << true << false;
    QTest::newRow("4 inputs, 17 outputs") << 4u << 17u << 41 << 64 << QSize(403, 451) << false << true;
    QTest::newRow("160 x 160") << 160u << 160u << 65 << 256 << QSize(1207, 451) << true << true;
}

void TestMatrix::gridForPortCounts()
{
    QFETCH(quint32, inputs);
    QFETCH(quint32, outputs);
    QFETCH(int, labels);
    QFETCH(int, buttons);
    QFETCH(QSize, gridSize);
    QFETCH(bool, leftRightShown);
    QFETCH(bool, upDownShown);

    Ui_Matrix *page = NewPage(inputs, outputs);

    QCOMPARE(DeviceState.inputCount, inputs);
    QCOMPARE(DeviceState.outputCount, outputs);
    QCOMPARE(page->headerLabels.size(), labels);
    QCOMPARE(page->crossPointButtons.size(), buttons);
    for (int k = 0; k < buttons; ++k) {
        QCOMPARE(page->crossPointButtons.at(k), CrossPoint(*page, k));
        QVERIFY(!page->crossPointButtons.at(k)->isFlat());
    }
    QVERIFY(!CrossPoint(*page, buttons));
    QCOMPARE(page->gridGroup->geometry(), QRect(QPoint(2, 2), gridSize));
    QCOMPARE(page->leftButton->isVisible(), leftRightShown);
    QCOMPARE(page->rightButton->isVisible(), leftRightShown);
    QCOMPARE(page->upButton->isVisible(), upDownShown);
    QCOMPARE(page->downButton->isVisible(), upDownShown);

    // The controls below the grid keep their distances to it.
    const int gridBottom = 2 + gridSize.height();
    QCOMPARE(page->renameGroup->geometry(), QRect(2, gridBottom + 4, 168, 80));
    QCOMPARE(page->allOutputLabel->geometry(), QRect(2, gridBottom + 94, 60, 26));
    QCOMPARE(page->allOutputComboBox->geometry(), QRect(72, gridBottom + 94, 100, 26));
    QCOMPARE(page->saveLoadButton->geometry(), QRect(2, gridBottom + 140, 100, 26));
    QCOMPARE(page->edidButton->geometry(), QRect(2, gridBottom + 186, 100, 26));

    // Cross-point 0 sits beside the first output's labels, the last one in the last row.
    const int columns = int(qMin(inputs, 16u));
    const int rows = int(qMin(outputs, 16u));
    QCOMPARE(page->crossPointButtons.first()->geometry(), QRect(134, 81, 66, 22));
    const QRect last(134 + (columns - 1) * 67, 81 + (rows - 1) * 23, 66, 22);
    QCOMPARE(page->crossPointButtons.last()->geometry(), last);
    // No cross-point is cut off by the box.
    QVERIFY(QRect(QPoint(0, 0), gridSize).contains(last.adjusted(0, 0, 2, 3)));
}

void TestMatrix::crossPointQueuesRoute_data()
{
    QTest::addColumn<quint32>("inputs");
    QTest::addColumn<quint32>("outputs");
    QTest::addColumn<QString>("arrows");
    QTest::addColumn<int>("k");
    QTest::addColumn<QStringList>("queued");

    QTest::newRow("4 x 4, MatrixButton-6") << 4u << 4u << "" << 6 << QStringList { "SET IN3 VIDEO OUT2\r" };
    QTest::newRow("4 x 4, MatrixButton-0") << 4u << 4u << "" << 0 << QStringList { "SET IN1 VIDEO OUT1\r" };
    QTest::newRow("4 x 4, MatrixButton-15") << 4u << 4u << "" << 15 << QStringList { "SET IN4 VIDEO OUT4\r" };
    QTest::newRow("20 x 20, second pages")
        << 20u << 20u << "rd" << 0 << QStringList { "SET IN17 VIDEO OUT17\r" };
    QTest::newRow("20 x 20, second input page")
        << 20u << 20u << "r" << 19 << QStringList { "SET IN20 VIDEO OUT2\r" };
    QTest::newRow("20 x 20, column beyond the inputs") << 20u << 20u << "r" << 4 << QStringList {};
}

void TestMatrix::crossPointQueuesRoute()
{
    QFETCH(quint32, inputs);
    QFETCH(quint32, outputs);
    QFETCH(QString, arrows);
    QFETCH(int, k);
    QFETCH(QStringList, queued);

    Ui_Matrix *page = NewPage(inputs, outputs);
    PressArrows(arrows);
    LinkMode = LinkModeTcp;
    QSignalSpy kicks(page, &Ui_Matrix::SGL_UpdateEmit);

    QPushButton *button = CrossPoint(*page, k);
    if (button->isVisible())
        QTest::mouseClick(button, Qt::LeftButton);
    else
        button->click();

    QCOMPARE(QueuedLines(TcpLinkQueue()), queued);
    QCOMPARE(kicks.count(), 1);
    // Only the device's reply changes the grid.
    QVERIFY(!button->isFlat());
}

void TestMatrix::allOutputComboLists_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QStringList>("queued");

    QTest::newRow("first input") << 0 << QStringList { "SET IN1 VIDEO ALL\r" };
    QTest::newRow("last input") << 3 << QStringList { "SET IN4 VIDEO ALL\r" };
}

void TestMatrix::allOutputComboLists()
{
    QFETCH(int, chosen);
    QFETCH(QStringList, queued);

    Ui_Matrix *page = NewPage(4, 4);
    S_InputName[2] = QStringLiteral("Player");
    // The texts alone name the inputs by number.
    page->Retranslate(true, true);
    QStringList numbered;
    for (int i = 0; i < page->allOutputComboBox->count(); ++i)
        numbered << page->allOutputComboBox->itemText(i);
    QCOMPARE(numbered, (QStringList { "Input1", "Input2", "Input3", "Input4" }));

    // Opening the list shows the names.
    page->allOutputComboBox->showPopup();
    QStringList named;
    for (int i = 0; i < page->allOutputComboBox->count(); ++i)
        named << page->allOutputComboBox->itemText(i);
    QCOMPARE(named, (QStringList { "Input1", "Input2", "Player", "Input4" }));
    page->allOutputComboBox->hidePopup();

    LinkMode = LinkModeTcp;
    QSignalSpy kicks(page, &Ui_Matrix::SGL_UpdateEmit);
    emit page->allOutputComboBox->activated(chosen);
    QCOMPARE(QueuedLines(TcpLinkQueue()), queued);
    QCOMPARE(kicks.count(), 1);
}

void TestMatrix::setRouteRedrawsRows_data()
{
    QTest::addColumn<QStringList>("routes");
    QTest::addColumn<QVector<int>>("flat");
    QTest::addColumn<QVector<int>>("stored");

    QTest::newRow("one output") << QStringList { "2,1" } << QVector<int> { -1, 2, -1, -1 }
                                << QVector<int> { 0, 2, 0, 0 };
    QTest::newRow("output 255 is every output")
        << QStringList { "2,255" } << QVector<int> { 2, 2, 2, 2 } << QVector<int> { 2, 2, 2, 2 };
    QTest::newRow("later route wins")
        << QStringList { "3,0", "1,0" } << QVector<int> { 1, -1, -1, -1 } << QVector<int> { 1, 0, 0, 0 };
    QTest::newRow("input beyond the table is clamped and never drawn")
        << QStringList { "3,1", "200,1" } << QVector<int> { -1, -1, -1, -1 } << QVector<int> { 0, 159, 0, 0 };
    QTest::newRow("output beyond the table is clamped, nothing shown")
        << QStringList { "1,300" } << QVector<int> { -1, -1, -1, -1 } << QVector<int> { 0, 0, 0, 0 };
}

void TestMatrix::setRouteRedrawsRows()
{
    QFETCH(QStringList, routes);
    QFETCH(QVector<int>, flat);
    QFETCH(QVector<int>, stored);

    Ui_Matrix *page = NewPage(4, 4);
    for (const QString &route : routes)
        page->SetRoute(RouteOf(route).first, RouteOf(route).second);

    QCOMPARE(FlatColumns(*page, 4), flat);
    QCOMPARE(Routes(4), stored);
}

void TestMatrix::setRouteList_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVector<int>>("routes");

    // Before each row the outputs show inputs 3, 2, 1, 0.
    QTest::newRow("four numbers") << "0 1 1 3" << QVector<int> { 0, 1, 1, 3 };
    QTest::newRow("two spaces make an empty part") << "2  3 1" << QVector<int> { 2, 0, 3, 1 };
    QTest::newRow("a part that is no number") << "x 2 3 1" << QVector<int> { 0, 2, 3, 1 };
    QTest::newRow("fewer numbers than outputs") << "3 3" << QVector<int> { 3, 3, 1, 0 };
    // Output 255 stands for every output in a single route; the 256th number of a list is not
    // such a route, and numbers past the last port slot must not land anywhere.
    QStringList longList { "0", "1", "1", "3" };
    while (longList.size() < 300)
        longList << "2";
    QTest::newRow("numbers past the last port slot") << longList.join(QLatin1Char(' '))
                                                     << QVector<int> { 0, 1, 1, 3 };
}

void TestMatrix::setRouteList()
{
    QFETCH(QString, text);
    QFETCH(QVector<int>, routes);

    Ui_Matrix *page = NewPage(4, 4);
    page->SetRouteList(QStringLiteral("3 2 1 0"));
    QCOMPARE(FlatColumns(*page, 4), (QVector<int> { 3, 2, 1, 0 }));

    page->SetRouteList(text);

    QCOMPARE(Routes(4), routes);
    QCOMPARE(FlatColumns(*page, 4), routes);
}

void TestMatrix::paging_data()
{
    QTest::addColumn<quint32>("inputs");
    QTest::addColumn<quint32>("outputs");
    QTest::addColumn<QString>("arrows");
    QTest::addColumn<quint32>("inputPage");
    QTest::addColumn<quint32>("outputPage");
    QTest::addColumn<QStringList>("inputNumbers");
    QTest::addColumn<QStringList>("outputNames");
    QTest::addColumn<int>("visibleButtons");
    QTest::addColumn<QVector<int>>("flat");

    const QStringList first16 { "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14",
        "15", "16" };
    QStringList outputs1to16;
    for (int i = 1; i <= 16; ++i)
        outputs1to16 << QStringLiteral("Output%1").arg(i);

    QTest::newRow("20 x 20, right") << 20u << 20u << "r" << 1u << 0u << QStringList { "17", "18", "19", "20" }
                                    << outputs1to16 << 64 << QVector<int> { 1, -1 };
    QTest::newRow("20 x 20, right twice stops on the last page")
        << 20u << 20u << "rr" << 1u << 0u << QStringList { "17", "18", "19", "20" } << outputs1to16 << 64
        << QVector<int> { 1, -1 };
    QTest::newRow("20 x 20, right and down")
        << 20u << 20u << "rd" << 1u << 1u << QStringList { "17", "18", "19", "20" }
        << QStringList { "Output17", "Output18", "Output19", "Output20" } << 16 << QVector<int> { 2, -1 };
    QTest::newRow("20 x 20, down then up")
        << 20u << 20u << "du" << 0u << 0u << first16 << outputs1to16 << 256 << QVector<int> { -1, 3 };
    QTest::newRow("20 x 20, up and left on the first page do nothing")
        << 20u << 20u << "ul" << 0u << 0u << first16 << outputs1to16 << 256 << QVector<int> { -1, 3 };
    QTest::newRow("4 x 4, down does nothing")
        << 4u << 4u << "dr" << 0u << 0u << QStringList { "1", "2", "3", "4" }
        << QStringList { "Output1", "Output2", "Output3", "Output4" } << 16 << QVector<int> { -1, 3 };
}

void TestMatrix::paging()
{
    QFETCH(quint32, inputs);
    QFETCH(quint32, outputs);
    QFETCH(QString, arrows);
    QFETCH(quint32, inputPage);
    QFETCH(quint32, outputPage);
    QFETCH(QStringList, inputNumbers);
    QFETCH(QStringList, outputNames);
    QFETCH(int, visibleButtons);
    QFETCH(QVector<int>, flat);

    Ui_Matrix *page = NewPage(inputs, outputs);
    // Routes on both input pages and both output pages.
    DeviceState.routeInputOfOutput[0] = 17;
    DeviceState.routeInputOfOutput[1] = 3;
    DeviceState.routeInputOfOutput[16] = 18;
    DeviceState.routeInputOfOutput[17] = 0;
    page->PageRefresh(true, true);

    PressArrows(arrows);

    QCOMPARE(page->inputPage, inputPage);
    QCOMPARE(page->outputPage, outputPage);
    const int p = int(page->inputsPerPage);
    const int q = int(page->outputsPerPage);
    QCOMPARE(VisibleTexts(*page, p + 1, p), inputNumbers);
    QCOMPARE(VisibleTexts(*page, 2 * p + 1, q), outputNames);
    QCOMPARE(VisibleButtons(*page), visibleButtons);
    QCOMPARE(FlatColumns(*page, 2), flat);
}

void TestMatrix::rename_data()
{
    QTest::addColumn<quint32>("inputs");
    QTest::addColumn<QString>("arrows");
    QTest::addColumn<QList<int>>("doubleClicked");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("renameShown");
    QTest::addColumn<QString>("changedName");
    QTest::addColumn<int>("changedIndex");

    // Label indices for 4 x 4: 0 corner, 1-4 input names, 5-8 input numbers, 9-12 output
    // names, 13-16 output numbers.
    QTest::newRow("input 2") << 4u << "" << QList<int> { 2 } << "Camera" << true << "input" << 1;
    QTest::newRow("output 1") << 4u << "" << QList<int> { 9 } << "Projector" << true << "output" << 0;
    QTest::newRow("empty text keeps the name") << 4u << "" << QList<int> { 3 } << "" << true << "" << -1;
    QTest::newRow("input number label") << 4u << "" << QList<int> { 5 } << "X" << false << "" << -1;
    QTest::newRow("output number label") << 4u << "" << QList<int> { 13 } << "X" << false << "" << -1;
    QTest::newRow("corner") << 4u << "" << QList<int> { 0 } << "X" << false << "" << -1;
    QTest::newRow("output after an open input rename")
        << 4u << "" << QList<int> { 1, 10 } << "Screen" << true << "output" << 1;
    // With 20 inputs the labels are 1-16 input names: the second on page 1 is input 18.
    QTest::newRow("input 2 of the second page")
        << 20u << "r" << QList<int> { 2 } << "Deck" << true << "input" << 17;
}

void TestMatrix::rename()
{
    QFETCH(quint32, inputs);
    QFETCH(QString, arrows);
    QFETCH(QList<int>, doubleClicked);
    QFETCH(QString, typed);
    QFETCH(bool, renameShown);
    QFETCH(QString, changedName);
    QFETCH(int, changedIndex);

    Ui_Matrix *page = NewPage(inputs, 4);
    PressArrows(arrows);
    QVector<QString> inputNames(160);
    QVector<QString> outputNames(160);
    for (int i = 0; i < 160; ++i) {
        inputNames[i] = S_InputName[i];
        outputNames[i] = S_OutputName[i];
    }

    QLabel *lastLabel = nullptr;
    for (int index : doubleClicked) {
        lastLabel = page->headerLabels.at(index);
        QTest::mouseDClick(lastLabel, Qt::LeftButton);
    }
    QCOMPARE(page->renameGroup->isVisible(), renameShown);
    if (!renameShown)
        return;
    // The rename box shows the whole name, however the label cut it.
    QCOMPARE(page->renameLabel->text(), FullNameOf(lastLabel));
    QCOMPARE(page->renameEdit->toolTip(), QStringLiteral("Press Enter to end the input and exit"));

    QTest::keyClicks(page->renameEdit, typed);
    QTest::keyClick(page->renameEdit, Qt::Key_Return);
    QVERIFY(!page->renameGroup->isVisible());

    if (changedName == QLatin1String("input"))
        inputNames[changedIndex] = typed;
    else if (changedName == QLatin1String("output"))
        outputNames[changedIndex] = typed;
    for (int i = 0; i < 160; ++i) {
        QCOMPARE(S_InputName[i], inputNames.at(i));
        QCOMPARE(S_OutputName[i], outputNames.at(i));
    }
    if (!changedName.isEmpty()) {
        QCOMPARE(FullNameOf(lastLabel), typed);
        QVERIFY(lastLabel->toolTip().startsWith(typed + QLatin1Char('\n')));
    }

    // The finished rename is no longer connected: Enter again changes nothing.
    page->renameEdit->setText(QStringLiteral("Again"));
    QTest::keyClick(page->renameEdit, Qt::Key_Return);
    for (int i = 0; i < 160; ++i)
        QVERIFY(S_InputName[i] != QLatin1String("Again") && S_OutputName[i] != QLatin1String("Again"));
}

void TestMatrix::repliesReachPage_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QVector<int>>("flat");
    QTest::addColumn<QString>("edidSignal");

    QTest::newRow("route list") << QStringList { "MATRIX-ROUTE 1 2 3 0\r" } << QVector<int> { 1, 2, 3, 0 }
                                << "";
    QTest::newRow("one output's route") << QStringList { "MATRIX-ROUTE 0 0 0 0\r", "OUT3 VIDEO IN HDMI4\r" }
                                        << QVector<int> { 0, 0, 3, 0 } << "";
    QTest::newRow("one input to two outputs")
        << QStringList { "MATRIX-ROUTE 0 0 0 0\r", "IN2 VIDEO OUT 1,3\r" } << QVector<int> { 1, 0, 1, 0 }
        << "";
    QTest::newRow("one input everywhere")
        << QStringList { "IN4 VIDEO ALL\r" } << QVector<int> { 3, 3, 3, 3 } << "";
    QTest::newRow("input EDID mode") << QStringList { "IN2 EDIDMODE 1080p60-5.1\r" }
                                     << QVector<int> { -1, -1, -1, -1 } << "in 1 7";
    QTest::newRow("output EDID") << QStringList { "OUT3 OUTPORT-EDID 00FFFFFF\r" }
                                 << QVector<int> { -1, -1, -1, -1 } << "out 2 00FFFFFF";
}

void TestMatrix::repliesReachPage()
{
    QFETCH(QStringList, lines);
    QFETCH(QVector<int>, flat);
    QFETCH(QString, edidSignal);

    Ui_Main mainWindow;
    Ui_Matrix *page = mainWindow.matrixPage;
    DeviceState_ConfirmModel();
    page->RebuildIfConfirmed();
    QCOMPARE(page->crossPointButtons.size(), 16);
    QStringList edidSignals;
    connect(page, &Ui_Matrix::SGL_Update_InEdidMode, this, [&](unsigned int input, int mode) {
        edidSignals << QStringLiteral("in %1 %2").arg(input).arg(mode);
    });
    connect(page, &Ui_Matrix::SGL_Update_OutEdid, this, [&](unsigned int output, const QString &edid) {
        edidSignals << QStringLiteral("out %1 %2").arg(output).arg(edid);
    });

    LinkMode = LinkModeTcp;
    for (const QString &line : lines)
        TcpLinkQueue().pushReceived(line.toLatin1());
    mainWindow.SLT_UnifyUpdateRecv();

    QCOMPARE(FlatColumns(*page, 4), flat);
    QCOMPARE(edidSignals, edidSignal.isEmpty() ? QStringList() : QStringList { edidSignal });
}

QTEST_MAIN(TestMatrix)
#include "tst_matrix.moc"
