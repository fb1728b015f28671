// The reply keywords in search order, then the port prefixes. The order decides which keyword a
// line is taken for: the first position with an occurrence wins.
#pragma once

#include <QtGlobal>

class ProtocolKeywordTable
{
public:
    enum Position : int {
        Help = 0,
        Reset,
        Version,
        ArmVersion,
        IpAddress,
        Submask,
        Gateway,
        Netport,
        AutoSwitch,
        VideoIn,
        InResolution,
        Resolution,
        Brightness,
        Contrast,
        FourKAuto,
        Hdcp,
        Vka,
        Itc,
        Multiview,
        Window1In,
        Window2In,
        Window3In,
        Window4In,
        PipPos,
        PipSize,
        PbpMode,
        PbpAspect,
        ThreeWinMode,
        ThreeWinAspect,
        FourWinMode,
        FourWinAspect,
        AudioSource,
        AudioVol,
        AudioMute,
        Kvm,
        UsbRoaming,
        EdidMode,
        ModelType,
        LongReach,
        UsbHdbt,
        SaveScene,
        LoadScene,
        EdidUser,
        Rs232Per,
        MaxMode,
        MultiviewSync,
        SubVersion,
        ExpandVersion,
        KeyboardVersion,
        NetworkInfo,
        Baudrate,
        Rotation,
        TvWall,
        AudioSrc,
        FreezeWin1,
        FreezeWin2,
        FreezeWin3,
        FreezeWin4,
        FreezeWinAll,
        PbpPresenter,
        PipUser,
        ResoUser,
        AllAspect,
        OutportEdid,
        MatrixRoute,
        InInfo,
        OutInfo,
        SyncOver,
        TvWallInfo,
        VideowallSync,
        VideoOut,
        VideoAll,
        WallPort,
        PrefixOut,
        PrefixIn,
        PrefixMain,
        PrefixKeyboard,
        PrefixFk,
    };

    static constexpr int KeywordCount = 73;
    static constexpr int PrefixCount = 5;
    static constexpr int Size = KeywordCount + PrefixCount;

    static const char *word(int position);
    static int length(int position);

    // Searches bytes [start, end) for the keyword of the lowest position that occurs followed by a
    // space or CR (the following byte must lie before end). Returns the position, or -1, and
    // the offset of that keyword's first such occurrence.
    static int findKeyword(const char *bytes, int start, int end, int *offset);
    // The prefix (0 OUT, 1 IN, 2 MAIN, 3 KEYBOARD, 4 FK) the bytes begin with, or -1.
    static int findPrefix(const char *bytes, int length);
};
