// The EDID dialog: reads the EDID of the display on an output and shows it as hexadecimal
// text, saves it to a file, loads an EDID file, checks it and writes it to an input as its
// user EDID, and reads and sets an input's EDID mode. Every open dialog shares one 256-byte
// EDID buffer and one start directory for the file dialogs.
#pragma once

#include "shell/MyFramelessDialog.h"

#include <QByteArray>
#include <QFont>
#include <QString>
#include <functional>

class EdidDetailsPanel;
class MyComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QTextEdit;

class Ui_Edid : public MyFramelessDialog
{
    Q_OBJECT
public:
    // Asks the operator for a file name: parent, caption, start directory, filter; an empty
    // result means cancelled. Tests put their own in place, so that no file dialog blocks.
    using FileDialogFunction
        = std::function<QString(QWidget *, const QString &, const QString &, const QString &)>;
    static FileDialogFunction openFileDialog;
    static FileDialogFunction saveFileDialog;

    explicit Ui_Edid(QWidget *parent = nullptr);
    ~Ui_Edid() override;

    // Top-left corner that centres a window of the given size on a screen of the given size,
    // the screen taken as at most 1920 x 1080.
    static QPoint PositionForScreen(const QSize &screenSize, const QSize &windowSize);

    // The shared EDID buffer (always 256 bytes) and whether it holds what an output read or a
    // file load brought. Every open dialog's view shows exactly these bytes, or nothing while
    // the buffer holds nothing.
    static const QByteArray &EdidBuffer();
    static bool EdidBufferFilled();
    static void SetEdidBuffer(const QByteArray &bytes);
    static void ClearEdidBuffer();
    // Start directory of both file dialogs; the directory of the last loaded file.
    static QString LastDirectory();
    // The view's text for EDID text form (pairs separated by spaces): 16 pairs a row.
    static QString HexRows(const QString &hexText);
    // The font of the hex view and its headers: the system's fixed-pitch font.
    static QFont HexFont();
    // Input whose user EDID was sent and not yet confirmed; -1 for none.
    int PendingWriteInput() const { return m_pendingWriteInput; }
    // The EDID mode the device last reported for the selected input; -1 while none was read.
    int ConfirmedMode() const { return m_confirmedMode; }

    // Asks for the EDID mode of the selected input; the opener calls it right after show().
    void StartupRead();

    QWidget *contentWidget = nullptr;
    QFrame *frame = nullptr;
    QLabel *readPortLabel = nullptr;
    MyComboBox *outputComboBox = nullptr;
    QPushButton *readButton = nullptr;
    QPushButton *saveButton = nullptr;
    QLabel *writePortLabel = nullptr;
    MyComboBox *inputComboBox = nullptr;
    QPushButton *writeButton = nullptr;
    QPushButton *loadButton = nullptr;
    QLabel *modeLabel = nullptr;
    MyComboBox *modeComboBox = nullptr;
    QPushButton *modeWriteButton = nullptr;
    QPushButton *modeReadButton = nullptr;
    // The row and column numbers, laid out like the view itself so that they line up.
    QTextEdit *rowHeaderView = nullptr;
    QTextEdit *columnHeaderView = nullptr;
    QTextEdit *hexView = nullptr;
    // The decoded EDID of what the hex view shows, beside it.
    EdidDetailsPanel *detailsPanel = nullptr;

signals:
    void SGL_UpdateEmit();

public slots:
    void SLT_CloseMyDialog();
    void SLT_OUT_EDID_Read(bool checked);
    void SLT_OUT_EDID_Save(bool checked);
    void SLT_IN_EdidWritePort(int index);
    void SLT_IN_EDID_Write(bool checked);
    void SLT_IN_EDID_Load(bool checked);
    void SLT_comboBox_GetVaildContent();
    void SLT_EDID_MODE_Write(bool checked);
    void SLT_EDID_MODE_Read(bool checked);
    void SLT_Update_InEdidMode(unsigned int input, int mode);
    void SLT_Update_OutEdid(unsigned int output, QString edidHex);
    // Every received line: the device confirms a user EDID with a line the reply parser
    // leaves alone, so the dialog that wrote it looks for it here.
    void SLT_Update_RecvLine(const QString &line);
    // The device was identified: the port lists and the mode list follow its counts.
    void SLT_Update_PortCounts();
    // A line got no reply in time: a user EDID write it was cannot be confirmed any more, and
    // the mode list shows the device's mode again after an unanswered mode command.
    void SLT_WaitReplyTimeout(const QString &command);
    // The link was closed or lost: nothing sent on it will be answered.
    void SLT_LinkClosed();

private:
    void CreateWidgets();
    void PlaceWidgets();
    void SetTexts();
    void MakeConnections();
    void FillModeList();
    void FillPortLists();
    void PlaceHexView();
    // Shows the message for a failed check and empties the buffer and the view.
    void RejectBuffer(int check);
    // The view shows the shared buffer.
    void ShowEdidBuffer();
    // Asks the device for the selected input's EDID mode; the list shows no mode until it answers.
    void ReadSelectedInputMode();
    void ShowConfirmedMode();
    // Whether a command text or a received line concerns the selected input's EDID mode.
    bool ConcernsSelectedInputMode(const QString &text) const;
    void ForgetPendingWrite();

    // Input whose user EDID was sent and not yet confirmed; -1 for none.
    int m_pendingWriteInput = -1;
    // The line that carried it, as the link reports it (to stop waiting after a refusal).
    QString m_pendingWriteLine;
    int m_confirmedMode = -1;
};
