// The program's two message boxes: the program's picture, a blank title and fixed English
// button words. Both run modally and return when the box is closed.
#pragma once

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
