// Dialog twin of MyFramelessWindow: the same frame, title bar, dragging and border
// resizing, but the minimise and maximise buttons are disabled, so a dialog can only be
// moved, resized from its borders and closed.
#pragma once

#include "shell/FramelessFrame.h"

#include <QDialog>

class FrameEdgeResizer;

class MyFramelessDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MyFramelessDialog(QWidget *parent = nullptr);
    ~MyFramelessDialog() override;

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
