#include "sim/SimState.h"

#include "protocol/ValueWords.h"

namespace {

quint32 IndexOfWord(const ValueWordList &list, const char *word)
{
    const int index = list.indexOf(QString::fromLatin1(word));
    return index < 0 ? 0 : quint32(index);
}

SimOutput FactoryOutput(quint32 output)
{
    SimOutput result;
    result.hdcp = IndexOfWord(HdcpWords, "FORCE-1.4");
    result.resolution = IndexOfWord(OutResolutionWords, "AUTO");
    result.rotation = IndexOfWord(RotationWords, "0");
    result.mute = OffIndex;
    result.freeze = OffIndex;
    // Output n shows input n, and its other windows the following inputs.
    for (quint32 w = 0; w < SimWindowCount; ++w)
        result.multiview.windowInput[w] = (output + w) % SimInputCount;
    result.multiview.audioSource = IndexOfWord(AudioSourceWords, "WIN1");
    result.multiview.vka = IndexOfWord(VkaWords, "BLUESCREEN");
    result.multiview.itc = OffIndex;
    // On a 1920 x 1080 canvas: a quarter-size window at the bottom right, and the full picture.
    result.multiview.pipUser = { 1440, 810, 480, 270 };
    result.multiview.presenter = { 0, 0, 1920, 1080 };
    return result;
}

SimWall FactoryWall()
{
    SimWall wall;
    wall.rows = 2;
    wall.cols = 2;
    for (quint32 cell = 0; cell < wall.rows * wall.cols; ++cell)
        wall.cellOutput.append(cell);
    return wall;
}

} // namespace

SimScene FactoryScene()
{
    SimScene scene;
    for (quint32 o = 0; o < SimOutputCount; ++o)
        scene.outputs[o] = FactoryOutput(o);
    scene.inputAudio.fill(IndexOfWord(InAudioWords, "EMBEDDED"));
    scene.wall = FactoryWall();
    return scene;
}

SimState FactoryState(const SimNetwork &network, int baudrate)
{
    SimState state;
    state.live = FactoryScene();
    state.scenes.fill(state.live);
    state.edidMode.fill(IndexOfWord(EdidModeWords, "4K60-2.0"));
    state.network = network;
    state.baudrate = baudrate;
    return state;
}
