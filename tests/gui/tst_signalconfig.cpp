// The signal configuration page: the tables for each port count, before and after the device
// is identified; what each control queues; what the replies show through the main window's
// receive path; paging; retranslation; and a whole round trip against the device simulator.
#include "GuiPageActions.h"
#include "GuiTestFixture.h"
#include "GuiSimProcess.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/Ui_Uart_Network.h"
#include "pages/Ui_SignalConfig.h"
#include "protocol/DeviceState.h"
#include "protocol/ReplyParser.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "settings/SettingsTexts.h"
#include "shell/MyComboBox.h"
#include "shell/Ui_Main.h"
#include "shell/Ui_MainReplyPages.h"
#include "support/TestPaths.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScopeGuard>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QtTest>

namespace {

constexpr int SyncTimeoutMs = 15000;

using GuiTest::QueuedLines;

QStringList Items(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

using GuiTest::ChooseItem;

// Clicks a check box on its tick mark, where the operator clicks it.
void ClickCheckBox(QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

QStringList VisibleTexts(const QList<QLabel *> &labels)
{
    QStringList texts;
    for (const QLabel *label : labels) {
        if (label->isVisible())
            texts << label->text();
    }
    return texts;
}

// What a cell of the tables shows: the text of a field or the current item of a list.
QString Cell(const Ui_SignalConfig &page, const QString &column, int row)
{
    if (column == QLatin1String("in-format"))
        return page.inputFormatEdits.at(row)->text();
    if (column == QLatin1String("in-audio"))
        return page.inputAudioCombos.at(row)->currentText();
    if (column == QLatin1String("out-type"))
        return page.outputTypeCombos.at(row)->currentText();
    if (column == QLatin1String("out-informat"))
        return page.outputInputFormatEdits.at(row)->text();
    if (column == QLatin1String("out-resolution"))
        return page.outputFormatCombos.at(row)->currentText();
    return QStringLiteral("<unknown column>");
}

// Every cell of the tables, column by column, so that a reply can be checked to have changed
// exactly one.
QStringList AllCells(const Ui_SignalConfig &page)
{
    QStringList cells;
    for (const char *column : { "in-format", "in-audio", "out-type", "out-informat", "out-resolution" }) {
        const int rows = QString::fromLatin1(column).startsWith(QLatin1String("in-"))
            ? page.inputFormatEdits.size()
            : page.outputInputFormatEdits.size();
        for (int row = 0; row < rows; ++row)
            cells << QStringLiteral("%1/%2=%3").arg(QLatin1String(column)).arg(row).arg(Cell(page, column, row));
    }
    return cells;
}

} // namespace

class TestSignalConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layoutForPortCounts_data();
    void layoutForPortCounts();
    void listsBeforeAndAfterIdentification();
    void controlsQueueCommands_data();
    void controlsQueueCommands();
    void repliesShowInCells_data();
    void repliesShowInCells();
    void repliesFollowThePage_data();
    void repliesFollowThePage();
    void paging_data();
    void paging();
    void retranslate_data();
    void retranslate();
    void languageSwitchKeepsValues_data();
    void languageSwitchKeepsValues();
    void synchronisedWithSimulator();

private:
    // A page built for the counts, shown as its own window; confirmed pages have their lists.
    Ui_SignalConfig *NewPage(quint32 inputs, quint32 outputs, bool confirmed);

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_SignalConfig> m_page;
};

void TestSignalConfig::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestSignalConfig::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    LinkMode = LinkModeNone;
    TcpLinkQueue().activate();
}

void TestSignalConfig::cleanup()
{
    m_page.reset();
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

Ui_SignalConfig *TestSignalConfig::NewPage(quint32 inputs, quint32 outputs, bool confirmed)
{
    m_page.reset(new Ui_SignalConfig());
    m_page->resize(1400, 900);
    m_page->show();
    if (confirmed)
        DeviceState_ConfirmModel();
    if (confirmed || inputs != Ui_SignalConfig::PortsPerPage || outputs != Ui_SignalConfig::PortsPerPage)
        m_page->BuildRows(inputs, outputs);
    return m_page.data();
}

void TestSignalConfig::layoutForPortCounts_data()
{
    QTest::addColumn<quint32>("inputs");
    QTest::addColumn<quint32>("outputs");
    QTest::addColumn<int>("inputRows");
    QTest::addColumn<int>("outputRows");
    QTest::addColumn<bool>("inputArrows");
    QTest::addColumn<bool>("outputArrows");

    QTest::newRow("4 x 4") << 4u << 4u << 4 << 4 << false << false;
    QTest::newRow("16 x 16") << 16u << 16u << 16 << 16 << false << false;
    QTest::newRow("1 input, 3 outputs") << 1u << 3u << 1 << 3 << false << false;
    QTest::newRow("17 inputs, 4 outputs") << 17u << 4u << 16 << 4 << true << false;
    QTest::newRow("4 inputs, 40 outputs") << 4u << 40u << 4 << 16 << false << true;
    QTest::newRow("160 x 160") << 160u << 160u << 16 << 16 << true << true;
}

void TestSignalConfig::layoutForPortCounts()
{
    QFETCH(quint32, inputs);
    QFETCH(quint32, outputs);
    QFETCH(int, inputRows);
    QFETCH(int, outputRows);
    QFETCH(bool, inputArrows);
    QFETCH(bool, outputArrows);

    Ui_SignalConfig *page = NewPage(inputs, outputs, true);

    QCOMPARE(DeviceState.inputCount, inputs);
    QCOMPARE(DeviceState.outputCount, outputs);
    const int inputHeight = 30 * inputRows + 50;
    const int outputHeight = 30 * outputRows + 50;
    QCOMPARE(page->inputGroup->geometry(), QRect(4, 4, 616, inputHeight));
    QCOMPARE(page->outputGroup->geometry(), QRect(624, 4, 700, outputHeight));
    QCOMPARE(page->readAllInputButton->geometry(), QRect(4, 8 + inputHeight, 120, 26));
    QCOMPARE(page->readAllOutputButton->geometry(), QRect(624, 8 + outputHeight, 120, 26));
    QCOMPARE(page->inputUpButton->isVisible(), inputArrows);
    QCOMPARE(page->inputDownButton->isVisible(), inputArrows);
    QCOMPARE(page->outputUpButton->isVisible(), outputArrows);
    QCOMPARE(page->outputDownButton->isVisible(), outputArrows);

    // Headers and arrows in one line, 4 pixels apart.
    QCOMPARE(page->inputHeaderLabels.last()->geometry(), QRect(448, 20, 104, 26));
    QCOMPARE(page->inputUpButton->geometry(), QRect(556, 20, 26, 26));
    QCOMPARE(page->inputDownButton->geometry(), QRect(586, 20, 26, 26));
    QCOMPARE(page->outputHeaderLabels.last()->geometry(), QRect(576, 20, 60, 26));
    QCOMPARE(page->outputUpButton->geometry(), QRect(640, 20, 26, 26));
    QCOMPARE(page->outputDownButton->geometry(), QRect(670, 20, 26, 26));

    // Every list holds one widget per row, found again by its object name.
    const QList<QPair<QString, int>> named {
        { "SignalConfig-InputType-I", page->inputTypeCombos.size() },
        { "SignalConfig-OutputFormat-I", page->inputOutputFormatCombos.size() },
        { "SignalConfig-AudioSelect-I", page->inputAudioCombos.size() },
        { "SignalConfig-Read-I", page->inputReadButtons.size() },
        { "SignalConfig-OutputType-O", page->outputTypeCombos.size() },
        { "SignalConfig-OutputFormat-O", page->outputFormatCombos.size() },
        { "SignalConfig-Rotate-O", page->outputRotateCombos.size() },
        { "SignalConfig-AudioMute-O", page->outputMuteBoxes.size() },
        { "SignalConfig-Freeze-O", page->outputFreezeBoxes.size() },
        { "SignalConfig-Read-O", page->outputReadButtons.size() },
    };
    for (const auto &column : named) {
        const int rows = column.first.endsWith(QLatin1Char('I')) ? inputRows : outputRows;
        QCOMPARE(column.second, rows);
        for (int row = 0; row < rows; ++row)
            QVERIFY2(page->findChild<QWidget *>(column.first + QString::number(row)), qPrintable(column.first));
        QVERIFY(!page->findChild<QWidget *>(column.first + QString::number(rows)));
    }
    QCOMPARE(page->inputPortLabels.size(), inputRows);
    QCOMPARE(page->inputFormatEdits.size(), inputRows);
    QCOMPARE(page->outputPortLabels.size(), outputRows);
    QCOMPARE(page->outputInputFormatEdits.size(), outputRows);

    // The last row of each table, every widget 4 pixels right of the previous one.
    const int inputY = 50 + 30 * (inputRows - 1);
    QCOMPARE(page->inputPortLabels.last()->geometry(), QRect(4, inputY, 40, 26));
    QCOMPARE(page->inputTypeCombos.last()->geometry(), QRect(48, inputY, 100, 26));
    QCOMPARE(page->inputFormatEdits.last()->geometry(), QRect(152, inputY, 144, 26));
    QCOMPARE(page->inputOutputFormatCombos.last()->geometry(), QRect(300, inputY, 144, 26));
    QCOMPARE(page->inputAudioCombos.last()->geometry(), QRect(448, inputY, 104, 26));
    QCOMPARE(page->inputReadButtons.last()->geometry(), QRect(556, inputY, 50, 26));
    const int outputY = 50 + 30 * (outputRows - 1);
    QCOMPARE(page->outputTypeCombos.last()->geometry(), QRect(48, outputY, 100, 26));
    QCOMPARE(page->outputRotateCombos.last()->geometry(), QRect(448, outputY, 60, 26));
    QCOMPARE(page->outputMuteBoxes.last()->geometry(), QRect(512, outputY, 60, 26));
    QCOMPARE(page->outputFreezeBoxes.last()->geometry(), QRect(576, outputY, 60, 26));
    QCOMPARE(page->outputReadButtons.last()->geometry(), QRect(640, outputY, 50, 26));
    // No row is cut off by its box.
    QVERIFY(page->inputReadButtons.last()->geometry().bottom() < inputHeight);
    QVERIFY(page->outputReadButtons.last()->geometry().right() < 700);
    QCOMPARE(page->inputPortLabels.last()->text(), QString::number(inputRows));
}

void TestSignalConfig::listsBeforeAndAfterIdentification()
{
    Ui_SignalConfig *page = NewPage(16, 16, false);
    QCOMPARE(page->inputTypeCombos.size(), 16);
    QCOMPARE(page->outputTypeCombos.size(), 16);
    const QList<MyComboBox *> combos = page->inputTypeCombos + page->inputOutputFormatCombos
        + page->inputAudioCombos + page->outputTypeCombos + page->outputFormatCombos + page->outputRotateCombos;
    for (const QComboBox *combo : combos) {
        QCOMPARE(combo->count(), 0);
        QVERIFY(combo->isEnabled());
    }
    QVERIFY(!page->inputFormatEdits.first()->isEnabled());
    QVERIFY(!page->outputInputFormatEdits.first()->isEnabled());
    // Reading works before the device is known.
    LinkMode = LinkModeTcp;
    QTest::mouseClick(page->outputReadButtons.at(15), Qt::LeftButton);
    QCOMPARE(QueuedLines(TcpLinkQueue()), QStringList { "GET OUT16 OUT-INFO\r" });

    DeviceState_ConfirmModel();
    page->RebuildIfConfirmed();
    QCOMPARE(page->inputTypeCombos.size(), 4);
    QCOMPARE(page->outputTypeCombos.size(), 4);
    QCOMPARE(page->inputGroup->size(), QSize(616, 170));
    QCOMPARE(page->outputGroup->size(), QSize(700, 170));
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(Items(page->inputTypeCombos.at(row)), QStringList { "HDMI" });
        QVERIFY(!page->inputTypeCombos.at(row)->isEnabled());
        QCOMPARE(Items(page->inputOutputFormatCombos.at(row)), QStringList { "Bypass" });
        QVERIFY(!page->inputOutputFormatCombos.at(row)->isEnabled());
        QCOMPARE(Items(page->inputAudioCombos.at(row)), (QStringList { "Embedded", "L/R" }));
        QVERIFY(page->inputAudioCombos.at(row)->isEnabled());
        QCOMPARE(Items(page->outputTypeCombos.at(row)), (QStringList { "HDMI-1.4", "HDMI-2.2", "HDMI" }));
        QCOMPARE(Items(page->outputRotateCombos.at(row)), (QStringList { "0°", "90°", "180°" }));
        QCOMPARE(page->outputFormatCombos.at(row)->count(), 18);
        QCOMPARE(page->outputFormatCombos.at(row)->itemText(6), QStringLiteral("1920x1200p60"));
        QCOMPARE(page->outputFormatCombos.at(row)->itemText(17), QStringLiteral("USER"));
        QVERIFY(!page->outputMuteBoxes.at(row)->isChecked());
        QCOMPARE(page->inputReadButtons.at(row)->text(), QStringLiteral("Read"));
        QCOMPARE(page->outputPortLabels.at(row)->text(), QString::number(row + 1));
    }
}

void TestSignalConfig::controlsQueueCommands_data()
{
    QTest::addColumn<quint32>("ports");
    QTest::addColumn<int>("outputPageDowns");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("item");
    QTest::addColumn<QStringList>("queued");

    QTest::newRow("audio L/R, input 1") << 4u << 0 << "audio" << 0 << 1 << QStringList { "SET IN1 AUDIO-SRC L/R\r" };
    QTest::newRow("audio embedded, input 4")
        << 4u << 0 << "audio" << 3 << 0 << QStringList { "SET IN4 AUDIO-SRC EMBEDDED\r" };
    QTest::newRow("output type HDMI, output 2")
        << 4u << 0 << "type" << 1 << 2 << QStringList { "SET OUT2 HDCP FORCE-OFF\r" };
    QTest::newRow("output type HDMI-2.2, output 1")
        << 4u << 0 << "type" << 0 << 1 << QStringList { "SET OUT1 HDCP FORCE-2.2\r" };
    QTest::newRow("1920x1200p60 is sent as its RB keyword")
        << 4u << 0 << "resolution" << 0 << 6 << QStringList { "SET OUT1 RESOLUTION 1920x1200p60RB\r" };
    QTest::newRow("last resolution item")
        << 4u << 0 << "resolution" << 3 << 17 << QStringList { "SET OUT4 RESOLUTION USER\r" };
    QTest::newRow("rotate 90, output 3") << 4u << 0 << "rotate" << 2 << 1 << QStringList { "SET OUT3 ROTATION 90\r" };
    QTest::newRow("rotate 180, output 4") << 4u << 0 << "rotate" << 3 << 2 << QStringList { "SET OUT4 ROTATION 180\r" };
    // item: how many clicks on the check box.
    QTest::newRow("mute ticked, output 3") << 4u << 0 << "mute" << 2 << 1 << QStringList { "SET OUT3 AUDIO-MUTE ON\r" };
    QTest::newRow("mute ticked and unticked, output 3")
        << 4u << 0 << "mute" << 2 << 2 << QStringList { "SET OUT3 AUDIO-MUTE ON\r", "SET OUT3 AUDIO-MUTE OFF\r" };
    QTest::newRow("freeze ticked, output 1")
        << 4u << 0 << "freeze" << 0 << 1 << QStringList { "SET OUT1 FREEZE-WINALL ON\r" };
    QTest::newRow("freeze ticked and unticked, output 4")
        << 4u << 0 << "freeze" << 3 << 2
        << QStringList { "SET OUT4 FREEZE-WINALL ON\r", "SET OUT4 FREEZE-WINALL OFF\r" };
    QTest::newRow("read input 2") << 4u << 0 << "read-in" << 1 << 0 << QStringList { "GET IN2 IN-INFO\r" };
    QTest::newRow("read output 4") << 4u << 0 << "read-out" << 3 << 0 << QStringList { "GET OUT4 OUT-INFO\r" };
    QTest::newRow("Read All Input")
        << 4u << 0 << "read-all-in" << 0 << 0
        << QStringList { "GET IN1 IN-INFO\r", "GET IN2 IN-INFO\r", "GET IN3 IN-INFO\r", "GET IN4 IN-INFO\r" };
    QTest::newRow("Read All Output")
        << 4u << 0 << "read-all-out" << 0 << 0
        << QStringList { "GET OUT1 OUT-INFO\r", "GET OUT2 OUT-INFO\r", "GET OUT3 OUT-INFO\r", "GET OUT4 OUT-INFO\r" };
    QTest::newRow("second output page, rotate row 1")
        << 20u << 1 << "rotate" << 1 << 2 << QStringList { "SET OUT18 ROTATION 180\r" };
    QTest::newRow("second output page, mute row 3")
        << 20u << 1 << "mute" << 3 << 1 << QStringList { "SET OUT20 AUDIO-MUTE ON\r" };
    QTest::newRow("second output page, read row 0")
        << 20u << 1 << "read-out" << 0 << 0 << QStringList { "GET OUT17 OUT-INFO\r" };
    // The fixed input lists send nothing, whatever reaches their slots.
    QTest::newRow("input type") << 4u << 0 << "input-type" << 0 << 0 << QStringList {};
    QTest::newRow("input output format") << 4u << 0 << "input-output-format" << 1 << 0 << QStringList {};
}

void TestSignalConfig::controlsQueueCommands()
{
    QFETCH(quint32, ports);
    QFETCH(int, outputPageDowns);
    QFETCH(QString, control);
    QFETCH(int, row);
    QFETCH(int, item);
    QFETCH(QStringList, queued);

    Ui_SignalConfig *page = NewPage(ports, ports, true);
    for (int i = 0; i < outputPageDowns; ++i)
        QTest::mouseClick(page->outputDownButton, Qt::LeftButton);
    LinkMode = LinkModeTcp;
    QSignalSpy kicks(page, &Ui_SignalConfig::SGL_UpdateEmit);

    if (control == QLatin1String("audio"))
        ChooseItem(page->inputAudioCombos.at(row), item);
    else if (control == QLatin1String("type"))
        ChooseItem(page->outputTypeCombos.at(row), item);
    else if (control == QLatin1String("resolution"))
        ChooseItem(page->outputFormatCombos.at(row), item);
    else if (control == QLatin1String("rotate"))
        ChooseItem(page->outputRotateCombos.at(row), item);
    else if (control == QLatin1String("mute") || control == QLatin1String("freeze")) {
        QCheckBox *box = (control == QLatin1String("mute") ? page->outputMuteBoxes : page->outputFreezeBoxes).at(row);
        for (int click = 0; click < item; ++click)
            ClickCheckBox(box);
    } else if (control == QLatin1String("read-in"))
        QTest::mouseClick(page->inputReadButtons.at(row), Qt::LeftButton);
    else if (control == QLatin1String("read-out"))
        QTest::mouseClick(page->outputReadButtons.at(row), Qt::LeftButton);
    else if (control == QLatin1String("read-all-in"))
        QTest::mouseClick(page->readAllInputButton, Qt::LeftButton);
    else if (control == QLatin1String("read-all-out"))
        QTest::mouseClick(page->readAllOutputButton, Qt::LeftButton);
    else if (control == QLatin1String("input-type"))
        emit page->inputTypeCombos.at(row)->activated(item);
    else if (control == QLatin1String("input-output-format"))
        emit page->inputOutputFormatCombos.at(row)->activated(item);
    else
        QFAIL("unknown control");

    QCOMPARE(QueuedLines(TcpLinkQueue()), queued);
    QCOMPARE(kicks.count(), queued.size());
}

void TestSignalConfig::repliesShowInCells_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("shown");

    // Before the replies every list shows its last item and every field is empty.
    QTest::newRow("input format") << QStringList { "IN2 IN-INFO HDMI 1920x1080p60 Bypass EMBEDDED" } << "in-format" << 1
                                  << "1920x1080p60";
    QTest::newRow("input without signal, localised")
        << QStringList { "IN1 IN-INFO HDMI No-Signal x EMBEDDED" } << "in-format" << 0 << "Kein Signal";
    QTest::newRow("input resolution reply") << QStringList { "IN3 IN RESOLUTION 3840x2160p30" } << "in-format" << 2
                                            << "3840x2160p30";
    QTest::newRow("input resolution without signal")
        << QStringList { "IN4 IN RESOLUTION No-Signal" } << "in-format" << 3 << "Kein Signal";
    QTest::newRow("audio embedded") << QStringList { "IN1 IN-INFO HDMI No-Signal x EMBEDDED" } << "in-audio" << 0
                                    << "Embedded";
    QTest::newRow("audio unknown word") << QStringList { "IN1 IN-INFO HDMI No-Signal x SPDIF" } << "in-audio" << 0
                                        << "L/R";
    QTest::newRow("audio word in other case")
        << QStringList { "IN1 IN-INFO HDMI No-Signal x embedded" } << "in-audio" << 0 << "L/R";
    QTest::newRow("output type from HDCP") << QStringList { "OUT3 HDCP FORCE-1.4" } << "out-type" << 2 << "HDMI-1.4";
    QTest::newRow("output type unknown") << QStringList { "OUT3 HDCP FORCE-3.0" } << "out-type" << 2 << "HDMI";
    QTest::newRow("output information, type")
        << QStringList { "OUT2 OUT-INFO FORCE-2.2 1920x1080p60 1280x720p50" } << "out-type" << 1 << "HDMI-2.2";
    QTest::newRow("output information, input format")
        << QStringList { "OUT2 OUT-INFO FORCE-2.2 1920x1080p60 1280x720p50" } << "out-informat" << 1
        << "1920x1080p60";
    QTest::newRow("output information, resolution")
        << QStringList { "OUT2 OUT-INFO FORCE-2.2 1920x1080p60 1280x720p50" } << "out-resolution" << 1
        << "1280x720p50";
    QTest::newRow("output information, multiview")
        << QStringList { "OUT4 OUT-INFO FORCE-OFF Multi-Mode AUTO" } << "out-informat" << 3 << "Mehrfachbild";
    QTest::newRow("output information, no signal")
        << QStringList { "OUT1 OUT-INFO FORCE-OFF No-Signal AUTO" } << "out-informat" << 0 << "Kein Signal";
    QTest::newRow("resolution RB keyword")
        << QStringList { "OUT1 RESOLUTION 1920x1200p60RB" } << "out-resolution" << 0 << "1920x1200p60";
    QTest::newRow("resolution by its shown text only")
        << QStringList { "OUT1 RESOLUTION 1920x1200p60" } << "out-resolution" << 0 << "USER";
    QTest::newRow("resolution first item") << QStringList { "OUT4 RESOLUTION 4096x2160p60" } << "out-resolution" << 3
                                           << "4096x2160p60";
    QTest::newRow("latest reply wins")
        << QStringList { "OUT1 RESOLUTION AUTO", "OUT1 RESOLUTION 1024x768p60" } << "out-resolution" << 0
        << "1024x768p60";
    // Ports beyond the device's counts are dropped by the parser; nothing changes anywhere.
    QTest::newRow("output 5 of 4") << QStringList { "OUT5 HDCP FORCE-1.4" } << "out-type" << 3 << "HDMI";
    QTest::newRow("input 5 of 4") << QStringList { "IN5 IN RESOLUTION 1280x720p60" } << "in-format" << 3 << "";
}

void TestSignalConfig::repliesShowInCells()
{
    QFETCH(QStringList, lines);
    QFETCH(QString, column);
    QFETCH(int, row);
    QFETCH(QString, shown);

    S_NoSignal = QStringLiteral("Kein Signal");
    Slist_O_InputFormat_MultiMode = QStringLiteral("Mehrfachbild");
    Ui_Main mainWindow;
    Ui_SignalConfig *page = mainWindow.signalConfigPage;
    DeviceState_ConfirmModel();
    page->RebuildIfConfirmed();
    for (QComboBox *combo : page->inputAudioCombos + page->outputTypeCombos + page->outputFormatCombos)
        combo->setCurrentIndex(combo->count() - 1);
    const QStringList before = AllCells(*page);
    QSignalSpy kicks(page, &Ui_SignalConfig::SGL_UpdateEmit);

    LinkMode = LinkModeTcp;
    for (const QString &line : lines)
        TcpLinkQueue().pushReceived((line + QLatin1Char('\r')).toLatin1());
    mainWindow.SLT_UnifyUpdateRecv();

    QCOMPARE(Cell(*page, column, row), shown);
    // No other port's row changed (the other fields of an information reply have their own
    // rows above), and setting an item from a reply sends nothing.
    const QString table = column.left(column.indexOf(QLatin1Char('-')) + 1);
    const QStringList after = AllCells(*page);
    QCOMPARE(after.size(), before.size());
    for (int i = 0; i < after.size(); ++i) {
        const bool sameRow = after.at(i).startsWith(table)
            && after.at(i).section(QLatin1Char('/'), 1).startsWith(QStringLiteral("%1=").arg(row));
        if (!sameRow)
            QCOMPARE(after.at(i), before.at(i));
    }
    QCOMPARE(QueuedLines(TcpLinkQueue()), QStringList());
    QCOMPARE(kicks.count(), 0);
}

void TestSignalConfig::repliesFollowThePage_data()
{
    QTest::addColumn<int>("inputPageDowns");
    QTest::addColumn<int>("outputPageDowns");
    QTest::addColumn<quint32>("port");
    QTest::addColumn<int>("row");

    // With 20 ports of each kind: page 0 shows ports 0..15, page 1 ports 16..19 in rows 0..3.
    QTest::newRow("port 0 on page 0") << 0 << 0 << 0u << 0;
    QTest::newRow("port 15 on page 0") << 0 << 0 << 15u << 15;
    QTest::newRow("port 17 not on page 0") << 0 << 0 << 17u << -1;
    QTest::newRow("port 17 on page 1") << 1 << 1 << 17u << 1;
    QTest::newRow("port 3 not on page 1") << 1 << 1 << 3u << -1;
    QTest::newRow("port 19 on page 1") << 1 << 1 << 19u << 3;
    QTest::newRow("port 20 beyond the count") << 1 << 1 << 20u << -1;
    QTest::newRow("port 159 beyond the count") << 1 << 1 << 159u << -1;
}

void TestSignalConfig::repliesFollowThePage()
{
    QFETCH(int, inputPageDowns);
    QFETCH(int, outputPageDowns);
    QFETCH(quint32, port);
    QFETCH(int, row);

    Ui_SignalConfig *page = NewPage(20, 20, true);
    for (int i = 0; i < inputPageDowns; ++i)
        QTest::mouseClick(page->inputDownButton, Qt::LeftButton);
    for (int i = 0; i < outputPageDowns; ++i)
        QTest::mouseClick(page->outputDownButton, Qt::LeftButton);
    const QStringList before = AllCells(*page);

    page->ShowInputFormat(port, QStringLiteral("1280x720p60"));
    page->ShowInputAudio(port, QStringLiteral("L/R"));
    page->ShowOutputType(port, QStringLiteral("FORCE-OFF"));
    page->ShowOutputInputFormat(port, QStringLiteral("1024x768p60"));
    page->ShowOutputResolution(port, QStringLiteral("AUTO"));

    QStringList expected = before;
    if (row >= 0) {
        const QList<QPair<QString, QString>> shown { { "in-format", "1280x720p60" }, { "in-audio", "L/R" },
            { "out-type", "HDMI" }, { "out-informat", "1024x768p60" }, { "out-resolution", "AUTO" } };
        for (const auto &cell : shown) {
            const QString prefix = QStringLiteral("%1/%2=").arg(cell.first).arg(row);
            for (QString &text : expected) {
                if (text.startsWith(prefix))
                    text = prefix + cell.second;
            }
        }
    }
    QCOMPARE(AllCells(*page), expected);
}

void TestSignalConfig::paging_data()
{
    QTest::addColumn<quint32>("inputs");
    QTest::addColumn<quint32>("outputs");
    QTest::addColumn<QString>("presses");
    QTest::addColumn<QStringList>("inputPorts");
    QTest::addColumn<QStringList>("outputPorts");

    const auto range = [](int first, int last) {
        QStringList numbers;
        for (int n = first; n <= last; ++n)
            numbers << QString::number(n);
        return numbers;
    };
    // One letter per press: i/I input down/up, o/O output down/up.
    QTest::newRow("20 x 20, start") << 20u << 20u << "" << range(1, 16) << range(1, 16);
    QTest::newRow("20 x 20, inputs down") << 20u << 20u << "i" << range(17, 20) << range(1, 16);
    QTest::newRow("20 x 20, outputs down twice") << 20u << 20u << "oo" << range(1, 16) << range(17, 20);
    QTest::newRow("20 x 20, down and up") << 20u << 20u << "iI" << range(1, 16) << range(1, 16);
    QTest::newRow("20 x 20, up at the top") << 20u << 20u << "IO" << range(1, 16) << range(1, 16);
    QTest::newRow("40 outputs, down three times") << 4u << 40u << "ooo" << range(1, 4) << range(33, 40);
    QTest::newRow("4 x 4, down refused") << 4u << 4u << "io" << range(1, 4) << range(1, 4);
    QTest::newRow("exactly 32 inputs") << 32u << 4u << "ii" << range(17, 32) << range(1, 4);
}

void TestSignalConfig::paging()
{
    QFETCH(quint32, inputs);
    QFETCH(quint32, outputs);
    QFETCH(QString, presses);
    QFETCH(QStringList, inputPorts);
    QFETCH(QStringList, outputPorts);

    Ui_SignalConfig *page = NewPage(inputs, outputs, true);
    page->PageRefresh(true, true);
    for (const QChar press : presses) {
        QPushButton *button = press == QLatin1Char('i') ? page->inputDownButton
            : press == QLatin1Char('I')                 ? page->inputUpButton
            : press == QLatin1Char('o')                 ? page->outputDownButton
                                                        : page->outputUpButton;
        // Hidden arrows: the slot must still refuse to move.
        if (button->isVisible())
            QTest::mouseClick(button, Qt::LeftButton);
        else
            button->click();
    }

    QCOMPARE(VisibleTexts(page->inputPortLabels), inputPorts);
    QCOMPARE(VisibleTexts(page->outputPortLabels), outputPorts);
    int visibleAudio = 0;
    for (const QComboBox *combo : page->inputAudioCombos)
        visibleAudio += combo->isVisible() ? 1 : 0;
    QCOMPARE(visibleAudio, inputPorts.size());
    int visibleMute = 0;
    for (const QCheckBox *box : page->outputMuteBoxes) {
        visibleMute += box->isVisible() ? 1 : 0;
        QVERIFY(!box->isChecked());
    }
    QCOMPARE(visibleMute, outputPorts.size());
    // A shown row has its lists filled again.
    QCOMPARE(page->outputFormatCombos.first()->count(), 18);
}

void TestSignalConfig::retranslate_data()
{
    QTest::addColumn<bool>("noRefresh");
    QTest::addColumn<bool>("noRebuild");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<bool>("cellsKept");
    QTest::addColumn<int>("rows");

    // A language switch changes texts only: what the device reported stays.
    QTest::newRow("language reload") << false << true << true << true << 4;
    QTest::newRow("texts only") << true << true << true << true << 4;
    QTest::newRow("rebuild once confirmed") << true << false << true << false << 4;
    QTest::newRow("no rebuild before identification") << true << false << false << true << 16;
}

void TestSignalConfig::retranslate()
{
    QFETCH(bool, noRefresh);
    QFETCH(bool, noRebuild);
    QFETCH(bool, confirmed);
    QFETCH(bool, cellsKept);
    QFETCH(int, rows);

    Ui_SignalConfig *page = NewPage(confirmed ? 4 : 16, confirmed ? 4 : 16, confirmed);
    page->ShowInputFormat(0, QStringLiteral("1920x1080p60"));
    // The device confirmed the mute of output 1.
    DeviceState.signal.outMute[0] = 1;
    page->outputMuteBoxes.first()->setChecked(true);
    S_Port = QStringLiteral("Anschluss");
    S_Freeze = QStringLiteral("Standbild");
    SgroupBox_Output = QStringLiteral("Ausgang");
    SpushButton_ReadAllInput = QStringLiteral("Alle Eingänge lesen");
    S_ReadWrite[0] = QStringLiteral("Lesen");

    page->Retranslate(noRefresh, noRebuild);

    QCOMPARE(page->inputHeaderLabels.first()->text(), QStringLiteral("Anschluss"));
    QCOMPARE(page->outputHeaderLabels.first()->text(), QStringLiteral("Anschluss"));
    QCOMPARE(page->outputHeaderLabels.last()->text(), QStringLiteral("Standbild"));
    QCOMPARE(page->outputGroup->title(), QStringLiteral("Ausgang"));
    QCOMPARE(page->readAllInputButton->text(), QStringLiteral("Alle Eingänge lesen"));
    QCOMPARE(page->inputTypeCombos.size(), rows);
    QCOMPARE(page->inputFormatEdits.first()->text(), cellsKept ? QStringLiteral("1920x1080p60") : QString());
    QCOMPARE(page->outputMuteBoxes.first()->isChecked(), cellsKept);
    if (!noRefresh || !cellsKept)
        QCOMPARE(page->inputReadButtons.first()->text(), QStringLiteral("Lesen"));
}

// The main window's language switch with a link up: every value the device reported stays,
// the texts that stand for a device word come in the new language, and a choice the device
// never confirmed gives way to the confirmed (here: unknown) state.
void TestSignalConfig::languageSwitchKeepsValues_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("deviceValue");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("shown");

    QTest::newRow("input format") << "input format" << 1 << "3840x2160p60" << "" << "3840x2160p60";
    QTest::newRow("input without signal, in the new language") << "input format" << 2 << "No-Signal" << ""
                                                               << "Kein Signal";
    QTest::newRow("input audio, item renamed") << "input audio" << 3 << "" << "IN4 AUDIO-SRC L/R" << "1:Analog";
    QTest::newRow("output input format, multi-mode") << "output input format" << 0 << "Multi-Mode" << ""
                                                     << "Mehrfach";
    QTest::newRow("output type") << "output type" << 1 << "" << "OUT2 HDCP FORCE-2.2" << "1:HDMI-2.2";
    QTest::newRow("output resolution") << "output resolution" << 2 << "" << "OUT3 RESOLUTION 1920x1200p60RB"
                                       << "6:1920x1200p60";
    QTest::newRow("rotation the device confirmed") << "rotate" << 3 << "" << "OUT4 ROTATION 180" << "2:180°";
    QTest::newRow("mute the device confirmed") << "mute" << 0 << "" << "OUT1 AUDIO-MUTE ON" << "checked";
    QTest::newRow("freeze the device confirmed") << "freeze" << 3 << "" << "OUT4 FREEZE-WINALL ON" << "checked";
    QTest::newRow("rotation chosen, never confirmed") << "rotate" << 3 << "2" << "" << "-1:";
    QTest::newRow("mute ticked, never confirmed") << "mute" << 0 << "" << "" << "unchecked";
    QTest::newRow("freeze ticked, never confirmed") << "freeze" << 3 << "" << "" << "unchecked";
}

void TestSignalConfig::languageSwitchKeepsValues()
{
    QFETCH(QString, control);
    QFETCH(int, row);
    QFETCH(QString, deviceValue);
    QFETCH(QString, reply);
    QFETCH(QString, shown);

    GuiTest::WriteOtherLanguageFile({ { &S_NoSignal, QStringLiteral("Kein Signal") },
        { &ScomboBox_I_AudioSelect[1], QStringLiteral("Analog") },
        { &Slist_O_InputFormat_MultiMode, QStringLiteral("Mehrfach") }, { &S_ReadWrite[0], QStringLiteral("Lesen") } });
    Ui_Main mainWindow;
    mainWindow.show();
    LinkMode = LinkModeTcp;
    DeviceState_ConfirmModel();
    Ui_SignalConfig *page = mainWindow.signalConfigPage;
    page->BuildRows(4, 4);
    const quint32 port = quint32(row);
    if (!reply.isEmpty())
        ParseReplyLine(*mainWindow.replyPages, reply + QLatin1Char('\r'));
    else if (control == QLatin1String("input format"))
        page->ShowInputFormat(port, deviceValue);
    else if (control == QLatin1String("output input format"))
        page->ShowOutputInputFormat(port, deviceValue);
    else if (control == QLatin1String("rotate"))
        page->outputRotateCombos.at(row)->setCurrentIndex(deviceValue.toInt());
    else if (control == QLatin1String("mute"))
        page->outputMuteBoxes.at(row)->setChecked(true);
    else
        page->outputFreezeBoxes.at(row)->setChecked(true);

    mainWindow.SLT_ReloadUILanguage(ScomboBox_LanguageSelect[1]);
    QCOMPARE(Key_LanguageIsEnglish, QStringLiteral("0"));
    QCOMPARE(page->inputReadButtons.at(row)->text(), QStringLiteral("Lesen"));

    auto choice = [](const QComboBox *combo) {
        return QStringLiteral("%1:%2").arg(combo->currentIndex()).arg(combo->currentText());
    };
    QString actual;
    if (control == QLatin1String("input format"))
        actual = page->inputFormatEdits.at(row)->text();
    else if (control == QLatin1String("input audio"))
        actual = choice(page->inputAudioCombos.at(row));
    else if (control == QLatin1String("output input format"))
        actual = page->outputInputFormatEdits.at(row)->text();
    else if (control == QLatin1String("output type"))
        actual = choice(page->outputTypeCombos.at(row));
    else if (control == QLatin1String("output resolution"))
        actual = choice(page->outputFormatCombos.at(row));
    else if (control == QLatin1String("rotate"))
        actual = choice(page->outputRotateCombos.at(row));
    else if (control == QLatin1String("mute"))
        actual = page->outputMuteBoxes.at(row)->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    else
        actual = page->outputFreezeBoxes.at(row)->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked");
    QCOMPARE(actual, shown);
    // No setting was sent for it (the switch itself asks for the model again).
    for (const QString &line : QueuedLines(TcpLinkQueue()))
        QCOMPARE(line, QStringLiteral("GET MODEL TYPE\r"));
}

// The operator's view of a real exchange: after the synchronisation the tables show what the
// simulator reports, and a change comes back when its port is read again.
void TestSignalConfig::synchronisedWithSimulator()
{
    QVERIFY2(QFileInfo::exists(TestBinDir() + QStringLiteral("/tavilon-sim")), "tavilon-sim is not built");
    TcpLinkQueue().deactivate();
    GuiTest::SimProcess sim(m_fixture.Path() + QStringLiteral("/tty"));
    QVERIFY(sim.WaitUntilListening());

    Ui_Main mainWindow;
    Ui_Uart_Network *connection = mainWindow.connectionPage;
    // The link thread must be stopped before the window goes, whatever the outcome.
    const auto disconnect = qScopeGuard([connection] { connection->DisconnectActiveLink(); });
    mainWindow.show();
    mainWindow.tabWidget->setCurrentWidget(connection);
    GuiTest::TypeInto(connection->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(connection->portEdit, sim.tcpPort);
    QVERIFY(GuiTest::ChooseLoopbackLocalAddress(connection));
    QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        connection->statusLog->toPlainText().contains(QLatin1String("->Sync Over!<-")), SyncTimeoutMs);

    Ui_SignalConfig *page = mainWindow.signalConfigPage;
    mainWindow.tabWidget->setCurrentWidget(page);
    QCOMPARE(page->inputFormatEdits.size(), 4);
    QStringList inputFormats;
    QStringList outputFormats;
    for (int row = 0; row < 4; ++row) {
        inputFormats << page->inputFormatEdits.at(row)->text();
        outputFormats << page->outputInputFormatEdits.at(row)->text();
        QCOMPARE(page->inputAudioCombos.at(row)->currentText(), QStringLiteral("Embedded"));
        QCOMPARE(page->outputTypeCombos.at(row)->currentText(), QStringLiteral("HDMI-1.4"));
        QCOMPARE(page->outputFormatCombos.at(row)->currentText(), QStringLiteral("AUTO"));
    }
    const QStringList signalsOnInputs { "3840x2160p60", "1920x1080p60", "3840x2160p30", "No-Signal" };
    QCOMPARE(inputFormats, signalsOnInputs);
    // Each output shows its own input in a single window.
    QCOMPARE(outputFormats, signalsOnInputs);

    // A new resolution and audio source, then the screen is put back locally (which sends
    // nothing) so that only the device's answer to the reads can show the new values.
    QSignalSpy sent(&mainWindow, &Ui_Main::SGL_DEBUG_SHOW_SendText);
    QStringList received;
    connect(&mainWindow, &Ui_Main::SGL_DEBUG_SHOW_RecvText, this, [&](const QString &line) { received << line; });
    ChooseItem(page->outputFormatCombos.at(1), 6);
    QTRY_COMPARE(sent.count(), 1);
    QCOMPARE(sent.at(0).at(0).toString(), QStringLiteral("SET OUT2 RESOLUTION 1920x1200p60RB\r"));
    ChooseItem(page->inputAudioCombos.at(2), 1);
    QTRY_COMPARE(sent.count(), 2);
    QCOMPARE(sent.at(1).at(0).toString(), QStringLiteral("SET IN3 AUDIO-SRC L/R\r"));
    // Both answers are in before the screen is put back.
    QTRY_VERIFY(!received.filter(QStringLiteral("IN3 AUDIO-SRC")).isEmpty());
    QVERIFY(!received.filter(QStringLiteral("OUT2 RESOLUTION")).isEmpty());
    page->outputFormatCombos.at(1)->setCurrentIndex(0);
    page->inputAudioCombos.at(2)->setCurrentIndex(0);

    QTest::mouseClick(page->outputReadButtons.at(1), Qt::LeftButton);
    QTest::mouseClick(page->inputReadButtons.at(2), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(page->outputFormatCombos.at(1)->currentText(), QStringLiteral("1920x1200p60"), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(page->inputAudioCombos.at(2)->currentText(), QStringLiteral("L/R"), 5000);
    QCOMPARE(sent.count(), 4);
    QCOMPARE(sent.at(2).at(0).toString(), QStringLiteral("GET OUT2 OUT-INFO\r"));
    QCOMPARE(sent.at(3).at(0).toString(), QStringLiteral("GET IN3 IN-INFO\r"));
    // The other rows kept their values.
    QCOMPARE(page->outputFormatCombos.at(0)->currentText(), QStringLiteral("AUTO"));
    QCOMPARE(page->inputAudioCombos.at(1)->currentText(), QStringLiteral("Embedded"));
}

QTEST_MAIN(TestSignalConfig)
#include "tst_signalconfig.moc"
