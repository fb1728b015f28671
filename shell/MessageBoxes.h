// The program's two message boxes: the program's picture, a blank title and fixed English
// button words. Both run modally and return when the box is closed. A box opens centred over
// the top-level window of the widget given as its parent, on that window's screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

// Object names by which the text label and the buttons of an open box can be found.
extern const char *const MessageBoxTextObjectName; // "MessageBoxText"
extern const char *const MessageBoxOkObjectName; // "MessageBoxOk"
extern const char *const MessageBoxYesObjectName; // "MessageBoxYes"
extern const char *const MessageBoxNoObjectName; // "MessageBoxNo"

// Shows the text with one button "OK".
void MessageBoxOk(const QString &text, QWidget *parent);

// Shows the text with "YES" and "NO"; true only when "YES" was pressed (Escape and the
// window's close control count as "NO").
bool MessageBoxYesNo(const QString &text, QWidget *parent);

// Top-left corner of a box of the given size centred over a window (its frame, in screen
// coordinates), moved as little as needed to lie wholly within the screen area; a box
// larger than the area keeps its top-left corner in it.
QPoint MessageBoxPositionOver(const QRect &windowFrame, const QSize &boxSize, const QRect &screenArea);
