#include "protocol/RoutingHistory.h"

void RoutingHistory::pushCapped(QVector<Routes> &stack, const Routes &routes)
{
    stack.append(routes);
    if (stack.size() > MaxSteps)
        stack.removeFirst();
}

void RoutingHistory::record(const Routes &before)
{
    pushCapped(m_undo, before);
    m_redo.clear();
}

RoutingHistory::Routes RoutingHistory::undo(const Routes &current)
{
    const Routes target = m_undo.takeLast();
    pushCapped(m_redo, current);
    return target;
}

RoutingHistory::Routes RoutingHistory::redo(const Routes &current)
{
    const Routes target = m_redo.takeLast();
    pushCapped(m_undo, current);
    return target;
}

void RoutingHistory::clear()
{
    m_undo.clear();
    m_redo.clear();
}
