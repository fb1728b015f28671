// Base class of the program's top-level windows: no system frame, a 48-pixel title bar of
// our own (icon, title, minimise / maximise / close) above a content area, dragging by
// the title bar and passive areas, resizing from the 5-pixel borders.
#pragma once

#include "shell/FramelessFrame.h"

#include <QWidget>

class FrameEdgeResizer;

class MyFramelessWindow : public QWidget
{
    Q_OBJECT
public:
    explicit MyFramelessWindow(QWidget *parent = nullptr);
    ~MyFramelessWindow() override;

    void SetTitleText(const QString &text);
    void SetTitleIcon(const QString &path);
    void SetContentWidget(QWidget *widget);
    void LayoutTitleBar(QWidget *reference);

    bool IsMaximisedByButton() const { return frame.IsMaximised(); }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message, long *result) override;
    bool event(QEvent *event) override;

private slots:
    void SLOT_WindowMin();
    void SLOT_WindowMax();
    void SLOT_WindowClose();

private:
    FramelessFrame frame;
    FrameEdgeResizer *edgeResizer;
};
