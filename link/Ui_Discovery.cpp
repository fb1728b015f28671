#include "link/Ui_Discovery.h"

#include "protocol/DeviceDiscovery.h"
#include "settings/ConfigFile.h"
#include "settings/LanguageTexts.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int DialogWidth = 640;
constexpr int DialogHeight = 360;

QString WhereOf(const DiscoveryResult &device)
{
    if (device.link == DiscoveryResult::Link::Tcp)
        return QStringLiteral("%1:%2").arg(device.address).arg(device.port);
    return device.serialPath;
}

} // namespace

Ui_Discovery::Ui_Discovery(QWidget *parent)
    : MyFramelessDialog(parent)
    , m_discovery(new DeviceDiscovery(this))
{
    CreateWidgets();
    SetTexts();
    connect(m_discovery, &DeviceDiscovery::SGL_Found, this, &Ui_Discovery::AddRow);
    connect(m_discovery, &DeviceDiscovery::SGL_Progress, this, &Ui_Discovery::ShowProgress);
    connect(m_discovery, &DeviceDiscovery::SGL_Finished, this, &Ui_Discovery::ShowFinished);
    connect(useButton, &QPushButton::clicked, this, &Ui_Discovery::SLT_UseSelected);
    connect(stopButton, &QPushButton::clicked, this, &Ui_Discovery::SLT_StopOrSearchAgain);
    connect(resultTable, &QTableWidget::cellDoubleClicked, this, &Ui_Discovery::SLT_UseSelected);
    connect(resultTable, &QTableWidget::itemSelectionChanged, this, &Ui_Discovery::UpdateButtons);
    resize(DialogWidth, DialogHeight);
}

Ui_Discovery::~Ui_Discovery() = default;

void Ui_Discovery::CreateWidgets()
{
    auto *content = new QWidget(this);
    SetContentWidget(content);
    progressBar = new QProgressBar(content);
    statusLabel = new QLabel(content);
    resultTable = new QTableWidget(0, ColumnCount, content);
    resultTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultTable->setSelectionMode(QAbstractItemView::SingleSelection);
    resultTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultTable->verticalHeader()->hide();
    resultTable->horizontalHeader()->setStretchLastSection(true);
    useButton = new QPushButton(content);
    stopButton = new QPushButton(content);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(statusLabel, 1);
    buttons->addWidget(stopButton);
    buttons->addWidget(useButton);
    auto *layout = new QVBoxLayout(content);
    layout->addWidget(progressBar);
    layout->addWidget(resultTable, 1);
    layout->addLayout(buttons);
}

void Ui_Discovery::SetTexts()
{
    SetTitleText(Ui_Discovery_AppName);
    SetTitleIcon(ConfigFile_AppDir() + QStringLiteral("/APP/Image/mainui_logo.png"));
    resultTable->setHorizontalHeaderLabels({ SDiscovery_Model, SDiscovery_Link, SDiscovery_Where, SDiscovery_Baud,
        SDiscovery_Firmware });
    useButton->setText(SpushButton_DiscoveryUse);
    UpdateButtons();
}

void Ui_Discovery::Start(const DiscoveryPlan &plan)
{
    m_plan = plan;
    m_devices.clear();
    resultTable->setRowCount(0);
    statusLabel->clear();
    progressBar->setRange(0, 1);
    progressBar->setValue(0);
    m_discovery->start(plan);
    UpdateButtons();
}

bool Ui_Discovery::IsRunning() const
{
    return m_discovery->isRunning();
}

void Ui_Discovery::AddRow(const DiscoveryResult &device)
{
    // Only devices of our model can be connected to; the rest would only be in the way here.
    if (!device.isDevice())
        return;
    m_devices.append(device);
    const int row = resultTable->rowCount();
    resultTable->insertRow(row);
    const QString cells[ColumnCount] = { device.model, device.link == DiscoveryResult::Link::Tcp ? QStringLiteral("TCP") : QStringLiteral("RS232"),
        WhereOf(device), device.baudRate ? QString::number(device.baudRate) : QString(), device.mainVersion };
    for (int column = 0; column < ColumnCount; ++column)
        resultTable->setItem(row, column, new QTableWidgetItem(cells[column]));
    if (row == 0)
        resultTable->selectRow(0);
    UpdateButtons();
}

void Ui_Discovery::ShowProgress(int tried, int total)
{
    progressBar->setRange(0, qMax(1, total));
    progressBar->setValue(tried);
}

void Ui_Discovery::ShowFinished(bool cancelled)
{
    if (!cancelled)
        progressBar->setValue(progressBar->maximum());
    statusLabel->setText(m_devices.isEmpty() ? SMSG_DiscoveryNothingFound : SMSG_DiscoveryFound.arg(m_devices.size()));
    UpdateButtons();
}

void Ui_Discovery::UpdateButtons()
{
    stopButton->setText(m_discovery->isRunning() ? SpushButton_DiscoveryStop : SpushButton_DiscoveryAgain);
    useButton->setEnabled(resultTable->currentRow() >= 0 && !resultTable->selectedItems().isEmpty());
}

void Ui_Discovery::SLT_StopOrSearchAgain()
{
    if (m_discovery->isRunning())
        m_discovery->cancel();
    else
        Start(m_plan);
}

void Ui_Discovery::SLT_UseSelected()
{
    const int row = resultTable->currentRow();
    if (row < 0 || row >= m_devices.size())
        return;
    m_discovery->cancel();
    emit SGL_DeviceChosen(m_devices.at(row));
    close();
}
