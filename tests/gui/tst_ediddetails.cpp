// The decoded EDID beside the EDID dialog's hex view: its fields for a known display, and that
// it follows what the view shows, whether read from an output, loaded from a file, rejected or
// cut short.
#include "GuiTestFixture.h"
#include "MessageBoxCatcher.h"
#include "link/LinkMode.h"
#include "link/LinkQueue.h"
#include "pages/EdidDetailsPanel.h"
#include "pages/Ui_Edid.h"
#include "protocol/DeviceState.h"
#include "protocol/EdidBlock.h"
#include "protocol/EdidDecoder.h"
#include "settings/LanguageTexts.h"
#include "support/EdidGenerator.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTreeWidget>
#include <QtTest>

namespace {

QString g_openAnswer;

QString AnswerOpen(QWidget *, const QString &, const QString &, const QString &)
{
    return g_openAnswer;
}

// The rows of the tree as "field: value", a value of several rows once per row.
QStringList TreeLines(const QTreeWidget *tree)
{
    QStringList lines;
    QString field;
    for (int k = 0; k < tree->topLevelItemCount(); ++k) {
        const QTreeWidgetItem *item = tree->topLevelItem(k);
        if (!item->text(0).isEmpty())
            field = item->text(0);
        lines << field + QStringLiteral(": ") + item->text(1);
    }
    return lines;
}

const char Television[] = "LOUNGE TV 65 · 3840 × 2160 @ 60 Hz preferred · HDMI 2.0 600 MHz · LPCM 2 ch, AC-3 · HDR10";

} // namespace

class TestEdidDetails : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fieldsOfADisplay_data();
    void fieldsOfADisplay();
    void followsTheHexView_data();
    void followsTheHexView();
    void standsBesideTheHexView();

private:
    GuiTest::AppDirFixture m_fixture;
};

void TestEdidDetails::initTestCase()
{
    m_fixture.TakeDefaults();
    Ui_Edid::openFileDialog = AnswerOpen;
}

void TestEdidDetails::init()
{
    QVERIFY(m_fixture.Begin());
    DeviceState_Clear();
    DeviceState.inputCount = 4;
    DeviceState.outputCount = 4;
    DeviceState.modelUnconfirmed = false;
    LinkMode = LinkModeTcp;
    TcpLinkQueue().activate();
    Ui_Edid::ClearEdidBuffer();
}

void TestEdidDetails::cleanup()
{
    LinkMode = LinkModeNone;
    TcpLinkQueue().deactivate();
    m_fixture.End();
}

void TestEdidDetails::fieldsOfADisplay_data()
{
    QTest::addColumn<QByteArray>("edid");
    QTest::addColumn<QStringList>("expectedLines");
    QTest::newRow("4K HDR television") << EdidGenerator::HdrTelevision()
                                       << QStringList {
                                              "Display name: LOUNGE TV 65",
                                              "Manufacturer: QVZ",
                                              "Product code: 29461 (0x7315)",
                                              "Serial number: 16780800",
                                              "Serial text: H1AK500000",
                                              "Made: 2021-W20",
                                              "EDID version: 1.3",
                                              "Screen size: 143 × 81 cm",
                                              "Range limits: 24–75 Hz, 15–136 kHz, 600 MHz",
                                              "Preferred timing: 3840 × 2160 @ 60 Hz, 594 MHz",
                                              "Other detailed timings: 1920 × 1080 @ 60 Hz, 148.5 MHz",
                                              "Video formats: VIC 16: 1920 × 1080 @ 60 Hz · native",
                                              "Audio: AC-3 6 ch · 32/44.1/48 kHz · 640 kb/s",
                                              "Speakers: FL/FR",
                                              "HDMI: 1.0.0.0 · 300 MHz · 30-bit, 36-bit, YCbCr 4:4:4",
                                              "HDMI Forum: 600 MHz · SCDC · 4:2:0 30-bit, 36-bit",
                                              "HDR: SDR, PQ",
                                              "Colorimetry: BT2020YCC, BT2020RGB",
                                              "YCbCr 4:2:0 only: VIC 102: 4096 × 2160 @ 60 Hz",
                                              "YCbCr 4:2:0 also: VIC 97",
                                              "Standard timings: 1680 × 1050 @ 60 Hz",
                                          };
    QTest::newRow("blocks left undecoded")
        << EdidGenerator::OtherBlocks() + QByteArray()
        << QStringList { "Other blocks: tag 3, 5 bytes · vendor-specific, OUI 12-34-56",
               "Other blocks: tag 7/48, 3 bytes", "Other blocks: tag 7/0, 1 bytes · video capability" };
    QTest::newRow("faults first") << EdidGenerator::DviMonitor().left(100)
                                  << QStringList { "Faults: the EDID is 100 bytes long: a base block needs 128" };
}

void TestEdidDetails::fieldsOfADisplay()
{
    QFETCH(QByteArray, edid);
    QFETCH(QStringList, expectedLines);
    EdidDetailsPanel panel;
    panel.ShowEdid(edid);
    const QStringList lines = TreeLines(panel.detailsTree);
    for (const QString &line : expectedLines)
        QVERIFY2(lines.contains(line), qPrintable(line + QStringLiteral("\nnot in:\n") + lines.join(QLatin1Char('\n'))));
    if (expectedLines.first().startsWith(QLatin1String("Faults")))
        QCOMPARE(lines.first(), expectedLines.first());
}

void TestEdidDetails::followsTheHexView_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("edid");
    QTest::addColumn<QString>("summaryStart");
    QTest::newRow("loaded file") << "load" << EdidGenerator::HdrTelevision() << Television;
    QTest::newRow("loaded base block") << "load" << EdidGenerator::DviMonitor() << "DESK 1920 · 1920 × 1200";
    QTest::newRow("rejected file empties the panel")
        << "load" << EdidGenerator::HdrTelevision().replace(1, 1, "\x01") << "No EDID to decode.";
    QTest::newRow("output reply") << "reply" << EdidGenerator::Monitor1080() << "OFFICE 24 · 1920 × 1080";
    // The missing pairs of a short reply read 0, so the view holds 256 bytes whose second block
    // no longer adds up: the summary says where.
    QTest::newRow("reply cut short says where")
        << "reply" << EdidGenerator::HdrTelevision().left(200)
        << "LOUNGE TV 65 · 3840 × 2160 @ 60 Hz preferred · HDMI 2.0 600 MHz · LPCM 2 ch, AC-3 · HDR10 · "
           "block 1, byte 127: checksum 0x00, should be 0x78";
}

void TestEdidDetails::followsTheHexView()
{
    QFETCH(QString, action);
    QFETCH(QByteArray, edid);
    QFETCH(QString, summaryStart);
    MessageBoxCatcher boxes;
    Ui_Edid dialog;
    dialog.show();
    QCOMPARE(dialog.detailsPanel->SummaryText(), Slabel_EdidNone);
    if (action == QLatin1String("load")) {
        g_openAnswer = m_fixture.Path() + QStringLiteral("/display.bin");
        QFile file(g_openAnswer);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(edid);
        file.close();
        dialog.loadButton->click();
    } else {
        dialog.SLT_Update_OutEdid(0, EdidBlock::ToHexText(edid));
    }
    QVERIFY2(dialog.detailsPanel->SummaryText().startsWith(summaryStart), qPrintable(dialog.detailsPanel->SummaryText()));
    // A rejected file is said so in a box, and the panel shows nothing of it.
    QCOMPARE(boxes.Texts().size(), summaryStart == Slabel_EdidNone ? 1 : 0);
    // What is about to be written is what the panel describes.
    if (EdidBlock::CheckBytes(Ui_Edid::EdidBuffer()) == EdidBlock::Valid)
        QCOMPARE(EdidDecoder::BytesFromHexText(dialog.hexView->toPlainText()), Ui_Edid::EdidBuffer());
}

void TestEdidDetails::standsBesideTheHexView()
{
    Ui_Edid dialog;
    dialog.show();
    const QRect panel = dialog.detailsPanel->geometry();
    QVERIFY(panel.left() >= dialog.hexView->geometry().right());
    QVERIFY(dialog.frame->rect().contains(panel));
    QCOMPARE(panel.width(), int(EdidDetailsPanel::Width));
    QCOMPARE(dialog.detailsPanel->titleLabel->text(), QStringLiteral("Decoded EDID"));
    // The summary comes first, above the fields.
    QVERIFY(dialog.detailsPanel->summaryLabel->geometry().bottom() < dialog.detailsPanel->detailsTree->geometry().top());
}

QTEST_MAIN(TestEdidDetails)
#include "tst_ediddetails.moc"
