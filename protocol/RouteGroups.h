// Route changes gathered by input, so that the outputs of one input travel in one command.
#pragma once

#include <QMap>
#include <QVector>
#include <QtGlobal>

struct RouteGroup {
    quint32 input;
    QVector<quint32> outputs; // ascending
};

inline bool operator==(const RouteGroup &a, const RouteGroup &b)
{
    return a.input == b.input && a.outputs == b.outputs;
}

// inputOfOutput maps 0-based outputs to 0-based inputs; the groups come by ascending input.
QVector<RouteGroup> GroupRoutes(const QMap<quint32, quint32> &inputOfOutput);

// Queues one route command per group (the outputs as one list); true when every group went
// into the queue.
bool QueueRouteGroups(const QVector<RouteGroup> &groups);
