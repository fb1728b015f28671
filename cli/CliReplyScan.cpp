#include "cli/CliReplyScan.h"

#include "link/LinkEngine.h"
#include "protocol/RequestTracker.h"

namespace {

QByteArray WithoutLineEnd(QByteArray line)
{
    while (line.endsWith('\r') || line.endsWith('\n'))
        line.chop(1);
    return line;
}

} // namespace

CliReplyScan::CliReplyScan(const QByteArray &command, const ReplyExpectation &expectation, int firstSend)
    : m_command(command)
    , m_expectation(expectation)
    , m_firstSend(firstSend)
{ }

int CliReplyScan::firstLineAfterSending(const QList<QPair<QByteArray, int>> &sent) const
{
    for (int k = qMax(0, m_firstSend); k < sent.size(); ++k) {
        if (sent.at(k).first == m_command)
            return sent.at(k).second;
    }
    return -1;
}

CliReplyScan::Result CliReplyScan::scan(
    const QList<QPair<QByteArray, int>> &sent, const QList<QByteArray> &received, QByteArray *line)
{
    if (m_scanned < 0)
        m_scanned = firstLineAfterSending(sent);
    for (; m_scanned >= 0 && m_scanned < received.size(); ++m_scanned) {
        const QByteArray &candidate = received.at(m_scanned);
        if (LinkEngine::LineMatches(m_expectation, candidate.constData(), candidate.size())) {
            *line = WithoutLineEnd(candidate);
            return Result::Answered;
        }
        if (RequestTracker::IsRefusal(candidate)) {
            *line = WithoutLineEnd(candidate);
            return Result::Refused;
        }
    }
    return Result::Waiting;
}
