// The debug console: its place on the screen, what Send queues (only what was typed since the
// last Send, never a logged line), the transfer it makes on a real serial link, the logged
// lines with time and direction, the line limit, and the HEX and ASCII formats.
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
#include <QRegularExpression>
#include <QScrollBar>
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

// The logged lines of a box without their times, after checking that each has one.
QStringList LoggedLines(const QTextEdit *box)
{
    static const QRegularExpression timeTag(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d "));
    QStringList lines;
    if (box->document()->isEmpty())
        return lines;
    for (QTextBlock block = box->document()->firstBlock(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        lines << (timeTag.match(text).hasMatch() ? text.mid(13) : QStringLiteral("NO TIME: ") + text);
    }
    return lines;
}

// The link's report of a sent line: one character per byte.
QString AsReported(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes);
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
    void sendNeverRepeatsLoggedLines_data();
    void sendNeverRepeatsLoggedLines();
    void hexFormat_data();
    void hexFormat();
    void receivedBytesShownAsTheyCame_data();
    void receivedBytesShownAsTheyCame();
    void escapeCloses_data();
    void escapeCloses();
    void longLinesShowTheirStart_data();
    void longLinesShowTheirStart();

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
    QTRY_COMPARE(LoggedLines(console->recvBox), QStringList { "RX MODEL TYPE RZ7P52KN" });
    QCOMPARE(LoggedLines(console->sendLogBox), QStringList { "TX GET MODEL TYPE" });
    QVERIFY(console->sendBox->toPlainText().isEmpty());

    TypeLines(console->sendBox, QStringLiteral("GET MODEL TYPE\nGET MATRIX-ROUTE"));
    QTest::mouseClick(console->sendButton, Qt::LeftButton);

    QCOMPARE(ReadFromDevice(device, 3000), QByteArray("GET MODEL TYPE\r\nGET MATRIX-ROUTE"));
    // The transfer is logged apart from the typing box, which Send emptied.
    QTRY_COMPARE(LoggedLines(console->sendLogBox),
        (QStringList { "TX GET MODEL TYPE", "TX GET MODEL TYPE", "TX GET MATRIX-ROUTE" }));
    QVERIFY(console->sendBox->toPlainText().isEmpty());
    QVERIFY(device.write("MODEL TYPE RZ7P52KN\r"));
    QTRY_COMPARE(LoggedLines(console->recvBox),
        (QStringList { "RX MODEL TYPE RZ7P52KN", "RX MODEL TYPE RZ7P52KN" }));
    // A second Send has nothing typed to send.
    QTest::mouseClick(console->sendButton, Qt::LeftButton);
    QCOMPARE(ReadFromDevice(device, 500), QByteArray());

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
    QTextEdit *box = receiveBox ? console.recvBox : console.sendLogBox;
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
    const QString direction = receiveBox ? QStringLiteral("RX ") : QStringLiteral("TX ");
    QCOMPARE(LoggedLines(box).first(), direction + QStringLiteral("line 51"));
    QCOMPARE(LoggedLines(box).last(), direction + QStringLiteral("line 250"));

    QTest::mouseClick(receiveBox ? console.recvClearButton : console.sendClearButton, Qt::LeftButton);
    QVERIFY(box->toPlainText().isEmpty());
    QVERIFY(!(receiveBox ? console.sendLogBox : console.recvBox)->toPlainText().isEmpty());
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

// Steps of a row: "t:text" types, "s" presses Send, "x:text" logs a sent line, "r:text" a
// received one; each Send must queue exactly the next entry of "sent" (empty: nothing).
void TestDebug::sendNeverRepeatsLoggedLines_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QStringList>("sendLog");
    QTest::addColumn<QString>("typingBox");

    QTest::newRow("second Send after a reset sends nothing")
        << QStringList { "t:SET RESET", "s", "x:SET RESET\r", "r:SET RESET OK\r", "s" }
        << QStringList { "SET RESET", "" } << QStringList { "TX SET RESET" } << "";
    QTest::newRow("Send after logged lines sends only the typed line")
        << QStringList { "x:GET MODEL TYPE\r", "x:GET SYNC-OVER\r", "t:GET MATRIX-ROUTE", "s" }
        << QStringList { "GET MATRIX-ROUTE" } << QStringList { "TX GET MODEL TYPE", "TX GET SYNC-OVER" } << "";
    QTest::newRow("a line logged while typing joins neither the typing nor the transfer")
        << QStringList { "t:GET MO", "x:GET IN1 IN-INFO\r", "r:IN1 IN-INFO HDMI\r", "t:DEL TYPE", "s" }
        << QStringList { "GET MODEL TYPE" } << QStringList { "TX GET IN1 IN-INFO" } << "";
    QTest::newRow("half-typed line stays for later while nothing is sent")
        << QStringList { "t:GET MO", "x:GET SYNC-OVER\r" } << QStringList {}
        << QStringList { "TX GET SYNC-OVER" } << "GET MO";
    QTest::newRow("typed non-ASCII text is logged as typed")
        << QStringList { "t:SET IN1 NAME 名称 é", "s", QStringLiteral("x:") + AsReported(QStringLiteral("SET IN1 NAME 名称 é\r").toUtf8()) }
        << QStringList { "SET IN1 NAME 名称 é" } << QStringList { "TX SET IN1 NAME 名称 é" } << "";
    QTest::newRow("bytes that are not UTF-8 are logged one character per byte")
        << QStringList { QStringLiteral("x:") + AsReported(QByteArray("A\xE9\r")) } << QStringList {}
        << QStringList { QString::fromLatin1("TX A\xE9") } << "";
    QTest::newRow("a two-line transfer logs two lines")
        << QStringList { "t:GET MODEL TYPE\nGET SYNC-OVER", "s", "x:GET MODEL TYPE\r\nGET SYNC-OVER\r" }
        << QStringList { "GET MODEL TYPE\r\nGET SYNC-OVER" }
        << QStringList { "TX GET MODEL TYPE", "TX GET SYNC-OVER" } << "";
}

void TestDebug::sendNeverRepeatsLoggedLines()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, sent);
    QFETCH(QStringList, sendLog);
    QFETCH(QString, typingBox);

    Ui_Debug console;
    console.show();
    LinkMode = LinkModeSerial;
    QStringList queued;
    for (const QString &step : steps) {
        const QString text = step.mid(2);
        if (step.startsWith(QLatin1String("t:"))) {
            console.sendBox->setFocus();
            console.sendBox->moveCursor(QTextCursor::End);
            TypeLines(console.sendBox, text);
        } else if (step == QLatin1String("s")) {
            QTest::mouseClick(console.sendButton, Qt::LeftButton);
            const QStringList now = QueuedTexts(SerialLinkQueue());
            queued << (now.isEmpty() ? QString() : now.join(QLatin1Char('|')));
            QMutexLocker lock(&SerialLinkQueue().sendMutex);
            SerialLinkQueue().sendQueue.clear();
        } else if (step.startsWith(QLatin1String("x:"))) {
            console.SLT_Sync_Show_Send(text);
        } else {
            console.SLT_Sync_Show_Recv(text);
        }
    }

    QCOMPARE(queued, sent);
    QCOMPARE(LoggedLines(console.sendLogBox), sendLog);
    QCOMPARE(console.sendBox->toPlainText(), typingBox);
    for (const QString &line : LoggedLines(console.recvBox))
        QVERIFY2(line.startsWith(QLatin1String("RX ")), qPrintable(line));
}

void TestDebug::hexFormat_data()
{
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("queued");
    QTest::addColumn<bool>("noteShown");
    QTest::addColumn<QStringList>("recvLog");
    QTest::addColumn<QStringList>("sendLog");

    QTest::newRow("HEX: spaced pairs")
        << true << "MODEL TYPE RZ7P52KN\r" << "47 45 54 0D" << QByteArray("GET\r") << false
        << QStringList { "RX 4D 4F 44 45 4C 20 54 59 50 45 20 52 5A 37 50 35 32 4B 4E 0D" }
        << QStringList { "TX 47 45 54 0D" };
    QTest::newRow("HEX: pairs without spaces, lower case, over two lines")
        << true << "MODEL TYPE RZ7P52KN\r" << "474554\n0d0a" << QByteArray("GET\r\n") << false
        << QStringList { "RX 4D 4F 44 45 4C 20 54 59 50 45 20 52 5A 37 50 35 32 4B 4E 0D" }
        << QStringList { "TX 47 45 54 0D" };
    QTest::newRow("HEX: a non-hex character sends nothing")
        << true << "MODEL TYPE RZ7P52KN\r" << "47 4G" << QByteArray() << true
        << QStringList { "RX 4D 4F 44 45 4C 20 54 59 50 45 20 52 5A 37 50 35 32 4B 4E 0D" }
        << QStringList { "TX 47 45 54 0D" };
    QTest::newRow("HEX: an odd digit sends nothing")
        << true << "MODEL TYPE RZ7P52KN\r" << "47 45 5" << QByteArray() << true
        << QStringList { "RX 4D 4F 44 45 4C 20 54 59 50 45 20 52 5A 37 50 35 32 4B 4E 0D" }
        << QStringList { "TX 47 45 54 0D" };
    QTest::newRow("HEX: UTF-8 bytes of a received line")
        << true << "名\r" << "" << QByteArray() << false << QStringList { "RX E5 90 8D 0D" } << QStringList { "TX 47 45 54 0D" };
    QTest::newRow("ASCII: typed hex is text")
        << false << "MODEL TYPE RZ7P52KN\r" << "47 45" << QByteArray("47 45") << false << QStringList { "RX MODEL TYPE RZ7P52KN" }
        << QStringList { "TX GET" };
}

void TestDebug::hexFormat()
{
    QFETCH(bool, hex);
    QFETCH(QString, received);
    QFETCH(QString, typed);
    QFETCH(QByteArray, queued);
    QFETCH(bool, noteShown);
    QFETCH(QStringList, recvLog);
    QFETCH(QStringList, sendLog);

    Ui_Debug console;
    console.show();
    LinkMode = LinkModeTcp;
    QTest::mouseClick(hex ? console.hexFormatButton : console.asciiFormatButton, Qt::LeftButton);
    QCOMPARE(console.IsHexFormat(), hex);

    console.SLT_Sync_Show_Recv(received);
    console.SLT_Sync_Show_Send(AsReported("GET\r"));
    QCOMPARE(LoggedLines(console.recvBox), recvLog);
    QCOMPARE(LoggedLines(console.sendLogBox), sendLog);

    TypeLines(console.sendBox, typed);
    QTest::mouseClick(console.sendButton, Qt::LeftButton);
    QList<QByteArray> lines;
    {
        QMutexLocker lock(&TcpLinkQueue().sendMutex);
        for (const QueuedLine &line : qAsConst(TcpLinkQueue().sendQueue))
            lines << line.bytes;
    }
    QCOMPARE(lines, queued.isEmpty() ? QList<QByteArray>() : QList<QByteArray> { queued });
    QCOMPARE(!console.sendNoteLabel->text().isEmpty(), noteShown);
    // Text that was not sent stays for the operator to mend.
    QCOMPARE(console.sendBox->toPlainText(), queued.isEmpty() ? typed : QString());
}

void TestDebug::receivedBytesShownAsTheyCame_data()
{
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QByteArray>("received");
    QTest::addColumn<QString>("shown");

    QTest::newRow("HEX: bytes that are not UTF-8") << true << QByteArray("OK\xFF\x80\r") << "RX 4F 4B FF 80 0D";
    QTest::newRow("HEX: UTF-8 text") << true << QByteArray("\xE5\x90\x8D\r") << "RX E5 90 8D 0D";
    // One character per byte, as the console shows any transfer that is not UTF-8.
    QTest::newRow("ASCII: bytes that are not UTF-8")
        << false << QByteArray("OK\xFF\x80\r") << QString::fromLatin1("RX OK\xFF\x80");
}

// Through the main window's receive drain, as a line from the link is shown.
void TestDebug::receivedBytesShownAsTheyCame()
{
    QFETCH(bool, hex);
    QFETCH(QByteArray, received);
    QFETCH(QString, shown);

    Ui_Main mainWindow;
    Ui_Debug *console = mainWindow.debugConsole;
    QTest::mouseClick(hex ? console->hexFormatButton : console->asciiFormatButton, Qt::LeftButton);
    LinkMode = LinkModeSerial;
    SerialLinkQueue().pushReceived(received);
    mainWindow.SLT_UnifyUpdateRecv();
    QCOMPARE(LoggedLines(console->recvBox), QStringList { shown });
}

void TestDebug::escapeCloses_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("closes");

    QTest::newRow("typing box") << "send" << int(Qt::NoModifier) << true;
    QTest::newRow("received lines") << "recv" << int(Qt::NoModifier) << true;
    QTest::newRow("Send button") << "button" << int(Qt::NoModifier) << true;
    QTest::newRow("Shift+Escape") << "send" << int(Qt::ShiftModifier) << false;
}

void TestDebug::escapeCloses()
{
    QFETCH(QString, focus);
    QFETCH(int, modifiers);
    QFETCH(bool, closes);

    Ui_Debug console;
    console.SLT_SETUP_UI_DEBUG();
    QVERIFY(QTest::qWaitForWindowActive(&console));
    QWidget *target = focus == QLatin1String("send") ? static_cast<QWidget *>(console.sendBox)
        : focus == QLatin1String("recv")             ? static_cast<QWidget *>(console.recvBox)
                                                     : static_cast<QWidget *>(console.sendButton);
    target->setFocus();
    QTest::keyClicks(console.sendBox, QStringLiteral("GET MODEL TYPE"));

    QTest::keyClick(target, Qt::Key_Escape, Qt::KeyboardModifiers(modifiers));

    QCOMPARE(console.isVisible(), !closes);
    // What was typed stays for the next time the console opens.
    QCOMPARE(console.sendBox->toPlainText(), QStringLiteral("GET MODEL TYPE"));
}

// However long a line, the boxes open and stay scrolled to the left, so every line's time and
// direction show; the newest line is in view.
void TestDebug::longLinesShowTheirStart_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("logBeforeOpening");

    QTest::newRow("one long line, logged while closed") << 1 << true;
    QTest::newRow("many long lines, logged while closed") << 60 << true;
    QTest::newRow("many long lines, logged while open") << 60 << false;
}

void TestDebug::longLinesShowTheirStart()
{
    QFETCH(int, lines);
    QFETCH(bool, logBeforeOpening);

    Ui_Debug console;
    const QString longLine = QStringLiteral("EDID OUT1 ") + QString(600, QLatin1Char('A')) + QLatin1Char('\r');
    auto log = [&] {
        for (int i = 0; i < lines; ++i) {
            console.SLT_Sync_Show_Recv(longLine);
            console.SLT_Sync_Show_Send(longLine);
        }
    };
    if (logBeforeOpening)
        log();
    console.SLT_SETUP_UI_DEBUG();
    QVERIFY(QTest::qWaitForWindowExposed(&console));
    if (!logBeforeOpening)
        log();

    for (QTextEdit *box : { console.recvBox, console.sendLogBox }) {
        QVERIFY(box->horizontalScrollBar()->maximum() > 0);
        QCOMPARE(box->horizontalScrollBar()->value(), 0);
        QCOMPARE(box->verticalScrollBar()->value(), box->verticalScrollBar()->maximum());
    }
}

QTEST_MAIN(TestDebug)
#include "tst_debug.moc"
