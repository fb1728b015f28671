// What the program believes about the connected device. GUI thread only, no lock.
#pragma once

#include <QtGlobal>

constexpr quint32 MaxPorts = 160;

// Every computed port, cell or slot index goes through this before touching a table.
inline quint32 ClampSlot(quint32 index)
{
    return index < MaxPorts ? index : MaxPorts - 1;
}

struct MultiviewState {
    quint32 mode; // index into MultiviewModeWords
    quint32 maxMode; // number of layout variants of the mode
    quint32 aspect; // index into AspectWords
    quint32 layout; // 0-based layout variant
    quint32 pipPos; // index into PipPosWords
    quint32 pipSize; // index into PipSizeWords
    quint32 windowInput[4]; // index into WindowInputWords
    quint32 audioSource; // index into AudioSourceWords
    quint32 vka; // index into VkaWords
    quint32 itc; // index into OnOffWords
    quint32 confirmed; // MultiviewConfirmed bits: which of the above the device reported
};

// A zero in MultiviewState is also a valid word; these bits tell a reported value from none.
enum MultiviewConfirmed : quint32 {
    ConfirmedMode = 1u << 0, // mode and the settings of that mode
    ConfirmedAudioSource = 1u << 1,
    ConfirmedVka = 1u << 2,
    ConfirmedItc = 1u << 3,
};

// Slot c as a wall cell: outputIndex says which output the cell shows. Slot o as an output:
// the protocol data of that output's screen. Where a cell lies on screen is the grid's business.
struct WallEntry {
    bool spliced;
    bool singleExit;
    quint32 inputIndex;
    quint32 outputIndex;
    quint32 edgeLeft;
    quint32 edgeRight;
    quint32 edgeUp;
    quint32 edgeBottom;
    quint32 spliceAnchor;
    quint32 spliceRowPos;
    quint32 spliceColPos;
    quint32 spliceRows;
    quint32 spliceCols;
    bool flagBit1;
};

struct WallState {
    quint32 rows;
    quint32 cols;
    quint32 total;
    WallEntry entry[MaxPorts];
};

// Signal settings the device confirmed, each the word index + 1 (0: never confirmed), so that
// a control can fall back to them or to empty, never to an unconfirmed choice.
struct SignalSettings {
    quint32 inAudio[MaxPorts]; // InAudioWords
    quint32 outHdcp[MaxPorts]; // HdcpWords
    quint32 outResolution[MaxPorts]; // OutResolutionWords
    quint32 outRotation[MaxPorts]; // RotationWords
    quint32 outMute[MaxPorts]; // OnOffWords
    quint32 outFreeze[MaxPorts]; // OnOffWords
};

// The confirmed word index of a signal setting, or -1 when none was confirmed.
inline int ConfirmedIndex(const quint32 (&table)[MaxPorts], quint32 port)
{
    return int(table[port < MaxPorts ? port : MaxPorts - 1]) - 1;
}

// Number of windows of each multiview mode.
extern const quint8 WindowCountOfMode[5];

struct DeviceStateRecord {
    bool modelUnconfirmed;
    bool modelReplyHandled;
    quint32 inputCount;
    quint32 outputCount;
    quint32 routeInputOfOutput[MaxPorts];
    MultiviewState multiview[MaxPorts];
    WallState wall;
    quint32 edidModeOfInput[MaxPorts];
    SignalSettings signal;
};

// The one process-wide record, zero-filled at start but for modelUnconfirmed.
extern DeviceStateRecord DeviceState;

// Back to the start-up state (tests and the headless client start each run from it).
void DeviceState_Clear();
// Clears every wall slot, maps cell k to output k, and empties the wall size.
void DeviceState_ResetWall();
// The expected model answered: 4 inputs, 4 outputs.
void DeviceState_ConfirmModel();
// Stores a route; output 255 stands for every output below outputCount.
void DeviceState_SetRoute(quint32 input, quint32 output);

inline MultiviewState &MultiviewOf(quint32 output)
{
    return DeviceState.multiview[ClampSlot(output)];
}

inline WallEntry &WallSlot(quint32 index)
{
    return DeviceState.wall.entry[ClampSlot(index)];
}
