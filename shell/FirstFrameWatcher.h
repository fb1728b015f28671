// Calls back once the application's first window is on screen: exposed, and its first frame
// painted.
#pragma once

#include <QObject>
#include <functional>

class FirstFrameWatcher : public QObject
{
    Q_OBJECT
public:
    // The watcher deletes itself after the call, or goes with its owner before it.
    static void Watch(QObject *owner, std::function<void()> whenShown);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FirstFrameWatcher(QObject *owner, std::function<void()> whenShown);

    std::function<void()> m_whenShown;
    bool m_seen = false;
};
