// The signal configuration page: input and output signal parameters per port.
// For now it carries what the reply parser needs of it at identification (the rebuild and
// the read of every port's information); the tables come with the page itself.
#pragma once

#include <QWidget>

class Ui_SignalConfig : public QWidget
{
    Q_OBJECT
public:
    explicit Ui_SignalConfig(QWidget *parent = nullptr);

    // Sets every text of the page again from the language table.
    void Retranslate(bool noRefresh, bool noRebuild);
    // Builds the rows again for the current counts once the model is confirmed (no rows yet).
    void RebuildIfConfirmed();
    // Asks for every input's information, then every output's, with a send kick after each.
    void ReadAll();

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
};
