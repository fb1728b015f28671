// The matrix page: a grid of cross-point buttons, one row per output and one column per
// input, with the port names and numbers around it. A click asks the device for a route;
// the grid changes only when the device's routing reply comes back through the reply
// parser. Ports are shown 16 at a time, names are changed by double-clicking them, and one
// input can be sent to every output at once.
#pragma once

#include "pages/MatrixKeyRouter.h"
#include "protocol/OutputLocks.h"
#include "protocol/RoutingDesk.h"

#include <QList>
#include <QWidget>
#include <functional>

class MatrixOverlay;
class MatrixRoutingBar;
struct DeviceRequest;
class MyComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

class Ui_Matrix : public QWidget
{
    Q_OBJECT
public:
    // At most this many inputs (columns) and outputs (rows) are shown at once.
    static constexpr quint32 PortsPerPage = 16;

    // Asks for a names file: parent, caption, whether to save; empty means cancelled. Tests put
    // their own in place, so that no file dialog blocks.
    using NamesFileDialog = std::function<QString(QWidget *, const QString &, bool)>;
    static NamesFileDialog namesFileDialog;

    explicit Ui_Matrix(QWidget *parent = nullptr);
    ~Ui_Matrix() override;

    // Builds the header labels and cross-point buttons for the given port counts, which
    // become DeviceState's counts.
    void BuildGrid(quint32 inputCount, quint32 outputCount);
    // Builds the grid again for the current counts once the model is confirmed.
    void RebuildIfConfirmed();
    // Sets every text again; hides the rename box, or else redraws both sides; builds the
    // grid again unless told not to (and only once the model is confirmed).
    void Retranslate(bool hideRenameBox, bool noRebuild);
    // Redraws the names, numbers and routes of the input side, the output side or both.
    void PageRefresh(bool inputs, bool outputs);
    // The cross-points and the Allset list show the confirmed routes (DeviceState) again.
    void ShowConfirmedState();
    // The same after a refused, timed-out or lost routing request.
    void ShowConfirmed(const DeviceRequest &request);
    // Stores the route of one output (255: of every output) and redraws the rows concerned.
    void SetRoute(quint32 input, quint32 output);
    // Routes output k to the k-th space-separated number of the text.
    void SetRouteList(const QString &text);
    // Asks the device for every route.
    void RequestRoutes();

    bool eventFilter(QObject *watched, QEvent *event) override;

    // With routes staged, asks whether to drop them; true when there is nothing staged any more.
    bool ConfirmDropStage();
    // Before a scene load (asked over the scene dialog): with outputs locked the operator
    // decides; the routes before the load become an undo step.
    bool ConfirmSceneLoad(QWidget *over);
    // Lock or unlock an output and keep the locks in their file.
    void SetOutputLocked(quint32 output, bool locked);

    QGroupBox *gridGroup = nullptr;
    // Corner, input names, input numbers, output names, output numbers, in this order.
    QList<QLabel *> headerLabels;
    // Row by row: button k is output row k / P, input column k mod P.
    QList<QPushButton *> crossPointButtons;
    QPushButton *upButton = nullptr;
    QPushButton *downButton = nullptr;
    QPushButton *leftButton = nullptr;
    QPushButton *rightButton = nullptr;
    QGroupBox *renameGroup = nullptr;
    QLabel *renameLabel = nullptr;
    QLineEdit *renameEdit = nullptr;
    QLabel *allOutputLabel = nullptr;
    MyComboBox *allOutputComboBox = nullptr;
    QPushButton *saveLoadButton = nullptr;
    QPushButton *edidButton = nullptr;

    quint32 inputPage = 0;
    quint32 outputPage = 0;
    quint32 inputsPerPage = 0;
    quint32 outputsPerPage = 0;
    quint32 inputRenameTarget = 0;
    quint32 outputRenameTarget = 0;
    bool gridBuilt = false;

    // Take mode, stage, locks and undo; the widgets below only show and feed them.
    OutputLocks outputLocks;
    RoutingDesk routingDesk { outputLocks };
    MatrixKeyRouter keyRouter;
    MatrixOverlay *overlay = nullptr;
    MatrixRoutingBar *routingBar = nullptr;
    // The Lock/Unlock menu of the output last right-clicked.
    QMenu *lockMenu = nullptr;

signals:
    void SGL_UpdateEmit();
    void SGL_Update_InEdidMode(unsigned int input, int mode);
    void SGL_Update_OutEdid(unsigned int output, QString edidHex);
    // The device was identified and the grid rebuilt for its port counts.
    void SGL_Update_PortCounts();
    // An input was renamed here; the other pages that show input names refresh them.
    void SGL_SyncInputSourceName();

public slots:
    void SLT_I_Rename();
    void SLT_O_Rename();
    void SLT_BTN_SwitchMatrix(bool checked);
    void SLT_BTN_Move_Up(bool checked);
    void SLT_BTN_Move_Down(bool checked);
    void SLT_BTN_Move_Left(bool checked);
    void SLT_BTN_Move_Right(bool checked);
    void SLT_AutoAddSource();
    void SLT_SetAllOutput(int index);
    void SLT_BTN_SaveLoadWin(bool checked);
    void SLT_BTN_EDIDWin(bool checked);
    void SLT_TakeModeToggled(bool on);
    void SLT_Take();
    void SLT_CancelStage();
    void SLT_Undo();
    void SLT_Redo();
    void SLT_ExportNames();
    void SLT_ImportNames();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void ShowOutcome(const RoutingDesk::Outcome &outcome);
    void UpdateMarks();
    QRect CrossPointRect(quint32 output, quint32 input) const;
    void ShowLockMenu(quint32 output, const QPoint &globalPos);
    void ShowKeyRoutePending();
    void SetTabOrder();
    void CreateFixedWidgets();
    void MakeConnections();
    void DeleteGrid();
    void CreateHeaderLabels();
    QLabel *NewHeaderLabel(const QRect &geometry, const QString &text, Qt::Alignment alignment);
    void CreateCrossPointButtons();
    void LayOutPage();
    void ShowArrows();
    void FillAllOutputComboWithNumbers();
    void FillAllOutputComboWithNames();

    QLabel *HeaderLabel(quint32 index) const;
    QPushButton *CrossPointButton(quint32 row, quint32 column) const;
    quint32 InputStart() const;
    quint32 VisibleInputs() const;
    quint32 OutputStart() const;
    quint32 VisibleOutputs() const;
    void ShowCornerText();
    void ClearAndHideLabels(quint32 first, quint32 last);
    void HideAllButtons();
    void ShowInputHeaders();
    void ShowOutputHeaders();
    void MarkRoutedButtonsAndShowVisible();
    void RedrawOutputRow(quint32 input, quint32 output);
    void StartRename(QLabel *label);
    void FinishRename(quint32 target, quint32 perPage, quint32 page, quint32 labelOffset, QString *names,
        void (Ui_Matrix::*slot)());
    static quint32 PageCount(quint32 portCount);
};
