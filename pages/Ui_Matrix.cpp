#include "pages/Ui_Matrix.h"

Ui_Matrix::Ui_Matrix(QWidget *parent)
    : QWidget(parent)
{ }

void Ui_Matrix::Retranslate(bool hideRenameBox, bool noRebuild)
{
    // The page has no labelled widgets yet.
    Q_UNUSED(hideRenameBox)
    Q_UNUSED(noRebuild)
}
