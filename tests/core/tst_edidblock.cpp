// EDID blocks: the header and checksum rules that decide whether a block may be written to an
// input, and the protocol's hexadecimal text form in both directions.
#include "protocol/EdidBlock.h"
#include "support/EdidSamples.h"

#include <QtTest>

namespace {

using EdidSamples::GoodEdid;
using EdidSamples::WithByte;

// The text form written out here by hand: every byte as "%02X", joined by spaces.
QString HexOf(const QByteArray &bytes)
{
    QStringList pairs;
    for (char byte : bytes)
        pairs << QString::asprintf("%02X", unsigned(quint8(byte)));
    return pairs.join(QLatin1Char(' '));
}

} // namespace

class TestEdidBlock : public QObject
{
    Q_OBJECT

private slots:
    void checkBytes_data();
    void checkBytes();
    void toHexText_data();
    void toHexText();
    void fromHexText_data();
    void fromHexText();
};

void TestEdidBlock::checkBytes_data()
{
    QTest::addColumn<QByteArray>("edid");
    QTest::addColumn<int>("check");

    const QByteArray one = GoodEdid(1);
    QTest::newRow("good, one extension") << one << int(EdidBlock::Valid);
    QTest::newRow("good, no extension") << GoodEdid(0) << int(EdidBlock::Valid);
    QTest::newRow("last header byte 01") << WithByte(one, 7, 0x01) << int(EdidBlock::NotEdid);
    QTest::newRow("first header byte FF") << WithByte(one, 0, 0xFF) << int(EdidBlock::NotEdid);
    QTest::newRow("header byte 3 FE") << WithByte(one, 3, 0xFE) << int(EdidBlock::NotEdid);
    QTest::newRow("all zero") << QByteArray(256, '\0') << int(EdidBlock::NotEdid);
    QTest::newRow("base block only, 128 bytes") << GoodEdid(0).left(128) << int(EdidBlock::NotEdid);
    QTest::newRow("257 bytes") << (one + QByteArray(1, '\0')) << int(EdidBlock::NotEdid);
    QTest::newRow("empty") << QByteArray() << int(EdidBlock::NotEdid);
    QTest::newRow("base checksum off by one")
        << WithByte(one, 127, quint8(one.at(127)) + 1) << int(EdidBlock::ChecksumError);
    QTest::newRow("base content changed") << WithByte(one, 20, quint8(one.at(20)) ^ 0x40)
                                          << int(EdidBlock::ChecksumError);
    QTest::newRow("extension checksum wrong, count 1")
        << WithByte(one, 255, quint8(one.at(255)) + 1) << int(EdidBlock::ChecksumError);
    const QByteArray zero = GoodEdid(0);
    QTest::newRow("extension checksum wrong, count 0")
        << WithByte(zero, 255, quint8(zero.at(255)) + 1) << int(EdidBlock::Valid);
    const QByteArray two = GoodEdid(2);
    QTest::newRow("extension checksum wrong, count 2")
        << WithByte(two, 200, quint8(two.at(200)) + 3) << int(EdidBlock::Valid);
}

void TestEdidBlock::checkBytes()
{
    QFETCH(QByteArray, edid);
    QFETCH(int, check);
    QCOMPARE(int(EdidBlock::CheckBytes(edid)), check);
}

void TestEdidBlock::toHexText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("header") << QByteArray::fromHex("00FFFFFFFFFFFF00") << "00 FF FF FF FF FF FF 00";
    QTest::newRow("upper-case digits") << QByteArray::fromHex("0a1bc2") << "0A 1B C2";
    QTest::newRow("one byte") << QByteArray(1, char(0x7F)) << "7F";
    QTest::newRow("none") << QByteArray() << "";
}

void TestEdidBlock::toHexText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(EdidBlock::ToHexText(bytes), text);
}

void TestEdidBlock::fromHexText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray good = GoodEdid(1);
    const QString goodText = HexOf(good);
    QTest::newRow("256 pairs") << goodText << true << good;
    QTest::newRow("lower-case digits") << goodText.toLower() << true << good;
    QTest::newRow("trailing space") << (goodText + QLatin1Char(' ')) << true << good;
    QTest::newRow("more pairs after 256") << (goodText + QStringLiteral(" 12 34")) << true << good;
    QTest::newRow("bad checksum is still what came") << HexOf(WithByte(good, 127, 0)) << true
                                                     << WithByte(good, 127, 0);
    QTest::newRow("255 pairs") << goodText.left(3 * 255 - 1) << false << QByteArray();
    QTest::newRow("last pair cut to one digit") << goodText.left(3 * 256 - 2) << false << QByteArray();
    QTest::newRow("empty") << QString() << false << QByteArray();
    QString badDigit = goodText;
    badDigit[3 * 40] = QLatin1Char('G');
    QTest::newRow("G in pair 40") << badDigit << false << QByteArray();
    QString colon = goodText;
    colon[3 * 10 + 2] = QLatin1Char(':');
    QTest::newRow("colon as separator") << colon << false << QByteArray();
    QTest::newRow("three digits in the last group") << (goodText + QLatin1Char('0')) << false << QByteArray();
    QString shifted = goodText;
    shifted.insert(3 * 100, QLatin1Char(' '));
    QTest::newRow("double space shifts the pairs") << shifted << false << QByteArray();
}

void TestEdidBlock::fromHexText()
{
    QFETCH(QString, text);
    QFETCH(bool, complete);
    QFETCH(QByteArray, bytes);

    const QByteArray untouched("untouched");
    QByteArray edid = untouched;
    QCOMPARE(EdidBlock::FromHexText(text, &edid), complete);
    QCOMPARE(edid, complete ? bytes : untouched);
}

QTEST_APPLESS_MAIN(TestEdidBlock)
#include "tst_edidblock.moc"
