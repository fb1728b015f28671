// The few lines a discovery probe exchanges with whatever answers on a port: the model query
// and, to a device of our model, the main version query; nothing else is ever sent. The
// transport (TCP or serial) feeds it the bytes it receives and sends what it returns.
#pragma once

#include <QByteArray>
#include <QString>

class ProbeDialogue
{
public:
    enum class Step {
        Waiting, // nothing complete yet
        Send, // send the bytes given back, then keep reading
        Finished, // the exchange is over
    };

    // The first request: the model query, CR-terminated.
    QByteArray start();
    // Takes received bytes; cuts them into lines at CR (LF and other control bytes before a
    // line are dropped) and reacts to the replies among them.
    Step feed(const QByteArray &bytes, QByteArray *toSend);

    bool modelAnswered() const { return m_modelAnswered; }
    bool isExpectedModel() const { return m_expectedModel; }
    QString model() const { return m_model; }
    QString mainVersion() const { return m_mainVersion; }

    static QByteArray ModelQueryLine();
    static QByteArray MainVersionQueryLine();

private:
    Step takeLine(const QByteArray &line, QByteArray *toSend);
    // The text after keyword in a reply line, or a null array when the line is no such reply
    // (an echo of our own request starts with its verb and is no reply).
    static QByteArray ReplyValue(const QByteArray &line, const QByteArray &keyword);

    QByteArray m_pending;
    QByteArray m_lastSent;
    bool m_modelAnswered = false;
    bool m_expectedModel = false;
    QString m_model;
    QString m_mainVersion;
};
