#include "shell/FramelessFrame.h"

#include "settings/ConfigFile.h"
#include "shell/FrameEdgeResizer.h"
#include "shell/FrameGeometry.h"
#include "shell/PngResave.h"

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#ifdef Q_OS_WIN
#include <windows.h>
#include <windowsx.h>
#endif

namespace {

QString TitleBarFile(const QString &relativePath)
{
    return ConfigFile_AppDir() + QStringLiteral("/TitleBar/") + relativePath;
}

// Runs the picture normalisation and tells whether the picture can be shown.
bool PreparePicture(const QString &path)
{
    ResavePngImage(path);
    return QFileInfo::exists(path);
}

} // namespace

FramelessFrame::FramelessFrame(QWidget *window)
    : window(window)
{
    window->resize(FrameDefaultSize(PrimaryScreenSize()));
    window->move(FrameDefaultX, FrameDefaultY);
    window->setMinimumSize(FrameMinimumWidth, FrameMinimumHeight);

    CreateParts();
    LayoutTitleBar(window);
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint);
    ApplyTitleBarPictures();
    ApplyTitleBarStyleSheet();
    edgeResizer = new FrameEdgeResizer(window);
}

void FramelessFrame::CreateParts()
{
    centralWidget = new QWidget(window);
    centralWidget->setObjectName(QStringLiteral("CentralWidget"));
    titleBar = new QWidget(centralWidget);
    iconLabel = new QLabel(titleBar);
    iconLabel->setObjectName(QStringLiteral("TitleBarIcon"));
    titleLabel = new QLabel(titleBar);
    titleLabel->setObjectName(QStringLiteral("TitleBarText"));
    minButton = new QPushButton(titleBar);
    minButton->setObjectName(QStringLiteral("TitleBarMin"));
    maxButton = new QPushButton(titleBar);
    maxButton->setObjectName(QStringLiteral("TitleBarMax"));
    closeButton = new QPushButton(titleBar);
    closeButton->setObjectName(QStringLiteral("TitleBarClose"));
    contentWidget = new QWidget(centralWidget);
    contentLayout = new QGridLayout(contentWidget);

    // The title-bar buttons must not take the keyboard focus away from the content.
    for (QPushButton *button : { minButton, maxButton, closeButton })
        button->setFocusPolicy(Qt::NoFocus);
}

void FramelessFrame::LayoutTitleBar(QWidget *reference)
{
    const int width = reference->width();
    const int height = reference->height();
    centralWidget->setGeometry(0, 0, width, height);
    titleBar->setGeometry(0, 0, centralWidget->width(), FrameTitleBarHeight);

    const int barHeight = titleBar->height();
    const int buttonsWidth = 3 * FrameTitleButtonWidth;
    iconLabel->setGeometry(0, 0, FrameTitleButtonWidth, barHeight);
    titleLabel->setGeometry(
        iconLabel->width(), 0, titleBar->width() - buttonsWidth - FrameTitleButtonWidth, barHeight);
    // Flush at the right end; a hidden button leaves no gap.
    int x = iconLabel->width() + titleLabel->width() + buttonsWidth;
    for (QPushButton *button : { closeButton, maxButton, minButton }) {
        if (button->isHidden())
            continue;
        x -= FrameTitleButtonWidth;
        button->setGeometry(x, 0, FrameTitleButtonWidth, barHeight);
    }
    contentWidget->setGeometry(0, barHeight, centralWidget->width(), centralWidget->height() - barHeight);
}

void FramelessFrame::SetTitleText(const QString &text)
{
    titleLabel->setText(text);
}

void FramelessFrame::SetTitleIcon(const QString &path)
{
    if (!PreparePicture(path))
        return;
    iconLabel->setPixmap(QPixmap(path));
    iconLabel->setScaledContents(true);
}

void FramelessFrame::SetContentWidget(QWidget *widget)
{
    contentLayout->addWidget(widget);
    contentLayout->setContentsMargins(0, 0, 0, 0);
}

void FramelessFrame::ApplyTitleBarPictures()
{
    const QString appPicture = TitleBarFile(QStringLiteral("Image/App.png"));
    if (PreparePicture(appPicture)) {
        iconLabel->setPixmap(QPixmap(appPicture));
        iconLabel->setScaledContents(true);
    }
    const QString minPicture = TitleBarFile(QStringLiteral("Image/MinSize.png"));
    if (PreparePicture(minPicture))
        minButton->setIcon(QIcon(minPicture));
    const QString maxPicture = TitleBarFile(QStringLiteral("Image/MaxSize.png"));
    if (PreparePicture(maxPicture))
        maxButton->setIcon(QIcon(maxPicture));
    const QString closePicture = TitleBarFile(QStringLiteral("Image/Close.png"));
    if (PreparePicture(closePicture))
        closeButton->setIcon(QIcon(closePicture));
}

void FramelessFrame::ApplyTitleBarStyleSheet()
{
    QFile file(TitleBarFile(QStringLiteral("StyleSheet/SystemTitle.qss")));
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return;
    window->setStyleSheet(QString::fromLocal8Bit(file.readAll()));
}

void FramelessFrame::ShowMaximiseButtonPicture(const QString &fileName)
{
    const QString path = TitleBarFile(QStringLiteral("Image/") + fileName);
    if (PreparePicture(path))
        maxButton->setIcon(QIcon(path));
}

void FramelessFrame::MousePress(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    pressed = true;
    pressPosition = event->localPos().toPoint();
}

void FramelessFrame::MouseMove(QMouseEvent *event)
{
    if (!pressed)
        return;
    // Keeps the grabbed point under the cursor.
    window->move(window->pos() + (event->localPos().toPoint() - pressPosition));
}

void FramelessFrame::MouseRelease(QMouseEvent *)
{
    pressed = false;
}

void FramelessFrame::MouseDoubleClick(QMouseEvent *event)
{
    // Only a double-click on the title bar restores; it never maximises.
    const QPoint inCentral = centralWidget->mapFrom(window, event->pos());
    if (!titleBar->geometry().contains(inCentral))
        return;
    window->showNormal();
    maximised = false;
    ShowMaximiseButtonPicture(QStringLiteral("MaxSize.png"));
}

bool FramelessFrame::NativeHitTest(void *message, long *result)
{
#ifdef Q_OS_WIN
    const MSG *msg = static_cast<const MSG *>(message);
    if (msg->message != WM_NCHITTEST)
        return false;
    const QPoint position
        = QPoint(GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)) - window->frameGeometry().topLeft();
    const FrameHitCode code = FrameHitTest(position, window->size());
    if (code == FrameHitCaption)
        return false;
    *result = code;
    return true;
#else
    Q_UNUSED(message)
    Q_UNUSED(result)
    return false;
#endif
}

void FramelessFrame::BeforeEvent(QEvent *event)
{
    // Events that arrive while the frame is still being built find nothing to lay out.
    if (!edgeResizer)
        return;
    switch (event->type()) {
    case QEvent::Resize:
        // Before a derived window's resizeEvent, so it sees the frame parts in place.
        LayoutTitleBar(window);
        break;
    case QEvent::Show:
        // A window of fixed size has nothing to maximise.
        maxButton->setHidden(window->minimumSize() == window->maximumSize());
        LayoutTitleBar(window);
        edgeResizer->AttachToNativeWindow();
        break;
    case QEvent::WinIdChange:
        edgeResizer->AttachToNativeWindow();
        break;
    default:
        break;
    }
}

void FramelessFrame::Minimise()
{
    window->showMinimized();
}

void FramelessFrame::ToggleMaximise()
{
    maximised = !maximised;
    if (maximised) {
        ShowMaximiseButtonPicture(QStringLiteral("NormalSize.png"));
        window->showMaximized();
    } else {
        ShowMaximiseButtonPicture(QStringLiteral("MaxSize.png"));
        window->showNormal();
    }
}

void FramelessFrame::DisableSizeButtons()
{
    minButton->setEnabled(false);
    maxButton->setEnabled(false);
}
