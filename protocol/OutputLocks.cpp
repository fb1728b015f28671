#include "protocol/OutputLocks.h"

#include "protocol/DeviceState.h"
#include "settings/ConfigFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

QString OutputLocks::FilePath()
{
    return QFileInfo(ConfigFile_SettingsPath()).absolutePath() + QStringLiteral("/output-locks.ini");
}

void OutputLocks::setLocked(quint32 output, bool locked)
{
    if (output >= MaxPorts)
        return;
    if (locked)
        m_locked.insert(output);
    else
        m_locked.remove(output);
}

QVector<quint32> OutputLocks::locked() const
{
    QVector<quint32> outputs(m_locked.cbegin(), m_locked.cend());
    std::sort(outputs.begin(), outputs.end());
    return outputs;
}

QByteArray OutputLocks::toText() const
{
    QByteArray text;
    for (quint32 output : locked())
        text += QByteArray::number(output + 1) + "\r\n";
    return text;
}

QSet<quint32> OutputLocks::FromText(const QByteArray &text)
{
    QSet<quint32> outputs;
    for (const QByteArray &line : text.split('\n')) {
        bool ok = false;
        const quint32 number = line.trimmed().toUInt(&ok);
        if (ok && number >= 1 && number <= MaxPorts)
            outputs.insert(number - 1);
    }
    return outputs;
}

bool OutputLocks::load(const QString &path)
{
    m_locked.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    m_locked = FromText(file.readAll());
    return true;
}

bool OutputLocks::save(const QString &path) const
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = toText();
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
