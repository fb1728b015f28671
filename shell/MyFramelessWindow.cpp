#include "shell/MyFramelessWindow.h"

#include "shell/FrameEdgeResizer.h"

#include <QEvent>
#include <QPushButton>

#ifdef Q_OS_WIN
#include <windows.h>
#include <windowsx.h>
#endif

MyFramelessWindow::MyFramelessWindow(QWidget *parent)
    : QWidget(parent)
    , frame(this)
    , edgeResizer(new FrameEdgeResizer(this))
{
    connect(frame.minButton, &QPushButton::clicked, this, &MyFramelessWindow::SLOT_WindowMin);
    connect(frame.maxButton, &QPushButton::clicked, this, &MyFramelessWindow::SLOT_WindowMax);
    connect(frame.closeButton, &QPushButton::clicked, this, &MyFramelessWindow::SLOT_WindowClose);
}

MyFramelessWindow::~MyFramelessWindow() = default;

void MyFramelessWindow::SetTitleText(const QString &text)
{
    frame.SetTitleText(text);
}

void MyFramelessWindow::SetTitleIcon(const QString &path)
{
    frame.SetTitleIcon(path);
}

void MyFramelessWindow::SetContentWidget(QWidget *widget)
{
    frame.SetContentWidget(widget);
}

void MyFramelessWindow::LayoutTitleBar(QWidget *reference)
{
    frame.LayoutTitleBar(reference);
}

void MyFramelessWindow::mousePressEvent(QMouseEvent *event)
{
    frame.MousePress(event);
}

void MyFramelessWindow::mouseReleaseEvent(QMouseEvent *event)
{
    frame.MouseRelease(event);
}

void MyFramelessWindow::mouseDoubleClickEvent(QMouseEvent *event)
{
    frame.MouseDoubleClick(event);
}

void MyFramelessWindow::mouseMoveEvent(QMouseEvent *event)
{
    frame.MouseMove(event);
}

bool MyFramelessWindow::nativeEvent(const QByteArray &eventType, void *message, long *result)
{
#ifdef Q_OS_WIN
    const MSG *msg = static_cast<const MSG *>(message);
    if (msg->message == WM_NCHITTEST) {
        const QPoint position
            = QPoint(GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)) - frameGeometry().topLeft();
        const FrameHitCode code = FrameHitTest(position, size());
        if (code == FrameHitCaption)
            return false;
        *result = code;
        return true;
    }
#endif
    return QWidget::nativeEvent(eventType, message, result);
}

bool MyFramelessWindow::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
        // Before a derived window's resizeEvent, so it sees the frame parts in place.
        LayoutTitleBar(this);
        break;
    case QEvent::Show:
    case QEvent::WinIdChange:
        edgeResizer->AttachToNativeWindow();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void MyFramelessWindow::SLOT_WindowMin()
{
    frame.Minimise();
}

void MyFramelessWindow::SLOT_WindowMax()
{
    frame.ToggleMaximise();
}

void MyFramelessWindow::SLOT_WindowClose()
{
    close();
}
