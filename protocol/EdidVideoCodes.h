// The fixed mode tables an EDID refers to by number: the CTA-861 video codes (VICs) and the
// established timings of the base block.
#pragma once

#include "protocol/EdidInfo.h"

class EdidVideoCodes
{
public:
    // The mode of a video code; false for a code without a defined mode.
    static bool ModeOfVic(int vic, EdidMode *mode);
    // A short video descriptor byte as a code and its native flag: 129 to 192 carry the
    // native flag over codes 1 to 64; 0, 128, 254 and 255 name no code (vic 0).
    static EdidVideoCode FromDescriptor(quint8 descriptor);
    // The established timings of bytes 35 to 37 of the base block, bit 7 of byte 35 first.
    static QList<EdidMode> EstablishedTimings(quint8 first, quint8 second, quint8 third);
};
