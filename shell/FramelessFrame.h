// The parts the two frameless base classes share: the title bar with its icon, title
// text and buttons above the content area, and the mouse handling that moves the window.
// Each frameless class owns one and forwards its events to it.
#pragma once

#include <QPoint>
#include <QString>

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
    bool pressed = false;
    bool maximised = false;
    QPoint pressPosition { 0, 0 };
};
