#include "protocol/ReplyFields.h"

#include "protocol/ValueWords.h"

#include <cstring>

namespace {

bool IsWhiteSpace(char byte)
{
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

ByteRange Trimmed(ByteRange range)
{
    while (range.size > 0 && IsWhiteSpace(range.data[0])) {
        ++range.data;
        --range.size;
    }
    while (range.size > 0 && IsWhiteSpace(range.data[range.size - 1]))
        --range.size;
    return range;
}

// Reads the digits of range after an optional sign; false on anything else or on overflow.
bool ReadMagnitude(ByteRange range, quint64 limit, quint64 *magnitude)
{
    if (range.size <= 0)
        return false;
    quint64 value = 0;
    for (int k = 0; k < range.size; ++k) {
        const char byte = range.data[k];
        if (byte < '0' || byte > '9')
            return false;
        value = value * 10 + static_cast<quint64>(byte - '0');
        if (value > limit)
            return false;
    }
    *magnitude = value;
    return true;
}

} // namespace

bool ByteRange::contains(const char *word) const
{
    const int length = static_cast<int>(std::strlen(word));
    for (int at = 0; at + length <= size; ++at) {
        if (std::memcmp(data + at, word, static_cast<size_t>(length)) == 0)
            return true;
    }
    return false;
}

ByteRange ReplyFields::field(int n) const
{
    ReplyFields walker(m_value, m_separator);
    ByteRange found = walker.next();
    for (int k = 1; k < n && !walker.exhausted(); ++k)
        found = walker.next();
    return found;
}

int ReplyFields::count() const
{
    int fields = 1;
    for (int k = 0; k < m_value.size; ++k) {
        if (m_value.data[k] == m_separator)
            ++fields;
    }
    return fields;
}

ByteRange ReplyFields::next()
{
    if (m_exhausted)
        return m_last;
    const int start = m_position;
    int end = start;
    while (end < m_value.size && m_value.data[end] != m_separator)
        ++end;
    m_last = ByteRange { m_value.data + start, end - start };
    if (end >= m_value.size) {
        m_last.followedBySeparator = m_value.followedBySeparator;
        m_exhausted = true;
    } else {
        m_last.followedBySeparator = m_separator == ' ' || m_separator == '\r';
        m_position = end + 1;
    }
    return m_last;
}

bool ContainsWord(ByteRange range, const char *word)
{
    const int length = static_cast<int>(std::strlen(word));
    for (int at = 0; at + length <= range.size; ++at) {
        if (std::memcmp(range.data + at, word, static_cast<size_t>(length)) != 0)
            continue;
        const int after = at + length;
        if (after == range.size ? range.followedBySeparator
                                : range.data[after] == ' ' || range.data[after] == '\r')
            return true;
    }
    return false;
}

int MatchValueWord(const ValueWordList &list, ByteRange range)
{
    for (quint32 k = 0; k < list.count; ++k) {
        if (ContainsWord(range, list.words[k]))
            return static_cast<int>(k);
    }
    return -1;
}

quint32 ReadUnsigned(ByteRange range)
{
    range = Trimmed(range);
    if (range.size > 0 && range.data[0] == '+') {
        ++range.data;
        --range.size;
    }
    quint64 value = 0;
    return ReadMagnitude(range, 0xFFFFFFFFu, &value) ? static_cast<quint32>(value) : 0;
}

int ReadSigned(ByteRange range)
{
    range = Trimmed(range);
    bool negative = false;
    if (range.size > 0 && (range.data[0] == '+' || range.data[0] == '-')) {
        negative = range.data[0] == '-';
        ++range.data;
        --range.size;
    }
    quint64 value = 0;
    if (!ReadMagnitude(range, negative ? 2147483648u : 2147483647u, &value))
        return 0;
    return negative ? static_cast<int>(-static_cast<qint64>(value)) : static_cast<int>(value);
}
