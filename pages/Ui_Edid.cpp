#include "pages/Ui_Edid.h"

#include "pages/EdidDetailsPanel.h"

#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "link/LinkServices.h"
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
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QtMath>
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
// Room between the hex view's parts and around them.
constexpr int HexGap = 2;
// Room for the 48-pixel title bar and the frame's edge below it.
constexpr int TitleBarAllowance = 49;
constexpr int BytesPerRow = 16;
const char HexColumnNumbers[] = "00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F";

QString RowNumbers()
{
    return QString::fromLatin1(HexColumnNumbers).split(QLatin1Char(' ')).join(QLatin1Char('\n'));
}

// The view's text with every byte zero: it takes the most room a view ever needs.
QString FullViewTemplate()
{
    return Ui_Edid::HexRows(EdidBlock::ToHexText(QByteArray(EdidBlock::Size, '\0')));
}

void SetUpHexText(QTextEdit *view)
{
    view->setFont(Ui_Edid::HexFont());
    view->document()->setDefaultFont(Ui_Edid::HexFont());
    view->setReadOnly(true);
    view->setFrameShape(QFrame::NoFrame);
    view->setLineWrapMode(QTextEdit::NoWrap);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

// The room a text takes in a view set up as above, measured in the view's font: the widest
// line and one line spacing per line, inside the document's margins.
QSize RoomFor(const QTextEdit *view, const QString &text)
{
    const QFontMetrics metrics(view->font());
    const QStringList lines = text.split(QLatin1Char('\n'));
    int width = 0;
    for (const QString &line : lines)
        width = qMax(width, metrics.horizontalAdvance(line));
    const int margins = 2 * qCeil(view->document()->documentMargin());
    const int height = lines.size() * qMax(metrics.lineSpacing(), metrics.height());
    return QSize(width + margins + HexGap, height + margins + HexGap);
}

const char FileFilter[] = "Bin File(*.bin)";

// Shared by every EDID dialog of the run; every open dialog shows the buffer.
QByteArray g_edidBuffer(EdidBlock::Size, '\0');
bool g_edidBufferFilled = false;
QString g_lastDirectory = QStringLiteral(".");
QList<Ui_Edid *> g_openDialogs;

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
    detailsPanel = new EdidDetailsPanel(frame);
    detailsPanel->PlaceBeside(frame);
    detailsPanel->FollowHexView(hexView);
    SetTexts();
    FillPortLists();
    if (!DeviceState.modelUnconfirmed)
        FillModeList();
    g_openDialogs.append(this);
    ShowEdidBuffer();
    MakeConnections();

    setFixedSize(frame->width(), frame->height() + TitleBarAllowance);
    move(PositionForScreen(PrimaryScreenSize(), size()));
}

Ui_Edid::~Ui_Edid()
{
    g_openDialogs.removeAll(this);
}

QPoint Ui_Edid::PositionForScreen(const QSize &screenSize, const QSize &windowSize)
{
    return CentredInCappedScreen(screenSize, windowSize);
}

const QByteArray &Ui_Edid::EdidBuffer()
{
    return g_edidBuffer;
}

bool Ui_Edid::EdidBufferFilled()
{
    return g_edidBufferFilled;
}

void Ui_Edid::SetEdidBuffer(const QByteArray &bytes)
{
    g_edidBuffer = bytes.left(EdidBlock::Size);
    g_edidBuffer.append(QByteArray(EdidBlock::Size - g_edidBuffer.size(), '\0'));
    g_edidBufferFilled = true;
    for (Ui_Edid *dialog : qAsConst(g_openDialogs))
        dialog->ShowEdidBuffer();
}

void Ui_Edid::ClearEdidBuffer()
{
    g_edidBuffer.fill('\0', EdidBlock::Size);
    g_edidBufferFilled = false;
    for (Ui_Edid *dialog : qAsConst(g_openDialogs))
        dialog->ShowEdidBuffer();
}

void Ui_Edid::ShowEdidBuffer()
{
    if (g_edidBufferFilled)
        hexView->setPlainText(HexRows(EdidBlock::ToHexText(g_edidBuffer)));
    else
        hexView->clear();
}

QString Ui_Edid::LastDirectory()
{
    return g_lastDirectory;
}

QString Ui_Edid::HexRows(const QString &hexText)
{
    const QStringList pairs = hexText.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList rows;
    for (int first = 0; first < pairs.size(); first += BytesPerRow)
        rows << pairs.mid(first, BytesPerRow).join(QLatin1Char(' '));
    return rows.join(QLatin1Char('\n'));
}

QFont Ui_Edid::HexFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    // A platform without a fixed font of its own answers with its general font; take the
    // first installed fixed-pitch family then.
    if (!QFontInfo(font).fixedPitch()) {
        const QFontDatabase fonts;
        for (const QString &family : fonts.families()) {
            if (fonts.isFixedPitch(family)) {
                font.setFamily(family);
                break;
            }
        }
    }
    font.setBold(true);
    return font;
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
    rowHeaderView = new QTextEdit(frame);
    columnHeaderView = new QTextEdit(frame);
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

    PlaceHexView();
}

// The view and its headers share one fixed-pitch font and one text layout, and each is as
// large as its text, measured in that font: the columns of the view stand under the column
// numbers and its rows beside the row numbers, whatever font the system provides.
void Ui_Edid::PlaceHexView()
{
    for (QTextEdit *view : { rowHeaderView, columnHeaderView, hexView })
        SetUpHexText(view);
    rowHeaderView->setPlainText(RowNumbers());
    columnHeaderView->setPlainText(QLatin1String(HexColumnNumbers));

    const QSize rowHeaderRoom = RoomFor(rowHeaderView, RowNumbers());
    const QSize columnHeaderRoom = RoomFor(columnHeaderView, QLatin1String(HexColumnNumbers));
    const QSize viewRoom = RoomFor(hexView, FullViewTemplate());
    const int viewX = Margin + rowHeaderRoom.width();
    const int columnHeaderY = modeLabel->y() + modeLabel->height() + Margin;
    const int viewY = columnHeaderY + columnHeaderRoom.height();
    columnHeaderView->setGeometry(viewX, columnHeaderY, viewRoom.width(), columnHeaderRoom.height());
    hexView->setGeometry(viewX, viewY, viewRoom.width(), viewRoom.height());
    rowHeaderView->setGeometry(Margin, viewY, rowHeaderRoom.width(), viewRoom.height());

    frame->resize(qMax(FrameWidth, viewX + viewRoom.width() + Margin),
        qMax(FrameHeight, viewY + viewRoom.height() + Margin));
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
    // A confirmation still awaited belongs to the input it was written to.
    connect(inputComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        [this] {
            ForgetPendingWrite();
            m_confirmedMode = -1;
        });
    connect(writeButton, &QPushButton::clicked, this, &Ui_Edid::SLT_IN_EDID_Write);
    connect(loadButton, &QPushButton::clicked, this, &Ui_Edid::SLT_IN_EDID_Load);
    connect(modeComboBox, &MyComboBox::SGL_Auto_UpdateComboBox, this, &Ui_Edid::SLT_comboBox_GetVaildContent);
    connect(modeWriteButton, &QPushButton::clicked, this, &Ui_Edid::SLT_EDID_MODE_Write);
    connect(modeReadButton, &QPushButton::clicked, this, &Ui_Edid::SLT_EDID_MODE_Read);
}

// Filled, the list shows no mode until the device has told the selected input's.
void Ui_Edid::FillModeList()
{
    modeComboBox->clear();
    for (quint32 mode = 0; mode < EdidModeWords.count; ++mode)
        modeComboBox->addItem(EdidModeWords.text(mode));
    m_confirmedMode = -1;
    modeComboBox->setCurrentIndex(-1);
}

void Ui_Edid::ReadSelectedInputMode()
{
    m_confirmedMode = -1;
    modeComboBox->setCurrentIndex(-1);
    CmdGetEdidMode(PortOf(inputComboBox));
    emit SGL_UpdateEmit();
}

void Ui_Edid::ShowConfirmedMode()
{
    modeComboBox->setCurrentIndex(m_confirmedMode < modeComboBox->count() ? m_confirmedMode : -1);
}

bool Ui_Edid::ConcernsSelectedInputMode(const QString &text) const
{
    const int input = inputComboBox->currentIndex();
    if (input < 0)
        return false;
    QString rest = text.trimmed();
    if (rest.startsWith(QLatin1String("SET ")) || rest.startsWith(QLatin1String("GET ")))
        rest.remove(0, 4);
    return rest.startsWith(QStringLiteral("IN%1 EDIDMODE").arg(input + 1))
        && (rest.size() == QStringLiteral("IN%1 EDIDMODE").arg(input + 1).size()
            || rest.at(QStringLiteral("IN%1 EDIDMODE").arg(input + 1).size()) == QLatin1Char(' '));
}

void Ui_Edid::ForgetPendingWrite()
{
    m_pendingWriteInput = -1;
    m_pendingWriteLine.clear();
}

void Ui_Edid::StartupRead()
{
    if (DeviceState.modelUnconfirmed)
        return;
    ReadSelectedInputMode();
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

// Saves exactly the 256 bytes the view shows. What a display sent is kept even when it fails
// the check (the operator may want to look at it); the operator is told so after saving.
void Ui_Edid::SLT_OUT_EDID_Save(bool checked)
{
    Q_UNUSED(checked)
    if (!g_edidBufferFilled) {
        MessageBoxOk(SMSG_NotIsEdidContent, this);
        return;
    }
    const QString path = saveFileDialog(this, QStringLiteral("Save edid file"), g_lastDirectory,
        QLatin1String(FileFilter));
    if (path.isEmpty())
        return;
    const QByteArray bytes = g_edidBuffer;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        MessageBoxOk(SMSG_EdidSaveFail + file.errorString(), this);
        return;
    }
    const int check = EdidBlock::CheckBytes(bytes);
    if (check == EdidBlock::NotEdid)
        MessageBoxOk(SMSG_EdidSavedNotEdid, this);
    else if (check == EdidBlock::ChecksumError)
        MessageBoxOk(SMSG_EdidSavedBadChecksum, this);
}

void Ui_Edid::SLT_IN_EdidWritePort(int index)
{
    inputComboBox->setCurrentIndex(index);
    ReadSelectedInputMode();
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
    if (input < DeviceState.inputCount && LinkMode != LinkModeNone) {
        m_pendingWriteInput = int(input);
        QueuedLine queued;
        LinkQueue *queue = SelectedLinkQueue();
        m_pendingWriteLine = queue && queue->lastQueued(&queued) ? QString::fromLatin1(queued.bytes) : QString();
    }
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
    SetEdidBuffer(bytes);
}

void Ui_Edid::SLT_comboBox_GetVaildContent()
{
    // The list stays empty until the device is identified; fill it once that has happened,
    // and ask for the mode it is to show.
    if (modeComboBox->count() == 0 && !DeviceState.modelUnconfirmed) {
        FillModeList();
        ReadSelectedInputMode();
    }
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
    if (mode >= 0 && mode < modeComboBox->count()) {
        m_confirmedMode = mode;
        modeComboBox->setCurrentIndex(mode);
    }
}

// The buffer takes the reply pair by pair (a damaged or missing pair reads 0), so the view
// shows exactly what Save will write.
void Ui_Edid::SLT_Update_OutEdid(unsigned int output, QString edidHex)
{
    if (outputComboBox->currentIndex() < 0 || output != unsigned(outputComboBox->currentIndex()))
        return;
    SetEdidBuffer(EdidBlock::ReadHexPairs(edidHex));
}

void Ui_Edid::SLT_Update_RecvLine(const QString &line)
{
    // A refused mode leaves the device's mode in place.
    if (ConcernsSelectedInputMode(line) && line.trimmed().endsWith(QLatin1String(" FAIL")))
        ShowConfirmedMode();
    if (m_pendingWriteInput < 0)
        return;
    const QString expected = QStringLiteral("IN%1 EDID-USER OK").arg(m_pendingWriteInput + 1);
    // A line may still carry the LF of the previous line's CR LF in front.
    const QString received = line.trimmed();
    const QString failed = QStringLiteral("IN%1 EDID-USER FAIL").arg(m_pendingWriteInput + 1);
    if (received == failed || received.startsWith(failed + QLatin1Char(' '))) {
        // Refused at once: the link need not wait out its reply time for an OK that will not
        // come, and the operator hears of the refusal now.
        const QString written = m_pendingWriteLine;
        ForgetPendingWrite();
        if (!written.isEmpty())
            StopAwaitingReplyOnSelectedLink(written);
        MessageBoxOk(SMSG_EdidWriteFail, this);
        return;
    }
    if (received != expected && !received.startsWith(expected + QLatin1Char(' ')))
        return;
    ForgetPendingWrite();
    MessageBoxOk(SMSG_EdidWriteOk, this);
}

void Ui_Edid::SLT_Update_PortCounts()
{
    FillPortLists();
    if (modeComboBox->count() == 0 && !DeviceState.modelUnconfirmed) {
        FillModeList();
        ReadSelectedInputMode();
    }
}

void Ui_Edid::SLT_WaitReplyTimeout(const QString &command)
{
    if (command.contains(QLatin1String(" EDID-USER")))
        ForgetPendingWrite();
    if (ConcernsSelectedInputMode(command))
        ShowConfirmedMode();
}

void Ui_Edid::SLT_LinkClosed()
{
    ForgetPendingWrite();
    ShowConfirmedMode();
}

// The lists keep the chosen port while the device still has it.
void Ui_Edid::FillPortLists()
{
    const int output = outputComboBox->currentIndex();
    const int input = inputComboBox->currentIndex();
    {
        const QSignalBlocker outputBlocker(outputComboBox);
        const QSignalBlocker inputBlocker(inputComboBox);
        FillPortNumbers(outputComboBox, DeviceState.outputCount);
        FillPortNumbers(inputComboBox, DeviceState.inputCount);
        if (output >= 0 && output < outputComboBox->count())
            outputComboBox->setCurrentIndex(output);
        if (input >= 0 && input < inputComboBox->count())
            inputComboBox->setCurrentIndex(input);
    }
    if (inputComboBox->currentIndex() != input)
        ForgetPendingWrite();
}

void Ui_Edid::RejectBuffer(int check)
{
    MessageBoxOk(check == EdidBlock::NotEdid ? SMSG_NotIsEdidContent : SMSG_EdidCheckFail, this);
    ClearEdidBuffer();
}
