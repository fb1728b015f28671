#include "shell/MessageBoxes.h"

#include "settings/ConfigFile.h"
#include "shell/PngResave.h"

#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>

const char *const MessageBoxTextObjectName = "MessageBoxText";
const char *const MessageBoxOkObjectName = "MessageBoxOk";
const char *const MessageBoxYesObjectName = "MessageBoxYes";
const char *const MessageBoxNoObjectName = "MessageBoxNo";

namespace {

// Steps common to both boxes: placed at the parent's own position rather than centred,
// a blank title, the text and the program's picture.
void PrepareMessageBox(QMessageBox &box, const QString &text, QWidget *parent)
{
    if (parent)
        box.move(parent->x(), parent->y());
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
    QMessageBox box(parent);
    PrepareMessageBox(box, text, parent);
    QPushButton *okButton = box.addButton(QStringLiteral("OK"), QMessageBox::YesRole);
    okButton->setObjectName(QLatin1String(MessageBoxOkObjectName));
    box.exec();
}

bool MessageBoxYesNo(const QString &text, QWidget *parent)
{
    QMessageBox box(parent);
    PrepareMessageBox(box, text, parent);
    QPushButton *yesButton = box.addButton(QStringLiteral("YES"), QMessageBox::YesRole);
    yesButton->setObjectName(QLatin1String(MessageBoxYesObjectName));
    QPushButton *noButton = box.addButton(QStringLiteral("NO"), QMessageBox::NoRole);
    noButton->setObjectName(QLatin1String(MessageBoxNoObjectName));
    box.exec();
    return box.clickedButton() == yesButton;
}
