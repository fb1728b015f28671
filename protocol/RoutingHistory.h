// Undo and redo of routing changes: each step is the input of every output as it was before
// a change made from this program.
#pragma once

#include <QVector>
#include <QtGlobal>

class RoutingHistory
{
public:
    using Routes = QVector<quint32>;
    static constexpr int MaxSteps = 20;

    // A new change: what the routes were before it. Forgets what could be redone; the oldest
    // step goes when there are more than MaxSteps.
    void record(const Routes &before);

    bool canUndo() const { return !m_undo.isEmpty(); }
    bool canRedo() const { return !m_redo.isEmpty(); }
    int undoCount() const { return m_undo.size(); }
    int redoCount() const { return m_redo.size(); }
    const Routes &nextUndo() const { return m_undo.last(); }
    const Routes &nextRedo() const { return m_redo.last(); }

    // The routes to go back to; current becomes the step that redo brings back. Only when
    // canUndo.
    Routes undo(const Routes &current);
    // The routes to go forward to; current becomes an undo step again. Only when canRedo.
    Routes redo(const Routes &current);

    void clear();

private:
    static void pushCapped(QVector<Routes> &stack, const Routes &routes);

    QVector<Routes> m_undo;
    QVector<Routes> m_redo;
};
