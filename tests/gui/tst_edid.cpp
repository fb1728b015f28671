// The EDID dialog: its layout, loading and checking EDID files before they are written to an
// input, showing and saving an output's EDID reply, the EDID mode commands and replies, the
// write confirmation, how the matrix page opens it, and one run against the device simulator.
#include "GuiTestFixture.h"
#include "support/EdidSamples.h"
#include "GuiSimProcess.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/Ui_Uart_Network.h"
#include "pages/Ui_Edid.h"
#include "pages/Ui_Matrix.h"
#include "protocol/DeviceState.h"
#include "protocol/EdidBlock.h"
#include "settings/LanguageTexts.h"
#include "shell/MyComboBox.h"
#include "shell/Ui_Main.h"
#include "support/TestPaths.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTextBlock>
#include <QTextDocument>
#include <QAbstractTextDocumentLayout>
#include <QTextLayout>
#include <QtTest>

namespace {

using EdidSamples::GoodEdid;
using EdidSamples::WithByte;

constexpr int SyncTimeoutMs = 15000;
constexpr int ReplyTimeoutMs = 10000;

// What the stand-in file dialogs answer and what they were asked.
QString g_openAnswer;
QString g_saveAnswer;
QStringList g_openDirectories;
QStringList g_saveDirectories;
int g_saveDialogs = 0;

QString AnswerOpen(QWidget *, const QString &, const QString &directory, const QString &)
{
    g_openDirectories << directory;
    return g_openAnswer;
}

QString AnswerSave(QWidget *, const QString &, const QString &directory, const QString &)
{
    g_saveDirectories << directory;
    ++g_saveDialogs;
    return g_saveAnswer;
}

// What a load makes of a file: at most 256 bytes, the rest zeros.
QByteArray Padded(const QByteArray &file)
{
    QByteArray bytes = file.left(256);
    bytes.append(QByteArray(256 - bytes.size(), '\0'));
    return bytes;
}

// The text form written out here by hand: every byte as "%02X", joined by spaces.
QString HexOf(const QByteArray &bytes)
{
    QStringList pairs;
    for (char byte : bytes)
        pairs << QString::asprintf("%02X", unsigned(quint8(byte)));
    return pairs.join(QLatin1Char(' '));
}

QString UserEdidLine(int input, const QByteArray &edid)
{
    return QStringLiteral("SET IN%1 EDID-USER %2\r").arg(input).arg(HexOf(edid));
}

// Takes every line waiting in the TCP send queue.
QStringList TakeQueuedLines()
{
    LinkQueue &queue = TcpLinkQueue();
    QStringList lines;
    QMutexLocker lock(&queue.sendMutex);
    for (const QueuedLine &line : qAsConst(queue.sendQueue))
        lines << QString::fromLatin1(line.bytes);
    queue.sendQueue.clear();
    return lines;
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QList<Ui_Edid *> OpenEdidDialogs()
{
    QList<Ui_Edid *> dialogs;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<Ui_Edid *>(widget)) {
            if (dialog->isVisible())
                dialogs << dialog;
        }
    }
    return dialogs;
}

} // namespace

class TestEdid : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void layout();
    void positionForScreen_data();
    void positionForScreen();
    void modeList_data();
    void modeList();
    void loadThenWrite_data();
    void loadThenWrite();
    void loadCancelledKeepsBuffer();
    void lastDirectoryFollowsLoad();
    void outputEdidReply_data();
    void outputEdidReply();
    void viewsFollowTheSharedBuffer();
    void unsavableFileIsReported();
    void modeReadOnceListFilled_data();
    void modeReadOnceListFilled();
    void modeShowsDeviceAfterUnansweredWrite_data();
    void modeShowsDeviceAfterUnansweredWrite();
    void refusedWriteAgainstSimulator();
    void buttonsQueueCommands_data();
    void buttonsQueueCommands();
    void inputEdidModeReply_data();
    void inputEdidModeReply();
    void writeConfirmation_data();
    void writeConfirmation();
    void hexViewLayout();
    void portListsFollowDevice();
    void matrixPageOpensDialog_data();
    void matrixPageOpensDialog();
    void endToEndWithSimulator();

private:
    Ui_Edid *NewDialog();
    QString TempPath(const QString &name) const { return m_fixture.Path() + QLatin1Char('/') + name; }
    void LoadFile(const QByteArray &bytes);

    GuiTest::AppDirFixture m_fixture;
    QScopedPointer<Ui_Edid> m_dialog;
    Ui_Edid::FileDialogFunction m_realOpen;
    Ui_Edid::FileDialogFunction m_realSave;
};

void TestEdid::initTestCase()
{
    m_fixture.TakeDefaults();
    m_realOpen = Ui_Edid::openFileDialog;
    m_realSave = Ui_Edid::saveFileDialog;
    Ui_Edid::openFileDialog = AnswerOpen;
    Ui_Edid::saveFileDialog = AnswerSave;
}

void TestEdid::cleanupTestCase()
{
    Ui_Edid::openFileDialog = m_realOpen;
    Ui_Edid::saveFileDialog = m_realSave;
}

void TestEdid::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    DeviceState.inputCount = 4;
    DeviceState.outputCount = 4;
    DeviceState.modelUnconfirmed = false;
    LinkMode = LinkModeTcp;
    TcpLinkQueue().activate();
    Ui_Edid::ClearEdidBuffer();
    g_openAnswer.clear();
    g_saveAnswer.clear();
    g_openDirectories.clear();
    g_saveDirectories.clear();
    g_saveDialogs = 0;
}

void TestEdid::cleanup()
{
    m_dialog.reset();
    for (Ui_Edid *dialog : OpenEdidDialogs())
        delete dialog;
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

Ui_Edid *TestEdid::NewDialog()
{
    m_dialog.reset(new Ui_Edid());
    m_dialog->show();
    return m_dialog.data();
}

void TestEdid::LoadFile(const QByteArray &bytes)
{
    g_openAnswer = TempPath(QStringLiteral("load.bin"));
    QVERIFY(WriteFile(g_openAnswer, bytes));
    m_dialog->loadButton->click();
}

void TestEdid::layout()
{
    Ui_Edid *dialog = NewDialog();

    QCOMPARE(dialog->findChild<QLabel *>(QStringLiteral("TitleBarText"))->text(), QStringLiteral("EDID"));
    QCOMPARE(dialog->readPortLabel->text(), QStringLiteral("Read Output Port:"));
    QCOMPARE(dialog->writePortLabel->text(), QStringLiteral("Write Input Port:"));
    QCOMPARE(dialog->modeLabel->text(), QStringLiteral("EDID Mode:"));
    const QStringList buttonTexts { dialog->readButton->text(), dialog->saveButton->text(),
        dialog->writeButton->text(), dialog->loadButton->text(), dialog->modeWriteButton->text(),
        dialog->modeReadButton->text() };
    QCOMPARE(buttonTexts, (QStringList { "Read", "Save", "Write", "Load", "Write", "Read" }));

    // Rows 4 pixels apart, each widget 4 pixels right of the previous one.
    QCOMPARE(dialog->readPortLabel->geometry(), QRect(4, 4, 160, 26));
    QCOMPARE(dialog->outputComboBox->geometry(), QRect(168, 4, 80, 26));
    QCOMPARE(dialog->saveButton->geometry(), QRect(336, 4, 80, 26));
    QCOMPARE(dialog->inputComboBox->geometry(), QRect(168, 34, 80, 26));
    QCOMPARE(dialog->loadButton->geometry(), QRect(336, 34, 80, 26));
    QCOMPARE(dialog->modeComboBox->geometry(), QRect(168, 64, 180, 26));
    QCOMPARE(dialog->modeReadButton->geometry(), QRect(436, 64, 80, 26));
    // The hex view follows the mode row; its size comes from its font (hexViewLayout).
    QCOMPARE(dialog->columnHeaderView->y(), 94);
    QCOMPARE(dialog->rowHeaderView->x(), 4);

    // Every control lies inside the frame, so none is cut off by the fixed window size.
    for (QWidget *widget : dialog->frame->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        QVERIFY2(dialog->frame->rect().contains(widget->geometry()), widget->metaObject()->className());
    QCOMPARE(dialog->size(), QSize(dialog->frame->width(), dialog->frame->height() + 49));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());

    const QString numbers = QStringLiteral("00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
    QCOMPARE(dialog->rowHeaderView->toPlainText(), QString(numbers).replace(QLatin1Char(' '), QLatin1Char('\n')));
    QCOMPARE(dialog->columnHeaderView->toPlainText(), numbers);
    QVERIFY(dialog->hexView->isReadOnly());
    QCOMPARE(dialog->hexView->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(dialog->hexView->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(dialog->hexView->toPlainText().isEmpty());

    QCOMPARE(dialog->outputComboBox->count(), 4);
    QCOMPARE(dialog->inputComboBox->itemText(3), QStringLiteral("4"));
}

void TestEdid::positionForScreen_data()
{
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QPoint>("position");

    // A dialog of 520 x 465; the screen counts as at most 1920 x 1080.
    QTest::newRow("1366 x 768") << QSize(1366, 768) << QPoint(423, 151);
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QPoint(700, 307);
    QTest::newRow("2560 x 1440") << QSize(2560, 1440) << QPoint(700, 307);
    QTest::newRow("800 x 600") << QSize(800, 600) << QPoint(140, 67);
}

void TestEdid::positionForScreen()
{
    QFETCH(QSize, screen);
    QFETCH(QPoint, position);
    QCOMPARE(Ui_Edid::PositionForScreen(screen, QSize(520, 465)), position);
}

void TestEdid::modeList_data()
{
    QTest::addColumn<bool>("identified");
    QTest::addColumn<bool>("identifiedLater");
    QTest::addColumn<int>("countAfterPopup");

    QTest::newRow("identified") << true << true << 21;
    QTest::newRow("not identified") << false << false << 0;
    QTest::newRow("identified while open") << false << true << 21;
}

void TestEdid::modeList()
{
    QFETCH(bool, identified);
    QFETCH(bool, identifiedLater);
    QFETCH(int, countAfterPopup);

    DeviceState.modelUnconfirmed = !identified;
    Ui_Edid *dialog = NewDialog();
    QCOMPARE(dialog->modeComboBox->count(), identified ? 21 : 0);

    DeviceState.modelUnconfirmed = !identifiedLater;
    dialog->modeComboBox->showPopup();
    dialog->modeComboBox->hidePopup();
    QCOMPARE(dialog->modeComboBox->count(), countAfterPopup);
    if (countAfterPopup > 0) {
        QCOMPARE(dialog->modeComboBox->itemText(0), QStringLiteral("4K60-2.0"));
        QCOMPARE(dialog->modeComboBox->itemText(9), QStringLiteral("1920x1200"));
        QCOMPARE(dialog->modeComboBox->itemText(20), QStringLiteral("USER"));
    }
}

void TestEdid::loadThenWrite_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("inputIndex");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("queued");

    const QString notEdid = QStringLiteral("this not is EDID File!");
    const QString checkFail = QStringLiteral("EDID check fail,please check your EDID file!");

    const QByteArray one = GoodEdid(1);
    QTest::newRow("good, to input 1") << one << 0 << QStringList() << QStringList { UserEdidLine(1, one) };
    QTest::newRow("good, to input 4") << one << 3 << QStringList() << QStringList { UserEdidLine(4, one) };
    const QByteArray zero = WithByte(GoodEdid(0), 255, 0x5A);
    QTest::newRow("extension count 0, second block unchecked")
        << zero << 1 << QStringList() << QStringList { UserEdidLine(2, zero) };
    const QByteArray two = WithByte(GoodEdid(2), 200, 0x00);
    QTest::newRow("extension count 2, second block unchecked")
        << two << 0 << QStringList() << QStringList { UserEdidLine(1, two) };

    // A shorter file is padded with zeros and a longer one cut after 256 bytes, then checked.
    const QByteArray base = GoodEdid(0).left(128);
    QTest::newRow("base block only, 128 bytes")
        << base << 0 << QStringList() << QStringList { UserEdidLine(1, Padded(base)) };
    QTest::newRow("one byte too many")
        << (one + QByteArray(1, '\0')) << 0 << QStringList() << QStringList { UserEdidLine(1, one) };
    QTest::newRow("twice the size") << (one + one) << 0 << QStringList() << QStringList { UserEdidLine(1, one) };
    // After a rejected file the buffer holds zeros, so Write finds no header.
    QTest::newRow("base block with a broken checksum, 128 bytes")
        << WithByte(base, 127, quint8(base.at(127)) + 1) << 0 << QStringList { checkFail, notEdid } << QStringList();
    QTest::newRow("empty file") << QByteArray() << 0 << QStringList { notEdid, notEdid } << QStringList();
    QTest::newRow("header ends in 01") << WithByte(one, 7, 0x01) << 0 << QStringList { notEdid, notEdid }
                                       << QStringList();
    QTest::newRow("base checksum wrong") << WithByte(one, 127, quint8(one.at(127)) + 1) << 0
                                         << QStringList { checkFail, notEdid } << QStringList();
    QTest::newRow("extension checksum wrong, count 1")
        << WithByte(one, 255, quint8(one.at(255)) - 1) << 0 << QStringList { checkFail, notEdid } << QStringList();
}

void TestEdid::loadThenWrite()
{
    QFETCH(QByteArray, file);
    QFETCH(int, inputIndex);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, queued);

    Ui_Edid *dialog = NewDialog();
    TakeQueuedLines();
    MessageBoxCatcher catcher;
    LoadFile(file);
    QCOMPARE(dialog->hexView->toPlainText(), messages.isEmpty() ? Ui_Edid::HexRows(HexOf(Padded(file))) : QString());
    QCOMPARE(Ui_Edid::EdidBuffer(), messages.isEmpty() ? Padded(file) : QByteArray(256, '\0'));

    dialog->inputComboBox->setCurrentIndex(inputIndex);
    dialog->writeButton->click();
    QCOMPARE(catcher.Texts(), messages);
    for (const MessageBoxCatcher::CaughtBox &box : catcher.Boxes())
        QCOMPARE(box.parent, static_cast<const QWidget *>(dialog));
    QCOMPARE(TakeQueuedLines(), queued);
    if (!queued.isEmpty())
        QCOMPARE(queued.first().size(), 786); // 785 characters and the CR
}

void TestEdid::loadCancelledKeepsBuffer()
{
    Ui_Edid *dialog = NewDialog();
    const QByteArray good = GoodEdid(1);
    LoadFile(good);
    g_openAnswer.clear();
    dialog->loadButton->click();
    QCOMPARE(Ui_Edid::EdidBuffer(), good);
    QCOMPARE(dialog->hexView->toPlainText(), Ui_Edid::HexRows(HexOf(good)));
}

void TestEdid::lastDirectoryFollowsLoad()
{
    Ui_Edid *dialog = NewDialog();
    QVERIFY(QDir(m_fixture.Path()).mkpath(QStringLiteral("edid files")));
    const QString folder = TempPath(QStringLiteral("edid files"));
    g_openAnswer = folder + QStringLiteral("/monitor.bin");
    QVERIFY(WriteFile(g_openAnswer, GoodEdid(1)));
    dialog->loadButton->click();
    QCOMPARE(Ui_Edid::LastDirectory(), folder);

    // Every dialog of the run starts where the last file was loaded, for saving too.
    Ui_Edid other;
    g_openAnswer.clear();
    other.loadButton->click();
    QCOMPARE(g_openDirectories.last(), folder);
    other.saveButton->click();
    QCOMPARE(g_saveDirectories, QStringList { folder });
}

void TestEdid::outputEdidReply_data()
{
    QTest::addColumn<int>("selectedOutput");
    QTest::addColumn<uint>("replyOutput");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QByteArray>("bytes"); // shown and saved; empty: nothing shown, Save refuses
    QTest::addColumn<QString>("warning"); // after saving; empty: none

    const QString noHeader = QStringLiteral("EDID saved as read, but it does not begin with the EDID header!");
    const QString badSum = QStringLiteral("EDID saved as read, but its checksum is wrong!");
    const QByteArray good = GoodEdid(1);
    const QString goodText = HexOf(good);
    QTest::newRow("output 1") << 0 << 0u << goodText << good << QString();
    QTest::newRow("output 3") << 2 << 2u << goodText << good << QString();
    // A display's own EDID is kept as it came, even with a wrong checksum.
    const QByteArray odd = WithByte(good, 127, quint8(good.at(127)) + 1);
    QTest::newRow("display with a wrong checksum") << 0 << 0u << HexOf(odd) << odd << badSum;
    QTest::newRow("lower-case digits") << 1 << 1u << goodText.toLower() << good << QString();
    QTest::newRow("reply for another output") << 0 << 1u << goodText << QByteArray() << QString();
    QTest::newRow("reply for every output") << 0 << 255u << goodText << QByteArray() << QString();

    // Pair by pair: a pair that is not two hexadecimal digits, or is missing, reads 0.
    QString badPair = goodText;
    badPair.replace(3 * 50, 2, QStringLiteral("ZZ"));
    QTest::newRow("malformed pair") << 0 << 0u << badPair << WithByte(good, 50, 0x00)
                                    << (good.at(50) == 0 ? QString() : badSum);
    QString oneDigit = goodText;
    oneDigit.replace(3 * 10, 2, QStringLiteral("A "));
    QTest::newRow("pair with one digit") << 0 << 0u << oneDigit << WithByte(good, 10, 0x00)
                                         << (good.at(10) == 0 ? QString() : badSum);
    QTest::newRow("cut off after 100 bytes")
        << 0 << 0u << goodText.left(3 * 100 - 1) << (good.left(100) + QByteArray(156, '\0')) << badSum;
    QTest::newRow("cut inside the last pair")
        << 0 << 0u << goodText.left(3 * 255 + 1) << WithByte(good, 255, 0x00)
        << (good.at(255) == 0 ? QString() : badSum);
    QTest::newRow("text past 256 pairs") << 0 << 0u << goodText + " 12 34" << good << QString();
    QTest::newRow("empty text") << 0 << 0u << QString() << QByteArray(256, '\0') << noHeader;

    const QByteArray baseOnly = GoodEdid(0).left(128) + QByteArray(128, '\0');
    const QString baseText = HexOf(baseOnly.left(128));
    QTest::newRow("valid base block, no extension") << 0 << 0u << baseText << baseOnly << QString();
    QTest::newRow("valid base block, trailing space") << 0 << 0u << baseText + " " << baseOnly << QString();
    // The missing second block reads as zeros, whose sum is 0.
    QTest::newRow("base block announcing an extension")
        << 0 << 0u << HexOf(good.left(128)) << (good.left(128) + QByteArray(128, '\0')) << QString();
    QTest::newRow("base block with a wrong checksum")
        << 0 << 0u << HexOf(WithByte(baseOnly, 127, 0x01).left(128)) << WithByte(baseOnly, 127, 0x01) << badSum;
    QTest::newRow("base block without its header")
        << 0 << 0u << HexOf(WithByte(baseOnly, 7, 0x01).left(128)) << WithByte(baseOnly, 7, 0x01) << noHeader;
}

// The view shows exactly the bytes Save writes: always 256 of them.
void TestEdid::outputEdidReply()
{
    QFETCH(int, selectedOutput);
    QFETCH(uint, replyOutput);
    QFETCH(QString, reply);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, warning);

    Ui_Edid *dialog = NewDialog();
    dialog->outputComboBox->setCurrentIndex(selectedOutput);
    dialog->SLT_Update_OutEdid(replyOutput, reply);
    QCOMPARE(dialog->hexView->toPlainText(), bytes.isEmpty() ? QString() : Ui_Edid::HexRows(HexOf(bytes)));

    g_saveAnswer = TempPath(QStringLiteral("saved.bin"));
    const QByteArray previous("a file that was there before");
    QVERIFY(WriteFile(g_saveAnswer, previous));
    MessageBoxCatcher catcher;
    dialog->saveButton->click();
    if (bytes.isEmpty()) {
        QCOMPARE(catcher.Texts(), QStringList { "this not is EDID File!" });
        QCOMPARE(g_saveDialogs, 0);
        QCOMPARE(ReadFile(g_saveAnswer), previous);
    } else {
        QCOMPARE(catcher.Texts(), warning.isEmpty() ? QStringList() : QStringList { warning });
        QCOMPARE(ReadFile(g_saveAnswer), bytes);
        for (const MessageBoxCatcher::CaughtBox &box : catcher.Boxes())
            QCOMPARE(box.parent, static_cast<const QWidget *>(dialog));
    }
}

// Every open dialog shows the one shared buffer, also one opened later.
void TestEdid::viewsFollowTheSharedBuffer()
{
    Ui_Edid *first = NewDialog();
    Ui_Edid second;
    second.show();
    const QByteArray good = GoodEdid(1);
    first->SLT_Update_OutEdid(0, HexOf(good).left(3 * 64 - 1));
    const QString shown = Ui_Edid::HexRows(HexOf(good.left(64) + QByteArray(192, '\0')));
    QCOMPARE(first->hexView->toPlainText(), shown);
    QCOMPARE(second.hexView->toPlainText(), shown);
    Ui_Edid third;
    QCOMPARE(third.hexView->toPlainText(), shown);

    // A rejected file empties the buffer, and so every view.
    MessageBoxCatcher catcher;
    LoadFile(WithByte(good, 7, 0x01));
    QCOMPARE(catcher.Texts(), QStringList { "this not is EDID File!" });
    QCOMPARE(second.hexView->toPlainText(), QString());
    QCOMPARE(third.hexView->toPlainText(), QString());
}

void TestEdid::unsavableFileIsReported()
{
    Ui_Edid *dialog = NewDialog();
    LoadFile(GoodEdid(1));
    g_saveAnswer = TempPath(QStringLiteral("no such folder/saved.bin"));
    MessageBoxCatcher catcher;
    dialog->saveButton->click();
    QCOMPARE(catcher.Texts().size(), 1);
    QVERIFY2(catcher.Texts().first().startsWith(QStringLiteral("The EDID file could not be saved: ")),
        qPrintable(catcher.Texts().first()));
    QVERIFY(!QFileInfo::exists(g_saveAnswer));
}

void TestEdid::buttonsQueueCommands_data()
{
    QTest::addColumn<bool>("identified");
    QTest::addColumn<int>("output");
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("queued");

    QTest::newRow("read output 1") << true << 0 << 0 << 0 << "read" << QStringList { "GET OUT1 OUTPORT-EDID\r" };
    QTest::newRow("read output 4") << true << 3 << 0 << 0 << "read" << QStringList { "GET OUT4 OUTPORT-EDID\r" };
    QTest::newRow("choose input 3") << true << 0 << 2 << 0 << "choose input"
                                    << QStringList { "GET IN3 EDIDMODE\r" };
    QTest::newRow("mode read, input 2") << true << 0 << 1 << 0 << "mode read" << QStringList { "GET IN2 EDIDMODE\r" };
    QTest::newRow("mode write AUTO to input 2")
        << true << 0 << 1 << 19 << "mode write" << QStringList { "SET IN2 EDIDMODE AUTO\r" };
    QTest::newRow("mode write 4K60-2.0 to input 4")
        << true << 0 << 3 << 0 << "mode write" << QStringList { "SET IN4 EDIDMODE 4K60-2.0\r" };
    QTest::newRow("mode write 720p to input 1")
        << true << 0 << 0 << 16 << "mode write" << QStringList { "SET IN1 EDIDMODE 720p\r" };
    // Before identification the list is empty and nothing is set.
    QTest::newRow("mode write, not identified") << false << 0 << 0 << -1 << "mode write" << QStringList();
}

void TestEdid::buttonsQueueCommands()
{
    QFETCH(bool, identified);
    QFETCH(int, output);
    QFETCH(int, input);
    QFETCH(int, mode);
    QFETCH(QString, action);
    QFETCH(QStringList, queued);

    DeviceState.modelUnconfirmed = !identified;
    Ui_Edid *dialog = NewDialog();
    TakeQueuedLines();
    QSignalSpy kicks(dialog, &Ui_Edid::SGL_UpdateEmit);
    dialog->outputComboBox->setCurrentIndex(output);
    dialog->modeComboBox->setCurrentIndex(mode);
    if (action == QLatin1String("choose input")) {
        // The operator picks the entry from the list: activated, not a programmatic change.
        emit dialog->inputComboBox->activated(input);
        QCOMPARE(dialog->inputComboBox->currentIndex(), input);
    } else {
        dialog->inputComboBox->setCurrentIndex(input);
        QPushButton *button = action == QLatin1String("read") ? dialog->readButton
            : action == QLatin1String("mode read")            ? dialog->modeReadButton
                                                              : dialog->modeWriteButton;
        button->click();
    }
    QCOMPARE(TakeQueuedLines(), queued);
    QCOMPARE(kicks.count(), 1);
}

void TestEdid::inputEdidModeReply_data()
{
    QTest::addColumn<int>("selectedInput");
    QTest::addColumn<uint>("replyInput");
    QTest::addColumn<int>("replyMode");
    QTest::addColumn<int>("shownMode");

    QTest::newRow("selected input") << 0 << 0u << 19 << 19;
    QTest::newRow("selected input 3") << 2 << 2u << 20 << 20;
    QTest::newRow("another input") << 0 << 1u << 19 << 3;
    QTest::newRow("every input") << 0 << 255u << 19 << 3;
    QTest::newRow("mode outside the list") << 0 << 0u << 21 << 3;
}

void TestEdid::inputEdidModeReply()
{
    QFETCH(int, selectedInput);
    QFETCH(uint, replyInput);
    QFETCH(int, replyMode);
    QFETCH(int, shownMode);

    Ui_Edid *dialog = NewDialog();
    dialog->inputComboBox->setCurrentIndex(selectedInput);
    dialog->modeComboBox->setCurrentIndex(3);
    TakeQueuedLines();
    dialog->SLT_Update_InEdidMode(replyInput, replyMode);
    QCOMPARE(dialog->modeComboBox->currentIndex(), shownMode);
    // Showing a reply never sends anything.
    QCOMPARE(TakeQueuedLines(), QStringList());
}

void TestEdid::writeConfirmation_data()
{
    QTest::addColumn<bool>("written");
    QTest::addColumn<QStringList>("received");
    QTest::addColumn<int>("successMessages");
    QTest::addColumn<int>("failMessages");

    QTest::newRow("confirmed") << true << QStringList { "IN2 EDID-USER OK\r" } << 1 << 0;
    QTest::newRow("after the LF of the previous line") << true << QStringList { "\nIN2 EDID-USER OK\r" } << 1 << 0;
    QTest::newRow("other lines first") << true << QStringList { "IN2 EDIDMODE USER\r", "IN2 EDID-USER OK\r" } << 1 << 0;
    QTest::newRow("confirmation of another input") << true << QStringList { "IN1 EDID-USER OK\r" } << 0 << 0;
    QTest::newRow("input 22 is not input 2") << true << QStringList { "IN22 EDID-USER OK\r" } << 0 << 0;
    QTest::newRow("refused") << true << QStringList { "IN2 EDID-USER FAIL\r" } << 0 << 1;
    QTest::newRow("repeated confirmation") << true << QStringList { "IN2 EDID-USER OK\r", "IN2 EDID-USER OK\r" }
                                           << 1 << 0;
    QTest::newRow("nothing written") << false << QStringList { "IN2 EDID-USER OK\r" } << 0 << 0;
    // A confirmation awaited no longer: a later, unrelated OK confirms nothing.
    QTest::newRow("refused, then a late OK") << true << QStringList { "IN2 EDID-USER FAIL\r", "IN2 EDID-USER OK\r" }
                                             << 0 << 1;
    QTest::newRow("timed out, then a late OK")
        << true << QStringList { "timeout:SET IN2 EDID-USER 00 FF", "IN2 EDID-USER OK\r" } << 0 << 0;
    QTest::newRow("another command timed out") << true
                                               << QStringList { "timeout:GET IN2 EDIDMODE", "IN2 EDID-USER OK\r" } << 1 << 0;
    QTest::newRow("port changed, then an OK") << true << QStringList { "port:2", "IN2 EDID-USER OK\r" } << 0 << 0;
    QTest::newRow("port changed and back, then an OK")
        << true << QStringList { "port:2", "port:1", "IN2 EDID-USER OK\r" } << 0 << 0;
    QTest::newRow("same port chosen again, then an OK") << true << QStringList { "choose:1", "IN2 EDID-USER OK\r" }
                                                        << 1 << 0;
    QTest::newRow("ports rebuilt at identification, then an OK")
        << true << QStringList { "identified", "IN2 EDID-USER OK\r" } << 1 << 0;
}

void TestEdid::writeConfirmation()
{
    QFETCH(bool, written);
    QFETCH(QStringList, received);
    QFETCH(int, successMessages);
    QFETCH(int, failMessages);

    Ui_Edid *dialog = NewDialog();
    LoadFile(GoodEdid(1));
    dialog->inputComboBox->setCurrentIndex(1);
    if (written)
        dialog->writeButton->click();
    MessageBoxCatcher catcher;
    for (const QString &line : received) {
        if (line.startsWith(QLatin1String("timeout:")))
            dialog->SLT_WaitReplyTimeout(line.mid(8));
        else if (line.startsWith(QLatin1String("port:")))
            dialog->inputComboBox->setCurrentIndex(line.mid(5).toInt());
        else if (line.startsWith(QLatin1String("choose:")))
            emit dialog->inputComboBox->activated(line.mid(7).toInt());
        else if (line == QLatin1String("identified"))
            dialog->SLT_Update_PortCounts();
        else
            dialog->SLT_Update_RecvLine(line);
    }
    QStringList expected;
    for (int k = 0; k < successMessages; ++k)
        expected << QStringLiteral("EDID Write Success.");
    for (int k = 0; k < failMessages; ++k)
        expected << QStringLiteral("EDID Write Failed");
    QCOMPARE(catcher.Texts(), expected);
}

// The hex view, measured in the font it uses: all 256 bytes, 16 to a row, each row whole on
// one line, each column under its column number and each row beside its row number.
void TestEdid::hexViewLayout()
{
    Ui_Edid *dialog = NewDialog();
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    dialog->SLT_Update_OutEdid(0, HexOf(bytes));
    QApplication::processEvents();

    // The system's fixed font where the platform names one (the offscreen platform does not).
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QTextEdit *view : { dialog->hexView, dialog->rowHeaderView, dialog->columnHeaderView }) {
        if (QFontInfo(fixed).fixedPitch())
            QCOMPARE(QFontInfo(view->font()).family(), QFontInfo(fixed).family());
        QVERIFY(QFontInfo(view->font()).fixedPitch());
        QVERIFY(dialog->frame->rect().contains(view->geometry()));
    }
    const QFontMetrics metrics(dialog->hexView->font());

    QTextDocument *document = dialog->hexView->document();
    QCOMPARE(document->blockCount(), 16);
    const int margin = int(document->documentMargin());
    const QWidget *viewport = dialog->hexView->viewport();
    for (int row = 0; row < 16; ++row) {
        const QTextBlock block = document->findBlockByNumber(row);
        QCOMPARE(block.text(), HexOf(bytes.mid(16 * row, 16)));
        QCOMPARE(block.layout()->lineCount(), 1);
        // The whole row fits the width of the view, the whole table its height.
        QVERIFY2(metrics.horizontalAdvance(block.text()) + 2 * margin <= viewport->width(),
            qPrintable(QStringLiteral("%1 > %2").arg(metrics.horizontalAdvance(block.text()) + 2 * margin).arg(viewport->width())));
        const QRectF box = document->documentLayout()->blockBoundingRect(block);
        QVERIFY(box.bottom() <= viewport->height());

        // Beside its row number.
        QTextCursor inView(block);
        QTextCursor inRowHeader(dialog->rowHeaderView->document()->findBlockByNumber(row));
        QCOMPARE(inRowHeader.block().text(), QString::asprintf("%02X", row));
        const QPoint viewRow = dialog->hexView->viewport()->mapTo(dialog->frame, dialog->hexView->cursorRect(inView).center());
        const QPoint headerRow
            = dialog->rowHeaderView->viewport()->mapTo(dialog->frame, dialog->rowHeaderView->cursorRect(inRowHeader).center());
        QCOMPARE(viewRow.y(), headerRow.y());
    }
    // Under its column number.
    for (int column = 0; column < 16; ++column) {
        QTextCursor inView(document->firstBlock());
        inView.setPosition(3 * column);
        QTextCursor inColumnHeader(dialog->columnHeaderView->document());
        inColumnHeader.setPosition(3 * column);
        const QPoint viewColumn
            = dialog->hexView->viewport()->mapTo(dialog->frame, dialog->hexView->cursorRect(inView).topLeft());
        const QPoint headerColumn = dialog->columnHeaderView->viewport()->mapTo(
            dialog->frame, dialog->columnHeaderView->cursorRect(inColumnHeader).topLeft());
        QCOMPARE(viewColumn.x(), headerColumn.x());
        QVERIFY(headerColumn.y() < viewColumn.y());
    }
    QVERIFY(metrics.horizontalAdvance(dialog->columnHeaderView->toPlainText()) + 2 * margin
        <= dialog->columnHeaderView->viewport()->width());
}

// A dialog opened before identification offers the 16 ports of the unknown device; once the
// device is identified its lists hold its own counts, the chosen port kept.
void TestEdid::portListsFollowDevice()
{
    DeviceState.inputCount = 16;
    DeviceState.outputCount = 16;
    DeviceState.modelUnconfirmed = true;
    QScopedPointer<Ui_Matrix> matrix(new Ui_Matrix());
    matrix->show();
    QTest::mouseClick(matrix->edidButton, Qt::LeftButton);
    QCOMPARE(OpenEdidDialogs().size(), 1);
    Ui_Edid *dialog = OpenEdidDialogs().first();
    QCOMPARE(dialog->outputComboBox->count(), 16);
    QCOMPARE(dialog->inputComboBox->count(), 16);
    QCOMPARE(dialog->modeComboBox->count(), 0);
    dialog->inputComboBox->setCurrentIndex(2);
    dialog->outputComboBox->setCurrentIndex(9);

    DeviceState.inputCount = 4;
    DeviceState.outputCount = 4;
    DeviceState.modelUnconfirmed = false;
    matrix->RebuildIfConfirmed();
    QCOMPARE(dialog->outputComboBox->count(), 4);
    QCOMPARE(dialog->inputComboBox->count(), 4);
    QCOMPARE(dialog->modeComboBox->count(), 21);
    QCOMPARE(dialog->inputComboBox->currentIndex(), 2);
    // Port 10 is gone: the first port is chosen instead of an empty list.
    QCOMPARE(dialog->outputComboBox->currentIndex(), 0);
    TakeQueuedLines();
    dialog->readButton->click();
    QCOMPARE(TakeQueuedLines(), QStringList { "GET OUT1 OUTPORT-EDID\r" });

    // A dialog opened now offers the device's counts at once.
    QTest::mouseClick(matrix->edidButton, Qt::LeftButton);
    QCOMPARE(OpenEdidDialogs().size(), 2);
    for (Ui_Edid *opened : OpenEdidDialogs())
        QCOMPARE(opened->outputComboBox->count(), 4);
}

void TestEdid::matrixPageOpensDialog_data()
{
    QTest::addColumn<int>("linkMode");
    QTest::addColumn<bool>("identified");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QStringList>("queued");

    QTest::newRow("no link chosen") << int(LinkModeNone) << true << false << QStringList();
    QTest::newRow("TCP, identified") << int(LinkModeTcp) << true << true << QStringList { "GET IN1 EDIDMODE\r" };
    QTest::newRow("TCP, not identified") << int(LinkModeTcp) << false << true << QStringList();
}

void TestEdid::matrixPageOpensDialog()
{
    QFETCH(int, linkMode);
    QFETCH(bool, identified);
    QFETCH(bool, opens);
    QFETCH(QStringList, queued);

    QScopedPointer<Ui_Matrix> matrix(new Ui_Matrix());
    matrix->BuildGrid(4, 4);
    DeviceState.modelUnconfirmed = !identified;
    matrix->show();
    LinkMode = linkMode;
    QSignalSpy kicks(matrix.data(), &Ui_Matrix::SGL_UpdateEmit);
    TakeQueuedLines();
    QTest::mouseClick(matrix->edidButton, Qt::LeftButton);

    const QList<Ui_Edid *> dialogs = OpenEdidDialogs();
    QCOMPARE(dialogs.size(), opens ? 1 : 0);
    QCOMPARE(TakeQueuedLines(), queued);
    QCOMPARE(kicks.count(), queued.size());
    if (!opens)
        return;

    // The page relays the parser's EDID results to the open dialog.
    Ui_Edid *dialog = dialogs.first();
    QVERIFY(!dialog->isModal());
    const QString text = HexOf(GoodEdid(1));
    emit matrix->SGL_Update_OutEdid(0, text);
    QCOMPARE(dialog->hexView->toPlainText(), Ui_Edid::HexRows(text));
    if (identified) {
        emit matrix->SGL_Update_InEdidMode(0, 7);
        QCOMPARE(dialog->modeComboBox->currentIndex(), 7);
    }

    // A second click opens a second dialog; both close with the page and delete themselves.
    QTest::mouseClick(matrix->edidButton, Qt::LeftButton);
    QCOMPARE(OpenEdidDialogs().size(), 2);
    QPointer<Ui_Edid> first(dialog);
    matrix.reset();
    QCOMPARE(OpenEdidDialogs().size(), 0);
    QTRY_VERIFY(first.isNull());
}

void TestEdid::endToEndWithSimulator()
{
    QVERIFY2(QFileInfo::exists(TestBinDir() + QStringLiteral("/tavilon-sim")), "tavilon-sim is not built");
    TcpLinkQueue().deactivate();
    LinkMode = LinkModeNone;
    DeviceState_Clear();

    GuiTest::SimProcess sim;
    QVERIFY(sim.WaitUntilListening());
    QScopedPointer<Ui_Main> mainWindow(new Ui_Main());
    Ui_Uart_Network *connection = mainWindow->connectionPage;
    mainWindow->show();
    mainWindow->tabWidget->setCurrentWidget(connection);
    GuiTest::TypeInto(connection->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(connection->portEdit, sim.tcpPort);
    QVERIFY(GuiTest::ChooseLoopbackLocalAddress(connection));
    QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(connection->statusLog->toPlainText().contains(QStringLiteral("->Sync Over!<-")),
        SyncTimeoutMs);
    QCOMPARE(LinkMode, int(LinkModeTcp));

    mainWindow->matrixPage->edidButton->click();
    QCOMPARE(OpenEdidDialogs().size(), 1);
    Ui_Edid *dialog = OpenEdidDialogs().first();
    // Identified: the mode list is there for the start-up read's reply.
    QCOMPARE(dialog->modeComboBox->count(), 21);

    // Read output 1: the reply's text is shown and becomes the buffer.
    dialog->outputComboBox->setCurrentIndex(0);
    dialog->readButton->click();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->hexView->toPlainText().isEmpty(), ReplyTimeoutMs);
    const QString shown = dialog->hexView->toPlainText().replace(QLatin1Char('\n'), QLatin1Char(' '));
    QVERIFY2(shown.startsWith(QLatin1String("00 FF FF FF FF FF FF 00 ")), qPrintable(shown.left(40)));
    QByteArray fromView;
    QVERIFY(EdidBlock::FromHexText(shown, &fromView));
    QCOMPARE(Ui_Edid::EdidBuffer(), fromView);
    QCOMPARE(int(EdidBlock::CheckBytes(fromView)), int(EdidBlock::Valid));

    // Save it, load it back and write it to input 1; the device confirms.
    g_saveAnswer = TempPath(QStringLiteral("output1.bin"));
    dialog->saveButton->click();
    QCOMPARE(ReadFile(g_saveAnswer), fromView);
    g_openAnswer = g_saveAnswer;
    MessageBoxCatcher catcher;
    dialog->loadButton->click();
    QCOMPARE(catcher.Texts(), QStringList());
    QSignalSpy sent(mainWindow.data(), &Ui_Main::SGL_DEBUG_SHOW_SendText);
    dialog->inputComboBox->setCurrentIndex(0);
    dialog->writeButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(catcher.Texts(), QStringList { "EDID Write Success." }, ReplyTimeoutMs);
    QCOMPARE(catcher.Boxes().first().parent, static_cast<const QWidget *>(dialog));
    QCOMPARE(sent.count(), 1);
    QCOMPARE(sent.first().at(0).toString(), UserEdidLine(1, fromView));

    connection->DisconnectActiveLink();
    delete dialog;
}

void TestEdid::modeReadOnceListFilled_data()
{
    QTest::addColumn<QString>("how"); // what fills the list
    QTest::addColumn<int>("input");
    QTest::addColumn<QStringList>("queued");

    QTest::newRow("identification") << "identified" << 0 << QStringList { "GET IN1 EDIDMODE\r" };
    QTest::newRow("identification, input 3") << "identified" << 2 << QStringList { "GET IN3 EDIDMODE\r" };
    QTest::newRow("list opened after identification") << "popup" << 1 << QStringList { "GET IN2 EDIDMODE\r" };
    QTest::newRow("list opened, still not identified") << "popup unidentified" << 0 << QStringList();
}

// A dialog opened before identification gets its mode list later; the list then shows no mode
// until the device has told the selected input's.
void TestEdid::modeReadOnceListFilled()
{
    QFETCH(QString, how);
    QFETCH(int, input);
    QFETCH(QStringList, queued);

    DeviceState.modelUnconfirmed = true;
    Ui_Edid *dialog = NewDialog();
    dialog->StartupRead();
    QCOMPARE(TakeQueuedLines(), QStringList());
    dialog->inputComboBox->setCurrentIndex(input);

    DeviceState.modelUnconfirmed = how == QLatin1String("popup unidentified");
    if (how == QLatin1String("identified")) {
        dialog->SLT_Update_PortCounts();
    } else {
        dialog->modeComboBox->showPopup();
        dialog->modeComboBox->hidePopup();
    }
    QCOMPARE(TakeQueuedLines(), queued);
    QCOMPARE(dialog->modeComboBox->currentIndex(), -1);
    if (queued.isEmpty())
        return;
    dialog->SLT_Update_InEdidMode(quint32(input), 19);
    QCOMPARE(dialog->modeComboBox->currentText(), QStringLiteral("AUTO"));
}

void TestEdid::modeShowsDeviceAfterUnansweredWrite_data()
{
    QTest::addColumn<int>("confirmed"); // -1: the device told nothing yet
    QTest::addColumn<QString>("event");
    QTest::addColumn<int>("shown");

    QTest::newRow("time-out of the write") << 19 << "timeout:SET IN2 EDIDMODE 720p\r" << 19;
    QTest::newRow("time-out, nothing read before") << -1 << "timeout:SET IN2 EDIDMODE 720p\r" << -1;
    QTest::newRow("refused") << 19 << "line:IN2 EDIDMODE FAIL\r" << 19;
    QTest::newRow("link closed") << 20 << "closed" << 20;
    QTest::newRow("another input's write timed out") << 19 << "timeout:SET IN1 EDIDMODE 720p\r" << 16;
    QTest::newRow("input 22 is not input 2") << 19 << "timeout:SET IN22 EDIDMODE 720p\r" << 16;
    QTest::newRow("another command timed out") << 19 << "timeout:GET OUT2 OUTPORT-EDID\r" << 16;
    QTest::newRow("confirmed by the device") << 19 << "mode:16" << 16;
}

// The mode list shows the chosen mode while its write is in flight, and the device's mode
// again when the write is not answered, refused or lost with the link.
void TestEdid::modeShowsDeviceAfterUnansweredWrite()
{
    QFETCH(int, confirmed);
    QFETCH(QString, event);
    QFETCH(int, shown);

    Ui_Edid *dialog = NewDialog();
    dialog->inputComboBox->setCurrentIndex(1);
    if (confirmed >= 0)
        dialog->SLT_Update_InEdidMode(1, confirmed);
    dialog->modeComboBox->setCurrentIndex(16);
    TakeQueuedLines();
    dialog->modeWriteButton->click();
    QCOMPARE(TakeQueuedLines(), QStringList { "SET IN2 EDIDMODE 720p\r" });
    QCOMPARE(dialog->modeComboBox->currentIndex(), 16);

    if (event.startsWith(QLatin1String("timeout:")))
        dialog->SLT_WaitReplyTimeout(event.mid(8));
    else if (event.startsWith(QLatin1String("line:")))
        dialog->SLT_Update_RecvLine(event.mid(5));
    else if (event.startsWith(QLatin1String("mode:")))
        dialog->SLT_Update_InEdidMode(1, event.mid(5).toInt());
    else
        dialog->SLT_LinkClosed();
    QCOMPARE(dialog->modeComboBox->currentIndex(), shown);
}

// The simulator refuses every user EDID: the dialog says so at once, and the link does not
// wait out the reply time for an OK that will not come (no time-out message follows).
void TestEdid::refusedWriteAgainstSimulator()
{
    TcpLinkQueue().deactivate();
    LinkMode = LinkModeNone;
    DeviceState_Clear();

    GuiTest::SimProcess sim(QString(), { "--refuse", "EDID-USER" });
    QVERIFY(sim.WaitUntilListening());
    QScopedPointer<Ui_Main> mainWindow(new Ui_Main());
    Ui_Uart_Network *connection = mainWindow->connectionPage;
    mainWindow->show();
    mainWindow->tabWidget->setCurrentWidget(connection);
    GuiTest::TypeInto(connection->ipEdit, QStringLiteral("127.0.0.1"));
    GuiTest::TypeInto(connection->portEdit, sim.tcpPort);
    QVERIFY(GuiTest::ChooseLoopbackLocalAddress(connection));
    QTest::mouseClick(connection->networkConnectButton, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(connection->statusLog->toPlainText().contains(QStringLiteral("->Sync Over!<-")),
        SyncTimeoutMs);

    mainWindow->matrixPage->edidButton->click();
    QCOMPARE(OpenEdidDialogs().size(), 1);
    Ui_Edid *dialog = OpenEdidDialogs().first();
    QTRY_COMPARE_WITH_TIMEOUT(dialog->ConfirmedMode() >= 0, true, ReplyTimeoutMs);
    g_openAnswer = TempPath(QStringLiteral("good.bin"));
    QVERIFY(WriteFile(g_openAnswer, GoodEdid(1)));
    MessageBoxCatcher catcher;
    dialog->loadButton->click();
    QSignalSpy sent(mainWindow.data(), &Ui_Main::SGL_DEBUG_SHOW_SendText);
    dialog->writeButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(catcher.Texts(), QStringList { "EDID Write Failed" }, ReplyTimeoutMs);
    QCOMPARE(catcher.Boxes().first().parent, static_cast<const QWidget *>(dialog));
    // The link is free again: the next command goes out and is answered.
    dialog->modeReadButton->click();
    QTRY_COMPARE_WITH_TIMEOUT(sent.count(), 2, ReplyTimeoutMs);
    QCOMPARE(sent.at(1).at(0).toString(), QStringLiteral("GET IN1 EDIDMODE\r"));
    QTest::qWait(2500);
    QCOMPARE(catcher.Texts(), QStringList { "EDID Write Failed" });

    connection->DisconnectActiveLink();
    delete dialog;
}

QTEST_MAIN(TestEdid)
#include "tst_edid.moc"
