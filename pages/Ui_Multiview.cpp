#include "pages/Ui_Multiview.h"

#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/MultiviewVocabulary.h"
#include "protocol/RequestTracker.h"
#include "protocol/ValueWords.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "shell/MyComboBox.h"
#include "shell/NameElision.h"
#include "shell/PngResave.h"

#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

namespace {

using Multiview::MaxLayouts;
using Multiview::ModeCount;
using Multiview::ModePbp;
using Multiview::ModePip;
using Multiview::ModeSingle;
using Multiview::PresenterLayout;
constexpr int MaxUserWindowValue = 9999;

constexpr int Gap = 4;
constexpr int RowHeight = 26;
constexpr int RowPitch = RowHeight + Gap;
constexpr int LabelWidth = 150;
constexpr int ComboWidth = 120;
constexpr int ModeButtonWidth = 150;
constexpr int UserHeadingWidth = 288;
constexpr int UserLabelWidth = 84;
constexpr int UserEditWidth = 60;
constexpr int UserButtonWidth = 100;
constexpr int CornerWidth = 130;
constexpr int SourceLabelWidth = 100;
constexpr int SourceLabelHeight = 38;
constexpr int NameEditWidth = 160;
const QRect ModeFrameSize(0, 0, 928, 168);
const QRect WindowSourceFrameSize(0, 0, 554, 196);
const QRect AudioFrameSize(0, 0, 312, 94);
const QString WindowButtonPrefix = QStringLiteral("button");
// An index no list has: the combo shows no choice.
constexpr quint32 NoItem = 0xFFFFFFFFu;

int RightOf(const QWidget *widget, int gap = Gap)
{
    return widget->x() + widget->width() + gap;
}

int BelowOf(const QWidget *widget, int gap = Gap)
{
    return widget->y() + widget->height() + gap;
}

QFrame *NewBoxFrame(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

QLabel *NewLabel(QWidget *parent, const QRect &geometry, Qt::Alignment alignment = Qt::AlignCenter)
{
    auto *label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    return label;
}

// Combos that send on activated: setting them from a reply never sends.
MyComboBox *NewCombo(QWidget *parent, const QRect &geometry)
{
    auto *combo = new MyComboBox(parent);
    combo->UseListViewWhenOpened();
    combo->setGeometry(geometry);
    return combo;
}

void FillCombo(MyComboBox *combo, const QString *texts, int count)
{
    const int keep = combo->currentIndex();
    combo->clear();
    for (int i = 0; i < count; ++i)
        combo->addItem(texts[i]);
    combo->setCurrentIndex(keep < count ? keep : -1);
}

// The list only: which layout is chosen comes from a reply.
void FillNumbers(MyComboBox *combo, quint32 count)
{
    combo->clear();
    for (quint32 n = 1; n <= count; ++n)
        combo->addItem(QString::number(n));
    combo->setCurrentIndex(-1);
}

// Selects an item from a reply; an index the list does not have clears the choice.
void SelectItem(MyComboBox *combo, quint32 index)
{
    combo->setCurrentIndex(index < quint32(combo->count()) ? int(index) : -1);
}

void PlaceRow(QLabel *label, MyComboBox *combo, int y)
{
    label->move(Gap, y);
    combo->move(RightOf(label), y);
}

void ShowRow(QLabel *label, MyComboBox *combo, bool visible)
{
    label->setVisible(visible);
    combo->setVisible(visible);
}

using Multiview::HasSplitLayout;

bool UserWindowApplies(const MultiviewState &state)
{
    return Multiview::HasUserWindow(state);
}

quint32 ReadUnsigned(const QLineEdit *edit)
{
    return edit->text().toUInt();
}

} // namespace

Ui_Multiview::Ui_Multiview(QWidget *parent)
    : QWidget(parent)
{
    CreateFixedWidgets();
    Retranslate(true, false);
    // No mode is known before the device reports one, so no settings row is shown.
    ShowSettingsRowsFor(ModeSingle);
    MakeConnections();
    auto *validator = new QIntValidator(0, MaxUserWindowValue, this);
    for (QLineEdit *edit : qAsConst(userWindowEdits))
        edit->setValidator(validator);
    SetTabOrder();
}

// Tab follows the page from top to bottom: output, mode, its settings, the window sources,
// the audio and no-signal settings.
void Ui_Multiview::SetTabOrder()
{
    QList<QWidget *> order { outputComboBox };
    for (QPushButton *button : qAsConst(modeButtons))
        order << button;
    order << aspectComboBox << layoutComboBox << positionComboBox << sizeComboBox;
    for (QLineEdit *edit : qAsConst(userWindowEdits))
        order << edit;
    order << userWindowReadButton << userWindowWriteButton;
    for (QPushButton *button : qAsConst(windowSourceButtons))
        order << button;
    order << sourceNameEdit << audioSourceComboBox << vkaComboBox << itcComboBox;
    for (int k = 0; k + 1 < order.size(); ++k)
        setTabOrder(order.at(k), order.at(k + 1));
}

void Ui_Multiview::CreateFixedWidgets()
{
    outputLabel = NewLabel(this, QRect(Gap, 10, 120, RowHeight));
    outputComboBox = NewCombo(this, QRect(RightOf(outputLabel), 10, 80, RowHeight));
    CreateModeFrame();
    CreateWindowSourceFrame();
    CreateAudioFrame();
}

void Ui_Multiview::CreateModeFrame()
{
    modeFrame = NewBoxFrame(this);
    modeFrame->setGeometry(Gap, BelowOf(outputLabel), ModeFrameSize.width(), ModeFrameSize.height());
    multiviewLabel = NewLabel(modeFrame, QRect(Gap, Gap, LabelWidth, RowHeight));
    int x = RightOf(multiviewLabel);
    for (int mode = 0; mode < int(ModeCount); ++mode) {
        auto *button = new QPushButton(modeFrame);
        button->setGeometry(x, Gap, ModeButtonWidth, RowHeight);
        x += ModeButtonWidth + Gap;
        modeButtons.append(button);
    }
    const QRect labelRect(0, 0, LabelWidth, RowHeight);
    const QRect comboRect(0, 0, ComboWidth, RowHeight);
    aspectLabel = NewLabel(modeFrame, labelRect);
    aspectComboBox = NewCombo(modeFrame, comboRect);
    layoutLabel = NewLabel(modeFrame, labelRect);
    layoutComboBox = NewCombo(modeFrame, comboRect);
    positionLabel = NewLabel(modeFrame, labelRect);
    positionComboBox = NewCombo(modeFrame, comboRect);
    sizeLabel = NewLabel(modeFrame, labelRect);
    sizeComboBox = NewCombo(modeFrame, comboRect);
    const int firstRow = BelowOf(multiviewLabel);
    PlaceRow(aspectLabel, aspectComboBox, firstRow);
    PlaceRow(layoutLabel, layoutComboBox, firstRow + RowPitch);
    PlaceRow(positionLabel, positionComboBox, firstRow);
    PlaceRow(sizeLabel, sizeComboBox, firstRow + RowPitch);
    CreateUserWindowBlock();

    // Under the 3xWIN button, clear of the settings rows and the user window block.
    const QPushButton *anchor = modeButtons.at(3);
    pictureFrame = new QFrame(modeFrame);
    pictureFrame->setObjectName(QStringLiteral("MultiviewPicture"));
    pictureFrame->setFrameShape(QFrame::Box);
    pictureFrame->setGeometry(anchor->x(), BelowOf(anchor, 20), 202, 114);
    pictureLabel = new QLabel(pictureFrame);
    pictureLabel->setGeometry(2, 2, 200, 112);
    pictureLabel->setScaledContents(true);
}

void Ui_Multiview::CreateUserWindowBlock()
{
    const int x = RightOf(aspectComboBox, 20);
    const int y = aspectComboBox->y();
    userWindowHeading = NewLabel(modeFrame, QRect(x, y, UserHeadingWidth, RowHeight), Qt::AlignLeft | Qt::AlignVCenter);
    // Two rows of two fields: H Start and V Start, then H Size and V Size.
    for (int field = 0; field < 4; ++field) {
        const int left = x + (field % 2) * (UserLabelWidth + Gap + UserEditWidth + Gap);
        const int top = y + RowPitch * (1 + field / 2);
        auto *label = NewLabel(modeFrame, QRect(left, top, UserLabelWidth, RowHeight), Qt::AlignRight | Qt::AlignVCenter);
        auto *edit = new QLineEdit(modeFrame);
        edit->setGeometry(RightOf(label), top, UserEditWidth, RowHeight);
        userWindowLabels.append(label);
        userWindowEdits.append(edit);
    }
    userWindowReadButton = new QPushButton(modeFrame);
    userWindowReadButton->setGeometry(x, y + 3 * RowPitch, UserButtonWidth, RowHeight);
    userWindowWriteButton = new QPushButton(modeFrame);
    userWindowWriteButton->setGeometry(RightOf(userWindowReadButton), y + 3 * RowPitch, UserButtonWidth, RowHeight);
}

void Ui_Multiview::CreateWindowSourceFrame()
{
    windowSourceFrame = NewBoxFrame(this);
    windowSourceFrame->setGeometry(
        Gap, BelowOf(modeFrame), WindowSourceFrameSize.width(), WindowSourceFrameSize.height());
    sourceNameEdit = new QLineEdit(windowSourceFrame);
    sourceNameEdit->resize(NameEditWidth, RowHeight);
    sourceNameEdit->hide();
}

void Ui_Multiview::CreateAudioFrame()
{
    audioFrame = NewBoxFrame(this);
    audioFrame->setGeometry(Gap, BelowOf(windowSourceFrame), AudioFrameSize.width(), AudioFrameSize.height());
    const QRect wide(0, 0, LabelWidth, RowHeight);
    audioSourceLabel = NewLabel(audioFrame, wide);
    audioSourceComboBox = NewCombo(audioFrame, wide);
    vkaLabel = NewLabel(audioFrame, wide);
    vkaComboBox = NewCombo(audioFrame, wide);
    itcLabel = NewLabel(audioFrame, wide);
    itcComboBox = NewCombo(audioFrame, wide);
    PlaceRow(audioSourceLabel, audioSourceComboBox, Gap);
    PlaceRow(vkaLabel, vkaComboBox, Gap + RowPitch);
    PlaceRow(itcLabel, itcComboBox, Gap + 2 * RowPitch);
}

void Ui_Multiview::CreateGrid()
{
    cornerLabel = NewLabel(windowSourceFrame, QRect(Gap, 34, CornerWidth, SourceLabelHeight));
    int x = RightOf(cornerLabel);
    for (int source = 0; source < SourceCount; ++source) {
        auto *label = NewLabel(windowSourceFrame, QRect(x, cornerLabel->y(), SourceLabelWidth, SourceLabelHeight));
        label->setWordWrap(true);
        label->installEventFilter(this);
        x += SourceLabelWidth + Gap;
        sourceLabels.append(label);
    }
    int y = BelowOf(cornerLabel);
    for (int window = 0; window < WindowCount; ++window) {
        windowLabels.append(NewLabel(windowSourceFrame, QRect(Gap, y, CornerWidth, RowHeight)));
        y += RowPitch;
    }
    for (int k = 0; k < WindowCount * SourceCount; ++k) {
        const QLabel *source = sourceLabels.at(k % SourceCount);
        auto *button = new QPushButton(windowSourceFrame);
        button->setObjectName(WindowButtonPrefix + QString::number(k));
        button->setGeometry(source->x(), BelowOf(source) + RowPitch * (k / SourceCount), SourceLabelWidth, RowHeight);
        windowSourceButtons.append(button);
    }
}

void Ui_Multiview::MakeConnections()
{
    connect(sourceNameEdit, &QLineEdit::returnPressed, this, &Ui_Multiview::SLT_ModifySourceName);
    for (QPushButton *button : qAsConst(windowSourceButtons))
        connect(button, &QPushButton::clicked, this, &Ui_Multiview::SLT_BTN_WindowSignal);
    connect(modeButtons.at(0), &QPushButton::clicked, this, &Ui_Multiview::SLT_WindowMode_Single);
    connect(modeButtons.at(1), &QPushButton::clicked, this, &Ui_Multiview::SLT_WindowMode_PIP);
    connect(modeButtons.at(2), &QPushButton::clicked, this, &Ui_Multiview::SLT_WindowMode_PBP);
    connect(modeButtons.at(3), &QPushButton::clicked, this, &Ui_Multiview::SLT_WindowMode_3xWIN);
    connect(modeButtons.at(4), &QPushButton::clicked, this, &Ui_Multiview::SLT_WindowMode_4xWIN);
    const auto activated = QOverload<int>::of(&QComboBox::activated);
    connect(outputComboBox, activated, this, &Ui_Multiview::SLT_SetCurOutput);
    connect(aspectComboBox, activated, this, &Ui_Multiview::SLT_SetAspect);
    connect(layoutComboBox, activated, this, &Ui_Multiview::SLT_SetMode);
    connect(positionComboBox, activated, this, &Ui_Multiview::SLT_SetPosition);
    connect(sizeComboBox, activated, this, &Ui_Multiview::SLT_SetSize);
    connect(userWindowReadButton, &QPushButton::clicked, this, &Ui_Multiview::SLT_ReadCaptureDisplayInfo);
    connect(userWindowWriteButton, &QPushButton::clicked, this, &Ui_Multiview::SLT_SetCaptureDisplayInfo);
    connect(audioSourceComboBox, activated, this, &Ui_Multiview::SLT_SetAudioSource);
    connect(vkaComboBox, activated, this, &Ui_Multiview::SLT_SetVKA);
    connect(itcComboBox, activated, this, &Ui_Multiview::SLT_SetITC);
}

// ---- Texts ---------------------------------------------------------------------------------

void Ui_Multiview::Retranslate(bool create, bool noRefresh)
{
    if (create)
        CreateGrid();
    SetTexts();
    RefillFixedCombos();
    RefillLayoutCombo(create);
    SetUserWindowHeading();
    // A language switch must not hide a user window the device is using.
    SetUserWindowBlockVisible(!create && UserWindowApplies(SelectedState()));
    if (!noRefresh)
        Refresh();
    // New item texts must not bring back a choice the device never confirmed.
    if (!create && !DeviceState.modelUnconfirmed)
        ShowConfirmedState();
}

void Ui_Multiview::SetTexts()
{
    outputLabel->setText(Slabel_OutputSelect);
    multiviewLabel->setText(Slabel_Multiview);
    const QString modeTexts[] = { SpushButton_Single, SpushButton_PIP, SpushButton_PBP, SpushButton_3xWIN,
        SpushButton_4xWIN };
    for (int mode = 0; mode < modeButtons.size(); ++mode)
        modeButtons.at(mode)->setText(modeTexts[mode]);
    aspectLabel->setText(Slabel_Aspect);
    layoutLabel->setText(Slabel_Mode);
    positionLabel->setText(Slabel_Position);
    sizeLabel->setText(Slabel_Size);
    const QString fieldTexts[] = { Slabel_HStart, Slabel_VStart, Slabel_HSize, Slabel_VSize };
    for (int field = 0; field < userWindowLabels.size(); ++field)
        userWindowLabels.at(field)->setText(fieldTexts[field]);
    userWindowReadButton->setText(S_ReadWrite[0]);
    userWindowWriteButton->setText(S_ReadWrite[1]);
    cornerLabel->setText(Slabel_WINDOW_SOURCE);
    ShowSourceNames();
    for (int window = 0; window < windowLabels.size(); ++window)
        windowLabels.at(window)->setText(Slabel_Windows_Name[window]);
    audioSourceLabel->setText(Slabel_AudioSource);
    vkaLabel->setText(Slabel_VKA);
    itcLabel->setText(Slabel_ITC);
}

void Ui_Multiview::ShowSourceNames()
{
    for (int source = 0; source < sourceLabels.size(); ++source)
        ShowElidedName(sourceLabels.at(source), S_InputName[source], STIPS_DoubleChickModifyName);
}

void Ui_Multiview::RefillFixedCombos()
{
    FillCombo(aspectComboBox, ScomboBox_Aspect, 2);
    FillCombo(positionComboBox, ScomboBox_Position, 5);
    FillCombo(sizeComboBox, ScomboBox_Size, 4);
    FillCombo(audioSourceComboBox, ScomboBox_AudioSource, 5);
    FillCombo(vkaComboBox, ScomboBox_VKA, 3);
    FillCombo(itcComboBox, S_OnOff, 2);
}

void Ui_Multiview::RefillLayoutCombo(bool create)
{
    if (create) {
        FillNumbers(layoutComboBox, MaxLayouts);
        return;
    }
    const MultiviewState &state = SelectedState();
    const int keep = layoutComboBox->currentIndex();
    layoutComboBox->clear();
    if (state.maxMode >= 1 && state.maxMode <= MaxLayouts) {
        FillNumbers(layoutComboBox, state.maxMode);
        SelectItem(layoutComboBox, quint32(keep));
    }
}

void Ui_Multiview::SetUserWindowHeading()
{
    const MultiviewState &state = SelectedState();
    const bool presenter = state.mode == ModePbp && state.layout == PresenterLayout;
    userWindowHeading->setText(presenter ? Slabel_CaptureDisplay_1 : Slabel_CaptureDisplay_2);
}

void Ui_Multiview::SetUserWindowBlockVisible(bool visible)
{
    userWindowHeading->setVisible(visible);
    for (QLabel *label : qAsConst(userWindowLabels))
        label->setVisible(visible);
    for (QLineEdit *edit : qAsConst(userWindowEdits))
        edit->setVisible(visible);
    userWindowReadButton->setVisible(visible);
    userWindowWriteButton->setVisible(visible);
}

// ---- What the device reported --------------------------------------------------------------

MultiviewState &Ui_Multiview::SelectedState() const
{
    return MultiviewOf(selectedOutput);
}

// After identification the list starts again at the first output, and so does the page, so
// that the number shown always names the output whose state is shown.
void Ui_Multiview::Rebuild()
{
    outputComboBox->clear();
    for (quint32 output = 1; output <= DeviceState.outputCount && output <= MaxPorts; ++output)
        outputComboBox->addItem(QString::number(output));
    outputComboBox->setCurrentIndex(outputComboBox->count() > 0 ? 0 : -1);
    selectedOutput = 0;
}

void Ui_Multiview::Refresh()
{
    const quint32 mode = SelectedState().mode;
    const int windows = mode < ModeCount ? WindowCountOfMode[mode] : 0;
    const int sources = int(qMin(DeviceState.inputCount, quint32(SourceCount)));
    for (int window = 0; window < WindowCount; ++window)
        windowLabels.at(window)->setVisible(window < windows);
    for (int source = 0; source < SourceCount; ++source)
        sourceLabels.at(source)->setVisible(source < sources);
    for (int k = 0; k < windowSourceButtons.size(); ++k)
        windowSourceButtons.at(k)->setVisible(k / SourceCount < windows && k % SourceCount < sources);
}

void Ui_Multiview::QueueStateReads()
{
    CmdGetMultiviewSync(selectedOutput);
    CmdGetOutAudioSource(selectedOutput);
    CmdGetVka(selectedOutput);
    CmdGetItc(selectedOutput);
}

void Ui_Multiview::ReadState()
{
    QueueStateReads();
    emit SGL_UpdateEmit();
}

void Ui_Multiview::ApplyModeView(quint32 mode)
{
    for (int button = 0; button < modeButtons.size(); ++button)
        modeButtons.at(button)->setFlat(quint32(button) == mode);
    Refresh();
    ShowSettingsRowsFor(mode);
}

void Ui_Multiview::ShowSettingsRowsFor(quint32 mode)
{
    const bool pip = mode == ModePip;
    const bool split = HasSplitLayout(mode);
    ShowRow(positionLabel, positionComboBox, pip);
    ShowRow(sizeLabel, sizeComboBox, pip);
    ShowRow(aspectLabel, aspectComboBox, split);
    ShowRow(layoutLabel, layoutComboBox, split);
}

void Ui_Multiview::ShowMode(quint32 output, quint32 mode)
{
    if (!IsShown(output) || mode >= ModeCount)
        return;
    ApplyModeView(mode);
    CmdGetMultiviewSync(output);
    RefreshPicture();
    emit SGL_UpdateEmit();
}

void Ui_Multiview::ShowSyncState(quint32 output)
{
    if (!IsShown(output))
        return;
    // A sync may have changed the user window under the same layout: read it again.
    userWindowReadFor.clear();
    ShowModeSettings();
}

void Ui_Multiview::ShowConfirmedState()
{
    const MultiviewState &state = SelectedState();
    if (state.confirmed & ConfirmedMode)
        ShowModeSettings();
    auto confirmedOrNone = [&state](quint32 bit, quint32 value) { return state.confirmed & bit ? value : NoItem; };
    SelectItem(audioSourceComboBox, confirmedOrNone(ConfirmedAudioSource, state.audioSource));
    SelectItem(vkaComboBox, confirmedOrNone(ConfirmedVka, state.vka));
    SelectItem(itcComboBox, confirmedOrNone(ConfirmedItc, state.itc));
}

namespace {

// Mode, layout, aspect, PIP and window commands: together they make the mode settings view
// (a USER position moves the size with it, a mode change the rows shown).
bool ConcernsModeSettings(const DeviceRequest &request)
{
    for (const char *keyword : { "MULTIVIEW", "PIP", "PBP", "3xWIN", "4xWIN", "PBP-PRESENTER", "WINDOW1", "WINDOW2",
             "WINDOW3", "WINDOW4" }) {
        if (request.concerns(keyword))
            return true;
    }
    return false;
}

} // namespace

void Ui_Multiview::ShowConfirmed(const DeviceRequest &request)
{
    if (request.output() != int(selectedOutput))
        return;
    const MultiviewState &state = SelectedState();
    auto confirmedOrNone = [&state](quint32 bit, quint32 value) { return state.confirmed & bit ? value : NoItem; };
    if (request.concerns("VKA"))
        SelectItem(vkaComboBox, confirmedOrNone(ConfirmedVka, state.vka));
    else if (request.concerns("ITC"))
        SelectItem(itcComboBox, confirmedOrNone(ConfirmedItc, state.itc));
    else if (request.concerns("AUDIO SOURCE"))
        SelectItem(audioSourceComboBox, confirmedOrNone(ConfirmedAudioSource, state.audioSource));
    else if (ConcernsModeSettings(request) && (state.confirmed & ConfirmedMode))
        ShowModeSettings();
}

void Ui_Multiview::ShowModeSettings()
{
    const quint32 output = selectedOutput;
    const MultiviewState &state = SelectedState();
    if (state.mode >= ModeCount)
        return;
    ApplyModeView(state.mode);
    if (state.mode == ModePip) {
        SelectItem(positionComboBox, state.pipPos);
        SelectItem(sizeComboBox, state.pipSize);
    } else if (HasSplitLayout(state.mode)) {
        SelectItem(aspectComboBox, state.aspect);
        layoutComboBox->clear();
        if (state.maxMode >= 1 && state.maxMode <= MaxLayouts)
            FillNumbers(layoutComboBox, state.maxMode);
        SelectItem(layoutComboBox, state.layout);
    }
    for (quint32 window = 0; window < WindowCountOfMode[state.mode]; ++window)
        ShowWindowInput(output, window, state.windowInput[window]);
    RefreshPicture();
}

void Ui_Multiview::ShowWindowInput(quint32 output, quint32 window, quint32 input)
{
    if (!IsShown(output) || window >= quint32(WindowCount))
        return;
    for (int source = 0; source < SourceCount; ++source)
        windowSourceButtons.at(int(window) * SourceCount + source)->setFlat(quint32(source) == input);
}

void Ui_Multiview::FillLayoutList(quint32 output, quint32 count)
{
    if (!IsShown(output))
        return;
    layoutComboBox->clear();
    if (count >= 1 && count <= MaxLayouts)
        FillNumbers(layoutComboBox, count);
}

void Ui_Multiview::ShowUserWindow(quint32 output, quint32 hStart, quint32 vStart, quint32 hSize, quint32 vSize)
{
    if (!IsShown(output))
        return;
    const quint32 values[] = { hStart, vStart, hSize, vSize };
    for (int field = 0; field < userWindowEdits.size(); ++field)
        userWindowEdits.at(field)->setText(QString::number(values[field]));
    SetUserWindowEditable(true);
}

void Ui_Multiview::SetUserWindowEditable(bool editable)
{
    for (QLineEdit *edit : qAsConst(userWindowEdits))
        edit->setEnabled(editable);
    userWindowWriteButton->setEnabled(editable);
}

// The block stands for one output's window in one layout; numbers of another are never shown.
// Each time it comes to stand for a window, it is emptied and that window is read.
void Ui_Multiview::ReadUserWindowIfNew()
{
    const MultiviewState &state = SelectedState();
    const QString window = QStringLiteral("%1 %2").arg(selectedOutput).arg(Multiview::UserWindowKeyword(state));
    if (window == userWindowReadFor)
        return;
    userWindowReadFor = window;
    for (QLineEdit *edit : qAsConst(userWindowEdits))
        edit->clear();
    SetUserWindowEditable(false);
    CmdGetUserWindow(selectedOutput);
    emit SGL_UpdateEmit();
}

void Ui_Multiview::ShowPipPos(quint32 output, quint32 position)
{
    if (!IsShown(output))
        return;
    SelectItem(positionComboBox, position);
    RefreshPicture();
}

void Ui_Multiview::ShowPipSize(quint32 output, quint32 size)
{
    if (!IsShown(output))
        return;
    SelectItem(sizeComboBox, size);
    RefreshPicture();
}

void Ui_Multiview::ShowAspect(quint32 output, quint32 aspect)
{
    if (!IsShown(output))
        return;
    SelectItem(aspectComboBox, aspect);
    RefreshPicture();
}

void Ui_Multiview::ShowLayout(quint32 output, quint32 layout)
{
    if (!IsShown(output))
        return;
    SelectItem(layoutComboBox, layout);
    RefreshPicture();
}

void Ui_Multiview::ShowAudioSource(quint32 output, quint32 source)
{
    if (IsShown(output))
        SelectItem(audioSourceComboBox, source);
}

void Ui_Multiview::ShowVka(quint32 output, quint32 vka)
{
    if (IsShown(output))
        SelectItem(vkaComboBox, vka);
}

void Ui_Multiview::ShowItc(quint32 output, quint32 itc)
{
    if (IsShown(output))
        SelectItem(itcComboBox, itc);
}

// ---- Preview picture ----------------------------------------------------------------------

QString Ui_Multiview::PictureName(const MultiviewState &state)
{
    if (state.mode == ModeSingle)
        return QStringLiteral("SINGLE");
    if (state.mode == ModePip)
        return QStringLiteral("PIP_%1_%2").arg(PipPosWords.text(state.pipPos), PipSizeWords.text(state.pipSize));
    const QString layout = state.layout < state.maxMode ? QString::number(state.layout + 1) : QString();
    return QStringLiteral("%1_%2_%3")
        .arg(MultiviewModeWords.text(state.mode), layout,
            state.aspect == 0 ? QStringLiteral("FULL") : QStringLiteral("169"));
}

QString Ui_Multiview::PicturePath(const MultiviewState &state)
{
    return ConfigFile_AppDir() + QStringLiteral("/APP/Image/MultiView/") + PictureName(state)
        + QStringLiteral(".png");
}

void Ui_Multiview::RefreshPicture()
{
    const MultiviewState &state = SelectedState();
    const QString path = PicturePath(state);
    ResavePngImage(path);
    if (QFileInfo::exists(path)) {
        const QPixmap picture(path);
        if (!picture.isNull()) {
            pictureLabel->setPixmap(picture);
            pictureLabel->setScaledContents(true);
            shownPicturePath = path;
        }
    }
    const bool userWindow = UserWindowApplies(state);
    if (userWindow)
        SetUserWindowHeading();
    SetUserWindowBlockVisible(userWindow);
    if (userWindow)
        ReadUserWindowIfNew();
    else
        userWindowReadFor.clear();
}

// ---- Operator actions ---------------------------------------------------------------------

bool Ui_Multiview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        const int source = sourceLabels.indexOf(qobject_cast<QLabel *>(watched));
        if (source >= 0) {
            const QLabel *label = sourceLabels.at(source);
            sourceNameEdit->setGeometry(label->x(), label->y() - RowHeight, NameEditWidth, RowHeight);
            sourceNameEdit->setToolTip(STIPS_EnterKeyFinishInputAndClose);
            sourceNameEdit->clear();
            sourceNameEdit->show();
            sourceNameEdit->raise();
            sourceNameEdit->setFocus();
            renameTarget = quint32(source);
        }
    }
    return QWidget::eventFilter(watched, event);
}

// The names live in the language texts; no command is sent.
void Ui_Multiview::SLT_ModifySourceName()
{
    const QString text = sourceNameEdit->text();
    if (!text.isEmpty() && renameTarget < quint32(SourceCount)) {
        S_InputName[renameTarget] = text;
        ShowElidedName(sourceLabels.at(int(renameTarget)), text, STIPS_DoubleChickModifyName);
    }
    renameTarget = 0;
    sourceNameEdit->hide();
    emit SGL_SyncInputSourceName();
}

void Ui_Multiview::SLT_BTN_WindowSignal(bool checked)
{
    Q_UNUSED(checked)
    const QObject *button = sender();
    if (!button)
        return;
    const quint32 k = button->objectName().mid(WindowButtonPrefix.size()).toUInt();
    CmdSetWindowInput(selectedOutput, k / SourceCount, k % SourceCount);
    emit SGL_UpdateEmit();
}

void Ui_Multiview::RequestMode(quint32 mode)
{
    CmdSetMultiviewMode(selectedOutput, mode);
    emit SGL_UpdateEmit();
}

void Ui_Multiview::SLT_WindowMode_Single(bool)
{
    RequestMode(0);
}

void Ui_Multiview::SLT_WindowMode_PIP(bool)
{
    RequestMode(1);
}

void Ui_Multiview::SLT_WindowMode_PBP(bool)
{
    RequestMode(2);
}

void Ui_Multiview::SLT_WindowMode_3xWIN(bool)
{
    RequestMode(3);
}

void Ui_Multiview::SLT_WindowMode_4xWIN(bool)
{
    RequestMode(4);
}

void Ui_Multiview::SLT_SetCurOutput(int index)
{
    if (index < 0)
        return;
    selectedOutput = quint32(index);
    outputComboBox->setCurrentIndex(index);
    userWindowReadFor.clear();
    ShowConfirmedState();
    QueueStateReads();
    emit SGL_UpdateEmit();
    emit SGL_UpdateEmit();
}

void Ui_Multiview::SLT_SetAspect(int index)
{
    if (index >= 0)
        CmdSetAspect(selectedOutput, quint32(index));
    emit SGL_UpdateEmit();
}

void Ui_Multiview::SLT_SetMode(int index)
{
    if (index >= 0)
        CmdSetLayout(selectedOutput, index + 1);
    emit SGL_UpdateEmit();
}

// The partner control shows what the device will take with the choice, while it is in flight;
// the state changes only with the device's reply, and a failure shows the state again.
void Ui_Multiview::CouplePositionToSize(int position)
{
    SelectItem(sizeComboBox, Multiview::PipSizeCoupledTo(quint32(position), SelectedState().pipSize));
}

void Ui_Multiview::CoupleSizeToPosition(int size)
{
    SelectItem(positionComboBox, Multiview::PipPosCoupledTo(quint32(size), SelectedState().pipPos));
}

void Ui_Multiview::SLT_SetPosition(int index)
{
    if (index >= 0) {
        CouplePositionToSize(index);
        CmdSetPipPos(selectedOutput, quint32(index));
    }
    emit SGL_UpdateEmit();
}

void Ui_Multiview::SLT_SetSize(int index)
{
    if (index >= 0) {
        CoupleSizeToPosition(index);
        CmdSetPipSize(selectedOutput, quint32(index));
    }
    emit SGL_UpdateEmit();
}

void Ui_Multiview::SLT_ReadCaptureDisplayInfo()
{
    CmdGetUserWindow(selectedOutput);
    emit SGL_UpdateEmit();
}

void Ui_Multiview::SLT_SetCaptureDisplayInfo()
{
    CmdSetUserWindow(selectedOutput, int(ReadUnsigned(userWindowEdits.at(0))), int(ReadUnsigned(userWindowEdits.at(1))),
        int(ReadUnsigned(userWindowEdits.at(2))), int(ReadUnsigned(userWindowEdits.at(3))));
    emit SGL_UpdateEmit();
}

void Ui_Multiview::SLT_SetAudioSource(int index)
{
    if (index >= 0)
        CmdSetOutAudioSource(selectedOutput, quint32(index));
    emit SGL_UpdateEmit();
}

void Ui_Multiview::SLT_SetVKA(int index)
{
    if (index >= 0)
        CmdSetVka(selectedOutput, quint32(index));
    emit SGL_UpdateEmit();
}

void Ui_Multiview::SLT_SetITC(int index)
{
    if (index >= 0)
        CmdSetItc(selectedOutput, quint32(index));
    emit SGL_UpdateEmit();
}
