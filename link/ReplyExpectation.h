// How a link recognises the reply that ends the command in flight.
#pragma once

#include <QtGlobal>

struct ReplyExpectation {
    static constexpr int MaxPatternLength = 1024;
    char patterns[2][MaxPatternLength];
    quint32 patternLengths[2];
    quint32 patternCount;
    quint8 needMatch;
    quint8 acceptAny;
    quint32 waitMs;
    quint32 matchMs;
    quint32 reportTimeout;
};
