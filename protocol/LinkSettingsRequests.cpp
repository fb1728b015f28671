#include "protocol/LinkSettingsRequests.h"

#include "link/LinkMode.h"

namespace {

const char NetworkKeyword[] = "NETWORK-INFO";
const char BaudRateKeyword[] = "BAUDRATE";

} // namespace

void LinkSettingsRequests::add(const Request &request)
{
    m_inFlight.append(request);
}

bool LinkSettingsRequests::takeAnswered(Topic topic, int link, Request *request)
{
    for (int k = 0; k < m_inFlight.size();) {
        if (m_inFlight.at(k).link != link) {
            m_inFlight.removeAt(k);
            continue;
        }
        if (m_inFlight.at(k).topic == topic) {
            *request = m_inFlight.takeAt(k);
            return true;
        }
        ++k;
    }
    return false;
}

bool LinkSettingsRequests::takeTimedOut(const QString &command, int link, Request *request)
{
    Topic topic;
    Kind kind;
    if (!Classify(command, &topic, &kind))
        return false;
    for (int k = 0; k < m_inFlight.size(); ++k) {
        const Request &candidate = m_inFlight.at(k);
        if (candidate.link == link && candidate.topic == topic && candidate.kind == kind) {
            *request = m_inFlight.takeAt(k);
            return true;
        }
    }
    return false;
}

void LinkSettingsRequests::clear()
{
    m_inFlight.clear();
}

bool LinkSettingsRequests::awaitsDeviceAfterReset() const
{
    for (const Request &request : m_inFlight) {
        if (request.afterReset)
            return true;
    }
    return false;
}

bool LinkSettingsRequests::Classify(const QString &command, Topic *topic, Kind *kind)
{
    const QString text = command.trimmed();
    if (text.startsWith(QLatin1String("GET ")))
        *kind = Kind::Read;
    else if (text.startsWith(QLatin1String("SET ")))
        *kind = Kind::Write;
    else
        return false;
    const QString keyword = text.section(QLatin1Char(' '), 1, 1);
    if (keyword == QLatin1String(NetworkKeyword))
        *topic = Topic::Network;
    else if (keyword == QLatin1String(BaudRateKeyword))
        *topic = Topic::BaudRate;
    else
        return false;
    return true;
}

int LinkSettingsRequests::LinkOfTopic(Topic topic)
{
    return topic == Topic::Network ? LinkModeTcp : LinkModeSerial;
}

bool LinkSettingsRequests::Changed(const Request &request, const QStringList &values)
{
    return request.before != values;
}
