// A combo box that announces that its list is about to open, so that its owner can fill the
// list with what is valid at that moment (serial ports, local addresses, input names).
#pragma once

#include <QComboBox>

class MyComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit MyComboBox(QWidget *parent = nullptr);

    void showPopup() override;

signals:
    // Emitted just before the list pops up.
    void SGL_Auto_UpdateComboBox();
};
