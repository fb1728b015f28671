// Running a program as an unprivileged user on a read-only copy of a tree, and telling whether
// the run wrote into that tree. Root ignores file modes, so as root the program runs through
// setpriv as the user "nobody"; run by anybody else it runs as that user.
#pragma once

#include <QMap>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace UnprivilegedRun {

constexpr int NobodyId = 65534;

bool RunningAsRoot();

// Copies every file below from to the same place below to.
bool CopyTree(const QString &from, const QString &to);

// Folders 0555, files 0444 (0555 where they were executable), the root folder included.
bool MakeReadOnly(const QString &root);

// Makes a folder that the unprivileged user can reach (every folder on the way must be
// traversable) and own: used as a scratch root and as the run's HOME.
bool MakeReachable(const QString &folder);
bool MakeOwnedByRunner(const QString &folder);

// Every folder and file below root with its size, modification time and content digest.
QMap<QString, QByteArray> Snapshot(const QString &root);

// What changed between two snapshots, one line per path, for a failure message.
QString Difference(const QMap<QString, QByteArray> &before, const QMap<QString, QByteArray> &after);

// Runs program with arguments as the unprivileged user, HOME at home, no XDG_CONFIG_HOME,
// the offscreen platform and the extra variables; waits at most timeoutMs. Returns the exit
// code, or -1 when it did not end in time (it is then killed). Output lands in *output.
int Run(const QString &program, const QStringList &arguments, const QString &home,
    const QProcessEnvironment &extra, int timeoutMs, QByteArray *output);

} // namespace UnprivilegedRun
