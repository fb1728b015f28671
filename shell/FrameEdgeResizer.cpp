#include "shell/FrameEdgeResizer.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>

FrameEdgeResizer::FrameEdgeResizer(QWidget *window)
    : QObject(window)
    , window(window)
{ }

void FrameEdgeResizer::AttachToNativeWindow()
{
    QWindow *handle = window->windowHandle();
    if (!handle || handle == watchedWindow)
        return;
    if (watchedWindow)
        watchedWindow->removeEventFilter(this);
    watchedWindow = handle;
    // The native window hears every mouse event before any child widget does, which is
    // what the border bands need: they lie on top of the title bar and the content.
    watchedWindow->installEventFilter(this);
    connect(watchedWindow, &QObject::destroyed, this, [this](QObject *gone) {
        if (gone == watchedWindow)
            watchedWindow = nullptr;
    });
}

bool FrameEdgeResizer::CanResize() const
{
    if (window->isMaximized() || window->isFullScreen() || window->isMinimized())
        return false;
    return window->minimumSize() != window->maximumSize();
}

bool FrameEdgeResizer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != watchedWindow)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return HandlePress(static_cast<QMouseEvent *>(event));
    case QEvent::MouseMove:
        return HandleMove(static_cast<QMouseEvent *>(event));
    case QEvent::MouseButtonRelease:
        return HandleRelease(static_cast<QMouseEvent *>(event));
    case QEvent::Leave:
        if (!resizing)
            ShowCursorFor(FrameHitCaption, QPoint(-1, -1));
        return false;
    default:
        return false;
    }
}

bool FrameEdgeResizer::HandlePress(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !CanResize())
        return false;
    const FrameHitCode code = FrameHitTest(event->localPos().toPoint(), window->size());
    if (code == FrameHitCaption)
        return false;

    resizeEdges = FrameEdgesForHit(code);
    if (watchedWindow->startSystemResize(resizeEdges))
        return true;
    // The platform cannot resize for us: follow the mouse ourselves while the button is held.
    resizing = true;
    resizeStartGlobal = event->globalPos();
    resizeStartGeometry = window->geometry();
    return true;
}

bool FrameEdgeResizer::HandleMove(QMouseEvent *event)
{
    if (resizing) {
        ResizeByHand(event->globalPos());
        return true;
    }
    if (event->buttons() == Qt::NoButton) {
        const QPoint position = event->localPos().toPoint();
        const FrameHitCode code = CanResize() ? FrameHitTest(position, window->size()) : FrameHitCaption;
        ShowCursorFor(code, position);
    }
    return false;
}

bool FrameEdgeResizer::HandleRelease(QMouseEvent *event)
{
    if (!resizing)
        return false;
    if (event->button() == Qt::LeftButton)
        resizing = false;
    return true;
}

void FrameEdgeResizer::ShowCursorFor(FrameHitCode code, const QPoint &position)
{
    if (!watchedWindow)
        return;
    if (code != FrameHitCaption) {
        watchedWindow->setCursor(FrameCursorForHit(code));
        bandCursorShown = true;
        return;
    }
    if (!bandCursorShown)
        return;
    // Back to the cursor of whatever widget lies under the mouse.
    const QWidget *under = window->childAt(position);
    watchedWindow->setCursor(under ? under->cursor() : window->cursor());
    bandCursorShown = false;
}

void FrameEdgeResizer::ResizeByHand(const QPoint &globalPosition)
{
    const QPoint delta = globalPosition - resizeStartGlobal;
    const QSize minimum = window->minimumSize();
    const QSize maximum = window->maximumSize();
    QRect geometry = resizeStartGeometry;

    if (resizeEdges & (Qt::LeftEdge | Qt::RightEdge)) {
        const int grow = (resizeEdges & Qt::LeftEdge) ? -delta.x() : delta.x();
        const int width = std::clamp(resizeStartGeometry.width() + grow, minimum.width(), maximum.width());
        geometry.setWidth(width);
        if (resizeEdges & Qt::LeftEdge)
            geometry.moveRight(resizeStartGeometry.right());
    }
    if (resizeEdges & (Qt::TopEdge | Qt::BottomEdge)) {
        const int grow = (resizeEdges & Qt::TopEdge) ? -delta.y() : delta.y();
        const int height
            = std::clamp(resizeStartGeometry.height() + grow, minimum.height(), maximum.height());
        geometry.setHeight(height);
        if (resizeEdges & Qt::TopEdge)
            geometry.moveBottom(resizeStartGeometry.bottom());
    }
    window->setGeometry(geometry);
}
