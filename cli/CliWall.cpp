#include "cli/CliWall.h"

#include "cli/CliSession.h"
#include "cli/CliStateJson.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/ValueWords.h"
#include "protocol/WallEditor.h"

namespace {

using Action = CliOptions::WallAction;

bool NamesOneCell(Action action)
{
    return action == Action::Cancel || action == Action::Single || action == Action::Input
        || action == Action::Bezel;
}

QString NotInGroup(const CliOptions &o)
{
    return QStringLiteral("cell %1,%2 is not in a splice group").arg(o.wallTop + 1).arg(o.wallLeft + 1);
}

// Why an edit changed nothing, in the client's words.
QString Reason(const CliOptions &o, WallEditor::Outcome outcome)
{
    switch (outcome) {
    case WallEditor::Outcome::Done:
        return QString();
    case WallEditor::Outcome::NotInGroup:
        return NotInGroup(o);
    case WallEditor::Outcome::ReachesIntoGroup:
        return QStringLiteral("the block reaches into a splice group: cancel that group first");
    case WallEditor::Outcome::NotConnected:
        return QStringLiteral("no link is open");
    case WallEditor::Outcome::NothingToDo:
        return QStringLiteral("nothing to change");
    case WallEditor::Outcome::NotSingle:
    case WallEditor::Outcome::Refused:
        break;
    }
    return QStringLiteral("the device does not have that value");
}

} // namespace

int CliWall::CheckAgainstDevice(const CliOptions &o, QString *error)
{
    if (o.wallAction == Action::Size) {
        const quint32 cells = (o.wallBottom + 1) * (o.wallRight + 1);
        if (cells > DeviceState.outputCount) {
            *error = QStringLiteral("a wall of %1 x %2 needs %3 screens: the device has %4 outputs")
                         .arg(o.wallBottom + 1)
                         .arg(o.wallRight + 1)
                         .arg(cells)
                         .arg(DeviceState.outputCount);
            return CliExitUsage;
        }
    }
    if (o.wallAction == Action::Input && o.input >= DeviceState.inputCount) {
        *error = QStringLiteral("input %1 is out of range: the device has inputs 1 to %2")
                     .arg(o.input + 1)
                     .arg(DeviceState.inputCount);
        return CliExitUsage;
    }
    return CliExitDone;
}

int CliWall::Run(const CliOptions &o, CliSession &session, QTextStream &out, QString *error)
{
    // Every change starts from the wall the device has now.
    QByteArray reply;
    int code = session.sendCommand([] { CmdGetTvWallInfo(); }, &reply, error);
    if (code == CliExitDone && o.wallAction != Action::Show)
        code = ApplyChange(o, session, error);
    if (code != CliExitDone)
        return code;
    out << QString::fromUtf8(CliStateJson::ToText(CliStateJson::Wall())) << '\n';
    out.flush();
    return CliExitDone;
}

QString CliWall::CheckCellsInsideWall(const CliOptions &o)
{
    const WallState &wall = DeviceState.wall;
    const bool usesCells = NamesOneCell(o.wallAction) || o.wallAction == Action::Splice;
    const quint32 lastRow = o.wallAction == Action::Splice ? o.wallBottom : o.wallTop;
    const quint32 lastCol = o.wallAction == Action::Splice ? o.wallRight : o.wallLeft;
    if (!usesCells || (lastRow < wall.rows && lastCol < wall.cols))
        return QString();
    return QStringLiteral("cell %1,%2 is outside the device's wall of %3 x %4")
        .arg(lastRow + 1)
        .arg(lastCol + 1)
        .arg(wall.rows)
        .arg(wall.cols);
}

int CliWall::ReadWhatTheChangeNeeds(const CliOptions &o, CliSession &session, QString *error)
{
    if (o.wallAction == Action::Size) {
        // A new wall's screens start with the inputs routed to their outputs.
        CmdGetMatrixRoute();
    } else if (o.wallAction == Action::Splice) {
        // Only SINGLE outputs splice.
        for (quint32 row = o.wallTop; row <= o.wallBottom; ++row) {
            for (quint32 col = o.wallLeft; col <= o.wallRight; ++col)
                CmdGetMultiviewSync(WallSlot(row * DeviceState.wall.cols + col).outputIndex);
        }
    } else {
        return CliExitDone;
    }
    return session.finishQueuedReads(error);
}

int CliWall::ApplyChange(const CliOptions &o, CliSession &session, QString *error)
{
    const QString outside = CheckCellsInsideWall(o);
    if (!outside.isEmpty()) {
        *error = outside;
        return CliExitFailed;
    }
    const int readCode = ReadWhatTheChangeNeeds(o, session, error);
    if (readCode != CliExitDone)
        return readCode;
    // The editor starts from the wall just read; what it sends is confirmed line by line, and
    // the wall printed afterwards is the one the device's last reply reported.
    WallEditor editor;
    QString reason;
    const int code = session.sendCommands([&] { reason = Change(o, editor); }, error);
    if (!reason.isEmpty()) {
        *error = reason;
        return CliExitFailed;
    }
    return code;
}

QString CliWall::Change(const CliOptions &o, WallEditor &editor)
{
    const quint32 cell = o.wallTop * DeviceState.wall.cols + o.wallLeft;
    switch (o.wallAction) {
    case Action::Size:
        return Reason(o, editor.writeSize(o.wallBottom + 1, o.wallRight + 1));
    case Action::Splice: {
        WallBlock block;
        block.top = o.wallTop;
        block.left = o.wallLeft;
        block.bottom = o.wallBottom;
        block.right = o.wallRight;
        const WallEditor::SpliceResult result = editor.splice(block);
        if (result.outcome == WallEditor::Outcome::NotSingle)
            return QStringLiteral("output %1 is in %2 mode: only SINGLE outputs can be spliced")
                .arg(result.output + 1)
                .arg(MultiviewModeWords.text(MultiviewOf(result.output).mode));
        return Reason(o, result.outcome);
    }
    case Action::Cancel:
        return Reason(o, editor.cancelGroup(cell));
    case Action::Single:
        return Reason(o, editor.toggleSingleExit(cell));
    case Action::Input: {
        const QString reason = Reason(o, editor.selectInput(cell, o.input));
        // The device reports the new route in a status line after the route's reply; the wall
        // read behind it comes after that line, so the wall printed is the device's.
        if (reason.isEmpty())
            CmdGetTvWallInfo();
        return reason;
    }
    case Action::Bezel:
        return Reason(o, editor.setBezel(cell, o.edges[0], o.edges[1], o.edges[2], o.edges[3]));
    case Action::Show:
        break;
    }
    return QString();
}
