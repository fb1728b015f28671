#include "cli/CliStateJson.h"

#include "cli/CliPages.h"
#include "protocol/DeviceState.h"
#include "protocol/MultiviewVocabulary.h"
#include "protocol/ValueWords.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

QJsonValue WordOrNull(const ValueWordList &list, quint32 index)
{
    return list.contains(index) ? QJsonValue(list.text(index)) : QJsonValue(QJsonValue::Null);
}

// Indices into MultiviewModeWords.
using Multiview::ModePip;

QJsonValue TextOrNull(const QString &text, bool seen)
{
    return seen ? QJsonValue(text) : QJsonValue(QJsonValue::Null);
}

quint32 PortCount(quint32 count)
{
    return qMin(count, MaxPorts);
}

QJsonArray Routes()
{
    QJsonArray routes;
    for (quint32 o = 0; o < PortCount(DeviceState.outputCount); ++o)
        routes.append(int(DeviceState.routeInputOfOutput[o]) + 1);
    return routes;
}

QJsonObject MultiviewJson(quint32 output)
{
    const MultiviewState &state = DeviceState.multiview[output];
    // Windows the mode does not use show nothing.
    const quint32 usedWindows = state.mode < 5 ? WindowCountOfMode[state.mode] : 0;
    QJsonArray windows;
    for (quint32 w = 0; w < 4; ++w) {
        if (w < usedWindows && WindowInputWords.contains(state.windowInput[w]))
            windows.append(int(state.windowInput[w]) + 1);
        else
            windows.append(QJsonValue(QJsonValue::Null));
    }
    // The device reports position and size only in PIP mode, and aspect, layout and the
    // number of layouts only in the multi-window modes; elsewhere they are unknown.
    const bool pip = state.mode == ModePip;
    const bool multiWindow = Multiview::HasSplitLayout(state.mode);
    const QJsonValue unknown(QJsonValue::Null);
    QJsonObject object;
    object.insert(QStringLiteral("mode"), WordOrNull(MultiviewModeWords, state.mode));
    object.insert(QStringLiteral("windows"), windows);
    object.insert(QStringLiteral("aspect"), multiWindow ? WordOrNull(AspectWords, state.aspect) : unknown);
    object.insert(QStringLiteral("layout"), multiWindow ? QJsonValue(qint64(state.layout) + 1) : unknown);
    object.insert(QStringLiteral("maxMode"), multiWindow ? QJsonValue(qint64(state.maxMode)) : unknown);
    object.insert(QStringLiteral("pipPos"), pip ? WordOrNull(PipPosWords, state.pipPos) : unknown);
    object.insert(QStringLiteral("pipSize"), pip ? WordOrNull(PipSizeWords, state.pipSize) : unknown);
    object.insert(QStringLiteral("audioSource"), WordOrNull(AudioSourceWords, state.audioSource));
    object.insert(QStringLiteral("vka"), WordOrNull(VkaWords, state.vka));
    object.insert(QStringLiteral("itc"), WordOrNull(OnOffWords, state.itc));
    return object;
}

QJsonObject WallJson()
{
    const WallState &wall = DeviceState.wall;
    QJsonArray cells;
    for (quint32 c = 0; c < qMin(wall.total, MaxPorts); ++c) {
        const quint32 output = wall.entry[c].outputIndex;
        const WallEntry &screen = WallSlot(output);
        QJsonObject edges;
        edges.insert(QStringLiteral("left"), int(screen.edgeLeft));
        edges.insert(QStringLiteral("right"), int(screen.edgeRight));
        edges.insert(QStringLiteral("up"), int(screen.edgeUp));
        edges.insert(QStringLiteral("bottom"), int(screen.edgeBottom));
        QJsonObject cell;
        cell.insert(QStringLiteral("output"), qint64(output) + 1);
        cell.insert(QStringLiteral("input"), qint64(screen.inputIndex) + 1);
        cell.insert(QStringLiteral("spliced"), screen.spliced);
        cell.insert(QStringLiteral("singleExit"), screen.singleExit);
        cell.insert(QStringLiteral("anchor"), qint64(screen.spliceAnchor));
        cell.insert(QStringLiteral("edges"), edges);
        cells.append(cell);
    }
    QJsonObject object;
    object.insert(QStringLiteral("rows"), qint64(wall.rows));
    object.insert(QStringLiteral("cols"), qint64(wall.cols));
    object.insert(QStringLiteral("cells"), cells);
    return object;
}

QJsonArray Inputs(const CliPages &pages)
{
    QJsonArray inputs;
    for (quint32 i = 0; i < PortCount(DeviceState.inputCount); ++i) {
        const CliPages::InputTexts &texts = pages.input(i);
        QJsonObject object;
        object.insert(QStringLiteral("format"), TextOrNull(texts.format, !texts.format.isNull()));
        object.insert(QStringLiteral("audio"), TextOrNull(texts.audio, !texts.audio.isNull()));
        inputs.append(object);
    }
    return inputs;
}

QJsonArray Outputs(const CliPages &pages)
{
    QJsonArray outputs;
    for (quint32 o = 0; o < PortCount(DeviceState.outputCount); ++o) {
        const CliPages::OutputTexts &texts = pages.output(o);
        QJsonObject object;
        object.insert(QStringLiteral("hdcp"), TextOrNull(texts.hdcp, !texts.hdcp.isNull()));
        object.insert(
            QStringLiteral("inputFormat"), TextOrNull(texts.inputFormat, !texts.inputFormat.isNull()));
        object.insert(QStringLiteral("resolution"), TextOrNull(texts.resolution, !texts.resolution.isNull()));
        outputs.append(object);
    }
    return outputs;
}

} // namespace

QJsonObject CliStateJson::Build(const QString &model, const CliPages &pages, LinkSettings linkSettings)
{
    QJsonObject state;
    state.insert(QStringLiteral("model"), model);
    state.insert(QStringLiteral("inputCount"), qint64(DeviceState.inputCount));
    state.insert(QStringLiteral("outputCount"), qint64(DeviceState.outputCount));
    state.insert(QStringLiteral("routes"), Routes());
    QJsonArray multiview;
    for (quint32 o = 0; o < PortCount(DeviceState.outputCount); ++o)
        multiview.append(MultiviewJson(o));
    state.insert(QStringLiteral("multiview"), multiview);
    state.insert(QStringLiteral("wall"), WallJson());
    state.insert(QStringLiteral("inputs"), Inputs(pages));
    state.insert(QStringLiteral("outputs"), Outputs(pages));
    if (linkSettings == LinkSettings::Network) {
        if (pages.networkSeen()) {
            const CliPages::NetworkTexts &network = pages.network();
            QJsonObject object;
            object.insert(QStringLiteral("ip"), network.ip);
            object.insert(QStringLiteral("port"), network.port);
            object.insert(QStringLiteral("mask"), network.mask);
            object.insert(QStringLiteral("gateway"), network.gateway);
            state.insert(QStringLiteral("network"), object);
        } else {
            state.insert(QStringLiteral("network"), QJsonValue(QJsonValue::Null));
        }
    } else {
        state.insert(QStringLiteral("baudRate"),
            pages.baudSeen() ? QJsonValue(pages.baudRate()) : QJsonValue(QJsonValue::Null));
    }
    return state;
}

QJsonObject CliStateJson::Wall()
{
    return WallJson();
}

QByteArray CliStateJson::ToText(const QJsonObject &state)
{
    return QJsonDocument(state).toJson(QJsonDocument::Compact);
}
