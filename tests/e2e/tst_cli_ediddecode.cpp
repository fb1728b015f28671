// tavilon-cli edid decode FILE as a process: no link options and no device, JSON whose facts
// agree with edid-decode's on every test EDID, and the exit status a script can trust.
#include "sim/SimEdid.h"
#include "support/EdidFacts.h"
#include "support/EdidGenerator.h"
#include "support/TestPaths.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run RunCli(const QStringList &arguments)
{
    QProcess process;
    process.start(TestBinDir() + QStringLiteral("/tavilon-cli"), arguments);
    Run run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(3000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray Changed(QByteArray edid, int index, quint8 value)
{
    edid[index] = char(value);
    return edid;
}

} // namespace

class TestCliEdidDecode : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void agreesWithEdidDecode_data();
    void agreesWithEdidDecode();
    void refusesWhatIsNoEdidFile_data();
    void refusesWhatIsNoEdidFile();

private:
    QString write(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
};

void TestCliEdidDecode::initTestCase()
{
    QVERIFY2(QFile::exists(TestBinDir() + "/tavilon-cli"), "tavilon-cli is not built");
    QVERIFY2(!EdidFacts::OraclePath().isEmpty(), "edid-decode is not installed (make deps installs it)");
    QVERIFY(m_dir.isValid());
}

QString TestCliEdidDecode::write(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

void TestCliEdidDecode::agreesWithEdidDecode_data()
{
    QTest::addColumn<QByteArray>("edid");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("simulator television") << SimEdid::ForOutput(0) << 0;
    QTest::newRow("simulator monitor") << SimEdid::ForOutput(1) << 0;
    QTest::newRow("4K HDR television") << EdidGenerator::HdrTelevision() << 0;
    QTest::newRow("HDMI 1.4 monitor") << EdidGenerator::Monitor1080() << 0;
    QTest::newRow("128-byte DVI monitor") << EdidGenerator::DviMonitor() << 0;
    QTest::newRow("every audio format") << EdidGenerator::AllAudioFormats() << 0;
    QTest::newRow("every speaker and colour space") << EdidGenerator::AllSpeakersAndColorimetry() << 0;
    QTest::newRow("blocks left undecoded") << EdidGenerator::OtherBlocks() << 0;
    QTest::newRow("HDMI 2.1 gaming monitor") << EdidGenerator::GamingMonitor() << 0;
    QTest::newRow("broken checksum") << Changed(EdidGenerator::HdrTelevision(), 254, 0x77) << 1;
}

void TestCliEdidDecode::agreesWithEdidDecode()
{
    QFETCH(QByteArray, edid);
    QFETCH(int, exitCode);
    const QString path = write(QStringLiteral("%1.bin").arg(QTest::currentDataTag()), edid);
    const Run run = RunCli({ "edid", "decode", path });
    QCOMPARE(run.exitCode, exitCode);
    // A broken EDID is printed all the same, with one line that names its fault.
    QCOMPARE(run.err.trimmed().isEmpty(), exitCode == 0);
    if (exitCode != 0)
        QVERIFY2(run.err.contains("block 1, byte 127: checksum"), run.err.constData());
    QJsonParseError error;
    const QJsonObject json = QJsonDocument::fromJson(run.out, &error).object();
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));

    EdidFacts::Facts oracle;
    bool refused = false;
    QString failure;
    QVERIFY2(EdidFacts::FromEdidDecode(edid, &oracle, &refused, &failure), qPrintable(failure));
    QVERIFY(!refused);
    const EdidFacts::Facts ours = EdidFacts::FromJson(json);
    for (const QString &field : EdidFacts::FieldNames())
        QCOMPARE(field + QStringLiteral(": ") + ours.value(field), field + QStringLiteral(": ") + oracle.value(field));
}

void TestCliEdidDecode::refusesWhatIsNoEdidFile_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errorPart");
    QTest::newRow("missing file") << QStringList { "edid", "decode", "/nonexistent/display.bin" } << 1
                                  << "cannot read EDID file /nonexistent/display.bin";
    QTest::newRow("file too large") << QStringList { "edid", "decode", "LARGE" } << 1 << "larger than 512 bytes";
    QTest::newRow("no header") << QStringList { "edid", "decode", "NOHEADER" } << 1 << "the header is not";
    QTest::newRow("no file named") << QStringList { "edid", "decode" } << 2 << "usage: edid decode FILE";
}

void TestCliEdidDecode::refusesWhatIsNoEdidFile()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, errorPart);
    if (arguments.last() == QLatin1String("LARGE"))
        arguments.last() = write(QStringLiteral("large.bin"), QByteArray(600, '\x01'));
    if (arguments.last() == QLatin1String("NOHEADER"))
        arguments.last() = write(QStringLiteral("noheader.bin"), Changed(EdidGenerator::Monitor1080(), 0, 0x01));
    const Run run = RunCli(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(QString::fromUtf8(run.err).contains(errorPart), run.err.constData());
    QCOMPARE(run.err.trimmed().count('\n'), 0);
}

QTEST_GUILESS_MAIN(TestCliEdidDecode)
#include "tst_cli_ediddecode.moc"
