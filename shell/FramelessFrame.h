// The parts the two frameless base classes share: the title bar with its icon, title
// text and buttons above the content area, the mouse handling that moves the window and
// the border resizing. Each frameless class owns one (through FramelessHost) and forwards
// its events to it.
#pragma once

#include <QPoint>
#include <QString>

class FrameEdgeResizer;
class QEvent;
class QGridLayout;
class QLabel;
class QMouseEvent;
class QPushButton;
class QWidget;

class FramelessFrame
{
public:
    // Builds the frame parts as children of the window (central widget, title bar with
    // icon, text and buttons, content widget with its layout), lays them out, sets the
    // window flags, the title-bar pictures and the title-bar style sheet.
    explicit FramelessFrame(QWidget *window);

    void LayoutTitleBar(QWidget *reference);
    void SetTitleText(const QString &text);
    void SetTitleIcon(const QString &path);
    void SetContentWidget(QWidget *widget);

    void MousePress(QMouseEvent *event);
    void MouseMove(QMouseEvent *event);
    void MouseRelease(QMouseEvent *event);
    void MouseDoubleClick(QMouseEvent *event);

    // The platform's border hit test (Windows): true when the message was a hit in a
    // resize band, with the band's code in result; false to leave the message to Qt.
    bool NativeHitTest(void *message, long *result);
    // Runs before the window's own event handling: the frame follows every size change,
    // and the border bands follow the native window.
    void BeforeEvent(QEvent *event);

    void Minimise();
    void ToggleMaximise();
    void DisableSizeButtons();

    bool IsMaximised() const { return maximised; }
    bool IsPressed() const { return pressed; }

    QWidget *centralWidget = nullptr;
    QWidget *titleBar = nullptr;
    QLabel *iconLabel = nullptr;
    QLabel *titleLabel = nullptr;
    QPushButton *minButton = nullptr;
    QPushButton *maxButton = nullptr;
    QPushButton *closeButton = nullptr;
    QWidget *contentWidget = nullptr;
    QGridLayout *contentLayout = nullptr;

private:
    void CreateParts();
    void ApplyTitleBarPictures();
    void ApplyTitleBarStyleSheet();
    void ShowMaximiseButtonPicture(const QString &fileName);

    QWidget *window;
    FrameEdgeResizer *edgeResizer = nullptr;
    bool pressed = false;
    bool maximised = false;
    QPoint pressPosition { 0, 0 };
};
