#include "protocol/ConfigReplyRecorder.h"

#include "protocol/ReplyParser.h"
#include "protocol/ValueWords.h"

ConfigReplyRecorder::ConfigReplyRecorder() = default;

ConfigReplyRecorder::Words ConfigReplyRecorder::Unknown()
{
    Words words;
    words.fill(-1);
    return words;
}

void ConfigReplyRecorder::record(const QByteArray &line)
{
    ParseReplyBytes(*this, line.constData(), line.size());
}

void ConfigReplyRecorder::startRead()
{
    m_syncOver = false;
    m_userWindowSeen.fill(false);
}

// The base queues a read of the shown output; the program's own parser has done that already.
void ConfigReplyRecorder::multiviewShowMode(quint32, quint32) { }

void ConfigReplyRecorder::signalInputAudio(quint32 input, const QString &keyword)
{
    m_inputAudio[ClampSlot(input)] = InAudioWords.indexOf(keyword.trimmed());
}

void ConfigReplyRecorder::signalOutputType(quint32 output, const QString &keyword)
{
    m_hdcp[ClampSlot(output)] = HdcpWords.indexOf(keyword.trimmed());
}

void ConfigReplyRecorder::signalOutputResolution(quint32 output, const QString &keyword)
{
    m_resolution[ClampSlot(output)] = OutResolutionWords.indexOf(keyword.trimmed());
}

void ConfigReplyRecorder::signalOutputRotation(quint32 output, const QString &keyword)
{
    m_rotation[ClampSlot(output)] = RotationWords.indexOf(keyword.trimmed());
}

void ConfigReplyRecorder::signalOutputMute(quint32 output, const QString &keyword)
{
    m_mute[ClampSlot(output)] = OnOffWords.indexOf(keyword.trimmed());
}

void ConfigReplyRecorder::signalOutputFreeze(quint32 output, const QString &keyword)
{
    m_freeze[ClampSlot(output)] = OnOffWords.indexOf(keyword.trimmed());
}

void ConfigReplyRecorder::multiviewShowUserWindow(
    quint32 output, quint32 hStart, quint32 vStart, quint32 hSize, quint32 vSize)
{
    const quint32 slot = ClampSlot(output);
    m_userWindowSeen[slot] = true;
    m_userWindow[slot] = { int(hStart), int(vStart), int(hSize), int(vSize) };
}

DeviceConfig ConfigReplyRecorder::config() const
{
    DeviceConfig c = DeviceConfig::FromDeviceState();
    for (int i = 0; i < c.inputs.size(); ++i)
        c.inputs[i].audio = m_inputAudio[size_t(i)];
    for (int o = 0; o < c.outputs.size(); ++o) {
        DeviceConfig::Output &out = c.outputs[o];
        out.hdcp = m_hdcp[size_t(o)];
        out.resolution = m_resolution[size_t(o)];
        out.rotation = m_rotation[size_t(o)];
        out.mute = m_mute[size_t(o)];
        out.freeze = m_freeze[size_t(o)];
        out.multiview.userWindowKnown = m_userWindowSeen[size_t(o)];
        for (int n = 0; n < 4; ++n)
            out.multiview.userWindow[n] = m_userWindow[size_t(o)][size_t(n)];
    }
    return c;
}
