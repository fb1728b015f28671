// Base class of the program's top-level windows: no system frame, a 48-pixel title bar of
// our own (icon, title, minimise / maximise / close) above a content area, dragging by
// the title bar and passive areas, resizing from the 5-pixel borders.
#pragma once

#include "shell/FramelessHost.h"

#include <QWidget>

class MyFramelessWindow : public FramelessHost<QWidget>
{
    Q_OBJECT
public:
    explicit MyFramelessWindow(QWidget *parent = nullptr);
    ~MyFramelessWindow() override;

private slots:
    void SLOT_WindowMin();
    void SLOT_WindowMax();
    void SLOT_WindowClose();
};
