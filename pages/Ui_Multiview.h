// The multiview page: the window layout of one output at a time. The operator picks the output,
// its mode (SINGLE, PIP, PBP, 3xWIN, 4xWIN), the mode's layout variant and aspect, the PIP
// position and size, a user-defined window, the input of each window, the audio source, the
// no-signal picture (VKA) and ITC. Every control sends one command; what the page shows is set
// from the device's replies through the operations the reply parser calls. A preview picture
// shows the chosen layout, and double-clicking a source name renames that input.
#pragma once

#include <QList>
#include <QString>
#include <QWidget>

struct DeviceRequest;
struct MultiviewState;
class MyComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class Ui_Multiview : public QWidget
{
    Q_OBJECT
public:
    static constexpr int WindowCount = 4;
    static constexpr int SourceCount = 4;

    explicit Ui_Multiview(QWidget *parent = nullptr);

    // The file name (without ".png") of the preview picture for a multiview state.
    static QString PictureName(const MultiviewState &state);
    // Full path of that picture beside the program.
    static QString PicturePath(const MultiviewState &state);

    // Sets every text again; create also builds the window/source grid. Refreshes the rows
    // unless told not to.
    void Retranslate(bool create, bool noRefresh);

    // Operations of the reply parser; those naming an output act only for the selected one.
    quint32 ShownOutput() const { return selectedOutput; }
    void Rebuild();
    void Refresh();
    void ReadState();
    void ShowMode(quint32 output, quint32 mode);
    void ShowSyncState(quint32 output);
    void ShowWindowInput(quint32 output, quint32 window, quint32 input);
    void FillLayoutList(quint32 output, quint32 count);
    void ShowUserWindow(quint32 output, quint32 hStart, quint32 vStart, quint32 hSize, quint32 vSize);
    void ShowPipPos(quint32 output, quint32 position);
    void ShowPipSize(quint32 output, quint32 size);
    void ShowAspect(quint32 output, quint32 aspect);
    void ShowLayout(quint32 output, quint32 layout);
    void ShowAudioSource(quint32 output, quint32 source);
    void ShowVka(quint32 output, quint32 vka);
    void ShowItc(quint32 output, quint32 itc);
    // Every control shows the shown output's confirmed state (DeviceState): after a refused,
    // timed-out or lost request, and after a language switch.
    void ShowConfirmedState();
    // The same for the controls a refused, timed-out or lost request of the shown output touched.
    void ShowConfirmed(const DeviceRequest &request);
    // Shows the current input names on the source labels (after a rename anywhere).
    void ShowSourceNames();

    bool eventFilter(QObject *watched, QEvent *event) override;

    QLabel *outputLabel = nullptr;
    MyComboBox *outputComboBox = nullptr;
    QFrame *modeFrame = nullptr;
    QLabel *multiviewLabel = nullptr;
    // SINGLE, PIP, PBP, 3xWIN, 4xWIN.
    QList<QPushButton *> modeButtons;
    QLabel *aspectLabel = nullptr;
    MyComboBox *aspectComboBox = nullptr;
    QLabel *layoutLabel = nullptr;
    MyComboBox *layoutComboBox = nullptr;
    QLabel *positionLabel = nullptr;
    MyComboBox *positionComboBox = nullptr;
    QLabel *sizeLabel = nullptr;
    MyComboBox *sizeComboBox = nullptr;
    QLabel *userWindowHeading = nullptr;
    // H Start, V Start, H Size, V Size.
    QList<QLabel *> userWindowLabels;
    QList<QLineEdit *> userWindowEdits;
    QPushButton *userWindowReadButton = nullptr;
    QPushButton *userWindowWriteButton = nullptr;
    QFrame *pictureFrame = nullptr;
    QLabel *pictureLabel = nullptr;
    QFrame *windowSourceFrame = nullptr;
    QLabel *cornerLabel = nullptr;
    QList<QLabel *> sourceLabels;
    QList<QLabel *> windowLabels;
    // Button k: window k / 4, source k mod 4.
    QList<QPushButton *> windowSourceButtons;
    QLineEdit *sourceNameEdit = nullptr;
    QFrame *audioFrame = nullptr;
    QLabel *audioSourceLabel = nullptr;
    MyComboBox *audioSourceComboBox = nullptr;
    QLabel *vkaLabel = nullptr;
    MyComboBox *vkaComboBox = nullptr;
    QLabel *itcLabel = nullptr;
    MyComboBox *itcComboBox = nullptr;

    quint32 selectedOutput = 0;
    quint32 renameTarget = 0;
    // The picture shown last (empty until one was found).
    QString shownPicturePath;
    // The output and user window the editors were last read for (empty: none).
    QString userWindowReadFor;

signals:
    // Command lines were queued; the main window kicks the link services.
    void SGL_UpdateEmit();
    // The user renamed an input; pages that show input names refresh them.
    void SGL_SyncInputSourceName();

public slots:
    void SLT_ModifySourceName();
    void SLT_BTN_WindowSignal(bool checked);
    void SLT_WindowMode_Single(bool checked);
    void SLT_WindowMode_PIP(bool checked);
    void SLT_WindowMode_PBP(bool checked);
    void SLT_WindowMode_3xWIN(bool checked);
    void SLT_WindowMode_4xWIN(bool checked);
    void SLT_SetCurOutput(int index);
    void SLT_SetAspect(int index);
    void SLT_SetMode(int index);
    void SLT_SetPosition(int index);
    void SLT_SetSize(int index);
    void SLT_ReadCaptureDisplayInfo();
    void SLT_SetCaptureDisplayInfo();
    void SLT_SetAudioSource(int index);
    void SLT_SetVKA(int index);
    void SLT_SetITC(int index);

private:
    void CreateFixedWidgets();
    void SetTabOrder();
    void CreateModeFrame();
    void CreateUserWindowBlock();
    void CreateWindowSourceFrame();
    void CreateAudioFrame();
    void CreateGrid();
    void MakeConnections();
    void SetTexts();
    void RefillFixedCombos();
    void RefillLayoutCombo(bool create);
    void SetUserWindowHeading();
    void SetUserWindowBlockVisible(bool visible);
    void ApplyModeView(quint32 mode);
    void ShowSettingsRowsFor(quint32 mode);
    void RefreshPicture();
    void RequestMode(quint32 mode);
    void QueueStateReads();
    void ShowModeSettings();
    void SetUserWindowEditable(bool editable);
    void ReadUserWindowIfNew();
    void CouplePositionToSize(int position);
    void CoupleSizeToPosition(int size);
    bool IsShown(quint32 output) const { return output == selectedOutput; }
    MultiviewState &SelectedState() const;
};
