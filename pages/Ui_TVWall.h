// The TV wall page: wall size, bezels and the wall display grid.
// For now only what the main window relies on; the controls come with the page itself.
#pragma once

#include <QWidget>

class Ui_TVWall : public QWidget
{
    Q_OBJECT
public:
    explicit Ui_TVWall(QWidget *parent = nullptr);

    // Sets every text of the page again; unless textsOnly, the lists are filled again too.
    void Retranslate(bool textsOnly);

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
};
