#include "pages/MatrixRoutingBar.h"

#include "settings/LanguageTexts.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr int ButtonWidth = 100;
constexpr int RowHeight = 26;
constexpr int Gap = 4;
constexpr int LineWidth = 3 * ButtonWidth + 2 * Gap + 140;

} // namespace

MatrixRoutingBar::MatrixRoutingBar(QWidget *parent)
    : QWidget(parent)
{
    takeModeButton = new QPushButton(this);
    takeModeButton->setObjectName(QStringLiteral("MatrixTakeMode"));
    takeModeButton->setCheckable(true);
    takeModeButton->setGeometry(0, 0, ButtonWidth, RowHeight);
    takeButton = new QPushButton(this);
    takeButton->setObjectName(QStringLiteral("MatrixTake"));
    takeButton->setGeometry(ButtonWidth + Gap, 0, ButtonWidth, RowHeight);
    cancelButton = new QPushButton(this);
    cancelButton->setObjectName(QStringLiteral("MatrixCancelStage"));
    cancelButton->setGeometry(2 * (ButtonWidth + Gap), 0, ButtonWidth, RowHeight);
    exportNamesButton = new QPushButton(this);
    exportNamesButton->setGeometry(3 * (ButtonWidth + Gap) + 20, 0, ButtonWidth + 20, RowHeight);
    importNamesButton = new QPushButton(this);
    importNamesButton->setGeometry(exportNamesButton->x(), RowHeight + Gap, ButtonWidth + 20, RowHeight);
    stageLabel = new QLabel(this);
    stageLabel->setGeometry(0, RowHeight + Gap, 3 * ButtonWidth + 2 * Gap, RowHeight);
    noteLabel = new QLabel(this);
    noteLabel->setWordWrap(true);
    noteLabel->setGeometry(0, 2 * (RowHeight + Gap), LineWidth, RowHeight);
    keyRouteLabel = new QLabel(this);
    keyRouteLabel->setGeometry(0, 3 * (RowHeight + Gap), LineWidth, RowHeight);
    resize(LineWidth, 4 * (RowHeight + Gap));
    Retranslate();
    ShowStagedCount(0, false);
}

void MatrixRoutingBar::Retranslate()
{
    takeModeButton->setText(SpushButton_TakeMode);
    takeButton->setText(SpushButton_Take);
    cancelButton->setText(SpushButton_CancelStage);
    exportNamesButton->setText(SpushButton_ExportNames);
    importNamesButton->setText(SpushButton_ImportNames);
    ShowStagedCount(m_stagedCount, takeModeButton->isChecked());
}

void MatrixRoutingBar::ShowStagedCount(int count, bool takeMode)
{
    m_stagedCount = count;
    takeButton->setEnabled(takeMode && count > 0);
    cancelButton->setEnabled(takeMode && count > 0);
    stageLabel->setText(takeMode ? Slabel_StagedOutputs.arg(count) : QString());
}

void MatrixRoutingBar::ShowNote(const QString &text)
{
    noteLabel->setText(text);
}

void MatrixRoutingBar::ShowKeyRoute(const QString &text)
{
    keyRouteLabel->setText(text);
}
