#include "settings/PortNamesCsv.h"

#include "settings/LanguageTexts.h"

#include <QSet>
#include <QTextCodec>

namespace {

constexpr quint32 NameSlots = 160;

QString *NamesOf(PortNamesCsv::Kind kind)
{
    return kind == PortNamesCsv::Kind::Input ? S_InputName : S_OutputName;
}

bool HasControlCharacter(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

void AppendRow(QByteArray &csv, PortNamesCsv::Kind kind, quint32 number, const QString &name)
{
    csv += PortNamesCsv::KindWord(kind).toUtf8() + ',' + QByteArray::number(number) + ','
        + PortNamesCsv::QuoteField(name).toUtf8() + "\r\n";
}

} // namespace

QString PortNamesCsv::KindWord(Kind kind)
{
    return kind == Kind::Input ? QStringLiteral("input") : QStringLiteral("output");
}

QString PortNamesCsv::QuoteField(const QString &field)
{
    const bool needsQuotes = field.contains(QLatin1Char(',')) || field.contains(QLatin1Char('"'))
        || field.contains(QLatin1Char('\r')) || field.contains(QLatin1Char('\n'))
        || field.startsWith(QLatin1Char(' ')) || field.endsWith(QLatin1Char(' '));
    if (!needsQuotes)
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray PortNamesCsv::Export(quint32 inputs, quint32 outputs)
{
    QByteArray csv = "kind,number,name\r\n";
    for (quint32 i = 0; i < inputs && i < NameSlots; ++i)
        AppendRow(csv, Kind::Input, i + 1, S_InputName[i]);
    for (quint32 o = 0; o < outputs && o < NameSlots; ++o)
        AppendRow(csv, Kind::Output, o + 1, S_OutputName[o]);
    return csv;
}

// Records end at a line break outside quotes; lines receives the file line each starts on.
QStringList PortNamesCsv::SplitRecords(const QString &text, QVector<int> *lines)
{
    QStringList records;
    QString record;
    bool quoted = false;
    int line = 1;
    int recordLine = 1;
    for (int k = 0; k < text.size(); ++k) {
        const QChar c = text.at(k);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r'))) {
            if (c == QLatin1Char('\r') && k + 1 < text.size() && text.at(k + 1) == QLatin1Char('\n'))
                ++k;
            records << record;
            lines->append(recordLine);
            record.clear();
            recordLine = ++line;
            continue;
        }
        if (c == QLatin1Char('\n'))
            ++line;
        record += c;
    }
    if (!record.isEmpty()) {
        records << record;
        lines->append(recordLine);
    }
    return records;
}

QStringList PortNamesCsv::Fields(const QString &record)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (int k = 0; k < record.size(); ++k) {
        const QChar c = record.at(k);
        if (quoted) {
            if (c == QLatin1Char('"') && k + 1 < record.size() && record.at(k + 1) == QLatin1Char('"')) {
                field += c;
                ++k;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return fields;
}

PortNamesCsv::Plan PortNamesCsv::PlanImport(const QByteArray &csv, quint32 inputs, quint32 outputs)
{
    Plan plan;
    QTextCodec::ConverterState state;
    QString text = QTextCodec::codecForName("UTF-8")->toUnicode(csv.constData(), csv.size(), &state);
    if (state.invalidChars > 0) {
        plan.refused.append({ 1, Refusal::NotUtf8 });
        return plan;
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    QVector<int> lines;
    const QStringList records = SplitRecords(text, &lines);
    bool headerSeen = false;
    QSet<QPair<int, quint32>> named;
    for (int r = 0; r < records.size(); ++r) {
        const QString &record = records.at(r);
        const int line = lines.at(r);
        if (record.trimmed().isEmpty())
            continue;
        const QStringList fields = Fields(record);
        if (!headerSeen) {
            headerSeen = true;
            QStringList words;
            for (const QString &field : fields)
                words << field.trimmed().toLower();
            if (words != QStringList { "kind", "number", "name" })
                plan.refused.append({ line, Refusal::BadHeader });
            continue;
        }
        const QString kindWord = fields.value(0).trimmed().toLower();
        bool numberOk = false;
        const quint32 number = fields.value(1).trimmed().toUInt(&numberOk);
        if (fields.size() != 3 || !numberOk
            || (kindWord != KindWord(Kind::Input) && kindWord != KindWord(Kind::Output))) {
            plan.refused.append({ line, Refusal::BadRow });
            continue;
        }
        const Kind kind = kindWord == KindWord(Kind::Input) ? Kind::Input : Kind::Output;
        const quint32 count = qMin(kind == Kind::Input ? inputs : outputs, NameSlots);
        const QString name = fields.at(2);
        Refusal reason;
        if (number < 1 || number > count)
            reason = Refusal::NoSuchPort;
        else if (name.isEmpty())
            reason = Refusal::NameEmpty;
        else if (HasControlCharacter(name))
            reason = Refusal::NameControl;
        else if (name.size() > MaxNameLength)
            reason = Refusal::NameTooLong;
        else if (named.contains({ int(kind), number }))
            reason = Refusal::Duplicate;
        else {
            named.insert({ int(kind), number });
            const QString &current = NamesOf(kind)[number - 1];
            if (current != name)
                plan.changes.append({ kind, number, current, name });
            continue;
        }
        plan.refused.append({ line, reason });
    }
    if (!headerSeen)
        plan.refused.append({ 1, Refusal::BadHeader });
    return plan;
}

bool PortNamesCsv::Apply(const Plan &plan)
{
    if (!plan.accepted())
        return false;
    for (const Change &change : plan.changes)
        NamesOf(change.kind)[change.number - 1] = change.to;
    return true;
}

QString PortNamesCsv::RefusalText(const RefusedRow &row)
{
    QString reason;
    switch (row.reason) {
    case Refusal::NotUtf8:
        reason = SMSG_CsvNotUtf8;
        break;
    case Refusal::BadHeader:
        reason = SMSG_CsvBadHeader;
        break;
    case Refusal::BadRow:
        reason = SMSG_CsvBadRow;
        break;
    case Refusal::NoSuchPort:
        reason = SMSG_CsvNoSuchPort;
        break;
    case Refusal::NameEmpty:
        reason = SMSG_CsvNameEmpty;
        break;
    case Refusal::NameTooLong:
        reason = SMSG_CsvNameTooLong.arg(MaxNameLength);
        break;
    case Refusal::NameControl:
        reason = SMSG_CsvNameControl;
        break;
    case Refusal::Duplicate:
        reason = SMSG_CsvDuplicate;
        break;
    }
    return SMSG_CsvRowLine.arg(row.line) + reason;
}

QString PortNamesCsv::ChangeText(const Change &change)
{
    const QString &kind = change.kind == Kind::Input ? S_Input : S_OutPut;
    return QStringLiteral("%1 %2: %3 → %4").arg(kind).arg(change.number).arg(change.from, change.to);
}
