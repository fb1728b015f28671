#include "shell/FrameGeometry.h"

#include <QGuiApplication>
#include <QScreen>

QSize FrameDefaultSize(const QSize &screenSize)
{
    const int height = screenSize.height() < 1080 ? screenSize.height() * 4 / 10 : 432;
    const int width = screenSize.width() < 1920 ? screenSize.width() * 7 / 10 : 1344;
    return QSize(width, height);
}

FrameHitCode FrameHitTest(const QPoint &position, const QSize &windowSize)
{
    // Pixel column 0 and row 0 are deliberately outside the bands; the far bands end on
    // the last pixel index.
    const int lastX = windowSize.width() - 1;
    const int lastY = windowSize.height() - 1;
    const int x = position.x();
    const int y = position.y();
    const bool left = x >= 1 && x <= FrameBorderBand;
    const bool right = x >= lastX - (FrameBorderBand - 1) && x <= lastX;
    const bool top = y >= 1 && y <= FrameBorderBand;
    const bool bottom = y >= lastY - (FrameBorderBand - 1) && y <= lastY;

    // Later rules override earlier ones; on windows too small for the bands to be apart,
    // bottom wins over top and right over left.
    FrameHitCode code = FrameHitCaption;
    if (left)
        code = FrameHitLeft;
    if (right)
        code = FrameHitRight;
    if (top)
        code = FrameHitTop;
    if (bottom)
        code = FrameHitBottom;
    if (top && left)
        code = FrameHitTopLeft;
    if (top && right)
        code = FrameHitTopRight;
    if (bottom && left)
        code = FrameHitBottomLeft;
    if (bottom && right)
        code = FrameHitBottomRight;
    return code;
}

Qt::Edges FrameEdgesForHit(FrameHitCode code)
{
    switch (code) {
    case FrameHitLeft:
        return Qt::LeftEdge;
    case FrameHitRight:
        return Qt::RightEdge;
    case FrameHitTop:
        return Qt::TopEdge;
    case FrameHitBottom:
        return Qt::BottomEdge;
    case FrameHitTopLeft:
        return Qt::TopEdge | Qt::LeftEdge;
    case FrameHitTopRight:
        return Qt::TopEdge | Qt::RightEdge;
    case FrameHitBottomLeft:
        return Qt::BottomEdge | Qt::LeftEdge;
    case FrameHitBottomRight:
        return Qt::BottomEdge | Qt::RightEdge;
    case FrameHitCaption:
        break;
    }
    return {};
}

Qt::CursorShape FrameCursorForHit(FrameHitCode code)
{
    switch (code) {
    case FrameHitLeft:
    case FrameHitRight:
        return Qt::SizeHorCursor;
    case FrameHitTop:
    case FrameHitBottom:
        return Qt::SizeVerCursor;
    case FrameHitTopLeft:
    case FrameHitBottomRight:
        return Qt::SizeFDiagCursor;
    case FrameHitTopRight:
    case FrameHitBottomLeft:
        return Qt::SizeBDiagCursor;
    case FrameHitCaption:
        break;
    }
    return Qt::ArrowCursor;
}

QPoint CentredInCappedScreen(const QSize &screenSize, const QSize &windowSize)
{
    constexpr int CentringWidthLimit = 1920;
    constexpr int CentringHeightLimit = 1080;
    return QPoint((qMin(screenSize.width(), CentringWidthLimit) - windowSize.width()) / 2,
        (qMin(screenSize.height(), CentringHeightLimit) - windowSize.height()) / 2);
}

QSize PrimaryScreenSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().size() : QSize(1920, 1080);
}
