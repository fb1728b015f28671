#include "protocol/ProbeDialogue.h"

#include "protocol/CommandLine.h"
#include "protocol/ValueWords.h"

#include <QList>

namespace {

const QByteArray ModelKeyword("MODEL TYPE");
const QByteArray MainVersionKeyword("MAIN VERSION");

QByteArray QueryLine(const char *what)
{
    CommandLine line("GET");
    line.text(what);
    return QByteArray(line.data(), line.length()) + '\r';
}

} // namespace

QByteArray ProbeDialogue::ModelQueryLine()
{
    return QueryLine(ModelKeyword.constData());
}

QByteArray ProbeDialogue::MainVersionQueryLine()
{
    return QueryLine(MainVersionKeyword.constData());
}

QByteArray ProbeDialogue::start()
{
    m_pending.clear();
    m_modelAnswered = false;
    m_expectedModel = false;
    m_model.clear();
    m_mainVersion.clear();
    m_lastSent = ModelQueryLine();
    return m_lastSent;
}

ProbeDialogue::Step ProbeDialogue::feed(const QByteArray &bytes, QByteArray *toSend)
{
    m_pending.append(bytes);
    Step step = Step::Waiting;
    int end;
    while (step != Step::Finished && (end = m_pending.indexOf('\r')) >= 0) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        const Step lineStep = takeLine(line, toSend);
        if (lineStep != Step::Waiting)
            step = lineStep;
    }
    return step;
}

ProbeDialogue::Step ProbeDialogue::takeLine(const QByteArray &rawLine, QByteArray *toSend)
{
    QByteArray line = rawLine;
    while (!line.isEmpty() && static_cast<unsigned char>(line.at(0)) < 0x20)
        line.remove(0, 1);
    if (!m_modelAnswered) {
        const QByteArray value = ReplyValue(line, ModelKeyword);
        if (value.isNull())
            return Step::Waiting;
        m_modelAnswered = true;
        m_model = QString::fromLatin1(value);
        m_expectedModel = value.split(' ').contains(QByteArray(ExpectedModel));
        if (!m_expectedModel)
            return Step::Finished;
        m_lastSent = MainVersionQueryLine();
        if (toSend)
            *toSend = m_lastSent;
        return Step::Send;
    }
    const QByteArray value = ReplyValue(line, MainVersionKeyword);
    if (value.isNull())
        return Step::Waiting;
    m_mainVersion = QString::fromLatin1(value);
    return Step::Finished;
}

QByteArray ProbeDialogue::ReplyValue(const QByteArray &line, const QByteArray &keyword)
{
    if (line.startsWith("GET ") || line.startsWith("SET "))
        return QByteArray();
    const int at = line.indexOf(keyword);
    if (at < 0)
        return QByteArray();
    QByteArray value = line.mid(at + keyword.size()).trimmed();
    if (value.isNull())
        value = QByteArray("");
    return value;
}
