// Geometry rules shared by the frameless windows: their default size and the 5-pixel
// resize bands along their borders. Pure functions, so they can be checked with any size.
#pragma once

#include <QPoint>
#include <QSize>
#include <Qt>

// Result codes of the border hit test, numerically the same as the Windows hit-test codes.
enum FrameHitCode {
    FrameHitCaption = 2,
    FrameHitLeft = 10,
    FrameHitRight = 11,
    FrameHitTop = 12,
    FrameHitTopLeft = 13,
    FrameHitTopRight = 14,
    FrameHitBottom = 15,
    FrameHitBottomLeft = 16,
    FrameHitBottomRight = 17,
};

constexpr int FrameTitleBarHeight = 48;
constexpr int FrameTitleButtonWidth = 48;
constexpr int FrameBorderBand = 5;
constexpr int FrameMinimumWidth = 480;
constexpr int FrameMinimumHeight = 270;
constexpr int FrameDefaultX = 120;
constexpr int FrameDefaultY = 120;

// Size of a new frameless window on a screen of the given size.
QSize FrameDefaultSize(const QSize &screenSize);

// Which border band a point inside the window lies in. The point is relative to the
// window's top-left corner; FrameHitCaption means no band (client area).
FrameHitCode FrameHitTest(const QPoint &position, const QSize &windowSize);

// The edges a resize from the given band moves; empty for FrameHitCaption.
Qt::Edges FrameEdgesForHit(FrameHitCode code);

// The cursor shape shown over the given band; Qt::ArrowCursor for FrameHitCaption.
Qt::CursorShape FrameCursorForHit(FrameHitCode code);

// Top-left corner that centres a window on the primary screen, counting at most 1920 x 1080
// of it (the login window and the dialogs all centre this way).
QPoint CentredInCappedScreen(const QSize &screenSize, const QSize &windowSize);

// The primary screen's size, or 1920 x 1080 when there is no screen.
QSize PrimaryScreenSize();
