#include "shell/FirstFrameWatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

void FirstFrameWatcher::Watch(QObject *owner, std::function<void()> whenShown)
{
    auto *watcher = new FirstFrameWatcher(owner, std::move(whenShown));
    QCoreApplication::instance()->installEventFilter(watcher);
}

FirstFrameWatcher::FirstFrameWatcher(QObject *owner, std::function<void()> whenShown)
    : QObject(owner)
    , m_whenShown(std::move(whenShown))
{
}

bool FirstFrameWatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (m_seen || event->type() != QEvent::Expose)
        return false;
    auto *window = qobject_cast<QWindow *>(watched);
    if (!window || !window->isExposed())
        return false;
    m_seen = true;
    // Queued: the first frame is painted while the expose event is delivered.
    QTimer::singleShot(0, this, [this] {
        QCoreApplication::instance()->removeEventFilter(this);
        m_whenShown();
        deleteLater();
    });
    return false;
}
