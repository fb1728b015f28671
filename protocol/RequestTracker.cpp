#include "protocol/RequestTracker.h"

namespace {

QByteArray WithoutLineEnd(QByteArray line)
{
    while (line.endsWith('\r') || line.endsWith('\n'))
        line.chop(1);
    return line;
}

// The port word right after the verb: "SET OUT3 VKA …" gives "OUT3".
QByteArray PortWordOf(const QByteArray &command)
{
    const int start = command.indexOf(' ') + 1;
    if (start <= 0)
        return QByteArray();
    const int end = command.indexOf(' ', start);
    return command.mid(start, end < 0 ? -1 : end - start);
}

} // namespace

bool DeviceRequest::concernsOutput(quint32 output) const
{
    return PortWordOf(command) == "OUT" + QByteArray::number(output + 1);
}

bool DeviceRequest::concernsInput(quint32 input) const
{
    return PortWordOf(command) == "IN" + QByteArray::number(input + 1);
}

namespace {

int PortNumber(const QByteArray &word, const char *prefix)
{
    if (!word.startsWith(prefix))
        return -1;
    bool ok = false;
    const int number = word.mid(int(qstrlen(prefix))).toInt(&ok);
    return ok && number >= 1 ? number - 1 : -1;
}

} // namespace

int DeviceRequest::output() const
{
    return PortNumber(PortWordOf(command), "OUT");
}

int DeviceRequest::input() const
{
    return PortNumber(PortWordOf(command), "IN");
}

bool DeviceRequest::concerns(const char *keyword) const
{
    const QByteArray word(keyword);
    const int at = command.indexOf(word);
    if (at < 0)
        return false;
    const int after = at + word.size();
    return after == command.size() || command.at(after) == ' ';
}

RequestTracker &RequestTracker::instance()
{
    static RequestTracker tracker;
    return tracker;
}

RequestTracker::LinkRecords &RequestTracker::recordsOf(int link)
{
    return m_links[link >= 0 && link < 3 ? link : 0];
}

void RequestTracker::noteQueued(int link, const QByteArray &command, const ReplyExpectation &expectation)
{
    DeviceRequest request;
    request.link = link;
    request.command = WithoutLineEnd(command);
    request.kind = request.command.startsWith("GET ") ? DeviceRequest::Kind::Read : DeviceRequest::Kind::Write;
    if (expectation.needMatch && expectation.patternCount > 0) {
        const quint32 length = qMin<quint32>(expectation.patternLengths[0], ReplyExpectation::MaxPatternLength);
        request.expected = QByteArray(expectation.patterns[0], int(length));
    }
    recordsOf(link).queued.append(request);
}

void RequestTracker::noteSent(int link, const QByteArray &command)
{
    LinkRecords &records = recordsOf(link);
    const QByteArray sent = WithoutLineEnd(command);
    // A request still in flight when the next line leaves was never answered in a way we
    // recognised (a line without expectation, or one the link gave up on).
    records.hasInFlight = false;
    int match = 0;
    while (match < records.queued.size() && records.queued.at(match).command != sent)
        ++match;
    // A line typed into the console has no record; the recorded ones keep waiting.
    if (match == records.queued.size())
        return;
    for (int k = 0; k < match; ++k)
        fail(records.queued.takeFirst(), Failure::LinkLost);
    records.inFlight = records.queued.takeFirst();
    records.hasInFlight = true;
}

const DeviceRequest *RequestTracker::noteReceived(int link, const QByteArray &line)
{
    LinkRecords &records = recordsOf(link);
    m_hasAnswering = false;
    if (!records.hasInFlight)
        return nullptr;
    if (IsRefusal(line)) {
        records.hasInFlight = false;
        m_answered = records.inFlight;
        m_hasAnswering = true;
        fail(m_answered, Failure::Refused);
        return &m_answered;
    }
    if (records.inFlight.expected.isEmpty() || !line.contains(records.inFlight.expected))
        return nullptr;
    records.hasInFlight = false;
    m_answered = records.inFlight;
    m_hasAnswering = true;
    return &m_answered;
}

void RequestTracker::noteTimedOut(int link, const QByteArray &command)
{
    LinkRecords &records = recordsOf(link);
    if (!records.hasInFlight || records.inFlight.command != WithoutLineEnd(command))
        return;
    records.hasInFlight = false;
    fail(records.inFlight, Failure::TimedOut);
}

void RequestTracker::noteLinkLost(int link)
{
    LinkRecords &records = recordsOf(link);
    QList<DeviceRequest> lost;
    if (records.hasInFlight)
        lost.append(records.inFlight);
    lost.append(records.queued);
    records.queued.clear();
    records.hasInFlight = false;
    for (const DeviceRequest &request : qAsConst(lost))
        fail(request, Failure::LinkLost);
}

void RequestTracker::clear()
{
    for (LinkRecords &records : m_links)
        records = LinkRecords();
    m_hasAnswering = false;
}

const DeviceRequest *RequestTracker::inFlight(int link) const
{
    const LinkRecords &records = m_links[link >= 0 && link < 3 ? link : 0];
    return records.hasInFlight ? &records.inFlight : nullptr;
}

int RequestTracker::queuedCount(int link) const
{
    return m_links[link >= 0 && link < 3 ? link : 0].queued.size();
}

bool RequestTracker::IsRefusal(const QByteArray &line)
{
    const QByteArray text = WithoutLineEnd(line).trimmed();
    return text.startsWith("ERROR") || text.endsWith(" FAIL") || text == "FAIL";
}

void RequestTracker::fail(const DeviceRequest &request, Failure failure)
{
    emit SGL_RequestFailed(request, failure);
}
