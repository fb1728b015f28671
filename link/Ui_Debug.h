// The debug console: a small window on top of the others that shows the raw lines the open
// link receives and sends, and sends text typed by the operator. The lines the program logs
// stay in their own read-only boxes, apart from the box the operator types in, so Send never
// repeats a logged line and a line logged while the operator types never joins the typing.
#pragma once

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QWidget>

class QKeyEvent;
class QLabel;
class QPushButton;
class QTextEdit;
class QTime;

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
    // The bytes typed as hexadecimal pairs ("47 45 54 0D", "4745540D"; spaces, tabs and
    // line breaks between pairs are free). False for any other character or an odd digit.
    static bool HexPairsToBytes(const QString &typedText, QByteArray *bytes);
    // The log lines for one transfer: time, direction ("RX" or "TX") and the bytes, either
    // as upper-case hexadecimal pairs on one line or as text, one log line per text line.
    static QStringList LogLines(const QTime &time, const QString &direction, const QByteArray &bytes, bool hex);

    bool IsHexFormat() const { return m_hexFormat; }

    QLabel *recvLabel = nullptr;
    QTextEdit *recvBox = nullptr;
    QPushButton *recvClearButton = nullptr;
    QLabel *sendLabel = nullptr;
    // The sent lines, as the link wrote them.
    QTextEdit *sendLogBox = nullptr;
    QPushButton *sendClearButton = nullptr;
    // What the operator types; emptied by each Send that queued it.
    QTextEdit *sendBox = nullptr;
    // Why the last Send queued nothing; empty otherwise.
    QLabel *sendNoteLabel = nullptr;
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
    // A received line, decoded as UTF-8.
    void SLT_Sync_Show_Recv(QString Text);
    // A received line as it came from the link: the HEX view shows these bytes, also those
    // that are not UTF-8 (line noise, a wrong baud rate), which a decoded text no longer has.
    void SLT_Sync_Show_RecvBytes(QByteArray Bytes);
    // A sent line, one character per byte (Latin-1).
    void SLT_Sync_Show_Send(QString Text);
    void SLT_SEND_DATA();

protected:
    // Escape closes the console.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void CreateWidgets();
    void ArrangeWidgets();
    void MakeConnections();
    void ShowFormat(const QString &formatName);
    void PlaceOnScreen();
    void ShowIcon();
    // The bytes Send would transfer for what is typed, or false (with the note shown) when
    // the typed text is not valid for the format.
    bool TypedBytes(QByteArray *bytes);

    bool m_hexFormat = false;
};
