// The simulated device's state: everything a controller can set or read back. Enumerated values
// are 0-based indices into the value word lists, as they travel on the wire.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>
#include <array>

constexpr int SimInputCount = 4;
constexpr int SimOutputCount = 4;
constexpr int SimWindowCount = 4;
constexpr int SimSceneCount = 20;
// A wall never has more screens than the device has outputs.
constexpr int SimMaxWallCells = SimOutputCount;

// Multiview mode indices (MultiviewModeWords).
enum SimMode : quint32 { ModeSingle = 0, ModePip = 1, ModePbp = 2, Mode3xWin = 3, Mode4xWin = 4 };
// Index of "USER" in PipPosWords and PipSizeWords, and of the presenter layout of PBP.
constexpr quint32 PipPosUser = 4;
constexpr quint32 PipPosRightBottom = 3;
constexpr quint32 PipSizeUser = 3;
constexpr quint32 PipSizeLarge = 2;
constexpr quint32 PbpPresenterLayout = 2;
constexpr quint32 OnIndex = 0;
constexpr quint32 OffIndex = 1;

// Four numbers of a user-defined window: horizontal start, vertical start, width, height.
using SimWindowRect = std::array<quint32, 4>;

struct SimMultiview {
    quint32 mode = ModeSingle;
    quint32 aspect = 0;
    quint32 layout = 0; // 0-based; the wire carries it 1-based
    quint32 pipPos = PipPosRightBottom;
    quint32 pipSize = 0;
    // Window 1 is the output's route: the input of window 1 is the input routed to the output.
    std::array<quint32, SimWindowCount> windowInput {};
    quint32 audioSource = 0;
    quint32 vka = 0;
    quint32 itc = OffIndex;
    SimWindowRect pipUser {};
    SimWindowRect presenter {};

    bool operator==(const SimMultiview &other) const
    {
        return mode == other.mode && aspect == other.aspect && layout == other.layout
            && pipPos == other.pipPos && pipSize == other.pipSize && windowInput == other.windowInput
            && audioSource == other.audioSource && vka == other.vka && itc == other.itc
            && pipUser == other.pipUser && presenter == other.presenter;
    }
};

struct SimOutput {
    quint32 hdcp = 0;
    quint32 resolution = 0;
    quint32 rotation = 0;
    quint32 mute = OffIndex;
    quint32 freeze = OffIndex;
    SimMultiview multiview;

    bool operator==(const SimOutput &other) const
    {
        return hdcp == other.hdcp && resolution == other.resolution && rotation == other.rotation
            && mute == other.mute && freeze == other.freeze && multiview == other.multiview;
    }
};

// The screen data of one output in the wall: flags (bit 0 spliced, bit 1 as received, bit 2
// taken out of its group), the group's anchor cell, bezel edges and the group geometry that the
// per-screen wall command carries.
struct SimScreen {
    quint32 flags = 0;
    quint32 anchor = 0;
    std::array<quint32, 4> edges {}; // left, right, up, bottom
    quint32 spliceRows = 0;
    quint32 spliceCols = 0;
    quint32 rowPos = 0;
    quint32 colPos = 0;

    bool operator==(const SimScreen &other) const
    {
        return flags == other.flags && anchor == other.anchor && edges == other.edges
            && spliceRows == other.spliceRows && spliceCols == other.spliceCols && rowPos == other.rowPos
            && colPos == other.colPos;
    }
};

struct SimWall {
    quint32 rows = 0;
    quint32 cols = 0;
    QVector<quint32> cellOutput; // rows × cols entries, row-major
    std::array<SimScreen, SimOutputCount> screens {};

    bool operator==(const SimWall &other) const
    {
        return rows == other.rows && cols == other.cols && cellOutput == other.cellOutput
            && screens == other.screens;
    }
};

// What a scene stores and restores.
struct SimScene {
    std::array<SimOutput, SimOutputCount> outputs {};
    std::array<quint32, SimInputCount> inputAudio {};
    SimWall wall;

    bool operator==(const SimScene &other) const
    {
        return outputs == other.outputs && inputAudio == other.inputAudio && wall == other.wall;
    }
};

struct SimNetwork {
    QString ip;
    QString port;
    QString mask;
    QString gateway;

    bool operator==(const SimNetwork &other) const
    {
        return ip == other.ip && port == other.port && mask == other.mask && gateway == other.gateway;
    }
};

struct SimState {
    SimScene live;
    std::array<SimScene, SimSceneCount> scenes {};
    std::array<quint32, SimInputCount> edidMode {};
    std::array<QByteArray, SimInputCount> userEdid {};
    SimNetwork network;
    int baudrate = 9600;

    bool operator==(const SimState &other) const
    {
        return live == other.live && scenes == other.scenes && edidMode == other.edidMode
            && userEdid == other.userEdid && network == other.network && baudrate == other.baudrate;
    }
    bool operator!=(const SimState &other) const { return !(*this == other); }
};

// The state a new or reset device has; the network settings are passed in because they
// describe where the simulator really listens.
SimScene FactoryScene();
SimState FactoryState(const SimNetwork &network, int baudrate = 9600);
