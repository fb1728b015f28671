// Where the program finds its data and keeps its settings: portable copies, installs under a
// prefix, system-wide installs, and the seeding of a per-user settings folder.
#include "settings/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool MakeFile(const QString &path, const QByteArray &bytes = QByteArray("x"))
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestAppPaths : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void layoutAndOwnership_data();
    void layoutAndOwnership();
    void mayRewrite_data();
    void mayRewrite();
    void seedingCopiesOnlyWhatIsMissing_data();
    void seedingCopiesOnlyWhatIsMissing();

private:
    // Paths in the rows are relative to the scratch folder; "" stays empty.
    QString At(const QString &relative) const
    {
        return relative.isEmpty() ? QString()
                                  : QDir::cleanPath(scratch->path() + QLatin1Char('/') + relative);
    }
    void MakeDirs(const QStringList &relativeDirs) const
    {
        for (const QString &dir : relativeDirs)
            QVERIFY(QDir().mkpath(At(dir)));
    }

    QScopedPointer<QTemporaryDir> scratch;
};

void TestAppPaths::init()
{
    scratch.reset(new QTemporaryDir);
    QVERIFY(scratch->isValid());
}

void TestAppPaths::layoutAndOwnership_data()
{
    QTest::addColumn<QStringList>("dirs");
    QTest::addColumn<QString>("executableDir");
    QTest::addColumn<QString>("configHome");
    QTest::addColumn<QString>("systemDataDir");
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<bool>("owns");
    QTest::addColumn<QString>("settingsDir");

    QTest::newRow("portable copy keeps everything beside itself")
        << QStringList { "copy/APP/Image" } << "copy"
        << "home/.config"
        << "usr/share"
        << "copy" << true << "copy/APP/ConfigFile";
    QTest::newRow("portable copy known by its title-bar folder alone")
        << QStringList { "copy/TitleBar" } << "copy"
        << "home/.config"
        << ""
        << "copy" << true << "copy/APP/ConfigFile";
    QTest::newRow("install under a prefix of its own")
        << QStringList { "opt/t/bin", "opt/t/share/tavilon/APP/Image" } << "opt/t/bin"
        << "home/.config"
        << "usr/share"
        << "opt/t/share/tavilon" << true << "opt/t/share/tavilon/APP/ConfigFile";
    QTest::newRow("system-wide install never owned, even when writable")
        << QStringList { "usr/bin", "usr/share/tavilon/APP/Image" } << "usr/bin"
        << "home/.config"
        << "usr/share"
        << "usr/share/tavilon" << false << "home/.config/tavilon";
    QTest::newRow("system data folder named with a trailing slash")
        << QStringList { "usr/bin", "usr/share/tavilon/APP/Image" } << "usr/bin"
        << "home/.config"
        << "usr/share/"
        << "usr/share/tavilon" << false << "home/.config/tavilon";
    QTest::newRow("a folder whose name only begins like a system one")
        << QStringList { "usr/bin", "usr/shared/x", "usr/share2/tavilon/APP" } << "usr/share2/tavilon"
        << "home/.config"
        << "usr/share"
        << "usr/share2/tavilon" << true << "usr/share2/tavilon/APP/ConfigFile";
    QTest::newRow("data beside the executable wins over an install's")
        << QStringList { "usr/bin/APP/Image", "usr/share/tavilon/APP/Image" } << "usr/bin"
        << "home/.config"
        << ""
        << "usr/bin" << true << "usr/bin/APP/ConfigFile";
    QTest::newRow("nothing anywhere: a fresh portable copy") << QStringList { "fresh" } << "fresh"
                                                             << "home/.config"
                                                             << ""
                                                             << "fresh" << true << "fresh/APP/ConfigFile";
    QTest::newRow("executable folder missing: nothing to own")
        << QStringList {} << "gone/bin"
        << "home/.config"
        << ""
        << "gone/bin" << true << "gone/bin/APP/ConfigFile";
    QTest::newRow("no configuration home: settings stay with the data")
        << QStringList { "usr/bin", "usr/share/tavilon/APP" } << "usr/bin"
        << ""
        << "usr/share"
        << "usr/share/tavilon" << false << "usr/share/tavilon/APP/ConfigFile";
}

void TestAppPaths::layoutAndOwnership()
{
    QFETCH(QStringList, dirs);
    QFETCH(QString, executableDir);
    QFETCH(QString, configHome);
    QFETCH(QString, systemDataDir);
    QFETCH(QString, dataDir);
    QFETCH(bool, owns);
    QFETCH(QString, settingsDir);
    MakeDirs(dirs);
    QString systemDir = At(systemDataDir);
    if (systemDataDir.endsWith(QLatin1Char('/')))
        systemDir += QLatin1Char('/');

    const AppPaths paths(At(executableDir), At(configHome), QStringList { systemDir });
    QCOMPARE(QDir::cleanPath(paths.DataDir()), At(dataDir));
    QCOMPARE(paths.OwnsDataDir(), owns);
    QCOMPARE(QDir::cleanPath(paths.SettingsDir()), At(settingsDir));
}

void TestAppPaths::mayRewrite_data()
{
    QTest::addColumn<QString>("executableDir");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<bool>("rewritable");

    QTest::newRow("picture of a portable copy") << "copy"
                                                << "copy/APP/Image/fail.png" << true;
    QTest::newRow("picture in the copy's own folder") << "copy"
                                                      << "copy/logo.png" << true;
    QTest::newRow("picture outside the data folder") << "copy"
                                                     << "elsewhere/fail.png" << false;
    QTest::newRow("way out through ..") << "copy"
                                        << "copy/APP/../../elsewhere/fail.png" << false;
    QTest::newRow("sibling folder with the same beginning") << "copy"
                                                            << "copy2/APP/Image/fail.png" << false;
    QTest::newRow("picture of a system-wide install") << "usr/bin"
                                                      << "usr/share/tavilon/APP/Image/fail.png" << false;
}

void TestAppPaths::mayRewrite()
{
    QFETCH(QString, executableDir);
    QFETCH(QString, picture);
    QFETCH(bool, rewritable);
    MakeDirs({ "copy/APP/Image", "copy2/APP/Image", "elsewhere", "usr/bin", "usr/share/tavilon/APP/Image" });

    const AppPaths paths(At(executableDir), At("home/.config"), QStringList { At("usr/share") });
    QCOMPARE(paths.MayRewrite(scratch->path() + QLatin1Char('/') + picture), rewritable);
}

void TestAppPaths::seedingCopiesOnlyWhatIsMissing_data()
{
    QTest::addColumn<QStringList>("shipped");
    QTest::addColumn<QStringList>("alreadyThere");
    QTest::addColumn<QStringList>("copied");

    QTest::newRow("the default language file of an install")
        << QStringList { "language-English.ini" } << QStringList {} << QStringList { "language-English.ini" };
    QTest::newRow("every shipped settings file")
        << QStringList { "config.ini", "language-English.ini", "language-Other.ini" } << QStringList {}
        << QStringList { "config.ini", "language-English.ini", "language-Other.ini" };
    QTest::newRow("the user's own settings are never replaced") << QStringList { "config.ini",
        "language-English.ini" } << QStringList { "config.ini" } << QStringList { "language-English.ini" };
    QTest::newRow("a translation shipped later still arrives")
        << QStringList { "language-English.ini", "language-Other.ini" }
        << QStringList { "config.ini", "language-English.ini" } << QStringList { "language-Other.ini" };
    QTest::newRow("other files in the folder are not settings")
        << QStringList { "notes.txt", "config.ini.bak" } << QStringList {} << QStringList {};
}

void TestAppPaths::seedingCopiesOnlyWhatIsMissing()
{
    QFETCH(QStringList, shipped);
    QFETCH(QStringList, alreadyThere);
    QFETCH(QStringList, copied);
    MakeDirs({ "usr/bin" });
    for (const QString &name : shipped)
        QVERIFY(MakeFile(At("usr/share/tavilon/APP/ConfigFile/" + name), "shipped " + name.toUtf8()));
    for (const QString &name : alreadyThere)
        QVERIFY(MakeFile(At("home/.config/tavilon/" + name), "user's " + name.toUtf8()));
    // The install's files are read-only; the copies must still be the user's to rewrite.
    for (const QString &name : shipped)
        QVERIFY(QFile::setPermissions(At("usr/share/tavilon/APP/ConfigFile/" + name), QFile::ReadOwner));

    const AppPaths paths(At("usr/bin"), At("home/.config"), QStringList { At("usr/share") });
    QVERIFY(!paths.OwnsDataDir());
    QVERIFY(paths.SeedSettingsDir());

    const QStringList present = QDir(At("home/.config/tavilon")).entryList(QDir::Files, QDir::Name);
    QStringList expected = alreadyThere + copied;
    expected.sort();
    QCOMPARE(present, expected);
    for (const QString &name : alreadyThere)
        QCOMPARE(ReadBytes(At("home/.config/tavilon/" + name)), "user's " + name.toUtf8());
    for (const QString &name : copied) {
        QCOMPARE(ReadBytes(At("home/.config/tavilon/" + name)), "shipped " + name.toUtf8());
        QVERIFY(QFile::permissions(At("home/.config/tavilon/" + name)) & QFile::WriteOwner);
    }
}

QTEST_GUILESS_MAIN(TestAppPaths)
#include "tst_apppaths.moc"
