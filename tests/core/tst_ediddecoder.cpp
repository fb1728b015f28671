// The EDID decoder: its fields agree with Debian's edid-decode on the simulator's displays,
// the sample blocks and generated EDIDs covering every block it reads; a broken EDID decodes
// as far as it can and names where it is broken; the summary line reads as an operator wants.
#include "protocol/EdidDecoder.h"
#include "protocol/EdidJson.h"
#include "protocol/EdidSummary.h"
#include "sim/SimEdid.h"
#include "support/EdidFacts.h"
#include "support/EdidGenerator.h"
#include "support/EdidSamples.h"

#include <QtTest>

namespace {

using G = EdidGenerator;

QByteArray WithByte(QByteArray edid, int index, quint8 value)
{
    edid[index] = char(value);
    return edid;
}

// The block's checksum made right again after a change.
QByteArray Resummed(QByteArray edid, int block)
{
    int sum = 0;
    for (int k = block * 128; k < block * 128 + 127; ++k)
        sum += quint8(edid.at(k));
    edid[block * 128 + 127] = char((256 - sum % 256) % 256);
    return edid;
}

} // namespace

class TestEdidDecoder : public QObject
{
    Q_OBJECT

private slots:
    void agreesWithEdidDecode_data();
    void agreesWithEdidDecode();
    void brokenEdidDecodesAsFarAsItCan_data();
    void brokenEdidDecodesAsFarAsItCan();
    void summaryLine_data();
    void summaryLine();
    void readsHexText_data();
    void readsHexText();
    void randomBytesNeverBreakTheDecoder();
};

void TestEdidDecoder::agreesWithEdidDecode_data()
{
    QTest::addColumn<QByteArray>("edid");
    for (int output = 0; output < 4; ++output)
        QTest::newRow(qPrintable(QStringLiteral("simulator output %1").arg(output + 1))) << SimEdid::ForOutput(output);
    QTest::newRow("sample without extension") << EdidSamples::GoodEdid(0);
    QTest::newRow("sample with a foreign extension") << EdidSamples::GoodEdid(1);
    QTest::newRow("4K HDR television") << G::HdrTelevision();
    QTest::newRow("1080p HDMI monitor") << G::Monitor1080();
    QTest::newRow("128-byte DVI monitor") << G::DviMonitor();
    QTest::newRow("every audio format") << G::AllAudioFormats();
    QTest::newRow("every speaker and colour space") << G::AllSpeakersAndColorimetry();
    QTest::newRow("blocks left undecoded") << G::OtherBlocks();
    QTest::newRow("HDMI 2.1 gaming monitor") << G::GamingMonitor();
    QTest::newRow("television, base checksum broken")
        << WithByte(G::HdrTelevision(), 127, quint8(G::HdrTelevision().at(127)) ^ 0x01);
    QTest::newRow("television, extension checksum broken")
        << WithByte(G::HdrTelevision(), 255, quint8(G::HdrTelevision().at(255)) ^ 0x40);
    QTest::newRow("television cut to its base block") << Resummed(WithByte(G::HdrTelevision().left(128), 126, 0), 0);
    QTest::newRow("television without header") << WithByte(G::HdrTelevision(), 3, 0xFE);
    QTest::newRow("100 bytes") << G::Monitor1080().left(100);
    QTest::newRow("unannounced extension") << Resummed(WithByte(G::HdrTelevision(), 126, 0), 0);
    QTest::newRow("interlaced preferred timing")
        << EdidGenerator().detailed(0, { 7425, 1920, 280, 88, 44, 540, 22, 2, 5 }).interlaced(0).bytes();
}

void TestEdidDecoder::agreesWithEdidDecode()
{
    QFETCH(QByteArray, edid);
    if (EdidFacts::OraclePath().isEmpty())
        QFAIL("edid-decode is not installed (make deps installs it)");
    EdidFacts::Facts oracle;
    bool refused = false;
    QString error;
    QVERIFY2(EdidFacts::FromEdidDecode(edid, &oracle, &refused, &error), qPrintable(error));
    const EdidInfo info = EdidDecoder::Decode(edid);
    if (refused) {
        // edid-decode gives nothing for what is no EDID; ours still says why.
        QVERIFY(!info.IsSound());
        return;
    }
    const EdidFacts::Facts ours = EdidFacts::FromJson(EdidJson::Build(info));
    for (const QString &field : EdidFacts::FieldNames())
        QCOMPARE(field + QStringLiteral(": ") + ours.value(field), field + QStringLiteral(": ") + oracle.value(field));
    const bool oracleSound = !oracle.value(QStringLiteral("checksums")).contains(QLatin1String("bad"));
    QCOMPARE(info.IsSound(), oracleSound);
}

void TestEdidDecoder::brokenEdidDecodesAsFarAsItCan_data()
{
    QTest::addColumn<QByteArray>("edid");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("manufacturer");
    QTest::addColumn<int>("videoCodes");

    const QByteArray tv = G::HdrTelevision();
    QTest::newRow("empty") << QByteArray() << "0 bytes long" << "" << 0;
    QTest::newRow("header only") << tv.left(8) << "8 bytes long" << "" << 0;
    QTest::newRow("wrong header byte") << WithByte(tv, 7, 0x01) << "block 0, byte 7: the header" << "QVZ" << 10;
    QTest::newRow("base checksum") << WithByte(tv, 127, quint8(tv.at(127)) + 1) << "block 0, byte 127: checksum"
                                   << "QVZ" << 10;
    QTest::newRow("extension checksum") << WithByte(tv, 200, quint8(tv.at(200)) + 1)
                                        << "block 1, byte 127: checksum" << "QVZ" << 10;
    QTest::newRow("extension announced but missing") << tv.left(128) << "1 extension block(s) announced, 0 present"
                                                     << "QVZ" << 0;
    QTest::newRow("two extensions announced")
        << Resummed(WithByte(tv, 126, 2), 0) << "2 extension block(s) announced, 1 present" << "QVZ" << 10;
    QTest::newRow("odd size") << tv + QByteArray(44, '\0') << "not a whole number of 128-byte blocks" << "QVZ" << 10;
    QTest::newRow("data block past the timings")
        << EdidGenerator().identification("QPH", 1, 1, 1, 2020).dataBlock(2, "\x10\x04\x03").timingsOffset(6).bytes()
        << "block 1, byte 4: a data block (tag 2, 3 bytes) runs past byte 6" << "QPH" << 0;
    QTest::newRow("timings offset inside the header")
        << EdidGenerator().identification("QPH", 1, 1, 1, 2020).dataBlock(2, "\x10").timingsOffset(2).bytes()
        << "outside 4 to 127" << "QPH" << 0;
    QTest::newRow("audio block of four bytes")
        << EdidGenerator().dataBlock(2, "\x10").dataBlock(1, QByteArray("\x09\x07\x07\x00", 4)).bytes()
        << "not a multiple of 3" << "TVN" << 1;
    QTest::newRow("extended block without its tag")
        << EdidGenerator().dataBlock(7, QByteArray()).dataBlock(2, "\x10").bytes() << "without its extended tag"
        << "TVN" << 1;
    QTest::newRow("HDMI block without an address")
        << EdidGenerator().dataBlock(3, QByteArray("\x03\x0C\x00\x10", 4)).dataBlock(2, "\x04").bytes()
        << "too short for a physical address" << "TVN" << 1;
    QTest::newRow("manufacturer out of letters") << Resummed(WithByte(WithByte(tv, 8, 0x00), 9, 0x00), 0)
                                                 << "not three letters" << "???" << 10;
}

void TestEdidDecoder::brokenEdidDecodesAsFarAsItCan()
{
    QFETCH(QByteArray, edid);
    QFETCH(QString, problem);
    QFETCH(QString, manufacturer);
    QFETCH(int, videoCodes);
    const EdidInfo info = EdidDecoder::Decode(edid);
    QVERIFY(!info.IsSound());
    QVERIFY2(info.problems.join(QLatin1Char('\n')).contains(problem), qPrintable(info.problems.join(QLatin1Char('\n'))));
    QCOMPARE(info.manufacturer, manufacturer);
    QCOMPARE(info.videoCodes.size(), videoCodes);
    // The summary names the first fault.
    QVERIFY(EdidSummary::Line(info).endsWith(info.problems.first()));
}

void TestEdidDecoder::summaryLine_data()
{
    QTest::addColumn<QByteArray>("edid");
    QTest::addColumn<QString>("summary");
    QTest::newRow("4K HDR television") << G::HdrTelevision()
                                       << "LOUNGE TV 65 · 3840 × 2160 @ 60 Hz preferred · HDMI 2.0 600 MHz · LPCM 2 ch, "
                                          "AC-3 · HDR10";
    QTest::newRow("HDMI 1.4 monitor") << G::Monitor1080()
                                      << "OFFICE 24 · 1920 × 1080 @ 60 Hz preferred · HDMI 225 MHz · LPCM 2 ch";
    QTest::newRow("DVI monitor") << G::DviMonitor() << "DESK 1920 · 1920 × 1200 @ 59.95 Hz preferred";
    QTest::newRow("HDMI 2.1, PQ and HLG") << G::GamingMonitor()
                                          << "GAMER 27Q · 2560 × 1440 @ 143.49 Hz preferred · HDMI 2.1 1200 MHz · "
                                             "LPCM 8 ch · HDR10, HLG";
    QTest::newRow("each audio format once")
        << G::AllAudioFormats()
        << "AV RECEIVER · 1920 × 1080 @ 60 Hz preferred · LPCM 2 ch, AC-3, MPEG-1, MP3, MPEG-2, AAC LC, DTS, ATRAC, "
           "DSD, E-AC-3, DTS-HD, Dolby TrueHD, DST, WMA Pro";
    QTest::newRow("no name: manufacturer and product")
        << EdidGenerator().identification("QNE", 0x6A2B, 0, 1, 2015).detailed(0, G::Hd60).bytes()
        << "QNE 6A2B · 1280 × 720 @ 60 Hz preferred";
    QTest::newRow("interlaced") << EdidGenerator().detailed(0, { 7425, 1920, 280, 88, 44, 540, 22, 2, 5 }).interlaced(0).bytes()
                                << "TVN 0001 · 1920 × 1080i @ 60 Hz preferred";
    QTest::newRow("HDMI block without a clock")
        << EdidGenerator().name(1, "PROJECTOR").dataBlock(3, QByteArray("\x03\x0C\x00\x20\x00", 5)).bytes()
        << "PROJECTOR · HDMI";
    QTest::newRow("HDMI Forum block below 340 MHz")
        << EdidGenerator().name(1, "BAR").dataBlock(3, QByteArray("\xD8\x5D\xC4\x01\x00\x80", 6)).bytes()
        << "BAR · HDMI 2.0";
    QTest::newRow("broken checksum ends the line")
        << G::DviMonitor().left(127) + '\x00' << "DESK 1920 · 1920 × 1200 @ 59.95 Hz preferred · block 0, byte 127: "
                                                 "checksum 0x00, should be 0x"
                                                 + QString::number(quint8(G::DviMonitor().at(127)), 16).toUpper().rightJustified(2, '0');
}

void TestEdidDecoder::summaryLine()
{
    QFETCH(QByteArray, edid);
    QFETCH(QString, summary);
    QCOMPARE(EdidSummary::Line(EdidDecoder::Decode(edid)), summary);
}

void TestEdidDecoder::readsHexText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("rows of the view") << "00 FF\nFF 0a" << QByteArray("\x00\xFF\xFF\x0A", 4);
    QTest::newRow("spaces around") << "  12  34 \n" << QByteArray("\x12\x34");
    QTest::newRow("stops at a damaged pair") << "12 3G 56" << QByteArray("\x12");
    QTest::newRow("stops at a lone digit") << "12 3 56" << QByteArray("\x12");
    QTest::newRow("empty") << "" << QByteArray();
}

void TestEdidDecoder::readsHexText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(EdidDecoder::BytesFromHexText(text), bytes);
}

// Whatever comes from a display, the decoder stays within the bytes (run under the sanitizers
// by make test-asan) and names a fault for what is not sound.
void TestEdidDecoder::randomBytesNeverBreakTheDecoder()
{
    QRandomGenerator random(2026);
    const QByteArray tv = G::HdrTelevision();
    for (int round = 0; round < 2000; ++round) {
        QByteArray edid = tv.left(random.bounded(tv.size() + 1));
        const int changes = random.bounded(1, 12);
        for (int k = 0; k < changes && !edid.isEmpty(); ++k)
            edid[random.bounded(edid.size())] = char(random.bounded(256));
        const EdidInfo info = EdidDecoder::Decode(edid);
        // Cut short, the television's EDID always misses what its base block announces.
        QVERIFY(edid.size() == tv.size() || !info.IsSound());
        QVERIFY(!EdidSummary::Line(info).isNull());
    }
}

QTEST_GUILESS_MAIN(TestEdidDecoder)
#include "tst_ediddecoder.moc"
