#include "link/Ui_Uart_Network.h"

#include "link/LinkMode.h"
#include "protocol/DeviceState.h"
#include "settings/ConfigFile.h"
#include "shell/PngResave.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {

constexpr int StatusLogMaximumLines = 400;

QString SuccessPicturePath()
{
    return ConfigFile_AppDir() + QStringLiteral("/APP/Image/success.png");
}

QString FailPicturePath()
{
    return ConfigFile_AppDir() + QStringLiteral("/APP/Image/fail.png");
}

} // namespace

Ui_Uart_Network::Ui_Uart_Network(QWidget *parent)
    : QWidget(parent)
{
    statusLog = new QPlainTextEdit(this);
    statusLog->setReadOnly(true);
    statusLog->setWordWrapMode(QTextOption::WrapAnywhere);
    statusLog->setMaximumBlockCount(StatusLogMaximumLines);
    statusPicture = new QLabel(this);
    statusPicture->setFixedSize(64, 64);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(statusLog);
    layout->addWidget(statusPicture, 0, Qt::AlignTop);

    SetStatusPicture(false);
}

void Ui_Uart_Network::AppendStatusLine(const QString &text)
{
    statusLog->moveCursor(QTextCursor::End);
    statusLog->insertPlainText(text + QStringLiteral("\r\n"));
}

void Ui_Uart_Network::DisconnectActiveLink()
{
    // No link thread can be running yet, so dropping the link is forgetting the choice and
    // the model judgement that belongs to it.
    if (LinkMode == LinkModeNone)
        return;
    LinkMode = LinkModeNone;
    DeviceState.modelReplyHandled = false;
}

void Ui_Uart_Network::RefreshFromSettings()
{
    // No parameter widgets to fill yet.
}

void Ui_Uart_Network::SetStatusPicture(bool success)
{
    ResavePngImage(SuccessPicturePath());
    ResavePngImage(FailPicturePath());
    const QString path = success ? SuccessPicturePath() : FailPicturePath();
    if (!QFileInfo::exists(path))
        return;
    statusPicture->setPixmap(QPixmap::fromImage(QImage(path)));
    statusPicture->setScaledContents(true);
}
