#include "protocol/RouteGroups.h"

#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"

QVector<RouteGroup> GroupRoutes(const QMap<quint32, quint32> &inputOfOutput)
{
    QMap<quint32, QVector<quint32>> outputsOfInput;
    // QMap walks its keys in ascending order, so each output list comes out sorted.
    for (auto it = inputOfOutput.cbegin(); it != inputOfOutput.cend(); ++it)
        outputsOfInput[it.value()].append(it.key());
    QVector<RouteGroup> groups;
    for (auto it = outputsOfInput.cbegin(); it != outputsOfInput.cend(); ++it)
        groups.append({ it.key(), it.value() });
    return groups;
}

bool QueueRouteGroups(const QVector<RouteGroup> &groups)
{
    bool allQueued = true;
    for (const RouteGroup &group : groups) {
        if (group.input >= DeviceState.inputCount || group.outputs.isEmpty()) {
            allQueued = false;
            continue;
        }
        CmdSetRouteList(group.input, group.outputs.constData(), quint32(group.outputs.size()));
    }
    return allQueued;
}
