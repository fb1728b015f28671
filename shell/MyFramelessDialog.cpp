#include "shell/MyFramelessDialog.h"

#include <QPushButton>

MyFramelessDialog::MyFramelessDialog(QWidget *parent)
    : FramelessHost<QDialog>(parent)
{
    connect(Frame().minButton, &QPushButton::clicked, this, &MyFramelessDialog::SLOT_WindowMin);
    connect(Frame().maxButton, &QPushButton::clicked, this, &MyFramelessDialog::SLOT_WindowMax);
    connect(Frame().closeButton, &QPushButton::clicked, this, &MyFramelessDialog::SLOT_WindowClose);
    // A dialog is only moved, resized from its borders and closed.
    Frame().DisableSizeButtons();
}

MyFramelessDialog::~MyFramelessDialog() = default;

void MyFramelessDialog::SLOT_WindowMin()
{
    Frame().Minimise();
}

void MyFramelessDialog::SLOT_WindowMax()
{
    Frame().ToggleMaximise();
}

void MyFramelessDialog::SLOT_WindowClose()
{
    close();
}
