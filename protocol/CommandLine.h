// One command line being assembled in a fixed buffer: the verb, the part that the reply echoes
// (the expected text), then the value part. Appending past MaxCommandLength marks the line as
// too long, and a too-long line is never sent (rather than sent cut short).
#pragma once

#include "protocol/CommandSet.h"

#include <QtGlobal>

class CommandLine
{
public:
    // verb is "SET" or "GET"; the expected text starts after it and its space.
    explicit CommandLine(const char *verb);

    CommandLine &text(const char *word);
    CommandLine &text(const char *bytes, int length);
    CommandLine &space();
    // A port word: prefix glued to the 1-based number, as in OUT12.
    CommandLine &port(const char *prefix, quint32 index);
    CommandLine &number(qint64 value);
    // Ends the expected text here; without this the expected text runs to the end of the line.
    CommandLine &endOfExpected();

    // Queues the line with the expected text as its only pattern.
    bool send(ReplyProfile profile) const;
    // Queues the line with a pattern given apart from the line.
    bool send(ReplyProfile profile, const char *expected, int expectedLength) const;

    const char *data() const { return m_text; }
    int length() const { return m_length; }
    bool tooLong() const { return m_tooLong; }

private:
    char m_text[MaxCommandLength + 1];
    int m_length = 0;
    int m_expectedStart = 0;
    int m_expectedEnd = -1;
    bool m_tooLong = false;
};
