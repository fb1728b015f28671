#include "pages/Ui_Edid.h"

#include "link/LinkMode.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/EdidBlock.h"
#include "protocol/ValueWords.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "shell/MessageBoxes.h"
#include "shell/MyComboBox.h"
#include "shell/FrameGeometry.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QTextEdit>

namespace {

constexpr int Margin = 4;
constexpr int RowHeight = 26;
constexpr int LabelWidth = 160;
constexpr int PortComboWidth = 80;
constexpr int ButtonWidth = 80;
constexpr int ModeComboWidth = 180;
// The third row (label, the wide mode list and two buttons) is the widest; the frame takes
// its width so that both of its buttons can be reached.
constexpr int FrameWidth = Margin + LabelWidth + Margin + ModeComboWidth + Margin + ButtonWidth + Margin
    + ButtonWidth + Margin;
constexpr int FrameHeight = 416;
// Room for the 48-pixel title bar and the frame's edge below it.
constexpr int TitleBarAllowance = 49;
constexpr int RowHeaderWidth = 18;
constexpr int RowHeaderHeight = 254;
constexpr int RowHeaderGap = 40;
constexpr int ColumnHeaderWidth = 386;
constexpr int ColumnHeaderHeight = 18;
constexpr int ColumnHeaderRise = 22;
constexpr int HexViewWidth = 390;
constexpr int HexViewHeight = 266;

// Fixed width, so that 16 bytes (two digits and a space each) fill one line of the view.
const char HexFontStyle[]
    = "font-family: \"Courier New\";font-size: 14px;font-style: normal;font-weight: bold;";
const char HexColumnNumbers[] = "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F";
const char FileFilter[] = "Bin File(*.bin)";

// Shared by every EDID dialog of the run.
QByteArray g_edidBuffer(EdidBlock::Size, '\0');
bool g_edidBufferComplete = false;
QString g_lastDirectory = QStringLiteral(".");

void PlaceRightOf(QWidget *widget, const QWidget *left, int width)
{
    widget->setGeometry(left->x() + left->width() + Margin, left->y(), width, RowHeight);
}

void PlaceBelow(QWidget *widget, const QWidget *above, int width)
{
    widget->setGeometry(above->x(), above->y() + above->height() + Margin, width, RowHeight);
}

void FillPortNumbers(QComboBox *comboBox, quint32 count)
{
    comboBox->clear();
    for (quint32 port = 1; port <= count; ++port)
        comboBox->addItem(QString::number(port));
}

// The combo's index as a port number for the command builders, which refuse a port at or
// above the device's count; an empty combo gives such a port.
quint32 PortOf(const QComboBox *comboBox)
{
    const int index = comboBox->currentIndex();
    return index < 0 ? MaxPorts : quint32(index);
}

} // namespace

Ui_Edid::FileDialogFunction Ui_Edid::openFileDialog
    = [](QWidget *parent, const QString &caption, const QString &directory, const QString &filter) {
          return QFileDialog::getOpenFileName(parent, caption, directory, filter);
      };

Ui_Edid::FileDialogFunction Ui_Edid::saveFileDialog
    = [](QWidget *parent, const QString &caption, const QString &directory, const QString &filter) {
          return QFileDialog::getSaveFileName(parent, caption, directory, filter);
      };

Ui_Edid::Ui_Edid(QWidget *parent)
    : MyFramelessDialog(parent)
{
    CreateWidgets();
    PlaceWidgets();
    SetTexts();
    FillPortNumbers(outputComboBox, DeviceState.outputCount);
    FillPortNumbers(inputComboBox, DeviceState.inputCount);
    if (!DeviceState.modelUnconfirmed)
        FillModeList();
    hexView->clear();
    MakeConnections();

    setFixedSize(FrameWidth, FrameHeight + TitleBarAllowance);
    move(PositionForScreen(PrimaryScreenSize(), size()));
}

Ui_Edid::~Ui_Edid() = default;

QPoint Ui_Edid::PositionForScreen(const QSize &screenSize, const QSize &windowSize)
{
    return CentredInCappedScreen(screenSize, windowSize);
}

const QByteArray &Ui_Edid::EdidBuffer()
{
    return g_edidBuffer;
}

bool Ui_Edid::EdidBufferComplete()
{
    return g_edidBufferComplete;
}

void Ui_Edid::ClearEdidBuffer()
{
    g_edidBuffer.fill('\0', EdidBlock::Size);
    g_edidBufferComplete = false;
}

QString Ui_Edid::LastDirectory()
{
    return g_lastDirectory;
}

void Ui_Edid::CreateWidgets()
{
    contentWidget = new QWidget(this);
    SetContentWidget(contentWidget);
    frame = new QFrame(contentWidget);
    readPortLabel = new QLabel(frame);
    outputComboBox = new MyComboBox(frame);
    readButton = new QPushButton(frame);
    saveButton = new QPushButton(frame);
    writePortLabel = new QLabel(frame);
    inputComboBox = new MyComboBox(frame);
    writeButton = new QPushButton(frame);
    loadButton = new QPushButton(frame);
    modeLabel = new QLabel(frame);
    modeComboBox = new MyComboBox(frame);
    modeWriteButton = new QPushButton(frame);
    modeReadButton = new QPushButton(frame);
    rowHeaderLabel = new QLabel(frame);
    columnHeaderLabel = new QLabel(frame);
    hexView = new QTextEdit(frame);
}

void Ui_Edid::PlaceWidgets()
{
    frame->setGeometry(0, 0, FrameWidth, FrameHeight);

    readPortLabel->setGeometry(Margin, Margin, LabelWidth, RowHeight);
    PlaceRightOf(outputComboBox, readPortLabel, PortComboWidth);
    PlaceRightOf(readButton, outputComboBox, ButtonWidth);
    PlaceRightOf(saveButton, readButton, ButtonWidth);

    PlaceBelow(writePortLabel, readPortLabel, LabelWidth);
    PlaceRightOf(inputComboBox, writePortLabel, PortComboWidth);
    PlaceRightOf(writeButton, inputComboBox, ButtonWidth);
    PlaceRightOf(loadButton, writeButton, ButtonWidth);

    PlaceBelow(modeLabel, writePortLabel, LabelWidth);
    PlaceRightOf(modeComboBox, modeLabel, ModeComboWidth);
    PlaceRightOf(modeWriteButton, modeComboBox, ButtonWidth);
    PlaceRightOf(modeReadButton, modeWriteButton, ButtonWidth);

    rowHeaderLabel->setGeometry(
        modeLabel->x(), modeLabel->y() + modeLabel->height() + RowHeaderGap, RowHeaderWidth, RowHeaderHeight);
    columnHeaderLabel->setGeometry(rowHeaderLabel->x() + RowHeaderWidth + Margin,
        rowHeaderLabel->y() - ColumnHeaderRise, ColumnHeaderWidth, ColumnHeaderHeight);
    hexView->setGeometry(
        rowHeaderLabel->x() + RowHeaderWidth + Margin, rowHeaderLabel->y(), HexViewWidth, HexViewHeight);

    for (QLabel *header : { rowHeaderLabel, columnHeaderLabel }) {
        header->setText(QLatin1String(HexColumnNumbers));
        header->setAlignment(Qt::AlignCenter);
        header->setStyleSheet(QLatin1String(HexFontStyle));
    }
    // Two digits per line: the sixteen row numbers stand one under the other.
    rowHeaderLabel->setWordWrap(true);
    hexView->setStyleSheet(QLatin1String(HexFontStyle));
    hexView->setReadOnly(true);
    hexView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    hexView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void Ui_Edid::SetTexts()
{
    SetTitleText(Ui_Edid_AppName);
    SetTitleIcon(ConfigFile_AppDir() + QStringLiteral("/APP/Image/mainui_logo.png"));
    readPortLabel->setText(Slabel_EdidReadPort);
    writePortLabel->setText(Slabel_EdidWritePort);
    modeLabel->setText(Slabel_EdidMode);
    readButton->setText(S_ReadWrite[0]);
    saveButton->setText(S_SaveLoad[0]);
    writeButton->setText(S_ReadWrite[1]);
    loadButton->setText(S_SaveLoad[1]);
    modeWriteButton->setText(S_ReadWrite[1]);
    modeReadButton->setText(S_ReadWrite[0]);
}

void Ui_Edid::MakeConnections()
{
    connect(readButton, &QPushButton::clicked, this, &Ui_Edid::SLT_OUT_EDID_Read);
    connect(saveButton, &QPushButton::clicked, this, &Ui_Edid::SLT_OUT_EDID_Save);
    connect(inputComboBox, QOverload<int>::of(&QComboBox::activated), this, &Ui_Edid::SLT_IN_EdidWritePort);
    connect(writeButton, &QPushButton::clicked, this, &Ui_Edid::SLT_IN_EDID_Write);
    connect(loadButton, &QPushButton::clicked, this, &Ui_Edid::SLT_IN_EDID_Load);
    connect(modeComboBox, &MyComboBox::SGL_Auto_UpdateComboBox, this, &Ui_Edid::SLT_comboBox_GetVaildContent);
    connect(modeWriteButton, &QPushButton::clicked, this, &Ui_Edid::SLT_EDID_MODE_Write);
    connect(modeReadButton, &QPushButton::clicked, this, &Ui_Edid::SLT_EDID_MODE_Read);
}

void Ui_Edid::FillModeList()
{
    modeComboBox->clear();
    for (quint32 mode = 0; mode < EdidModeWords.count; ++mode)
        modeComboBox->addItem(EdidModeWords.text(mode));
}

void Ui_Edid::StartupRead()
{
    if (DeviceState.modelUnconfirmed)
        return;
    CmdGetEdidMode(PortOf(inputComboBox));
    emit SGL_UpdateEmit();
}

// A dialog without its page no longer hears the device's replies.
void Ui_Edid::SLT_CloseMyDialog()
{
    close();
}

void Ui_Edid::SLT_OUT_EDID_Read(bool checked)
{
    Q_UNUSED(checked)
    CmdGetOutportEdid(PortOf(outputComboBox));
    emit SGL_UpdateEmit();
}

// Only an EDID read or loaded in full is written: a damaged reply or the zeros left by a
// rejected file would otherwise replace a good file with something that is not an EDID.
void Ui_Edid::SLT_OUT_EDID_Save(bool checked)
{
    Q_UNUSED(checked)
    if (!g_edidBufferComplete) {
        MessageBoxOk(SMSG_NotIsEdidContent, this);
        return;
    }
    const QString path = saveFileDialog(this, QStringLiteral("Save edid file"), g_lastDirectory,
        QLatin1String(FileFilter));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(g_edidBuffer) != g_edidBuffer.size())
        return; // the unfinished temporary file is dropped with the object
    file.commit();
}

void Ui_Edid::SLT_IN_EdidWritePort(int index)
{
    inputComboBox->setCurrentIndex(index);
    CmdGetEdidMode(PortOf(inputComboBox));
    emit SGL_UpdateEmit();
}

void Ui_Edid::SLT_IN_EDID_Write(bool checked)
{
    Q_UNUSED(checked)
    const int check = EdidBlock::CheckBytes(g_edidBuffer);
    if (check != EdidBlock::Valid) {
        RejectBuffer(check);
        return;
    }
    const quint32 input = PortOf(inputComboBox);
    CmdSetUserEdid(input, g_edidBuffer);
    // The builder queues only for an existing input on a chosen link.
    if (input < DeviceState.inputCount && LinkMode != LinkModeNone)
        m_pendingWriteInput = int(input);
    emit SGL_UpdateEmit();
}

void Ui_Edid::SLT_IN_EDID_Load(bool checked)
{
    Q_UNUSED(checked)
    const QString path = openFileDialog(this, QStringLiteral("Select edid file"), g_lastDirectory,
        QLatin1String(FileFilter));
    if (path.isEmpty())
        return;
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0)
        g_lastDirectory = path.left(slash);

    ClearEdidBuffer();
    // A base block alone (128 bytes) is a whole EDID: the missing block reads as zeros, and
    // the check examines the second block only when the base block announces it.
    QByteArray bytes;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.read(EdidBlock::Size);
        file.close();
    }
    bytes.append(QByteArray(EdidBlock::Size - bytes.size(), '\0'));
    const int check = EdidBlock::CheckBytes(bytes);
    if (check != EdidBlock::Valid) {
        RejectBuffer(check);
        return;
    }
    g_edidBuffer = bytes;
    g_edidBufferComplete = true;
    hexView->setPlainText(EdidBlock::ToHexText(g_edidBuffer));
}

void Ui_Edid::SLT_comboBox_GetVaildContent()
{
    // The list stays empty until the device is identified; fill it once that has happened.
    if (modeComboBox->count() == 0 && !DeviceState.modelUnconfirmed)
        FillModeList();
}

void Ui_Edid::SLT_EDID_MODE_Write(bool checked)
{
    Q_UNUSED(checked)
    const int mode = modeComboBox->currentIndex();
    if (mode >= 0)
        CmdSetEdidMode(PortOf(inputComboBox), quint32(mode));
    emit SGL_UpdateEmit();
}

void Ui_Edid::SLT_EDID_MODE_Read(bool checked)
{
    Q_UNUSED(checked)
    CmdGetEdidMode(PortOf(inputComboBox));
    emit SGL_UpdateEmit();
}

void Ui_Edid::SLT_Update_InEdidMode(unsigned int input, int mode)
{
    if (inputComboBox->currentIndex() < 0 || input != unsigned(inputComboBox->currentIndex()))
        return;
    if (mode >= 0 && mode < modeComboBox->count())
        modeComboBox->setCurrentIndex(mode);
}

void Ui_Edid::SLT_Update_OutEdid(unsigned int output, QString edidHex)
{
    if (outputComboBox->currentIndex() < 0 || output != unsigned(outputComboBox->currentIndex()))
        return;
    hexView->setPlainText(edidHex);
    // The view shows what came; the buffer takes it only when all 256 bytes arrived intact.
    QByteArray bytes;
    if (EdidBlock::FromHexText(edidHex, &bytes)) {
        g_edidBuffer = bytes;
        g_edidBufferComplete = true;
    } else {
        ClearEdidBuffer();
    }
}

void Ui_Edid::SLT_Update_RecvLine(const QString &line)
{
    if (m_pendingWriteInput < 0)
        return;
    const QString expected = QStringLiteral("IN%1 EDID-USER OK").arg(m_pendingWriteInput + 1);
    // A line may still carry the LF of the previous line's CR LF in front.
    const QString received = line.trimmed();
    if (received != expected && !received.startsWith(expected + QLatin1Char(' ')))
        return;
    m_pendingWriteInput = -1;
    MessageBoxOk(SMSG_EdidWriteOk, this);
}

void Ui_Edid::RejectBuffer(int check)
{
    MessageBoxOk(check == EdidBlock::NotEdid ? SMSG_NotIsEdidContent : SMSG_EdidCheckFail, this);
    ClearEdidBuffer();
    hexView->clear();
}
