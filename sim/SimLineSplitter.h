// Cuts the bytes a client sends into request lines. A request may end with CR, LF or CR LF;
// empty lines are skipped, so the LF of a CR LF pair never makes a request of its own.
#pragma once

#include <QByteArray>
#include <QList>

struct SimRequestLine {
    QByteArray text; // without its line ending
    bool tooLong = false; // the request exceeded MaxLineLength; its bytes were discarded
};

class SimLineSplitter
{
public:
    // Longest request the protocol allows, without its line ending.
    static constexpr int MaxLineLength = 1024;

    QList<SimRequestLine> feed(const QByteArray &bytes);
    void reset();

private:
    QByteArray m_pending;
    bool m_overflow = false;
};
