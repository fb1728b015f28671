#include "pages/Ui_System.h"

Ui_System::Ui_System(QWidget *parent)
    : QWidget(parent)
{ }

void Ui_System::Retranslate(bool firstTime, bool noRebuild)
{
    // The page has no labelled widgets yet.
    Q_UNUSED(firstTime)
    Q_UNUSED(noRebuild)
}
