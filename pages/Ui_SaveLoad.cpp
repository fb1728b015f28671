#include "pages/Ui_SaveLoad.h"

#include "protocol/CommandSet.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"
#include "shell/MessageBoxes.h"
#include "shell/FrameGeometry.h"
#include "shell/MyComboBox.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace {

constexpr int FrameWidth = 656;
constexpr int FrameHeight = 64;
// Room for the 48-pixel title bar and the frame's edge below it.
constexpr int TitleBarAllowance = 49;
constexpr int Margin = 4;
constexpr int LabelWidth = 160;
constexpr int FieldWidth = 240;
constexpr int RowHeight = 26;

void PlaceRightOf(QWidget *widget, const QWidget *left, int width)
{
    widget->setGeometry(left->x() + left->width() + Margin, left->y(), width, RowHeight);
}

void PlaceBelow(QWidget *widget, const QWidget *above, int width)
{
    widget->setGeometry(above->x(), above->y() + above->height() + Margin, width, RowHeight);
}

} // namespace

Ui_SaveLoad::Ui_SaveLoad(QWidget *parent)
    : MyFramelessDialog(parent)
{
    CreateWidgets();
    PlaceWidgets();
    SetTexts();
    MakeConnections();

    setFixedSize(FrameWidth, FrameHeight + TitleBarAllowance);
    move(PositionForScreen(PrimaryScreenSize(), size()));
}

Ui_SaveLoad::~Ui_SaveLoad() = default;

QPoint Ui_SaveLoad::PositionForScreen(const QSize &screenSize, const QSize &windowSize)
{
    return CentredInCappedScreen(screenSize, windowSize);
}

void Ui_SaveLoad::CreateWidgets()
{
    contentWidget = new QWidget(this);
    SetContentWidget(contentWidget);
    frame = new QFrame(contentWidget);
    saveLabel = new QLabel(frame);
    saveComboBox = new MyComboBox(frame);
    loadLabel = new QLabel(frame);
    loadComboBox = new MyComboBox(frame);
    nameLabel = new QLabel(frame);
    nameEdit = new QLineEdit(frame);
}

void Ui_SaveLoad::PlaceWidgets()
{
    frame->setGeometry(0, 0, FrameWidth, FrameHeight);
    saveLabel->setGeometry(Margin, Margin, LabelWidth, RowHeight);
    PlaceRightOf(saveComboBox, saveLabel, FieldWidth);
    PlaceBelow(loadLabel, saveLabel, LabelWidth);
    PlaceRightOf(loadComboBox, loadLabel, FieldWidth);
    PlaceRightOf(nameLabel, saveComboBox, FieldWidth);
    PlaceBelow(nameEdit, nameLabel, FieldWidth);
}

// Texts and slot names come from the language texts each time a dialog opens, so names
// given earlier in the run appear.
void Ui_SaveLoad::SetTexts()
{
    SetTitleText(Ui_SaveLoad_AppName);
    SetTitleIcon(ConfigFile_AppDir() + QStringLiteral("/APP/Image/mainui_logo.png"));
    for (QLabel *label : { saveLabel, loadLabel, nameLabel })
        label->setAlignment(Qt::AlignCenter);
    saveLabel->setText(Slabel_SaveLayout);
    loadLabel->setText(Slabel_LoadLayout);
    nameLabel->setText(Slabel_LayoutName);
    for (MyComboBox *comboBox : { saveComboBox, loadComboBox }) {
        comboBox->clear();
        for (int i = 0; i < SceneCount; ++i)
            comboBox->addItem(ScomboBox_Layout[i]);
    }
    nameEdit->clear();
}

void Ui_SaveLoad::MakeConnections()
{
    // activated, not currentIndexChanged: choosing the slot that is already shown must
    // still ask, and filling the lists must never send.
    connect(saveComboBox, QOverload<int>::of(&QComboBox::activated), this, &Ui_SaveLoad::SLT_SetSaveLayout);
    connect(loadComboBox, QOverload<int>::of(&QComboBox::activated), this, &Ui_SaveLoad::SLT_SetLoadLayout);
}

// The dialog may outlive the page that opened it; it stays open until the operator closes it.
void Ui_SaveLoad::SLT_CloseMyDialog() { }

void Ui_SaveLoad::SLT_SetSaveLayout(int index)
{
    if (index < 0 || index >= SceneCount)
        return;
    if (!MessageBoxYesNo(SMSG_SaveMessage, this))
        return;
    const bool queued = CmdSaveScene(index + 1);
    emit SGL_UpdateEmit();
    // The name belongs to a scene the device stores: without a queued save (no link chosen)
    // the slot keeps its name and the typed one stays in the editor.
    if (queued)
        RenameSlot(index);
}

void Ui_SaveLoad::SLT_SetLoadLayout(int index)
{
    if (index < 0 || index >= SceneCount)
        return;
    if (!MessageBoxYesNo(SMSG_LoadMessage, this))
        return;
    if (beforeLoad && !beforeLoad(this))
        return;
    // The pages follow the device's replies to the re-read that the load reply starts.
    CmdLoadScene(index + 1);
    emit SGL_UpdateEmit();
}

// The typed name, if any, becomes the slot's name; it is written to the language file with
// the other texts.
void Ui_SaveLoad::RenameSlot(int index)
{
    const QString name = nameEdit->text();
    if (name.isEmpty())
        return;
    ScomboBox_Layout[index] = name;
    saveComboBox->setItemText(index, name);
    loadComboBox->setItemText(index, name);
    nameEdit->clear();
}
