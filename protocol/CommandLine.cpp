#include "protocol/CommandLine.h"

#include <cstring>

CommandLine::CommandLine(const char *verb)
{
    text(verb).space();
    m_expectedStart = m_length;
}

CommandLine &CommandLine::text(const char *word)
{
    return text(word, static_cast<int>(std::strlen(word)));
}

CommandLine &CommandLine::text(const char *bytes, int length)
{
    if (m_tooLong || length <= 0)
        return *this;
    if (length > MaxCommandLength - m_length) {
        m_tooLong = true;
        return *this;
    }
    std::memcpy(m_text + m_length, bytes, static_cast<size_t>(length));
    m_length += length;
    return *this;
}

CommandLine &CommandLine::space()
{
    return text(" ", 1);
}

CommandLine &CommandLine::port(const char *prefix, quint32 index)
{
    // 64-bit so that index 0xFFFFFFFF never wraps to port 0, which the device reads as "all".
    return text(prefix).number(static_cast<qint64>(index) + 1);
}

CommandLine &CommandLine::number(qint64 value)
{
    char digits[24];
    int count = 0;
    const bool negative = value < 0;
    quint64 magnitude = negative ? static_cast<quint64>(-(value + 1)) + 1 : static_cast<quint64>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        digits[count++] = '-';
    char ordered[24];
    for (int k = 0; k < count; ++k)
        ordered[k] = digits[count - 1 - k];
    return text(ordered, count);
}

CommandLine &CommandLine::endOfExpected()
{
    m_expectedEnd = m_length;
    return *this;
}

bool CommandLine::send(ReplyProfile profile) const
{
    const int end = m_expectedEnd < 0 ? m_length : m_expectedEnd;
    return send(profile, m_text + m_expectedStart, end - m_expectedStart);
}

bool CommandLine::send(ReplyProfile profile, const char *expected, int expectedLength) const
{
    if (m_tooLong)
        return false;
    return QueueCommandLine(m_text, m_length, MakeReplyExpectation(expected, expectedLength, profile));
}
