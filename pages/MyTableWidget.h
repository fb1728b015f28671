// The wall display grid of the TV wall page: one cell per screen, labelled with its number.
// The operator drags a band over cells and splices them, and reaches every other wall action
// through the context menu of a cell. The wall rules live in WallEditor; the grid draws the
// band, the group and single-exit frames and the cell colours, and turns clicks into edits.
#pragma once

#include "protocol/WallEditor.h"

#include <QColor>
#include <QPoint>
#include <QPointer>
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

    // Lays out rows × columns cells over the viewport. Without keep, the old wall's groups are
    // cancelled first (on the device too) and every cell shows the output of its number.
    void Rebuild(quint32 rows, quint32 columns, bool keep);

    // Draws every cell again from its screen record (after a change of names or language).
    void RefreshCells();

    // A settings colour text "r,g,b,a"; fallback unless it has exactly three commas and four
    // numbers of at most 255 (other characters are skipped).
    static QColor SettingColour(const QString &text, const QColor &fallback);
    // The tooltip of a cell, from its screen record.
    static QString CellToolTip(quint32 cell);

    // The context menu for a cell, built again on each right press (the last one is kept).
    QMenu *BuildContextMenu(quint32 cell);
    QMenu *contextMenu() const;

    bool isBuilt() const { return m_built; }
    bool bandDrawn() const;
    QRectF band() const { return m_band; }
    WallBlock bandCells() const { return m_editor.bandCells(m_band); }
    int selectedSplice() const { return m_selectedSplice; }
    int selectedExit() const { return m_selectedExit; }
    quint32 currentCell() const { return m_currentCell; }
    const WallEditor &editor() const { return m_editor; }
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
