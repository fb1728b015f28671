#include "shell/MyComboBox.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QListView>
#include <QWheelEvent>

MyComboBox::MyComboBox(QWidget *parent)
    : QComboBox(parent)
{
    // A wheel turn over the combo neither steps it nor gives it the focus.
    setFocusPolicy(Qt::StrongFocus);
}

void MyComboBox::showPopup()
{
    emit SGL_Auto_UpdateComboBox();
    if (m_wantsListView && !m_listShownOnce) {
        // Born inside the list's popup (the combo box takes ownership of it), styled once it
        // is set up as the combo's list, and its rows laid out again in the styled size: the
        // list then looks as if it had been there from the start.
        auto *listView = new QListView(view()->parentWidget());
        setView(listView);
        listView->ensurePolished();
        listView->doItemsLayout();
    }
    m_listShownOnce = true;
    QComboBox::showPopup();
}

void MyComboBox::UseListViewWhenOpened()
{
    m_wantsListView = true;
}

// Asking for view() builds the list, so a list never opened is known to be closed.
bool MyComboBox::ListIsOpen() const
{
    return m_listShownOnce && view()->isVisible();
}

bool MyComboBox::StepsClosedCombo(const QKeyEvent *event, bool editable)
{
    switch (event->key()) {
    case Qt::Key_Up:
        // Ctrl+Up goes to the line edit's completion.
        return !(editable && (event->modifiers() & Qt::ControlModifier));
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return !editable;
    case Qt::Key_Down:
        // Alt+Down opens the list; Ctrl+Down goes to an editable combo's completion.
        if (event->modifiers() & Qt::AltModifier)
            return false;
        return !(editable && (event->modifiers() & Qt::ControlModifier));
    case Qt::Key_Space:
        // Opens the list, or is typed.
        return false;
    default:
        // Typing a letter jumps to the first matching item and emits activated(), unless
        // the combo has a line edit to type into.
        return !editable && !event->text().isEmpty() && event->text().at(0).isPrint();
    }
}

// The open list takes the wheel itself (its view scrolls), so the closed combo never steps.
void MyComboBox::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}

void MyComboBox::keyPressEvent(QKeyEvent *event)
{
    if (!ListIsOpen() && StepsClosedCombo(event, isEditable())) {
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}
