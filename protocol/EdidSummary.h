// An EdidInfo in words: the one line an operator reads first ("NAME · 3840 × 2160 @ 60 Hz
// preferred · HDMI 2.0 600 MHz · LPCM 2 ch, AC-3 · HDR10"), and the texts of its parts.
#pragma once

#include "protocol/EdidInfo.h"

class EdidSummary
{
public:
    static QString Line(const EdidInfo &info);

    // The display's own name, or its manufacturer and product code when it gives none.
    static QString DisplayName(const EdidInfo &info);
    // "3840 × 2160 @ 60 Hz", "1920 × 1080i @ 50 Hz", "720 × 480 @ 59.94 Hz".
    static QString ModeText(const EdidMode &mode);
    // At most two decimals, without trailing zeros: 60, 59.94, 148.5.
    static QString NumberText(double value);
    // "HDMI 2.0 600 MHz", "HDMI 340 MHz", "HDMI"; empty without an HDMI block.
    static QString HdmiText(const EdidInfo &info);
    // "LPCM 2 ch, AC-3": each format once, LPCM with its most channels.
    static QString AudioText(const EdidInfo &info);
    // "HDR10", "HLG", "HDR10, HLG"; empty without PQ or HLG.
    static QString HdrText(const EdidInfo &info);
};
