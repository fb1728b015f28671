#include "pages/EdidDetailsPanel.h"

#include "protocol/EdidDecoder.h"
#include "protocol/EdidSummary.h"
#include "settings/LanguageTexts.h"

#include <QHeaderView>
#include <QLabel>
#include <QTextEdit>
#include <QTreeWidget>

namespace {

constexpr int Margin = 4;
constexpr int TitleHeight = 26;
constexpr int SummaryHeight = 64;
constexpr int FieldColumnWidth = 170;

// Indices into S_EdidField.
enum Field {
    Manufacturer,
    ProductCode,
    SerialNumber,
    Made,
    ModelYear,
    Version,
    DisplayName,
    SerialText,
    ScreenSize,
    RangeLimits,
    PreferredTiming,
    OtherTimings,
    EstablishedTimings,
    StandardTimings,
    VideoFormats,
    Native,
    Audio,
    Speakers,
    Hdmi,
    HdmiForum,
    Hdr,
    Colorimetry,
    Ycbcr420Only,
    Ycbcr420Also,
    OtherBlocks,
    Faults,
};

const QString Dot = QStringLiteral(" · ");

QString Number(double value)
{
    return EdidSummary::NumberText(value);
}

QString TimingText(const EdidDetailedTiming &timing)
{
    return EdidSummary::ModeText(timing.mode) + QStringLiteral(", %1 MHz").arg(Number(timing.pixelClockMHz));
}

QStringList ModeTexts(const QList<EdidMode> &modes)
{
    QStringList texts;
    for (const EdidMode &mode : modes)
        texts << EdidSummary::ModeText(mode);
    return texts;
}

QStringList VideoCodeTexts(const QList<EdidVideoCode> &codes)
{
    QStringList texts;
    for (const EdidVideoCode &code : codes) {
        QString text = QStringLiteral("VIC %1").arg(code.vic);
        if (code.known)
            text += QStringLiteral(": ") + EdidSummary::ModeText(code.mode);
        if (code.native)
            text += Dot + S_EdidField[Native];
        texts << text;
    }
    return texts;
}

QString Joined(const QList<double> &values, const QString &unit)
{
    QStringList texts;
    for (double value : values)
        texts << Number(value);
    return texts.join(QLatin1Char('/')) + QLatin1Char(' ') + unit;
}

QStringList AudioTexts(const QList<EdidAudioFormat> &formats)
{
    QStringList texts;
    for (const EdidAudioFormat &format : formats) {
        QString text = QStringLiteral("%1 %2 ch").arg(format.name).arg(format.channels);
        if (!format.sampleRatesKHz.isEmpty())
            text += Dot + Joined(format.sampleRatesKHz, QStringLiteral("kHz"));
        if (!format.bitDepths.isEmpty()) {
            QList<double> depths;
            for (int depth : format.bitDepths)
                depths << depth;
            text += Dot + Joined(depths, QStringLiteral("bit"));
        }
        if (format.maxBitRateKbps > 0)
            text += Dot + QStringLiteral("%1 kb/s").arg(format.maxBitRateKbps);
        texts << text;
    }
    return texts;
}

QString HdmiText(const EdidHdmiBlock &hdmi)
{
    QStringList parts;
    if (!hdmi.physicalAddress.isEmpty())
        parts << hdmi.physicalAddress;
    if (hdmi.maxTmdsClockMHz > 0)
        parts << QStringLiteral("%1 MHz").arg(hdmi.maxTmdsClockMHz);
    if (!hdmi.deepColour.isEmpty())
        parts << hdmi.deepColour.join(QStringLiteral(", "));
    return parts.join(Dot);
}

QString HdmiForumText(const EdidHdmiForumBlock &forum)
{
    QStringList parts;
    if (forum.maxTmdsCharacterRateMHz > 0)
        parts << QStringLiteral("%1 MHz").arg(forum.maxTmdsCharacterRateMHz);
    if (forum.scdc)
        parts << QStringLiteral("SCDC");
    if (!forum.deepColour420.isEmpty())
        parts << QStringLiteral("4:2:0 ") + forum.deepColour420.join(QStringLiteral(", "));
    return parts.join(Dot);
}

QStringList OtherBlockTexts(const QList<EdidOtherBlock> &blocks)
{
    QStringList texts;
    for (const EdidOtherBlock &block : blocks) {
        QString tag = QStringLiteral("tag %1").arg(block.tag);
        if (block.extendedTag >= 0)
            tag += QStringLiteral("/%1").arg(block.extendedTag);
        QString text = QStringLiteral("%1, %2 bytes").arg(tag).arg(block.length);
        if (!block.name.isEmpty())
            text += Dot + block.name;
        texts << text;
    }
    return texts;
}

void Add(QList<EdidDetailsPanel::Row> &rows, Field field, const QStringList &values)
{
    if (!values.isEmpty() && !(values.size() == 1 && values.first().isEmpty()))
        rows << EdidDetailsPanel::Row { S_EdidField[field], values };
}

} // namespace

EdidDetailsPanel::EdidDetailsPanel(QWidget *parent)
    : QWidget(parent)
{
    titleLabel = new QLabel(this);
    titleLabel->setText(Slabel_EdidDetails);
    summaryLabel = new QLabel(this);
    summaryLabel->setWordWrap(true);
    summaryLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    summaryLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = summaryLabel->font();
    bold.setBold(true);
    summaryLabel->setFont(bold);
    detailsTree = new QTreeWidget(this);
    detailsTree->setColumnCount(2);
    detailsTree->setHeaderHidden(true);
    detailsTree->setRootIsDecorated(false);
    detailsTree->setColumnWidth(0, FieldColumnWidth);
    detailsTree->setSelectionMode(QAbstractItemView::NoSelection);
    detailsTree->setFocusPolicy(Qt::NoFocus);
    // Long values (range limits, deep colour) wrap instead of being cut off.
    detailsTree->setWordWrap(true);
    detailsTree->setTextElideMode(Qt::ElideNone);
    ShowEdid(QByteArray());
}

void EdidDetailsPanel::PlaceBeside(QWidget *frame)
{
    const int height = frame->height() - 2 * Margin;
    setGeometry(frame->width(), Margin, Width, height);
    titleLabel->setGeometry(0, 0, Width, TitleHeight);
    summaryLabel->setGeometry(0, TitleHeight + Margin, Width, SummaryHeight);
    const int treeTop = TitleHeight + Margin + SummaryHeight + Margin;
    detailsTree->setGeometry(0, treeTop, Width, height - treeTop);
    frame->resize(frame->width() + Width + Margin, frame->height());
}

void EdidDetailsPanel::FollowHexView(QTextEdit *hexView)
{
    connect(hexView, &QTextEdit::textChanged, this,
        [this, hexView] { ShowEdid(EdidDecoder::BytesFromHexText(hexView->toPlainText())); });
    ShowEdid(EdidDecoder::BytesFromHexText(hexView->toPlainText()));
}

void EdidDetailsPanel::ShowEdid(const QByteArray &edid)
{
    if (edid.isEmpty()) {
        summaryLabel->setText(Slabel_EdidNone);
        detailsTree->clear();
        return;
    }
    const EdidInfo info = EdidDecoder::Decode(edid);
    summaryLabel->setText(EdidSummary::Line(info));
    FillTree(DetailRows(info));
}

QString EdidDetailsPanel::SummaryText() const
{
    return summaryLabel->text();
}

QList<EdidDetailsPanel::Row> EdidDetailsPanel::DetailRows(const EdidInfo &info)
{
    QList<Row> rows;
    // Where it is broken comes first: the rest may be read from damaged bytes.
    Add(rows, Faults, info.problems);
    Add(rows, DisplayName, { info.displayName });
    Add(rows, Manufacturer, { info.manufacturer });
    Add(rows, ProductCode,
        { info.manufacturer.isEmpty()
                ? QString()
                : QStringLiteral("%1 (0x%2)")
                      .arg(info.productCode)
                      .arg(QString::number(info.productCode, 16).toUpper().rightJustified(4, QLatin1Char('0'))) });
    Add(rows, SerialNumber, { info.serialNumber ? QString::number(info.serialNumber) : QString() });
    Add(rows, SerialText, { info.serialText });
    if (info.modelYear)
        Add(rows, ModelYear, { QString::number(info.year) });
    else if (info.year > 0)
        Add(rows, Made,
            { info.week > 0 ? QStringLiteral("%1-W%2").arg(info.year).arg(info.week, 2, 10, QLatin1Char('0'))
                            : QString::number(info.year) });
    Add(rows, Version, { info.version });
    Add(rows, ScreenSize,
        { info.screenWidthCm > 0 ? QStringLiteral("%1 × %2 cm").arg(info.screenWidthCm).arg(info.screenHeightCm)
                                 : QString() });
    const EdidRangeLimits &limits = info.rangeLimits;
    if (limits.present)
        Add(rows, RangeLimits,
            { QStringLiteral("%1–%2 Hz, %3–%4 kHz%5")
                    .arg(limits.minVerticalHz)
                    .arg(limits.maxVerticalHz)
                    .arg(limits.minHorizontalKHz)
                    .arg(limits.maxHorizontalKHz)
                    .arg(limits.maxPixelClockMHz > 0 ? QStringLiteral(", %1 MHz").arg(limits.maxPixelClockMHz)
                                                     : QString()) });
    if (!info.detailedTimings.isEmpty()) {
        Add(rows, PreferredTiming, { TimingText(info.detailedTimings.first()) });
        QStringList others;
        for (int k = 1; k < info.detailedTimings.size(); ++k)
            others << TimingText(info.detailedTimings.at(k));
        Add(rows, OtherTimings, others);
    }
    Add(rows, VideoFormats, VideoCodeTexts(info.videoCodes));
    Add(rows, Audio, AudioTexts(info.audioFormats));
    Add(rows, Speakers, { info.speakers.join(QLatin1Char(' ')) });
    if (info.hdmi.present)
        Add(rows, Hdmi, { HdmiText(info.hdmi) });
    if (info.hdmiForum.present)
        Add(rows, HdmiForum, { HdmiForumText(info.hdmiForum) });
    Add(rows, Hdr, { info.hdrEotfs.join(QStringLiteral(", ")) });
    Add(rows, Colorimetry, { info.colorimetry.join(QStringLiteral(", ")) });
    Add(rows, Ycbcr420Only, VideoCodeTexts(info.ycbcr420Only));
    QStringList capable;
    for (int vic : info.ycbcr420Capable)
        capable << QString::number(vic);
    Add(rows, Ycbcr420Also, { capable.isEmpty() ? QString() : QStringLiteral("VIC ") + capable.join(QStringLiteral(", ")) });
    Add(rows, EstablishedTimings, ModeTexts(info.establishedTimings));
    Add(rows, StandardTimings, ModeTexts(info.standardTimings));
    Add(rows, OtherBlocks, OtherBlockTexts(info.otherBlocks));
    return rows;
}

void EdidDetailsPanel::FillTree(const QList<Row> &rows)
{
    detailsTree->clear();
    for (const Row &row : rows) {
        auto *item = new QTreeWidgetItem(detailsTree, { row.field, row.values.first() });
        for (int k = 1; k < row.values.size(); ++k)
            new QTreeWidgetItem(detailsTree, { QString(), row.values.at(k) });
        item->setToolTip(1, row.values.join(QLatin1Char('\n')));
    }
}
