// The system page: reset, firmware versions, the device's baud rate and network settings.
// For now only what the main window relies on; the controls come with the page itself.
#pragma once

#include <QWidget>

class Ui_System : public QWidget
{
    Q_OBJECT
public:
    explicit Ui_System(QWidget *parent = nullptr);

    // Sets every text of the page again from the language table.
    void Retranslate(bool firstTime, bool noRebuild);

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
    // The device answered with its network or baud-rate settings.
    void SGL_SyncSerialPortNetworkInfo();
};
