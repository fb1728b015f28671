#include "pages/Ui_SignalConfig.h"

#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/RequestTracker.h"
#include "protocol/ValueWords.h"
#include "settings/LanguageTexts.h"
#include "shell/MyComboBox.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>

namespace {

// Row widget names: the prefix and the 0-based row number.
const QString InputTypePrefix = QStringLiteral("SignalConfig-InputType-I");
const QString InputOutputFormatPrefix = QStringLiteral("SignalConfig-OutputFormat-I");
const QString AudioSelectPrefix = QStringLiteral("SignalConfig-AudioSelect-I");
const QString InputReadPrefix = QStringLiteral("SignalConfig-Read-I");
const QString OutputTypePrefix = QStringLiteral("SignalConfig-OutputType-O");
const QString OutputFormatPrefix = QStringLiteral("SignalConfig-OutputFormat-O");
const QString RotatePrefix = QStringLiteral("SignalConfig-Rotate-O");
const QString AudioMutePrefix = QStringLiteral("SignalConfig-AudioMute-O");
const QString FreezePrefix = QStringLiteral("SignalConfig-Freeze-O");
const QString OutputReadPrefix = QStringLiteral("SignalConfig-Read-O");

// What the output combos show; the item index is the index into the protocol's word list
// (HdcpWords, OutResolutionWords, RotationWords). 1920x1200p60 is sent as its reduced-blanking
// keyword.
const char *const OutputTypeTexts[] = { "HDMI-1.4", "HDMI-2.2", "HDMI" };
const char *const ResolutionTexts[] = { "4096x2160p60", "4096x2160p50", "3840x2160p60", "3840x2160p50",
    "3840x2160p30", "3840x2160p25", "1920x1200p60", "1920x1080p60", "1920x1080p50", "1360x768p60",
    "1280x800p60", "1280x720p60", "1280x720p50", "1024x768p60", "3440x1440p60", "2560x1600p60", "AUTO",
    "USER" };
const QString RotationTexts[] = { QStringLiteral("0°"), QStringLiteral("90°"), QStringLiteral("180°") };
const char *const InputTypeText = "HDMI";
const char *const NoSignalWord = "No-Signal";
const char *const MultiModeWord = "Multi-Mode";

// Geometry in pixels; every gap is 4.
constexpr int Gap = 4;
constexpr int RowHeight = 26;
constexpr int RowPitch = RowHeight + Gap;
constexpr int HeaderX = 4;
constexpr int HeaderY = 20;
constexpr int FirstRowY = HeaderY + RowHeight + Gap;
constexpr int ArrowSize = 26;
constexpr int InputGroupWidth = 616;
constexpr int OutputGroupWidth = 700;
constexpr int GroupExtraHeight = 50;
constexpr int ReadAllWidth = 120;
constexpr int PortWidth = 40;
constexpr int TypeWidth = 100;
constexpr int FormatWidth = 144;
constexpr int AudioSelectWidth = 104;
constexpr int RotateWidth = 60;
constexpr int CheckWidth = 60;
constexpr int ReadWidth = 50;

// Column widths of the headers; the read column has none.
const int InputColumnWidths[] = { PortWidth, TypeWidth, FormatWidth, FormatWidth, AudioSelectWidth };
const int OutputColumnWidths[]
    = { PortWidth, TypeWidth, FormatWidth, FormatWidth, RotateWidth, CheckWidth, CheckWidth };

MyComboBox *NewCombo(QWidget *parent, const QString &name)
{
    auto *combo = new MyComboBox(parent);
    combo->UseListViewWhenOpened();
    combo->setObjectName(name);
    return combo;
}

// The device's own text of a display field, kept so that a language switch can show it again
// in the new language.
const char DeviceTextProperty[] = "deviceText";

void ShowDeviceText(QLineEdit *field, const QString &deviceText, const QString &shown)
{
    field->setProperty(DeviceTextProperty, deviceText);
    field->setText(shown);
}

QString DeviceTextOf(const QLineEdit *field)
{
    return field->property(DeviceTextProperty).toString();
}

void ClearDisplayField(QLineEdit *field)
{
    field->setProperty(DeviceTextProperty, QVariant());
    field->clear();
}

// New item texts, the shown item kept (setCurrentIndex never sends).
void RenameItems(QComboBox *combo, const QStringList &items)
{
    for (int i = 0; i < items.size() && i < combo->count(); ++i)
        combo->setItemText(i, items.at(i));
}

QLineEdit *NewDisplayField(QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setEnabled(false);
    return field;
}

QCheckBox *NewCheckBox(QWidget *parent, const QString &name)
{
    auto *box = new QCheckBox(parent);
    box->setObjectName(name);
    box->setCheckable(true);
    box->setChecked(false);
    return box;
}

void FillCombo(QComboBox *combo, const QStringList &items, bool enabled)
{
    combo->clear();
    combo->addItems(items);
    combo->setEnabled(enabled);
}

QStringList Texts(const char *const *texts, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QString::fromUtf8(texts[i]);
    return list;
}

// Places the widgets of a row (or the headers) left to right, 4 pixels apart, from x = 4.
void PlaceInLine(const QList<QWidget *> &widgets, const QList<int> &widths, int y)
{
    int x = HeaderX;
    for (int i = 0; i < widgets.size(); ++i) {
        widgets.at(i)->setGeometry(x, y, widths.at(i), RowHeight);
        x += widths.at(i) + Gap;
    }
}

template <typename T> void ShowAll(const QList<T *> &widgets, int rows)
{
    for (int row = 0; row < rows; ++row)
        widgets.at(row)->show();
}

template <typename T> void DisconnectAndDelete(QList<T *> &widgets, QObject *receiver)
{
    for (T *widget : qAsConst(widgets))
        QObject::disconnect(widget, nullptr, receiver, nullptr);
    qDeleteAll(widgets);
    widgets.clear();
}

} // namespace

Ui_SignalConfig::Ui_SignalConfig(QWidget *parent)
    : QWidget(parent)
{
    CreateFixedWidgets();
    Retranslate(true, false);
    MakeConnections();
    BuildRows(PortsPerPage, PortsPerPage);
}

Ui_SignalConfig::~Ui_SignalConfig()
{
    DeleteRows();
}

void Ui_SignalConfig::CreateFixedWidgets()
{
    inputGroup = new QGroupBox(this);
    outputGroup = new QGroupBox(this);
    readAllInputButton = new QPushButton(this);
    readAllOutputButton = new QPushButton(this);
    for (int i = 0; i < int(sizeof InputColumnWidths / sizeof *InputColumnWidths); ++i)
        inputHeaderLabels.append(new QLabel(inputGroup));
    for (int i = 0; i < int(sizeof OutputColumnWidths / sizeof *OutputColumnWidths); ++i)
        outputHeaderLabels.append(new QLabel(outputGroup));
    inputUpButton = new QPushButton(inputGroup);
    inputDownButton = new QPushButton(inputGroup);
    outputUpButton = new QPushButton(outputGroup);
    outputDownButton = new QPushButton(outputGroup);
}

void Ui_SignalConfig::MakeConnections()
{
    connect(inputUpButton, &QPushButton::clicked, this, &Ui_SignalConfig::SLT_I_Up);
    connect(inputDownButton, &QPushButton::clicked, this, &Ui_SignalConfig::SLT_I_Down);
    connect(outputUpButton, &QPushButton::clicked, this, &Ui_SignalConfig::SLT_O_Up);
    connect(outputDownButton, &QPushButton::clicked, this, &Ui_SignalConfig::SLT_O_Down);
    connect(readAllInputButton, &QPushButton::clicked, this, &Ui_SignalConfig::SLT_BTN_ReadAllInput);
    connect(readAllOutputButton, &QPushButton::clicked, this, &Ui_SignalConfig::SLT_BTN_ReadAllOutput);
}

void Ui_SignalConfig::BuildRows(quint32 inputCount, quint32 outputCount)
{
    DeviceState.inputCount = inputCount;
    DeviceState.outputCount = outputCount;
    if (rowsBuilt) {
        DeleteRows();
        rowsBuilt = false;
    }
    inputsPerPage = qMin(inputCount, PortsPerPage);
    outputsPerPage = qMin(outputCount, PortsPerPage);
    // New rows show the first page of each table.
    inputPage = 0;
    outputPage = 0;
    for (int row = 0; row < int(inputsPerPage); ++row)
        CreateInputRow(row);
    for (int row = 0; row < int(outputsPerPage); ++row)
        CreateOutputRow(row);
    rowsBuilt = true;
    LayOutPage();
}

void Ui_SignalConfig::DeleteRows()
{
    DisconnectAndDelete(inputPortLabels, this);
    DisconnectAndDelete(inputTypeCombos, this);
    DisconnectAndDelete(inputFormatEdits, this);
    DisconnectAndDelete(inputOutputFormatCombos, this);
    DisconnectAndDelete(inputAudioCombos, this);
    DisconnectAndDelete(inputReadButtons, this);
    DisconnectAndDelete(outputPortLabels, this);
    DisconnectAndDelete(outputTypeCombos, this);
    DisconnectAndDelete(outputInputFormatEdits, this);
    DisconnectAndDelete(outputFormatCombos, this);
    DisconnectAndDelete(outputRotateCombos, this);
    DisconnectAndDelete(outputMuteBoxes, this);
    DisconnectAndDelete(outputFreezeBoxes, this);
    DisconnectAndDelete(outputReadButtons, this);
}

void Ui_SignalConfig::CreateInputRow(int row)
{
    const QString number = QString::number(row);
    auto *port = new QLabel(QString::number(row + 1), inputGroup);
    inputPortLabels.append(port);
    inputTypeCombos.append(NewCombo(inputGroup, InputTypePrefix + number));
    inputFormatEdits.append(NewDisplayField(inputGroup));
    inputOutputFormatCombos.append(NewCombo(inputGroup, InputOutputFormatPrefix + number));
    inputAudioCombos.append(NewCombo(inputGroup, AudioSelectPrefix + number));
    auto *read = new QPushButton(S_ReadWrite[0], inputGroup);
    read->setObjectName(InputReadPrefix + number);
    inputReadButtons.append(read);
    FillInputCombos(row);

    port->show();
    inputTypeCombos.at(row)->show();
    inputFormatEdits.at(row)->show();
    inputOutputFormatCombos.at(row)->show();
    inputAudioCombos.at(row)->show();
    read->show();

    const auto activated = QOverload<int>::of(&QComboBox::activated);
    connect(inputTypeCombos.at(row), activated, this, &Ui_SignalConfig::SLT_I_InputType);
    connect(inputOutputFormatCombos.at(row), activated, this, &Ui_SignalConfig::SLT_I_OutputFormat);
    connect(inputAudioCombos.at(row), activated, this, &Ui_SignalConfig::SLT_I_AudioSelect);
    connect(read, &QPushButton::clicked, this, &Ui_SignalConfig::SLT_I_Read);
}

void Ui_SignalConfig::CreateOutputRow(int row)
{
    const QString number = QString::number(row);
    auto *port = new QLabel(QString::number(row + 1), outputGroup);
    outputPortLabels.append(port);
    outputTypeCombos.append(NewCombo(outputGroup, OutputTypePrefix + number));
    outputInputFormatEdits.append(NewDisplayField(outputGroup));
    outputFormatCombos.append(NewCombo(outputGroup, OutputFormatPrefix + number));
    outputRotateCombos.append(NewCombo(outputGroup, RotatePrefix + number));
    outputMuteBoxes.append(NewCheckBox(outputGroup, AudioMutePrefix + number));
    outputFreezeBoxes.append(NewCheckBox(outputGroup, FreezePrefix + number));
    auto *read = new QPushButton(S_ReadWrite[0], outputGroup);
    read->setObjectName(OutputReadPrefix + number);
    outputReadButtons.append(read);
    FillOutputCombos(row);

    port->show();
    outputTypeCombos.at(row)->show();
    outputInputFormatEdits.at(row)->show();
    outputFormatCombos.at(row)->show();
    outputRotateCombos.at(row)->show();
    outputMuteBoxes.at(row)->show();
    outputFreezeBoxes.at(row)->show();
    read->show();

    const auto activated = QOverload<int>::of(&QComboBox::activated);
    connect(outputTypeCombos.at(row), activated, this, &Ui_SignalConfig::SLT_O_OutputType);
    connect(outputFormatCombos.at(row), activated, this, &Ui_SignalConfig::SLT_O_OutputFormat);
    connect(outputRotateCombos.at(row), activated, this, &Ui_SignalConfig::SLT_O_Rotate);
    connect(outputMuteBoxes.at(row), &QCheckBox::clicked, this, &Ui_SignalConfig::SLT_O_AudioMute);
    connect(outputFreezeBoxes.at(row), &QCheckBox::clicked, this, &Ui_SignalConfig::SLT_O_Freeze);
    connect(read, &QPushButton::clicked, this, &Ui_SignalConfig::SLT_O_Read);
}

// Until the device is identified the lists stay empty (and enabled), so nothing can be chosen.
void Ui_SignalConfig::FillInputCombos(int row)
{
    if (DeviceState.modelUnconfirmed)
        return;
    FillCombo(inputTypeCombos.at(row), { QString::fromLatin1(InputTypeText) }, false);
    FillCombo(inputOutputFormatCombos.at(row), { S_Bypass }, false);
    FillCombo(inputAudioCombos.at(row), { ScomboBox_I_AudioSelect[0], ScomboBox_I_AudioSelect[1] }, true);
}

void Ui_SignalConfig::FillOutputCombos(int row)
{
    if (DeviceState.modelUnconfirmed)
        return;
    FillCombo(outputTypeCombos.at(row), Texts(OutputTypeTexts, 3), true);
    FillCombo(outputFormatCombos.at(row), Texts(ResolutionTexts, 18), true);
    FillCombo(outputRotateCombos.at(row), { RotationTexts[0], RotationTexts[1], RotationTexts[2] }, true);
}

void Ui_SignalConfig::LayOutPage()
{
    const int inputHeight = RowPitch * int(inputsPerPage) + GroupExtraHeight;
    const int outputHeight = RowPitch * int(outputsPerPage) + GroupExtraHeight;
    inputGroup->setGeometry(Gap, Gap, InputGroupWidth, inputHeight);
    outputGroup->setGeometry(Gap + InputGroupWidth + Gap, Gap, OutputGroupWidth, outputHeight);
    readAllInputButton->setGeometry(inputGroup->x(), inputGroup->y() + inputHeight + Gap, ReadAllWidth, RowHeight);
    readAllOutputButton->setGeometry(
        outputGroup->x(), outputGroup->y() + outputHeight + Gap, ReadAllWidth, RowHeight);

    const QList<int> inputWidths(std::begin(InputColumnWidths), std::end(InputColumnWidths));
    const QList<int> outputWidths(std::begin(OutputColumnWidths), std::end(OutputColumnWidths));
    QList<QWidget *> inputHeader;
    for (QLabel *label : qAsConst(inputHeaderLabels))
        inputHeader << label;
    inputHeader << inputUpButton << inputDownButton;
    PlaceInLine(inputHeader, inputWidths + QList<int> { ArrowSize, ArrowSize }, HeaderY);
    QList<QWidget *> outputHeader;
    for (QLabel *label : qAsConst(outputHeaderLabels))
        outputHeader << label;
    outputHeader << outputUpButton << outputDownButton;
    PlaceInLine(outputHeader, outputWidths + QList<int> { ArrowSize, ArrowSize }, HeaderY);

    for (int row = 0; row < inputPortLabels.size(); ++row) {
        PlaceInLine({ inputPortLabels.at(row), inputTypeCombos.at(row), inputFormatEdits.at(row),
                        inputOutputFormatCombos.at(row), inputAudioCombos.at(row), inputReadButtons.at(row) },
            inputWidths + QList<int> { ReadWidth }, FirstRowY + row * RowPitch);
    }
    for (int row = 0; row < outputPortLabels.size(); ++row) {
        PlaceInLine({ outputPortLabels.at(row), outputTypeCombos.at(row), outputInputFormatEdits.at(row),
                        outputFormatCombos.at(row), outputRotateCombos.at(row), outputMuteBoxes.at(row),
                        outputFreezeBoxes.at(row), outputReadButtons.at(row) },
            outputWidths + QList<int> { ReadWidth }, FirstRowY + row * RowPitch);
    }

    const bool pagedInputs = DeviceState.inputCount > PortsPerPage;
    const bool pagedOutputs = DeviceState.outputCount > PortsPerPage;
    inputUpButton->setVisible(pagedInputs);
    inputDownButton->setVisible(pagedInputs);
    outputUpButton->setVisible(pagedOutputs);
    outputDownButton->setVisible(pagedOutputs);
}

void Ui_SignalConfig::RebuildIfConfirmed()
{
    if (!DeviceState.modelUnconfirmed)
        BuildRows(DeviceState.inputCount, DeviceState.outputCount);
}

void Ui_SignalConfig::Retranslate(bool noRefresh, bool noRebuild)
{
    inputGroup->setTitle(SgroupBox_Input);
    outputGroup->setTitle(SgroupBox_Output);
    readAllInputButton->setText(SpushButton_ReadAllInput);
    readAllOutputButton->setText(SpushButton_ReadAllOutput);
    const QString inputHeaders[] = { S_Port, S_InputType, S_InputFormat, S_OutputFormat, S_AudioSelect };
    for (int i = 0; i < inputHeaderLabels.size(); ++i)
        inputHeaderLabels.at(i)->setText(inputHeaders[i]);
    const QString outputHeaders[]
        = { S_Port, S_OutputType, S_InputFormat, S_OutputFormat, S_Rotate, S_AudioMute, S_Freeze };
    for (int i = 0; i < outputHeaderLabels.size(); ++i)
        outputHeaderLabels.at(i)->setText(outputHeaders[i]);
    inputUpButton->setText(QStringLiteral("↑"));
    inputDownButton->setText(QStringLiteral("↓"));
    outputUpButton->setText(QStringLiteral("↑"));
    outputDownButton->setText(QStringLiteral("↓"));
    // A language switch changes texts only: the rows keep what the device reported.
    if (!noRefresh) {
        RetranslateRows();
        // A choice the device never confirmed does not survive the switch either.
        ShowConfirmedState();
    }
    if (!noRebuild && !DeviceState.modelUnconfirmed)
        BuildRows(DeviceState.inputCount, DeviceState.outputCount);
}

int Ui_SignalConfig::RowsOnPage(quint32 page, quint32 count, int builtRows)
{
    const quint32 start = page * PortsPerPage;
    if (start >= count)
        return 0;
    return qMin(int(qMin(count - start, PortsPerPage)), builtRows);
}

int Ui_SignalConfig::RowOnPage(quint32 port, quint32 page, quint32 count, int builtRows)
{
    const quint32 start = page * PortsPerPage;
    if (port < start)
        return -1;
    const int row = int(qMin(port - start, PortsPerPage));
    return row < RowsOnPage(page, count, builtRows) ? row : -1;
}

quint32 Ui_SignalConfig::PageCount(quint32 portCount)
{
    return (portCount + PortsPerPage - 1) / PortsPerPage;
}

void Ui_SignalConfig::PageRefresh(bool inputs, bool outputs)
{
    if (!rowsBuilt)
        return;
    if (inputs)
        RefreshInputRows();
    if (outputs)
        RefreshOutputRows();
}

void Ui_SignalConfig::RefreshInputRows()
{
    for (int row = 0; row < inputPortLabels.size(); ++row) {
        inputPortLabels.at(row)->clear();
        inputPortLabels.at(row)->hide();
        inputTypeCombos.at(row)->clear();
        inputTypeCombos.at(row)->hide();
        ClearDisplayField(inputFormatEdits.at(row));
        inputFormatEdits.at(row)->hide();
        inputOutputFormatCombos.at(row)->clear();
        inputOutputFormatCombos.at(row)->hide();
        inputAudioCombos.at(row)->clear();
        inputAudioCombos.at(row)->hide();
        inputReadButtons.at(row)->hide();
    }
    const int rows = RowsOnPage(inputPage, DeviceState.inputCount, inputPortLabels.size());
    for (int row = 0; row < rows; ++row) {
        inputPortLabels.at(row)->setText(QString::number(inputPage * PortsPerPage + quint32(row) + 1));
        FillInputCombos(row);
        inputFormatEdits.at(row)->setEnabled(false);
        inputReadButtons.at(row)->setText(S_ReadWrite[0]);
    }
    ShowAll(inputPortLabels, rows);
    ShowAll(inputTypeCombos, rows);
    ShowAll(inputFormatEdits, rows);
    ShowAll(inputOutputFormatCombos, rows);
    ShowAll(inputAudioCombos, rows);
    ShowAll(inputReadButtons, rows);
}

void Ui_SignalConfig::RefreshOutputRows()
{
    for (int row = 0; row < outputPortLabels.size(); ++row) {
        outputPortLabels.at(row)->clear();
        outputPortLabels.at(row)->hide();
        outputTypeCombos.at(row)->clear();
        outputTypeCombos.at(row)->hide();
        ClearDisplayField(outputInputFormatEdits.at(row));
        outputInputFormatEdits.at(row)->hide();
        outputFormatCombos.at(row)->clear();
        outputFormatCombos.at(row)->hide();
        outputRotateCombos.at(row)->clear();
        outputRotateCombos.at(row)->hide();
        outputMuteBoxes.at(row)->setChecked(false);
        outputMuteBoxes.at(row)->hide();
        outputFreezeBoxes.at(row)->setChecked(false);
        outputFreezeBoxes.at(row)->hide();
        outputReadButtons.at(row)->hide();
    }
    const int rows = RowsOnPage(outputPage, DeviceState.outputCount, outputPortLabels.size());
    for (int row = 0; row < rows; ++row) {
        outputPortLabels.at(row)->setText(QString::number(outputPage * PortsPerPage + quint32(row) + 1));
        FillOutputCombos(row);
        outputInputFormatEdits.at(row)->setEnabled(false);
        outputReadButtons.at(row)->setText(S_ReadWrite[0]);
    }
    ShowAll(outputPortLabels, rows);
    ShowAll(outputTypeCombos, rows);
    ShowAll(outputInputFormatEdits, rows);
    ShowAll(outputFormatCombos, rows);
    ShowAll(outputRotateCombos, rows);
    ShowAll(outputMuteBoxes, rows);
    ShowAll(outputFreezeBoxes, rows);
    ShowAll(outputReadButtons, rows);
}

void Ui_SignalConfig::ReadAll()
{
    for (quint32 input = 0; input < DeviceState.inputCount && input < MaxPorts; ++input) {
        CmdGetInInfo(input);
        emit SGL_UpdateEmit();
    }
    for (quint32 output = 0; output < DeviceState.outputCount && output < MaxPorts; ++output) {
        CmdGetOutInfo(output);
        emit SGL_UpdateEmit();
    }
}

void Ui_SignalConfig::ShowInputFormat(quint32 input, const QString &text)
{
    const int row = RowOnPage(input, inputPage, DeviceState.inputCount, inputFormatEdits.size());
    if (row < 0)
        return;
    ShowDeviceText(inputFormatEdits.at(row), text, ShownInputFormat(text));
}

void Ui_SignalConfig::ShowInputAudio(quint32 input, const QString &keyword)
{
    const int row = RowOnPage(input, inputPage, DeviceState.inputCount, inputAudioCombos.size());
    const int item = InAudioWords.indexOf(keyword);
    if (row >= 0 && item >= 0)
        inputAudioCombos.at(row)->setCurrentIndex(item);
}

void Ui_SignalConfig::ShowConfirmedInput(quint32 input)
{
    const int row = RowOnPage(input, inputPage, DeviceState.inputCount, inputAudioCombos.size());
    if (row >= 0)
        inputAudioCombos.at(row)->setCurrentIndex(ConfirmedIndex(DeviceState.signal.inAudio, input));
}

void Ui_SignalConfig::ShowConfirmedOutput(quint32 output)
{
    const int row = RowOnPage(output, outputPage, DeviceState.outputCount, outputTypeCombos.size());
    if (row < 0)
        return;
    const SignalSettings &confirmed = DeviceState.signal;
    outputTypeCombos.at(row)->setCurrentIndex(ConfirmedIndex(confirmed.outHdcp, output));
    outputFormatCombos.at(row)->setCurrentIndex(ConfirmedIndex(confirmed.outResolution, output));
    outputRotateCombos.at(row)->setCurrentIndex(ConfirmedIndex(confirmed.outRotation, output));
    // ON is word 0; a box is ticked only for a confirmed ON.
    outputMuteBoxes.at(row)->setChecked(ConfirmedIndex(confirmed.outMute, output) == 0);
    outputFreezeBoxes.at(row)->setChecked(ConfirmedIndex(confirmed.outFreeze, output) == 0);
}

void Ui_SignalConfig::ShowConfirmed(const DeviceRequest &request)
{
    const SignalSettings &confirmed = DeviceState.signal;
    if (request.input() >= 0 && request.concerns("AUDIO-SRC")) {
        const auto input = quint32(request.input());
        const int row = RowOnPage(input, inputPage, DeviceState.inputCount, inputAudioCombos.size());
        if (row >= 0)
            inputAudioCombos.at(row)->setCurrentIndex(ConfirmedIndex(confirmed.inAudio, input));
        return;
    }
    if (request.output() < 0)
        return;
    const auto output = quint32(request.output());
    const int row = RowOnPage(output, outputPage, DeviceState.outputCount, outputTypeCombos.size());
    if (row < 0)
        return;
    if (request.concerns("HDCP"))
        outputTypeCombos.at(row)->setCurrentIndex(ConfirmedIndex(confirmed.outHdcp, output));
    else if (request.concerns("RESOLUTION"))
        outputFormatCombos.at(row)->setCurrentIndex(ConfirmedIndex(confirmed.outResolution, output));
    else if (request.concerns("ROTATION"))
        outputRotateCombos.at(row)->setCurrentIndex(ConfirmedIndex(confirmed.outRotation, output));
    else if (request.concerns("AUDIO-MUTE"))
        outputMuteBoxes.at(row)->setChecked(ConfirmedIndex(confirmed.outMute, output) == 0);
    else if (request.concerns("FREEZE-WINALL"))
        outputFreezeBoxes.at(row)->setChecked(ConfirmedIndex(confirmed.outFreeze, output) == 0);
}

void Ui_SignalConfig::ShowConfirmedState()
{
    const int inputRows = RowsOnPage(inputPage, DeviceState.inputCount, inputAudioCombos.size());
    for (int row = 0; row < inputRows; ++row)
        ShowConfirmedInput(InputOfRow(row));
    const int outputRows = RowsOnPage(outputPage, DeviceState.outputCount, outputTypeCombos.size());
    for (int row = 0; row < outputRows; ++row)
        ShowConfirmedOutput(OutputOfRow(row));
}

void Ui_SignalConfig::ShowInputType(quint32 input, const QString &text)
{
    Q_UNUSED(input)
    Q_UNUSED(text)
}

void Ui_SignalConfig::ShowInputOutputFormat(quint32 input, const QString &text)
{
    Q_UNUSED(input)
    Q_UNUSED(text)
}

void Ui_SignalConfig::ShowOutputType(quint32 output, const QString &keyword)
{
    const int row = RowOnPage(output, outputPage, DeviceState.outputCount, outputTypeCombos.size());
    const int item = HdcpWords.indexOf(keyword);
    if (row >= 0 && item >= 0)
        outputTypeCombos.at(row)->setCurrentIndex(item);
}

void Ui_SignalConfig::ShowOutputInputFormat(quint32 output, const QString &text)
{
    const int row = RowOnPage(output, outputPage, DeviceState.outputCount, outputInputFormatEdits.size());
    if (row < 0)
        return;
    ShowDeviceText(outputInputFormatEdits.at(row), text, ShownOutputInputFormat(text));
}

QString Ui_SignalConfig::ShownInputFormat(const QString &deviceText)
{
    return deviceText == QLatin1String(NoSignalWord) ? S_NoSignal : deviceText;
}

QString Ui_SignalConfig::ShownOutputInputFormat(const QString &deviceText)
{
    if (deviceText == QLatin1String(MultiModeWord))
        return Slist_O_InputFormat_MultiMode;
    return ShownInputFormat(deviceText);
}

void Ui_SignalConfig::RetranslateRows()
{
    for (int row = 0; row < inputPortLabels.size(); ++row) {
        inputReadButtons.at(row)->setText(S_ReadWrite[0]);
        RenameItems(inputOutputFormatCombos.at(row), { S_Bypass });
        RenameItems(inputAudioCombos.at(row), { ScomboBox_I_AudioSelect[0], ScomboBox_I_AudioSelect[1] });
        QLineEdit *field = inputFormatEdits.at(row);
        if (!field->text().isEmpty())
            field->setText(ShownInputFormat(DeviceTextOf(field)));
    }
    for (int row = 0; row < outputPortLabels.size(); ++row) {
        outputReadButtons.at(row)->setText(S_ReadWrite[0]);
        QLineEdit *field = outputInputFormatEdits.at(row);
        if (!field->text().isEmpty())
            field->setText(ShownOutputInputFormat(DeviceTextOf(field)));
    }
}

void Ui_SignalConfig::ShowOutputResolution(quint32 output, const QString &keyword)
{
    const int row = RowOnPage(output, outputPage, DeviceState.outputCount, outputFormatCombos.size());
    const int item = OutResolutionWords.indexOf(keyword);
    if (row >= 0 && item >= 0)
        outputFormatCombos.at(row)->setCurrentIndex(item);
}

int Ui_SignalConfig::SenderRow(int prefixLength) const
{
    const QObject *widget = sender();
    if (!widget)
        return -1;
    bool ok = false;
    const int row = widget->objectName().mid(prefixLength).toInt(&ok);
    return ok && row >= 0 ? row : -1;
}

quint32 Ui_SignalConfig::InputOfRow(int row) const
{
    return quint32(row) + inputPage * inputsPerPage;
}

quint32 Ui_SignalConfig::OutputOfRow(int row) const
{
    return quint32(row) + outputPage * outputsPerPage;
}

// The input type and the input's output format are fixed on this model: nothing to send.
void Ui_SignalConfig::SLT_I_InputType(int index)
{
    Q_UNUSED(index)
    SenderRow(InputTypePrefix.size());
}

void Ui_SignalConfig::SLT_I_OutputFormat(int index)
{
    Q_UNUSED(index)
    SenderRow(InputOutputFormatPrefix.size());
}

void Ui_SignalConfig::SLT_I_AudioSelect(int index)
{
    const int row = SenderRow(AudioSelectPrefix.size());
    if (row < 0 || index < 0)
        return;
    CmdSetInAudio(InputOfRow(row), quint32(index));
    emit SGL_UpdateEmit();
}

void Ui_SignalConfig::SLT_I_Read(bool checked)
{
    Q_UNUSED(checked)
    const int row = SenderRow(InputReadPrefix.size());
    if (row < 0)
        return;
    CmdGetInInfo(InputOfRow(row));
    emit SGL_UpdateEmit();
}

void Ui_SignalConfig::SLT_I_Up(bool checked)
{
    Q_UNUSED(checked)
    if (inputPage == 0)
        return;
    --inputPage;
    PageRefresh(true, false);
}

void Ui_SignalConfig::SLT_I_Down(bool checked)
{
    Q_UNUSED(checked)
    if (DeviceState.inputCount <= PortsPerPage || inputPage + 1 >= PageCount(DeviceState.inputCount))
        return;
    ++inputPage;
    PageRefresh(true, false);
}

void Ui_SignalConfig::SLT_O_OutputType(int index)
{
    const int row = SenderRow(OutputTypePrefix.size());
    if (row < 0 || index < 0)
        return;
    CmdSetOutHdcp(OutputOfRow(row), quint32(index));
    emit SGL_UpdateEmit();
}

void Ui_SignalConfig::SLT_O_OutputFormat(int index)
{
    const int row = SenderRow(OutputFormatPrefix.size());
    if (row < 0 || index < 0)
        return;
    CmdSetOutResolution(OutputOfRow(row), quint32(index));
    emit SGL_UpdateEmit();
}

void Ui_SignalConfig::SLT_O_Rotate(int index)
{
    const int row = SenderRow(RotatePrefix.size());
    if (row < 0 || index < 0)
        return;
    CmdSetOutRotation(OutputOfRow(row), quint32(index));
    emit SGL_UpdateEmit();
}

// The box's own state, not the signal's argument, decides: ON when ticked, OFF when not.
void Ui_SignalConfig::SLT_O_AudioMute(bool checked)
{
    Q_UNUSED(checked)
    const int row = SenderRow(AudioMutePrefix.size());
    const auto *box = qobject_cast<const QCheckBox *>(sender());
    if (row < 0 || !box)
        return;
    CmdSetAudioMute(OutputOfRow(row), box->isChecked() ? 0 : 1);
    emit SGL_UpdateEmit();
}

void Ui_SignalConfig::SLT_O_Freeze(bool checked)
{
    Q_UNUSED(checked)
    const int row = SenderRow(FreezePrefix.size());
    const auto *box = qobject_cast<const QCheckBox *>(sender());
    if (row < 0 || !box)
        return;
    CmdSetFreeze(OutputOfRow(row), box->isChecked() ? 0 : 1);
    emit SGL_UpdateEmit();
}

void Ui_SignalConfig::SLT_O_Read(bool checked)
{
    Q_UNUSED(checked)
    const int row = SenderRow(OutputReadPrefix.size());
    if (row < 0)
        return;
    CmdGetOutInfo(OutputOfRow(row));
    emit SGL_UpdateEmit();
}

void Ui_SignalConfig::SLT_O_Up(bool checked)
{
    Q_UNUSED(checked)
    if (outputPage == 0)
        return;
    --outputPage;
    PageRefresh(false, true);
}

void Ui_SignalConfig::SLT_O_Down(bool checked)
{
    Q_UNUSED(checked)
    if (DeviceState.outputCount <= PortsPerPage || outputPage + 1 >= PageCount(DeviceState.outputCount))
        return;
    ++outputPage;
    PageRefresh(false, true);
}

void Ui_SignalConfig::SLT_BTN_ReadAllInput(bool checked)
{
    Q_UNUSED(checked)
    for (quint32 input = 0; input < DeviceState.inputCount && input < MaxPorts; ++input) {
        CmdGetInInfo(input);
        emit SGL_UpdateEmit();
    }
}

void Ui_SignalConfig::SLT_BTN_ReadAllOutput(bool checked)
{
    Q_UNUSED(checked)
    for (quint32 output = 0; output < DeviceState.outputCount && output < MaxPorts; ++output) {
        CmdGetOutInfo(output);
        emit SGL_UpdateEmit();
    }
}
