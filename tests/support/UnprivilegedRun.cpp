#include "support/UnprivilegedRun.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <unistd.h>

namespace UnprivilegedRun {

bool RunningAsRoot()
{
    return geteuid() == 0;
}

bool CopyTree(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(source, target))
            return false;
    }
    return true;
}

bool MakeReadOnly(const QString &root)
{
    const QFile::Permissions readable
        = QFile::ReadOwner | QFile::ReadUser | QFile::ReadGroup | QFile::ReadOther;
    const QFile::Permissions executable
        = QFile::ExeOwner | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther;
    bool allSet = true;
    QDirIterator it(
        root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    QStringList folders { root };
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        if (info.isDir()) {
            folders << path;
            continue;
        }
        const bool wasExecutable = info.permissions() & QFile::ExeOwner;
        allSet &= QFile::setPermissions(path, wasExecutable ? readable | executable : readable);
    }
    // Folders last: a read-only folder still lets its files' modes change, but not the reverse order.
    for (const QString &folder : folders)
        allSet &= QFile::setPermissions(folder, readable | executable);
    return allSet;
}

bool MakeReachable(const QString &folder)
{
    return QDir().mkpath(folder)
        && QFile::setPermissions(folder,
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadUser | QFile::WriteUser
                | QFile::ExeUser | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

bool MakeOwnedByRunner(const QString &folder)
{
    if (!MakeReachable(folder))
        return false;
    if (!RunningAsRoot())
        return true;
    bool allOwned = ::chown(QFile::encodeName(folder).constData(), NobodyId, NobodyId) == 0;
    QDirIterator it(
        folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        allOwned &= ::chown(QFile::encodeName(it.next()).constData(), NobodyId, NobodyId) == 0;
    return allOwned;
}

QMap<QString, QByteArray> Snapshot(const QString &root)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        QByteArray description = info.isDir() ? QByteArray("folder") : QByteArray::number(info.size());
        description += ' ' + QByteArray::number(info.lastModified().toMSecsSinceEpoch());
        QFile file(path);
        if (!info.isDir() && file.open(QIODevice::ReadOnly))
            description += ' ' + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
        entries.insert(path.mid(root.size()), description);
    }
    return entries;
}

QString Difference(const QMap<QString, QByteArray> &before, const QMap<QString, QByteArray> &after)
{
    QStringList lines;
    for (auto it = after.constBegin(); it != after.constEnd(); ++it) {
        if (!before.contains(it.key()))
            lines << QStringLiteral("new: ") + it.key();
        else if (before.value(it.key()) != it.value())
            lines << QStringLiteral("changed: ") + it.key();
    }
    for (auto it = before.constBegin(); it != before.constEnd(); ++it) {
        if (!after.contains(it.key()))
            lines << QStringLiteral("gone: ") + it.key();
    }
    return lines.join(QLatin1Char('\n'));
}

int Run(const QString &program, const QStringList &arguments, const QString &home,
    const QProcessEnvironment &extra, int timeoutMs, QByteArray *output)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.remove(QStringLiteral("XDG_CACHE_HOME"));
    environment.remove(QStringLiteral("XDG_DATA_HOME"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString &name : extra.keys())
        environment.insert(name, extra.value(name));

    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(home);
    if (RunningAsRoot()) {
        const QString id = QString::number(NobodyId);
        process.start(QStringLiteral("setpriv"),
            QStringList { QStringLiteral("--reuid=") + id, QStringLiteral("--regid=") + id,
                QStringLiteral("--clear-groups"), program }
                + arguments);
    } else {
        process.start(program, arguments);
    }
    const bool ended = process.waitForStarted(10000) && process.waitForFinished(timeoutMs);
    if (!ended) {
        process.kill();
        process.waitForFinished(5000);
    }
    if (output)
        *output = process.readAll();
    if (!ended || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

} // namespace UnprivilegedRun
