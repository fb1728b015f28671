// The routing rules of a live room, apart from any widget: routes go out at once or are held
// for a Take, locked outputs are never changed, and every change sent can be undone.
#pragma once

#include "protocol/OutputLocks.h"
#include "protocol/RoutingHistory.h"
#include "protocol/RoutingStage.h"

#include <QVector>
#include <QtGlobal>

class RoutingDesk
{
public:
    using Routes = RoutingHistory::Routes;

    struct Outcome {
        QVector<quint32> skippedLocked; // outputs left alone because they are locked
        bool queued = false; // at least one command went into the link queue
        bool staged = false; // the stage changed
    };

    explicit RoutingDesk(OutputLocks &locks);

    bool takeMode() const { return m_takeMode; }
    // Leaving Take mode drops the stage; the caller asks the operator first.
    void setTakeMode(bool on);

    // A cross-point: input to output.
    Outcome route(quint32 input, quint32 output);
    // Allset: input to every output.
    Outcome routeAll(quint32 input);
    // Every output to the input the target names (an undo or redo step, a typed route list).
    Outcome applyRoutes(const Routes &target);
    // Sends every staged change, one command per input, and clears the stage.
    Outcome take();
    void cancel() { m_stage.clear(); }
    void cancelOutput(quint32 output) { m_stage.drop(output); }
    Outcome undo();
    Outcome redo();
    // A scene load changes routes on the device: the routes before it become an undo step.
    void recordBeforeSceneLoad();
    // The device reported routes: staged changes it already has are dropped.
    int dropConfirmedStage();

    const RoutingStage &stage() const { return m_stage; }
    const RoutingHistory &history() const { return m_history; }
    const OutputLocks &locks() const { return m_locks; }

    // The input of every output the device has, as DeviceState holds them.
    static Routes CurrentRoutes();

private:
    Outcome change(const Routes &target, bool recordStep);
    Outcome stepTo(bool undoing);

    OutputLocks &m_locks;
    RoutingStage m_stage;
    RoutingHistory m_history;
    bool m_takeMode = false;
};
