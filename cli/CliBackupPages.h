// The headless client's pages with what a backup reads beyond them: the rotation, audio mute
// and freeze of every output and the user window of the multiview outputs that have one, as
// the device last confirmed them.
#pragma once

#include "cli/CliPages.h"

#include <array>

class CliBackupPages : public CliPages
{
public:
    struct UserWindow {
        bool seen = false;
        int values[4] = { 0, 0, 0, 0 };
    };

    using CliPages::CliPages;

    void signalOutputRotation(quint32 output, const QString &keyword) override;
    void signalOutputMute(quint32 output, const QString &keyword) override;
    void signalOutputFreeze(quint32 output, const QString &keyword) override;
    void multiviewShowUserWindow(
        quint32 output, quint32 hStart, quint32 vStart, quint32 hSize, quint32 vSize) override;

    // Indices into RotationWords and OnOffWords; -1 until the device reported one.
    int rotation(quint32 output) const { return m_rotation[ClampSlot(output)]; }
    int mute(quint32 output) const { return m_mute[ClampSlot(output)]; }
    int freeze(quint32 output) const { return m_freeze[ClampSlot(output)]; }
    const UserWindow &userWindow(quint32 output) const { return m_userWindow[ClampSlot(output)]; }
    // Forgets the user windows before they are read again (another mode has none).
    void clearUserWindows() { m_userWindow.fill(UserWindow()); }

private:
    std::array<int, MaxPorts> m_rotation = FilledWithUnknown();
    std::array<int, MaxPorts> m_mute = FilledWithUnknown();
    std::array<int, MaxPorts> m_freeze = FilledWithUnknown();
    std::array<UserWindow, MaxPorts> m_userWindow;

    static std::array<int, MaxPorts> FilledWithUnknown()
    {
        std::array<int, MaxPorts> values;
        values.fill(-1);
        return values;
    }
};
