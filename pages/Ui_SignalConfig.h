// The signal configuration page: one row per input and one per output (16 per table at a
// time), where the operator sets each input's audio source and each output's HDCP mode,
// resolution, rotation, audio mute and freeze, and reads back any port's state. A control only
// queues its command; the tables change when the device's reply comes back through the reply
// parser, which calls the Show... operations below.
#pragma once

#include <QList>
#include <QWidget>

struct DeviceRequest;
class QCheckBox;
class MyComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class Ui_SignalConfig : public QWidget
{
    Q_OBJECT
public:
    // At most this many rows per table are shown at once.
    static constexpr quint32 PortsPerPage = 16;

    explicit Ui_SignalConfig(QWidget *parent = nullptr);
    ~Ui_SignalConfig() override;

    // Builds the rows of both tables for the given port counts, which become DeviceState's
    // counts, and lays out the page.
    void BuildRows(quint32 inputCount, quint32 outputCount);
    // Builds the rows again for the current counts once the model is confirmed.
    void RebuildIfConfirmed();
    // Sets every text of the page again from the language table, the rows' texts too unless
    // told not to (they keep every value and choice shown), and builds the rows again unless
    // told not to (only once the model is confirmed).
    void Retranslate(bool noRefresh, bool noRebuild);
    // Shows the rows of the current input page, output page or both, emptied: the values come
    // with the next replies.
    void PageRefresh(bool inputs, bool outputs);
    // Asks for every input's information, then every output's, with a send kick after each.
    void ReadAll();

    // What the replies show. Ports are 0-based; a port that is not on the current page, or a
    // keyword that names no list entry, changes nothing.
    void ShowInputFormat(quint32 input, const QString &text);
    void ShowInputAudio(quint32 input, const QString &keyword);
    // The input type and the input's output format are fixed ("HDMI", bypass) on this model.
    void ShowInputType(quint32 input, const QString &text);
    void ShowInputOutputFormat(quint32 input, const QString &text);
    void ShowOutputType(quint32 output, const QString &keyword);
    void ShowOutputInputFormat(quint32 output, const QString &text);
    void ShowOutputResolution(quint32 output, const QString &keyword);
    // Every sending control of the port's row shows what the device confirmed (DeviceState),
    // empty where nothing was confirmed: after a reply, a refusal, a time-out or a lost link.
    void ShowConfirmedInput(quint32 input);
    void ShowConfirmedOutput(quint32 output);
    // The same for every row on the current pages.
    void ShowConfirmedState();
    // The same for the one control a refused, timed-out or lost request touched.
    void ShowConfirmed(const DeviceRequest &request);

    QGroupBox *inputGroup = nullptr;
    QGroupBox *outputGroup = nullptr;
    QPushButton *readAllInputButton = nullptr;
    QPushButton *readAllOutputButton = nullptr;
    // Port, input type, input format, output format, audio select.
    QList<QLabel *> inputHeaderLabels;
    // Port, output type, input format, output format, rotate, mute, freeze.
    QList<QLabel *> outputHeaderLabels;
    QPushButton *inputUpButton = nullptr;
    QPushButton *inputDownButton = nullptr;
    QPushButton *outputUpButton = nullptr;
    QPushButton *outputDownButton = nullptr;

    // The row widgets, one list per column, indexed by row.
    QList<QLabel *> inputPortLabels;
    QList<MyComboBox *> inputTypeCombos;
    QList<QLineEdit *> inputFormatEdits;
    QList<MyComboBox *> inputOutputFormatCombos;
    QList<MyComboBox *> inputAudioCombos;
    QList<QPushButton *> inputReadButtons;
    QList<QLabel *> outputPortLabels;
    QList<MyComboBox *> outputTypeCombos;
    QList<QLineEdit *> outputInputFormatEdits;
    QList<MyComboBox *> outputFormatCombos;
    QList<MyComboBox *> outputRotateCombos;
    QList<QCheckBox *> outputMuteBoxes;
    QList<QCheckBox *> outputFreezeBoxes;
    QList<QPushButton *> outputReadButtons;

    quint32 inputPage = 0;
    quint32 outputPage = 0;
    quint32 inputsPerPage = 0;
    quint32 outputsPerPage = 0;
    bool rowsBuilt = false;

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();

public slots:
    void SLT_I_InputType(int index);
    void SLT_I_OutputFormat(int index);
    void SLT_I_AudioSelect(int index);
    void SLT_I_Read(bool checked);
    void SLT_I_Up(bool checked);
    void SLT_I_Down(bool checked);
    void SLT_O_OutputType(int index);
    void SLT_O_OutputFormat(int index);
    void SLT_O_Rotate(int index);
    void SLT_O_AudioMute(bool checked);
    void SLT_O_Freeze(bool checked);
    void SLT_O_Read(bool checked);
    void SLT_O_Up(bool checked);
    void SLT_O_Down(bool checked);
    void SLT_BTN_ReadAllInput(bool checked);
    void SLT_BTN_ReadAllOutput(bool checked);

private:
    void CreateFixedWidgets();
    void MakeConnections();
    void DeleteRows();
    void CreateInputRow(int row);
    void CreateOutputRow(int row);
    void FillInputCombos(int row);
    void FillOutputCombos(int row);
    void RefreshInputRows();
    void RefreshOutputRows();
    void LayOutPage();
    void RetranslateRows();
    // How a display field shows the device's text in the current language.
    static QString ShownInputFormat(const QString &deviceText);
    static QString ShownOutputInputFormat(const QString &deviceText);

    // The row of the sending widget, read from its object name; -1 without a sender.
    int SenderRow(int prefixLength) const;
    // The port a row of the current page stands for.
    quint32 InputOfRow(int row) const;
    quint32 OutputOfRow(int row) const;
    // The row that shows the port on the current page, or -1.
    static int RowOnPage(quint32 port, quint32 page, quint32 count, int builtRows);
    // Rows of the current page, never more than were built.
    static int RowsOnPage(quint32 page, quint32 count, int builtRows);
    static quint32 PageCount(quint32 portCount);
};
