// Resizing a frameless window from its 5-pixel border bands. It watches the mouse events
// of the window's native window before any child widget sees them: over a band it shows
// a resize cursor, and a left press in a band hands the resize to the window system
// (or, where the platform cannot do that, resizes the window itself while the button is
// held). Points outside the bands stay with the widgets.
#pragma once

#include "shell/FrameGeometry.h"

#include <QObject>
#include <QPoint>
#include <QRect>

class QWidget;
class QWindow;
class QMouseEvent;

class FrameEdgeResizer : public QObject
{
    Q_OBJECT
public:
    explicit FrameEdgeResizer(QWidget *window);

    // Starts watching the window's native window once it exists; safe to call repeatedly.
    void AttachToNativeWindow();

    bool IsResizing() const { return resizing; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool CanResize() const;
    bool HandlePress(QMouseEvent *event);
    bool HandleMove(QMouseEvent *event);
    bool HandleRelease(QMouseEvent *event);
    void ShowCursorFor(FrameHitCode code, const QPoint &position);
    void ResizeByHand(const QPoint &globalPosition);

    QWidget *window;
    QWindow *watchedWindow = nullptr;
    bool resizing = false;
    bool bandCursorShown = false;
    Qt::Edges resizeEdges;
    QPoint resizeStartGlobal;
    QRect resizeStartGeometry;
};
