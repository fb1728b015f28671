// Port names as CSV: what an import accepts, which names it would change, every row it
// refuses and why, and that a refused row leaves every name as it was.
#include "settings/LanguageTexts.h"
#include "settings/PortNamesCsv.h"

#include <QtTest>

namespace {

QStringList ChangeTexts(const PortNamesCsv::Plan &plan)
{
    QStringList texts;
    for (const PortNamesCsv::Change &change : plan.changes)
        texts << QStringLiteral("%1 %2 %3>%4")
                     .arg(PortNamesCsv::KindWord(change.kind))
                     .arg(change.number)
                     .arg(change.from, change.to);
    return texts;
}

QStringList RefusalTexts(const PortNamesCsv::Plan &plan)
{
    QStringList texts;
    for (const PortNamesCsv::RefusedRow &row : plan.refused)
        texts << PortNamesCsv::RefusalText(row);
    return texts;
}

void DefaultNames()
{
    for (int k = 0; k < 160; ++k) {
        S_InputName[k] = QStringLiteral("Input%1").arg(k + 1);
        S_OutputName[k] = QStringLiteral("Output%1").arg(k + 1);
    }
}

} // namespace

class TestPortNamesCsv : public QObject
{
    Q_OBJECT

private slots:
    void init() { DefaultNames(); }

    void import_data();
    void import();
    void exportReadsBack_data();
    void exportReadsBack();
};

void TestPortNamesCsv::import_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QStringList>("refused");

    const QByteArray header = "kind,number,name\r\n";
    const QString longName = QString(PortNamesCsv::MaxNameLength + 1, QLatin1Char('x'));
    const QString longestName = QString(PortNamesCsv::MaxNameLength, QChar(0x00e9));

    QTest::newRow("names that differ are changes, equal ones are not")
        << header + "input,2,Camera\r\ninput,1,Input1\r\noutput,4,Projector\r\n"
        << QStringList { "input 2 Input2>Camera", "output 4 Output4>Projector" } << QStringList();
    QTest::newRow("byte-order mark, LF lines, no last line end, blank lines")
        << QByteArray("\xEF\xBB\xBFkind,number,name\n\ninput,3,Desk\n\noutput,1,Wall") << QStringList { "input 3 Input3>Desk", "output 1 Output1>Wall" }
        << QStringList();
    QTest::newRow("header words in any case with spaces")
        << QByteArray("Kind, Number ,NAME\r\noutput,2,Stage\r\n") << QStringList { "output 2 Output2>Stage" }
        << QStringList();
    QTest::newRow("quoted name with a comma and a doubled quote")
        << header + "input,1,\"Cam \"\"A\"\", left\"\r\n" << QStringList { "input 1 Input1>Cam \"A\", left" }
        << QStringList();
    QTest::newRow("spaces inside a name are kept") << header + "input,1, Lectern \r\n"
                                                   << QStringList { "input 1 Input1> Lectern " } << QStringList();
    QTest::newRow("UTF-8 name of the longest length") << header + "output,3," + longestName.toUtf8() + "\r\n"
                                                      << QStringList { "output 3 Output3>" + longestName }
                                                      << QStringList();
    QTest::newRow("name one character too long") << header + "output,3," + longName.toUtf8() + "\r\n"
                                                 << QStringList()
                                                 << QStringList { "Row 2: the name is longer than 32 characters" };
    QTest::newRow("ports the device lacks") << header + "input,5,Five\r\noutput,0,Zero\r\ninput,4,Four\r\n"
                                            << QStringList { "input 4 Input4>Four" }
                                            << QStringList { "Row 2: the device has no such port",
                                                   "Row 3: the device has no such port" };
    QTest::newRow("unknown kind, missing field, extra field, word for number")
        << header + "camera,1,A\r\ninput,2\r\ninput,2,B,C\r\noutput,two,D\r\n" << QStringList()
        << QStringList { "Row 2: a row needs a kind (input or output), a number and a name",
               "Row 3: a row needs a kind (input or output), a number and a name",
               "Row 4: a row needs a kind (input or output), a number and a name",
               "Row 5: a row needs a kind (input or output), a number and a name" };
    QTest::newRow("empty name") << header + "input,2,\r\n" << QStringList()
                                << QStringList { "Row 2: the name is empty" };
    QTest::newRow("a line break inside quotes would break the language file")
        << header + "input,2,\"Cam\r\nera\"\r\noutput,1,Next\r\n" << QStringList { "output 1 Output1>Next" }
        << QStringList { "Row 2: the name holds a line break or a control character" };
    QTest::newRow("tab in a name") << header + "input,2,Cam\tera\r\n" << QStringList()
                                   << QStringList { "Row 2: the name holds a line break or a control character" };
    QTest::newRow("the same port twice") << header + "output,2,A\r\noutput,2,B\r\ninput,2,C\r\n"
                                         << QStringList { "output 2 Output2>A", "input 2 Input2>C" }
                                         << QStringList { "Row 3: the port is named twice" };
    QTest::newRow("wrong header") << QByteArray("type,port,label\r\ninput,1,A\r\n")
                                  << QStringList { "input 1 Input1>A" }
                                  << QStringList { "Row 1: the first row must be kind,number,name" };
    QTest::newRow("no header row at all") << QByteArray("input,1,A\r\n") << QStringList()
                                          << QStringList { "Row 1: the first row must be kind,number,name" };
    QTest::newRow("empty file") << QByteArray() << QStringList()
                                << QStringList { "Row 1: the first row must be kind,number,name" };
    QTest::newRow("not UTF-8") << header + "input,1,Cam\xE9ra\r\n" << QStringList()
                               << QStringList { "Row 1: the file is not UTF-8 text" };
}

void TestPortNamesCsv::import()
{
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, changes);
    QFETCH(QStringList, refused);

    const PortNamesCsv::Plan plan = PortNamesCsv::PlanImport(csv, 4, 4);
    QCOMPARE(ChangeTexts(plan), changes);
    QCOMPARE(RefusalTexts(plan), refused);

    // Applied only without a refused row; then exactly the listed names change.
    QCOMPARE(PortNamesCsv::Apply(plan), refused.isEmpty());
    for (int k = 0; k < 160; ++k) {
        QString input = QStringLiteral("Input%1").arg(k + 1);
        QString output = QStringLiteral("Output%1").arg(k + 1);
        for (const PortNamesCsv::Change &change : plan.changes) {
            if (!refused.isEmpty() || int(change.number) != k + 1)
                continue;
            (change.kind == PortNamesCsv::Kind::Input ? input : output) = change.to;
        }
        QCOMPARE(S_InputName[k], input);
        QCOMPARE(S_OutputName[k], output);
    }
}

void TestPortNamesCsv::exportReadsBack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("row");

    QTest::newRow("plain") << "Camera" << QByteArray("input,2,Camera\r\n");
    QTest::newRow("comma") << "Cam, left" << QByteArray("input,2,\"Cam, left\"\r\n");
    QTest::newRow("quote") << "Cam \"A\"" << QByteArray("input,2,\"Cam \"\"A\"\"\"\r\n");
    QTest::newRow("leading space") << " Cam" << QByteArray("input,2,\" Cam\"\r\n");
    QTest::newRow("UTF-8") << QString::fromUtf8("Bühne 2") << QByteArray("input,2,B\xC3\xBChne 2\r\n");
}

void TestPortNamesCsv::exportReadsBack()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, row);

    S_InputName[1] = name;
    const QByteArray csv = PortNamesCsv::Export(4, 2);
    QVERIFY(csv.startsWith("kind,number,name\r\ninput,1,Input1\r\n" + row + "input,3,Input3\r\n"));
    QVERIFY(csv.endsWith("input,4,Input4\r\noutput,1,Output1\r\noutput,2,Output2\r\n"));
    QCOMPARE(csv.count("\r\n"), 7);

    // Exported names import as no change at all; after a reset they all come back.
    QVERIFY(PortNamesCsv::PlanImport(csv, 4, 2).changes.isEmpty());
    DefaultNames();
    const PortNamesCsv::Plan plan = PortNamesCsv::PlanImport(csv, 4, 2);
    QCOMPARE(ChangeTexts(plan), (name == QLatin1String("Input2") ? QStringList() : QStringList { "input 2 Input2>" + name }));
    QVERIFY(PortNamesCsv::Apply(plan));
    QCOMPARE(S_InputName[1], name);
}

QTEST_GUILESS_MAIN(TestPortNamesCsv)
#include "tst_portnamescsv.moc"
