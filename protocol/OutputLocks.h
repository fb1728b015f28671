// Outputs the operator has locked against routing changes. They are kept across runs in a
// file of their own in the settings folder: one 1-based output number per line.
#pragma once

#include <QSet>
#include <QString>
#include <QVector>
#include <QtGlobal>

class OutputLocks
{
public:
    // output-locks.ini in the folder that holds config.ini.
    static QString FilePath();

    bool isLocked(quint32 output) const { return m_locked.contains(output); }
    void setLocked(quint32 output, bool locked);
    bool any() const { return !m_locked.isEmpty(); }
    // Ascending, 0-based.
    QVector<quint32> locked() const;
    void clear() { m_locked.clear(); }

    // Reads the file; lines that are no output number are skipped. A missing file means no
    // locks. False when the file exists but cannot be read.
    bool load(const QString &path);
    // Replaces the file with the current locks (the old one stays if writing fails).
    bool save(const QString &path) const;

    // The file content for the current locks, and the locks a content names.
    QByteArray toText() const;
    static QSet<quint32> FromText(const QByteArray &text);

private:
    QSet<quint32> m_locked;
};
