// The pages show what the device confirmed: a choice whose command timed out, was refused or
// was lost with the link gives way to the confirmed state, also after a language switch; long
// names are cut at the end with the whole name in the tooltip; a burst of time-outs gives one
// box that lists the commands.

#include "GuiPageActions.h"
#include "GuiSimProcess.h"
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/Ui_Uart_Network.h"
#include "pages/Ui_Matrix.h"
#include "pages/Ui_Multiview.h"
#include "pages/Ui_SignalConfig.h"
#include "protocol/DeviceState.h"
#include "settings/LanguageTexts.h"
#include "shell/MyComboBox.h"
#include "shell/NameElision.h"
#include "shell/TimeoutNotices.h"
#include "shell/Ui_Main.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabWidget>
#include <QtTest>

using GuiTest::ChooseItem;
using GuiTest::QueuedLines;

namespace {

constexpr int SyncTimeoutMs = 15000;
constexpr int ReplyTimeoutMs = 5000;
const QChar Ellipsis(0x2026);
constexpr int SizeSmall = 0;
constexpr int SizeUser = 3;

// A click on the box's indicator, where the operator ticks it.
void ClickCheckBox(QCheckBox *box)
{
    QStyleOptionButton option;
    option.initFrom(box);
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, indicator.center());
}

} // namespace

class TestTruthfulPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_fixture.TakeDefaults(); }
    void init();
    void cleanup();

    void failedRequestShowsConfirmedState_data();
    void failedRequestShowsConfirmedState();
    void otherChoicesInFlightStay_data();
    void otherChoicesInFlightStay();
    void mutedChoiceFallsBackOnTheSimulator();
    void lostPipUserReplyCouplesNothing();
    void userWindowEditorsWaitForTheirWindow_data();
    void userWindowEditorsWaitForTheirWindow();
    void longNamesAreCutAtTheEnd_data();
    void longNamesAreCutAtTheEnd();
    void timeoutBurstGathersInOneBox_data();
    void timeoutBurstGathersInOneBox();
    void shortCommandText_data();
    void shortCommandText();

private:
    Ui_Main *NewMainWindow();
    void Receive(const QStringList &lines);
    QWidget *PageOf(const QString &control) const;
    // Operates the control as the operator does (item: the list entry, ignored for boxes).
    void Operate(const QString &control, int item);
    // What the control shows: an index, or "checked"/"unchecked", with PIP's partner.
    QString Shown(const QString &control) const;

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_Main> m_main;
};

void TestTruthfulPages::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    RequestTracker::instance().clear();
    LinkMode = LinkModeNone;
    TcpLinkQueue().activate();
}

void TestTruthfulPages::cleanup()
{
    m_main.reset();
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    RequestTracker::instance().clear();
    m_fixture.End();
}

Ui_Main *TestTruthfulPages::NewMainWindow()
{
    m_main.reset(new Ui_Main());
    DeviceState_ConfirmModel();
    m_main->matrixPage->RebuildIfConfirmed();
    m_main->signalConfigPage->BuildRows(4, 4);
    m_main->multiviewPage->Rebuild();
    m_main->multiviewPage->Refresh();
    m_main->show();
    LinkMode = LinkModeTcp;
    return m_main.data();
}

void TestTruthfulPages::Receive(const QStringList &lines)
{
    for (const QString &line : lines)
        TcpLinkQueue().pushReceived(line.toLatin1() + '\r');
    m_main->SLT_UnifyUpdateRecv();
}

QWidget *TestTruthfulPages::PageOf(const QString &control) const
{
    if (control == QLatin1String("allset"))
        return m_main->matrixPage;
    if (control.startsWith(QLatin1String("in ")) || control.startsWith(QLatin1String("out ")))
        return m_main->signalConfigPage;
    return m_main->multiviewPage;
}

void TestTruthfulPages::Operate(const QString &control, int item)
{
    Ui_Multiview *multiview = m_main->multiviewPage;
    Ui_SignalConfig *signal = m_main->signalConfigPage;
    const QMap<QString, QComboBox *> combos { { "vka", multiview->vkaComboBox }, { "itc", multiview->itcComboBox },
        { "audio", multiview->audioSourceComboBox }, { "position", multiview->positionComboBox },
        { "size", multiview->sizeComboBox }, { "layout", multiview->layoutComboBox },
        { "aspect", multiview->aspectComboBox }, { "allset", m_main->matrixPage->allOutputComboBox },
        { "in audio", signal->inputAudioCombos.first() }, { "out hdcp", signal->outputTypeCombos.first() },
        { "out resolution", signal->outputFormatCombos.first() },
        { "out rotation", signal->outputRotateCombos.first() } };
    if (QComboBox *combo = combos.value(control)) {
        ChooseItem(combo, item);
        return;
    }
    QCheckBox *box = control == QLatin1String("out mute") ? signal->outputMuteBoxes.first()
                                                          : signal->outputFreezeBoxes.first();
    ClickCheckBox(box);
}

QString TestTruthfulPages::Shown(const QString &control) const
{
    Ui_Multiview *multiview = m_main->multiviewPage;
    Ui_SignalConfig *signal = m_main->signalConfigPage;
    auto index = [](const QComboBox *combo) { return QString::number(combo->currentIndex()); };
    auto ticked = [](const QCheckBox *box) { return box->isChecked() ? QStringLiteral("checked") : QStringLiteral("unchecked"); };
    if (control == QLatin1String("position") || control == QLatin1String("size"))
        return index(multiview->positionComboBox) + QLatin1Char('/') + index(multiview->sizeComboBox);
    const QMap<QString, const QComboBox *> combos { { "vka", multiview->vkaComboBox },
        { "itc", multiview->itcComboBox }, { "audio", multiview->audioSourceComboBox },
        { "layout", multiview->layoutComboBox }, { "aspect", multiview->aspectComboBox },
        { "allset", m_main->matrixPage->allOutputComboBox }, { "in audio", signal->inputAudioCombos.first() },
        { "out hdcp", signal->outputTypeCombos.first() }, { "out resolution", signal->outputFormatCombos.first() },
        { "out rotation", signal->outputRotateCombos.first() } };
    if (const QComboBox *combo = combos.value(control))
        return index(combo);
    return ticked(control == QLatin1String("out mute") ? signal->outputMuteBoxes.first()
                                                       : signal->outputFreezeBoxes.first());
}

void TestTruthfulPages::failedRequestShowsConfirmedState_data()
{
    QTest::addColumn<QStringList>("confirmed"); // reply lines the device sent before
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("shown");

    const QStringList pip { "OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL LeftTop SMALL" };
    const QStringList pbp { "OUT1 MULTIVIEW-SYNC PBP HDMI1 HDMI2 NULL NULL FULL 1 3" };
    struct Control {
        const char *name;
        QStringList confirmed;
        int item;
        const char *shown;
    };
    const Control controls[] = {
        { "vka", { "OUT1 VKA BLUESCREEN" }, 2, "0" },
        { "itc", { "OUT1 ITC OFF" }, 0, "1" },
        { "audio", { "OUT1 AUDIO SOURCE HDMI2" }, 4, "2" },
        // USER on one of the pair shows USER on the other while in flight; both fall back.
        { "position", pip, 4, "0/0" },
        { "size", pip, 3, "0/0" },
        { "layout", pbp, 2, "0" },
        { "aspect", pbp, 1, "0" },
        { "allset", { "IN2 VIDEO ALL" }, 3, "1" },
        { "in audio", { "IN1 AUDIO-SRC L/R" }, 0, "1" },
        { "out hdcp", { "OUT1 HDCP FORCE-2.2" }, 2, "1" },
        // Never confirmed: the list shows no choice rather than the unconfirmed one.
        { "out resolution", {}, 3, "-1" },
        { "out rotation", { "OUT1 ROTATION 90" }, 2, "1" },
        { "out mute", { "OUT1 AUDIO-MUTE OFF" }, 0, "unchecked" },
        { "out freeze", {}, 0, "unchecked" },
    };
    for (const Control &control : controls) {
        QTest::newRow(qPrintable(QStringLiteral("%1, time-out").arg(control.name)))
            << control.confirmed << control.name << control.item << "time-out" << control.shown;
    }
    // The other ways a request ends without the device's confirmation.
    const char *others[] = { "vka", "position", "allset", "out hdcp", "out mute" };
    for (const char *name : others) {
        const auto control = std::find_if(
            std::begin(controls), std::end(controls), [name](const Control &c) { return qstrcmp(c.name, name) == 0; });
        for (const char *failure : { "refusal", "lost link", "language switch" }) {
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(name, failure)))
                << control->confirmed << name << control->item << failure << control->shown;
        }
    }
}

void TestTruthfulPages::failedRequestShowsConfirmedState()
{
    QFETCH(QStringList, confirmed);
    QFETCH(QString, control);
    QFETCH(int, item);
    QFETCH(QString, failure);
    QFETCH(QString, shown);

    MessageBoxCatcher catcher;
    Ui_Main *mainWindow = NewMainWindow();
    mainWindow->tabWidget->setCurrentWidget(PageOf(control));
    Receive(confirmed);
    const QString before = Shown(control);
    TcpLinkQueue().deactivate();
    TcpLinkQueue().activate();

    Operate(control, item);
    const QStringList queued = QueuedLines(TcpLinkQueue());
    QVERIFY(!queued.isEmpty());
    // While the command is in flight the control shows the operator's choice.
    QVERIFY2(Shown(control) != before, qPrintable(Shown(control)));
    mainWindow->SLT_UnifyUpdateSend(queued.first());

    if (failure == QLatin1String("time-out")) {
        mainWindow->SLT_WaitReplyTimeoutMessage(queued.first());
        QCOMPARE(catcher.Texts().size(), 1);
    } else if (failure == QLatin1String("refusal")) {
        Receive({ QStringLiteral("ERROR: INVALID PARAMETER") });
        QVERIFY(mainWindow->connectionPage->statusLog->toPlainText().contains(SMSG_DeviceRefused));
    } else if (failure == QLatin1String("lost link")) {
        emit mainWindow->connectionPage->SGL_LinkLost(QDateTime::currentDateTime());
    } else {
        mainWindow->SLT_ReloadUILanguage(ScomboBox_LanguageSelect[0]);
    }
    QCOMPARE(Shown(control), shown);
}

void TestTruthfulPages::otherChoicesInFlightStay_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<int>("failingItem");
    QTest::addColumn<QString>("waiting");
    QTest::addColumn<int>("waitingItem");
    QTest::addColumn<QString>("waitingShown");

    QTest::newRow("VKA fails, HDCP waits") << "vka" << 2 << "out hdcp" << 2 << "2";
    QTest::newRow("rotation fails, VKA waits") << "out rotation" << 1 << "vka" << 1 << "1";
    QTest::newRow("Allset fails, ITC waits") << "allset" << 2 << "itc" << 0 << "0";
}

// A failure re-shows the controls its own request touched; a choice still on its way stays.
void TestTruthfulPages::otherChoicesInFlightStay()
{
    QFETCH(QString, failing);
    QFETCH(int, failingItem);
    QFETCH(QString, waiting);
    QFETCH(int, waitingItem);
    QFETCH(QString, waitingShown);

    MessageBoxCatcher catcher;
    Ui_Main *mainWindow = NewMainWindow();
    Receive({ "OUT1 VKA BLUESCREEN", "OUT1 ITC OFF", "OUT1 HDCP FORCE-1.4", "OUT1 ROTATION 0", "IN1 VIDEO ALL" });
    TcpLinkQueue().deactivate();
    TcpLinkQueue().activate();
    mainWindow->tabWidget->setCurrentWidget(PageOf(failing));
    Operate(failing, failingItem);
    mainWindow->tabWidget->setCurrentWidget(PageOf(waiting));
    Operate(waiting, waitingItem);
    const QStringList queued = QueuedLines(TcpLinkQueue());
    QCOMPARE(queued.size(), 2);
    mainWindow->SLT_UnifyUpdateSend(queued.first());
    mainWindow->SLT_WaitReplyTimeoutMessage(queued.first());
    QCOMPARE(Shown(waiting), waitingShown);
    QVERIFY(Shown(failing) != QString::number(failingItem));
}

// The operator's case against the simulator that never answers one choice.
void TestTruthfulPages::mutedChoiceFallsBackOnTheSimulator()
{
    QVERIFY2(QFileInfo::exists(TestBinDir() + QStringLiteral("/tavilon-sim")), "tavilon-sim is not built");
    TcpLinkQueue().deactivate();
    GuiTest::SimProcess sim(QString(), { QStringLiteral("--mute"), QStringLiteral("VKA NOTIMING") });
    QVERIFY(sim.WaitUntilListening());
    MessageBoxCatcher catcher;

    Ui_Main mainWindow;
    Ui_Uart_Network *connection = mainWindow.connectionPage;
    const auto disconnect = qScopeGuard([connection] { connection->DisconnectActiveLink(); });
    mainWindow.show();
    GuiTest::TypeInto(connection->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(connection->portEdit, sim.tcpPort);
    QVERIFY(GuiTest::ChooseLoopbackLocalAddress(connection));
    QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        connection->statusLog->toPlainText().contains(QLatin1String("->Sync Over!<-")), SyncTimeoutMs);

    Ui_Multiview *page = mainWindow.multiviewPage;
    mainWindow.tabWidget->setCurrentWidget(page);
    QTRY_COMPARE_WITH_TIMEOUT(page->vkaComboBox->currentText(), QStringLiteral("BLUESCREEN"), ReplyTimeoutMs);
    ChooseItem(page->vkaComboBox, 2);
    QCOMPARE(page->vkaComboBox->currentText(), QStringLiteral("NOTIMING"));
    QTRY_COMPARE_WITH_TIMEOUT(catcher.Texts().size(), 1, ReplyTimeoutMs);
    QCOMPARE(catcher.Texts().first(), SMSG_CommunicationFail + QStringLiteral("SET OUT1 VKA NOTIMING\r"));
    QCOMPARE(page->vkaComboBox->currentText(), QStringLiteral("BLUESCREEN"));
    mainWindow.SLT_ReloadUILanguage(ScomboBox_LanguageSelect[0]);
    QCOMPARE(page->vkaComboBox->currentText(), QStringLiteral("BLUESCREEN"));
}

// The reply to USER is lost; a corner chosen next must not force a size the device never had.
void TestTruthfulPages::lostPipUserReplyCouplesNothing()
{
    QVERIFY2(QFileInfo::exists(TestBinDir() + QStringLiteral("/tavilon-sim")), "tavilon-sim is not built");
    TcpLinkQueue().deactivate();
    GuiTest::SimProcess sim(QString(), { QStringLiteral("--mute"), QStringLiteral("PIP POS USER") });
    QVERIFY(sim.WaitUntilListening());
    MessageBoxCatcher catcher;

    Ui_Main mainWindow;
    Ui_Uart_Network *connection = mainWindow.connectionPage;
    const auto disconnect = qScopeGuard([connection] { connection->DisconnectActiveLink(); });
    mainWindow.show();
    GuiTest::TypeInto(connection->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(connection->portEdit, sim.tcpPort);
    QVERIFY(GuiTest::ChooseLoopbackLocalAddress(connection));
    QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(
        connection->statusLog->toPlainText().contains(QLatin1String("->Sync Over!<-")), SyncTimeoutMs);

    Ui_Multiview *page = mainWindow.multiviewPage;
    mainWindow.tabWidget->setCurrentWidget(page);
    QTest::mouseClick(page->modeButtons.at(1), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(page->positionComboBox->currentText(), QStringLiteral("RightBottom"), ReplyTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(page->sizeComboBox->currentIndex(), SizeSmall, ReplyTimeoutMs);

    ChooseItem(page->positionComboBox, 4);
    QCOMPARE(page->sizeComboBox->currentIndex(), SizeUser);
    QTRY_COMPARE_WITH_TIMEOUT(catcher.Texts().size(), 1, ReplyTimeoutMs);
    QCOMPARE(MultiviewOf(0).pipSize, 0u);
    QCOMPARE(page->positionComboBox->currentText(), QStringLiteral("RightBottom"));
    QCOMPARE(page->sizeComboBox->currentIndex(), SizeSmall);

    ChooseItem(page->positionComboBox, 0);
    QCOMPARE(page->sizeComboBox->currentIndex(), SizeSmall);
    QTRY_COMPARE_WITH_TIMEOUT(MultiviewOf(0).pipPos, 0u, ReplyTimeoutMs);
    QCOMPARE(page->sizeComboBox->currentIndex(), SizeSmall);
    QCOMPARE(catcher.Texts().size(), 1);
}

void TestTruthfulPages::userWindowEditorsWaitForTheirWindow_data()
{
    QTest::addColumn<QStringList>("before"); // the block already showed this window
    QTest::addColumn<QStringList>("change");
    QTest::addColumn<int>("output"); // chosen before the change (0: stays)
    QTest::addColumn<QString>("read");

    const QString pipUser = QStringLiteral("OUT1 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL USER USER");
    const QString presenter = QStringLiteral("OUT1 MULTIVIEW-SYNC PBP HDMI1 HDMI2 NULL NULL FULL 3 3");
    QTest::newRow("PIP USER appears") << QStringList {} << QStringList { pipUser } << 0 << "GET OUT1 PIP USER\r";
    QTest::newRow("presenter layout appears")
        << QStringList {} << QStringList { presenter } << 0 << "GET OUT1 PBP-PRESENTER\r";
    QTest::newRow("PIP USER becomes the presenter layout")
        << QStringList { pipUser, "OUT1 PIP USER 1 2 3 4" } << QStringList { presenter } << 0
        << "GET OUT1 PBP-PRESENTER\r";
    QTest::newRow("a sync of the same window reads it again")
        << QStringList { pipUser, "OUT1 PIP USER 1 2 3 4" } << QStringList { pipUser } << 0 << "GET OUT1 PIP USER\r";
    QTest::newRow("another output with the same kind of window")
        << QStringList { pipUser, "OUT1 PIP USER 1 2 3 4" }
        << QStringList { "OUT2 MULTIVIEW-SYNC PIP HDMI1 HDMI2 NULL NULL USER USER" } << 1 << "GET OUT2 PIP USER\r";
}

void TestTruthfulPages::userWindowEditorsWaitForTheirWindow()
{
    QFETCH(QStringList, before);
    QFETCH(QStringList, change);
    QFETCH(int, output);
    QFETCH(QString, read);

    Ui_Main *mainWindow = NewMainWindow();
    Ui_Multiview *page = mainWindow->multiviewPage;
    mainWindow->tabWidget->setCurrentWidget(page);
    Receive(before);
    if (output != 0) {
        // The second output's window as the device had it when the page last looked.
        MultiviewOf(quint32(output)) = MultiviewOf(0);
        ChooseItem(page->outputComboBox, output);
    }
    TcpLinkQueue().deactivate();
    TcpLinkQueue().activate();
    Receive(change);

    QVERIFY(QueuedLines(TcpLinkQueue()).contains(read));
    for (QLineEdit *edit : qAsConst(page->userWindowEdits)) {
        QCOMPARE(edit->text(), QString());
        QVERIFY(!edit->isEnabled());
    }
    QVERIFY(!page->userWindowWriteButton->isEnabled());
    const QString prefix = read.mid(4, read.size() - 5);
    Receive({ prefix + QStringLiteral(" 10 20 30 40") });
    QCOMPARE(page->userWindowEdits.at(3)->text(), QStringLiteral("40"));
    QVERIFY(page->userWindowEdits.at(3)->isEnabled());
    QVERIFY(page->userWindowWriteButton->isEnabled());
}

void TestTruthfulPages::longNamesAreCutAtTheEnd_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("cut");

    for (const char *where : { "multiview source", "matrix input", "matrix output" }) {
        QTest::newRow(qPrintable(QStringLiteral("%1, long").arg(where))) << where << "DocumentCameraHDMI3" << true;
        QTest::newRow(qPrintable(QStringLiteral("%1, short").arg(where))) << where << "PC" << false;
        QTest::newRow(qPrintable(QStringLiteral("%1, long without spaces to wrap at").arg(where)))
            << where << "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW" << true;
    }
}

void TestTruthfulPages::longNamesAreCutAtTheEnd()
{
    QFETCH(QString, where);
    QFETCH(QString, name);
    QFETCH(bool, cut);

    S_InputName[0] = name;
    S_OutputName[0] = name;
    Ui_Main *mainWindow = NewMainWindow();
    mainWindow->SLT_SyncInputSourceName();
    mainWindow->matrixPage->PageRefresh(true, true);
    QLabel *label = where == QLatin1String("multiview source") ? mainWindow->multiviewPage->sourceLabels.first()
        : where == QLatin1String("matrix input")             ? mainWindow->matrixPage->headerLabels.at(1)
                                                              : mainWindow->matrixPage->headerLabels.at(9);
    const QString text = label->text();
    QCOMPARE(text.endsWith(Ellipsis), cut);
    if (cut)
        QVERIFY(name.startsWith(text.chopped(1)));
    else
        QCOMPARE(text, name);
    // One line, as wide as the label at most.
    QVERIFY(QFontMetrics(label->font()).horizontalAdvance(text) <= label->width());
    QCOMPARE(label->toolTip(), name + QLatin1Char('\n') + STIPS_DoubleChickModifyName);
}

void TestTruthfulPages::timeoutBurstGathersInOneBox_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("text");

    const QString heading = SMSG_CommunicationFail;
    QTest::newRow("one") << QStringList { "GET MATRIX-ROUTE\r" } << heading + "GET MATRIX-ROUTE\r";
    QTest::newRow("three in a burst") << QStringList { "GET MATRIX-ROUTE\r", "GET OUT1 MULTIVIEW-SYNC\r", "GET OUT1 VKA\r" }
                                      << heading + "GET MATRIX-ROUTE\r\nGET OUT1 MULTIVIEW-SYNC\nGET OUT1 VKA";
    const QString edid = QStringLiteral("SET IN1 EDID-USER ") + QString(700, QLatin1Char('A')) + "\r";
    QTest::newRow("a long command after the first")
        << QStringList { "GET OUT2 VKA\r", edid } << heading + "GET OUT2 VKA\r\n" + edid.left(60) + Ellipsis;
}

// The first time-out opens the box; the others arrive while it is open (from its event loop).
void TestTruthfulPages::timeoutBurstGathersInOneBox()
{
    QFETCH(QStringList, commands);
    QFETCH(QString, text);

    Ui_Main *mainWindow = NewMainWindow();
    QStringList shown;
    // Closes whatever further box would open over the first one (none should).
    QScopedPointer<MessageBoxCatcher> stacked;
    QTimer::singleShot(0, mainWindow, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        stacked.reset(new MessageBoxCatcher);
        for (int k = 1; k < commands.size(); ++k)
            mainWindow->SLT_WaitReplyTimeoutMessage(commands.at(k));
        shown << box->text();
        box->findChild<QAbstractButton *>(QLatin1String(MessageBoxOkObjectName))->click();
    });
    mainWindow->SLT_WaitReplyTimeoutMessage(commands.first());
    QVERIFY(stacked);
    QCOMPARE(stacked->Texts(), QStringList());
    QCOMPARE(shown, QStringList { text });
}

void TestTruthfulPages::shortCommandText_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("shown");

    const QString sixty(60, QLatin1Char('x'));
    QTest::newRow("short, CR kept") << "GET OUT1 VKA\r" << "GET OUT1 VKA\r";
    QTest::newRow("exactly sixty") << sixty << sixty;
    QTest::newRow("sixty and the CR") << sixty + "\r" << sixty + "\r";
    QTest::newRow("sixty-one") << sixty + "y" << sixty + Ellipsis;
    QTest::newRow("EDID write") << "SET IN1 EDID-USER " + QString(768, QLatin1Char('F')) + "\r"
                                << ("SET IN1 EDID-USER " + QString(768, QLatin1Char('F'))).left(60) + Ellipsis;
}

void TestTruthfulPages::shortCommandText()
{
    QFETCH(QString, command);
    QFETCH(QString, shown);
    QCOMPARE(ShortCommandText(command), shown);
}

QTEST_MAIN(TestTruthfulPages)
#include "tst_truthfulpages.moc"
