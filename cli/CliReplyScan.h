// Finds the reply to the command the headless client sent among the lines received so far.
// Only a line that arrived after the link wrote the command can answer it, as on the link
// itself: a status line the device sent on its own before (a coupled PIP change, another
// controller's switch) is never taken for the reply, even when it holds the expected text.
#pragma once

#include "link/ReplyExpectation.h"

#include <QByteArray>
#include <QList>
#include <QPair>

class CliReplyScan
{
public:
    enum class Result { Waiting, Answered, Refused };

    // sent: each line the link wrote (CR included) with the number of lines received by then;
    // only sends from firstSend on belong to this command.
    CliReplyScan(const QByteArray &command, const ReplyExpectation &expectation, int firstSend);

    // Looks at the lines not seen yet; line gets the answer or the refusal (line end removed).
    Result scan(const QList<QPair<QByteArray, int>> &sent, const QList<QByteArray> &received, QByteArray *line);
    // The first received line after the command went out, or -1 while it has not.
    int firstLineAfterSending(const QList<QPair<QByteArray, int>> &sent) const;

private:
    QByteArray m_command;
    ReplyExpectation m_expectation;
    int m_firstSend;
    int m_scanned = -1;
};
