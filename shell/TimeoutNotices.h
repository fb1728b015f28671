// The boxes that tell the operator a command got no answer. While one is open, later
// time-outs are added to its list instead of stacking more modal boxes: a dead link in the
// middle of a burst gives one box that names every command that went unanswered.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Longest part of a command a message shows; longer ones end in "…" (an EDID write is
// about 800 characters of hexadecimal that nobody can read in a box).
constexpr int ShownCommandLength = 60;
// The command as a message shows it: its first ShownCommandLength characters, then "…".
QString ShortCommandText(const QString &command);

class TimeoutNotices
{
public:
    // Shows heading + command in a box over parent, or adds the command to the open box.
    void report(const QString &heading, const QString &command, QWidget *parent);
    bool isOpen() const { return m_open; }
    // The text of the open box: the heading with the first command, one more line per command.
    static QString BoxText(const QString &heading, const QStringList &commands);

private:
    void updateOpenBox();

    bool m_open = false;
    QString m_heading;
    QStringList m_commands;
    QString m_shownText;
};
