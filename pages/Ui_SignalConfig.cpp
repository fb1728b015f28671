#include "pages/Ui_SignalConfig.h"

Ui_SignalConfig::Ui_SignalConfig(QWidget *parent)
    : QWidget(parent)
{ }

void Ui_SignalConfig::Retranslate(bool noRefresh, bool noRebuild)
{
    // The page has no labelled widgets yet.
    Q_UNUSED(noRefresh)
    Q_UNUSED(noRebuild)
}
