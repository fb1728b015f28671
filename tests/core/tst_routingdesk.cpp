// The live-room routing rules without widgets: route grouping, Take mode and its stage,
// output locks and their file, and undo/redo, checked by the exact lines queued for the link.
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "protocol/DeviceState.h"
#include "protocol/OutputLocks.h"
#include "protocol/RouteGroups.h"
#include "protocol/RoutingDesk.h"
#include "settings/ConfigFile.h"

#include <QMutexLocker>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList TakeQueuedLines()
{
    QStringList lines;
    LinkQueue &queue = TcpLinkQueue();
    QMutexLocker lock(&queue.sendMutex);
    for (const QueuedLine &line : qAsConst(queue.sendQueue))
        lines << QString::fromLatin1(line.bytes).chopped(1);
    queue.sendQueue.clear();
    return lines;
}

// A stand-in for the device: applies queued route commands to DeviceState as its replies would.
void DeviceApplies(const QStringList &lines)
{
    static const QRegularExpression route(QStringLiteral("^SET IN(\\d+) VIDEO (ALL|OUT([\\d,]+))$"));
    for (const QString &line : lines) {
        const QRegularExpressionMatch match = route.match(line);
        if (!match.hasMatch())
            continue;
        const quint32 input = match.captured(1).toUInt() - 1;
        if (match.captured(2) == QLatin1String("ALL")) {
            DeviceState_SetRoute(input, 255);
            continue;
        }
        for (const QString &number : match.captured(3).split(QLatin1Char(',')))
            DeviceState_SetRoute(input, number.toUInt() - 1);
    }
}

void SetRoutes(const QString &oneBased)
{
    const QStringList inputs = oneBased.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (int k = 0; k < inputs.size(); ++k)
        DeviceState_SetRoute(inputs.at(k).toUInt() - 1, quint32(k));
}

QString RoutesText()
{
    QStringList inputs;
    for (quint32 o = 0; o < DeviceState.outputCount; ++o)
        inputs << QString::number(DeviceState.routeInputOfOutput[o] + 1);
    return inputs.join(QLatin1Char(' '));
}

// "2:3 4:1": output 2 staged to input 3, output 4 to input 1 (1-based).
QString StageText(const RoutingStage &stage)
{
    QStringList parts;
    const QMap<quint32, quint32> &changes = stage.changes();
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        parts << QStringLiteral("%1:%2").arg(it.key() + 1).arg(it.value() + 1);
    return parts.join(QLatin1Char(' '));
}

QString NumbersText(const QVector<quint32> &zeroBased)
{
    QStringList parts;
    for (quint32 value : zeroBased)
        parts << QString::number(value + 1);
    return parts.join(QLatin1Char(' '));
}

} // namespace

class TestRoutingDesk : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TcpLinkQueue().activate(); }
    void init()
    {
        TakeQueuedLines();
        DeviceState_Clear();
        DeviceState_ConfirmModel();
        LinkMode = LinkModeTcp;
        SetRoutes(QStringLiteral("1 2 3 4"));
    }
    void cleanup() { LinkMode = LinkModeNone; }

    void groupRoutes_data();
    void groupRoutes();
    void script_data();
    void script();
    void historyKeepsTwentySteps_data();
    void historyKeepsTwentySteps();
    void locksText_data();
    void locksText();
    void locksFileBesideSettings();
};

void TestRoutingDesk::groupRoutes_data()
{
    QTest::addColumn<QString>("changes"); // output:input, 1-based
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("nothing") << "" << QStringList();
    QTest::newRow("one output") << "2:3" << QStringList { "SET IN3 VIDEO OUT2" };
    QTest::newRow("outputs of one input in one line, ascending") << "4:1 1:1 3:1"
                                                                   << QStringList { "SET IN1 VIDEO OUT1,3,4" };
    QTest::newRow("one line per input, by input") << "1:4 2:2 3:4 4:2"
                                                  << QStringList { "SET IN2 VIDEO OUT2,4", "SET IN4 VIDEO OUT1,3" };
    QTest::newRow("every output to one input") << "1:3 2:3 3:3 4:3" << QStringList { "SET IN3 VIDEO OUT1,2,3,4" };
    QTest::newRow("an input the device lacks is not sent") << "1:5 2:1" << QStringList { "SET IN1 VIDEO OUT2" };
}

void TestRoutingDesk::groupRoutes()
{
    QFETCH(QString, changes);
    QFETCH(QStringList, lines);

    QMap<quint32, quint32> inputOfOutput;
    for (const QString &pair : changes.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        inputOfOutput.insert(pair.section(QLatin1Char(':'), 0, 0).toUInt() - 1, pair.section(QLatin1Char(':'), 1).toUInt() - 1);
    QueueRouteGroups(GroupRoutes(inputOfOutput));
    QCOMPARE(TakeQueuedLines(), lines);
}

void TestRoutingDesk::script_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("stage");
    QTest::addColumn<QString>("skipped"); // of the last step
    QTest::addColumn<QString>("routes"); // after the device applied everything

    QTest::newRow("a click routes at once") << "route 3 2" << QStringList { "SET IN3 VIDEO OUT2" } << "" << ""
                                            << "1 3 3 4";
    QTest::newRow("Take mode stages and sends nothing")
        << "take-mode on; route 3 2; route 1 4" << QStringList() << "2:3 4:1" << "" << "1 2 3 4";
    QTest::newRow("a later click on the same output replaces its staged input")
        << "take-mode on; route 3 2; route 4 2" << QStringList() << "2:4" << "" << "1 2 3 4";
    QTest::newRow("Take groups the stage by input")
        << "take-mode on; route 2 1; route 2 3; route 4 2; take"
        << QStringList { "SET IN2 VIDEO OUT1,3", "SET IN4 VIDEO OUT2" } << "" << "" << "2 4 2 4";
    QTest::newRow("staging the route the device has drops the staged change")
        << "take-mode on; route 3 2; route 2 2" << QStringList() << "" << "" << "1 2 3 4";
    QTest::newRow("Cancel drops the stage") << "take-mode on; route 3 2; cancel; take" << QStringList() << "" << ""
                                            << "1 2 3 4";
    QTest::newRow("leaving Take mode drops the stage")
        << "take-mode on; route 3 2; take-mode off; route 4 1" << QStringList { "SET IN4 VIDEO OUT1" } << "" << ""
        << "4 2 3 4";
    QTest::newRow("another controller's change drops what it already did")
        << "take-mode on; route 3 2; route 4 1; device 3 2; drop-confirmed" << QStringList() << "1:4" << ""
        << "1 3 3 4";
    QTest::newRow("a locked output ignores a click") << "lock 2; route 3 2" << QStringList() << "" << "2"
                                                     << "1 2 3 4";
    QTest::newRow("a locked output ignores a click in Take mode")
        << "take-mode on; lock 2; route 3 2" << QStringList() << "" << "2" << "1 2 3 4";
    QTest::newRow("Allset without locks is one ALL line") << "all 3" << QStringList { "SET IN3 VIDEO ALL" } << ""
                                                          << "" << "3 3 3 3";
    QTest::newRow("Allset skips locked outputs and names them")
        << "lock 2; lock 4; all 3" << QStringList { "SET IN3 VIDEO OUT1" } << "" << "2 4" << "3 2 3 4";
    QTest::newRow("Allset in Take mode stages the unlocked outputs that change")
        << "take-mode on; lock 1; all 2" << QStringList() << "3:2 4:2" << "1" << "1 2 3 4";
    QTest::newRow("Take skips an output locked after staging")
        << "take-mode on; route 3 2; route 3 1; lock 2; take" << QStringList { "SET IN3 VIDEO OUT1" } << "" << "2"
        << "3 2 3 4";
    QTest::newRow("undo restores the routes before the last change")
        << "route 3 2; confirm; undo" << QStringList { "SET IN3 VIDEO OUT2", "SET IN2 VIDEO OUT2" } << "" << ""
        << "1 2 3 4";
    QTest::newRow("redo brings the change back")
        << "route 3 2; confirm; undo; confirm; redo"
        << QStringList { "SET IN3 VIDEO OUT2", "SET IN2 VIDEO OUT2", "SET IN3 VIDEO OUT2" } << "" << "" << "1 3 3 4";
    QTest::newRow("two undos walk back two changes")
        << "route 3 2; confirm; route 4 1; confirm; undo; confirm; undo"
        << QStringList { "SET IN3 VIDEO OUT2", "SET IN4 VIDEO OUT1", "SET IN1 VIDEO OUT1", "SET IN2 VIDEO OUT2" }
        << "" << "" << "1 2 3 4";
    QTest::newRow("undo of an Allset is grouped by input")
        << "all 4; confirm; undo"
        << QStringList { "SET IN4 VIDEO ALL", "SET IN1 VIDEO OUT1", "SET IN2 VIDEO OUT2", "SET IN3 VIDEO OUT3" }
        << "" << "" << "1 2 3 4";
    QTest::newRow("undo of a Take is one step")
        << "take-mode on; route 2 1; route 1 2; take; confirm; take-mode off; undo"
        << QStringList { "SET IN1 VIDEO OUT2", "SET IN2 VIDEO OUT1", "SET IN1 VIDEO OUT1", "SET IN2 VIDEO OUT2" }
        << "" << "" << "1 2 3 4";
    QTest::newRow("undo in Take mode is staged") << "route 3 2; confirm; take-mode on; undo"
                                                 << QStringList { "SET IN3 VIDEO OUT2" } << "2:2" << "" << "1 3 3 4";
    QTest::newRow("undo leaves locked outputs alone")
        << "all 4; confirm; lock 1; undo"
        << QStringList { "SET IN4 VIDEO ALL", "SET IN2 VIDEO OUT2", "SET IN3 VIDEO OUT3" } << "" << "1" << "4 2 3 4";
    QTest::newRow("an undo only a locked output would carry out keeps its step")
        << "route 3 2; confirm; lock 2; undo; unlock 2; undo"
        << QStringList { "SET IN3 VIDEO OUT2", "SET IN2 VIDEO OUT2" } << "" << "" << "1 2 3 4";
    QTest::newRow("a new change forgets what could be redone")
        << "route 3 2; confirm; undo; confirm; route 4 1; confirm; redo"
        << QStringList { "SET IN3 VIDEO OUT2", "SET IN2 VIDEO OUT2", "SET IN4 VIDEO OUT1" } << "" << "" << "4 2 3 4";
    QTest::newRow("asking for the route the device has is sent but not an undo step")
        << "route 2 2; confirm; undo" << QStringList { "SET IN2 VIDEO OUT2" } << "" << "" << "1 2 3 4";
    QTest::newRow("a scene load is an undo step")
        << "scene-load; device 4 1; device 4 2; undo" << QStringList { "SET IN1 VIDEO OUT1", "SET IN2 VIDEO OUT2" }
        << "" << "" << "1 2 3 4";
    QTest::newRow("without a link a click records no undo step")
        << "link off; route 3 2; link on; undo" << QStringList() << "" << "" << "1 2 3 4";
    QTest::newRow("without a link Take keeps the stage")
        << "take-mode on; route 3 2; link off; take; link on; take" << QStringList { "SET IN3 VIDEO OUT2" } << ""
        << "" << "1 3 3 4";
    QTest::newRow("without a link an undo step stays for later")
        << "route 3 2; confirm; link off; undo; link on; undo" << QStringList { "SET IN3 VIDEO OUT2", "SET IN2 VIDEO OUT2" }
        << "" << "" << "1 2 3 4";
    QTest::newRow("without a link Allset records nothing") << "link off; all 3; link on; undo" << QStringList() << ""
                                                           << "" << "1 2 3 4";
    QTest::newRow("nothing to undo sends nothing") << "undo; redo" << QStringList() << "" << "" << "1 2 3 4";
}

void TestRoutingDesk::script()
{
    QFETCH(QString, script);
    QFETCH(QStringList, lines);
    QFETCH(QString, stage);
    QFETCH(QString, skipped);
    QFETCH(QString, routes);

    OutputLocks locks;
    RoutingDesk desk(locks);
    QStringList sent;
    RoutingDesk::Outcome last;
    for (const QString &step : script.split(QStringLiteral("; "))) {
        const QStringList words = step.split(QLatin1Char(' '));
        const QString verb = words.first();
        const quint32 a = words.value(1).toUInt() - 1;
        const quint32 b = words.value(2).toUInt() - 1;
        if (verb == QLatin1String("route"))
            last = desk.route(a, b);
        else if (verb == QLatin1String("all"))
            last = desk.routeAll(a);
        else if (verb == QLatin1String("take-mode"))
            desk.setTakeMode(words.value(1) == QLatin1String("on"));
        else if (verb == QLatin1String("take"))
            last = desk.take();
        else if (verb == QLatin1String("cancel"))
            desk.cancel();
        else if (verb == QLatin1String("undo"))
            last = desk.undo();
        else if (verb == QLatin1String("redo"))
            last = desk.redo();
        else if (verb == QLatin1String("lock"))
            locks.setLocked(a, true);
        else if (verb == QLatin1String("unlock"))
            locks.setLocked(a, false);
        else if (verb == QLatin1String("scene-load"))
            desk.recordBeforeSceneLoad();
        else if (verb == QLatin1String("device"))
            DeviceState_SetRoute(a, b);
        else if (verb == QLatin1String("link"))
            LinkMode = words.value(1) == QLatin1String("on") ? LinkModeTcp : LinkModeNone;
        else if (verb == QLatin1String("drop-confirmed"))
            desk.dropConfirmedStage();
        else if (verb != QLatin1String("confirm"))
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        const QStringList queued = TakeQueuedLines();
        sent += queued;
        // The device carries out what it was sent before the next step.
        DeviceApplies(queued);
    }
    QCOMPARE(sent, lines);
    QCOMPARE(StageText(desk.stage()), stage);
    QCOMPARE(NumbersText(last.skippedLocked), skipped);
    QCOMPARE(RoutesText(), routes);
}

void TestRoutingDesk::historyKeepsTwentySteps_data()
{
    QTest::addColumn<int>("changes");
    QTest::addColumn<int>("undoable");

    QTest::newRow("1") << 1 << 1;
    QTest::newRow("19") << 19 << 19;
    QTest::newRow("20") << 20 << 20;
    QTest::newRow("21 forgets the oldest") << 21 << 20;
    QTest::newRow("30") << 30 << 20;
}

void TestRoutingDesk::historyKeepsTwentySteps()
{
    QFETCH(int, changes);
    QFETCH(int, undoable);

    OutputLocks locks;
    RoutingDesk desk(locks);
    for (int k = 0; k < changes; ++k) {
        desk.route(quint32(k + 1) % 4, 0);
        DeviceApplies(TakeQueuedLines());
    }
    int undone = 0;
    while (desk.history().canUndo() && undone < 100) {
        desk.undo();
        DeviceApplies(TakeQueuedLines());
        ++undone;
    }
    QCOMPARE(undone, undoable);
    // Back where the oldest kept step began: input (changes - 20) % 4 on output 1, or the
    // start when nothing was forgotten.
    const quint32 oldest = changes > RoutingHistory::MaxSteps ? quint32(changes - RoutingHistory::MaxSteps) % 4 : 0;
    QCOMPARE(DeviceState.routeInputOfOutput[0], oldest);
}

void TestRoutingDesk::locksText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("locked");

    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("CR LF lines") << QByteArray("2\r\n4\r\n") << "2 4";
    QTest::newRow("LF lines, no last line end") << QByteArray("3\n1") << "1 3";
    QTest::newRow("spaces around a number") << QByteArray(" 3 \r\n") << "3";
    QTest::newRow("no output 0, none beyond 160, no words") << QByteArray("0\n161\nx\n160\n-2\n") << "160";
}

void TestRoutingDesk::locksText()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, locked);

    OutputLocks locks;
    for (quint32 output : OutputLocks::FromText(text))
        locks.setLocked(output, true);
    QCOMPARE(NumbersText(locks.locked()), locked);
    // What is written reads back the same.
    OutputLocks again;
    for (quint32 output : OutputLocks::FromText(locks.toText()))
        again.setLocked(output, true);
    QCOMPARE(NumbersText(again.locked()), locked);
}

void TestRoutingDesk::locksFileBesideSettings()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ConfigFile_SetAppDir(dir.path());
    QCOMPARE(OutputLocks::FilePath(), dir.path() + QStringLiteral("/APP/ConfigFile/output-locks.ini"));

    OutputLocks locks;
    QVERIFY(locks.load(OutputLocks::FilePath()));
    QVERIFY(!locks.any());
    locks.setLocked(3, true);
    locks.setLocked(0, true);
    QVERIFY(locks.save(OutputLocks::FilePath()));
    QFile file(OutputLocks::FilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("1\r\n4\r\n"));

    OutputLocks again;
    QVERIFY(again.load(OutputLocks::FilePath()));
    QCOMPARE(NumbersText(again.locked()), QStringLiteral("1 4"));
    ConfigFile_SetAppDir(QString());
}

QTEST_GUILESS_MAIN(TestRoutingDesk)
#include "tst_routingdesk.moc"
