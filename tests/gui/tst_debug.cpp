// The debug console: its place on the screen, what Send queues, the transfer it makes on a
// real serial link, the echo of sent and received lines, the line limit and the format
// buttons.
#include "GuiTestFixture.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/Ui_Debug.h"
#include "link/Ui_Uart_Network.h"
#include "protocol/DeviceState.h"
#include "settings/ConfigFile.h"
#include "shell/MyComboBox.h"
#include "shell/Ui_Main.h"
#include "support/PtyPair.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

namespace {

struct Queued {
    QString bytes;
    int needMatch;
    quint32 waitMs;
};

QList<Queued> QueuedLines(LinkQueue &queue)
{
    QList<Queued> lines;
    QMutexLocker lock(&queue.sendMutex);
    for (const QueuedLine &line : qAsConst(queue.sendQueue))
        lines << Queued { QString::fromUtf8(line.bytes), line.expectation.needMatch,
            line.expectation.waitMs };
    return lines;
}

QStringList QueuedTexts(LinkQueue &queue)
{
    QStringList texts;
    for (const Queued &line : QueuedLines(queue))
        texts << line.bytes;
    return texts;
}

// Types the text as an operator does, Enter between lines.
void TypeLines(QTextEdit *box, const QString &text)
{
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(box, Qt::Key_Return);
        // Character by character with its text, as a keyboard of any layout types it.
        for (const QChar character : lines.at(i))
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
}

// What the device side receives, read while the program's event loop keeps running: the
// bytes that came until none followed for a while.
QByteArray ReadFromDevice(PtyPair &device, int timeoutMs)
{
    QByteArray bytes;
    QElapsedTimer clock;
    clock.start();
    qint64 lastArrival = -1;
    while (clock.elapsed() < timeoutMs) {
        QTest::qWait(10);
        const QByteArray chunk = device.readSome(1);
        if (!chunk.isEmpty()) {
            bytes += chunk;
            lastArrival = clock.elapsed();
        } else if (lastArrival >= 0 && clock.elapsed() - lastArrival > 200) {
            break;
        }
    }
    return bytes;
}

} // namespace

class TestDebug : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void geometryForScreen_data();
    void geometryForScreen();
    void sendQueuesTypedText_data();
    void sendQueuesTypedText();
    void sendIsOneTransferOnSerialLink();
    void boxesKeepLastLines_data();
    void boxesKeepLastLines();
    void formatButtons_data();
    void formatButtons();

private:
    GuiTest::AppDirFixture m_fixture;
};

void TestDebug::initTestCase()
{
    m_fixture.TakeDefaults();
}

void TestDebug::init()
{
    QVERIFY(m_fixture.Begin());
    LinkMode = LinkModeNone;
    DeviceState_Clear();
    SerialLinkQueue().activate();
    TcpLinkQueue().activate();
}

void TestDebug::cleanup()
{
    LinkMode = LinkModeNone;
    SerialLinkQueue().deactivate();
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

void TestDebug::geometryForScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("1920x1080") << QSize(1920, 1080) << QRect(640, 270, 640, 540);
    QTest::newRow("2560x1440") << QSize(2560, 1440) << QRect(640, 270, 640, 540);
    QTest::newRow("1366x768") << QSize(1366, 768) << QRect(455, 192, 455, 384);
    QTest::newRow("1280x1024") << QSize(1280, 1024) << QRect(427, 256, 426, 512);
    QTest::newRow("3840x900") << QSize(3840, 900) << QRect(640, 225, 640, 450);
}

void TestDebug::geometryForScreen()
{
    QFETCH(QSize, screen);
    QFETCH(QRect, geometry);

    QCOMPARE(Ui_Debug::GeometryForScreen(screen), geometry);
}

void TestDebug::sendQueuesTypedText_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("serial");
    QTest::addColumn<QStringList>("tcp");

    const QString twoLines = QStringLiteral("GET MODEL TYPE\nGET MATRIX-ROUTE");
    const QString transfer = QStringLiteral("GET MODEL TYPE\r\nGET MATRIX-ROUTE");
    QTest::newRow("serial link") << int(LinkModeSerial) << twoLines << QStringList { transfer }
                                 << QStringList {};
    QTest::newRow("TCP link") << int(LinkModeTcp) << twoLines << QStringList {} << QStringList { transfer };
    QTest::newRow("no link") << int(LinkModeNone) << twoLines << QStringList {} << QStringList {};
    QTest::newRow("empty box") << int(LinkModeTcp) << "" << QStringList {} << QStringList {};
    QTest::newRow("one line, nothing added")
        << int(LinkModeTcp) << "GET SYNC-OVER" << QStringList {} << QStringList { "GET SYNC-OVER" };
    QTest::newRow("empty lines kept") << int(LinkModeSerial) << "A\n\nB\n"
                                      << QStringList { "A\r\n\r\nB\r\n" } << QStringList {};
    QTest::newRow("UTF-8") << int(LinkModeSerial) << QString::fromUtf8("名称") << QStringList { "名称" }
                           << QStringList {};
}

void TestDebug::sendQueuesTypedText()
{
    QFETCH(int, linkMode);
    QFETCH(QString, typed);
    QFETCH(QStringList, serial);
    QFETCH(QStringList, tcp);

    Ui_Debug console;
    LinkMode = linkMode;
    QSignalSpy kicks(&console, &Ui_Debug::SGL_UpdateEmit);
    TypeLines(console.sendBox, typed);

    QTest::mouseClick(console.sendButton, Qt::LeftButton);

    QCOMPARE(QueuedTexts(SerialLinkQueue()), serial);
    QCOMPARE(QueuedTexts(TcpLinkQueue()), tcp);
    QCOMPARE(kicks.count(), 1);
    // The transfer waits for no reply, so the next line follows after the usual pause.
    for (const Queued &line : QueuedLines(linkMode == LinkModeTcp ? TcpLinkQueue() : SerialLinkQueue())) {
        QCOMPARE(line.needMatch, 0);
        QCOMPARE(line.waitMs, 0u);
    }
}

void TestDebug::sendIsOneTransferOnSerialLink()
{
    PtyPair device;
    QVERIFY(device.isOpen());
    Ui_Main mainWindow;
    Ui_Uart_Network *page = mainWindow.connectionPage;
    mainWindow.show();
    // A model reply was judged already: the device's answer below starts no synchronisation.
    DeviceState.modelReplyHandled = true;

    page->serialPortComboBox->lineEdit()->setText(device.slavePath());
    QTest::mouseClick(page->uartConnectButton, Qt::LeftButton);
    QCOMPARE(ReadFromDevice(device, 3000), QByteArray("GET MODEL TYPE\r"));
    QVERIFY(device.write("MODEL TYPE RZ7P52KN\r"));

    QTest::keyClick(&mainWindow, Qt::Key_Z, Qt::AltModifier);
    Ui_Debug *console = mainWindow.debugConsole;
    QVERIFY(console->isVisible());
    QTRY_COMPARE(console->recvBox->toPlainText(), QStringLiteral("MODEL TYPE RZ7P52KN\n"));
    QCOMPARE(console->sendBox->toPlainText(), QStringLiteral("GET MODEL TYPE\n"));

    console->SLT_CLEAR_SEND_DATA();
    TypeLines(console->sendBox, QStringLiteral("GET MODEL TYPE\nGET MATRIX-ROUTE"));
    QTest::mouseClick(console->sendButton, Qt::LeftButton);

    QCOMPARE(ReadFromDevice(device, 3000), QByteArray("GET MODEL TYPE\r\nGET MATRIX-ROUTE"));
    // The transfer is logged behind the typed text.
    QTRY_COMPARE(console->sendBox->toPlainText(),
        QStringLiteral("GET MODEL TYPE\nGET MATRIX-ROUTEGET MODEL TYPE\nGET MATRIX-ROUTE"));
    QVERIFY(device.write("MODEL TYPE RZ7P52KN\r"));
    QTRY_COMPARE(
        console->recvBox->toPlainText(), QStringLiteral("MODEL TYPE RZ7P52KN\nMODEL TYPE RZ7P52KN\n"));

    QTest::mouseClick(page->uartConnectButton, Qt::LeftButton);
    QCOMPARE(LinkMode, int(LinkModeNone));
    console->close();
}

void TestDebug::boxesKeepLastLines_data()
{
    QTest::addColumn<bool>("receiveBox");

    QTest::newRow("receive box") << true;
    QTest::newRow("send box") << false;
}

void TestDebug::boxesKeepLastLines()
{
    QFETCH(bool, receiveBox);

    Ui_Debug console;
    QTextEdit *box = receiveBox ? console.recvBox : console.sendBox;
    console.SLT_Sync_Show_Recv(QStringLiteral("other\r"));
    console.SLT_Sync_Show_Send(QStringLiteral("other\r"));
    for (int line = 2; line <= 250; ++line) {
        const QString text = QStringLiteral("line %1\r").arg(line);
        if (receiveBox)
            console.SLT_Sync_Show_Recv(text);
        else
            console.SLT_Sync_Show_Send(text);
    }

    QCOMPARE(box->document()->blockCount(), Ui_Debug::MaximumLines);
    QCOMPARE(box->document()->firstBlock().text(), QStringLiteral("line 52"));
    QCOMPARE(box->document()->lastBlock().previous().text(), QStringLiteral("line 250"));

    QTest::mouseClick(receiveBox ? console.recvClearButton : console.sendClearButton, Qt::LeftButton);
    QVERIFY(box->toPlainText().isEmpty());
    QVERIFY(!(receiveBox ? console.sendBox : console.recvBox)->toPlainText().isEmpty());
}

void TestDebug::formatButtons_data()
{
    QTest::addColumn<QString>("pressed");
    QTest::addColumn<QString>("recvLabel");
    QTest::addColumn<QString>("sendLabel");
    QTest::addColumn<bool>("hexEnabled");
    QTest::addColumn<bool>("asciiEnabled");

    QTest::newRow("at start") << ""
                              << "Recv:ASCII FORMAT"
                              << "Send:ASCII FORMAT" << true << false;
    QTest::newRow("HEX") << "h"
                         << "Recv:HEX FORMAT"
                         << "Send:HEX FORMAT" << false << true;
    QTest::newRow("HEX, then ASCII") << "ha"
                                     << "Recv:ASCII FORMAT"
                                     << "Send:ASCII FORMAT" << true << false;
}

void TestDebug::formatButtons()
{
    QFETCH(QString, pressed);
    QFETCH(QString, recvLabel);
    QFETCH(QString, sendLabel);
    QFETCH(bool, hexEnabled);
    QFETCH(bool, asciiEnabled);

    Ui_Debug console;
    console.show();
    for (const QChar button : pressed)
        QTest::mouseClick(
            button == QLatin1Char('h') ? console.hexFormatButton : console.asciiFormatButton, Qt::LeftButton);

    QCOMPARE(console.recvLabel->text(), recvLabel);
    QCOMPARE(console.sendLabel->text(), sendLabel);
    QCOMPARE(console.hexFormatButton->isEnabled(), hexEnabled);
    QCOMPARE(console.asciiFormatButton->isEnabled(), asciiEnabled);
    QCOMPARE(console.windowTitle(), QStringLiteral("Debug"));
    QVERIFY(console.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

QTEST_MAIN(TestDebug)
#include "tst_debug.moc"
