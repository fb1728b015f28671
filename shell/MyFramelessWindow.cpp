#include "shell/MyFramelessWindow.h"

#include <QPushButton>

MyFramelessWindow::MyFramelessWindow(QWidget *parent)
    : FramelessHost<QWidget>(parent)
{
    connect(Frame().minButton, &QPushButton::clicked, this, &MyFramelessWindow::SLOT_WindowMin);
    connect(Frame().maxButton, &QPushButton::clicked, this, &MyFramelessWindow::SLOT_WindowMax);
    connect(Frame().closeButton, &QPushButton::clicked, this, &MyFramelessWindow::SLOT_WindowClose);
}

MyFramelessWindow::~MyFramelessWindow() = default;

void MyFramelessWindow::SLOT_WindowMin()
{
    Frame().Minimise();
}

void MyFramelessWindow::SLOT_WindowMax()
{
    Frame().ToggleMaximise();
}

void MyFramelessWindow::SLOT_WindowClose()
{
    close();
}
