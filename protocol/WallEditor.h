// The rules of the video wall, on the wall model of DeviceState: laying the cells out,
// splicing a block of screens into one picture, cancelling a group, taking one screen out of
// its group and back, routing an input to a group, choosing a cell's output, a cell's
// multiview mode and a group's bezels. Each change is made in the model and queued with the
// wall commands; the kick is called after every push, so the link sends it. The wall display
// grid draws what this keeps and the headless client edits the device's wall through it.
#pragma once

#include <QRect>
#include <QRectF>
#include <QVector>
#include <QtGlobal>
#include <functional>

struct WallEntry;

// A block of cells: rows top..bottom and columns left..right, inclusive, 0-based.
struct WallBlock {
    quint32 top = 0;
    quint32 left = 0;
    quint32 bottom = 0;
    quint32 right = 0;

    bool coversMoreThanOneCell() const { return (bottom - top) + (right - left) != 0; }
    bool operator==(const WallBlock &other) const
    {
        return top == other.top && left == other.left && bottom == other.bottom && right == other.right;
    }
};

class WallEditor
{
public:
    using Kick = std::function<void()>;
    // What a splice did: done, nothing (one cell, outside the wall, or over a screen that
    // already belongs to a group), or refused for an output that is not SINGLE (its 0-based
    // number, 0 or above).
    static constexpr int SpliceDone = -1;
    static constexpr int SpliceNothing = -2;

    explicit WallEditor(Kick kick = Kick());

    // The screen record of the output a cell shows.
    static WallEntry &ScreenOfCell(quint32 cell);
    static quint32 OutputOfCell(quint32 cell);

    // Lays out rows × columns cells over a viewport of width × height pixels and stores the
    // size in the model. Without keep, the groups of the old wall are cancelled first (on the
    // device too) and every cell shows the output of its number. Nothing for 0 rows or columns.
    bool layOut(quint32 rows, quint32 cols, int width, int height, bool keep);
    // Cancels every group of the wall on the device; false when there was none.
    bool cancelAll();
    // Finds the groups of a wall read from the device and gives them their frames and
    // geometry; edges, inputs and flags stay as received.
    void restoreFromModel();

    // The cells a band rectangle (viewport pixels) covers.
    WallBlock bandCells(const QRectF &band) const;
    // Splices the block; returns SpliceDone, SpliceNothing, or the first output of the block
    // (row-major) that is not SINGLE, and then nothing changed or was sent.
    int splice(const WallBlock &block);
    // Cancels the group with that frame index; false for none.
    bool cancelGroup(int group);
    // Takes the screen of a spliced cell out of its group, or puts it back; false when the
    // cell is not in a group.
    bool toggleSingleExit(quint32 cell);
    // Routes an input to the cell's group (screens taken out excepted), or to the taken-out
    // screen alone; false when the cell is not in a group.
    bool selectInput(quint32 cell, quint32 input);
    // The cell shows another output; the cell that showed it takes this cell's old output,
    // so no output is shown twice. Refused (false) when either cell is spliced.
    bool selectOutput(quint32 cell, quint32 output);
    // The cell whose output is shown in another cell of the wall, or -1.
    int cellShowingOutput(quint32 output) const;
    void setMultiview(quint32 cell, quint32 mode);
    // Applies the four edges to every screen of the cell's group, counted from its anchor;
    // false when the cell is not in a group.
    bool setBezel(quint32 cell, quint32 left, quint32 right, quint32 up, quint32 bottom);

    // The group frame index of a cell's screen, or -1; its single-exit frame index, or -1.
    int groupOfCell(quint32 cell) const;
    int exitOfCell(quint32 cell) const;
    const QVector<QRect> &spliceFrames() const { return m_spliceFrames; }
    const QVector<QRect> &exitFrames() const { return m_exitFrames; }
    int cellWidth() const { return m_cellWidth; }
    int cellHeight() const { return m_cellHeight; }

private:
    void kick() const;
    static quint32 Rows();
    static quint32 Cols();
    static quint32 Total();
    QRect spliceFrameOf(quint32 topLeftCell, quint32 bottomRightCell) const;
    // The block of the group anchored at a cell, counted down its column and along its row.
    WallBlock groupBlockFrom(quint32 anchorCell) const;
    int anchorCellOf(quint32 cell) const;
    void clearSplice(WallEntry &screen);
    void pushWallInfo();

    Kick m_kick;
    int m_cellWidth = 100;
    int m_cellHeight = 100;
    QVector<QRect> m_spliceFrames;
    QVector<QRect> m_exitFrames;
};
