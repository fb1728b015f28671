#include "protocol/RoutingStage.h"

void RoutingStage::stage(quint32 input, quint32 output, quint32 deviceInput)
{
    if (input == deviceInput)
        m_changes.remove(output);
    else
        m_changes.insert(output, input);
}

void RoutingStage::drop(quint32 output)
{
    m_changes.remove(output);
}

int RoutingStage::dropConfirmed(const quint32 *routes, quint32 outputCount)
{
    int dropped = 0;
    for (auto it = m_changes.begin(); it != m_changes.end();) {
        if (it.key() < outputCount && routes[it.key()] == it.value()) {
            it = m_changes.erase(it);
            ++dropped;
        } else {
            ++it;
        }
    }
    return dropped;
}
