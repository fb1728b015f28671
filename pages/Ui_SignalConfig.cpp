#include "pages/Ui_SignalConfig.h"

#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"

Ui_SignalConfig::Ui_SignalConfig(QWidget *parent)
    : QWidget(parent)
{ }

void Ui_SignalConfig::Retranslate(bool noRefresh, bool noRebuild)
{
    // The page has no labelled widgets yet.
    Q_UNUSED(noRefresh)
    Q_UNUSED(noRebuild)
}

void Ui_SignalConfig::RebuildIfConfirmed()
{
    // The port rows come with the page itself.
}

void Ui_SignalConfig::ReadAll()
{
    for (quint32 input = 0; input < DeviceState.inputCount && input < MaxPorts; ++input) {
        CmdGetInInfo(input);
        emit SGL_UpdateEmit();
    }
    for (quint32 output = 0; output < DeviceState.outputCount && output < MaxPorts; ++output) {
        CmdGetOutInfo(output);
        emit SGL_UpdateEmit();
    }
}
