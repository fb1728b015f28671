// The signal configuration page: input and output signal parameters per port.
// For now only what the main window relies on; the tables come with the page itself.
#pragma once

#include <QWidget>

class Ui_SignalConfig : public QWidget
{
    Q_OBJECT
public:
    explicit Ui_SignalConfig(QWidget *parent = nullptr);

    // Sets every text of the page again from the language table.
    void Retranslate(bool noRefresh, bool noRebuild);

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
};
