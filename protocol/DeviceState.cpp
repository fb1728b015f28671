#include "protocol/DeviceState.h"

#include <cstring>

const quint8 WindowCountOfMode[5] = { 1, 2, 2, 3, 4 };

DeviceStateRecord DeviceState = [] {
    DeviceStateRecord record;
    std::memset(&record, 0, sizeof record);
    record.modelUnconfirmed = true;
    return record;
}();

void DeviceState_Clear()
{
    std::memset(&DeviceState, 0, sizeof DeviceState);
    DeviceState.modelUnconfirmed = true;
}

void DeviceState_ResetWall()
{
    for (quint32 k = 0; k < MaxPorts; ++k) {
        std::memset(&DeviceState.wall.entry[k], 0, sizeof(WallEntry));
        DeviceState.wall.entry[k].outputIndex = k;
    }
    DeviceState.wall.rows = 0;
    DeviceState.wall.cols = 0;
    DeviceState.wall.total = 0;
}

void DeviceState_ConfirmModel()
{
    DeviceState.modelUnconfirmed = false;
    DeviceState.inputCount = 4;
    DeviceState.outputCount = 4;
}

void DeviceState_SetRoute(quint32 input, quint32 output)
{
    const quint32 in = ClampSlot(input);
    if (output != 255) {
        DeviceState.routeInputOfOutput[ClampSlot(output)] = in;
        return;
    }
    for (quint32 o = 0; o < DeviceState.outputCount && o < MaxPorts; ++o)
        DeviceState.routeInputOfOutput[o] = in;
}
