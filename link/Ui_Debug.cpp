#include "link/Ui_Debug.h"

#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "settings/ConfigFile.h"

#include <QColor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QScreen>
#include <QTextCharFormat>
#include <QTextCodec>
#include <QTextCursor>
#include <QTextEdit>
#include <QTime>
#include <QVBoxLayout>

namespace {

constexpr int FullHdWidth = 1920;
constexpr int FullHdHeight = 1080;
constexpr int LargeScreenWidth = 640;
constexpr int LargeScreenHeight = 540;

const QString HexFormatName = QStringLiteral("HEX FORMAT");
const QString AsciiFormatName = QStringLiteral("ASCII FORMAT");

QSize PrimaryScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(FullHdWidth, FullHdHeight);
}

// The direction tag and the time in front of each logged line, and the colour of sent lines,
// tell logged lines from each other and from the typing box at a glance.
const QColor LogTagColour(0x8a, 0x8a, 0x8a);
const QColor SentTextColour(0x4f, 0xa3, 0xe0);

void SetUpLogBox(QTextEdit *box)
{
    box->setReadOnly(true);
    box->setLineWrapMode(QTextEdit::NoWrap);
    box->document()->setMaximumBlockCount(Ui_Debug::MaximumLines);
}

// Scrolled down to the newest line and fully left, so that every line's time and direction
// show; a long line is read by scrolling right, never by having the box jump there.
void ShowLastLineStart(QTextEdit *box)
{
    box->moveCursor(QTextCursor::End);
    box->verticalScrollBar()->setValue(box->verticalScrollBar()->maximum());
    box->horizontalScrollBar()->setValue(box->horizontalScrollBar()->minimum());
}

// Each logged line is a block of its own at the end of the box.
void AppendLogLine(QTextEdit *box, const QString &line, const QColor &textColour)
{
    QTextCursor cursor(box->document());
    cursor.movePosition(QTextCursor::End);
    if (!box->document()->isEmpty())
        cursor.insertBlock();
    const int tagEnd = line.indexOf(QLatin1Char(' '), line.indexOf(QLatin1Char(' ')) + 1) + 1;
    QTextCharFormat tagFormat;
    tagFormat.setForeground(LogTagColour);
    cursor.insertText(line.left(tagEnd), tagFormat);
    QTextCharFormat textFormat;
    if (textColour.isValid())
        textFormat.setForeground(textColour);
    cursor.insertText(line.mid(tagEnd), textFormat);
    ShowLastLineStart(box);
}

void AppendLogLines(QTextEdit *box, const QStringList &lines, const QColor &textColour = QColor())
{
    for (const QString &line : lines)
        AppendLogLine(box, line, textColour);
}

// Sent bytes as the operator typed them: UTF-8 when they are valid UTF-8 (typed text is sent
// so), one character per byte otherwise.
QString TextOfBytes(const QByteArray &bytes)
{
    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0 ? text : QString::fromLatin1(bytes);
}

// The text lines of a transfer without the line ends around them; a line end alone gives
// one empty line.
QStringList TextLines(const QString &text)
{
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\\r\\n|\\r|\\n")));
    while (lines.size() > 1 && lines.first().isEmpty())
        lines.removeFirst();
    while (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool IsHexDigit(QChar character)
{
    const ushort code = character.unicode();
    return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'F') || (code >= 'a' && code <= 'f');
}

const char HexNote[] = "Not sent: type hexadecimal byte pairs, for example 47 45 54 0D";

QHBoxLayout *LabelRow(QLabel *label, QPushButton *clearButton)
{
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addStretch(1);
    row->addWidget(clearButton);
    return row;
}

} // namespace

Ui_Debug::Ui_Debug(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    CreateWidgets();
    ArrangeWidgets();
    MakeConnections();
    SLT_SELECT_ASCII_FORMAT();
    setWindowTitle(QStringLiteral("Debug"));
    ShowIcon();
    PlaceOnScreen();
}

QRect Ui_Debug::GeometryForScreen(const QSize &screenSize)
{
    const int screenWidth = screenSize.width();
    const int screenHeight = screenSize.height();
    const int width = screenWidth >= FullHdWidth ? LargeScreenWidth : screenWidth / 3;
    const int height = screenHeight >= FullHdHeight ? LargeScreenHeight : screenHeight / 2;
    const int x = (qMin(screenWidth, FullHdWidth) - width) / 2;
    const int y = (qMin(screenHeight, FullHdHeight) - height) / 2;
    return QRect(x, y, width, height);
}

QByteArray Ui_Debug::TransferBytes(const QString &typedText)
{
    QByteArray bytes = typedText.toUtf8();
    bytes.replace("\n", "\r\n");
    return bytes;
}

bool Ui_Debug::HexPairsToBytes(const QString &typedText, QByteArray *bytes)
{
    bytes->clear();
    QString digits;
    for (const QChar character : typedText) {
        if (character.isSpace())
            continue;
        if (!IsHexDigit(character))
            return false;
        digits += character;
    }
    if (digits.size() % 2 != 0)
        return false;
    *bytes = QByteArray::fromHex(digits.toLatin1());
    return true;
}

QStringList Ui_Debug::LogLines(const QTime &time, const QString &direction, const QByteArray &bytes, bool hex)
{
    const QString tag = time.toString(QStringLiteral("HH:mm:ss.zzz")) + QLatin1Char(' ') + direction + QLatin1Char(' ');
    if (hex)
        return { tag + QString::fromLatin1(bytes.toHex(' ').toUpper()) };
    QStringList lines;
    for (const QString &line : TextLines(TextOfBytes(bytes)))
        lines << tag + line;
    return lines;
}

void Ui_Debug::CreateWidgets()
{
    recvLabel = new QLabel(this);
    recvBox = new QTextEdit(this);
    SetUpLogBox(recvBox);
    recvClearButton = new QPushButton(QStringLiteral("Clear"), this);

    sendLabel = new QLabel(this);
    sendLogBox = new QTextEdit(this);
    SetUpLogBox(sendLogBox);
    sendClearButton = new QPushButton(QStringLiteral("Clear"), this);
    sendBox = new QTextEdit(this);
    // Typed commands are sent as plain text; pasted formatting would not reach the device.
    sendBox->setAcceptRichText(false);
    sendBox->setLineWrapMode(QTextEdit::NoWrap);
    sendBox->setPlaceholderText(QStringLiteral("Type here, then Send"));
    sendNoteLabel = new QLabel(this);

    sendButton = new QPushButton(QStringLiteral("Send"), this);
    hexFormatButton = new QPushButton(HexFormatName, this);
    asciiFormatButton = new QPushButton(AsciiFormatName, this);
}

void Ui_Debug::ArrangeWidgets()
{
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(hexFormatButton);
    buttonRow->addWidget(asciiFormatButton);
    buttonRow->addStretch(1);
    buttonRow->addWidget(sendButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(LabelRow(recvLabel, recvClearButton));
    layout->addWidget(recvBox, 3);
    layout->addLayout(LabelRow(sendLabel, sendClearButton));
    layout->addWidget(sendLogBox, 2);
    layout->addWidget(sendBox, 1);
    layout->addWidget(sendNoteLabel);
    layout->addLayout(buttonRow);
}

void Ui_Debug::MakeConnections()
{
    connect(recvClearButton, &QPushButton::clicked, this, &Ui_Debug::SLT_CLEAR_RECV_DATA);
    connect(sendClearButton, &QPushButton::clicked, this, &Ui_Debug::SLT_CLEAR_SEND_DATA);
    connect(hexFormatButton, &QPushButton::clicked, this, &Ui_Debug::SLT_SELECT_HEX_FORMAT);
    connect(asciiFormatButton, &QPushButton::clicked, this, &Ui_Debug::SLT_SELECT_ASCII_FORMAT);
    connect(sendButton, &QPushButton::clicked, this, &Ui_Debug::SLT_SEND_DATA);
}

void Ui_Debug::PlaceOnScreen()
{
    setGeometry(GeometryForScreen(PrimaryScreenSize()));
}

void Ui_Debug::ShowIcon()
{
    const QString iconPath = ConfigFile_AppDir() + QStringLiteral("/APP/Image/mainui_logo.png");
    if (QFileInfo::exists(iconPath))
        setWindowIcon(QIcon(iconPath));
}

void Ui_Debug::SLT_SETUP_UI_DEBUG()
{
    show();
    raise();
    activateWindow();
    // Lines logged while the console was closed were laid out without a width.
    ShowLastLineStart(recvBox);
    ShowLastLineStart(sendLogBox);
}

void Ui_Debug::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Ui_Debug::SLT_CLOSE_UI_DEBUG()
{
    close();
}

void Ui_Debug::SLT_CLEAR_RECV_DATA()
{
    recvBox->clear();
}

void Ui_Debug::SLT_CLEAR_SEND_DATA()
{
    sendLogBox->clear();
}

// The format applies to the lines logged from now on and to what Send reads from the
// typing box.
void Ui_Debug::SLT_SELECT_HEX_FORMAT()
{
    m_hexFormat = true;
    hexFormatButton->setEnabled(false);
    asciiFormatButton->setEnabled(true);
    ShowFormat(HexFormatName);
}

void Ui_Debug::SLT_SELECT_ASCII_FORMAT()
{
    m_hexFormat = false;
    asciiFormatButton->setEnabled(false);
    hexFormatButton->setEnabled(true);
    ShowFormat(AsciiFormatName);
}

void Ui_Debug::ShowFormat(const QString &formatName)
{
    recvLabel->setText(QStringLiteral("Recv:") + formatName);
    sendLabel->setText(QStringLiteral("Send:") + formatName);
}

void Ui_Debug::SLT_Sync_Show_Recv(QString Text)
{
    SLT_Sync_Show_RecvBytes(Text.toUtf8());
}

void Ui_Debug::SLT_Sync_Show_RecvBytes(QByteArray Bytes)
{
    AppendLogLines(recvBox, LogLines(QTime::currentTime(), QStringLiteral("RX"), Bytes, m_hexFormat));
}

void Ui_Debug::SLT_Sync_Show_Send(QString Text)
{
    AppendLogLines(
        sendLogBox, LogLines(QTime::currentTime(), QStringLiteral("TX"), Text.toLatin1(), m_hexFormat), SentTextColour);
}

bool Ui_Debug::TypedBytes(QByteArray *bytes)
{
    const QString typed = sendBox->toPlainText();
    if (!m_hexFormat) {
        *bytes = TransferBytes(typed);
        return true;
    }
    if (HexPairsToBytes(typed, bytes))
        return true;
    sendNoteLabel->setText(QLatin1String(HexNote));
    return false;
}

// What was typed since the last Send goes out as one transfer that awaits no reply, so the
// next queued line follows after the usual pause; the typing box is then emptied, and the
// link logs the transfer in the sent box.
void Ui_Debug::SLT_SEND_DATA()
{
    QByteArray bytes;
    if (TypedBytes(&bytes)) {
        sendNoteLabel->clear();
        LinkQueue *queue = SelectedLinkQueue();
        if (queue && !bytes.isEmpty()) {
            queue->push(bytes, nullptr, 0);
            sendBox->clear();
        }
    }
    emit SGL_UpdateEmit();
}
