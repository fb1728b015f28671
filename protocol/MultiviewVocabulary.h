// The multiview words of the protocol as indices: modes, PIP positions and sizes, layout
// variants, and which layouts carry a user-defined window. The pages, the command builders,
// the reply parser and the headless client all decide from here, so they cannot disagree.
#pragma once

#include "protocol/DeviceState.h"

#include <QtGlobal>

namespace Multiview {

// Indices into MultiviewModeWords.
constexpr quint32 ModeSingle = 0;
constexpr quint32 ModePip = 1;
constexpr quint32 ModePbp = 2;
constexpr quint32 ModeThreeWindows = 3;
constexpr quint32 ModeFourWindows = 4;
constexpr quint32 ModeCount = 5;

// Indices into PipPosWords and PipSizeWords.
constexpr quint32 PipPosRightBottom = 3;
constexpr quint32 PipPosUser = 4;
constexpr quint32 PipSizeLarge = 2;
constexpr quint32 PipSizeUser = 3;

// Layout variants of PBP, 3xWIN and 4xWIN (1-based on the wire, 0-based in the state).
constexpr quint32 MaxLayouts = 6;
// The PBP layout with a captured presenter window (layout 3 on the wire).
constexpr quint32 PresenterLayout = 2;

// PBP, 3xWIN and 4xWIN carry an aspect and a layout number.
inline bool HasSplitLayout(quint32 mode)
{
    return mode >= ModePbp && mode <= ModeFourWindows;
}

// A PIP window with a USER position or size, or the PBP presenter layout.
inline bool HasUserWindow(const MultiviewState &state)
{
    if (state.mode == ModePip)
        return state.pipPos == PipPosUser || state.pipSize == PipSizeUser;
    return state.mode == ModePbp && state.layout == PresenterLayout;
}

// The keyword of the user window commands for that layout, or nullptr without one.
inline const char *UserWindowKeyword(const MultiviewState &state)
{
    if (!HasUserWindow(state))
        return nullptr;
    return state.mode == ModePip ? "PIP USER" : "PBP-PRESENTER";
}

// A USER position goes with a USER size and the other way round: the size (or position) the
// device takes when the operator picks a position (or size).
inline quint32 PipSizeCoupledTo(quint32 position, quint32 currentSize)
{
    if (position == PipPosUser)
        return PipSizeUser;
    return currentSize == PipSizeUser ? PipSizeLarge : currentSize;
}

inline quint32 PipPosCoupledTo(quint32 size, quint32 currentPosition)
{
    if (size == PipSizeUser)
        return PipPosUser;
    return currentPosition == PipPosUser ? PipPosRightBottom : currentPosition;
}

} // namespace Multiview
