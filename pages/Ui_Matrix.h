// The matrix page: routes inputs to outputs from a cross-point grid.
// For now only what the main window relies on; the grid comes with the page itself.
#pragma once

#include <QWidget>

class Ui_Matrix : public QWidget
{
    Q_OBJECT
public:
    explicit Ui_Matrix(QWidget *parent = nullptr);

    // Sets every text of the page again from the language table.
    void Retranslate(bool hideRenameBox, bool noRebuild);

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
};
