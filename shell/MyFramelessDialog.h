// Dialog twin of MyFramelessWindow: the same frame, title bar, dragging and border
// resizing, but the minimise and maximise buttons are disabled, so a dialog can only be
// moved, resized from its borders and closed.
#pragma once

#include "shell/FramelessHost.h"

#include <QDialog>

class MyFramelessDialog : public FramelessHost<QDialog>
{
    Q_OBJECT
public:
    explicit MyFramelessDialog(QWidget *parent = nullptr);
    ~MyFramelessDialog() override;

private slots:
    void SLOT_WindowMin();
    void SLOT_WindowMax();
    void SLOT_WindowClose();
};
