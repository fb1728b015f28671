#include "protocol/WallEditor.h"

#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"

#include <QtMath>

namespace {

// The frame of a group lies this far inside its outer cells; a single-exit frame this far
// inside its cell.
constexpr int SpliceFrameInset = 3;
constexpr int ExitFrameInset = 9;

QRect ToRect(const SlotRect &r)
{
    return QRect(r.x, r.y, r.width, r.height);
}

SlotRect ToSlotRect(const QRect &r)
{
    return SlotRect { r.x(), r.y(), r.width(), r.height() };
}

int RoundHalfUp(qreal value)
{
    return qFloor(value + 0.5);
}

quint32 CellIndex(quint32 row, quint32 col, quint32 cols)
{
    return row * cols + col;
}

} // namespace

WallEditor::WallEditor(Kick kick)
    : m_kick(std::move(kick))
{ }

WallEntry &WallEditor::ScreenOfCell(quint32 cell)
{
    return WallSlot(OutputOfCell(cell));
}

quint32 WallEditor::OutputOfCell(quint32 cell)
{
    return WallSlot(cell).outputIndex;
}

quint32 WallEditor::Rows()
{
    return DeviceState.wall.rows;
}

quint32 WallEditor::Cols()
{
    return DeviceState.wall.cols;
}

quint32 WallEditor::Total()
{
    return qMin(DeviceState.wall.total, MaxPorts);
}

void WallEditor::kick() const
{
    if (m_kick)
        m_kick();
}

bool WallEditor::layOut(quint32 rows, quint32 cols, int width, int height, bool keep)
{
    if (rows == 0 || cols == 0)
        return false;
    if (!keep)
        cancelAll();
    m_spliceFrames.clear();
    m_exitFrames.clear();
    m_cellWidth = width / int(cols);
    m_cellHeight = height / int(rows);
    DeviceState.wall.rows = rows;
    DeviceState.wall.cols = cols;
    DeviceState.wall.total = rows * cols;
    for (quint32 i = 0; i < Total(); ++i) {
        WallEntry &record = WallSlot(i);
        record.cellRect = SlotRect { int(i % cols) * m_cellWidth, int(i / cols) * m_cellHeight, m_cellWidth,
            m_cellHeight };
        record.exitRect = SlotRect {};
        record.frameRect = SlotRect {};
        record.spliceRowPos = record.spliceColPos = record.spliceRows = record.spliceCols = 0;
        if (keep)
            continue;
        record.spliced = record.singleExit = record.flagBit1 = false;
        record.edgeLeft = record.edgeRight = record.edgeUp = record.edgeBottom = 0;
        record.spliceAnchor = 0;
        record.outputIndex = i;
        record.inputIndex = DeviceState.routeInputOfOutput[i];
    }
    return true;
}

void WallEditor::clearSplice(WallEntry &screen)
{
    screen.spliced = screen.singleExit = screen.flagBit1 = false;
    screen.exitRect = screen.frameRect = SlotRect {};
    screen.edgeLeft = screen.edgeRight = screen.edgeUp = screen.edgeBottom = 0;
    screen.spliceAnchor = 0;
    screen.spliceRowPos = screen.spliceColPos = screen.spliceRows = screen.spliceCols = 0;
}

void WallEditor::pushWallInfo()
{
    CmdSetTvWallInfo(DeviceState.wall.total);
    kick();
}

bool WallEditor::cancelAll()
{
    // A screen flagged as spliced without a group of its own (a layout the device sent) is
    // cancelled too, or the device would keep it.
    bool anySpliced = !m_spliceFrames.isEmpty();
    for (quint32 cell = 0; cell < Total() && !anySpliced; ++cell)
        anySpliced = ScreenOfCell(cell).spliced || ScreenOfCell(cell).singleExit;
    if (!anySpliced)
        return false;
    for (quint32 cell = 0; cell < Total(); ++cell) {
        clearSplice(ScreenOfCell(cell));
        CmdSetWallPort(cell);
        kick();
    }
    pushWallInfo();
    m_spliceFrames.clear();
    m_exitFrames.clear();
    return true;
}

QRect WallEditor::spliceFrameOf(quint32 topLeftCell, quint32 bottomRightCell) const
{
    const QRect tl = ToRect(WallSlot(topLeftCell).cellRect);
    const QRect br = ToRect(WallSlot(bottomRightCell).cellRect);
    const int x = tl.x() + SpliceFrameInset;
    const int y = tl.y() + SpliceFrameInset;
    const int width = qAbs(br.x() + br.width() - SpliceFrameInset - x);
    const int height = qAbs(br.y() + br.height() - SpliceFrameInset - y);
    return QRect(x, y, width, height);
}

WallBlock WallEditor::groupBlockFrom(quint32 anchorCell) const
{
    const quint32 cols = Cols();
    WallBlock block;
    block.top = block.bottom = anchorCell / cols;
    block.left = block.right = anchorCell % cols;
    const auto carriesAnchor = [anchorCell](quint32 cell) {
        const WallEntry &screen = ScreenOfCell(cell);
        return screen.spliced && screen.spliceAnchor == anchorCell;
    };
    while (block.bottom + 1 < Rows() && carriesAnchor(CellIndex(block.bottom + 1, block.left, cols)))
        ++block.bottom;
    while (block.right + 1 < cols && carriesAnchor(CellIndex(block.top, block.right + 1, cols)))
        ++block.right;
    return block;
}

void WallEditor::restoreFromModel()
{
    m_spliceFrames.clear();
    m_exitFrames.clear();
    const quint32 cols = Cols();
    for (quint32 anchor = 0; anchor < Total(); ++anchor) {
        const WallEntry &anchorScreen = ScreenOfCell(anchor);
        if (!anchorScreen.spliced || anchorScreen.spliceAnchor != anchor)
            continue;
        const WallBlock block = groupBlockFrom(anchor);
        const QRect frame = spliceFrameOf(anchor, CellIndex(block.bottom, block.right, cols));
        m_spliceFrames.append(frame);
        for (quint32 row = block.top; row <= block.bottom; ++row) {
            for (quint32 col = block.left; col <= block.right; ++col) {
                const quint32 cell = CellIndex(row, col, cols);
                WallEntry &screen = ScreenOfCell(cell);
                screen.frameRect = ToSlotRect(frame);
                screen.spliceRowPos = row - block.top + 1;
                screen.spliceColPos = col - block.left + 1;
                screen.spliceRows = block.bottom - block.top + 1;
                screen.spliceCols = block.right - block.left + 1;
                if (screen.singleExit) {
                    const QRect exit = ToRect(WallSlot(cell).cellRect)
                                           .adjusted(ExitFrameInset, ExitFrameInset, -ExitFrameInset, -ExitFrameInset);
                    screen.exitRect = ToSlotRect(exit);
                    m_exitFrames.append(exit);
                }
            }
        }
    }
}

WallBlock WallEditor::bandCells(const QRectF &band) const
{
    const int cellWidth = qMax(1, m_cellWidth);
    const int cellHeight = qMax(1, m_cellHeight);
    const quint32 lastRow = Rows() > 0 ? Rows() - 1 : 0;
    const quint32 lastCol = Cols() > 0 ? Cols() - 1 : 0;
    const auto cellOf = [](qreal coordinate, int size, quint32 last) {
        return qMin(quint32(qMax(0, RoundHalfUp(coordinate) / size)), last);
    };
    WallBlock block;
    block.top = cellOf(band.y(), cellHeight, lastRow);
    block.bottom = cellOf(band.y() + band.height(), cellHeight, lastRow);
    block.left = cellOf(band.x(), cellWidth, lastCol);
    block.right = cellOf(band.x() + band.width(), cellWidth, lastCol);
    return block;
}

int WallEditor::splice(const WallBlock &block)
{
    const quint32 cols = Cols();
    const bool insideWall = block.top <= block.bottom && block.left <= block.right && block.bottom < Rows()
        && block.right < cols;
    if (!insideWall || !block.coversMoreThanOneCell())
        return SpliceNothing;
    QVector<quint32> outputs;
    for (quint32 row = block.top; row <= block.bottom; ++row) {
        for (quint32 col = block.left; col <= block.right; ++col) {
            const quint32 cell = CellIndex(row, col, cols);
            if (MultiviewOf(OutputOfCell(cell)).mode != 0)
                return int(OutputOfCell(cell));
            // A screen belongs to one group only: a block over another group changes nothing.
            if (ScreenOfCell(cell).spliced)
                return SpliceNothing;
            outputs.append(OutputOfCell(cell));
        }
    }
    const quint32 anchor = CellIndex(block.top, block.left, cols);
    const QRect frame = spliceFrameOf(anchor, CellIndex(block.bottom, block.right, cols));
    m_spliceFrames.append(frame);

    const quint32 input = ScreenOfCell(anchor).inputIndex;
    for (quint32 output : qAsConst(outputs))
        WallSlot(output).inputIndex = input;
    CmdSetRouteList(input, outputs.constData(), quint32(outputs.size()));
    kick();

    for (quint32 row = block.top; row <= block.bottom; ++row) {
        for (quint32 col = block.left; col <= block.right; ++col) {
            const quint32 cell = CellIndex(row, col, cols);
            WallEntry &screen = ScreenOfCell(cell);
            clearSplice(screen);
            screen.spliced = true;
            screen.frameRect = ToSlotRect(frame);
            screen.spliceAnchor = anchor;
            screen.spliceRowPos = row - block.top + 1;
            screen.spliceColPos = col - block.left + 1;
            screen.spliceRows = block.bottom - block.top + 1;
            screen.spliceCols = block.right - block.left + 1;
            CmdSetWallPort(cell);
            kick();
        }
    }
    pushWallInfo();
    return SpliceDone;
}

bool WallEditor::cancelGroup(int group)
{
    if (group < 0 || group >= m_spliceFrames.size())
        return false;
    const QRect frame = m_spliceFrames.takeAt(group);
    for (quint32 cell = 0; cell < Total(); ++cell) {
        WallEntry &screen = ScreenOfCell(cell);
        if (ToRect(screen.frameRect) != frame)
            continue;
        if (screen.singleExit)
            m_exitFrames.removeOne(ToRect(screen.exitRect));
        clearSplice(screen);
        CmdSetWallPort(cell);
        kick();
    }
    pushWallInfo();
    return true;
}

bool WallEditor::toggleSingleExit(quint32 cell)
{
    if (groupOfCell(cell) < 0)
        return false;
    WallEntry &screen = ScreenOfCell(cell);
    if (!screen.singleExit) {
        const QRect exit = ToRect(WallSlot(cell).cellRect)
                               .adjusted(ExitFrameInset, ExitFrameInset, -ExitFrameInset, -ExitFrameInset);
        m_exitFrames.append(exit);
        screen.exitRect = ToSlotRect(exit);
        screen.singleExit = true;
    } else {
        m_exitFrames.removeOne(ToRect(screen.exitRect));
        screen.singleExit = false;
        screen.exitRect = SlotRect {};
    }
    CmdSetWallPort(cell);
    kick();
    pushWallInfo();
    return true;
}

bool WallEditor::selectInput(quint32 cell, quint32 input)
{
    if (groupOfCell(cell) < 0 || input >= DeviceState.inputCount)
        return false;
    WallEntry &screen = ScreenOfCell(cell);
    if (screen.singleExit) {
        screen.inputIndex = input;
        CmdSetRoute(input, OutputOfCell(cell));
    } else {
        const QRect frame = ToRect(screen.frameRect);
        QVector<quint32> outputs;
        for (quint32 k = 0; k < Total(); ++k) {
            WallEntry &member = ScreenOfCell(k);
            if (ToRect(member.frameRect) != frame || member.singleExit)
                continue;
            member.inputIndex = input;
            outputs.append(OutputOfCell(k));
        }
        CmdSetRouteList(input, outputs.constData(), quint32(outputs.size()));
    }
    kick();
    return true;
}

int WallEditor::cellShowingOutput(quint32 output) const
{
    for (quint32 k = 0; k < Total(); ++k) {
        if (OutputOfCell(k) == output)
            return int(k);
    }
    return -1;
}

bool WallEditor::selectOutput(quint32 cell, quint32 output)
{
    if (cell >= Total() || output >= DeviceState.outputCount || ScreenOfCell(cell).spliced)
        return false;
    const int other = cellShowingOutput(output);
    if (other == int(cell))
        return true;
    // Swapping with a screen of a group would move the group's output out of it.
    if (other >= 0 && ScreenOfCell(quint32(other)).spliced)
        return false;
    const quint32 previous = OutputOfCell(cell);
    WallSlot(cell).outputIndex = output;
    if (other >= 0)
        WallSlot(quint32(other)).outputIndex = previous;
    return true;
}

void WallEditor::setMultiview(quint32 cell, quint32 mode)
{
    const quint32 output = OutputOfCell(cell);
    MultiviewOf(output).mode = mode;
    CmdSetMultiviewMode(output, mode);
    kick();
}

int WallEditor::anchorCellOf(quint32 cell) const
{
    const quint32 anchor = ScreenOfCell(cell).spliceAnchor;
    if (anchor >= Total())
        return -1;
    const WallEntry &anchorScreen = ScreenOfCell(anchor);
    return anchorScreen.spliced && anchorScreen.spliceAnchor == anchor ? int(anchor) : -1;
}

bool WallEditor::setBezel(quint32 cell, quint32 left, quint32 right, quint32 up, quint32 bottom)
{
    if (Total() == 0 || groupOfCell(cell) < 0)
        return false;
    const int anchor = anchorCellOf(cell);
    if (anchor < 0)
        return false;
    const WallBlock block = groupBlockFrom(quint32(anchor));
    for (quint32 row = block.top; row <= block.bottom; ++row) {
        for (quint32 col = block.left; col <= block.right; ++col) {
            const quint32 member = CellIndex(row, col, Cols());
            WallEntry &screen = ScreenOfCell(member);
            screen.edgeLeft = left;
            screen.edgeRight = right;
            screen.edgeUp = up;
            screen.edgeBottom = bottom;
            CmdSetWallPort(member);
            kick();
        }
    }
    pushWallInfo();
    return true;
}

int WallEditor::groupOfCell(quint32 cell) const
{
    const WallEntry &screen = ScreenOfCell(cell);
    return screen.spliced ? m_spliceFrames.indexOf(ToRect(screen.frameRect)) : -1;
}

int WallEditor::exitOfCell(quint32 cell) const
{
    const WallEntry &screen = ScreenOfCell(cell);
    return screen.spliced && screen.singleExit ? m_exitFrames.indexOf(ToRect(screen.exitRect)) : -1;
}
