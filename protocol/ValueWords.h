// The fixed, ordered protocol words of every enumerated value. Enumerated device state is
// stored as a 0-based index into one of these lists; commands print the word at that index and
// the parser stores the index of the word it finds. Words are case-sensitive ASCII.
#pragma once

#include <QString>
#include <QtGlobal>

struct ValueWordList {
    const char *const *words;
    quint32 count;

    // The word at index, or an empty text when the index lies outside the list.
    const char *at(quint32 index) const { return index < count ? words[index] : ""; }
    QString text(quint32 index) const { return QString::fromLatin1(at(index)); }
    // Index of the word that equals the given bytes exactly, or -1.
    int indexOf(const char *data, int length) const;
    int indexOf(const QString &word) const;
    bool contains(quint32 index) const { return index < count; }
};

extern const ValueWordList EdidModeWords; // 21, edidModeOfInput; EDIDMODE
extern const ValueWordList AspectWords; // 2, multiview aspect
extern const ValueWordList PipSizeWords; // 4, PIP window size
extern const ValueWordList PipPosWords; // 5, PIP window position
extern const ValueWordList MultiviewModeWords; // 5, SINGLE .. 4xWIN
extern const ValueWordList VkaWords; // 3, picture without signal
extern const ValueWordList HdcpWords; // 3, output HDCP
extern const ValueWordList OutResolutionWords; // 18, output resolution
extern const ValueWordList RotationWords; // 3, output rotation
extern const ValueWordList InAudioWords; // 2, input audio source
extern const ValueWordList AudioSourceWords; // 5, output audio source
extern const ValueWordList WindowInputWords; // 4, window input and route input word
extern const ValueWordList WindowWords; // 4, window selector
extern const ValueWordList OnOffWords; // 3, ON, OFF, NULL

// The only device model this program drives.
extern const char *const ExpectedModel;
