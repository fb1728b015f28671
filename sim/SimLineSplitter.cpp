#include "sim/SimLineSplitter.h"

QList<SimRequestLine> SimLineSplitter::feed(const QByteArray &bytes)
{
    QList<SimRequestLine> lines;
    for (const char byte : bytes) {
        if (byte == '\r' || byte == '\n') {
            if (m_overflow)
                lines.append({ QByteArray(), true });
            else if (!m_pending.isEmpty())
                lines.append({ m_pending, false });
            m_pending.clear();
            m_overflow = false;
            continue;
        }
        if (m_overflow)
            continue;
        // An over-long request is dropped whole and answered with an error at its end, so
        // that no tail of it is ever taken for a request of its own.
        if (m_pending.size() >= MaxLineLength) {
            m_pending.clear();
            m_overflow = true;
            continue;
        }
        m_pending.append(byte);
    }
    return lines;
}

void SimLineSplitter::reset()
{
    m_pending.clear();
    m_overflow = false;
}
