#include "protocol/DeviceConfig.h"

#include "link/LinkSettingsRules.h"
#include "protocol/CommandSet.h"
#include "protocol/DeviceState.h"
#include "protocol/ValueWords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <cmath>

namespace {

const char *const FormatName = "tavilon-device-backup";

// Indices into MultiviewModeWords and OnOffWords.
enum : int { ModeSingle = 0, ModePip = 1, ModePbp = 2 };
constexpr int PipPosUser = 4;
constexpr int PipSizeUser = 3;
constexpr int PresenterLayout = 2; // 0-based: layout 3 of PBP
constexpr int MaxLayouts = 6;
constexpr int OnOffChoices = 2; // ON and OFF; NULL marks an empty window, never a setting

const char *const EdgeNames[4] = { "left", "right", "up", "bottom" };

bool IsSplitMode(int mode)
{
    return mode >= ModePbp && mode < int(MultiviewModeWords.count);
}

int WindowCount(int mode)
{
    return mode >= 0 && mode < 5 ? WindowCountOfMode[mode] : 0;
}

bool HasUserWindow(const DeviceConfig::Multiview &m)
{
    if (m.mode == ModePip)
        return m.pipPos == PipPosUser || m.pipSize == PipSizeUser;
    return m.mode == ModePbp && m.layout == PresenterLayout;
}

QJsonValue Word(const ValueWordList &list, int index)
{
    return index >= 0 && list.contains(quint32(index)) ? QJsonValue(list.text(quint32(index)))
                                                      : QJsonValue(QJsonValue::Null);
}

QJsonValue NumberOrNull(int value, bool known)
{
    return known ? QJsonValue(value) : QJsonValue(QJsonValue::Null);
}

QJsonValue TextOrNull(const QString &text)
{
    return text.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

// Reads the fields of a file; the first fault found is kept with the path of its field.
class Reader
{
public:
    QString error;

    bool failed() const { return !error.isEmpty(); }

    void fail(const QString &path, const QString &what)
    {
        if (error.isEmpty())
            error = QStringLiteral("%1: %2").arg(path, what);
    }

    // A word of the list (the first `allowed` words only), or -1 for null when optional.
    int word(const QJsonValue &value, const QString &path, const ValueWordList &list, bool optional,
        int allowed = -1)
    {
        const int count = allowed < 0 ? int(list.count) : allowed;
        if (value.isNull() || value.isUndefined()) {
            if (!optional)
                fail(path, QStringLiteral("missing"));
            return -1;
        }
        const int index = value.isString() ? list.indexOf(value.toString()) : -1;
        if (index < 0 || index >= count) {
            QStringList words;
            for (int i = 0; i < count; ++i)
                words << list.text(quint32(i));
            fail(path,
                QStringLiteral("%1 is not one of %2").arg(Shown(value), words.join(QStringLiteral(", "))));
            return -1;
        }
        return index;
    }

    // A whole number from low to high, or -1 for null when optional.
    int number(const QJsonValue &value, const QString &path, int low, int high, bool optional)
    {
        if (value.isNull() || value.isUndefined()) {
            if (!optional)
                fail(path, QStringLiteral("missing"));
            return -1;
        }
        const double n = value.toDouble(std::nan(""));
        if (!value.isDouble() || std::floor(n) != n || n < low || n > high) {
            fail(path, QStringLiteral("%1 is not a whole number from %2 to %3").arg(Shown(value)).arg(low).arg(high));
            return -1;
        }
        return int(n);
    }

    bool flag(const QJsonValue &value, const QString &path)
    {
        if (!value.isBool())
            fail(path, QStringLiteral("%1 is not true or false").arg(Shown(value)));
        return value.toBool();
    }

    QJsonArray array(const QJsonValue &value, const QString &path, int size)
    {
        if (!value.isArray()) {
            fail(path, QStringLiteral("missing or not a list"));
            return QJsonArray();
        }
        const QJsonArray list = value.toArray();
        if (size >= 0 && list.size() != size)
            fail(path, QStringLiteral("holds %1 entries, not %2").arg(list.size()).arg(size));
        return list;
    }

    QJsonObject object(const QJsonValue &value, const QString &path)
    {
        if (!value.isObject())
            fail(path, QStringLiteral("missing or not an object"));
        return value.toObject();
    }

    QString text(const QJsonValue &value, const QString &path)
    {
        if (value.isNull() || value.isUndefined())
            return QString();
        if (!value.isString())
            fail(path, QStringLiteral("%1 is not a text").arg(Shown(value)));
        return value.toString();
    }

    static QString Shown(const QJsonValue &value)
    {
        if (value.isString())
            return QStringLiteral("\"%1\"").arg(value.toString());
        QJsonArray wrapper;
        wrapper.append(value);
        const QByteArray text = QJsonDocument(wrapper).toJson(QJsonDocument::Compact);
        return QString::fromUtf8(text.mid(1, text.size() - 2));
    }
};

QString Indexed(const char *name, int index)
{
    return QStringLiteral("%1[%2]").arg(QLatin1String(name)).arg(index);
}

void ReadInputs(Reader &r, const QJsonObject &o, int count, DeviceConfig *c)
{
    const QJsonArray inputs = r.array(o.value(QStringLiteral("inputs")), QStringLiteral("inputs"), count);
    for (int i = 0; i < inputs.size() && !r.failed(); ++i) {
        const QString path = Indexed("inputs", i);
        const QJsonObject in = r.object(inputs.at(i), path);
        DeviceConfig::Input input;
        input.name = r.text(in.value(QStringLiteral("name")), path + QStringLiteral(".name"));
        input.audio = r.word(in.value(QStringLiteral("audio")), path + QStringLiteral(".audio"), InAudioWords, true);
        input.edidMode
            = r.word(in.value(QStringLiteral("edidMode")), path + QStringLiteral(".edidMode"), EdidModeWords, true);
        c->inputs.append(input);
    }
}

void ReadOutputs(Reader &r, const QJsonObject &o, int count, DeviceConfig *c)
{
    const QJsonArray outputs = r.array(o.value(QStringLiteral("outputs")), QStringLiteral("outputs"), count);
    const QJsonArray routes = r.array(o.value(QStringLiteral("routes")), QStringLiteral("routes"), count);
    for (int k = 0; k < outputs.size() && k < routes.size() && !r.failed(); ++k) {
        const QString path = Indexed("outputs", k);
        const QJsonObject out = r.object(outputs.at(k), path);
        DeviceConfig::Output output;
        output.name = r.text(out.value(QStringLiteral("name")), path + QStringLiteral(".name"));
        output.route = r.number(routes.at(k), Indexed("routes", k), 1, c->inputs.size(), false) - 1;
        output.hdcp = r.word(out.value(QStringLiteral("hdcp")), path + QStringLiteral(".hdcp"), HdcpWords, true);
        output.resolution = r.word(
            out.value(QStringLiteral("resolution")), path + QStringLiteral(".resolution"), OutResolutionWords, true);
        output.rotation
            = r.word(out.value(QStringLiteral("rotation")), path + QStringLiteral(".rotation"), RotationWords, true);
        output.mute
            = r.word(out.value(QStringLiteral("mute")), path + QStringLiteral(".mute"), OnOffWords, true, OnOffChoices);
        output.freeze = r.word(
            out.value(QStringLiteral("freeze")), path + QStringLiteral(".freeze"), OnOffWords, true, OnOffChoices);
        c->outputs.append(output);
    }
}

void ReadMultiview(Reader &r, const QJsonObject &o, DeviceConfig *c)
{
    const int count = c->outputs.size();
    const QJsonArray views = r.array(o.value(QStringLiteral("multiview")), QStringLiteral("multiview"), count);
    for (int k = 0; k < views.size() && k < count && !r.failed(); ++k) {
        const QString path = Indexed("multiview", k);
        const QJsonObject v = r.object(views.at(k), path);
        DeviceConfig::Multiview &m = c->outputs[k].multiview;
        m.mode = r.word(v.value(QStringLiteral("mode")), path + QStringLiteral(".mode"), MultiviewModeWords, false);
        const QJsonArray windows = r.array(v.value(QStringLiteral("windows")), path + QStringLiteral(".windows"), 4);
        for (int w = 0; w < windows.size() && w < 4; ++w) {
            const QString windowPath = QStringLiteral("%1.windows[%2]").arg(path).arg(w);
            const bool used = w < WindowCount(m.mode);
            m.windows[w] = r.number(windows.at(w), windowPath, 1, c->inputs.size(), !used) - 1;
            if (!used)
                m.windows[w] = -1;
        }
        if (!r.failed() && m.windows[0] != c->outputs[k].route)
            r.fail(path + QStringLiteral(".windows[0]"),
                QStringLiteral("window 1 shows the routed input: %1, not %2")
                    .arg(c->outputs[k].route + 1)
                    .arg(m.windows[0] + 1));
        if (IsSplitMode(m.mode)) {
            m.aspect = r.word(v.value(QStringLiteral("aspect")), path + QStringLiteral(".aspect"), AspectWords, true);
            m.layout
                = r.number(v.value(QStringLiteral("layout")), path + QStringLiteral(".layout"), 1, MaxLayouts, true);
            if (m.layout > 0)
                --m.layout;
        }
        if (m.mode == ModePip) {
            m.pipPos = r.word(v.value(QStringLiteral("pipPos")), path + QStringLiteral(".pipPos"), PipPosWords, true);
            m.pipSize
                = r.word(v.value(QStringLiteral("pipSize")), path + QStringLiteral(".pipSize"), PipSizeWords, true);
        }
        const QJsonValue user = v.value(QStringLiteral("userWindow"));
        if (!user.isNull() && !user.isUndefined() && HasUserWindow(m)) {
            const QJsonArray values = r.array(user, path + QStringLiteral(".userWindow"), 4);
            for (int n = 0; n < values.size() && n < 4; ++n)
                m.userWindow[n] = r.number(values.at(n), QStringLiteral("%1.userWindow[%2]").arg(path).arg(n), 0,
                    DeviceConfig::MaxUserWindowValue, false);
            m.userWindowKnown = values.size() == 4;
        }
        m.audioSource = r.word(
            v.value(QStringLiteral("audioSource")), path + QStringLiteral(".audioSource"), AudioSourceWords, true);
        m.vka = r.word(v.value(QStringLiteral("vka")), path + QStringLiteral(".vka"), VkaWords, true);
        m.itc = r.word(v.value(QStringLiteral("itc")), path + QStringLiteral(".itc"), OnOffWords, true, OnOffChoices);
    }
}

void CheckWallGroups(Reader &r, const DeviceConfig &c)
{
    for (int cell = 0; cell < c.wallCells.size() && !r.failed(); ++cell) {
        const DeviceConfig::WallCell &w = c.wallCells.at(cell);
        const QString path = QStringLiteral("wall.cells[%1].anchor").arg(cell);
        if (!w.spliced)
            continue;
        const DeviceConfig::WallCell &anchor = c.wallCells.at(w.anchor);
        if (!anchor.spliced || anchor.anchor != w.anchor) {
            r.fail(path, QStringLiteral("cell %1 is not the top-left cell of a splice group").arg(w.anchor));
            continue;
        }
    }
    for (int cell = 0; cell < c.wallCells.size() && !r.failed(); ++cell) {
        int top = 0, left = 0, bottom = 0, right = 0;
        if (!c.groupBlock(cell, &top, &left, &bottom, &right))
            continue;
        if (top * c.wallCols + left != cell)
            r.fail(QStringLiteral("wall.cells[%1].anchor").arg(cell),
                QStringLiteral("group %1 has cells above or left of its anchor").arg(cell));
        if (top == bottom && left == right)
            r.fail(QStringLiteral("wall.cells[%1].spliced").arg(cell), QStringLiteral("a splice group of one cell"));
        for (int row = top; row <= bottom && !r.failed(); ++row) {
            for (int col = left; col <= right; ++col) {
                const DeviceConfig::WallCell &member = c.wallCells.at(row * c.wallCols + col);
                if (!member.spliced || member.anchor != cell)
                    r.fail(QStringLiteral("wall.cells[%1]").arg(row * c.wallCols + col),
                        QStringLiteral("inside group %1 but not a member of it").arg(cell));
            }
        }
    }
}

void ReadWall(Reader &r, const QJsonObject &o, DeviceConfig *c)
{
    const QJsonObject wall = r.object(o.value(QStringLiteral("wall")), QStringLiteral("wall"));
    const int screens = c->outputs.size();
    c->wallRows = r.number(wall.value(QStringLiteral("rows")), QStringLiteral("wall.rows"), 1, screens, false);
    c->wallCols = r.number(wall.value(QStringLiteral("cols")), QStringLiteral("wall.cols"), 1, screens, false);
    if (r.failed())
        return;
    const int total = c->wallRows * c->wallCols;
    if (total > screens) {
        r.fail(QStringLiteral("wall"),
            QStringLiteral("a wall of %1 x %2 needs %3 screens; there are %4 outputs")
                .arg(c->wallRows)
                .arg(c->wallCols)
                .arg(total)
                .arg(screens));
        return;
    }
    const QJsonArray cells = r.array(wall.value(QStringLiteral("cells")), QStringLiteral("wall.cells"), total);
    QSet<int> shown;
    for (int k = 0; k < cells.size() && !r.failed(); ++k) {
        const QString path = QStringLiteral("wall.cells[%1]").arg(k);
        const QJsonObject cell = r.object(cells.at(k), path);
        DeviceConfig::WallCell w;
        w.output = r.number(cell.value(QStringLiteral("output")), path + QStringLiteral(".output"), 1, screens, false) - 1;
        if (!r.failed() && shown.contains(w.output))
            r.fail(path + QStringLiteral(".output"), QStringLiteral("output %1 is shown twice").arg(w.output + 1));
        shown.insert(w.output);
        w.input = r.number(cell.value(QStringLiteral("input")), path + QStringLiteral(".input"), 1,
                      c->inputs.size(), false)
            - 1;
        w.spliced = r.flag(cell.value(QStringLiteral("spliced")), path + QStringLiteral(".spliced"));
        w.singleExit = r.flag(cell.value(QStringLiteral("singleExit")), path + QStringLiteral(".singleExit"));
        w.anchor = r.number(cell.value(QStringLiteral("anchor")), path + QStringLiteral(".anchor"), 0, total - 1, false);
        const QJsonObject edges = r.object(cell.value(QStringLiteral("edges")), path + QStringLiteral(".edges"));
        for (int e = 0; e < 4; ++e)
            w.edges[e] = r.number(edges.value(QLatin1String(EdgeNames[e])),
                QStringLiteral("%1.edges.%2").arg(path, QLatin1String(EdgeNames[e])), 0, DeviceConfig::MaxBezelEdge,
                false);
        if (!r.failed() && w.singleExit && !w.spliced)
            r.fail(path + QStringLiteral(".singleExit"), QStringLiteral("only a spliced screen can be taken out"));
        c->wallCells.append(w);
    }
    if (!r.failed())
        CheckWallGroups(r, *c);
}

void ReadLinkSettings(Reader &r, const QJsonObject &o, DeviceConfig *c)
{
    const QJsonValue network = o.value(QStringLiteral("network"));
    if (!network.isNull() && !network.isUndefined()) {
        const QJsonObject n = r.object(network, QStringLiteral("network"));
        c->info.ip = r.text(n.value(QStringLiteral("ip")), QStringLiteral("network.ip"));
        c->info.port = r.text(n.value(QStringLiteral("port")), QStringLiteral("network.port"));
        c->info.mask = r.text(n.value(QStringLiteral("mask")), QStringLiteral("network.mask"));
        c->info.gateway = r.text(n.value(QStringLiteral("gateway")), QStringLiteral("network.gateway"));
        if (!r.failed() && !LinkNetworkParametersValid(c->info.ip, c->info.port, c->info.mask, c->info.gateway))
            r.fail(QStringLiteral("network"),
                QStringLiteral("not a valid IP address, port (1 to 65534), mask and gateway"));
        c->info.networkKnown = true;
    }
    const QJsonValue baud = o.value(QStringLiteral("baudRate"));
    if (!baud.isNull() && !baud.isUndefined()) {
        c->info.baudRate = r.number(baud, QStringLiteral("baudRate"), 1, 115200, false);
        if (!r.failed() && LinkBaudRateText(c->info.baudRate).isEmpty())
            r.fail(QStringLiteral("baudRate"),
                QStringLiteral("%1 is not one of %2").arg(c->info.baudRate).arg(LinkBaudRateTexts().join(", ")));
    }
}

void ReadInfo(Reader &r, const QJsonObject &o, DeviceConfig *c)
{
    const QJsonObject firmware = o.value(QStringLiteral("firmware")).toObject();
    c->info.mainVersion = r.text(firmware.value(QStringLiteral("main")), QStringLiteral("firmware.main"));
    c->info.keyboardVersion = r.text(firmware.value(QStringLiteral("keyboard")), QStringLiteral("firmware.keyboard"));
    c->info.date = r.text(o.value(QStringLiteral("date")), QStringLiteral("date"));
    c->info.programVersion = r.text(o.value(QStringLiteral("programVersion")), QStringLiteral("programVersion"));
}

// One difference in words.
QString Differs(const QString &what, const QString &device, const QString &wanted)
{
    return QStringLiteral("%1: %2 on the device, %3 in the file")
        .arg(what, device.isEmpty() ? QStringLiteral("unknown") : device, wanted);
}

void CompareWord(QStringList &out, const QString &what, const ValueWordList &list, int device, int wanted)
{
    if (wanted >= 0 && device != wanted)
        out << Differs(what, Word(list, device).toString(), list.text(quint32(wanted)));
}

void CompareNumber(QStringList &out, const QString &what, int device, int wanted)
{
    if (wanted >= 0 && device != wanted)
        out << Differs(what, device < 0 ? QString() : QString::number(device), QString::number(wanted));
}

void CompareMultiview(QStringList &out, const QString &port, const DeviceConfig::Multiview &d,
    const DeviceConfig::Multiview &w)
{
    CompareWord(out, port + QStringLiteral(" multiview mode"), MultiviewModeWords, d.mode, w.mode);
    if (d.mode != w.mode)
        return; // the mode's own fields differ with it
    for (int k = 1; k < WindowCount(w.mode); ++k)
        CompareNumber(out, QStringLiteral("%1 window %2 input").arg(port).arg(k + 1), d.windows[k] + 1, w.windows[k] + 1);
    CompareWord(out, port + QStringLiteral(" aspect"), AspectWords, d.aspect, w.aspect);
    CompareNumber(out, port + QStringLiteral(" layout"), d.layout + 1, w.layout < 0 ? -1 : w.layout + 1);
    CompareWord(out, port + QStringLiteral(" PIP position"), PipPosWords, d.pipPos, w.pipPos);
    CompareWord(out, port + QStringLiteral(" PIP size"), PipSizeWords, d.pipSize, w.pipSize);
    if (w.userWindowKnown) {
        for (int n = 0; n < 4; ++n) {
            static const char *const names[4] = { "H start", "V start", "H size", "V size" };
            CompareNumber(out, QStringLiteral("%1 user window %2").arg(port, QLatin1String(names[n])),
                d.userWindowKnown ? d.userWindow[n] : -1, w.userWindow[n]);
        }
    }
    CompareWord(out, port + QStringLiteral(" audio source"), AudioSourceWords, d.audioSource, w.audioSource);
    CompareWord(out, port + QStringLiteral(" picture without signal"), VkaWords, d.vka, w.vka);
    CompareWord(out, port + QStringLiteral(" ITC"), OnOffWords, d.itc, w.itc);
}

QString CellName(const DeviceConfig &c, int cell)
{
    return QStringLiteral("wall cell %1,%2").arg(cell / qMax(1, c.wallCols) + 1).arg(cell % qMax(1, c.wallCols) + 1);
}

void CompareWall(QStringList &out, const DeviceConfig &d, const DeviceConfig &w)
{
    if (d.wallRows != w.wallRows || d.wallCols != w.wallCols) {
        out << Differs(QStringLiteral("wall size"), QStringLiteral("%1 x %2").arg(d.wallRows).arg(d.wallCols),
            QStringLiteral("%1 x %2").arg(w.wallRows).arg(w.wallCols));
        return;
    }
    for (int k = 0; k < w.wallCells.size() && k < d.wallCells.size(); ++k) {
        const DeviceConfig::WallCell &dc = d.wallCells.at(k);
        const DeviceConfig::WallCell &wc = w.wallCells.at(k);
        const QString cell = CellName(w, k);
        CompareNumber(out, cell + QStringLiteral(" output"), dc.output + 1, wc.output + 1);
        CompareNumber(out, cell + QStringLiteral(" input"), dc.input + 1, wc.input + 1);
        if (dc.spliced != wc.spliced || (wc.spliced && dc.anchor != wc.anchor))
            out << Differs(cell + QStringLiteral(" splice group"),
                dc.spliced ? QStringLiteral("group at cell %1").arg(dc.anchor) : QStringLiteral("none"),
                wc.spliced ? QStringLiteral("group at cell %1").arg(wc.anchor) : QStringLiteral("none"));
        if (dc.singleExit != wc.singleExit)
            out << Differs(cell + QStringLiteral(" taken out of its group"),
                dc.singleExit ? QStringLiteral("yes") : QStringLiteral("no"),
                wc.singleExit ? QStringLiteral("yes") : QStringLiteral("no"));
        for (int e = 0; e < 4; ++e)
            CompareNumber(out, QStringLiteral("%1 %2 edge").arg(cell, QLatin1String(EdgeNames[e])), dc.edges[e],
                wc.edges[e]);
    }
}

} // namespace

DeviceConfig DeviceConfig::FromDeviceState()
{
    DeviceConfig c;
    c.model = QString::fromLatin1(ExpectedModel);
    const int inputs = int(qMin(DeviceState.inputCount, MaxPorts));
    const int outputs = int(qMin(DeviceState.outputCount, MaxPorts));
    c.inputs.resize(inputs);
    for (int i = 0; i < inputs; ++i)
        c.inputs[i].edidMode = EdidModeWords.contains(DeviceState.edidModeOfInput[i]) ? int(DeviceState.edidModeOfInput[i]) : -1;
    c.outputs.resize(outputs);
    for (int o = 0; o < outputs; ++o) {
        Output &out = c.outputs[o];
        out.route = int(DeviceState.routeInputOfOutput[o]);
        const MultiviewState &s = DeviceState.multiview[o];
        Multiview &m = out.multiview;
        m.mode = int(s.mode);
        for (int w = 0; w < WindowCount(m.mode); ++w)
            m.windows[w] = int(s.windowInput[w]);
        if (IsSplitMode(m.mode)) {
            m.aspect = int(s.aspect);
            m.layout = int(s.layout);
        }
        if (m.mode == ModePip) {
            m.pipPos = int(s.pipPos);
            m.pipSize = int(s.pipSize);
        }
        m.audioSource = int(s.audioSource);
        m.vka = int(s.vka);
        m.itc = int(s.itc);
    }
    const WallState &wall = DeviceState.wall;
    c.wallRows = int(wall.rows);
    c.wallCols = int(wall.cols);
    for (quint32 cell = 0; cell < qMin(wall.total, MaxPorts); ++cell) {
        const quint32 output = wall.entry[cell].outputIndex;
        const WallEntry &screen = WallSlot(output);
        WallCell w;
        w.output = int(output);
        w.input = int(screen.inputIndex);
        w.spliced = screen.spliced;
        w.singleExit = screen.singleExit;
        w.anchor = int(screen.spliceAnchor);
        w.edges[0] = int(screen.edgeLeft);
        w.edges[1] = int(screen.edgeRight);
        w.edges[2] = int(screen.edgeUp);
        w.edges[3] = int(screen.edgeBottom);
        c.wallCells.append(w);
    }
    return c;
}

QJsonObject DeviceConfig::toJson() const
{
    QJsonObject o;
    o.insert(QStringLiteral("format"), QLatin1String(FormatName));
    o.insert(QStringLiteral("formatVersion"), FormatVersion);
    o.insert(QStringLiteral("model"), model);
    o.insert(QStringLiteral("inputCount"), inputs.size());
    o.insert(QStringLiteral("outputCount"), outputs.size());
    QJsonArray inputList;
    for (const Input &in : inputs) {
        QJsonObject object;
        object.insert(QStringLiteral("name"), TextOrNull(in.name));
        object.insert(QStringLiteral("audio"), Word(InAudioWords, in.audio));
        object.insert(QStringLiteral("edidMode"), Word(EdidModeWords, in.edidMode));
        inputList.append(object);
    }
    o.insert(QStringLiteral("inputs"), inputList);
    QJsonArray routes, outputList, views;
    for (const Output &out : outputs) {
        routes.append(out.route + 1);
        QJsonObject object;
        object.insert(QStringLiteral("name"), TextOrNull(out.name));
        object.insert(QStringLiteral("hdcp"), Word(HdcpWords, out.hdcp));
        object.insert(QStringLiteral("resolution"), Word(OutResolutionWords, out.resolution));
        object.insert(QStringLiteral("rotation"), Word(RotationWords, out.rotation));
        object.insert(QStringLiteral("mute"), Word(OnOffWords, out.mute));
        object.insert(QStringLiteral("freeze"), Word(OnOffWords, out.freeze));
        outputList.append(object);
        const Multiview &m = out.multiview;
        QJsonObject view;
        view.insert(QStringLiteral("mode"), Word(MultiviewModeWords, m.mode));
        QJsonArray windows;
        for (int w = 0; w < 4; ++w)
            windows.append(NumberOrNull(m.windows[w] + 1, m.windows[w] >= 0));
        view.insert(QStringLiteral("windows"), windows);
        view.insert(QStringLiteral("aspect"), Word(AspectWords, m.aspect));
        view.insert(QStringLiteral("layout"), NumberOrNull(m.layout + 1, m.layout >= 0));
        view.insert(QStringLiteral("pipPos"), Word(PipPosWords, m.pipPos));
        view.insert(QStringLiteral("pipSize"), Word(PipSizeWords, m.pipSize));
        if (m.userWindowKnown)
            view.insert(QStringLiteral("userWindow"),
                QJsonArray { m.userWindow[0], m.userWindow[1], m.userWindow[2], m.userWindow[3] });
        else
            view.insert(QStringLiteral("userWindow"), QJsonValue(QJsonValue::Null));
        view.insert(QStringLiteral("audioSource"), Word(AudioSourceWords, m.audioSource));
        view.insert(QStringLiteral("vka"), Word(VkaWords, m.vka));
        view.insert(QStringLiteral("itc"), Word(OnOffWords, m.itc));
        views.append(view);
    }
    o.insert(QStringLiteral("routes"), routes);
    o.insert(QStringLiteral("outputs"), outputList);
    o.insert(QStringLiteral("multiview"), views);
    QJsonArray cells;
    for (const WallCell &w : wallCells) {
        QJsonObject edges;
        for (int e = 0; e < 4; ++e)
            edges.insert(QLatin1String(EdgeNames[e]), w.edges[e]);
        QJsonObject cell;
        cell.insert(QStringLiteral("output"), w.output + 1);
        cell.insert(QStringLiteral("input"), w.input + 1);
        cell.insert(QStringLiteral("spliced"), w.spliced);
        cell.insert(QStringLiteral("singleExit"), w.singleExit);
        cell.insert(QStringLiteral("anchor"), w.anchor);
        cell.insert(QStringLiteral("edges"), edges);
        cells.append(cell);
    }
    QJsonObject wall;
    wall.insert(QStringLiteral("rows"), wallRows);
    wall.insert(QStringLiteral("cols"), wallCols);
    wall.insert(QStringLiteral("cells"), cells);
    o.insert(QStringLiteral("wall"), wall);
    if (info.networkKnown) {
        QJsonObject network;
        network.insert(QStringLiteral("ip"), info.ip);
        network.insert(QStringLiteral("port"), info.port);
        network.insert(QStringLiteral("mask"), info.mask);
        network.insert(QStringLiteral("gateway"), info.gateway);
        o.insert(QStringLiteral("network"), network);
    } else {
        o.insert(QStringLiteral("network"), QJsonValue(QJsonValue::Null));
    }
    o.insert(QStringLiteral("baudRate"), NumberOrNull(info.baudRate, info.baudRate > 0));
    QJsonObject firmware;
    firmware.insert(QStringLiteral("main"), TextOrNull(info.mainVersion));
    firmware.insert(QStringLiteral("keyboard"), TextOrNull(info.keyboardVersion));
    o.insert(QStringLiteral("firmware"), firmware);
    o.insert(QStringLiteral("date"), TextOrNull(info.date));
    o.insert(QStringLiteral("programVersion"), TextOrNull(info.programVersion));
    return o;
}

bool DeviceConfig::FromJson(const QJsonObject &o, DeviceConfig *config, QString *error)
{
    Reader r;
    DeviceConfig c;
    if (o.value(QStringLiteral("format")).toString() != QLatin1String(FormatName))
        r.fail(QStringLiteral("format"), QStringLiteral("not a device backup of this program"));
    const int version = r.number(o.value(QStringLiteral("formatVersion")), QStringLiteral("formatVersion"), 1,
        std::numeric_limits<int>::max(), false);
    if (!r.failed() && version > FormatVersion)
        r.fail(QStringLiteral("formatVersion"),
            QStringLiteral("%1 is newer than this program reads (%2)").arg(version).arg(FormatVersion));
    c.model = r.text(o.value(QStringLiteral("model")), QStringLiteral("model"));
    if (!r.failed() && c.model != QLatin1String(ExpectedModel))
        r.fail(QStringLiteral("model"),
            QStringLiteral("the file is for \"%1\"; this program drives \"%2\"").arg(c.model, QLatin1String(ExpectedModel)));
    const int inputs = r.number(o.value(QStringLiteral("inputCount")), QStringLiteral("inputCount"), 1, int(MaxPorts), false);
    const int outputs
        = r.number(o.value(QStringLiteral("outputCount")), QStringLiteral("outputCount"), 1, int(MaxPorts), false);
    if (!r.failed())
        ReadInputs(r, o, inputs, &c);
    if (!r.failed())
        ReadOutputs(r, o, outputs, &c);
    if (!r.failed())
        ReadMultiview(r, o, &c);
    if (!r.failed())
        ReadWall(r, o, &c);
    if (!r.failed())
        ReadLinkSettings(r, o, &c);
    if (!r.failed())
        ReadInfo(r, o, &c);
    if (r.failed()) {
        *error = r.error;
        return false;
    }
    *config = c;
    return true;
}

bool DeviceConfig::FromText(const QByteArray &text, DeviceConfig *config, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *error = QStringLiteral("not JSON: %1 at byte %2").arg(parseError.errorString()).arg(parseError.offset);
        return false;
    }
    if (!document.isObject()) {
        *error = QStringLiteral("not a JSON object");
        return false;
    }
    return FromJson(document.object(), config, error);
}

QStringList DeviceConfig::Differences(const DeviceConfig &device, const DeviceConfig &wanted, bool withLink)
{
    QStringList out;
    if (device.inputs.size() != wanted.inputs.size() || device.outputs.size() != wanted.outputs.size()) {
        out << Differs(QStringLiteral("ports"),
            QStringLiteral("%1 inputs, %2 outputs").arg(device.inputs.size()).arg(device.outputs.size()),
            QStringLiteral("%1 inputs, %2 outputs").arg(wanted.inputs.size()).arg(wanted.outputs.size()));
        return out;
    }
    for (int i = 0; i < wanted.inputs.size(); ++i) {
        const QString port = QStringLiteral("Input %1").arg(i + 1);
        CompareWord(out, port + QStringLiteral(" audio"), InAudioWords, device.inputs[i].audio, wanted.inputs[i].audio);
        CompareWord(out, port + QStringLiteral(" EDID mode"), EdidModeWords, device.inputs[i].edidMode,
            wanted.inputs[i].edidMode);
    }
    for (int k = 0; k < wanted.outputs.size(); ++k) {
        const Output &d = device.outputs[k];
        const Output &w = wanted.outputs[k];
        const QString port = QStringLiteral("Output %1").arg(k + 1);
        CompareNumber(out, port + QStringLiteral(" input"), d.route + 1, w.route + 1);
        CompareWord(out, port + QStringLiteral(" HDCP"), HdcpWords, d.hdcp, w.hdcp);
        CompareWord(out, port + QStringLiteral(" resolution"), OutResolutionWords, d.resolution, w.resolution);
        CompareWord(out, port + QStringLiteral(" rotation"), RotationWords, d.rotation, w.rotation);
        CompareWord(out, port + QStringLiteral(" audio mute"), OnOffWords, d.mute, w.mute);
        CompareWord(out, port + QStringLiteral(" freeze"), OnOffWords, d.freeze, w.freeze);
        CompareMultiview(out, port, d.multiview, w.multiview);
    }
    CompareWall(out, device, wanted);
    if (withLink) {
        const Info &d = device.info;
        const Info &w = wanted.info;
        if (w.networkKnown && (d.ip != w.ip || d.port != w.port || d.mask != w.mask || d.gateway != w.gateway))
            out << Differs(QStringLiteral("network settings"),
                d.networkKnown ? QStringList({ d.ip, d.port, d.mask, d.gateway }).join(' ') : QString(),
                QStringList({ w.ip, w.port, w.mask, w.gateway }).join(' '));
        CompareNumber(out, QStringLiteral("baud rate"), d.baudRate > 0 ? d.baudRate : -1, w.baudRate > 0 ? w.baudRate : -1);
    }
    return out;
}

bool DeviceConfig::groupBlock(int anchorCell, int *top, int *left, int *bottom, int *right) const
{
    if (anchorCell < 0 || anchorCell >= wallCells.size() || wallCols <= 0)
        return false;
    const WallCell &anchor = wallCells.at(anchorCell);
    if (!anchor.spliced || anchor.anchor != anchorCell)
        return false;
    *top = *bottom = anchorCell / wallCols;
    *left = *right = anchorCell % wallCols;
    for (int k = 0; k < wallCells.size(); ++k) {
        if (!wallCells.at(k).spliced || wallCells.at(k).anchor != anchorCell)
            continue;
        *top = qMin(*top, k / wallCols);
        *bottom = qMax(*bottom, k / wallCols);
        *left = qMin(*left, k % wallCols);
        *right = qMax(*right, k % wallCols);
    }
    return true;
}

void DeviceConfig::QueueReads()
{
    const quint32 inputs = qMin(DeviceState.inputCount, MaxPorts);
    const quint32 outputs = qMin(DeviceState.outputCount, MaxPorts);
    CmdGetMatrixRoute();
    for (quint32 o = 0; o < outputs; ++o) {
        CmdGetMultiviewSync(o);
        CmdGetOutAudioSource(o);
        CmdGetVka(o);
        CmdGetItc(o);
        CmdGetOutInfo(o);
        CmdGetOutRotation(o);
    }
    for (quint32 i = 0; i < inputs; ++i) {
        CmdGetInInfo(i);
        CmdGetEdidMode(i);
    }
    CmdGetTvWallInfo();
}
