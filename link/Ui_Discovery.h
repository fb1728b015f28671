// The Find dialog of the connection page: runs a discovery, shows its progress and every
// device found (model, link, address or port, baud, main firmware), and hands the row the
// operator chooses back to the page. Connecting stays the operator's own click.
#pragma once

#include "protocol/DiscoveryPlan.h"
#include "protocol/DiscoveryResult.h"
#include "shell/MyFramelessDialog.h"

#include <QList>

class DeviceDiscovery;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

class Ui_Discovery : public MyFramelessDialog
{
    Q_OBJECT
public:
    enum Column { ModelColumn, LinkColumn, WhereColumn, BaudColumn, FirmwareColumn, ColumnCount };

    explicit Ui_Discovery(QWidget *parent = nullptr);
    ~Ui_Discovery() override;

    // Starts (or restarts) a discovery with this plan.
    void Start(const DiscoveryPlan &plan);
    bool IsRunning() const;
    // The device shown in each row, in row order.
    const QList<DiscoveryResult> &Devices() const { return m_devices; }

    QProgressBar *progressBar = nullptr;
    QLabel *statusLabel = nullptr;
    QTableWidget *resultTable = nullptr;
    QPushButton *useButton = nullptr;
    QPushButton *stopButton = nullptr;

signals:
    void SGL_DeviceChosen(const DiscoveryResult &device);

public slots:
    void SLT_UseSelected();
    void SLT_StopOrSearchAgain();

private:
    void CreateWidgets();
    void SetTexts();
    void AddRow(const DiscoveryResult &device);
    void ShowProgress(int tried, int total);
    void ShowFinished(bool cancelled);
    void UpdateButtons();

    DeviceDiscovery *m_discovery = nullptr;
    DiscoveryPlan m_plan;
    QList<DiscoveryResult> m_devices;
};
