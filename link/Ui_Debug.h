// The debug console: a small window on top of the others that shows the raw lines the open
// link receives and sends, and sends text typed by the operator as it is.
#pragma once

#include <QRect>
#include <QSize>
#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;

class Ui_Debug : public QWidget
{
    Q_OBJECT
public:
    // The most lines each box keeps; older lines are dropped.
    static constexpr int MaximumLines = 200;

    explicit Ui_Debug(QWidget *parent = nullptr);

    // Size and place for a primary screen of the given size: 640 x 540 on a full-HD screen,
    // a third of the width and half the height on a smaller one, centred in at most the
    // first 1920 x 1080 pixels.
    static QRect GeometryForScreen(const QSize &screenSize);

    // The bytes one press of Send transfers for the typed text: UTF-8, every LF as CR LF,
    // nothing added at the end.
    static QByteArray TransferBytes(const QString &typedText);

    QLabel *recvLabel = nullptr;
    QTextEdit *recvBox = nullptr;
    QPushButton *recvClearButton = nullptr;
    QLabel *sendLabel = nullptr;
    QTextEdit *sendBox = nullptr;
    QPushButton *sendClearButton = nullptr;
    QPushButton *sendButton = nullptr;
    QPushButton *hexFormatButton = nullptr;
    QPushButton *asciiFormatButton = nullptr;

signals:
    void SGL_UpdateEmit();

public slots:
    void SLT_SETUP_UI_DEBUG();
    void SLT_CLOSE_UI_DEBUG();
    void SLT_CLEAR_RECV_DATA();
    void SLT_CLEAR_SEND_DATA();
    void SLT_SELECT_HEX_FORMAT();
    void SLT_SELECT_ASCII_FORMAT();
    void SLT_Sync_Show_Recv(QString Text);
    void SLT_Sync_Show_Send(QString Text);
    void SLT_SEND_DATA();

private:
    void CreateWidgets();
    void ArrangeWidgets();
    void MakeConnections();
    void ShowFormat(const QString &formatName);
    void PlaceOnScreen();
    void ShowIcon();
};
