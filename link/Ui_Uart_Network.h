// The connection page: the operator chooses the link, connects and disconnects, and reads
// the status log. For now it carries the status log, the status picture and the
// operations the main window and the reply handling call; the link controls come later.
#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;

class Ui_Uart_Network : public QWidget
{
    Q_OBJECT
public:
    explicit Ui_Uart_Network(QWidget *parent = nullptr);

    // Appends one line (with CR LF) at the end of the status log.
    void AppendStatusLine(const QString &text);
    // Drops the selected link, if any.
    void DisconnectActiveLink();
    // Shows the link parameters kept in the settings again.
    void RefreshFromSettings();
    // Shows the success or the fail picture beside the status log.
    void SetStatusPicture(bool success);

    QPlainTextEdit *statusLog = nullptr;
    QLabel *statusPicture = nullptr;

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
};
