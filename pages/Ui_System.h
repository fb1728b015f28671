// The system page: reset, firmware versions, the device's baud rate and network settings.
// For now it carries what the reply parser needs of it at identification (the rebuild and
// the read of the link settings); the controls come with the page itself.
#pragma once

#include <QWidget>

class Ui_System : public QWidget
{
    Q_OBJECT
public:
    explicit Ui_System(QWidget *parent = nullptr);

    // Sets every text of the page again from the language table.
    void Retranslate(bool firstTime, bool noRebuild);
    // Fills the firmware selector once the model is confirmed (no selector yet).
    void Rebuild();
    // Asks the device for the settings of the link in use (network info over TCP, baud rate
    // over RS232), marking the read as pending so that its reply is shown quietly.
    void ReadLinkSettings();

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
    // The device answered with its network or baud-rate settings.
    void SGL_SyncSerialPortNetworkInfo();
};
