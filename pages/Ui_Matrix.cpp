#include "pages/Ui_Matrix.h"

#include "link/LinkMode.h"
#include "link/LinkServices.h"
#include "link/ServiceSerialPort.h"
#include "link/ServiceTcpClient.h"
#include "link/Ui_Uart_Network.h"
#include "pages/MatrixOverlay.h"
#include "pages/MatrixRoutingBar.h"
#include "pages/Ui_Edid.h"
#include "pages/Ui_SaveLoad.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/RequestTracker.h"
#include "settings/LanguageTexts.h"
#include "settings/PortNamesCsv.h"
#include "shell/MessageBoxes.h"
#include "shell/MyComboBox.h"
#include "shell/NameElision.h"
#include "shell/Ui_Main.h"

#include <QContextMenuEvent>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QTabWidget>
#include <QTimer>
#include <QVector>

namespace {

const QString CrossPointNamePrefix = QStringLiteral("MatrixButton-");

// Header and cross-point geometry inside the grid group box, in pixels.
constexpr int Gap = 1;
const QRect CornerGeometry(4, 20, 128, 60);
constexpr int InputNameWidth = 66;
constexpr int InputNameHeight = 38;
constexpr int InputNumberHeight = 22;
constexpr int OutputNameWidth = 98;
constexpr int OutputNumberWidth = 30;
constexpr int RowHeight = 22;
constexpr int ButtonWidth = 66;
constexpr int ButtonHeight = 22;

// The grid group box grows with the shown port counts: it holds every column and row of
// cross-points with the 1-pixel gaps between them and a small margin after the last ones.
constexpr int GridLeft = 2;
constexpr int GridTop = 2;
constexpr int GridRightMargin = 2;
constexpr int GridBottomMargin = 3;

constexpr int ArrowSize = 22;
constexpr int RenameBoxWidth = 168;
constexpr int RenameBoxHeight = 80;
constexpr int RenameFieldWidth = 160;
constexpr int ControlHeight = 26;
constexpr int AllOutputLabelWidth = 60;
constexpr int AllOutputComboWidth = 100;
constexpr int DialogButtonWidth = 100;

// Where the cross-points start inside the grid group box: right of the output labels, below
// the input labels.
int FirstColumnX()
{
    return CornerGeometry.x() + OutputNameWidth + Gap + OutputNumberWidth + Gap;
}

int FirstRowY()
{
    return CornerGeometry.y() + CornerGeometry.height() + Gap;
}

int RightOf(const QWidget *widget, int gap)
{
    return widget->x() + widget->width() + gap;
}

int BelowOf(const QWidget *widget, int gap)
{
    return widget->y() + widget->height() + gap;
}

quint32 ShownPorts(quint32 count)
{
    return qMin(count, Ui_Matrix::PortsPerPage);
}

QString OutputList(const QVector<quint32> &outputs)
{
    QStringList names;
    for (quint32 output : outputs)
        names << S_OutputName[ClampSlot(output)];
    return names.join(QStringLiteral(", "));
}

} // namespace

Ui_Matrix::NamesFileDialog Ui_Matrix::namesFileDialog = [](QWidget *parent, const QString &caption, bool save) {
    const QString filter = QStringLiteral("CSV (*.csv)");
    return save ? QFileDialog::getSaveFileName(parent, caption, QString(), filter)
                : QFileDialog::getOpenFileName(parent, caption, QString(), filter);
};

Ui_Matrix::Ui_Matrix(QWidget *parent)
    : QWidget(parent)
{
    // Locks outlive the run; an unreadable file leaves every output unlocked.
    outputLocks.load(OutputLocks::FilePath());
    // The page takes the keyboard for routing; the cross-points are reached through its mark.
    setFocusPolicy(Qt::StrongFocus);
    CreateFixedWidgets();
    Retranslate(true, false);
    MakeConnections();
    BuildGrid(PortsPerPage, PortsPerPage);
    SetTabOrder();
}

Ui_Matrix::~Ui_Matrix()
{
    DeleteGrid();
}

void Ui_Matrix::CreateFixedWidgets()
{
    gridGroup = new QGroupBox(this);
    upButton = new QPushButton(this);
    downButton = new QPushButton(this);
    leftButton = new QPushButton(this);
    rightButton = new QPushButton(this);
    renameGroup = new QGroupBox(this);
    renameLabel = new QLabel(renameGroup);
    renameLabel->setGeometry(4, 20, RenameFieldWidth, ControlHeight);
    renameEdit = new QLineEdit(renameGroup);
    renameEdit->setGeometry(4, BelowOf(renameLabel, 4), RenameFieldWidth, ControlHeight);
    renameEdit->setMaxLength(PortNamesCsv::MaxNameLength);
    allOutputLabel = new QLabel(this);
    allOutputComboBox = new MyComboBox(this);
    allOutputComboBox->UseListViewWhenOpened();
    saveLoadButton = new QPushButton(this);
    edidButton = new QPushButton(this);
    routingBar = new MatrixRoutingBar(this);
    overlay = new MatrixOverlay(gridGroup);
    lockMenu = new QMenu(this);
}

// The grid (the page itself), then the live-room controls, then the older page controls.
void Ui_Matrix::SetTabOrder()
{
    const QList<QWidget *> order { this, routingBar->takeModeButton, routingBar->takeButton,
        routingBar->cancelButton, allOutputComboBox, saveLoadButton, edidButton, routingBar->exportNamesButton,
        routingBar->importNamesButton, renameEdit, upButton, downButton, leftButton, rightButton };
    for (int k = 0; k + 1 < order.size(); ++k)
        setTabOrder(order.at(k), order.at(k + 1));
}

void Ui_Matrix::MakeConnections()
{
    connect(upButton, &QPushButton::clicked, this, &Ui_Matrix::SLT_BTN_Move_Up);
    connect(downButton, &QPushButton::clicked, this, &Ui_Matrix::SLT_BTN_Move_Down);
    connect(leftButton, &QPushButton::clicked, this, &Ui_Matrix::SLT_BTN_Move_Left);
    connect(rightButton, &QPushButton::clicked, this, &Ui_Matrix::SLT_BTN_Move_Right);
    connect(allOutputComboBox, &MyComboBox::SGL_Auto_UpdateComboBox, this, &Ui_Matrix::SLT_AutoAddSource);
    connect(allOutputComboBox, QOverload<int>::of(&QComboBox::activated), this, &Ui_Matrix::SLT_SetAllOutput);
    connect(saveLoadButton, &QPushButton::clicked, this, &Ui_Matrix::SLT_BTN_SaveLoadWin);
    connect(edidButton, &QPushButton::clicked, this, &Ui_Matrix::SLT_BTN_EDIDWin);
    connect(routingBar->takeModeButton, &QPushButton::toggled, this, &Ui_Matrix::SLT_TakeModeToggled);
    connect(routingBar->takeButton, &QPushButton::clicked, this, &Ui_Matrix::SLT_Take);
    connect(routingBar->cancelButton, &QPushButton::clicked, this, &Ui_Matrix::SLT_CancelStage);
    connect(routingBar->exportNamesButton, &QPushButton::clicked, this, &Ui_Matrix::SLT_ExportNames);
    connect(routingBar->importNamesButton, &QPushButton::clicked, this, &Ui_Matrix::SLT_ImportNames);
}

void Ui_Matrix::BuildGrid(quint32 inputCount, quint32 outputCount)
{
    DeviceState.inputCount = inputCount;
    DeviceState.outputCount = outputCount;
    if (gridBuilt) {
        DeleteGrid();
        gridBuilt = false;
    }
    inputsPerPage = ShownPorts(inputCount);
    outputsPerPage = ShownPorts(outputCount);
    // The new grid shows the first page of each side.
    inputPage = 0;
    outputPage = 0;
    CreateHeaderLabels();
    CreateCrossPointButtons();
    gridBuilt = true;
    LayOutPage();
    ShowArrows();
    FillAllOutputComboWithNames();
    UpdateMarks();
}

void Ui_Matrix::DeleteGrid()
{
    qDeleteAll(headerLabels);
    headerLabels.clear();
    for (QPushButton *button : qAsConst(crossPointButtons))
        disconnect(button, &QPushButton::clicked, this, &Ui_Matrix::SLT_BTN_SwitchMatrix);
    qDeleteAll(crossPointButtons);
    crossPointButtons.clear();
}

QLabel *Ui_Matrix::NewHeaderLabel(const QRect &geometry, const QString &text, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, gridGroup);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    label->setWordWrap(true);
    headerLabels.append(label);
    return label;
}

void Ui_Matrix::CreateHeaderLabels()
{
    const int inputs = int(inputsPerPage);
    const int outputs = int(outputsPerPage);
    const QRect corner = CornerGeometry;
    NewHeaderLabel(corner, S_OutPut + QLatin1Char('\\') + S_Input, Qt::AlignCenter);

    const int firstInputX = corner.x() + corner.width() + Gap;
    const int inputNumberY = corner.y() + InputNameHeight + Gap;
    for (int j = 0; j < inputs; ++j) {
        const QRect geometry(
            firstInputX + j * (InputNameWidth + Gap), corner.y(), InputNameWidth, InputNameHeight);
        QLabel *name = NewHeaderLabel(geometry, QString(), Qt::AlignCenter);
        ShowElidedName(name, S_InputName[j], STIPS_DoubleChickModifyName);
        name->installEventFilter(this);
    }
    for (int j = 0; j < inputs; ++j) {
        const QRect geometry(
            firstInputX + j * (InputNameWidth + Gap), inputNumberY, InputNameWidth, InputNumberHeight);
        NewHeaderLabel(geometry, QString::number(j + 1), Qt::AlignCenter);
    }

    const int firstRowY = corner.y() + corner.height() + Gap;
    const int outputNumberX = corner.x() + OutputNameWidth + Gap;
    for (int j = 0; j < outputs; ++j) {
        const QRect geometry(corner.x(), firstRowY + j * (RowHeight + Gap), OutputNameWidth, RowHeight);
        QLabel *name = NewHeaderLabel(geometry, QString(), Qt::AlignLeft | Qt::AlignVCenter);
        ShowElidedName(name, S_OutputName[j], STIPS_DoubleChickModifyName);
        name->installEventFilter(this);
    }
    for (int j = 0; j < outputs; ++j) {
        const QRect geometry(outputNumberX, firstRowY + j * (RowHeight + Gap), OutputNumberWidth, RowHeight);
        NewHeaderLabel(geometry, QString::number(j + 1), Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (QLabel *label : qAsConst(headerLabels))
        label->show();
}

void Ui_Matrix::CreateCrossPointButtons()
{
    const int inputs = int(inputsPerPage);
    const int outputs = int(outputsPerPage);
    const int firstColumnX = FirstColumnX();
    const int firstRowY = FirstRowY();
    for (int k = 0; k < inputs * outputs; ++k) {
        const int row = k / inputs;
        const int column = k % inputs;
        auto *button = new QPushButton(gridGroup);
        button->setObjectName(CrossPointNamePrefix + QString::number(k));
        button->setGeometry(firstColumnX + column * (ButtonWidth + Gap), firstRowY + row * (RowHeight + Gap),
            ButtonWidth, ButtonHeight);
        connect(button, &QPushButton::clicked, this, &Ui_Matrix::SLT_BTN_SwitchMatrix);
        button->setFocusPolicy(Qt::NoFocus);
        button->show();
        crossPointButtons.append(button);
    }
}

void Ui_Matrix::LayOutPage()
{
    const int columns = int(inputsPerPage);
    const int rows = int(outputsPerPage);
    const int gridWidth = FirstColumnX() + columns * (ButtonWidth + Gap) - Gap + GridRightMargin;
    const int gridHeight = FirstRowY() + rows * (RowHeight + Gap) - Gap + GridBottomMargin;
    gridGroup->setGeometry(GridLeft, GridTop, gridWidth, gridHeight);

    upButton->setGeometry(RightOf(gridGroup, 2), BelowOf(gridGroup, 30), ArrowSize, ArrowSize);
    downButton->setGeometry(upButton->x(), BelowOf(upButton, 26), ArrowSize, ArrowSize);
    leftButton->setGeometry(upButton->x() - 24, BelowOf(upButton, 2), ArrowSize, ArrowSize);
    rightButton->setGeometry(RightOf(upButton, 2), BelowOf(upButton, 2), ArrowSize, ArrowSize);

    renameGroup->setGeometry(gridGroup->x(), BelowOf(gridGroup, 4), RenameBoxWidth, RenameBoxHeight);
    allOutputLabel->setGeometry(
        renameGroup->x(), BelowOf(renameGroup, 10), AllOutputLabelWidth, ControlHeight);
    allOutputComboBox->setGeometry(
        RightOf(allOutputLabel, 10), allOutputLabel->y(), AllOutputComboWidth, ControlHeight);
    saveLoadButton->setGeometry(
        allOutputLabel->x(), BelowOf(allOutputLabel, 20), DialogButtonWidth, ControlHeight);
    edidButton->setGeometry(
        saveLoadButton->x(), BelowOf(saveLoadButton, 20), DialogButtonWidth, ControlHeight);
    routingBar->move(RightOf(renameGroup, 10), renameGroup->y());
    overlay->setGeometry(gridGroup->rect());
    overlay->raise();
}

void Ui_Matrix::ShowArrows()
{
    const bool pagedInputs = DeviceState.inputCount > PortsPerPage;
    const bool pagedOutputs = DeviceState.outputCount > PortsPerPage;
    leftButton->setVisible(pagedInputs);
    rightButton->setVisible(pagedInputs);
    upButton->setVisible(pagedOutputs);
    downButton->setVisible(pagedOutputs);
}

void Ui_Matrix::FillAllOutputComboWithNumbers()
{
    allOutputComboBox->clear();
    for (quint32 input = 0; input < DeviceState.inputCount && input < MaxPorts; ++input)
        allOutputComboBox->addItem(QStringLiteral("%1%2").arg(S_Input).arg(input + 1));
}

// The list index is the input index.
void Ui_Matrix::FillAllOutputComboWithNames()
{
    allOutputComboBox->clear();
    for (quint32 input = 0; input < DeviceState.inputCount && input < MaxPorts; ++input)
        allOutputComboBox->addItem(S_InputName[input]);
}

void Ui_Matrix::RebuildIfConfirmed()
{
    if (DeviceState.modelUnconfirmed)
        return;
    BuildGrid(DeviceState.inputCount, DeviceState.outputCount);
    emit SGL_Update_PortCounts();
}

void Ui_Matrix::Retranslate(bool hideRenameBox, bool noRebuild)
{
    gridGroup->setTitle(SgroupBox_Matrix);
    leftButton->setText(QStringLiteral("←"));
    rightButton->setText(QStringLiteral("→"));
    upButton->setText(QStringLiteral("↑"));
    downButton->setText(QStringLiteral("↓"));
    renameGroup->setTitle(S_Rename);
    allOutputLabel->setText(Slabel_AllOutputSet);
    allOutputLabel->setAlignment(Qt::AlignCenter);
    saveLoadButton->setText(SpushButton_SaveLoadWin);
    edidButton->setText(SpushButton_EDIDWin);
    routingBar->Retranslate();
    FillAllOutputComboWithNumbers();
    if (hideRenameBox)
        renameGroup->hide();
    else
        PageRefresh(true, true);
    if (!noRebuild && !DeviceState.modelUnconfirmed)
        BuildGrid(DeviceState.inputCount, DeviceState.outputCount);
    // The refilled Allset list shows the confirmed routes, never a choice still unconfirmed.
    if (!DeviceState.modelUnconfirmed)
        ShowConfirmedState();
}

QLabel *Ui_Matrix::HeaderLabel(quint32 index) const
{
    return headerLabels.value(int(index), nullptr);
}

QPushButton *Ui_Matrix::CrossPointButton(quint32 row, quint32 column) const
{
    return crossPointButtons.value(int(row * inputsPerPage + column), nullptr);
}

quint32 Ui_Matrix::InputStart() const
{
    return inputPage * inputsPerPage;
}

// Never more than the grid has columns, even if the counts changed since it was built.
quint32 Ui_Matrix::VisibleInputs() const
{
    const quint32 start = InputStart();
    if (start >= DeviceState.inputCount)
        return 0;
    return qMin(DeviceState.inputCount - start, inputsPerPage);
}

quint32 Ui_Matrix::OutputStart() const
{
    return outputPage * outputsPerPage;
}

quint32 Ui_Matrix::VisibleOutputs() const
{
    const quint32 start = OutputStart();
    if (start >= DeviceState.outputCount)
        return 0;
    return qMin(DeviceState.outputCount - start, outputsPerPage);
}

void Ui_Matrix::ShowCornerText()
{
    if (QLabel *corner = HeaderLabel(0))
        corner->setText(S_OutPut + QLatin1Char('\\') + S_Input);
}

void Ui_Matrix::ClearAndHideLabels(quint32 first, quint32 last)
{
    for (quint32 index = first; index <= last; ++index) {
        if (QLabel *label = HeaderLabel(index)) {
            label->clear();
            label->hide();
        }
    }
}

void Ui_Matrix::HideAllButtons()
{
    for (QPushButton *button : qAsConst(crossPointButtons)) {
        button->setFlat(false);
        button->hide();
    }
}

void Ui_Matrix::ShowInputHeaders()
{
    const quint32 start = InputStart();
    for (quint32 j = 1; j <= VisibleInputs(); ++j) {
        QLabel *name = HeaderLabel(j);
        QLabel *number = HeaderLabel(inputsPerPage + j);
        ShowElidedName(name, S_InputName[ClampSlot(start + j - 1)], STIPS_DoubleChickModifyName);
        number->setText(QString::number(start + j));
        name->show();
        number->show();
    }
}

void Ui_Matrix::ShowOutputHeaders()
{
    const quint32 start = OutputStart();
    const quint32 offset = 2 * inputsPerPage;
    for (quint32 j = 1; j <= VisibleOutputs(); ++j) {
        QLabel *name = HeaderLabel(offset + j);
        QLabel *number = HeaderLabel(offset + outputsPerPage + j);
        ShowElidedName(name, S_OutputName[ClampSlot(start + j - 1)], STIPS_DoubleChickModifyName);
        number->setText(QString::number(start + j));
        name->show();
        number->show();
    }
}

void Ui_Matrix::MarkRoutedButtonsAndShowVisible()
{
    const quint32 inStart = InputStart();
    const quint32 inVisible = VisibleInputs();
    const quint32 outStart = OutputStart();
    const quint32 outVisible = VisibleOutputs();
    for (quint32 row = 0; row < outVisible; ++row) {
        const quint32 input = DeviceState.routeInputOfOutput[ClampSlot(outStart + row)];
        if (input >= inStart && input < inStart + inVisible)
            CrossPointButton(row, input - inStart)->setFlat(true);
    }
    for (quint32 row = 0; row < outVisible; ++row) {
        for (quint32 column = 0; column < inVisible; ++column)
            CrossPointButton(row, column)->show();
    }
}

void Ui_Matrix::PageRefresh(bool inputs, bool outputs)
{
    if (!gridBuilt)
        return;
    ShowCornerText();
    if (inputs) {
        ClearAndHideLabels(1, 2 * inputsPerPage);
        HideAllButtons();
        ShowInputHeaders();
        MarkRoutedButtonsAndShowVisible();
    }
    if (outputs) {
        ClearAndHideLabels(2 * inputsPerPage + 1, 2 * inputsPerPage + 2 * outputsPerPage);
        HideAllButtons();
        ShowOutputHeaders();
        MarkRoutedButtonsAndShowVisible();
    }
    UpdateMarks();
}

void Ui_Matrix::SetRoute(quint32 input, quint32 output)
{
    DeviceState_SetRoute(input, output);
    const quint32 storedInput = ClampSlot(input);
    if (output != 255) {
        RedrawOutputRow(storedInput, ClampSlot(output));
        if (routingDesk.dropConfirmedStage() > 0)
            UpdateMarks();
        return;
    }
    for (quint32 each = 0; each < DeviceState.outputCount && each < MaxPorts; ++each)
        RedrawOutputRow(storedInput, each);
    // Another controller (or our own Take) may have made a staged change already.
    if (routingDesk.dropConfirmedStage() > 0)
        UpdateMarks();
}

void Ui_Matrix::RedrawOutputRow(quint32 input, quint32 output)
{
    if (!gridBuilt)
        return;
    const quint32 outStart = OutputStart();
    const quint32 inStart = InputStart();
    const quint32 inVisible = VisibleInputs();
    if (output < outStart || output >= outStart + VisibleOutputs() || inVisible == 0)
        return;
    for (quint32 column = 0; column < inVisible; ++column)
        CrossPointButton(output - outStart, column)->setFlat(inStart + column == input);
}

void Ui_Matrix::SetRouteList(const QString &text)
{
    const QVector<QStringRef> parts = text.splitRef(QLatin1Char(' '));
    quint32 output = 0;
    for (const QStringRef &part : parts) {
        if (output >= MaxPorts)
            break;
        SetRoute(part.toUInt(), output);
        ++output;
    }
}

void Ui_Matrix::RequestRoutes()
{
    CmdGetMatrixRoute();
    emit SGL_UpdateEmit();
}

bool Ui_Matrix::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (auto *label = qobject_cast<QLabel *>(watched))
            StartRename(label);
    }
    if (event->type() == QEvent::ContextMenu) {
        const int index = headerLabels.indexOf(qobject_cast<QLabel *>(watched));
        const int firstOutputName = int(2 * inputsPerPage + 1);
        if (index >= firstOutputName && index < firstOutputName + int(outputsPerPage)) {
            const quint32 row = quint32(index - firstOutputName);
            if (row < VisibleOutputs()) {
                ShowLockMenu(OutputStart() + row, static_cast<QContextMenuEvent *>(event)->globalPos());
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Ui_Matrix::StartRename(QLabel *label)
{
    const int index = headerLabels.indexOf(label);
    if (index < 0)
        return;
    const quint32 position = quint32(index);
    const quint32 firstOutputName = 2 * inputsPerPage + 1;
    if (position >= 1 && position <= inputsPerPage) {
        disconnect(renameEdit, &QLineEdit::returnPressed, nullptr, nullptr);
        connect(renameEdit, &QLineEdit::returnPressed, this, &Ui_Matrix::SLT_I_Rename);
        inputRenameTarget = position - 1;
    } else if (position >= firstOutputName && position < firstOutputName + outputsPerPage) {
        disconnect(renameEdit, &QLineEdit::returnPressed, nullptr, nullptr);
        connect(renameEdit, &QLineEdit::returnPressed, this, &Ui_Matrix::SLT_O_Rename);
        outputRenameTarget = position - firstOutputName;
    } else {
        return;
    }
    renameEdit->setToolTip(STIPS_EnterKeyFinishInputAndClose);
    renameEdit->clear();
    renameLabel->setText(FullNameOf(label));
    renameGroup->show();
}

// The names live in the language texts; they are written to a file only with those.
void Ui_Matrix::FinishRename(quint32 target, quint32 perPage, quint32 page, quint32 labelOffset,
    QString *names, void (Ui_Matrix::*slot)())
{
    const QString text = renameEdit->text();
    if (!text.isEmpty() && target < perPage) {
        if (QLabel *label = HeaderLabel(labelOffset + target + 1))
            ShowElidedName(label, text, STIPS_DoubleChickModifyName);
        names[ClampSlot(perPage * page + target)] = text;
    }
    disconnect(renameEdit, &QLineEdit::returnPressed, this, slot);
    renameGroup->hide();
}

void Ui_Matrix::SLT_I_Rename()
{
    FinishRename(inputRenameTarget, inputsPerPage, inputPage, 0, S_InputName, &Ui_Matrix::SLT_I_Rename);
    inputRenameTarget = 0;
    emit SGL_SyncInputSourceName();
}

void Ui_Matrix::SLT_O_Rename()
{
    FinishRename(outputRenameTarget, outputsPerPage, outputPage, 2 * inputsPerPage, S_OutputName,
        &Ui_Matrix::SLT_O_Rename);
    outputRenameTarget = 0;
}

// The grid is not changed here: the device's routing reply redraws it.
void Ui_Matrix::SLT_BTN_SwitchMatrix(bool checked)
{
    Q_UNUSED(checked)
    const QObject *button = sender();
    if (!button || inputsPerPage == 0)
        return;
    const quint32 k = button->objectName().mid(CrossPointNamePrefix.size()).toUInt();
    const quint32 input = k % inputsPerPage + inputsPerPage * inputPage;
    const quint32 output = outputsPerPage * outputPage + k / inputsPerPage;
    ShowOutcome(routingDesk.route(input, output));
    emit SGL_UpdateEmit();
}

quint32 Ui_Matrix::PageCount(quint32 portCount)
{
    return (portCount + PortsPerPage - 1) / PortsPerPage;
}

void Ui_Matrix::SLT_BTN_Move_Up(bool checked)
{
    Q_UNUSED(checked)
    if (outputPage == 0)
        return;
    --outputPage;
    PageRefresh(false, true);
}

void Ui_Matrix::SLT_BTN_Move_Down(bool checked)
{
    Q_UNUSED(checked)
    if (DeviceState.outputCount <= PortsPerPage || outputPage + 1 >= PageCount(DeviceState.outputCount))
        return;
    ++outputPage;
    PageRefresh(false, true);
}

void Ui_Matrix::SLT_BTN_Move_Left(bool checked)
{
    Q_UNUSED(checked)
    if (inputPage == 0)
        return;
    --inputPage;
    PageRefresh(true, false);
}

void Ui_Matrix::SLT_BTN_Move_Right(bool checked)
{
    Q_UNUSED(checked)
    if (DeviceState.inputCount <= PortsPerPage || inputPage + 1 >= PageCount(DeviceState.inputCount))
        return;
    ++inputPage;
    PageRefresh(true, false);
}

void Ui_Matrix::SLT_AutoAddSource()
{
    FillAllOutputComboWithNames();
}

// Allset shows the input every output is routed from, or nothing when they differ.
void Ui_Matrix::ShowConfirmedState()
{
    PageRefresh(true, true);
    int common = -1;
    for (quint32 output = 0; output < DeviceState.outputCount && output < MaxPorts; ++output) {
        const int input = int(DeviceState.routeInputOfOutput[output]);
        if (output > 0 && input != common) {
            common = -1;
            break;
        }
        common = input;
    }
    allOutputComboBox->setCurrentIndex(common < allOutputComboBox->count() ? common : -1);
}

void Ui_Matrix::ShowConfirmed(const DeviceRequest &request)
{
    if (request.concerns("VIDEO"))
        ShowConfirmedState();
}

void Ui_Matrix::SLT_SetAllOutput(int index)
{
    if (index >= 0)
        ShowOutcome(routingDesk.routeAll(quint32(index)));
    emit SGL_UpdateEmit();
}

// Without a chosen link there is nothing to send scenes to. Each click opens one more
// non-modal dialog, which deletes itself when closed.
void Ui_Matrix::SLT_BTN_SaveLoadWin(bool checked)
{
    Q_UNUSED(checked)
    if (LinkMode == LinkModeNone)
        return;
    auto *dialog = new Ui_SaveLoad();
    QPointer<Ui_Matrix> page(this);
    dialog->beforeLoad = [page](QWidget *over) { return !page || page->ConfirmSceneLoad(over); };
    connect(this, &QObject::destroyed, dialog, &Ui_SaveLoad::SLT_CloseMyDialog);
    connect(dialog, &Ui_SaveLoad::SGL_UpdateEmit, this, &Ui_Matrix::SGL_UpdateEmit);
    dialog->setModal(false);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

// Like the scene dialog; the EDID dialog also hears the parser's EDID results through this
// page and asks for its input's EDID mode as soon as it is shown.
void Ui_Matrix::SLT_BTN_EDIDWin(bool checked)
{
    Q_UNUSED(checked)
    if (LinkMode == LinkModeNone)
        return;
    auto *dialog = new Ui_Edid();
    connect(this, &QObject::destroyed, dialog, &Ui_Edid::SLT_CloseMyDialog);
    connect(dialog, &Ui_Edid::SGL_UpdateEmit, this, &Ui_Matrix::SGL_UpdateEmit);
    connect(this, &Ui_Matrix::SGL_Update_InEdidMode, dialog, &Ui_Edid::SLT_Update_InEdidMode);
    connect(this, &Ui_Matrix::SGL_Update_OutEdid, dialog, &Ui_Edid::SLT_Update_OutEdid);
    connect(this, &Ui_Matrix::SGL_Update_PortCounts, dialog, &Ui_Edid::SLT_Update_PortCounts);
    connect(g_ServiceSerialPort, &ServiceSerialPort::SGL_WaitReplyTimeout_SerialPort, dialog,
        &Ui_Edid::SLT_WaitReplyTimeout);
    connect(g_ServiceTcpClient, &ServiceTcpClient::SGL_WaitReplyTimeout_TcpClient, dialog,
        &Ui_Edid::SLT_WaitReplyTimeout);
    // The device confirms a written user EDID with a line the parser does not interpret; the
    // main window hands every received line out.
    if (auto *mainWindow = qobject_cast<Ui_Main *>(window())) {
        connect(mainWindow, &Ui_Main::SGL_DEBUG_SHOW_RecvText, dialog, &Ui_Edid::SLT_Update_RecvLine);
        connect(mainWindow->connectionPage, &Ui_Uart_Network::SGL_LinkClosed, dialog, &Ui_Edid::SLT_LinkClosed);
    }
    dialog->setModal(false);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    dialog->StartupRead();
}

// What a routing request came to: staged outputs are outlined, skipped locked outputs named.
void Ui_Matrix::ShowOutcome(const RoutingDesk::Outcome &outcome)
{
    routingBar->ShowNote(
        outcome.skippedLocked.isEmpty() ? QString() : Slabel_LockedSkipped + OutputList(outcome.skippedLocked));
    UpdateMarks();
}

QRect Ui_Matrix::CrossPointRect(quint32 output, quint32 input) const
{
    const quint32 row = output - OutputStart();
    const quint32 column = input - InputStart();
    if (output < OutputStart() || input < InputStart() || row >= VisibleOutputs() || column >= VisibleInputs())
        return QRect();
    const QPushButton *button = CrossPointButton(row, column);
    return button ? button->geometry() : QRect();
}

void Ui_Matrix::UpdateMarks()
{
    if (!gridBuilt)
        return;
    keyRouter.setView(InputStart(), VisibleInputs(), OutputStart(), VisibleOutputs(), DeviceState.inputCount,
        DeviceState.outputCount);
    QVector<QRect> staged;
    const QMap<quint32, quint32> &changes = routingDesk.stage().changes();
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        const QRect rect = CrossPointRect(it.key(), it.value());
        if (!rect.isNull())
            staged << rect;
    }
    QVector<QRect> locked;
    for (quint32 output : outputLocks.locked()) {
        if (output < OutputStart() || output - OutputStart() >= VisibleOutputs())
            continue;
        if (const QLabel *number = HeaderLabel(2 * inputsPerPage + outputsPerPage + 1 + output - OutputStart()))
            locked << number->geometry();
    }
    const QRect focus = hasFocus()
        ? CrossPointRect(OutputStart() + keyRouter.cursorRow(), InputStart() + keyRouter.cursorColumn())
        : QRect();
    overlay->setMarks(staged, focus, locked);
    routingBar->ShowStagedCount(routingDesk.stage().count(), routingDesk.takeMode());
}

bool Ui_Matrix::ConfirmDropStage()
{
    if (routingDesk.stage().isEmpty())
        return true;
    if (!MessageBoxYesNo(SMSG_DropStagedChanges, this))
        return false;
    routingDesk.cancel();
    UpdateMarks();
    return true;
}

void Ui_Matrix::SLT_TakeModeToggled(bool on)
{
    if (!on && !ConfirmDropStage()) {
        const QSignalBlocker blocker(routingBar->takeModeButton);
        routingBar->takeModeButton->setChecked(true);
        return;
    }
    routingDesk.setTakeMode(on);
    UpdateMarks();
}

void Ui_Matrix::SLT_Take()
{
    ShowOutcome(routingDesk.take());
    emit SGL_UpdateEmit();
}

void Ui_Matrix::SLT_CancelStage()
{
    routingDesk.cancel();
    UpdateMarks();
}

void Ui_Matrix::SLT_Undo()
{
    ShowOutcome(routingDesk.undo());
    emit SGL_UpdateEmit();
}

void Ui_Matrix::SLT_Redo()
{
    ShowOutcome(routingDesk.redo());
    emit SGL_UpdateEmit();
}

void Ui_Matrix::SetOutputLocked(quint32 output, bool locked)
{
    outputLocks.setLocked(output, locked);
    // A locked output keeps what it has: a change staged for it would be skipped anyway.
    if (locked)
        routingDesk.cancelOutput(output);
    if (!outputLocks.save(OutputLocks::FilePath()))
        MessageBoxOk(SMSG_LockSaveFail + OutputLocks::FilePath(), this);
    UpdateMarks();
}

void Ui_Matrix::ShowLockMenu(quint32 output, const QPoint &globalPos)
{
    lockMenu->clear();
    const bool locked = outputLocks.isLocked(output);
    QAction *action = lockMenu->addAction(locked ? SMenu_UnlockOutput : SMenu_LockOutput);
    connect(action, &QAction::triggered, this, [this, output, locked] { SetOutputLocked(output, !locked); });
    // Not exec(): the menu must not hold a nested loop of its own.
    lockMenu->popup(globalPos);
}

// A scene sets every output; with outputs locked the operator decides. The routes before the
// load become an undo step.
bool Ui_Matrix::ConfirmSceneLoad(QWidget *over)
{
    if (outputLocks.any()
        && !MessageBoxYesNo(SMSG_SceneLoadWithLocks.arg(OutputList(outputLocks.locked())), over))
        return false;
    routingDesk.recordBeforeSceneLoad();
    return true;
}

void Ui_Matrix::ShowKeyRoutePending()
{
    routingBar->ShowKeyRoute(keyRouter.pendingOutput() ? Slabel_KeyRoutePending.arg(keyRouter.chosenOutput() + 1)
                                                       : QString());
}

void Ui_Matrix::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Z && modifiers == Qt::ControlModifier) {
        SLT_Undo();
        return;
    }
    if (event->key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        SLT_Redo();
        return;
    }
    // Keys a child let through (Return after a rename, Space on a button) are not for the grid.
    if (!hasFocus()) {
        QWidget::keyPressEvent(event);
        return;
    }
    UpdateMarks();
    const MatrixKeyRouter::Result result = keyRouter.key(event->key(), modifiers != Qt::NoModifier);
    if (!result.handled) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape)
        routingBar->ShowNote(QString());
    if (result.route) {
        ShowOutcome(routingDesk.route(result.input, result.output));
        emit SGL_UpdateEmit();
    }
    ShowKeyRoutePending();
    UpdateMarks();
}

// The focus mark shows only while the page has the keyboard.
void Ui_Matrix::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    UpdateMarks();
}

void Ui_Matrix::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    UpdateMarks();
}

// Leaving the page with routes staged asks once the switch is done; keeping them brings the
// page back.
void Ui_Matrix::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (routingDesk.stage().isEmpty() || !window()->isVisible())
        return;
    QPointer<Ui_Matrix> page(this);
    QTimer::singleShot(0, this, [page] {
        if (!page || page->isVisible() || !page->window()->isVisible())
            return;
        if (page->ConfirmDropStage())
            return;
        for (QWidget *up = page->parentWidget(); up; up = up->parentWidget()) {
            if (auto *tabs = qobject_cast<QTabWidget *>(up)) {
                tabs->setCurrentWidget(page);
                return;
            }
        }
    });
}

void Ui_Matrix::SLT_ExportNames()
{
    const QString path = namesFileDialog(this, SpushButton_ExportNames, true);
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray csv = PortNamesCsv::Export(DeviceState.inputCount, DeviceState.outputCount);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        MessageBoxOk(SMSG_NamesExportFail + path + QStringLiteral(" (") + file.errorString() + QLatin1Char(')'), this);
    }
}

void Ui_Matrix::SLT_ImportNames()
{
    const QString path = namesFileDialog(this, SpushButton_ImportNames, false);
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        MessageBoxOk(SMSG_NamesImportReadFail + path + QStringLiteral(" (") + file.errorString() + QLatin1Char(')'), this);
        return;
    }
    const PortNamesCsv::Plan plan = PortNamesCsv::PlanImport(file.readAll(), DeviceState.inputCount, DeviceState.outputCount);
    if (!plan.accepted()) {
        QStringList lines { SMSG_NamesImportRefused };
        for (const PortNamesCsv::RefusedRow &row : plan.refused)
            lines << PortNamesCsv::RefusalText(row);
        MessageBoxOk(lines.join(QLatin1Char('\n')), this);
        return;
    }
    if (plan.changes.isEmpty()) {
        MessageBoxOk(SMSG_NamesImportNoChange, this);
        return;
    }
    QStringList lines { SMSG_NamesImportConfirm };
    for (const PortNamesCsv::Change &change : plan.changes)
        lines << PortNamesCsv::ChangeText(change);
    if (!MessageBoxYesNo(lines.join(QLatin1Char('\n')), this))
        return;
    PortNamesCsv::Apply(plan);
    PageRefresh(true, true);
    FillAllOutputComboWithNames();
    emit SGL_SyncInputSourceName();
}
