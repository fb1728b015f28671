#include "protocol/WallEditor.h"

#include "link/LinkQueue.h"
#include "protocol/CommandSet.h"

namespace {

quint32 CellIndex(quint32 row, quint32 col, quint32 cols)
{
    return row * cols + col;
}

quint32 CellCount(const WallState &wall)
{
    return qMin(wall.total, MaxPorts);
}

WallEntry &Entry(WallState &wall, quint32 index)
{
    return wall.entry[ClampSlot(index)];
}

const WallEntry &Entry(const WallState &wall, quint32 index)
{
    return wall.entry[ClampSlot(index)];
}

WallEntry &ScreenOf(WallState &wall, quint32 cell)
{
    return Entry(wall, Entry(wall, cell).outputIndex);
}

const WallEntry &ScreenOf(const WallState &wall, quint32 cell)
{
    return Entry(wall, Entry(wall, cell).outputIndex);
}

bool IsAnchor(const WallState &wall, quint32 cell)
{
    const WallEntry &screen = ScreenOf(wall, cell);
    return cell < CellCount(wall) && screen.spliced && screen.spliceAnchor == cell;
}

// The block of the group anchored at a cell, counted down its column and along its row.
WallBlock BlockFrom(const WallState &wall, quint32 anchor)
{
    WallBlock block;
    if (wall.cols == 0)
        return block;
    block.top = block.bottom = anchor / wall.cols;
    block.left = block.right = anchor % wall.cols;
    const auto carriesAnchor = [&wall, anchor](quint32 cell) {
        const WallEntry &screen = ScreenOf(wall, cell);
        return screen.spliced && screen.spliceAnchor == anchor;
    };
    while (block.bottom + 1 < wall.rows && carriesAnchor(CellIndex(block.bottom + 1, block.left, wall.cols)))
        ++block.bottom;
    while (block.right + 1 < wall.cols && carriesAnchor(CellIndex(block.top, block.right + 1, wall.cols)))
        ++block.right;
    return block;
}

template <typename Visit> void ForEachCell(const WallState &wall, const WallBlock &block, Visit visit)
{
    for (quint32 row = block.top; row <= block.bottom; ++row) {
        for (quint32 col = block.left; col <= block.right; ++col)
            visit(CellIndex(row, col, wall.cols), row, col);
    }
}

void PlaceInGroup(WallEntry &screen, const WallBlock &block, quint32 row, quint32 col)
{
    screen.spliceRowPos = row - block.top + 1;
    screen.spliceColPos = col - block.left + 1;
    screen.spliceRows = block.bottom - block.top + 1;
    screen.spliceCols = block.right - block.left + 1;
}

// The layout reply does not carry where a screen sits in its group; the WALLPORT lines need it.
void FillGroupGeometry(WallState &wall)
{
    for (quint32 anchor = 0; anchor < CellCount(wall); ++anchor) {
        if (!IsAnchor(wall, anchor))
            continue;
        const WallBlock block = BlockFrom(wall, anchor);
        ForEachCell(wall, block,
            [&](quint32 cell, quint32 row, quint32 col) { PlaceInGroup(ScreenOf(wall, cell), block, row, col); });
    }
}

void ClearSplice(WallEntry &screen)
{
    screen.spliced = screen.singleExit = screen.flagBit1 = false;
    screen.edgeLeft = screen.edgeRight = screen.edgeUp = screen.edgeBottom = 0;
    screen.spliceAnchor = 0;
    screen.spliceRowPos = screen.spliceColPos = screen.spliceRows = screen.spliceCols = 0;
}

bool AnySpliced(const WallState &wall)
{
    for (quint32 cell = 0; cell < CellCount(wall); ++cell) {
        if (ScreenOf(wall, cell).spliced || ScreenOf(wall, cell).singleExit)
            return true;
    }
    return false;
}

// Whether a wall of count cells can show these outputs: one per cell, each a port of the
// device, none twice.
bool EachOutputOnce(const QVector<quint32> &outputs, quint32 count)
{
    if (quint32(outputs.size()) != count)
        return false;
    QVector<bool> shown(int(MaxPorts), false);
    for (quint32 output : outputs) {
        if (output >= qMin(DeviceState.outputCount, MaxPorts) || shown.at(int(output)))
            return false;
        shown[int(output)] = true;
    }
    return true;
}

} // namespace

WallEditor::WallEditor(Kick kick, QObject *parent)
    : QObject(parent)
    , m_kick(std::move(kick))
{
    m_replyTimer.setSingleShot(true);
    connect(&m_replyTimer, &QTimer::timeout, this, &WallEditor::showModel);
}

const WallState &WallEditor::shown() const
{
    return inFlight() && m_showTarget ? m_target : DeviceState.wall;
}

quint32 WallEditor::total() const
{
    return CellCount(shown());
}

quint32 WallEditor::outputOfCell(quint32 cell) const
{
    return Entry(shown(), cell).outputIndex;
}

const WallEntry &WallEditor::screenOfCell(quint32 cell) const
{
    return ScreenOf(shown(), cell);
}

QVector<WallBlock> WallEditor::groups() const
{
    QVector<WallBlock> blocks;
    for (quint32 cell = 0; cell < total(); ++cell) {
        if (IsAnchor(shown(), cell))
            blocks.append(BlockFrom(shown(), cell));
    }
    return blocks;
}

int WallEditor::anchorCellOf(quint32 cell) const
{
    if (cell >= total() || !screenOfCell(cell).spliced)
        return -1;
    const quint32 anchor = screenOfCell(cell).spliceAnchor;
    return IsAnchor(shown(), anchor) ? int(anchor) : -1;
}

int WallEditor::groupOfCell(quint32 cell) const
{
    const int anchor = anchorCellOf(cell);
    if (anchor < 0)
        return -1;
    int index = 0;
    for (quint32 k = 0; k < quint32(anchor); ++k)
        index += IsAnchor(shown(), k) ? 1 : 0;
    return index;
}

QVector<quint32> WallEditor::exitCells() const
{
    QVector<quint32> cells;
    for (quint32 cell = 0; cell < total(); ++cell) {
        if (anchorCellOf(cell) >= 0 && screenOfCell(cell).singleExit)
            cells.append(cell);
    }
    return cells;
}

int WallEditor::exitOfCell(quint32 cell) const
{
    return exitCells().indexOf(cell);
}

int WallEditor::cellShowingOutput(quint32 output) const
{
    for (quint32 k = 0; k < total(); ++k) {
        if (outputOfCell(k) == output)
            return int(k);
    }
    return -1;
}

bool WallEditor::LinkChosen()
{
    return SelectedLinkQueue() != nullptr;
}

void WallEditor::kick() const
{
    if (m_kick)
        m_kick();
}

WallState &WallEditor::beginEdit(bool showWhileInFlight)
{
    if (!inFlight()) {
        m_target = DeviceState.wall;
        FillGroupGeometry(m_target);
        m_showTarget = false;
        m_linesInFlight = 0;
    }
    m_showTarget = m_showTarget || showWhileInFlight;
    return m_target;
}

void WallEditor::sendWallPort(quint32 cell)
{
    if (CmdSetWallPort(m_target, cell))
        ++m_linesInFlight;
    kick();
}

void WallEditor::sendWallInfo()
{
    if (CmdSetTvWallInfo(m_target, m_target.total)) {
        ++m_linesInFlight;
        ++m_repliesAwaited;
    }
    kick();
    if (inFlight())
        m_replyTimer.start(ReplyWaitMs + LinePauseMs * m_linesInFlight);
    emit SGL_WallChanged();
}

void WallEditor::modelChanged()
{
    if (m_repliesAwaited > 1) {
        --m_repliesAwaited;
        m_replyTimer.start(ReplyWaitMs + LinePauseMs * m_linesInFlight);
        return;
    }
    showModel();
}

void WallEditor::showModel()
{
    m_repliesAwaited = 0;
    m_linesInFlight = 0;
    m_showTarget = false;
    m_replyTimer.stop();
    emit SGL_WallChanged();
}

WallEditor::Outcome WallEditor::writeSize(quint32 rows, quint32 cols, const QVector<quint32> &outputs)
{
    if (rows == 0 || cols == 0 || quint64(rows) * cols > MaxPorts)
        return Outcome::NothingToDo;
    if (!outputs.isEmpty() && !EachOutputOnce(outputs, rows * cols))
        return Outcome::Refused;
    if (!LinkChosen())
        return Outcome::NotConnected;
    WallState &wall = beginEdit(true);
    if (AnySpliced(wall)) {
        for (quint32 cell = 0; cell < CellCount(wall); ++cell) {
            ClearSplice(ScreenOf(wall, cell));
            sendWallPort(cell);
        }
        sendWallInfo();
    }
    wall.rows = rows;
    wall.cols = cols;
    wall.total = rows * cols;
    for (quint32 k = 0; k < wall.total; ++k)
        Entry(wall, k).outputIndex = outputs.isEmpty() ? k : outputs.at(int(k));
    for (quint32 k = 0; k < wall.total; ++k) {
        WallEntry &screen = ScreenOf(wall, k);
        ClearSplice(screen);
        screen.inputIndex = DeviceState.routeInputOfOutput[ClampSlot(Entry(wall, k).outputIndex)];
    }
    sendWallInfo();
    return Outcome::Done;
}

WallEditor::SpliceResult WallEditor::splice(const WallBlock &block)
{
    SpliceResult result;
    const WallState &now = shown();
    const bool insideWall = block.top <= block.bottom && block.left <= block.right && block.bottom < now.rows
        && block.right < now.cols;
    if (!insideWall || !block.coversMoreThanOneCell())
        return result;
    QVector<quint32> outputs;
    for (quint32 row = block.top; row <= block.bottom; ++row) {
        for (quint32 col = block.left; col <= block.right; ++col) {
            const quint32 cell = CellIndex(row, col, now.cols);
            const quint32 output = outputOfCell(cell);
            if (MultiviewOf(output).mode != 0) {
                result.outcome = Outcome::NotSingle;
                result.output = output;
                return result;
            }
            // A screen belongs to one group only.
            if (screenOfCell(cell).spliced || screenOfCell(cell).singleExit) {
                result.outcome = Outcome::ReachesIntoGroup;
                return result;
            }
            outputs.append(output);
        }
    }
    if (!LinkChosen()) {
        result.outcome = Outcome::NotConnected;
        return result;
    }
    WallState &wall = beginEdit(true);
    const quint32 anchor = CellIndex(block.top, block.left, wall.cols);
    const quint32 input = ScreenOf(wall, anchor).inputIndex;
    for (quint32 output : qAsConst(outputs))
        Entry(wall, output).inputIndex = input;
    CmdSetRouteList(input, outputs.constData(), quint32(outputs.size()));
    kick();
    ForEachCell(wall, block, [&](quint32 cell, quint32 row, quint32 col) {
        WallEntry &screen = ScreenOf(wall, cell);
        ClearSplice(screen);
        screen.spliced = true;
        screen.spliceAnchor = anchor;
        PlaceInGroup(screen, block, row, col);
        sendWallPort(cell);
    });
    sendWallInfo();
    result.outcome = Outcome::Done;
    return result;
}

WallEditor::Outcome WallEditor::cancelGroup(quint32 cell)
{
    const int anchor = anchorCellOf(cell);
    if (anchor < 0)
        return Outcome::NotInGroup;
    if (!LinkChosen())
        return Outcome::NotConnected;
    WallState &wall = beginEdit(true);
    for (quint32 k = 0; k < CellCount(wall); ++k) {
        WallEntry &screen = ScreenOf(wall, k);
        if (!screen.spliced || screen.spliceAnchor != quint32(anchor))
            continue;
        ClearSplice(screen);
        sendWallPort(k);
    }
    sendWallInfo();
    return Outcome::Done;
}

WallEditor::Outcome WallEditor::toggleSingleExit(quint32 cell)
{
    const int anchor = anchorCellOf(cell);
    if (anchor < 0)
        return Outcome::NotInGroup;
    if (!LinkChosen())
        return Outcome::NotConnected;
    WallState &wall = beginEdit(true);
    WallEntry &screen = ScreenOf(wall, cell);
    screen.singleExit = !screen.singleExit;
    if (!screen.singleExit) {
        // The device keeps no edges for a screen taken out; the group still has them.
        for (quint32 k = 0; k < CellCount(wall); ++k) {
            const WallEntry &member = ScreenOf(wall, k);
            if (k == cell || !member.spliced || member.singleExit || member.spliceAnchor != quint32(anchor))
                continue;
            screen.edgeLeft = member.edgeLeft;
            screen.edgeRight = member.edgeRight;
            screen.edgeUp = member.edgeUp;
            screen.edgeBottom = member.edgeBottom;
            break;
        }
    }
    sendWallPort(cell);
    sendWallInfo();
    return Outcome::Done;
}

WallEditor::Outcome WallEditor::selectInput(quint32 cell, quint32 input)
{
    const int anchor = anchorCellOf(cell);
    if (anchor < 0)
        return Outcome::NotInGroup;
    if (input >= DeviceState.inputCount)
        return Outcome::Refused;
    if (!LinkChosen())
        return Outcome::NotConnected;
    // A route needs no wall line: the route reply brings the input into DeviceState. A wall
    // being written carries it too, so that its layout line does not route back.
    WallState &wall = inFlight() ? m_target : DeviceState.wall;
    const bool intoTarget = inFlight();
    if (ScreenOf(wall, cell).singleExit) {
        if (intoTarget)
            ScreenOf(wall, cell).inputIndex = input;
        CmdSetRoute(input, Entry(wall, cell).outputIndex);
    } else {
        QVector<quint32> outputs;
        for (quint32 k = 0; k < CellCount(wall); ++k) {
            WallEntry &member = ScreenOf(wall, k);
            if (!member.spliced || member.singleExit || member.spliceAnchor != quint32(anchor))
                continue;
            if (intoTarget)
                member.inputIndex = input;
            outputs.append(Entry(wall, k).outputIndex);
        }
        CmdSetRouteList(input, outputs.constData(), quint32(outputs.size()));
    }
    kick();
    return Outcome::Done;
}

WallEditor::Outcome WallEditor::selectOutput(quint32 cell, quint32 output)
{
    if (cell >= total() || output >= DeviceState.outputCount || screenOfCell(cell).spliced)
        return Outcome::Refused;
    const int other = cellShowingOutput(output);
    if (other == int(cell))
        return Outcome::NothingToDo;
    // Swapping with a screen of a group would move the group's output out of it.
    if (other >= 0 && screenOfCell(quint32(other)).spliced)
        return Outcome::Refused;
    if (!LinkChosen())
        return Outcome::NotConnected;
    WallState &wall = beginEdit(false);
    const quint32 previous = Entry(wall, cell).outputIndex;
    Entry(wall, cell).outputIndex = output;
    if (other >= 0)
        Entry(wall, quint32(other)).outputIndex = previous;
    sendWallInfo();
    return Outcome::Done;
}

WallEditor::Outcome WallEditor::setMultiview(quint32 cell, quint32 mode)
{
    if (cell >= total())
        return Outcome::Refused;
    if (!LinkChosen())
        return Outcome::NotConnected;
    // The mode reply stores it; nothing is kept before.
    CmdSetMultiviewMode(outputOfCell(cell), mode);
    kick();
    return Outcome::Done;
}

WallEditor::Outcome WallEditor::setBezel(quint32 cell, quint32 left, quint32 right, quint32 up, quint32 bottom)
{
    const int anchor = anchorCellOf(cell);
    if (anchor < 0)
        return Outcome::NotInGroup;
    if (!LinkChosen())
        return Outcome::NotConnected;
    WallState &wall = beginEdit(true);
    ForEachCell(wall, BlockFrom(wall, quint32(anchor)), [&](quint32 member, quint32, quint32) {
        WallEntry &screen = ScreenOf(wall, member);
        screen.edgeLeft = left;
        screen.edgeRight = right;
        screen.edgeUp = up;
        screen.edgeBottom = bottom;
        sendWallPort(member);
    });
    sendWallInfo();
    return Outcome::Done;
}
