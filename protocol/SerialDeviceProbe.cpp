#include "protocol/SerialDeviceProbe.h"

#include "link/LinkConnectFailure.h"

#include <QSerialPort>

SerialDeviceProbe::SerialDeviceProbe(const QString &portName, const QList<qint32> &baudRates, int tryMs, QObject *parent)
    : QObject(parent)
    , m_rates(baudRates)
    , m_tryMs(tryMs)
{
    m_result.link = DiscoveryResult::Link::Serial;
    m_result.serialPath = portName;
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &SerialDeviceProbe::SLT_TryOver);
}

SerialDeviceProbe::~SerialDeviceProbe()
{
    abort();
}

void SerialDeviceProbe::start()
{
    m_port = new QSerialPort(this);
    m_port->setPortName(m_result.serialPath);
    connect(m_port, &QSerialPort::readyRead, this, &SerialDeviceProbe::SLT_Readable);
    tryNextRate();
}

void SerialDeviceProbe::abort()
{
    m_done = true;
    m_timer.stop();
    closePort();
}

void SerialDeviceProbe::tryNextRate()
{
    if (m_nextRate >= m_rates.size()) {
        finish();
        return;
    }
    const qint32 rate = m_rates.at(m_nextRate++);
    if (!m_port->isOpen()) {
        m_port->setBaudRate(rate);
        if (!m_port->open(QIODevice::ReadWrite)) {
            m_result.kind = DiscoveryResult::Kind::Unopenable;
            const auto cause = LinkConnectFailure::FromSerialError(
                m_port->error(), LinkConnectFailure::ExaminePath(m_result.serialPath));
            m_result.problem = LinkConnectFailure::Text(cause, m_port->errorString());
            finish();
            return;
        }
    } else {
        m_port->setBaudRate(rate);
        m_port->clear();
    }
    m_result.baudRate = rate;
    m_port->write(m_dialogue.start());
    m_timer.start(m_tryMs);
}

void SerialDeviceProbe::SLT_Readable()
{
    if (m_done)
        return;
    QByteArray toSend;
    const ProbeDialogue::Step step = m_dialogue.feed(m_port->readAll(), &toSend);
    if (step == ProbeDialogue::Step::Send) {
        m_port->write(toSend);
        m_timer.start(m_tryMs);
    } else if (step == ProbeDialogue::Step::Finished) {
        finish();
    }
}

void SerialDeviceProbe::SLT_TryOver()
{
    if (m_dialogue.modelAnswered()) {
        finish(); // a device that names itself but not its version is still found
        return;
    }
    countRateDone();
    tryNextRate();
}

void SerialDeviceProbe::finish()
{
    if (m_done)
        return;
    m_done = true;
    m_timer.stop();
    closePort();
    if (m_result.kind != DiscoveryResult::Kind::Unopenable) {
        m_result.model = m_dialogue.model();
        m_result.mainVersion = m_dialogue.mainVersion();
        if (!m_dialogue.modelAnswered()) {
            m_result.kind = DiscoveryResult::Kind::Silent;
            m_result.baudRate = 0;
        } else {
            m_result.kind = m_dialogue.isExpectedModel() ? DiscoveryResult::Kind::Device : DiscoveryResult::Kind::OtherModel;
        }
    }
    // The rates not tried count as done for the progress.
    while (m_ratesCounted < m_rates.size())
        countRateDone();
    emit SGL_Done(this, m_result);
}

void SerialDeviceProbe::countRateDone()
{
    ++m_ratesCounted;
    emit SGL_RateDone(this);
}

void SerialDeviceProbe::closePort()
{
    if (m_port && m_port->isOpen())
        m_port->close();
}
