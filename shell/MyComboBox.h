// The program's combo box for lists whose choice sends a command to the device. It
// announces that its list is about to open, so that its owner can fill the list with what is
// valid at that moment (serial ports, local addresses, input names), and it changes its item
// only through the open list: Qt's combo box also steps its item, and emits activated(), on
// a wheel turn or an arrow key while it is closed, which would turn stray scrolling over a
// live device into commands. An editable combo (a typed port name) hands every key its line
// edit takes to the line edit; only the keys that step the item stay blocked.
#pragma once

#include <QComboBox>

class QKeyEvent;
class QWheelEvent;

class MyComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit MyComboBox(QWidget *parent = nullptr);

    void showPopup() override;

    // Gives the list a plain QListView (which the style sheet sizes like every other list)
    // the first time it opens. Building a second view for every combo at once cost more than
    // half of the program's start-up, and most lists are never opened.
    void UseListViewWhenOpened();

    // Whether a key pressed on the closed combo would step its item (arrows, page keys,
    // Home, End, or a letter that searches the list). On an editable combo Left, Right, Home,
    // End and the letters edit the text, so only Up, Down and the page keys step.
    static bool StepsClosedCombo(const QKeyEvent *event, bool editable = false);

signals:
    // Emitted just before the list pops up.
    void SGL_Auto_UpdateComboBox();

protected:
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool ListIsOpen() const;

    bool m_wantsListView = false;
    bool m_listShownOnce = false;
};
