#include "cli/CliPages.h"

#include "settings/LanguageTexts.h"

namespace {

// A reported text is never null, even when empty: null stands for "not reported".
QString Reported(const QString &text)
{
    return text.isNull() ? QString::fromLatin1("") : text;
}

} // namespace

CliPages::CliPages(QObject *parent)
    : QObject(parent)
{ }

void CliPages::kickSend()
{
    emit SGL_UpdateEmit();
}

void CliPages::connectionAppendStatusLine(const QString &text)
{
    m_statusLog << text;
    if (text.contains(QStringLiteral("->%1<-").arg(SMSG_Status_SyncOver)))
        m_syncOver = true;
}

void CliPages::connectionDisconnectActiveLink()
{
    ReplyPages::connectionDisconnectActiveLink();
    // The session closes the link once the parser has returned, as the connection page's
    // button would.
    m_disconnectRequested = true;
}

void CliPages::connectionSetStatusPicture(bool success)
{
    if (success)
        m_modelAccepted = true;
}

void CliPages::showMachineNotMatch()
{
    m_modelRefused = true;
}

void CliPages::matrixSetRouteList(const QString &text)
{
    ReplyPages::matrixSetRouteList(text);
    m_routesSeen = true;
}

void CliPages::matrixRequestRoutes()
{
    if (m_readDevice)
        ReplyPages::matrixRequestRoutes();
}

void CliPages::matrixInEdidMode(quint32, int) { }

void CliPages::matrixOutEdid(quint32 output, const QString &hexText)
{
    const quint32 slot = ClampSlot(output);
    m_outEdid[slot] = hexText;
    ++m_outEdidCount[slot];
}

void CliPages::signalInputFormat(quint32 input, const QString &text)
{
    m_inputs[ClampSlot(input)].format = Reported(text);
}

void CliPages::signalInputAudio(quint32 input, const QString &keyword)
{
    m_inputs[ClampSlot(input)].audio = Reported(keyword);
}

void CliPages::signalInputType(quint32 input, const QString &text)
{
    // Only an IN-INFO reply reports the input type, and it reports it first.
    InputTexts &texts = m_inputs[ClampSlot(input)];
    texts.type = Reported(text);
    texts.infoSeen = true;
}

void CliPages::signalInputOutputFormat(quint32 input, const QString &text)
{
    m_inputs[ClampSlot(input)].outputFormat = Reported(text);
}

void CliPages::signalOutputType(quint32 output, const QString &keyword)
{
    m_outputs[ClampSlot(output)].hdcp = Reported(keyword);
}

void CliPages::signalOutputInputFormat(quint32 output, const QString &text)
{
    // Only an OUT-INFO reply reports the format the output receives.
    OutputTexts &texts = m_outputs[ClampSlot(output)];
    texts.inputFormat = Reported(text);
    texts.infoSeen = true;
}

void CliPages::signalOutputResolution(quint32 output, const QString &keyword)
{
    m_outputs[ClampSlot(output)].resolution = Reported(keyword);
}

void CliPages::signalReadAll()
{
    if (m_readDevice)
        ReplyPages::signalReadAll();
}

void CliPages::multiviewShowVka(quint32 output, quint32)
{
    m_multiviewSeen[ClampSlot(output)].vka = true;
}

void CliPages::multiviewShowItc(quint32 output, quint32)
{
    m_multiviewSeen[ClampSlot(output)].itc = true;
}

void CliPages::multiviewShowAudioSource(quint32 output, quint32)
{
    m_multiviewSeen[ClampSlot(output)].audioSource = true;
}

void CliPages::multiviewShowSyncState(quint32 output)
{
    m_multiviewSeen[ClampSlot(output)].sync = true;
}

void CliPages::multiviewReadState()
{
    if (m_readDevice)
        ReplyPages::multiviewReadState();
}

void CliPages::tvWallReadWall()
{
    if (m_readDevice)
        ReplyPages::tvWallReadWall();
}

void CliPages::tvWallContentUpdated()
{
    m_wallSeen = true;
}

void CliPages::systemShowVersion(const QString &text)
{
    m_versionText = text;
    ++m_versionCount;
}

void CliPages::systemNetworkReply(
    const QString &ip, const QString &port, const QString &mask, const QString &gateway)
{
    m_network = NetworkTexts { ip, port, mask, gateway };
    m_networkSeen = true;
}

void CliPages::systemBaudReply(int baudrate)
{
    m_baudRate = baudrate;
    m_baudSeen = true;
}

void CliPages::systemReadLinkSettings()
{
    if (m_readDevice)
        ReplyPages::systemReadLinkSettings();
}
