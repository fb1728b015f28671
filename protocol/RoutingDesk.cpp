#include "protocol/RoutingDesk.h"

#include "link/LinkMode.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/RouteGroups.h"

namespace {

quint32 OutputCount()
{
    return qMin(DeviceState.outputCount, MaxPorts);
}

// Without a link nothing can be sent: no undo step is recorded for it and nothing staged is
// given up.
bool LinkSelected()
{
    return LinkMode != LinkModeNone;
}

} // namespace

RoutingDesk::RoutingDesk(OutputLocks &locks)
    : m_locks(locks)
{ }

void RoutingDesk::setTakeMode(bool on)
{
    m_takeMode = on;
    if (!on)
        m_stage.clear();
}

RoutingDesk::Routes RoutingDesk::CurrentRoutes()
{
    Routes routes;
    for (quint32 output = 0; output < OutputCount(); ++output)
        routes.append(DeviceState.routeInputOfOutput[output]);
    return routes;
}

RoutingDesk::Outcome RoutingDesk::route(quint32 input, quint32 output)
{
    Outcome outcome;
    if (input >= DeviceState.inputCount || output >= OutputCount())
        return outcome;
    if (m_locks.isLocked(output)) {
        outcome.skippedLocked.append(output);
        return outcome;
    }
    if (m_takeMode) {
        m_stage.stage(input, output, DeviceState.routeInputOfOutput[output]);
        outcome.staged = true;
        return outcome;
    }
    if (!LinkSelected())
        return outcome;
    // Asking for the route the device already has changes nothing worth undoing, but is sent
    // all the same: the operator may be making sure.
    if (DeviceState.routeInputOfOutput[output] != input)
        m_history.record(CurrentRoutes());
    CmdSetRoute(input, output);
    outcome.queued = true;
    return outcome;
}

RoutingDesk::Outcome RoutingDesk::routeAll(quint32 input)
{
    if (input >= DeviceState.inputCount)
        return {};
    if (!m_takeMode && !m_locks.any()) {
        Outcome outcome;
        if (!LinkSelected())
            return outcome;
        if (CurrentRoutes() != Routes(int(OutputCount()), input))
            m_history.record(CurrentRoutes());
        CmdSetInputToAll(input);
        outcome.queued = true;
        return outcome;
    }
    return change(Routes(int(OutputCount()), input), true);
}

RoutingDesk::Outcome RoutingDesk::applyRoutes(const Routes &target)
{
    return change(target, true);
}

// Locked outputs are skipped; in Take mode the rest is staged, otherwise sent grouped by input.
RoutingDesk::Outcome RoutingDesk::change(const Routes &target, bool recordStep)
{
    Outcome outcome;
    const Routes current = CurrentRoutes();
    QMap<quint32, quint32> changes;
    for (quint32 output = 0; output < OutputCount() && output < quint32(target.size()); ++output) {
        const quint32 input = target.at(int(output));
        if (input >= DeviceState.inputCount)
            continue;
        const bool differs = input != current.at(int(output));
        const bool staged = m_takeMode && m_stage.isStaged(output);
        if (!differs && !staged)
            continue;
        if (m_locks.isLocked(output)) {
            if (differs)
                outcome.skippedLocked.append(output);
            continue;
        }
        if (m_takeMode) {
            m_stage.stage(input, output, current.at(int(output)));
            outcome.staged = true;
        } else {
            changes.insert(output, input);
        }
    }
    if (changes.isEmpty() || !LinkSelected())
        return outcome;
    if (recordStep)
        m_history.record(current);
    outcome.queued = QueueRouteGroups(GroupRoutes(changes));
    return outcome;
}

RoutingDesk::Outcome RoutingDesk::take()
{
    Outcome outcome;
    if (!LinkSelected())
        return outcome;
    QMap<quint32, quint32> changes;
    const QMap<quint32, quint32> &staged = m_stage.changes();
    for (auto it = staged.cbegin(); it != staged.cend(); ++it) {
        // A lock set after the change was staged still holds.
        if (m_locks.isLocked(it.key()))
            outcome.skippedLocked.append(it.key());
        else
            changes.insert(it.key(), it.value());
    }
    m_stage.clear();
    outcome.staged = true;
    if (changes.isEmpty())
        return outcome;
    m_history.record(CurrentRoutes());
    outcome.queued = QueueRouteGroups(GroupRoutes(changes));
    return outcome;
}

RoutingDesk::Outcome RoutingDesk::undo()
{
    return stepTo(true);
}

RoutingDesk::Outcome RoutingDesk::redo()
{
    return stepTo(false);
}

// The step is taken off its stack only when something of it could be carried out; a step
// that only locked outputs would change stays for later.
RoutingDesk::Outcome RoutingDesk::stepTo(bool undoing)
{
    if (undoing ? !m_history.canUndo() : !m_history.canRedo())
        return {};
    if (!m_takeMode && !LinkSelected())
        return {};
    const Routes current = CurrentRoutes();
    const Routes target = undoing ? m_history.nextUndo() : m_history.nextRedo();
    Outcome outcome = change(target, false);
    if (!outcome.queued && !outcome.staged && !outcome.skippedLocked.isEmpty())
        return outcome;
    if (undoing)
        m_history.undo(current);
    else
        m_history.redo(current);
    return outcome;
}

void RoutingDesk::recordBeforeSceneLoad()
{
    m_history.record(CurrentRoutes());
}

int RoutingDesk::dropConfirmedStage()
{
    return m_stage.dropConfirmed(DeviceState.routeInputOfOutput, OutputCount());
}
