// The three programs' command lines as a user types them: help and version are printed and the
// program ends at once (the widget program without a display and without a window), the same
// version everywhere; a wrong option is refused on standard error with exit status 2.
#include "support/TestPaths.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

namespace {

// Generous: the answer comes in milliseconds, but the test machine is shared.
constexpr int RunLimitMs = 20000;

struct Run {
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Without a display or a platform choice: the widget program must not need one for these.
Run RunProgram(const QString &program, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(TestBinDir() + QLatin1Char('/') + program, arguments);
    Run run;
    run.finished = process.waitForFinished(RunLimitMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

class TestCommandLines : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void answers_data();
    void answers();
    void sameVersionEverywhere();
};

void TestCommandLines::initTestCase()
{
    for (const char *program : { "tavilon", "tavilon-cli", "tavilon-sim" }) {
        if (!QFile::exists(TestBinDir() + QLatin1Char('/') + QLatin1String(program)))
            QSKIP("the three programs are not all built");
    }
}

void TestCommandLines::answers_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("outPattern");
    QTest::addColumn<QString>("errPattern");

    const QString version = QStringLiteral("^%1 \\d+\\.\\d+(\\.\\d+)?\\n$");
    QTest::newRow("tavilon --help") << "tavilon" << QStringList { "--help" } << 0
                                    << "^Usage: tavilon .*--demo-device tcp=HOST:PORT,serial=PATH.*--version" << "^$";
    QTest::newRow("tavilon -h") << "tavilon" << QStringList { "-h" } << 0 << "^Usage: tavilon " << "^$";
    QTest::newRow("tavilon --version") << "tavilon" << QStringList { "--version" } << 0 << version.arg("tavilon")
                                       << "^$";
    QTest::newRow("help after the demonstration option")
        << "tavilon" << QStringList { "--demo-device", "tcp=127.0.0.1:2000", "--help" } << 0 << "^Usage: tavilon "
        << "^$";
    QTest::newRow("tavilon, unknown option") << "tavilon" << QStringList { "--verbose" } << 2 << "^$"
                                             << "^tavilon: unknown option --verbose.*\\n$";
    QTest::newRow("tavilon, stray word") << "tavilon" << QStringList { "connect" } << 2 << "^$"
                                         << "^tavilon: unexpected argument \"connect\".*\\n$";
    QTest::newRow("tavilon, demonstration option without value") << "tavilon" << QStringList { "--demo-device" }
                                                                 << 2 << "^$" << "^tavilon: --demo-device needs";
    QTest::newRow("tavilon-cli --version") << "tavilon-cli" << QStringList { "--version" } << 0
                                           << version.arg("tavilon-cli") << "^$";
    QTest::newRow("tavilon-sim --version") << "tavilon-sim" << QStringList { "--version" } << 0
                                           << version.arg("tavilon-sim") << "^$";
    QTest::newRow("tavilon-cli, rate the device lacks")
        << "tavilon-cli" << QStringList { "--serial", "/dev/ttyUSB0", "--baud", "1200", "sync" } << 2 << "^$"
        << "^tavilon-cli: baud rate must be one of 9600, 19200, 38400, 57600, 115200, not \"1200\"";
    QTest::newRow("tavilon-cli, rate above the device's")
        << "tavilon-cli" << QStringList { "--serial", "/dev/ttyUSB0", "--baud", "230400", "sync" } << 2 << "^$"
        << "baud rate must be one of";
}

void TestCommandLines::answers()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, outPattern);
    QFETCH(QString, errPattern);

    const Run run = RunProgram(program, arguments);

    QVERIFY(run.finished);
    QCOMPARE(run.exitCode, exitCode);
    const QRegularExpression::PatternOption dotAll = QRegularExpression::DotMatchesEverythingOption;
    QVERIFY2(QRegularExpression(outPattern, dotAll).match(QString::fromLocal8Bit(run.out)).hasMatch(), run.out.constData());
    QVERIFY2(QRegularExpression(errPattern, dotAll).match(QString::fromLocal8Bit(run.err)).hasMatch(), run.err.constData());
}

void TestCommandLines::sameVersionEverywhere()
{
    QStringList versions;
    for (const char *program : { "tavilon", "tavilon-cli", "tavilon-sim" }) {
        const Run run = RunProgram(QString::fromLatin1(program), { "--version" });
        QVERIFY(run.finished);
        versions << QString::fromLatin1(run.out).section(QLatin1Char(' '), 1).trimmed();
    }
    QVERIFY(!versions.first().isEmpty());
    QCOMPARE(versions, (QStringList { versions.first(), versions.first(), versions.first() }));
}

QTEST_GUILESS_MAIN(TestCommandLines)
#include "tst_commandlines.moc"
