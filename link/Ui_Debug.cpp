#include "link/Ui_Debug.h"

#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "settings/ConfigFile.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextCursor>
#include <QTextEdit>
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

void SetUpLogBox(QTextEdit *box)
{
    box->setLineWrapMode(QTextEdit::NoWrap);
    box->document()->setMaximumBlockCount(Ui_Debug::MaximumLines);
}

void AppendPlainText(QTextEdit *box, const QString &text)
{
    box->moveCursor(QTextCursor::End);
    box->insertPlainText(text);
}

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

void Ui_Debug::CreateWidgets()
{
    recvLabel = new QLabel(this);
    recvBox = new QTextEdit(this);
    recvBox->setReadOnly(true);
    SetUpLogBox(recvBox);
    recvClearButton = new QPushButton(QStringLiteral("Clear"), this);

    sendLabel = new QLabel(this);
    sendBox = new QTextEdit(this);
    // Typed commands are sent as plain text; pasted formatting would not reach the device.
    sendBox->setAcceptRichText(false);
    SetUpLogBox(sendBox);
    sendClearButton = new QPushButton(QStringLiteral("Clear"), this);

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
    layout->addWidget(sendBox, 2);
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
    sendBox->clear();
}

// The format choice only labels the boxes; text is shown and sent the same way in both.
void Ui_Debug::SLT_SELECT_HEX_FORMAT()
{
    hexFormatButton->setEnabled(false);
    asciiFormatButton->setEnabled(true);
    ShowFormat(HexFormatName);
}

void Ui_Debug::SLT_SELECT_ASCII_FORMAT()
{
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
    AppendPlainText(recvBox, Text);
}

void Ui_Debug::SLT_Sync_Show_Send(QString Text)
{
    AppendPlainText(sendBox, Text);
}

// Everything in the send box goes out as one transfer that awaits no reply, so the next
// queued line follows after the usual pause.
void Ui_Debug::SLT_SEND_DATA()
{
    const QByteArray bytes = TransferBytes(sendBox->toPlainText());
    if (LinkQueue *queue = SelectedLinkQueue())
        queue->push(bytes, nullptr, 0);
    emit SGL_UpdateEmit();
}
