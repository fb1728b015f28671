#include "shell/TimeoutNotices.h"

#include "shell/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

QString ShortCommandText(const QString &command)
{
    QString text = command;
    while (text.endsWith(QLatin1Char('\r')) || text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    if (text.size() <= ShownCommandLength)
        return command;
    return text.left(ShownCommandLength) + QChar(0x2026);
}

QString TimeoutNotices::BoxText(const QString &heading, const QStringList &commands)
{
    if (commands.isEmpty())
        return heading;
    QString text = heading + ShortCommandText(commands.first());
    for (int k = 1; k < commands.size(); ++k)
        text += QLatin1Char('\n') + ShortCommandText(commands.at(k)).trimmed();
    return text;
}

void TimeoutNotices::report(const QString &heading, const QString &command, QWidget *parent)
{
    if (m_open) {
        m_commands.append(command);
        updateOpenBox();
        return;
    }
    m_open = true;
    m_heading = heading;
    m_commands = QStringList { command };
    m_shownText = BoxText(m_heading, m_commands);
    MessageBoxOk(m_shownText, parent);
    m_open = false;
    m_commands.clear();
    m_shownText.clear();
}

// The box runs its own event loop; it is found by the text it shows.
void TimeoutNotices::updateOpenBox()
{
    const QString text = BoxText(m_heading, m_commands);
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        auto *box = qobject_cast<QMessageBox *>(window);
        if (!box || !box->isVisible() || box->text() != m_shownText)
            continue;
        box->setText(text);
        box->adjustSize();
        break;
    }
    m_shownText = text;
}
