// Reading the value part of a reply line: space or comma fields, words of a value word list,
// and decimal numbers, all on byte ranges that never reach past the line.
#pragma once

#include <QString>
#include <QtGlobal>

struct ValueWordList;

struct ByteRange {
    const char *data = nullptr;
    int size = 0;
    // Whether the line goes on after the range with a space or a CR, so that a word at the
    // range's end is followed by one (false for the end of a line that lacks its CR).
    bool followedBySeparator = true;

    bool isEmpty() const { return size <= 0; }
    QString toString() const { return QString::fromLatin1(data, size); }
    bool contains(const char *word) const;
};

class ReplyFields
{
public:
    ReplyFields(ByteRange value, char separator)
        : m_value(value)
        , m_separator(separator)
    { }

    // Field n, counted from 1. Each separator ends one field, so two in a row make an empty
    // field; past the last field, field n is the last field.
    ByteRange field(int n) const;
    // The next field in order (the first on the first call); past the end, the last field again.
    ByteRange next();
    // Whether every field has been handed out by next().
    bool exhausted() const { return m_exhausted; }
    // How many fields the value holds (an empty value holds one, empty, field).
    int count() const;

private:
    ByteRange m_value;
    char m_separator;
    int m_position = 0;
    ByteRange m_last;
    bool m_exhausted = false;
};

// Index of the first list word that occurs in the range followed by a space or a CR (inside
// the range, or right after it when followedBySeparator); -1 when none does.
int MatchValueWord(const ValueWordList &list, ByteRange range);
// Whether word occurs in the range followed by a space or a CR, as above.
bool ContainsWord(ByteRange range, const char *word);
// QString::toUInt rules: surrounding white space allowed, a text that is not a number is 0.
quint32 ReadUnsigned(ByteRange range);
// QString::toInt rules: as above with an optional sign.
int ReadSigned(ByteRange range);
