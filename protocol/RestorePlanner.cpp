#include "protocol/RestorePlanner.h"

#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/ValueWords.h"

namespace {

enum : int { ModeSingle = 0, ModePip = 1, ModePbp = 2 };

bool IsSplitMode(int mode)
{
    return mode >= ModePbp && mode < int(MultiviewModeWords.count);
}

QString OutputName(int output)
{
    return QStringLiteral("Output %1").arg(output + 1);
}

QString InputName(int input)
{
    return QStringLiteral("Input %1").arg(input + 1);
}

QString CellName(int cell, int cols)
{
    return QStringLiteral("cell %1,%2").arg(cell / cols + 1).arg(cell % cols + 1);
}

// Whether a wanted value (-1: left as it is) has to be sent over what the device has.
bool Needed(int device, int wanted, bool force = false)
{
    return wanted >= 0 && (force || device != wanted);
}

} // namespace

RestorePlanner::RestorePlanner(const DeviceConfig &device, const DeviceConfig &wanted, bool withLink)
    : m_device(device)
    , m_wanted(wanted)
    , m_withLink(withLink)
    , m_modeChanged(wanted.outputs.size(), false)
{
    if (device.inputs.size() != wanted.inputs.size() || device.outputs.size() != wanted.outputs.size())
        return; // a device of other port counts takes nothing of the file
    planWallTeardown();
    planInputs();
    planOutputs();
    for (int output = 0; output < wanted.outputs.size(); ++output)
        planMultiview(output);
    planWallGroups();
    planRoutes();
    planLinkSettings();
}

QStringList RestorePlanner::changes() const
{
    QStringList list;
    for (const RestoreStep &step : m_steps)
        list << step.change;
    return list;
}

void RestorePlanner::add(const QString &change, std::function<void()> build, std::function<void()> assume)
{
    m_steps.append(RestoreStep { change, std::move(build), std::move(assume) });
}

void RestorePlanner::addWallStep(const QString &change, std::function<void(WallEditor &)> edit)
{
    // The edit starts from the wall the device confirmed, not from lines of an earlier step
    // still counted as in flight.
    add(change,
        [this, edit] {
            m_editor.showModel();
            edit(m_editor);
        },
        [this] {
            // The device's layout reply replaces its wall with the one written.
            const WallState written = m_editor.shown();
            DeviceState.wall = written;
            m_editor.showModel();
        });
}

bool RestorePlanner::deviceHasGroups() const
{
    for (const DeviceConfig::WallCell &cell : qAsConst(m_device.wallCells)) {
        if (cell.spliced || cell.singleExit)
            return true;
    }
    return false;
}

QVector<quint32> RestorePlanner::wantedOutputs() const
{
    QVector<quint32> outputs;
    for (const DeviceConfig::WallCell &cell : qAsConst(m_wanted.wallCells))
        outputs.append(quint32(cell.output));
    return outputs;
}

const int *RestorePlanner::wantedEdgesOfGroup(int anchor, int top, int left, int bottom, int right) const
{
    const int cols = m_wanted.wallCols;
    for (int row = top; row <= bottom; ++row) {
        for (int col = left; col <= right; ++col) {
            const DeviceConfig::WallCell &cell = m_wanted.wallCells.at(row * cols + col);
            if (!cell.singleExit)
                return cell.edges;
        }
    }
    return m_wanted.wallCells.at(anchor).edges;
}

bool RestorePlanner::wallLayoutDiffers() const
{
    if (m_device.wallRows != m_wanted.wallRows || m_device.wallCols != m_wanted.wallCols
        || m_device.wallCells.size() != m_wanted.wallCells.size())
        return true;
    for (int k = 0; k < m_wanted.wallCells.size(); ++k) {
        if (m_device.wallCells.at(k).output != m_wanted.wallCells.at(k).output)
            return true;
    }
    return false;
}

bool RestorePlanner::wallDiffers() const
{
    if (wallLayoutDiffers())
        return true;
    for (int k = 0; k < m_wanted.wallCells.size(); ++k) {
        const DeviceConfig::WallCell &d = m_device.wallCells.at(k);
        const DeviceConfig::WallCell &w = m_wanted.wallCells.at(k);
        if (d.spliced != w.spliced || d.singleExit != w.singleExit || (w.spliced && d.anchor != w.anchor))
            return true;
        for (int e = 0; e < 4; ++e) {
            if (d.edges[e] != w.edges[e])
                return true;
        }
    }
    return false;
}

void RestorePlanner::planWallTeardown()
{
    if (!wallDiffers())
        return;
    m_wallRebuilt = true;
    if (!wallLayoutDiffers()) {
        if (deviceHasGroups())
            addWallStep(QStringLiteral("Cancel the splice groups of the wall"), [](WallEditor &editor) {
                const quint32 cols = editor.cols();
                for (const WallBlock &group : editor.groups())
                    editor.cancelGroup(group.top * cols + group.left);
            });
        return;
    }
    // A new layout cancels the groups of the old one first (the editor's rule for a new size).
    const int rows = m_wanted.wallRows;
    const int cols = m_wanted.wallCols;
    QStringList shown;
    for (int k = 0; k < m_wanted.wallCells.size(); ++k)
        shown << QStringLiteral("%1 shows output %2").arg(CellName(k, cols)).arg(m_wanted.wallCells.at(k).output + 1);
    const QString cancelled = deviceHasGroups() ? QStringLiteral(", its splice groups cancelled first") : QString();
    const QVector<quint32> outputs = wantedOutputs();
    addWallStep(QStringLiteral("Wall of %1 x %2 screens%3: %4")
                    .arg(rows)
                    .arg(cols)
                    .arg(cancelled, shown.join(QStringLiteral(", "))),
        [rows, cols, outputs](WallEditor &editor) { editor.writeSize(quint32(rows), quint32(cols), outputs); });
}

void RestorePlanner::planInputs()
{
    for (int i = 0; i < m_wanted.inputs.size(); ++i) {
        const DeviceConfig::Input &d = m_device.inputs.at(i);
        const DeviceConfig::Input &w = m_wanted.inputs.at(i);
        if (Needed(d.audio, w.audio))
            add(QStringLiteral("%1 audio: %2").arg(InputName(i), InAudioWords.text(quint32(w.audio))),
                [i, w] { CmdSetInAudio(quint32(i), quint32(w.audio)); });
        if (Needed(d.edidMode, w.edidMode))
            add(QStringLiteral("%1 EDID: %2").arg(InputName(i), EdidModeWords.text(quint32(w.edidMode))),
                [i, w] { CmdSetEdidMode(quint32(i), quint32(w.edidMode)); },
                [i, w] { DeviceState.edidModeOfInput[ClampSlot(quint32(i))] = quint32(w.edidMode); });
    }
}

void RestorePlanner::planOutputs()
{
    for (int o = 0; o < m_wanted.outputs.size(); ++o) {
        const DeviceConfig::Output &d = m_device.outputs.at(o);
        const DeviceConfig::Output &w = m_wanted.outputs.at(o);
        const quint32 out = quint32(o);
        if (Needed(d.hdcp, w.hdcp))
            add(QStringLiteral("%1 HDCP: %2").arg(OutputName(o), HdcpWords.text(quint32(w.hdcp))),
                [out, w] { CmdSetOutHdcp(out, quint32(w.hdcp)); });
        if (Needed(d.resolution, w.resolution))
            add(QStringLiteral("%1 resolution: %2").arg(OutputName(o), OutResolutionWords.text(quint32(w.resolution))),
                [out, w] { CmdSetOutResolution(out, quint32(w.resolution)); });
        if (Needed(d.rotation, w.rotation))
            add(QStringLiteral("%1 rotation: %2°").arg(OutputName(o), RotationWords.text(quint32(w.rotation))),
                [out, w] { CmdSetOutRotation(out, quint32(w.rotation)); });
        if (Needed(d.mute, w.mute))
            add(QStringLiteral("%1 audio mute: %2").arg(OutputName(o), OnOffWords.text(quint32(w.mute))),
                [out, w] { CmdSetAudioMute(out, quint32(w.mute)); });
        if (Needed(d.freeze, w.freeze))
            add(QStringLiteral("%1 freeze: %2").arg(OutputName(o), OnOffWords.text(quint32(w.freeze))),
                [out, w] { CmdSetFreeze(out, quint32(w.freeze)); });
    }
}

void RestorePlanner::planMultiview(int o)
{
    const DeviceConfig::Multiview &d = m_device.outputs.at(o).multiview;
    const DeviceConfig::Multiview &w = m_wanted.outputs.at(o).multiview;
    const quint32 out = quint32(o);
    const QString name = OutputName(o);
    // A new mode brings the device's own values for its fields: every field is sent after it.
    const bool newMode = d.mode != w.mode;
    m_modeChanged[o] = newMode;
    if (newMode)
        add(QStringLiteral("%1 multiview: %2").arg(name, MultiviewModeWords.text(quint32(w.mode))),
            [out, w] { CmdSetMultiviewMode(out, quint32(w.mode)); },
            [out, w] { MultiviewOf(out).mode = quint32(w.mode); });
    // Window 1 shows the routed input; the routes come last.
    for (int k = 1; k < 4 && k < WindowCountOfMode[w.mode]; ++k) {
        if (Needed(d.windows[k], w.windows[k], newMode))
            add(QStringLiteral("%1 window %2: %3").arg(name).arg(k + 1).arg(InputName(w.windows[k])),
                [out, k, w] { CmdSetWindowInput(out, quint32(k), quint32(w.windows[k])); },
                [out, k, w] { MultiviewOf(out).windowInput[k] = quint32(w.windows[k]); });
    }
    if (IsSplitMode(w.mode) && Needed(d.layout, w.layout, newMode))
        add(QStringLiteral("%1 layout: %2").arg(name).arg(w.layout + 1),
            [out, w] { CmdSetLayout(out, w.layout + 1); },
            [out, w] { MultiviewOf(out).layout = quint32(w.layout); });
    if (IsSplitMode(w.mode) && Needed(d.aspect, w.aspect, newMode))
        add(QStringLiteral("%1 aspect: %2").arg(name, AspectWords.text(quint32(w.aspect))),
            [out, w] { CmdSetAspect(out, quint32(w.aspect)); },
            [out, w] { MultiviewOf(out).aspect = quint32(w.aspect); });
    if (w.mode == ModePip && Needed(d.pipPos, w.pipPos, newMode))
        add(QStringLiteral("%1 PIP position: %2").arg(name, PipPosWords.text(quint32(w.pipPos))),
            [out, w] { CmdSetPipPos(out, quint32(w.pipPos)); },
            [out, w] { MultiviewOf(out).pipPos = quint32(w.pipPos); });
    if (w.mode == ModePip && Needed(d.pipSize, w.pipSize, newMode))
        add(QStringLiteral("%1 PIP size: %2").arg(name, PipSizeWords.text(quint32(w.pipSize))),
            [out, w] { CmdSetPipSize(out, quint32(w.pipSize)); },
            [out, w] { MultiviewOf(out).pipSize = quint32(w.pipSize); });
    bool userWindowDiffers = w.userWindowKnown && (!d.userWindowKnown || newMode);
    for (int n = 0; n < 4 && w.userWindowKnown && d.userWindowKnown; ++n)
        userWindowDiffers = userWindowDiffers || d.userWindow[n] != w.userWindow[n];
    if (userWindowDiffers)
        add(QStringLiteral("%1 user window: %2, %3, %4 x %5")
                .arg(name)
                .arg(w.userWindow[0])
                .arg(w.userWindow[1])
                .arg(w.userWindow[2])
                .arg(w.userWindow[3]),
            [out, w] { CmdSetUserWindow(out, w.userWindow[0], w.userWindow[1], w.userWindow[2], w.userWindow[3]); });
    if (Needed(d.audioSource, w.audioSource))
        add(QStringLiteral("%1 audio source: %2").arg(name, AudioSourceWords.text(quint32(w.audioSource))),
            [out, w] { CmdSetOutAudioSource(out, quint32(w.audioSource)); });
    if (Needed(d.vka, w.vka))
        add(QStringLiteral("%1 picture without signal: %2").arg(name, VkaWords.text(quint32(w.vka))),
            [out, w] { CmdSetVka(out, quint32(w.vka)); });
    if (Needed(d.itc, w.itc))
        add(QStringLiteral("%1 ITC: %2").arg(name, OnOffWords.text(quint32(w.itc))),
            [out, w] { CmdSetItc(out, quint32(w.itc)); });
}

void RestorePlanner::planWallGroups()
{
    if (!m_wallRebuilt)
        return;
    const int cols = m_wanted.wallCols;
    QVector<int> anchors;
    for (int anchor = 0; anchor < m_wanted.wallCells.size(); ++anchor) {
        int top = 0, left = 0, bottom = 0, right = 0;
        if (!m_wanted.groupBlock(anchor, &top, &left, &bottom, &right))
            continue;
        anchors.append(anchor);
        WallBlock block;
        block.top = quint32(top);
        block.left = quint32(left);
        block.bottom = quint32(bottom);
        block.right = quint32(right);
        addWallStep(QStringLiteral("Splice wall %1 to %2").arg(CellName(anchor, cols), CellName(bottom * cols + right, cols)),
            [block](WallEditor &editor) { editor.splice(block); });
    }
    // A group has one set of bezels; they go before any screen is taken out, as an operator
    // builds a wall, so a screen taken out keeps them as the device has it.
    for (int anchor : qAsConst(anchors)) {
        int top = 0, left = 0, bottom = 0, right = 0;
        m_wanted.groupBlock(anchor, &top, &left, &bottom, &right);
        const int *edges = wantedEdgesOfGroup(anchor, top, left, bottom, right);
        if (edges[0] == 0 && edges[1] == 0 && edges[2] == 0 && edges[3] == 0)
            continue; // a new group has no bezels
        const quint32 e[4] = { quint32(edges[0]), quint32(edges[1]), quint32(edges[2]), quint32(edges[3]) };
        addWallStep(QStringLiteral("Wall bezels of the group at %1 (left/right/up/bottom): %2/%3/%4/%5")
                        .arg(CellName(anchor, cols))
                        .arg(edges[0])
                        .arg(edges[1])
                        .arg(edges[2])
                        .arg(edges[3]),
            [anchor, e](WallEditor &editor) { editor.setBezel(quint32(anchor), e[0], e[1], e[2], e[3]); });
    }
    for (int k = 0; k < m_wanted.wallCells.size(); ++k) {
        if (m_wanted.wallCells.at(k).singleExit)
            addWallStep(QStringLiteral("Take wall %1 out of its group").arg(CellName(k, cols)),
                [k](WallEditor &editor) { editor.toggleSingleExit(quint32(k)); });
    }
}

void RestorePlanner::planRoutes()
{
    QVector<bool> inGroup(m_wanted.outputs.size(), false);
    for (const DeviceConfig::WallCell &cell : qAsConst(m_wanted.wallCells)) {
        if (cell.spliced && cell.output < inGroup.size())
            inGroup[cell.output] = true;
    }
    for (int o = 0; o < m_wanted.outputs.size(); ++o) {
        const int input = m_wanted.outputs.at(o).route;
        // A new mode may show another input in window 1, and a splice routes its whole group
        // to one input: those outputs are routed again.
        const bool force = m_modeChanged.at(o) || (m_wallRebuilt && inGroup.at(o));
        if (!Needed(m_device.outputs.at(o).route, input, force))
            continue;
        const quint32 out = quint32(o);
        add(QStringLiteral("%1 shows %2").arg(OutputName(o), InputName(input)),
            [input, out] { CmdSetRoute(quint32(input), out); },
            [input, out] {
                DeviceState_SetRoute(quint32(input), out);
                MultiviewOf(out).windowInput[0] = quint32(input);
            });
    }
}

void RestorePlanner::planLinkSettings()
{
    if (!m_withLink)
        return;
    const DeviceConfig::Info &d = m_device.info;
    const DeviceConfig::Info &w = m_wanted.info;
    if (w.networkKnown && (!d.networkKnown || d.ip != w.ip || d.port != w.port || d.mask != w.mask || d.gateway != w.gateway))
        add(QStringLiteral("Network settings: IP %1, port %2, mask %3, gateway %4").arg(w.ip, w.port, w.mask, w.gateway),
            [w] { CmdSetNetworkInfo(w.ip, w.port, w.mask, w.gateway); });
    if (w.baudRate > 0 && d.baudRate != w.baudRate)
        add(QStringLiteral("Baud rate: %1").arg(w.baudRate), [w] { CmdSetBaudrate(w.baudRate); });
}
