#include "pages/Ui_TVWall.h"

Ui_TVWall::Ui_TVWall(QWidget *parent)
    : QWidget(parent)
{ }

void Ui_TVWall::Retranslate(bool textsOnly)
{
    // The page has no labelled widgets yet.
    Q_UNUSED(textsOnly)
}
