// Route changes held back until the operator takes them: output to input, at most one per
// output. A change the device already has is not worth holding.
#pragma once

#include <QMap>
#include <QtGlobal>

class RoutingStage
{
public:
    // Holds input for output, or drops what was held for it when the device already routes
    // input there.
    void stage(quint32 input, quint32 output, quint32 deviceInput);
    void drop(quint32 output);
    void clear() { m_changes.clear(); }

    bool isStaged(quint32 output) const { return m_changes.contains(output); }
    // The staged input of an output; only meaningful when isStaged.
    quint32 stagedInput(quint32 output) const { return m_changes.value(output); }
    int count() const { return m_changes.size(); }
    bool isEmpty() const { return m_changes.isEmpty(); }
    const QMap<quint32, quint32> &changes() const { return m_changes; }

    // Drops every change that the given routes (input of each output) already hold; returns
    // how many were dropped.
    int dropConfirmed(const quint32 *routes, quint32 outputCount);

private:
    QMap<quint32, quint32> m_changes;
};
