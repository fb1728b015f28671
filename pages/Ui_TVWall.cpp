#include "pages/Ui_TVWall.h"

#include "pages/MyTableWidget.h"
#include "link/LinkMode.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "settings/LanguageTexts.h"
#include "shell/MessageBoxes.h"
#include "shell/MyComboBox.h"

#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegExpValidator>
#include <QVBoxLayout>

namespace {

constexpr int EdgeMaxLength = 3;
constexpr int ComboWidth = 80;
constexpr int EditWidth = 64;
constexpr int ButtonWidth = 90;
constexpr int Margin = 10;

void FillNumbers(MyComboBox *combo, quint32 count)
{
    combo->clear();
    for (quint32 n = 1; n <= count; ++n)
        combo->addItem(QString::number(n));
    combo->setCurrentIndex(0);
}

} // namespace

Ui_TVWall::Ui_TVWall(QWidget *parent)
    : QWidget(parent)
{
    auto *top = new QHBoxLayout();
    top->addWidget(buildConfigGroup());
    top->addWidget(buildBezelGroup());
    top->addStretch(1);

    displayLabel = new QLabel(this);
    grid = new MyTableWidget(this);
    grid->setMinimumSize(320, 180);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(Margin, Margin, Margin, Margin);
    page->addLayout(top);
    page->addWidget(displayLabel);
    page->addWidget(grid, 1);

    SLT_EnableBezel(false);
    connectGrid();
    setTexts();
    setTabOrderTopDown();
}

// Tab goes through the wall size with its Read and Write, the bezel edges, then the grid.
void Ui_TVWall::setTabOrderTopDown()
{
    QList<QWidget *> order { rowComboBox, columnComboBox, availableComboBox, readButton, writeButton };
    for (QLineEdit *edit : edgeEdits)
        order << edit;
    order << bezelWriteButton << grid;
    for (int k = 0; k + 1 < order.size(); ++k)
        setTabOrder(order.at(k), order.at(k + 1));
}

QGroupBox *Ui_TVWall::buildConfigGroup()
{
    configGroup = new QGroupBox(this);
    rowLabel = new QLabel(configGroup);
    columnLabel = new QLabel(configGroup);
    availableLabel = new QLabel(configGroup);
    rowComboBox = new MyComboBox(configGroup);
    columnComboBox = new MyComboBox(configGroup);
    availableComboBox = new MyComboBox(configGroup);
    availableComboBox->setEnabled(false);
    writeButton = new QPushButton(configGroup);
    readButton = new QPushButton(configGroup);
    for (MyComboBox *combo : { rowComboBox, columnComboBox, availableComboBox })
        combo->setMinimumWidth(ComboWidth);
    for (QPushButton *button : { writeButton, readButton })
        button->setMinimumWidth(ButtonWidth);

    auto *layout = new QGridLayout(configGroup);
    layout->addWidget(rowLabel, 0, 0);
    layout->addWidget(rowComboBox, 0, 1);
    layout->addWidget(columnLabel, 1, 0);
    layout->addWidget(columnComboBox, 1, 1);
    layout->addWidget(availableLabel, 2, 0);
    layout->addWidget(availableComboBox, 2, 1);
    layout->addWidget(readButton, 0, 2);
    layout->addWidget(writeButton, 1, 2);

    connect(rowComboBox, QOverload<int>::of(&QComboBox::activated), this, &Ui_TVWall::SLT_ModifyAvailableShow);
    connect(columnComboBox, QOverload<int>::of(&QComboBox::activated), this, &Ui_TVWall::SLT_ModifyAvailableShow);
    connect(writeButton, &QPushButton::clicked, this, &Ui_TVWall::SLT_SetTvWallInfo);
    connect(readButton, &QPushButton::clicked, this, &Ui_TVWall::SLT_ReadTvWallInfo);
    return configGroup;
}

QGroupBox *Ui_TVWall::buildBezelGroup()
{
    bezelGroup = new QGroupBox(this);
    auto *layout = new QGridLayout(bezelGroup);
    for (int k = 0; k < EdgeCount; ++k) {
        edgeLabels[k] = new QLabel(bezelGroup);
        edgeEdits[k] = new QLineEdit(bezelGroup);
        edgeEdits[k]->setValidator(new QRegExpValidator(QRegExp(QStringLiteral("[0-9]+$")), edgeEdits[k]));
        edgeEdits[k]->setMaxLength(EdgeMaxLength);
        edgeEdits[k]->setFixedWidth(EditWidth);
        // Left and right on the first row, up and bottom on the second.
        layout->addWidget(edgeLabels[k], k / 2, (k % 2) * 2);
        layout->addWidget(edgeEdits[k], k / 2, (k % 2) * 2 + 1);
    }
    bezelWriteButton = new QPushButton(bezelGroup);
    bezelWriteButton->setMinimumWidth(ButtonWidth);
    layout->addWidget(bezelWriteButton, 0, 4, 2, 1, Qt::AlignVCenter);
    connect(bezelWriteButton, &QPushButton::clicked, this, &Ui_TVWall::SLT_SetBezelInfo);
    return bezelGroup;
}

void Ui_TVWall::connectGrid()
{
    connect(grid, &MyTableWidget::SGL_UpdateEmit, this, &Ui_TVWall::SGL_UpdateEmit);
    connect(grid, &MyTableWidget::SGL_EnableBezel, this, &Ui_TVWall::SLT_EnableBezel);
    connect(this, &Ui_TVWall::SGL_UpdateContent_TvWall, grid, &MyTableWidget::SLT_UpdateContent_TvWall);
    connect(this, &Ui_TVWall::SGL_SetTvWall_Bezel, grid, &MyTableWidget::SLT_SetTvWall_Bezel);
    connect(&grid->editor(), &WallEditor::SGL_WallChanged, this, &Ui_TVWall::showGridSize);
}

void Ui_TVWall::setEdgeLabels()
{
    const QString *texts[EdgeCount] = { &Slabel_EdgeLeft, &Slabel_EdgeRight, &Slabel_EdgeUp, &Slabel_EdgeBottom };
    for (int k = 0; k < EdgeCount; ++k)
        edgeLabels[k]->setText(*texts[k]);
}

void Ui_TVWall::setTexts()
{
    configGroup->setTitle(SgroupBox_TvWallConfig);
    rowLabel->setText(Slabel_Row);
    columnLabel->setText(Slabel_Column);
    availableLabel->setText(Slabel_Available);
    writeButton->setText(S_ReadWrite[1]);
    readButton->setText(S_ReadWrite[0]);
    bezelGroup->setTitle(SgroupBox_BezelConfig);
    setEdgeLabels();
    bezelWriteButton->setText(S_ReadWrite[1]);
    displayLabel->setText(Slabel_TvWallDisplay);
}

void Ui_TVWall::Retranslate(bool textsOnly)
{
    setTexts();
    grid->RefreshCells();
    // The lists hold numbers only, so a change of language keeps them as they are.
    if (textsOnly)
        return;
    for (MyComboBox *combo : { rowComboBox, columnComboBox, availableComboBox })
        combo->clear();
    for (QLineEdit *edit : edgeEdits)
        edit->clear();
    Fill();
    showGridSize();
}

void Ui_TVWall::Fill()
{
    if (DeviceState.modelUnconfirmed)
        return;
    const quint32 outputs = DeviceState.outputCount;
    FillNumbers(rowComboBox, qMin(MaxSide, outputs));
    FillNumbers(columnComboBox, qMin(MaxSide, outputs));
    FillNumbers(availableComboBox, qMin(MaxAvailable, outputs));
    availableComboBox->setEnabled(false);
    setEdgeLabels();
}

void Ui_TVWall::ReadWall()
{
    SLT_ReadTvWallInfo(false);
}

void Ui_TVWall::SelectRowsCols(quint32 rows, quint32 columns)
{
    if (grid->editor().inFlight())
        return;
    showSize(rows, columns);
}

void Ui_TVWall::showGridSize()
{
    const WallEditor &editor = grid->editor();
    if (editor.rows() > 0 && editor.cols() > 0)
        showSize(editor.rows(), editor.cols());
}

void Ui_TVWall::showSize(quint32 rows, quint32 columns)
{
    if (rows >= 1 && rows <= DeviceState.outputCount)
        rowComboBox->setCurrentIndex(int(rows) - 1);
    if (columns >= 1 && columns <= DeviceState.outputCount)
        columnComboBox->setCurrentIndex(int(columns) - 1);
    SLT_ModifyAvailableShow(-1);
}

void Ui_TVWall::SLT_ModifyAvailableShow(int index)
{
    Q_UNUSED(index)
    const int outputs = availableComboBox->count();
    if (outputs <= 0)
        return;
    // Rows × columns never exceeds the number of outputs: the list the operator did not touch
    // keeps its value when it still fits, else it takes the largest that fits.
    MyComboBox *chosen = sender() == columnComboBox ? columnComboBox : rowComboBox;
    MyComboBox *other = chosen == rowComboBox ? columnComboBox : rowComboBox;
    const int chosenValue = qMax(1, chosen->currentIndex() + 1);
    if (chosenValue * (other->currentIndex() + 1) > outputs)
        other->setCurrentIndex(qMax(1, outputs / chosenValue) - 1);
    const int wanted = (rowComboBox->currentIndex() + 1) * (columnComboBox->currentIndex() + 1) - 1;
    availableComboBox->setCurrentIndex(qBound(0, wanted, outputs - 1));
    markFittingSizes();
}

void Ui_TVWall::markFittingSizes()
{
    const int outputs = availableComboBox->count();
    const auto mark = [outputs](MyComboBox *list, int otherValue) {
        for (int k = 0; k < list->count(); ++k) {
            const bool fits = (k + 1) * qMax(1, otherValue) <= outputs;
            list->setItemData(k, fits ? QVariant() : QVariant(QColor(Qt::gray)), Qt::ForegroundRole);
        }
    };
    mark(rowComboBox, columnComboBox->currentIndex() + 1);
    mark(columnComboBox, rowComboBox->currentIndex() + 1);
}

void Ui_TVWall::SLT_SetTvWallInfo(bool checked)
{
    Q_UNUSED(checked)
    const int rows = rowComboBox->currentIndex() + 1;
    const int columns = columnComboBox->currentIndex() + 1;
    if (rows < 1 || columns < 1)
        return;
    // Without a link nothing would reach the device; the wall stays as the device has it.
    if (LinkMode == LinkModeNone) {
        MessageBoxOk(SMSG_WallNotConnected, this);
        return;
    }
    grid->Rebuild(quint32(rows), quint32(columns), false);
}

void Ui_TVWall::SLT_LinkLost()
{
    grid->ShowDeviceWall();
}

void Ui_TVWall::SLT_ReadTvWallInfo(bool checked)
{
    Q_UNUSED(checked)
    CmdGetTvWallInfo();
    emit SGL_UpdateEmit();
}

void Ui_TVWall::SLT_SetBezelInfo(bool checked)
{
    Q_UNUSED(checked)
    unsigned edges[EdgeCount] = {};
    for (int k = 0; k < EdgeCount; ++k) {
        edges[k] = edgeEdits[k]->text().toUInt();
        if (edges[k] > MaxEdge) {
            edges[k] = MaxEdge;
            edgeEdits[k]->setText(QString::number(MaxEdge));
        }
    }
    emit SGL_SetTvWall_Bezel(edges[0], edges[1], edges[2], edges[3]);
}

void Ui_TVWall::SLT_EnableBezel(bool IsEnabled)
{
    for (QLineEdit *edit : edgeEdits)
        edit->setEnabled(IsEnabled);
    bezelWriteButton->setEnabled(IsEnabled);
}
