#include "protocol/ProtocolKeywordTable.h"

#include <cstring>

namespace {

const char *const Words[ProtocolKeywordTable::Size] = { "HELP", "RESET", "VERSION", "ARM VERSION",
    "IP ADDRESS", "SUBMASK", "GATEWAY", "NETPORT", "AUTO SWITCH", "VIDEO IN", "IN RESOLUTION", "RESOLUTION",
    "BRIGHTNESS", "CONTRAST", "4K-AUTO", "HDCP", "VKA", "ITC", "MULTIVIEW", "WINDOW1 IN", "WINDOW2 IN",
    "WINDOW3 IN", "WINDOW4 IN", "PIP POS", "PIP SIZE", "PBP MODE", "PBP ASPECT", "3xWIN MODE", "3xWIN ASPECT",
    "4xWIN MODE", "4xWIN ASPECT", "AUDIO SOURCE", "AUDIO VOL", "AUDIO-MUTE", "KVM", "USB ROAMING", "EDIDMODE",
    "MODEL TYPE", "LONG-REACH", "USB-HDBT", "SAVE SCENE", "LOAD SCENE", "EDID-USER", "RS232-PER", "MAXMODE",
    "MULTIVIEW-SYNC", "SUB-VERSION", "EXPAND-VERSION", "KEYBOARD-VERSION", "NETWORK-INFO", "BAUDRATE",
    "ROTATION", "TVWALL", "AUDIO-SRC", "FREEZE-WIN1", "FREEZE-WIN2", "FREEZE-WIN3", "FREEZE-WIN4",
    "FREEZE-WINALL", "PBP-PRESENTER", "PIP USER", "RESO-USER", "ALL-ASPECT", "OUTPORT-EDID", "MATRIX-ROUTE",
    "IN-INFO", "OUT-INFO", "SYNC-OVER", "TVWALL-INFO", "VIDEOWALL-SYNC", "VIDEO OUT", "VIDEO ALL", "WALLPORT",
    "OUT", "IN", "MAIN", "KEYBOARD", "FK" };

// Keywords grouped by their first byte, each group in table order, so that one pass over the
// line tries only the keywords that can start at each byte.
struct FirstByteIndex {
    quint8 lengths[ProtocolKeywordTable::Size];
    quint8 groupStart[257];
    quint8 members[ProtocolKeywordTable::KeywordCount];

    FirstByteIndex()
    {
        for (int k = 0; k < ProtocolKeywordTable::Size; ++k)
            lengths[k] = static_cast<quint8>(std::strlen(Words[k]));
        int next = 0;
        for (int byte = 0; byte < 256; ++byte) {
            groupStart[byte] = static_cast<quint8>(next);
            for (int k = 0; k < ProtocolKeywordTable::KeywordCount; ++k) {
                if (static_cast<unsigned char>(Words[k][0]) == byte)
                    members[next++] = static_cast<quint8>(k);
            }
        }
        groupStart[256] = static_cast<quint8>(next);
    }
};

const FirstByteIndex &Index()
{
    static const FirstByteIndex index;
    return index;
}

bool IsSeparator(char byte)
{
    return byte == ' ' || byte == '\r';
}

} // namespace

const char *ProtocolKeywordTable::word(int position)
{
    return position >= 0 && position < Size ? Words[position] : "";
}

int ProtocolKeywordTable::length(int position)
{
    return position >= 0 && position < Size ? Index().lengths[position] : 0;
}

int ProtocolKeywordTable::findKeyword(const char *bytes, int start, int end, int *offset)
{
    const FirstByteIndex &index = Index();
    int best = -1;
    int bestOffset = -1;
    for (int at = start < 0 ? 0 : start; at < end; ++at) {
        const auto first = static_cast<unsigned char>(bytes[at]);
        const int groupEnd = index.groupStart[first + 1];
        for (int g = index.groupStart[first]; g < groupEnd; ++g) {
            const int keyword = index.members[g];
            if (best >= 0 && keyword >= best)
                break;
            const int after = at + index.lengths[keyword];
            if (after >= end || !IsSeparator(bytes[after]))
                continue;
            if (std::memcmp(bytes + at, Words[keyword], index.lengths[keyword]) != 0)
                continue;
            best = keyword;
            bestOffset = at;
            break;
        }
        if (best == 0)
            break;
    }
    if (offset)
        *offset = bestOffset;
    return best;
}

int ProtocolKeywordTable::findPrefix(const char *bytes, int length)
{
    const FirstByteIndex &index = Index();
    for (int prefix = 0; prefix < PrefixCount; ++prefix) {
        const int position = KeywordCount + prefix;
        const int size = index.lengths[position];
        if (size <= length && std::memcmp(bytes, Words[position], static_cast<size_t>(size)) == 0)
            return prefix;
    }
    return -1;
}
