// Every combo box whose choice sends a command: a wheel turn, an arrow or page key, Home,
// End or a typed letter on the closed combo sends nothing (Qt's own combo box would step the
// item and emit activated), and a click in the open list still sends exactly one command.
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "pages/Ui_Edid.h"
#include "pages/Ui_Matrix.h"
#include "pages/Ui_SaveLoad.h"
#include "pages/Ui_SignalConfig.h"
#include "protocol/DeviceState.h"
#include "shell/MyComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QScopedPointer>
#include <QSignalSpy>
#include <QWheelEvent>
#include <QtTest>

namespace {

QStringList QueuedLines(LinkQueue &queue)
{
    QStringList lines;
    QMutexLocker lock(&queue.sendMutex);
    for (const QueuedLine &line : qAsConst(queue.sendQueue))
        lines << QString::fromLatin1(line.bytes);
    return lines;
}

void TurnWheel(QWidget *widget, int notches)
{
    const QPoint centre = widget->rect().center();
    QWheelEvent event(QPointF(centre), QPointF(widget->mapToGlobal(centre)), QPoint(),
        QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// Chooses an item the way the operator does: open the list and click the item.
void ClickItemInOpenList(QComboBox *comboBox, int index)
{
    comboBox->showPopup();
    QAbstractItemView *view = comboBox->view();
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    // An item may be drawn wider than a narrow list; click it where the list shows it.
    const QPoint point(view->viewport()->width() / 2, view->visualRect(item).center().y());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

} // namespace

class TestSendingCombos : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void closedComboSendsNothing_data();
    void closedComboSendsNothing();
    void choiceFromOpenListSendsOnce_data();
    void choiceFromOpenListSendsOnce();
    void keysThatOpenTheListStillWork_data();
    void keysThatOpenTheListStillWork();

private:
    void AddComboColumn();
    // Builds the window that owns the named combo for an identified 4 x 4 device and returns
    // the combo, shown and focused, its current item in the middle of its list.
    MyComboBox *SendingCombo(const QString &name);

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<QWidget> m_owner;
};

void TestSendingCombos::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestSendingCombos::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    DeviceState.inputCount = 4;
    DeviceState.outputCount = 4;
    DeviceState.modelUnconfirmed = false;
    LinkMode = LinkModeTcp;
    TcpLinkQueue().activate();
}

void TestSendingCombos::cleanup()
{
    m_owner.reset();
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

MyComboBox *TestSendingCombos::SendingCombo(const QString &name)
{
    MyComboBox *combo = nullptr;
    if (name == QLatin1String("matrix all outputs")) {
        auto *page = new Ui_Matrix();
        m_owner.reset(page);
        page->BuildGrid(4, 4);
        combo = page->allOutputComboBox;
    } else if (name.startsWith(QLatin1String("signal "))) {
        auto *page = new Ui_SignalConfig();
        m_owner.reset(page);
        page->BuildRows(4, 4);
        if (name == QLatin1String("signal input audio"))
            combo = page->inputAudioCombos.at(1);
        else if (name == QLatin1String("signal output type"))
            combo = page->outputTypeCombos.at(1);
        else if (name == QLatin1String("signal output format"))
            combo = page->outputFormatCombos.at(1);
        else if (name == QLatin1String("signal rotate"))
            combo = page->outputRotateCombos.at(1);
    } else if (name.startsWith(QLatin1String("scene "))) {
        auto *dialog = new Ui_SaveLoad();
        m_owner.reset(dialog);
        combo = name == QLatin1String("scene save") ? dialog->saveComboBox : dialog->loadComboBox;
    } else if (name == QLatin1String("edid input")) {
        auto *dialog = new Ui_Edid();
        m_owner.reset(dialog);
        combo = dialog->inputComboBox;
    }
    if (!combo)
        return nullptr;
    m_owner->resize(1400, 900);
    m_owner->show();
    combo->setCurrentIndex(1);
    combo->setFocus();
    QApplication::processEvents();
    // Setting up (the EDID dialog's first read, say) must not count as the gesture's doing.
    TcpLinkQueue().sendQueue.clear();
    return combo;
}

void TestSendingCombos::AddComboColumn()
{
    QTest::addColumn<QString>("combo");
}

void TestSendingCombos::closedComboSendsNothing_data()
{
    AddComboColumn();
    QTest::addColumn<QString>("gesture");

    const QStringList combos { "matrix all outputs", "signal input audio", "signal output type",
        "signal output format", "signal rotate", "scene save", "scene load", "edid input" };
    const QStringList gestures { "wheel up", "wheel down", "two wheel notches", "Up", "Down", "PageUp",
        "PageDown", "Home", "End", "letter" };
    for (const QString &combo : combos) {
        for (const QString &gesture : gestures)
            QTest::newRow(qPrintable(combo + QLatin1String(", ") + gesture)) << combo << gesture;
    }
}

void TestSendingCombos::closedComboSendsNothing()
{
    QFETCH(QString, combo);
    QFETCH(QString, gesture);

    MessageBoxCatcher boxes(true);
    MyComboBox *comboBox = SendingCombo(combo);
    QVERIFY(comboBox);
    QSignalSpy activated(comboBox, QOverload<int>::of(&QComboBox::activated));

    if (gesture == QLatin1String("wheel up"))
        TurnWheel(comboBox, 1);
    else if (gesture == QLatin1String("wheel down"))
        TurnWheel(comboBox, -1);
    else if (gesture == QLatin1String("two wheel notches"))
        TurnWheel(comboBox, -2);
    else if (gesture == QLatin1String("Up"))
        QTest::keyClick(comboBox, Qt::Key_Up);
    else if (gesture == QLatin1String("Down"))
        QTest::keyClick(comboBox, Qt::Key_Down);
    else if (gesture == QLatin1String("PageUp"))
        QTest::keyClick(comboBox, Qt::Key_PageUp);
    else if (gesture == QLatin1String("PageDown"))
        QTest::keyClick(comboBox, Qt::Key_PageDown);
    else if (gesture == QLatin1String("Home"))
        QTest::keyClick(comboBox, Qt::Key_Home);
    else if (gesture == QLatin1String("End"))
        QTest::keyClick(comboBox, Qt::Key_End);
    else
        // Every list here has an item whose text starts with a letter or digit typed below.
        QTest::keyClicks(comboBox, comboBox->itemText(comboBox->count() - 1).left(1));
    QApplication::processEvents();

    QCOMPARE(activated.count(), 0);
    QCOMPARE(comboBox->currentIndex(), 1);
    QCOMPARE(QueuedLines(TcpLinkQueue()), QStringList());
    QCOMPARE(boxes.Texts(), QStringList());
}

void TestSendingCombos::choiceFromOpenListSendsOnce_data()
{
    AddComboColumn();
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("sent");

    QTest::newRow("matrix all outputs") << "matrix all outputs" << 2 << "SET IN3 VIDEO ALL\r";
    QTest::newRow("signal input audio") << "signal input audio" << 0 << "SET IN2 AUDIO-SRC EMBEDDED\r";
    QTest::newRow("signal output type") << "signal output type" << 2 << "SET OUT2 HDCP FORCE-OFF\r";
    QTest::newRow("signal output format") << "signal output format" << 6 << "SET OUT2 RESOLUTION 1920x1200p60RB\r";
    QTest::newRow("signal rotate") << "signal rotate" << 2 << "SET OUT2 ROTATION 180\r";
    QTest::newRow("scene save") << "scene save" << 19 << "SET SAVE SCENE 20\r";
    QTest::newRow("scene load") << "scene load" << 0 << "SET LOAD SCENE 1\r";
    QTest::newRow("edid input") << "edid input" << 3 << "GET IN4 EDIDMODE\r";
    // Re-choosing the shown item is a deliberate choice too.
    QTest::newRow("signal rotate, same item") << "signal rotate" << 1 << "SET OUT2 ROTATION 90\r";
}

void TestSendingCombos::choiceFromOpenListSendsOnce()
{
    QFETCH(QString, combo);
    QFETCH(int, item);
    QFETCH(QString, sent);

    MessageBoxCatcher boxes(true);
    MyComboBox *comboBox = SendingCombo(combo);
    QVERIFY(comboBox);
    QSignalSpy announced(comboBox, &MyComboBox::SGL_Auto_UpdateComboBox);

    ClickItemInOpenList(comboBox, item);
    QApplication::processEvents();

    QCOMPARE(announced.count(), 1);
    QCOMPARE(QueuedLines(TcpLinkQueue()), QStringList { sent });
}

void TestSendingCombos::keysThatOpenTheListStillWork_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");

    QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier);
    QTest::newRow("F4") << int(Qt::Key_F4) << int(Qt::NoModifier);
    QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier);
}

// The keyboard still reaches the list: open it, step in it, Enter sends the one choice.
void TestSendingCombos::keysThatOpenTheListStillWork()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);

    MyComboBox *comboBox = SendingCombo(QStringLiteral("signal rotate"));
    QVERIFY(comboBox);
    QSignalSpy announced(comboBox, &MyComboBox::SGL_Auto_UpdateComboBox);
    QTest::keyClick(comboBox, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_VERIFY(comboBox->view()->isVisible());
    QCOMPARE(announced.count(), 1);

    QTest::keyClick(comboBox->view(), Qt::Key_Down);
    QTest::keyClick(comboBox->view(), Qt::Key_Return);
    QApplication::processEvents();
    QCOMPARE(QueuedLines(TcpLinkQueue()), QStringList { "SET OUT2 ROTATION 180\r" });

    // The plain list view the list got when it first opened stays for every later opening.
    QAbstractItemView *view = comboBox->view();
    QCOMPARE(view->metaObject()->className(), "QListView");
    comboBox->showPopup();
    QCOMPARE(comboBox->view(), view);
    comboBox->hidePopup();
}

QTEST_MAIN(TestSendingCombos)
#include "tst_sendingcombos.moc"
