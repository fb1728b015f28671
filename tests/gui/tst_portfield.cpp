// The connection page's serial port field as an operator uses it: a port name typed with the
// keyboard into the combo itself, the list of every port the system knows, opened without
// losing what was typed, and a listed port taken by its name.
#include "GuiTestFixture.h"
#include "link/LinkMode.h"
#include "link/LinkSerialPortList.h"
#include "link/Ui_Uart_Network.h"
#include "protocol/DeviceState.h"
#include "shell/MyComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QWheelEvent>
#include <QtTest>

namespace {

void TurnWheel(QWidget *widget, int notches)
{
    const QPoint centre = widget->rect().center();
    QWheelEvent event(QPointF(centre), QPointF(widget->mapToGlobal(centre)), QPoint(),
        QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

// Keys as a QTest key list: text is typed, the names stand for editing keys.
void Press(QWidget *widget, const QStringList &keys)
{
    static const QHash<QString, Qt::Key> named { { "<Home>", Qt::Key_Home }, { "<End>", Qt::Key_End },
        { "<Left>", Qt::Key_Left }, { "<Right>", Qt::Key_Right }, { "<Backspace>", Qt::Key_Backspace },
        { "<Delete>", Qt::Key_Delete }, { "<Up>", Qt::Key_Up }, { "<Down>", Qt::Key_Down },
        { "<PageUp>", Qt::Key_PageUp } };
    for (const QString &key : keys) {
        if (named.contains(key))
            QTest::keyClick(widget, named.value(key));
        else
            QTest::keyClicks(widget, key);
    }
}

} // namespace

class TestPortField : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void typingIntoTheCombo_data();
    void typingIntoTheCombo();
    void wheelLeavesTheTypedName();
    void openingTheListKeepsTheTypedName();
    void listedPortIsTakenByItsName();

private:
    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_Uart_Network> m_page;
};

void TestPortField::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestPortField::init()
{
    QVERIFY(m_fixture.Begin());
    LinkMode = LinkModeNone;
    DeviceState_Clear();
    m_page.reset(new Ui_Uart_Network);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowActive(m_page.data()));
    m_page->serialPortComboBox->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(m_page->serialPortComboBox));
}

void TestPortField::cleanup()
{
    m_page.reset();
    m_fixture.End();
}

// Every key goes to the combo, as the keyboard sends it there; the combo passes on to its
// line edit what the line edit takes.
void TestPortField::typingIntoTheCombo_data()
{
    QTest::addColumn<QStringList>("listItems");
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("text");

    const QStringList none;
    const QStringList two { "/dev/ttyS0", "/dev/ttyS1" };
    QTest::newRow("a path") << none << QStringList { "/dev/ttyUSB0" } << "/dev/ttyUSB0";
    QTest::newRow("folder added in front with Home") << none << QStringList { "ttyUSB0", "<Home>", "/dev/" }
                                                   << "/dev/ttyUSB0";
    QTest::newRow("typo mended with Backspace") << none << QStringList { "/dev/ttyUSB1", "<Backspace>", "0" }
                                              << "/dev/ttyUSB0";
    QTest::newRow("Left, Delete and End") << none
                                          << QStringList { "/dev/ttyUSBX0", "<Left>", "<Left>", "<Delete>", "<End>", "1" }
                                          << "/dev/ttyUSB01";
    QTest::newRow("Right after Home") << none << QStringList { "dev/ttyUSB0", "<Home>", "<Right>", "<Left>", "/" }
                                      << "/dev/ttyUSB0";
    QTest::newRow("space in a name") << none << QStringList { "/tmp/my tty" } << "/tmp/my tty";
    // The list's items do not complete or replace what is typed.
    QTest::newRow("typed beside listed ports") << two << QStringList { "/dev/ttyS" } << "/dev/ttyS";
    QTest::newRow("Up, Down and PageUp keep the typed name")
        << two << QStringList { "/dev/ttyACM0", "<Up>", "<Down>", "<PageUp>" } << "/dev/ttyACM0";
}

void TestPortField::typingIntoTheCombo()
{
    QFETCH(QStringList, listItems);
    QFETCH(QStringList, keys);
    QFETCH(QString, text);

    MyComboBox *combo = m_page->serialPortComboBox;
    combo->addItems(listItems);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());

    Press(combo, keys);

    QCOMPARE(combo->currentText(), text);
}

void TestPortField::wheelLeavesTheTypedName()
{
    MyComboBox *combo = m_page->serialPortComboBox;
    combo->addItems({ "/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2" });
    combo->setCurrentIndex(1);
    QSignalSpy activated(combo, QOverload<int>::of(&QComboBox::activated));
    Press(combo, { "<End>", "<Backspace>", "/tmp/x-tty" });
    const QString typed = combo->currentText();

    TurnWheel(combo, 1);
    TurnWheel(combo, -2);

    QCOMPARE(combo->currentText(), typed);
    QCOMPARE(activated.count(), 0);
}

// The list is rebuilt as it opens: what the system knows now, each port once.
void TestPortField::openingTheListKeepsTheTypedName()
{
    MyComboBox *combo = m_page->serialPortComboBox;
    Press(combo, { "/dev/ttyUSB7" });

    combo->showPopup();
    QTRY_VERIFY(combo->view()->isVisible());
    combo->hidePopup();

    QCOMPARE(combo->currentText(), QStringLiteral("/dev/ttyUSB7"));
    const QVector<LinkSerialPortList::Port> ports = LinkSerialPortList::Available();
    QCOMPARE(combo->count(), ports.size());
    for (int i = 0; i < ports.size(); ++i) {
        QCOMPARE(combo->itemText(i), LinkSerialPortList::DisplayText(ports.at(i)));
        QCOMPARE(combo->itemData(i).toString(), ports.at(i).name);
    }
}

// A port chosen in the open list is opened by its device path; the description shown beside
// it in the list is not part of the name.
void TestPortField::listedPortIsTakenByItsName()
{
    if (LinkSerialPortList::Available().isEmpty())
        QSKIP("this computer reports no serial port");
    MyComboBox *combo = m_page->serialPortComboBox;
    combo->showPopup();
    QAbstractItemView *view = combo->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex first = view->model()->index(0, 0);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->visualRect(first).center());

    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(combo->currentText(), LinkSerialPortList::Available().first().name);
    QVERIFY(combo->currentText().startsWith(QLatin1Char('/')));
}

QTEST_MAIN(TestPortField)
#include "tst_portfield.moc"
