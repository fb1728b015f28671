#include "protocol/EdidVideoCodes.h"

namespace {

struct VicRow {
    int vic;
    int width;
    int height;
    double refreshHz; // field rate for the interlaced codes
    bool interlaced;
};

// The CTA-861 video codes with a defined mode. Codes that differ only in picture aspect share
// a mode here; a person reads the pixels and the rate.
const VicRow VicRows[] = {
    { 1, 640, 480, 59.94, false },
    { 2, 720, 480, 59.94, false },
    { 3, 720, 480, 59.94, false },
    { 4, 1280, 720, 60.0, false },
    { 5, 1920, 1080, 60.0, true },
    { 6, 1440, 480, 59.94, true },
    { 7, 1440, 480, 59.94, true },
    { 8, 1440, 240, 60.05, false },
    { 9, 1440, 240, 60.05, false },
    { 10, 2880, 480, 59.94, true },
    { 11, 2880, 480, 59.94, true },
    { 12, 2880, 240, 60.05, false },
    { 13, 2880, 240, 60.05, false },
    { 14, 1440, 480, 59.94, false },
    { 15, 1440, 480, 59.94, false },
    { 16, 1920, 1080, 60.0, false },
    { 17, 720, 576, 50.0, false },
    { 18, 720, 576, 50.0, false },
    { 19, 1280, 720, 50.0, false },
    { 20, 1920, 1080, 50.0, true },
    { 21, 1440, 576, 50.0, true },
    { 22, 1440, 576, 50.0, true },
    { 23, 1440, 288, 50.08, false },
    { 24, 1440, 288, 50.08, false },
    { 25, 2880, 576, 50.0, true },
    { 26, 2880, 576, 50.0, true },
    { 27, 2880, 288, 50.08, false },
    { 28, 2880, 288, 50.08, false },
    { 29, 1440, 576, 50.0, false },
    { 30, 1440, 576, 50.0, false },
    { 31, 1920, 1080, 50.0, false },
    { 32, 1920, 1080, 24.0, false },
    { 33, 1920, 1080, 25.0, false },
    { 34, 1920, 1080, 30.0, false },
    { 35, 2880, 480, 59.94, false },
    { 36, 2880, 480, 59.94, false },
    { 37, 2880, 576, 50.0, false },
    { 38, 2880, 576, 50.0, false },
    { 39, 1920, 1080, 50.0, true },
    { 40, 1920, 1080, 100.0, true },
    { 41, 1280, 720, 100.0, false },
    { 42, 720, 576, 100.0, false },
    { 43, 720, 576, 100.0, false },
    { 44, 1440, 576, 100.0, true },
    { 45, 1440, 576, 100.0, true },
    { 46, 1920, 1080, 120.0, true },
    { 47, 1280, 720, 120.0, false },
    { 48, 720, 480, 119.88, false },
    { 49, 720, 480, 119.88, false },
    { 50, 1440, 480, 119.88, true },
    { 51, 1440, 480, 119.88, true },
    { 52, 720, 576, 200.0, false },
    { 53, 720, 576, 200.0, false },
    { 54, 1440, 576, 200.0, true },
    { 55, 1440, 576, 200.0, true },
    { 56, 720, 480, 239.76, false },
    { 57, 720, 480, 239.76, false },
    { 58, 1440, 480, 239.76, true },
    { 59, 1440, 480, 239.76, true },
    { 60, 1280, 720, 24.0, false },
    { 61, 1280, 720, 25.0, false },
    { 62, 1280, 720, 30.0, false },
    { 63, 1920, 1080, 120.0, false },
    { 64, 1920, 1080, 100.0, false },
    { 65, 1280, 720, 24.0, false },
    { 66, 1280, 720, 25.0, false },
    { 67, 1280, 720, 30.0, false },
    { 68, 1280, 720, 50.0, false },
    { 69, 1280, 720, 60.0, false },
    { 70, 1280, 720, 100.0, false },
    { 71, 1280, 720, 120.0, false },
    { 72, 1920, 1080, 24.0, false },
    { 73, 1920, 1080, 25.0, false },
    { 74, 1920, 1080, 30.0, false },
    { 75, 1920, 1080, 50.0, false },
    { 76, 1920, 1080, 60.0, false },
    { 77, 1920, 1080, 100.0, false },
    { 78, 1920, 1080, 120.0, false },
    { 79, 1680, 720, 24.0, false },
    { 80, 1680, 720, 25.0, false },
    { 81, 1680, 720, 30.0, false },
    { 82, 1680, 720, 50.0, false },
    { 83, 1680, 720, 60.0, false },
    { 84, 1680, 720, 100.0, false },
    { 85, 1680, 720, 120.0, false },
    { 86, 2560, 1080, 24.0, false },
    { 87, 2560, 1080, 25.0, false },
    { 88, 2560, 1080, 30.0, false },
    { 89, 2560, 1080, 50.0, false },
    { 90, 2560, 1080, 60.0, false },
    { 91, 2560, 1080, 100.0, false },
    { 92, 2560, 1080, 120.0, false },
    { 93, 3840, 2160, 24.0, false },
    { 94, 3840, 2160, 25.0, false },
    { 95, 3840, 2160, 30.0, false },
    { 96, 3840, 2160, 50.0, false },
    { 97, 3840, 2160, 60.0, false },
    { 98, 4096, 2160, 24.0, false },
    { 99, 4096, 2160, 25.0, false },
    { 100, 4096, 2160, 30.0, false },
    { 101, 4096, 2160, 50.0, false },
    { 102, 4096, 2160, 60.0, false },
    { 103, 3840, 2160, 24.0, false },
    { 104, 3840, 2160, 25.0, false },
    { 105, 3840, 2160, 30.0, false },
    { 106, 3840, 2160, 50.0, false },
    { 107, 3840, 2160, 60.0, false },
    { 108, 1280, 720, 48.0, false },
    { 109, 1280, 720, 48.0, false },
    { 110, 1680, 720, 48.0, false },
    { 111, 1920, 1080, 48.0, false },
    { 112, 1920, 1080, 48.0, false },
    { 113, 2560, 1080, 48.0, false },
    { 114, 3840, 2160, 48.0, false },
    { 115, 4096, 2160, 48.0, false },
    { 116, 3840, 2160, 48.0, false },
    { 117, 3840, 2160, 100.0, false },
    { 118, 3840, 2160, 120.0, false },
    { 119, 3840, 2160, 100.0, false },
    { 120, 3840, 2160, 120.0, false },
    { 121, 5120, 2160, 24.0, false },
    { 122, 5120, 2160, 25.0, false },
    { 123, 5120, 2160, 30.0, false },
    { 124, 5120, 2160, 48.0, false },
    { 125, 5120, 2160, 50.0, false },
    { 126, 5120, 2160, 60.0, false },
    { 127, 5120, 2160, 100.0, false },
    { 193, 5120, 2160, 120.0, false },
    { 194, 7680, 4320, 24.0, false },
    { 195, 7680, 4320, 25.0, false },
    { 196, 7680, 4320, 30.0, false },
    { 197, 7680, 4320, 48.0, false },
    { 198, 7680, 4320, 50.0, false },
    { 199, 7680, 4320, 60.0, false },
    { 200, 7680, 4320, 100.0, false },
    { 201, 7680, 4320, 120.0, false },
    { 202, 7680, 4320, 24.0, false },
    { 203, 7680, 4320, 25.0, false },
    { 204, 7680, 4320, 30.0, false },
    { 205, 7680, 4320, 48.0, false },
    { 206, 7680, 4320, 50.0, false },
    { 207, 7680, 4320, 60.0, false },
    { 208, 7680, 4320, 100.0, false },
    { 209, 7680, 4320, 120.0, false },
    { 210, 10240, 4320, 24.0, false },
    { 211, 10240, 4320, 25.0, false },
    { 212, 10240, 4320, 30.0, false },
    { 213, 10240, 4320, 48.0, false },
    { 214, 10240, 4320, 50.0, false },
    { 215, 10240, 4320, 60.0, false },
    { 216, 10240, 4320, 100.0, false },
    { 217, 10240, 4320, 120.0, false },
    { 218, 4096, 2160, 100.0, false },
    { 219, 4096, 2160, 120.0, false },
};

struct EstablishedRow {
    int width;
    int height;
    double refreshHz;
    bool interlaced;
};

// Their refresh rates as the timings give them. Bit 7 of byte 35 first, down to bit 7 of byte 37; the other bits of byte 37 belong to the
// manufacturer and name no mode.
const EstablishedRow EstablishedRows[] = {
    { 720, 400, 70.08, false }, { 720, 400, 87.85, false }, { 640, 480, 59.94, false }, { 640, 480, 66.67, false },
    { 640, 480, 72.81, false }, { 640, 480, 75, false }, { 800, 600, 56.25, false }, { 800, 600, 60.32, false },
    { 800, 600, 72.19, false }, { 800, 600, 75, false }, { 832, 624, 74.55, false }, { 1024, 768, 86.96, true },
    { 1024, 768, 60, false }, { 1024, 768, 70.07, false }, { 1024, 768, 75.03, false }, { 1280, 1024, 75.02, false },
    { 1152, 870, 75.06, false },
};

} // namespace

bool EdidVideoCodes::ModeOfVic(int vic, EdidMode *mode)
{
    for (const VicRow &row : VicRows) {
        if (row.vic == vic) {
            *mode = EdidMode { row.width, row.height, row.refreshHz, row.interlaced };
            return true;
        }
    }
    return false;
}

EdidVideoCode EdidVideoCodes::FromDescriptor(quint8 descriptor)
{
    EdidVideoCode code;
    if (descriptor == 0 || descriptor == 128 || descriptor >= 254)
        return code;
    code.native = descriptor > 128 && descriptor <= 192;
    code.vic = code.native ? descriptor & 0x7F : descriptor;
    code.known = ModeOfVic(code.vic, &code.mode);
    return code;
}

QList<EdidMode> EdidVideoCodes::EstablishedTimings(quint8 first, quint8 second, quint8 third)
{
    const quint32 bits = (quint32(first) << 16) | (quint32(second) << 8) | third;
    QList<EdidMode> modes;
    const int count = int(sizeof EstablishedRows / sizeof EstablishedRows[0]);
    for (int k = 0; k < count; ++k) {
        if (bits & (1u << (23 - k))) {
            const EstablishedRow &row = EstablishedRows[k];
            modes << EdidMode { row.width, row.height, row.refreshHz, row.interlaced };
        }
    }
    return modes;
}
