// Input and output names as CSV: a header row "kind,number,name", then one row per port with
// kind "input" or "output", the 1-based port number and the name; UTF-8, CR LF. An import is
// planned first: it lists the names that would change and every row it refuses, and is
// applied only when no row is refused.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

class PortNamesCsv
{
public:
    // The rename field takes no longer names.
    static constexpr int MaxNameLength = 32;

    enum class Kind { Input, Output };
    enum class Refusal { NotUtf8, BadHeader, BadRow, NoSuchPort, NameEmpty, NameTooLong, NameControl, Duplicate };

    struct Change {
        Kind kind;
        quint32 number; // 1-based
        QString from;
        QString to;
    };
    struct RefusedRow {
        int line; // 1-based line of the file
        Refusal reason;
    };
    struct Plan {
        QVector<Change> changes;
        QVector<RefusedRow> refused;
        bool accepted() const { return refused.isEmpty(); }
    };

    // The names of the given numbers of inputs and outputs.
    static QByteArray Export(quint32 inputs, quint32 outputs);
    // What importing the file would change, checked against the device's port counts.
    static Plan PlanImport(const QByteArray &csv, quint32 inputs, quint32 outputs);
    // Stores the changed names; does nothing unless the plan was accepted.
    static bool Apply(const Plan &plan);

    static QString KindWord(Kind kind);
    // "Row 4: the device has no such port", from the language texts.
    static QString RefusalText(const RefusedRow &row);
    // "Input 2: Input2 → Camera", from the language texts.
    static QString ChangeText(const Change &change);

    // One CSV record into its fields (quotes and doubled quotes understood).
    static QStringList SplitRecords(const QString &text, QVector<int> *lines);
    static QStringList Fields(const QString &record);
    static QString QuoteField(const QString &field);
};
