#include "pages/Ui_Multiview.h"

Ui_Multiview::Ui_Multiview(QWidget *parent)
    : QWidget(parent)
{ }

void Ui_Multiview::Retranslate(bool create, bool noRefresh)
{
    // The page has no labelled widgets yet.
    Q_UNUSED(create)
    Q_UNUSED(noRefresh)
}
