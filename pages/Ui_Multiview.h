// The multiview page: window layout of each output.
// For now only what the main window relies on; the controls come with the page itself.
#pragma once

#include <QWidget>

class Ui_Multiview : public QWidget
{
    Q_OBJECT
public:
    explicit Ui_Multiview(QWidget *parent = nullptr);

    // Sets every text of the page again from the language table.
    void Retranslate(bool create, bool noRefresh);

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
    // The user renamed an input; pages that show input names refresh them.
    void SGL_SyncInputSourceName();
};
