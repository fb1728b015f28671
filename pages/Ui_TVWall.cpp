#include "pages/Ui_TVWall.h"

#include "protocol/CommandSet.h"

Ui_TVWall::Ui_TVWall(QWidget *parent)
    : QWidget(parent)
{ }

void Ui_TVWall::Retranslate(bool textsOnly)
{
    // The page has no labelled widgets yet.
    Q_UNUSED(textsOnly)
}

void Ui_TVWall::Fill()
{
    // The wall size lists come with the page itself.
}

void Ui_TVWall::ReadWall()
{
    CmdGetTvWallInfo();
    emit SGL_UpdateEmit();
}
