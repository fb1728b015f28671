// The requests for the device's link settings (its network settings and its RS232 baud rate)
// that are in flight, oldest first. A link carries one line at a time and the device answers in
// order, so the oldest request of a topic on the link in use is the one a reply of that topic
// answers: a read is shown quietly, a write may have changed the link under the program. No
// process-wide guess is needed, and a read and a write sent close together keep their own replies.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class LinkSettingsRequests
{
public:
    enum class Topic { Network, BaudRate };
    enum class Kind { Read, Write };

    struct Request {
        Topic topic = Topic::Network;
        Kind kind = Kind::Read;
        // The link (LinkMode) the command went out on.
        int link = 0;
        // For a write: the device's values when it was sent (IP, port, mask, gateway, or the
        // baud-rate text), to tell whether the reply changed anything.
        QStringList before;
        // The read that looks whether the device is back after a factory reset.
        bool afterReset = false;
    };

    void add(const Request &request);
    // The request a reply of this topic answers, taken out: the oldest of the topic on this
    // link. Requests of other links belong to a link no longer in use and are dropped on the
    // way. False when nothing of the topic was asked (an unsolicited report).
    bool takeAnswered(Topic topic, int link, Request *request);
    // The request whose command got no reply (the command text as the link reports it), taken
    // out; false when the command is not one of these requests.
    bool takeTimedOut(const QString &command, int link, Request *request);
    void clear();
    int count() const { return m_inFlight.size(); }
    bool awaitsDeviceAfterReset() const;

    // The topic and kind of a command text ("GET NETWORK-INFO", "SET BAUDRATE 19200"...).
    static bool Classify(const QString &command, Topic *topic, Kind *kind);
    // The link whose parameters a topic's settings are (network: TCP, baud rate: RS232).
    static int LinkOfTopic(Topic topic);
    // Whether the values a write's reply brings differ from those the device had before.
    static bool Changed(const Request &request, const QStringList &values);

private:
    QList<Request> m_inFlight;
};
