// What the two frameless base classes have in common on top of their Qt base (QWidget for
// the windows, QDialog for the dialogs): the frame they own and the events they hand to it.
// Each base class adds only its own meta-object, its title-bar slots and what differs.
#pragma once

#include "shell/FramelessFrame.h"

#include <QByteArray>
#include <QEvent>

template <class QtBase>
class FramelessHost : public QtBase
{
public:
    explicit FramelessHost(QWidget *parent)
        : QtBase(parent)
        , frame(this)
    { }

    void SetTitleText(const QString &text) { frame.SetTitleText(text); }
    void SetTitleIcon(const QString &path) { frame.SetTitleIcon(path); }
    void SetContentWidget(QWidget *widget) { frame.SetContentWidget(widget); }
    void LayoutTitleBar(QWidget *reference) { frame.LayoutTitleBar(reference); }

    bool IsMaximisedByButton() const { return frame.IsMaximised(); }

protected:
    void mousePressEvent(QMouseEvent *event) override { frame.MousePress(event); }
    void mouseReleaseEvent(QMouseEvent *event) override { frame.MouseRelease(event); }
    void mouseDoubleClickEvent(QMouseEvent *event) override { frame.MouseDoubleClick(event); }
    void mouseMoveEvent(QMouseEvent *event) override { frame.MouseMove(event); }

    bool nativeEvent(const QByteArray &eventType, void *message, long *result) override
    {
        if (frame.NativeHitTest(message, result))
            return true;
        return QtBase::nativeEvent(eventType, message, result);
    }

    bool event(QEvent *event) override
    {
        frame.BeforeEvent(event);
        return QtBase::event(event);
    }

    FramelessFrame &Frame() { return frame; }

private:
    FramelessFrame frame;
};
