// The TV wall page: wall size, bezels and the wall display grid.
// For now it carries what the reply parser needs of it at identification (the fill and the
// read of the wall layout); the controls come with the page itself.
#pragma once

#include <QWidget>

class Ui_TVWall : public QWidget
{
    Q_OBJECT
public:
    explicit Ui_TVWall(QWidget *parent = nullptr);

    // Sets every text of the page again; unless textsOnly, the lists are filled again too.
    void Retranslate(bool textsOnly);
    // Fills the row, column and available lists once the model is confirmed (no lists yet).
    void Fill();
    // Asks the device for its wall layout.
    void ReadWall();

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
};
