// The multiview page: window layout of each output.
// For now it carries what the reply parser needs of it at identification (the shown output,
// the rebuild and refresh, the read of the shown output's state, and the mode reply's
// follow-up query); the controls come with the page itself.
#pragma once

#include <QWidget>

class Ui_Multiview : public QWidget
{
    Q_OBJECT
public:
    explicit Ui_Multiview(QWidget *parent = nullptr);

    // Sets every text of the page again from the language table.
    void Retranslate(bool create, bool noRefresh);

    // The output whose windows the page shows (the first until the output list exists).
    quint32 ShownOutput() const;
    // A mode reply: for the shown output, asks for its complete multiview state.
    void ShowMode(quint32 output, quint32 mode);
    // Refills the output list for the current output count (no list yet).
    void Rebuild();
    // Shows the rows the shown output's mode needs (no rows yet).
    void Refresh();
    // Asks for the shown output's multiview state, audio source, VKA and ITC.
    void ReadState();

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
    // The user renamed an input; pages that show input names refresh them.
    void SGL_SyncInputSourceName();
};
