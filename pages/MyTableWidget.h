// The wall display grid of the TV wall page: one cell per screen, labelled with its number.
// The operator drags a band over cells and splices them, and reaches every other wall action
// through the context menu of a cell. The wall rules live in WallEditor, in cells and blocks;
// the grid maps pixels to cells, draws the wall the editor shows (redrawn on each of its change
// notices), the band, the group and single-exit frames, and tells the operator the outcome of
// every edit that changed nothing.
#pragma once

#include "protocol/WallEditor.h"

#include <QColor>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QVector>
#include <QRectF>
#include <QTableWidget>

class QMenu;

class MyTableWidget : public QTableWidget
{
    Q_OBJECT
public:
    // A band thinner than this is not drawn (it still selects cells).
    static constexpr int BandDrawMinimum = 4;

    explicit MyTableWidget(QWidget *parent = nullptr);
    ~MyTableWidget() override;

    // With keep, lays the cells out for the wall the editor shows. Without keep, writes a wall
    // of rows × columns to the device (the old wall's groups are cancelled first) and shows it
    // while it is being written.
    void Rebuild(quint32 rows, quint32 columns, bool keep);

    // Draws every cell again from its screen record (after a change of names or language).
    void RefreshCells();
    // The wall edits in flight are given up (lost link): the grid shows the device's wall.
    void ShowDeviceWall();

    // A settings colour text "r,g,b,a"; fallback unless it has exactly three commas and four
    // numbers of at most 255 (other characters are skipped).
    static QColor SettingColour(const QString &text, const QColor &fallback);
    // The tooltip of a cell, from its screen record.
    QString CellToolTip(quint32 cell) const;

    // The context menu for a cell, built again on each right press (the last one is kept).
    QMenu *BuildContextMenu(quint32 cell);
    QMenu *contextMenu() const;

    bool isBuilt() const { return m_built; }
    bool bandDrawn() const;
    QRectF band() const { return m_band; }
    // The cells the band covers; a hidden band covers no more than one cell and splices nothing.
    WallBlock bandCells() const;
    bool bandHidden() const { return m_bandHidden; }
    int cellWidth() const { return m_cellWidth; }
    int cellHeight() const { return m_cellHeight; }
    QRect cellRect(quint32 cell) const;
    // The frames drawn around each group and each screen taken out, in the editor's order.
    QVector<QRect> spliceFrames() const;
    QVector<QRect> exitFrames() const;
    int selectedSplice() const { return m_selectedSplice; }
    int selectedExit() const { return m_selectedExit; }
    quint32 currentCell() const { return m_currentCell; }
    const WallEditor &editor() const { return m_editor; }
    WallEditor &editor() { return m_editor; }
    QString lastToolTip() const { return m_lastToolTip; }

signals:
    void SGL_UpdateEmit();
    void SGL_EnableBezel(bool IsEnabled);

public slots:
    void SLT_ItemClicked(int row, int column);
    void SLT_ShowContextMenu(const QPoint &pos);
    void SLT_ScreenSplicing(bool checked);
    void SLT_CancelSplicing(bool checked);
    void SLT_SingleCancelSplicing(bool checked);
    void SLT_CurInputSelect(bool checked);
    void SLT_CurOutputSelect(bool checked);
    void SLT_SyncLock(bool checked);
    void SLT_CurMultiview(bool checked);
    void SLT_UpdateContent_TvWall();
    void SLT_SetTvWall_Bezel(unsigned Edge_H_Left, unsigned Edge_H_Right, unsigned Edge_V_Top, unsigned Edge_V_Bottom);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void loadColours();
    // Lays the table out again when the shown wall has another size, then redraws the cells.
    void showEditorWall();
    void layOutCells();
    // The operator learns why an edit changed nothing.
    void tellOutcome(WallEditor::Outcome outcome);
    QPoint clampedToViewport(const QPointF &point) const;
    void storeBand();
    // Gives every item the colours and flags of its screen's state.
    void refreshItems();
    void selectCell(quint32 cell);
    void addInputMenu(QMenu *menu, quint32 cell, bool spliced);
    void addOutputMenu(QMenu *menu, quint32 cell, bool spliced);
    void addMultiviewMenu(QMenu *menu, quint32 cell, bool spliced);
    // The number after "prefix-" in the sending action's object name, or 0.
    quint32 senderNumber(const QString &prefix) const;

    WallEditor m_editor;
    bool m_built = false;
    quint32 m_rows = 0;
    quint32 m_columns = 0;
    int m_cellWidth = 100;
    int m_cellHeight = 100;
    bool m_dragging = false;
    QPoint m_dragStart;
    QPoint m_dragEnd;
    QRectF m_band;
    bool m_bandHidden = true;
    quint32 m_currentCell = 0;
    int m_selectedSplice = -1;
    int m_selectedExit = -1;
    QPointer<QMenu> m_menu;
    QString m_lastToolTip;
    QColor m_defaultBg, m_defaultFg, m_splicingBg, m_splicingFg;
    QColor m_frame, m_frameHighlight, m_exitFrame, m_exitHighlight;
};
