#include "shell/MyFramelessDialog.h"

#include "shell/FrameEdgeResizer.h"

#include <QEvent>
#include <QPushButton>

#ifdef Q_OS_WIN
#include <windows.h>
#include <windowsx.h>
#endif

MyFramelessDialog::MyFramelessDialog(QWidget *parent)
    : QDialog(parent)
    , frame(this)
    , edgeResizer(new FrameEdgeResizer(this))
{
    connect(frame.minButton, &QPushButton::clicked, this, &MyFramelessDialog::SLOT_WindowMin);
    connect(frame.maxButton, &QPushButton::clicked, this, &MyFramelessDialog::SLOT_WindowMax);
    connect(frame.closeButton, &QPushButton::clicked, this, &MyFramelessDialog::SLOT_WindowClose);
    // A dialog is only moved, resized from its borders and closed.
    frame.DisableSizeButtons();
}

MyFramelessDialog::~MyFramelessDialog() = default;

void MyFramelessDialog::SetTitleText(const QString &text)
{
    frame.SetTitleText(text);
}

void MyFramelessDialog::SetTitleIcon(const QString &path)
{
    frame.SetTitleIcon(path);
}

void MyFramelessDialog::SetContentWidget(QWidget *widget)
{
    frame.SetContentWidget(widget);
}

void MyFramelessDialog::LayoutTitleBar(QWidget *reference)
{
    frame.LayoutTitleBar(reference);
}

void MyFramelessDialog::mousePressEvent(QMouseEvent *event)
{
    frame.MousePress(event);
}

void MyFramelessDialog::mouseReleaseEvent(QMouseEvent *event)
{
    frame.MouseRelease(event);
}

void MyFramelessDialog::mouseDoubleClickEvent(QMouseEvent *event)
{
    frame.MouseDoubleClick(event);
}

void MyFramelessDialog::mouseMoveEvent(QMouseEvent *event)
{
    frame.MouseMove(event);
}

bool MyFramelessDialog::nativeEvent(const QByteArray &eventType, void *message, long *result)
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
    return QDialog::nativeEvent(eventType, message, result);
}

bool MyFramelessDialog::event(QEvent *event)
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
    return QDialog::event(event);
}

void MyFramelessDialog::SLOT_WindowMin()
{
    frame.Minimise();
}

void MyFramelessDialog::SLOT_WindowMax()
{
    frame.ToggleMaximise();
}

void MyFramelessDialog::SLOT_WindowClose()
{
    close();
}
