#include "protocol/ValueWords.h"

#include <cstring>

namespace {

const char *const EdidModeList[] = { "4K60-2.0", "4K60-5.1", "4K60-7.1", "4K30-2.0", "4K30-5.1", "4K30-7.1",
    "1080p60-2.0", "1080p60-5.1", "1080p60-7.1", "1920x1200", "1680x1050", "1600x1200", "1440x900",
    "1360x768", "1280x1024", "1024x768", "720p", "3440x1440", "2560x1600", "AUTO", "USER" };
const char *const AspectList[] = { "FULL", "16:9" };
const char *const PipSizeList[] = { "SMALL", "MIDDLE", "LARGE", "USER" };
const char *const PipPosList[] = { "LeftTop", "RightTop", "LeftBottom", "RightBottom", "USER" };
const char *const MultiviewModeList[] = { "SINGLE", "PIP", "PBP", "3xWIN", "4xWIN" };
const char *const VkaList[] = { "BLUESCREEN", "BLACKSCREEN", "NOTIMING" };
const char *const HdcpList[] = { "FORCE-1.4", "FORCE-2.2", "FORCE-OFF" };
const char *const OutResolutionList[]
    = { "4096x2160p60", "4096x2160p50", "3840x2160p60", "3840x2160p50", "3840x2160p30", "3840x2160p25",
          "1920x1200p60RB", "1920x1080p60", "1920x1080p50", "1360x768p60", "1280x800p60", "1280x720p60",
          "1280x720p50", "1024x768p60", "3440x1440p60", "2560x1600p60", "AUTO", "USER" };
const char *const RotationList[] = { "0", "90", "180" };
const char *const InAudioList[] = { "EMBEDDED", "L/R" };
const char *const AudioSourceList[] = { "WIN1", "HDMI1", "HDMI2", "HDMI3", "HDMI4" };
const char *const WindowInputList[] = { "HDMI1", "HDMI2", "HDMI3", "HDMI4" };
const char *const WindowList[] = { "WINDOW1", "WINDOW2", "WINDOW3", "WINDOW4" };
const char *const OnOffList[] = { "ON", "OFF", "NULL" };

template <size_t N> constexpr ValueWordList ListOf(const char *const (&words)[N])
{
    return ValueWordList { words, static_cast<quint32>(N) };
}

} // namespace

const ValueWordList EdidModeWords = ListOf(EdidModeList);
const ValueWordList AspectWords = ListOf(AspectList);
const ValueWordList PipSizeWords = ListOf(PipSizeList);
const ValueWordList PipPosWords = ListOf(PipPosList);
const ValueWordList MultiviewModeWords = ListOf(MultiviewModeList);
const ValueWordList VkaWords = ListOf(VkaList);
const ValueWordList HdcpWords = ListOf(HdcpList);
const ValueWordList OutResolutionWords = ListOf(OutResolutionList);
const ValueWordList RotationWords = ListOf(RotationList);
const ValueWordList InAudioWords = ListOf(InAudioList);
const ValueWordList AudioSourceWords = ListOf(AudioSourceList);
const ValueWordList WindowInputWords = ListOf(WindowInputList);
const ValueWordList WindowWords = ListOf(WindowList);
const ValueWordList OnOffWords = ListOf(OnOffList);

const char *const ExpectedModel = "RZ7P52KN";

int ValueWordList::indexOf(const char *data, int length) const
{
    if (length < 0)
        return -1;
    const size_t size = static_cast<size_t>(length);
    for (quint32 i = 0; i < count; ++i) {
        if (std::strlen(words[i]) == size && std::memcmp(words[i], data, size) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

int ValueWordList::indexOf(const QString &word) const
{
    const QByteArray bytes = word.toLatin1();
    return indexOf(bytes.constData(), bytes.size());
}
