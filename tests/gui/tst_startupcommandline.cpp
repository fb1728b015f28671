// The program's command line as it is read before the application object exists: which
// arguments start the program, which are answered at once, which are refused.
#include "shell/StartupCommandLine.h"

#include <QtTest>

Q_DECLARE_METATYPE(StartupCommandLine::Action)

class TestStartupCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void TestStartupCommandLine::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<StartupCommandLine::Action>("action");
    QTest::addColumn<int>("exitCode");

    using Action = StartupCommandLine::Action;
    QTest::newRow("nothing") << QStringList {} << Action::Run << 0;
    QTest::newRow("demonstration device") << QStringList { "--demo-device", "tcp=127.0.0.1:2000" } << Action::Run << 0;
    QTest::newRow("demonstration device with =") << QStringList { "--demo-device=serial=/tmp/t" } << Action::Run << 0;
    // Its value is never read as an option of its own.
    QTest::newRow("value that looks like an option") << QStringList { "--demo-device", "--help" } << Action::Run << 0;
    QTest::newRow("Qt's platform option") << QStringList { "-platform", "offscreen" } << Action::Run << 0;
    QTest::newRow("Qt's style option with =") << QStringList { "--style=fusion" } << Action::Run << 0;
    QTest::newRow("Qt's reverse layout") << QStringList { "-reverse" } << Action::Run << 0;
    QTest::newRow("help") << QStringList { "--help" } << Action::PrintHelp << 0;
    QTest::newRow("help after Qt's option") << QStringList { "-platform", "xcb", "-h" } << Action::PrintHelp << 0;
    QTest::newRow("version") << QStringList { "--version" } << Action::PrintVersion << 0;
    QTest::newRow("unknown option") << QStringList { "--fullscreen" } << Action::Refuse << 2;
    QTest::newRow("unknown option before help") << QStringList { "-x", "--help" } << Action::Refuse << 2;
    QTest::newRow("stray word") << QStringList { "192.168.0.247" } << Action::Refuse << 2;
    QTest::newRow("single dash") << QStringList { "-" } << Action::Refuse << 2;
    QTest::newRow("demonstration option without value") << QStringList { "--demo-device" } << Action::Refuse << 2;
}

void TestStartupCommandLine::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(StartupCommandLine::Action, action);
    QFETCH(int, exitCode);

    const StartupCommandLine line = StartupCommandLine::Parse(QStringList { "tavilon" } + arguments);

    QCOMPARE(line.action, action);
    QCOMPARE(line.exitCode, exitCode);
    QCOMPARE(line.text.isEmpty(), action == StartupCommandLine::Action::Run);
    QCOMPARE(line.text.endsWith(QLatin1Char('\n')), action != StartupCommandLine::Action::Run);
}

QTEST_GUILESS_MAIN(TestStartupCommandLine)
#include "tst_startupcommandline.moc"
