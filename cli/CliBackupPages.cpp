#include "cli/CliBackupPages.h"

#include "protocol/ValueWords.h"

void CliBackupPages::signalOutputRotation(quint32 output, const QString &keyword)
{
    m_rotation[ClampSlot(output)] = RotationWords.indexOf(keyword.trimmed());
}

void CliBackupPages::signalOutputMute(quint32 output, const QString &keyword)
{
    m_mute[ClampSlot(output)] = OnOffWords.indexOf(keyword.trimmed());
}

void CliBackupPages::signalOutputFreeze(quint32 output, const QString &keyword)
{
    m_freeze[ClampSlot(output)] = OnOffWords.indexOf(keyword.trimmed());
}

void CliBackupPages::multiviewShowUserWindow(quint32 output, quint32 hStart, quint32 vStart, quint32 hSize, quint32 vSize)
{
    CliPages::multiviewShowUserWindow(output, hStart, vStart, hSize, vSize);
    UserWindow &window = m_userWindow[ClampSlot(output)];
    window.seen = true;
    window.values[0] = int(hStart);
    window.values[1] = int(vStart);
    window.values[2] = int(hSize);
    window.values[3] = int(vSize);
}
