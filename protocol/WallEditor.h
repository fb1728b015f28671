// The rules of the video wall, in cells and blocks: a new wall size, splicing a block of
// screens into one picture, cancelling a group, taking one screen out of its group and back,
// routing an input to a group, choosing a cell's output, a cell's multiview mode and a group's
// bezels. DeviceState keeps the device's wall; an edit is made on a copy of it (the wall being
// written), queued with the wall commands, and reaches DeviceState only through the device's
// layout reply. Views draw shown(): the device's wall, or the wall being written while its
// lines are in flight. Every change of what is shown is announced once, with SGL_WallChanged.
#pragma once

#include "protocol/DeviceState.h"

#include <QObject>
#include <QTimer>
#include <QVector>
#include <QtGlobal>
#include <functional>

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

class WallEditor : public QObject
{
    Q_OBJECT
public:
    using Kick = std::function<void()>;

    // How an edit ended. Anything but Done changed and sent nothing.
    enum class Outcome {
        Done,
        NothingToDo, // one cell, outside the wall, or the cell's own output
        NotConnected, // no link to send it on
        NotInGroup, // the cell's screen belongs to no splice group
        NotSingle, // an output of the block is not in SINGLE mode
        ReachesIntoGroup, // a screen of the block already belongs to a group
        Refused, // a value the device does not have (input, output, mode)
    };
    struct SpliceResult {
        Outcome outcome = Outcome::NothingToDo;
        quint32 output = 0; // the first output that is not SINGLE, for NotSingle
    };

    // How long the device may take over one wall line, and over the reply after the last one.
    static constexpr int LinePauseMs = 300;
    static constexpr int ReplyWaitMs = 2000;

    explicit WallEditor(Kick kick = Kick(), QObject *parent = nullptr);

    const WallState &shown() const;
    bool inFlight() const { return m_repliesAwaited > 0; }
    quint32 rows() const { return shown().rows; }
    quint32 cols() const { return shown().cols; }
    quint32 total() const;
    quint32 outputOfCell(quint32 cell) const;
    const WallEntry &screenOfCell(quint32 cell) const;

    // The groups of the shown wall, in the row-major order of their top-left cells, and the
    // index of a cell's group in that list (-1 for none).
    QVector<WallBlock> groups() const;
    int groupOfCell(quint32 cell) const;
    // The cells whose screens are taken out of their group, row-major, and a cell's index there.
    QVector<quint32> exitCells() const;
    int exitOfCell(quint32 cell) const;
    // The cell that shows an output, or -1.
    int cellShowingOutput(quint32 output) const;

    // A new size always reaches the device: the groups of the wall are cancelled first (their
    // lines carry the old size), then the new wall goes out with every cell showing the output
    // of its number, or the output given for it (row-major, each output once), and the input
    // routed to that output.
    Outcome writeSize(quint32 rows, quint32 cols, const QVector<quint32> &outputs = {});
    SpliceResult splice(const WallBlock &block);
    Outcome cancelGroup(quint32 cell);
    // A screen put back into its group takes the group's edges.
    Outcome toggleSingleExit(quint32 cell);
    Outcome selectInput(quint32 cell, quint32 input);
    // The cell shows another output; the cell that showed it takes this cell's old output. Sent
    // at once; shown once the device has confirmed it.
    Outcome selectOutput(quint32 cell, quint32 output);
    Outcome setMultiview(quint32 cell, quint32 mode);
    Outcome setBezel(quint32 cell, quint32 left, quint32 right, quint32 up, quint32 bottom);

    // A wall layout reply was stored in DeviceState. Once the reply to the last line written has
    // come, the device's wall is shown again.
    void modelChanged();
    // Gives up the edits in flight (lost link, no reply): the device's wall is shown again.
    void showModel();

signals:
    void SGL_WallChanged();

private:
    static bool LinkChosen();
    // The wall an edit works on: the one being written, or a fresh copy of the device's.
    WallState &beginEdit(bool showWhileInFlight);
    void sendWallPort(quint32 cell);
    void sendWallInfo();
    void kick() const;
    int anchorCellOf(quint32 cell) const;

    Kick m_kick;
    WallState m_target {};
    bool m_showTarget = false;
    int m_repliesAwaited = 0;
    int m_linesInFlight = 0;
    QTimer m_replyTimer;
};
