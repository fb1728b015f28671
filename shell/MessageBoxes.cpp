#include "shell/MessageBoxes.h"

#include "settings/ConfigFile.h"
#include "shell/PngResave.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

const char *const MessageBoxTextObjectName = "MessageBoxText";
const char *const MessageBoxOkObjectName = "MessageBoxOk";
const char *const MessageBoxYesObjectName = "MessageBoxYes";
const char *const MessageBoxNoObjectName = "MessageBoxNo";

namespace {

QRect ScreenAreaOf(const QWidget *window)
{
    const QScreen *screen = window ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// A box that places itself once it knows its final size, which QMessageBox sets only as it
// is shown: over the top-level window of its parent, or in the middle of the primary screen.
class PlacedMessageBox : public QMessageBox
{
public:
    explicit PlacedMessageBox(QWidget *parent)
        : QMessageBox(parent)
    { }

protected:
    void showEvent(QShowEvent *event) override
    {
        QMessageBox::showEvent(event);
        const QWidget *window = parentWidget() ? parentWidget()->window() : nullptr;
        const QRect screenArea = ScreenAreaOf(window);
        const QRect windowFrame = window ? window->frameGeometry() : screenArea;
        move(MessageBoxPositionOver(windowFrame, size(), screenArea));
    }
};

// Steps common to both boxes: a blank title, the text and the program's picture.
void PrepareMessageBox(QMessageBox &box, const QString &text)
{
    box.setWindowTitle(QStringLiteral(" "));
    // Messages often carry command or reply text from the device: never interpret it as
    // markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    if (QLabel *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
        label->setObjectName(QLatin1String(MessageBoxTextObjectName));

    const QString picturePath = ConfigFile_AppDir() + QStringLiteral("/APP/Image/MessageShow_pic.png");
    ResavePngImage(picturePath);
    const QPixmap picture(picturePath);
    if (!picture.isNull())
        box.setIconPixmap(picture);
}

} // namespace

void MessageBoxOk(const QString &text, QWidget *parent)
{
    PlacedMessageBox box(parent);
    PrepareMessageBox(box, text);
    QPushButton *okButton = box.addButton(QStringLiteral("OK"), QMessageBox::YesRole);
    okButton->setObjectName(QLatin1String(MessageBoxOkObjectName));
    box.exec();
}

bool MessageBoxYesNo(const QString &text, QWidget *parent)
{
    PlacedMessageBox box(parent);
    PrepareMessageBox(box, text);
    QPushButton *yesButton = box.addButton(QStringLiteral("YES"), QMessageBox::YesRole);
    yesButton->setObjectName(QLatin1String(MessageBoxYesObjectName));
    QPushButton *noButton = box.addButton(QStringLiteral("NO"), QMessageBox::NoRole);
    noButton->setObjectName(QLatin1String(MessageBoxNoObjectName));
    box.exec();
    return box.clickedButton() == yesButton;
}

QPoint MessageBoxPositionOver(const QRect &windowFrame, const QSize &boxSize, const QRect &screenArea)
{
    QPoint position(windowFrame.x() + (windowFrame.width() - boxSize.width()) / 2,
        windowFrame.y() + (windowFrame.height() - boxSize.height()) / 2);
    if (screenArea.isEmpty())
        return position;
    position.setX(qMin(position.x(), screenArea.right() + 1 - boxSize.width()));
    position.setY(qMin(position.y(), screenArea.bottom() + 1 - boxSize.height()));
    position.setX(qMax(position.x(), screenArea.left()));
    position.setY(qMax(position.y(), screenArea.top()));
    return position;
}
